#include "files/included_files_window.h"

#include "document/document.h"
#include "files/included_files_model.h"
#include "support/file_dialogs.h"
#include "support/named.h"
#include "support/user_prompt.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMimeData>
#include <QPushButton>
#include <QShowEvent>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

namespace lexora {

namespace {

// The local files a drag from the file manager carries; none when it carries anything else.
QStringList droppedFiles(const QMimeData *mime)
{
    QStringList files;
    if (!mime || !mime->hasUrls())
        return files;
    for (const QUrl &url : mime->urls()) {
        if (!url.isLocalFile())
            return {};
        files.append(url.toLocalFile());
    }
    return files;
}

} // namespace

IncludedFilesWindow::IncludedFilesWindow(Document &document, FileDialogs &fileDialogs, QWidget *parent)
    : QDialog(parent, Qt::Tool), m_document(document), m_fileDialogs(fileDialogs)
{
    setObjectName(QStringLiteral("TForm7"));
    setWindowTitle(QStringLiteral("Eingebundene Dateien"));
    setSizeGripEnabled(true);
    setAcceptDrops(true);
    m_model = new IncludedFilesModel(document, this);

    ListView_Files = named(new QTreeView(this), "ListView_Files");
    ListView_Files->setModel(m_model);
    ListView_Files->setRootIsDecorated(false);
    ListView_Files->setItemsExpandable(false);
    ListView_Files->setUniformRowHeights(true);
    ListView_Files->setAllColumnsShowFocus(true);
    ListView_Files->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView_Files->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView_Files->setEditTriggers(QAbstractItemView::EditKeyPressed
                                    | QAbstractItemView::SelectedClicked);
    ListView_Files->setAccessibleName(QStringLiteral("Eingebundene Dateien"));
    QHeaderView *header = ListView_Files->header();
    header->setSectionsClickable(false);
    header->setSectionsMovable(false);
    header->setStretchLastSection(false);
    // The name takes what the window gives beyond the size's 70 pixels.
    header->setMinimumSectionSize(70);
    header->setSectionResizeMode(IncludedFilesModel::NameColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(IncludedFilesModel::SizeColumn, QHeaderView::Fixed);
    header->resizeSection(IncludedFilesModel::SizeColumn, 70);

    Button_Add = named(new QPushButton(QStringLiteral("Hinzufügen"), this), "Button_Add");
    Button_Del = named(new QPushButton(QStringLiteral("Entfernen"), this), "Button_Del");
    Button_Rename = named(new QPushButton(QStringLiteral("Umbenennen"), this), "Button_Rename");
    Button_Close = named(new QPushButton(QStringLiteral("Schließen"), this), "Button_Close");
    for (QPushButton *button : {Button_Add, Button_Del, Button_Rename, Button_Close})
        button->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Button_Add);
    buttons->addWidget(Button_Del);
    buttons->addWidget(Button_Rename);
    buttons->addStretch(1);
    buttons->addWidget(Button_Close);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(ListView_Files, 1);
    layout->addLayout(buttons);
    setMinimumSize(360, 120);
    resize(369, 251);

    connect(Button_Add, &QPushButton::clicked, this, &IncludedFilesWindow::Button_AddClick);
    connect(Button_Del, &QPushButton::clicked, this, &IncludedFilesWindow::Button_DelClick);
    connect(Button_Rename, &QPushButton::clicked, this, &IncludedFilesWindow::Button_RenameClick);
    connect(Button_Close, &QPushButton::clicked, this, &QDialog::accept);
    connect(ListView_Files->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &IncludedFilesWindow::updateButtons);
    connect(m_model, &QAbstractItemModel::modelReset, this, &IncludedFilesWindow::updateButtons);
    updateButtons();
    // The renamed entry is selected at its new place once the edit has ended.
    connect(m_model, &IncludedFilesModel::renamed, this, [this](TInclFile *file) {
        const QModelIndex index = m_model->indexOf(file);
        ListView_Files->selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        ListView_Files->scrollTo(index);
    }, Qt::QueuedConnection);
}

void IncludedFilesWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        ListView_Files->clearSelection();
}

QList<TInclFile *> IncludedFilesWindow::selectedFiles() const
{
    QList<TInclFile *> files;
    QModelIndexList rows = ListView_Files->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end());
    for (const QModelIndex &row : rows)
        if (TInclFile *file = m_model->fileAt(row))
            files.append(file);
    return files;
}

void IncludedFilesWindow::updateButtons()
{
    const bool selected = ListView_Files->selectionModel()->hasSelection();
    Button_Del->setEnabled(selected);
    Button_Rename->setEnabled(selected);
}

void IncludedFilesWindow::addFiles(const QStringList &paths)
{
    m_document.addIncludedFiles(paths);
    ListView_Files->clearSelection();
}

void IncludedFilesWindow::Button_AddClick()
{
    const QStringList paths = m_fileDialogs.openIncludedFiles(this);
    if (!paths.isEmpty())
        addFiles(paths);
}

void IncludedFilesWindow::Button_DelClick()
{
    const QList<TInclFile *> files = selectedFiles();
    if (files.isEmpty())
        return;
    if (m_document.prompt().question(QStringLiteral("Löschen bestätigen"),
                                     QStringLiteral("Sollen die markierten Dateien wirklich "
                                                    "entfernt werden?"),
                                     UserPrompt::Buttons::YesNo)
        != UserPrompt::Answer::Yes)
        return;
    m_document.removeIncludedFiles(files);
    ListView_Files->clearSelection();
}

void IncludedFilesWindow::Button_RenameClick()
{
    QModelIndex index = ListView_Files->currentIndex();
    if (!ListView_Files->selectionModel()->isSelected(index)) {
        const QModelIndexList rows = ListView_Files->selectionModel()->selectedRows();
        if (rows.isEmpty())
            return;
        index = rows.constFirst();
    }
    index = index.siblingAtColumn(IncludedFilesModel::NameColumn);
    ListView_Files->setCurrentIndex(index);
    ListView_Files->setFocus();
    ListView_Files->edit(index);
}

void IncludedFilesWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void IncludedFilesWindow::dropEvent(QDropEvent *event)
{
    const QStringList files = droppedFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    // After the drop has ended: adding may ask for another name in an input box.
    QMetaObject::invokeMethod(this, [this, files] { addFiles(files); }, Qt::QueuedConnection);
}

} // namespace lexora
