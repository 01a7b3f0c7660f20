#pragma once

#include "database/model.h"
#include "sorting/sort_criteria.h"

#include <QAbstractItemModel>
#include <QIcon>

#include <functional>
#include <memory>

namespace lexora {

// The tree view's window onto the open database. The database's own nodes are the rows (a
// Node* in each index), so there is no second copy of the tree; every change of the tree's shape
// goes through this model so that the view follows it.
class TreeModel : public QAbstractItemModel {
    Q_OBJECT

public:
    // Called when the user confirmed an edited title; the receiver renames through setTitle.
    using TitleEdited = std::function<void(Node *, const Text &)>;

    explicit TreeModel(Database &db, QObject *parent = nullptr);

    void setTitleEditedHandler(TitleEdited handler) { m_titleEdited = std::move(handler); }

    Node *nodeOf(const QModelIndex &index) const;
    QModelIndex indexOf(const Node *node) const;

    // Changes of the tree.
    // A new last child of parent (nullptr: the top level); a key without item.
    Node *appendNode(Node *parent, const Text &title, std::unique_ptr<TTipItem> item);
    void setTitle(Node *node, const Text &title);
    void removeNode(Node *node);
    // Moves node with its subtree to the end of newParent's children (nullptr: the top level).
    void moveNode(Node *node, Node *newParent);
    // Sorts the children of parent (nullptr: the top-level nodes), or the whole tree below it.
    void sortChildren(Node *parent, const SortCriteria &criteria);
    void sortTree(const SortCriteria &criteria);

    // While the database is cleared and loaded the view sees an empty tree; afterwards it reads
    // the new tree as a whole. Nested calls are allowed.
    void beginDatabaseChange();
    void endDatabaseChange();

    // QAbstractItemModel
    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    Qt::DropActions supportedDragActions() const override;
    Qt::DropActions supportedDropActions() const override;

    // The format of a drag that starts in the tree.
    static QString nodeMimeType();

private:
    Node &container(Node *parent) { return m_db.childrenOf(parent); }
    // Keeps the view's persistent indexes (selection, expanded nodes) on their nodes while
    // nodes change places.
    void reorder(const QList<QPersistentModelIndex> &parents, const std::function<void()> &change);

    Database &m_db;
    TitleEdited m_titleEdited;
    int m_changing = 0;
    QIcon m_keyIcon;
    QIcon m_itemIcon;
};

} // namespace lexora
