// The desktop program `lexora`.
#include "mainwindow/main_window.h"

#include <QApplication>
#include <QStringList>

#include <cstdio>
#include <cstring>

namespace {

const char kUsage[] =
    "Aufruf: lexora [DATEI.lxd]\n"
    "\n"
    "Lexora, die Wissensdatenbank für Notizen, Tipps und Code-Schnipsel.\n"
    "\n"
    "  DATEI.lxd    diese Datenbank beim Start öffnen\n"
    "  --help       diese Hilfe anzeigen\n"
    "  --version    die Versionsnummer anzeigen\n";

} // namespace

int main(int argc, char **argv)
{
    // Answered before any window exists, so they work without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("Lexora %s\n", LEXORA_VERSION);
            return 0;
        }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lexora"));
    QApplication::setApplicationDisplayName(QStringLiteral("Lexora"));
    QApplication::setApplicationVersion(QStringLiteral(LEXORA_VERSION));

    lexora::gui::TQZS_LXD_Form mainWindow;
    mainWindow.show();
    return app.exec();
}
