// `lexora_screenshots FOLDER`: takes the pictures of the user's guide (docs/benutzerhandbuch.md)
// from the real program. It starts the program's windows through the WindowManager in a
// temporary home folder, fills a sample database through the core, opens each window the guide
// shows as a user would and writes it as FOLDER/NAME.png. Run it through tools/screenshots.sh,
// which builds it and gives it a virtual display.
#include "camera.h"
#include "sample_database.h"

#include "app/item_windows.h"
#include "app/window_manager.h"
#include "document/document.h"
#include "editor/item_editor.h"
#include "exchange/import_window.h"
#include "exchange/html_export_window.h"
#include "help/balloon_help.h"
#include "help/balloon_window.h"
#include "help/balloons.h"
#include "itemwindow/item_window.h"
#include "mainwindow/info_area.h"
#include "mainwindow/main_window.h"
#include "mainwindow/tree_model.h"
#include "mainwindow/tree_view.h"
#include "dialogs/encryption_window.h"
#include "search/search_results_model.h"
#include "search/search_window.h"
#include "support/file_dialogs.h"
#include "support/german_translation.h"
#include "support/gui_prompt.h"
#include "support/page_rendering.h"
#include "templates/template_manager.h"
#include "tray/tray_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QDateEdit>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeView>

#include <cstdio>

using namespace lexora;

namespace {

// The program's update settings, its desktop entry and Qt WebEngine's caches go below the
// temporary folder, never into the user's own.
void isolateFrom(const QTemporaryDir &home)
{
    for (const char *name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qputenv(name, QFile::encodeName(home.filePath(QString::fromLatin1(name))));
    // Qt WebEngine refuses its sandbox when run as root, and Xvfb has no GPU.
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --no-sandbox");
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
}

template <typename T> T *child(QWidget *window, const char *name)
{
    return window->findChild<T *>(QLatin1String(name));
}

// The main window, a menu of its menu bar opened, and the tree's context menu over a key.
void shootMainWindow(Camera &camera, WindowManager &windows, const SampleNodes &nodes)
{
    MainWindow &mainWindow = windows.mainWindow();
    mainWindow.selectNode(nodes.findFiles);
    camera.shoot(&mainWindow, QStringLiteral("hauptfenster"));

    QMenu *fileMenu = child<QMenu>(&mainWindow, "Datei1");
    mainWindow.menuBar()->setActiveAction(fileMenu->menuAction());
    camera.shoot(&mainWindow, QStringLiteral("menue-datei"), {fileMenu});
    fileMenu->hide();

    // A right click first selects the node under the pointer.
    mainWindow.selectNode(nodes.shell);
    const QRect row = mainWindow.treeView()->visualRect(mainWindow.treeModel()->indexOf(nodes.shell));
    Q_EMIT mainWindow.treeView()->customContextMenuRequested(row.center());
    camera.shoot(&mainWindow, QStringLiteral("kontextmenue"), {mainWindow.popupMenu()});
    mainWindow.popupMenu()->hide();
    mainWindow.selectNode(nodes.findFiles);
}

// F1 with the mouse pointer over the information area.
void shootHelpBalloon(Camera &camera, WindowManager &windows)
{
    MainWindow &mainWindow = windows.mainWindow();
    mainWindow.activateWindow();
    if (!Camera::waitFor([&mainWindow] { return QApplication::activeWindow() == &mainWindow; }, 5000)) {
        camera.fail(QStringLiteral("ballonhilfe: das Hauptfenster wurde nicht aktiv"));
        return;
    }
    QWidget *info = mainWindow.infoArea();
    QCursor::setPos(info->mapToGlobal(info->rect().center()));
    Camera::settle(200);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(&mainWindow, &press);
    TQZBalloonHelp *balloon = windows.balloons().QZBalloonHelp;
    if (!Camera::waitFor([balloon] { return balloon->isVisible(); }, 5000)) {
        camera.fail(QStringLiteral("ballonhilfe: F1 zeigte keinen Ballon"));
        return;
    }
    camera.shoot(&mainWindow, QStringLiteral("ballonhilfe"), {balloon->window()});
    balloon->Hide();
}

void shootDialogs(Camera &camera, WindowManager &windows, const SampleNodes &nodes,
                  const QString &workFolder)
{
    MainWindow &mainWindow = windows.mainWindow();
    const auto run = [&mainWindow](const char *command) {
        return [&mainWindow, command] { mainWindow.command(command)->trigger(); };
    };
    camera.shootModal(QStringLiteral("neue-datenbank"), run("MenuItem_New"));
    // Wider than at its first opening, so that the caption of the line-break box shows whole.
    camera.shootModal(QStringLiteral("eintragseditor"),
                      [&] { windows.itemEditor().EditItem(nodes.findFiles); },
                      [](QWidget *window) { window->resize(880, window->height()); });
    camera.shootModal(QStringLiteral("vorlagen"), run("MenuItem_Templates"), [](QWidget *window) {
        auto *list = child<QListView>(window, "ListView_Templates");
        const QModelIndexList found = list->model()->match(
            list->model()->index(0, 0), Qt::DisplayRole, QStringLiteral("HTML #1"), 1,
            Qt::MatchExactly);
        if (!found.isEmpty())
            list->setCurrentIndex(found.first());
    });
    camera.shootModal(QStringLiteral("eingebundene-dateien"), run("MenuItem_IncludedFiles"));
    camera.shootModal(QStringLiteral("sortierkriterien"), run("MenuItem_SortCriteriums"));
    camera.shootModal(QStringLiteral("export"), run("MenuItem_ExportDatabase"), [](QWidget *window) {
        child<QLineEdit>(window, "Edit_Title")->setText(QStringLiteral("Meine Notizen"));
        child<QLineEdit>(window, "Edit_File")
            ->setText(QStringLiteral("/home/anna/Dokumente/Notizen.htm"));
    });
    camera.shootModal(QStringLiteral("import"), run("MenuItem_Import"),
                      [&workFolder](QWidget *window) {
                          auto *import = static_cast<ImportWindow *>(window);
                          import->AddImportFiles({workFolder + QStringLiteral("/Rezepte.lxd")});
                          import->PageControl->setCurrentWidget(import->TabSheet2);
                      });
    camera.shootModal(QStringLiteral("verschluesselung"), run("MenuItem_Encryption"),
                      [](QWidget *window) {
                          child<QCheckBox>(window, "CheckBox_Encryption")->click();
                          child<QLineEdit>(window, "Edit_Password")
                              ->setText(QStringLiteral("geheim"));
                          child<QRadioButton>(window, "RadioButton_Strong")->click();
                      });
    // The example password is not to stay with the sample database.
    windows.document().setEncryption(false, EncryptionMode::Compatible, {});
    QAction *update = nullptr;
    for (QAction *action : mainWindow.actions())
        if (action->objectName() == QLatin1String("Action_QZUpdateFile"))
            update = action;
    if (update)
        camera.shootModal(QStringLiteral("update"), [update] { update->trigger(); });
    else
        camera.fail(QStringLiteral("update: kein Befehl Strg+U"));
}

// The search window: its keywords, a condition and the hits of the search.
void shootSearch(Camera &camera, WindowManager &windows)
{
    SearchWindow &search = windows.search();
    search.showSearch();
    search.Edit_Words->setText(QStringLiteral("find"));
    camera.shoot(&search, QStringLiteral("suchen"));

    search.PageControl->setCurrentWidget(search.TabSheet4);
    search.CheckBox_Modified->click();
    search.ComboBox_Modified->setCurrentText(QStringLiteral("ist später als"));
    // Fixed dates instead of today's, so that the picture comes out the same every time.
    search.DateTimePicker_Created->setDate(QDate(2026, 12, 1));
    search.DateTimePicker_Modified->setDate(QDate(2026, 12, 1));
    camera.shoot(&search, QStringLiteral("suchen-bedingungen"));

    search.Button_Search->click();
    if (!Camera::waitFor([&search] { return !search.isSearching(); }, 30000)
        || search.resultsModel().rowCount() == 0) {
        camera.fail(QStringLiteral("suchen-fundstellen: die Suche fand nichts"));
        return;
    }
    search.ListView_Results->selectRow(0);
    camera.shoot(&search, QStringLiteral("suchen-fundstellen"));
    search.close();
}

void shootTrayAndItemWindow(Camera &camera, WindowManager &windows, const SampleNodes &nodes)
{
    TrayWindow &tray = windows.tray();
    tray.show();
    tray.ListView_Tray->setCurrentIndex(tray.ListView_Tray->model()->index(0, 0));
    camera.shoot(&tray, QStringLiteral("ablagemappe"));
    tray.hide();

    windows.mainWindow().selectNode(nodes.homeNetwork);
    if (QWidget *itemWindow = windows.itemWindows().ToolButton_NewWindowClick()) {
        camera.shoot(itemWindow, QStringLiteral("eintragsfenster"));
        itemWindow->close();
    } else {
        camera.fail(QStringLiteral("eintragsfenster: kein Fenster geöffnet"));
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fputs("Aufruf: lexora_screenshots ORDNER\n", stderr);
        return 2;
    }
    QTemporaryDir home;
    if (!home.isValid()) {
        std::fputs("lexora_screenshots: kein temporärer Ordner\n", stderr);
        return 1;
    }
    isolateFrom(home);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lexora"));
    QApplication::setApplicationVersion(QStringLiteral(LEXORA_VERSION));
    installGermanTranslation();
    renderPagesInSoftware();
    Camera camera(QDir(QString::fromLocal8Bit(argv[1])).absolutePath());

    GuiPrompt prompt;
    QtFileDialogs fileDialogs;
    const QString workFolder = home.filePath(QStringLiteral("work"));
    QDir().mkpath(workFolder);
    WindowManager windows(home.filePath(QStringLiteral("Lexora")), prompt, fileDialogs);
    prompt.setParent(&windows.mainWindow());
    MainWindow &mainWindow = windows.mainWindow();
    mainWindow.show();
    // The first show loads the standard template database with the default templates.
    if (!Camera::waitFor([&windows] { return windows.document().database().DefaultHTMLTemplate; },
                         30000)) {
        std::fputs("lexora_screenshots: die Standard-Vorlage wurde nicht geladen\n", stderr);
        return 1;
    }
    const SampleNodes nodes = fillSampleDatabase(windows.document(), workFolder);

    shootMainWindow(camera, windows, nodes);
    shootHelpBalloon(camera, windows);
    shootDialogs(camera, windows, nodes, workFolder);
    shootSearch(camera, windows);
    shootTrayAndItemWindow(camera, windows, nodes);

    windows.document().setModified(false);
    mainWindow.close();
    return camera.failed() ? 1 : 0;
}
