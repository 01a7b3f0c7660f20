#include "help/balloon_window.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QBitmap>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QToolTip>

namespace lexora {

namespace {

constexpr int kPadding = 8;
constexpr int kIconSize = 16;
constexpr int kIconGap = 6;
constexpr int kTitleGap = 4;

// Screen readers announce a window of the tool-tip role when it appears, with its name and
// description, as they do for the desktop's own tool tips.
QAccessibleInterface *balloonAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("lexora::BalloonWindow") && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::ToolTip);
    return nullptr;
}

QStyle::StandardPixmap iconPixmap(BalloonWindow::Icon icon)
{
    switch (icon) {
    case BalloonWindow::Icon::Warning: return QStyle::SP_MessageBoxWarning;
    case BalloonWindow::Icon::Error: return QStyle::SP_MessageBoxCritical;
    default: return QStyle::SP_MessageBoxInformation;
    }
}

} // namespace

BalloonWindow::BalloonWindow()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus
                           | Qt::BypassGraphicsProxyWidget)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(balloonAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setObjectName(QStringLiteral("BalloonWindow"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFont(QToolTip::font());
    const QPalette palette = QToolTip::palette();
    m_background = palette.color(QPalette::ToolTipBase);
    m_textColor = palette.color(QPalette::ToolTipText);
}

QFont BalloonWindow::textFont() const
{
    return font();
}

QFont BalloonWindow::titleFont() const
{
    QFont f = font();
    f.setBold(true);
    return f;
}

void BalloonWindow::setText(const QString &text)
{
    m_lines = text.split(QStringLiteral("\r\n"));
    if (text.isEmpty())
        m_lines.clear();
    // Screen readers read lines, not the program's line ends.
    setAccessibleDescription(m_lines.join(u'\n'));
    update();
}

void BalloonWindow::setTitle(const QString &title, Icon icon)
{
    m_title = title;
    m_icon = icon;
    setAccessibleName(title);
    update();
}

void BalloonWindow::setColors(const QColor &background, const QColor &text)
{
    m_background = background;
    m_textColor = text;
    update();
}

void BalloonWindow::setStem(bool withStem)
{
    m_stem = withStem;
    update();
}

QSize BalloonWindow::titleSize() const
{
    if (m_title.isEmpty() && m_icon == Icon::None)
        return {};
    const QFontMetrics fm(titleFont());
    const int iconWidth = m_icon == Icon::None ? 0 : kIconSize + kIconGap;
    return {iconWidth + fm.horizontalAdvance(m_title), std::max(kIconSize, fm.height())};
}

QSize BalloonWindow::bodySize() const
{
    const QFontMetrics fm(textFont());
    int width = titleSize().width();
    for (const QString &line : m_lines)
        width = std::max(width, fm.horizontalAdvance(line));
    int height = titleSize().height();
    if (height > 0 && !m_lines.isEmpty())
        height += kTitleGap;
    height += int(m_lines.size()) * fm.lineSpacing();
    return {width + 2 * kPadding, height + 2 * kPadding};
}

QPainterPath BalloonWindow::shape() const
{
    const QRect body = m_placement.body.translated(-m_placement.window.topLeft());
    QPainterPath path;
    path.addRoundedRect(QRectF(body).adjusted(0.5, 0.5, -0.5, -0.5), balloon::kRadius,
                        balloon::kRadius);
    if (!m_stem)
        return path;
    const QPoint tip = m_placement.tip - m_placement.window.topLeft();
    const double edge = m_placement.below ? body.top() + 0.5 : body.bottom() + 0.5;
    const double stemLeft = m_placement.stemLeft - m_placement.window.left();
    // The base reaches a little into the body, so the two join without a seam.
    const double inside = m_placement.below ? 2 : -2;
    QPainterPath stem;
    stem.moveTo(stemLeft, edge + inside);
    stem.lineTo(tip.x() + 0.5, tip.y() + 0.5);
    stem.lineTo(stemLeft + balloon::kStemBase, edge + inside);
    stem.closeSubpath();
    return path.united(stem);
}

void BalloonWindow::place(const BalloonPlacement &placement)
{
    m_placement = placement;
    setGeometry(placement.window);
    // Without a compositing window manager there is no see-through window: the mask cuts out
    // the shape.
    QBitmap mask(placement.window.size());
    mask.fill(Qt::color0);
    QPainter p(&mask);
    p.setPen(QPen(Qt::color1, 1));
    p.setBrush(Qt::color1);
    p.drawPath(shape());
    p.end();
    setMask(mask);
    update();
}

void BalloonWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(m_textColor, 1));
    p.setBrush(m_background);
    p.drawPath(shape());

    QRect body = m_placement.body.translated(-m_placement.window.topLeft());
    body.adjust(kPadding, kPadding, -kPadding, -kPadding);
    int y = body.top();
    const QSize title = titleSize();
    if (title.isValid() && !title.isEmpty()) {
        int x = body.left();
        if (m_icon != Icon::None) {
            const QIcon icon = style()->standardIcon(iconPixmap(m_icon), nullptr, this);
            icon.paint(&p, QRect(x, y + (title.height() - kIconSize) / 2, kIconSize, kIconSize));
            x += kIconSize + kIconGap;
        }
        p.setFont(titleFont());
        p.setPen(m_textColor);
        p.drawText(QRect(x, y, body.right() - x + 1, title.height()), Qt::AlignLeft | Qt::AlignVCenter,
                   m_title);
        y += title.height() + kTitleGap;
    }
    p.setFont(textFont());
    p.setPen(m_textColor);
    const QFontMetrics fm(textFont());
    for (const QString &line : std::as_const(m_lines)) {
        p.drawText(body.left(), y + fm.ascent(), line);
        y += fm.lineSpacing();
    }
}

void BalloonWindow::mousePressEvent(QMouseEvent *event)
{
    Q_EMIT pressed(event->button());
    event->accept();
}

} // namespace lexora
