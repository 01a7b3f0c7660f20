#include "database/file_format.h"
#include "database/open_database.h"
#include "support/database_fixtures.h"
#include "support/error.h"
#include "support/scripted_prompt.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lexora;
using namespace lexora::test;

namespace {

// An open, modified, encrypted database named after a good file, about to open another file.
class OpenDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db.IncludedFilesFolder = dir.filePath(QStringLiteral("files/"));
        QDir().mkpath(db.IncludedFilesFolder);
        buildVariedDatabase(db);
        db.Encrypted = true;
        db.Password = "pw";
        good = dir.filePath(QStringLiteral("gut.lxd"));
        NoProgress progress;
        SaveDatabase(db, good, false, progress);
        db.CurrentFileName = good;
        db.DatabaseModified = true;
    }

    bool open(const QString &file)
    {
        NoProgress progress;
        return OpenDatabase(db, file, prompt, progress) == LoadResult::Read;
    }

    QTemporaryDir dir;
    Database db;
    QString good;
    ScriptedPrompt prompt;
};

} // namespace

TEST_F(OpenDatabaseTest, NamesTheDatabaseWithTheAbsolutePath)
{
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    prompt.givePassword("pw");
    ASSERT_TRUE(open(QStringLiteral("./files/../gut.lxd")));
    EXPECT_EQ(db.CurrentFileName, good);
    EXPECT_FALSE(db.DatabaseModified);
    EXPECT_TRUE(db.Encrypted);
    EXPECT_EQ(db.topLevel().childCount(), 4); // cleared first, not merged twice
}

TEST_F(OpenDatabaseTest, RefusedFileLeavesAnEmptyUnnamedUnencryptedDatabase)
{
    // A wrong password refuses the file with an Error, a password not given is no failure.
    for (const QByteArray &answer : {QByteArray("falsch"), QByteArray()}) {
        SCOPED_TRACE(answer.toStdString());
        db.DatabaseModified = true;
        prompt.givePassword(answer);
        bool read = true;
        const std::optional<Error> error = thrownError([&] { read = open(good); });
        if (answer.isEmpty()) {
            EXPECT_FALSE(error);
            EXPECT_FALSE(read);
        } else {
            ASSERT_TRUE(error);
            EXPECT_EQ(error->kind(), Error::Kind::WrongPassword);
        }
        EXPECT_TRUE(db.CurrentFileName.isEmpty());
        EXPECT_FALSE(db.Encrypted);
        EXPECT_TRUE(db.Password.isEmpty());
        EXPECT_EQ(db.topLevel().childCount(), 0);
        EXPECT_FALSE(db.DatabaseModified);
    }
}

TEST_F(OpenDatabaseTest, DamagedFileLeavesTheDatabaseUnnamed)
{
    const QByteArray bytes = readFileBytes(good);
    const QString damaged = dir.filePath(QStringLiteral("kaputt.lxd"));
    writeFileBytes(damaged, bytes.left(bytes.size() - 20));
    prompt.givePassword("pw");
    EXPECT_THROW(open(damaged), Error);
    // A later save must not overwrite any file with the part that was read.
    EXPECT_TRUE(db.CurrentFileName.isEmpty());
    EXPECT_EQ(readFileBytes(good), bytes);
}
