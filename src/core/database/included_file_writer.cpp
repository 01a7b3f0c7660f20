#include "database/included_file_writer.h"

#include "database/win1252.h"
#include "support/error.h"
#include "support/system_error.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace lexora {

IncludedFileWriter::IncludedFileWriter(const QString &folder) : m_folder(folder)
{
    if (folder.isEmpty())
        throw Error(Error::Kind::IoError, QStringLiteral("Es gibt keinen Ordner für die eingebundenen Dateien."));
    QDir().mkpath(folder);
    // Every file is opened relative to the folder: no path is looked up again per file.
    m_folderFd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_folderFd < 0)
        throw Error(Error::Kind::IoError, QStringLiteral("Der Ordner \"%1\" für die eingebundenen Dateien kann nicht "
                                   "geöffnet werden: %2")
                        .arg(QDir::toNativeSeparators(folder), systemErrorText(errno)));
}

IncludedFileWriter::~IncludedFileWriter()
{
    abandon();
    if (m_folderFd >= 0)
        ::close(m_folderFd);
}

void IncludedFileWriter::abandon()
{
    if (m_fd < 0)
        return;
    ::close(m_fd);
    m_fd = -1;
    ::unlinkat(m_folderFd, (m_tempPath.isEmpty() ? m_path : m_tempPath).constData(), 0);
    m_tempPath.clear();
}

void IncludedFileWriter::fail(int error)
{
    abandon();
    throw Error(Error::Kind::IoError, QStringLiteral("Die eingebundene Datei \"%1\" kann nicht in den Ordner \"%2\" "
                               "geschrieben werden: %3")
                    .arg(win1252::toUnicode(m_name), QDir::toNativeSeparators(m_folder),
                         systemErrorText(error)));
}

void IncludedFileWriter::begin(const Text &name, bool replacing)
{
    abandon();
    m_name = name;
    m_path = QFile::encodeName(win1252::toUnicode(name));
    if (!replacing) {
        m_fd = ::openat(m_folderFd, m_path.constData(),
                        O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (m_fd < 0)
            fail(errno);
        return;
    }
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        m_tempPath = ".lexora-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36)
                     + ".part";
        m_fd = ::openat(m_folderFd, m_tempPath.constData(),
                        O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd < 0 && errno != EEXIST)
            break;
    }
    if (m_fd < 0) {
        const int error = errno;
        m_tempPath.clear();
        fail(error);
    }
}

void IncludedFileWriter::write(const char *data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(m_fd, data, std::size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
        }
        data += n;
        size -= n;
    }
}

void IncludedFileWriter::end()
{
    // Working copies: unlike a saved database they need no flush to the disk.
    if (::close(m_fd) != 0) {
        m_fd = -1;
        const int error = errno;
        ::unlinkat(m_folderFd, (m_tempPath.isEmpty() ? m_path : m_tempPath).constData(), 0);
        m_tempPath.clear();
        fail(error);
    }
    m_fd = -1;
    if (m_tempPath.isEmpty())
        return;
    const QByteArray temp = std::exchange(m_tempPath, {});
    if (::renameat(m_folderFd, temp.constData(), m_folderFd, m_path.constData()) != 0) {
        const int error = errno;
        ::unlinkat(m_folderFd, temp.constData(), 0);
        fail(error);
    }
}

} // namespace lexora
