#include "mainwindow/tree_model.h"

#include "database/win1252.h"
#include "mainwindow/icons.h"
#include "sorting/tree_sort.h"

#include <QMimeData>

namespace lexora {

namespace {

// A key shows a closed folder, and an open one while it is selected.
QIcon keyIcon()
{
    QIcon icon;
    const QIcon closed = imageListIcon(ImgKey);
    const QIcon open = imageListIcon(ImgKeyOpen);
    for (const QSize &size : closed.availableSizes()) {
        icon.addPixmap(closed.pixmap(size), QIcon::Normal);
        icon.addPixmap(open.pixmap(size), QIcon::Selected);
    }
    return icon;
}

} // namespace

TreeModel::TreeModel(Database &db, QObject *parent)
    : QAbstractItemModel(parent), m_db(db), m_keyIcon(keyIcon()), m_itemIcon(imageListIcon(ImgItem))
{
}

QString TreeModel::nodeMimeType()
{
    return QStringLiteral("application/x-lexora-tree-nodes");
}

Node *TreeModel::nodeOf(const QModelIndex &index) const
{
    return index.isValid() ? static_cast<Node *>(index.internalPointer()) : nullptr;
}

QModelIndex TreeModel::indexOf(const Node *node) const
{
    if (!node || m_changing)
        return {};
    return createIndex(node->indexInParent(), 0, const_cast<Node *>(node));
}

QModelIndex TreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0 || row >= rowCount(parent))
        return {};
    const Node &list = parent.isValid() ? *nodeOf(parent) : m_db.topLevel();
    return createIndex(row, 0, list.child(row));
}

QModelIndex TreeModel::parent(const QModelIndex &child) const
{
    const Node *node = nodeOf(child);
    return node ? indexOf(node->parent()) : QModelIndex();
}

int TreeModel::rowCount(const QModelIndex &parent) const
{
    if (m_changing || parent.column() > 0)
        return 0;
    return parent.isValid() ? nodeOf(parent)->childCount() : m_db.topLevel().childCount();
}

int TreeModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant TreeModel::data(const QModelIndex &index, int role) const
{
    const Node *node = nodeOf(index);
    if (!node)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return win1252::toUnicode(node->name());
    case Qt::DecorationRole:
        return node->isItem() ? m_itemIcon : m_keyIcon;
    default:
        return {};
    }
}

bool TreeModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    Node *node = nodeOf(index);
    if (!node || role != Qt::EditRole)
        return false;
    if (m_titleEdited)
        m_titleEdited(node, win1252::fromUnicode(value.toString()));
    else
        setTitle(node, win1252::fromUnicode(value.toString()));
    return true;
}

Qt::ItemFlags TreeModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsDragEnabled
           | Qt::ItemIsDropEnabled;
}

QStringList TreeModel::mimeTypes() const
{
    return {nodeMimeType()};
}

QMimeData *TreeModel::mimeData(const QModelIndexList &) const
{
    // The drop takes the tree's selection; the data only says where the drag came from.
    auto *data = new QMimeData;
    data->setData(nodeMimeType(), QByteArray());
    return data;
}

Qt::DropActions TreeModel::supportedDragActions() const
{
    return Qt::MoveAction;
}

Qt::DropActions TreeModel::supportedDropActions() const
{
    return Qt::MoveAction;
}

Node *TreeModel::appendNode(Node *parent, const Text &title, std::unique_ptr<TTipItem> item)
{
    Node &list = container(parent);
    beginInsertRows(indexOf(parent), list.childCount(), list.childCount());
    Node *node = list.appendChild(title);
    node->setItem(std::move(item));
    endInsertRows();
    return node;
}

void TreeModel::setTitle(Node *node, const Text &title)
{
    node->setName(title);
    const QModelIndex index = indexOf(node);
    Q_EMIT dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
}

void TreeModel::removeNode(Node *node)
{
    const int row = node->indexInParent();
    beginRemoveRows(indexOf(node->parent()), row, row);
    m_db.RemoveNode(node);
    endRemoveRows();
}

void TreeModel::moveNode(Node *node, Node *newParent)
{
    Node *from = node->container();
    Node &to = container(newParent);
    const int row = node->indexInParent();
    // A node that is already the last child of newParent refuses to move; it is where it goes.
    if (!beginMoveRows(indexOf(node->parent()), row, row, indexOf(newParent), to.childCount()))
        return;
    to.insertChild(to.childCount(), from->takeChild(row));
    endMoveRows();
}

void TreeModel::reorder(const QList<QPersistentModelIndex> &parents,
                        const std::function<void()> &change)
{
    Q_EMIT layoutAboutToBeChanged(parents, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QList<Node *> nodes;
    nodes.reserve(before.size());
    for (const QModelIndex &index : before)
        nodes.append(nodeOf(index));
    change();
    QModelIndexList after;
    after.reserve(before.size());
    for (Node *node : nodes)
        after.append(indexOf(node));
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged(parents, QAbstractItemModel::VerticalSortHint);
}

void TreeModel::sortChildren(Node *parent, const SortCriteria &criteria)
{
    if (m_changing) {
        SortChildren(container(parent), criteria);
        return;
    }
    const QModelIndex parentIndex = indexOf(parent);
    reorder({QPersistentModelIndex(parentIndex)},
            [&] { SortChildren(container(parent), criteria); });
}

void TreeModel::sortTree(const SortCriteria &criteria)
{
    if (m_changing) {
        SortTree(m_db.topLevel(), criteria);
        return;
    }
    reorder({}, [&] { SortTree(m_db.topLevel(), criteria); });
}

void TreeModel::beginDatabaseChange()
{
    if (m_changing++ > 0)
        return;
    beginResetModel();
    endResetModel();
}

void TreeModel::endDatabaseChange()
{
    if (m_changing > 1) {
        --m_changing;
        return;
    }
    beginResetModel();
    m_changing = 0;
    endResetModel();
}

} // namespace lexora
