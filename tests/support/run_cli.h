#pragma once

#include <QByteArray>
#include <QStringList>

namespace lexora::test {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs lexora-cli with the arguments and waits for it to end; stdin is empty. Its home folder
// (LEXORA_HOME, where it keeps its instance's folders) is `home`, or else one temporary folder
// for the whole test program, so that tests never write into the user's own.
CliRun runCli(const QStringList &arguments, const QString &home = {});

} // namespace lexora::test
