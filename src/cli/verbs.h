#pragma once

#include <QStringList>

namespace lexora::cli {

// One verb of lexora-cli: args are the arguments after the verb. Returns the exit status.
using VerbFunction = int (*)(const QStringList &args);

struct Verb {
    const char *name;
    const char *usage; // one line, shown by "lexora-cli --help"
    VerbFunction run;
};

// Each verb's file registers it with a static: LEXORA_CLI_VERB("dump", "FILE [...]", runDump);
bool registerVerb(const Verb &verb);
const Verb *findVerb(const QString &name);
QList<Verb> allVerbs();

} // namespace lexora::cli

#define LEXORA_CLI_VERB(name, usage, function)                                                    \
    namespace {                                                                                    \
    const bool registered_##function = ::lexora::cli::registerVerb({name, usage, function});      \
    }
