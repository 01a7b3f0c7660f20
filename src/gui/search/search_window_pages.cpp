// The pages of the search window and the result list: controls, captions, lists.
#include "search/search_window.h"

#include "document/document.h"
#include "search/drop_down_combo_box.h"
#include "search/search_results_model.h"
#include "search/search_scope_model.h"
#include "support/link_drop.h"
#include "support/named.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTableView>
#include <QTabWidget>
#include <QTextEdit>
#include <QTreeView>
#include <QVBoxLayout>

namespace lexora {

namespace {

QWidget *page(QTabWidget *pages, const char *name, const QString &caption)
{
    auto *sheet = named(new QWidget(pages), name);
    pages->addTab(sheet, caption);
    return sheet;
}

QComboBox *operatorList(QWidget *parent, const char *name, const QString &condition, bool dates)
{
    auto *box = named(new QComboBox(parent), name);
    if (dates)
        box->addItems({QStringLiteral("ist früher als"), QStringLiteral("ist"),
                       QStringLiteral("ist später als")});
    else
        box->addItems({QStringLiteral("ist"), QStringLiteral("ist nicht")});
    box->setAccessibleName(condition + QStringLiteral(": Operator"));
    return box;
}

// A read-only list of rows, one selected at a time, with its columns' widths.
QTreeView *reportList(QWidget *parent, const char *name, QAbstractItemModel *model,
                      std::initializer_list<int> widths)
{
    auto *list = named(new QTreeView(parent), name);
    list->setModel(model);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->header()->setSectionsClickable(false);
    list->header()->setSectionsMovable(false);
    list->header()->setStretchLastSection(false);
    int column = 0;
    for (int width : widths)
        list->setColumnWidth(column++, width);
    return list;
}

QTextEdit *richEdit(QWidget *parent, const char *name)
{
    auto *edit = named(new QTextEdit(parent), name);
    edit->setReadOnly(true);
    edit->setAcceptRichText(false);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    edit->setPalette(palette);
    return edit;
}

} // namespace

void SearchWindow::createWordsPage()
{
    TabSheet1 = page(PageControl, "TabSheet1", QStringLiteral("Stichwörter"));
    auto *label = new QLabel(QStringLiteral("Stichwörter:"), TabSheet1);
    Edit_Words = named(new QLineEdit(TabSheet1), "Edit_Words");
    label->setBuddy(Edit_Words);
    Edit_Words->setAccessibleName(QStringLiteral("Stichwörter"));
    auto *hint = named(new QLabel(QStringLiteral(
        "(Trennen Sie mehrere Stichwörter durch Leerzeichen oder Kommata. Setzen Sie Wörter, die "
        "zusammen in dieser Reihenfolge gesucht werden sollen, in Anführungszeichen.)"), TabSheet1),
        "Label2");
    hint->setWordWrap(true);
    RadioButton_AND = named(new QRadioButton(QStringLiteral("Alle Stichwörter müssen vorkommen."),
                                             TabSheet1), "RadioButton_AND");
    RadioButton_OR = named(new QRadioButton(
        QStringLiteral("Mindestens eins der Stichwörter muss vorkommen."), TabSheet1),
        "RadioButton_OR");
    CheckBox_FullWords = named(new QCheckBox(QStringLiteral("Nur ganze Wörter"), TabSheet1),
                               "CheckBox_FullWords");
    CheckBox_ExactSpelling = named(new QCheckBox(QStringLiteral("Groß-/Kleinschreibung"),
                                                 TabSheet1), "CheckBox_ExactSpelling");
    Button_Search = named(new QPushButton(QStringLiteral("Suchen"), TabSheet1), "Button_Search");
    Button_Search->setDefault(true);
    connect(Button_Search, &QPushButton::clicked, this, &SearchWindow::Button_SearchClick);
    connect(Edit_Words, &QLineEdit::returnPressed, this, &SearchWindow::Button_SearchClick);

    auto *layout = new QGridLayout(TabSheet1);
    layout->addWidget(label, 0, 0);
    layout->addWidget(Edit_Words, 0, 1, 1, 2);
    layout->addWidget(hint, 1, 1, 1, 2);
    layout->addWidget(RadioButton_AND, 2, 1, 1, 2);
    layout->addWidget(RadioButton_OR, 3, 1, 1, 2);
    layout->addWidget(CheckBox_FullWords, 4, 1);
    layout->addWidget(CheckBox_ExactSpelling, 5, 1);
    layout->addWidget(Button_Search, 5, 2, Qt::AlignRight);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(6, 1);
}

void SearchWindow::createScopePage()
{
    TabSheet2 = page(PageControl, "TabSheet2", QStringLiteral("Schlüssel"));
    auto *label = named(new QLabel(QStringLiteral("In folgenden Schlüsseln wird gesucht:\r\n"
                                                  "(Fügen Sie weitere Schlüssel durch Drag&&Drop "
                                                  "mit dem Hauptfenster hinzu.)"), TabSheet2),
                        "Label1");
    label->setWordWrap(true);
    // The label names the list: "&&" shows one ampersand.
    ListView_Keys = reportList(TabSheet2, "ListView_Keys", m_scope, {100, 190});
    ListView_Keys->setAccessibleName(QStringLiteral("Schlüssel, in denen gesucht wird"));
    ListView_Keys->setAcceptDrops(true);
    ListView_Keys->viewport()->setAcceptDrops(true);
    // The scope refers to keys: they stay where they are.
    acceptLinkDrops(
        ListView_Keys->viewport(),
        [this](const QObject *source) { return ListView_KeysDragOver(source); },
        [this](const QObject *source) { ListView_KeysDragDrop(source); });
    label->setBuddy(ListView_Keys);

    Panel_TopLevel = named(new QFrame(TabSheet2), "Panel_TopLevel");
    Panel_TopLevel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel_TopLevel->setAutoFillBackground(true);
    QPalette dark = Panel_TopLevel->palette();
    dark.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    dark.setColor(QPalette::WindowText, Qt::white);
    Panel_TopLevel->setPalette(dark);
    Label_TopLevel = named(new QLabel(QStringLiteral("Drag&Drop- Element: Höchste Ebene"),
                                      Panel_TopLevel), "Label_TopLevel");
    Label_TopLevel->setAlignment(Qt::AlignCenter);
    Label_TopLevel->setWordWrap(true);
    Label_TopLevel->setCursor(Qt::PointingHandCursor);
    Label_TopLevel->setAccessibleName(Label_TopLevel->text());
    Label_TopLevel->installEventFilter(this);
    auto *panelLayout = new QVBoxLayout(Panel_TopLevel);
    panelLayout->addWidget(Label_TopLevel);

    Button_DelKey = named(new QPushButton(QStringLiteral("Löschen"), TabSheet2), "Button_DelKey");
    Button_DelKey->setEnabled(false);
    CheckBox_RecursiveSearch = named(new QCheckBox(
        QStringLiteral("Untergeordnete Schlüssel durchsuchen"), TabSheet2),
        "CheckBox_RecursiveSearch");
    connect(Button_DelKey, &QPushButton::clicked, this, &SearchWindow::Button_DelKeyClick);
    connect(ListView_Keys->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { Button_DelKey->setEnabled(ListView_Keys->selectionModel()->hasSelection()); });

    auto *layout = new QGridLayout(TabSheet2);
    layout->addWidget(label, 0, 0, 1, 2);
    layout->addWidget(ListView_Keys, 1, 0, 3, 1);
    layout->addWidget(Panel_TopLevel, 1, 1);
    layout->addWidget(Button_DelKey, 2, 1, Qt::AlignTop);
    layout->addWidget(CheckBox_RecursiveSearch, 4, 0, 1, 2);
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(3, 1);
    Panel_TopLevel->setFixedWidth(110);
}

void SearchWindow::createPlacesPage()
{
    TabSheet3 = page(PageControl, "TabSheet3", QStringLiteral("Suchstellen"));
    auto *layout = new QVBoxLayout(TabSheet3);
    const auto box = [this, layout](const char *name, const QString &caption) {
        auto *check = named(new QCheckBox(caption, TabSheet3), name);
        layout->addWidget(check);
        return check;
    };
    CheckBox_KeyNames = box("CheckBox_KeyNames", QStringLiteral("Schlüsselnamen"));
    CheckBox_ItemNames = box("CheckBox_ItemNames", QStringLiteral("Eintragsnamen"));
    CheckBox_ItemCodes = box("CheckBox_ItemCodes", QStringLiteral("Quellcode der Einträge"));
    CheckBox_ItemTexts = box("CheckBox_ItemTexts",
                             QStringLiteral("Text der Einträge (wie im Anzeigefenster angezeigt)"));
    layout->addStretch();
}

void SearchWindow::createConditionsPage()
{
    TabSheet4 = page(PageControl, "TabSheet4", QStringLiteral("Bedingungen"));
    auto *layout = new QGridLayout(TabSheet4);
    layout->addWidget(named(new QLabel(QStringLiteral("Nur Einträge durchsuchen, für die gilt:"),
                                       TabSheet4), "Label3"), 0, 0, 1, 3);
    int row = 1;
    const auto check = [this, layout, &row](const char *name, const QString &caption) {
        auto *box = named(new QCheckBox(caption, TabSheet4), name);
        layout->addWidget(box, row, 0);
        return box;
    };
    const auto place = [layout, &row](QWidget *op, QWidget *value) {
        layout->addWidget(op, row, 1);
        layout->addWidget(value, row, 2);
        ++row;
    };
    const auto date = [this](const char *name, const QString &condition) {
        auto *edit = named(new QDateEdit(TabSheet4), name);
        edit->setCalendarPopup(true);
        edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
        edit->setAccessibleName(condition + QStringLiteral(": Datum"));
        return edit;
    };
    const auto values = [this](const char *name, const QString &condition, const QString &what) {
        auto *box = named(new DropDownComboBox(TabSheet4), name);
        box->setAccessibleName(condition + QStringLiteral(": ") + what);
        return box;
    };
    const QString created = QStringLiteral("Erstellungsdatum");
    CheckBox_Created = check("CheckBox_Created", created);
    ComboBox_Created = operatorList(TabSheet4, "ComboBox_Created", created, true);
    DateTimePicker_Created = date("DateTimePicker_Created", created);
    place(ComboBox_Created, DateTimePicker_Created);
    const QString modified = QStringLiteral("Änderungsdatum");
    CheckBox_Modified = check("CheckBox_Modified", modified);
    ComboBox_Modified = operatorList(TabSheet4, "ComboBox_Modified", modified, true);
    DateTimePicker_Modified = date("DateTimePicker_Modified", modified);
    place(ComboBox_Modified, DateTimePicker_Modified);
    const QString creator = QStringLiteral("Ersteller");
    CheckBox_Creator = check("CheckBox_Creator", creator);
    ComboBox_OpCreator = operatorList(TabSheet4, "ComboBox_OpCreator", creator, false);
    ComboBox_Creator = values("ComboBox_Creator", creator, QStringLiteral("Benutzername"));
    place(ComboBox_OpCreator, ComboBox_Creator);
    const QString modifier = QStringLiteral("Bearbeiter");
    CheckBox_Modifier = check("CheckBox_Modifier", modifier);
    ComboBox_OpModifier = operatorList(TabSheet4, "ComboBox_OpModifier", modifier, false);
    ComboBox_Modifier = values("ComboBox_Modifier", modifier, QStringLiteral("Benutzername"));
    place(ComboBox_OpModifier, ComboBox_Modifier);
    const QString html = QStringLiteral("HTML-Vorlage");
    CheckBox_HTMLTemplate = check("CheckBox_HTMLTemplate", html);
    ComboBox_OpHTMLTemplate = operatorList(TabSheet4, "ComboBox_OpHTMLTemplate", html, false);
    ComboBox_HTMLTemplate = values("ComboBox_HTMLTemplate", html, QStringLiteral("Vorlage"));
    place(ComboBox_OpHTMLTemplate, ComboBox_HTMLTemplate);
    const QString css = QStringLiteral("CSS-Vorlage");
    CheckBox_CSSTemplate = check("CheckBox_CSSTemplate", css);
    ComboBox_OpCSSTemplate = operatorList(TabSheet4, "ComboBox_OpCSSTemplate", css, false);
    ComboBox_CSSTemplate = values("ComboBox_CSSTemplate", css, QStringLiteral("Vorlage"));
    place(ComboBox_OpCSSTemplate, ComboBox_CSSTemplate);
    const QString lineBreaks = QStringLiteral("Zeilenumbruch = \"<br>\"");
    CheckBox_AutoFormat = check("CheckBox_AutoFormat", lineBreaks);
    ComboBox_AutoFormat = named(new QComboBox(TabSheet4), "ComboBox_AutoFormat");
    ComboBox_AutoFormat->addItems({QStringLiteral("aktiviert"), QStringLiteral("nicht aktiviert")});
    ComboBox_AutoFormat->setAccessibleName(lineBreaks + QStringLiteral(": Wert"));
    place(named(new QLabel(QStringLiteral("ist"), TabSheet4), "Label4"), ComboBox_AutoFormat);
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(row, 1);

    ComboBox_Creator->setBeforeDropDown([this] { fillUserNames(ComboBox_Creator, true); });
    ComboBox_Modifier->setBeforeDropDown([this] { fillUserNames(ComboBox_Modifier, false); });
    ComboBox_HTMLTemplate->setBeforeDropDown([this] { fillTemplates(ComboBox_HTMLTemplate, 0); });
    ComboBox_CSSTemplate->setBeforeDropDown([this] { fillTemplates(ComboBox_CSSTemplate, 1); });
    for (int list : {0, 1}) {
        DropDownComboBox *box = list == 0 ? ComboBox_HTMLTemplate : ComboBox_CSSTemplate;
        connect(box, &QComboBox::activated, this, [this, list](int chosen) {
            const auto &templates = m_document.database().templates(list);
            m_chosenTemplate[list] = chosen >= 1 && chosen <= int(templates.size())
                                         ? templates[std::size_t(chosen - 1)].get()
                                         : nullptr;
        });
    }
}

void SearchWindow::createResultPage()
{
    TabSheet5 = page(PageControl, "TabSheet5", QStringLiteral("Fundstellen"));
    auto *label = named(new QLabel(QStringLiteral("Ausgewählter Eintrag:"), TabSheet5), "Label5");
    RichEdit_Title = richEdit(TabSheet5, "RichEdit_Title");
    RichEdit_Title->setLineWrapMode(QTextEdit::NoWrap);
    RichEdit_Title->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEdit_Title->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEdit_Title->setFixedHeight(RichEdit_Title->fontMetrics().height() + 10);
    RichEdit_Title->setAccessibleName(QStringLiteral("Ausgewählter Eintrag"));
    label->setBuddy(RichEdit_Title);
    TabControl = named(new QTabBar(TabSheet5), "TabControl");
    TabControl->addTab(QStringLiteral("Quellcode"));
    TabControl->addTab(QStringLiteral("Anzeigetext"));
    TabControl->setAccessibleName(QStringLiteral("Ansicht der Fundstellen"));
    RichEdit_Result = richEdit(TabSheet5, "RichEdit_Result");
    RichEdit_Result->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit_Result->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit_Result->setAccessibleName(QStringLiteral("Fundstellen im Eintrag"));
    connect(TabControl, &QTabBar::currentChanged, this, &SearchWindow::ShowResult);

    auto *layout = new QVBoxLayout(TabSheet5);
    auto *title = new QHBoxLayout;
    title->addWidget(label);
    title->addWidget(RichEdit_Title, 1);
    layout->addLayout(title);
    layout->addWidget(TabControl);
    layout->addWidget(RichEdit_Result, 1);
    layout->setSpacing(2);
}

void SearchWindow::createResultList()
{
    // A table view keeps nothing per row, so a list of a hundred thousand results costs little.
    ListView_Results = named(new QTableView(this), "ListView_Results");
    ListView_Results->setModel(m_results);
    ListView_Results->setShowGrid(false);
    ListView_Results->setWordWrap(false);
    ListView_Results->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView_Results->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView_Results->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView_Results->verticalHeader()->hide();
    ListView_Results->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ListView_Results->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    ListView_Results->horizontalHeader()->setSectionsClickable(false);
    ListView_Results->horizontalHeader()->setSectionsMovable(false);
    ListView_Results->horizontalHeader()->setHighlightSections(false);
    ListView_Results->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ListView_Results->setColumnWidth(0, 200);
    ListView_Results->setColumnWidth(1, 188);
    ListView_Results->setAccessibleName(QStringLiteral("Suchergebnisse"));
    connect(ListView_Results->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &SearchWindow::ShowResult);
    connect(ListView_Results, &QAbstractItemView::clicked, this, &SearchWindow::ShowResult);
    connect(ListView_Results, &QAbstractItemView::doubleClicked, this,
            &SearchWindow::ListView_ResultsDblClick);
}

} // namespace lexora
