#include "support/atomic_file.h"

#include "support/database_fixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace lexora;
using namespace lexora::test;

namespace {

bool writeAtomically(const QString &path, const QByteArray &bytes)
{
    AtomicFile file(path);
    return file.open() && file.device().write(bytes) == bytes.size() && file.commit();
}

mode_t permissions(const QString &path)
{
    struct stat st{};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

} // namespace

TEST(AtomicFile, ReplacesTheTargetKeepingItsPermissionsAndLinksAndLeavesNothingElse)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("daten.lxd"));

    // A new file gets what the umask leaves of rw for all.
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(writeAtomically(file, "eins"));
    EXPECT_EQ(permissions(file), mode_t(0644));
    ::umask(mask);

    // An existing file keeps its own permissions.
    ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner));
    ASSERT_TRUE(writeAtomically(file, "zwei"));
    EXPECT_EQ(readFileBytes(file), "zwei");
    EXPECT_EQ(permissions(file), mode_t(0600));

    // Through a link the link stays and its target gets the contents.
    const QString link = dir.filePath(QStringLiteral("verweis.lxd"));
    ASSERT_TRUE(QFile::link(file, link));
    ASSERT_TRUE(writeAtomically(link, "drei"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(readFileBytes(file), "drei");

    // Without commit the target stays as it was.
    {
        AtomicFile abandoned(file);
        ASSERT_TRUE(abandoned.open());
        abandoned.device().write("vier");
    }
    EXPECT_EQ(readFileBytes(file), "drei");

    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              (QStringList{QStringLiteral("daten.lxd"), QStringLiteral("verweis.lxd")}));
}
