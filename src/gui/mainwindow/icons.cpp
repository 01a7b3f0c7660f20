#include "mainwindow/icons.h"

#include "setup/desktop_registration.h"
#include "support/drawn_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>

#include <cmath>
#include <functional>

namespace lexora {

namespace {

using Drawing = std::function<void(QPainter &)>;

const QColor kOutline(60, 60, 60);

void folder(QPainter &p, bool open)
{
    p.setPen(QPen(QColor(150, 110, 20), 0.8));
    p.setBrush(QColor(240, 200, 80));
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(6, 3.5);
    back.lineTo(7.5, 5);
    back.lineTo(14.5, 5);
    back.lineTo(14.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    p.drawPath(back);
    if (open) {
        p.setBrush(QColor(255, 225, 130));
        QPainterPath front;
        front.moveTo(1.5, 13.5);
        front.lineTo(4, 7.5);
        front.lineTo(15.5, 7.5);
        front.lineTo(13, 13.5);
        front.closeSubpath();
        p.drawPath(front);
    } else {
        p.drawLine(QPointF(1.5, 6.5), QPointF(14.5, 6.5));
    }
}

void page(QPainter &p, const QRectF &r, const QColor &fill = Qt::white)
{
    p.setPen(QPen(kOutline, 0.8));
    p.setBrush(fill);
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 3, r.top());
    path.lineTo(r.right(), r.top() + 3);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - 3, r.top()), QPointF(r.right() - 3, r.top() + 3));
    p.drawLine(QPointF(r.right() - 3, r.top() + 3), QPointF(r.right(), r.top() + 3));
}

void textLines(QPainter &p, qreal left, qreal right, qreal top, int count, const QColor &c)
{
    p.setPen(QPen(c, 0.9));
    for (int i = 0; i < count; ++i)
        p.drawLine(QPointF(left, top + 2 * i), QPointF(right - (i % 2) * 2, top + 2 * i));
}

void star(QPainter &p, const QPointF &centre, qreal radius)
{
    p.setPen(QPen(QColor(200, 140, 0), 0.7));
    p.setBrush(QColor(255, 215, 0));
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const qreal r = (i % 2) ? radius * 0.45 : radius;
        const qreal a = -M_PI / 2 + i * M_PI / 5;
        const QPointF pt(centre.x() + r * std::cos(a), centre.y() + r * std::sin(a));
        i ? path.lineTo(pt) : path.moveTo(pt);
    }
    path.closeSubpath();
    p.drawPath(path);
}

// A curved arrow that turns back to the left (undo) or on to the right (redo).
void turnArrow(QPainter &p, bool right)
{
    if (right) {
        p.translate(16, 0);
        p.scale(-1, 1);
    }
    const QColor blue(40, 90, 170);
    p.setPen(QPen(blue, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath curve;
    curve.moveTo(4.5, 6.5);
    curve.cubicTo(QPointF(10, 4), QPointF(15, 8), QPointF(11, 13.5));
    p.drawPath(curve);
    p.setPen(Qt::NoPen);
    p.setBrush(blue);
    QPainterPath head;
    head.moveTo(1, 6.5);
    head.lineTo(6, 2.5);
    head.lineTo(6, 10.5);
    head.closeSubpath();
    p.drawPath(head);
}

void window(QPainter &p, const QRectF &r, const QColor &title)
{
    p.setPen(QPen(kOutline, 0.8));
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.setPen(Qt::NoPen);
    p.setBrush(title);
    p.drawRect(QRectF(r.left() + 0.4, r.top() + 0.4, r.width() - 0.8, 2.6));
}

Drawing drawingFor(ImageIndex index)
{
    switch (index) {
    case ImgKey:
        return [](QPainter &p) { folder(p, false); };
    case ImgKeyOpen:
        return [](QPainter &p) { folder(p, true); };
    case ImgItem:
        return [](QPainter &p) {
            page(p, QRectF(3, 1.5, 10, 13));
            textLines(p, 5, 11, 6, 4, QColor(70, 110, 190));
        };
    case ImgDelete:
        return [](QPainter &p) {
            p.setPen(QPen(QColor(200, 30, 30), 2.6, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
            p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
        };
    case ImgNew:
        return [](QPainter &p) {
            page(p, QRectF(2.5, 2.5, 9.5, 12.5));
            star(p, QPointF(11.5, 4.5), 4);
        };
    case ImgOpen:
        return [](QPainter &p) {
            folder(p, true);
            p.setPen(QPen(QColor(30, 120, 40), 1.6, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(10, 4.5), QPointF(13.5, 1.5));
            p.drawLine(QPointF(13.5, 1.5), QPointF(11, 1.5));
            p.drawLine(QPointF(13.5, 1.5), QPointF(13.5, 4));
        };
    case ImgSave:
        return [](QPainter &p) {
            p.setPen(QPen(QColor(20, 40, 90), 0.8));
            p.setBrush(QColor(60, 100, 190));
            p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1, 1);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(4, 1.5, 8, 5));
            p.setBrush(QColor(200, 200, 200));
            p.drawRect(QRectF(4.5, 9.5, 7, 5));
            p.setBrush(QColor(60, 100, 190));
            p.drawRect(QRectF(9.5, 2.5, 1.5, 3));
        };
    case ImgSearch:
        return [](QPainter &p) {
            p.setPen(QPen(QColor(90, 60, 30), 2.4, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
            p.setPen(QPen(kOutline, 1.3));
            p.setBrush(QColor(200, 230, 255));
            p.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
        };
    case ImgNewWindow:
        return [](QPainter &p) {
            window(p, QRectF(1.5, 4.5, 10, 9), QColor(120, 120, 120));
            window(p, QRectF(5.5, 1.5, 9.5, 8.5), QColor(50, 90, 180));
        };
    case ImgHideMainWindow:
        return [](QPainter &p) {
            window(p, QRectF(1.5, 1.5, 13, 11), QColor(50, 90, 180));
            p.setPen(QPen(QColor(30, 120, 40), 1.8, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(8, 6), QPointF(8, 14));
            p.drawLine(QPointF(8, 14), QPointF(5.5, 11.5));
            p.drawLine(QPointF(8, 14), QPointF(10.5, 11.5));
        };
    case ImgCopyText:
        return [](QPainter &p) {
            page(p, QRectF(1.5, 1.5, 8.5, 10.5));
            page(p, QRectF(6, 4.5, 8.5, 10.5));
            textLines(p, 7.5, 12.5, 8, 3, QColor(70, 110, 190));
        };
    case ImgCopyCode:
        return [](QPainter &p) {
            page(p, QRectF(1.5, 1.5, 8.5, 10.5));
            page(p, QRectF(6, 4.5, 8.5, 10.5), QColor(235, 235, 235));
            p.setPen(QPen(QColor(160, 40, 120), 1.1, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(9, 8.5), QPointF(7.5, 10.5));
            p.drawLine(QPointF(7.5, 10.5), QPointF(9, 12.5));
            p.drawLine(QPointF(11.5, 8.5), QPointF(13, 10.5));
            p.drawLine(QPointF(13, 10.5), QPointF(11.5, 12.5));
        };
    case ImgTray:
        return [](QPainter &p) {
            p.setPen(QPen(QColor(120, 70, 30), 0.8));
            p.setBrush(QColor(200, 140, 80));
            p.drawRect(QRectF(1.5, 5.5, 13, 8.5));
            p.setBrush(QColor(230, 180, 110));
            QPainterPath flap;
            flap.moveTo(1.5, 5.5);
            flap.lineTo(4, 2.5);
            flap.lineTo(12, 2.5);
            flap.lineTo(14.5, 5.5);
            flap.closeSubpath();
            p.drawPath(flap);
            p.setBrush(QColor(120, 70, 30));
            p.drawRect(QRectF(6, 8, 4, 1.5));
        };
    case ImgUndo:
        return [](QPainter &p) { turnArrow(p, false); };
    case ImgRedo:
        return [](QPainter &p) { turnArrow(p, true); };
    }
    return {};
}

} // namespace

QIcon imageListIcon(ImageIndex index)
{
    return drawnIcon(drawingFor(index));
}

QIcon applicationIcon()
{
    // The same picture the desktop shows for the program.
    QSvgRenderer renderer(programIconSvg());
    return drawnIcon([&renderer](QPainter &p) { renderer.render(&p, QRectF(0, 0, 16, 16)); });
}

} // namespace lexora
