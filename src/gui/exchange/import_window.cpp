#include "exchange/import_window.h"

#include "document/document.h"
#include "help/balloon_help.h"
#include "help/balloons.h"
#include "support/error.h"
#include "support/file_dialogs.h"
#include "support/user_prompt.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace lexora {

namespace {

QPushButton *button(const QString &text, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

void hideBalloons()
{
    if (Balloons *balloons = Balloons::instance()) {
        balloons->BalloonWarning->Hide();
        balloons->QZBalloonHelp->Hide();
    }
}

} // namespace

ImportWindow::ImportWindow(Document &document, UserPrompt &prompt, FileDialogs &dialogs, QWidget *parent)
    : QDialog(parent), m_document(document), m_prompt(prompt), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("TForm9"));
    setWindowTitle(QStringLiteral("Datenbank importieren"));
    // Database files dropped from the file manager join the list.
    setAcceptDrops(true);

    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    createFilesPage();
    createElementsPage();
    Button_Cancel = button(QStringLiteral("Abbrechen"), "Button_Cancel", this);

    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(Button_Cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl);
    layout->addLayout(bottom);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(PageControl, &QTabWidget::currentChanged, this, &hideBalloons);
    connect(Button_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void ImportWindow::createFilesPage()
{
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    Label1 = new QLabel(QStringLiteral("Geben Sie die Datenbanken an, die importiert werden sollen."),
                        TabSheet1);
    Label1->setObjectName(QStringLiteral("Label1"));
    ListView_Files = new QListWidget(TabSheet1);
    ListView_Files->setObjectName(QStringLiteral("ListView_Files"));
    ListView_Files->setAccessibleName(QStringLiteral("Dateien"));
    ListView_Files->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView_Files->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView_Files->setTextElideMode(Qt::ElideMiddle);
    ListView_Files->setFixedSize(400, 200);
    Button_Add = button(QStringLiteral("Hinzufügen"), "Button_Add", TabSheet1);
    Button_Del = button(QStringLiteral("Entfernen"), "Button_Del", TabSheet1);
    Button_Del->setEnabled(false);
    Button_Next = button(QStringLiteral("Weiter >"), "Button_Next", TabSheet1);

    auto *side = new QVBoxLayout;
    side->addWidget(Button_Add);
    side->addWidget(Button_Del);
    side->addStretch();
    side->addWidget(Button_Next);
    auto *row = new QHBoxLayout;
    row->addWidget(ListView_Files, 1);
    row->addLayout(side);
    auto *page = new QVBoxLayout(TabSheet1);
    page->addWidget(Label1);
    page->addLayout(row);
    PageControl->addTab(TabSheet1, QStringLiteral("Dateien"));

    connect(ListView_Files, &QListWidget::itemSelectionChanged, this,
            [this] { Button_Del->setEnabled(!ListView_Files->selectedItems().isEmpty()); });
    connect(Button_Add, &QPushButton::clicked, this, &ImportWindow::Button_AddClick);
    connect(Button_Del, &QPushButton::clicked, this, &ImportWindow::Button_DelClick);
    connect(Button_Next, &QPushButton::clicked, this, [this] { PageControl->setCurrentIndex(1); });
}

void ImportWindow::createElementsPage()
{
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    Label2 = new QLabel(QStringLiteral("Markieren Sie die zu importierenden Elemente."), TabSheet2);
    Label2->setObjectName(QStringLiteral("Label2"));
    CheckListBox_Elements = new QListWidget(TabSheet2);
    CheckListBox_Elements->setObjectName(QStringLiteral("CheckListBox_Elements"));
    CheckListBox_Elements->setAccessibleName(QStringLiteral("Elemente"));
    CheckListBox_Elements->setFixedSize(400, 200);
    // Headers: bold, 24 pixels high, without a check box. Check rows: 16 pixels, or as much as
    // the list's font needs.
    QFont bold = CheckListBox_Elements->font();
    bold.setBold(true);
    const int rowHeight = std::max(16, QFontMetrics(CheckListBox_Elements->font()).height() + 2);
    for (const ImportElement &element : ImportElements) {
        auto *item = new QListWidgetItem(QString::fromUtf16(element.text), CheckListBox_Elements);
        if (element.part == 0) {
            item->setFlags(Qt::ItemIsEnabled);
            item->setFont(bold);
            item->setSizeHint(QSize(0, 24));
        } else {
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Checked);
            item->setSizeHint(QSize(0, rowHeight));
        }
    }
    Button_Back = button(QStringLiteral("< Zurück"), "Button_Back", TabSheet2);
    Button_Import = button(QStringLiteral("Importieren"), "Button_Import", TabSheet2);
    Button_Import->setDefault(true);

    auto *side = new QVBoxLayout;
    side->addStretch();
    side->addWidget(Button_Back);
    side->addWidget(Button_Import);
    auto *row = new QHBoxLayout;
    row->addWidget(CheckListBox_Elements, 1);
    row->addLayout(side);
    auto *page = new QVBoxLayout(TabSheet2);
    page->addWidget(Label2);
    page->addLayout(row);
    PageControl->addTab(TabSheet2, QStringLiteral("Elemente"));

    connect(Button_Back, &QPushButton::clicked, this, [this] { PageControl->setCurrentIndex(0); });
    connect(Button_Import, &QPushButton::clicked, this, &ImportWindow::ImportDatabases);
}

void ImportWindow::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        m_files.clear();
        showFiles();
        for (int row = 0; row < CheckListBox_Elements->count(); ++row) {
            QListWidgetItem *item = CheckListBox_Elements->item(row);
            if (item->flags() & Qt::ItemIsUserCheckable)
                item->setCheckState(Qt::Checked);
        }
        PageControl->setCurrentIndex(0);
        ListView_Files->setFocus();
    }
    QDialog::showEvent(event);
}

void ImportWindow::showFiles()
{
    ListView_Files->clear();
    ListView_Files->addItems(m_files.files());
    Button_Del->setEnabled(false);
}

void ImportWindow::AddImportFiles(const QStringList &paths)
{
    m_files.AddImportFiles(paths, m_prompt);
    showFiles();
}

void ImportWindow::Button_AddClick()
{
    if (const std::optional<QStringList> chosen = m_dialogs.openDatabases(this))
        AddImportFiles(*chosen);
}

void ImportWindow::Button_DelClick()
{
    QList<int> rows;
    for (const QListWidgetItem *item : ListView_Files->selectedItems())
        rows.append(ListView_Files->row(item));
    m_files.remove(rows);
    showFiles();
}

void ImportWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void ImportWindow::dropEvent(QDropEvent *event)
{
    event->acceptProposedAction();
    const QList<QUrl> urls = event->mimeData()->urls();
    // Added once the drop has ended, so that the file manager is not kept waiting while the
    // question about the extension is open.
    QTimer::singleShot(0, this, [this, urls] { FilesDropped(urls); });
}

void ImportWindow::FilesDropped(const QList<QUrl> &urls)
{
    QStringList paths;
    for (const QUrl &url : urls)
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    if (!paths.isEmpty())
        AddImportFiles(paths);
}

std::array<bool, ImportElements.size()> ImportWindow::checkedElements() const
{
    std::array<bool, ImportElements.size()> checked{};
    for (std::size_t row = 0; row < checked.size(); ++row) {
        const QListWidgetItem *item = CheckListBox_Elements->item(int(row));
        checked[row] = (item->flags() & Qt::ItemIsUserCheckable) && item->checkState() == Qt::Checked;
    }
    return checked;
}

void ImportWindow::warn(QWidget *control, const QString &text)
{
    PageControl->setCurrentWidget(control == ListView_Files ? TabSheet1 : TabSheet2);
    control->setFocus();
    Balloons::warn(control, text);
}

void ImportWindow::ImportDatabases()
{
    ImportResult result;
    try {
        result = m_document.importDatabases(m_files.files(), importLoadParts(checkedElements()));
    } catch (const Error &e) {
        // A damaged file: what was merged before it stays, the window stays open.
        m_prompt.message(UserPrompt::Icon::Error, QStringLiteral("Lexora"), e.message());
        return;
    }
    if (result.inputError) {
        warn(result.inputError->control == ImportInputError::FileList ? ListView_Files
                                                                      : CheckListBox_Elements,
             result.inputError->message);
        return;
    }
    // When every file was refused nothing changed: the list stays for another try.
    if (result.refused.size() < m_files.files().size())
        accept();
}

} // namespace lexora
