// "Browser-Inhalt exportieren" in the running program: the page of the main display saved as
// the core saves the same page, the included files it uses copied beside it, and the saved page
// showing its pictures in a browser without the database.
#include "browser/browser_view.h"
#include "database/file_format.h"
#include "database/win1252.h"
#include "exchange/browser_content_export.h"
#include "exchange/page_export.h"
#include "mainwindow/tree_model.h"
#include "support/database_fixtures.h"
#include "support/gui_main_window.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QWebEngineView>

using namespace lexora;
using namespace lexora::test;

namespace {

QByteArray png(int width, int height, Qt::GlobalColor colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

class PageExportTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(sources.isValid());
        ASSERT_TRUE(outDir.isValid());
        // One item using the two included files, "bild.png" twice, below its headline.
        Database source;
        source.IncludedFilesFolder = sources.path() + QStringLiteral("/files/");
        QDir().mkpath(source.IncludedFilesFolder);
        for (const auto &[name, bytes] : {std::pair{"bild.png", bild}, std::pair{"foto.png", foto}}) {
            writeFileBytes(source.includedFilePath(name), bytes);
            source.IncludedFiles.push_back(
                std::make_unique<TInclFile>(TInclFile{name, qint32(bytes.size())}));
        }
        Node *node = source.topLevel().appendChild("Bilder");
        auto item = std::make_unique<TTipItem>();
        item->Code = "<h1 id=\"h\">%headline%</h1>"
                     "<img id=\"a\" src=\"%file%bild.png>\"> <img id=\"b\" src=\"%file%foto.png>\">"
                     " <img id=\"c\" src='%file%bild.png>'>";
        node->setItem(std::move(item));
        const QString file = sources.path() + QStringLiteral("/bilder.lxd");
        NoProgress progress;
        SaveDatabase(source, file, false, progress);

        start(file);
        QSignalSpy shown(window->browser(), &BrowserView::documentShown);
        select({shownNode()});
        ASSERT_TRUE(shown.wait(15000));
    }

    // The item; the document reads out const nodes, and its edits take them as they are.
    // The database's one top-level item, as the tree's model hands it to the windows.
    Node *shownNode() { return window->treeModel()->nodeOf(window->treeModel()->index(0, 0)); }

    QString out(const QString &name) const { return outDir.path() + QLatin1Char('/') + name; }

    // Runs the menu command with the save dialog answering file; true when it wrote the file.
    bool exportShownPage(const std::optional<QString> &file)
    {
        dialogs.htmlSaves.enqueue(file);
        QSignalSpy finished(&app->browserContentExport(), &BrowserContentExport::finished);
        window->command("MenuItem_ExportBrowserContent")->trigger();
        if (!file)
            return false;
        EXPECT_TRUE(finished.wait(15000));
        return !finished.isEmpty() && finished.first().first().toBool();
    }

    // What the core writes for the page the display shows now, under the same file name in
    // another folder (so the files folder has the same name).
    QByteArray coreExport()
    {
        QString inner;
        bool read = false;
        window->browser()->readPageHtml([&](const QString &html) {
            inner = html;
            read = true;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return read; }, 15000));
        const QString file = out(QStringLiteral("kern/seite.htm"));
        QDir().mkpath(QFileInfo(file).path());
        ScriptedPrompt quiet;
        EXPECT_TRUE(ExportBrowserContent(db(), file, inner, quiet));
        return readFileBytes(file);
    }

    // Opens a saved page in a browser without the database: the sizes of its pictures "a", "b"
    // and "c" ("" for one not loaded) and the text of its headline.
    QStringList shownInBrowser(const QString &file)
    {
        QWebEngineView view;
        view.resize(400, 300);
        view.show();
        QSignalSpy loaded(&view, &QWebEngineView::loadFinished);
        view.load(QUrl::fromLocalFile(file));
        if (!loaded.wait(30000) || !loaded.first().first().toBool()) {
            ADD_FAILURE() << "the saved page did not load";
            return {};
        }
        auto size = [&](const char *id) {
            const QString script = QStringLiteral("(function() { var i = document.getElementById('%1');"
                                                  " return i.complete ? i.naturalWidth + 'x'"
                                                  " + i.naturalHeight : ''; })()")
                                       .arg(QLatin1String(id));
            return runJavaScript(view.page(), script).toString();
        };
        if (!QTest::qWaitFor([&] { return !size("a").isEmpty(); }, 15000))
            ADD_FAILURE() << "the first picture did not finish loading";
        return {size("a"), size("b"), size("c"),
                runJavaScript(view.page(), QStringLiteral("document.getElementById('h').textContent"))
                    .toString()};
    }

    const QByteArray bild = png(20, 10, Qt::red);
    const QByteArray foto = png(12, 12, Qt::blue);
    QTemporaryDir sources;
    QTemporaryDir outDir;
};

} // namespace

TEST_F(PageExportTest, TheShownPageIsSavedWithItsPicturesBesideIt)
{
    ASSERT_TRUE(window->command("MenuItem_ExportBrowserContent")->isEnabled());
    const QString file = out(QStringLiteral("seite.htm"));
    ASSERT_TRUE(exportShownPage(file));
    // The save dialog asks before overwriting; this command has no question of its own.
    EXPECT_EQ(dialogs.htmlOverwrites, QList{FileDialogs::Overwrite::Ask});
    EXPECT_TRUE(prompt.shown().isEmpty());

    const QByteArray page = readFileBytes(file);
    EXPECT_EQ(page, coreExport());
    EXPECT_TRUE(page.startsWith("<HTML>\r\n"));
    EXPECT_TRUE(page.endsWith("\r\n</HTML>\r\n"));
    EXPECT_EQ(page.count("=\"seite-Dateien/bild.png\""), 2);
    EXPECT_EQ(page.count("=\"seite-Dateien/foto.png\""), 1);
    EXPECT_FALSE(page.contains(db().IncludedFilesFolder.toUtf8()));
    // One copy of each included file the page uses.
    const QString files = out(QStringLiteral("seite-Dateien/"));
    EXPECT_EQ(QDir(files).entryList(QDir::Files), (QStringList{"bild.png", "foto.png"}));
    EXPECT_EQ(readFileBytes(files + QStringLiteral("bild.png")), bild);
    EXPECT_EQ(readFileBytes(files + QStringLiteral("foto.png")), foto);

    // Opened again in a browser, the page shows both pictures from its own folder.
    EXPECT_EQ(shownInBrowser(file), (QStringList{"20x10", "12x12", "20x10", "Bilder"}));
}

// A name with markup characters shows as typed in the saved page, and a file name with them
// still leads the page to its pictures.
TEST_F(PageExportTest, NamesWithMarkupCharactersStayText)
{
    const QString name = QStringLiteral("<div> Bilder & \"Fotos\"");
    QSignalSpy shown(window->browser(), &BrowserView::documentShown);
    doc().renameNode(shownNode(), win1252::fromUnicode(name));
    ASSERT_TRUE(shown.wait(15000));

    const QString file = out(QStringLiteral("Tom & \"Jerry\" <1>.htm"));
    ASSERT_TRUE(exportShownPage(file));
    EXPECT_EQ(shownInBrowser(file), (QStringList{"20x10", "12x12", "20x10", name}));
}

TEST_F(PageExportTest, AnotherExportKeepsTheCopiesAndAFailureIsReported)
{
    const QString file = out(QStringLiteral("seite.htm"));
    ASSERT_TRUE(exportShownPage(file));
    const QString copy = out(QStringLiteral("seite-Dateien/bild.png"));
    writeFileBytes(copy, "schon da");

    // Again into the same file: the page is written anew, an existing copy is kept.
    writeFileBytes(file, "alt");
    ASSERT_TRUE(exportShownPage(file));
    EXPECT_TRUE(readFileBytes(file).startsWith("<HTML>"));
    EXPECT_EQ(readFileBytes(copy), "schon da");

    // Cancelling the dialog does nothing.
    exportShownPage(std::nullopt);
    QCoreApplication::processEvents();
    EXPECT_TRUE(prompt.shown().isEmpty());

    // A folder that does not exist: the error message, no file.
    const QString nowhere = out(QStringLiteral("fehlt/seite.htm"));
    EXPECT_FALSE(exportShownPage(nowhere));
    ASSERT_EQ(prompt.shown().size(), 1);
    EXPECT_EQ(prompt.shown()[0].icon, UserPrompt::Icon::Error);
    EXPECT_EQ(prompt.shown()[0].caption, QStringLiteral("Vorgang fehlgeschlagen"));
    EXPECT_EQ(prompt.shown()[0].text, QStringLiteral("Die Datei konnte nicht gespeichert werden."));
    EXPECT_FALSE(QFileInfo::exists(nowhere));
}
