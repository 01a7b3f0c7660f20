#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace lexora::test {

struct ZipEntry {
    QString name;
    QByteArray data;
    quint32 unixMode = 0100644; // a regular file; 0120000 | ... for a symbolic link
};

// Writes a ZIP archive with exactly these entries, names taken as given (also "../x" or "/x").
void writeZip(const QString &path, const QList<ZipEntry> &entries);

} // namespace lexora::test
