#pragma once

#include <QString>

namespace lexora {

// Arranges for "/bin/sh script" to run as soon as this process has ended: a child process in a
// session of its own, with its input and output on /dev/null, waits for the end of this process
// (a pipe only this process holds open reaches its end) and then runs the script, so the
// script replaces the program's files only after the program has let go of them. Returns false
// when the child cannot be started.
bool runScriptAfterExit(const QString &script);

} // namespace lexora
