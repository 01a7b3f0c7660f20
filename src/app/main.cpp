// The desktop program `lexora`.
#include "app/termination_signals.h"
#include "app/window_manager.h"
#include "mainwindow/main_window.h"
#include "setup/desktop_registration.h"
#include "setup/home_folder.h"
#include "support/error.h"
#include "support/file_dialogs.h"
#include "support/german_translation.h"
#include "support/gui_prompt.h"
#include "support/page_rendering.h"

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
    "  --version    die Versionsnummer anzeigen\n"
    "  /uninstall   Lexora vom Desktop abmelden (Menüeintrag, Symbol, Dateityp)\n";

// "lexora /uninstall": asks, removes the desktop registration and says so; no window opens.
int uninstall(QApplication &app)
{
    lexora::installGermanTranslation();
    lexora::GuiPrompt prompt;
    try {
        lexora::TQZSetup(QCoreApplication::applicationFilePath()).uninstall(prompt);
        return 0;
    } catch (const lexora::Error &e) {
        prompt.message(lexora::UserPrompt::Icon::Error, app.applicationName(), e.message());
        return 1;
    }
}

// At every start the desktop learns where the program is; Lexora works without it.
void registerWithDesktop()
{
    try {
        lexora::TQZSetup(QCoreApplication::applicationFilePath()).registerProgram();
    } catch (const lexora::Error &e) {
        std::fprintf(stderr, "lexora: %s\n", qUtf8Printable(e.message()));
    }
}

} // namespace

int main(int argc, char **argv)
{
    // Exactly this first argument uninstalls, as the desktop entry's action gives it.
    const bool uninstalling = argc > 1 && std::strcmp(argv[1], "/uninstall") == 0;
    // Answered before any window exists, so they work without a display.
    const char *startFile = nullptr;
    for (int i = 1; i < argc && !uninstalling; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("Lexora %s\n", LEXORA_VERSION);
            return 0;
        }
        if (argv[i][0] == '-' && argv[i][1] != '\0') {
            std::fprintf(stderr, "lexora: unbekannte Option %s\n\n%s", argv[i], kUsage);
            return 2;
        }
        if (startFile) {
            std::fprintf(stderr, "lexora: nur eine Datei kann geöffnet werden\n\n%s", kUsage);
            return 2;
        }
        startFile = argv[i];
    }

    QApplication app(argc, argv);
    // From here on the system's requests to end are answered with the closing work.
    lexora::TerminationSignals terminationSignals;
    QApplication::setApplicationName(QStringLiteral("Lexora"));
    QApplication::setApplicationVersion(QStringLiteral(LEXORA_VERSION));
    if (uninstalling)
        return uninstall(app);
    lexora::installGermanTranslation();
    lexora::renderPagesInSoftware();
    registerWithDesktop();

    lexora::GuiPrompt prompt;
    lexora::QtFileDialogs fileDialogs;
    try {
        lexora::WindowManager windows(lexora::homeFolder(QCoreApplication::applicationDirPath()),
                                      prompt, fileDialogs);
        prompt.setParent(&windows.mainWindow());
        QObject::connect(&terminationSignals, &lexora::TerminationSignals::received, &windows,
                         &lexora::WindowManager::endWithoutQuestions);
        QObject::connect(&app, &QGuiApplication::commitDataRequest, &windows,
                         &lexora::WindowManager::endWithoutQuestions);
        if (startFile)
            windows.setStartFile(QString::fromLocal8Bit(startFile));
        if (!windows.startUp()) {
            windows.atProgramEnd();
            return 0;
        }
        windows.mainWindow().show();
        const int status = app.exec();
        windows.atProgramEnd();
        return status;
    } catch (const lexora::Error &e) {
        // The folders of the home folder could not be made: nothing can work without them.
        prompt.setParent(nullptr);
        prompt.message(lexora::UserPrompt::Icon::Error, QStringLiteral("Lexora"), e.message());
        return 1;
    }
}
