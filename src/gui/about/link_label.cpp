#include "about/link_label.h"

#include <QMouseEvent>

namespace lexora {

LinkLabel::LinkLabel(QWidget *parent) : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
    setColor(Qt::blue);
}

QColor LinkLabel::color() const
{
    return palette().color(QPalette::WindowText);
}

void LinkLabel::setColor(const QColor &color)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

void LinkLabel::setUnderline(bool underline)
{
    QFont f = font();
    f.setUnderline(underline);
    setFont(f);
}

void LinkLabel::enterEvent(QEnterEvent *event)
{
    setUnderline(true);
    QLabel::enterEvent(event);
}

void LinkLabel::leaveEvent(QEvent *event)
{
    setUnderline(false);
    QLabel::leaveEvent(event);
}

void LinkLabel::mousePressEvent(QMouseEvent *event)
{
    setColor(Qt::red);
    event->accept();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    setColor(Qt::blue);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
    event->accept();
}

} // namespace lexora
