#pragma once

#include "database/model.h"
#include "support/tree_drag_source.h"

#include <QWidget>

#include <functional>

class QToolBar;
class QToolButton;
class QTreeView;

namespace lexora {

class Document;
class TrayModel;
class WindowRequests;

using TrayDragSource = TreeDragSource;

// "Ablagemappe": a small window that stays on top and collects references to elements of the
// tree (TrayNodes, part of the database). Elements come in by dragging them from the tree; an
// entry leads back to its element, selected in the tree and shown in the main display.
class TrayWindow : public QWidget {
    Q_OBJECT

public:
    TrayWindow(Document &document, WindowRequests &requests, TrayDragSource dragSource,
            QWidget *parent = nullptr);

    // A drop is taken exactly from the drag source.
    bool ListView_TrayDragOver(const QObject *source) const;
    // Adds the dragged nodes that are not in the tray yet; the last one added is selected.
    void ListView_TrayDragDrop();
    void ListView_TrayDblClick();
    void ToolButton_DeleteClick();
    void ToolButton_GoToClick();
    void ToolButton_ClearClick();
    void UpdateTrayButtons();

    // The nodes of the selected rows, top down; the node of the current row (the selected one
    // that has the focus, else the first selected).
    QList<Node *> selectedNodes() const;
    Node *currentNode() const;

    QTreeView *ListView_Tray = nullptr;
    QToolBar *ToolBar = nullptr;
    QToolButton *ToolButton_Delete = nullptr;
    QToolButton *ToolButton_GoTo = nullptr;
    QToolButton *ToolButton_Clear = nullptr;

protected:

private:
    void createList();
    void createToolBar();
    QToolButton *addButton(const char *name, int image, const QString &hint,
                           void (TrayWindow::*handler)());

    Document &m_document;
    WindowRequests &m_requests;
    TrayDragSource m_dragSource;
    TrayModel *m_model = nullptr;
};

} // namespace lexora
