#include "Icons.h"

#include <QPainter>
#include <QPainterPath>

QImage drawProgramIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 64.0;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x40, 0x50, 0x80));
    p.drawEllipse(QRectF(2 * s, 2 * s, 60 * s, 60 * s));
    QPainterPath hill;
    hill.moveTo(6 * s, 48 * s);
    hill.cubicTo(20 * s, 30 * s, 44 * s, 30 * s, 58 * s, 48 * s);
    hill.arcTo(QRectF(2 * s, 2 * s, 60 * s, 60 * s), -30, -120);
    p.setBrush(QColor(0x10, 0x60, 0x40));
    p.drawPath(hill);
    p.setBrush(QColor(0xe0, 0xd8, 0xc0));
    p.drawRect(QRectF(31 * s, 12 * s, 2.5 * s, 26 * s));
    QPainterPath flag;
    flag.moveTo(33.5 * s, 13 * s);
    flag.lineTo(50 * s, 18 * s);
    flag.lineTo(33.5 * s, 23 * s);
    flag.closeSubpath();
    p.setBrush(QColor(0xa3, 0x32, 0x32));
    p.drawPath(flag);
    return image;
}
