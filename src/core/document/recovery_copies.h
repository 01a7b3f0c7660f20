#pragma once

#include <QDateTime>
#include <QString>

#include <vector>

namespace lexora {

class Document;

// Copies of databases with unsaved changes, so that an end the user did not choose (a
// termination signal, the desktop session ending) loses no work. They live in a private folder
// (0700), one per database file ("<key>.lxd", with "<key>.file" naming the file) and one per
// instance for an unnamed database; a copy is written like a save of its database, encrypted as
// it is, and atomically.
class RecoveryCopies {
public:
    // folder ends with '/'; it is made when the first copy is written.
    explicit RecoveryCopies(QString folder);
    // $XDG_STATE_HOME/Lexora/Recovery/, ~/.local/state/Lexora/Recovery/ when it is not set.
    static QString standardFolder();

    // Writes the copy of the document's database; throws Error when it cannot.
    void write(Document &document, int instance) const;
    // Removes the copy of the database of fileName (empty: the unnamed one of instance).
    void remove(const QString &fileName, int instance) const;

    struct Copy {
        QString path;     // the copy
        QString fileName; // its database's file; empty for an unnamed database
        QDateTime written;
    };
    // The copies with changes their file does not have: newer than the file, or of a database
    // without a file (or whose file is gone). Newest first.
    std::vector<Copy> pending() const;

private:
    QString key(const QString &fileName, int instance) const;

    QString m_folder;
};

} // namespace lexora
