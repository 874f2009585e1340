#include "wizard/wizard_icons.h"

#include <QPainter>
#include <QPainterPath>

namespace vorpane {

namespace {

constexpr int kIconSize = 32;

template <typename Paint> QIcon drawnIcon(Paint paint)
{
    QIcon icon;
    for (int size : { 16, 24, kIconSize }) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / qreal(kIconSize), size / qreal(kIconSize));
        paint(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void die(QPainter& p, const QRectF& r, const QList<QPointF>& pips, const QColor& face)
{
    p.setPen(QPen(QColor(40, 40, 40), 1.6));
    p.setBrush(face);
    p.drawRoundedRect(r, 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 30, 30));
    for (const QPointF& pip : pips)
        p.drawEllipse(QPointF(r.left() + pip.x() * r.width(), r.top() + pip.y() * r.height()), 1.7, 1.7);
}

} // namespace

QIcon diceIcon()
{
    return drawnIcon([](QPainter& p) {
        die(p, QRectF(2, 10, 17, 17), { { 0.25, 0.25 }, { 0.5, 0.5 }, { 0.75, 0.75 } },
            QColor(245, 240, 225));
        die(p, QRectF(13, 3, 17, 17), { { 0.28, 0.28 }, { 0.72, 0.28 }, { 0.28, 0.72 }, { 0.72, 0.72 } },
            QColor(200, 40, 40));
    });
}

QIcon undoIcon()
{
    return drawnIcon([](QPainter& p) {
        QPainterPath arc;
        arc.moveTo(9, 12);
        arc.cubicTo(15, 5, 29, 8, 27, 19);
        arc.cubicTo(26, 25, 20, 27, 15, 26);
        p.setPen(QPen(QColor(40, 90, 160), 3.4, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(arc);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 90, 160));
        p.drawPolygon(QPolygonF({ QPointF(3, 13), QPointF(13, 5), QPointF(14, 17) }));
    });
}

QIcon quillIcon()
{
    return drawnIcon([](QPainter& p) {
        QPainterPath feather;
        feather.moveTo(6, 27);
        feather.cubicTo(10, 14, 18, 6, 28, 3);
        feather.cubicTo(26, 12, 18, 22, 6, 27);
        p.setPen(QPen(QColor(90, 70, 40), 1.2));
        p.setBrush(QColor(235, 225, 200));
        p.drawPath(feather);
        p.setPen(QPen(QColor(60, 45, 25), 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4, 30), QPointF(20, 12));
    });
}

QPixmap readyPicture(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    // An envelope closed with a red seal.
    p.setPen(QPen(QColor(110, 90, 60), 1.5));
    p.setBrush(QColor(240, 228, 200));
    p.drawRect(QRectF(6, 16, 52, 34));
    p.drawPolyline(QPolygonF({ QPointF(6, 16), QPointF(32, 36), QPointF(58, 16) }));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(170, 30, 30));
    p.drawEllipse(QPointF(32, 36), 7.5, 7.5);
    p.setBrush(QColor(200, 60, 50));
    p.drawEllipse(QPointF(31, 35), 4, 4);
    return pixmap;
}

} // namespace vorpane
