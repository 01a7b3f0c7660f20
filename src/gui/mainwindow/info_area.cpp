#include "mainwindow/info_area.h"

#include "database/win1252.h"
#include "text/short_date.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

namespace lexora {

namespace {

constexpr int kMinWidth = 360;
constexpr int kHeight = 60;
constexpr int kTextLeft = 48;
constexpr int kValueLeft = 112;

QString dateAndAuthor(DateTime date, const Text &user)
{
    return shortDate(date) + QStringLiteral(" von ") + win1252::toUnicode(user);
}

} // namespace

InfoContent InfoContent::forNode(const Node *node)
{
    InfoContent c;
    if (!node) {
        c.title = QStringLiteral("Kein Eintrag markiert");
        c.note = QStringLiteral("Wählen Sie einen Eintrag oder klicken Sie mit der rechten "
                                "Maustaste in die Liste, um neue Einträge zu erstellen.");
        return c;
    }
    c.title = win1252::toUnicode(node->name());
    if (const TTipItem *item = node->item()) {
        c.kind = Kind::Item;
        c.created = dateAndAuthor(item->Created, item->CreatedBy);
        c.modified = dateAndAuthor(item->Modified, item->ModifiedBy);
    } else {
        c.kind = Kind::Key;
        const int n = node->childCount();
        c.note = QStringLiteral("Dieser Schlüssel enthält %1 Element%2.")
                     .arg(n)
                     .arg(n == 1 ? QString() : QStringLiteral("e"));
    }
    return c;
}

QString shortenToWidth(const QString &text, const QFontMetrics &metrics, int width)
{
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    const QString dots = QStringLiteral("...");
    QString s = text + dots;
    while (s.size() > dots.size() && metrics.horizontalAdvance(s) > width)
        s.remove(s.size() - dots.size() - 1, 1);
    return s;
}

QStringList wrapToWidth(const QString &text, const QFontMetrics &metrics, int width)
{
    QStringList lines;
    QString rest = text;
    while (!rest.isEmpty()) {
        // The shortest piece that is too wide; the whole rest when it fits.
        qsizetype tooWide = 0;
        while (tooWide < rest.size() && metrics.horizontalAdvance(rest.left(tooWide + 1)) <= width)
            ++tooWide;
        if (tooWide == rest.size()) {
            lines.append(rest);
            break;
        }
        qsizetype lastChar = tooWide; // index of the character that made the piece too wide
        qsizetype lineEnd = -1;       // the line is rest.left(lineEnd)
        qsizetype next = -1;          // where the rest continues
        for (qsizetype i = lastChar; i >= 0; --i) {
            const QChar c = rest.at(i);
            if (c == QLatin1Char(' ')) {
                lineEnd = i;
                next = i + 1;
                break;
            }
            if (c == QLatin1Char('-') || c == QLatin1Char('/')) {
                lineEnd = i + 1;
                next = i + 1;
                break;
            }
        }
        if (next < 0) {
            // One word wider than the area: break it where it stops fitting.
            lineEnd = next = std::max<qsizetype>(1, lastChar);
        }
        lines.append(rest.left(lineEnd));
        rest = rest.mid(next);
    }
    return lines;
}

InfoArea::InfoArea(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PaintBox_Info"));
    setMinimumWidth(kMinWidth);
    setFixedHeight(boxHeight());
    setContent(InfoContent::forNode(nullptr));
}

void InfoArea::setContent(InfoContent content)
{
    m_content = std::move(content);
    update();
}

int InfoArea::lineHeight() const
{
    return fontMetrics().height();
}

int InfoArea::boxHeight() const
{
    // The title and three lines of a note must fit inside the frame, also with the larger fonts
    // of today's desktops.
    return std::max(kHeight, 4 * lineHeight() + 14);
}

QSize InfoArea::sizeHint() const
{
    return {kMinWidth, boxHeight()};
}

QSize InfoArea::minimumSizeHint() const
{
    return sizeHint();
}

void InfoArea::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        setFixedHeight(boxHeight());
    QWidget::changeEvent(event);
}

void InfoArea::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const int w = width();
    const int h = height();
    const int line = lineHeight();
    p.fillRect(rect(), palette().window());
    p.setPen(palette().color(QPalette::WindowText));
    p.setBrush(palette().toolTipBase());
    p.drawRect(4, 4, w - 9, h - 9);

    const QStyle::StandardPixmap icon = m_content.kind == InfoContent::Kind::None
                                            ? QStyle::SP_MessageBoxWarning
                                            : QStyle::SP_MessageBoxInformation;
    p.drawPixmap(8, 8, style()->standardIcon(icon, nullptr, this).pixmap(32, 32));

    p.setPen(palette().color(QPalette::ToolTipText));
    const int textWidth = w - 56;
    QFont bold = font();
    bold.setBold(true);
    p.setFont(bold);
    p.drawText(QRect(kTextLeft, 8, textWidth, line), Qt::AlignLeft | Qt::AlignTop,
               shortenToWidth(m_content.title, QFontMetrics(bold), textWidth));
    p.setFont(font());

    if (m_content.kind == InfoContent::Kind::Item) {
        const QString created = QStringLiteral("Erstellt:");
        const QString modified = QStringLiteral("Bearbeitet:");
        // The values stand at a fixed place unless a label is wider than the room before it.
        const int labels = std::max(fontMetrics().horizontalAdvance(created),
                                    fontMetrics().horizontalAdvance(modified));
        const int valueLeft = std::max(kValueLeft, kTextLeft + labels + 6);
        const auto row = [&](int y, const QString &label, const QString &value) {
            p.drawText(QRect(kTextLeft, y, valueLeft - kTextLeft, line), Qt::AlignLeft | Qt::AlignTop,
                       label);
            p.drawText(QRect(valueLeft, y, std::max(0, w - valueLeft - 8), line),
                       Qt::AlignLeft | Qt::AlignTop, value);
        };
        row(line + 8, created, m_content.created);
        row(2 * line + 8, modified, m_content.modified);
        return;
    }
    int y = line + 8;
    for (const QString &text : wrapToWidth(m_content.note, fontMetrics(), textWidth)) {
        p.drawText(QRect(kTextLeft, y, textWidth, line), Qt::AlignLeft | Qt::AlignTop, text);
        y += fontMetrics().height();
    }
}

} // namespace lexora
