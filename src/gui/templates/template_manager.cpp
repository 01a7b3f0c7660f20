#include "templates/template_manager.h"

#include "codefield/code_field.h"
#include "codefield/code_field_settings.h"
#include "codefield/code_tool_bar.h"
#include "database/win1252.h"
#include "document/document.h"
#include "help/balloon_help.h"
#include "help/balloons.h"
#include "settings/settings.h"
#include "support/changed_fields.h"
#include "support/named.h"
#include "support/status_tips_to_bar.h"
#include "templates/template_list_model.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShowEvent>
#include <QStatusBar>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace lexora {

namespace {

// The copied tag button starts on the first tag, "<html>": a template is a whole page.
void startOnFirstTag(QToolBar *bar)
{
    auto *button = bar->findChild<QToolButton *>(QStringLiteral("ToolButton_Tag"));
    if (!button || !button->menu())
        return;
    for (QAction *entry : button->menu()->actions())
        if (!entry->menu() && !entry->isSeparator() && entry->data().toInt() == 0) {
            CodeMenus::SetDropDownButton(button, entry);
            return;
        }
}

} // namespace

TemplateManager::TemplateManager(Document &document, CodeFieldSettings &look,
               const std::function<QToolBar *(QWidget *)> &copyEditorToolBar, QWidget *parent)
    : QDialog(parent), m_document(document)
{
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("HTML- und CSS-Vorlagen"));
    setSizeGripEnabled(true);
    m_model = new TemplateListModel(document, this);
    createComponents(copyEditorToolBar);
    look.attach(Memo_Content, CodeFieldSettings::TemplateManagerFont);
    setMinimumSize(454, 254);
    resize(600, 483);

    connect(TabControl, &QTabBar::currentChanged, this, &TemplateManager::TabControlChange);
    connect(ListView_Templates->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TemplateManager::ListView_TemplatesSelectItem);
    connect(Button_New, &QPushButton::clicked, this, &TemplateManager::Button_NewClick);
    connect(Button_Save, &QPushButton::clicked, this, &TemplateManager::Button_SaveClick);
    connect(Button_Del, &QPushButton::clicked, this, &TemplateManager::Button_DelClick);
    connect(Button_Close, &QPushButton::clicked, this, &QDialog::reject);
    // A reset of the list (any change of the templates) loses the selection without a signal:
    // it is put back on what the fields show.
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        if (!m_refilling)
            select(m_shown.tmpl);
    });
}

TemplateManager::~TemplateManager() = default;

void TemplateManager::createComponents(const std::function<QToolBar *(QWidget *)> &copyEditorToolBar)
{
    TabControl = named(new QTabBar(this), "TabControl");
    TabControl->addTab(QStringLiteral("HTML"));
    TabControl->addTab(QStringLiteral("CSS"));
    TabControl->setAccessibleName(QStringLiteral("Vorlagenart"));
    TabControl->setExpanding(false);

    auto *page = named(new QWidget(this), "Panel_Page");
    ListView_Templates = named(new QListView(page), "ListView_Templates");
    ListView_Templates->setModel(m_model);
    ListView_Templates->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView_Templates->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView_Templates->setUniformItemSizes(true);
    ListView_Templates->setAccessibleName(QStringLiteral("Namen"));
    ListView_Templates->setMinimumWidth(120);
    ListView_Templates->setMaximumWidth(170);

    Edit_Name = named(new QLineEdit(page), "Edit_Name");
    Edit_Description = named(new QLineEdit(page), "Edit_Description");
    auto *labelName = named(new QLabel(QStringLiteral("Name:"), page), "Label1");
    auto *labelDescription = named(new QLabel(QStringLiteral("Beschreibung:"), page), "Label2");
    labelName->setBuddy(Edit_Name);
    labelDescription->setBuddy(Edit_Description);
    Edit_Name->setAccessibleName(QStringLiteral("Name"));
    Edit_Description->setAccessibleName(QStringLiteral("Beschreibung"));

    Panel1 = named(new QWidget(page), "Panel1");
    ToolBar = copyEditorToolBar(Panel1);
    startOnFirstTag(ToolBar);
    Memo_Content = new CodeField(Panel1);
    Memo_Content->setAccessibleName(QStringLiteral("Code der Vorlage"));
    auto *panel1Layout = new QVBoxLayout(Panel1);
    panel1Layout->setContentsMargins(0, 0, 0, 0);
    panel1Layout->setSpacing(0);
    panel1Layout->addWidget(ToolBar);
    panel1Layout->addWidget(Memo_Content, 1);

    CheckBox_Default = named(new QCheckBox(QStringLiteral("Standard-Vorlage"), page),
                             "CheckBox_Default");
    const QString defaultHint =
        QStringLiteral("Die Standard-Vorlage wird zur Anzeige von Schlüsselüberschriften verwendet.");
    CheckBox_Default->setToolTip(defaultHint);
    CheckBox_Default->setStatusTip(defaultHint);
    Button_New = named(new QPushButton(QStringLiteral("Neu"), page), "Button_New");
    Button_Del = named(new QPushButton(QStringLiteral("Löschen"), page), "Button_Del");
    Button_Save = named(new QPushButton(QStringLiteral("Speichern"), page), "Button_Save");
    Button_Save->setDefault(true);

    auto *fields = new QFormLayout;
    fields->setContentsMargins(0, 0, 0, 0);
    fields->addRow(labelName, Edit_Name);
    fields->addRow(labelDescription, Edit_Description);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(CheckBox_Default);
    buttons->addStretch(1);
    buttons->addWidget(Button_New);
    buttons->addWidget(Button_Del);
    buttons->addWidget(Button_Save);
    auto *right = new QVBoxLayout;
    right->addLayout(fields);
    right->addWidget(Panel1, 1);
    right->addLayout(buttons);
    auto *pageLayout = new QHBoxLayout(page);
    pageLayout->setContentsMargins(6, 6, 6, 6);
    pageLayout->addWidget(ListView_Templates);
    pageLayout->addLayout(right, 1);
    page->setAutoFillBackground(true);

    Button_Close = named(new QPushButton(QStringLiteral("Schließen"), this), "Button_Close");
    Button_Close->setAutoDefault(false);
    auto *closeRow = new QHBoxLayout;
    closeRow->addStretch(1);
    closeRow->addWidget(Button_Close);

    StatusBar = named(new QStatusBar(this), "StatusBar");
    StatusBar->setSizeGripEnabled(false);
    showStatusTipsIn(this, StatusBar);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    layout->setSpacing(0);
    layout->addWidget(TabControl);
    layout->addWidget(page, 1);
    layout->addSpacing(6);
    layout->addLayout(closeRow);
    layout->addWidget(StatusBar);
}

void TemplateManager::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    // Every opening starts on the HTML tab with nothing selected.
    {
        const QSignalBlocker block(TabControl);
        TabControl->setCurrentIndex(HtmlTemplates);
    }
    m_shown = {};
    TabControlChange();
    StatusBar->clearMessage();
}

void TemplateManager::reject()
{
    if (mayLeaveFields())
        QDialog::reject();
}

void TemplateManager::TabControlChange()
{
    const int list = TabControl->currentIndex() == CssTemplates ? CssTemplates : HtmlTemplates;
    if (list != m_shown.list && !mayLeaveFields()) {
        const QSignalBlocker block(TabControl);
        TabControl->setCurrentIndex(m_shown.list);
        return;
    }
    if (Balloons *balloons = Balloons::instance()) {
        balloons->QZBalloonHelp->Hide();
        balloons->BalloonWarning->Hide();
    }
    {
        const QScopedValueRollback refilling(m_refilling, true);
        m_model->setList(list);
        ListView_Templates->clearSelection();
    }
    // Tags and placeholders are offered for HTML templates only.
    ToolBar->setVisible(list == HtmlTemplates);
    fillFields(nullptr);
}

TTemplate *TemplateManager::selectedTemplate() const
{
    const QModelIndexList rows = ListView_Templates->selectionModel()->selectedRows();
    return rows.isEmpty() ? nullptr : m_model->templateAt(rows.constFirst());
}

void TemplateManager::ListView_TemplatesSelectItem()
{
    if (m_refilling)
        return;
    TTemplate *next = selectedTemplate();
    if (next == m_shown.tmpl && m_model->list() == m_shown.list)
        return;
    if (!mayLeaveFields()) {
        // The selection goes back to what the fields show.
        select(m_shown.tmpl);
        return;
    }
    select(next);
    fillFields(next);
}

void TemplateManager::fillFields(TTemplate *tmpl)
{
    const Database &db = m_document.database();
    const int list = m_model->list();
    Button_Del->setEnabled(tmpl != nullptr);
    // The first template of a list becomes its default unless the user says otherwise.
    m_shown = tmpl ? Shown{list, tmpl, win1252::toUnicode(tmpl->Name), win1252::toUnicode(tmpl->Description),
                           tmpl->Code, db.defaultTemplate(list) == tmpl}
                   : Shown{list, nullptr, {}, {}, {}, db.templates(list).empty()};
    Edit_Name->setText(m_shown.name);
    Edit_Description->setText(m_shown.description);
    Memo_Content->setCode(m_shown.code);
    CheckBox_Default->setChecked(m_shown.isDefault);
}

bool TemplateManager::fieldsChanged() const
{
    return Edit_Name->text() != m_shown.name || Edit_Description->text() != m_shown.description
           || Memo_Content->code() != m_shown.code || CheckBox_Default->isChecked() != m_shown.isDefault;
}

bool TemplateManager::mayLeaveFields()
{
    return !fieldsChanged()
           || takeOrDropChanges(m_document.prompt(), windowTitle(), [this] { return saveFields() != nullptr; });
}

const TTemplate *TemplateManager::saveFields()
{
    const int list = m_shown.list;
    TTemplate *edited = m_shown.tmpl;
    const Text name = win1252::fromUnicode(Edit_Name->text());
    const QString problem = m_document.templateNameProblem(list, edited, name);
    if (!problem.isEmpty()) {
        Edit_Name->setFocus();
        Balloons::warn(Edit_Name, problem);
        return nullptr;
    }
    // Saving leaves the code field as leaving it does, also when Enter pressed the button.
    Memo_Content->trimTrailingBlanks();
    const QScopedValueRollback refilling(m_refilling, true);
    TTemplate *saved = m_document.saveTemplate(
        list, edited,
        {name, win1252::fromUnicode(Edit_Description->text()), Memo_Content->code(),
         CheckBox_Default->isChecked()});
    // The fields hold what was saved.
    m_shown = {list, saved, Edit_Name->text(), Edit_Description->text(), saved->Code, CheckBox_Default->isChecked()};
    Button_Del->setEnabled(true);
    return saved;
}

void TemplateManager::Button_NewClick()
{
    if (!mayLeaveFields())
        return;
    {
        const QScopedValueRollback refilling(m_refilling, true);
        ListView_Templates->clearSelection();
    }
    fillFields(nullptr);
    Edit_Name->setFocus();
}

void TemplateManager::Button_SaveClick()
{
    if (const TTemplate *saved = saveFields())
        select(saved);
}

void TemplateManager::Button_DelClick()
{
    TTemplate *tmpl = selectedTemplate();
    {
        // What the fields held goes with the template.
        const QScopedValueRollback refilling(m_refilling, true);
        if (tmpl)
            m_document.deleteTemplate(m_model->list(), tmpl);
        ListView_Templates->clearSelection();
    }
    fillFields(nullptr);
}

void TemplateManager::select(const TTemplate *tmpl)
{
    const QScopedValueRollback refilling(m_refilling, true);
    const QModelIndex index = m_model->indexOf(tmpl);
    if (!index.isValid()) {
        ListView_Templates->clearSelection();
        return;
    }
    ListView_Templates->selectionModel()->setCurrentIndex(index,
                                                          QItemSelectionModel::ClearAndSelect);
    ListView_Templates->scrollTo(index);
}

void TemplateManager::applySettings(const Settings &settings)
{
    auto *wrap = ToolBar->findChild<QToolButton *>(QStringLiteral("ToolButton_WantWrap"));
    wrap->setChecked(settings.F3_Wrap);
    Memo_Content->setWrap(settings.F3_Wrap);
}

void TemplateManager::storeSettings(Settings &settings) const
{
    const auto *wrap = ToolBar->findChild<QToolButton *>(QStringLiteral("ToolButton_WantWrap"));
    settings.F3_Wrap = wrap->isChecked();
}

} // namespace lexora
