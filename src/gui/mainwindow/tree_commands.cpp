// The main window's tree: selection, display, new keys and items, rename, delete, drag and drop.
#include "mainwindow/main_window.h"

#include "browser/browser_view.h"
#include "browser/show_page.h"
#include "database/win1252.h"
#include "mainwindow/info_area.h"
#include "mainwindow/tree_model.h"
#include "mainwindow/tree_view.h"
#include "support/user_prompt.h"

#include <QAction>
#include <QDate>
#include <QMenu>

namespace lexora {

namespace {

// Today as the model keeps dates: days since 1899-12-30, without time of day.
DateTime today()
{
    return DateTime(QDate(1899, 12, 30).daysTo(QDate::currentDate()));
}

} // namespace

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

void TQZS_LXD_Form::EditItem(Node *node)
{
    if (m_editItem)
        m_editItem(node);
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
    setCommandEnabled(ToolButton_DelItem, node != nullptr);
    const bool item = node && node->isItem();
    setCommandEnabled(ToolButton_NewWindow, item);
    setCommandEnabled(MenuItem_CopyText, item);
    setCommandEnabled(MenuItem_CopyCode, item);
    if (node)
        ShowNodePage(*WebBrowser, m_db, *node);
    else
        WebBrowser->showBlank();
}

std::unique_ptr<TTipItem> TQZS_LXD_Form::newTipItem() const
{
    auto item = std::make_unique<TTipItem>();
    item->Created = item->Modified = today();
    item->CreatedBy = item->ModifiedBy = m_userName;
    item->HTMLTemplate = m_db.DefaultHTMLTemplate;
    item->CSSTemplate = m_db.DefaultCSSTemplate;
    item->AutoFormat = true;
    return item;
}

Node *TQZS_LXD_Form::addNode(Node *parent, const Text &title, std::unique_ptr<TTipItem> item)
{
    Node *node = m_model->appendNode(parent, title, std::move(item));
    selectNode(node);
    m_model->sortChildren(parent, sortCriteria());
    const QModelIndex index = m_model->indexOf(node);
    TreeView_Items->scrollTo(index);
    TreeView_Items->setFocus();
    TreeView_Items->edit(index);
    m_db.DatabaseModified = true;
    return node;
}

Node *TQZS_LXD_Form::NewKey(Node *parent)
{
    return addNode(parent, win1252::fromUnicode(QStringLiteral("Neuer Schlüssel")), nullptr);
}

Node *TQZS_LXD_Form::NewItem(Node *parent)
{
    return addNode(parent, win1252::fromUnicode(QStringLiteral("Neuer Eintrag")), newTipItem());
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
    for (QAction *a : {MenuItem_NewKey, MenuItem_NewItem, MenuItem_RenameItem, MenuItem_DelItem})
        a->setVisible(onNode);
    const bool topLevelNode = onNode && underPointer->parent() == nullptr;
    MenuItem_NewTopKey->setVisible(!topLevelNode);
    MenuItem_NewTopItem->setVisible(!topLevelNode);
    const bool key = onNode && !underPointer->isItem();
    MenuItem_NewSubKey->setVisible(key);
    MenuItem_NewSubItem->setVisible(key);
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
    m_model->setTitle(node, title);
    m_db.DatabaseModified = true;
    m_model->sortChildren(node->parent(), sortCriteria());
    ShowSelected();
    Q_EMIT nodeRenamed(node);
    if (node->isItem() && node->item()->Code.isEmpty())
        EditItem(node);
}

void TQZS_LXD_Form::TreeView_ItemsDblClick()
{
    Node *node = selectedNode();
    if (node && node->isItem())
        EditItem(node);
}

void TQZS_LXD_Form::DeleteSelected()
{
    const QList<Node *> nodes = selectedNodes();
    if (nodes.isEmpty())
        return;
    if (m_prompt.question(QStringLiteral("Lexora"),
                          QStringLiteral("Wollen Sie die markierten Einträge wirklich löschen?"),
                          UserPrompt::Buttons::YesNo)
        != UserPrompt::Answer::Yes)
        return;
    m_displaySuspended = true;
    for (Node *node : nodes) {
        RemoveNode(node);
        m_db.DatabaseModified = true;
    }
    m_displaySuspended = false;
    // The focus has moved on to a neighbour; the selection follows it.
    const QModelIndex current = TreeView_Items->currentIndex();
    if (current.isValid() && !TreeView_Items->selectionModel()->hasSelection())
        TreeView_Items->selectionModel()->select(current, QItemSelectionModel::Select);
    ShowSelected();
}

void TQZS_LXD_Form::RemoveNode(Node *node)
{
    // Whatever refers to the node or to a node below it lets go first.
    std::vector<Node *> subtree{node};
    for (std::size_t i = 0; i < subtree.size(); ++i)
        for (const auto &child : subtree[i]->children())
            subtree.push_back(child.get());
    for (Node *n : subtree)
        Q_EMIT nodeRemoving(n);
    if (m_lastChangeNode && (m_lastChangeNode == node || node->isAncestorOf(m_lastChangeNode)))
        m_lastChangeNode = nullptr;
    if (m_popupNode && (m_popupNode == node || node->isAncestorOf(m_popupNode)))
        m_popupNode = nullptr;
    m_model->removeNode(node);
}

bool TQZS_LXD_Form::TreeView_ItemsDragOver(const Node *target) const
{
    return !target || !target->isItem();
}

void TQZS_LXD_Form::TreeView_ItemsDragDrop(Node *target)
{
    if (!TreeView_ItemsDragOver(target))
        return;
    bool moved = false;
    for (Node *node : selectedNodes()) {
        // Onto itself or into its own subtree it stays where it is.
        if (node == target || node->isAncestorOf(target))
            continue;
        m_model->moveNode(node, target);
        moved = true;
        Q_EMIT nodeMoved(node);
    }
    if (!moved)
        return;
    m_model->sortChildren(target, sortCriteria());
    if (target)
        TreeView_Items->expand(m_model->indexOf(target));
    m_db.DatabaseModified = true;
    ShowSelected();
}

void TQZS_LXD_Form::sortTree()
{
    m_model->sortTree(sortCriteria());
}

SortCriteria TQZS_LXD_Form::sortCriteria() const
{
    // Levels that name no criterion, or one a second time, are left out.
    SortCriteria criteria;
    const int count = std::clamp(m_settings.CountSortCriteriums, 0, kMaxSortCriteria);
    for (int i = 0; i < count; ++i) {
        const SortCriterion c{m_settings.SortCriteriums[std::size_t(i)].Criterium,
                              m_settings.SortCriteriums[std::size_t(i)].Mode == 1 ? 1 : 0};
        SortCriteria extended = criteria;
        extended.push_back(c);
        if (IsValidSortCriteria(extended))
            criteria = std::move(extended);
    }
    return criteria;
}

} // namespace lexora
