// lexora-cli text FILE PATH: prints the text a reader sees on the page of the node at PATH.
#include "node_page.h"
#include "verbs.h"

#include "render/displayed_text.h"

namespace lexora::cli {
namespace {

int runText(const QStringList &arguments)
{
    printText(DisplayedText(nodePageOf(arguments, QStringLiteral("text DATEI PFAD [--files-dir "
                                                                 "ORDNER] [--password-file DATEI]"))));
    return 0;
}

} // namespace

LEXORA_CLI_VERB("text", "FILE PATH [--files-dir DIR] [--password-file FILE]", runText)

} // namespace lexora::cli
