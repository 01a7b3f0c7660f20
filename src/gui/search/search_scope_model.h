#pragma once

#include "database/model.h"

#include <QAbstractTableModel>

#include <unordered_map>
#include <vector>

namespace lexora {

// The keys a search looks in ("Schlüssel", "Übergeordnete Schlüssel"), nullptr standing for the
// top level ("[Höchste Ebene]"). Kept in order: the top level first, then the keys in tree order.
class SearchScopeModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit SearchScopeModel(const Database &db, QObject *parent = nullptr);

    const std::vector<const Node *> &entries() const { return m_entries; }
    const Node *entry(int row) const { return m_entries[std::size_t(row)]; }
    // Replaces the list, which must be in order (a search shortens it and keeps the order).
    void setEntries(std::vector<const Node *> entries);
    // Adds the keys that are not in the list yet (items are skipped) and the top level when
    // withTopLevel; true when anything was added.
    bool add(const QList<Node *> &nodes, bool withTopLevel);
    void removeRow(int row);
    // A node and its subtree are going: their entries leave the list and are kept aside until
    // the subtree comes back (putBack, as an undo brings it), is released for good, or the list
    // is replaced.
    void forget(const Node *root);
    void putBack(const Node *root);
    void release(const Node *root);
    // The tree changed its order or names: sorted and drawn again.
    void resort();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void sortEntries();

    const Database &m_db;
    std::vector<const Node *> m_entries;
    std::unordered_map<const Node *, std::vector<const Node *>> m_aside;
};

} // namespace lexora
