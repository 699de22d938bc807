// The animation sprites: seven kinds in the ten player colours, each a horizontal strip of
// equal frames. The sprite does not travel over the map: the motion is inside the frames,
// around the anchor point that the kind's offset puts into each frame.

#include "ArtOutput.h"
#include "InterfaceArtParts.h"

#include "app/ResourceNames.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

namespace {

using resources::SpriteKind;

// Deterministic scatter for debris and smoke: the same frame always looks the same.
double scatter(int seed)
{
    quint32 x = static_cast<quint32>(seed) * 2654435761u + 0x9e3779b9u;
    x ^= x >> 15;
    x *= 2246822519u;
    x ^= x >> 13;
    return (x % 10000) / 10000.0;
}

QColor mix(const QColor &a, const QColor &b, double t)
{
    t = qBound(0.0, t, 1.0);
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t);
}

void fireball(QPainter &p, QPointF centre, double radius, double heat)
{
    QRadialGradient glow(centre, radius);
    glow.setColorAt(0.0, mix(QColor(255, 250, 210), QColor(255, 180, 60), 1 - heat));
    glow.setColorAt(0.5, mix(QColor(255, 190, 50), QColor(210, 80, 30), 1 - heat));
    glow.setColorAt(1.0, mix(QColor(230, 90, 20), QColor(120, 50, 30), 1 - heat));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(centre, radius, radius);
}

void smokePuff(QPainter &p, QPointF centre, double radius, const QColor &tone)
{
    QRadialGradient shade(centre - QPointF(radius * 0.3, radius * 0.3), radius * 1.3);
    shade.setColorAt(0.0, tone.lighter(150));
    shade.setColorAt(1.0, tone.darker(130));
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawEllipse(centre, radius, radius);
}

// Smoke in the player's colour, greyed so that it reads as smoke.
QColor smokeTone(int colour)
{
    return mix(spriteColour(colour), QColor(150, 150, 150), 0.45);
}

// ---- 1: nuke (anchor at 30, 40) ----
void nukeFrame(QPainter &p, int frame, int colour)
{
    const double t = (frame - 1) / 26.0;
    const QPointF ground(34, 76);
    const QColor smoke = smokeTone(colour);
    if (t < 0.12) {
        fireball(p, ground - QPointF(0, 4), 6 + t * 120, 1.0);
        return;
    }
    const double rise = qMin(1.0, (t - 0.12) / 0.5);
    const double capY = 66 - rise * 40;
    const double capR = 8 + rise * 17;
    const double fade = qMax(0.0, (t - 0.7) / 0.3); // the cloud thins out at the end
    // The stem.
    QPainterPath stem;
    stem.moveTo(ground.x() - 7 - rise * 3, ground.y());
    stem.cubicTo(ground.x() - 4, capY + 20, ground.x() - 5, capY + 8, ground.x() - 4, capY);
    stem.lineTo(ground.x() + 4, capY);
    stem.cubicTo(ground.x() + 5, capY + 8, ground.x() + 4, capY + 20, ground.x() + 7 + rise * 3, ground.y());
    stem.closeSubpath();
    QLinearGradient stemFill(0, capY, 0, ground.y());
    stemFill.setColorAt(0, mix(QColor(255, 160, 60), smoke, fade + 0.3));
    stemFill.setColorAt(1, mix(QColor(200, 80, 40), smoke, fade + 0.5));
    p.setPen(Qt::NoPen);
    p.setBrush(stemFill);
    if (fade < 0.9)
        p.drawPath(stem);
    // The base ring of dust, spreading flat along the ground.
    const double baseWidth = 8 + rise * 18 - fade * 10;
    p.save();
    p.translate(ground + QPointF(0, 2));
    p.scale(1.0, 0.4);
    smokePuff(p, QPointF(0, 0), baseWidth, smoke);
    p.restore();
    // The cap: a hot core inside rolling smoke.
    const int puffs = 9;
    for (int i = 0; i < puffs; ++i) {
        if (scatter(i * 7 + 3) < fade)
            continue;
        const double a = i * 2 * M_PI / puffs + t * 1.5;
        const QPointF at(ground.x() + std::cos(a) * capR * 0.8, capY + std::sin(a) * capR * 0.45);
        smokePuff(p, at, capR * 0.45, smoke);
    }
    if (fade < 0.6)
        fireball(p, QPointF(ground.x(), capY), capR * (0.7 - fade), 1.0 - rise * 0.7);
}

// ---- 2: explosion (anchor at 30, 50) ----
void explosionFrame(QPainter &p, int frame, int colour)
{
    const double t = (frame - 1) / 16.0;
    const QPointF centre(32, 58);
    const QColor smoke = smokeTone(colour);
    if (t > 0.35) { // smoke rising after the blast
        const double s = (t - 0.35) / 0.65;
        for (int i = 0; i < 6; ++i) {
            if (scatter(i * 13 + 1) < s - 0.3)
                continue;
            const QPointF at(centre.x() - 14 + scatter(i) * 28, centre.y() - s * 40 - scatter(i + 40) * 16);
            smokePuff(p, at, 7 + s * 6 * scatter(i + 9), smoke);
        }
    }
    if (t < 0.75) { // the burst with its spikes
        const double r = t < 0.25 ? 6 + t * 90 : 28 - (t - 0.25) * 40;
        QPainterPath burst;
        const int spikes = 12;
        for (int i = 0; i < spikes * 2; ++i) {
            const double rr = i % 2 == 0 ? r * (1.0 + 0.35 * scatter(i + frame)) : r * 0.6;
            const double a = i * M_PI / spikes;
            const QPointF point(centre.x() + rr * std::cos(a), centre.y() + rr * std::sin(a));
            i == 0 ? burst.moveTo(point) : burst.lineTo(point);
        }
        burst.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(mix(QColor(255, 200, 40), QColor(200, 60, 20), t * 1.3));
        p.drawPath(burst);
        fireball(p, centre, r * 0.65, 1.0 - t);
    }
    // Debris thrown out.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 45, 30));
    for (int i = 0; i < 8 && t > 0.1; ++i) {
        const double a = -M_PI * scatter(i * 3 + 5);
        const double d = t * 46 * (0.5 + scatter(i * 5 + 2));
        const QPointF at(centre.x() + std::cos(a) * d, centre.y() + std::sin(a) * d + t * t * 30);
        p.drawRect(QRectF(at, QSizeF(2.5, 2.5)));
    }
}

// A helicopter seen from the side, facing right, centred on (0, 0); `size` 1 is the large one.
void helicopter(QPainter &p, QPointF at, double size, int frame, int colour, bool large)
{
    const QColor body = spriteColour(colour);
    const QColor light = body.lighter(170);
    const QColor metal(70, 74, 80);
    p.save();
    p.translate(at);
    p.scale(size, size);
    p.setPen(QPen(light, 1.2));
    // Tail boom and fin.
    p.setBrush(body.darker(115));
    QPainterPath tail;
    tail.moveTo(-14, -4);
    tail.lineTo(-50, -7);
    tail.lineTo(-50, -2);
    tail.lineTo(-14, 4);
    tail.closeSubpath();
    p.drawPath(tail);
    QPainterPath fin;
    fin.moveTo(-46, -6);
    fin.lineTo(-54, -18);
    fin.lineTo(-49, -18);
    fin.lineTo(-42, -6);
    fin.closeSubpath();
    p.drawPath(fin);
    // Fuselage with its windows.
    QLinearGradient shade(0, -14, 0, 12);
    shade.setColorAt(0, body.lighter(140));
    shade.setColorAt(1, body.darker(140));
    p.setBrush(shade);
    if (large)
        p.drawRoundedRect(QRectF(-26, -13, 60, 24), 11, 11);
    else
        p.drawEllipse(QRectF(-18, -12, 34, 22));
    p.setBrush(QColor(150, 200, 230));
    p.setPen(QPen(QColor(200, 220, 235), 1));
    if (large) {
        p.drawChord(QRectF(18, -11, 16, 14), 0, 120 * 16);
        for (int i = 0; i < 3; ++i)
            p.drawRect(QRectF(-16 + i * 10, -7, 6, 5));
    } else {
        p.drawChord(QRectF(2, -11, 14, 14), 0, 140 * 16);
    }
    // Skids.
    p.setPen(QPen(metal.lighter(160), 1.6));
    const double skidY = large ? 17 : 15;
    p.drawLine(QPointF(-14, skidY), QPointF(24, skidY));
    p.drawLine(QPointF(-6, skidY), QPointF(-8, large ? 11 : 9));
    p.drawLine(QPointF(14, skidY), QPointF(12, large ? 11 : 9));
    // Rotor mast and the spinning blades: their visible length turns with the frame.
    p.setPen(QPen(metal.lighter(200), 2));
    const double mastTop = large ? -19 : -17;
    p.drawLine(QPointF(2, large ? -13 : -11), QPointF(2, mastTop));
    const double turn = std::cos(frame * 2.1);
    const double reach = (large ? 44 : 26) * (0.55 + 0.45 * std::abs(turn));
    p.setPen(QPen(QColor(200, 205, 212), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(2 - reach, mastTop), QPointF(2 + reach, mastTop));
    // The tail rotor, a small disc.
    p.setPen(QPen(QColor(200, 205, 212), 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(-52, -10), 5 * std::abs(std::sin(frame * 1.7)) + 1.5, 5);
    p.restore();
}

// ---- 3: large helicopter (anchor at 150, 40): flies in from the left and settles ----
void largeHelicopterFrame(QPainter &p, int frame, int colour)
{
    const double t = (frame - 1) / 11.0;
    const double ease = 1 - (1 - t) * (1 - t);
    helicopter(p, QPointF(80 + ease * 70, 22 + ease * 18), 1.3, frame, colour, true);
}

// ---- 4: small helicopter (anchor at 20, 30): hovers, three frames of its rotor ----
void smallHelicopterFrame(QPainter &p, int frame, int colour)
{
    helicopter(p, QPointF(29, 33 + (frame == 2 ? 1 : 0)), 0.5, frame * 2 + 1, colour, false);
}

// ---- 5 and 6: rocket (anchor at 40, 200): launches and curves away to one side ----
void rocketFrame(QPainter &p, int frame, int colour, int side)
{
    const double t = (frame - 1) / 12.0;
    const double height = t * t * 230 + t * 20;
    const QPointF nose(40 + side * t * t * 36, 186 - height);
    const double tilt = side * t * 32; // degrees away from vertical
    const QColor band = spriteColour(colour);
    // The smoke trail along the path already flown.
    for (int i = 0; i < 10; ++i) {
        const double s = t * i / 10.0;
        const double h = s * s * 230 + s * 20;
        const QPointF at(40 + side * s * s * 36 + (scatter(i + frame) - 0.5) * 4, 200 - h + 14);
        if (at.y() > 214 || at.y() < nose.y() + 24)
            continue;
        smokePuff(p, at, 3 + (t - s) * 14, QColor(175, 175, 178));
    }
    p.save();
    p.translate(nose);
    p.rotate(tilt);
    // Flame under the tail.
    QPainterPath flame;
    const double flameLength = 12 + 8 * scatter(frame * 11);
    flame.moveTo(-4, 28);
    flame.quadTo(0, 28 + flameLength * 1.4, 4, 28);
    flame.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 170, 40));
    p.drawPath(flame);
    p.setBrush(QColor(255, 240, 170));
    p.drawEllipse(QPointF(0, 31), 2.5, 4);
    // Body, nose cone, fins and the band in the player's colour.
    p.setPen(QPen(QColor(120, 124, 130), 1));
    p.setBrush(QColor(226, 228, 232));
    p.drawRoundedRect(QRectF(-4.5, 4, 9, 24), 2, 2);
    QPainterPath cone;
    cone.moveTo(-4.5, 5);
    cone.quadTo(0, -8, 4.5, 5);
    cone.closeSubpath();
    p.setBrush(band.lighter(130));
    p.drawPath(cone);
    p.setBrush(band);
    p.drawRect(QRectF(-4.5, 14, 9, 4));
    for (int s : {-1, 1}) {
        QPainterPath fin;
        fin.moveTo(s * 4.5, 20);
        fin.lineTo(s * 10, 30);
        fin.lineTo(s * 4.5, 28);
        fin.closeSubpath();
        p.drawPath(fin);
    }
    p.restore();
    // The launch flash on the first frames.
    if (t < 0.2)
        fireball(p, QPointF(40, 204), 10 - t * 30, 1.0);
}

// ---- 7: propeller plane (anchor at 87, 50): passes low over the anchor ----
void planeFrame(QPainter &p, int frame, int colour)
{
    const double t = (frame - 1) / 13.0;
    const double x = 22 + t * 130;
    const double y = 40 - 16 * (2 * t - 1) * (2 * t - 1) + 4;
    const QColor body = spriteColour(colour);
    p.save();
    p.translate(x, y);
    p.rotate(t < 0.5 ? 4 : -4);
    p.setPen(QPen(body.lighter(180), 1));
    // Tail plane and fin.
    p.setBrush(body.darker(110));
    QPainterPath fin;
    fin.moveTo(-30, -2);
    fin.lineTo(-38, -14);
    fin.lineTo(-32, -14);
    fin.lineTo(-22, -3);
    fin.closeSubpath();
    p.drawPath(fin);
    // Fuselage.
    QLinearGradient shade(0, -7, 0, 7);
    shade.setColorAt(0, body.lighter(150));
    shade.setColorAt(1, body.darker(130));
    p.setBrush(shade);
    QPainterPath hull;
    hull.moveTo(-36, -2);
    hull.cubicTo(-20, -8, 14, -8, 26, -4);
    hull.lineTo(26, 4);
    hull.cubicTo(10, 8, -20, 6, -36, 1);
    hull.closeSubpath();
    p.drawPath(hull);
    // Wing, cockpit, wheels.
    p.setBrush(body.lighter(125));
    p.drawRoundedRect(QRectF(-8, -2, 20, 5), 2, 2);
    p.setBrush(QColor(150, 200, 230));
    p.drawChord(QRectF(4, -10, 14, 10), 0, 180 * 16);
    p.setPen(QPen(QColor(90, 92, 96), 1.5));
    p.drawLine(QPointF(4, 5), QPointF(6, 11));
    p.setBrush(QColor(60, 62, 66));
    p.drawEllipse(QPointF(6, 12), 2.5, 2.5);
    // The propeller: a blurred disc with one blade drawn at the frame's angle.
    p.setPen(QPen(QColor(210, 212, 216), 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(28, 0), 2, 11);
    const double blade = 11 * std::cos(frame * 2.4);
    p.setPen(QPen(QColor(230, 232, 236), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(28, -blade), QPointF(28, blade));
    p.restore();
}

void drawFrame(QPainter &p, int kind, int frame, int colour)
{
    switch (kind) {
    case 1:
        nukeFrame(p, frame, colour);
        break;
    case 2:
        explosionFrame(p, frame, colour);
        break;
    case 3:
        largeHelicopterFrame(p, frame, colour);
        break;
    case 4:
        smallHelicopterFrame(p, frame, colour);
        break;
    case 5:
        rocketFrame(p, frame, colour, -1);
        break;
    case 6:
        rocketFrame(p, frame, colour, 1);
        break;
    case 7:
        planeFrame(p, frame, colour);
        break;
    default:
        break;
    }
}

QImage drawStrip(int kind, int colour)
{
    const SpriteKind &shape = resources::kSpriteKinds[kind];
    QImage strip(shape.width * shape.frames, shape.height, QImage::Format_ARGB32);
    QPainter stripPainter(&strip);
    for (int frame = 1; frame <= shape.frames; ++frame) {
        const QImage picture = keyedPicture(shape.width, shape.height, shape.transparent,
                                            [&](QPainter &p) { drawFrame(p, kind, frame, colour); });
        stripPainter.drawImage((frame - 1) * shape.width, 0, picture);
    }
    return strip;
}

} // namespace

void writeSpriteStrips(ArtOutput &out)
{
    for (int kind = 1; kind <= resources::kSpriteKindCount; ++kind)
        for (int colour = 1; colour <= 10; ++colour)
            out.addResourceImage(resources::spriteStripPath(kind, colour).mid(2), drawStrip(kind, colour));
}
