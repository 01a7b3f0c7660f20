#pragma once

#include "database/model.h"
#include "settings/settings.h"

#include <QMainWindow>
#include <QUrl>

#include <functional>

class QAction;
class QMenu;
class QSplitter;
class QToolBar;

namespace lexora {

class BrowserView;
class Document;
class InfoArea;
class TreeModel;
class TreeView;
class UserPrompt;
class WindowRequests;

// The main window: tool bar, menus, the tree of the open database, the page display and the
// information area. It changes the database only through the Document and follows its signals;
// the commands of other windows (file commands, dialogs) are connected by the window manager.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    // settingsFile: "Settings.ini", read at the first show and written at the close.
    MainWindow(Document &document, Settings &settings, UserPrompt &prompt,
                  WindowRequests &requests, QString settingsFile, QWidget *parent = nullptr);
    ~MainWindow() override;

    Settings &settings() { return m_settings; }
    TreeView *treeView() const { return TreeView_Items; }
    TreeModel *treeModel() const { return m_model; }
    BrowserView *browser() const { return WebBrowser; }
    InfoArea *infoArea() const { return PaintBox_Info; }
    QMenu *popupMenu() const { return PopupMenu_Items; }

    // A command of the command table by its name; nullptr when there is none.
    QAction *command(const char *name) const;
    // Asked before the window closes; false keeps it open (unsaved changes, a failed save).
    void setCloseQuery(std::function<bool()> mayClose) { m_mayClose = std::move(mayClose); }

    // The selection: the focused node when it is selected, else the first selected one.
    Node *selectedNode() const;
    QList<Node *> selectedNodes() const;
    // Makes node the only selected node, opening its parents.
    void selectNode(const Node *node);

    void ShowSelected();
    void UpdateCaption();
    // The undo and redo commands name the step they would take, or are off without one.
    void showUndoSteps();

    // Tree commands.
    Node *NewKey(Node *parent);
    Node *NewItem(Node *parent);
    void DeleteSelected();
    void PopupMenu_ItemsPopup(Node *underPointer);
    void ToolButton_NewItemClick(bool item);
    void MenuItem_RenameItemClick();
    void TreeView_ItemsEdited(Node *node, const Text &title);
    bool TreeView_ItemsDragOver(const Node *target) const;
    void TreeView_ItemsDragDrop(Node *target);

    // The text selected in the display, and the selected item's code, as plain text on the
    // clipboard.
    void MenuItem_CopyTextClick();
    void MenuItem_CopyCodeClick();

    // Files dropped onto the window, in drop order: exactly one existing file is opened.
    void FilesDropped(const QList<QUrl> &urls);

    // Settings of the window (layout, information area, "open last").
    void LoadSettings();
    void SaveSettings();

Q_SIGNALS:
    // The first show, after the window's settings were read: the database to start with comes.
    void firstShown();
    // A database file was dropped onto the window.
    void databaseFileDropped(const QString &fileName);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void createCommands();
    void createMenus();
    void createToolBar();
    void createCentralArea();
    void createTreeMenu();
    void connectCommands();
    void connectTree();
    void followDocument();
    void keepTreeStateAcrossMerges();
    void applyWindowSettings();

    Node *addNode(Node *node);
    void TreeView_ItemsChange();
    void TreeView_ItemsContextMenu(const QPoint &pos);
    void TreeView_ItemsDblClick();
    // A node that is about to go is no longer remembered.
    void forgetNode(Node *node);

    Document &m_document;
    Settings &m_settings;
    UserPrompt &m_prompt;
    WindowRequests &m_requests;
    QString m_settingsFile;
    std::function<bool()> m_mayClose;
    bool m_firstShowDone = false;
    bool m_displaySuspended = false;
    Node *m_lastChangeNode = nullptr;
    Node *m_popupNode = nullptr;

    TreeModel *m_model = nullptr;

    // Components, named as the rest of the program refers to them.
    QToolBar *ToolBar = nullptr;
    TreeView *TreeView_Items = nullptr;
    QSplitter *Splitter = nullptr;
    QWidget *Panel1 = nullptr;
    BrowserView *WebBrowser = nullptr;
    InfoArea *PaintBox_Info = nullptr;
    QMenu *PopupMenu_Items = nullptr;
    QMenu *Ansicht1 = nullptr;
};

} // namespace lexora
