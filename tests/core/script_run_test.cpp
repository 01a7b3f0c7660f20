#include "update/batch_template.h"
#include "update/script_run.h"

#include "support/database_fixtures.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using namespace lexora;
using namespace lexora::test;

namespace {

TEST(InstallScript, RunsAfterTheProgramHasEndedReplacesItsFileAndRemovesItself)
{
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("program")));
    ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("update")));
    const BatchPaths paths{root.filePath(QStringLiteral("program/")), root.filePath(QStringLiteral("update/")),
                           root.filePath(QStringLiteral("program/lexora"))};
    const QString program = paths.programFile;
    const QString script = paths.tempFolder + QStringLiteral("Update.bat");
    writeFileBytes(program, "old");
    writeFileBytes(paths.tempFolder + QStringLiteral("lexora"), "new");
    writeFileBytes(script, fillBatchTemplate("# the program\n"
                                             "rm -f \"%slexora.old\"\n"
                                             "cd \"%s\" && mv lexora lexora.old\n"
                                             "cp \"%slexora\" \"%slexora\"\n"
                                             " rm -f \"%slexora\"\n",
                                             paths, false));

    // The child stands for the program: the script must wait until it has ended.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (!runScriptAfterExit(script))
            _exit(2);
        QThread::msleep(300);
        _exit(readFileBytes(program) == "old" ? 0 : 3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "2: not started, 3: the script ran before the program ended";

    const QDeadlineTimer deadline(10000);
    while (QFile::exists(script) && !deadline.hasExpired())
        QThread::msleep(20);
    EXPECT_FALSE(QFile::exists(script)) << "the script removes itself";
    EXPECT_EQ(readFileBytes(program), "new");
    EXPECT_EQ(readFileBytes(program + QStringLiteral(".old")), "old");
    EXPECT_FALSE(QFile::exists(paths.tempFolder + QStringLiteral("lexora")));
}

} // namespace
