// The side-menu strips: one button per 30 pixels of height, a normal strip and its pressed
// (red) twin for each of the two menus, and the same buttons in tall cells for the compact
// layout. Every label of a strip set has one size, on as few lines as it needs, so no button's
// label looks smaller or larger than its neighbour's.

#include "ArtOutput.h"
#include "InterfaceArtParts.h"

#include "app/ResourceNames.h"

#include <QLinearGradient>

#include <vector>

namespace {

using resources::kBarCellWidth;
using resources::kBarCellY;
using resources::kStripButtonWidth;
using resources::kStripCellHeight;
using resources::kStripCellWidth;
using resources::kTallCellScale;

enum class Look { Normal, Pressed, Disabled };

struct Cell {
    int y; // the row in the standard strip
    const char *label;
    Look look; // the look in the normal strip
};

Cell plain(int y, const char *label)
{
    return {y, label, Look::Normal};
}

Cell disabled(int y, const char *label)
{
    return {y, label, Look::Disabled};
}

const std::vector<Cell> &menu1Cells()
{
    static const std::vector<Cell> cells = {
        plain(0, "Single Player"),   plain(30, "Multiplayer"),      plain(60, "Load Game"),
        plain(90, "Options"),        plain(120, "Scores"),          plain(150, "Rank"),
        plain(180, "Info"),          plain(210, "Quit"),            plain(240, "Single Map Game"),
        plain(270, "High Score Game"), plain(300, "Move Up in Rank"), plain(330, "Campaign Game"),
        plain(360, "Demo Mode"),     plain(390, "Quick Launch"),    plain(420, "Back"),
        plain(450, "Game Speed"),    plain(480, "Colors"),          plain(510, "Display Animations"),
        plain(540, "Sound"),         plain(570, "Personalities"),   plain(600, "Player Names"),
        plain(630, "Hosting Internet Games"), plain(660, "Back"),   plain(690, "Launch"),
    };
    return cells;
}

const std::vector<Cell> &menu2Cells()
{
    static const std::vector<Cell> cells = {
        plain(0, "Slower"),      plain(30, "Slow"),        plain(60, "Normal"),
        plain(90, "Fast"),       plain(120, "Faster"),     plain(150, "Faster 2"),
        plain(180, "Back"),      plain(210, "Gradient"),   plain(240, "Solid"),
        plain(300, "Back"),      plain(330, "Menu"),       plain(360, "Cancel"),
        plain(390, "Cards"),     plain(420, "Move"),       plain(450, "Add"),
        plain(480, "Attack"),    plain(510, "Next Player"), plain(540, "Continents"),
        plain(570, "Stats"),     plain(600, "Resume Game"), plain(630, "Save Game"),
        plain(660, "Main Menu"), disabled(690, "Cancel"),  disabled(720, "Cards"),
        disabled(750, "Move"),   disabled(780, "Add"),     disabled(810, "Attack"),
        disabled(840, "Next Player"), disabled(960, "Save Game"), disabled(990, "Continents"),
        disabled(1020, "Stats"),
    };
    return cells;
}

// How the cells of a strip set are shaped.
struct Shape {
    int scale;     // a cell of standard row y stands at y * scale and is 30 * scale high
    int bodyWidth; // the button is drawn from x 0 to here
    int maxLines;
    int largestFont;
};
const Shape kStandard{1, kStripButtonWidth, 2, 16};
const Shape kTall{kTallCellScale, kStripCellWidth, 3, 40};

struct Palette {
    QColor top, bottom, border, text, shadow;
};

Palette paletteFor(Look look)
{
    switch (look) {
    case Look::Pressed:
        return {QColor(0xd2, 0x4a, 0x38), QColor(0x62, 0x12, 0x0c), QColor(0xff, 0xc0, 0xa8),
                QColor(0xff, 0xf6, 0xe8), QColor(0x3a, 0x06, 0x04)};
    case Look::Disabled:
        return {QColor(0x3c, 0x3e, 0x42), QColor(0x22, 0x23, 0x26), QColor(0x58, 0x5a, 0x60),
                QColor(0x80, 0x82, 0x88), QColor(0x14, 0x14, 0x16)};
    case Look::Normal:
        break;
    }
    return {QColor(0x4e, 0x63, 0x86), QColor(0x18, 0x22, 0x36), QColor(0x9c, 0xb2, 0xd8),
            QColor(0xee, 0xf2, 0xfa), QColor(0x08, 0x0c, 0x16)};
}

QRectF bodyOf(const Shape &shape, int stripY, int width)
{
    const double inset = 1.5 * shape.scale;
    return QRectF(inset, stripY * shape.scale + inset, width - 2 * inset, kStripCellHeight * shape.scale - 2 * inset);
}

QRect textAreaOf(const QRectF &body, const Shape &shape)
{
    const int margin = 4 * shape.scale;
    return body.toRect().adjusted(margin, 0, -margin, 0);
}

int widestLine(const QStringList &lines, const QFont &font)
{
    int widest = 0;
    for (const QString &line : lines)
        widest = qMax(widest, QFontMetrics(font).horizontalAdvance(line));
    return widest;
}

// The words on `lines` lines (at most one line per word), split where the widest line is
// narrowest.
QStringList splitInto(const QStringList &words, int lines, const QFont &font)
{
    if (lines <= 1 || words.size() <= 1)
        return {words.join(QLatin1Char(' '))};
    QStringList best;
    for (int first = 1; first <= words.size() - (lines - 1); ++first) {
        QStringList candidate{words.mid(0, first).join(QLatin1Char(' '))};
        candidate += splitInto(words.mid(first), lines - 1, font);
        if (best.isEmpty() || widestLine(candidate, font) < widestLine(best, font))
            best = candidate;
    }
    return best;
}

// The label on as few lines as fit the area at this font; empty when none does.
QStringList fittedLines(const QString &label, const QFont &font, const QSize &area, int maxLines)
{
    const QStringList words = label.split(QLatin1Char(' '));
    const int lineHeight = QFontMetrics(font).height();
    for (int lines = 1; lines <= qMin(maxLines, int(words.size())); ++lines) {
        const QStringList split = splitInto(words, lines, font);
        if (widestLine(split, font) <= area.width() && lines * lineHeight <= area.height())
            return split;
    }
    return {};
}

// The largest font at which every label of the strip set fits its button.
QFont commonFont(const Shape &shape)
{
    const QSize area = textAreaOf(bodyOf(shape, 0, shape.bodyWidth), shape).size();
    for (int size = shape.largestFont; size > 6; --size) {
        const QFont font = interfaceFont(size);
        bool fits = true;
        for (const std::vector<Cell> *cells : {&menu1Cells(), &menu2Cells()})
            for (const Cell &cell : *cells)
                fits = fits && !fittedLines(QString::fromLatin1(cell.label), font, area, shape.maxLines).isEmpty();
        if (fits)
            return font;
    }
    return interfaceFont(6);
}

void drawButton(QPainter &p, const QRectF &body, const Shape &shape, const QString &label, const QFont &font, Look look)
{
    const Palette colours = paletteFor(look);
    const double radius = 6.0 * shape.scale;
    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    fill.setColorAt(0.0, colours.top);
    fill.setColorAt(0.45, colours.top.darker(125));
    fill.setColorAt(1.0, colours.bottom);
    p.setPen(QPen(colours.border, 1.2 * shape.scale));
    p.setBrush(fill);
    p.drawRoundedRect(body, radius, radius);
    // A thin light line under the top edge gives the button its bevel.
    p.setPen(QPen(colours.top.lighter(150), 1.0 * shape.scale));
    const double bevelY = body.top() + 2 * shape.scale;
    p.drawLine(QPointF(body.left() + radius, bevelY), QPointF(body.right() - radius, bevelY));

    const QRect area = textAreaOf(body, shape);
    QStringList lines = fittedLines(label, font, area.size(), shape.maxLines);
    if (lines.isEmpty())
        lines = QStringList{label};
    const QString text = lines.join(QLatin1Char('\n'));
    p.setFont(font);
    p.setPen(colours.shadow);
    const int shadow = qMax(1, shape.scale / 2);
    p.drawText(area.translated(shadow, shadow), Qt::AlignCenter, text);
    p.setPen(colours.text);
    p.drawText(area, Qt::AlignCenter, text);
}

QImage blankStrip(int height, const Shape &shape)
{
    QImage strip(kStripCellWidth, height * shape.scale, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    return strip;
}

QImage drawStrip(int height, const std::vector<Cell> &cells, const Shape &shape, bool pressed)
{
    QImage strip = blankStrip(height, shape);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QFont font = commonFont(shape);
    for (const Cell &cell : cells)
        drawButton(p, bodyOf(shape, cell.y, shape.bodyWidth), shape, QString::fromLatin1(cell.label), font,
                   pressed ? Look::Pressed : cell.look);
    return strip;
}

// The status bar's Cards: a small button of its own, drawn 60 x 30 or a little larger.
void drawBarButton(QImage &strip, bool pressed)
{
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF body = bodyOf(kStandard, kBarCellY, kBarCellWidth);
    const QString label = QStringLiteral("Cards");
    QFont font = interfaceFont(16);
    const QSize area = textAreaOf(body, kStandard).size();
    for (int size = 16; size > 6 && fittedLines(label, font, area, 1).isEmpty(); --size)
        font = interfaceFont(size - 1);
    drawButton(p, body, kStandard, label, font, pressed ? Look::Pressed : Look::Normal);
}

QString resourceAlias(const QString &path)
{
    return path.mid(2); // ":/tifb/..." is listed as "tifb/..."
}

} // namespace

void writeMenuStrips(ArtOutput &out)
{
    constexpr int kMenu1Height = 720;
    constexpr int kMenu2Height = 1050;
    for (bool pressed : {false, true}) {
        QImage menu2 = drawStrip(kMenu2Height, menu2Cells(), kStandard, pressed);
        drawBarButton(menu2, pressed);
        out.addResourceImage(resourceAlias(pressed ? resources::kMenuStrip1Red : resources::kMenuStrip1),
                             drawStrip(kMenu1Height, menu1Cells(), kStandard, pressed));
        out.addResourceImage(resourceAlias(pressed ? resources::kMenuStrip2Red : resources::kMenuStrip2), menu2);
        out.addResourceImage(resourceAlias(pressed ? resources::kMenuStrip1TallRed : resources::kMenuStrip1Tall),
                             drawStrip(kMenu1Height, menu1Cells(), kTall, pressed));
        out.addResourceImage(resourceAlias(pressed ? resources::kMenuStrip2TallRed : resources::kMenuStrip2Tall),
                             drawStrip(kMenu2Height, menu2Cells(), kTall, pressed));
    }
}
