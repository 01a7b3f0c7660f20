#pragma once

#include <QString>

namespace lexora {

class Database;
class UserPrompt;
class Progress;

// Opens fileName as the database: clears db and loads every part. On success CurrentFileName is
// the file's absolute path. A refused file (not a database, password not given or wrong) leaves
// db empty, unnamed and unencrypted and returns false. A damaged file leaves db unnamed, so that
// a later save cannot overwrite the file with the part that was read, and throws Error.
bool OpenDatabase(Database &db, const QString &fileName, UserPrompt &prompt, Progress &progress);

} // namespace lexora
