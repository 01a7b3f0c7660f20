// Backups on save: the file a save replaces is kept byte for byte in a private folder, the
// newest ones of each database stay, and a backup that cannot be made is told while the save
// goes on.
#include "document/backups.h"

#include "database/win1252.h"
#include "document/document.h"
#include "support/database_fixtures.h"
#include "support/scripted_prompt.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <optional>

using namespace lexora;
using namespace lexora::test;

namespace {

class BackupsTest : public ::testing::Test {
protected:
    BackupsTest()
    {
        QDir().mkpath(dir.filePath("files"));
        doc.emplace(dir.filePath("files") + '/', "anna", prompt, progress);
        doc->setBackups(Backups(backupFolder, 3));
    }
    void change(const char *title)
    {
        doc->appendNode(nullptr, title, doc->newTipItem());
        // Backups are named after the millisecond they are taken in.
        QThread::msleep(5);
    }
    std::vector<QByteArray> backupBytes() const
    {
        std::vector<QByteArray> bytes;
        for (const Backups::Backup &b : Backups(backupFolder, 3).all())
            bytes.push_back(readFileBytes(b.path));
        return bytes;
    }

    QTemporaryDir dir;
    const QString backupFolder = dir.filePath("data/Lexora/Backups/");
    ScriptedPrompt prompt;
    NoProgress progress;
    std::optional<Document> doc;
};

const auto noName = [] { return std::optional<QString>(); };

TEST_F(BackupsTest, EachSaveKeepsTheFileItReplacesAndTheNewestStay)
{
    const QString file = dir.filePath("notizen.lxd");
    change("1");
    doc->saveAs(file);
    EXPECT_TRUE(backupBytes().empty()) << "a new file replaces nothing";
    std::vector<QByteArray> versions{readFileBytes(file)};
    for (const char *title : {"2", "3", "4", "5"}) {
        change(title);
        ASSERT_TRUE(doc->save(noName));
        versions.push_back(readFileBytes(file));
    }
    // Newest first: the versions before the last three saves, byte for byte.
    EXPECT_EQ(backupBytes(), (std::vector<QByteArray>{versions[3], versions[2], versions[1]}));
    const std::vector<Backups::Backup> all = Backups(backupFolder, 3).all();
    EXPECT_EQ(all.front().fileName, file);
    EXPECT_EQ(all.front().size, versions[3].size());
    EXPECT_EQ(QFileInfo(backupFolder).permissions() & 0x0077, 0) << "only the user may look in";
    EXPECT_TRUE(prompt.shown().isEmpty());
}

TEST_F(BackupsTest, SaveAsOverAnotherFileKeepsThatFileEncryptedAsItWas)
{
    const QString other = dir.filePath("andere.lxd");
    change("geheim");
    doc->setEncryption(true, EncryptionMode::Compatible, SecretBytes("pw"));
    doc->saveAs(other);
    const QByteArray encrypted = readFileBytes(other);
    doc->newDatabase({});
    change("neu");
    doc->saveAs(other);
    EXPECT_EQ(backupBytes(), std::vector<QByteArray>{encrypted}) << "the encrypted bytes, not a plain copy";
}

TEST_F(BackupsTest, ABackupThatCannotBeMadeIsToldAndTheSaveGoesOn)
{
    const QString file = dir.filePath("notizen.lxd");
    change("1");
    doc->saveAs(file);
    // The backup folder's place is taken by a file.
    QDir().mkpath(dir.filePath("data/Lexora"));
    writeFileBytes(dir.filePath("data/Lexora/Backups"), "kein Ordner");
    change("2");
    ASSERT_TRUE(doc->save(noName));
    EXPECT_FALSE(doc->isModified());
    ASSERT_EQ(prompt.shown().size(), 1);
    EXPECT_EQ(prompt.shown()[0].caption, QStringLiteral("Sicherungskopie"));
    EXPECT_TRUE(prompt.shown()[0].text.contains(QStringLiteral("Die Datei wird trotzdem gespeichert.")));
}

} // namespace
