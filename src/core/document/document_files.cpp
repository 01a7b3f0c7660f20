// The document's whole-database policies: open, new, save, save as, save as template, the
// question about unsaved changes, and the database the program starts with.
#include "document/document.h"

#include "database/file_format.h"
#include "database/open_database.h"
#include "document/undo_parts.h"
#include "setup/open_file_record.h"
#include "sorting/tree_sort.h"
#include "support/error.h"
#include "support/failure_report.h"
#include "support/progress.h"
#include "support/user_prompt.h"

#include <QDir>
#include <QFileInfo>

namespace lexora {

// Announces a changed file name and modified flag once an operation ends, also through an error.
class Document::Announce {
public:
    explicit Announce(Document &document)
        : m_document(document),
          m_modified(document.m_db.DatabaseModified),
          m_fileName(document.m_db.CurrentFileName)
    {
    }
    ~Announce()
    {
        const Database &db = m_document.m_db;
        if (db.CurrentFileName != m_fileName) {
            if (db.CurrentFileName.isEmpty())
                m_document.m_file.reset();
            if (m_document.m_openFiles)
                m_document.m_openFiles->setOpenFile(db.CurrentFileName);
            Q_EMIT m_document.fileNameChanged(db.CurrentFileName);
        }
        if (db.DatabaseModified != m_modified)
            Q_EMIT m_document.modifiedChanged(db.DatabaseModified);
    }
    Announce(const Announce &) = delete;
    Announce &operator=(const Announce &) = delete;

private:
    Document &m_document;
    bool m_modified;
    QString m_fileName;
};

// Brackets a replacement of the whole database, also when it ends through an error. The tray
// read from a file is in the file's order and the tree may have been sorted since: it is put in
// tree order before anyone sees the new database.
class Document::Replacing {
public:
    explicit Replacing(Document &document) : m_document(document)
    {
        Q_EMIT m_document.databaseAboutToBeReplaced();
        // No step reaches into another database.
        m_document.m_undo.clear();
    }
    ~Replacing()
    {
        m_document.reorderTray();
        Q_EMIT m_document.databaseReplaced();
        Q_EMIT m_document.undoStateChanged();
    }
    Replacing(const Replacing &) = delete;
    Replacing &operator=(const Replacing &) = delete;

private:
    Document &m_document;
};

void Document::clear()
{
    m_db.ClearDatabase();
}

void Document::reportError(const QString &message) const
{
    m_prompt.message(UserPrompt::Icon::Error, QStringLiteral("Lexora"), message);
}

void Document::setOpenFileRecord(OpenFileRecord *record)
{
    m_openFiles = record;
    if (m_openFiles)
        m_openFiles->setOpenFile(m_db.CurrentFileName);
}

bool Document::confirmSaveChanges(const ChooseFile &chooseFile)
{
    if (!m_db.DatabaseModified)
        return true;
    switch (m_prompt.question(QStringLiteral("Lexora"),
                              QStringLiteral("Wollen Sie die aktuelle Datei vor dem Schließen "
                                             "speichern?"),
                              UserPrompt::Buttons::YesNoCancel)) {
    case UserPrompt::Answer::Cancel:
        return false;
    case UserPrompt::Answer::Yes:
        // Only a database that was saved may go: a cancelled Save As and a file that another
        // program changed and the user keeps stop the caller, and a failed save throws, so that
        // nothing is closed or replaced and the changes are not lost.
        return saveToFile(chooseFile) == SaveOutcome::Saved;
    case UserPrompt::Answer::No:
        return true;
    }
    return false;
}

bool Document::save(const ChooseFile &chooseFile)
{
    return saveToFile(chooseFile) == SaveOutcome::Saved;
}

Document::SaveOutcome Document::saveToFile(const ChooseFile &chooseFile)
{
    if (m_db.CurrentFileName.isEmpty()) {
        const std::optional<QString> chosen = chooseFile();
        if (!chosen)
            return SaveOutcome::NotNamed;
        saveAs(*chosen);
        return SaveOutcome::Saved;
    }
    if (!mayOverwrite())
        return SaveOutcome::Kept;
    Announce announce(*this);
    keepBackup(m_db.CurrentFileName);
    SaveDatabase(m_db, m_db.CurrentFileName, false, m_progress);
    rememberFile();
    return SaveOutcome::Saved;
}

bool Document::mayOverwrite()
{
    if (!m_file || !m_file->changedOnDisk(m_db.CurrentFileName))
        return true;
    return m_prompt.question(QStringLiteral("Datei wurde geändert"),
                             QStringLiteral("Die Datei wurde inzwischen von einem anderen "
                                            "Programm geändert. Soll sie trotzdem überschrieben "
                                            "werden?"),
                             UserPrompt::Buttons::YesNo)
           == UserPrompt::Answer::Yes;
}

void Document::keepBackup(const QString &fileName)
{
    if (!m_backups || !QFileInfo(fileName).isFile())
        return;
    try {
        m_backups->keep(fileName);
    } catch (const Error &e) {
        m_prompt.message(UserPrompt::Icon::Warning, QStringLiteral("Sicherungskopie"),
                         e.message() + QStringLiteral("\r\nDie Datei wird trotzdem gespeichert."));
    }
}

void Document::rememberFile()
{
    m_file = FileIdentity::of(m_db.CurrentFileName);
    m_undo.markClean();
    Q_EMIT saved(m_db.CurrentFileName);
}

void Document::saveAs(const QString &fileName)
{
    Announce announce(*this);
    m_db.CurrentFileName = QFileInfo(fileName).absoluteFilePath();
    // Until it is written, the name stands for no file this document knows.
    m_file.reset();
    keepBackup(m_db.CurrentFileName);
    SaveDatabase(m_db, m_db.CurrentFileName, false, m_progress);
    rememberFile();
}

bool Document::saveAsTemplate(const QString &fileName, const QString &templatesFolder)
{
    if (QFileInfo(fileName).absolutePath() + QLatin1Char('/') != templatesFolder) {
        m_prompt.message(UserPrompt::Icon::Warning, QStringLiteral("Speichern nicht möglich"),
                         QStringLiteral("Vorlagen müssen im Vorlagen-Ordner gespeichert werden."));
        return false;
    }
    SaveDatabase(m_db, fileName, true, m_progress);
    return true;
}

void Document::writeCopy(const QString &fileName)
{
    NoProgress quiet;
    SaveDatabase(m_db, fileName, true, quiet);
}

Document::OpenResult Document::recover(const QString &copy, const QString &fileName)
{
    if (open(copy) != OpenResult::Opened)
        return OpenResult::Refused;
    Announce announce(*this);
    m_db.CurrentFileName = fileName;
    // Saving over the file asks when it changed after the copy was written.
    m_file = fileName.isEmpty() ? std::optional<FileIdentity>() : FileIdentity::of(fileName);
    m_db.DatabaseModified = true;
    // No undo leads back to a saved state: the file does not have these changes.
    m_undo.forgetCleanPoint();
    return OpenResult::Opened;
}

Document::OpenResult Document::open(const QString &fileName)
{
    Announce announce(*this);
    Replacing replacing(*this);
    // Taken before the file is read: a change made meanwhile is then asked about at the save,
    // rather than overwritten.
    std::optional<FileIdentity> identity = FileIdentity::of(fileName);
    m_file.reset();
    try {
        if (OpenDatabase(m_db, fileName, m_prompt, m_progress) == LoadResult::PasswordNotGiven)
            return OpenResult::Refused;
    } catch (const Error &e) {
        // A refused file is told here; a damaged one goes on to the caller.
        if (!e.refusesFile())
            throw;
        reportFailure(m_prompt, e);
        return OpenResult::Refused;
    }
    m_file = std::move(identity);
    SortTree(m_db.topLevel(), m_sortCriteria);
    if (m_openFiles && m_openFiles->isOpenElsewhere(m_db.CurrentFileName))
        m_prompt.message(UserPrompt::Icon::Warning, QStringLiteral("Datei bereits geöffnet"),
                         QStringLiteral("Die Datei „%1“ ist bereits in einem anderen laufenden "
                                        "Lexora geöffnet. Wenn Sie sie in beiden ändern, können "
                                        "Änderungen verloren gehen.")
                             .arg(QDir::toNativeSeparators(m_db.CurrentFileName)));
    return OpenResult::Opened;
}

void Document::newDatabase(const QString &templateFile)
{
    Announce announce(*this);
    Replacing replacing(*this);
    clear();
    m_db.CurrentFileName.clear();
    if (templateFile.isEmpty())
        m_db.DatabaseModified = false;
    else
        loadTemplate(templateFile);
}

void Document::loadTemplate(const QString &templateFile)
{
    try {
        LoadDatabase(m_db, templateFile, lpAll, m_prompt, m_progress);
    } catch (const Error &e) {
        // A refused template database is told and leaves the database empty.
        if (!e.refusesFile())
            throw;
        reportFailure(m_prompt, e);
    }
}

// Records an import's changes as parts of its step, in the order they are made: what a
// refused file merged leaves again with it; the lists' and the tree's orders come last.
class Document::ImportWatcher final : public lexora::ImportWatcher {
public:
    explicit ImportWatcher(Document &document)
        : m_document(document),
          m_html(std::make_unique<TemplateListPart>(document.m_db, HtmlTemplates)),
          m_css(std::make_unique<TemplateListPart>(document.m_db, CssTemplates)),
          m_files(std::make_unique<FileListPart>(document.m_db))
    {
    }

    void nodeAdded(Node *node) override { record(std::make_unique<SubtreePart>(node)); }
    void itemOverwriting(Node *node) override
    {
        record(std::make_unique<ItemsPart>(node, *node->item()));
    }
    void templateOverwriting(TTemplate *tmpl) override
    {
        auto part = std::make_unique<TemplateFieldsPart>();
        part->add(tmpl);
        record(std::move(part));
    }
    void includedFileOverwriting(TInclFile *file) override
    {
        record(std::make_unique<FileBytesPart>(file, FileBytesPart::read(m_document.m_db, *file)));
    }
    void includedFileAdded(TInclFile *file) override
    {
        record(std::make_unique<FileBytesPart>(file, std::nullopt));
    }
    void fileBegins() override { m_partsBeforeFile = m_document.m_step->partCount(); }
    void fileRefused() override { m_document.m_step->truncate(m_partsBeforeFile); }
    void sorting() override { m_order = OrderPart::capture(m_document.m_db.topLevel(), true); }

    // After the import, also one that a damaged file ended.
    void finish()
    {
        const Database &db = m_document.m_db;
        for (auto *list : {&m_html, &m_css})
            if (!(*list)->matches(db))
                record(std::move(*list));
        if (!m_files->matches(db))
            record(std::move(m_files));
        if (m_order)
            record(OrderPart::since(std::move(*m_order)));
    }

private:
    void record(std::unique_ptr<UndoPart> part) { m_document.record(std::move(part)); }

    Document &m_document;
    std::unique_ptr<TemplateListPart> m_html;
    std::unique_ptr<TemplateListPart> m_css;
    std::unique_ptr<FileListPart> m_files;
    std::optional<OrderPart::Before> m_order;
    int m_partsBeforeFile = 0;
};

ImportResult Document::importDatabases(const QStringList &files, LoadParts parts)
{
    const auto stepName = [](qsizetype count) {
        return count == 1 ? QStringLiteral("Import von 1 Datenbank")
                          : QStringLiteral("Import von %1 Datenbanken").arg(count);
    };
    Announce announce(*this);
    // Named after the files given until the import tells how many it took.
    Recording recording(*this, stepName(files.size()), UndoStep::Scope::WholeDatabase);
    ImportWatcher watcher(*this);
    Q_EMIT databaseAboutToBeMerged();
    // The import sorts the tree, which may reorder the tray's nodes.
    struct Merged {
        Document &document;
        ImportWatcher &watcher;
        ~Merged()
        {
            watcher.finish();
            document.sortTray();
            Q_EMIT document.databaseMerged();
        }
    } merged{*this, watcher};
    ImportResult result = ImportDatabases(m_db, files, parts, m_sortCriteria, m_prompt, m_progress,
                                          &watcher);
    recording.step().setName(stepName(files.size() - result.refused.size()));
    return result;
}

void Document::openReporting(const QString &fileName)
{
    try {
        open(fileName);
    } catch (const Error &e) {
        reportFailure(m_prompt, e);
        // What a damaged file let read is not kept.
        Announce announce(*this);
        Replacing replacing(*this);
        clear();
    }
}

void Document::start(const StartFiles &files)
{
    if (!files.given.isEmpty()) {
        if (QFileInfo(files.given).isFile())
            openReporting(files.given);
        else
            reportError(QStringLiteral("Die Datei „%1“ wurde nicht gefunden.")
                            .arg(QDir::toNativeSeparators(files.given)));
    } else if (!files.last.isEmpty() && QFileInfo(files.last).isFile()) {
        openReporting(files.last);
    }
    if (files.standardTemplate.isEmpty() || !m_db.CurrentFileName.isEmpty()
        || !QFileInfo(files.standardTemplate).isFile())
        return;
    Announce announce(*this);
    Replacing replacing(*this);
    try {
        LoadDatabase(m_db, files.standardTemplate, lpAll, m_prompt, m_progress);
    } catch (const Error &e) {
        reportFailure(m_prompt, e);
    }
}

} // namespace lexora
