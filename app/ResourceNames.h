#pragma once
// The names of the interface's compiled-in pictures and of the sound files, and the shape of
// every sprite strip. The build's picture and sound generator and the program both read them
// here, so a name can never differ between the file made and the file looked for.

#include <QRgb>
#include <QString>
#include <QStringList>

#include <array>

namespace resources {

inline const QString kProgramIcon = QStringLiteral(":/tifb/Tarvan.ico");
inline const QString kMenuStrip1 = QStringLiteral(":/tifb/menu1a.png");
inline const QString kMenuStrip1Red = QStringLiteral(":/tifb/menu1aRed.png");
inline const QString kMenuStrip2 = QStringLiteral(":/tifb/menu2a.png");
inline const QString kMenuStrip2Red = QStringLiteral(":/tifb/menu2aRed.png");
// The same buttons for the compact layout, whose buttons are far taller than wide ones: one cell
// per row of the strips above, kTallCellScale times as high, so that no label is stretched.
inline const QString kMenuStrip1Tall = QStringLiteral(":/tifb/menu1aTall.png");
inline const QString kMenuStrip1TallRed = QStringLiteral(":/tifb/menu1aTallRed.png");
inline const QString kMenuStrip2Tall = QStringLiteral(":/tifb/menu2aTall.png");
inline const QString kMenuStrip2TallRed = QStringLiteral(":/tifb/menu2aTallRed.png");

// The strips hold one button per kStripCellHeight pixels, in cells kStripCellWidth wide; the
// button itself takes the cell's first kStripButtonWidth pixels, the part of a scaled cell that
// every wide screen shows within its click area. A tall strip's button fills its whole cell.
constexpr int kStripCellWidth = 210;
constexpr int kStripCellHeight = 30;
constexpr int kStripButtonWidth = 118;
constexpr int kTallCellScale = 4;
// The status bar's Cards button: a small button of its own in the second strip.
constexpr int kBarCellY = 270;
constexpr int kBarCellWidth = 60;

// The player colours as the sprite pictures name them, players 1 to 10.
inline const std::array<const char *, 11> kColourWords = {
    "", "blauw", "rood", "geel", "groen", "bruin", "paars", "roze", "oranje", "olijf", "grijs"};

// One kind of sprite animation: a horizontal strip of equal frames.
struct SpriteKind {
    const char *stem;
    int frames;      // frames in the strip
    int width;       // of one frame
    int height;
    int offsetX;     // the frame's top-left corner relative to the anchor point
    int offsetY;
    QRgb transparent; // the strip's background colour, masked out when drawn
};

// Kinds 1 to 7: nuke, explosion, large helicopter, small helicopter, rocket left and right,
// propeller plane.
inline const std::array<SpriteKind, 8> kSpriteKinds = {{
    {"", 0, 0, 0, 0, 0, 0},
    {"nuke", 27, 78, 90, -30, -40, 0xff000000},
    {"groot", 17, 71, 100, -30, -50, 0xffff00ff},
    {"heli", 12, 216, 80, -150, -40, 0xff000000},
    {"helikl", 3, 50, 60, -20, -30, 0xffffffff},
    {"rocket0l", 13, 87, 216, -40, -200, 0xff000000},
    {"rocket0r", 13, 87, 216, -40, -200, 0xff000000},
    {"prop", 14, 173, 61, -87, -50, 0xff000000},
}};
constexpr int kSpriteKindCount = 7;

// ":/tifc/" + stem + colour word + ".png"; the orange explosion is the one exception.
inline QString spriteStripPath(int kind, int colour)
{
    if (kind < 1 || kind > kSpriteKindCount || colour < 1 || colour > 10)
        return QString();
    if (kind == 2 && colour == 8)
        return QStringLiteral(":/tifc/grootgeel2.png");
    return QStringLiteral(":/tifc/%1%2.png")
        .arg(QLatin1String(kSpriteKinds[kind].stem), QLatin1String(kColourWords[colour]));
}

// The insignia of the thirteen ranks, "Private" (1) to "General of the Army" (13).
inline const std::array<const char *, 14> kRankInsigniaFiles = {
    "", "Privatea", "Private1a", "Corporala", "Sergeanta", "Lieutenanta", "Captaina", "Majora",
    "Colonela", "Generalba", "Generalma", "Generalla", "Generala", "GeneraloftheArmy"};

inline QString rankInsigniaPath(int rank)
{
    if (rank < 1 || rank > 13)
        return QString();
    return QStringLiteral(":/tifd/%1.png").arg(QLatin1String(kRankInsigniaFiles[rank]));
}

// The card pictures by card kind (CardWild 0, CardCavalry 1, CardInfantry 2, CardArtillery 3)
// and the back of a card.
inline const std::array<const char *, 4> kCardFiles = {"cardWild", "cardCavalry", "cardInfantry",
                                                       "cardArtillery"};
inline const QString kCardBack = QStringLiteral(":/tifd/cardBack.png");
constexpr int kCardWidth = 72;
constexpr int kCardHeight = 108;

inline QString cardPicturePath(int cardKind)
{
    if (cardKind < 0 || cardKind > 3)
        return QString();
    return QStringLiteral(":/tifd/%1.png").arg(QLatin1String(kCardFiles[cardKind]));
}

// The sound files, played from the "sounds" folder of the working folder (and compiled in as
// copies under ":/sounds/").
inline QStringList soundFileNames()
{
    QStringList names = {QStringLiteral("aanval2.wav"),  QStringLiteral("aanval3.wav"),
                         QStringLiteral("plaatsen9.wav"), QStringLiteral("schuiven4.wav"),
                         QStringLiteral("volgendesp3.wav"), QStringLiteral("wdveroverd.wav"),
                         QStringLiteral("overwinning.wav"), QStringLiteral("prop.wav"),
                         QStringLiteral("helis3.wav"),   QStringLiteral("oooh2.wav"),
                         QStringLiteral("missile3.wav"), QStringLiteral("nuke4.wav"),
                         QStringLiteral("sonar.wav")};
    // The small helicopter of each player colour.
    for (int colour = 1; colour <= 10; ++colour)
        names.append(QStringLiteral("heli%1.wav").arg(colour));
    return names;
}

} // namespace resources
