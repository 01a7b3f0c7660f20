// The document's included-file edits: add with the question for a taken name, rename, remove,
// and that no name ever leads a file out of the included-files folder.
#include "document/document.h"

#include "database/win1252.h"
#include "support/database_fixtures.h"
#include "support/scripted_prompt.h"
#include "text/collation.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

using namespace lexora;
using namespace lexora::test;

namespace {

const QString kInvalidName = QStringLiteral("Ungültiger Dateiname");

class DocumentIncludedFiles : public ::testing::Test {
protected:
    DocumentIncludedFiles()
    {
        folder = dir.path() + QStringLiteral("/files/");
        sources = dir.path() + QStringLiteral("/quellen/");
        QDir().mkpath(folder);
        QDir().mkpath(sources);
        doc.emplace(folder, "anna", prompt, progress);
    }

    // A file to add: its bytes name it.
    QString source(const QString &name, const QByteArray &bytes = {})
    {
        const QString path = sources + name;
        writeFileBytes(path, bytes.isNull() ? name.toUtf8() : bytes);
        return path;
    }
    QStringList names() const
    {
        QStringList out;
        for (const auto &f : doc->database().IncludedFiles)
            out.append(win1252::toUnicode(f->Name));
        return out;
    }
    // What lies in the folder besides the files of the list.
    QStringList folderEntries() const
    {
        QStringList out = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        out.sort();
        return out;
    }
    TInclFile *file(const char *name) const { return doc->database().FindIncludedFile(name); }
    // Every file of the list is stored, and nothing else is in the folder or beside it.
    void expectFolderMatchesList() const
    {
        QStringList listed = names();
        listed.sort();
        EXPECT_EQ(folderEntries(), listed);
        for (const auto &f : doc->database().IncludedFiles)
            EXPECT_EQ(QFileInfo(doc->database().includedFilePath(f->Name)).size(), f->Size);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  (QStringList{"files", "quellen"}));
    }

    QTemporaryDir dir;
    QString folder;
    QString sources;
    ScriptedPrompt prompt;
    NoProgress progress;
    std::optional<Document> doc;
};

TEST_F(DocumentIncludedFiles, AddingCopiesTheFilesSortedAndAsksForAnotherNameWhenOneIsTaken)
{
    struct Case {
        const char *what;
        QString source;                      // a file name in the sources folder
        QList<std::optional<QString>> inputs; // answers to "Name bereits belegt"
        QStringList names;                   // the list afterwards
        QString storedAs;                    // where the new bytes went; empty: nowhere
        QString message;                     // the message shown, if any
    } cases[] = {
        {"a new name", "neu.png", {}, {"bild.png", "neu.png"}, "neu.png", {}},
        {"taken, another name given", "bild.png", {QStringLiteral("bild2.png")},
         {"bild.png", "bild2.png"}, "bild2.png", {}},
        {"taken, the same name again, then another", "bild.png",
         {QStringLiteral("bild.png"), QStringLiteral("Bild.png")}, {"bild.png", "Bild.png"},
         "Bild.png", {}},
        {"taken, cancelled", "bild.png", {std::nullopt}, {"bild.png"}, {}, {}},
        {"taken, answered with a path", "bild.png", {QStringLiteral("../böse.png")},
         {"bild.png"}, {}, kInvalidName},
        {"taken, answered with nothing", "bild.png", {QString()}, {"bild.png"}, {}, kInvalidName},
        {"a backslash in the file's own name", "a\\b.png", {}, {"bild.png"}, {}, kInvalidName},
        {"a file that is missing", "fehlt.png", {}, {"bild.png"}, {},
         QStringLiteral("Kopiervorgang fehlgeschlagen")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        doc.reset();
        prompt = {};
        doc.emplace(folder, "anna", prompt, progress);
        ASSERT_EQ(doc->addIncludedFiles({source(QStringLiteral("bild.png"), "alt")}).size(), 1);
        doc->setModified(false);
        for (const auto &answer : c.inputs)
            prompt.giveInput(answer);
        const QString path = c.source == QLatin1String("fehlt.png") ? sources + c.source
                                                                    : source(c.source, "neu");
        const QList<TInclFile *> added = doc->addIncludedFiles({path});
        EXPECT_TRUE(prompt.allAnswersUsed());
        EXPECT_EQ(names(), c.names);
        EXPECT_TRUE(doc->isModified()) << "also when nothing was added";
        EXPECT_EQ(readFileBytes(folder + QStringLiteral("bild.png")), QByteArray("alt"));
        if (c.storedAs.isEmpty()) {
            EXPECT_TRUE(added.isEmpty());
        } else {
            ASSERT_EQ(added.size(), 1);
            EXPECT_EQ(win1252::toUnicode(added[0]->Name), c.storedAs);
            EXPECT_EQ(added[0]->Size, 3);
            EXPECT_EQ(readFileBytes(folder + c.storedAs), QByteArray("neu"));
        }
        QStringList captions;
        for (const auto &shown : prompt.shown())
            if (shown.kind == QLatin1String("message"))
                captions.append(shown.caption);
        EXPECT_EQ(captions, c.message.isEmpty() ? QStringList() : QStringList{c.message});
        expectFolderMatchesList();
    }
}

TEST_F(DocumentIncludedFiles, TheQuestionForATakenNameQuotesIt)
{
    doc->addIncludedFiles({source(QStringLiteral("bild.png"))});
    prompt.giveInput(std::nullopt);
    doc->addIncludedFiles({source(QStringLiteral("bild.png"))});
    ASSERT_EQ(prompt.shown().size(), 1);
    EXPECT_EQ(prompt.shown()[0].caption, QStringLiteral("Name bereits belegt"));
    EXPECT_EQ(prompt.shown()[0].text,
              QStringLiteral("Eine Datei mit dem Namen \"bild.png\" ist bereits vorhanden. Geben "
                             "Sie einen anderen Namen ein.\nbild.png"));
}

TEST_F(DocumentIncludedFiles, SeveralFilesAtOnceEndSortedAndAStrayFileIsReplaced)
{
    writeFileBytes(folder + QStringLiteral("mitte.txt"), "alte Reste");
    const QList<TInclFile *> added = doc->addIncludedFiles(
        {source(QStringLiteral("zeta.txt")), source(QStringLiteral("Alpha.txt")),
         source(QStringLiteral("mitte.txt"), QByteArray("")), source(QStringLiteral("Äther.txt"))});
    EXPECT_EQ(added.size(), 4);
    EXPECT_EQ(names(), (QStringList{"Alpha.txt", "Äther.txt", "mitte.txt", "zeta.txt"}));
    EXPECT_EQ(file("mitte.txt")->Size, 0);
    EXPECT_EQ(readFileBytes(folder + QStringLiteral("mitte.txt")), QByteArray());
    expectFolderMatchesList();
}

TEST_F(DocumentIncludedFiles, RenameMovesTheStoredFileOrChangesNothing)
{
    struct Case {
        QByteArray name;
        bool renamed;
        QString message; // caption
    } cases[] = {
        {"b.png", true, {}},
        {"A.PNG", true, {}}, // the file system tells letter case apart
        {"", false, {}},
        {"c.png", false, {}},
        {"a.png", false, {}},
        {"x/y.png", false, kInvalidName},
        {"..", false, kInvalidName},
        {".", false, kInvalidName},
        {"a\\b.png", false, kInvalidName},
        {QByteArray("nul\0.png", 8), false, kInvalidName},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        doc.reset();
        prompt = {};
        doc.emplace(folder, "anna", prompt, progress);
        doc->addIncludedFiles({source(QStringLiteral("a.png")), source(QStringLiteral("c.png"))});
        TTipItem *item =
            doc->appendNode(nullptr, "Eintrag", std::make_unique<TTipItem>())->item();
        item->Code = "%file%a.png>";
        doc->setModified(false);
        TInclFile *a = file("a.png");
        EXPECT_EQ(doc->renameIncludedFile(a, c.name), c.renamed);
        EXPECT_EQ(a->Name, c.renamed ? c.name : QByteArray("a.png"));
        EXPECT_EQ(doc->isModified(), c.renamed);
        EXPECT_EQ(readFileBytes(doc->database().includedFilePath(a->Name)), QByteArray("a.png"));
        EXPECT_EQ(readFileBytes(folder + QStringLiteral("c.png")), QByteArray("c.png"));
        EXPECT_EQ(item->Code, QByteArray("%file%a.png>")) << "references keep the old name";
        QStringList sorted = names();
        std::stable_sort(sorted.begin(), sorted.end(), [](const QString &x, const QString &y) {
            return CompareTextsIgnoringCase(win1252::fromUnicode(x), win1252::fromUnicode(y)) < 0;
        });
        EXPECT_EQ(names(), sorted);
        EXPECT_EQ(prompt.shown().size(), c.message.isEmpty() ? 0 : 1);
        if (!c.message.isEmpty()) {
            EXPECT_EQ(prompt.shown()[0].caption, c.message);
        }
        expectFolderMatchesList();
    }
}

TEST_F(DocumentIncludedFiles, RemoveDeletesTheStoredFilesAndKeepsOneThatCannotBeDeleted)
{
    doc->addIncludedFiles({source(QStringLiteral("a.png")), source(QStringLiteral("b.png")),
                           source(QStringLiteral("c.png")), source(QStringLiteral("d.png"))});
    // A directory with something in it cannot be deleted as a file, not even by root.
    const QString stuck = folder + QStringLiteral("c.png");
    QFile::remove(stuck);
    QDir().mkpath(stuck + QStringLiteral("/inhalt"));
    doc->setModified(false);
    int announced = 0;
    QObject::connect(&*doc, &Document::includedFilesChanged, [&] { ++announced; });

    doc->removeIncludedFiles({file("a.png"), file("c.png"), file("d.png")});

    EXPECT_EQ(names(), (QStringList{"b.png", "c.png"}));
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("a.png")));
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("d.png")));
    ASSERT_EQ(prompt.shown().size(), 1);
    EXPECT_EQ(prompt.shown()[0].caption, QStringLiteral("Löschvorgang fehlgeschlagen"));
    EXPECT_EQ(prompt.shown()[0].text,
              QStringLiteral("Die Datei \"c.png\" konnte nicht gelöscht werden."));
    EXPECT_EQ(prompt.shown()[0].icon, UserPrompt::Icon::Warning);
    EXPECT_TRUE(doc->isModified());
    EXPECT_EQ(announced, 1);
}

} // namespace
