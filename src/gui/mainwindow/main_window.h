#pragma once

#include <QMainWindow>
#include <QSet>

class QAction;
class QMenu;
class QSplitter;
class QToolBar;

namespace lexora::gui {

class BrowserView;

// The main window: tool bar, menus, the tree of the open database, the page display and the
// information area.
class TQZS_LXD_Form : public QMainWindow {
    Q_OBJECT

public:
    explicit TQZS_LXD_Form(QWidget *parent = nullptr);
    ~TQZS_LXD_Form() override;

    // Commands whose windows are not part of the program yet stay disabled; a window that takes
    // over a command makes it available.
    void makeAvailable(QAction *command);
    // Enables a command when it is available.
    void setCommandEnabled(QAction *command, bool enabled);

private:
    QAction *addCommand(const char *objectName, const QString &caption, const QString &hint,
                        const QKeySequence &shortcut = {});
    void createCommands();
    void createMenus();
    void createToolBar();
    void createCentralArea();

protected:
    // Components, named as the rest of the program refers to them.
    QToolBar *ToolBar = nullptr;
    QSplitter *Splitter = nullptr;
    QWidget *Panel1 = nullptr;
    BrowserView *WebBrowser = nullptr;

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

    QMenu *Ansicht1 = nullptr;

private:
    QSet<QAction *> m_unavailable;
};

} // namespace lexora::gui
