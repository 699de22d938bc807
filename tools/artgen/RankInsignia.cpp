// The thirteen rank insignia: chevrons for the ranks, bars for the officers, a leaf and wings
// for the field officers and stars for the generals. Black is their background: the rank
// dialog masks it out after scaling.

#include "ArtOutput.h"
#include "InterfaceArtParts.h"

#include "app/ResourceNames.h"

#include <QPainterPath>
#include <QtMath>

namespace {

constexpr int kSize = 64;
const QColor kGold(0xe6, 0xb8, 0x3c);
const QColor kGoldEdge(0xff, 0xe8, 0x9a);
const QColor kSilver(0xc8, 0xd0, 0xdc);
const QColor kSilverEdge(0xf4, 0xf8, 0xff);

void chevron(QPainter &p, double y)
{
    QPainterPath path;
    path.moveTo(8, y + 10);
    path.lineTo(32, y - 6);
    path.lineTo(56, y + 10);
    path.lineTo(56, y + 17);
    path.lineTo(32, y + 1);
    path.lineTo(8, y + 17);
    path.closeSubpath();
    p.setPen(QPen(kGoldEdge, 1.6));
    p.setBrush(kGold);
    p.drawPath(path);
}

void rocker(QPainter &p, double y)
{
    QPainterPath path;
    path.moveTo(8, y);
    path.quadTo(32, y + 14, 56, y);
    path.lineTo(56, y + 7);
    path.quadTo(32, y + 21, 8, y + 7);
    path.closeSubpath();
    p.setPen(QPen(kGoldEdge, 1.6));
    p.setBrush(kGold);
    p.drawPath(path);
}

void bar(QPainter &p, double x, double width)
{
    p.setPen(QPen(kSilverEdge, 1.6));
    p.setBrush(kSilver);
    p.drawRoundedRect(QRectF(x, 12, width, 40), 2.5, 2.5);
}

void star(QPainter &p, QPointF centre, double radius)
{
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 == 0 ? radius : radius * 0.42;
        const double angle = -M_PI / 2 + i * M_PI / 5;
        const QPointF point(centre.x() + r * std::cos(angle), centre.y() + r * std::sin(angle));
        i == 0 ? path.moveTo(point) : path.lineTo(point);
    }
    path.closeSubpath();
    p.setPen(QPen(kSilverEdge, 1.2));
    p.setBrush(kSilver);
    p.drawPath(path);
}

void leaf(QPainter &p)
{
    QPainterPath path;
    path.moveTo(32, 6);
    path.cubicTo(50, 14, 54, 36, 32, 52);
    path.cubicTo(10, 36, 14, 14, 32, 6);
    p.setPen(QPen(kGoldEdge, 1.6));
    p.setBrush(kGold);
    p.drawPath(path);
    p.setPen(QPen(kGoldEdge, 2.0));
    p.drawLine(QPointF(32, 12), QPointF(32, 60));
    for (int i = 0; i < 3; ++i) {
        const double y = 20 + i * 9;
        p.drawLine(QPointF(32, y + 4), QPointF(24, y));
        p.drawLine(QPointF(32, y + 4), QPointF(40, y));
    }
}

void wings(QPainter &p)
{
    p.setPen(QPen(kSilverEdge, 1.4));
    p.setBrush(kSilver);
    for (int side : {-1, 1}) {
        QPainterPath wing;
        wing.moveTo(32, 30);
        wing.cubicTo(32 + side * 10, 14, 32 + side * 22, 10, 32 + side * 29, 12);
        wing.cubicTo(32 + side * 24, 20, 32 + side * 24, 26, 32 + side * 27, 30);
        wing.cubicTo(32 + side * 20, 34, 32 + side * 16, 40, 32, 42);
        wing.closeSubpath();
        p.drawPath(wing);
    }
    p.drawEllipse(QPointF(32, 24), 5, 6);
    QPainterPath tail;
    tail.moveTo(27, 40);
    tail.lineTo(37, 40);
    tail.lineTo(40, 54);
    tail.lineTo(24, 54);
    tail.closeSubpath();
    p.drawPath(tail);
}

void stars(QPainter &p, int count)
{
    const double radius = count <= 2 ? 12 : count == 3 ? 10 : 8;
    const double spacing = (kSize - 8.0) / count;
    for (int i = 0; i < count; ++i)
        star(p, QPointF(4 + spacing * (i + 0.5), 32), radius);
}

void fiveStarCircle(QPainter &p)
{
    for (int i = 0; i < 5; ++i) {
        const double angle = -M_PI / 2 + i * 2 * M_PI / 5;
        star(p, QPointF(32 + 19 * std::cos(angle), 33 + 19 * std::sin(angle)), 9);
    }
}

void drawInsignia(QPainter &p, int rank)
{
    switch (rank) {
    case 1:
        chevron(p, 24);
        break;
    case 2:
        chevron(p, 16);
        rocker(p, 40);
        break;
    case 3:
        chevron(p, 14);
        chevron(p, 32);
        break;
    case 4:
        chevron(p, 8);
        chevron(p, 24);
        chevron(p, 40);
        break;
    case 5:
        bar(p, 26, 12);
        break;
    case 6:
        bar(p, 16, 12);
        bar(p, 36, 12);
        break;
    case 7:
        leaf(p);
        break;
    case 8:
        wings(p);
        break;
    case 13:
        fiveStarCircle(p);
        break;
    default:
        stars(p, rank - 8); // 9..12: one to four stars
        break;
    }
}

} // namespace

void writeRankInsignia(ArtOutput &out)
{
    for (int rank = 1; rank <= 13; ++rank) {
        const QImage picture = keyedPicture(kSize, kSize, 0xff000000,
                                            [rank](QPainter &p) { drawInsignia(p, rank); });
        out.addResourceImage(resources::rankInsigniaPath(rank).mid(2), picture);
    }
}
