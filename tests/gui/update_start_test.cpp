// The update component in the running program: Ctrl+U, the check at the start, and the end of
// the program that the wizard asks for.
#include "support/database_fixtures.h"
#include "support/gui_main_window.h"
#include "support/gui_modal.h"
#include "support/gui_activation.h"
#include "support/scoped_env.h"
#include "update/update_file.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>

using namespace lexora;
using namespace lexora::test;

namespace {

class UpdatesInTheProgram : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(QDir(home).mkpath(QStringLiteral("config/QZ")));
    }

    void store(const QByteArray &values)
    {
        writeFileBytes(home + QStringLiteral("config/QZ/Lexora.ini"), "[General]\n" + values);
    }

    // Closes the wizard with "Abbrechen" when it comes; wizardShown tells whether it came.
    void closeWizardWhenShown()
    {
        wizardShown = false;
        whenModal([this](QWidget *modal) {
            wizardShown = modal->objectName() == QStringLiteral("TStatusForm");
            modal->findChild<QPushButton *>(QStringLiteral("Button_Cancel"))->click();
        }, 50);
    }

    bool wizardShown = false;
    const ScopedEnv m_configHome{"XDG_CONFIG_HOME", homeDir.filePath(QStringLiteral("config"))};
    const ScopedEnv m_cacheHome{"XDG_CACHE_HOME", homeDir.filePath(QStringLiteral("cache"))};
    const ScopedEnv m_stateHome{"XDG_STATE_HOME", homeDir.filePath(QStringLiteral("state"))};
    const ScopedEnv m_dataHome{"XDG_DATA_HOME", homeDir.filePath(QStringLiteral("data"))};
};

TEST_F(UpdatesInTheProgram, CtrlUInTheMainWindowShowsTheWizard)
{
    start();
    ASSERT_TRUE(activate(window));
    closeWizardWhenShown();
    QTest::keyClick(window, Qt::Key_U, Qt::ControlModifier);
    EXPECT_TRUE(wizardShown);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(UpdatesInTheProgram, AtTheStartTheWizardComesWhenDueAndOnlyUpdateEndsTheProgram)
{
    const struct {
        const char *name;
        QByteArray values;
        bool shown;
        bool goOn;
    } cases[] = {
        {"no update server", "", false, true},
        {"first start with a server", "UpdateServer=127.0.0.1:1\n", true, true},
        {"NoUpdate", "UpdateServer=127.0.0.1:1\nNoUpdate=\n", false, true},
        {"OnlyUpdate", "UpdateServer=127.0.0.1:1\nNoUpdate=\nOnlyUpdate=1\n", true, false},
    };
    for (const auto &c : cases) {
        store(c.values);
        app = std::make_unique<WindowManager>(home, prompt, dialogs);
        window = &app->mainWindow();
        closeWizardWhenShown();
        EXPECT_EQ(app->startUp(), c.goOn) << c.name;
        QTest::qWait(600); // the wait for a modal window runs out when none came
        EXPECT_EQ(wizardShown, c.shown) << c.name;
        EXPECT_FALSE(window->isVisible()) << c.name << ": the main window shows only after the check";
        app->atProgramEnd();
        window = nullptr;
        app.reset();
    }
}

TEST_F(UpdatesInTheProgram, TheWizardsEndOfTheProgramAsksAboutUnsavedChanges)
{
    start();
    doc().newKey(nullptr);
    auto *component = window->findChild<TQZUpdateFile *>(QStringLiteral("QZUpdateFile"));
    ASSERT_NE(component, nullptr);

    prompt.answer(UserPrompt::Answer::Cancel);
    Q_EMIT component->programEndRequested();
    EXPECT_TRUE(window->isVisible()) << "cancelled: the program goes on";
    ASSERT_EQ(prompt.shown().size(), 1);
    EXPECT_EQ(prompt.shown().first().kind, QStringLiteral("question"));

    prompt.answer(UserPrompt::Answer::No);
    Q_EMIT component->programEndRequested();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(QFile::exists(home + QStringLiteral("Settings.ini"))) << "the closing work ran";
}

} // namespace
