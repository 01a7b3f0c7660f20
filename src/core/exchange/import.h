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

// What an import did: nothing, for an input error, or every file but the refused ones.
struct ImportResult {
    std::optional<ImportInputError> inputError;
    QStringList refused; // not a database, its password not given or wrong, or a damaged
                         // strongly encrypted file
};

// Merges the files, in list order, into db with the given load parts. A file that is refused
// (not a database, password not given or wrong, a damaged strongly encrypted file, of which
// nothing is merged) has been reported by the loader and the next
// file follows. The open database keeps its own encryption setting and password, whatever the
// files read have. Afterwards the imported lists are sorted (templates and included files by
// name, the tree by criteria when new entries were imported), DatabaseModified is set and the
// final message is shown; it names the files that were not imported. When every file was
// refused, nothing is sorted and DatabaseModified stays as it was.
// Returns the input error, with nothing imported, when the list is empty or no part is chosen.
// A damaged file throws Error: the files after it are not read, what was merged stays in db
// and DatabaseModified is set, since db now differs from its file.
ImportResult ImportDatabases(Database &db, const QStringList &files, LoadParts parts,
                             const SortCriteria &criteria, UserPrompt &prompt, Progress &progress);

} // namespace lexora
