#include "update/install_preparation.h"
#include "update/zip_extract.h"

#include "support/database_fixtures.h"
#include "support/error.h"
#include "support/zip_fixtures.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lexora;
using namespace lexora::test;

namespace {

// Every file below root, relative to it, sorted.
QStringList filesBelow(const QString &root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

class ZipExtract : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(QDir(m_root.path()).mkpath(QStringLiteral("box/into"))); }
    // The archive lies beside the target folder; both lie in the box, so anything written outside
    // the target is seen.
    QString archive() const { return m_root.filePath(QStringLiteral("box/LX.zip")); }
    QString target() const { return m_root.filePath(QStringLiteral("box/into/")); }

    QTemporaryDir m_root;
};

TEST_F(ZipExtract, FilesLandInTheFolderWithoutTheirFolders)
{
    ASSERT_NO_FATAL_FAILURE(writeZip(archive(), {{QStringLiteral("Update.bat"), "script"},
                                                 {QStringLiteral("bin/"), {}, 040755},
                                                 {QStringLiteral("bin/lexora"), "program", 0100755},
                                                 {QStringLiteral("a/b/Änderungen.txt"), "ä"},
                                                 {QStringLiteral("../x"), "up"},
                                                 {QStringLiteral("win\\dir\\y"), "back"},
                                                 {QStringLiteral("empty"), {}}}));
    EXPECT_EQ(extractArchive(archive(), target()),
              (QStringList{QStringLiteral("Update.bat"), QStringLiteral("lexora"), QStringLiteral("Änderungen.txt"),
                           QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("empty")}));
    EXPECT_EQ(filesBelow(m_root.path()),
              (QStringList{QStringLiteral("box/LX.zip"), QStringLiteral("box/into/Update.bat"),
                           QStringLiteral("box/into/empty"), QStringLiteral("box/into/lexora"),
                           QStringLiteral("box/into/x"), QStringLiteral("box/into/y"),
                           QStringLiteral("box/into/Änderungen.txt")}));
    EXPECT_EQ(readFileBytes(target() + QStringLiteral("lexora")), "program");
    EXPECT_EQ(readFileBytes(target() + QStringLiteral("x")), "up");
    EXPECT_TRUE(QFileInfo(target() + QStringLiteral("lexora")).isExecutable());
    EXPECT_FALSE(QFileInfo(target() + QStringLiteral("Update.bat")).isExecutable());
    EXPECT_EQ(QFile::permissions(target() + QStringLiteral("Update.bat")),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
}

TEST_F(ZipExtract, DangerousEntriesRefuseTheWholeArchive)
{
    const struct {
        const char *name;
        QList<ZipEntry> entries;
    } cases[] = {
        {"absolute path", {{QStringLiteral("Update.bat"), "s"}, {QStringLiteral("/etc/x"), "root"}}},
        {"absolute Windows path", {{QStringLiteral("Update.bat"), "s"}, {QStringLiteral("C:\\x"), "root"}}},
        {"symbolic link", {{QStringLiteral("Update.bat"), "s"}, {QStringLiteral("link"), "/etc/passwd", 0120777}}},
        {"no name", {{QStringLiteral("Update.bat"), "s"}, {QString(), "nameless"}}},
        {"a name that is only a way up", {{QStringLiteral("Update.bat"), "s"}, {QStringLiteral("a/.."), "x"}}},
        {"all three at once",
         {{QStringLiteral("../x"), "up"}, {QStringLiteral("/etc/x"), "root"}, {QStringLiteral("l"), "../../x", 0120777}}},
    };
    for (const auto &c : cases) {
        ASSERT_NO_FATAL_FAILURE(writeZip(archive(), c.entries)) << c.name;
        EXPECT_THROW(extractArchive(archive(), target()), Error) << c.name;
        EXPECT_EQ(filesBelow(m_root.path()), QStringList{QStringLiteral("box/LX.zip")}) << c.name;
    }
}

TEST_F(ZipExtract, UnpackedSizeIsBounded)
{
    ASSERT_NO_FATAL_FAILURE(writeZip(archive(), {{QStringLiteral("a"), QByteArray(600, 'a')},
                                                 {QStringLiteral("b"), QByteArray(600, 'b')}}));
    EXPECT_THROW(extractArchive(archive(), target(), 1000), Error);
    EXPECT_EQ(extractArchive(archive(), target(), 1200).size(), 2);
}

TEST_F(ZipExtract, BrokenArchivesGiveAGermanMessage)
{
    const struct {
        const char *name;
        QByteArray bytes;
        const char *says;
    } cases[] = {
        {"not a ZIP", "Das ist kein Archiv", "kein ZIP-Archiv"},
        {"empty file", "", "kein ZIP-Archiv"},
    };
    for (const auto &c : cases) {
        writeFileBytes(archive(), c.bytes);
        try {
            extractArchive(archive(), target());
            ADD_FAILURE() << c.name << ": no error";
        } catch (const Error &e) {
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.says))) << c.name << ": " << e.what();
        }
    }
    // A ZIP cut in the middle of its data.
    ASSERT_NO_FATAL_FAILURE(writeZip(archive(), {{QStringLiteral("a"), QByteArray(5000, 'x')}}));
    writeFileBytes(archive(), readFileBytes(archive()).left(60));
    EXPECT_THROW(extractArchive(archive(), target()), Error);
    try {
        extractArchive(m_root.filePath(QStringLiteral("missing.zip")), target());
        ADD_FAILURE() << "no error for a missing archive";
    } catch (const Error &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("missing.zip"))) << e.what();
    }
}

class InstallPreparationTest : public ZipExtract {
protected:
    BatchPaths paths() const
    {
        return {m_root.filePath(QStringLiteral("program/")), target(), m_root.filePath(QStringLiteral("program/lexora"))};
    }
    QString zip() const { return target() + QStringLiteral("LX.zip"); }
};

TEST_F(InstallPreparationTest, UnpacksFillsTheScriptAndDeletesTheArchive)
{
    writeFileBytes(target() + QStringLiteral("Update.bat"), "an old script");
    ASSERT_NO_FATAL_FAILURE(writeZip(zip(), {{QStringLiteral("Update.bat"), "# lexora\nrm -f \"%sold\"\n"
                                                                             "true\ncp \"%snew\" \"%snew\"\n"},
                                             {QStringLiteral("new"), "new program"}}));
    EXPECT_EQ(prepareInstallation(paths(), QStringLiteral("LX.zip"), false), InstallPreparation::Prepared);
    EXPECT_FALSE(QFile::exists(zip()));
    EXPECT_EQ(readFileBytes(target() + QStringLiteral("new")), "new program");
    EXPECT_EQ(readFileBytes(target() + QStringLiteral("Update.bat")),
              "# lexora\nrm -f \"" + paths().programFolder.toUtf8() + "old\"\ntrue\ncp \"" + target().toUtf8()
                  + "new\" \"" + paths().programFolder.toUtf8() + "new\"\nrm -f \"" + target().toUtf8()
                  + "Update.bat\"\n");
}

TEST_F(InstallPreparationTest, MissingArchiveOrScript)
{
    EXPECT_EQ(prepareInstallation(paths(), QStringLiteral("LX.zip"), true), InstallPreparation::ArchiveMissing);

    // An archive without its script: a script left from before must not be taken for it.
    writeFileBytes(target() + QStringLiteral("Update.bat"), "an old script");
    ASSERT_NO_FATAL_FAILURE(writeZip(zip(), {{QStringLiteral("new"), "new program"}}));
    EXPECT_THROW(prepareInstallation(paths(), QStringLiteral("LX.zip"), true), Error);
    EXPECT_FALSE(QFile::exists(target() + QStringLiteral("Update.bat")));
}

} // namespace
