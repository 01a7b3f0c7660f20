#include "templates/template_manager.h"

#include "codefield/code_field.h"
#include "codefield/code_field_settings.h"
#include "codefield/code_tool_bar.h"
#include "database/win1252.h"
#include "document/document.h"
#include "help/balloon_help.h"
#include "help/balloons.h"
#include "settings/settings.h"
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
    // A reset of the list (any change of the templates) loses the selection without a signal.
    connect(m_model, &QAbstractItemModel::modelReset, this, &TemplateManager::ListView_TemplatesSelectItem);
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
    TabControlChange();
    StatusBar->clearMessage();
}

void TemplateManager::TabControlChange()
{
    if (Balloons *balloons = Balloons::instance()) {
        balloons->QZBalloonHelp->Hide();
        balloons->BalloonWarning->Hide();
    }
    m_model->setList(TabControl->currentIndex() == CssTemplates ? CssTemplates : HtmlTemplates);
    ListView_Templates->clearSelection();
    // Tags and placeholders are offered for HTML templates only.
    ToolBar->setVisible(m_model->list() == HtmlTemplates);
    ListView_TemplatesSelectItem();
}

TTemplate *TemplateManager::selectedTemplate() const
{
    const QModelIndexList rows = ListView_Templates->selectionModel()->selectedRows();
    return rows.isEmpty() ? nullptr : m_model->templateAt(rows.constFirst());
}

void TemplateManager::ListView_TemplatesSelectItem()
{
    const TTemplate *tmpl = selectedTemplate();
    Button_Del->setEnabled(tmpl != nullptr);
    if (!tmpl) {
        Edit_Name->clear();
        Edit_Description->clear();
        Memo_Content->setCode({});
        // The first template of a list becomes its default unless the user says otherwise.
        CheckBox_Default->setChecked(m_document.database().templates(m_model->list()).empty());
        return;
    }
    Edit_Name->setText(win1252::toUnicode(tmpl->Name));
    Edit_Description->setText(win1252::toUnicode(tmpl->Description));
    Memo_Content->setCode(tmpl->Code);
    CheckBox_Default->setChecked(m_document.database().defaultTemplate(m_model->list()) == tmpl);
}

void TemplateManager::Button_NewClick()
{
    ListView_Templates->clearSelection();
    ListView_TemplatesSelectItem();
    Edit_Name->setFocus();
}

void TemplateManager::Button_SaveClick()
{
    const int list = m_model->list();
    TTemplate *edited = selectedTemplate();
    const Text name = win1252::fromUnicode(Edit_Name->text());
    const QString problem = m_document.templateNameProblem(list, edited, name);
    if (!problem.isEmpty()) {
        Edit_Name->setFocus();
        Balloons::warn(Edit_Name, problem);
        return;
    }
    // Saving leaves the code field as leaving it does, also when Enter pressed the button.
    Memo_Content->trimTrailingBlanks();
    const TTemplate *saved = m_document.saveTemplate(
        list, edited,
        {name, win1252::fromUnicode(Edit_Description->text()), Memo_Content->code(),
         CheckBox_Default->isChecked()});
    select(saved);
}

void TemplateManager::Button_DelClick()
{
    if (TTemplate *tmpl = selectedTemplate())
        m_document.deleteTemplate(m_model->list(), tmpl);
    ListView_Templates->clearSelection();
    ListView_TemplatesSelectItem();
}

void TemplateManager::select(const TTemplate *tmpl)
{
    const QModelIndex index = m_model->indexOf(tmpl);
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
