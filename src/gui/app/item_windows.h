#pragma once

#include "database/model.h"

#include <QList>
#include <QObject>

#include <functional>

class QAction;
class QToolBar;

namespace lexora {

class CodeFieldSettings;
class CodeMenus;
class Document;
class ItemWindow;
class MainWindow;

// The item windows of the program, at most one per node, and hiding the main window while they
// are open: F3 ("Action_HideMainForm", from every window) and the main window's
// "ToolButton_HideMainWindow". The program never ends up without a visible window: closing the
// last item window brings the main window back.
class ItemWindows : public QObject {
    Q_OBJECT

public:
    // editorToolBar gives the item editor's tool bar, which the code pages copy.
    ItemWindows(Document &document, MainWindow &mainWindow, CodeFieldSettings &look,
                CodeMenus &menus,
                std::function<const QToolBar &()> editorToolBar, QObject *parent = nullptr);
    ~ItemWindows() override;

    // The window of the item selected in the main window, made or brought forward.
    ItemWindow *ToolButton_NewWindowClick();
    ItemWindow *FindItemWindow(const Node *node) const;
    // Whether an item window other than window (nullptr: any) is open.
    bool OtherItemWindowExists(const ItemWindow *window) const;

    // F3: shows a hidden main window; hides it while an item window is open.
    void ToolButton_HideMainWindowClick();
    // The program lost the focus: with the main window hidden, the item windows come forward.
    void ApplicationEventsDeactivate();

    QAction *Action_HideMainForm() const { return m_hideMainForm; }

private:
    QToolBar *copyEditorToolBar(QWidget *container);
    void windowClosing(ItemWindow *window);

    Document &m_document;
    MainWindow &m_mainWindow;
    CodeFieldSettings &m_look;
    CodeMenus &m_menus;
    std::function<const QToolBar &()> m_editorToolBar;
    QAction *m_hideMainForm = nullptr;
    QList<ItemWindow *> m_windows;
};

} // namespace lexora
