#pragma once

#include "database/file_format.h"

#include <QString>

namespace lexora {

class Database;
class UserPrompt;
class Progress;

// Opens fileName as the database: clears db and loads every part. When it is read,
// CurrentFileName is the file's absolute path. A file whose password is not given, or that is
// refused (the Error of LoadDatabase), leaves db empty, unnamed and unencrypted. A damaged file
// leaves db unnamed, so that a later save cannot overwrite the file with the part that was read,
// and throws Error.
LoadResult OpenDatabase(Database &db, const QString &fileName, UserPrompt &prompt,
                        Progress &progress);

} // namespace lexora
