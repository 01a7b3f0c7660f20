// The main window's tree: selection, display, new keys and items, rename, delete, drag and drop.
#include "mainwindow/main_window.h"

#include "browser/browser_view.h"
#include "browser/show_page.h"
#include "document/document.h"
#include "mainwindow/info_area.h"
#include "mainwindow/tree_model.h"
#include "mainwindow/tree_view.h"
#include "support/user_prompt.h"
#include "support/window_requests.h"

#include <QAction>
#include <QMenu>

namespace lexora {

void MainWindow::connectTree()
{
    m_model->setTitleEditedHandler(
        [this](Node *node, const Text &title) { TreeView_ItemsEdited(node, title); });
    TreeView_Items->setDropRule(
        [this](const QModelIndex &target) { return TreeView_ItemsDragOver(m_model->nodeOf(target)); });
    connect(TreeView_Items, &TreeView::dropRequested, this,
            [this](const QModelIndex &target) { TreeView_ItemsDragDrop(m_model->nodeOf(target)); });
    connect(TreeView_Items, &TreeView::deletePressed, this, &MainWindow::DeleteSelected);
    connect(TreeView_Items, &TreeView::renamePressed, this,
            &MainWindow::MenuItem_RenameItemClick);
    connect(TreeView_Items, &TreeView::enterPressed, this, &MainWindow::ShowSelected);
    connect(TreeView_Items, &TreeView::mousePressed, this, &MainWindow::ShowSelected);
    connect(TreeView_Items, &QAbstractItemView::doubleClicked, this,
            &MainWindow::TreeView_ItemsDblClick);
    connect(TreeView_Items, &QWidget::customContextMenuRequested, this,
            &MainWindow::TreeView_ItemsContextMenu);
    QItemSelectionModel *selection = TreeView_Items->selectionModel();
    connect(selection, &QItemSelectionModel::currentChanged, this,
            &MainWindow::TreeView_ItemsChange);
    connect(selection, &QItemSelectionModel::selectionChanged, this,
            &MainWindow::TreeView_ItemsChange);
}

Node *MainWindow::selectedNode() const
{
    const QItemSelectionModel *selection = TreeView_Items->selectionModel();
    const QModelIndex current = TreeView_Items->currentIndex();
    if (current.isValid() && selection->isSelected(current))
        return m_model->nodeOf(current);
    const QModelIndexList selected = selection->selectedIndexes();
    return selected.isEmpty() ? nullptr : m_model->nodeOf(selected.first());
}

QList<Node *> MainWindow::selectedNodes() const
{
    QList<Node *> nodes;
    for (const QModelIndex &index : TreeView_Items->selectionModel()->selectedIndexes())
        nodes.append(m_model->nodeOf(index));
    // In the tree's order (the selection holds siblings only).
    std::sort(nodes.begin(), nodes.end(), [](const Node *a, const Node *b) {
        return a->indexInParent() < b->indexInParent();
    });
    return nodes;
}

void MainWindow::selectNode(const Node *node)
{
    const QModelIndex index = m_model->indexOf(node);
    TreeView_Items->scrollTo(index);
    TreeView_Items->selectionModel()->setCurrentIndex(index,
                                                      QItemSelectionModel::ClearAndSelect);
}

void MainWindow::TreeView_ItemsChange()
{
    // One click changes the focus and the selection; the display follows the selected node once.
    if (m_displaySuspended || selectedNode() == m_lastChangeNode)
        return;
    ShowSelected();
}

void MainWindow::ShowSelected()
{
    Node *node = selectedNode();
    m_lastChangeNode = node;
    PaintBox_Info->setContent(InfoContent::forNode(node));
    command("ToolButton_DelItem")->setEnabled(node != nullptr);
    const bool item = node && node->isItem();
    for (const char *name : {"ToolButton_NewWindow", "MenuItem_CopyText", "MenuItem_CopyCode"})
        command(name)->setEnabled(item);
    if (node)
        ShowNodePage(*WebBrowser, m_document.database(), *node);
    else
        WebBrowser->showBlank();
}

Node *MainWindow::addNode(Node *node)
{
    // The new node is shown and its title edited at once.
    selectNode(node);
    const QModelIndex index = m_model->indexOf(node);
    TreeView_Items->setFocus();
    TreeView_Items->edit(index);
    return node;
}

Node *MainWindow::NewKey(Node *parent)
{
    return addNode(m_document.newKey(parent));
}

Node *MainWindow::NewItem(Node *parent)
{
    return addNode(m_document.newItem(parent));
}

void MainWindow::ToolButton_NewItemClick(bool item)
{
    // Beside a selected item, inside a selected key, else on the top level.
    Node *selected = selectedNode();
    Node *parent = selected && selected->isItem() ? selected->parent() : selected;
    item ? NewItem(parent) : NewKey(parent);
}

void MainWindow::PopupMenu_ItemsPopup(Node *underPointer)
{
    m_popupNode = underPointer;
    const bool onNode = underPointer != nullptr;
    const bool topLevelNode = onNode && underPointer->parent() == nullptr;
    const bool key = onNode && !underPointer->isItem();
    const std::pair<const char *, bool> visible[] = {
        {"MenuItem_NewKey", onNode},         {"MenuItem_NewItem", onNode},
        {"MenuItem_RenameItem", onNode},     {"MenuItem_DelItem", onNode},
        {"MenuItem_NewTopKey", !topLevelNode}, {"MenuItem_NewTopItem", !topLevelNode},
        {"MenuItem_NewSubKey", key},         {"MenuItem_NewSubItem", key},
    };
    for (const auto &[name, shown] : visible)
        command(name)->setVisible(shown);
}

void MainWindow::TreeView_ItemsContextMenu(const QPoint &pos)
{
    PopupMenu_ItemsPopup(m_model->nodeOf(TreeView_Items->indexAt(pos)));
    PopupMenu_Items->popup(TreeView_Items->viewport()->mapToGlobal(pos));
}

void MainWindow::MenuItem_RenameItemClick()
{
    if (Node *node = selectedNode()) {
        const QModelIndex index = m_model->indexOf(node);
        TreeView_Items->setCurrentIndex(index);
        TreeView_Items->edit(index);
    }
}

void MainWindow::TreeView_ItemsEdited(Node *node, const Text &title)
{
    m_document.renameNode(node, title);
    if (node->isItem() && node->item()->Code.isEmpty())
        Q_EMIT m_requests.editItem(node);
}

void MainWindow::TreeView_ItemsDblClick()
{
    Node *node = selectedNode();
    if (node && node->isItem())
        Q_EMIT m_requests.editItem(node);
}

void MainWindow::DeleteSelected()
{
    const QList<Node *> nodes = selectedNodes();
    if (nodes.isEmpty())
        return;
    if (m_prompt.question(QStringLiteral("Lexora"),
                          QStringLiteral("Wollen Sie die markierten Einträge wirklich löschen?"),
                          UserPrompt::Buttons::YesNo, UserPrompt::Icon::Warning)
        != UserPrompt::Answer::Yes)
        return;
    m_displaySuspended = true;
    m_document.removeNodes(nodes);
    m_displaySuspended = false;
    // The focus has moved on to a neighbour; the selection follows it.
    const QModelIndex current = TreeView_Items->currentIndex();
    if (current.isValid() && !TreeView_Items->selectionModel()->hasSelection())
        TreeView_Items->selectionModel()->select(current, QItemSelectionModel::Select);
    ShowSelected();
}

void MainWindow::forgetNode(Node *node)
{
    if (m_lastChangeNode == node)
        m_lastChangeNode = nullptr;
    if (m_popupNode == node)
        m_popupNode = nullptr;
}

bool MainWindow::TreeView_ItemsDragOver(const Node *target) const
{
    return Document::acceptsDrop(target);
}

void MainWindow::TreeView_ItemsDragDrop(Node *target)
{
    if (!m_document.moveNodes(selectedNodes(), target))
        return;
    if (target)
        TreeView_Items->expand(m_model->indexOf(target));
}

} // namespace lexora
