#pragma once

#include "database/model.h"

#include <QString>

namespace lexora::bench {

// The sizes the speed targets are stated for.
constexpr int kItemCount = 100'000;
constexpr int kItemCodeSize = 1024;
constexpr qint64 kIncludedBytes = 256LL << 20;

// Fills an empty db with the built-in default templates and itemCount items of codeSize bytes
// of HTML each, in keys three levels deep (top-level keys, their sub-keys, the items). Names and
// code are deterministic words; every tenth code holds an umlaut.
void fillItemDatabase(Database &db, int itemCount = kItemCount, int codeSize = kItemCodeSize);

// Fills an empty db with the default templates, one item and included files of totalBytes in
// all (files of 16 MB, pseudo-random bytes), written to db.IncludedFilesFolder, which must be set.
void fillIncludedFilesDatabase(Database &db, qint64 totalBytes = kIncludedBytes);

// Saves db to fileName, encrypted with password when it is not empty.
void writeDatabase(Database &db, const QString &fileName, const QByteArray &password = {});

// Writes the item database to fileName without keeping it; the included-files database needs a
// folder for its bytes, which is created and removed inside.
void writeItemDatabase(const QString &fileName, const QByteArray &password = {},
                       int itemCount = kItemCount, int codeSize = kItemCodeSize);
void writeIncludedFilesDatabase(const QString &fileName, const QByteArray &password = {},
                                qint64 totalBytes = kIncludedBytes);

} // namespace lexora::bench
