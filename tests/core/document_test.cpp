// The document: its edits of the tree with their signals and the modified flag, what lets go of a
// removed node, and the open, new and save policies.
#include "document/document.h"

#include "database/file_format.h"
#include "database/node_path.h"
#include "database/save_failure.h"
#include "database/win1252.h"
#include "search/displayed_text_cache.h"
#include "support/database_fixtures.h"
#include "support/error.h"
#include "support/open_save_cases.h"
#include "support/scripted_prompt.h"
#include "support/test_document.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include <unistd.h>

using namespace lexora;
using namespace lexora::test;

namespace {

QString titleOf(const Node *node)
{
    return node ? win1252::toUnicode(node->name()) : QStringLiteral("-");
}

// Every signal of a document as one line each: "name title...".
class SignalLog {
public:
    explicit SignalLog(Document &doc)
    {
        const auto node = [this](const char *name) {
            return [this, name](Node *n) { lines.append(QString::fromLatin1(name) + ' ' + titleOf(n)); };
        };
        const auto plain = [this](const char *name) {
            return [this, name] { lines.append(QString::fromLatin1(name)); };
        };
        QObject::connect(&doc, &Document::nodeAboutToBeAdded, [this](Node *parent, int row) {
            lines.append(QStringLiteral("aboutToAdd %1 %2").arg(titleOf(parent)).arg(row));
        });
        QObject::connect(&doc, &Document::nodeAdded, node("added"));
        QObject::connect(&doc, &Document::nodeAboutToBeRemoved, node("aboutToRemove"));
        QObject::connect(&doc, &Document::subtreeAboutToBeRemoved, node("subtreeAboutToBeRemoved"));
        QObject::connect(&doc, &Document::subtreeRemoved, node("subtreeRemoved"));
        QObject::connect(&doc, &Document::nodeRenamed, node("renamed"));
        QObject::connect(&doc, &Document::nodeAboutToBeMoved, [this](Node *n, Node *to, int row) {
            lines.append(QStringLiteral("aboutToMove %1 %2 %3").arg(titleOf(n), titleOf(to)).arg(row));
        });
        QObject::connect(&doc, &Document::nodeMoved, node("moved"));
        QObject::connect(&doc, &Document::childrenAboutToBeSorted, node("aboutToSort"));
        QObject::connect(&doc, &Document::childrenSorted, node("sorted"));
        QObject::connect(&doc, &Document::treeAboutToBeSorted, plain("aboutToSortTree"));
        QObject::connect(&doc, &Document::treeSorted, plain("treeSorted"));
        QObject::connect(&doc, &Document::itemChanged, node("itemChanged"));
        QObject::connect(&doc, &Document::trayChanged, plain("trayChanged"));
        QObject::connect(&doc, &Document::encryptionChanged, plain("encryptionChanged"));
        QObject::connect(&doc, &Document::databaseAboutToBeReplaced, plain("aboutToReplace"));
        QObject::connect(&doc, &Document::databaseReplaced, plain("replaced"));
        QObject::connect(&doc, &Document::modifiedChanged, [this](bool on) {
            lines.append(on ? QStringLiteral("modified") : QStringLiteral("unmodified"));
        });
        QObject::connect(&doc, &Document::fileNameChanged, plain("fileNameChanged"));
    }

    QStringList take() { return std::exchange(lines, {}); }
    QStringList lines;
};

class DocumentTest : public ::testing::Test {
protected:
    DocumentTest()
    {
        folder = dir.path() + QStringLiteral("/files/");
        QDir().mkpath(folder);
        doc.emplace(folder, "anna", prompt, progress);
    }

    // A node as a loaded file would have it: added without the modified flag.
    Node *add(Node *parent, const char *title, bool item = false)
    {
        Node *node = doc->appendNode(parent, win1252::fromUnicode(QString::fromUtf8(title)),
                                     item ? std::make_unique<TTipItem>() : nullptr);
        doc->setModified(false);
        return node;
    }
    QStringList titles(const Node *parent)
    {
        QStringList out;
        for (const Node &child : (parent ? *parent : doc->database().topLevel()).children())
            out.append(titleOf(&child));
        return out;
    }

    QTemporaryDir dir;
    QString folder;
    ScriptedPrompt prompt;
    NoProgress progress;
    std::optional<Document> doc;
};

TEST_F(DocumentTest, TreeEditsSignalInOrderAndMarkTheDatabaseModified)
{
    Node *key = add(nullptr, "K");
    Node *b = add(key, "B", true);
    Node *a = add(nullptr, "A", true);
    Node *sub = add(key, "S");
    SignalLog log(*doc);

    const struct {
        const char *what;
        std::function<void()> edit;
        QStringList topTitles;
        QStringList keyTitles;
        QStringList signalLines;
    } cases[] = {
        {"new key in a key", [&] { doc->newKey(key); }, {"K", "A"}, {"Neuer Schlüssel", "S", "B"},
         {"aboutToAdd K 2", "added Neuer Schlüssel", "modified", "aboutToSort K", "sorted K"}},
        {"new item on the top level", [&] { doc->newItem(nullptr); }, {"K", "A", "Neuer Eintrag"},
         {"Neuer Schlüssel", "S", "B"},
         {"aboutToAdd - 2", "added Neuer Eintrag", "modified", "aboutToSort -", "sorted -"}},
        {"rename sorts the siblings", [&] { doc->renameNode(b, "0"); }, {"K", "A", "Neuer Eintrag"},
         {"Neuer Schlüssel", "S", "0"}, {"renamed 0", "modified", "aboutToSort K", "sorted K"}},
        {"move onto an item is refused", [&] { EXPECT_FALSE(doc->moveNodes({a}, b)); },
         {"K", "A", "Neuer Eintrag"}, {"Neuer Schlüssel", "S", "0"}, {}},
        {"a key onto its own child stays", [&] { EXPECT_FALSE(doc->moveNodes({key}, sub)); },
         {"K", "A", "Neuer Eintrag"}, {"Neuer Schlüssel", "S", "0"}, {}},
        {"a key onto itself stays", [&] { EXPECT_FALSE(doc->moveNodes({key}, key)); },
         {"K", "A", "Neuer Eintrag"}, {"Neuer Schlüssel", "S", "0"}, {}},
        {"move into a key, then sorted there", [&] { EXPECT_TRUE(doc->moveNodes({a}, key)); },
         {"K", "Neuer Eintrag"}, {"Neuer Schlüssel", "S", "0", "A"},
         {"aboutToMove A K 3", "moved A", "modified", "aboutToSort K", "sorted K"}},
        {"the last child onto its own key moves nothing",
         [&] { EXPECT_FALSE(doc->moveNodes({a}, key)); }, {"K", "Neuer Eintrag"},
         {"Neuer Schlüssel", "S", "0", "A"}, {}},
        {"remove a key with its subtree", [&] { doc->removeNode(key); }, {"Neuer Eintrag"}, {},
         {"aboutToRemove K", "aboutToRemove Neuer Schlüssel", "aboutToRemove S", "aboutToRemove 0",
          "aboutToRemove A", "subtreeAboutToBeRemoved K", "subtreeRemoved -", "modified"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        doc->setModified(false);
        log.take();
        c.edit();
        // Each case starts from the tree the one before left; a wrong tree (a key that took
        // itself in would leave a loop of parents behind) ends the table.
        ASSERT_EQ(titles(nullptr), c.topTitles);
        if (!c.keyTitles.isEmpty()) {
            ASSERT_EQ(titles(key), c.keyTitles);
        }
        EXPECT_EQ(log.take(), c.signalLines);
        EXPECT_EQ(doc->isModified(), !c.signalLines.isEmpty());
    }
}

TEST_F(DocumentTest, ANewItemTakesTodayTheUserAndTheDefaultTemplates)
{
    Node *item = doc->newItem(nullptr);
    const TTipItem &tip = *item->item();
    const double today = QDate(1899, 12, 30).daysTo(QDate::currentDate());
    EXPECT_EQ(tip.Created, today);
    EXPECT_EQ(tip.Modified, today);
    EXPECT_EQ(tip.CreatedBy, "anna");
    EXPECT_EQ(tip.ModifiedBy, "anna");
    EXPECT_EQ(tip.HTMLTemplate, doc->database().DefaultHTMLTemplate);
    EXPECT_TRUE(tip.AutoFormat);
    EXPECT_TRUE(tip.Code.isEmpty());
    EXPECT_FALSE(doc->newKey(nullptr)->isItem());
}

TEST_F(DocumentTest, ARemovedNodeLeavesTheTrayAndWhatEveryoneHeldOfIt)
{
    Node *key = add(nullptr, "K");
    Node *inner = add(key, "I", true);
    Node *other = add(nullptr, "X", true);
    doc->addToTray(other);
    doc->addToTray(inner);
    EXPECT_EQ(doc->database().TrayNodes, (std::vector<Node *>{inner, other})) << "in tree order";
    doc->addToTray(inner);
    EXPECT_EQ(doc->database().TrayNodes.size(), 2u) << "at most once";

    // A search list and a page cache let go of the node while it is still whole.
    DisplayedTextCache cache(doc->database());
    (void)cache.lookup().text(*inner);
    std::vector<Node *> searchResults{inner, other};
    QStringList seen;
    QObject::connect(&*doc, &Document::nodeAboutToBeRemoved, [&](Node *node) {
        seen.append(titleOf(node));
        std::erase(searchResults, node);
        cache.forget(*node);
    });
    SignalLog log(*doc);
    doc->removeNode(key);
    EXPECT_EQ(seen, (QStringList{"K", "I"}));
    EXPECT_EQ(searchResults, std::vector<Node *>{other});
    EXPECT_EQ(doc->database().TrayNodes, std::vector<Node *>{other});
    EXPECT_TRUE(log.lines.contains("trayChanged"));

    // A node made after it, whatever its address, shows its own page.
    Node *fresh = add(nullptr, "Neu", true);
    fresh->item()->Code = "frisch";
    EXPECT_TRUE(cache.lookup().text(*fresh).contains("frisch"));
}

TEST_F(DocumentTest, ReplacingTheDatabaseWarnsWhoeverHoldsANode)
{
    const std::vector<OpenCase> cases = writeOpenCases(dir.path() + QLatin1Char('/'));
    const Node *held = add(nullptr, "Gehalten", true);
    QString titleWhenWarned;
    QObject::connect(&*doc, &Document::databaseAboutToBeReplaced, [&] {
        if (held)
            titleWhenWarned = titleOf(held); // still whole here
        held = nullptr;
    });
    SignalLog log(*doc);
    EXPECT_EQ(doc->open(cases[0].file), Document::OpenResult::Opened);
    EXPECT_EQ(held, nullptr);
    EXPECT_EQ(titleWhenWarned, "Gehalten");
    EXPECT_EQ(log.take(), (QStringList{"aboutToReplace", "replaced", "fileNameChanged"}));

    // Also when the new file turns out damaged.
    held = doc->database().topLevel().child(0);
    EXPECT_THROW(doc->open(cases[4].file), Error);
    EXPECT_EQ(held, nullptr);
    EXPECT_EQ(log.take(), (QStringList{"aboutToReplace", "replaced", "fileNameChanged"}));
}

TEST_F(DocumentTest, OpenCasesOfTheSharedTable)
{
    for (const OpenCase &c : writeOpenCases(dir.path() + QLatin1Char('/'))) {
        SCOPED_TRACE(c.what);
        ScriptedPrompt casePrompt;
        if (!c.password.isEmpty())
            casePrompt.givePassword(c.password);
        Document opened(folder, "anna", casePrompt, progress);
        opened.setModified();
        if (c.outcome == OpenCase::Damaged) {
            try {
                opened.open(c.file);
                ADD_FAILURE() << "opened";
            } catch (const Error &e) {
                EXPECT_TRUE(e.message().contains(c.messageHas)) << e.what();
            }
        } else {
            EXPECT_EQ(opened.open(c.file) == Document::OpenResult::Opened, c.outcome == OpenCase::Opened);
            QStringList top;
            for (const Node &child : opened.database().topLevel().children())
                top.append(titleOf(&child));
            EXPECT_EQ(top, c.topTitles);
            EXPECT_FALSE(opened.isModified());
            EXPECT_FALSE(opened.database().Encrypted && c.outcome == OpenCase::Refused);
        }
        EXPECT_EQ(opened.currentFileName(), c.outcome == OpenCase::Opened ? c.file : QString());
        if (!c.messageHas.isEmpty() && c.outcome == OpenCase::Refused) {
            EXPECT_TRUE(casePrompt.messages().join('\n').contains(c.messageHas));
        }
        EXPECT_TRUE(casePrompt.allAnswersUsed());
    }
}

TEST_F(DocumentTest, SaveCasesOfTheSharedTable)
{
    for (const SaveCase &c : saveCases(dir.path() + QLatin1Char('/'))) {
        SCOPED_TRACE(c.what);
        add(nullptr, "A");
        doc->setModified();
        if (c.saved) {
            doc->saveAs(c.file);
            EXPECT_TRUE(QFileInfo(c.file).isFile());
            EXPECT_FALSE(doc->isModified());
        } else {
            try {
                doc->saveAs(c.file);
                ADD_FAILURE() << "saved";
            } catch (const Error &e) {
                EXPECT_TRUE(e.message().contains(c.messageHas)) << e.what();
            }
            EXPECT_TRUE(doc->isModified());
        }
        EXPECT_EQ(doc->currentFileName(), c.file) << "Save As names the database first";
    }
}

TEST_F(DocumentTest, TheQuestionBeforeClosingLetsTheCallerGoOnOnlyWithoutLoss)
{
    add(nullptr, "Arbeit");
    doc->setModified();
    const auto cancelled = [] { return std::optional<QString>(); };
    // No goes on without saving; Cancel stops, and so does Yes with its Save As cancelled, since
    // going on would lose the unsaved work.
    const struct {
        UserPrompt::Answer answer;
        bool goOn;
    } answers[] = {
        {UserPrompt::Answer::Yes, false},
        {UserPrompt::Answer::No, true},
        {UserPrompt::Answer::Cancel, false},
    };
    for (const auto &c : answers) {
        prompt.answer(c.answer);
        EXPECT_EQ(doc->confirmSaveChanges(cancelled), c.goOn) << int(c.answer);
        EXPECT_TRUE(doc->isModified());
        EXPECT_TRUE(doc->currentFileName().isEmpty());
        EXPECT_EQ(doc->database().topLevel().childCount(), 1);
    }

    // Yes with a save that fails: the caller must not go on, and nothing is lost.
    const QString unreachable = dir.path() + QStringLiteral("/fehlt/neu.lxd");
    prompt.answer(UserPrompt::Answer::Yes);
    EXPECT_THROW(doc->confirmSaveChanges([&] { return std::optional<QString>(unreachable); }), Error);
    EXPECT_TRUE(doc->isModified());
    EXPECT_EQ(doc->database().topLevel().childCount(), 1);

    // Yes with a name that can be written: saved, and the caller goes on.
    const QString named = dir.path() + QStringLiteral("/gesichert.lxd");
    doc->saveAs(named);
    doc->setModified();
    prompt.answer(UserPrompt::Answer::Yes);
    EXPECT_TRUE(doc->confirmSaveChanges(cancelled)) << "a named database is saved without asking";
    EXPECT_FALSE(doc->isModified());

    doc->setModified(false);
    EXPECT_TRUE(doc->confirmSaveChanges(cancelled)) << "nothing asked";
}

TEST_F(DocumentTest, TwoProgramsOnOneFileTheLaterSaveAsksBeforeOverwriting)
{
    // A opens the file after B; A adds a key and saves; B, still holding the file as it was,
    // saves without changes of its own.
    const QString file = dir.filePath(QStringLiteral("geteilt.lxd"));
    add(nullptr, "Alt");
    doc->saveAs(file);
    TestDocument a;
    ASSERT_EQ(a->open(file), Document::OpenResult::Opened);
    a->newKey(nullptr);
    ASSERT_TRUE(a->save({}));
    const QByteArray withTheKey = readFileBytes(file);

    const QString question = QStringLiteral("Die Datei wurde inzwischen von einem anderen Programm "
                                            "geändert. Soll sie trotzdem überschrieben werden?");
    doc->setModified();
    prompt.answer(UserPrompt::Answer::No);
    EXPECT_FALSE(doc->save({}));
    EXPECT_EQ(prompt.shown().back().text, question);
    EXPECT_EQ(readFileBytes(file), withTheKey);
    EXPECT_TRUE(doc->isModified()) << "the database stays as it is, for Save As";

    // Closing asks to save; keeping the other program's file keeps this database open too.
    prompt.answer(UserPrompt::Answer::Yes);
    prompt.answer(UserPrompt::Answer::No);
    EXPECT_FALSE(doc->confirmSaveChanges({}));
    EXPECT_EQ(readFileBytes(file), withTheKey);

    prompt.answer(UserPrompt::Answer::Yes);
    EXPECT_TRUE(doc->save({}));
    EXPECT_NE(readFileBytes(file), withTheKey);
    EXPECT_FALSE(doc->isModified());
    EXPECT_TRUE(prompt.allAnswersUsed());
}

TEST_F(DocumentTest, ASaveAsksOnlyWhenTheFileChangedOnDisk)
{
    const QString file = dir.filePath(QStringLiteral("datei.lxd"));
    add(nullptr, "A");
    struct Case {
        const char *what;
        std::function<void()> meanwhile;
        bool asked;
    };
    const Case cases[] = {
        {"untouched", [] {}, false},
        {"touched only", [&] {
             QFile f(file);
             ASSERT_TRUE(f.open(QIODevice::ReadWrite));
             f.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime);
         }, false},
        {"the same size, other bytes", [&] {
             QByteArray bytes = readFileBytes(file);
             const qsizetype at = bytes.lastIndexOf('A');
             ASSERT_GE(at, 0);
             bytes[at] = 'B';
             writeFileBytes(file, bytes);
         }, true},
        {"longer", [&] { writeFileBytes(file, readFileBytes(file) + "x"); }, true},
        {"gone", [&] { QFile::remove(file); }, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        doc->saveAs(file);
        c.meanwhile();
        const QByteArray before = QFileInfo::exists(file) ? readFileBytes(file) : QByteArray();
        doc->setModified();
        if (c.asked)
            prompt.answer(UserPrompt::Answer::No);
        EXPECT_EQ(doc->save({}), !c.asked);
        EXPECT_TRUE(prompt.allAnswersUsed());
        if (c.asked)
            EXPECT_EQ(readFileBytes(file), before);
        else
            EXPECT_TRUE(QFileInfo::exists(file));
    }
}

TEST_F(DocumentTest, ASaveRefusedByItsFolderNamesTheFolderAndWhy)
{
    const QString file = QStringLiteral("/daten/schreibgeschützt/wissen.lxd");
    const QString folderMessage = saveOpenFailureMessage(file, QStringLiteral("Permission denied"), false);
    EXPECT_TRUE(folderMessage.contains(QStringLiteral("im Ordner \"/daten/schreibgeschützt\"")));
    EXPECT_TRUE(folderMessage.contains(QStringLiteral("neue Datei neben die alte")));
    EXPECT_FALSE(folderMessage.contains(QStringLiteral("Permission denied")));
    EXPECT_EQ(saveOpenFailureMessage(file, QStringLiteral("No space left on device"), true),
              QStringLiteral("Die Datei \"/daten/schreibgeschützt/wissen.lxd\" kann nicht "
                             "geschrieben werden: No space left on device"));

    // The real thing, where permissions bind (not for root).
    const QString locked = dir.path() + QStringLiteral("/gesperrt/");
    QDir().mkpath(locked);
    writeFileBytes(locked + QStringLiteral("alt.lxd"), "alt");
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(folderTakesNewFiles(locked + QStringLiteral("alt.lxd")), geteuid() == 0);
    if (geteuid() != 0) {
        try {
            doc->saveAs(locked + QStringLiteral("alt.lxd"));
            ADD_FAILURE() << "saved";
        } catch (const Error &e) {
            EXPECT_TRUE(e.message().contains(QDir(locked).absolutePath())) << e.what();
        }
        EXPECT_EQ(readFileBytes(locked + QStringLiteral("alt.lxd")), "alt");
    }
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(DocumentTest, SaveAsTemplateOnlyIntoTheTemplatesFolderAndKeepsTheName)
{
    const QString templates = dir.path() + QStringLiteral("/Templates/");
    QDir().mkpath(templates + QStringLiteral("Unter"));
    doc->setModified();
    EXPECT_FALSE(doc->saveAsTemplate(templates + QStringLiteral("Unter/v.lxd"), templates));
    EXPECT_EQ(prompt.messages(), QStringList{"Vorlagen müssen im Vorlagen-Ordner gespeichert werden."});
    EXPECT_TRUE(doc->saveAsTemplate(templates + QStringLiteral("v.lxd"), templates));
    EXPECT_TRUE(QFileInfo(templates + QStringLiteral("v.lxd")).isFile());
    EXPECT_TRUE(doc->currentFileName().isEmpty());
    EXPECT_TRUE(doc->isModified());
}

TEST_F(DocumentTest, StartOpensTheGivenOrLastFileElseTheStandardTemplate)
{
    const std::vector<OpenCase> cases = writeOpenCases(dir.path() + QLatin1Char('/'));
    const QString standard = dir.path() + QStringLiteral("/Standard.lxd");
    {
        Database templ;
        templ.HTMLTemplates.push_back(std::make_unique<TTemplate>(TTemplate{"T", "", ""}));
        SaveDatabase(templ, standard, false, progress);
    }
    const struct {
        const char *what;
        Document::StartFiles files;
        QString fileName;
        std::size_t templates;
        int messages;
    } starts[] = {
        {"the last file", {{}, cases[0].file, standard}, cases[0].file, 0, 0},
        {"the given file wins", {cases[0].file, standard, standard}, cases[0].file, 0, 0},
        {"a missing given file", {dir.path() + "/weg.lxd", cases[0].file, standard}, {}, 1, 1},
        {"a damaged last file", {{}, cases[4].file, standard}, {}, 1, 1},
        {"no file", {{}, {}, standard}, {}, 1, 0},
        {"no standard template", {{}, {}, {}}, {}, 0, 0},
    };
    for (const auto &s : starts) {
        SCOPED_TRACE(s.what);
        ScriptedPrompt startPrompt;
        Document started(folder, "anna", startPrompt, progress);
        started.start(s.files);
        EXPECT_EQ(started.currentFileName(), s.fileName);
        EXPECT_EQ(started.database().HTMLTemplates.size(), s.templates);
        EXPECT_EQ(startPrompt.messages().size(), s.messages);
        if (s.fileName.isEmpty()) {
            EXPECT_EQ(started.database().topLevel().childCount(), 0) << "nothing kept of a damaged file";
        }
        EXPECT_FALSE(started.isModified());
    }
}

TEST_F(DocumentTest, NewEmptiesOrCopiesATemplateDatabaseUnnamed)
{
    const std::vector<OpenCase> cases = writeOpenCases(dir.path() + QLatin1Char('/'));
    doc->open(cases[0].file);
    doc->setModified();
    doc->newDatabase({});
    EXPECT_EQ(doc->database().topLevel().childCount(), 0);
    EXPECT_TRUE(doc->currentFileName().isEmpty());
    EXPECT_FALSE(doc->isModified());
    doc->newDatabase(cases[0].file);
    EXPECT_EQ(doc->database().topLevel().childCount(), 2);
    EXPECT_TRUE(doc->currentFileName().isEmpty());
}

TEST_F(DocumentTest, TheIncludedFilesGoWithTheDocumentUnlessKept)
{
    Database source;
    source.IncludedFilesFolder = dir.path() + QStringLiteral("/quelle/");
    QDir().mkpath(source.IncludedFilesFolder);
    writeFileBytes(source.includedFilePath("a.txt"), "abc");
    source.IncludedFiles.push_back(std::make_unique<TInclFile>(TInclFile{"a.txt", 3}));
    const QString file = dir.path() + QStringLiteral("/mit-datei.lxd");
    SaveDatabase(source, file, false, progress);

    for (const Document::FilesAtEnd atEnd : {Document::FilesAtEnd::Delete, Document::FilesAtEnd::Keep}) {
        const QString bytes = folder + QStringLiteral("a.txt");
        {
            Document opened(folder, "anna", prompt, progress, atEnd);
            opened.open(file);
            EXPECT_TRUE(QFileInfo::exists(bytes));
        }
        EXPECT_EQ(QFileInfo::exists(bytes), atEnd == Document::FilesAtEnd::Keep);
        EXPECT_TRUE(QFileInfo(folder).isDir()) << "the folder is the caller's";
    }
    // A plain Database deletes nothing when it goes.
    { Database loaded; loaded.IncludedFilesFolder = folder; ASSERT_EQ(LoadDatabase(loaded, file, lpAll, prompt, progress), LoadResult::Read); }
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("a.txt")));
}

TEST_F(DocumentTest, TrayAndEncryptionEdits)
{
    Node *a = add(nullptr, "A", true);
    SignalLog log(*doc);
    doc->addToTray(a);
    doc->removeFromTray(a);
    doc->removeFromTray(a);
    doc->addToTray(a);
    doc->clearTray();
    EXPECT_EQ(log.take(), (QStringList{"trayChanged", "modified", "trayChanged", "trayChanged",
                                       "trayChanged"}));
    doc->setModified(false);
    log.take();
    doc->setEncryption(true, EncryptionMode::Compatible, SecretBytes("pw"));
    doc->setEncryption(true, EncryptionMode::Compatible, SecretBytes("pw"));
    EXPECT_EQ(log.take(), QStringList{"encryptionChanged"});
    EXPECT_FALSE(doc->isModified()) << "takes effect at the next save";
    TTipItem values = *a->item();
    values.Code = "neu";
    doc->setItem(a, values);
    EXPECT_EQ(log.take(), (QStringList{"itemChanged A", "modified"}));
    EXPECT_EQ(a->item()->Code, "neu");
}

} // namespace

namespace {

QStringList trayPaths(const Database &db)
{
    QStringList paths;
    for (const Node *node : db.TrayNodes)
        paths.append(win1252::toUnicode(NodePath(*node)));
    return paths;
}

} // namespace

TEST_F(DocumentTest, TrayEditsChangeTheFlagOnlyWhenTheTrayChanges)
{
    Node *key = add(nullptr, "K");
    Node *b = add(key, "B", true);
    Node *a = add(key, "A", true);
    Node *x = add(nullptr, "X", true);
    const struct {
        const char *what;
        std::function<void()> edit;
        QStringList tray;
        bool changed;
    } cases[] = {
        {"two siblings, given in any order, come in tree order",
         [&] { EXPECT_EQ(doc->addToTray({a, b}), (QList<Node *>{a, b})); }, {"K\\B", "K\\A"}, true},
        {"a node already there is not added again and changes nothing",
         [&] { EXPECT_TRUE(doc->addToTray(QList<Node *>{b}).isEmpty()); }, {"K\\B", "K\\A"}, false},
        {"of a mixed drop only the new node counts",
         [&] { EXPECT_EQ(doc->addToTray({b, x, a}), QList<Node *>{x}); }, {"K\\B", "K\\A", "X"}, true},
        {"removing several", [&] { doc->removeFromTray({x, b}); }, {"K\\A"}, true},
        {"removing what is not there", [&] { doc->removeFromTray(x); }, {"K\\A"}, false},
        {"a key may be in the tray", [&] { doc->addToTray(key); }, {"K", "K\\A"}, true},
        {"clearing marks the database modified", [&] { doc->clearTray(); }, {}, true},
        {"clearing an empty tray changes nothing", [&] { doc->clearTray(); }, {}, false},
    };
    SignalLog log(*doc);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        doc->setModified(false);
        log.take();
        c.edit();
        EXPECT_EQ(trayPaths(doc->database()), c.tray);
        EXPECT_EQ(doc->isModified(), c.changed);
        EXPECT_EQ(log.take(), (c.changed ? QStringList{"trayChanged", "modified"} : QStringList{}));
    }
}

TEST_F(DocumentTest, TheTrayFollowsTheTreeOrderAndSurvivesASaveAndALoad)
{
    Node *k1 = add(nullptr, "K1");
    Node *k2 = add(nullptr, "K2");
    Node *a = add(k1, "A", true);
    Node *b = add(k2, "B", true);
    Node *c = add(k2, "C", true);
    Node *top = add(nullptr, "T", true);
    doc->addToTray({top, c, b, a});
    ASSERT_EQ(trayPaths(doc->database()), (QStringList{"K1\\A", "K2\\B", "K2\\C", "T"}));

    const struct {
        const char *what;
        std::function<void()> edit;
        QStringList tray;
    } steps[] = {
        {"rename within a key", [&] { doc->renameNode(b, "Z"); }, {"K1\\A", "K2\\C", "K2\\Z", "T"}},
        {"rename a key", [&] { doc->renameNode(k1, "L"); }, {"K2\\C", "K2\\Z", "L\\A", "T"}},
        {"move an item into another key", [&] { doc->moveNodes({top}, k2); },
         {"K2\\C", "K2\\T", "K2\\Z", "L\\A"}},
        {"move a key into another key", [&] { doc->moveNodes({k2}, k1); },
         {"L\\K2\\C", "L\\K2\\T", "L\\K2\\Z", "L\\A"}},
        {"sort the tree by other criteria", [&] {
             doc->setSortCriteria({{SortByTitle, 1}});
             doc->sortTree();
         }, {"L\\K2\\Z", "L\\K2\\T", "L\\K2\\C", "L\\A"}},
    };
    for (const auto &s : steps) {
        SCOPED_TRACE(s.what);
        s.edit();
        EXPECT_EQ(trayPaths(doc->database()), s.tray);
    }

    // The file stores each entry as the node's position in the whole tree: after loading, the
    // tray holds the same nodes, in the order of the loaded (and sorted) tree.
    const QString file = dir.path() + QStringLiteral("/tray.lxd");
    doc->saveAs(file);
    ScriptedPrompt loadPrompt;
    Document loaded(folder, "anna", loadPrompt, progress);
    loaded.setSortCriteria({{SortByTitle, 1}});
    ASSERT_EQ(loaded.open(file), Document::OpenResult::Opened);
    EXPECT_EQ(trayPaths(loaded.database()), (QStringList{"L\\K2\\Z", "L\\K2\\T", "L\\K2\\C", "L\\A"}));
    // Opened under the usual criteria, the tree turns round and the tray with it.
    loaded.setSortCriteria(DefaultSortCriteria());
    ASSERT_EQ(loaded.open(file), Document::OpenResult::Opened);
    EXPECT_EQ(trayPaths(loaded.database()), (QStringList{"L\\K2\\C", "L\\K2\\T", "L\\K2\\Z", "L\\A"}));
    // An import sorts the tree, and the tray follows.
    loaded.setSortCriteria({{SortByTitle, 1}});
    SignalLog log(loaded);
    const ImportResult imported = loaded.importDatabases({file}, lpNewEntries);
    EXPECT_EQ(imported.inputError, std::nullopt);
    EXPECT_TRUE(imported.refused.isEmpty());
    EXPECT_TRUE(log.lines.contains("trayChanged"));
    EXPECT_EQ(trayPaths(loaded.database()), (QStringList{"L\\K2\\Z", "L\\K2\\T", "L\\K2\\C", "L\\A"}));
}
