#include "search/search_scope_model.h"

#include "database/node_path.h"
#include "database/win1252.h"

#include <algorithm>
#include <unordered_map>

namespace lexora {

SearchScopeModel::SearchScopeModel(const Database &db, QObject *parent)
    : QAbstractTableModel(parent), m_db(db)
{
}

void SearchScopeModel::setEntries(std::vector<const Node *> entries)
{
    beginResetModel();
    m_entries = std::move(entries);
    m_aside.clear();
    endResetModel();
}

bool SearchScopeModel::add(const QList<Node *> &nodes, bool withTopLevel)
{
    std::vector<const Node *> entries = m_entries;
    const auto absent = [&entries](const Node *n) {
        return std::find(entries.begin(), entries.end(), n) == entries.end();
    };
    if (withTopLevel && absent(nullptr))
        entries.push_back(nullptr);
    for (Node *node : nodes)
        if (node && !node->isItem() && absent(node))
            entries.push_back(node);
    if (entries.size() == m_entries.size())
        return false;
    beginResetModel();
    m_entries = std::move(entries);
    sortEntries();
    endResetModel();
    return true;
}

void SearchScopeModel::removeRow(int row)
{
    beginRemoveRows({}, row, row);
    m_entries.erase(m_entries.begin() + row);
    endRemoveRows();
}

void SearchScopeModel::forget(const Node *root)
{
    std::vector<const Node *> aside;
    for (int row = int(m_entries.size()); row-- > 0;) {
        const Node *entry = m_entries[std::size_t(row)];
        if (entry && (entry == root || root->isAncestorOf(entry))) {
            aside.push_back(entry);
            removeRow(row);
        }
    }
    if (!aside.empty())
        m_aside[root] = std::move(aside);
}

void SearchScopeModel::putBack(const Node *root)
{
    const auto found = m_aside.find(root);
    if (found == m_aside.end())
        return;
    beginResetModel();
    m_entries.insert(m_entries.end(), found->second.begin(), found->second.end());
    sortEntries();
    endResetModel();
    m_aside.erase(found);
}

void SearchScopeModel::release(const Node *root)
{
    m_aside.erase(root);
}

void SearchScopeModel::resort()
{
    Q_EMIT layoutAboutToBeChanged();
    sortEntries();
    Q_EMIT layoutChanged();
}

void SearchScopeModel::sortEntries()
{
    if (m_entries.size() < 2)
        return;
    std::unordered_map<const Node *, int> position;
    const std::vector<const Node *> all = m_db.preorder();
    for (std::size_t i = 0; i < all.size(); ++i)
        position.emplace(all[i], int(i));
    position[nullptr] = -1;
    std::stable_sort(m_entries.begin(), m_entries.end(),
                     [&position](const Node *a, const Node *b) { return position[a] < position[b]; });
}

int SearchScopeModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

int SearchScopeModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant SearchScopeModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    const Node *node = entry(index.row());
    if (!node)
        return index.column() == 0 ? QStringLiteral("[Höchste Ebene]") : QString();
    return win1252::toUnicode(index.column() == 0 ? node->name() : KeyPath(*node));
}

QVariant SearchScopeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == 0 ? QStringLiteral("Schlüssel") : QStringLiteral("Übergeordnete Schlüssel");
}

} // namespace lexora
