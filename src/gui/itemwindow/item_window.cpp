#include "itemwindow/item_window.h"

#include "browser/browser_view.h"
#include "browser/page_changes.h"
#include "browser/show_page.h"
#include "codefield/code_field.h"
#include "codefield/code_field_settings.h"
#include "database/win1252.h"
#include "document/document.h"

#include <QCloseEvent>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace lexora {

namespace {

constexpr int kWidth = 408;
constexpr int kHeight = 325;

QVBoxLayout *tightLayout(QWidget *page)
{
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

} // namespace

ItemWindow::ItemWindow(Document &document, CodeFieldSettings &look, const ToolBarFactory &toolBar,
                       Node *node)
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint), m_document(document), m_node(node)
{
    setObjectName(QStringLiteral("TForm_Item"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Item windows are companions of the main window: closing them never ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);

    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    TabSheet1 = new QWidget(PageControl);
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    WebBrowser = new BrowserView(TabSheet1);
    WebBrowser->setObjectName(QStringLiteral("WebBrowser"));
    WebBrowser->setAccessibleName(QStringLiteral("Anzeige"));
    tightLayout(TabSheet1)->addWidget(WebBrowser);
    TabSheet2 = new QWidget(PageControl);
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    QVBoxLayout *code = tightLayout(TabSheet2);
    // The tool bar acts on the window's code field, which therefore comes first.
    Memo_Content = new CodeField(TabSheet2);
    ToolBar = toolBar(TabSheet2);
    code->addWidget(ToolBar);
    code->addWidget(Memo_Content, 1);
    PageControl->addTab(TabSheet1, QStringLiteral("Anzeige"));
    PageControl->addTab(TabSheet2, QStringLiteral("Code"));
    tightLayout(this)->addWidget(PageControl);
    resize(kWidth, kHeight);

    look.attach(Memo_Content, CodeFieldSettings::ItemEditorFont);
    setWindowTitle(win1252::toUnicode(m_node->name()));
    reloadCode();
    connect(Memo_Content, &CodeField::textChanged, this, &ItemWindow::Memo_ContentChange);
    connect(PageControl, &QTabWidget::currentChanged, this, &ItemWindow::showPageIfShown);
    followDocument();
    showPageIfShown();
}

void ItemWindow::followDocument()
{
    connect(&m_document, &Document::nodeAboutToBeRemoved, this, [this](Node *node) {
        if (node == m_node)
            closeForGood();
    });
    connect(&m_document, &Document::databaseAboutToBeReplaced, this, &ItemWindow::closeForGood);
    connect(&m_document, &Document::nodeRenamed, this, [this](Node *node) {
        if (node == m_node)
            setWindowTitle(win1252::toUnicode(node->name()));
    });
    // The code may have been written elsewhere too (the item editor, an import, a renamed
    // template); a change typed here finds the code field holding it already.
    auto *pageChanges = new PageChanges(m_document, [this] { return m_node; }, this);
    connect(pageChanges, &PageChanges::pageChanged, this, [this] {
        reloadCode();
        showPageIfShown();
    });
}

bool ItemWindow::showsDisplay() const
{
    return PageControl->currentWidget() == TabSheet1;
}

void ItemWindow::reloadCode()
{
    if (!m_node || Memo_Content->code() == m_node->item()->Code)
        return;
    m_loading = true;
    Memo_Content->setCode(m_node->item()->Code);
    m_loading = false;
}

void ItemWindow::showPageIfShown()
{
    if (m_node && showsDisplay())
        ShowNodePage(*WebBrowser, m_document.database(), *m_node);
}

void ItemWindow::Memo_ContentChange()
{
    if (m_loading || !m_node)
        return;
    TTipItem values = *m_node->item();
    values.Code = Memo_Content->code();
    if (values.Code == m_node->item()->Code)
        return;
    // The dates and the last editor stay: only the item editor signs a change. The keystrokes
    // of one spell of typing are one undo step.
    m_document.setItem(m_node, values, Document::ItemEdit::Typing);
}

void ItemWindow::closeForGood()
{
    // From here on the window shows nothing; the node may be gone any moment.
    m_node = nullptr;
    close();
}

void ItemWindow::closeEvent(QCloseEvent *event)
{
    Q_EMIT closing(this);
    event->accept();
}

} // namespace lexora
