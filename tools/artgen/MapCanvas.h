#pragma once
// The picture of one map while it is drawn: who owns every pixel (sea, land no one holds, or a
// territory), where the labels stand, and which territories are neighbours. Shared by the steps
// that shape the land (MapLand.cpp), grow and part the territories (MapTerritories.cpp) and draw
// the links (MapLinks.cpp).

#include "state/GameState.h"
#include "state/LabelGlyphs.h"

#include <QPoint>
#include <QRect>

#include <array>
#include <cmath>
#include <utility>
#include <vector>

namespace map_canvas {

constexpr qint16 kWater = -1;
constexpr qint16 kNoOwner = 0; // land no territory holds

using Pair = std::pair<int, int>;

inline quint32 pairKey(int a, int b)
{
    return static_cast<quint32>(qMin(a, b)) << 16 | static_cast<quint32>(qMax(a, b));
}

// Which way a picture wraps: a link may run off one edge and on at the other only there.
struct Wrap {
    bool across = false; // left and right edges
    bool down = false;   // top and bottom edges
};

// A yes or no for every two territories, answered in one step.
class PairTable {
public:
    explicit PairTable(int count = 0)
        : size_(count + 1), bits_(static_cast<size_t>(size_) * size_, 0)
    {
    }
    void set(int a, int b)
    {
        bits_[index(a, b)] = 1;
        bits_[index(b, a)] = 1;
    }
    bool has(int a, int b) const { return bits_[index(a, b)] != 0; }

private:
    size_t index(int a, int b) const { return static_cast<size_t>(a) * size_ + b; }
    int size_;
    std::vector<quint8> bits_;
};

struct Canvas {
    int width = 0;
    int height = 0;
    double scale = 1.0;
    std::vector<qint16> owner; // kWater, kNoOwner or a territory
    // The pixels round each label that its territory keeps whatever happens: its army number
    // and a margin, so the number never touches a border.
    std::vector<qint16> reserve;
    std::array<QPoint, kMaxTerritories + 1> seeds{};
    // Where the game draws each army number: at its seed, unless that is off the picture or
    // under the player panel.
    std::array<QPoint, kMaxTerritories + 1> numbers{};
    int count = 0;
    std::vector<Pair> pairs;        // the neighbours, each pair once, lower number first
    PairTable neighbours;           // the same pairs, for quick questions
    Wrap wrap;

    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    size_t index(int x, int y) const { return static_cast<size_t>(y) * width + x; }
    qint16 &at(int x, int y) { return owner[index(x, y)]; }
    qint16 at(int x, int y) const { return owner[index(x, y)]; }
    bool areNeighbours(int a, int b) const { return a == b || neighbours.has(a, b); }
    // A length at the design size in picture pixels.
    int pixels(double design) const { return static_cast<int>(std::ceil(design * scale - 1e-9)); }
};

// The army number at its widest (three digits) round a label, in picture pixels, where the
// painter centres it; the glyphs keep their size in every picture set.
inline QRect numberBox(QPoint label)
{
    const QSize size = numberSize(999, 1);
    return QRect(QPoint(label.x() - size.width() / 2, label.y() - size.height() / 2), size);
}

// How many steps (to any of the eight pixels round) each pixel of a width x height picture lies
// from the nearest pixel marked in `sources`, up to 255.
std::vector<quint8> stepsFrom(int width, int height, const std::vector<quint8> &sources);

} // namespace map_canvas
