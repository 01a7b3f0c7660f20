// lexora-cli resave IN OUT: loads a database and saves it again with its own encryption.
#include "cli_document.h"
#include "verbs.h"

namespace lexora::cli {
namespace {

int runResave(const QStringList &arguments)
{
    QStringList args = arguments;
    const DocumentOptions options = takeDocumentOptions(args);
    requireArguments(args, 2, QStringLiteral("resave IN OUT [--password-file DATEI]"));
    CliDocument opened(options);
    opened.open(args.at(0));
    opened.save(args.at(1));
    return 0;
}

} // namespace

LEXORA_CLI_VERB("resave", "IN OUT [--password-file FILE]", runResave)

} // namespace lexora::cli
