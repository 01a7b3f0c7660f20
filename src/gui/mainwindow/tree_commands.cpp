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

void TQZS_LXD_Form::connectTree()
{
    m_model->setTitleEditedHandler(
        [this](Node *node, const Text &title) { TreeView_ItemsEdited(node, title); });
    TreeView_Items->setDropRule(
        [this](const QModelIndex &target) { return TreeView_ItemsDragOver(m_model->nodeOf(target)); });
    connect(TreeView_Items, &TreeView::dropRequested, this,
            [this](const QModelIndex &target) { TreeView_ItemsDragDrop(m_model->nodeOf(target)); });
    connect(TreeView_Items, &TreeView::deletePressed, this, &TQZS_LXD_Form::DeleteSelected);
    connect(TreeView_Items, &TreeView::renamePressed, this,
            &TQZS_LXD_Form::MenuItem_RenameItemClick);
    connect(TreeView_Items, &TreeView::enterPressed, this, &TQZS_LXD_Form::ShowSelected);
    connect(TreeView_Items, &TreeView::mousePressed, this, &TQZS_LXD_Form::ShowSelected);
    connect(TreeView_Items, &QAbstractItemView::doubleClicked, this,
            &TQZS_LXD_Form::TreeView_ItemsDblClick);
    connect(TreeView_Items, &QWidget::customContextMenuRequested, this,
            &TQZS_LXD_Form::TreeView_ItemsContextMenu);
    QItemSelectionModel *selection = TreeView_Items->selectionModel();
    connect(selection, &QItemSelectionModel::currentChanged, this,
            &TQZS_LXD_Form::TreeView_ItemsChange);
    connect(selection, &QItemSelectionModel::selectionChanged, this,
            &TQZS_LXD_Form::TreeView_ItemsChange);
}

Node *TQZS_LXD_Form::selectedNode() const
{
    const QItemSelectionModel *selection = TreeView_Items->selectionModel();
    const QModelIndex current = TreeView_Items->currentIndex();
    if (current.isValid() && selection->isSelected(current))
        return m_model->nodeOf(current);
    const QModelIndexList selected = selection->selectedIndexes();
    return selected.isEmpty() ? nullptr : m_model->nodeOf(selected.first());
}

QList<Node *> TQZS_LXD_Form::selectedNodes() const
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

void TQZS_LXD_Form::selectNode(Node *node)
{
    const QModelIndex index = m_model->indexOf(node);
    TreeView_Items->scrollTo(index);
    TreeView_Items->selectionModel()->setCurrentIndex(index,
                                                      QItemSelectionModel::ClearAndSelect);
}

void TQZS_LXD_Form::TreeView_ItemsChange()
{
    // One click changes the focus and the selection; the display follows the selected node once.
    if (m_displaySuspended || selectedNode() == m_lastChangeNode)
        return;
    ShowSelected();
}

void TQZS_LXD_Form::ShowSelected()
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

Node *TQZS_LXD_Form::addNode(Node *node)
{
    // The new node is shown and its title edited at once.
    selectNode(node);
    const QModelIndex index = m_model->indexOf(node);
    TreeView_Items->setFocus();
    TreeView_Items->edit(index);
    return node;
}

Node *TQZS_LXD_Form::NewKey(Node *parent)
{
    return addNode(m_document.newKey(parent));
}

Node *TQZS_LXD_Form::NewItem(Node *parent)
{
    return addNode(m_document.newItem(parent));
}

void TQZS_LXD_Form::ToolButton_NewItemClick(bool item)
{
    // Beside a selected item, inside a selected key, else on the top level.
    Node *selected = selectedNode();
    Node *parent = selected && selected->isItem() ? selected->parent() : selected;
    item ? NewItem(parent) : NewKey(parent);
}

void TQZS_LXD_Form::PopupMenu_ItemsPopup(Node *underPointer)
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

void TQZS_LXD_Form::TreeView_ItemsContextMenu(const QPoint &pos)
{
    PopupMenu_ItemsPopup(m_model->nodeOf(TreeView_Items->indexAt(pos)));
    PopupMenu_Items->popup(TreeView_Items->viewport()->mapToGlobal(pos));
}

void TQZS_LXD_Form::MenuItem_RenameItemClick()
{
    if (Node *node = selectedNode()) {
        const QModelIndex index = m_model->indexOf(node);
        TreeView_Items->setCurrentIndex(index);
        TreeView_Items->edit(index);
    }
}

void TQZS_LXD_Form::TreeView_ItemsEdited(Node *node, const Text &title)
{
    m_document.renameNode(node, title);
    if (node->isItem() && node->item()->Code.isEmpty())
        Q_EMIT m_requests.editItem(node);
}

void TQZS_LXD_Form::TreeView_ItemsDblClick()
{
    Node *node = selectedNode();
    if (node && node->isItem())
        Q_EMIT m_requests.editItem(node);
}

void TQZS_LXD_Form::DeleteSelected()
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

void TQZS_LXD_Form::forgetNode(Node *node)
{
    if (m_lastChangeNode == node)
        m_lastChangeNode = nullptr;
    if (m_popupNode == node)
        m_popupNode = nullptr;
}

bool TQZS_LXD_Form::TreeView_ItemsDragOver(const Node *target) const
{
    return Document::acceptsDrop(target);
}

void TQZS_LXD_Form::TreeView_ItemsDragDrop(Node *target)
{
    if (!m_document.moveNodes(selectedNodes(), target))
        return;
    if (target)
        TreeView_Items->expand(m_model->indexOf(target));
}

} // namespace lexora
