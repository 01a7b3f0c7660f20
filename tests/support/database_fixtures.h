#pragma once

#include "database/model.h"
#include "support/error.h"
#include "support/progress.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>

namespace lexora::test {

// Fills an empty db with a bit of everything the file format carries: templates with umlauts,
// long and empty texts, the unassigned byte 0x81 and a NUL, keys and items on three levels, two
// siblings of equal name, a tray and included files (one of 0 bytes). db.IncludedFilesFolder
// must be set; the included files' bytes are written there.
void buildVariedDatabase(Database &db);

// Writes bytes into db's included-files folder as the file name and lists it in db.
void addIncludedFile(Database &db, Text name, const QByteArray &bytes);

// A readable, complete description of db (the included files' bytes as a hash) for comparing
// two databases in a test.
std::string describeDatabase(const Database &db);

// The Error that run throws, nullopt when it returns.
template <class Run>
std::optional<Error> thrownError(Run run)
{
    try {
        run();
    } catch (const Error &e) {
        return e;
    }
    return std::nullopt;
}

QByteArray readFileBytes(const QString &path);
void writeFileBytes(const QString &path, const QByteArray &bytes);

// Records every call, so tests can check captions, totals and that the display was closed.
class RecordingProgress : public Progress {
public:
    void begin(const QString &caption, const QString &text, qint64 total) override;
    void step(qint64 done) override;
    void end() override { ++ends; }

    QStringList captions;
    QStringList texts;
    QList<qint64> totals;
    QList<qint64> steps;
    int ends = 0;
};

} // namespace lexora::test
