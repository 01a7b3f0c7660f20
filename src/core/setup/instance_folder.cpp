#include "setup/instance_folder.h"

#include "support/error.h"
#include "support/system_error.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lexora {

namespace {

// Highest number tried; only reached when the lock files cannot be locked at all.
constexpr int maxInstances = 10000;

// The temporary folder of the process's instance, empty while it has none.
QString &processTemporaryFolder()
{
    static QString folder;
    return folder;
}

// Whether fd is the file that path names now.
bool isNamedBy(int fd, const QByteArray &path)
{
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && ::stat(path.constData(), &named) == 0
           && held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

// Opens and locks "<number>.lock"; the descriptor, or -1 when another instance holds it.
int tryLock(const QString &lockPath)
{
    const QByteArray path = QFile::encodeName(lockPath);
    for (;;) {
        // Close-on-exec: a program started from Lexora must not keep its number locked.
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0)
            throw Error(Error::Kind::IoError, QStringLiteral("Die Datei \"%1\" konnte nicht geöffnet werden: %2")
                            .arg(QDir::toNativeSeparators(lockPath), systemErrorText(errno)));
        int rc = 0;
        do
            rc = ::flock(fd, LOCK_EX | LOCK_NB);
        while (rc != 0 && errno == EINTR);
        // An ending instance removes its lock file before it lets go of it: a lock got on a
        // file that no longer has the name locks nothing, so the number is tried again.
        if (rc == 0 && isNamedBy(fd, path))
            return fd;
        const int error = errno;
        ::close(fd);
        if (rc == 0)
            continue;
        if (error == EWOULDBLOCK)
            return -1;
        throw Error(Error::Kind::IoError, QStringLiteral("Die Datei \"%1\" konnte nicht gesperrt werden: %2")
                        .arg(QDir::toNativeSeparators(lockPath), systemErrorText(error)));
    }
}

// Removes what a number leaves beside its folders (its lock file and its record of the open
// database) while its lock is held, then lets go of the lock.
void releaseNumber(const QString &parent, int number, int lockFd)
{
    ::unlink(QFile::encodeName(parent + QStringLiteral("%1.open").arg(number)).constData());
    ::unlink(QFile::encodeName(parent + QStringLiteral("%1.lock").arg(number)).constData());
    ::close(lockFd);
}

// Clears a folder of an instance (removed and made anew) or removes it.
bool clear(const QString &folder, bool makeAnew)
{
    QDir dir(folder);
    if (dir.exists() && !dir.removeRecursively())
        return false;
    return !makeAnew || QDir().mkpath(folder);
}

} // namespace

InstanceFolder::InstanceFolder(const QString &homeFolder)
{
    m_parent = QDir(homeFolder).absoluteFilePath(QStringLiteral("Included Files")) + QLatin1Char('/');
    if (!QDir().mkpath(m_parent))
        throw Error(Error::Kind::IoError, QStringLiteral("Der Ordner \"%1\" konnte nicht erstellt werden.")
                        .arg(QDir::toNativeSeparators(m_parent)));

    for (int n = 1; n <= maxInstances && m_lockFd < 0; ++n) {
        m_lockFd = tryLock(m_parent + QStringLiteral("%1.lock").arg(n));
        if (m_lockFd >= 0)
            m_number = n;
    }
    if (m_lockFd < 0)
        throw Error(Error::Kind::IoError, QStringLiteral("Es konnte keine freie Instanznummer gefunden werden."));

    // Whatever is in the folders was left by an instance that ended without its clean-up.
    m_folder = m_parent + QStringLiteral("%1/").arg(m_number);
    m_temporaryFolder = m_parent + QStringLiteral("%1.temp/").arg(m_number);
    for (const QString &folder : {m_folder, m_temporaryFolder}) {
        if (!clear(folder, true)) {
            ::close(m_lockFd);
            throw Error(Error::Kind::IoError, QStringLiteral("Der Ordner \"%1\" konnte nicht erstellt werden.")
                            .arg(QDir::toNativeSeparators(folder)));
        }
    }
    removeStaleFolders();
    processTemporaryFolder() = m_temporaryFolder;
}

InstanceFolder::~InstanceFolder()
{
    if (processTemporaryFolder() == m_temporaryFolder)
        processTemporaryFolder().clear();
    clear(m_folder, false);
    clear(m_temporaryFolder, false);
    releaseNumber(m_parent, m_number, m_lockFd);
}

void InstanceFolder::removeStaleFolders() const
{
    // A folder is made only while its number is locked and removed before the lock goes, so the
    // folders of a number whose lock is free were left by a crash. The lock is held while they
    // go, so that an instance starting now cannot take the number meanwhile; it takes the next.
    static const QRegularExpression instanceFolder(QStringLiteral("^(\\d+)(\\.temp)?$"));
    QList<int> numbers;
    for (const QString &name : QDir(m_parent).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QRegularExpressionMatch m = instanceFolder.match(name);
        const int number = m.hasMatch() ? m.captured(1).toInt() : 0;
        if (number > 0 && number != m_number && !numbers.contains(number))
            numbers.append(number);
    }
    for (int number : numbers) {
        int fd = -1;
        try {
            fd = tryLock(m_parent + QStringLiteral("%1.lock").arg(number));
        } catch (const Error &) {
            continue; // not ours to judge
        }
        if (fd < 0)
            continue; // its instance runs
        clear(m_parent + QStringLiteral("%1/").arg(number), false);
        clear(m_parent + QStringLiteral("%1.temp/").arg(number), false);
        releaseNumber(m_parent, number, fd);
    }
}

QString temporaryFolder()
{
    const QString &folder = processTemporaryFolder();
    return folder.isEmpty() ? QDir::tempPath() + QLatin1Char('/') : folder;
}

} // namespace lexora
