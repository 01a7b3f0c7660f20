#include "editor/item_editor.h"

#include "browser/browser_view.h"
#include "codefield/code_field.h"
#include "codefield/code_field_settings.h"
#include "codefield/code_tool_bar.h"
#include "database/win1252.h"
#include "document/document.h"
#include "editor/editor_preview.h"
#include "settings/settings.h"
#include "support/changed_fields.h"
#include "support/named.h"
#include "support/status_tips_to_bar.h"
#include "text/today.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace lexora {

namespace {

constexpr int kWidth = 681;
constexpr int kHeight = 452;

QLabel *heading(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    QFont font = label->font();
    font.setFamily(QStringLiteral("Arial"));
    font.setPointSizeF(font.pointSizeF() * 1.6);
    label->setFont(font);
    return label;
}

} // namespace

ItemEditor::ItemEditor(Document &document, CodeMenus &menus, CodeFieldSettings &look, QWidget *parent)
    : QDialog(parent), m_document(document)
{
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("Eintrag bearbeiten"));
    setSizeGripEnabled(true);
    createComponents(menus);
    look.attach(Memo_Content, CodeFieldSettings::ItemEditorFont);
    resize(kWidth, kHeight);

    m_preview = new EditorPreview(
        m_document.database(), *WebBrowser,
        [this] {
            EditorPreview::Request request;
            if (!m_node)
                return request;
            if (Memo_Content->isModified())
                request.fieldText = Memo_Content->fieldText();
            else
                request.code = Memo_Content->code();
            request.templates = {chosenTemplate(ComboBox_HTMLTemplate, HtmlTemplates),
                                 chosenTemplate(ComboBox_CSSTemplate, CssTemplates)};
            request.node = m_node;
            request.item = m_node->item();
            request.autoFormat = CheckBox_AutoFormat->isChecked();
            return request;
        },
        this);
    connect(Memo_Content, &QPlainTextEdit::textChanged, m_preview, &EditorPreview::textChanged);
    connect(Button_UpdatePreview, &QPushButton::clicked, m_preview, &EditorPreview::refresh);
    connect(CheckBox_AutoFormat, &QCheckBox::clicked, m_preview, &EditorPreview::refresh);
    for (QComboBox *box : {ComboBox_HTMLTemplate, ComboBox_CSSTemplate})
        connect(box, &QComboBox::currentIndexChanged, m_preview, &EditorPreview::refresh);
    connect(Button_OK, &QPushButton::clicked, this, &ItemEditor::Button_OKClick);
    // "Abbrechen" says what it does: the changes go without a question.
    connect(Button_Cancel, &QPushButton::clicked, this, [this] { QDialog::reject(); });
    connect(Splitter, &QSplitter::splitterMoved, this,
            [this] { m_rightAreaWidth = Panel_RightArea->width(); });
    // The editor is modal, so nothing removes its item meanwhile; should it happen all the same,
    // the editor lets go of the node instead of writing into a freed record.
    connect(&m_document, &Document::nodeAboutToBeRemoved, this, [this](Node *node) {
        if (m_node == node)
            QDialog::reject();
    });
    connect(&m_document, &Document::databaseAboutToBeReplaced, this, [this] {
        if (m_node)
            QDialog::reject();
    });
}

ItemEditor::~ItemEditor() = default;

void ItemEditor::createComponents(CodeMenus &menus)
{
    Panel5 = named(new QWidget(this), "Panel5");
    Panel5->setMinimumWidth(MinCodeAreaWidth);
    QLabel *panel6 = named(heading(QStringLiteral("HTML-Quelltext"), Panel5), "Panel6");
    ToolBar = menus.createToolBar(Panel5);
    Memo_Content = new CodeField(Panel5);

    auto *panel7 = named(new QWidget(Panel5), "Panel7");
    auto *label1 = named(new QLabel(QStringLiteral("HTML-Vorlage:"), panel7), "Label1");
    ComboBox_HTMLTemplate = named(new QComboBox(panel7), "ComboBox_HTMLTemplate");
    auto *label2 = named(new QLabel(QStringLiteral("CSS-Vorlage:"), panel7), "Label2");
    ComboBox_CSSTemplate = named(new QComboBox(panel7), "ComboBox_CSSTemplate");
    label1->setBuddy(ComboBox_HTMLTemplate);
    label2->setBuddy(ComboBox_CSSTemplate);
    ComboBox_HTMLTemplate->setAccessibleName(QStringLiteral("HTML-Vorlage"));
    ComboBox_CSSTemplate->setAccessibleName(QStringLiteral("CSS-Vorlage"));
    CheckBox_AutoFormat = named(
        new QCheckBox(QStringLiteral("Automatisches Ersetzen der Zeilenumbrüche durch \"<br>\""), panel7),
        "CheckBox_AutoFormat");
    const QString autoFormatHint =
        QStringLiteral("Ausnahme: Steht am Ende einer Zeile das Zeichen \"_\", so wird der "
                       "Zeilenumbruch nicht durch \"<br>\" ersetzt.");
    CheckBox_AutoFormat->setToolTip(autoFormatHint);
    CheckBox_AutoFormat->setStatusTip(autoFormatHint);
    auto *templates = new QGridLayout(panel7);
    templates->setContentsMargins(0, 0, 0, 0);
    templates->addWidget(label1, 0, 0);
    templates->addWidget(ComboBox_HTMLTemplate, 0, 1);
    templates->addWidget(label2, 1, 0);
    templates->addWidget(ComboBox_CSSTemplate, 1, 1);
    templates->addWidget(CheckBox_AutoFormat, 2, 0, 1, 2);
    templates->setColumnStretch(1, 1);

    auto *left = new QVBoxLayout(Panel5);
    left->setContentsMargins(0, 0, 0, 0);
    left->addWidget(panel6);
    left->addWidget(ToolBar);
    left->addWidget(Memo_Content, 1);
    left->addWidget(panel7);

    Panel_RightArea = named(new QWidget(this), "Panel_RightArea");
    QLabel *panel2 = named(heading(QStringLiteral("Vorschau"), Panel_RightArea), "Panel2");
    WebBrowser = named(new BrowserView(Panel_RightArea), "WebBrowser");
    WebBrowser->setAccessibleName(QStringLiteral("Vorschau"));
    auto *right = new QVBoxLayout(Panel_RightArea);
    right->setContentsMargins(0, 0, 0, 0);
    right->addWidget(panel2);
    right->addWidget(WebBrowser, 1);

    Splitter = named(new QSplitter(Qt::Horizontal, this), "Splitter");
    Splitter->addWidget(Panel5);
    Splitter->addWidget(Panel_RightArea);
    Splitter->setChildrenCollapsible(false);
    Splitter->setStretchFactor(0, 1);

    auto *panel4 = named(new QWidget(this), "Panel4");
    Button_UpdatePreview =
        named(new QPushButton(QStringLiteral("&Vorschau aktualisieren"), panel4), "Button_UpdatePreview");
    Button_Cancel = named(new QPushButton(QStringLiteral("Ab&brechen"), panel4), "Button_Cancel");
    Button_OK = named(new QPushButton(QStringLiteral("&OK"), panel4), "Button_OK");
    Button_OK->setDefault(true);
    auto *buttons = new QHBoxLayout(panel4);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(Button_UpdatePreview);
    buttons->addStretch(1);
    buttons->addWidget(Button_Cancel);
    buttons->addWidget(Button_OK);

    StatusBar = named(new QStatusBar(this), "StatusBar");
    StatusBar->setSizeGripEnabled(false);
    showStatusTipsIn(this, StatusBar);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    layout->addWidget(Splitter, 1);
    layout->addWidget(panel4);
    layout->addWidget(StatusBar);
}

bool ItemEditor::EditItem(Node *node)
{
    if (!node || !node->isItem())
        return false;
    m_node = node;
    const TTipItem &item = *node->item();
    {
        const QSignalBlocker blockHtml(ComboBox_HTMLTemplate);
        const QSignalBlocker blockCss(ComboBox_CSSTemplate);
        fillTemplateList(ComboBox_HTMLTemplate, HtmlTemplates, item.HTMLTemplate);
        fillTemplateList(ComboBox_CSSTemplate, CssTemplates, item.CSSTemplate);
    }
    Memo_Content->setCode(item.Code);
    Memo_Content->setSelection(Selection::caret(0));
    CheckBox_AutoFormat->setChecked(item.AutoFormat);
    StatusBar->clearMessage();
    m_preview->refresh();
    Memo_Content->setFocus();
    if (m_maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    return exec() == QDialog::Accepted;
}

void ItemEditor::fillTemplateList(QComboBox *box, int list, const TTemplate *current)
{
    const Database &db = m_document.database();
    box->clear();
    box->addItem(QStringLiteral("Keine Vorlage"));
    for (const auto &t : db.templates(list))
        box->addItem(win1252::toUnicode(t->Name));
    box->setCurrentIndex(db.templateIndex(list, current) + 1);
}

const TTemplate *ItemEditor::chosenTemplate(const QComboBox *box, int list) const
{
    const auto &templates = m_document.database().templates(list);
    const int entry = box->currentIndex();
    if (entry <= 0 || entry > int(templates.size()))
        return nullptr;
    return templates[std::size_t(entry - 1)].get();
}

void ItemEditor::Button_OKClick()
{
    if (!m_node)
        return;
    // OK leaves the code field, which trims its line ends, also when a key pressed the button.
    Memo_Content->trimTrailingBlanks();
    m_preview->finish();
    TTipItem values = *m_node->item();
    values.Code = Memo_Content->code();
    values.Modified = today();
    values.ModifiedBy = m_document.userName();
    values.HTMLTemplate = chosenTemplate(ComboBox_HTMLTemplate, HtmlTemplates);
    values.CSSTemplate = chosenTemplate(ComboBox_CSSTemplate, CssTemplates);
    values.AutoFormat = CheckBox_AutoFormat->isChecked();
    m_document.setItem(m_node, values);
    accept();
}

bool ItemEditor::fieldsChanged() const
{
    const TTipItem &item = *m_node->item();
    return Memo_Content->code() != item.Code
           || chosenTemplate(ComboBox_HTMLTemplate, HtmlTemplates) != item.HTMLTemplate
           || chosenTemplate(ComboBox_CSSTemplate, CssTemplates) != item.CSSTemplate
           || CheckBox_AutoFormat->isChecked() != item.AutoFormat;
}

void ItemEditor::reject()
{
    if (m_node && fieldsChanged()
        && !takeOrDropChanges(m_document.prompt(), windowTitle(), [this] {
               Button_OKClick();
               return true;
           }))
        return;
    if (isVisible())
        QDialog::reject();
}

void ItemEditor::done(int result)
{
    m_preview->finish();
    m_maximized = isMaximized();
    if (isVisible())
        m_rightAreaWidth = Panel_RightArea->width();
    m_node = nullptr;
    QDialog::done(result);
}

void ItemEditor::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    layout()->activate();
    const int total = Splitter->width() - Splitter->handleWidth();
    const int right = std::clamp(m_rightAreaWidth, 0, std::max(0, total - MinCodeAreaWidth));
    Splitter->setSizes({total - right, right});
}

void ItemEditor::applySettings(const Settings &settings)
{
    auto *wrap = ToolBar->findChild<QToolButton *>(QStringLiteral("ToolButton_WantWrap"));
    wrap->setChecked(settings.F2_Wrap);
    Memo_Content->setWrap(settings.F2_Wrap);
    m_rightAreaWidth = std::max(0, settings.F2_RightArea);
    m_maximized = settings.F2_Maximized;
    resize(std::max(settings.F2_Width, minimumSizeHint().width()),
           std::max(settings.F2_Height, minimumSizeHint().height()));
}

void ItemEditor::storeSettings(Settings &settings) const
{
    const auto *wrap = ToolBar->findChild<QToolButton *>(QStringLiteral("ToolButton_WantWrap"));
    settings.F2_Wrap = wrap->isChecked();
    settings.F2_RightArea = m_rightAreaWidth;
    settings.F2_Width = width();
    settings.F2_Height = height();
    settings.F2_Maximized = m_maximized;
}

} // namespace lexora
