#include "search/search_results_model.h"

#include "database/node_path.h"
#include "database/win1252.h"

namespace lexora {

void SearchResultsModel::clear()
{
    beginResetModel();
    m_results.clear();
    m_aside.clear();
    endResetModel();
}

void SearchResultsModel::append(const std::vector<SearchResult> &results)
{
    if (results.empty())
        return;
    const int first = int(m_results.size());
    beginInsertRows({}, first, first + int(results.size()) - 1);
    m_results.insert(m_results.end(), results.begin(), results.end());
    endInsertRows();
}

void SearchResultsModel::forget(const Node *root)
{
    // Rows below a removed key lie mostly together: they go in runs, not one by one.
    const auto inSubtree = [root](const SearchResult &r) {
        return r.node == root || root->isAncestorOf(r.node);
    };
    std::vector<std::pair<int, SearchResult>> aside;
    for (int row = 0; row < int(m_results.size()); ++row)
        if (inSubtree(m_results[std::size_t(row)]))
            aside.emplace_back(row, m_results[std::size_t(row)]);
    if (aside.empty())
        return;
    m_aside[root] = std::move(aside);
    for (int end = int(m_results.size()); end > 0;) {
        if (!inSubtree(m_results[std::size_t(end - 1)])) {
            --end;
            continue;
        }
        int begin = end - 1;
        while (begin > 0 && inSubtree(m_results[std::size_t(begin - 1)]))
            --begin;
        beginRemoveRows({}, begin, end - 1);
        m_results.erase(m_results.begin() + begin, m_results.begin() + end);
        endRemoveRows();
        end = begin;
    }
}

void SearchResultsModel::putBack(const Node *root)
{
    const auto found = m_aside.find(root);
    if (found == m_aside.end())
        return;
    for (const auto &[row, result] : found->second) {
        const int at = std::min(row, int(m_results.size()));
        beginInsertRows({}, at, at);
        m_results.insert(m_results.begin() + at, result);
        endInsertRows();
    }
    m_aside.erase(found);
}

void SearchResultsModel::release(const Node *root)
{
    m_aside.erase(root);
}

void SearchResultsModel::refresh()
{
    if (!m_results.empty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

QString SearchResultsModel::placesText(quint8 places)
{
    QString text;
    if (places & PlaceName)
        text += QStringLiteral(", Eintragsname");
    if (places & PlaceCode)
        text += QStringLiteral(", Quellcode");
    if (places & PlaceText)
        text += QStringLiteral(", Anzeigetext");
    return text.mid(2);
}

int SearchResultsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_results.size());
}

int SearchResultsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant SearchResultsModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    const SearchResult &r = result(index.row());
    if (index.column() == 1)
        return placesText(r.places);
    return win1252::toUnicode(KeyPath(*r.node) + r.node->name());
}

QVariant SearchResultsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == 0 ? QStringLiteral("Eintrag") : QStringLiteral("Fundstellen");
}

} // namespace lexora
