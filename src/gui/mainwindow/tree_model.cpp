#include "mainwindow/tree_model.h"

#include "database/win1252.h"
#include "document/document.h"
#include "mainwindow/icons.h"

#include <QMimeData>

#include <utility>

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

TreeModel::TreeModel(Document &document, QObject *parent)
    : QAbstractItemModel(parent),
      m_db(document.database()),
      m_keyIcon(keyIcon()),
      m_itemIcon(imageListIcon(ImgItem))
{
    follow(document);
}

void TreeModel::follow(Document &document)
{
    // While a merge or a replacement is under way the model shows nothing and is reset at its
    // end: what changes meanwhile (an undone import takes nodes out) is not followed row by row.
    const auto shown = [this](auto handler) {
        return [this, handler](auto... args) {
            if (!m_changing)
                handler(args...);
        };
    };
    connect(&document, &Document::nodeAboutToBeAdded, this, shown([this](Node *parent, int row) {
        beginInsertRows(indexOf(parent), row, row);
    }));
    connect(&document, &Document::nodeAdded, this, shown([this](Node *) { endInsertRows(); }));
    connect(&document, &Document::subtreeAboutToBeRemoved, this, shown([this](Node *root) {
        const int row = root->indexInParent();
        beginRemoveRows(indexOf(root->parent()), row, row);
    }));
    connect(&document, &Document::subtreeRemoved, this, shown([this](Node *) { endRemoveRows(); }));
    connect(&document, &Document::nodeAboutToBeMoved, this,
            shown([this](Node *node, Node *to, int row) {
                const int from = node->indexInParent();
                // The document moves no node to where it is already.
                [[maybe_unused]] const bool valid =
                    beginMoveRows(indexOf(node->parent()), from, from, indexOf(to), row);
                Q_ASSERT(valid);
            }));
    connect(&document, &Document::nodeMoved, this, shown([this](Node *) { endMoveRows(); }));
    connect(&document, &Document::nodeRenamed, this, shown([this](Node *node) {
        const QModelIndex index = indexOf(node);
        Q_EMIT dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    }));
    connect(&document, &Document::itemChanged, this, shown([this](Node *node) {
        const QModelIndex index = indexOf(node);
        Q_EMIT dataChanged(index, index, {Qt::DecorationRole});
    }));
    connect(&document, &Document::childrenAboutToBeSorted, this, shown([this](Node *parent) {
        beginReorder({QPersistentModelIndex(indexOf(parent))});
    }));
    connect(&document, &Document::childrenSorted, this, shown([this](Node *parent) {
        endReorder({QPersistentModelIndex(indexOf(parent))});
    }));
    connect(&document, &Document::treeAboutToBeSorted, this, shown([this] { beginReorder({}); }));
    connect(&document, &Document::treeSorted, this, shown([this] { endReorder({}); }));
    connect(&document, &Document::databaseAboutToBeReplaced, this,
            &TreeModel::beginDatabaseChange);
    connect(&document, &Document::databaseReplaced, this, &TreeModel::endDatabaseChange);
    connect(&document, &Document::databaseAboutToBeMerged, this, [this] {
        Q_EMIT mergeAboutToStart();
        beginDatabaseChange();
    });
    connect(&document, &Document::databaseMerged, this, [this] {
        endDatabaseChange();
        Q_EMIT mergeDone();
    });
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
    return createIndex(node->indexInParent(), 0, node);
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

void TreeModel::beginReorder(const QList<QPersistentModelIndex> &parents)
{
    Q_EMIT layoutAboutToBeChanged(parents, QAbstractItemModel::VerticalSortHint);
    m_reorderBefore = persistentIndexList();
    m_reorderNodes.clear();
    for (const QModelIndex &index : m_reorderBefore)
        m_reorderNodes.append(nodeOf(index));
}

void TreeModel::endReorder(const QList<QPersistentModelIndex> &parents)
{
    QModelIndexList after;
    after.reserve(m_reorderNodes.size());
    for (Node *node : std::as_const(m_reorderNodes))
        after.append(indexOf(node));
    changePersistentIndexList(m_reorderBefore, after);
    m_reorderBefore.clear();
    m_reorderNodes.clear();
    Q_EMIT layoutChanged(parents, QAbstractItemModel::VerticalSortHint);
}

void TreeModel::beginDatabaseChange()
{
    beginResetModel();
    m_changing = true;
    endResetModel();
}

void TreeModel::endDatabaseChange()
{
    beginResetModel();
    m_changing = false;
    endResetModel();
}

} // namespace lexora
