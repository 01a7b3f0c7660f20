#pragma once

#include "database/file_format.h"
#include "database/model.h"
#include "sorting/sort_criteria.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace lexora {

class UserPrompt;
class Progress;

// The files to import, kept sorted by path without regard to case, each path at most once.
class ImportFileList {
public:
    // Whether files whose extension is not ".lxd" go into the list; asked once per adding.
    enum class ExtensionAnswer { NotAsked, Add, LeaveOut };

    // Empties the list and forgets the extension answer, as when the window is opened.
    void clear();
    // One adding: the files the user chose together (in the open dialog, or in one drop), in
    // their order. Each goes in unless the list has it already (compared without regard to
    // case). Files without the extension ".lxd" go in only when the user agrees; the question
    // comes at most once per adding, so a later adding can take a file that was left out.
    void AddImportFiles(const QStringList &paths, UserPrompt &prompt);
    // Removes the entries at these positions.
    void remove(const QList<int> &rows);

    const QStringList &files() const { return m_files; }
    ExtensionAnswer extensionAnswer() const { return m_answer; }

private:
    // One file of the current adding.
    void AddImportFile(const QString &path, UserPrompt &prompt);

    QStringList m_files;
    ExtensionAnswer m_answer = ExtensionAnswer::NotAsked;
};

// The rows of the element list: headers (part 0, no check box) and the parts to import.
struct ImportElement {
    const char16_t *text;
    LoadParts part;
};
inline constexpr std::array<ImportElement, 8> ImportElements{{
    {u"Vorlagen", 0},
    {u"HTML-Vorlagen importieren", lpHTMLTemplates},
    {u"CSS-Vorlagen importieren", lpCSSTemplates},
    {u"Einträge", 0},
    {u"Nicht vorhandene Einträge importieren", lpNewEntries},
    {u"Vorhandene Einträge importieren (bestehende ersetzen)", lpExistingEntries},
    {u"Sonstiges", 0},
    {u"Eingebundene Dateien importieren", lpIncludedFiles},
}};

// The union of the parts of the checked rows; never lpDefaultsAndTray.
LoadParts importLoadParts(const std::array<bool, ImportElements.size()> &checked);

// Why an import was not started: the message and the control it points at.
struct ImportInputError {
    enum Control { FileList, ElementList };
    Control control;
    QString message;
};

// The parts an import may take: never the tray and the default templates of another database.
inline constexpr LoadParts ImportableParts =
    lpHTMLTemplates | lpCSSTemplates | lpNewEntries | lpExistingEntries | lpIncludedFiles;

// The refusal of an import's input, for the warning at its control: an empty list of files, or
// no importable part chosen. nullopt when the import may start.
std::optional<ImportInputError> checkImportInput(const QStringList &files, LoadParts parts);

// Merges one file into db with the importable ones of parts; asks only for its password. db
// keeps its own encryption setting and password, whatever the file has. Returns
// LoadResult::PasswordNotGiven when no password was given, with nothing merged; throws the Error
// of LoadDatabase: a refused file leaves db as it was, a damaged one what was merged before the
// damage. Afterwards DatabaseModified is set when anything may have been merged and cleared when
// nothing was.
LoadResult ImportDatabase(Database &db, const QString &file, LoadParts parts, UserPrompt &prompt,
                          Progress &progress, MergeWatcher *watcher = nullptr);

// Sorts what an import with parts brought: templates and included files by name, the tree by
// criteria when new entries were imported.
void sortImported(Database &db, LoadParts parts, const SortCriteria &criteria);

// What an import did: nothing, for an input error, or every file but the refused ones.
struct ImportResult {
    std::optional<ImportInputError> inputError;
    QStringList refused; // not a database, its password not given or wrong, or a damaged
                         // strongly encrypted file
};

// Told of an import's changes: a load's, where each file's begin, that a file was refused (the
// loader has taken back what it merged of it), and that the imported parts are about to be sorted.
class ImportWatcher : public MergeWatcher {
public:
    virtual void fileBegins() = 0;
    virtual void fileRefused() = 0;
    virtual void sorting() = 0;

protected:
    ~ImportWatcher() = default;
};

// The import of the import window and lexora-cli: checks the input (an input error is returned,
// with nothing imported and nothing shown), then imports the files in list order (ImportDatabase).
// Each refused file is reported through prompt as it is met and the next file follows; at the
// end the imported parts are sorted, DatabaseModified is set and the final message names the
// files that were not imported. When every file was refused, nothing is sorted and
// DatabaseModified stays as it was. A damaged file ends the import with its Error, without a
// final message: the files after it are not read, what was merged stays in db and
// DatabaseModified is set, since db now differs from its file.
ImportResult ImportDatabases(Database &db, const QStringList &files, LoadParts parts,
                             const SortCriteria &criteria, UserPrompt &prompt, Progress &progress,
                             ImportWatcher *watcher = nullptr);

} // namespace lexora
