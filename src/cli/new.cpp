// lexora-cli new OUT: writes the built-in default database as it is.
#include "terminal.h"
#include "verbs.h"

#include "database/default_database.h"

namespace lexora::cli {
namespace {

int runNew(const QStringList &arguments)
{
    requireArguments(arguments, 1, QStringLiteral("new OUT"));
    WriteDefaultDatabase(arguments.first());
    return 0;
}

} // namespace

LEXORA_CLI_VERB("new", "OUT", runNew)

} // namespace lexora::cli
