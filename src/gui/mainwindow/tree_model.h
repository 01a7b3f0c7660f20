#pragma once

#include "database/model.h"

#include <QAbstractItemModel>
#include <QIcon>

#include <functional>
#include <memory>

namespace lexora {

class Document;

// The tree view's window onto the open database. The database's own nodes are the rows (a
// Node* in each index), so there is no second copy of the tree. The model changes nothing: it
// follows the document's signals, so that the view follows every change of the tree's shape,
// whoever makes it.
class TreeModel : public QAbstractItemModel {
    Q_OBJECT

public:
    // Called when the user confirmed an edited title; the receiver renames through setTitle.
    using TitleEdited = std::function<void(Node *, const Text &)>;

    explicit TreeModel(Document &document, QObject *parent = nullptr);

    void setTitleEditedHandler(TitleEdited handler) { m_titleEdited = std::move(handler); }

    Node *nodeOf(const QModelIndex &index) const;
    QModelIndex indexOf(const Node *node) const;

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

Q_SIGNALS:
    // Around an import: before the model forgets its indexes, and once it has them again. An
    // import removes no node, so a view can show the same nodes open and selected afterwards.
    void mergeAboutToStart();
    void mergeDone();

private:
    void follow(Document &document);
    // While the database is replaced the view sees an empty tree; afterwards it reads the new
    // tree as a whole.
    void beginDatabaseChange();
    void endDatabaseChange();
    // Keeps the view's persistent indexes (selection, expanded nodes) on their nodes while
    // nodes change places.
    void beginReorder(const QList<QPersistentModelIndex> &parents);
    void endReorder(const QList<QPersistentModelIndex> &parents);

    const Database &m_db;
    TitleEdited m_titleEdited;
    bool m_changing = false;
    QModelIndexList m_reorderBefore;
    QList<Node *> m_reorderNodes;
    QIcon m_keyIcon;
    QIcon m_itemIcon;
};

} // namespace lexora
