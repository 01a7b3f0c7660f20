#pragma once

#include "database/model.h"
#include "settings/settings.h"
#include "sorting/sort_criteria.h"

#include <QMainWindow>
#include <QSet>
#include <QUrl>

#include <functional>
#include <memory>

class QAction;
class QMenu;
class QSplitter;
class QToolBar;

namespace lexora {

class BrowserView;
class Error;
class FileDialogs;
class InfoArea;
class InstanceFolder;
class TForm10;
class TForm5;
class TForm8;
class TreeModel;
class TreeView;
class UserPrompt;

// The main window: tool bar, menus, the tree of the open database, the page display and the
// information area, with the program's start-up work and its file and tree commands.
class TQZS_LXD_Form : public QMainWindow {
    Q_OBJECT

public:
    // Sets up the home folder's "Templates" and this instance's included-files folder. Questions
    // and messages go through prompt, the database file dialogs through fileDialogs. Throws Error
    // when the folders cannot be made.
    TQZS_LXD_Form(const QString &homeFolder, UserPrompt &prompt, FileDialogs &fileDialogs,
                  QWidget *parent = nullptr);
    ~TQZS_LXD_Form() override;

    // A database to open at the first show instead of the last one (from the command line).
    void setStartFile(const QString &fileName) { m_startFile = fileName; }

    Database &database() { return m_db; }
    Settings &settings() { return m_settings; }
    const Text &userName() const { return m_userName; }
    const QString &templatesFolder() const { return m_templatesFolder; }
    int instanceNumber() const;
    QString settingsFile() const;
    SortCriteria sortCriteria() const;
    TreeView *treeView() const { return TreeView_Items; }
    TreeModel *treeModel() const { return m_model; }
    BrowserView *browser() const { return WebBrowser; }
    InfoArea *infoArea() const { return PaintBox_Info; }
    QMenu *popupMenu() const { return PopupMenu_Items; }

    // Commands whose windows are not part of the program yet stay disabled; a window that takes
    // over a command makes it available.
    void makeAvailable(QAction *command);
    void setCommandEnabled(QAction *command, bool enabled);

    // The item editor opens through this (the double click on an item, a new item's title).
    void setEditItemHandler(std::function<void(Node *)> handler) { m_editItem = std::move(handler); }
    void EditItem(Node *node);

    // The selection: the focused node when it is selected, else the first selected one.
    Node *selectedNode() const;
    QList<Node *> selectedNodes() const;
    // Makes node the only selected node, opening its parents.
    void selectNode(Node *node);

    // Display.
    void ShowSelected();

    // Tree commands.
    Node *NewKey(Node *parent);
    Node *NewItem(Node *parent);
    void DeleteSelected();
    void RemoveNode(Node *node);
    void PopupMenu_ItemsPopup(Node *underPointer);
    void ToolButton_NewItemClick(bool item);
    void MenuItem_RenameItemClick();
    void TreeView_ItemsEdited(Node *node, const Text &title);
    bool TreeView_ItemsDragOver(const Node *target) const;
    void TreeView_ItemsDragDrop(Node *target);
    void sortTree();

    // File commands.
    bool ConfirmSaveChanges();
    void UpdateCaption();
    void OpenDatabase(const QString &fileName, bool askForFile);
    void MenuItem_NewClick();
    void MenuItem_OpenClick();
    void MenuItem_SaveClick();
    void MenuItem_SaveAsClick();
    void MenuItem_SaveAsTemplateClick();
    void MenuItem_LXDTemplatesClick();
    void MenuItem_EncryptionClick();
    // Files dropped onto the window, in drop order.
    void FilesDropped(const QList<QUrl> &urls);

    // Settings.
    void LoadSettings();
    void SaveSettings();

Q_SIGNALS:
    // A node is about to be destroyed (sent for each node of a deleted subtree, parents first).
    void nodeRemoving(lexora::Node *node);
    // A node's title changed.
    void nodeRenamed(lexora::Node *node);
    // A node moved to another place in the tree.
    void nodeMoved(lexora::Node *node);
    // The whole database is about to be emptied.
    void databaseClearing();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QAction *addCommand(const char *objectName, const QString &caption, const QString &hint,
                        const QKeySequence &shortcut = {});
    void createCommands();
    void createMenus();
    void createToolBar();
    void createCentralArea();
    void createTreeMenu();
    void connectCommands();
    void connectTree();

    void firstShow();
    void applyWindowSettings();
    void openLastFile();
    void loadStandardTemplate();
    enum class LoadResult { Opened, Refused, Damaged };
    // Opens fileName as the database with the tree sorted; a damaged file's error is shown.
    LoadResult loadFile(const QString &fileName);
    // Runs a change of the whole database while the view sees an empty tree and the display
    // stands still; the view reads the tree anew afterwards, also when change throws.
    void changeDatabase(const std::function<void()> &change);
    // Empties the database; only inside changeDatabase.
    void clearDatabase();
    void saveTo(const QString &fileName, bool asTemplate);
    void showError(const Error &error);

    Node *addNode(Node *parent, const Text &title, std::unique_ptr<TTipItem> item);
    std::unique_ptr<TTipItem> newTipItem() const;
    void TreeView_ItemsChange();
    void TreeView_ItemsContextMenu(const QPoint &pos);
    void TreeView_ItemsDblClick();

    QString m_homeFolder;
    UserPrompt &m_prompt;
    FileDialogs &m_fileDialogs;
    Text m_userName;
    QString m_templatesFolder;
    // Declared before the database: the included files' bytes go before their folder does.
    std::unique_ptr<InstanceFolder> m_instance;
    Database m_db;
    Settings m_settings;
    QString m_startFile;
    std::function<void(Node *)> m_editItem;
    bool m_firstShowDone = false;
    bool m_displaySuspended = false;
    Node *m_lastChangeNode = nullptr;
    Node *m_popupNode = nullptr;
    QSet<QAction *> m_unavailable;

    TreeModel *m_model = nullptr;
    TForm5 *m_form5 = nullptr;
    TForm8 *m_form8 = nullptr;
    std::unique_ptr<TForm10> m_form10; // a window of its own, centred on the screen

    // Components, named as the rest of the program refers to them.
    QToolBar *ToolBar = nullptr;
    TreeView *TreeView_Items = nullptr;
    QSplitter *Splitter = nullptr;
    QWidget *Panel1 = nullptr;
    BrowserView *WebBrowser = nullptr;
    InfoArea *PaintBox_Info = nullptr;
    QMenu *PopupMenu_Items = nullptr;
    QMenu *Ansicht1 = nullptr;

    QAction *MenuItem_New = nullptr;
    QAction *MenuItem_Open = nullptr;
    QAction *MenuItem_Save = nullptr;
    QAction *MenuItem_SaveAs = nullptr;
    QAction *MenuItem_SaveAsTemplate = nullptr;
    QAction *MenuItem_ExportBrowserContent = nullptr;
    QAction *MenuItem_ExportDatabase = nullptr;
    QAction *MenuItem_Import = nullptr;
    QAction *MenuItem_Exit = nullptr;
    QAction *MenuItem_IncludedFiles = nullptr;
    QAction *MenuItem_Search = nullptr;
    QAction *MenuItem_CopyText = nullptr;
    QAction *MenuItem_CopyCode = nullptr;
    QAction *MenuItem_SortCriteriums = nullptr;
    QAction *MenuItem_ShowInfo = nullptr;
    QAction *Editierfelder1 = nullptr;
    QAction *MenuItem_Templates = nullptr;
    QAction *MenuItem_LXDTemplates = nullptr;
    QAction *MenuItem_OpenLast = nullptr;
    QAction *MenuItem_Encryption = nullptr;
    QAction *MenuItem_BalloonHelp = nullptr;
    QAction *MenuItem_Info = nullptr;

    QAction *ToolButton_NewKey = nullptr;
    QAction *ToolButton_NewItem = nullptr;
    QAction *ToolButton_DelItem = nullptr;
    QAction *ToolButton_NewWindow = nullptr;
    QAction *ToolButton_Tray = nullptr;
    QAction *ToolButton_HideMainWindow = nullptr;

    QAction *MenuItem_NewTopKey = nullptr;
    QAction *MenuItem_NewKey = nullptr;
    QAction *MenuItem_NewSubKey = nullptr;
    QAction *MenuItem_NewTopItem = nullptr;
    QAction *MenuItem_NewItem = nullptr;
    QAction *MenuItem_NewSubItem = nullptr;
    QAction *MenuItem_RenameItem = nullptr;
    QAction *MenuItem_DelItem = nullptr;
};

} // namespace lexora
