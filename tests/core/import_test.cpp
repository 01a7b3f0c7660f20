#include "exchange/import.h"

#include "database/file_format.h"
#include "sorting/sort_criteria.h"
#include "support/database_fixtures.h"
#include "support/error.h"
#include "support/scripted_prompt.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lexora;
using lexora::test::readFileBytes;
using lexora::test::ScriptedPrompt;
using lexora::test::writeFileBytes;

namespace {

constexpr LoadParts kAllImportParts =
    lpHTMLTemplates | lpCSSTemplates | lpNewEntries | lpExistingEntries | lpIncludedFiles;

const QString kImported = QStringLiteral("Die Datenbanken wurden importiert.");
const QString kWrongPassword = QStringLiteral("Das angegebene Passwort ist nicht korrekt.");

TTemplate *addTemplate(Database &db, int list, const Text &name, const Text &code)
{
    auto t = std::make_unique<TTemplate>();
    t->Name = name;
    t->Code = code;
    t->Description = "Beschreibung von " + name;
    db.templates(list).push_back(std::move(t));
    return db.templates(list).back().get();
}

Node *addItem(Node &parent, const Text &name, const Text &code, DateTime created = 45000)
{
    Node *node = parent.appendChild(name);
    auto item = std::make_unique<TTipItem>();
    item->Code = code;
    item->Created = created;
    item->Modified = created + 1;
    item->CreatedBy = "autor";
    item->ModifiedBy = "autor";
    node->setItem(std::move(item));
    return node;
}

void addIncluded(Database &db, const Text &name, const QByteArray &bytes)
{
    db.IncludedFiles.push_back(std::make_unique<TInclFile>(TInclFile{name, qint32(bytes.size())}));
    writeFileBytes(db.includedFilePath(name), bytes);
}

// Names of the children of a node, joined by ",".
QByteArray childNames(const Node &node)
{
    QByteArrayList names;
    for (const Node &child : node.children())
        names.append(child.name());
    return names.join(',');
}

QByteArray templateNames(const Database &db, int list)
{
    QByteArrayList names;
    for (const auto &t : db.templates(list))
        names.append(t->Name);
    return names.join(',');
}

class Import : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        db.IncludedFilesFolder = dir.path() + QStringLiteral("/offen/");
        QDir().mkpath(db.IncludedFilesFolder);
        // The open database: key "Rezepte" with item "Kuchen", a top-level item "Zeta".
        Node *rezepte = db.topLevel().appendChild("Rezepte");
        addItem(*rezepte, "Kuchen", "alter Kuchen", 44000);
        addItem(db.topLevel(), "Zeta", "z");
        db.DefaultHTMLTemplate = addTemplate(db, HtmlTemplates, "Standard", "<p>%text%</p>");
        db.DefaultCSSTemplate = addTemplate(db, CssTemplates, "CSS", "p{}");
    }

    // Saves a source database built by fill as name in the temporary folder.
    template <class Fill>
    QString source(const QString &name, Fill fill)
    {
        Database src;
        src.IncludedFilesFolder = dir.path() + QStringLiteral("/quelle-") + name + QLatin1Char('/');
        QDir().mkpath(src.IncludedFilesFolder);
        fill(src);
        const QString path = dir.path() + QLatin1Char('/') + name;
        NoProgress progress;
        SaveDatabase(src, path, false, progress);
        return path;
    }

    // The common source: "Rezepte" with "Kuchen" (new code) and a new "Brot", a new key
    // "Anhang" with an item below, and the template "Quelle".
    QString recipes(const QString &name = QStringLiteral("rezepte.lxd"))
    {
        return source(name, [](Database &src) {
            TTemplate *own = addTemplate(src, HtmlTemplates, "Quelle", "<div>%text%</div>");
            Node *rezepte = src.topLevel().appendChild("Rezepte");
            addItem(*rezepte, "Kuchen", "neuer Kuchen", 46000)->item()->HTMLTemplate = own;
            addItem(*rezepte, "Brot", "Brot", 46000)->item()->HTMLTemplate = own;
            Node *anhang = src.topLevel().appendChild("Anhang");
            addItem(*anhang, "Notiz", "n");
        });
    }

    ImportResult import(const QStringList &files, LoadParts parts)
    {
        NoProgress progress;
        return ImportDatabases(db, files, parts, DefaultSortCriteria(), prompt, progress);
    }

    Node *find(const QByteArrayList &path)
    {
        Node *node = nullptr;
        for (const QByteArray &name : path)
            if (!(node = db.FindChildNode(node, name, false)))
                return nullptr;
        return node;
    }

    QTemporaryDir dir;
    Database db;
    ScriptedPrompt prompt;
};

} // namespace

TEST(ImportFileList, KeepsOnePathSortedWithoutRegardToCase)
{
    ImportFileList list;
    ScriptedPrompt prompt;
    list.AddImportFiles({"/d/b.lxd", "/d/C.lxd", "/d/a.lxd", "/d/B.LXD"}, prompt);
    list.AddImportFiles({"/d/c.lxd", "/d/a.lxd"}, prompt);
    EXPECT_EQ(list.files(), (QStringList{"/d/a.lxd", "/d/b.lxd", "/d/C.lxd"}));
    EXPECT_TRUE(prompt.shown().isEmpty());

    list.remove({0, 2, 2});
    EXPECT_EQ(list.files(), QStringList{"/d/b.lxd"});
}

TEST(ImportFileList, AsksOncePerAddingAboutOtherExtensions)
{
    ImportFileList list;
    ScriptedPrompt prompt;
    prompt.answer(UserPrompt::Answer::No);
    // "/d/ohne" is left out without a new question.
    list.AddImportFiles({"/d/alt.bak", "/d/ohne", "/d/gut.lxd"}, prompt);
    EXPECT_EQ(list.files(), QStringList{"/d/gut.lxd"});
    EXPECT_EQ(list.extensionAnswer(), ImportFileList::ExtensionAnswer::LeaveOut);
    ASSERT_EQ(prompt.shown().size(), 1);
    EXPECT_EQ(prompt.shown()[0].kind, QStringLiteral("question"));
    EXPECT_EQ(prompt.shown()[0].caption, QStringLiteral("Falsche Dateinamenserweiterung"));
    EXPECT_EQ(prompt.shown()[0].text,
              QStringLiteral("Die Dateinamenserweiterung der Datei\r\n\"/d/alt.bak\"\r\n"
                             "entspricht nicht derjenigen von Lexora-Datenbanken. Sollen Dateien "
                             "mit falscher Dateinamenserweiterung dennoch in die Liste aufgenommen "
                             "werden?"));

    // The next adding asks again: a file left out can still be added on purpose.
    prompt.answer(UserPrompt::Answer::Yes);
    list.AddImportFiles({"/d/ohne", "/d/gut.lxd"}, prompt);
    EXPECT_EQ(list.files(), (QStringList{"/d/gut.lxd", "/d/ohne"}));
    EXPECT_EQ(prompt.shown().size(), 2);

    // Opening the window again empties the list and forgets the answer.
    list.clear();
    EXPECT_TRUE(list.files().isEmpty());
    EXPECT_EQ(list.extensionAnswer(), ImportFileList::ExtensionAnswer::NotAsked);
    prompt.answer(UserPrompt::Answer::Yes);
    // A duplicate is not asked about.
    list.AddImportFiles({"/d/alt.bak", "/d/ohne", "/d/alt.bak"}, prompt);
    EXPECT_EQ(list.files(), (QStringList{"/d/alt.bak", "/d/ohne"}));
    EXPECT_EQ(prompt.shown().size(), 3);
    EXPECT_TRUE(prompt.allAnswersUsed());
}

TEST(ImportFileList, TheExtensionIsTheEndOfTheFileNameAfterItsLastDot)
{
    const struct {
        const char *path;
        bool foreign; // asked about, and left out on "Nein"
    } cases[] = {
        {"/some/dir/.lxd", false}, // a name that is nothing but the extension
        {"/d/Notiz.Lxd", false},
        {"/d/x.lxd.bak", true},
        {"/d/lxd", true},
        {"/d.lxd/ohne", true}, // a folder's extension is not the file's
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.path);
        const QString path = QString::fromLatin1(c.path);
        ImportFileList list;
        ScriptedPrompt prompt;
        if (c.foreign)
            prompt.answer(UserPrompt::Answer::No);
        list.AddImportFiles({path}, prompt);
        EXPECT_EQ(prompt.shown().size(), c.foreign ? 1 : 0);
        EXPECT_EQ(list.files(), c.foreign ? QStringList() : QStringList{path});
    }
}

TEST(ImportElements, CheckedRowsGiveTheirLoadParts)
{
    std::array<bool, ImportElements.size()> checked{};
    EXPECT_EQ(importLoadParts(checked), 0);
    checked.fill(true);
    EXPECT_EQ(importLoadParts(checked), kAllImportParts);
    checked.fill(false);
    checked[0] = checked[3] = checked[6] = true; // headers carry no part
    EXPECT_EQ(importLoadParts(checked), 0);
    checked[5] = true;
    EXPECT_EQ(importLoadParts(checked), lpExistingEntries);
}

TEST_F(Import, RefusesAnEmptyListOrNoPartWithoutTouchingTheDatabase)
{
    const QString file = recipes();
    std::optional<ImportInputError> error = import({}, kAllImportParts).inputError;
    ASSERT_TRUE(error);
    EXPECT_EQ(error->control, ImportInputError::FileList);
    EXPECT_EQ(error->message, QStringLiteral("Sie müssen die Datenbanken, die importiert werden "
                                             "sollen, zur Liste hinzufügen."));
    error = import({file}, lpDefaultsAndTray).inputError;
    ASSERT_TRUE(error);
    EXPECT_EQ(error->control, ImportInputError::ElementList);
    EXPECT_EQ(error->message, QStringLiteral("Sie müssen mindestens ein Element angeben, das "
                                             "importiert werden soll."));
    EXPECT_TRUE(prompt.shown().isEmpty());
    EXPECT_EQ(childNames(db.topLevel()), "Rezepte,Zeta");
    EXPECT_FALSE(db.DatabaseModified);
}

TEST_F(Import, OnlyNewEntriesAddsWhatIsMissingAndSortsTheTree)
{
    ASSERT_FALSE(import({recipes()}, lpNewEntries).inputError);
    // Keys first, then titles; existing items keep their data.
    EXPECT_EQ(childNames(db.topLevel()), "Anhang,Rezepte,Zeta");
    EXPECT_EQ(childNames(*find({"Rezepte"})), "Brot,Kuchen");
    EXPECT_EQ(find({"Rezepte", "Kuchen"})->item()->Code, "alter Kuchen");
    const TTipItem *brot = find({"Rezepte", "Brot"})->item();
    ASSERT_TRUE(brot);
    EXPECT_EQ(brot->Code, "Brot");
    // The source's templates were not imported: the new item takes the open default.
    EXPECT_EQ(brot->HTMLTemplate, db.DefaultHTMLTemplate);
    EXPECT_EQ(templateNames(db, HtmlTemplates), "Standard");
    EXPECT_EQ(prompt.messages(), QStringList{kImported});
    EXPECT_EQ(prompt.shown()[0].caption, QStringLiteral("Vorgang abgeschlossen"));
    EXPECT_EQ(prompt.shown()[0].icon, UserPrompt::Icon::Information);
    EXPECT_TRUE(db.DatabaseModified);
}

TEST_F(Import, NewEntriesWithTemplatesReferToTheImportedTemplate)
{
    ASSERT_FALSE(import({recipes()}, lpNewEntries | lpHTMLTemplates).inputError);
    const TTipItem *brot = find({"Rezepte", "Brot"})->item();
    ASSERT_TRUE(brot && brot->HTMLTemplate);
    EXPECT_EQ(brot->HTMLTemplate->Name, "Quelle");
    EXPECT_EQ(templateNames(db, HtmlTemplates), "Quelle,Standard");
    EXPECT_EQ(db.DefaultHTMLTemplate->Name, "Standard");
}

TEST_F(Import, OnlyExistingEntriesOverwritesMatchesAndAddsNothing)
{
    // The open top level is deliberately unsorted: without new entries the tree is not sorted.
    db.topLevel().insertChild(0, db.topLevel().takeChild(1));
    ASSERT_FALSE(import({recipes()}, lpExistingEntries).inputError);
    EXPECT_EQ(childNames(db.topLevel()), "Zeta,Rezepte");
    EXPECT_EQ(childNames(*find({"Rezepte"})), "Kuchen");
    const TTipItem *kuchen = find({"Rezepte", "Kuchen"})->item();
    EXPECT_EQ(kuchen->Code, "neuer Kuchen");
    EXPECT_EQ(kuchen->Created, 46000);
    EXPECT_EQ(kuchen->Modified, 46001);
    EXPECT_EQ(prompt.messages(), QStringList{kImported});
    EXPECT_TRUE(db.DatabaseModified);
}

TEST_F(Import, TemplatesAreReplacedInPlaceThenSortedAndDefaultsStay)
{
    TTemplate *rahmen = addTemplate(db, HtmlTemplates, "Rahmen", "alt");
    addTemplate(db, HtmlTemplates, "alpha", "a");
    find({"Zeta"})->item()->HTMLTemplate = rahmen;
    const QString file = source(QStringLiteral("vorlagen.lxd"), [](Database &src) {
        TTemplate *r = addTemplate(src, HtmlTemplates, "Rahmen", "neu");
        r->Description = "neue Beschreibung";
        src.DefaultHTMLTemplate = addTemplate(src, HtmlTemplates, "Beta", "b");
        addTemplate(src, HtmlTemplates, "rahmen", "klein");
        src.DefaultCSSTemplate = addTemplate(src, CssTemplates, "Druck", "@media print{}");
    });
    ASSERT_FALSE(import({file}, lpHTMLTemplates).inputError);
    EXPECT_EQ(templateNames(db, HtmlTemplates), "alpha,Beta,Rahmen,rahmen,Standard");
    EXPECT_EQ(templateNames(db, CssTemplates), "CSS");
    // The same record, so references to it still hold.
    EXPECT_EQ(db.FindTemplate(HtmlTemplates, "Rahmen"), rahmen);
    EXPECT_EQ(rahmen->Code, "neu");
    EXPECT_EQ(rahmen->Description, "neue Beschreibung");
    EXPECT_EQ(find({"Zeta"})->item()->HTMLTemplate, rahmen);
    EXPECT_EQ(db.DefaultHTMLTemplate->Name, "Standard");
    EXPECT_EQ(db.DefaultCSSTemplate->Name, "CSS");
}

TEST_F(Import, IncludedFilesReplaceTheirNamesakeAndAreSorted)
{
    addIncluded(db, "Z.txt", "zett");
    addIncluded(db, "a.txt", "alt");
    const QString file = source(QStringLiteral("dateien.lxd"), [](Database &src) {
        addIncluded(src, "b.txt", "bee");
        addIncluded(src, "a.txt", "neu und l\xE4nger");
    });
    ASSERT_FALSE(import({file}, lpIncludedFiles).inputError);
    QByteArrayList names;
    for (const auto &f : db.IncludedFiles)
        names.append(f->Name + ":" + QByteArray::number(f->Size));
    EXPECT_EQ(names.join(','), "a.txt:14,b.txt:3,Z.txt:4");
    EXPECT_EQ(readFileBytes(db.includedFilePath("a.txt")), "neu und l\xE4nger");
    EXPECT_EQ(readFileBytes(db.includedFilePath("b.txt")), "bee");
    EXPECT_EQ(childNames(db.topLevel()), "Rezepte,Zeta");
}

TEST_F(Import, WithoutIncludedFilesTheirBytesAreSkipped)
{
    const QString file = source(QStringLiteral("dateien.lxd"), [](Database &src) {
        addIncluded(src, "b.txt", "bee");
        src.topLevel().appendChild("Neu");
    });
    ASSERT_FALSE(import({file}, lpNewEntries).inputError);
    EXPECT_TRUE(db.IncludedFiles.empty());
    EXPECT_FALSE(QFileInfo::exists(db.includedFilePath("b.txt")));
    EXPECT_EQ(childNames(db.topLevel()), "Neu,Rezepte,Zeta");
}

TEST_F(Import, EncryptedFileNeedsItsPasswordAndRefusedFilesAreNamed)
{
    const QString plain = source(QStringLiteral("z-offen.lxd"), [](Database &src) {
        src.topLevel().appendChild("Offen");
    });
    const QString secret = source(QStringLiteral("geheim.lxd"), [](Database &src) {
        src.Encrypted = true;
        src.Password = "geheim";
        src.topLevel().appendChild("Geheim");
    });
    const QString notImported = QStringLiteral("Die Datenbanken wurden importiert. Nicht importiert "
                                               "wurden:\r\n") + secret;
    const QString noneImported = QStringLiteral("Es wurde keine Datenbank importiert. Nicht "
                                                "importiert wurden:\r\n") + secret;
    const struct {
        const char *what;
        QStringList files;
        QByteArray answer;
        const char *tree;
        QStringList messages;
    } cases[] = {
        {"right password", {secret, plain}, "geheim", "Geheim,Offen", {kImported}},
        {"wrong password", {secret, plain}, "falsch", "Offen", {kWrongPassword, notImported}},
        {"no password", {secret, plain}, "", "Offen", {notImported}},
        {"the only file refused", {secret}, "falsch", "", {kWrongPassword, noneImported}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Database open;
        ScriptedPrompt p;
        p.givePassword(c.answer);
        NoProgress progress;
        // The encrypted file comes first; the plain one after it is imported all the same.
        const ImportResult result = ImportDatabases(open, c.files, lpNewEntries,
                                                    DefaultSortCriteria(), p, progress);
        ASSERT_FALSE(result.inputError);
        EXPECT_EQ(result.refused, c.answer == "geheim" ? QStringList() : QStringList{secret});
        EXPECT_EQ(childNames(open.topLevel()), c.tree);
        EXPECT_EQ(p.messages(), c.messages);
        ASSERT_EQ(p.shown()[0].kind, QStringLiteral("password"));
        EXPECT_EQ(p.shown()[0].caption, QStringLiteral("Passwort"));
        // Nothing imported: the database is as unchanged as before.
        EXPECT_EQ(open.DatabaseModified, *c.tree != '\0');
    }
}

TEST_F(Import, WhenEverySourceIsRefusedTheModifiedFlagStaysAsItWas)
{
    const QString bad = dir.path() + QStringLiteral("/kaputt.lxd");
    writeFileBytes(bad, "kein Lexora");
    const QString secret = source(QStringLiteral("geheim.lxd"), [](Database &src) {
        src.Encrypted = true;
        src.Password = "geheim";
        src.topLevel().appendChild("Geheim");
    });
    // Each refusal of the loader clears the flag; the import must put back what it found.
    for (const bool wasModified : {false, true}) {
        SCOPED_TRACE(wasModified ? "modified before" : "unmodified before");
        db.DatabaseModified = wasModified;
        prompt.givePassword(""); // the password question is cancelled
        const ImportResult result = import({bad, secret}, kAllImportParts);
        ASSERT_FALSE(result.inputError);
        EXPECT_EQ(result.refused, (QStringList{bad, secret}));
        EXPECT_EQ(prompt.messages().last(), QStringLiteral("Es wurde keine Datenbank importiert. "
                                                           "Nicht importiert wurden:\r\n")
                                                + bad + QStringLiteral("\r\n") + secret);
        EXPECT_EQ(childNames(db.topLevel()), "Rezepte,Zeta");
        EXPECT_EQ(db.DatabaseModified, wasModified);
    }
}

TEST_F(Import, TheOpenDatabaseKeepsItsEncryptionEitherWay)
{
    const QString plain = source(QStringLiteral("offen.lxd"), [](Database &src) {
        src.topLevel().appendChild("Offen");
    });
    const QString secret = source(QStringLiteral("geheim.lxd"), [](Database &src) {
        src.Encrypted = true;
        src.Password = "geheim";
    });
    const struct {
        const char *what;
        bool encrypted;
        QByteArray password;
        QString file;
    } cases[] = {
        {"a plain database into an encrypted one", true, "vorher", plain},
        {"an encrypted database into a plain one", false, "", secret},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        db.Encrypted = c.encrypted;
        db.Password = c.password;
        if (c.file == secret)
            prompt.givePassword("geheim");
        ASSERT_FALSE(import({c.file}, lpNewEntries).inputError);
        EXPECT_EQ(db.Encrypted, c.encrypted);
        EXPECT_EQ(db.Password, c.password);
        EXPECT_EQ(prompt.messages().last(), kImported);
    }
}

TEST_F(Import, NotADatabaseIsReportedAndTheNextFileFollows)
{
    const QString bad = dir.path() + QStringLiteral("/a-kaputt.lxd");
    writeFileBytes(bad, "kein Lexora");
    ASSERT_FALSE(import({bad, recipes()}, lpNewEntries).inputError);
    ASSERT_EQ(prompt.shown().size(), 2);
    EXPECT_EQ(prompt.shown()[0].caption, QStringLiteral("Ungültige Datei"));
    EXPECT_EQ(prompt.shown()[0].icon, UserPrompt::Icon::Error);
    EXPECT_EQ(prompt.shown()[1].text, QStringLiteral("Die Datenbanken wurden importiert. Nicht "
                                                     "importiert wurden:\r\n") + bad);
    EXPECT_EQ(prompt.shown()[1].icon, UserPrompt::Icon::Warning);
    EXPECT_EQ(childNames(db.topLevel()), "Anhang,Rezepte,Zeta");
}

TEST_F(Import, ADamagedFileEndsTheImportAndKeepsWhatWasMerged)
{
    const QString first = source(QStringLiteral("1.lxd"), [](Database &src) {
        src.topLevel().appendChild("Aaa");
    });
    const QString damaged = source(QStringLiteral("2.lxd"), [](Database &src) {
        src.topLevel().appendChild("Bbb");
        addItem(src.topLevel(), "Ccc", QByteArray(500, 'x'));
    });
    QByteArray bytes = readFileBytes(damaged);
    writeFileBytes(damaged, bytes.left(bytes.size() - 200));
    const QString last = source(QStringLiteral("3.lxd"), [](Database &src) {
        src.topLevel().appendChild("Ddd");
    });

    EXPECT_THROW(import({first, damaged, last}, lpNewEntries), Error);
    // The first file is merged, the damaged one up to its damage, the last not at all; nothing is
    // sorted and no final message comes, but the database is marked as changed.
    EXPECT_EQ(childNames(db.topLevel()).left(20), "Rezepte,Zeta,Aaa,Bbb");
    EXPECT_EQ(find({"Ddd"}), nullptr);
    EXPECT_TRUE(prompt.messages().isEmpty());
    EXPECT_TRUE(db.DatabaseModified);
}

// One source alone: what it merges, and whether the database then differs from its file.
TEST_F(Import, OneSourceMarksTheDatabaseOnlyWhenItMayHaveMergedSomething)
{
    const QString good = recipes();
    const QString notADatabase = dir.path() + QStringLiteral("/text.lxd");
    writeFileBytes(notADatabase, "kein Lexora");
    const QString damaged = dir.path() + QStringLiteral("/kaputt.lxd");
    const QByteArray bytes = readFileBytes(good);
    writeFileBytes(damaged, bytes.left(bytes.size() - 20));
    const QString secret = source(QStringLiteral("geheim.lxd"), [](Database &src) {
        src.Encrypted = true;
        src.Password = "geheim";
        src.topLevel().appendChild("Geheim");
    });
    const struct {
        const char *what;
        QString file;
        QByteArray password;
        std::optional<Error::Kind> thrown; // nullopt: returned
        LoadResult result;
        bool modified;
    } cases[] = {
        {"read", good, {}, std::nullopt, LoadResult::Read, true},
        {"no password", secret, "", std::nullopt, LoadResult::PasswordNotGiven, false},
        {"wrong password", secret, "falsch", Error::Kind::WrongPassword, {}, false},
        {"not a database", notADatabase, {}, Error::Kind::NotADatabase, {}, false},
        {"damaged part way", damaged, {}, Error::Kind::Corrupt, {}, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Database open;
        open.Encrypted = true;
        open.Password = "eigen";
        ScriptedPrompt p;
        if (!c.password.isNull())
            p.givePassword(c.password);
        NoProgress progress;
        LoadResult result = LoadResult::Read;
        const std::optional<Error> error = lexora::test::thrownError(
            [&] { result = ImportDatabase(open, c.file, lpNewEntries, p, progress); });
        EXPECT_EQ(error ? std::optional<Error::Kind>(error->kind()) : std::nullopt, c.thrown);
        if (!error) {
            EXPECT_EQ(result, c.result);
        }
        EXPECT_EQ(open.DatabaseModified, c.modified);
        // Nobody is told here: the caller reports.
        EXPECT_TRUE(p.messages().isEmpty());
        EXPECT_TRUE(open.Encrypted);
        EXPECT_EQ(open.Password, "eigen");
    }
}
