#include "setup/home_folder.h"

#include "database/default_database.h"
#include "support/error.h"

#include "support/database_fixtures.h"
#include "support/scoped_env.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lexora;
using lexora::test::readFileBytes;
using lexora::test::ScopedEnv;
using lexora::test::writeFileBytes;

namespace {

class HomeFolder : public ::testing::Test {
protected:
    QString sub(const QString &name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

TEST_F(HomeFolder, IsChosenByOverridePortableUseOrDataFolder)
{
    const QString program = sub(QStringLiteral("bin"));
    ASSERT_TRUE(QDir().mkpath(program));
    const ScopedEnv data("XDG_DATA_HOME", sub(QStringLiteral("data")));

    {
        const ScopedEnv home("LEXORA_HOME", sub(QStringLiteral("override")));
        EXPECT_EQ(homeFolder(program), sub(QStringLiteral("override/")));
    }
    const ScopedEnv noOverride("LEXORA_HOME", QString());
    EXPECT_EQ(homeFolder(program), sub(QStringLiteral("data/Lexora/")));
    EXPECT_FALSE(QFileInfo::exists(sub(QStringLiteral("data/Lexora")))); // not created here

    ASSERT_TRUE(QDir().mkpath(program + QStringLiteral("/Templates")));
    EXPECT_EQ(homeFolder(program), program + u'/');
    ASSERT_TRUE(QDir(program).rmdir(QStringLiteral("Templates")));

    writeFileBytes(program + QStringLiteral("/Settings.ini"), "[View]\n");
    EXPECT_EQ(homeFolder(program), program + u'/');
}

TEST_F(HomeFolder, FirstStartWritesTheDefaultDatabase)
{
    const QString home = sub(QStringLiteral("new home"));
    const QString templates = setUpTemplatesFolder(home);
    EXPECT_EQ(templates, home + QStringLiteral("/Templates/"));
    const QByteArray written = readFileBytes(templates + QStringLiteral("Default.lxd"));
    EXPECT_EQ(written.size(), 2055);
    EXPECT_EQ(written, DefaultDatabaseBytes());
}

TEST_F(HomeFolder, AnExistingTemplatesFolderIsLeftAsItIs)
{
    const QString home = m_dir.path();
    ASSERT_TRUE(QDir().mkpath(home + QStringLiteral("/Templates")));
    setUpTemplatesFolder(home);
    EXPECT_FALSE(QFileInfo::exists(home + QStringLiteral("/Templates/Default.lxd")));

    writeFileBytes(home + QStringLiteral("/Templates/Default.lxd"), "changed by the user");
    setUpTemplatesFolder(home);
    EXPECT_EQ(readFileBytes(home + QStringLiteral("/Templates/Default.lxd")), "changed by the user");
}

TEST_F(HomeFolder, AFolderThatCannotBeCreatedIsAnError)
{
    writeFileBytes(sub(QStringLiteral("plain file")), "x");
    EXPECT_THROW(setUpTemplatesFolder(sub(QStringLiteral("plain file/home"))), Error);
}

} // namespace
