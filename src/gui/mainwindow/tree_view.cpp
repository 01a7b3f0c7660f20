#include "mainwindow/tree_view.h"

#include "mainwindow/title_edit_delegate.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

namespace lexora {

namespace {

bool isDescendant(QModelIndex index, const QModelIndex &ancestor)
{
    for (index = index.parent(); index.isValid(); index = index.parent())
        if (index == ancestor)
            return true;
    return false;
}

} // namespace

TreeView::TreeView(QWidget *parent) : QTreeView(parent)
{
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setIndentation(19);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DragDrop);
    setAutoExpandDelay(700);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setItemDelegate(new TitleEditDelegate(this));
    connect(this, &QTreeView::collapsed, this, &TreeView::nodeCollapsed);
}

void TreeView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Delete:
        Q_EMIT deletePressed();
        return;
    case Qt::Key_F2:
        Q_EMIT renamePressed();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Swallowed, so that no beep or default button answers it.
        event->accept();
        Q_EMIT enterPressed();
        return;
    default:
        QTreeView::keyPressEvent(event);
    }
}

void TreeView::mousePressEvent(QMouseEvent *event)
{
    if (!indexAt(event->position().toPoint()).isValid()) {
        // A click on empty space leaves no node selected.
        clearSelection();
        setCurrentIndex(QModelIndex());
    } else {
        QTreeView::mousePressEvent(event);
    }
    Q_EMIT mousePressed();
}

void TreeView::startDrag(Qt::DropActions)
{
    const QModelIndexList nodes = selectedIndexes();
    if (nodes.isEmpty())
        return;
    // The drop itself moves the nodes; the drag only carries the gesture. Dropped into the tray
    // it links to them.
    auto *drag = new QDrag(this);
    drag->setMimeData(model()->mimeData(nodes));
    drag->setPixmap(nodes.first().data(Qt::DecorationRole).value<QIcon>().pixmap(16, 16));
    drag->exec(Qt::MoveAction | Qt::LinkAction, Qt::MoveAction);
    setDropTarget({});
}

bool TreeView::isOwnDrag(const QDropEvent *event) const
{
    return event->source() == this && event->mimeData()->hasFormat(model()->mimeTypes().value(0));
}

bool TreeView::acceptsDropAt(const QPoint &pos) const
{
    return m_dropRule && m_dropRule(indexAt(pos));
}

void TreeView::dragEnterEvent(QDragEnterEvent *event)
{
    // Anything else (files from the desktop) is for the main window.
    if (!isOwnDrag(event)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
}

void TreeView::dragMoveEvent(QDragMoveEvent *event)
{
    if (!isOwnDrag(event)) {
        event->ignore();
        return;
    }
    // The base class scrolls near the edges and opens a key the pointer rests on.
    QTreeView::dragMoveEvent(event);
    const QPoint pos = event->position().toPoint();
    if (acceptsDropAt(pos)) {
        setDropTarget(indexAt(pos));
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else {
        setDropTarget({});
        event->ignore();
    }
}

void TreeView::dragLeaveEvent(QDragLeaveEvent *event)
{
    setDropTarget({});
    QTreeView::dragLeaveEvent(event);
}

void TreeView::dropEvent(QDropEvent *event)
{
    setDropTarget({});
    const QPoint pos = event->position().toPoint();
    if (!isOwnDrag(event) || !acceptsDropAt(pos)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    stopAutoScroll();
    Q_EMIT dropRequested(indexAt(pos));
}

void TreeView::setDropTarget(const QModelIndex &target)
{
    if (m_dropTarget == target)
        return;
    m_dropTarget = target;
    viewport()->update();
}

void TreeView::drawRow(QPainter *painter, const QStyleOptionViewItem &option,
                       const QModelIndex &index) const
{
    QTreeView::drawRow(painter, option, index);
    if (index.isValid() && index == m_dropTarget) {
        // The key the dragged nodes would go into.
        painter->save();
        painter->setPen(QPen(palette().highlight().color(), 1, Qt::DotLine));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(visualRect(index).adjusted(0, 0, -1, -1));
        painter->restore();
    }
}

void TreeView::selectionChanged(const QItemSelection &selected, const QItemSelection &deselected)
{
    QTreeView::selectionChanged(selected, deselected);
    keepSiblingsOnly();
}

void TreeView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTreeView::currentChanged(current, previous);
    keepSiblingsOnly();
}

void TreeView::keepSiblingsOnly()
{
    if (m_fixingSelection || !selectionModel())
        return;
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return;
    const QModelIndex current = currentIndex();
    const QModelIndex parent = current.isValid() ? current.parent() : selected.first().parent();
    QItemSelection others;
    for (const QModelIndex &index : selected)
        if (index.parent() != parent)
            others.select(index, index);
    if (others.isEmpty())
        return;
    m_fixingSelection = true;
    selectionModel()->select(others, QItemSelectionModel::Deselect);
    m_fixingSelection = false;
}

void TreeView::nodeCollapsed(const QModelIndex &index)
{
    // Hidden nodes cannot stay selected; the current node moves up to the collapsed one.
    if (isDescendant(currentIndex(), index)) {
        setCurrentIndex(index);
        return;
    }
    QItemSelection hidden;
    for (const QModelIndex &selected : selectionModel()->selectedIndexes())
        if (isDescendant(selected, index))
            hidden.select(selected, selected);
    selectionModel()->select(hidden, QItemSelectionModel::Deselect);
}

} // namespace lexora
