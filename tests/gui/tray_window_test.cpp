// The tray "Ablagemappe": drops from the tree, the buttons and their enabled rules, and how the
// list follows the document; then the tray in the running program.
#include "tray/tray_window.h"

#include "browser/browser_view.h"
#include "database/win1252.h"
#include "mainwindow/tree_model.h"
#include "mainwindow/tree_view.h"
#include "support/gui_activation.h"
#include "support/gui_main_window.h"
#include "support/test_document.h"
#include "support/window_requests.h"
#include "tray/tray_model.h"

#include <QAbstractItemModel>
#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include <functional>

#include <gtest/gtest.h>

using namespace lexora;
using namespace lexora::test;

namespace {

class TrayTest : public ::testing::Test {
protected:
    TrayTest()
        : tray(*doc, requests, {&treeStandIn, [this] { return dragged; }})
    {
        // K1 (K2 (C), A, B), X: appended in this order, as a sorted tree holds them.
        k1 = add(nullptr, "K1");
        k2 = add(k1, "K2");
        c = add(k2, "C", true);
        a = add(k1, "A", true);
        b = add(k1, "B", true);
        x = add(nullptr, "X", true);
        tray.show();
    }
    Node *add(Node *parent, const char *title, bool item = false)
    {
        Node *node = doc->appendNode(parent, title, item ? std::make_unique<TTipItem>() : nullptr);
        doc->setModified(false);
        return node;
    }
    // Each row as "Name|Schlüssel".
    QStringList rows()
    {
        QStringList out;
        const QAbstractItemModel *model = tray.ListView_Tray->model();
        for (int r = 0; r < model->rowCount(); ++r)
            out.append(model->index(r, 0).data().toString() + '|' + model->index(r, 1).data().toString());
        return out;
    }
    QStringList selectedTitles()
    {
        QStringList out;
        for (const Node *node : tray.selectedNodes())
            out.append(win1252::toUnicode(node->name()));
        return out;
    }
    void selectRows(const QList<Node *> &nodes)
    {
        const auto *model = static_cast<const TrayModel *>(tray.ListView_Tray->model());
        tray.ListView_Tray->clearSelection();
        for (Node *node : nodes)
            tray.ListView_Tray->selectionModel()->select(
                model->indexOf(node), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    void drop(QList<Node *> nodes)
    {
        dragged = std::move(nodes);
        ASSERT_TRUE(tray.ListView_TrayDragOver(&treeStandIn));
        tray.ListView_TrayDragDrop();
    }

    TestDocument doc;
    WindowRequests requests;
    QWidget treeStandIn;
    QList<Node *> dragged;
    TrayWindow tray;
    Node *k1, *k2, *c, *a, *b, *x;
};

} // namespace

TEST_F(TrayTest, EdgeCasesAsOneScenario)
{
    QSignalSpy shown(&requests, &WindowRequests::showNode);
    QWidget elsewhere;
    const struct {
        const char *what;
        std::function<void()> act;
        QStringList rows;
        QStringList selected;
        bool modified;
    } steps[] = {
        {"at first empty, both buttons off", [] {}, {}, {}, false},
        {"two siblings dragged in, in tree order; the last one added is selected",
         [&] { drop({b, a}); }, {"A|K1\\", "B|K1\\"}, {"A"}, true},
        {"the same node again changes nothing, not even the flag", [&] { drop({a}); },
         {"A|K1\\", "B|K1\\"}, {"A"}, false},
        {"a drag from anywhere else is refused", [&] {
             EXPECT_FALSE(tray.ListView_TrayDragOver(&elsewhere));
             EXPECT_FALSE(tray.ListView_TrayDragOver(nullptr));
             QMimeData files;
             files.setUrls({QUrl::fromLocalFile("/tmp/a.lxd")});
             QDropEvent event(QPointF(5, 5), Qt::CopyAction | Qt::LinkAction, &files, Qt::LeftButton, {});
             QCoreApplication::sendEvent(tray.ListView_Tray->viewport(), &event);
             EXPECT_FALSE(event.isAccepted());
         }, {"A|K1\\", "B|K1\\"}, {"A"}, false},
        {"an item from below a key and one from the top level",
         [&] { drop({x, c}); }, {"C|K1\\K2\\", "A|K1\\", "B|K1\\", "X|"}, {"C"}, true},
        {"a rename reorders the rows; the selection stays on its node", [&] {
             selectRows({a});
             doc->renameNode(a, "Y");
         }, {"C|K1\\K2\\", "B|K1\\", "Y|K1\\", "X|"}, {"Y"}, true},
        {"a renamed key changes the path of the rows below it", [&] { doc->renameNode(k2, "L"); },
         {"C|K1\\L\\", "B|K1\\", "Y|K1\\", "X|"}, {"Y"}, true},
        {"deleting rows keeps the nodes and leaves no selection", [&] {
             selectRows({b, x});
             tray.ToolButton_Delete->click();
             EXPECT_EQ(doc->database().topLevel().childCount(), 2);
         }, {"C|K1\\L\\", "Y|K1\\"}, {}, true},
        {"a key deleted in the tree leaves the tray with all below it", [&] {
             selectRows({a});
             doc->removeNode(k2);
         }, {"Y|K1\\"}, {"Y"}, true},
        {"go to asks the main window to select and show the node", [&] {
             tray.ToolButton_GoTo->click();
             ASSERT_EQ(shown.size(), 1);
             EXPECT_EQ(shown.takeFirst().first().value<const Node *>(), a);
         }, {"Y|K1\\"}, {"Y"}, false},
        {"clearing empties the tray and marks the database modified",
         [&] { tray.ToolButton_Clear->click(); }, {}, {}, true},
        {"clearing an empty tray changes nothing", [&] { tray.ToolButton_Clear->click(); }, {}, {},
         false},
    };
    for (const auto &s : steps) {
        SCOPED_TRACE(s.what);
        doc->setModified(false);
        s.act();
        EXPECT_EQ(rows(), s.rows);
        EXPECT_EQ(selectedTitles(), s.selected);
        EXPECT_EQ(doc->isModified(), s.modified);
        EXPECT_EQ(tray.ToolButton_Delete->isEnabled(), !s.selected.isEmpty());
        EXPECT_EQ(tray.ToolButton_GoTo->isEnabled(), !s.selected.isEmpty());
        EXPECT_TRUE(tray.ToolButton_Clear->isEnabled());
    }
}

namespace {

class TrayInProgramTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        start();
    }
    // A real drag with the mouse from node in the tree to the middle of target, through the
    // window system's drag and drop.
    void dragFromTree(Node *node, QWidget *target)
    {
        TreeView *tree = window->treeView();
        const QPoint from = tree->visualRect(window->treeModel()->indexOf(node)).center();
        const QPoint to = target->rect().center();
        // The drag runs its own event loop once it has started; these steps run inside it.
        QTimer::singleShot(200, target, [target, to] {
            QCursor::setPos(target->mapToGlobal(to));
            QTest::mouseMove(target, to);
            QTimer::singleShot(200, target, [target, to] {
                QTest::mouseMove(target, to + QPoint(2, 2));
                QTimer::singleShot(200, target, [target, to] {
                    QTest::mouseRelease(target, Qt::LeftButton, {}, to + QPoint(2, 2));
                });
            });
        });
        QCursor::setPos(tree->viewport()->mapToGlobal(from));
        QTest::mousePress(tree->viewport(), Qt::LeftButton, {}, from);
        for (int step = 1; step <= 3; ++step)
            QTest::mouseMove(tree->viewport(), from + QPoint(15 * step, 0));
    }
    QString pageText()
    {
        return runJavaScript(window->browser()->page(),
                             QStringLiteral("document.body ? document.body.innerText : ''"))
            .toString();
    }
};

} // namespace

TEST_F(TrayInProgramTest, TheTrayTakesTheTreesSelectionAndLeadsBackToIt)
{
    Node *key = addKey(nullptr, "K");
    Node *b = addItem(key, "B", "Seite B");
    Node *a = addItem(key, "A", "Seite A");
    doc().sortChildren(key);
    QAction *toggle = window->command("ToolButton_Tray");
    ASSERT_TRUE(toggle->isEnabled());
    toggle->trigger();
    TrayWindow &tray = app->tray();
    EXPECT_TRUE(tray.isVisible());
    EXPECT_EQ(tray.windowTitle(), QStringLiteral("Ablagemappe"));
    EXPECT_EQ(tray.size(), QSize(628, 136));
    EXPECT_TRUE(tray.windowFlags() & Qt::WindowStaysOnTopHint);

    // Dragged from the tree with the mouse: B selected first, then A.
    tray.move(window->x(), window->frameGeometry().bottom() + 10);
    ASSERT_TRUE(QTest::qWaitFor([&] { return tray.y() > window->frameGeometry().bottom(); }));
    EXPECT_TRUE(tray.ListView_TrayDragOver(window->treeView()));
    EXPECT_FALSE(tray.ListView_TrayDragOver(window->browser()));
    window->treeView()->expand(window->treeModel()->indexOf(key));
    QItemSelectionModel *selection = window->treeView()->selectionModel();
    selection->clearSelection();
    for (Node *node : {b, a})
        selection->select(window->treeModel()->indexOf(node), QItemSelectionModel::Select);
    dragFromTree(a, tray.ListView_Tray->viewport());
    EXPECT_EQ(db().TrayNodes, (std::vector<Node *>{a, b})) << "in tree order";
    EXPECT_EQ(tray.selectedNodes(), QList<Node *>{a}) << "the last one added, in selection order";
    EXPECT_EQ(childTitles(db(), key), (QStringList{"A", "B"})) << "the tray links, nothing moves";

    // Go to: the tree selects the node and the display shows it; the tray keeps the focus.
    select({key});
    window->ShowSelected();
    ASSERT_TRUE(activate(&tray));
    tray.ToolButton_GoTo->click();
    EXPECT_EQ(window->selectedNode(), a);
    EXPECT_TRUE(QTest::qWaitFor([&] { return pageText().contains(QStringLiteral("Seite A")); }, 15000));
    EXPECT_FALSE(QTest::qWaitFor([&] { return QApplication::activeWindow() == window; }, 1000))
        << "the main window is not brought forward";

    toggle->trigger();
    EXPECT_FALSE(tray.isVisible()) << "the same button hides it";

    // Another database: the tray window is hidden and its list empty.
    toggle->trigger();
    doc().newDatabase({});
    EXPECT_FALSE(tray.isVisible());
    EXPECT_EQ(tray.ListView_Tray->model()->rowCount(), 0);
}
