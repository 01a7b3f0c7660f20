#include "exchange/page_export.h"

#include "database/win1252.h"
#include "render/displayed_text.h"
#include "support/database_fixtures.h"
#include "support/scripted_prompt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lexora;
using lexora::test::readFileBytes;
using lexora::test::writeFileBytes;
using lexora::test::ScriptedPrompt;

namespace {

// A database whose included-files folder holds "bild.png" and "R&D.txt".
class PageExport : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QDir(dir.path()).mkpath(QStringLiteral("incl"));
        QDir(dir.path()).mkpath(QStringLiteral("out"));
        db.IncludedFilesFolder = dir.path() + QStringLiteral("/incl/");
        addIncluded("bild.png", "PNG-Bytes");
        addIncluded("R&D.txt", "Forschung");
    }

    void addIncluded(const Text &name, const QByteArray &bytes)
    {
        auto file = std::make_unique<TInclFile>();
        file->Name = name;
        file->Size = qint32(bytes.size());
        db.IncludedFiles.push_back(std::move(file));
        writeFileBytes(db.includedFilePath(name), bytes);
    }

    QString out(const QString &name) const { return dir.path() + QStringLiteral("/out/") + name; }

    QTemporaryDir dir;
    Database db;
    ScriptedPrompt prompt;
};

} // namespace

TEST(PageExportFolderName, IsCutAtTheFirstOccurrenceOfTheExtension)
{
    const struct {
        const char *file;
        const char *folder;
    } cases[] = {
        {"/x/seite.htm", "seite-Dateien"},
        {"/x/a.htm.htm", "a-Dateien"},
        {"/x/bericht.2024.html", "bericht.2024-Dateien"},
        {"/x/ohne", "ohne-Dateien"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(exportFilesFolderName(QString::fromUtf8(c.file)), QString::fromUtf8(c.folder))
            << c.file;
}

TEST_F(PageExport, PageWithoutIncludedFilesIsWrappedAndMakesNoFolder)
{
    ASSERT_TRUE(ExportBrowserContent(db, out("seite.htm"),
                                     QStringLiteral("<head></head><body>Hallo</body>"), prompt));
    EXPECT_EQ(readFileBytes(out("seite.htm")), "<HTML>\r\n<head></head><body>Hallo</body>\r\n</HTML>\r\n");
    EXPECT_FALSE(QFileInfo::exists(out("seite-Dateien")));
    EXPECT_TRUE(prompt.shown().isEmpty());
}

TEST_F(PageExport, TwoReferencesToOneFileGiveOneCopyAndTwoRelativeAddresses)
{
    const QString f = db.IncludedFilesFolder;
    const QString html = QStringLiteral("<body><img src=\"") + f + QStringLiteral("bild.png\"><a href='")
                         + f + QStringLiteral("bild.png'>x</a></body>");
    ASSERT_TRUE(ExportBrowserContent(db, out("seite.htm"), html, prompt));
    EXPECT_EQ(readFileBytes(out("seite.htm")),
              "<HTML>\r\n<body><img src=\"seite-Dateien/bild.png\"><a "
              "href='seite-Dateien/bild.png'>x</a></body>\r\n</HTML>\r\n");
    EXPECT_EQ(readFileBytes(out("seite-Dateien/bild.png")), "PNG-Bytes");
    EXPECT_EQ(QDir(out("seite-Dateien")).entryList(QDir::Files), QStringList{"bild.png"});
}

TEST_F(PageExport, AnExistingCopyIsKept)
{
    QDir().mkpath(out("seite-Dateien"));
    writeFileBytes(out("seite-Dateien/bild.png"), "alte Kopie");
    const QString html = QStringLiteral("<img src=\"") + db.IncludedFilesFolder + QStringLiteral("bild.png\">");
    ASSERT_TRUE(ExportBrowserContent(db, out("seite.htm"), html, prompt));
    EXPECT_EQ(readFileBytes(out("seite-Dateien/bild.png")), "alte Kopie");
    EXPECT_TRUE(readFileBytes(out("seite.htm")).contains("src=\"seite-Dateien/bild.png\""));
}

TEST_F(PageExport, AStaleNameIsRewrittenButNotCopied)
{
    const QString html = QStringLiteral("<img src=\"") + db.IncludedFilesFolder + QStringLiteral("weg.png\">");
    ASSERT_TRUE(ExportBrowserContent(db, out("a.htm.htm"), html, prompt));
    EXPECT_EQ(readFileBytes(out("a.htm.htm")), "<HTML>\r\n<img src=\"a-Dateien/weg.png\">\r\n</HTML>\r\n");
    EXPECT_TRUE(QFileInfo(out("a-Dateien")).isDir());
    EXPECT_TRUE(QDir(out("a-Dateien")).isEmpty());
}

TEST_F(PageExport, AReferenceWithoutClosingQuoteIsRewrittenOnly)
{
    const QString html = QStringLiteral("Pfad: ") + db.IncludedFilesFolder + QStringLiteral("bild.png");
    ASSERT_TRUE(ExportBrowserContent(db, out("s.htm"), html, prompt));
    EXPECT_EQ(readFileBytes(out("s.htm")), "<HTML>\r\nPfad: s-Dateien/bild.png\r\n</HTML>\r\n");
    EXPECT_TRUE(QDir(out("s-Dateien")).isEmpty());
}

TEST_F(PageExport, SerializedEntitiesInTheNameAreUndoneForTheCopy)
{
    // The browser writes "&" in attribute values as "&amp;".
    const QString html = QStringLiteral("<a href=\"") + db.IncludedFilesFolder + QStringLiteral("R&amp;D.txt\">");
    ASSERT_TRUE(ExportBrowserContent(db, out("s.htm"), html, prompt));
    EXPECT_EQ(readFileBytes(out("s-Dateien/R&D.txt")), "Forschung");
    EXPECT_TRUE(readFileBytes(out("s.htm")).contains("href=\"s-Dateien/R&amp;D.txt\""));
}

// What the browser wrote escaped stays escaped, and the files folder, named after the chosen
// file, goes into the page as text too.
TEST_F(PageExport, NamesAndTheFilesFolderStayText)
{
    const QString file = out(QStringLiteral("Tom & \"Jerry\" <1>.htm"));
    const QString html = QStringLiteral("<h1>&lt;div&gt; zentrieren &amp;amp;</h1><img src=\"")
                         + db.IncludedFilesFolder + QStringLiteral("bild.png\">");
    ASSERT_TRUE(ExportBrowserContent(db, file, html, prompt));
    const QByteArray page = readFileBytes(file);
    EXPECT_EQ(DisplayedText(page), "<div> zentrieren &amp;");
    // The address, read as a browser reads the attribute, leads to the copy.
    const qsizetype src = page.indexOf("src=\"") + 5;
    const Text address = DisplayedText(page.mid(src, page.indexOf('"', src) - src));
    EXPECT_EQ(address, "Tom & \"Jerry\" <1>-Dateien/bild.png") << page.constData();
    EXPECT_EQ(readFileBytes(out(win1252::toUnicode(address))), "PNG-Bytes");
}

TEST_F(PageExport, WritesWindows1252WithCrLfAndKeepsForeignCharactersAsReferences)
{
    const QString html = QString::fromUtf8("<p>Grüße – 中\n<b>x</b>\r\n</p>");
    ASSERT_TRUE(ExportBrowserContent(db, out("s.htm"), html, prompt));
    EXPECT_EQ(readFileBytes(out("s.htm")),
              "<HTML>\r\n<p>Gr\xFC\xDF" "e \x96 &#20013;\r\n<b>x</b>\r\n</p>\r\n</HTML>\r\n");
}

TEST_F(PageExport, FailuresShowTheMessageAndKeepAnExistingFile)
{
    writeFileBytes(out("alt.htm"), "vorher");
    const struct {
        const char *what;
        QString file;
        QString html;
    } cases[] = {
        {"no document", out("alt.htm"), QString()},
        {"missing folder", out("fehlt/seite.htm"), QStringLiteral("<p></p>")},
        {"file is a folder", dir.path() + QStringLiteral("/out"), QStringLiteral("<p></p>")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedPrompt p;
        EXPECT_FALSE(ExportBrowserContent(db, c.file, c.html, p));
        ASSERT_EQ(p.shown().size(), 1);
        EXPECT_EQ(p.shown()[0].caption, QStringLiteral("Vorgang fehlgeschlagen"));
        EXPECT_EQ(p.shown()[0].text, QStringLiteral("Die Datei konnte nicht gespeichert werden."));
        EXPECT_EQ(p.shown()[0].icon, UserPrompt::Icon::Error);
    }
    EXPECT_EQ(readFileBytes(out("alt.htm")), "vorher");
}
