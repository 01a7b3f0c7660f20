#include "setup/instance_folder.h"

#include "support/error.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace lexora {

namespace {

// Highest number tried; only reached when the lock files cannot be locked at all.
constexpr int maxInstances = 10000;

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Opens and locks "<number>.lock"; the descriptor, or -1 when another instance holds it.
int tryLock(const QString &lockPath)
{
    const QByteArray path = QFile::encodeName(lockPath);
    // Close-on-exec: a program started from Lexora must not keep its number locked.
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        throw Error(QStringLiteral("Die Datei \"%1\" konnte nicht geöffnet werden: %2")
                        .arg(QDir::toNativeSeparators(lockPath), systemError()));
    int rc = 0;
    do
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc == 0)
        return fd;
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK)
        return -1;
    errno = error;
    throw Error(QStringLiteral("Die Datei \"%1\" konnte nicht gesperrt werden: %2")
                    .arg(QDir::toNativeSeparators(lockPath), systemError()));
}

} // namespace

InstanceFolder::InstanceFolder(const QString &homeFolder)
{
    const QString parent = QDir(homeFolder).absoluteFilePath(QStringLiteral("Included Files"));
    if (!QDir().mkpath(parent))
        throw Error(QStringLiteral("Der Ordner \"%1\" konnte nicht erstellt werden.")
                        .arg(QDir::toNativeSeparators(parent)));

    for (int n = 1; n <= maxInstances && m_lockFd < 0; ++n) {
        m_lockFd = tryLock(parent + QStringLiteral("/%1.lock").arg(n));
        if (m_lockFd >= 0)
            m_number = n;
    }
    if (m_lockFd < 0)
        throw Error(QStringLiteral("Es konnte keine freie Instanznummer gefunden werden."));

    // Whatever is in the folder was left by an instance that ended without its clean-up.
    m_folder = parent + QStringLiteral("/%1/").arg(m_number);
    QDir folder(m_folder);
    if ((folder.exists() && !folder.removeRecursively()) || !QDir().mkpath(m_folder)) {
        ::close(m_lockFd);
        throw Error(QStringLiteral("Der Ordner \"%1\" konnte nicht erstellt werden.")
                        .arg(QDir::toNativeSeparators(m_folder)));
    }
}

InstanceFolder::~InstanceFolder()
{
    QDir(m_folder).removeRecursively();
    ::close(m_lockFd); // releases the lock
}

} // namespace lexora
