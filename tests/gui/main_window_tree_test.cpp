// The tree commands of the main window: context menu, new nodes, rename, delete, drag and drop,
// selection, and the information area.
#include "browser/browser_view.h"
#include "app/window_manager.h"
#include "database/win1252.h"
#include "help/balloon_help.h"
#include "help/balloons.h"
#include "mainwindow/info_area.h"
#include "mainwindow/tree_model.h"
#include "mainwindow/tree_view.h"
#include "support/gui_child.h"
#include "support/gui_main_window.h"
#include "text/short_date.h"

#include <QAction>
#include <QDate>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace lexora;
using namespace lexora::test;

namespace {

class TreeTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        start();
        // A confirmed title of an item without code opens the item editor; these tests look at
        // the tree and close it at once.
        auto *closer = new QTimer(window);
        QObject::connect(closer, &QTimer::timeout, [] {
            QWidget *modal = QApplication::activeModalWidget();
            if (modal && modal->objectName() == QStringLiteral("TForm2"))
                static_cast<QDialog *>(modal)->reject();
        });
        closer->start(10);
    }

    QAction *action(const char *name) { return child<QAction>(window, name); }
    void click(const char *toolButton) { child<QToolButton>(window, toolButton)->click(); }

    // The title editor that is open in the tree.
    QLineEdit *titleEditor()
    {
        for (QLineEdit *e : window->treeView()->findChildren<QLineEdit *>())
            if (e->isVisible())
                return e;
        return nullptr;
    }
    void typeTitle(const QString &title)
    {
        QLineEdit *editor = titleEditor();
        ASSERT_NE(editor, nullptr);
        editor->setText(title);
        QTest::keyClick(editor, Qt::Key_Return);
        // The delegate commits the title from the event loop.
        QCoreApplication::processEvents();
    }
    QString title(const Node *node) { return win1252::toUnicode(node->name()); }
};

TEST_F(TreeTest, ContextMenuEntriesDependOnTheNodeUnderThePointer)
{
    Node *topKey = addKey(nullptr, "Schlüssel");
    Node *nestedItem = addItem(topKey, "Eintrag");
    Node *nestedKey = addKey(topKey, "Unterschlüssel");
    Node *topItem = addItem(nullptr, "Oben");
    const QStringList entries{"MenuItem_NewTopKey", "MenuItem_NewKey",     "MenuItem_NewSubKey",
                              "MenuItem_NewTopItem", "MenuItem_NewItem",   "MenuItem_NewSubItem",
                              "MenuItem_RenameItem", "MenuItem_DelItem"};
    struct Case {
        const char *where;
        Node *node;
        QList<bool> visible; // in the order of entries
    };
    const Case cases[] = {
        {"empty space", nullptr, {true, false, false, true, false, false, false, false}},
        {"top-level key", topKey, {false, true, true, false, true, true, true, true}},
        {"top-level item", topItem, {false, true, false, false, true, false, true, true}},
        {"nested item", nestedItem, {true, true, false, true, true, false, true, true}},
        {"nested key", nestedKey, {true, true, true, true, true, true, true, true}},
    };
    for (const Case &c : cases) {
        window->PopupMenu_ItemsPopup(c.node);
        for (int i = 0; i < entries.size(); ++i)
            EXPECT_EQ(action(entries[i].toLatin1())->isVisible(), c.visible[i])
                << c.where << ": " << entries[i].toStdString();
    }
}

TEST_F(TreeTest, ContextMenuCommandsPlaceNewNodes)
{
    Node *key = addKey(nullptr, "K");
    Node *item = addItem(key, "I");
    window->PopupMenu_ItemsPopup(item);
    action("MenuItem_NewKey")->trigger();
    EXPECT_EQ(childTitles(db(), key), (QStringList{"Neuer Schlüssel", "I"}));
    window->PopupMenu_ItemsPopup(key);
    action("MenuItem_NewSubItem")->trigger();
    EXPECT_EQ(childTitles(db(), key), (QStringList{"Neuer Schlüssel", "I", "Neuer Eintrag"}));
    window->PopupMenu_ItemsPopup(item);
    action("MenuItem_NewTopItem")->trigger();
    EXPECT_EQ(childTitles(db(), nullptr), (QStringList{"K", "Neuer Eintrag"}));
}

TEST_F(TreeTest, ToolButtonsPutNewNodesBesideAnItemOrIntoAKey)
{
    Node *key = addKey(nullptr, "K");
    Node *item = addItem(key, "I");
    doc().setModified(false);

    select({item});
    click("ToolButton_NewKey");
    EXPECT_EQ(childTitles(db(), key), (QStringList{"Neuer Schlüssel", "I"}));
    EXPECT_TRUE(db().DatabaseModified);
    // The new node is selected and its title is being edited.
    Node *newKey = key->child(0);
    EXPECT_EQ(window->selectedNode(), newKey);
    EXPECT_NE(titleEditor(), nullptr);

    select({key});
    click("ToolButton_NewItem");
    ASSERT_EQ(key->childCount(), 3);
    Node *newItem = window->selectedNode();
    EXPECT_EQ(newItem->parent(), key);
    ASSERT_TRUE(newItem->isItem());
    const TTipItem &tip = *newItem->item();
    const double today = QDate(1899, 12, 30).daysTo(QDate::currentDate());
    EXPECT_EQ(tip.Created, today);
    EXPECT_EQ(tip.Modified, today);
    EXPECT_EQ(tip.CreatedBy, doc().userName());
    EXPECT_EQ(tip.ModifiedBy, doc().userName());
    EXPECT_EQ(tip.HTMLTemplate, db().DefaultHTMLTemplate);
    EXPECT_EQ(tip.CSSTemplate, db().DefaultCSSTemplate);
    EXPECT_TRUE(tip.AutoFormat);
    EXPECT_TRUE(tip.Code.isEmpty());

    window->treeView()->clearSelection();
    window->treeView()->setCurrentIndex(QModelIndex());
    click("ToolButton_NewKey");
    EXPECT_EQ(window->selectedNode()->parent(), nullptr);
    EXPECT_EQ(db().topLevel().childCount(), 2);
}

TEST_F(TreeTest, RenameSortsAndOpensTheEditorForAnItemWithoutCode)
{
    QList<Node *> edited;
    QObject::connect(&app->requests(), &WindowRequests::editItem, [&](Node *node) { edited.append(node); });
    Node *b = addItem(nullptr, "B");
    Node *c = addItem(nullptr, "C", "Code");
    Node *key = addKey(nullptr, "K");
    doc().setModified(false);

    select({c});
    action("MenuItem_RenameItem")->trigger();
    typeTitle("A");
    EXPECT_EQ(childTitles(db(), nullptr), (QStringList{"K", "A", "B"}));
    EXPECT_TRUE(db().DatabaseModified);
    EXPECT_TRUE(edited.isEmpty()) << "an item with code does not open the editor";
    EXPECT_EQ(window->infoArea()->content().title, "A");

    select({b});
    QTest::keyClick(window->treeView(), Qt::Key_F2);
    typeTitle("B");
    EXPECT_EQ(edited, QList<Node *>{b}) << "confirming, even unchanged, opens the editor";

    select({key});
    action("MenuItem_RenameItem")->trigger();
    typeTitle("");
    EXPECT_EQ(title(key), "");
    EXPECT_EQ(edited.size(), 1) << "a key never opens the editor";
}

TEST_F(TreeTest, CancellingTheTitleOfANewItemKeepsIt)
{
    int edits = 0;
    QObject::connect(&app->requests(), &WindowRequests::editItem, [&](Node *) { ++edits; });
    click("ToolButton_NewItem");
    QLineEdit *editor = titleEditor();
    ASSERT_NE(editor, nullptr);
    editor->setText("Anders");
    QTest::keyClick(editor, Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(childTitles(db(), nullptr), QStringList{"Neuer Eintrag"});
    EXPECT_EQ(edits, 0);
}

TEST_F(TreeTest, DeletingAKeyRemovesItsSubtreeAfterYes)
{
    Node *key = addKey(nullptr, "K");
    Node *sub = addKey(key, "S");
    Node *inner = addItem(sub, "I");
    Node *other = addItem(nullptr, "X");
    doc().addToTray(inner);
    doc().addToTray(other);
    doc().setModified(false);
    select({key});

    prompt.answer(UserPrompt::Answer::No);
    click("ToolButton_DelItem");
    EXPECT_EQ(prompt.shown().last().text, "Wollen Sie die markierten Einträge wirklich löschen?");
    EXPECT_EQ(prompt.shown().last().icon, UserPrompt::Icon::Warning);
    EXPECT_EQ(db().topLevel().childCount(), 2);
    EXPECT_FALSE(db().DatabaseModified);

    QSignalSpy removing(&doc(), &Document::nodeAboutToBeRemoved);
    prompt.answer(UserPrompt::Answer::Yes);
    QTest::keyClick(window->treeView(), Qt::Key_Delete);
    EXPECT_EQ(childTitles(db(), nullptr), QStringList{"X"});
    EXPECT_TRUE(db().DatabaseModified);
    EXPECT_EQ(db().TrayNodes, std::vector<Node *>{other});
    ASSERT_EQ(removing.size(), 3);
    EXPECT_EQ(removing[0][0].value<Node *>(), key);
    EXPECT_EQ(removing[1][0].value<Node *>(), sub);
    EXPECT_EQ(removing[2][0].value<Node *>(), inner);
    // The focus moved to the remaining node, which is now selected and shown.
    EXPECT_EQ(window->selectedNode(), other);
    EXPECT_EQ(window->infoArea()->content().title, "X");
}

TEST_F(TreeTest, DeletingSeveralSiblings)
{
    Node *a = addItem(nullptr, "A");
    addItem(nullptr, "B");
    Node *c = addItem(nullptr, "C");
    select({a, c});
    EXPECT_EQ(window->selectedNodes().size(), 2);
    prompt.answer(UserPrompt::Answer::Yes);
    window->DeleteSelected();
    EXPECT_EQ(childTitles(db(), nullptr), QStringList{"B"});
}

TEST_F(TreeTest, DeleteWithNothingSelectedAsksNothing)
{
    addItem(nullptr, "A");
    window->DeleteSelected();
    EXPECT_TRUE(prompt.shown().isEmpty());
    EXPECT_FALSE(window->findChild<QToolButton *>("ToolButton_DelItem")->isEnabled());
}

TEST_F(TreeTest, SelectionStaysAmongSiblings)
{
    Node *key = addKey(nullptr, "K");
    Node *a = addItem(nullptr, "A");
    Node *inner = addItem(key, "I");
    select({a, inner});
    EXPECT_EQ(window->selectedNodes(), QList<Node *>{inner});
    EXPECT_EQ(window->selectedNode(), inner);
}

TEST_F(TreeTest, DragAndDrop)
{
    Node *target = addKey(nullptr, "Ziel");
    Node *existing = addItem(target, "M");
    Node *c = addItem(nullptr, "C");
    Node *a = addItem(nullptr, "A");
    Node *b = addItem(nullptr, "B");
    Node *child = addKey(target, "Kind");
    doc().setModified(false);

    // Onto an item: refused.
    EXPECT_FALSE(window->TreeView_ItemsDragOver(existing));
    EXPECT_TRUE(window->TreeView_ItemsDragOver(target));
    EXPECT_TRUE(window->TreeView_ItemsDragOver(nullptr));
    select({c, a, b});
    window->TreeView_ItemsDragDrop(existing);
    EXPECT_EQ(c->parent(), nullptr);
    EXPECT_FALSE(db().DatabaseModified);

    // Three siblings onto a key: moved into it and sorted there.
    window->TreeView_ItemsDragDrop(target);
    EXPECT_EQ(childTitles(db(), target), (QStringList{"Kind", "A", "B", "C", "M"}));
    EXPECT_EQ(childTitles(db(), nullptr), QStringList{"Ziel"});
    EXPECT_TRUE(db().DatabaseModified);
    EXPECT_EQ(window->selectedNodes().size(), 3);

    // A key onto its own child stays where it is.
    doc().setModified(false);
    select({target});
    window->TreeView_ItemsDragDrop(child);
    EXPECT_EQ(target->parent(), nullptr);
    EXPECT_EQ(child->parent(), target);
    EXPECT_FALSE(db().DatabaseModified);

    // Onto empty space: to the top level.
    select({a});
    window->TreeView_ItemsDragDrop(nullptr);
    EXPECT_EQ(childTitles(db(), nullptr), (QStringList{"Ziel", "A"}));
}

TEST_F(TreeTest, InformationAreaTexts)
{
    const InfoContent none = window->infoArea()->content();
    EXPECT_EQ(none.kind, InfoContent::Kind::None);
    EXPECT_EQ(none.title, "Kein Eintrag markiert");
    EXPECT_EQ(none.note, "Wählen Sie einen Eintrag oder klicken Sie mit der rechten Maustaste in "
                         "die Liste, um neue Einträge zu erstellen.");

    Node *key = addKey(nullptr, "Schlüssel");
    const char *notes[] = {"Dieser Schlüssel enthält 0 Elemente.",
                           "Dieser Schlüssel enthält 1 Element.",
                           "Dieser Schlüssel enthält 2 Elemente."};
    for (int children = 0; children < 3; ++children) {
        if (children > 0)
            addItem(key, "Eintrag");
        select({key});
        window->ShowSelected();
        EXPECT_EQ(window->infoArea()->content().title, "Schlüssel");
        EXPECT_EQ(window->infoArea()->content().note, QString::fromUtf8(notes[children]));
    }

    Node *item = key->child(0);
    item->item()->Created = 45000;
    item->item()->Modified = 45001.75;
    item->item()->CreatedBy = "anna";
    item->item()->ModifiedBy = "b\xfc" "rk";
    select({item});
    const InfoContent info = window->infoArea()->content();
    EXPECT_EQ(info.kind, InfoContent::Kind::Item);
    EXPECT_EQ(info.title, "Eintrag");
    EXPECT_TRUE(info.note.isEmpty());
    EXPECT_EQ(info.created, "15.03.2023 von anna");
    EXPECT_EQ(info.modified, "16.03.2023 von bürk");
}

TEST_F(TreeTest, ShortenedTitlesAndWrappedNotes)
{
    const QFontMetrics fm(window->font());
    EXPECT_EQ(shortenToWidth("kurz", fm, 1000), "kurz");
    const QString cut = shortenToWidth("Ein sehr langer Titel eines Eintrags", fm, 80);
    EXPECT_TRUE(cut.endsWith("..."));
    EXPECT_LE(fm.horizontalAdvance(cut), 80);
    EXPECT_TRUE(QString("Ein sehr langer Titel eines Eintrags").startsWith(cut.chopped(3)));
    EXPECT_EQ(shortenToWidth("Titel", fm, 1), "...");

    const QString note = "Wählen Sie einen Eintrag oder klicken/tippen Sie mit-der rechten Maustaste.";
    const int width = fm.horizontalAdvance("Wählen Sie einen Eintrag");
    const QStringList lines = wrapToWidth(note, fm, width);
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], "Wählen Sie einen Eintrag");
    QString joined;
    for (const QString &line : lines) {
        EXPECT_FALSE(line.startsWith(' '));
        // A line ends before a dropped space or after "-" or "/".
        joined += line;
        if (!line.endsWith('-') && !line.endsWith('/'))
            joined += ' ';
    }
    EXPECT_EQ(joined.trimmed(), note);
    // A word wider than the area is broken where it stops fitting.
    const QStringList word = wrapToWidth("Donaudampfschifffahrt", fm, fm.horizontalAdvance("Donau"));
    EXPECT_EQ(word.first(), "Donau");
    EXPECT_EQ(word.join(""), "Donaudampfschifffahrt");
}

TEST_F(TreeTest, SelectionSetsTheCommandsAndThePage)
{
    Node *key = addKey(nullptr, "Schlüssel");
    Node *item = addItem(key, "Eintrag", "Hallo");
    auto enabled = [this](const char *name) {
        return child<QToolButton>(window, name)->isEnabled();
    };
    EXPECT_FALSE(enabled("ToolButton_DelItem"));

    QSignalSpy shown(window->browser(), &BrowserView::documentShown);
    select({key});
    EXPECT_TRUE(enabled("ToolButton_DelItem"));
    EXPECT_FALSE(enabled("ToolButton_CopyCode"));
    ASSERT_TRUE(shown.wait(15000));
    EXPECT_EQ(runJavaScript(window->browser()->page(), "document.querySelector('h3').innerText")
                  .toString(),
              "Schlüssel");

    select({item});
    EXPECT_TRUE(enabled("ToolButton_DelItem"));
    ASSERT_TRUE(shown.wait(15000));
    EXPECT_EQ(runJavaScript(window->browser()->page(), "document.body.innerText").toString(),
              "Eintrag\nHallo");
}

TEST_F(TreeTest, EnterRefreshesTheDisplay)
{
    Node *a = addItem(nullptr, "A");
    select({a});
    a->setName("Anders");
    EXPECT_EQ(window->infoArea()->content().title, "A");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(window->treeView(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(window->infoArea()->content().title, "Anders");
}

TEST_F(TreeTest, ClickOnEmptySpaceRemovesTheSelection)
{
    Node *a = addItem(nullptr, "A");
    select({a});
    window->resize(800, 600);
    QTest::mouseClick(window->treeView()->viewport(), Qt::LeftButton, {},
                      QPoint(10, window->treeView()->viewport()->height() - 5));
    EXPECT_EQ(window->selectedNode(), nullptr);
    EXPECT_EQ(window->infoArea()->content().kind, InfoContent::Kind::None);
    QTest::mouseClick(window->treeView()->viewport(), Qt::RightButton, {},
                      window->treeView()->visualRect(window->treeModel()->indexOf(a)).center());
    EXPECT_EQ(window->selectedNode(), a);
}

TEST_F(TreeTest, ATitleWithACharacterWindows1252LacksIsRefusedInTheWarningBalloon)
{
    Balloons &balloons = app->balloons();
    Node *key = addKey(nullptr, "Alt");
    doc().setModified(false);
    select({key});
    action("MenuItem_RenameItem")->trigger();
    QLineEdit *editor = titleEditor();
    ASSERT_NE(editor, nullptr);
    const struct {
        const char *title;
        const char *character;
    } refused[] = {{"\u03a9-Notizen", "\u03a9"}, {"Noten \U0001D11E", "\U0001D11E"}};
    for (const auto &r : refused) {
        SCOPED_TRACE(r.title);
        editor->setText(QString::fromUtf8(r.title));
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
        EXPECT_EQ(titleEditor(), editor) << "the editor stays open";
        EXPECT_EQ(title(key), "Alt");
        EXPECT_FALSE(db().DatabaseModified);
        ASSERT_TRUE(balloons.BalloonWarning->isVisible());
        EXPECT_EQ(balloons.BalloonWarning->tipControl(), window->treeView());
        EXPECT_TRUE(balloons.BalloonWarning->Text.contains(
            QStringLiteral("\"%1\"").arg(QString::fromUtf8(r.character))))
            << balloons.BalloonWarning->Text.toStdString();
    }
    typeTitle("Omega-Notizen");
    EXPECT_EQ(title(key), "Omega-Notizen");
    EXPECT_TRUE(db().DatabaseModified);
}

} // namespace
