// Button pictures painted with QPainter.
#include "buttonpictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>

namespace kesmora {

namespace {

QPixmap blank(int w, int h) {
    QPixmap p(w, h);
    p.fill(Qt::transparent);
    return p;
}

// An arrow from `from` to `to` with a small filled head at `to`.
void arrow(QPainter& p, QPointF from, QPointF to) {
    p.drawLine(from, to);
    const QPointF d = to - from;
    const double len = std::hypot(d.x(), d.y());
    const QPointF u = d / len, n(-u.y(), u.x());
    QPolygonF head;
    head << to << to - 4 * u + 2.5 * n << to - 4 * u - 2.5 * n;
    p.drawPolygon(head);
}

QIcon cornerArrows(bool outward) {
    QPixmap pm = blank(20, 20);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 128), 1.5));
    p.setBrush(QColor(0, 0, 128));
    const QPointF c(10, 10);
    for (QPointF corner : {QPointF(2, 2), QPointF(18, 2), QPointF(2, 18), QPointF(18, 18)}) {
        const QPointF inner = c + (corner - c) * 0.3;
        if (outward)
            arrow(p, inner, corner);
        else
            arrow(p, corner, inner);
    }
    return QIcon(pm);
}

} // namespace

QIcon enlargePicture() {
    return cornerArrows(true);
}
QIcon reducePicture() {
    return cornerArrows(false);
}

QIcon resetPicture() {
    QPixmap pm = blank(20, 20);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor green(0, 150, 0);
    p.setPen(QPen(green, 2));
    p.setBrush(Qt::NoBrush);
    const QRectF circle(4, 4, 12, 12);
    p.drawArc(circle, 20 * 16, 140 * 16);
    p.drawArc(circle, 200 * 16, 140 * 16);
    p.setBrush(green);
    p.setPen(Qt::NoPen);
    // Heads at the ends of the two arcs, pointing along the turn.
    QPolygonF a, b;
    a << QPointF(2, 8) << QPointF(7, 8) << QPointF(4, 12);
    b << QPointF(18, 12) << QPointF(13, 12) << QPointF(16, 8);
    p.drawPolygon(a);
    p.drawPolygon(b);
    return QIcon(pm);
}

QIcon colourButtonPicture(int vertices, QColor colour) {
    QPixmap pm = blank(22, 22);
    QPainter p(&pm);
    for (int i = 0; i < 3; ++i) {
        p.fillRect(QRect(2, 2 + i * 6, 7, 5), colour);
        p.setPen(Qt::black);
        p.drawRect(QRect(2, 2 + i * 6, 6, 4));
    }
    QFont f;
    f.setPixelSize(vertices >= 10 ? 9 : 11);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRect(9, 0, 13, 22), Qt::AlignCenter, QString::number(vertices));
    return QIcon(pm);
}

} // namespace kesmora
