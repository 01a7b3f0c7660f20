#include "database/file_format.h"
#include "database/strong_container.h"
#include "exchange/import.h"
#include "support/database_fixtures.h"
#include "support/error.h"
#include "support/scripted_prompt.h"

#include <QBuffer>
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

using namespace lexora;
using namespace lexora::test;

namespace {

const QString kWrongPassword = QStringLiteral("Das angegebene Passwort ist nicht korrekt.");
const QByteArray kPassword = "Geh\xE4im lang und stark";
// The cheapest key derivation, so that a test pays microseconds for it, and chunks so small that
// a small database spans several.
const StrongParams kSmall{{1, 8}, 64};

QString damagedMessage(const QString &file)
{
    return QStringLiteral("Die Datei \"%1\" ist beschädigt oder wurde verändert. Es wird nichts "
                          "aus ihr geladen.")
        .arg(file);
}

class StrongEncryption : public ::testing::Test {
protected:
    std::unique_ptr<Database> newDatabase()
    {
        const QString folder = dir.filePath(QStringLiteral("files%1/").arg(++m_databases));
        QDir().mkpath(folder);
        auto db = std::make_unique<Database>();
        db->IncludedFilesFolder = folder;
        return db;
    }

    std::unique_ptr<Database> variedDatabase()
    {
        auto db = newDatabase();
        buildVariedDatabase(*db);
        return db;
    }

    static void setEncryption(Database &db, bool on, EncryptionMode mode)
    {
        db.Encrypted = on;
        db.Encryption = mode;
        db.Password = on ? kPassword : QByteArray();
    }

    QString save(Database &db, const QString &name, const StrongParams &params = kSmall)
    {
        NoProgress progress;
        SaveDatabase(db, dir.filePath(name), false, progress, params);
        return dir.filePath(name);
    }

    // Loads with a prompt that answers with password when asked; whether the file was read.
    bool load(Database &db, const QString &file, const QByteArray &password = kPassword,
              LoadParts parts = lpAll)
    {
        prompt = ScriptedPrompt();
        prompt.givePassword(password);
        NoProgress progress;
        return LoadDatabase(db, file, parts, prompt, progress) == LoadResult::Read;
    }

    // Loads as load does; the refusal thrown, of which the loader itself tells nobody.
    std::optional<Error> refusal(Database &db, const QString &file,
                                 const QByteArray &password = kPassword, LoadParts parts = lpAll)
    {
        std::optional<Error> error = thrownError([&] { load(db, file, password, parts); });
        EXPECT_TRUE(prompt.messages().isEmpty());
        return error;
    }

    QString write(const QString &name, const QByteArray &bytes)
    {
        writeFileBytes(dir.filePath(name), bytes);
        return dir.filePath(name);
    }

    QTemporaryDir dir;
    ScriptedPrompt prompt;

private:
    int m_databases = 0;
};

} // namespace

TEST(StrongContainer, RecognisesItsMagicAlsoCutShortOrWithOneByteChanged)
{
    const QByteArray magic(reinterpret_cast<const char *>(strong::Magic.data()), strong::Magic.size());
    QByteArray oneChanged = magic;
    oneChanged[3] = 'x';
    QByteArray twoChanged = oneChanged;
    twoChanged[5] = 'y';
    struct Case { const char *what; QByteArray bytes; bool container; };
    const Case cases[] = {
        {"the magic and more", magic + "rest", true},
        {"the first three bytes", magic.left(3), true},
        {"one byte changed", oneChanged + "rest", true},
        {"two bytes changed", twoChanged + "rest", false},
        {"a plain database", QByteArray("\xBD\x94\x94\xF1\x08", 5), false},
        {"an empty file", QByteArray(), false},
        {"a short foreign file", QByteArray("\x89X"), false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(strong::isContainer(c.bytes), c.container) << c.what;
}

// plain -> strong -> compatible -> plain gives the plain file's bytes again, and every step
// loads with the mode and password it was saved with.
TEST_F(StrongEncryption, RoundTripThroughEveryModeKeepsThePlainBytes)
{
    // A loaded database, since a load gives items without templates the defaults.
    auto source = variedDatabase();
    auto first = newDatabase();
    ASSERT_TRUE(load(*first, save(*source, QStringLiteral("source.lxd"))));
    const QString plain = save(*first, QStringLiteral("plain.lxd"));
    const std::string content = describeDatabase(*first);
    setEncryption(*first, true, EncryptionMode::Strong);
    const QString strongFile = save(*first, QStringLiteral("strong.lxd"));
    const QByteArray strongBytes = readFileBytes(strongFile);
    EXPECT_TRUE(strongBytes.startsWith(QByteArrayView(strong::Magic.data(), strong::Magic.size())));
    // Nothing of the content shows: not a name, not a code.
    EXPECT_FALSE(strongBytes.contains("Schl")) << "key names in the clear";
    EXPECT_FALSE(strongBytes.contains("\xBD\x94\x94\xF1")) << "the plain magic in the clear";

    auto second = newDatabase();
    ASSERT_TRUE(load(*second, strongFile));
    EXPECT_TRUE(prompt.messages().isEmpty());
    EXPECT_TRUE(second->Encrypted);
    EXPECT_EQ(second->Encryption, EncryptionMode::Strong);
    EXPECT_EQ(second->Password, kPassword);
    setEncryption(*second, true, EncryptionMode::Compatible);
    const QString compatible = save(*second, QStringLiteral("compatible.lxd"));
    EXPECT_EQ(readFileBytes(compatible).left(5), QByteArray("\xBD\x94\x94\xF1\x09", 5));

    auto third = newDatabase();
    ASSERT_TRUE(load(*third, compatible));
    EXPECT_EQ(third->Encryption, EncryptionMode::Compatible);
    EXPECT_EQ(third->StrongKeyCache, nullptr);
    setEncryption(*third, false, EncryptionMode::Compatible);
    const QString again = save(*third, QStringLiteral("again.lxd"));
    EXPECT_EQ(readFileBytes(again), readFileBytes(plain));
    EXPECT_EQ(describeDatabase(*third), content);

    second->ClearDatabase();
    EXPECT_TRUE(second->Password.isEmpty());
    EXPECT_EQ(second->StrongKeyCache, nullptr);
    EXPECT_FALSE(second->Encrypted);
}

// Chunk sizes around the content's size: one chunk, exactly full chunks, a last chunk of one
// byte, many chunks, and an included file far larger than a chunk.
TEST_F(StrongEncryption, ContentOfAnySizeAgainstTheChunksComesBack)
{
    auto source = newDatabase();
    ASSERT_TRUE(load(*source, save(*variedDatabase(), QStringLiteral("source.lxd"))));
    const QString plain = save(*source, QStringLiteral("plain.lxd"));
    const qint64 size = readFileBytes(plain).size();
    setEncryption(*source, true, EncryptionMode::Strong);
    for (const qint64 chunk : {qint64(16), qint64(17), size / 2, size - 1, size, size + 1, qint64(65536)}) {
        SCOPED_TRACE(chunk);
        const QString file = save(*source, QStringLiteral("chunks.lxd"), {kSmall.kdf, quint32(chunk)});
        auto loaded = newDatabase();
        ASSERT_TRUE(load(*loaded, file));
        setEncryption(*loaded, false, EncryptionMode::Compatible);
        EXPECT_EQ(readFileBytes(save(*loaded, QStringLiteral("back.lxd"))), readFileBytes(plain));
    }
}

// With the chunk size a save uses, a database of several megabytes passes more chunks than are
// in flight at once, so every chunk buffer is reused on both sides.
TEST_F(StrongEncryption, ADatabaseOfManyChunksOfTheUsualSizeComesBack)
{
    auto built = variedDatabase();
    QByteArray large(6 * int(StrongParams().chunkSize) + 12345, Qt::Uninitialized);
    for (qsizetype i = 0; i < large.size(); ++i)
        large[i] = char((i * 131) ^ (i >> 11));
    addIncludedFile(*built, "gro\xDF.bin", large);
    auto source = newDatabase();
    ASSERT_TRUE(load(*source, save(*built, QStringLiteral("source.lxd"))));
    const QString plain = save(*source, QStringLiteral("plain.lxd"));
    setEncryption(*source, true, EncryptionMode::Strong);
    auto loaded = newDatabase();
    ASSERT_TRUE(load(*loaded, save(*source, QStringLiteral("large.lxd"), {kSmall.kdf})));
    EXPECT_EQ(describeDatabase(*loaded), describeDatabase(*source));
    setEncryption(*loaded, false, EncryptionMode::Compatible);
    EXPECT_EQ(readFileBytes(save(*loaded, QStringLiteral("back.lxd"))), readFileBytes(plain));
}

TEST_F(StrongEncryption, WrongOrNoPasswordLoadsNothing)
{
    auto source = variedDatabase();
    setEncryption(*source, true, EncryptionMode::Strong);
    const QString file = save(*source, QStringLiteral("strong.lxd"));

    for (const QByteArray &answer : {QByteArray("falsch"), QByteArray(), kPassword.left(15)}) {
        SCOPED_TRACE(answer.toStdString());
        auto db = newDatabase();
        db->Encrypted = true;
        db->Password = "vorher";
        if (answer.isEmpty()) {
            EXPECT_FALSE(load(*db, file, answer));
        } else {
            const std::optional<Error> error = refusal(*db, file, answer);
            ASSERT_TRUE(error);
            EXPECT_EQ(error->kind(), Error::Kind::WrongPassword);
            EXPECT_EQ(error->message(), kWrongPassword);
        }
        EXPECT_TRUE(prompt.messages().isEmpty());
        EXPECT_TRUE(db->topLevel().children().empty());
        EXPECT_TRUE(db->HTMLTemplates.empty());
        EXPECT_TRUE(db->IncludedFiles.empty());
        EXPECT_TRUE(QDir(db->IncludedFilesFolder).isEmpty());
        EXPECT_TRUE(db->Encrypted);
        EXPECT_EQ(db->Encryption, EncryptionMode::Compatible);
        EXPECT_EQ(db->Password, "vorher");
    }
}

// Every single changed byte and every cut of a small strong file is refused as damaged, opened
// into an empty database and merged into a full one; neither keeps anything of it.
TEST_F(StrongEncryption, EveryChangedByteAndEveryCutIsRefusedAsDamaged)
{
    auto source = newDatabase();
    source->topLevel().appendChild("Notiz")->setItem(std::make_unique<TTipItem>(
        TTipItem{QByteArray("Kontonummer 1234; ").repeated(10), 45000, 45000, "ich", "ich", nullptr, nullptr, true}));
    addIncludedFile(*source, "a.txt", "geheim");
    setEncryption(*source, true, EncryptionMode::Strong);
    const QByteArray good = readFileBytes(save(*source, QStringLiteral("good.lxd")));
    ASSERT_GT(good.size(), strong::HeaderSize + 3 * (64 + 17)); // four chunks

    auto full = newDatabase();
    full->topLevel().appendChild("Eigenes");
    const std::string fullBefore = describeDatabase(*full);
    const QString file = dir.filePath(QStringLiteral("bad.lxd"));
    auto expectTampered = [&](const std::optional<Error> &error) {
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), Error::Kind::Tampered);
        EXPECT_EQ(error->message().toStdString(), damagedMessage(file).toStdString());
    };
    auto expectRefused = [&](const QByteArray &bytes, const QString &what) {
        SCOPED_TRACE(what.toStdString());
        writeFileBytes(file, bytes);
        auto empty = newDatabase();
        expectTampered(refusal(*empty, file));
        EXPECT_EQ(describeDatabase(*empty), describeDatabase(*newDatabase()));
        EXPECT_TRUE(QDir(empty->IncludedFilesFolder).isEmpty());
        expectTampered(refusal(*full, file, kPassword, lpHTMLTemplates | lpNewEntries | lpIncludedFiles));
        ASSERT_EQ(describeDatabase(*full), fullBefore);
    };
    for (qsizetype at = 0; at < good.size(); ++at) {
        QByteArray changed = good;
        changed[at] = char(changed[at] ^ 0x5A);
        expectRefused(changed, QStringLiteral("byte %1 changed").arg(at));
    }
    for (qsizetype length = 1; length < good.size(); ++length)
        expectRefused(good.left(length), QStringLiteral("cut to %1 bytes").arg(length));
    expectRefused(good + 'x', QStringLiteral("a byte appended"));
}

TEST_F(StrongEncryption, HeaderOfAnotherFileIsRefused)
{
    auto source = variedDatabase();
    setEncryption(*source, true, EncryptionMode::Strong);
    const QByteArray a = readFileBytes(save(*source, QStringLiteral("a.lxd")));
    // Same database, same password, same salt (the key is reused): only the stream differs.
    const QByteArray b = readFileBytes(save(*source, QStringLiteral("b.lxd")));
    ASSERT_EQ(a.left(36), b.left(36));
    ASSERT_NE(a, b);
    const QString spliced = write(QStringLiteral("spliced.lxd"), b.left(strong::HeaderSize) + a.mid(strong::HeaderSize));
    auto db = newDatabase();
    const std::optional<Error> error = refusal(*db, spliced);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), Error::Kind::Tampered);
    EXPECT_EQ(error->message(), damagedMessage(spliced));
    EXPECT_TRUE(db->topLevel().children().empty());
}

// A save reuses the key of the load while password and cost stay, and derives a new one with a
// new salt when either changes.
TEST_F(StrongEncryption, SaveKeepsTheModeAndReusesTheKeyOnlyWhileItFits)
{
    auto source = variedDatabase();
    setEncryption(*source, true, EncryptionMode::Strong);
    const QByteArray first = readFileBytes(save(*source, QStringLiteral("a.lxd")));
    auto loaded = newDatabase();
    ASSERT_TRUE(load(*loaded, dir.filePath(QStringLiteral("a.lxd"))));
    const auto salt = [](const QByteArray &file) { return file.mid(20, strong::SaltSize); };

    const QByteArray resaved = readFileBytes(save(*loaded, QStringLiteral("b.lxd")));
    EXPECT_TRUE(strong::isContainer(resaved));
    EXPECT_EQ(salt(resaved), salt(first));

    loaded->Password = "anders";
    const QByteArray newPassword = readFileBytes(save(*loaded, QStringLiteral("c.lxd")));
    EXPECT_NE(salt(newPassword), salt(first));
    const QByteArray newCost = readFileBytes(save(*loaded, QStringLiteral("d.lxd"), {{2, 8}, 64}));
    EXPECT_NE(salt(newCost), salt(newPassword));
    auto check = newDatabase();
    EXPECT_TRUE(load(*check, dir.filePath(QStringLiteral("d.lxd")), "anders"));
    EXPECT_EQ(describeDatabase(*check), describeDatabase(*loaded));
}

TEST_F(StrongEncryption, ImportReadsStrongSourcesAndKeepsADamagedOneOut)
{
    auto source = variedDatabase();
    setEncryption(*source, true, EncryptionMode::Strong);
    const QString good = save(*source, QStringLiteral("quelle.lxd"));
    QByteArray bytes = readFileBytes(good);
    bytes[bytes.size() - 3] = char(bytes[bytes.size() - 3] ^ 1);
    const QString bad = write(QStringLiteral("kaputt.lxd"), bytes);

    auto db = newDatabase();
    db->topLevel().appendChild("Eigenes");
    prompt = ScriptedPrompt();
    prompt.givePassword(kPassword);
    prompt.givePassword(kPassword);
    NoProgress progress;
    const ImportResult result = ImportDatabases(*db, {bad, good}, lpNewEntries | lpIncludedFiles, {},
                                                prompt, progress);
    EXPECT_FALSE(result.inputError);
    EXPECT_EQ(result.refused, QStringList{bad});
    EXPECT_EQ(prompt.messages().first(), damagedMessage(bad));
    EXPECT_FALSE(db->Encrypted) << "the open database keeps its own encryption";
    EXPECT_EQ(db->topLevel().childCount(), 1 + source->topLevel().childCount());
    EXPECT_EQ(db->IncludedFiles.size(), source->IncludedFiles.size());
}

// The chunks are written on a thread of their own: a file system that fills up in the header,
// in the first chunk, amid the chunks or in the last one still fails the save, and the previous
// file stays as it was.
TEST_F(StrongEncryption, FileSystemFullAnywhereFailsTheSaveAndKeepsTheOldFile)
{
    auto db = variedDatabase();
    setEncryption(*db, true, EncryptionMode::Strong);
    const QString target = save(*db, QStringLiteral("gut.lxd"));
    const QByteArray good = readFileBytes(target);
    db->topLevel().appendChild("neu");

    // A file size limit makes every write beyond it fail, as a full file system does.
    struct sigaction ignore {}, previous {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &previous);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    for (rlim_t limit : {rlim_t(0), rlim_t(strong::HeaderSize), rlim_t(strong::HeaderSize + 100),
                         rlim_t(good.size() / 2), rlim_t(good.size() - 1)}) {
        SCOPED_TRACE(limit);
        rlimit small = saved;
        small.rlim_cur = limit;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        bool failed = false;
        try {
            save(*db, QStringLiteral("gut.lxd"));
        } catch (const Error &error) {
            // The reason the file system gave reaches the message, from whichever thread met it.
            failed = error.message().contains(
                QRegularExpression(QStringLiteral("kann nicht (geschrieben|gespeichert) werden: \\S")));
        }
        setrlimit(RLIMIT_FSIZE, &saved);
        EXPECT_TRUE(failed);
        EXPECT_EQ(readFileBytes(target), good);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("gut.lxd")});
    }
    sigaction(SIGXFSZ, &previous, nullptr);
}
