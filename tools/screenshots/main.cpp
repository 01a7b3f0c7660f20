// `lexora_screenshots FOLDER`: takes the pictures of the user's guide from the real program. It
// fills a sample database, opens each window the guide shows and writes it as FOLDER/NAME.png.
// Run it through tools/screenshots.sh, which builds it and gives it a virtual display.
#include "app/item_windows.h"
#include "app/window_manager.h"
#include "database/win1252.h"
#include "document/document.h"
#include "editor/item_editor.h"
#include "mainwindow/main_window.h"
#include "search/search_window.h"
#include "support/file_dialogs.h"
#include "support/german_translation.h"
#include "support/gui_prompt.h"
#include "support/page_rendering.h"
#include "itemwindow/item_window.h"
#include "tray/tray_window.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <memory>

using namespace lexora;

namespace {

QString g_folder;
bool g_failed = false;

// Lets the event loop run for ms, so pages render and windows settle.
void settle(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
}

void save(QWidget *window, const char *name)
{
    const QString file = g_folder + u'/' + QLatin1String(name) + QStringLiteral(".png");
    QPixmap picture = window->grab();
    if (picture.width() > 1000)
        picture = picture.scaledToWidth(1000, Qt::SmoothTransformation);
    if (!picture.save(file)) {
        std::fprintf(stderr, "lexora_screenshots: %s konnte nicht geschrieben werden\n", qUtf8Printable(file));
        g_failed = true;
        return;
    }
    std::printf("%s\n", qUtf8Printable(file));
}

// Runs open, which shows a modal window, takes its picture once it has settled and closes it.
void saveModal(const std::function<void()> &open, const char *name)
{
    QTimer::singleShot(2500, [name] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            save(modal, name);
            modal->close();
        } else {
            std::fprintf(stderr, "lexora_screenshots: kein Fenster für %s\n", name);
            g_failed = true;
        }
    });
    open();
}

Node *add(Document &doc, Node *parent, const char *title, const char *code = nullptr)
{
    std::unique_ptr<TTipItem> item;
    if (code) {
        item = std::make_unique<TTipItem>();
        item->Code = win1252::fromUnicode(QString::fromUtf8(code));
        item->HTMLTemplate = doc.database().DefaultHTMLTemplate;
        item->CSSTemplate = doc.database().DefaultCSSTemplate;
        item->AutoFormat = false;
        item->Created = 46001.4; // December 2025
        item->Modified = 46366.6; // December 2026
        item->CreatedBy = "anna";
        item->ModifiedBy = "anna";
    }
    return doc.appendNode(parent, win1252::fromUnicode(QString::fromUtf8(title)), std::move(item));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fputs("Aufruf: lexora_screenshots ORDNER\n", stderr);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lexora"));
    g_folder = QString::fromLocal8Bit(argv[1]);
    installGermanTranslation();
    renderPagesInSoftware();
    QTemporaryDir home;
    GuiPrompt prompt;
    QtFileDialogs fileDialogs;
    WindowManager windows(home.path(), prompt, fileDialogs);
    TQZS_LXD_Form &main = windows.mainWindow();
    main.show();
    settle(1500);

    Document &doc = windows.document();
    Node *linux = add(doc, nullptr, "Linux");
    Node *shell = add(doc, linux, "Shell");
    Node *find = add(doc, shell, "Dateien finden",
                     "<h2>Große Dateien finden</h2>\n<p>Alle Dateien über 100 MB im Home-Ordner:</p>\n"
                     "<pre>find ~ -type f -size +100M -exec ls -lh {} +</pre>\n"
                     "<p>Mit <code>-mtime -7</code> nur die der letzten Woche.</p>");
    add(doc, shell, "Prozesse", "<p><code>ps aux --sort=-%cpu | head</code> zeigt die fleißigsten Prozesse.</p>");
    Node *cpp = add(doc, nullptr, "C++");
    Node *ranges = add(doc, cpp, "Ranges", "<p><code>std::ranges::sort(v);</code> sortiert einen ganzen Vektor.</p>");
    add(doc, nullptr, "Einkaufsliste", "<ul><li>Kaffee</li><li>Brot</li></ul>");
    doc.addToTray(QList<Node *>{find, ranges});
    doc.setModified(false);

    main.selectNode(find);
    main.ShowSelected();
    settle(4000);
    save(&main, "hauptfenster");

    saveModal([&] { windows.itemEditor().EditItem(find); }, "eintragseditor");
    saveModal([&] { main.command("MenuItem_Templates")->trigger(); }, "vorlagen");
    saveModal([&] { main.command("MenuItem_IncludedFiles")->trigger(); }, "eingebundene-dateien");
    saveModal([&] { main.command("MenuItem_ExportDatabase")->trigger(); }, "export");
    saveModal([&] { main.command("MenuItem_Import")->trigger(); }, "import");
    saveModal([&] { main.command("MenuItem_Encryption")->trigger(); }, "verschluesselung");
    saveModal([&] { main.command("MenuItem_SortCriteriums")->trigger(); }, "sortierkriterien");

    TForm6 &search = windows.search();
    search.showSearch();
    if (auto *words = search.findChild<QLineEdit *>(QStringLiteral("Edit_Words")))
        words->setText(QStringLiteral("find"));
    if (auto *start = search.findChild<QPushButton *>(QStringLiteral("Button_Search")))
        start->click();
    settle(5000);
    save(&search, "suchen");
    search.close();

    TForm13 &tray = windows.tray();
    tray.show();
    settle(1000);
    save(&tray, "ablagemappe");
    tray.hide();

    main.selectNode(find);
    main.ShowSelected();
    if (QWidget *itemWindow = windows.itemWindows().ToolButton_NewWindowClick()) {
        settle(4000);
        save(itemWindow, "eintragsfenster");
        itemWindow->close();
    }

    doc.setModified(false);
    main.close();
    return g_failed ? 1 : 0;
}
