#include "support/atomic_file.h"

#include "support/system_error.h"

#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lexora {
namespace {

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

// A name for the new contents in the target's folder: short, hidden, not yet taken.
QString tempNameIn(const QString &folder)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QString name = folder + QStringLiteral("/.lexora-");
    for (int i = 0; i < 8; ++i)
        name += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)]);
    return name;
}

mode_t currentUmask()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

} // namespace

AtomicFile::AtomicFile(const QString &fileName)
{
    const QFileInfo info(fileName);
    m_target = info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath();
    m_folder = QFileInfo(m_target).absolutePath();
}

AtomicFile::~AtomicFile()
{
    discard();
}

void AtomicFile::discard()
{
    m_file.close();
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_tempName.isEmpty())
        ::unlink(encoded(m_tempName).constData());
    m_tempName.clear();
}

bool AtomicFile::fail(int error)
{
    m_error = systemErrorText(error);
    discard();
    return false;
}

bool AtomicFile::open(QIODevice::OpenMode mode)
{
    struct stat target{};
    if (::stat(encoded(m_target).constData(), &target) == 0)
        m_targetMode = int(target.st_mode & 07777);
    const QByteArray folder = encoded(m_folder);
    m_fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (m_fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        // This file system has no unnamed files.
        for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
            m_tempName = tempNameIn(m_folder);
            m_fd = ::open(encoded(m_tempName).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (m_fd < 0 && errno != EEXIST)
                break;
        }
        if (m_fd < 0)
            m_tempName.clear();
    }
    if (m_fd < 0)
        return fail(errno);
    if (!m_file.open(m_fd, mode, QFileDevice::DontCloseHandle))
        return fail(EIO);
    return true;
}

QString AtomicFile::errorString() const
{
    if (m_error.isEmpty() && m_file.error() != QFileDevice::NoError)
        return fileErrorText(m_file);
    return m_error;
}

bool AtomicFile::commit()
{
    if (m_fd < 0)
        return false;
    if (!m_file.flush() || m_file.error() != QFileDevice::NoError) {
        m_error = fileErrorText(m_file);
        discard();
        return false;
    }
    if (::fdatasync(m_fd) != 0)
        return fail(errno);
    // An existing file keeps its permissions; a new one gets those the user's umask leaves.
    const mode_t mode = m_targetMode >= 0 ? mode_t(m_targetMode) : (0666 & ~currentUmask());
    if (::fchmod(m_fd, mode) != 0)
        return fail(errno);
    if (m_tempName.isEmpty()) {
        // The unnamed file gets a name of its own first: rename() cannot take one.
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd);
        int rc = -1;
        for (int attempt = 0; attempt < 100 && rc != 0; ++attempt) {
            m_tempName = tempNameIn(m_folder);
            rc = ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, encoded(m_tempName).constData(),
                          AT_SYMLINK_FOLLOW);
            if (rc != 0 && errno != EEXIST)
                break;
        }
        if (rc != 0) {
            const int error = errno;
            m_tempName.clear();
            return fail(error);
        }
    }
    if (::rename(encoded(m_tempName).constData(), encoded(m_target).constData()) != 0)
        return fail(errno);
    m_tempName.clear();
    discard();
    return true;
}

} // namespace lexora
