#pragma once

#include "search/search_query.h"

#include <QAbstractTableModel>

#include <unordered_map>
#include <utility>
#include <vector>

namespace lexora {

// The found nodes ("Eintrag": the keys above the node and its title; "Fundstellen": where it
// matched), in the order the search found them.
class SearchResultsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    const std::vector<SearchResult> &results() const { return m_results; }
    const SearchResult &result(int row) const { return m_results[std::size_t(row)]; }
    void clear();
    void append(const std::vector<SearchResult> &results);
    // A node and its subtree are going: their rows leave the list and are kept aside until the
    // subtree comes back (putBack, as an undo brings it), is released for good, or the list is
    // cleared.
    void forget(const Node *root);
    void putBack(const Node *root);
    void release(const Node *root);
    // Titles changed: every row is drawn again.
    void refresh();

    // ", Eintragsname", ", Quellcode", ", Anzeigetext" for the places present, without the
    // leading comma and blank.
    static QString placesText(quint8 places);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<SearchResult> m_results;
    // The rows of each removed subtree with the rows they had, in ascending order.
    std::unordered_map<const Node *, std::vector<std::pair<int, SearchResult>>> m_aside;
};

} // namespace lexora
