// The side-menu strips: one button per 30 pixels of height, a normal strip and its pressed
// (red) twin for each of the two menus. The paint handler cuts cell (0, y, 210, 30) out of a
// strip and scales it into the panel.

#include "ArtOutput.h"
#include "InterfaceArtParts.h"

#include "app/ResourceNames.h"

#include <QLinearGradient>
#include <QPainterPath>

#include <vector>

namespace {

constexpr int kCellWidth = 210;
constexpr int kCellHeight = 30;
// The paint handler scales a cell to 1.21 times the panel's width, and on a small screen lets the
// second column cover the first from 58 % of a cell: the button keeps to the part always seen.
constexpr int kButtonRight = 118;

enum class Look { Normal, Pressed, Disabled };

struct Cell {
    int y;
    const char *label;
    Look look;      // the look in the normal strip
    int textLeft;   // the label is centred in [textLeft, textRight)
    int textRight;
    int bodyRight;  // the button is drawn from x 0 to here
};

Cell plain(int y, const char *label)
{
    return {y, label, Look::Normal, 0, kButtonRight, kButtonRight};
}

Cell disabled(int y, const char *label)
{
    return {y, label, Look::Disabled, 0, kButtonRight, kButtonRight};
}

// On a small screen two rows of the first strip are cut from x 70 and 75: their label stands
// where both those cuts and the plain cut of a large screen show it whole, and the button ends
// inside the part a large screen shows of a cell.
Cell wideRow(int y, const char *label)
{
    return {y, label, Look::Normal, 75, 170, 172};
}

// The Cards cell doubles as the status bar's 60-pixel button: its label stays in that part.
Cell cardsRow(int y, Look look)
{
    return {y, "Cards", look, 2, 60, kButtonRight};
}

const std::vector<Cell> &menu1Cells()
{
    static const std::vector<Cell> cells = {
        plain(0, "Single Player"),   plain(30, "Multiplayer"),      plain(60, "Load Game"),
        plain(90, "Options"),        plain(120, "Scores"),          plain(150, "Rank"),
        plain(180, "Info"),          plain(210, "Quit"),            plain(240, "Single Map Game"),
        plain(270, "High Score Game"), plain(300, "Move Up in Rank"), plain(330, "Campaign Game"),
        plain(360, "Demo Mode"),     plain(390, "Quick Launch"),    plain(420, "Back"),
        plain(450, "Game Speed"),    plain(480, "Colors"),          wideRow(510, "Display Animations"),
        plain(540, "Sound"),         plain(570, "Personalities"),   plain(600, "Player Names"),
        wideRow(630, "Hosting Internet Games"), plain(660, "Back"), plain(690, "Launch"),
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
        cardsRow(390, Look::Normal), plain(420, "Move"),   plain(450, "Add"),
        plain(480, "Attack"),    plain(510, "Next Player"), plain(540, "Continents"),
        plain(570, "Stats"),     plain(600, "Resume Game"), plain(630, "Save Game"),
        plain(660, "Main Menu"), disabled(690, "Cancel"),  cardsRow(720, Look::Disabled),
        disabled(750, "Move"),   disabled(780, "Add"),     disabled(810, "Attack"),
        disabled(840, "Next Player"), disabled(960, "Save Game"), disabled(990, "Continents"),
        disabled(1020, "Stats"),
    };
    return cells;
}

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

// The largest font, from `largest` pixels down, at which every line fits the width.
QFont fittedFont(const QStringList &lines, int width, int largest)
{
    for (int size = largest; size > 7; --size) {
        const QFont font = interfaceFont(size);
        bool fits = true;
        for (const QString &line : lines)
            fits = fits && QFontMetrics(font).horizontalAdvance(line) <= width;
        if (fits)
            return font;
    }
    return interfaceFont(8);
}

// A label that would need a small font on one line goes on two, split at the blank nearest
// its middle.
QStringList labelLines(const QString &label, int width)
{
    if (fittedFont({label}, width, 16).pixelSize() >= 12 || !label.contains(QLatin1Char(' ')))
        return {label};
    int best = -1;
    for (int i = 0; i < label.size(); ++i)
        if (label[i] == QLatin1Char(' ') && (best < 0 || qAbs(i - label.size() / 2) < qAbs(best - label.size() / 2)))
            best = i;
    return {label.left(best), label.mid(best + 1)};
}

void drawCell(QPainter &p, const Cell &cell, Look look)
{
    const Palette colours = paletteFor(look);
    const QRectF body(1.5, cell.y + 1.5, cell.bodyRight - 3.0, kCellHeight - 3.0);
    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    fill.setColorAt(0.0, colours.top);
    fill.setColorAt(0.45, colours.top.darker(125));
    fill.setColorAt(1.0, colours.bottom);
    p.setPen(QPen(colours.border, 1.2));
    p.setBrush(fill);
    p.drawRoundedRect(body, 6, 6);
    // A thin light line under the top edge gives the button its bevel.
    p.setPen(QPen(colours.top.lighter(150), 1.0));
    p.drawLine(QPointF(body.left() + 6, body.top() + 2), QPointF(body.right() - 6, body.top() + 2));

    const QRect textArea(cell.textLeft + 6, cell.y, cell.textRight - cell.textLeft - 12, kCellHeight);
    const QStringList lines = labelLines(QString::fromLatin1(cell.label), textArea.width());
    const QString label = lines.join(QLatin1Char('\n'));
    p.setFont(fittedFont(lines, textArea.width(), lines.size() == 1 ? 16 : 12));
    p.setPen(colours.shadow);
    p.drawText(textArea.translated(1, 1), Qt::AlignCenter, label);
    p.setPen(colours.text);
    p.drawText(textArea, Qt::AlignCenter, label);
}

QImage drawStrip(int width, int height, const std::vector<Cell> &cells, bool pressed)
{
    QImage strip(width, height, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    for (const Cell &cell : cells)
        drawCell(p, cell, pressed ? Look::Pressed : cell.look);
    return strip;
}

QString resourceAlias(const QString &path)
{
    return path.mid(2); // ":/tifb/..." is listed as "tifb/..."
}

} // namespace

void writeMenuStrips(ArtOutput &out)
{
    out.addResourceImage(resourceAlias(resources::kMenuStrip1), drawStrip(285, 720, menu1Cells(), false));
    out.addResourceImage(resourceAlias(resources::kMenuStrip1Red), drawStrip(285, 720, menu1Cells(), true));
    out.addResourceImage(resourceAlias(resources::kMenuStrip2), drawStrip(210, 1050, menu2Cells(), false));
    out.addResourceImage(resourceAlias(resources::kMenuStrip2Red), drawStrip(210, 1050, menu2Cells(), true));
}
