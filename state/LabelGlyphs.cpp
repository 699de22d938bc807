#include "state/LabelGlyphs.h"

#include <QString>

#include <cstdlib>

namespace {

constexpr int kGlyphWidth = 6;
constexpr int kGlyphHeight = 9;

// Bold digits, two pixels per stroke, so they stay readable when the picture is scaled down.
const char *const kDigits[10][kGlyphHeight] = {
    {".####.", "##..##", "##..##", "##..##", "##..##", "##..##", "##..##", "##..##", ".####."},
    {"..##..", ".###..", "####..", "..##..", "..##..", "..##..", "..##..", "..##..", "######"},
    {".####.", "##..##", "....##", "....##", "...##.", "..##..", ".##...", "##....", "######"},
    {".####.", "##..##", "....##", "....##", "..###.", "....##", "....##", "##..##", ".####."},
    {"...##.", "..###.", ".####.", "##.##.", "##.##.", "######", "...##.", "...##.", "...##."},
    {"######", "##....", "##....", "#####.", "....##", "....##", "....##", "##..##", ".####."},
    {".####.", "##..##", "##....", "#####.", "##..##", "##..##", "##..##", "##..##", ".####."},
    {"######", "....##", "....##", "...##.", "...##.", "..##..", "..##..", ".##...", ".##..."},
    {".####.", "##..##", "##..##", "##..##", ".####.", "##..##", "##..##", "##..##", ".####."},
    {".####.", "##..##", "##..##", "##..##", ".#####", "....##", "....##", "##..##", ".####."},
};

void putPixel(QImage &image, int x, int y, QRgb colour, const QRect &clip)
{
    if (!clip.contains(x, y) || x < 0 || y < 0 || x >= image.width() || y >= image.height())
        return;
    reinterpret_cast<QRgb *>(image.scanLine(y))[x] = colour;
}

void fillBlock(QImage &image, int x, int y, int k, QRgb colour, const QRect &clip)
{
    for (int dy = 0; dy < k; ++dy)
        for (int dx = 0; dx < k; ++dx)
            putPixel(image, x + dx, y + dy, colour, clip);
}

void drawDigits(QImage &image, const QString &digits, int left, int top, int k, QRgb colour, const QRect &clip)
{
    for (int i = 0; i < digits.size(); ++i) {
        const char *const *glyph = kDigits[digits.at(i).unicode() - '0'];
        const int glyphLeft = left + i * (kGlyphWidth + 1) * k;
        for (int gy = 0; gy < kGlyphHeight; ++gy)
            for (int gx = 0; gx < kGlyphWidth; ++gx)
                if (glyph[gy][gx] == '#')
                    fillBlock(image, glyphLeft + gx * k, top + gy * k, k, colour, clip);
    }
}

} // namespace

QSize numberSize(int value, int k)
{
    const int digits = QString::number(qMax(0, value)).size();
    return QSize((digits * (kGlyphWidth + 1) - 1) * k, kGlyphHeight * k);
}

QPoint numberCentreFor(const QPoint &label, int k, const QSize &picture, const QRect &panel)
{
    // A label off the picture (a picture cut smaller than its map) belongs to no territory shown.
    if (!QRect(QPoint(0, 0), picture).contains(label))
        return label;
    const QSize size = numberSize(999, k);
    const QPoint corner(label.x() - size.width() / 2, label.y() - size.height() / 2);
    QRect box(corner, size + QSize(1, 1));
    // Off the panel with room for the coast line the picture draws round it.
    constexpr int kPanelGap = 3;
    if (box.intersects(panel.adjusted(0, -kPanelGap, 0, kPanelGap))) {
        const int down = panel.bottom() + 1 + kPanelGap - box.top();
        const int up = box.bottom() + 1 + kPanelGap - panel.top();
        box.translate(0, down <= up ? down : -up);
    }
    box.moveLeft(qBound(0, box.left(), qMax(0, picture.width() - box.width())));
    box.moveTop(qBound(0, box.top(), qMax(0, picture.height() - box.height())));
    return label + (box.topLeft() - corner);
}

void drawNumber(QImage &image, int cx, int cy, int value, int k, QRgb colour, bool withShadow, QRgb shadow,
                const QRect &clip)
{
    const QString digits = QString::number(qMax(0, value));
    const QSize size = numberSize(value, k);
    const int left = cx - size.width() / 2;
    const int top = cy - size.height() / 2;
    if (withShadow)
        drawDigits(image, digits, left + 1, top + 1, k, shadow, clip);
    drawDigits(image, digits, left, top, k, colour, clip);
}

void drawMark(QImage &image, MarkShape shape, int cx, int cy, int size, QRgb fill, QRgb outline, const QRect &clip)
{
    const int half = qMax(1, size / 2);
    for (int dy = -half; dy <= half; ++dy) {
        for (int dx = -half; dx <= half; ++dx) {
            bool inside = false;
            bool edge = false;
            switch (shape) {
            case MarkShape::Square:
                inside = true;
                edge = std::abs(dx) == half || std::abs(dy) == half;
                break;
            case MarkShape::Triangle: {
                // Apex up: the row at dy spans |dx| <= (dy + half) / 2.
                const int reach = (dy + half) / 2;
                inside = std::abs(dx) <= reach;
                edge = inside && (std::abs(dx) == reach || dy == half);
                break;
            }
            case MarkShape::Cross: {
                const int d1 = std::abs(dx - dy);
                const int d2 = std::abs(dx + dy);
                inside = d1 <= 2 || d2 <= 2;
                edge = inside && !(d1 <= 1 || d2 <= 1);
                break;
            }
            }
            if (inside)
                putPixel(image, cx + dx, cy + dy, edge ? outline : fill, clip);
        }
    }
}
