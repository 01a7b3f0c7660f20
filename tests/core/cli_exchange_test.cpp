// lexora-cli export-html and import.
#include "database/file_format.h"
#include "support/database_fixtures.h"
#include "support/progress.h"
#include "support/run_cli.h"
#include "support/scripted_prompt.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lexora;
using lexora::test::readFileBytes;
using lexora::test::runCli;
using lexora::test::writeFileBytes;

namespace {

class CliExchange : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path(const QString &name) const { return dir.path() + QLatin1Char('/') + name; }

    // Saves a database with the given top-level keys and an item "Eintrag" below the first.
    QString save(const QString &name, const QByteArrayList &keys)
    {
        Database db;
        db.IncludedFilesFolder = path(name + QStringLiteral("-dateien/"));
        for (const QByteArray &key : keys)
            db.topLevel().appendChild(key);
        if (!keys.isEmpty()) {
            Node *node = db.topLevel().child(0)->appendChild("Eintrag");
            auto item = std::make_unique<TTipItem>();
            item->Code = "Text von " + keys.first();
            node->setItem(std::move(item));
        }
        NoProgress progress;
        SaveDatabase(db, path(name), false, progress);
        return path(name);
    }

    // The top-level names of a database file.
    QByteArray topLevel(const QString &file)
    {
        Database db;
        db.IncludedFilesFolder = path(QStringLiteral("laden/"));
        test::ScriptedPrompt prompt;
        NoProgress progress;
        EXPECT_EQ(LoadDatabase(db, file, lpAll, prompt, progress), LoadResult::Read);
        QByteArrayList names;
        for (const Node &child : db.topLevel().children())
            names.append(child.name());
        return names.join(',');
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(CliExchange, ExportHtmlWritesThePageWithTitleFontAndSize)
{
    const QString db = save(QStringLiteral("a.lxd"), {"\xC4rger"});
    const test::CliRun run = runCli({QStringLiteral("export-html"), db, path(QStringLiteral("a.htm")),
                                     QStringLiteral("--title"), QStringLiteral("Über"),
                                     QStringLiteral("--font"), QStringLiteral("Liberation Serif"),
                                     QStringLiteral("--size"), QStringLiteral("3")});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QByteArray page = readFileBytes(path(QStringLiteral("a.htm")));
    EXPECT_TRUE(page.contains("\t\t<title>\xDC" "ber</title>\r\n"));
    EXPECT_TRUE(page.contains("style=\"font:medium Liberation Serif\">\r\n"));
    EXPECT_TRUE(page.contains("\t\t\t\topenKey(\"&Auml;rger\");\r\n"));
    EXPECT_TRUE(page.contains("\r\nText von \xC4rger\r\n"));
    EXPECT_TRUE(run.err.contains("Die Datenbank wurde exportiert."));
}

TEST_F(CliExchange, ExportHtmlWithoutFontWritesAnInstalledFamilyAtSizeOne)
{
    const QString db = save(QStringLiteral("a.lxd"), {});
    ASSERT_EQ(runCli({QStringLiteral("export-html"), db, path(QStringLiteral("a.htm"))}).exitCode, 0);
    const QByteArray page = readFileBytes(path(QStringLiteral("a.htm")));
    const QRegularExpression body(QStringLiteral("\t<body bgColor=\"white\" onLoad=\"initObjs\\(\\)\" "
                                                 "style=\"font:x-small [^\"\r\n]+\">\r\n"));
    EXPECT_TRUE(body.match(QString::fromLatin1(page)).hasMatch());
}

TEST_F(CliExchange, ExportHtmlRefusals)
{
    const QString db = save(QStringLiteral("a.lxd"), {});
    writeFileBytes(path(QStringLiteral("alt.htm")), "vorher");
    const struct {
        QStringList args;
        const char *message;
    } cases[] = {
        {{path(QStringLiteral("x.htm")), QStringLiteral("--size"), QStringLiteral("7")},
         "Schriftgr\xC3\xB6\xC3\x9F" "e 7"},
        {{path(QStringLiteral("x.htm")), QStringLiteral("--size"), QStringLiteral("groß")},
         "keine Zahl"},
        {{path(QStringLiteral("a?b.htm"))}, "Der angegebene Dateiname ist ung\xC3\xBCltig."},
        // The overwrite question gets no answer from an empty input: the file stays.
        {{path(QStringLiteral("alt.htm"))}, "nicht \xC3\xBC" "berschrieben"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message);
        const test::CliRun run = runCli(QStringList{QStringLiteral("export-html"), db} + c.args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.constData();
    }
    EXPECT_EQ(readFileBytes(path(QStringLiteral("alt.htm"))), "vorher");
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("x.htm"))));
}

TEST_F(CliExchange, ImportMergesAndSavesTargetOrOutput)
{
    const QString target = save(QStringLiteral("ziel.lxd"), {"Zeta"});
    const QString source = save(QStringLiteral("quelle.lxd"), {"Alpha", "Zeta"});
    const QByteArray before = readFileBytes(target);

    test::CliRun run = runCli({QStringLiteral("import"), target, source, QStringLiteral("--parts"),
                               QStringLiteral("new"), QStringLiteral("--output"),
                               path(QStringLiteral("neu.lxd"))});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(run.err.contains("Vorgang abgeschlossen: Die Datenbanken wurden importiert."));
    EXPECT_EQ(topLevel(path(QStringLiteral("neu.lxd"))), "Alpha,Zeta");
    EXPECT_EQ(readFileBytes(target), before);

    run = runCli({QStringLiteral("import"), target, source, QStringLiteral("--parts"),
                  QStringLiteral("html,css,new,existing,files")});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(topLevel(target), "Alpha,Zeta");
}

TEST_F(CliExchange, ImportRefusals)
{
    const QString target = save(QStringLiteral("ziel.lxd"), {"Zeta"});
    const QString source = save(QStringLiteral("quelle.lxd"), {"Alpha"});
    const QString damaged = path(QStringLiteral("kaputt.lxd"));
    const QByteArray bytes = readFileBytes(source);
    writeFileBytes(damaged, bytes.left(bytes.size() - 6));
    const QByteArray before = readFileBytes(target);
    const struct {
        QStringList args;
        const char *message;
    } cases[] = {
        {{source}, "mindestens ein Element"},
        {{source, QStringLiteral("--parts"), QStringLiteral("neu")}, "Unbekannter Teil \"neu\""},
        {{QStringLiteral("--parts"), QStringLiteral("new")}, "Aufruf:"},
        {{source, damaged, QStringLiteral("--parts"), QStringLiteral("new")}, "lexora-cli: "},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message);
        const test::CliRun run = runCli(QStringList{QStringLiteral("import"), target} + c.args);
        EXPECT_NE(run.exitCode, 0);
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.constData();
        EXPECT_FALSE(run.err.contains("importiert.")) << run.err.constData();
    }
    EXPECT_EQ(readFileBytes(target), before);
}

TEST_F(CliExchange, ImportOfRefusedSourcesFailsAndNamesThem)
{
    const QString target = save(QStringLiteral("ziel.lxd"), {"Zeta"});
    const QString source = save(QStringLiteral("quelle.lxd"), {"Alpha"});
    const QString text = path(QStringLiteral("text.lxd"));
    writeFileBytes(text, "keine Datenbank");
    const QByteArray before = readFileBytes(target);

    // Every source refused: nothing is saved.
    test::CliRun run = runCli({QStringLiteral("import"), target, text, QStringLiteral("--parts"),
                               QStringLiteral("new")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("Es wurde keine Datenbank importiert. Nicht importiert wurden:"))
        << run.err.constData();
    EXPECT_TRUE(run.err.contains(text.toUtf8()));
    EXPECT_EQ(readFileBytes(target), before);

    // One of two refused: the other is imported and saved, and the status tells of the failure.
    run = runCli({QStringLiteral("import"), target, source, text, QStringLiteral("--parts"),
                  QStringLiteral("new")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("Nicht importiert wurden:\r\n" + text.toUtf8())) << run.err.constData();
    EXPECT_EQ(topLevel(target), "Alpha,Zeta");
}
