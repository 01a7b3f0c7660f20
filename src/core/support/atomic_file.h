#pragma once

#include <QFile>
#include <QString>

namespace lexora {

// A file whose new contents are written beside it and put in its place by one rename at the
// end, so that a failed or interrupted save leaves the old file as it was. The new contents go
// to an unnamed file in the target's folder where the file system allows it (nothing is left
// behind by a crash), else to a hidden file with a short name; either way the target's own
// name may be as long as the file system allows. The target keeps its permissions; a link is
// followed and its target replaced.
class AtomicFile {
public:
    explicit AtomicFile(const QString &fileName);
    // Without commit() the new contents are thrown away and the old file stays.
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    // Opens the new contents for writing; false with errorString() when that fails.
    bool open(QIODevice::OpenMode mode = QIODevice::WriteOnly);
    // Where the new contents are written.
    QIODevice &device() { return m_file; }
    // Writes everything to the disk and replaces the target; false with errorString() when
    // that fails, and the target is as it was.
    bool commit();
    // Why open(), a write or commit() failed, in German.
    QString errorString() const;

private:
    bool fail(int error);
    void discard();

    QString m_target;
    QString m_folder;
    QFile m_file;
    int m_fd = -1;
    QString m_tempName;   // the hidden file's name, empty while the new contents have none
    int m_targetMode = -1; // the permissions to keep, -1 for a new file
    QString m_error;
};

} // namespace lexora
