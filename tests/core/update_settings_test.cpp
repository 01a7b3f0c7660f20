#include "update/update_settings.h"

#include "support/database_fixtures.h"
#include "support/error.h"
#include "support/scoped_env.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

using namespace lexora;
using lexora::test::readFileBytes;
using lexora::test::ScopedEnv;
using lexora::test::writeFileBytes;

namespace {

class UpdateSettingsStore : public ::testing::Test {
protected:
    // In a folder that does not exist yet: saving makes it.
    QString file() const { return m_dir.filePath(QStringLiteral("QZ/Lexora.ini")); }
    void writeStore(const QByteArray &text)
    {
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("QZ")));
        writeFileBytes(file(), text);
    }
    QTemporaryDir m_dir;
};

TEST_F(UpdateSettingsStore, EmptyStoreHasNothing)
{
    const UpdateSettings store(file());
    EXPECT_FALSE(store.dueDate());
    EXPECT_FALSE(store.updateInterval());
    EXPECT_FALSE(store.noUpdate());
    EXPECT_FALSE(store.onlyUpdate());
    EXPECT_TRUE(store.updateServer().isEmpty());
}

TEST_F(UpdateSettingsStore, ValuesAreWrittenUnderTheirNamesInGeneral)
{
    {
        UpdateSettings store(file());
        store.setDueDate(45000.0);
        store.setUpdateInterval(14);
        store.setNoUpdate(true);
        store.setApplicationFileName(QStringLiteral("\"/opt/lexora/lexora\" --x"));
        store.save();
    }
    const QByteArray text = readFileBytes(file());
    EXPECT_TRUE(text.startsWith("[General]\n")) << text.constData();
    // The REG_BINARY bytes of the double, little-endian: 45000.0 is 0x40E5F90000000000.
    EXPECT_TRUE(text.contains("\nUpdate=0000000000F9E540\n")) << text.constData();
    EXPECT_TRUE(text.contains("\nUpdateInterval=14\n")) << text.constData();
    EXPECT_TRUE(text.contains("\nNoUpdate=\n")) << text.constData();

    const UpdateSettings again(file());
    EXPECT_EQ(again.dueDate(), 45000.0);
    EXPECT_EQ(again.updateInterval(), 14);
    EXPECT_TRUE(again.noUpdate());
    EXPECT_EQ(again.applicationFileName(), QStringLiteral("\"/opt/lexora/lexora\" --x"));
}

TEST_F(UpdateSettingsStore, RemovingValuesAndKeepingOthers)
{
    writeStore("[General]\nNoUpdate=\nUpdateInterval=9\nOnlyUpdate=1\n"
                           "UpdateServer=https://updates.example.org:8443\nSomethingElse=kept\n");
    {
        UpdateSettings store(file());
        EXPECT_TRUE(store.onlyUpdate());
        EXPECT_EQ(store.updateServer(), QStringLiteral("https://updates.example.org:8443"));
        store.setNoUpdate(false);
        store.removeUpdateInterval();
        store.save();
    }
    const QByteArray text = readFileBytes(file());
    EXPECT_FALSE(text.contains("NoUpdate")) << text.constData();
    EXPECT_FALSE(text.contains("UpdateInterval")) << text.constData();
    EXPECT_TRUE(text.contains("SomethingElse=kept")) << text.constData();
    EXPECT_TRUE(text.contains("OnlyUpdate=1")) << text.constData();
}

TEST_F(UpdateSettingsStore, MalformedValuesCountAsMissing)
{
    const struct {
        const char *line;
        bool dueDate;
        bool interval;
    } cases[] = {
        {"Update=0000000000F9E540", true, false},
        {"Update=0000000000f9e540", true, false},
        {"Update=0000000000F9E5", false, false},       // too short
        {"Update=0000000000F9E540FF", false, false},   // too long
        {"Update=00000000zzF9E540", false, false},     // not hex
        {"Update=000000000000F07F", false, false},     // infinity
        {"Update=010000000000F87F", false, false},     // not a number
        {"UpdateInterval=abc", false, false},
        {"UpdateInterval= 12 ", false, true},
    };
    for (const auto &c : cases) {
        writeStore(QByteArray("[General]\n") + c.line + '\n');
        const UpdateSettings store(file());
        EXPECT_EQ(store.dueDate().has_value(), c.dueDate) << c.line;
        EXPECT_EQ(store.updateInterval().has_value(), c.interval) << c.line;
    }
}

TEST_F(UpdateSettingsStore, DueDateKeepsEveryBitOfTheDouble)
{
    for (const DateTime date : {0.0, -1.5, 45123.75, 2958465.999988426}) {
        UpdateSettings store(file());
        store.setDueDate(date);
        store.save();
        EXPECT_EQ(UpdateSettings(file()).dueDate(), date);
    }
}

TEST_F(UpdateSettingsStore, FailedWriteNamesTheFile)
{
    // A file where the store's folder should be: the store cannot be written.
    writeFileBytes(m_dir.filePath(QStringLiteral("blocked")), "x");
    UpdateSettings store(m_dir.filePath(QStringLiteral("blocked/Lexora.ini")));
    store.setNoUpdate(true);
    try {
        store.save();
        FAIL() << "no error";
    } catch (const Error &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("Lexora.ini"))) << e.what();
    }
}

TEST(UpdateSettingsFile, LiesInTheConfigFolderUnderQZ)
{
    QTemporaryDir config;
    const ScopedEnv configHome("XDG_CONFIG_HOME", config.path());
    EXPECT_EQ(updateSettingsFile(QStringLiteral("Lexora")), config.path() + QStringLiteral("/QZ/Lexora.ini"));
}

} // namespace
