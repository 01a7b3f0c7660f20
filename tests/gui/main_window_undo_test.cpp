// Undo and redo in the program: the commands of "Bearbeiten" and the tool bar name the step and
// follow the document; the keys take a deletion back and do it again, and every open window
// (tree, tray, display, item windows) follows; inside a code field the keys stay the field's own.
#include "app/item_windows.h"
#include "browser/browser_view.h"
#include "codefield/code_field.h"
#include "database/node_path.h"
#include "help/help_texts.h"
#include "itemwindow/item_window.h"
#include "mainwindow/tree_model.h"
#include "mainwindow/tree_view.h"
#include "support/gui_activation.h"
#include "support/gui_main_window.h"
#include "tray/tray_model.h"
#include "tray/tray_window.h"

#include <QAction>
#include <QListView>
#include <QMenu>
#include <QTest>
#include <QToolButton>
#include <QWebEnginePage>

using namespace lexora;
using namespace lexora::test;

namespace {

class MainWindowUndoTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        start();
        Node *key = addKey(nullptr, "Rezepte");
        addItem(key, "Kuchen", "<p>Mehl</p>");
        addItem(nullptr, "Notiz", "<p>vorher</p>");
        // Saved and opened again, so that the steps begin with the opened file.
        doc().saveAs(home + QStringLiteral("start.lxd"));
        doc().open(home + QStringLiteral("start.lxd"));
        undo = window->command("MenuItem_Undo");
        redo = window->command("MenuItem_Redo");
    }
    Node *node(const char *path) { return doc().findNode(path); }
    QString pageText()
    {
        return runJavaScript(window->browser()->page(),
                             QStringLiteral("document.body ? document.body.innerText : ''"))
            .toString();
    }
    QStringList trayTitles()
    {
        QStringList titles;
        for (const Node *n : db().TrayNodes)
            titles.append(QString::fromLatin1(NodePath(*n)));
        return titles;
    }

    QAction *undo = nullptr;
    QAction *redo = nullptr;
};

} // namespace

TEST_F(MainWindowUndoTest, TheCommandsNameTheStepTheyWouldTake)
{
    EXPECT_FALSE(undo->isEnabled()) << "an opened file has nothing to undo";
    EXPECT_FALSE(redo->isEnabled());
    EXPECT_EQ(undo->text(), QStringLiteral("&Rückgängig"));
    EXPECT_EQ(redo->text(), QStringLiteral("&Wiederherstellen"));
    EXPECT_EQ(undo->shortcuts(), QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Z)});
    EXPECT_EQ(redo->shortcuts(), (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y),
                                                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
    EXPECT_EQ(undo->statusTip(), QStringLiteral("Die letzte Änderung der Datenbank rückgängig machen"));
    EXPECT_EQ(redo->statusTip(), QStringLiteral("Die zuletzt rückgängig gemachte Änderung wiederherstellen"));

    const QList<QAction *> edit = window->findChild<QMenu *>(QStringLiteral("Bearbeiten1"))->actions();
    ASSERT_GE(edit.size(), 3);
    EXPECT_EQ(edit[0], undo);
    EXPECT_EQ(edit[1], redo);
    EXPECT_TRUE(edit[2]->isSeparator());
    for (const char *name : {"ToolButton_Undo", "ToolButton_Redo"}) {
        SCOPED_TRACE(name);
        auto *button = window->findChild<QToolButton *>(QLatin1String(name));
        ASSERT_NE(button, nullptr);
        EXPECT_FALSE(helpText(*button).isEmpty());
        EXPECT_FALSE(button->accessibleName().isEmpty() && button->text().isEmpty());
    }

    // A title with "&" is shown as it is, not as a mnemonic.
    doc().renameNode(node("Notiz"), "A&B");
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->text(), QStringLiteral("&Rückgängig: Umbenennen von »Notiz«"));
    doc().removeNode(node("A&B"));
    EXPECT_EQ(undo->text(), QStringLiteral("&Rückgängig: Löschen von »A&&B«"));
    EXPECT_EQ(undo->toolTip(), QStringLiteral("Rückgängig: Löschen von »A&B«"));
    undo->trigger();
    EXPECT_EQ(redo->text(), QStringLiteral("&Wiederherstellen: Löschen von »A&&B«"));
    EXPECT_TRUE(redo->isEnabled());
    undo->trigger();
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(undo->text(), QStringLiteral("&Rückgängig"));
    EXPECT_FALSE(doc().isModified()) << "back at the opened file: no question at closing";
}

TEST_F(MainWindowUndoTest, TheKeysTakeADeletionBackAndEveryWindowFollows)
{
    Node *cake = node("Rezepte\\Kuchen");
    doc().addToTray(cake);
    window->command("ToolButton_Tray")->trigger();
    select({cake});
    window->ShowSelected();
    ItemWindow *itemWindow = app->itemWindows().ToolButton_NewWindowClick();
    ASSERT_NE(itemWindow, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return pageText().contains(QStringLiteral("Mehl")); }, 15000));

    // Deleted with its confirmation, from the tree.
    ASSERT_TRUE(activate(window));
    select({node("Rezepte")});
    window->treeView()->setFocus();
    prompt.answer(UserPrompt::Answer::Yes);
    QTest::keyClick(window->treeView(), Qt::Key_Delete);
    ASSERT_EQ(node("Rezepte"), nullptr);
    EXPECT_TRUE(trayTitles().isEmpty());
    EXPECT_EQ(app->tray().ListView_Tray->model()->rowCount(), 0);
    EXPECT_EQ(app->itemWindows().FindItemWindow(cake), nullptr) << "its item window closed";

    QTest::keyClick(window->treeView(), Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(node("Rezepte\\Kuchen"), cake) << "the same node is back";
    EXPECT_EQ(childTitles(db(), nullptr), (QStringList{"Rezepte", "Notiz"}));
    EXPECT_EQ(trayTitles(), QStringList{"Rezepte\\Kuchen"});
    EXPECT_EQ(app->tray().ListView_Tray->model()->rowCount(), 1);
    const QModelIndex keyIndex = window->treeModel()->indexOf(node("Rezepte"));
    EXPECT_EQ(window->treeModel()->rowCount(keyIndex), 1);
    select({cake});
    window->ShowSelected();
    EXPECT_NE(app->itemWindows().ToolButton_NewWindowClick(), nullptr) << "it opens again";
    EXPECT_TRUE(QTest::qWaitFor([&] { return pageText().contains(QStringLiteral("Mehl")); }, 15000));

    ASSERT_TRUE(activate(window));
    window->treeView()->setFocus();
    QTest::keyClick(window->treeView(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(node("Rezepte"), nullptr);
    QTest::keyClick(window->treeView(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(window->treeView(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(node("Rezepte"), nullptr) << "Ctrl+Shift+Z redoes too";
    EXPECT_EQ(childTitles(db(), nullptr), QStringList{"Notiz"});
}

TEST_F(MainWindowUndoTest, AnUndoneEditReachesTheDisplayAndTheItemWindow)
{
    Node *note = node("Notiz");
    select({note});
    window->ShowSelected();
    ItemWindow *itemWindow = app->itemWindows().ToolButton_NewWindowClick();
    ASSERT_NE(itemWindow, nullptr);
    TTipItem values = *note->item();
    values.Code = "<p>nachher</p>";
    doc().setItem(note, values);
    ASSERT_TRUE(QTest::qWaitFor([&] { return pageText().contains(QStringLiteral("nachher")); }, 15000));

    undo->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return pageText().contains(QStringLiteral("vorher")); }, 15000));
    EXPECT_EQ(itemWindow->Memo_Content->code(), "<p>vorher</p>");
    redo->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return pageText().contains(QStringLiteral("nachher")); }, 15000));
    EXPECT_EQ(itemWindow->Memo_Content->code(), "<p>nachher</p>");
}

TEST_F(MainWindowUndoTest, InACodeFieldTheKeysUndoTheTypingOnly)
{
    Node *note = node("Notiz");
    select({note});
    window->ShowSelected();
    ItemWindow *itemWindow = app->itemWindows().ToolButton_NewWindowClick();
    ASSERT_NE(itemWindow, nullptr);
    ASSERT_TRUE(activate(itemWindow));
    CodeField *field = itemWindow->Memo_Content;
    field->setFocus();
    field->moveCursor(QTextCursor::End);
    QTest::keyClicks(field, QStringLiteral("xy"));
    EXPECT_EQ(note->item()->Code, "<p>vorher</p>xy");
    EXPECT_EQ(doc().undoStepCount(), 1) << "the typing is one step";
    EXPECT_EQ(doc().undoName(), QStringLiteral("Eingabe in »Notiz«"));

    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(field->toPlainText(), QStringLiteral("<p>vorher</p>")) << "the field's own undo";
    EXPECT_EQ(note->item()->Code, "<p>vorher</p>");
    EXPECT_EQ(node("Notiz"), note) << "the document kept its tree";
    EXPECT_EQ(childTitles(db(), nullptr), (QStringList{"Rezepte", "Notiz"}));
}
