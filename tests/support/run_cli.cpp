#include "run_cli.h"

#include <QProcess>
#include <QTemporaryDir>

namespace lexora::test {

CliRun runCli(const QStringList &arguments, const QString &home)
{
    static QTemporaryDir testHome;
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LEXORA_HOME"), home.isEmpty() ? testHome.path() : home);
    process.setProcessEnvironment(env);
    process.setProgram(QStringLiteral(LEXORA_CLI_PATH));
    process.setArguments(arguments);
    process.start();
    process.closeWriteChannel();
    process.waitForFinished(-1);
    CliRun run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

} // namespace lexora::test
