#include "setup/open_file_record.h"

#include "setup/instance_folder.h"
#include "support/error.h"
#include "support/system_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace lexora {
namespace {

const QString kSuffix = QStringLiteral(".open");

// The same file under every name it can be given.
QByteArray canonical(const QString &fileName)
{
    const QFileInfo info(fileName);
    const QString path = info.canonicalFilePath();
    return QFile::encodeName(path.isEmpty() ? info.absoluteFilePath() : path);
}

// The record of a running instance: its contents while another holds a lock on it, else
// nothing. A lock of our own is tried without waiting; getting it means no one holds it.
QByteArray liveRecord(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    QByteArray contents;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        char buffer[4096];
        for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
            contents.append(buffer, n);
    }
    ::close(fd);
    return contents;
}

} // namespace

OpenFileRecord::OpenFileRecord(const InstanceFolder &instance)
    : m_folder(instance.instancesFolder()), m_number(instance.number())
{
    const QString path = m_folder + QString::number(m_number) + kSuffix;
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (m_fd < 0 || ::flock(m_fd, LOCK_SH) != 0) {
        const int error = errno;
        if (m_fd >= 0)
            ::close(m_fd);
        throw Error(Error::Kind::IoError, QStringLiteral("Die Datei \"%1\" konnte nicht angelegt werden: %2")
                        .arg(QDir::toNativeSeparators(path), systemErrorText(error)));
    }
}

OpenFileRecord::~OpenFileRecord()
{
    // Emptied: the instance folder removes the file with its lock file when the number goes.
    (void)!::ftruncate(m_fd, 0);
    ::close(m_fd);
}

void OpenFileRecord::setOpenFile(const QString &fileName)
{
    // Advisory only: a record that cannot be written costs no more than a missing warning.
    const QByteArray path = fileName.isEmpty() ? QByteArray() : canonical(fileName);
    if (::ftruncate(m_fd, 0) == 0 && !path.isEmpty())
        (void)!::pwrite(m_fd, path.constData(), std::size_t(path.size()), 0);
}

bool OpenFileRecord::isOpenElsewhere(const QString &fileName) const
{
    const QByteArray path = canonical(fileName);
    const QString own = QString::number(m_number) + kSuffix;
    for (const QString &name : QDir(m_folder).entryList({QStringLiteral("*") + kSuffix}, QDir::Files)) {
        if (name != own && liveRecord(m_folder + name) == path)
            return true;
    }
    return false;
}

} // namespace lexora
