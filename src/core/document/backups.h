#pragma once

#include <QDateTime>
#include <QString>

#include <vector>

namespace lexora {

// Backups of database files: before a save replaces a file, the file as it was is kept in a
// private folder (0700), one subfolder per database file, each backup named after the time it
// was taken; the newest `keep` of each database stay. A backup is the file's bytes as they were
// (an encrypted file stays encrypted): a hard link where the folder is on the same file system
// (the save then puts a new file in place and the link keeps the old one), else a copy.
class Backups {
public:
    static constexpr int DefaultKeep = 10;

    // folder ends with '/'; it is made with the first backup.
    Backups(QString folder, int keep);
    // $XDG_DATA_HOME/Lexora/Backups/, ~/.local/share/Lexora/Backups/ when it is not set.
    static QString standardFolder();

    // Keeps fileName as it is now, then drops the oldest backups of it beyond `keep`. Throws
    // Error when the backup cannot be made.
    void keep(const QString &fileName) const;

    struct Backup {
        QString path;
        QString fileName; // the database file it was taken of
        QDateTime taken;
        qint64 size = 0;
    };
    // Every backup, newest first.
    std::vector<Backup> all() const;

private:
    QString folderOf(const QString &fileName) const;

    QString m_folder;
    int m_keep;
};

} // namespace lexora
