#include "database/default_database.h"
#include "database/file_format.h"
#include "support/database_fixtures.h"
#include "support/open_save_cases.h"
#include "support/run_cli.h"
#include "support/scripted_prompt.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace lexora;
using namespace lexora::test;

namespace {

// The varied sample database saved encrypted, and a password file for it.
class CliDatabase : public ::testing::Test {
protected:
    void SetUp() override
    {
        db.IncludedFilesFolder = dir.filePath(QStringLiteral("files/"));
        QDir().mkpath(db.IncludedFilesFolder);
        buildVariedDatabase(db);
        db.Encrypted = true;
        db.Password = "Geh\xE4im";
        file = dir.filePath(QStringLiteral("probe.lxd"));
        NoProgress progress;
        SaveDatabase(db, file, false, progress);
        passwordFile = dir.filePath(QStringLiteral("pw.txt"));
        writeFileBytes(passwordFile, "Geh\xC3\xA4im\r\nzweite Zeile\n"); // UTF-8, first line only
    }

    QTemporaryDir dir;
    Database db;
    QString file;
    QString passwordFile;
};

} // namespace

TEST_F(CliDatabase, NewWritesTheBuiltInBytes)
{
    const QString out = dir.filePath(QStringLiteral("neu.lxd"));
    const CliRun run = runCli({QStringLiteral("new"), out});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(readFileBytes(out), DefaultDatabaseBytes());
}

TEST_F(CliDatabase, DumpShowsTheWholeDatabase)
{
    const CliRun run = runCli({QStringLiteral("dump"), file, QStringLiteral("--password-file"), passwordFile});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.out, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError);
    // Written as it goes, yet byte for byte what QJsonDocument writes of the same content.
    EXPECT_EQ(document.toJson(QJsonDocument::Indented), run.out);
    const QJsonObject dump = document.object();

    EXPECT_TRUE(dump[QStringLiteral("encrypted")].toBool());
    const QJsonArray html = dump[QStringLiteral("htmlTemplates")].toArray();
    ASSERT_EQ(html.size(), 3);
    EXPECT_EQ(html[0][QStringLiteral("description")].toString(), QStringLiteral("HTML-Vorlage mit Überschrift"));
    EXPECT_EQ(dump[QStringLiteral("defaultHtmlTemplate")].toInt(), 0);
    EXPECT_EQ(dump[QStringLiteral("cssTemplates")][0][QStringLiteral("name")].toString(), QStringLiteral("CSS €"));
    EXPECT_EQ(dump[QStringLiteral("defaultCssTemplate")].toInt(), 0);

    const QJsonArray tree = dump[QStringLiteral("tree")].toArray();
    ASSERT_EQ(tree.size(), 4);
    const QJsonObject key = tree[0].toObject();
    EXPECT_EQ(key[QStringLiteral("name")].toString(), QStringLiteral("Schlüssel"));
    EXPECT_TRUE(key[QStringLiteral("item")].isNull());
    const QJsonObject item = key[QStringLiteral("children")][0][QStringLiteral("item")].toObject();
    EXPECT_EQ(item[QStringLiteral("code")].toString(), QString(255, QLatin1Char('a')));
    EXPECT_EQ(item[QStringLiteral("created")].toDouble(), 45000.0);
    EXPECT_EQ(item[QStringLiteral("modified")].toDouble(), 45123.75);
    EXPECT_EQ(item[QStringLiteral("createdBy")].toString(), QStringLiteral("Müller"));
    EXPECT_EQ(item[QStringLiteral("modifiedBy")].toString(), QString());
    EXPECT_EQ(item[QStringLiteral("htmlTemplate")].toInt(), 1);
    EXPECT_EQ(item[QStringLiteral("cssTemplate")].toInt(), 0);
    EXPECT_TRUE(item[QStringLiteral("autoFormat")].toBool());
    const QJsonObject deep = key[QStringLiteral("children")][2][QStringLiteral("children")][0].toObject();
    EXPECT_EQ(deep[QStringLiteral("item")][QStringLiteral("code")].toString(),
              QString::fromUtf16(u"\u0081\u008D\u008F\u0090\u009D\u0000x\u00FF", 8));

    // The file holds the tray as 4, 1, 7; the open database keeps it in tree order.
    EXPECT_EQ(dump[QStringLiteral("tray")].toArray(), (QJsonArray{1, 4, 7}));
    const QJsonArray files = dump[QStringLiteral("includedFiles")].toArray();
    ASSERT_EQ(files.size(), 3);
    EXPECT_EQ(files[2][QStringLiteral("name")].toString(), QString::fromUtf16(u"B\u00E4r \u0081.bin"));
    EXPECT_EQ(files[2][QStringLiteral("size")].toInt(), 17);
    EXPECT_EQ(files[2][QStringLiteral("sha256")].toString(),
              QString::fromLatin1(QCryptographicHash::hash(QByteArray(17, '\xA5'), QCryptographicHash::Sha256).toHex()));
}

TEST_F(CliDatabase, ResaveKeepsEncryptionAndPassword)
{
    const QString out = dir.filePath(QStringLiteral("wieder.lxd"));
    const CliRun run = runCli({QStringLiteral("resave"), file, out, QStringLiteral("--password-file"), passwordFile});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    // Both load with the same password to the same content.
    std::string contents[2];
    for (int i = 0; i < 2; ++i) {
        Database loaded;
        loaded.IncludedFilesFolder = dir.filePath(QStringLiteral("load%1/").arg(i));
        QDir().mkpath(loaded.IncludedFilesFolder);
        ScriptedPrompt prompt;
        prompt.givePassword("Geh\xE4im");
        NoProgress progress;
        ASSERT_EQ(LoadDatabase(loaded, i == 0 ? file : out, lpAll, prompt, progress), LoadResult::Read);
        contents[i] = describeDatabase(loaded);
    }
    // The same content, with the tray that the file holds as 4, 1, 7 saved in tree order.
    const std::string unsortedTray = "\ntray 4 1 7\n";
    const std::size_t tray = contents[0].find(unsortedTray);
    ASSERT_NE(tray, std::string::npos);
    EXPECT_EQ(contents[1], std::string(contents[0]).replace(tray, unsortedTray.size(), "\ntray 1 4 7\n"));
    EXPECT_NE(contents[1].find("encrypted"), std::string::npos);
}

TEST_F(CliDatabase, PasswordFilesTheirFirstLineAfterAByteOrderMarkOrWhyNot)
{
    const struct {
        const char *what;
        QByteArray contents;
        int exitCode;
        const char *err;
    } cases[] = {
        {"a byte order mark first", "\xEF\xBB\xBFGeh\xC3\xA4im\n", 0, ""},
        {"empty", "", 1, "ist leer."},
        {"an empty first line", "\r\nGeh\xC3\xA4im\n", 1, "Die erste Zeile der Passwortdatei"},
    };
    const QString passwords = dir.filePath(QStringLiteral("passwort.txt"));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        writeFileBytes(passwords, c.contents);
        const CliRun run = runCli({QStringLiteral("dump"), file, QStringLiteral("--password-file"), passwords});
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        EXPECT_TRUE(QString::fromUtf8(run.err).contains(QString::fromUtf8(c.err))) << run.err.toStdString();
    }
}

TEST_F(CliDatabase, RefusalsAndDamageEndWithAnErrorStatus)
{
    const QString wrong = dir.filePath(QStringLiteral("falsch.txt"));
    writeFileBytes(wrong, "falsch\n");
    const QString damaged = dir.filePath(QStringLiteral("kaputt.lxd"));
    writeFileBytes(damaged, readFileBytes(file).left(100));
    const QString out = dir.filePath(QStringLiteral("aus.lxd"));

    struct Case { const char *what; QStringList args; const char *err; };
    const Case cases[] = {
        {"no terminal for the password", {QStringLiteral("dump"), file}, "--password-file"},
        {"wrong password", {QStringLiteral("dump"), file, QStringLiteral("--password-file"), wrong},
         "Das angegebene Passwort ist nicht korrekt."},
        {"damaged", {QStringLiteral("resave"), damaged, out, QStringLiteral("--password-file"), passwordFile},
         "beschädigt"},
        {"not a database", {QStringLiteral("dump"), passwordFile}, "keine gültige Lexora-Datenbank"},
        {"missing argument", {QStringLiteral("resave"), file}, "Aufruf: lexora-cli resave"},
        {"missing option value", {QStringLiteral("dump"), file, QStringLiteral("--password-file")}, "--password-file"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const CliRun run = runCli(c.args);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(QString::fromUtf8(run.err).contains(QString::fromUtf8(c.err))) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(CliDatabase, NoCopyOfTheIncludedFilesIsLeftBehind)
{
    // The included files of the encrypted database are decrypted while lexora-cli works; after
    // it, also after an error, none is left in its home.
    QTemporaryDir home;
    const QStringList withPassword{QStringLiteral("--password-file"), passwordFile};
    const std::pair<QStringList, int> runs[] = {
        {QStringList{QStringLiteral("dump"), file} + withPassword, 0},
        {QStringList{QStringLiteral("render"), file, QStringLiteral("Schl\u00fcssel\\fehlt")} + withPassword, 1},
    };
    for (const auto &[args, exitCode] : runs) {
        SCOPED_TRACE(args.first().toStdString());
        EXPECT_EQ(runCli(args, home.path()).exitCode, exitCode);
        EXPECT_EQ(QDir(home.filePath(QStringLiteral("Included Files"))).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                  QStringList());
    }
}

TEST_F(CliDatabase, OpenAndSaveCasesOfTheSharedTable)
{
    const QString folder = dir.path() + QLatin1Char('/');
    for (const OpenCase &c : writeOpenCases(folder)) {
        SCOPED_TRACE(c.what);
        QStringList args{QStringLiteral("dump"), c.file};
        if (!c.password.isEmpty()) {
            writeFileBytes(folder + QStringLiteral("case-pw.txt"), c.password);
            args << QStringLiteral("--password-file") << folder + QStringLiteral("case-pw.txt");
        }
        const CliRun run = runCli(args);
        EXPECT_EQ(run.exitCode, c.outcome == OpenCase::Opened ? 0 : 1) << run.err.toStdString();
        EXPECT_TRUE(QString::fromUtf8(run.err).contains(c.messageHas)) << run.err.toStdString();
        if (c.outcome != OpenCase::Opened)
            continue;
        QStringList top;
        for (const QJsonValue &node : QJsonDocument::fromJson(run.out).object()[QStringLiteral("tree")].toArray())
            top.append(node.toObject()[QStringLiteral("name")].toString());
        EXPECT_EQ(top, c.topTitles);
    }
    const QString source = writeOpenCases(folder).front().file;
    for (const SaveCase &c : saveCases(folder)) {
        SCOPED_TRACE(c.what);
        const CliRun run = runCli({QStringLiteral("resave"), source, c.file});
        EXPECT_EQ(run.exitCode, c.saved ? 0 : 1);
        EXPECT_EQ(QFileInfo(c.file).isFile(), c.saved);
        EXPECT_TRUE(QString::fromUtf8(run.err).contains(c.messageHas)) << run.err.toStdString();
    }
}

// resave --encrypt: strong -> compatible -> none -> strong with the password of the password
// file; the verbs read a strong file like any other.
TEST_F(CliDatabase, ResaveWritesTheEncryptionAsked)
{
    db.Encryption = EncryptionMode::Strong;
    // In tree order, as every load through the program keeps the tray, so that all files compare.
    std::sort(db.TrayNodes.begin(), db.TrayNodes.end(),
              [&](const Node *a, const Node *b) { return db.absoluteIndex(a) < db.absoluteIndex(b); });
    const QString strongIn = dir.filePath(QStringLiteral("stark.lxd"));
    NoProgress progress;
    SaveDatabase(db, strongIn, false, progress, {{1, 8}, 64});
    const CliRun dump = runCli({QStringLiteral("dump"), strongIn, QStringLiteral("--password-file"), passwordFile});
    EXPECT_EQ(dump.exitCode, 0) << dump.err.toStdString();

    struct Step { QString in; const char *mode; QByteArray start; };
    const QString files[] = {dir.filePath(QStringLiteral("1.lxd")), dir.filePath(QStringLiteral("2.lxd")),
                             dir.filePath(QStringLiteral("3.lxd"))};
    const QByteArray strongMagic(reinterpret_cast<const char *>(strong::Magic.data()), strong::Magic.size());
    const Step steps[] = {{strongIn, "compatible", QByteArray("\xBD\x94\x94\xF1\x09", 5)},
                          {files[0], "none", QByteArray("\xBD\x94\x94\xF1\x08", 5)},
                          {files[1], "strong", strongMagic}};
    for (int i = 0; i < 3; ++i) {
        const CliRun run = runCli({QStringLiteral("resave"), steps[i].in, files[i], QStringLiteral("--encrypt"),
                                   QString::fromLatin1(steps[i].mode), QStringLiteral("--password-file"), passwordFile});
        ASSERT_EQ(run.exitCode, 0) << steps[i].mode << run.err.toStdString();
        EXPECT_TRUE(readFileBytes(files[i]).startsWith(steps[i].start)) << steps[i].mode;
    }
    // The program's own save takes the calibrated cost, stored in the header.
    const QByteArray header = readFileBytes(files[2]).left(strong::HeaderSize);
    EXPECT_EQ(header.mid(12, 8), QByteArray("\x02\x00\x00\x00\x00\x00\x02\x00", 8));
    std::string contents[2];
    for (int i = 0; i < 2; ++i) {
        Database loaded;
        loaded.IncludedFilesFolder = dir.filePath(QStringLiteral("geladen%1/").arg(i));
        QDir().mkpath(loaded.IncludedFilesFolder);
        ScriptedPrompt prompt;
        prompt.givePassword("Geh\xE4im");
        ASSERT_EQ(LoadDatabase(loaded, i == 0 ? strongIn : files[2], lpAll, prompt, progress), LoadResult::Read);
        contents[i] = describeDatabase(loaded);
    }
    EXPECT_EQ(contents[1], contents[0]);
    EXPECT_NE(contents[1].find("encrypted strong"), std::string::npos);

    const CliRun wrong = runCli({QStringLiteral("resave"), strongIn, files[0], QStringLiteral("--encrypt"),
                                 QStringLiteral("stark"), QStringLiteral("--password-file"), passwordFile});
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_TRUE(wrong.err.contains("strong, compatible und none"));
}
