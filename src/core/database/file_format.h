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

// What became of a file LoadDatabase was given: read to its end, or not read at all because
// the user gave no password for it (nothing to report then).
enum class LoadResult { Read, PasswordNotGiven };

// Told of each change a merging load makes to what the database had: before it overwrites
// something (so that the old value can be kept) and after it adds something, so that an import
// can be taken back.
class MergeWatcher {
public:
    // A new node under a node the database had, or at the top level.
    virtual void nodeAdded(Node *node) = 0;
    virtual void itemOverwriting(Node *node) = 0;
    virtual void templateOverwriting(TTemplate *tmpl) = 0;
    virtual void includedFileOverwriting(TInclFile *file) = 0;
    virtual void includedFileAdded(TInclFile *file) = 0;

protected:
    ~MergeWatcher() = default;
};

// Reads a database file into db as the load parts say; asks for the password through prompt and
// tells nothing else. A refused file throws Error of a kind for which refusesFile() holds (not a
// database, wrong password, a strongly encrypted file damaged or altered) and leaves db as it
// was. A damaged file of the other kinds throws Error::Kind::Corrupt, a file that cannot be read
// Error::Kind::IoError; what was read until then stays in db. DatabaseModified is cleared on
// every return and on every refusal. watcher, when given, is told of each change to what db had.
LoadResult LoadDatabase(Database &db, const QString &fileName, LoadParts parts, UserPrompt &prompt,
                        Progress &progress, MergeWatcher *watcher = nullptr);

// Whether an included file's name from a file may be used as a file name in the included-files
// folder: not empty, not "." or "..", no "/", "\" or NUL.
bool isSafeFileName(const Text &name);

// Writes db to fileName atomically: a failed save throws Error and leaves the previous file as it
// was. Clears DatabaseModified unless asTemplate. A strong save derives its key with the cost of
// strongParams (or reuses db's key when password and cost are the same) and writes a new salt.
void SaveDatabase(Database &db, const QString &fileName, bool asTemplate, Progress &progress,
                  const StrongParams &strongParams = {});

} // namespace lexora
