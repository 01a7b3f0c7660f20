#include "update/step_list.h"

#include <QPainter>

namespace lexora {

namespace {

const QColor kStart(155, 183, 230);
constexpr int kLeft = 16;
constexpr int kTop = 16;
constexpr int kRowHeight = 56;

// Per channel from the start colour at x = 0 to white at x = width, in whole steps.
int channel(int start, int x, int width)
{
    return start + (255 - start) * x / width;
}

} // namespace

StepList::StepList(QStringList titles, QWidget *parent)
    : QWidget(parent), m_titles(std::move(titles))
{
    setAccessibleName(QStringLiteral("Schritte des Assistenten"));
}

void StepList::setCurrent(int step)
{
    m_current = step;
    if (step >= 0 && step < m_titles.size())
        setAccessibleDescription(m_titles[step]);
    update();
}

void StepList::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int w = std::max(1, width());
    for (int x = 0; x <= w; ++x) {
        painter.setPen(QColor(channel(kStart.red(), x, w), channel(kStart.green(), x, w),
                              channel(kStart.blue(), x, w)));
        painter.drawLine(x, 0, x, height());
    }
    QFont plain = font();
    plain.setPointSize(10);
    QFont current = plain;
    current.setBold(true);
    current.setItalic(true);
    painter.setPen(Qt::black);
    const int ascent = QFontMetrics(plain).ascent();
    for (int i = 0; i < m_titles.size(); ++i) {
        painter.setFont(i == m_current ? current : plain);
        painter.drawText(kLeft, kTop + kRowHeight * i + ascent, m_titles[i]);
    }
}

} // namespace lexora
