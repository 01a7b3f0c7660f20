#pragma once

#include "database/model.h"
#include "database/strong_container.h"

#include <QString>

namespace lexora {

class UserPrompt;
class Progress;

// Which sections LoadDatabase takes and how it merges the tree into the open one.
enum LoadPart : quint16 {
    lpHTMLTemplates = 0x0002,
    lpCSSTemplates = 0x0004,
    lpNewEntries = 0x0010,
    lpExistingEntries = 0x0020,
    lpIncludedFiles = 0x0080,
    lpDefaultsAndTray = 0x0100,
};
using LoadParts = quint16;
constexpr LoadParts lpAll = lpHTMLTemplates | lpCSSTemplates | lpNewEntries | lpExistingEntries
                            | lpIncludedFiles | lpDefaultsAndTray;

// Reads a database file into db as the load parts say. Returns true when the file was read to
// its end, false when it was refused (not a database, password not given or wrong, a strongly
// encrypted file damaged or altered; the user has been told through prompt). A refused file
// leaves db as it was. A damaged file of the other kinds throws Error; what was read until then
// stays in db. DatabaseModified is cleared on every return.
bool LoadDatabase(Database &db, const QString &fileName, LoadParts parts, UserPrompt &prompt,
                  Progress &progress);

// Whether an included file's name from a file may be used as a file name in the included-files
// folder: not empty, not "." or "..", no "/", "\" or NUL.
bool isSafeFileName(const Text &name);

// Writes db to fileName atomically: a failed save throws Error and leaves the previous file as it
// was. Clears DatabaseModified unless asTemplate. A strong save derives its key with the cost of
// strongParams (or reuses db's key when password and cost are the same) and writes a new salt.
void SaveDatabase(Database &db, const QString &fileName, bool asTemplate, Progress &progress,
                  const StrongParams &strongParams = {});

} // namespace lexora
