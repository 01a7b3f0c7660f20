#include "document/file_identity.h"

#include <QFile>
#include <QHash>

#include <sys/stat.h>

namespace lexora {
namespace {

constexpr qint64 kBlock = 1 << 20;

struct Stat {
    qint64 size;
    qint64 modified;
};

std::optional<Stat> statOf(const QString &fileName)
{
    struct stat st{};
    if (::stat(QFile::encodeName(fileName).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return Stat{qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

// A hash of the file's bytes, fast enough to take at every open: it only has to tell another
// program's save from ours, no one forges it.
std::optional<quint64> hashOf(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray block(kBlock, Qt::Uninitialized);
    quint64 hash = 0x4c65786f7261; // any fixed seed
    for (;;) {
        const qint64 n = file.read(block.data(), kBlock);
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            return hash;
        hash = qHashBits(block.constData(), std::size_t(n), std::size_t(hash));
    }
}

} // namespace

std::optional<FileIdentity> FileIdentity::of(const QString &fileName)
{
    const std::optional<Stat> st = statOf(fileName);
    const std::optional<quint64> hash = st ? hashOf(fileName) : std::nullopt;
    if (!hash)
        return std::nullopt;
    FileIdentity identity;
    identity.m_size = st->size;
    identity.m_modified = st->modified;
    identity.m_hash = *hash;
    return identity;
}

bool FileIdentity::changedOnDisk(const QString &fileName) const
{
    const std::optional<Stat> st = statOf(fileName);
    if (!st)
        return false;
    if (st->size != m_size)
        return true;
    // The same size and time: unchanged, without reading the file again.
    if (st->modified == m_modified)
        return false;
    const std::optional<quint64> hash = hashOf(fileName);
    return !hash || *hash != m_hash;
}

} // namespace lexora
