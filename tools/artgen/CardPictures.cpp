// The card pictures: infantry, cavalry, artillery, the wild card and the back of a card.

#include "ArtOutput.h"
#include "InterfaceArtParts.h"

#include "app/ResourceNames.h"
#include "state/GameState.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QtMath>

namespace {

constexpr int kW = resources::kCardWidth;
constexpr int kH = resources::kCardHeight;
const QColor kInk(0x2a, 0x22, 0x1a);

void cardFace(QPainter &p, const QColor &accent)
{
    QLinearGradient paper(0, 0, kW, kH);
    paper.setColorAt(0, QColor(0xf6, 0xec, 0xd2));
    paper.setColorAt(1, QColor(0xe2, 0xd2, 0xaa));
    p.setPen(QPen(QColor(0x6a, 0x55, 0x38), 2));
    p.setBrush(paper);
    p.drawRoundedRect(QRectF(1, 1, kW - 2, kH - 2), 7, 7);
    p.setPen(QPen(accent, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(5, 5, kW - 10, kH - 10), 5, 5);
}

void caption(QPainter &p, const QString &text)
{
    p.setFont(interfaceFont(10));
    p.setPen(kInk);
    p.drawText(QRectF(4, kH - 24, kW - 8, 16), Qt::AlignCenter, text);
}

void infantry(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(34, 24), 6, 6);                        // head
    p.drawChord(QRectF(26, 14, 16, 12), 0, 180 * 16);            // helmet
    p.drawRoundedRect(QRectF(28, 31, 13, 24), 3, 3);             // body
    p.drawRect(QRectF(29, 54, 5, 22));                           // legs
    p.drawRect(QRectF(35, 54, 5, 22));
    p.drawRect(QRectF(26, 75, 9, 3));
    p.drawRect(QRectF(34, 75, 9, 3));
    p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(40, 36), QPointF(46, 48));                 // arm
    p.setPen(QPen(QColor(0x5a, 0x3c, 0x1e), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(50, 16), QPointF(42, 64));                 // rifle
}

void cavalry(QPainter &p)
{
    // A horse's head and neck, as on a chess knight.
    QPainterPath horse;
    horse.moveTo(22, 78);
    horse.cubicTo(20, 60, 26, 46, 30, 38);
    horse.cubicTo(24, 40, 16, 46, 14, 42);
    horse.cubicTo(12, 36, 22, 26, 30, 20);
    horse.lineTo(32, 12);
    horse.lineTo(37, 19);
    horse.cubicTo(50, 20, 58, 34, 56, 52);
    horse.cubicTo(55, 64, 52, 72, 52, 78);
    horse.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawPath(horse);
    p.setBrush(QColor(0xf0, 0xe4, 0xc6));
    p.drawEllipse(QPointF(31, 28), 2, 2); // eye
    p.setPen(QPen(QColor(0x8a, 0x5a, 0x2a), 3));
    p.drawLine(QPointF(38, 22), QPointF(55, 40)); // mane
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawRect(QRectF(16, 78, 42, 5));
}

void artillery(QPainter &p)
{
    p.save();
    p.translate(36, 50);
    p.rotate(-20);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawRoundedRect(QRectF(-24, -5, 46, 11), 4, 4); // barrel
    p.drawEllipse(QPointF(-24, 0), 7, 7);             // breech
    p.restore();
    p.setPen(QPen(kInk, 3));
    p.setBrush(QColor(0x9a, 0x6a, 0x36));
    p.drawEllipse(QPointF(30, 62), 13, 13); // wheel
    for (int i = 0; i < 4; ++i) {
        const double a = i * M_PI / 4;
        p.drawLine(QPointF(30 - 12 * std::cos(a), 62 - 12 * std::sin(a)),
                   QPointF(30 + 12 * std::cos(a), 62 + 12 * std::sin(a)));
    }
    p.setBrush(kInk);
    for (int i = 0; i < 3; ++i)
        p.drawEllipse(QPointF(50 + i * 5, 74), 2.5, 2.5); // cannon balls
}

void wild(QPainter &p)
{
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 == 0 ? 24 : 10;
        const double angle = -M_PI / 2 + i * M_PI / 5;
        const QPointF point(36 + r * std::cos(angle), 48 + r * std::sin(angle));
        i == 0 ? path.moveTo(point) : path.lineTo(point);
    }
    path.closeSubpath();
    p.setPen(QPen(kInk, 2));
    p.setBrush(QColor(0xd8, 0x9a, 0x24));
    p.drawPath(path);
    p.setFont(interfaceFont(9));
    p.setPen(kInk);
    p.drawText(QRectF(4, 10, kW - 8, 12), Qt::AlignCenter, QStringLiteral("ANY"));
}

void back(QPainter &p)
{
    QLinearGradient fill(0, 0, kW, kH);
    fill.setColorAt(0, QColor(0x3a, 0x4c, 0x7a));
    fill.setColorAt(1, QColor(0x16, 0x20, 0x3c));
    p.setPen(QPen(QColor(0xd8, 0xc8, 0x90), 2));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(1, 1, kW - 2, kH - 2), 7, 7);
    p.setPen(QPen(QColor(0x6a, 0x80, 0xb0), 1));
    for (int d = -kH; d < kW + kH; d += 8) {
        p.drawLine(QPointF(d, 6), QPointF(d + kH, kH + 6 - 12));
        p.drawLine(QPointF(d + kH, 6), QPointF(d, kH + 6 - 12));
    }
    p.setPen(QPen(QColor(0xd8, 0xc8, 0x90), 2));
    p.setBrush(QColor(0x22, 0x30, 0x58));
    p.drawEllipse(QPointF(kW / 2.0, kH / 2.0), 18, 18);
    p.setFont(interfaceFont(14));
    p.drawText(QRectF(0, kH / 2.0 - 10, kW, 20), Qt::AlignCenter, QStringLiteral("GX"));
}

QImage drawCard(const std::function<void(QPainter &)> &draw)
{
    QImage card(kW, kH, QImage::Format_ARGB32);
    card.fill(Qt::transparent);
    QPainter p(&card);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    draw(p);
    return card;
}

} // namespace

void writeCardPictures(ArtOutput &out)
{
    const auto face = [](const QColor &accent, void (*picture)(QPainter &), const char *name) {
        return drawCard([=](QPainter &p) {
            cardFace(p, accent);
            picture(p);
            caption(p, QString::fromLatin1(name));
        });
    };
    out.addResourceImage(resources::cardPicturePath(CardInfantry).mid(2),
                         face(QColor(0x40, 0x60, 0x30), infantry, "Infantry"));
    out.addResourceImage(resources::cardPicturePath(CardCavalry).mid(2),
                         face(QColor(0x70, 0x40, 0x20), cavalry, "Cavalry"));
    out.addResourceImage(resources::cardPicturePath(CardArtillery).mid(2),
                         face(QColor(0x30, 0x40, 0x70), artillery, "Artillery"));
    out.addResourceImage(resources::cardPicturePath(CardWild).mid(2),
                         face(QColor(0x90, 0x60, 0x10), wild, "Wild"));
    out.addResourceImage(resources::kCardBack.mid(2), drawCard(back));
}
