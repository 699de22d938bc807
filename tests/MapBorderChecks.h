#pragma once
// Measures of one map picture against the current map's neighbour tables: territories that touch
// without being neighbours, neighbours that neither share a border nor have a drawn link, and
// regions too small for their army number. The regions are those the game grows for its hit
// test (`territoryRegions`), so the picture must be installed first.

#include "state/GameState.h"
#include "state/LabelGlyphs.h"
#include "state/MapPicture.h"
#include "state/MapRegions.h"
#include "state/MapView.h"
#include "tools/artgen/MapLinkColours.h"

#include <QHash>
#include <QImage>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cmath>
#include <queue>
#include <vector>

namespace map_borders {

// The rules, in pixels of the design size (954 x 632); the large set is 1.25 times as large.
constexpr double kShortestBorder = 12.0; // two neighbours' visible border
constexpr double kNarrowestWater = 3.0;  // between two territories that are not neighbours
constexpr double kSmallestRegion = 400.0; // square pixels
constexpr double kLongestDashGap = 4.0;   // between two dashes of one link
// Regions across a border line (one pixel on each side) lie 3 pixels apart.
constexpr int kAcrossABorder = 3;

// The army number at its widest (three digits) around a label point, where the painter centres
// it; the glyphs keep their size in the large set.
inline QRect numberBox(QPoint label)
{
    const QSize size = numberSize(999, 1);
    return QRect(QPoint(label.x() - size.width() / 2, label.y() - size.height() / 2), size);
}

inline quint32 pairKey(int a, int b)
{
    return quint32(qMin(a, b)) << 16 | quint32(qMax(a, b));
}

inline QString pairName(quint32 key)
{
    return QStringLiteral("%1-%2").arg(key >> 16).arg(key & 0xffff);
}

// Neighbours as the game reads them: t may attack u when u is in t's list, so a link written
// on one side only is shown too; a territory listing itself is not.
inline QSet<quint32> neighbourPairs()
{
    QSet<quint32> pairs;
    for (int t = 1; t <= territoryCount; ++t)
        for (int i = 1; i <= kMaxNeighbours && territoryNeighbours[t][i] != 0; ++i) {
            const int u = territoryNeighbours[t][i];
            if (u != t && u >= 1 && u <= territoryCount)
                pairs.insert(pairKey(t, u));
        }
    return pairs;
}

// Which way a map's picture wraps: a link may leave one edge and come back at the other only
// there. The world maps and Russia wrap round the globe, Rings round its middle, and SwampII both
// ways, as its edge-joining pairs say.
struct Wrap {
    bool across = false; // left and right edges
    bool down = false;   // top and bottom edges
};

inline Wrap wrapOf(const QString &mapName)
{
    const QString name = mapName.trimmed();
    if (name == QLatin1String("SwampII"))
        return {true, true};
    for (const char *wrapping : {"World", "WorldII", "RealWorld", "Russia", "Rings"})
        if (name == QLatin1String(wrapping))
            return {true, false};
    return {};
}

class PictureMeasure {
public:
    PictureMeasure(const QImage &picture, double scale, const Wrap &wrap)
        : image_(picture.convertToFormat(QImage::Format_RGB32)), scale_(scale), wrap_(wrap),
          width_(image_.width()), height_(image_.height())
    {
        const TerritoryRegions &regions = territoryRegions();
        owner_.resize(size_t(width_) * height_);
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                owner_[index(x, y)] = quint8(regions.territoryAt(x, y));
        measureGaps();
        followLinks();
    }

    // Two territories that are not neighbours and whose regions are not parted by water.
    QStringList falseContacts(const QSet<quint32> &neighbours) const
    {
        const int narrowest = int(std::ceil(kNarrowestWater * scale_)) + kAcrossABorder;
        QList<quint32> keys;
        for (auto it = gaps_.begin(); it != gaps_.end(); ++it)
            if (!neighbours.contains(it.key()) && it.value().gap < narrowest)
                keys.append(it.key());
        return names(keys);
    }

    // Neighbours without a border of their own and without a link between them.
    QStringList notShown(const QSet<quint32> &neighbours) const
    {
        QList<quint32> keys;
        for (quint32 key : neighbours)
            if (borderLength(key) < kShortestBorder * scale_ && !linked_.contains(key))
                keys.append(key);
        return names(keys);
    }

    // Regions too small to click, and army numbers (where the game draws them) that reach over a
    // border, past the picture's edge or under the player panel.
    QStringList cramped() const
    {
        const TerritoryRegions &regions = territoryRegions();
        const QRect panel = playerPanelArea();
        QStringList out;
        for (int t = 1; t <= territoryCount; ++t) {
            const QRect box = numberBox(armyNumberPoint(t));
            bool clear = true;
            for (int y = box.top(); y <= box.bottom() && clear; ++y)
                for (int x = box.left(); x <= box.right() && clear; ++x)
                    clear = inside(x, y) && !panel.contains(x, y) && regions.territoryAt(x, y) == t;
            if (regions.area(t) < kSmallestRegion * scale_ * scale_)
                out.append(QStringLiteral("%1 (%2 px)").arg(t).arg(regions.area(t)));
            else if (!clear)
                out.append(QStringLiteral("%1 (number on its border)").arg(t));
        }
        return out;
    }

    // Links that run over a third territory's label.
    const QStringList &linkFaults() const { return linkFaults_; }

private:
    struct Gap {
        int gap = 255;
        int facingA = 0; // pixels of the lower territory's border that face the other
        int facingB = 0;
    };

    size_t index(int x, int y) const { return size_t(y) * width_ + x; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    static QStringList names(QList<quint32> keys)
    {
        std::sort(keys.begin(), keys.end());
        QStringList out;
        for (quint32 key : keys)
            out.append(pairName(key));
        return out;
    }

    int borderLength(quint32 key) const
    {
        const auto it = gaps_.find(key);
        if (it == gaps_.end() || it.value().gap > kAcrossABorder)
            return 0;
        return qMin(it.value().facingA, it.value().facingB);
    }

    // Every pixel near a region learns its nearest region and how far it lies; two pixels side
    // by side that are near two different regions tell how close those regions come.
    void measureGaps()
    {
        constexpr int kFarthest = 16;
        near_.assign(owner_.size(), 0);
        distance_.assign(owner_.size(), 255);
        std::vector<size_t> frontier;
        for (size_t p = 0; p < owner_.size(); ++p)
            if (owner_[p] != 0) {
                near_[p] = owner_[p];
                distance_[p] = 0;
                frontier.push_back(p);
            }
        std::vector<size_t> next;
        for (int d = 1; d <= kFarthest && !frontier.empty(); ++d) {
            next.clear();
            for (size_t p : frontier) {
                const int x = int(p % width_);
                const int y = int(p / width_);
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        if (!inside(x + dx, y + dy))
                            continue;
                        const size_t q = index(x + dx, y + dy);
                        if (distance_[q] == 255) {
                            distance_[q] = quint8(d);
                            near_[q] = near_[p];
                            next.push_back(q);
                        }
                    }
            }
            frontier.swap(next);
        }
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                const size_t p = index(x, y);
                const int a = near_[p];
                if (a == 0)
                    continue;
                int facing[8];
                int faced = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        if ((dx == 0 && dy == 0) || !inside(x + dx, y + dy))
                            continue;
                        const size_t q = index(x + dx, y + dy);
                        const int b = near_[q];
                        if (b == 0 || b == a)
                            continue;
                        const int gap = distance_[p] + distance_[q] + 1;
                        Gap &g = gaps_[pairKey(a, b)];
                        g.gap = qMin(g.gap, gap);
                        if (gap <= kAcrossABorder && std::find(facing, facing + faced, b) == facing + faced)
                            facing[faced++] = b;
                    }
                for (int i = 0; i < faced; ++i) {
                    Gap &g = gaps_[pairKey(a, facing[i])];
                    (a < facing[i] ? g.facingA : g.facingB) += 1;
                }
            }
    }

    // The territory whose region lies nearest (x, y), within three pixels: 0 for none, -1 when two
    // lie equally near.
    int regionNear(int x, int y) const
    {
        for (int reach = 0; reach <= 3; ++reach) {
            int found = 0;
            for (int dy = -reach; dy <= reach; ++dy)
                for (int dx = -reach; dx <= reach; ++dx) {
                    if (std::max(std::abs(dx), std::abs(dy)) != reach || !inside(x + dx, y + dy))
                        continue;
                    const int t = owner_[index(x + dx, y + dy)];
                    if (t != 0 && found != 0 && t != found)
                        return -1;
                    if (t != 0)
                        found = t;
                }
            if (found != 0)
                return found;
        }
        return 0;
    }

    // Which edges (bit 1 left, 2 right, 4 top, 8 bottom) a pixel lies on or next to.
    int edgesAt(int x, int y) const
    {
        return (x <= 1 ? 1 : 0) | (x >= width_ - 2 ? 2 : 0) | (y <= 1 ? 4 : 0) | (y >= height_ - 2 ? 8 : 0);
    }

    // One piece of a link: pixels of one shade, each within a dash gap of the next.
    struct Piece {
        int shade;
        std::vector<size_t> pixels;
        size_t ends[2];
    };

    // How far along a piece each of its pixels lies from `start`: the shortest way from pixel to
    // pixel of the piece, jumping no gap wider than a dash gap.
    std::vector<double> along(const Piece &piece, size_t start, const QHash<size_t, int> &where) const
    {
        const int reach = int(std::ceil(kLongestDashGap * scale_)) + 1;
        std::vector<double> distance(piece.pixels.size(), -1.0);
        using Entry = std::pair<double, int>;
        std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
        open.push({0.0, where.value(start)});
        std::vector<quint8> done(piece.pixels.size(), 0);
        while (!open.empty()) {
            const auto [d, i] = open.top();
            open.pop();
            if (done[size_t(i)])
                continue;
            done[size_t(i)] = 1;
            distance[size_t(i)] = d;
            const size_t p = piece.pixels[size_t(i)];
            const int x = int(p % width_);
            const int y = int(p / width_);
            for (int dy = -reach; dy <= reach; ++dy)
                for (int dx = -reach; dx <= reach; ++dx) {
                    if (!inside(x + dx, y + dy))
                        continue;
                    const auto it = where.find(index(x + dx, y + dy));
                    if (it != where.end() && !done[size_t(it.value())])
                        open.push({d + std::hypot(double(dx), double(dy)), it.value()});
                }
        }
        return distance;
    }

    // Cuts the link pixels into pieces, finds each piece's two ends (the pixels farthest apart
    // along it) and what each end reaches: a territory or an edge of the picture. A piece from
    // one territory to another links them; two pieces of one shade that each run from a territory
    // to opposite edges link them round the back where the map wraps.
    void followLinks()
    {
        const int reach = int(std::ceil(kLongestDashGap * scale_)) + 1;
        std::vector<int> shade(owner_.size(), -1);
        for (int y = 0; y < height_; ++y) {
            const QRgb *row = reinterpret_cast<const QRgb *>(image_.constScanLine(y));
            for (int x = 0; x < width_; ++x)
                shade[index(x, y)] = mapLinkOf(row[x]);
        }
        std::vector<quint8> taken(owner_.size(), 0);
        std::vector<Piece> pieces;
        for (size_t start = 0; start < owner_.size(); ++start) {
            if (shade[start] < 0 || taken[start])
                continue;
            Piece piece{shade[start], {start}, {start, start}};
            taken[start] = 1;
            for (size_t i = 0; i < piece.pixels.size(); ++i) {
                const int x = int(piece.pixels[i] % width_);
                const int y = int(piece.pixels[i] / width_);
                for (int dy = -reach; dy <= reach; ++dy)
                    for (int dx = -reach; dx <= reach; ++dx) {
                        if (!inside(x + dx, y + dy))
                            continue;
                        const size_t q = index(x + dx, y + dy);
                        if (!taken[q] && shade[q] == piece.shade) {
                            taken[q] = 1;
                            piece.pixels.push_back(q);
                        }
                    }
            }
            QHash<size_t, int> where;
            for (size_t i = 0; i < piece.pixels.size(); ++i)
                where.insert(piece.pixels[i], int(i));
            // The pixel farthest along the piece from a given one: an end.
            const auto farthestFrom = [&](size_t from) {
                const std::vector<double> distance = along(piece, from, where);
                return piece.pixels[size_t(std::max_element(distance.begin(), distance.end()) - distance.begin())];
            };
            piece.ends[0] = farthestFrom(start);
            piece.ends[1] = farthestFrom(piece.ends[0]);
            pieces.push_back(std::move(piece));
        }

        QHash<int, QList<QPair<int, int>>> toEdges; // shade -> (territory, edges) of pieces
        for (const Piece &piece : pieces) {
            int territory[2] = {0, 0};
            int edges[2] = {0, 0};
            for (int e = 0; e < 2; ++e) {
                const int x = int(piece.ends[e] % width_);
                const int y = int(piece.ends[e] / width_);
                edges[e] = edgesAt(x, y);
                territory[e] = edges[e] != 0 ? 0 : regionNear(x, y);
            }
            const int a = territory[0] > 0 ? territory[0] : territory[1];
            const int b = territory[0] > 0 ? territory[1] : territory[0];
            if (a <= 0)
                continue;
            if (!crossesThirdLabel(piece, a, b > 0 ? b : a)) {
                if (b > 0 && b != a)
                    linked_.insert(pairKey(a, b));
                else if (b == 0)
                    toEdges[piece.shade].append({a, territory[0] > 0 ? edges[1] : edges[0]});
            }
        }
        for (const auto &ends : toEdges)
            for (const auto &one : ends)
                for (const auto &other : ends) {
                    // Left and right, top and bottom, or any two edges of a map that wraps both
                    // ways (a link across a corner leaves by one edge and comes back by another).
                    const bool across = wrap_.across && (one.second & 1) && (other.second & 2);
                    const bool down = wrap_.down && (one.second & 4) && (other.second & 8);
                    const bool corner = wrap_.across && wrap_.down;
                    if (one.first != other.first && (across || down || corner))
                        linked_.insert(pairKey(one.first, other.first));
                }
    }

    bool crossesThirdLabel(const Piece &piece, int a, int b)
    {
        for (size_t p : piece.pixels) {
            const QPoint at(int(p % width_), int(p / width_));
            for (int t = 1; t <= territoryCount; ++t)
                if (t != a && t != b && numberBox(armyNumberPoint(t)).contains(at)) {
                    linkFaults_.append(QStringLiteral("%1-%2 over %3").arg(a).arg(b).arg(t));
                    return true;
                }
        }
        return false;
    }

    QImage image_;
    double scale_;
    Wrap wrap_;
    int width_;
    int height_;
    std::vector<quint8> owner_;
    std::vector<quint8> near_;
    std::vector<quint8> distance_;
    QHash<quint32, Gap> gaps_;
    QSet<quint32> linked_;
    QStringList linkFaults_;
};

} // namespace map_borders
