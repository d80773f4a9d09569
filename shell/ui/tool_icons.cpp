#include "shell/ui/tool_icons.h"
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace orv {

namespace {

constexpr int kSize = 24;

void Draw(QPainter& p, int index)
{
    const QPen ink(QColor(30, 30, 30), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(ink);
    p.setBrush(Qt::NoBrush);
    switch (index) {
    case 1: {   // freeform: a wavy stroke
        QPainterPath path(QPointF(3, 18));
        path.cubicTo(8, 2, 12, 24, 21, 6);
        p.drawPath(path);
        break;
    }
    case 2: p.drawEllipse(QRectF(3, 6, 18, 12)); break;
    case 3: p.drawRect(QRectF(4, 6, 16, 12)); break;
    case 4:
        p.setBrush(QColor(30, 90, 170));
        p.drawRect(QRectF(4, 6, 16, 12));
        break;
    case 5: p.drawLine(QPointF(4, 20), QPointF(20, 4)); break;
    case 6:   // chalk: a thick stroke with speckles
        p.setPen(QPen(QColor(90, 90, 90), 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5, 17), QPointF(17, 9));
        p.setPen(QPen(QColor(30, 30, 30), 1.5));
        for (QPointF s : {QPointF(20, 15), QPointF(8, 5), QPointF(13, 20), QPointF(3, 11), QPointF(21, 5)})
            p.drawPoint(s);
        break;
    case 7: {   // fill: a tipped bucket pouring
        p.setBrush(QColor(200, 200, 200));
        p.drawPolygon(QPolygonF({QPointF(4, 10), QPointF(12, 3), QPointF(19, 10), QPointF(11, 17)}));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 90, 170));
        p.drawEllipse(QRectF(16, 14, 6, 8));
        break;
    }
    case 8:   // pick colour: a dropper
        p.drawLine(QPointF(5, 19), QPointF(15, 9));
        p.setBrush(QColor(30, 30, 30));
        p.drawEllipse(QRectF(14, 3, 7, 7));
        break;
    case 9:   // zoom: a magnifier
        p.drawEllipse(QRectF(4, 4, 11, 11));
        p.setPen(QPen(QColor(30, 30, 30), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(14, 14), QPointF(20, 20));
        break;
    case 10:   // eraser: a tilted block
        p.setBrush(QColor(240, 150, 160));
        p.drawPolygon(QPolygonF({QPointF(3, 15), QPointF(12, 6), QPointF(20, 12), QPointF(11, 21)}));
        break;
    case 11: {   // text: a serif A
        QFont f(QStringLiteral("DejaVu Serif"));
        f.setPixelSize(20);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, QStringLiteral("A"));
        break;
    }
    case 12:   // effects: a star
        p.setBrush(QColor(240, 190, 40));
        p.drawPolygon(QPolygonF({QPointF(12, 2), QPointF(15, 9), QPointF(22, 9), QPointF(16, 14),
                                 QPointF(18, 21), QPointF(12, 17), QPointF(6, 21), QPointF(8, 14),
                                 QPointF(2, 9), QPointF(9, 9)}));
        break;
    case 13:   // polygon: an open pentagon
        p.drawPolygon(QPolygonF({QPointF(12, 3), QPointF(21, 10), QPointF(17, 20), QPointF(7, 20), QPointF(3, 10)}));
        break;
    default: break;
    }
}

} // namespace

QIcon ToolIcon(int index)
{
    // Drawn once for each usual device pixel ratio, so that a scaled display shows the icon
    // drawn at its own resolution instead of an enlarged small one.
    QIcon icon;
    for (const qreal ratio : {1.0, 1.25, 1.5, 2.0, 3.0}) {
        QPixmap pix(QSize(kSize, kSize) * ratio);
        pix.setDevicePixelRatio(ratio);
        pix.fill(Qt::transparent);
        QPainter p(&pix);
        p.setRenderHint(QPainter::Antialiasing);
        Draw(p, index);
        p.end();
        icon.addPixmap(pix);
    }
    return icon;
}

} // namespace orv
