#pragma once

#include "database/file_format.h"
#include "database/model.h"
#include "document/backups.h"
#include "document/file_identity.h"
#include "document/undo_stack.h"
#include "exchange/import.h"
#include "sorting/sort_criteria.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

namespace lexora {

class OpenFileRecord;
class Progress;
class UserPrompt;

// The open database and the only way to change it. Every window and lexora-cli work on one
// Document; it keeps the rules of each edit in one place and announces every change, so that
// windows follow the document and never each other.
//
// Reading: database() and the nodes reached from it. Nodes are plain data that hand out
// non-const pointers, but only the functions below change them.
//
// Signals come in pairs where a view must know both sides of a change (a tree model): the
// "about to" signal while the tree still has its old shape, the other once it has the new one.
class Document : public QObject {
    Q_OBJECT

public:
    // What happens to the included files' bytes when the document ends.
    enum class FilesAtEnd { Delete, Keep };

    // includedFilesFolder must exist and end with '/'; the caller keeps the folder, the document
    // keeps the bytes of its included files in it. userName signs new items.
    Document(const QString &includedFilesFolder, Text userName, UserPrompt &prompt,
             Progress &progress, FilesAtEnd filesAtEnd = FilesAtEnd::Delete,
             QObject *parent = nullptr);
    ~Document() override;

    const Database &database() const { return m_db; }
    const QString &currentFileName() const { return m_db.CurrentFileName; }
    bool isModified() const { return m_db.DatabaseModified; }
    const Text &userName() const { return m_userName; }
    const QString &includedFilesFolder() const { return m_db.IncludedFilesFolder; }
    UserPrompt &prompt() const { return m_prompt; }

    // The order of siblings everywhere in the tree (new, renamed and moved nodes, opened files).
    const SortCriteria &sortCriteria() const { return m_sortCriteria; }
    void setSortCriteria(SortCriteria criteria);

    // DatabaseModified: set by every edit below; cleared by open, new and save.
    void setModified(bool modified = true);

    // --- The tree. Every edit sets the modified flag.

    // The node a path names (see FindNodeByPath), as the edits below take it; nullptr for none.
    Node *findNode(const Text &path);

    // A node appended as the last child of parent (nullptr: the top level), not sorted in: a key
    // when item is null.
    Node *appendNode(Node *parent, const Text &title, std::unique_ptr<TTipItem> item);
    // NewKey and NewItem: "Neuer Schlüssel" or "Neuer Eintrag" as the last child of parent, then
    // the parent's children sorted. A new item is dated today, signed with the user name and
    // takes the default templates and line breaks as "<br>".
    Node *newKey(Node *parent);
    Node *newItem(Node *parent);
    std::unique_ptr<TTipItem> newTipItem() const;
    // Any title is taken, also an empty one or a sibling's; the siblings are sorted again.
    void renameNode(Node *node, const Text &title);
    // Each node with its subtree; whatever refers into a subtree (the tray) lets go first.
    void removeNodes(const QList<Node *> &nodes);
    void removeNode(Node *node) { removeNodes({node}); }
    // Drops are taken onto a key or onto empty space (nullptr), never onto an item.
    static bool acceptsDrop(const Node *target);
    // Moves each node with its subtree to the end of target's children, then sorts them. A node
    // dropped onto itself or into its own subtree stays. Returns whether anything moved.
    bool moveNodes(const QList<Node *> &nodes, Node *target);
    // Sorts the children of parent (nullptr: the top level), or the whole tree.
    void sortChildren(Node *parent);
    void sortTree();

    // --- Items, templates, included files, tray, encryption.

    // How an item's values come: all at once (the item editor's OK), or typed into its code,
    // where the edits of one item in a row make one undo step.
    enum class ItemEdit { Whole, Typing };
    // Replaces every field of an item (the item editor stores code, templates, line-break flag,
    // the date and the editor's name this way).
    void setItem(Node *itemNode, const TTipItem &values, ItemEdit edit = ItemEdit::Whole);

    // --- Templates of a list (HtmlTemplates, CssTemplates). Each edit announces templatesChanged
    // and sets the modified flag.

    // What the template manager saves.
    struct TemplateFields {
        Text name;
        Text description;
        Text code;
        bool isDefault = false; // the list's default after the save; else not (any more)
    };
    // The first failing check of name for a template of list, edited (nullptr: a new template)
    // excepted: empty, "<" or ">", the exact name of another template of the list. The German
    // message for the warning balloon, or an empty string when the name may be used.
    QString templateNameProblem(int list, const TTemplate *edited, const Text &name) const;
    // Saves fields into edited, or into a new template appended to list when edited is nullptr.
    // A changed name (exact comparison) is first rewritten, with progress, in the code of every
    // item and of every other HTML template: "%xcss%Old>" (CSS) or "%>xhtml%Old>" (HTML), exactly,
    // with letter case. Then the list is sorted by name. Returns the saved template, or nullptr
    // when templateNameProblem refuses the name (nothing is changed then).
    TTemplate *saveTemplate(int list, TTemplate *edited, const TemplateFields &fields);
    // Removes tmpl from list. Items that used it take the list's default, none when tmpl was the
    // default. References by name in code stay as they are.
    void deleteTemplate(int list, TTemplate *tmpl);

    // --- Included files. Each edit announces includedFilesChanged and sets the modified flag.
    // A name that is no safe file name (empty, ".", "..", with "/", "\" or NUL) is refused with a
    // message before anything touches the disk: no file is written outside the folder.

    // AddIncludedFile for each path in order, then the list sorted by name. A name that is taken
    // is asked for again ("Name bereits belegt"; Cancel skips the file); a file that cannot be
    // copied is reported and skipped. Returns the added files. Sets the modified flag also when
    // nothing was added.
    QList<TInclFile *> addIncludedFiles(const QStringList &sourcePaths);
    // Renames the stored file and the entry, then sorts the list. False, with nothing changed,
    // for an empty name, a name that is taken, an unsafe name (reported) or a failed rename.
    // References in item code keep the old name.
    bool renameIncludedFile(TInclFile *file, const Text &name);
    // Deletes the stored files and their entries, from the last position to the first; a file
    // that cannot be deleted keeps its entry and is reported.
    void removeIncludedFiles(const QList<TInclFile *> &files);

    // TrayNodes: kept in tree order; a node is in it at most once. Adding returns the nodes that
    // were not in it yet, in the order given; the flag is set only when the tray changed.
    QList<Node *> addToTray(const QList<Node *> &nodes);
    void addToTray(Node *node) { addToTray(QList<Node *>{node}); }
    void removeFromTray(const QList<Node *> &nodes);
    void removeFromTray(Node *node) { removeFromTray(QList<Node *>{node}); }
    // Emptying a non-empty tray marks the database modified, so that closing asks to save it.
    void clearTray();
    // The encryption of the next save; does not mark the database modified, since nothing in it
    // changed until it is saved.
    void setEncryption(bool on, EncryptionMode mode, const SecretBytes &password);

    // --- Undo and redo. Every edit above is a step (an import and a sort are one each); undo
    // and redo announce their changes like the edits themselves. Open, new and start begin
    // with no steps; a save keeps them and marks the point where the database is as saved:
    // undoing or redoing back to it clears the modified flag.

    bool canUndo() const { return m_undo.canUndo(); }
    bool canRedo() const { return m_undo.canRedo(); }
    // The name of the step undo or redo would take ("Löschen von »Rezepte«"); empty for none.
    QString undoName() const;
    QString redoName() const;
    void undo();
    void redo();
    // The number of steps kept and the bytes they may keep beyond the database; the oldest
    // steps go first, the newest always stays.
    void setUndoLimits(int steps, qint64 bytes) { m_undo.setLimits(steps, bytes); }
    int undoStepCount() const { return m_undo.size(); }
    qint64 undoBytes() const { return m_undo.cost(); }

    // --- Whole databases. Errors of the file system or of a damaged file throw Error.

    using ChooseFile = std::function<std::optional<QString>()>;

    // Where the document tells other running instances which file it has open, and learns
    // whether one of them has a file open that it opens; nullptr (the default) for neither.
    void setOpenFileRecord(OpenFileRecord *record);

    // Where a save keeps the file it replaces; nullopt (the default) for no backups. A backup
    // that cannot be made is told, and the save goes on.
    void setBackups(std::optional<Backups> backups) { m_backups = std::move(backups); }

    // ConfirmSaveChanges: asks whether to save unsaved changes. Returns false on Cancel; on Yes
    // saves (chooseFile names an unnamed database) and returns whether it was saved: false when
    // the user cancels naming it or keeps a file that another program changed (see save). Throws
    // when that save fails. On false or a throw the caller closes and replaces nothing.
    bool confirmSaveChanges(const ChooseFile &chooseFile);
    // Save: to the current file, or through chooseFile as Save As. False when cancelled. When
    // another program has changed the file since it was opened or saved here, asks first
    // whether to overwrite it; No keeps the file and the database as they are and returns false.
    bool save(const ChooseFile &chooseFile);
    // Save As: names the database after fileName (also when the save then fails) and saves.
    void saveAs(const QString &fileName);
    // Save as template: only into templatesFolder itself (else a message, and false); the name
    // and the modified flag stay as they were.
    bool saveAsTemplate(const QString &fileName, const QString &templatesFolder);

    enum class OpenResult { Opened, Refused };
    // Open: the file replaces the database, sorted. A refused file (told through the prompt) or
    // one whose password is not given leaves an empty, unnamed, unencrypted database and gives
    // Refused; a damaged one throws and leaves what was read, unnamed. A file that
    // another running instance has open is opened with a warning.
    OpenResult open(const QString &fileName);
    // New: an empty database, or a copy of a template database (not sorted); unnamed.
    void newDatabase(const QString &templateFile);
    // Writes the database to fileName as a save does, encrypted as it is, without naming the
    // database after it or changing its modified flag (a recovery copy). Throws Error.
    void writeCopy(const QString &fileName);
    // Opens a copy written by writeCopy as the database of fileName (empty: an unnamed one),
    // with the changes it holds still to be saved. As open.
    OpenResult recover(const QString &copy, const QString &fileName);

    // Import: merges the files into the database (see ImportDatabases); the tree is sorted by the
    // document's criteria, the encryption stays. Returns the input error when nothing was
    // imported, and the files that were refused.
    ImportResult importDatabases(const QStringList &files, LoadParts parts);

    // The database the program starts with.
    struct StartFiles {
        QString given;            // from the command line; a missing one is reported
        QString last;             // opened when it exists
        QString standardTemplate; // loaded, unnamed, when no file was opened; empty for none
    };
    // Errors are reported through the prompt: a damaged file leaves an empty database, into
    // which the standard template database comes as after a refused one.
    void start(const StartFiles &files);

Q_SIGNALS:
    void nodeAboutToBeAdded(lexora::Node *parent, int row);
    void nodeAdded(lexora::Node *node);
    // For each node of a removed subtree, parents first, while the tree is still whole.
    void nodeAboutToBeRemoved(lexora::Node *node);
    // For the root of a removed subtree, after nodeAboutToBeRemoved for all of it.
    void subtreeAboutToBeRemoved(lexora::Node *root);
    void subtreeRemoved(lexora::Node *formerParent);
    void nodeRenamed(lexora::Node *node);
    void nodeAboutToBeMoved(lexora::Node *node, lexora::Node *newParent, int row);
    void nodeMoved(lexora::Node *node);
    // parent nullptr: the top level.
    void childrenAboutToBeSorted(lexora::Node *parent);
    void childrenSorted(lexora::Node *parent);
    void treeAboutToBeSorted();
    void treeSorted();
    void itemChanged(lexora::Node *node);
    void templatesChanged();
    void includedFilesChanged();
    void trayChanged();
    void encryptionChanged();
    // Around every clear, open, new and start: no node of the old database survives it.
    void databaseAboutToBeReplaced();
    void databaseReplaced();
    // Around an import: nodes, items, templates and included files may have been added or
    // changed; none was removed, and the tray and the default templates stay.
    void databaseAboutToBeMerged();
    void databaseMerged();
    void modifiedChanged(bool modified);
    void fileNameChanged(const QString &fileName);
    // The database was written to its file (a save or a save as).
    void saved(const QString &fileName);
    // What undo and redo can do has changed.
    void undoStateChanged();
    // A removed subtree that undo could have brought back is gone for good (root only names
    // it, its nodes no longer exist): whoever kept something of it for that case lets go.
    void subtreeReleased(const lexora::Node *root);

private:
    class Replacing;
    class Announce;
    class ImportWatcher;

    // Gathers the parts of one change into a step. An edit made of other edits (a new key is an
    // added node and a sort) records into the outermost one, whose end pushes the step.
    class Recording {
    public:
        Recording(Document &document, QString name,
                  UndoStep::Scope scope = UndoStep::Scope::Nodes);
        ~Recording();
        Recording(const Recording &) = delete;
        Recording &operator=(const Recording &) = delete;
        UndoStep &step() { return *m_document.m_step; }
        bool isOutermost() const { return m_outermost; }

    private:
        Document &m_document;
        bool m_outermost;
    };
    void record(std::unique_ptr<UndoPart> part);
    // Undo or redo of the next step, announced, with the stack and the modified flag after it.
    void applyStep(bool undo);
    void announce(const UndoEffects &effects, UndoStep::Scope scope);
    // Whether typing into node goes on the step before: the newest one, typed into node, and
    // not the point of the last save.
    bool continuesTyping(const Node *node) const;

    enum class SaveOutcome { Saved, NotNamed, Kept };
    SaveOutcome saveToFile(const ChooseFile &chooseFile);
    // Whether the current file may be written: it is as it was read or saved here, or the user
    // lets another program's changes go.
    bool mayOverwrite();
    // Remembers the current file as it is on disk now (after a save).
    void rememberFile();
    // Keeps the file a save is about to replace as a backup, when there is one.
    void keepBackup(const QString &fileName);
    // Empties the database, deleting the included files' bytes; only inside Replacing.
    void clear();
    // Keeps TrayNodes in tree order; reorderTray tells whether it changed, sortTray announces it.
    bool reorderTray();
    void sortTray();
    void reportError(const QString &message) const;
    // Loads a template database into the empty database; a refused one is told and leaves it
    // empty, a damaged one throws.
    void loadTemplate(const QString &templateFile);
    // Open for start: a damaged file's error is reported and leaves an empty database.
    void openReporting(const QString &fileName);
    // Rewrites "prefix + from + >" to "prefix + to + >" in every item and in every HTML template
    // but except.
    void rewriteTemplateReferences(const Text &prefix, const Text &from, const Text &to,
                                   const TTemplate *except);
    TInclFile *addIncludedFile(const QString &sourcePath);
    // Reports an unsafe name; false for it.
    bool checkFileName(const Text &name) const;
    // Every change below: the name of the step it makes, for the node or file named.
    // single names one thing ("%1" its name), many the count of them ("%1" the count).
    static QString stepName(const QString &single, const QString &many, const Text &name,
                            qsizetype count);

    Database m_db;
    Text m_userName;
    UserPrompt &m_prompt;
    Progress &m_progress;
    FilesAtEnd m_filesAtEnd;
    SortCriteria m_sortCriteria;
    OpenFileRecord *m_openFiles = nullptr;
    // CurrentFileName as this document last read or wrote it; nullopt for none.
    std::optional<FileIdentity> m_file;
    std::optional<Backups> m_backups;
    UndoStack m_undo;
    std::unique_ptr<UndoStep> m_step; // the step being recorded
};

} // namespace lexora
