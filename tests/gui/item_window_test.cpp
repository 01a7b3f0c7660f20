// Item windows in the running program: opening, the code page writing into the item, following
// the tree (delete, rename, move, a new database), F3 and the main window hidden, the copy
// commands and the hints.
#include "app/item_windows.h"
#include "browser/browser_view.h"
#include "codefield/code_field.h"
#include "database/win1252.h"
#include "itemwindow/item_window.h"
#include "mainwindow/tree_view.h"
#include "support/gui_activation.h"
#include "support/gui_main_window.h"
#include "support/gui_modal.h"

#include <QAction>
#include <QClipboard>
#include <QCursor>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWebEnginePage>

#include <functional>

using namespace lexora;
using namespace lexora::test;

namespace {

class ItemWindowTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        start();
        doc().setModified(false);
    }

    ItemWindows &windows() { return app->itemWindows(); }
    QAction *command(const char *name) { return window->command(name); }
    // The item's own window, opened as the tool button does.
    ItemWindow *open(Node *item)
    {
        select({item});
        window->ShowSelected();
        EXPECT_TRUE(command("ToolButton_NewWindow")->isEnabled());
        command("ToolButton_NewWindow")->trigger();
        ItemWindow *opened = windows().FindItemWindow(item);
        EXPECT_NE(opened, nullptr);
        return opened;
    }
    static QString pageText(BrowserView *browser)
    {
        return runJavaScript(browser->page(), QStringLiteral("document.body ? document.body.innerText : ''"))
            .toString();
    }
    static bool shows(BrowserView *browser, const QString &text)
    {
        return QTest::qWaitFor([&] { return pageText(browser).contains(text); }, 15000);
    }
    // A closed window is hidden at once and deleted later.
    static bool isOpen(const QPointer<ItemWindow> &w) { return w && w->isVisible(); }
};

} // namespace

TEST_F(ItemWindowTest, OneWindowPerItemCaptionedWithItsTitle)
{
    Node *key = addKey(nullptr, "Schlüssel");
    Node *item = addItem(key, "Größe", "<b>fett</b>");
    EXPECT_FALSE(command("ToolButton_HideMainWindow")->isEnabled()) << "disabled at start";
    select({key});
    window->ShowSelected();
    EXPECT_FALSE(command("ToolButton_NewWindow")->isEnabled()) << "a key has no item window";

    ItemWindow *first = open(item);
    EXPECT_EQ(first->objectName(), QStringLiteral("TForm_Item"));
    EXPECT_EQ(first->windowTitle(), QStringLiteral("Größe"));
    EXPECT_TRUE(first->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(first->size(), QSize(408, 325));
    EXPECT_EQ(first->PageControl->tabText(0), QStringLiteral("Anzeige"));
    EXPECT_EQ(first->PageControl->tabText(1), QStringLiteral("Code"));
    EXPECT_EQ(first->Memo_Content->toPlainText(), QStringLiteral("<b>fett</b>"));
    EXPECT_TRUE(shows(first->WebBrowser, QStringLiteral("fett")));
    EXPECT_TRUE(command("ToolButton_HideMainWindow")->isEnabled());
    EXPECT_FALSE(doc().isModified()) << "loading the code is no change";

    // The code page has the editor's buttons; the tag button starts from "<b>".
    for (const char *name : {"ToolButton_Tag", "ToolButton_Keyword", "ToolButton_WantWrap"})
        EXPECT_NE(first->ToolBar->findChild<QToolButton *>(name), nullptr) << name;
    EXPECT_EQ(first->ToolBar->findChild<QToolButton *>("ToolButton_Tag")->text(), QStringLiteral("<b>"));

    // Asked again, the same window comes forward.
    EXPECT_EQ(open(item), first);
    EXPECT_FALSE(windows().OtherItemWindowExists(first));
    EXPECT_TRUE(windows().OtherItemWindowExists(nullptr));
}

TEST_F(ItemWindowTest, TypedCodeGoesIntoTheItemAndTheMainDisplayFollows)
{
    Node *item = addItem(nullptr, "Notiz", "alt");
    TTipItem signedBy = *item->item();
    signedBy.Modified = 40000;
    signedBy.ModifiedBy = "jemand";
    doc().setItem(item, signedBy);
    doc().setModified(false);
    ItemWindow *w = open(item);
    ASSERT_TRUE(shows(window->browser(), QStringLiteral("alt")));

    w->PageControl->setCurrentWidget(w->TabSheet2);
    w->Memo_Content->setFocus();
    w->Memo_Content->moveCursor(QTextCursor::End);
    QTest::keyClicks(w->Memo_Content, QStringLiteral(" neu"));
    EXPECT_EQ(item->item()->Code, "alt neu") << "every key goes into the item at once";
    EXPECT_TRUE(doc().isModified());
    EXPECT_EQ(item->item()->Modified, 40000.0) << "only the item editor signs a change";
    EXPECT_EQ(item->item()->ModifiedBy, "jemand");

    // A character outside Windows-1252 (pasted) is stored as its reference.
    w->Memo_Content->insertPlainText(QStringLiteral(" Ω"));
    EXPECT_EQ(item->item()->Code, "alt neu &#937;");

    // Back on "Anzeige", both displays show the new code.
    w->PageControl->setCurrentWidget(w->TabSheet1);
    EXPECT_TRUE(shows(w->WebBrowser, QStringLiteral("alt neu Ω")));
    EXPECT_TRUE(shows(window->browser(), QStringLiteral("alt neu Ω")));

    // Typing with the code page shown: the main display follows at once.
    w->PageControl->setCurrentWidget(w->TabSheet2);
    QTest::keyClicks(w->Memo_Content, QStringLiteral("!"));
    EXPECT_TRUE(shows(window->browser(), QStringLiteral("alt neu Ω!")));
}

TEST_F(ItemWindowTest, WindowsFollowTheTree)
{
    struct Tree {
        Node *key, *inKey, *other, *top;
    };
    const auto build = [&] {
        doc().newDatabase({});
        Tree t;
        t.key = addKey(nullptr, "K");
        t.other = addKey(nullptr, "L");
        t.inKey = addItem(t.key, "Innen", "Ebene %level%");
        t.top = addItem(nullptr, "Oben", "Ebene %level%");
        return t;
    };
    const struct {
        const char *what;
        std::function<void(const Tree &)> act;
        bool inKeyOpen, topOpen;
        QString topCaption, topPage;
    } cases[] = {
        {"deleting an item closes its window only", [&](const Tree &t) { doc().removeNode(t.top); },
         true, false, {}, {}},
        {"deleting a key closes the windows of the items below it",
         [&](const Tree &t) { doc().removeNode(t.key); }, false, true, "Oben", "Ebene 0"},
        {"several at once, as the tree deletes its selection", [&](const Tree &t) {
             select({t.key, t.top});
             prompt.answer(UserPrompt::Answer::Yes);
             window->DeleteSelected();
         }, false, false, {}, {}},
        {"renaming changes the caption", [&](const Tree &t) { doc().renameNode(t.top, "Neu"); },
         true, true, "Neu", "Ebene 0"},
        {"moving rebuilds the page", [&](const Tree &t) { doc().moveNodes({t.top}, t.other); },
         true, true, "Oben", "Ebene 1"},
        {"a new database closes every window", [&](const Tree &) { doc().newDatabase({}); }, false,
         false, {}, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const Tree t = build();
        QPointer<ItemWindow> inKey = open(t.inKey);
        QPointer<ItemWindow> top = open(t.top);
        c.act(t);
        EXPECT_EQ(isOpen(inKey), c.inKeyOpen);
        EXPECT_EQ(isOpen(top), c.topOpen);
        if (isOpen(top)) {
            EXPECT_EQ(top->windowTitle(), c.topCaption);
            EXPECT_TRUE(shows(top->WebBrowser, c.topPage));
        }
        // No window is left holding a node that is gone.
        for (const QWidget *w : QApplication::topLevelWidgets())
            if (const auto *itemWindow = qobject_cast<const ItemWindow *>(w); itemWindow && itemWindow->isVisible()) {
                EXPECT_NE(itemWindow->node(), nullptr);
            }
        for (QPointer<ItemWindow> w : {inKey, top})
            if (isOpen(w))
                w->close();
        EXPECT_FALSE(command("ToolButton_HideMainWindow")->isEnabled());
    }
}

TEST_F(ItemWindowTest, TheEditorsOkReloadsTheWindowsCode)
{
    Node *item = addItem(nullptr, "Notiz", "vorher");
    ItemWindow *w = open(item);
    whenModal([](QWidget *editor) {
        auto *field = editor->findChild<CodeField *>(QStringLiteral("Memo_Content"));
        field->selectAll();
        field->insertPlainText(QStringLiteral("nachher"));
        editor->findChild<QPushButton *>(QStringLiteral("Button_OK"))->click();
    });
    Q_EMIT app->requests().editItem(item);
    EXPECT_EQ(w->Memo_Content->toPlainText(), QStringLiteral("nachher"));
    EXPECT_TRUE(shows(w->WebBrowser, QStringLiteral("nachher")));
}

TEST_F(ItemWindowTest, F3HidesTheMainWindowOnlyWhileAnItemWindowIsOpen)
{
    Node *item = addItem(nullptr, "Notiz", "x");
    ASSERT_TRUE(activate(window));
    QTest::keyClick(window, Qt::Key_F3);
    EXPECT_TRUE(window->isVisible()) << "no item window: F3 does nothing";

    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    QPointer<ItemWindow> w = open(item);
    ASSERT_TRUE(activate(w));
    QTest::keyClick(w, Qt::Key_F3);
    EXPECT_TRUE(window->isHidden()) << "F3 in the item window";
    QTest::keyClick(w, Qt::Key_F3);
    EXPECT_TRUE(window->isVisible()) << "F3 again shows it";

    command("ToolButton_HideMainWindow")->trigger();
    EXPECT_TRUE(window->isHidden()) << "the tool button";
    // The program lost the focus: the item windows come forward (they stay on top anyway).
    windows().ApplicationEventsDeactivate();
    EXPECT_TRUE(w->isVisible());

    // Closing the last item window brings the main window back; the program goes on.
    w->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(command("ToolButton_HideMainWindow")->isEnabled());
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.isNull(); }, 5000)) << "closing deletes it";
    EXPECT_EQ(lastClosed.size(), 0);
}

TEST_F(ItemWindowTest, CopyCommandsPutPlainTextOnTheClipboard)
{
    Node *key = addKey(nullptr, "K");
    Node *item = addItem(nullptr, "Notiz", "<p>Erste Zeile</p>\r\n<p>Zweite</p>");
    QClipboard *clipboard = QGuiApplication::clipboard();
    select({key});
    window->ShowSelected();
    EXPECT_FALSE(command("MenuItem_CopyText")->isEnabled());
    EXPECT_FALSE(command("MenuItem_CopyCode")->isEnabled());

    select({item});
    window->ShowSelected();
    ASSERT_TRUE(shows(window->browser(), QStringLiteral("Zweite")));
    ASSERT_TRUE(command("MenuItem_CopyCode")->isEnabled());
    command("MenuItem_CopyCode")->trigger();
    EXPECT_EQ(clipboard->text(), QStringLiteral("<p>Erste Zeile</p>\n<p>Zweite</p>"));

    // Nothing selected in the display: the clipboard's text is emptied.
    command("MenuItem_CopyText")->trigger();
    EXPECT_EQ(clipboard->text(), QString());

    // The selection of the page, as the page gives it.
    runJavaScript(window->browser()->page(),
                  QStringLiteral("var r = document.createRange(); "
                                 "r.selectNodeContents(document.querySelectorAll('p')[1]); "
                                 "getSelection().removeAllRanges(); getSelection().addRange(r);"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->browser()->selectedText().isEmpty(); }, 5000));
    ASSERT_TRUE(activate(window));
    window->treeView()->setFocus();
    QTest::keyClick(window->treeView(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), QStringLiteral("Zweite"));
    QTest::keyClick(window->treeView(), Qt::Key_C, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(clipboard->text(), QStringLiteral("<p>Erste Zeile</p>\n<p>Zweite</p>"));
}

TEST_F(ItemWindowTest, HintsGoToTheStatusBarOfTheActiveWindow)
{
    Node *item = addItem(nullptr, "Notiz", "x");
    // A hinted control the pointer leaves clears the hint, as an item window opening under the
    // pointer makes it do: the pointer rests in a screen corner away from both windows.
    const QPoint corner = window->screen()->geometry().bottomRight();
    QCursor::setPos(corner);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QCursor::pos() == corner; }, 5000));
    auto *status = window->findChild<QStatusBar *>(QStringLiteral("StatusBar"));
    // On a display shared with earlier tests the window system may still be settling (focus,
    // the pointer's enter and leave): the hint is sent again until that has passed.
    auto *newItem = window->findChild<QToolButton *>(QStringLiteral("ToolButton_NewItem"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            if (!activate(window, 1000))
                return false;
            QStatusTipEvent hint(QStringLiteral("Neuen Eintrag erstellen"));
            QCoreApplication::sendEvent(newItem, &hint);
            return status->currentMessage() == QStringLiteral("Neuen Eintrag erstellen");
        },
        10000))
        << "the active main window shows the hint; its bar shows \"" << status->currentMessage().toStdString()
        << "\"";

    // An item window has no status bar: its hints show nowhere, and the main window's stays.
    ItemWindow *w = open(item);
    ASSERT_TRUE(activate(w));
    QStatusTipEvent tagHint(QStringLiteral("Tag einfügen"));
    QCoreApplication::sendEvent(w->ToolBar->findChild<QToolButton *>(QStringLiteral("ToolButton_Tag")), &tagHint);
    EXPECT_EQ(status->currentMessage(), QStringLiteral("Neuen Eintrag erstellen"));
}
