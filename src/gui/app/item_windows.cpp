#include "app/item_windows.h"

#include "codefield/code_tool_bar.h"
#include "itemwindow/item_window.h"
#include "mainwindow/main_window.h"
#include "text/code_insertions.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

namespace lexora {

ItemWindows::ItemWindows(Document &document, MainWindow &mainWindow, CodeFieldSettings &look,
                         CodeMenus &menus, std::function<const QToolBar &()> editorToolBar,
                         QObject *parent)
    : QObject(parent),
      m_document(document),
      m_mainWindow(mainWindow),
      m_look(look),
      m_menus(menus),
      m_editorToolBar(std::move(editorToolBar))
{
    m_hideMainForm = new QAction(this);
    m_hideMainForm->setObjectName(QStringLiteral("Action_HideMainForm"));
    m_hideMainForm->setShortcut(QKeySequence(Qt::Key_F3));
    // Works in every window of the program, as long as a window that carries it is visible: the
    // main window or an item window.
    m_hideMainForm->setShortcutContext(Qt::ApplicationShortcut);
    m_mainWindow.addAction(m_hideMainForm);
    connect(m_hideMainForm, &QAction::triggered, this, &ItemWindows::ToolButton_HideMainWindowClick);
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive)
                    ApplicationEventsDeactivate();
            });
}

ItemWindows::~ItemWindows()
{
    // The windows have no parent; they go before the document whose nodes they show.
    for (ItemWindow *window : std::exchange(m_windows, {})) {
        window->disconnect(this);
        delete window;
    }
}

QToolBar *ItemWindows::copyEditorToolBar(QWidget *container)
{
    const QToolBar &editorBar = m_editorToolBar();
    QToolBar *bar = CopyEditorToolBar(m_menus, editorBar, container);
    // The tag button starts from "<b>" in every new window; wrapping is as in the editor.
    CodeMenus::SetDropDownButton(bar->findChild<QToolButton *>(QStringLiteral("ToolButton_Tag")),
                                 m_menus.PopupMenu_Tags()->actions().at(InitialTagRow));
    const auto wrap = [](const QToolBar &b) {
        return b.findChild<QToolButton *>(QStringLiteral("ToolButton_WantWrap"));
    };
    wrap(*bar)->setChecked(wrap(editorBar)->isChecked());
    return bar;
}

ItemWindow *ItemWindows::ToolButton_NewWindowClick()
{
    Node *node = m_mainWindow.selectedNode();
    if (!node || !node->isItem())
        return nullptr;
    ItemWindow *window = FindItemWindow(node);
    if (!window) {
        window = new ItemWindow(m_document, m_look,
                                [this](QWidget *container) { return copyEditorToolBar(container); },
                                node);
        window->addAction(m_hideMainForm);
        connect(window, &ItemWindow::closing, this, &ItemWindows::windowClosing);
        m_windows.append(window);
        m_mainWindow.command("ToolButton_HideMainWindow")->setEnabled(true);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

ItemWindow *ItemWindows::FindItemWindow(const Node *node) const
{
    for (ItemWindow *window : m_windows)
        if (window->node() == node)
            return window;
    return nullptr;
}

bool ItemWindows::OtherItemWindowExists(const ItemWindow *window) const
{
    return std::any_of(m_windows.begin(), m_windows.end(),
                       [window](const ItemWindow *w) { return w != window; });
}

void ItemWindows::windowClosing(ItemWindow *window)
{
    m_windows.removeOne(window);
    if (OtherItemWindowExists(nullptr))
        return;
    // Shown before the last item window is gone, so that the program always has a window.
    m_mainWindow.show();
    m_mainWindow.command("ToolButton_HideMainWindow")->setEnabled(false);
}

void ItemWindows::ToolButton_HideMainWindowClick()
{
    if (m_mainWindow.isHidden()) {
        m_mainWindow.show();
        m_mainWindow.raise();
        m_mainWindow.activateWindow();
    } else if (OtherItemWindowExists(nullptr)) {
        m_mainWindow.hide();
    }
}

void ItemWindows::ApplicationEventsDeactivate()
{
    if (!m_mainWindow.isHidden())
        return;
    for (ItemWindow *window : m_windows)
        window->raise();
}

} // namespace lexora
