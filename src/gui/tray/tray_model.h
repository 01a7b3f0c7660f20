#pragma once

#include "database/model.h"

#include <QAbstractTableModel>

#include <vector>

namespace lexora {

class Document;

// The rows of the tray's list: one per entry of TrayNodes, in its order, with the columns "Name"
// (the node's title) and "Schlüssel" (the keys above it, "A\B\"). It follows the document: rows
// of removed nodes go before the nodes do, a reordered tray keeps the selected rows on their
// nodes, and renames and moves redraw the texts.
class TrayModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { NameColumn = 0, KeyColumn = 1 };

    explicit TrayModel(Document &document, QObject *parent = nullptr);

    Node *nodeOf(const QModelIndex &index) const;
    QModelIndex indexOf(const Node *node) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void follow(Document &document);
    // Takes the document's tray: as a new order of the same nodes, or as a new list.
    void takeTray();
    void forget(Node *node);
    void redrawTexts();

    const Database &m_db;
    // The document's tray as the view knows it; never holds a removed node.
    std::vector<Node *> m_rows;
    bool m_replacing = false;
};

} // namespace lexora
