#pragma once

#include <QPersistentModelIndex>
#include <QTreeView>

#include <functional>

namespace lexora {

// The tree of the main window (TreeView_Items). Several nodes may be selected, but only siblings
// and only visible ones; nodes are moved by dragging them inside the tree; the main window acts
// on the keys, clicks and drops it reports.
class TreeView : public QTreeView {
    Q_OBJECT

public:
    explicit TreeView(QWidget *parent = nullptr);

    // Decides whether the nodes being dragged may be dropped on target (invalid: empty space).
    void setDropRule(std::function<bool(const QModelIndex &target)> rule) { m_dropRule = std::move(rule); }

Q_SIGNALS:
    void deletePressed();
    void renamePressed();
    void enterPressed();
    // Any mouse button went down over the tree, after the selection followed it.
    void mousePressed();
    // The dragged nodes were dropped on target (invalid: empty space).
    void dropRequested(const QModelIndex &target);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void drawRow(QPainter *painter, const QStyleOptionViewItem &option,
                 const QModelIndex &index) const override;
    void selectionChanged(const QItemSelection &selected,
                          const QItemSelection &deselected) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    bool isOwnDrag(const QDropEvent *event) const;
    bool acceptsDropAt(const QPoint &pos) const;
    void setDropTarget(const QModelIndex &target);
    // Deselects every node that is not a sibling of the current one.
    void keepSiblingsOnly();
    void nodeCollapsed(const QModelIndex &index);

    std::function<bool(const QModelIndex &)> m_dropRule;
    QPersistentModelIndex m_dropTarget;
    bool m_fixingSelection = false;
};

} // namespace lexora
