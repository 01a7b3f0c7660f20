#pragma once

#include "database/model.h"

#include <QString>

namespace lexora {

// Writes the bytes of included files into the included-files folder while a database is read.
// A new name is written straight into its file, which costs little even for very many files;
// a name whose file the database has already is written beside it and renamed over it at the
// end, so that a failure keeps the earlier bytes. A file left unfinished by an error goes.
class IncludedFileWriter {
public:
    // Creates the folder when it is missing; throws Error when it cannot be used.
    explicit IncludedFileWriter(const QString &folder);
    ~IncludedFileWriter();
    IncludedFileWriter(const IncludedFileWriter &) = delete;
    IncludedFileWriter &operator=(const IncludedFileWriter &) = delete;

    // Starts the file of this name; replacing: the database has a file of this name already.
    void begin(const Text &name, bool replacing);
    void write(const char *data, qint64 size);
    // Completes the file begun last.
    void end();

private:
    [[noreturn]] void fail(int error);
    void abandon();

    QString m_folder;
    int m_folderFd = -1;
    int m_fd = -1;
    Text m_name;
    QByteArray m_path;     // the name as the file system spells it, relative to the folder
    QByteArray m_tempPath; // while replacing: where the bytes go first, else empty
};

} // namespace lexora
