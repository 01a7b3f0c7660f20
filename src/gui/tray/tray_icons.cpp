#include "tray/tray_icons.h"

#include "support/drawn_icon.h"

#include <QPainter>
#include <QPainterPath>

namespace lexora {

namespace {

// A small card in the tray, standing for one entry.
void card(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(QColor(60, 60, 60), 0.8));
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.setPen(QPen(QColor(70, 110, 190), 0.9));
    for (qreal y = r.top() + 2; y < r.bottom() - 0.5; y += 2)
        p.drawLine(QPointF(r.left() + 1.5, y), QPointF(r.right() - 1.5, y));
}

} // namespace

QIcon trayIcon(TrayImage image)
{
    switch (image) {
    case TrayImgDelete:
        return drawnIcon([](QPainter &p) {
            card(p, QRectF(1.5, 1.5, 9, 11));
            p.setPen(QPen(QColor(200, 30, 30), 2.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(8.5, 8.5), QPointF(14, 14));
            p.drawLine(QPointF(14, 8.5), QPointF(8.5, 14));
        });
    case TrayImgGoTo:
        return drawnIcon([](QPainter &p) {
            card(p, QRectF(1.5, 1.5, 9, 11));
            p.setPen(QPen(QColor(30, 120, 40), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawLine(QPointF(6.5, 11.5), QPointF(14, 11.5));
            QPainterPath head;
            head.moveTo(11, 8.5);
            head.lineTo(14, 11.5);
            head.lineTo(11, 14.5);
            p.drawPath(head);
        });
    case TrayImgClear:
        return drawnIcon([](QPainter &p) {
            // An empty tray with a broom sweeping it.
            p.setPen(QPen(QColor(120, 70, 30), 0.8));
            p.setBrush(QColor(200, 140, 80));
            p.drawRect(QRectF(1.5, 9.5, 13, 5));
            p.setPen(QPen(QColor(120, 80, 40), 1.4, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(13.5, 1.5), QPointF(7.5, 8));
            p.setPen(QPen(QColor(200, 160, 40), 0.8));
            p.setBrush(QColor(240, 200, 80));
            QPainterPath broom;
            broom.moveTo(7, 6.5);
            broom.lineTo(9, 8.5);
            broom.lineTo(5.5, 12);
            broom.lineTo(2.5, 11);
            broom.closeSubpath();
            p.drawPath(broom);
        });
    }
    return {};
}

} // namespace lexora
