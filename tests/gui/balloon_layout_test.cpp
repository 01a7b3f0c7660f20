// The balloon's geometry: wrapping, the anchor point and the placement on the screen.
#include "help/balloon_layout.h"

#include <gtest/gtest.h>

using namespace lexora;

namespace {

// Every character 10 pixels wide.
int tenPerChar(const QString &s)
{
    return int(s.size()) * 10;
}

TEST(BalloonWrap, BreaksAtSpacesAndHyphensKeepingTheHyphen)
{
    const struct {
        const char *text;
        int width;
        const char *wrapped;
    } cases[] = {
        {"kurz", 300, "kurz"},
        {"kurz", 0, "kurz"},
        {"eins zwei drei", 100, "eins zwei\r\ndrei"},
        {"eins zwei drei vier", 100, "eins zwei\r\ndrei vier"},
        {"Erstellungs-und Datum", 130, "Erstellungs-\r\nund Datum"},
        {"aaa bbb ccc ddd eee", 70, "aaa bbb\r\nccc ddd\r\neee"},
        // Lines of their own stay; a blank line stays blank.
        {"eins zwei drei\r\n\r\nvier", 100, "eins zwei\r\ndrei\r\n\r\nvier"},
        // A word wider than the limit keeps a line of its own, the rest goes on after it.
        {"Donaudampfschifffahrt fährt", 100, "Donaudampfschifffahrt\r\nfährt"},
        {"ab Donaudampfschifffahrt cd", 100, "ab\r\nDonaudampfschifffahrt\r\ncd"},
        {"", 100, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(wrapBalloonText(QString::fromUtf8(c.text), c.width, tenPerChar),
                  QString::fromUtf8(c.wrapped))
            << c.text << " at " << c.width;
}

TEST(BalloonAnchor, MeasuresFromTheChosenEdgesAndRoundsHalfToEven)
{
    const QRect control(100, 200, 51, 21); // right 150, bottom 220
    const struct {
        BalloonAnchorRule rule;
        QPoint anchor;
    } cases[] = {
        {{true, false, false, 0.5, 0.5}, {125, 210}}, // the centre
        {{false, false, false, 0, 0}, {100, 200}},
        {{false, true, true, -3, -4}, {147, 216}},
        {{true, true, false, -0.25, 1}, {138, 220}},     // 150 - 12.5 = 137.5 → 138 (half to even)
        {{false, false, false, 2.5, 3.5}, {102, 204}},   // 102.5 → 102, 203.5 → 204
    };
    for (const auto &c : cases)
        EXPECT_EQ(balloonAnchor(control, c.rule), c.anchor)
            << c.rule.posX << "," << c.rule.posY;
}

TEST(BalloonPlacement, StaysOnTheControlsScreenAndClearOfTheControl)
{
    const QRect screen(0, 0, 1280, 1024);
    const QRect second(1280, 0, 1920, 1080); // a second screen to the right
    const QSize body(200, 80);
    enum Stem { Left, Right, Centre };
    const struct {
        const char *where;
        QRect control;
        QRect screen;
        bool centerTip;
        bool below;
        Stem stem; // where the stem meets the body
    } cases[] = {
        {"middle", {600, 500, 100, 24}, screen, false, false, Left},
        {"top left corner", {0, 0, 100, 24}, screen, false, true, Left},
        {"top right corner", {1180, 0, 100, 24}, screen, false, true, Right},
        {"bottom left corner", {0, 1000, 100, 24}, screen, false, false, Left},
        {"bottom right corner", {1180, 1000, 100, 24}, screen, false, false, Right},
        {"right edge, middle", {1230, 500, 50, 24}, screen, false, false, Right},
        {"left edge of the second screen", {1280, 500, 100, 24}, second, false, false, Left},
        {"right edge of the second screen", {3150, 0, 50, 24}, second, false, true, Right},
        {"middle, stem centred", {600, 500, 100, 24}, screen, true, false, Centre},
        {"a tall tree below the top", {0, 60, 280, 800}, screen, false, true, Left},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.where);
        const QPoint anchor = c.control.center();
        const BalloonPlacement p = placeBalloon(anchor, body, c.control, c.screen, c.centerTip);
        EXPECT_EQ(p.tip, anchor);
        EXPECT_EQ(p.below, c.below);
        EXPECT_EQ(p.body.size(), body);
        EXPECT_TRUE(c.screen.contains(p.window)) << p.window.x() << "," << p.window.y();
        EXPECT_TRUE(p.window.contains(p.tip));
        EXPECT_FALSE(p.body.intersects(c.control));
        // The stem leaves the body's edge facing the control, and reaches the tip.
        EXPECT_EQ(p.below ? p.body.top() > p.tip.y() : p.body.bottom() < p.tip.y(), true);
        EXPECT_GE(p.stemLeft, p.body.left() + balloon::kRadius);
        EXPECT_LE(p.stemLeft + balloon::kStemBase, p.body.right() - balloon::kRadius + 1);
        const int stemMiddle = p.stemLeft + balloon::kStemBase / 2;
        switch (c.stem) {
        case Left: EXPECT_LT(stemMiddle - p.body.left(), body.width() / 3); break;
        case Right: EXPECT_LT(p.body.right() - stemMiddle, body.width() / 3); break;
        case Centre: EXPECT_NEAR(stemMiddle, p.body.center().x(), 1); break;
        }
    }
}

TEST(BalloonPlacement, AControlTallerThanTheRoomAroundItIsCoveredRatherThanLeavingTheScreen)
{
    const QRect screen(0, 0, 1280, 1024);
    const QRect control(0, 40, 600, 960); // no room for 80 pixels above or below
    const BalloonPlacement p = placeBalloon(control.center(), QSize(200, 80), control, screen, false);
    EXPECT_TRUE(screen.contains(p.window));
    EXPECT_EQ(p.tip, control.center());
}

TEST(BalloonPlacement, APointOffTheScreenIsShownAtTheScreensEdge)
{
    const QRect screen(0, 0, 1280, 1024);
    const BalloonPlacement p = placeBalloon(QPoint(-50, 2000), QSize(200, 80), QRect(), screen, false);
    EXPECT_EQ(p.tip, QPoint(0, 1023));
    EXPECT_TRUE(screen.contains(p.window));
    EXPECT_FALSE(p.below);
}

} // namespace
