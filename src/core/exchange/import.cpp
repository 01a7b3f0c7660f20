#include "exchange/import.h"

#include "database/win1252.h"
#include "sorting/tree_sort.h"
#include "support/error.h"
#include "support/failure_report.h"
#include "support/user_prompt.h"
#include "text/collation.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace lexora {
namespace {

bool hasDatabaseExtension(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 && name.mid(dot).toUpper() == QLatin1String(".LXD");
}

} // namespace

void ImportFileList::clear()
{
    m_files.clear();
    m_answer = ExtensionAnswer::NotAsked;
}

void ImportFileList::AddImportFiles(const QStringList &paths, UserPrompt &prompt)
{
    m_answer = ExtensionAnswer::NotAsked;
    for (const QString &path : paths)
        AddImportFile(path, prompt);
}

void ImportFileList::AddImportFile(const QString &path, UserPrompt &prompt)
{
    if (m_files.contains(path, Qt::CaseInsensitive))
        return;
    if (!hasDatabaseExtension(path)) {
        if (m_answer == ExtensionAnswer::NotAsked) {
            const QString text =
                QStringLiteral("Die Dateinamenserweiterung der Datei\r\n\"") + path
                + QStringLiteral("\"\r\nentspricht nicht derjenigen von Lexora-Datenbanken. "
                                 "Sollen Dateien mit falscher Dateinamenserweiterung dennoch in "
                                 "die Liste aufgenommen werden?");
            m_answer = prompt.question(QStringLiteral("Falsche Dateinamenserweiterung"), text,
                                       UserPrompt::Buttons::YesNo)
                               == UserPrompt::Answer::Yes
                           ? ExtensionAnswer::Add
                           : ExtensionAnswer::LeaveOut;
        }
        if (m_answer == ExtensionAnswer::LeaveOut)
            return;
    }
    // Sorted without regard to case; a new path goes behind the ones that compare equal.
    const Text key = win1252::fromUnicode(path);
    const auto at = std::upper_bound(m_files.begin(), m_files.end(), key,
                                     [](const Text &k, const QString &entry) {
                                         return CompareTextsIgnoringCase(
                                                    k, win1252::fromUnicode(entry))
                                                < 0;
                                     });
    m_files.insert(at, path);
}

void ImportFileList::remove(const QList<int> &rows)
{
    QList<int> sorted = rows;
    std::sort(sorted.begin(), sorted.end(), std::greater<>());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    for (int row : sorted)
        if (row >= 0 && row < m_files.size())
            m_files.removeAt(row);
}

LoadParts importLoadParts(const std::array<bool, ImportElements.size()> &checked)
{
    LoadParts parts = 0;
    for (std::size_t row = 0; row < ImportElements.size(); ++row)
        if (checked[row])
            parts |= ImportElements[row].part;
    return parts;
}

std::optional<ImportInputError> checkImportInput(const QStringList &files, LoadParts parts)
{
    if (files.isEmpty())
        return ImportInputError{ImportInputError::FileList,
                                QStringLiteral("Sie müssen die Datenbanken, die importiert werden "
                                               "sollen, zur Liste hinzufügen.")};
    if ((parts & ImportableParts) == 0)
        return ImportInputError{ImportInputError::ElementList,
                                QStringLiteral("Sie müssen mindestens ein Element angeben, das "
                                               "importiert werden soll.")};
    return std::nullopt;
}

LoadResult ImportDatabase(Database &db, const QString &file, LoadParts parts, UserPrompt &prompt,
                          Progress &progress, MergeWatcher *watcher)
{
    // The loader takes the encryption of each file it reads; the user's own protection must not
    // change as a side effect of an import.
    struct KeepEncryption {
        Database &target;
        const bool encrypted = target.Encrypted;
        const EncryptionMode mode = target.Encryption;
        const SecretBytes password = target.Password;
        const std::shared_ptr<const StrongKey> key = target.StrongKeyCache;
        ~KeepEncryption()
        {
            target.Encrypted = encrypted;
            target.Encryption = mode;
            target.Password = password;
            target.StrongKeyCache = key;
        }
    } keepEncryption{db};
    // The loader leaves the flag alone when a damage ends the read, yet clears it on every other
    // way out: set now, it stays set for a merge cut short by a damage, so that closing asks to
    // save.
    db.DatabaseModified = true;
    const LoadResult result = LoadDatabase(db, file, parts & ImportableParts, prompt, progress, watcher);
    db.DatabaseModified = result == LoadResult::Read;
    return result;
}

void sortImported(Database &db, LoadParts parts, const SortCriteria &criteria)
{
    if (parts & lpHTMLTemplates)
        SortByName(db.HTMLTemplates);
    if (parts & lpCSSTemplates)
        SortByName(db.CSSTemplates);
    if (parts & lpNewEntries)
        SortTree(db.topLevel(), criteria);
    if (parts & lpIncludedFiles)
        SortByName(db.IncludedFiles);
}

namespace {

// The final message of an import; refused is never all of files.
void reportImported(UserPrompt &prompt, const QStringList &files, const QStringList &refused)
{
    QString notImported;
    for (const QString &file : refused)
        notImported += QStringLiteral("\r\n") + QDir::toNativeSeparators(file);
    if (refused.size() == files.size())
        prompt.message(UserPrompt::Icon::Error, QStringLiteral("Vorgang fehlgeschlagen"),
                       QStringLiteral("Es wurde keine Datenbank importiert. Nicht importiert "
                                      "wurden:") + notImported);
    else if (refused.isEmpty())
        prompt.message(UserPrompt::Icon::Information, QStringLiteral("Vorgang abgeschlossen"),
                       QStringLiteral("Die Datenbanken wurden importiert."));
    else
        prompt.message(UserPrompt::Icon::Warning, QStringLiteral("Vorgang abgeschlossen"),
                       QStringLiteral("Die Datenbanken wurden importiert. Nicht importiert "
                                      "wurden:") + notImported);
}

} // namespace

ImportResult ImportDatabases(Database &db, const QStringList &files, LoadParts parts,
                             const SortCriteria &criteria, UserPrompt &prompt, Progress &progress,
                             ImportWatcher *watcher)
{
    if (std::optional<ImportInputError> inputError = checkImportInput(files, parts))
        return {std::move(inputError), {}};
    parts &= ImportableParts;
    const bool wasModified = db.DatabaseModified;

    ImportResult result;
    for (const QString &file : files) {
        if (watcher)
            watcher->fileBegins();
        try {
            if (ImportDatabase(db, file, parts, prompt, progress, watcher) == LoadResult::Read)
                continue;
        } catch (const Error &e) {
            // A refused file is told and the next one follows; any other failure ends the import.
            if (!e.refusesFile())
                throw;
            reportFailure(prompt, e);
        }
        if (watcher)
            watcher->fileRefused();
        result.refused.append(file);
    }

    if (result.refused.size() < files.size()) {
        if (watcher)
            watcher->sorting();
        sortImported(db, parts, criteria);
        db.DatabaseModified = true;
    } else {
        db.DatabaseModified = wasModified;
    }
    reportImported(prompt, files, result.refused);
    return result;
}

} // namespace lexora
