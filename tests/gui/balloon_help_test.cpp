// The balloon component: showing at a control, the occasions that hide it, the hide timer, the
// help key and what screen readers see.
#include "help/balloon_help.h"
#include "help/balloon_window.h"
#include "support/gui_activation.h"

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

using namespace lexora;
using lexora::test::activate;

namespace {

// A window with an edit field, a second field, a panel holding a label, a tree and a disabled
// button.
class Form : public QWidget {
public:
    Form()
    {
        setObjectName(QStringLiteral("TestForm"));
        auto *layout = new QVBoxLayout(this);
        edit = add<QLineEdit>("Edit_Name");
        other = add<QLineEdit>("Edit_Other");
        panel = add<QFrame>("Panel1");
        panel->setMinimumHeight(40);
        label = new QLabel(QStringLiteral("Beschriftung"), panel);
        label->setObjectName(QStringLiteral("Label_Name"));
        label->move(10, 10);
        tree = add<QTreeWidget>("TreeView_Items");
        button = add<QPushButton>("Button_OK");
        button->setText(QStringLiteral("OK"));
        button->setEnabled(false);
        for (QWidget *w : {static_cast<QWidget *>(edit), static_cast<QWidget *>(other),
                           static_cast<QWidget *>(panel), static_cast<QWidget *>(tree),
                           static_cast<QWidget *>(button)})
            layout->addWidget(w);
        resize(320, 400);
        move(200, 200);
    }

    template <typename W> W *add(const char *name)
    {
        auto *w = new W(this);
        w->setObjectName(QLatin1String(name));
        return w;
    }

    QLineEdit *edit;
    QLineEdit *other;
    QFrame *panel;
    QLabel *label;
    QTreeWidget *tree;
    QPushButton *button;
};

class BalloonHelp : public ::testing::Test {
protected:
    void SetUp() override
    {
        form.show();
        ASSERT_TRUE(activate(&form));
        balloon.MaxLineWidth = 300;
        balloon.PositionMode = TQZBalloonHelp::pmRelative;
        balloon.PosX = 0.5;
        balloon.PosY = 0.5;
        balloon.Title = QStringLiteral("Information");
    }

    // The middle of the control's outermost pixels, rounded half to even.
    QPoint centreOf(QWidget *w) const
    {
        const QPoint topLeft = w->mapToGlobal(QPoint(0, 0));
        return QPoint(int(std::nearbyint(topLeft.x() + (w->width() - 1) * 0.5)),
                      int(std::nearbyint(topLeft.y() + (w->height() - 1) * 0.5)));
    }

    Form form;
    TQZBalloonHelp balloon;
};

TEST_F(BalloonHelp, PointsAtTheCentreOfItsControlWithWrappedTextAndTitle)
{
    const QString text = QStringLiteral("Hier steht ein Hilfetext, der so lang ist, dass er auf "
                                        "mehrere Zeilen umbrochen werden muss, damit der Ballon "
                                        "nicht zu breit wird.\r\n\r\nZweiter Absatz.");
    QSignalSpy shown(&balloon, &TQZBalloonHelp::OnShow);
    balloon.ShowBalloon(form.edit, text);
    ASSERT_TRUE(balloon.isVisible());
    EXPECT_EQ(shown.count(), 1);
    BalloonWindow *window = balloon.window();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->placement().tip, centreOf(form.edit));
    EXPECT_FALSE(window->placement().body.intersects(QRect(form.edit->mapToGlobal(QPoint()), form.edit->size())));
    EXPECT_EQ(window->geometry(), window->placement().window);
    EXPECT_EQ(window->title(), QStringLiteral("Information"));
    EXPECT_EQ(window->icon(), BalloonWindow::Icon::Information);

    const QFontMetrics fm(window->textFont());
    const QStringList lines = window->text().split(QStringLiteral("\r\n"));
    EXPECT_GE(lines.size(), 4);
    for (const QString &line : lines)
        EXPECT_LE(fm.horizontalAdvance(line), 300) << line.toStdString();
    EXPECT_EQ(window->text().remove(QStringLiteral("\r\n")).remove(u' '),
              QString(text).remove(QStringLiteral("\r\n")).remove(u' '));

    // Screen readers find a tool tip named by the title, described by the text.
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(window);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::ToolTip);
    EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Information"));
    EXPECT_EQ(a->text(QAccessible::Description), QString(window->text()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    // The painted body has the tool tip colour; the stem reaches the control.
    const QImage image = window->grab().toImage();
    const QPoint inside = window->placement().body.center() - window->geometry().topLeft();
    EXPECT_EQ(image.pixelColor(inside.x(), window->placement().body.bottom() - window->geometry().top() - 3),
              QToolTip::palette().color(QPalette::ToolTipBase));
    EXPECT_GT(window->placement().tip.y(), window->placement().body.bottom());
}

TEST_F(BalloonHelp, TheOccasionsThatHideIt)
{
    const struct {
        const char *occasion;
        std::function<void(Form &)> act;
        bool hides;
    } cases[] = {
        {"left click into the control",
         [](Form &f) { QTest::mouseClick(f.edit, Qt::LeftButton); }, true},
        {"right click into the control",
         [](Form &f) { QTest::mouseClick(f.edit, Qt::RightButton); }, false},
        {"click into another control", [](Form &f) { QTest::mouseClick(f.tree->viewport(), Qt::LeftButton); }, true},
        {"the control loses the focus", [](Form &f) { f.other->setFocus(); }, true},
        {"the window is deactivated",
         [](Form &f) {
             QEvent e(QEvent::WindowDeactivate);
             QApplication::sendEvent(&f, &e);
         },
         true},
        {"the window is activated",
         [](Form &f) {
             QEvent e(QEvent::WindowActivate);
             QApplication::sendEvent(&f, &e);
         },
         true},
        {"the window closes", [](Form &f) { f.close(); }, true},
        {"the window moves", [](Form &f) { f.move(f.pos() + QPoint(30, 40)); }, false},
        {"the control gets larger", [](Form &f) { f.edit->setMinimumHeight(60); }, false},
        {"typing in the control", [](Form &f) { QTest::keyClicks(f.edit, QStringLiteral("abc")); }, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.occasion);
        if (!form.isVisible()) {
            form.show();
            ASSERT_TRUE(activate(&form));
        }
        form.edit->setFocus();
        balloon.ShowBalloon(form.edit, QStringLiteral("Text"));
        ASSERT_TRUE(balloon.isVisible());
        QSignalSpy hidden(&balloon, &TQZBalloonHelp::OnHide);
        c.act(form);
        QApplication::processEvents();
        EXPECT_EQ(!balloon.isVisible(), c.hides);
        EXPECT_EQ(balloon.window()->isVisible(), !c.hides);
        EXPECT_EQ(hidden.count(), c.hides ? 1 : 0);
        if (!c.hides) { // the balloon follows its control
            EXPECT_EQ(balloon.window()->placement().tip, centreOf(form.edit));
        }
        balloon.Hide();
    }
}

TEST_F(BalloonHelp, AClickOnTheBalloonIsReportedAndRemovingTheControlHidesIt)
{
    QSignalSpy clicked(&balloon, &TQZBalloonHelp::OnClick);
    balloon.ShowBalloon(form.edit, QStringLiteral("Text"));
    const QPoint body = balloon.window()->placement().body.center() - balloon.window()->pos();
    QTest::mouseClick(balloon.window(), Qt::RightButton, {}, body);
    EXPECT_EQ(clicked.count(), 0);
    QTest::mouseClick(balloon.window(), Qt::LeftButton, {}, body);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_TRUE(balloon.isVisible()); // the owner decides what a click means

    auto *extra = new QLineEdit(&form);
    extra->show();
    balloon.ShowBalloon(extra, QStringLiteral("Text"));
    delete extra;
    EXPECT_FALSE(balloon.isVisible());
    EXPECT_EQ(balloon.tipControl(), nullptr);
}

TEST_F(BalloonHelp, TheHideTimerStartsAgainWithEveryShowing)
{
    balloon.AutoHideMSec = 1500;
    // At a point of the screen: no window whose activation (another test's window on the same
    // display) could hide it.
    balloon.PositionMode = TQZBalloonHelp::pmAbsolute;
    balloon.PosX = 300;
    balloon.PosY = 300;
    QElapsedTimer clock;
    clock.start();
    balloon.ShowBalloon(nullptr, QStringLiteral("Text"));
    QTest::qWait(500);
    ASSERT_TRUE(balloon.isVisible());
    const qint64 again = clock.elapsed();
    balloon.Show();
    QTRY_VERIFY_WITH_TIMEOUT(!balloon.isVisible(), 5000);
    // Hidden a period after the second showing (the timer may be a little early), not when the
    // first one's ran out, 1000 ms after it.
    EXPECT_GE(clock.elapsed() - again, 1350);
}

TEST_F(BalloonHelp, ARectangularTipHasNoStem)
{
    balloon.setBalloonStyle(false);
    balloon.ShowBalloon(form.edit, QStringLiteral("Text"));
    EXPECT_EQ(balloon.window()->placement().window, balloon.window()->placement().body);
    EXPECT_FALSE(balloon.window()->hasStem());
}

TEST_F(BalloonHelp, TheHelpKeyReportsTheControlUnderThePointer)
{
    QSignalSpy help(&balloon, &TQZBalloonHelp::OnHelp);
    const struct {
        const char *over;
        QWidget *pointAt;
        QWidget *reported;
    } cases[] = {
        {"a label inside a panel", form.label, form.label},
        {"the panel beside the label", form.panel, form.panel},
        {"the tree's viewport", form.tree->viewport(), form.tree},
        {"a disabled button", form.button, form.button},
        {"an edit field", form.edit, form.edit},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.over);
        ASSERT_TRUE(activate(&form)); // another test's window on the display may have taken it
        QPoint at = c.pointAt->mapToGlobal(QPoint(c.pointAt->width() / 2, c.pointAt->height() / 2));
        if (c.pointAt == form.panel) // beside the label
            at = form.panel->mapToGlobal(QPoint(form.panel->width() - 5, form.panel->height() - 5));
        QCursor::setPos(at);
        QTRY_COMPARE(QCursor::pos(), at);
        help.clear();
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &form, Qt::Key_F1);
        ASSERT_EQ(help.count(), 1);
        EXPECT_EQ(help[0][1].value<QWidget *>(), c.reported)
            << qPrintable(help[0][1].value<QWidget *>() ? help[0][1].value<QWidget *>()->objectName() : QStringLiteral("none"));
    }
    // Other keys pass; the help key is not given to the control.
    form.edit->setFocus();
    form.edit->clear();
    QTest::keyClick(form.edit, Qt::Key_A);
    QTest::keyClick(form.edit, Qt::Key_F1);
    EXPECT_EQ(form.edit->text(), QStringLiteral("a"));
}

TEST_F(BalloonHelp, WithoutAHelpHandlerTheKeyIsLeftToTheControls)
{
    bool seen = false;
    struct Watcher : QObject {
        bool *seen;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(e)->key() == Qt::Key_F1)
                *seen = true;
            return false;
        }
    } watcher;
    watcher.seen = &seen;
    form.edit->installEventFilter(&watcher);
    QTest::keyClick(form.edit, Qt::Key_F1);
    EXPECT_TRUE(seen);
}

} // namespace
