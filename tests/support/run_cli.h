#pragma once

#include <QByteArray>
#include <QStringList>

namespace lexora::test {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs lexora-cli with the arguments and waits for it to end; stdin is empty.
CliRun runCli(const QStringList &arguments);

} // namespace lexora::test
