#include "tray/tray_window.h"

#include "document/document.h"
#include "support/link_drop.h"
#include "support/window_requests.h"
#include "tray/tray_icons.h"
#include "tray/tray_model.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include <algorithm>

namespace lexora {

TrayWindow::TrayWindow(Document &document, WindowRequests &requests, TrayDragSource dragSource,
                 QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint),
      m_document(document),
      m_requests(requests),
      m_dragSource(std::move(dragSource))
{
    setObjectName(QStringLiteral("TForm13"));
    setWindowTitle(QStringLiteral("Ablagemappe"));
    // Closing the tray is hiding it; it never ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    createList();
    createToolBar();
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ListView_Tray, 1);
    layout->addWidget(ToolBar);
    resize(628, 136);
    UpdateTrayButtons();
    // A new or opened database comes without the old tray window.
    connect(&m_document, &Document::databaseAboutToBeReplaced, this, &QWidget::hide);
}

void TrayWindow::createList()
{
    m_model = new TrayModel(m_document, this);
    ListView_Tray = new QTreeView(this);
    ListView_Tray->setObjectName(QStringLiteral("ListView_Tray"));
    ListView_Tray->setAccessibleName(windowTitle());
    ListView_Tray->setModel(m_model);
    ListView_Tray->setRootIsDecorated(false);
    ListView_Tray->setItemsExpandable(false);
    ListView_Tray->setUniformRowHeights(true);
    ListView_Tray->setAllColumnsShowFocus(true);
    ListView_Tray->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView_Tray->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView_Tray->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView_Tray->setSortingEnabled(false);
    ListView_Tray->header()->setSectionsClickable(false);
    ListView_Tray->header()->setSectionsMovable(false);
    ListView_Tray->header()->setStretchLastSection(false);
    ListView_Tray->setColumnWidth(TrayModel::NameColumn, 250);
    ListView_Tray->setColumnWidth(TrayModel::KeyColumn, 300);
    // The selection stays visible while another window has the focus.
    QPalette palette = ListView_Tray->palette();
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    ListView_Tray->setPalette(palette);
    ListView_Tray->setAcceptDrops(true);
    ListView_Tray->viewport()->setAcceptDrops(true);
    // The tray holds references: the elements stay where they are.
    acceptLinkDrops(
        ListView_Tray->viewport(),
        [this](const QObject *source) { return ListView_TrayDragOver(source); },
        [this](const QObject *) { ListView_TrayDragDrop(); });

    connect(ListView_Tray->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TrayWindow::UpdateTrayButtons);
    // A reset or removed rows change the selection without telling it.
    connect(m_model, &QAbstractItemModel::modelReset, this, &TrayWindow::UpdateTrayButtons);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &TrayWindow::UpdateTrayButtons);
    connect(ListView_Tray, &QAbstractItemView::doubleClicked, this, &TrayWindow::ListView_TrayDblClick);
}

QToolButton *TrayWindow::addButton(const char *name, int image, const QString &hint,
                                void (TrayWindow::*handler)())
{
    auto *button = new QToolButton(ToolBar);
    button->setObjectName(QLatin1String(name));
    button->setIcon(trayIcon(TrayImage(image)));
    button->setToolTip(hint);
    button->setStatusTip(hint);
    button->setAccessibleName(hint);
    button->setAutoRaise(true);
    connect(button, &QToolButton::clicked, this, handler);
    ToolBar->addWidget(button);
    return button;
}

void TrayWindow::createToolBar()
{
    ToolBar = new QToolBar(this);
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setOrientation(Qt::Vertical);
    ToolBar->setMovable(false);
    ToolBar->setFloatable(false);
    ToolBar->setIconSize(QSize(16, 16));
    ToolButton_Delete = addButton("ToolButton_Delete", TrayImgDelete,
                                  QStringLiteral("Markierte Einträge aus der Ablagemappe entfernen"),
                                  &TrayWindow::ToolButton_DeleteClick);
    ToolButton_GoTo = addButton("ToolButton_GoTo", TrayImgGoTo,
                                QStringLiteral("Markierten Eintrag in der Liste auswählen und anzeigen"),
                                &TrayWindow::ToolButton_GoToClick);
    ToolButton_Clear = addButton("ToolButton_Clear", TrayImgClear,
                                 QStringLiteral("Ablagemappe leeren"),
                                 &TrayWindow::ToolButton_ClearClick);
}

bool TrayWindow::ListView_TrayDragOver(const QObject *source) const
{
    return source && source == m_dragSource.source;
}

void TrayWindow::ListView_TrayDragDrop()
{
    const QList<Node *> added = m_document.addToTray(m_dragSource.selection());
    if (added.isEmpty())
        return;
    const QModelIndex last = m_model->indexOf(added.last());
    ListView_Tray->selectionModel()->setCurrentIndex(
        last, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ListView_Tray->scrollTo(last);
}

QList<Node *> TrayWindow::selectedNodes() const
{
    QModelIndexList rows = ListView_Tray->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end());
    QList<Node *> nodes;
    for (const QModelIndex &row : rows)
        nodes.append(m_model->nodeOf(row));
    return nodes;
}

Node *TrayWindow::currentNode() const
{
    const QModelIndex current = ListView_Tray->currentIndex();
    if (current.isValid() && ListView_Tray->selectionModel()->isRowSelected(current.row()))
        return m_model->nodeOf(current);
    const QList<Node *> selected = selectedNodes();
    return selected.isEmpty() ? nullptr : selected.first();
}

void TrayWindow::UpdateTrayButtons()
{
    const bool selected = ListView_Tray->selectionModel()->hasSelection();
    ToolButton_Delete->setEnabled(selected);
    ToolButton_GoTo->setEnabled(selected);
}

void TrayWindow::ToolButton_DeleteClick()
{
    const QList<Node *> nodes = selectedNodes();
    ListView_Tray->clearSelection();
    m_document.removeFromTray(nodes);
    UpdateTrayButtons();
}

void TrayWindow::ToolButton_GoToClick()
{
    // The tray keeps its place in front; the main window is not raised.
    if (Node *node = currentNode())
        Q_EMIT m_requests.showNode(node);
}

void TrayWindow::ListView_TrayDblClick()
{
    ToolButton_GoToClick();
}

void TrayWindow::ToolButton_ClearClick()
{
    m_document.clearTray();
    UpdateTrayButtons();
}

} // namespace lexora
