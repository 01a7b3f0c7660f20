#include "help/balloon_layout.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace lexora {

namespace {

QStringList wrapLine(QString line, int maxLineWidth,
                     const std::function<int(const QString &)> &width)
{
    // A line is measured as it is drawn: a space it ends with is dropped when it breaks there.
    const auto shownWidth = [&width](const QString &s) {
        return width(s.endsWith(u' ') ? s.chopped(1) : s);
    };
    QStringList out;
    QString carried;
    for (;;) {
        while (shownWidth(line) > maxLineWidth) {
            qsizetype i = line.size() - 2;
            while (i >= 1 && line[i] != u' ' && line[i] != u'-')
                --i;
            if (i < 1)
                break; // one word wider than the limit: it keeps a line of its own
            carried.prepend(line.mid(i + 1));
            line.truncate(i + 1);
        }
        if (carried.isEmpty()) {
            out << line;
            return out;
        }
        if (line.endsWith(u' '))
            line.chop(1);
        out << line;
        line = std::exchange(carried, QString());
    }
}

} // namespace

QString wrapBalloonText(const QString &text, int maxLineWidth,
                        const std::function<int(const QString &)> &width)
{
    if (maxLineWidth <= 0)
        return text;
    QStringList lines;
    for (const QString &line : text.split(QStringLiteral("\r\n")))
        lines << wrapLine(line, maxLineWidth, width);
    return lines.join(QStringLiteral("\r\n"));
}

QPoint balloonAnchor(const QRect &reference, const BalloonAnchorRule &rule)
{
    const double dx = rule.relative ? (reference.right() - reference.left()) * rule.posX : rule.posX;
    const double dy = rule.relative ? (reference.bottom() - reference.top()) * rule.posY : rule.posY;
    const double x = dx + (rule.fromRight ? reference.right() : reference.left());
    const double y = dy + (rule.fromBottom ? reference.bottom() : reference.top());
    // nearbyint rounds half to even in the default rounding mode.
    return {int(std::nearbyint(x)), int(std::nearbyint(y))};
}

BalloonPlacement placeBalloon(const QPoint &anchor, const QSize &bodySize, const QRect &control,
                              const QRect &screen, bool centerTip, int stemLength)
{
    using namespace balloon;
    BalloonPlacement p;
    p.tip = QPoint(std::clamp(anchor.x(), screen.left(), screen.right()),
                   std::clamp(anchor.y(), screen.top(), screen.bottom()));
    const int w = bodySize.width();
    const int h = bodySize.height();

    // Vertical: clear of the control, above if it fits, else below, else where there is more room.
    const bool avoid = control.isValid();
    const int aboveTop = (avoid ? std::min(p.tip.y(), control.top()) : p.tip.y()) - stemLength - h;
    const int belowTop = (avoid ? std::max(p.tip.y(), control.bottom() + 1) : p.tip.y() + 1)
                         + stemLength;
    int top;
    if (aboveTop >= screen.top()) {
        top = aboveTop;
    } else if (belowTop + h <= screen.bottom() + 1) {
        top = belowTop;
        p.below = true;
    } else {
        p.below = screen.bottom() - p.tip.y() > p.tip.y() - screen.top();
        top = std::clamp(p.below ? belowTop : aboveTop, screen.top(),
                         std::max(screen.top(), screen.bottom() + 1 - h));
    }

    // Horizontal: the stem near the left end, or near the right end when the body would leave
    // the screen on the right; then onto the screen.
    int left = centerTip ? p.tip.x() - w / 2 : p.tip.x() - kStemBase / 2 - kStemInset;
    if (!centerTip && left + w > screen.right() + 1)
        left = p.tip.x() + kStemBase / 2 + kStemInset - w;
    left = std::clamp(left, screen.left(), std::max(screen.left(), screen.right() + 1 - w));
    p.body = QRect(left, top, w, h);

    p.stemLeft = std::clamp(p.tip.x() - kStemBase / 2, left + kRadius,
                            std::max(left + kRadius, left + w - kRadius - kStemBase));
    p.window = p.body;
    if (stemLength > 0)
        p.window = p.window.united(QRect(p.tip, QSize(1, 1)));
    return p;
}

} // namespace lexora
