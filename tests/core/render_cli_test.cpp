#include "support/database_fixtures.h"
#include "support/run_cli.h"

#include "database/file_format.h"
#include "database/win1252.h"
#include "support/progress.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace lexora {
namespace {

using test::runCli;

// Top level:
//   Übersicht (key)
//     Größe\Breite (item with the default template, an included file and the file's name)
//   A (key)
//   A (key)
//     B (item saved without templates, so loading gives it the default one)
class RenderCliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        Database db;
        db.IncludedFilesFolder = dir.filePath(QStringLiteral("source/"));
        QDir().mkpath(db.IncludedFilesFolder);
        test::writeFileBytes(db.IncludedFilesFolder + QStringLiteral("bild.png"), "PNGDATA");
        db.IncludedFiles.push_back(std::make_unique<TInclFile>(TInclFile{"bild.png", 7}));
        db.HTMLTemplates.push_back(std::make_unique<TTemplate>(
            TTemplate{"Seite", "<html><body><h1>%headline%</h1>%text%</body></html>", ""}));
        db.DefaultHTMLTemplate = db.HTMLTemplates.back().get();

        Node &top = db.topLevel();
        Node *overview = top.appendChild("\xDC" "bersicht");
        addItem(*overview, "Gr\xF6\xDF" "e\\Breite",
                "<img src=\"%file%bild.png>\">\r\n%filename% in %filepath%", db.DefaultHTMLTemplate);
        top.appendChild("A");
        addItem(*top.appendChild("A"), "B", "Gr&ouml;&szlig;e <b>%level%</b>", nullptr);
        file = dir.filePath(QStringLiteral("fixture.lxd"));
        NoProgress progress;
        SaveDatabase(db, file, false, progress);
    }

    static void addItem(Node &parent, const char *name, const char *code, TTemplate *html)
    {
        auto item = std::make_unique<TTipItem>();
        item->Code = code;
        item->HTMLTemplate = html;
        parent.appendChild(name)->setItem(std::move(item));
    }

    QTemporaryDir dir;
    QString file;
};

TEST_F(RenderCliTest, RenderPrintsThePageAndLeavesTheIncludedFilesInTheFilesFolder)
{
    const QString files = dir.filePath(QStringLiteral("files"));
    const auto run = runCli({QStringLiteral("render"), file,
                             QString::fromUtf8("Übersicht\\Größe\\Breite"),
                             QStringLiteral("--files-dir"), files});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QString expected = QString::fromUtf8("<html><body><h1>Größe\\Breite</h1>")
                             + QStringLiteral("<img src=\"%1/bild.png\"><br>fixture.lxd in %2/")
                                   .arg(QDir(files).absolutePath(), QDir(dir.path()).absolutePath())
                             + QStringLiteral("</body></html>");
    EXPECT_EQ(QString::fromUtf8(run.out), expected);
    EXPECT_EQ(test::readFileBytes(files + QStringLiteral("/bild.png")), QByteArray("PNGDATA"));
}

TEST_F(RenderCliTest, RenderWithoutFilesFolderUsesAFolderOfItsOwn)
{
    const auto run = runCli({QStringLiteral("render"), file,
                             QString::fromUtf8("Übersicht\\Größe\\Breite")});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    // The page names the file in a temporary folder, which is gone when the command has ended.
    const QString page = QString::fromUtf8(run.out);
    const QString before = QStringLiteral("<img src=\"");
    const qsizetype start = page.indexOf(before) + before.size();
    const QString path = page.mid(start, page.indexOf(QLatin1Char('"'), start) - start);
    EXPECT_TRUE(path.startsWith(QLatin1Char('/')) && path.endsWith(QStringLiteral("/bild.png")))
        << path.toStdString();
    EXPECT_FALSE(path.startsWith(dir.path()));
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(RenderCliTest, RenderShowsAKeyThroughTheDefaultTemplate)
{
    const auto run = runCli({QStringLiteral("render"), file, QString::fromUtf8("Übersicht")});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(QString::fromUtf8(run.out),
              QString::fromUtf8("<html><body><h1>Übersicht</h1></body></html>"));
}

TEST_F(RenderCliTest, TextPrintsWhatTheReaderSees)
{
    // The path leads through the second of two siblings named "A".
    const auto run = runCli({QStringLiteral("text"), file, QStringLiteral("A\\B")});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(QString::fromUtf8(run.out), QString::fromUtf8("B\nGröße 1"));
}

TEST_F(RenderCliTest, WrongPathsAndArgumentsFail)
{
    struct Case {
        QStringList args;
        const char *message;
    };
    const Case cases[] = {
        {{QStringLiteral("render"), file, QStringLiteral("A\\C")}, "Es gibt kein Element \"A\\C\""},
        {{QStringLiteral("text"), file, QString::fromUtf8("übersicht")}, "Es gibt kein Element"},
        {{QStringLiteral("render"), file}, "Aufruf: lexora-cli render"},
        {{QStringLiteral("text"), file, QStringLiteral("A"), QStringLiteral("B")},
         "Aufruf: lexora-cli text"},
        {{QStringLiteral("render"), dir.filePath(QStringLiteral("fehlt.lxd")), QStringLiteral("A")},
         ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const auto run = runCli(c.args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.constData();
    }
}

} // namespace
} // namespace lexora
