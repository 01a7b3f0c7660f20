// Undo and redo of the document: every kind of change taken back and done again exactly (the
// whole database, the included-files folder and the saved file), the modified flag at the save
// point, the typing of one item as one step, the stack's bounds, and a new database's empty stack.
#include "document/document.h"

#include "database/file_format.h"
#include "database/win1252.h"
#include "support/database_fixtures.h"
#include "support/scripted_prompt.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

using namespace lexora;
using namespace lexora::test;

namespace {

Text w(const char *utf8)
{
    return win1252::fromUnicode(QString::fromUtf8(utf8));
}

class DocumentUndoTest : public ::testing::Test {
protected:
    DocumentUndoTest()
    {
        folder = dir.path() + QStringLiteral("/files/");
        QDir().mkpath(folder);
        // The varied database as a file, opened as a user would.
        Database built;
        built.IncludedFilesFolder = dir.path() + QStringLiteral("/built/");
        QDir().mkpath(built.IncludedFilesFolder);
        buildVariedDatabase(built);
        source = dir.path() + QStringLiteral("/varied.lxd");
        SaveDatabase(built, source, false, progress);
        built.FreeDatabaseData();
        doc.emplace(folder, "anna", prompt, progress);
        doc->open(source);
    }

    Node *node(const char *path) { return doc->findNode(w(path)); }
    TTemplate *tmpl(int list, const char *name) { return doc->database().FindTemplate(list, w(name)); }
    TInclFile *file(const char *name) { return doc->database().FindIncludedFile(w(name)); }

    // Everything the database holds, and the files of the included-files folder: a removed or
    // restored file must neither linger nor be missing there.
    std::string state()
    {
        std::string out = describeDatabase(doc->database());
        out += "folder";
        for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name))
            out += " " + name.toStdString();
        return out;
    }
    // The bytes a save of the document writes now (a save also marks the save point).
    QByteArray saved(const QString &name)
    {
        const QString path = dir.path() + '/' + name;
        doc->saveAs(path);
        return readFileBytes(path);
    }
    QString sourceFile(const char *name, const QByteArray &bytes)
    {
        QDir().mkpath(dir.path() + QStringLiteral("/sources"));
        const QString path = dir.path() + QStringLiteral("/sources/") + QString::fromUtf8(name);
        writeFileBytes(path, bytes);
        return path;
    }

    QTemporaryDir dir;
    QString folder;
    QString source;
    ScriptedPrompt prompt;
    NoProgress progress;
    std::optional<Document> doc;
};

// A database to import: an item of the same path as one of the varied database (overwritten),
// a new key with an item below an existing key and a new top-level item, a template of an
// existing name and a new one, an included file of an existing name and a new one.
QString writeImportSource(const QString &folder)
{
    Database db;
    db.IncludedFilesFolder = folder + QStringLiteral("/importbuilt/");
    QDir().mkpath(db.IncludedFilesFolder);
    auto item = [](Node *node, const Text &code) {
        auto value = std::make_unique<TTipItem>();
        value->Code = code;
        value->Created = value->Modified = 46000;
        node->setItem(std::move(value));
        return node;
    };
    db.HTMLTemplates.push_back(std::make_unique<TTemplate>(TTemplate{"Seite", "<p>%text%</p>", "neu"}));
    db.HTMLTemplates.push_back(std::make_unique<TTemplate>(TTemplate{"Zusatz", "<b>%text%</b>", ""}));
    Node *key = db.topLevel().appendChild(w("Schlüssel"));
    item(key->appendChild("ASCII 255"), "importiert");
    Node *newKey = key->appendChild("Aus dem Import");
    item(newKey->appendChild("Unten"), "unten");
    item(db.topLevel().appendChild("A oben"), "oben");
    addIncludedFile(db, "bild.png", "ersetzt");
    addIncludedFile(db, "neu.txt", "neue Datei");
    const QString path = folder + QStringLiteral("/import.lxd");
    NoProgress progress;
    SaveDatabase(db, path, false, progress);
    db.FreeDatabaseData();
    return path;
}

TEST_F(DocumentUndoTest, EveryKindOfChangeIsTakenBackAndDoneAgainExactly)
{
    struct Case {
        const char *name; // the step's name
        std::function<void()> change;
        bool marksModified = true; // a sort and the encryption setting alone do not
    };
    const QString importFile = writeImportSource(dir.path());
    const Case cases[] = {
        {"Neuer Schlüssel", [&] { doc->newKey(node("Schlüssel")); }},
        {"Neuer Eintrag", [&] { doc->newItem(nullptr); }},
        {"Umbenennen von »ASCII 256«", [&] { doc->renameNode(node("Schlüssel\\ASCII 256"), "AAA"); }},
        {"Löschen von »Schlüssel«", [&] { doc->removeNode(node("Schlüssel")); }},
        {"Löschen von 2 Einträgen",
         [&] { doc->removeNodes({node("Schlüssel\\Ebene 2\\Tief"), node("Gleich")}); }},
        {"Verschieben von 2 Einträgen",
         [&] { doc->moveNodes({node("Gleich"), node("Schlüssel\\Ebene 2")}, node("Leerer Schlüssel")); }},
        {"Verschieben von »ASCII 255«", [&] { doc->moveNodes({node("Schlüssel\\ASCII 255")}, nullptr); }},
        {"Sortieren",
         [&] {
             doc->setSortCriteria({{SortByTitle, 1}});
             doc->sortTree();
         },
         false},
        {"Bearbeiten von »Tief«",
         [&] {
             Node *tief = node("Schlüssel\\Ebene 2\\Tief");
             TTipItem values = *tief->item();
             values.Code = "neu";
             values.AutoFormat = !values.AutoFormat;
             values.HTMLTemplate = tmpl(HtmlTemplates, "leer");
             values.Modified = 46001.5;
             doc->setItem(tief, values);
         }},
        {"Neue Vorlage »Neu«",
         [&] { doc->saveTemplate(CssTemplates, nullptr, {"Neu", "d", "p {}", true}); }},
        {"Umbenennen der Vorlage ».Code«",
         [&] {
             doc->saveTemplate(HtmlTemplates, tmpl(HtmlTemplates, ".Code"), {"Kode", "", "c", false});
         }},
        {"Ändern der Vorlage »CSS \u20AC«",
         [&] {
             doc->saveTemplate(CssTemplates, tmpl(CssTemplates, "CSS \u20AC"), {w("CSS \u20AC"), "x", "y", false});
         }},
        {"Löschen der Vorlage »Seite«", [&] { doc->deleteTemplate(HtmlTemplates, tmpl(HtmlTemplates, "Seite")); }},
        {"Einbinden von »foto.jpg«", [&] { doc->addIncludedFiles({sourceFile("foto.jpg", "JPEG")}); }},
        {"Umbenennen der Datei »bild.png«", [&] { doc->renameIncludedFile(file("bild.png"), "a.png"); }},
        {"Entfernen von 2 Dateien", [&] { doc->removeIncludedFiles({file("bild.png"), file("leer.txt")}); }},
        {"Hinzufügen zur Ablagemappe", [&] { doc->addToTray(node("Leerer Schlüssel")); }},
        {"Entfernen aus der Ablagemappe", [&] { doc->removeFromTray(node("Schlüssel\\ASCII 255")); }},
        {"Leeren der Ablagemappe", [&] { doc->clearTray(); }},
        {"Ändern der Verschlüsselung",
         [&] { doc->setEncryption(true, EncryptionMode::Compatible, SecretBytes("geheim")); },
         false},
        {"Import von 1 Datenbank", [&] { doc->importDatabases({importFile}, ImportableParts); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        doc->setSortCriteria(DefaultSortCriteria());
        doc->open(source);
        const QByteArray savedBefore = saved("before.lxd");
        const std::string before = state();

        c.change();
        const std::string after = state();
        ASSERT_NE(after, before) << "the change changed nothing";
        EXPECT_EQ(doc->undoName().toStdString(), c.name);
        EXPECT_EQ(doc->isModified(), c.marksModified);
        const QByteArray savedAfter = saved("after.lxd");

        doc->undo();
        EXPECT_EQ(state(), before);
        EXPECT_TRUE(doc->isModified()) << "undone past the save point";
        EXPECT_EQ(doc->redoName().toStdString(), c.name);
        EXPECT_EQ(saved("undone.lxd"), savedBefore);

        doc->redo();
        EXPECT_EQ(state(), after);
        EXPECT_TRUE(doc->isModified());
        EXPECT_EQ(saved("redone.lxd"), savedAfter);

        doc->undo();
        EXPECT_EQ(state(), before) << "a second undo";
        doc->redo();
        EXPECT_FALSE(doc->isModified()) << "back at the save point";
    }
}

TEST_F(DocumentUndoTest, UndoingEveryStepOfASessionGivesTheOpenedFileBack)
{
    doc->saveAs(dir.path() + QStringLiteral("/first.lxd"));
    const QByteArray first = readFileBytes(dir.path() + QStringLiteral("/first.lxd"));
    Node *key = doc->newKey(nullptr);
    doc->renameNode(key, "Rezepte");
    Node *cake = doc->newItem(key);
    TTipItem values = *cake->item();
    values.Code = "Mehl";
    doc->setItem(cake, values);
    doc->moveNodes({node("Gleich")}, key);
    doc->addToTray(cake);
    doc->removeNode(node("Schlüssel"));
    doc->saveTemplate(HtmlTemplates, tmpl(HtmlTemplates, "Seite"), {"Blatt", "", "x", true});
    doc->removeIncludedFiles({file("bild.png")});
    doc->removeNode(key);
    EXPECT_EQ(doc->undoStepCount(), 10);
    while (doc->canUndo())
        doc->undo();
    EXPECT_FALSE(doc->isModified());
    EXPECT_EQ(saved("again.lxd"), first);
}

TEST_F(DocumentUndoTest, TypingIntoOneItemIsOneStepUntilASaveOrAnotherChange)
{
    Node *tief = node("Schlüssel\\Ebene 2\\Tief");
    const Text original = tief->item()->Code;
    const auto type = [&](const Text &code) {
        TTipItem values = *tief->item();
        values.Code = code;
        doc->setItem(tief, values, Document::ItemEdit::Typing);
    };
    type("a");
    type("ab");
    type("abc");
    EXPECT_EQ(doc->undoStepCount(), 1);
    EXPECT_EQ(doc->undoName(), QStringLiteral("Eingabe in »Tief«"));
    doc->undo();
    EXPECT_EQ(tief->item()->Code, original);
    doc->redo();
    EXPECT_EQ(tief->item()->Code, "abc");

    doc->saveAs(dir.path() + QStringLiteral("/s.lxd"));
    type("abcd");
    EXPECT_EQ(doc->undoStepCount(), 2) << "typing after a save begins a new step";
    doc->renameNode(node("Gleich"), "G");
    type("abcde");
    EXPECT_EQ(doc->undoStepCount(), 4) << "typing after another change begins a new step";
    doc->undo();
    EXPECT_EQ(tief->item()->Code, "abcd");
}

TEST_F(DocumentUndoTest, TheModifiedFlagFollowsTheSavePoint)
{
    EXPECT_FALSE(doc->isModified());
    doc->newKey(nullptr);
    doc->undo();
    EXPECT_FALSE(doc->isModified()) << "undone to the opened state: no question at closing";
    doc->redo();
    EXPECT_TRUE(doc->isModified());

    doc->saveAs(dir.path() + QStringLiteral("/s.lxd"));
    EXPECT_TRUE(doc->canUndo()) << "a save keeps the steps";
    doc->undo();
    EXPECT_TRUE(doc->isModified());
    doc->redo();
    EXPECT_FALSE(doc->isModified());

    // A change after an undo past the save point: that point can never be reached again.
    doc->undo();
    doc->newItem(nullptr);
    EXPECT_FALSE(doc->canRedo());
    doc->undo();
    EXPECT_TRUE(doc->isModified());
}

TEST_F(DocumentUndoTest, OpenAndNewBeginWithoutSteps)
{
    doc->newKey(nullptr);
    ASSERT_TRUE(doc->canUndo());
    doc->newDatabase({});
    EXPECT_FALSE(doc->canUndo());
    EXPECT_FALSE(doc->canRedo());
    EXPECT_TRUE(doc->undoName().isEmpty());
    doc->newKey(nullptr);
    doc->undo();
    ASSERT_TRUE(doc->canRedo());
    doc->open(source);
    EXPECT_FALSE(doc->canRedo());
}

TEST_F(DocumentUndoTest, TheStackKeepsTheNewestStepsWithinItsBounds)
{
    doc->setUndoLimits(3, qint64(1) << 30);
    Node *gleich = node("Gleich");
    for (const char *title : {"1", "2", "3", "4", "5"})
        doc->renameNode(gleich, title);
    EXPECT_EQ(doc->undoStepCount(), 3);
    int undone = 0;
    for (; doc->canUndo(); ++undone)
        doc->undo();
    EXPECT_EQ(undone, 3);
    EXPECT_EQ(gleich->name(), "2");
    EXPECT_TRUE(doc->isModified()) << "the opened state was dropped: it cannot be reached";

    // Bytes: a removed subtree larger than the bound stays as the newest step, and goes with
    // the next one.
    doc->open(source);
    doc->setUndoLimits(100, 2000);
    Node *big = doc->newKey(nullptr);
    for (int i = 0; i < 20; ++i) {
        Node *item = doc->newItem(big);
        TTipItem values = *item->item();
        values.Code = QByteArray(200, 'x');
        doc->setItem(item, values);
    }
    doc->removeNode(big);
    EXPECT_GT(doc->undoBytes(), 2000);
    EXPECT_EQ(doc->undoStepCount(), 1);
    doc->undo();
    EXPECT_EQ(doc->findNode(w("Neuer Schlüssel"))->childCount(), 20);
    doc->redo();
    doc->newKey(nullptr);
    EXPECT_EQ(doc->undoStepCount(), 1);
    EXPECT_LT(doc->undoBytes(), 2000);
}

TEST_F(DocumentUndoTest, AnImportWithARefusedFileIsTakenBackExactly)
{
    const std::string before = state();
    const QString notADatabase = sourceFile("kein.lxd", "kein Lexora");
    const ImportResult result =
        doc->importDatabases({writeImportSource(dir.path()), notADatabase}, ImportableParts);
    EXPECT_EQ(result.refused, QStringList{notADatabase});
    EXPECT_EQ(doc->undoName(), QStringLiteral("Import von 1 Datenbank"));
    doc->undo();
    EXPECT_EQ(state(), before);
}

TEST_F(DocumentUndoTest, UndoAndRedoAnnounceWhatChanged)
{
    QStringList seen;
    QObject::connect(&*doc, &Document::subtreeRemoved, [&] { seen << "removed"; });
    QObject::connect(&*doc, &Document::nodeAdded, [&] { seen << "added"; });
    QObject::connect(&*doc, &Document::trayChanged, [&] { seen << "tray"; });
    QObject::connect(&*doc, &Document::itemChanged, [&] { seen << "item"; });
    QObject::connect(&*doc, &Document::templatesChanged, [&] { seen << "templates"; });
    QObject::connect(&*doc, &Document::undoStateChanged, [&] { seen << "undo"; });
    doc->removeNode(node("Schlüssel"));
    seen.clear();
    doc->undo();
    EXPECT_EQ(seen, (QStringList{"added", "tray", "undo"}));
    seen.clear();
    doc->redo();
    EXPECT_EQ(seen, (QStringList{"removed", "tray", "undo"}));

    doc->saveTemplate(HtmlTemplates, tmpl(HtmlTemplates, "Seite"), {"Blatt", "", "x", true});
    seen.clear();
    doc->undo();
    EXPECT_EQ(seen, (QStringList{"templates", "undo"})) << "one announcement for the rewrite";
}

} // namespace
