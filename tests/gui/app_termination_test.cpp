// The desktop program asked to end by the system (SIGTERM, SIGHUP, SIGINT): it ends with its
// closing work, without a question: the settings are written and no lock file of its instance
// stays behind.
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

struct Signal {
    const char *name;
    int number;
};

TEST(AppTermination, TheProgramEndsWithItsClosingWork)
{
    for (const Signal s : {Signal{"SIGTERM", SIGTERM}, Signal{"SIGHUP", SIGHUP}, Signal{"SIGINT", SIGINT}}) {
        SCOPED_TRACE(s.name);
        QTemporaryDir home;
        QProcess lexora;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LEXORA_HOME", home.path());
        env.insert("XDG_DATA_HOME", home.filePath("data"));
        env.insert("XDG_STATE_HOME", home.filePath("state"));
        lexora.setProcessEnvironment(env);
        lexora.start(LEXORA_APP_PATH, {});
        ASSERT_TRUE(lexora.waitForStarted(20000));
        // The instance holds its number once the program is up; its window shows just after.
        const QString lock = home.filePath("Included Files/1.lock");
        QElapsedTimer waited;
        waited.start();
        while (!QFileInfo::exists(lock) && waited.elapsed() < 30000)
            QThread::msleep(50);
        ASSERT_TRUE(QFileInfo::exists(lock));
        QThread::msleep(3000);
        ASSERT_EQ(lexora.state(), QProcess::Running);
        const QString settings = home.filePath("Settings.ini");
        const QDateTime settingsBefore = QFileInfo(settings).lastModified();

        ::kill(pid_t(lexora.processId()), s.number);
        ASSERT_TRUE(lexora.waitForFinished(30000));
        EXPECT_EQ(lexora.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(lexora.exitCode(), 0);
        ASSERT_TRUE(QFileInfo::exists(settings));
        EXPECT_TRUE(!settingsBefore.isValid() || QFileInfo(settings).lastModified() > settingsBefore)
            << "the settings are written at the end";
        EXPECT_EQ(QDir(home.filePath("Included Files")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList()) << "no lock file, record or folder of the instance stays";
    }
}

} // namespace
