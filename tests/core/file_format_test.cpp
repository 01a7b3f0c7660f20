#include "database/cipher.h"
#include "database/file_format.h"
#include "database/value_reader.h"
#include "database/value_writer.h"
#include "support/database_fixtures.h"
#include "support/error.h"
#include "support/scripted_prompt.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <signal.h>
#include <sys/resource.h>

using namespace lexora;
using namespace lexora::test;

namespace {

const QByteArray kMagic("\xBD\x94\x94\xF1", 4);

// A temporary folder with one included-files folder per database made in it.
class FileFormat : public ::testing::Test {
protected:
    QString path(const QString &name) const { return dir.filePath(name); }

    std::unique_ptr<Database> newDatabase()
    {
        const QString folder = dir.filePath(QStringLiteral("files%1/").arg(++m_databases));
        QDir().mkpath(folder);
        auto db = std::make_unique<Database>();
        db->IncludedFilesFolder = folder;
        return db;
    }

    std::unique_ptr<Database> variedDatabase(bool encrypted)
    {
        auto db = newDatabase();
        buildVariedDatabase(*db);
        db->Encrypted = encrypted;
        db->Password = encrypted ? "Geh\xE4im 2" : "";
        return db;
    }

    QString save(Database &db, const QString &name)
    {
        NoProgress progress;
        SaveDatabase(db, path(name), false, progress);
        return path(name);
    }

    // Loads with the password given (if any); whether the file was read.
    bool load(Database &db, const QString &file, LoadParts parts, const QByteArray &password = {})
    {
        if (!password.isNull())
            prompt.givePassword(password);
        NoProgress progress;
        return LoadDatabase(db, file, parts, prompt, progress) == LoadResult::Read;
    }

    // A file of the magic followed by what body writes.
    QString handMade(const QString &name, const std::function<void(ValueWriter &)> &body)
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        ValueWriter writer(file);
        writer.writeRaw(kMagic.constData(), kMagic.size());
        body(writer);
        writer.flush();
        return path(name);
    }

    QTemporaryDir dir;
    ScriptedPrompt prompt;

private:
    int m_databases = 0;
};

// The parts of a plain file up to the tree: no encryption, no templates.
void emptyHeader(ValueWriter &w)
{
    w.writeBoolean(false);
    for (int list = 0; list < 2; ++list) {
        w.writeListBegin();
        w.writeListEnd();
        w.writeInteger(-1);
    }
}

} // namespace

class FileFormatRoundTrip : public FileFormat, public ::testing::WithParamInterface<bool> {};

TEST_P(FileFormatRoundTrip, EverythingComesBack)
{
    const bool encrypted = GetParam();
    auto source = variedDatabase(encrypted);
    source->DatabaseModified = true;
    const QString file = save(*source, QStringLiteral("a.lxd"));
    EXPECT_FALSE(source->DatabaseModified);

    auto loaded = newDatabase();
    loaded->DatabaseModified = true;
    ASSERT_TRUE(load(*loaded, file, lpAll, encrypted ? source->Password.exposed() : QByteArray()));
    EXPECT_TRUE(prompt.allAnswersUsed());
    EXPECT_TRUE(prompt.messages().isEmpty());
    EXPECT_FALSE(loaded->DatabaseModified);
    // An item without a template comes back with the default of that list.
    for (Node *node : source->preorder()) {
        if (TTipItem *item = node->item()) {
            item->HTMLTemplate = item->HTMLTemplate ? item->HTMLTemplate : source->DefaultHTMLTemplate;
            item->CSSTemplate = item->CSSTemplate ? item->CSSTemplate : source->DefaultCSSTemplate;
        }
    }
    EXPECT_EQ(describeDatabase(*loaded), describeDatabase(*source));
    // Siblings of equal name stay apart.
    EXPECT_EQ(loaded->topLevel().childCount(), 4);
    EXPECT_EQ(loaded->topLevel().child(2)->item()->Code, "zweiter");

    // Saving what was loaded gives the same bytes.
    EXPECT_EQ(readFileBytes(save(*loaded, QStringLiteral("b.lxd"))),
              readFileBytes(save(*source, QStringLiteral("c.lxd"))));
}

INSTANTIATE_TEST_SUITE_P(PlainAndEncrypted, FileFormatRoundTrip, ::testing::Bool(),
                         [](const auto &testInfo) { return testInfo.param ? "Encrypted" : "Plain"; });

TEST_F(FileFormat, EncryptionChangesStringsTrayAndIncludedBytesOnly)
{
    // One template, one item in the tray, one included file: walk both files value by value.
    QByteArray files[2];
    for (bool encrypted : {false, true}) {
        auto db = newDatabase();
        db->HTMLTemplates.push_back(std::make_unique<TTemplate>(TTemplate{"Vorlage", "<b>%text%</b>", "fett"}));
        db->DefaultHTMLTemplate = db->HTMLTemplates.front().get();
        Node *node = db->topLevel().appendChild("Eintrag");
        node->setItem(std::make_unique<TTipItem>(
            TTipItem{"Code", 45000.5, 45001.0, "ich", "du", db->DefaultHTMLTemplate, nullptr, true}));
        db->TrayNodes = {node};
        writeFileBytes(db->includedFilePath("x.bin"), QByteArray(40, 'z'));
        db->IncludedFiles.push_back(std::make_unique<TInclFile>(TInclFile{"x.bin", 40}));
        db->Encrypted = encrypted;
        db->Password = "pw";
        files[encrypted] = readFileBytes(save(*db, encrypted ? QStringLiteral("e.lxd") : QStringLiteral("p.lxd")));
    }
    EXPECT_TRUE(files[0].contains("Eintrag"));
    EXPECT_FALSE(files[1].contains("Eintrag"));

    TKeyClass cipher;
    cipher.SetPassword("pw");
    QBuffer plainBuffer(&files[0]), encryptedBuffer(&files[1]);
    plainBuffer.open(QIODevice::ReadOnly);
    encryptedBuffer.open(QIODevice::ReadOnly);
    ValueReader plain(plainBuffer, QStringLiteral("p")), enc(encryptedBuffer, QStringLiteral("e"));
    char raw[16];
    plain.readRaw(raw, 4);
    enc.readRaw(raw, 4);
    EXPECT_FALSE(plain.readBoolean());
    EXPECT_TRUE(enc.readBoolean());
    enc.readRaw(raw, 16);
    EXPECT_EQ(cipher.CryptString(enc.readString()), "pw");

    auto sameString = [&] {
        const Text p = plain.readString();
        const Text e = enc.readString();
        EXPECT_NE(e, p);
        EXPECT_EQ(cipher.CryptString(e), p);
    };
    auto samePlain = [&](auto read) { EXPECT_EQ(read(plain), read(enc)); };
    auto integer = [](ValueReader &r) { return r.readInteger(); };
    auto list = [](ValueReader &r) { r.readListBegin(); return 0; };
    auto end = [](ValueReader &r) { return r.endOfList(); };

    samePlain(list);
    sameString(); sameString(); sameString(); // name, description, code
    samePlain(end);
    samePlain(integer); // default position
    samePlain(list); samePlain(end); samePlain(integer);
    samePlain(list);
    sameString(); // node name
    samePlain([](ValueReader &r) { return r.readBoolean(); });
    sameString();
    samePlain([](ValueReader &r) { return r.readDate(); });
    samePlain([](ValueReader &r) { return r.readDate(); });
    sameString(); sameString();
    samePlain(integer); samePlain(integer); // template positions
    samePlain([](ValueReader &r) { return r.readBoolean(); });
    samePlain(list); samePlain(end); samePlain(end);
    samePlain(list);
    samePlain(integer); // section 0
    samePlain(list);
    const qint32 plainIndex = plain.readInteger();
    const qint32 encryptedIndex = enc.readInteger();
    EXPECT_EQ(plainIndex, 0);
    EXPECT_NE(encryptedIndex, 0);
    samePlain(end);
    samePlain(integer); // section 1
    samePlain(list);
    sameString();
    samePlain(integer); // size
    QByteArray plainBytes(40, '\0'), encryptedBytes(40, '\0');
    plain.readRaw(plainBytes.data(), 40);
    enc.readRaw(encryptedBytes.data(), 40);
    EXPECT_EQ(plainBytes, QByteArray(40, 'z'));
    for (int i = 0; i < 40; ++i)
        EXPECT_EQ(encryptedBytes[i], char('z' ^ cipher.key()[std::size_t(i % 16)])) << i;
    samePlain(end); samePlain(end);
    EXPECT_EQ(plain.remaining(), 0);
    EXPECT_EQ(enc.remaining(), 0);
}

TEST_F(FileFormat, WrongMagicIsRefusedWithItsMessage)
{
    for (const QByteArray &bytes : {QByteArray("LXDB\x08\x01\x00", 7), QByteArray(), QByteArray("\xBD\x94\x94", 3)}) {
        SCOPED_TRACE(bytes.toHex().toStdString());
        const QString file = path(QStringLiteral("fremd.lxd"));
        writeFileBytes(file, bytes);
        ScriptedPrompt refusing;
        auto db = newDatabase();
        db->DatabaseModified = true;
        RecordingProgress progress;
        const std::optional<Error> error =
            thrownError([&] { LoadDatabase(*db, file, lpAll, refusing, progress); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), Error::Kind::NotADatabase);
        EXPECT_TRUE(error->refusesFile());
        EXPECT_EQ(error->message(),
                  QStringLiteral("Die Datei \"%1\" ist keine gültige Lexora-Datenbank.").arg(file));
        // The loader tells nobody; whoever called it reports the refusal.
        EXPECT_TRUE(refusing.shown().isEmpty());
        EXPECT_FALSE(db->DatabaseModified);
        EXPECT_EQ(progress.ends, int(progress.captions.size()));
    }
}

TEST_F(FileFormat, RefusedPasswordKeepsTheOpenDatabasesEncryption)
{
    auto source = newDatabase();
    source->Encrypted = true;
    source->Password = "0123456789abcdefXYZ"; // longer than the key
    const QString file = save(*source, QStringLiteral("geheim.lxd"));

    struct Case { const char *what; QByteArray answer; bool refused; };
    const Case cases[] = {
        {"cancelled", "", false},
        {"wrong", "falsch", true},
        // Same first 16 bytes: the verifier passes, the password check does not.
        {"same key", "0123456789abcdefXY", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        auto db = newDatabase();
        db->Encrypted = true;
        db->Password = "alt";
        db->DatabaseModified = true;
        ScriptedPrompt answers;
        answers.givePassword(c.answer);
        NoProgress progress;
        LoadResult result = LoadResult::Read;
        const std::optional<Error> error = thrownError(
            [&] { result = LoadDatabase(*db, file, lpAll, answers, progress); });
        ASSERT_EQ(answers.shown().size(), 1);
        EXPECT_EQ(answers.shown()[0].kind, QStringLiteral("password"));
        EXPECT_EQ(answers.shown()[0].caption, QStringLiteral("Passwort"));
        EXPECT_EQ(answers.shown()[0].text,
                  QStringLiteral("Die Datei \"%1\" ist passwortgeschützt. Geben Sie das Passwort ein.").arg(file));
        if (c.refused) {
            ASSERT_TRUE(error);
            EXPECT_EQ(error->kind(), Error::Kind::WrongPassword);
            EXPECT_EQ(error->message(), QStringLiteral("Das angegebene Passwort ist nicht korrekt."));
        } else {
            EXPECT_FALSE(error);
            EXPECT_EQ(result, LoadResult::PasswordNotGiven);
        }
        EXPECT_TRUE(db->Encrypted);
        EXPECT_EQ(db->Password, "alt");
        EXPECT_FALSE(db->DatabaseModified);
    }
    auto db = newDatabase();
    EXPECT_TRUE(load(*db, file, lpAll, "0123456789abcdefXYZ"));
    EXPECT_TRUE(db->Encrypted);
    EXPECT_EQ(db->Password, "0123456789abcdefXYZ");
}

TEST_F(FileFormat, ImportTakesTheEncryptionOfTheFileRead)
{
    auto encrypted = newDatabase();
    encrypted->Encrypted = true;
    encrypted->Password = "neu";
    const QString encryptedFile = save(*encrypted, QStringLiteral("e.lxd"));
    auto plain = newDatabase();
    const QString plainFile = save(*plain, QStringLiteral("p.lxd"));

    auto db = newDatabase();
    db->Password = "";
    ASSERT_TRUE(load(*db, encryptedFile, lpNewEntries, "neu"));
    EXPECT_TRUE(db->Encrypted);
    EXPECT_EQ(db->Password, "neu");
    ASSERT_TRUE(load(*db, plainFile, lpNewEntries));
    EXPECT_FALSE(db->Encrypted);
}

namespace {

// The open database of the merge tests and the file merged into it.
struct MergeCase {
    std::unique_ptr<Database> target;
    QString sourceFile;
    TTemplate *a = nullptr, *b = nullptr, *c = nullptr;
    Node *k = nullptr, *i = nullptr;
};

} // namespace

class FileFormatMerge : public FileFormat {
protected:
    // Target: HTML "A" (default), "B"; CSS "C" (default); K/I (item "alt"), "Nur hier"; tray I;
    // included "x.txt" = "alt".
    // File: HTML "A" (code "neu"), "N" (default 1); CSS "C" (code "neu"); K/I (item "neu",
    // HTML 1 = N), K/Neu (HTML 0 = A), Fremd/F (key with an item), K/Schl (a key in the target,
    // an item in the file); tray F; included "x.txt" = "neu!", "y.txt".
    MergeCase make()
    {
        auto source = newDatabase();
        source->HTMLTemplates.push_back(std::make_unique<TTemplate>(TTemplate{"A", "neu", "d"}));
        source->HTMLTemplates.push_back(std::make_unique<TTemplate>(TTemplate{"N", "n", ""}));
        source->CSSTemplates.push_back(std::make_unique<TTemplate>(TTemplate{"C", "neu", ""}));
        source->DefaultHTMLTemplate = source->HTMLTemplates[1].get();
        source->DefaultCSSTemplate = source->CSSTemplates[0].get();
        auto item = [&](Text code, int html) {
            return std::make_unique<TTipItem>(TTipItem{std::move(code), 2, 3, "q", "q",
                                                       source->HTMLTemplates[std::size_t(html)].get(),
                                                       source->CSSTemplates[0].get(), false});
        };
        Node *k = source->topLevel().appendChild("K");
        k->appendChild("I")->setItem(item("neu", 1));
        k->appendChild("Neu")->setItem(item("neues", 0));
        k->appendChild("Schl")->setItem(item("war Schl\xFC" "ssel", 0));
        Node *f = source->topLevel().appendChild("Fremd")->appendChild("F");
        f->setItem(item("fremd", 1));
        source->TrayNodes = {f};
        writeFileBytes(source->includedFilePath("x.txt"), "neu!");
        writeFileBytes(source->includedFilePath("y.txt"), "y");
        source->IncludedFiles.push_back(std::make_unique<TInclFile>(TInclFile{"x.txt", 4}));
        source->IncludedFiles.push_back(std::make_unique<TInclFile>(TInclFile{"y.txt", 1}));

        MergeCase m;
        m.sourceFile = save(*source, QStringLiteral("quelle.lxd"));
        m.target = newDatabase();
        Database &t = *m.target;
        t.HTMLTemplates.push_back(std::make_unique<TTemplate>(TTemplate{"A", "alt", "d"}));
        t.HTMLTemplates.push_back(std::make_unique<TTemplate>(TTemplate{"B", "b", ""}));
        t.CSSTemplates.push_back(std::make_unique<TTemplate>(TTemplate{"C", "alt", ""}));
        m.a = t.HTMLTemplates[0].get();
        m.b = t.HTMLTemplates[1].get();
        m.c = t.CSSTemplates[0].get();
        t.DefaultHTMLTemplate = m.a;
        t.DefaultCSSTemplate = m.c;
        m.k = t.topLevel().appendChild("K");
        m.i = m.k->appendChild("I");
        m.i->setItem(std::make_unique<TTipItem>(TTipItem{"alt", 1, 1, "t", "t", m.b, m.c, true}));
        m.k->appendChild("Schl");
        t.topLevel().appendChild("Nur hier");
        t.TrayNodes = {m.i};
        writeFileBytes(t.includedFilePath("x.txt"), "alt");
        t.IncludedFiles.push_back(std::make_unique<TInclFile>(TInclFile{"x.txt", 3}));
        return m;
    }

    // The tree as "name(code)" in pre-order.
    static QByteArray tree(const Database &db)
    {
        QByteArray out;
        for (const Node *n : db.preorder())
            out += QByteArray(n->level(), '.') + n->name()
                   + (n->item() ? "(" + n->item()->Code + ")" : QByteArray()) + " ";
        return out.trimmed();
    }
};

TEST_F(FileFormatMerge, OnlyNewEntries)
{
    MergeCase m = make();
    ASSERT_TRUE(load(*m.target, m.sourceFile, lpNewEntries));
    Database &t = *m.target;
    EXPECT_EQ(tree(t), "K .I(alt) .Schl .Neu(neues) Nur\x20hier Fremd .F(fremd)");
    // New items get the open database's defaults, as the template lists were not read.
    Node *neu = t.FindChildNode(m.k, "Neu", false);
    EXPECT_EQ(neu->item()->HTMLTemplate, m.a);
    EXPECT_EQ(neu->item()->CSSTemplate, m.c);
    EXPECT_EQ(m.i->item()->HTMLTemplate, m.b);
    EXPECT_EQ(t.HTMLTemplates.size(), 2u);
    EXPECT_EQ(m.a->Code, "alt");
    EXPECT_EQ(t.TrayNodes, std::vector<Node *>{m.i});
    ASSERT_EQ(t.IncludedFiles.size(), 1u);
    EXPECT_EQ(readFileBytes(t.includedFilePath("x.txt")), "alt");
    EXPECT_FALSE(QFile::exists(t.includedFilePath("y.txt")));
}

TEST_F(FileFormatMerge, OnlyExistingEntries)
{
    MergeCase m = make();
    TTipItem *record = m.i->item();
    ASSERT_TRUE(load(*m.target, m.sourceFile, lpExistingEntries));
    Database &t = *m.target;
    // Nothing is added; a key of the target stays a key even when the file has an item there.
    EXPECT_EQ(tree(t), "K .I(neu) .Schl Nur\x20hier");
    EXPECT_EQ(m.i->item(), record); // overwritten in place
    EXPECT_EQ(record->Created, 2);
    EXPECT_FALSE(record->AutoFormat);
    EXPECT_EQ(record->HTMLTemplate, m.a); // HTML list not read: the open default
}

TEST_F(FileFormatMerge, TemplatesAreMergedByName)
{
    MergeCase m = make();
    ASSERT_TRUE(load(*m.target, m.sourceFile, lpHTMLTemplates | lpCSSTemplates | lpNewEntries | lpExistingEntries));
    Database &t = *m.target;
    ASSERT_EQ(t.HTMLTemplates.size(), 3u);
    EXPECT_EQ(t.HTMLTemplates[0].get(), m.a); // reused record, overwritten
    EXPECT_EQ(m.a->Code, "neu");
    EXPECT_EQ(t.HTMLTemplates[1].get(), m.b);
    EXPECT_EQ(t.HTMLTemplates[2]->Name, "N");
    EXPECT_EQ(m.c->Code, "neu");
    // Item positions refer to the file's list.
    EXPECT_EQ(m.i->item()->HTMLTemplate, t.HTMLTemplates[2].get());
    EXPECT_EQ(t.FindChildNode(m.k, "Neu", false)->item()->HTMLTemplate, m.a);
    // Defaults and tray are not taken in an import.
    EXPECT_EQ(t.DefaultHTMLTemplate, m.a);
    EXPECT_EQ(t.TrayNodes, std::vector<Node *>{m.i});
}

TEST_F(FileFormatMerge, IncludedFilesReplaceThoseOfTheSameName)
{
    MergeCase m = make();
    ASSERT_TRUE(load(*m.target, m.sourceFile, lpIncludedFiles));
    Database &t = *m.target;
    ASSERT_EQ(t.IncludedFiles.size(), 2u);
    EXPECT_EQ(t.IncludedFiles[0]->Name, "x.txt");
    EXPECT_EQ(t.IncludedFiles[0]->Size, 4);
    EXPECT_EQ(readFileBytes(t.includedFilePath("x.txt")), "neu!");
    EXPECT_EQ(t.IncludedFiles[1]->Name, "y.txt");
    EXPECT_EQ(tree(t), "K .I(alt) .Schl Nur\x20hier");
}

TEST_F(FileFormatMerge, NothingSelectedReadsPastEverything)
{
    MergeCase m = make();
    const std::string before = describeDatabase(*m.target);
    ASSERT_TRUE(load(*m.target, m.sourceFile, 0));
    EXPECT_EQ(describeDatabase(*m.target), before);
}

TEST_F(FileFormatMerge, FullLoadTakesDefaultsAndTray)
{
    MergeCase m = make();
    m.target->ClearDatabase();
    ASSERT_TRUE(load(*m.target, m.sourceFile, lpAll));
    Database &t = *m.target;
    EXPECT_EQ(t.DefaultHTMLTemplate->Name, "N");
    ASSERT_EQ(t.TrayNodes.size(), 1u);
    EXPECT_EQ(t.TrayNodes[0]->name(), "F");
}

TEST_F(FileFormat, OlderSectionLayoutHoldsOnlyIncludedFiles)
{
    for (bool encrypted : {false, true}) {
        SCOPED_TRACE(encrypted);
        TKeyClass cipher;
        if (encrypted)
            cipher.SetPassword("alt");
        const QString file = handMade(QStringLiteral("alt.lxd"), [&](ValueWriter &w) {
            w.writeBoolean(encrypted);
            if (encrypted) {
                const auto verifier = cipher.Verifier();
                w.writeRaw(verifier.data(), 16);
                w.writeString(cipher.CryptString("alt"));
            }
            for (int list = 0; list < 2; ++list) {
                w.writeListBegin();
                w.writeListEnd();
                w.writeInteger(-1);
            }
            w.writeListBegin();
            w.writeString(cipher.CryptString("K"));
            w.writeBoolean(false);
            w.writeListBegin();
            w.writeListEnd();
            w.writeListEnd();
            // The section list is directly the included-files list.
            w.writeListBegin();
            for (const char *name : {"eins.txt", "zwei.txt"}) {
                w.writeString(cipher.CryptString(name));
                w.writeInteger(3);
                QByteArray bytes("abc");
                cipher.CryptBuffer(bytes.data(), 3, 0);
                w.writeRaw(bytes.constData(), 3);
            }
            w.writeListEnd();
        });
        auto db = newDatabase();
        ASSERT_TRUE(load(*db, file, lpAll, encrypted ? QByteArray("alt") : QByteArray()));
        ASSERT_EQ(db->IncludedFiles.size(), 2u);
        EXPECT_EQ(db->IncludedFiles[1]->Name, "zwei.txt");
        EXPECT_EQ(readFileBytes(db->includedFilePath("zwei.txt")), "abc");
        EXPECT_TRUE(db->TrayNodes.empty());
        EXPECT_EQ(db->topLevel().childCount(), 1);
    }
}

TEST_F(FileFormat, WideStringsIntegerDatesAndUnknownSections)
{
    const QString file = handMade(QStringLiteral("w.lxd"), [](ValueWriter &w) {
        w.writeBoolean(false);
        w.writeListBegin();
        const char wide[] = {char(vaWString), 2, 0, 0, 0, char(0xC4), 0, char(0xAC), 0x20};
        w.writeRaw(wide, sizeof wide); // name "Ä€"
        w.writeString("");
        w.writeString("%text%");
        w.writeListEnd();
        w.writeInteger(0);
        w.writeListBegin();
        w.writeListEnd();
        w.writeInteger(-1);
        w.writeListBegin();
        w.writeString("I");
        w.writeBoolean(true);
        w.writeString("c");
        w.writeInteger(45000); // integer dates
        w.writeInteger(7);
        w.writeString("");
        w.writeString("");
        w.writeInteger(0);
        w.writeInteger(-1);
        w.writeBoolean(true);
        w.writeListBegin();
        w.writeListEnd();
        w.writeListEnd();
        w.writeListBegin();
        w.writeInteger(7); // a section this program does not know
        w.writeListBegin();
        w.writeString("?");
        w.writeListEnd();
        w.writeInteger(0);
        w.writeListBegin();
        w.writeInteger(0);
        w.writeListEnd();
        w.writeListEnd();
    });
    auto db = newDatabase();
    ASSERT_TRUE(load(*db, file, lpAll));
    ASSERT_EQ(db->HTMLTemplates.size(), 1u);
    EXPECT_EQ(db->HTMLTemplates[0]->Name, "\xC4\x80");
    const TTipItem *item = db->topLevel().child(0)->item();
    EXPECT_EQ(item->Created, 45000.0);
    EXPECT_EQ(item->Modified, 7.0);
    EXPECT_EQ(item->HTMLTemplate, db->HTMLTemplates[0].get());
    EXPECT_EQ(item->CSSTemplate, nullptr);
    EXPECT_EQ(db->TrayNodes.size(), 1u);
}

TEST_F(FileFormat, EmptyDatabaseWithEmptySectionListLoads)
{
    const QString file = handMade(QStringLiteral("leer.lxd"), [](ValueWriter &w) {
        emptyHeader(w);
        w.writeListBegin();
        w.writeListEnd();
        w.writeListBegin();
        w.writeListEnd();
    });
    auto db = newDatabase();
    ASSERT_TRUE(load(*db, file, lpAll));
    EXPECT_EQ(db->topLevel().childCount(), 0);
    EXPECT_TRUE(db->IncludedFiles.empty());
    EXPECT_TRUE(db->TrayNodes.empty());
}

TEST_F(FileFormat, UntrustedContentFailsWithAClearError)
{
    // Each writes what follows an empty header; every one is damaged in one way.
    struct Case { const char *what; std::function<void(ValueWriter &)> rest; const char *detail; };
    auto nested = [](int depth) {
        return [depth](ValueWriter &w) {
            for (int d = 0; d < depth; ++d) {
                w.writeListBegin();
                w.writeString("k");
                w.writeBoolean(false);
            }
            w.writeListBegin();
            for (int d = 0; d <= depth; ++d)
                w.writeListEnd();
            w.writeListBegin();
            w.writeListEnd();
        };
    };
    auto oneFile = [](const Text &name, qint32 size, qint32 bytes) {
        return [=](ValueWriter &w) {
            w.writeListBegin();
            w.writeListEnd();
            w.writeListBegin();
            w.writeInteger(1);
            w.writeListBegin();
            w.writeString(name);
            w.writeInteger(size);
            w.writeRaw(QByteArray(bytes, 'x').constData(), bytes);
            w.writeListEnd();
            w.writeListEnd();
        };
    };
    const Case cases[] = {
        {"too deep", nested(1001), "tiefer als 1000"},
        {"huge length", [](ValueWriter &w) { w.writeListBegin(); w.writeRaw("\x0C\xFF\xFF\xFF\x7F", 5); }, "ungültige Länge"},
        {"unknown tag", [](ValueWriter &w) { w.writeRaw("\x07", 1); }, "unbekannter Werttyp 0x07"},
        {"negative size", oneFile("a", -5, 0), "ungültige Größe -5"},
        {"size beyond the end", oneFile("a", 1000, 10), "ungültige Größe 1000"},
        {"name with slash", oneFile("../a", 1, 1), "unzulässig"},
        {"name with backslash", oneFile("..\\a", 1, 1), "unzulässig"},
        {"name dot dot", oneFile("..", 1, 1), "unzulässig"},
        {"name dot", oneFile(".", 1, 1), "unzulässig"},
        {"empty name", oneFile("", 1, 1), "unzulässig"},
        {"name with NUL", oneFile(QByteArray("a\0b", 3), 1, 1), "unzulässig"},
        {"tray index", [](ValueWriter &w) {
             w.writeListBegin(); w.writeListEnd();
             w.writeListBegin(); w.writeInteger(0); w.writeListBegin(); w.writeInteger(0);
         }, "Ablagemappe"},
        {"template position", [](ValueWriter &w) {
             w.writeListBegin(); w.writeString("I"); w.writeBoolean(true); w.writeString("");
             w.writeDate(1); w.writeDate(1); w.writeString(""); w.writeString("");
             w.writeInteger(3); w.writeInteger(-1); w.writeBoolean(true);
         }, "Vorlage an Position 3"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString file = handMade(QStringLiteral("kaputt.lxd"), [&](ValueWriter &w) {
            emptyHeader(w);
            c.rest(w);
        });
        auto db = newDatabase();
        try {
            load(*db, file, lpAll);
            ADD_FAILURE() << "loaded";
        } catch (const Error &e) {
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.detail))) << e.what();
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("Die Datei \"%1\"").arg(file))) << e.what();
        }
        EXPECT_TRUE(db->IncludedFiles.empty());
        // Nothing was written beside or above the included-files folder.
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("kaputt.lxd")});
        EXPECT_TRUE(QDir(db->IncludedFilesFolder).isEmpty());
    }
}

TEST_F(FileFormat, UnsafeNamesAreReadPastWhenIncludedFilesAreNotTaken)
{
    const QString file = handMade(QStringLiteral("n.lxd"), [](ValueWriter &w) {
        emptyHeader(w);
        w.writeListBegin();
        w.writeListEnd();
        w.writeListBegin();
        w.writeInteger(1);
        w.writeListBegin();
        w.writeString("../../etc/passwd");
        w.writeInteger(2);
        w.writeRaw("ab", 2);
        w.writeListEnd();
        w.writeListEnd();
    });
    auto db = newDatabase();
    EXPECT_TRUE(load(*db, file, lpAll & ~lpIncludedFiles));
}

TEST_F(FileFormat, TreesUpToTheDepthLimitRoundTripAndDeeperOnesAreNotSaved)
{
    auto db = newDatabase();
    Node *node = &db->topLevel();
    for (int d = 0; d < 1000; ++d)
        node = node->appendChild("t");
    const QString file = save(*db, QStringLiteral("tief.lxd"));
    auto loaded = newDatabase();
    ASSERT_TRUE(load(*loaded, file, lpAll));
    EXPECT_EQ(loaded->preorder().size(), 1000u);

    const QByteArray before = readFileBytes(file);
    node->appendChild("zu tief");
    NoProgress progress;
    EXPECT_THROW(SaveDatabase(*db, file, false, progress), Error);
    EXPECT_EQ(readFileBytes(file), before);
}

class FileFormatTruncated : public FileFormat, public ::testing::WithParamInterface<bool> {};

// Answers every password request with the same password.
class FixedPassword : public UserPrompt {
public:
    explicit FixedPassword(QByteArray password) : m_password(std::move(password)) {}
    void message(Icon, const QString &, const QString &) override { ++messages; }
    Answer question(const QString &, const QString &, Buttons, Icon) override { return Answer::Cancel; }
    QByteArray password(const QString &, const QString &) override { return m_password; }
    int messages = 0;

private:
    QByteArray m_password;
};

TEST_P(FileFormatTruncated, EveryPrefixFailsCleanly)
{
    auto source = variedDatabase(GetParam());
    const QString file = save(*source, QStringLiteral("voll.lxd"));
    const QByteArray bytes = readFileBytes(file);
    const QString cut = path(QStringLiteral("kurz.lxd"));
    FixedPassword answers(source->Password.exposed());
    auto db = newDatabase();
    for (qsizetype size = 0; size < bytes.size(); ++size) {
        writeFileBytes(cut, bytes.left(size));
        db->ClearDatabase();
        RecordingProgress progress;
        const std::optional<Error> error =
            thrownError([&] { LoadDatabase(*db, cut, lpAll, answers, progress); });
        ASSERT_TRUE(error) << size;
        if (size < 4) {
            EXPECT_EQ(error->kind(), Error::Kind::NotADatabase) << size;
        } else {
            EXPECT_EQ(error->kind(), Error::Kind::Corrupt) << size;
            EXPECT_TRUE(error->message().contains(QStringLiteral("beschädigt"))) << size << ": " << error->what();
        }
        EXPECT_EQ(answers.messages, 0);
        EXPECT_EQ(progress.ends, int(progress.captions.size())) << size;
    }
    db->ClearDatabase();
    EXPECT_EQ(LoadDatabase(*db, file, lpAll, answers, *std::make_unique<NoProgress>()), LoadResult::Read);
}

INSTANTIATE_TEST_SUITE_P(PlainAndEncrypted, FileFormatTruncated, ::testing::Bool(),
                         [](const auto &testInfo) { return testInfo.param ? "Encrypted" : "Plain"; });

TEST_F(FileFormat, ProgressReportsBytesWithTheCaptions)
{
    auto db = newDatabase();
    writeFileBytes(db->includedFilePath("gross.bin"), QByteArray(3 << 20, 'g'));
    db->IncludedFiles.push_back(std::make_unique<TInclFile>(TInclFile{"gross.bin", 3 << 20}));
    RecordingProgress saving;
    SaveDatabase(*db, path(QStringLiteral("p.lxd")), false, saving);
    EXPECT_EQ(saving.captions, QStringList{QStringLiteral("Daten speichern")});
    EXPECT_EQ(saving.texts, QStringList{QStringLiteral("Daten werden gespeichert...")});
    EXPECT_EQ(saving.ends, 1);
    ASSERT_FALSE(saving.steps.isEmpty());
    EXPECT_GE(saving.totals[0], 3 << 20);
    EXPECT_LE(saving.steps.back(), saving.totals[0]);

    auto loaded = newDatabase();
    RecordingProgress loading;
    ASSERT_EQ(LoadDatabase(*loaded, path(QStringLiteral("p.lxd")), lpAll, prompt, loading), LoadResult::Read);
    EXPECT_EQ(loading.captions, QStringList{QStringLiteral("Daten laden")});
    EXPECT_EQ(loading.texts, QStringList{QStringLiteral("Daten werden geladen...")});
    EXPECT_EQ(loading.totals, QList<qint64>{QFileInfo(path(QStringLiteral("p.lxd"))).size()});
    EXPECT_EQ(loading.ends, 1);
    ASSERT_GE(loading.steps.size(), 3);
    EXPECT_TRUE(std::is_sorted(loading.steps.begin(), loading.steps.end()));
    EXPECT_LE(loading.steps.back(), loading.totals[0]);
}

class FileFormatFailedSave : public FileFormat {
protected:
    void SetUp() override
    {
        db = variedDatabase(true);
        target = save(*db, QStringLiteral("gut.lxd"));
        good = readFileBytes(target);
        db->topLevel().appendChild("neu");
        db->DatabaseModified = true;
    }

    // The old file is still there, byte for byte, loads, and no temporary file is left over.
    void expectOldFileKept()
    {
        EXPECT_EQ(readFileBytes(target), good);
        EXPECT_TRUE(db->DatabaseModified);
        auto check = newDatabase();
        EXPECT_TRUE(load(*check, target, lpAll, db->Password.exposed()));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("gut.lxd")});
    }

    std::unique_ptr<Database> db;
    QString target;
    QByteArray good;
};

TEST_F(FileFormatFailedSave, IncludedFileGoneKeepsTheOldFile)
{
    QFile::remove(db->includedFilePath(db->IncludedFiles[0]->Name));
    NoProgress progress;
    EXPECT_THROW(SaveDatabase(*db, target, false, progress), Error);
    expectOldFileKept();
}

TEST_F(FileFormatFailedSave, FileSystemFullAfterSomeBytesKeepsTheOldFile)
{
    // A file size limit makes every write beyond it fail, as a full file system does.
    struct sigaction ignore {}, previous {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &previous);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    for (rlim_t limit : {rlim_t(0), rlim_t(100), rlim_t(good.size() / 2), rlim_t(good.size() - 1)}) {
        SCOPED_TRACE(limit);
        rlimit small = saved;
        small.rlim_cur = limit;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        NoProgress progress;
        bool failed = false;
        try {
            SaveDatabase(*db, target, false, progress);
        } catch (const Error &) {
            failed = true;
        }
        setrlimit(RLIMIT_FSIZE, &saved);
        EXPECT_TRUE(failed);
        expectOldFileKept();
    }
    sigaction(SIGXFSZ, &previous, nullptr);
}

TEST_F(FileFormatFailedSave, EncryptionWithoutPasswordIsRefusedBeforeWriting)
{
    db->Password.clear();
    NoProgress progress;
    EXPECT_THROW(SaveDatabase(*db, target, false, progress), Error);
    db->Password = "Geh\xE4im 2";
    expectOldFileKept();
}

TEST_F(FileFormat, SaveIntoAMissingFolderFails)
{
    auto db = newDatabase();
    NoProgress progress;
    EXPECT_THROW(SaveDatabase(*db, path(QStringLiteral("fehlt/x.lxd")), false, progress), Error);
}

TEST_F(FileFormat, NamesUpToTheFileSystemsLimitSaveAgainAndAgain)
{
    auto db = variedDatabase(false);
    for (int length : {249, 255}) {
        SCOPED_TRACE(length);
        const QString name = QString(length - 4, QLatin1Char('d')) + QStringLiteral(".lxd");
        for (int save = 0; save < 3; ++save) {
            db->topLevel().appendChild("Runde " + Text::number(save));
            EXPECT_NO_THROW(this->save(*db, name));
            auto check = newDatabase();
            ASSERT_TRUE(load(*check, path(name), lpAll));
            EXPECT_EQ(check->topLevel().child(check->topLevel().childCount() - 1)->name(), "Runde " + Text::number(save));
        }
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{name});
        QFile::remove(path(name));
    }
}

TEST_F(FileFormat, SaveAsTemplateKeepsTheModifiedFlag)
{
    auto db = newDatabase();
    db->DatabaseModified = true;
    NoProgress progress;
    SaveDatabase(*db, path(QStringLiteral("v.lxd")), true, progress);
    EXPECT_TRUE(db->DatabaseModified);
}
