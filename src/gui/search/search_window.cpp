#include "search/search_window.h"

#include "database/win1252.h"
#include "document/document.h"
#include "help/balloon_help.h"
#include "help/balloons.h"
#include "search/drop_down_combo_box.h"
#include "search/highlighted_text.h"
#include "search/search_results_model.h"
#include "search/search_run.h"
#include "search/search_scope_model.h"
#include "support/window_requests.h"
#include "text/collation.h"
#include "text/date_value.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDrag>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTabBar>
#include <QTableView>
#include <QTabWidget>
#include <QTextEdit>
#include <QTreeView>
#include <QVBoxLayout>

namespace lexora {

SearchWindow::SearchWindow(Document &document, WindowRequests &requests, SearchWindowLinks links,
               QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint
                          | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      m_document(document),
      m_requests(requests),
      m_links(std::move(links)),
      m_engine(document.database())
{
    setObjectName(QStringLiteral("TForm6"));
    setWindowTitle(QStringLiteral("Suchen"));
    // Closing the window is hiding it; it never ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    m_scope = new SearchScopeModel(document.database(), this);
    m_results = new SearchResultsModel(this);
    m_run = new SearchRun(m_engine, this);
    connect(m_run, &SearchRun::found, m_results, &SearchResultsModel::append);
    connect(m_run, &SearchRun::finished, this, &SearchWindow::searchFinished);

    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    // All five page tabs in sight, as on a page control.
    PageControl->setUsesScrollButtons(false);
    createWordsPage();
    createScopePage();
    createPlacesPage();
    createConditionsPage();
    createResultPage();
    PageControl->setFixedHeight(233);
    connect(PageControl, &QTabWidget::currentChanged, this, &SearchWindow::PageControlChange);
    createResultList();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(PageControl);
    layout->addWidget(ListView_Results, 1);
    // The laid-out size where this platform's fonts need more than the window's own.
    const int minimumWidth = std::max(420, minimumSizeHint().width());
    resize(std::max(441, minimumWidth), 449);
    setMinimumSize(minimumWidth, 260);
    followDocument();
}

SearchWindow::~SearchWindow() = default;

void SearchWindow::followDocument()
{
    Document &d = m_document;
    // The search reads the tree on its own thread: whatever is about to change the tree's
    // shape ends it first. Other changes come from the user, whose input waits meanwhile.
    for (auto signal : {&Document::treeAboutToBeSorted, &Document::databaseAboutToBeMerged})
        connect(&d, signal, m_run, &SearchRun::cancelAndWait);
    connect(&d, &Document::childrenAboutToBeSorted, m_run, &SearchRun::cancelAndWait);
    connect(&d, &Document::nodeAboutToBeAdded, m_run, &SearchRun::cancelAndWait);
    connect(&d, &Document::nodeAboutToBeMoved, m_run, &SearchRun::cancelAndWait);
    connect(&d, &Document::subtreeAboutToBeRemoved, this, &SearchWindow::forgetSubtree);
    // An undone deletion brings its rows back.
    connect(&d, &Document::nodeAdded, this, [this](const Node *node) {
        m_scope->putBack(node);
        m_results->putBack(node);
    });
    connect(&d, &Document::subtreeReleased, this, [this](const Node *root) {
        m_scope->release(root);
        m_results->release(root);
    });
    connect(&d, &Document::databaseAboutToBeReplaced, this, &SearchWindow::clearAll);
    for (auto signal : {&Document::treeSorted, &Document::databaseMerged})
        connect(&d, signal, this, &SearchWindow::treeChanged);
    connect(&d, &Document::childrenSorted, this, &SearchWindow::treeChanged);
    connect(&d, &Document::nodeRenamed, this, &SearchWindow::treeChanged);
    connect(&d, &Document::nodeMoved, this, &SearchWindow::treeChanged);
    connect(&d, &Document::itemChanged, this, [this](Node *node) {
        if (node == shownResultNode())
            ShowResult();
    });
}

void SearchWindow::forgetSubtree(Node *root)
{
    m_run->cancelAndWait();
    m_results->forget(root);
    m_scope->forget(root);
    m_engine.forgetNode(*root);
}

void SearchWindow::clearAll()
{
    m_run->cancelAndWait();
    hide();
    m_scope->setEntries({});
    m_results->clear();
    m_engine.clear();
    RichEdit_Title->clear();
    RichEdit_Result->clear();
}

void SearchWindow::treeChanged()
{
    m_scope->resort();
    m_results->refresh();
    if (shownResultNode())
        ShowResult();
}

void SearchWindow::showSearch()
{
    if (!m_placed && parentWidget()) {
        move(parentWidget()->window()->geometry().center() - rect().center());
        m_placed = true;
    }
    show();
    raise();
    activateWindow();
}

void SearchWindow::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        FormShow();
    QWidget::showEvent(event);
}

void SearchWindow::FormShow()
{
    Edit_Words->clear();
    RadioButton_AND->setChecked(true);
    CheckBox_FullWords->setChecked(false);
    CheckBox_ExactSpelling->setChecked(false);

    Node *selected = m_links.selectedNode ? m_links.selectedNode() : nullptr;
    Node *entry = selected && selected->isItem() ? selected->parent() : selected;
    m_scope->setEntries({entry});
    Button_DelKey->setEnabled(false);

    for (QCheckBox *box : {CheckBox_RecursiveSearch, CheckBox_KeyNames, CheckBox_ItemNames,
                           CheckBox_ItemCodes})
        box->setChecked(true);
    CheckBox_ItemTexts->setChecked(false);

    for (QCheckBox *box : {CheckBox_Created, CheckBox_Modified, CheckBox_Creator,
                           CheckBox_Modifier, CheckBox_HTMLTemplate, CheckBox_CSSTemplate,
                           CheckBox_AutoFormat})
        box->setChecked(false);
    for (QComboBox *box : {ComboBox_Created, ComboBox_Modified, ComboBox_OpCreator,
                           ComboBox_OpModifier, ComboBox_OpHTMLTemplate, ComboBox_OpCSSTemplate,
                           ComboBox_AutoFormat})
        box->setCurrentIndex(-1);
    for (QDateEdit *date : {DateTimePicker_Created, DateTimePicker_Modified})
        date->setDate(QDate::currentDate());
    for (QComboBox *box : std::initializer_list<QComboBox *>{
             ComboBox_Creator, ComboBox_Modifier, ComboBox_HTMLTemplate, ComboBox_CSSTemplate})
        box->clear();
    m_chosenTemplate[0] = m_chosenTemplate[1] = nullptr;

    m_results->clear();
    ShowResult();
    PageControl->setCurrentWidget(TabSheet1);
    Edit_Words->setFocus();
}

void SearchWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void SearchWindow::FormActivate()
{
    m_scope->resort();
    Button_DelKey->setEnabled(ListView_Keys->selectionModel()->hasSelection());
    m_results->refresh();
    ShowResult();
}

void SearchWindow::PageControlChange()
{
    if (Balloons *balloons = Balloons::instance()) {
        balloons->QZBalloonHelp->Hide();
        balloons->BalloonWarning->Hide();
    }
}

SearchQuery SearchWindow::currentQuery() const
{
    SearchQuery q;
    q.keywordText = win1252::fromUnicode(Edit_Words->text());
    q.wholeWords = CheckBox_FullWords->isChecked();
    q.exactCase = CheckBox_ExactSpelling->isChecked();
    q.mode = RadioButton_OR->isChecked() ? SearchMode::Any : SearchMode::All;
    q.scope = m_scope->entries();
    q.recursive = CheckBox_RecursiveSearch->isChecked();
    q.places = {CheckBox_KeyNames->isChecked(), CheckBox_ItemNames->isChecked(),
                CheckBox_ItemCodes->isChecked(), CheckBox_ItemTexts->isChecked()};
    const auto dayOf = [](const QDateEdit *edit) {
        return dateValue(QDateTime(edit->date(), QTime(0, 0)));
    };
    q.created = {CheckBox_Created->isChecked(), ComboBox_Created->currentIndex(),
                 dayOf(DateTimePicker_Created)};
    q.modified = {CheckBox_Modified->isChecked(), ComboBox_Modified->currentIndex(),
                  dayOf(DateTimePicker_Modified)};
    q.creator = {CheckBox_Creator->isChecked(), ComboBox_OpCreator->currentIndex(),
                 win1252::fromUnicode(ComboBox_Creator->currentText())};
    q.modifier = {CheckBox_Modifier->isChecked(), ComboBox_OpModifier->currentIndex(),
                  win1252::fromUnicode(ComboBox_Modifier->currentText())};
    q.htmlTemplate = {CheckBox_HTMLTemplate->isChecked(), ComboBox_OpHTMLTemplate->currentIndex(),
                      m_chosenTemplate[0]};
    q.cssTemplate = {CheckBox_CSSTemplate->isChecked(), ComboBox_OpCSSTemplate->currentIndex(),
                     m_chosenTemplate[1]};
    q.autoFormat = {CheckBox_AutoFormat->isChecked(), ComboBox_AutoFormat->currentIndex()};
    return q;
}

void SearchWindow::Button_SearchClick()
{
    if (m_run->isRunning())
        return;
    const auto none = [](const QComboBox *box) { return box->currentIndex() < 0; };
    const auto noOperator = [](const QString &condition) {
        return QStringLiteral("Sie müssen einen Operator für die Bedingung \"%1\" angeben.")
            .arg(condition);
    };
    const auto noUser = [](const QString &condition) {
        return QStringLiteral("Sie müssen einen Benutzernamen für die Bedingung \"%1\" angeben.")
            .arg(condition);
    };
    const struct {
        bool failed;
        QWidget *control;
        QString message;
    } checks[] = {
        {Edit_Words->text().isEmpty(), Edit_Words,
         QStringLiteral("Sie haben keine Stichwörter definiert.")},
        {m_scope->entries().empty(), ListView_Keys,
         QStringLiteral("Sie haben keine Schlüssel definiert, in denen gesucht werden soll.")},
        {!CheckBox_KeyNames->isChecked() && !CheckBox_ItemNames->isChecked()
             && !CheckBox_ItemCodes->isChecked() && !CheckBox_ItemTexts->isChecked(),
         CheckBox_ItemTexts,
         QStringLiteral("Sie müssen mindestens eine Stelle (Schlüsselname, Eintragsname, "
                        "Eintragscode oder Eintragstext) angeben, die durchsucht werden soll.")},
        {CheckBox_Created->isChecked() && none(ComboBox_Created), ComboBox_Created,
         noOperator(QStringLiteral("Erstellungsdatum"))},
        {CheckBox_Modified->isChecked() && none(ComboBox_Modified), ComboBox_Modified,
         noOperator(QStringLiteral("Änderungsdatum"))},
        {CheckBox_Creator->isChecked() && none(ComboBox_OpCreator), ComboBox_OpCreator,
         noOperator(QStringLiteral("Ersteller"))},
        {CheckBox_Creator->isChecked() && none(ComboBox_Creator), ComboBox_Creator,
         noUser(QStringLiteral("Ersteller"))},
        {CheckBox_Modifier->isChecked() && none(ComboBox_OpModifier), ComboBox_OpModifier,
         noOperator(QStringLiteral("Bearbeiter"))},
        {CheckBox_Modifier->isChecked() && none(ComboBox_Modifier), ComboBox_Modifier,
         noUser(QStringLiteral("Bearbeiter"))},
        {CheckBox_HTMLTemplate->isChecked() && none(ComboBox_OpHTMLTemplate),
         ComboBox_OpHTMLTemplate, noOperator(QStringLiteral("HTML-Vorlage"))},
        {CheckBox_HTMLTemplate->isChecked() && none(ComboBox_HTMLTemplate), ComboBox_HTMLTemplate,
         QStringLiteral("Sie müssen eine HTML-Vorlage für die Bedingung \"HTML-Vorlage\" angeben.")},
        {CheckBox_CSSTemplate->isChecked() && none(ComboBox_OpCSSTemplate), ComboBox_OpCSSTemplate,
         noOperator(QStringLiteral("CSS-Vorlage"))},
        {CheckBox_CSSTemplate->isChecked() && none(ComboBox_CSSTemplate), ComboBox_CSSTemplate,
         QStringLiteral("Sie müssen eine CSS-Vorlage für die Bedingung \"CSS-Vorlage\" angeben.")},
        {CheckBox_AutoFormat->isChecked() && none(ComboBox_AutoFormat), ComboBox_AutoFormat,
         QStringLiteral("Sie müssen einen Wert für die Bedingung \"Zeilenumbruch = '<br>'\" "
                        "angeben.")},
    };
    for (const auto &check : checks) {
        if (!check.failed)
            continue;
        for (QWidget *sheet : {TabSheet1, TabSheet2, TabSheet3, TabSheet4, TabSheet5})
            if (sheet->isAncestorOf(check.control))
                PageControl->setCurrentWidget(sheet);
        check.control->setFocus();
        Balloons::warn(check.control, check.message);
        return;
    }
    ListView_Results->clearSelection();
    m_results->clear();
    ShowResult();
    m_run->start(currentQuery());
}

bool SearchWindow::isSearching() const
{
    return m_run->isRunning();
}

void SearchWindow::searchFinished(const std::vector<const Node *> &scope, bool, const QString &error)
{
    m_scope->setEntries(scope);
    // The rows came in as they were found; none is selected.
    ShowResult();
    PageControl->setCurrentWidget(TabSheet5);
    if (!error.isEmpty())
        QMessageBox::critical(this, QStringLiteral("Fehler"), error);
}

const Node *SearchWindow::shownResultNode() const
{
    const QModelIndexList rows = ListView_Results->selectionModel()->selectedRows();
    return rows.isEmpty() ? nullptr : m_results->result(rows.first().row()).node;
}

void SearchWindow::ShowResult()
{
    // While a search runs, its thread owns the displayed texts; the display follows at its end.
    if (m_run->isRunning())
        return;
    const Node *node = shownResultNode();
    if (!node) {
        RichEdit_Title->clear();
        RichEdit_Result->clear();
        return;
    }
    const SearchQuery query = currentQuery();
    showHighlighted(RichEdit_Title, HighlightHits(node->name(), query));
    const TTipItem *item = node->item();
    if (!item) {
        RichEdit_Result->clear();
        return;
    }
    const bool code = TabControl->currentIndex() == 0;
    RichEdit_Result->setFont(code && m_links.codeFont ? m_links.codeFont() : font());
    const bool wrap = !code || (m_links.codeWrap && m_links.codeWrap());
    RichEdit_Result->setLineWrapMode(wrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    showHighlighted(RichEdit_Result,
                    HighlightHits(code ? item->Code : m_engine.DisplayedText(*node), query));
}

void SearchWindow::ListView_ResultsDblClick()
{
    if (const Node *node = shownResultNode())
        Q_EMIT m_requests.showNode(node);
}

bool SearchWindow::ListView_KeysDragOver(const QObject *source) const
{
    if (!source)
        return false;
    if (source == Label_TopLevel)
        return true;
    if (source != m_links.tree.source || !m_links.selectedNode)
        return false;
    const Node *selected = m_links.selectedNode();
    return selected && !selected->isItem();
}

void SearchWindow::ListView_KeysDragDrop(const QObject *source)
{
    if (source == Label_TopLevel)
        m_scope->add({}, true);
    else if (m_links.tree.selection)
        m_scope->add(m_links.tree.selection(), false);
}

void SearchWindow::Button_DelKeyClick()
{
    const QModelIndexList rows = ListView_Keys->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return;
    m_scope->removeRow(rows.first().row());
    ListView_Keys->clearSelection();
    Button_DelKey->setEnabled(false);
}

void SearchWindow::fillUserNames(QComboBox *box, bool creators)
{
    if (box->count() > 0)
        return;
    std::vector<Text> names;
    for (const Node *node : m_document.database().preorder()) {
        const TTipItem *item = node->item();
        if (!item)
            continue;
        const Text &name = creators ? item->CreatedBy : item->ModifiedBy;
        // The list finds a name without regard to case.
        if (std::none_of(names.begin(), names.end(), [&name](const Text &known) {
                return CompareTextsIgnoringCase(known, name) == 0;
            }))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end(), [](const Text &a, const Text &b) {
        return CompareTextsIgnoringCase(a, b) < 0;
    });
    for (const Text &name : names)
        box->addItem(win1252::toUnicode(name));
    box->setCurrentIndex(-1);
}

void SearchWindow::fillTemplates(DropDownComboBox *box, int list)
{
    const Database &db = m_document.database();
    box->clear();
    box->addItem(QStringLiteral("Keine Vorlage"));
    for (const auto &t : db.templates(list))
        box->addItem(win1252::toUnicode(t->Name));
    box->setCurrentIndex(db.templateIndex(list, m_chosenTemplate[list]) + 1);
}

bool SearchWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Label_TopLevel) {
        switch (event->type()) {
        case QEvent::Enter:
            Panel_TopLevel->setFrameShadow(QFrame::Raised);
            break;
        case QEvent::Leave:
            Panel_TopLevel->setFrameShadow(QFrame::Sunken);
            break;
        case QEvent::MouseButtonPress:
            m_dragStart = static_cast<QMouseEvent *>(event)->position().toPoint();
            break;
        case QEvent::MouseMove: {
            auto *move = static_cast<QMouseEvent *>(event);
            if ((move->buttons() & Qt::LeftButton)
                && (move->position().toPoint() - m_dragStart).manhattanLength()
                       >= QApplication::startDragDistance())
                startTopLevelDrag();
            break;
        }
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SearchWindow::startTopLevelDrag()
{
    auto *drag = new QDrag(Label_TopLevel);
    auto *mime = new QMimeData;
    mime->setData(QStringLiteral("application/x-lexora-top-level"), {});
    drag->setMimeData(mime);
    drag->exec(Qt::LinkAction);
}

} // namespace lexora
