#pragma once

#include <QString>

#include <optional>

namespace lexora {

// What a file was when this program last read or wrote it: its size, its modification time and
// a hash of its bytes. Another program that saved over the file since changed at least one of
// them; a file that was only touched, or written back with the same bytes, counts as unchanged.
class FileIdentity {
public:
    // The identity of the file as it is now; nullopt when it cannot be read.
    static std::optional<FileIdentity> of(const QString &fileName);

    // Whether the file on disk is no longer the file this identity was taken of. A file that is
    // gone has not changed: saving it again loses nothing.
    bool changedOnDisk(const QString &fileName) const;

private:
    FileIdentity() = default;

    qint64 m_size = 0;
    qint64 m_modified = 0; // nanoseconds since the epoch
    quint64 m_hash = 0;
};

} // namespace lexora
