#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>

namespace lexora {

// The geometry of a balloon, kept free of widgets so that the rules can be checked as tables.

// Breaks text (lines separated by "\r\n") so that every line is at most maxLineWidth wide as
// measured by width: a line is cut after the last space or hyphen that makes its front fit; a
// hyphen stays at the end of its line, a space does not. A word wider than maxLineWidth stays
// whole on a line of its own. maxLineWidth 0 leaves the text as it is.
QString wrapBalloonText(const QString &text, int maxLineWidth,
                        const std::function<int(const QString &)> &width);

// Where a balloon's stem points: a point of reference (the control's rectangle on the screen, or
// the screen), x measured from its left or right edge and y from its top or bottom edge, by pixels
// (absolute) or by fractions of its width and height (relative); rounded half to even.
struct BalloonAnchorRule {
    bool relative = false;
    bool fromRight = false;
    bool fromBottom = false;
    double posX = 0;
    double posY = 0;
};
QPoint balloonAnchor(const QRect &reference, const BalloonAnchorRule &rule);

// Measures of the balloon's shape, shared by the placement and the painting.
namespace balloon {
inline constexpr int kStemLength = 14; // at least, from the body to the point it shows
inline constexpr int kStemBase = 14;   // width of the stem where it meets the body
inline constexpr int kStemInset = 14;  // from the body's side edge to the stem
inline constexpr int kRadius = 6;      // of the body's corners
} // namespace balloon

struct BalloonPlacement {
    QRect body;         // the rounded box with title and text
    QPoint tip;         // the stem's point
    bool below = false; // the body lies below the tip, the stem on its top edge
    int stemLeft = 0;   // x where the stem's base begins on the body's edge
    QRect window;       // body and stem together
};

// Places a body of bodySize so that the stem points at anchor (moved onto the screen when it lies
// outside), the whole balloon lies on screen, and the body keeps clear of the control rectangle
// (none: an invalid rectangle). The body goes above the anchor when there is room there, else
// below; the stem sits near the body's left end unless the body would then leave the screen on
// the right, or in the middle with centerTip. Only a control too tall for either side gets
// covered. stemLength 0 gives a box without stem, just clear of the control.
BalloonPlacement placeBalloon(const QPoint &anchor, const QSize &bodySize, const QRect &control,
                              const QRect &screen, bool centerTip,
                              int stemLength = balloon::kStemLength);

} // namespace lexora
