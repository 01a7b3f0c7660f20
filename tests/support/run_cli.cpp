#include "run_cli.h"

#include <QProcess>

namespace lexora::test {

CliRun runCli(const QStringList &arguments)
{
    QProcess process;
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
