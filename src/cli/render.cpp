// lexora-cli render FILE PATH: prints the page the main window shows for the node at PATH.
#include "node_page.h"
#include "verbs.h"

namespace lexora::cli {
namespace {

int runRender(const QStringList &arguments)
{
    printText(nodePageOf(arguments, QStringLiteral("render DATEI PFAD [--files-dir ORDNER] "
                                                   "[--password-file DATEI]")));
    return 0;
}

} // namespace

LEXORA_CLI_VERB("render", "FILE PATH [--files-dir DIR] [--password-file FILE]", runRender)

} // namespace lexora::cli
