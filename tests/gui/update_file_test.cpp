#include "update/update_file.h"

#include "support/database_fixtures.h"
#include "support/gui_modal.h"
#include "support/scoped_env.h"
#include "support/scripted_prompt.h"
#include "text/date_value.h"
#include "update/update_settings.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

using namespace lexora;
using namespace lexora::test;

namespace {

class UpdateComponent : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(m_home.path()).mkpath(QStringLiteral("config/QZ")));
    }

    QString settingsFile() const { return m_home.filePath(QStringLiteral("config/QZ/Lexora.ini")); }
    void store(const QByteArray &values) { writeFileBytes(settingsFile(), "[General]\n" + values); }

    // Runs AutomaticUpdate; a wizard that comes is closed with "Abbrechen". Returns its result;
    // shown tells whether the wizard came.
    bool automaticUpdate(bool manual, bool &shown, const QString &extra = {})
    {
        shown = false;
        whenModal([&](QWidget *modal) {
            shown = modal->objectName() == QStringLiteral("TStatusForm");
            modal->findChild<QPushButton *>(QStringLiteral("Button_Cancel"))->click();
        }, 50);
        const bool end = m_component.AutomaticUpdate(extra, manual, 0);
        QTest::qWait(600); // let the check for a modal window run out when none came
        return end;
    }

    QTemporaryDir m_home;
    const ScopedEnv m_configHome{"XDG_CONFIG_HOME", m_home.filePath(QStringLiteral("config"))};
    const ScopedEnv m_cacheHome{"XDG_CACHE_HOME", m_home.filePath(QStringLiteral("cache"))};
    ScriptedPrompt m_prompt;
    QWidget m_owner;
    TQZUpdateFile m_component{m_prompt, &m_owner};
};

TEST_F(UpdateComponent, AtStartTheWizardComesOnlyWhenDueAndAServerIsNamed)
{
    const struct {
        const char *name;
        QByteArray values;
        bool shown;
    } cases[] = {
        {"first start without a server", "", false},
        {"first start", "UpdateServer=127.0.0.1:1\n", true},
        {"due yesterday", "UpdateServer=127.0.0.1:1\nUpdate=0000000000F9E540\n", true},
        {"NoUpdate", "UpdateServer=127.0.0.1:1\nNoUpdate=\n", false},
    };
    for (const auto &c : cases) {
        store(c.values);
        bool shown = false;
        EXPECT_FALSE(automaticUpdate(false, shown)) << c.name;
        EXPECT_EQ(shown, c.shown) << c.name;
    }

    // Due in the future: nothing.
    store("UpdateServer=127.0.0.1:1\n");
    UpdateSettings values(settingsFile());
    values.setDueDate(today() + 3);
    values.save();
    bool shown = false;
    automaticUpdate(false, shown);
    EXPECT_FALSE(shown) << "not due before the day after the due date";
}

TEST_F(UpdateComponent, AtStartTheProgramPathIsRecorded)
{
    bool shown = false;
    automaticUpdate(false, shown, QStringLiteral("--minimiert"));
    const QString path = QCoreApplication::applicationFilePath();
    EXPECT_EQ(UpdateSettings(settingsFile()).applicationFileName(), u'"' + path + QStringLiteral("\" --minimiert"));
    automaticUpdate(false, shown);
    EXPECT_EQ(UpdateSettings(settingsFile()).applicationFileName(), u'"' + path + u'"');

    // Not on Ctrl+U.
    store({});
    automaticUpdate(true, shown);
    EXPECT_TRUE(UpdateSettings(settingsFile()).applicationFileName().isEmpty());
}

TEST_F(UpdateComponent, OnlyUpdateShowsTheWizardAndEndsTheProgram)
{
    store("OnlyUpdate=1\nNoUpdate=\nUpdateServer=127.0.0.1:1\n");
    bool shown = false;
    EXPECT_TRUE(automaticUpdate(false, shown));
    EXPECT_TRUE(shown);
    // On Ctrl+U the running program goes on.
    EXPECT_FALSE(automaticUpdate(true, shown));
    EXPECT_TRUE(shown);
}

TEST_F(UpdateComponent, CtrlUShowsTheWizardWhichFindsNoConnectionWithoutAServer)
{
    store("NoUpdate=\n");
    EXPECT_EQ(m_component.action()->shortcut(), QKeySequence(QStringLiteral("Ctrl+U")));
    QSignalSpy ends(&m_component, &TQZUpdateFile::programEndRequested);
    bool shown = false;
    whenModal([&](QWidget *modal) {
        shown = true;
        modal->findChild<QPushButton *>(QStringLiteral("Button_Next"))->click();
        modal->findChild<QPushButton *>(QStringLiteral("Button_Check"))->click();
        modal->findChild<QPushButton *>(QStringLiteral("Button_Cancel"))->click();
    });
    m_component.action()->trigger();
    EXPECT_TRUE(shown);
    EXPECT_EQ(m_prompt.messages(), QStringList{QStringLiteral("Es besteht keine Internetverbindung.")});
    EXPECT_TRUE(ends.isEmpty());
}

} // namespace
