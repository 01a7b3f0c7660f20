#include "update/script_run.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace lexora {

bool runScriptAfterExit(const QString &script)
{
    // Everything the child needs is made before the fork: after it only async-signal-safe calls.
    const QByteArray path = QFile::encodeName(script);
    const QByteArray folder = QFile::encodeName(QFileInfo(script).absolutePath());
    const long maxFd = std::min(sysconf(_SC_OPEN_MAX), 65536L);
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        return false;
    const pid_t child = fork();
    if (child < 0) {
        close(ends[0]);
        close(ends[1]);
        return false;
    }
    if (child == 0) {
        close(ends[1]);
        // Nothing of the program (its terminal, its display connection, its files) stays open
        // in the script, nor while waiting for the program's end.
        const int devNull = open("/dev/null", O_RDWR);
        if (devNull >= 0) {
            dup2(devNull, 0);
            dup2(devNull, 1);
            dup2(devNull, 2);
        }
        const int end = ends[0];
        const bool closed = (end == 3 || close_range(3, unsigned(end) - 1, 0) == 0)
                            && close_range(unsigned(end) + 1, ~0U, 0) == 0;
        for (long fd = 3; !closed && fd < maxFd; ++fd) {
            if (fd != end)
                close(int(fd));
        }
        setsid();
        char byte;
        for (;;) {
            const ssize_t n = read(end, &byte, 1);
            if (n == 0 || (n < 0 && errno != EINTR))
                break;
        }
        close(end);
        if (chdir(folder.constData()) != 0)
            _exit(127);
        execl("/bin/sh", "sh", path.constData(), static_cast<char *>(nullptr));
        _exit(127);
    }
    // The write end stays open for the rest of this process's life; its end is the signal.
    close(ends[0]);
    return true;
}

} // namespace lexora
