#pragma once

#include <QString>
#include <QStringList>

namespace lexora {

// Extracts every file of the ZIP archive into folder without its folder names ("a/b/x" and
// "../x" both become folder + "x"); folder entries are skipped and a later file of the same name
// replaces an earlier one. The archive is checked whole before anything is written: an entry
// that is a symbolic link, has an absolute path, or has no name (or the name "." or "..")
// refuses the archive, as does one that would unpack to more than maxTotalBytes. Files get
// read and write permission for the user, and execution where the archive marks it. Returns the
// names written, in archive order; throws Error with a German message on any failure.
QStringList extractArchive(const QString &archive, const QString &folder,
                           qint64 maxTotalBytes = qint64(4) << 30);

} // namespace lexora
