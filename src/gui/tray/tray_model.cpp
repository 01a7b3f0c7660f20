#include "tray/tray_model.h"

#include "database/node_path.h"
#include "database/win1252.h"
#include "document/document.h"

#include <algorithm>

namespace lexora {

TrayModel::TrayModel(Document &document, QObject *parent)
    : QAbstractTableModel(parent), m_db(document.database()), m_rows(m_db.TrayNodes)
{
    follow(document);
}

void TrayModel::follow(Document &document)
{
    connect(&document, &Document::trayChanged, this, &TrayModel::takeTray);
    connect(&document, &Document::nodeAboutToBeRemoved, this, &TrayModel::forget);
    for (auto changed : {&Document::nodeRenamed, &Document::nodeMoved})
        connect(&document, changed, this, &TrayModel::redrawTexts);
    connect(&document, &Document::databaseAboutToBeReplaced, this, [this] {
        beginResetModel();
        m_replacing = true;
        m_rows.clear();
        endResetModel();
    });
    connect(&document, &Document::databaseReplaced, this, [this] {
        m_replacing = false;
        takeTray();
    });
    connect(&document, &Document::databaseMerged, this, &TrayModel::redrawTexts);
}

void TrayModel::takeTray()
{
    if (m_replacing)
        return;
    const std::vector<Node *> &tray = m_db.TrayNodes;
    if (tray == m_rows)
        return;
    std::vector<Node *> before = m_rows;
    std::vector<Node *> after = tray;
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    if (before != after) {
        beginResetModel();
        m_rows = tray;
        endResetModel();
        return;
    }
    // The same nodes in a new order: the selection stays on its nodes.
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList old = persistentIndexList();
    std::vector<const Node *> oldNodes;
    for (const QModelIndex &index : old)
        oldNodes.push_back(nodeOf(index));
    m_rows = tray;
    QModelIndexList moved;
    for (qsizetype i = 0; i < old.size(); ++i)
        moved.append(index(indexOf(oldNodes[std::size_t(i)]).row(), old[i].column()));
    changePersistentIndexList(old, moved);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void TrayModel::forget(Node *node)
{
    const auto it = std::find(m_rows.begin(), m_rows.end(), node);
    if (it == m_rows.end())
        return;
    const int row = int(it - m_rows.begin());
    beginRemoveRows({}, row, row);
    m_rows.erase(it);
    endRemoveRows();
}

void TrayModel::redrawTexts()
{
    // A renamed or moved key changes the path of every entry below it.
    if (!m_rows.empty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                           {Qt::DisplayRole});
}

Node *TrayModel::nodeOf(const QModelIndex &index) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return nullptr;
    return m_rows[std::size_t(index.row())];
}

QModelIndex TrayModel::indexOf(const Node *node) const
{
    const auto it = std::find(m_rows.begin(), m_rows.end(), node);
    return it == m_rows.end() ? QModelIndex() : index(int(it - m_rows.begin()), 0);
}

int TrayModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TrayModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant TrayModel::data(const QModelIndex &index, int role) const
{
    const Node *node = nodeOf(index);
    if (!node || role != Qt::DisplayRole)
        return {};
    return win1252::toUnicode(index.column() == NameColumn ? node->name() : KeyPath(*node));
}

QVariant TrayModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == NameColumn ? QStringLiteral("Name") : QStringLiteral("Schlüssel");
}

} // namespace lexora
