#include "update/update_folder.h"

#include "support/error.h"
#include "support/scoped_env.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace lexora;
using lexora::test::ScopedEnv;

namespace {

mode_t modeOf(const QString &path)
{
    struct stat st;
    return lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

TEST(PrivateUpdateFolder, IsMadeOnlyForTheUser)
{
    QTemporaryDir root;
    const QString folder = root.filePath(QStringLiteral("cache/Lexora/Update"));
    EXPECT_EQ(preparePrivateFolder(folder), folder + u'/');
    EXPECT_EQ(modeOf(folder), mode_t(0700));

    // A folder that someone made open to all is closed again.
    ASSERT_EQ(chmod(QFile::encodeName(folder).constData(), 0777), 0);
    EXPECT_EQ(preparePrivateFolder(folder), folder + u'/');
    EXPECT_EQ(modeOf(folder), mode_t(0700));
}

TEST(PrivateUpdateFolder, LiesInTheCacheFolder)
{
    QTemporaryDir cache;
    const ScopedEnv cacheHome("XDG_CACHE_HOME", cache.path());
    EXPECT_EQ(privateUpdateFolder(), cache.path() + QStringLiteral("/Lexora/Update/"));
}

TEST(PrivateUpdateFolder, RefusesFoldersOthersCouldSwap)
{
    QTemporaryDir root;
    const QString shared = root.filePath(QStringLiteral("shared"));
    ASSERT_TRUE(QDir().mkpath(shared));
    ASSERT_EQ(chmod(QFile::encodeName(shared).constData(), 0777), 0);
    EXPECT_THROW(preparePrivateFolder(shared + QStringLiteral("/Update")), Error) << "world-writable parent";

    // Sticky like /tmp: others cannot rename what is ours.
    ASSERT_EQ(chmod(QFile::encodeName(shared).constData(), 01777), 0);
    EXPECT_NO_THROW(preparePrivateFolder(shared + QStringLiteral("/Update")));

    const QString elsewhere = root.filePath(QStringLiteral("elsewhere"));
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    const QString link = root.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(elsewhere, link));
    EXPECT_THROW(preparePrivateFolder(link), Error) << "the folder is a symbolic link";

    const QString file = root.filePath(QStringLiteral("file"));
    QFile(file).open(QIODevice::WriteOnly);
    EXPECT_THROW(preparePrivateFolder(file), Error) << "a file in the folder's place";
}

} // namespace
