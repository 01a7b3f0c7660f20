// Recovery copies: written like a save (encrypted as the database is) into a private folder,
// offered while they hold changes their file lacks, opened as the modified database of their
// file, and gone once that file is saved.
#include "document/recovery_copies.h"

#include "database/win1252.h"
#include "document/document.h"
#include "support/database_fixtures.h"
#include "support/scripted_prompt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <optional>

using namespace lexora;
using namespace lexora::test;

namespace {

class RecoveryCopiesTest : public ::testing::Test {
protected:
    RecoveryCopiesTest()
    {
        QDir().mkpath(dir.filePath("files"));
        doc.emplace(dir.filePath("files") + '/', "anna", prompt, progress);
    }
    Node *addItem(const char *title, const char *code)
    {
        auto item = doc->newTipItem();
        item->Code = code;
        return doc->appendNode(nullptr, win1252::fromUnicode(QString::fromUtf8(title)), std::move(item));
    }

    QTemporaryDir dir;
    ScriptedPrompt prompt;
    NoProgress progress;
    std::optional<Document> doc;
    RecoveryCopies copies{dir.filePath("state/Recovery/")};
};

TEST_F(RecoveryCopiesTest, ACopyHoldsTheUnsavedChangesOfItsFileUntilTheFileIsSaved)
{
    const QString file = dir.filePath("notizen.lxd");
    addItem("Gespeichert", "alt");
    doc->saveAs(file);
    addItem("Ungespeichert", "neu");
    QThread::msleep(20); // the copy is newer than its file
    copies.write(*doc, 1);
    EXPECT_TRUE(doc->isModified()) << "writing the copy saves nothing";
    EXPECT_EQ(doc->currentFileName(), file);
    EXPECT_EQ(QFileInfo(dir.filePath("state/Recovery")).permissions() & 0x0077, 0)
        << "only the user may look into the folder";

    const std::vector<RecoveryCopies::Copy> pending = copies.pending();
    ASSERT_EQ(pending.size(), 1u);
    EXPECT_EQ(pending[0].fileName, file);
    const std::string before = describeDatabase(doc->database());

    // The next program: its database is the file, without the changes.
    doc.emplace(dir.filePath("files") + '/', "anna", prompt, progress);
    doc->open(file);
    ASSERT_EQ(doc->recover(pending[0].path, pending[0].fileName), Document::OpenResult::Opened);
    EXPECT_EQ(describeDatabase(doc->database()), before);
    EXPECT_EQ(doc->currentFileName(), file);
    EXPECT_TRUE(doc->isModified());
    EXPECT_FALSE(doc->canUndo());

    doc->save([] { return std::nullopt; });
    copies.remove(file, 1);
    EXPECT_TRUE(copies.pending().empty());
}

TEST_F(RecoveryCopiesTest, WhatIsOfferedAndWhatIsNot)
{
    // An unnamed database's copy is offered; a copy older than its file is not; a file that
    // is gone leaves its copy offered.
    addItem("Ohne Namen", "x");
    copies.write(*doc, 3);
    doc->newDatabase({});
    const QString older = dir.filePath("neuer.lxd");
    doc->saveAs(older);
    addItem("A", "a");
    copies.write(*doc, 3);
    QThread::msleep(20);
    doc->saveAs(older); // the file got the changes after the copy was written
    const QString gone = dir.filePath("weg.lxd");
    doc->saveAs(gone);
    addItem("B", "b");
    copies.write(*doc, 3);
    QFile::remove(gone);

    QStringList offered;
    for (const RecoveryCopies::Copy &copy : copies.pending())
        offered.append(copy.fileName);
    offered.sort();
    EXPECT_EQ(offered, (QStringList{QString(), gone}));
}

TEST_F(RecoveryCopiesTest, TheCopyOfAnEncryptedDatabaseIsEncrypted)
{
    addItem("Geheim", "Kennwort-Notiz");
    doc->setEncryption(true, EncryptionMode::Compatible, SecretBytes("pw"));
    copies.write(*doc, 1);
    const std::vector<RecoveryCopies::Copy> pending = copies.pending();
    ASSERT_EQ(pending.size(), 1u);
    QFile copy(pending[0].path);
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_FALSE(copy.readAll().contains("Kennwort-Notiz"));

    doc.emplace(dir.filePath("files") + '/', "anna", prompt, progress);
    prompt.givePassword("pw");
    ASSERT_EQ(doc->recover(pending[0].path, {}), Document::OpenResult::Opened);
    EXPECT_TRUE(doc->database().Encrypted);
    EXPECT_EQ(doc->database().topLevel().child(0)->item()->Code, "Kennwort-Notiz");
}

} // namespace
