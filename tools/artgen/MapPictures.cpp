#include "MapPictures.h"

#include "ArtOutput.h"

#include "state/MapPicture.h"
#include "state/MapRegions.h"
#include "state/MapView.h"
#include "state/StateReset.h"

#include <QPainter>
#include <QSet>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <limits>
#include <thread>

namespace {

// Every colour here lies outside `greyTable` and the player colours, so a fill never leaks
// into the sea, across a border or into land that no territory holds.
constexpr QRgb kSeaShades[] = {0xff5b8dab, 0xff4a7c9d, 0xff3b6c8f, 0xff305f82, 0xff295574};
constexpr QRgb kCoast = 0xff1d2b3a;
constexpr QRgb kTerritoryBorder = 0xff3a3e4c;
constexpr QRgb kContinentBorder = 0xff151826;
constexpr QRgb kNoMansLand = 0xff9d9a82;
constexpr QRgb kSeaLink = 0xffd4e2ec;
// Light greys of `greyTable` for the territories, one per continent; touching continents differ.
constexpr QRgb kContinentGreys[] = {0xffc6c6c6, 0xff979797, 0xffacacac, 0xff808080,
                                    0xffc0c0c0, 0xff686868, 0xffc3c3c3, 0xff7f7f7f};
constexpr QRgb kNoContinentGrey = 0xff646464;

// How a map's land is shaped, in design pixels.
struct Shaping {
    double coastNoise;     // how far the coast wanders
    double noiseScale;     // size of its largest bends
    double keepRadius;     // land always kept round a label point
    double seedRadius;     // land grown round a label point (maps without an outline)
    double linkHalfWidth;  // land grown along a link between neighbours (maps without an outline)
    double longestLand;    // links longer than this cross the sea (maps without an outline)
    double smallestLake;   // enclosed water smaller than this (square pixels) becomes land
    double smallestIsland; // land without a territory smaller than this becomes sea
};

constexpr Shaping kOutlineShaping = {3.5, 26.0, 9.0, 0.0, 0.0, 0.0, 60.0, 30.0};
constexpr Shaping kGrownShaping = {7.0, 42.0, 9.0, 25.0, 15.0, 150.0, 260.0, 60.0};

constexpr int kPanelMargin = 6;
constexpr qint16 kWater = -1;
constexpr qint16 kNoOwner = 0;

// ---- Deterministic noise: the same map always gets the same coast ----

quint32 latticeHash(int x, int y, quint32 seed)
{
    quint32 h = static_cast<quint32>(x) * 374761393u + static_cast<quint32>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

double latticeValue(int x, int y, quint32 seed)
{
    return (latticeHash(x, y, seed) & 0xffffu) / 32767.5 - 1.0;
}

double valueNoise(double x, double y, quint32 seed)
{
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    const double fx = x - x0;
    const double fy = y - y0;
    const double sx = fx * fx * (3.0 - 2.0 * fx);
    const double sy = fy * fy * (3.0 - 2.0 * fy);
    const double top = latticeValue(x0, y0, seed) + sx * (latticeValue(x0 + 1, y0, seed) - latticeValue(x0, y0, seed));
    const double bottom =
        latticeValue(x0, y0 + 1, seed) + sx * (latticeValue(x0 + 1, y0 + 1, seed) - latticeValue(x0, y0 + 1, seed));
    return top + sy * (bottom - top);
}

double fractalNoise(double x, double y, quint32 seed)
{
    return valueNoise(x, y, seed) + 0.5 * valueNoise(2.0 * x, 2.0 * y, seed + 1)
        + 0.25 * valueNoise(4.0 * x, 4.0 * y, seed + 2);
}

// ---- The picture being drawn ----

struct Canvas {
    int width = 0;
    int height = 0;
    double scale = 1.0;
    std::vector<qint16> owner; // kWater, kNoOwner (land no one holds) or a territory
    std::array<QPoint, kMaxTerritories + 1> seeds{};
    int count = 0;

    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    qint16 &at(int x, int y) { return owner[static_cast<size_t>(y) * width + x]; }
    qint16 at(int x, int y) const { return owner[static_cast<size_t>(y) * width + x]; }
};

using PairSet = QSet<quint32>;

quint32 pairKey(int a, int b)
{
    return static_cast<quint32>(qMin(a, b)) << 16 | static_cast<quint32>(qMax(a, b));
}

// Neighbours in either direction, without a territory's link to itself.
std::vector<std::pair<int, int>> linkedPairs(const MapTables &map)
{
    PairSet seen;
    std::vector<std::pair<int, int>> pairs;
    for (int t = 1; t <= map.territoryCount; ++t) {
        for (int i = 1; i <= kMaxNeighbours; ++i) {
            const int u = map.territoryNeighbours[t][i];
            if (u == 0)
                break;
            if (u == t || u < 1 || u > map.territoryCount || seen.contains(pairKey(t, u)))
                continue;
            seen.insert(pairKey(t, u));
            pairs.emplace_back(qMin(t, u), qMax(t, u));
        }
    }
    return pairs;
}

int continentOf(const MapTables &map, int t)
{
    for (int c = 1; c <= map.continentCount; ++c) {
        const ContinentRecord &record = map.continentTable[c];
        for (int i = 1; i <= kMaxContinentMembers && record.members[i] != 0; ++i)
            if (record.members[i] == t)
                return c;
    }
    return 0;
}

QImage blankMask(const Canvas &canvas)
{
    QImage mask(canvas.width, canvas.height, QImage::Format_RGB32);
    mask.fill(Qt::black);
    return mask;
}

QImage outlineMask(const Canvas &canvas, const MapOutline &outline)
{
    QImage mask = blankMask(canvas);
    QPainter painter(&mask);
    painter.setPen(Qt::NoPen);
    painter.scale(canvas.scale, canvas.scale);
    painter.setBrush(Qt::white);
    for (const QPolygonF &polygon : outline.land)
        painter.drawPolygon(polygon);
    painter.setBrush(Qt::black);
    for (const QPolygonF &polygon : outline.water)
        painter.drawPolygon(polygon);
    return mask;
}

bool segmentsCross(QPointF a, QPointF b, QPointF c, QPointF d)
{
    const auto side = [](QPointF p, QPointF q, QPointF r) {
        return (q.x() - p.x()) * (r.y() - p.y()) - (q.y() - p.y()) * (r.x() - p.x());
    };
    const double d1 = side(c, d, a);
    const double d2 = side(c, d, b);
    const double d3 = side(a, b, c);
    const double d4 = side(a, b, d);
    return ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
}

double distanceToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    const double along = length2 > 0 ? qBound(0.0, QPointF::dotProduct(p - a, ab) / length2, 1.0) : 0.0;
    const QPointF nearest = a + along * ab;
    return std::hypot(p.x() - nearest.x(), p.y() - nearest.y());
}

// The links that run over land: short ones first, none longer than `longest`, none crossing
// another or passing close by a third label; the rest cross the sea.
std::vector<std::pair<int, int>> landSkeleton(const MapTables &map, const std::vector<std::pair<int, int>> &pairs,
                                              double longest)
{
    std::vector<std::pair<int, int>> byLength = pairs;
    const auto pos = [&map](int t) { return QPointF(map.territoryPos[t].x, map.territoryPos[t].y); };
    const auto length = [&](const std::pair<int, int> &p) {
        const QPointF d = pos(p.first) - pos(p.second);
        return std::hypot(d.x(), d.y());
    };
    std::stable_sort(byLength.begin(), byLength.end(),
                     [&](const auto &a, const auto &b) { return length(a) < length(b); });
    std::vector<std::pair<int, int>> accepted;
    for (const auto &pair : byLength) {
        if (length(pair) > longest)
            continue;
        const QPointF a = pos(pair.first);
        const QPointF b = pos(pair.second);
        bool clear = true;
        for (int t = 1; t <= map.territoryCount && clear; ++t)
            if (t != pair.first && t != pair.second && distanceToSegment(pos(t), a, b) < 9.0)
                clear = false;
        for (const auto &other : accepted) {
            if (!clear)
                break;
            if (other.first == pair.first || other.first == pair.second || other.second == pair.first
                || other.second == pair.second)
                continue;
            clear = !segmentsCross(a, b, pos(other.first), pos(other.second));
        }
        if (clear)
            accepted.push_back(pair);
    }
    return accepted;
}

QImage grownMask(const Canvas &canvas, const MapTables &map, const std::vector<std::pair<int, int>> &skeleton,
                 const Shaping &shaping)
{
    QImage mask = blankMask(canvas);
    QPainter painter(&mask);
    painter.scale(canvas.scale, canvas.scale);
    painter.setPen(QPen(Qt::white, 2.0 * shaping.linkHalfWidth, Qt::SolidLine, Qt::RoundCap));
    for (const auto &pair : skeleton)
        painter.drawLine(QPointF(map.territoryPos[pair.first].x, map.territoryPos[pair.first].y),
                         QPointF(map.territoryPos[pair.second].x, map.territoryPos[pair.second].y));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    for (int t = 1; t <= map.territoryCount; ++t)
        painter.drawEllipse(QPointF(map.territoryPos[t].x, map.territoryPos[t].y), shaping.seedRadius,
                            shaping.seedRadius);
    return mask;
}

// Land where the mask, pushed about by noise, is white: a coast that wanders like a real one.
void applyWanderingCoast(Canvas &canvas, const QImage &mask, const Shaping &shaping)
{
    const double amplitude = shaping.coastNoise * canvas.scale;
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            const double u = x / canvas.scale / shaping.noiseScale;
            const double v = y / canvas.scale / shaping.noiseScale;
            const int sx = static_cast<int>(std::lround(x + amplitude * fractalNoise(u, v, 11)));
            const int sy = static_cast<int>(std::lround(y + amplitude * fractalNoise(u, v, 29)));
            const bool land = canvas.inside(sx, sy) && qRed(mask.pixel(sx, sy)) > 127;
            canvas.at(x, y) = land ? kNoOwner : kWater;
        }
    }
}

void keepAroundLabels(Canvas &canvas, const Shaping &shaping)
{
    const int radius = static_cast<int>(shaping.keepRadius * canvas.scale);
    for (int t = 1; t <= canvas.count; ++t)
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; ++dx)
                if (dx * dx + dy * dy <= radius * radius && canvas.inside(canvas.seeds[t].x() + dx, canvas.seeds[t].y() + dy))
                    canvas.at(canvas.seeds[t].x() + dx, canvas.seeds[t].y() + dy) = kNoOwner;
}

QRect panelArea(const Canvas &canvas, const QRect &panelBox, int margin)
{
    const QRect design = panelBox.adjusted(-margin, -margin, margin, margin);
    return QRect(QPoint(static_cast<int>(design.left() * canvas.scale), static_cast<int>(design.top() * canvas.scale)),
                 QPoint(static_cast<int>((design.right() + 1) * canvas.scale),
                        static_cast<int>((design.bottom() + 1) * canvas.scale)))
        .intersected(QRect(0, 0, canvas.width, canvas.height));
}

void clearPanel(Canvas &canvas, const QRect &area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            canvas.at(x, y) = kWater;
}

// Small lakes become land and small islands without a territory sink.
void tidyShapes(Canvas &canvas, const Shaping &shaping)
{
    std::vector<int> component(canvas.owner.size(), -1);
    std::vector<int> queue;
    int next = 0;
    const double scale2 = canvas.scale * canvas.scale;
    for (int start = 0; start < static_cast<int>(canvas.owner.size()); ++start) {
        if (component[start] >= 0)
            continue;
        const bool water = canvas.owner[start] == kWater;
        queue.assign(1, start);
        component[start] = next;
        bool touchesEdge = false;
        bool holdsLabel = false;
        for (size_t i = 0; i < queue.size(); ++i) {
            const int p = queue[i];
            const int x = p % canvas.width;
            const int y = p / canvas.width;
            touchesEdge = touchesEdge || x == 0 || y == 0 || x == canvas.width - 1 || y == canvas.height - 1;
            const int dx[] = {1, -1, 0, 0};
            const int dy[] = {0, 0, 1, -1};
            for (int k = 0; k < 4; ++k) {
                const int nx = x + dx[k];
                const int ny = y + dy[k];
                if (!canvas.inside(nx, ny))
                    continue;
                const int q = ny * canvas.width + nx;
                if (component[q] < 0 && (canvas.owner[q] == kWater) == water) {
                    component[q] = next;
                    queue.push_back(q);
                }
            }
        }
        if (!water)
            for (int t = 1; t <= canvas.count && !holdsLabel; ++t)
                holdsLabel = component[canvas.seeds[t].y() * canvas.width + canvas.seeds[t].x()] == next;
        const double area = queue.size() / scale2;
        const bool sink = !water && !holdsLabel && area < shaping.smallestIsland;
        const bool fill = water && !touchesEdge && area < shaping.smallestLake;
        if (sink || fill)
            for (int p : queue)
                canvas.owner[p] = fill ? kNoOwner : kWater;
        ++next;
    }
}

// The sources each territory grows from: its label point, and the half of each land link that
// leads toward its neighbour, so that neighbours meet halfway.
void placeSources(Canvas &canvas, const std::vector<std::pair<int, int>> &landLinks,
                  std::vector<int> &sources)
{
    // A half link stops at the sea and at another territory's sources, so that every source of
    // a territory stays joined to its label point.
    const auto claim = [&](int x, int y, int t) {
        if (!canvas.inside(x, y))
            return false;
        qint16 &owner = canvas.at(x, y);
        if (owner == kNoOwner) {
            owner = static_cast<qint16>(t);
            sources.push_back(y * canvas.width + x);
        }
        return owner == t;
    };
    for (int t = 1; t <= canvas.count; ++t)
        claim(canvas.seeds[t].x(), canvas.seeds[t].y(), t);
    for (const auto &link : landLinks) {
        const QPointF a(canvas.seeds[link.first]);
        const QPointF b(canvas.seeds[link.second]);
        const QPointF middle = (a + b) / 2.0;
        for (const auto &[from, t] : {std::pair<QPointF, int>{a, link.first}, std::pair<QPointF, int>{b, link.second}}) {
            const QPointF d = middle - from;
            const int steps = static_cast<int>(std::ceil(std::max(std::abs(d.x()), std::abs(d.y()))));
            for (int i = 1; i < steps; ++i) {
                const QPointF p = from + d * (static_cast<double>(i) / steps);
                if (!claim(static_cast<int>(std::lround(p.x())), static_cast<int>(std::lround(p.y())), t))
                    break;
            }
        }
    }
}

// Every land pixel goes to the territory whose sources are nearest over land, so each region
// is one piece by construction. The way is slower in some places than in others (a noise
// field), which bends the borders the way real ones bend.
void growTerritories(Canvas &canvas, const std::vector<int> &sources)
{
    constexpr int kStraight = 20;
    constexpr int kDiagonal = 28;
    constexpr int kLongestStep = kDiagonal * 3 / 2;
    std::vector<quint8> slowness(canvas.owner.size());
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x) {
            const double n = fractalNoise(x / canvas.scale / 22.0, y / canvas.scale / 22.0, 53);
            slowness[static_cast<size_t>(y) * canvas.width + x] =
                static_cast<quint8>(std::lround(100.0 * qBound(0.5, 1.0 + 0.4 * n, 1.5)));
        }
    std::vector<int> distance(canvas.owner.size(), std::numeric_limits<int>::max());
    std::array<std::vector<int>, kLongestStep + 1> buckets;
    for (int p : sources) {
        distance[p] = 0;
        buckets[0].push_back(p);
    }
    size_t pending = sources.size();
    for (int d = 0; pending > 0; ++d) {
        std::vector<int> &bucket = buckets[d % buckets.size()];
        std::vector<int> current;
        current.swap(bucket);
        pending -= current.size();
        for (int p : current) {
            if (distance[p] != d)
                continue;
            const int x = p % canvas.width;
            const int y = p / canvas.width;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    if ((dx == 0 && dy == 0) || !canvas.inside(x + dx, y + dy))
                        continue;
                    const int q = (y + dy) * canvas.width + x + dx;
                    if (canvas.owner[q] == kWater)
                        continue;
                    const int base = dx != 0 && dy != 0 ? kDiagonal : kStraight;
                    const int nd = d + (base * (slowness[p] + slowness[q]) + 100) / 200;
                    if (nd < distance[q]) {
                        distance[q] = nd;
                        canvas.owner[q] = canvas.owner[p];
                        buckets[nd % buckets.size()].push_back(q);
                        ++pending;
                    }
                }
            }
        }
    }
}

PairSet touchingPairs(const Canvas &canvas)
{
    PairSet touching;
    for (int y = 0; y + 1 < canvas.height; ++y) {
        for (int x = 0; x + 1 < canvas.width; ++x) {
            const int a = canvas.at(x, y);
            for (const QPoint &d : {QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)}) {
                const int b = canvas.at(x + d.x(), y + d.y());
                if (a > 0 && b > 0 && a != b)
                    touching.insert(pairKey(a, b));
            }
        }
        const int a = canvas.at(canvas.width - 1, y);
        const int b = canvas.at(canvas.width - 1, y + 1);
        if (a > 0 && b > 0 && a != b)
            touching.insert(pairKey(a, b));
    }
    return touching;
}

// Greys per continent, so that continents that touch are told apart before anyone owns them.
std::array<QRgb, kMaxTerritories + 1> interiorGreys(const MapTables &map, const PairSet &touching)
{
    std::array<int, kMaxContinents + 1> greyOf{};
    greyOf.fill(-1);
    std::array<int, kMaxTerritories + 1> continent{};
    for (int t = 1; t <= map.territoryCount; ++t)
        continent[t] = continentOf(map, t);
    for (int c = 1; c <= map.continentCount; ++c) {
        QSet<int> used;
        for (quint32 key : touching) {
            const int a = continent[key >> 16];
            const int b = continent[key & 0xffff];
            if (a == c && b != c && b > 0 && greyOf[b] >= 0)
                used.insert(greyOf[b]);
            if (b == c && a != c && a > 0 && greyOf[a] >= 0)
                used.insert(greyOf[a]);
        }
        const int palette = static_cast<int>(std::size(kContinentGreys));
        int choice = (c - 1) % palette;
        for (int i = 0; i < palette; ++i) {
            if (!used.contains((c - 1 + i) % palette)) {
                choice = (c - 1 + i) % palette;
                break;
            }
        }
        greyOf[c] = choice;
    }
    std::array<QRgb, kMaxTerritories + 1> greys{};
    for (int t = 1; t <= map.territoryCount; ++t)
        greys[t] = continent[t] > 0 ? kContinentGreys[greyOf[continent[t]]] : kNoContinentGrey;
    return greys;
}

// How far each water pixel lies from land, in picture pixels (capped), for the sea's shades.
std::vector<quint8> seaDepth(const Canvas &canvas)
{
    std::vector<quint8> depth(canvas.owner.size(), 255);
    std::vector<int> frontier;
    for (int p = 0; p < static_cast<int>(canvas.owner.size()); ++p)
        if (canvas.owner[p] != kWater) {
            depth[p] = 0;
            frontier.push_back(p);
        }
    std::vector<int> next;
    for (int d = 1; d < 255 && !frontier.empty(); ++d) {
        next.clear();
        for (int p : frontier) {
            const int x = p % canvas.width;
            const int y = p / canvas.width;
            for (const QPoint &o : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                if (!canvas.inside(x + o.x(), y + o.y()))
                    continue;
                const int q = (y + o.y()) * canvas.width + x + o.x();
                if (depth[q] == 255) {
                    depth[q] = static_cast<quint8>(d);
                    next.push_back(q);
                }
            }
        }
        frontier.swap(next);
    }
    return depth;
}

QRgb seaShade(int depth, double scale)
{
    const double d = depth / scale;
    const int band = d < 3 ? 0 : d < 7 ? 1 : d < 13 ? 2 : d < 22 ? 3 : 4;
    return kSeaShades[band];
}

void paintPixels(QImage &image, const Canvas &canvas, const MapTables &map)
{
    const PairSet touching = touchingPairs(canvas);
    const auto greys = interiorGreys(map, touching);
    std::array<int, kMaxTerritories + 1> continent{};
    for (int t = 1; t <= map.territoryCount; ++t)
        continent[t] = continentOf(map, t);
    const std::vector<quint8> depth = seaDepth(canvas);

    for (int y = 0; y < canvas.height; ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < canvas.width; ++x) {
            const int here = canvas.at(x, y);
            if (here == kWater) {
                row[x] = seaShade(depth[static_cast<size_t>(y) * canvas.width + x], canvas.scale);
                continue;
            }
            // Borders are two pixels wide, one on each side, so no fill crosses them even when
            // the picture is shrunk for a smaller window.
            bool coast = false;
            bool continentEdge = false;
            bool territoryEdge = false;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    if (!canvas.inside(x + dx, y + dy))
                        continue;
                    const int there = canvas.at(x + dx, y + dy);
                    if (there == here)
                        continue;
                    if (there == kWater || there == kNoOwner || here == kNoOwner)
                        coast = true;
                    else if (continent[here] != continent[there])
                        continentEdge = true;
                    else
                        territoryEdge = true;
                }
            }
            if (coast)
                row[x] = kCoast;
            else if (continentEdge)
                row[x] = kContinentBorder;
            else if (territoryEdge)
                row[x] = kTerritoryBorder;
            else
                row[x] = here == kNoOwner ? kNoMansLand : greys[here];
        }
    }
    // A label point stays inside its own region even where a border passes close by.
    for (int t = 1; t <= canvas.count; ++t) {
        const QPoint s = canvas.seeds[t];
        if (canvas.inside(s.x(), s.y()) && canvas.at(s.x(), s.y()) == t)
            reinterpret_cast<QRgb *>(image.scanLine(s.y()))[s.x()] = greys[t];
    }
}

// A piece of a territory joined to the rest only through a neck narrower than its borders is
// cut off by them, and no fill would ever reach it. Such a piece goes to the territory it borders
// most (or to land no one holds); returns whether any piece moved.
bool reassignCutOffPieces(Canvas &canvas, const QImage &image)
{
    TerritoryRegions regions;
    regions.build(image, canvas.seeds, canvas.count);
    const FillableColours fillable;
    const auto cutOff = [&](int x, int y) {
        return fillable.contains(reinterpret_cast<const QRgb *>(image.constScanLine(y))[x]) && regions.territoryAt(x, y) == 0;
    };
    std::vector<quint8> seen(canvas.owner.size(), 0);
    bool moved = false;
    for (int start = 0; start < static_cast<int>(canvas.owner.size()); ++start) {
        if (seen[start] || !cutOff(start % canvas.width, start / canvas.width))
            continue;
        std::vector<int> piece{start};
        seen[start] = 1;
        for (size_t i = 0; i < piece.size(); ++i) {
            const int x = piece[i] % canvas.width;
            const int y = piece[i] / canvas.width;
            for (const QPoint &o : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                const int nx = x + o.x();
                const int ny = y + o.y();
                const int q = ny * canvas.width + nx;
                if (canvas.inside(nx, ny) && !seen[q] && cutOff(nx, ny)) {
                    seen[q] = 1;
                    piece.push_back(q);
                }
            }
        }
        std::array<int, kMaxTerritories + 1> votes{};
        for (int p : piece)
            for (int dy = -3; dy <= 3; ++dy)
                for (int dx = -3; dx <= 3; ++dx) {
                    const int u = regions.territoryAt(p % canvas.width + dx, p / canvas.width + dy);
                    votes[u] += u > 0 ? 1 : 0;
                }
        const int heir = static_cast<int>(std::max_element(votes.begin() + 1, votes.end()) - votes.begin());
        const qint16 newOwner = votes[heir] > 0 ? static_cast<qint16>(heir) : kNoOwner;
        const qint16 oldOwner = canvas.owner[piece.front()];
        // The piece and the border ring round it change hands, so the border between the piece
        // and its new territory disappears.
        for (int p : piece)
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int x = p % canvas.width + dx;
                    const int y = p / canvas.width + dy;
                    if (canvas.inside(x, y) && canvas.at(x, y) == oldOwner)
                        canvas.at(x, y) = newOwner;
                }
        moved = true;
    }
    return moved;
}

// What is still cut off after that becomes border, so every fillable pixel belongs to a region.
void closeOrphans(QImage &image, const Canvas &canvas)
{
    TerritoryRegions regions;
    regions.build(image, canvas.seeds, canvas.count);
    const FillableColours fillable;
    for (int y = 0; y < canvas.height; ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < canvas.width; ++x)
            if (fillable.contains(row[x]) && regions.territoryAt(x, y) == 0)
                row[x] = kTerritoryBorder;
    }
}

// Dashed lines over the sea for neighbours whose lands do not meet; a link across the edge of
// the board runs out over the edge from both ends.
void drawSeaLinks(QImage &image, const Canvas &canvas, const std::vector<std::pair<int, int>> &pairs,
                  const QRect &panel)
{
    const PairSet touching = touchingPairs(canvas);
    const int dash = static_cast<int>(std::lround(4 * canvas.scale));
    const int gap = static_cast<int>(std::lround(3 * canvas.scale));
    const auto dashedLine = [&](QPointF from, QPointF to) {
        const QPointF d = to - from;
        const int steps = static_cast<int>(std::ceil(std::max(std::abs(d.x()), std::abs(d.y()))));
        for (int i = 0; i <= steps; ++i) {
            if (i % (dash + gap) >= dash)
                continue;
            const QPointF p = from + d * (steps > 0 ? static_cast<double>(i) / steps : 0.0);
            const int x = static_cast<int>(std::lround(p.x()));
            const int y = static_cast<int>(std::lround(p.y()));
            if (canvas.inside(x, y) && canvas.at(x, y) == kWater && !panel.contains(x, y))
                reinterpret_cast<QRgb *>(image.scanLine(y))[x] = kSeaLink;
        }
    };
    for (const auto &pair : pairs) {
        if (touching.contains(pairKey(pair.first, pair.second)))
            continue;
        const QPointF a(canvas.seeds[pair.first]);
        const QPointF b(canvas.seeds[pair.second]);
        QPointF shift(0, 0);
        if (std::abs(a.x() - b.x()) > canvas.width / 2.0)
            shift.setX(a.x() < b.x() ? -canvas.width : canvas.width);
        if (std::abs(a.y() - b.y()) > canvas.height / 2.0)
            shift.setY(a.y() < b.y() ? -canvas.height : canvas.height);
        dashedLine(a, b + shift);
        if (!shift.isNull())
            dashedLine(b, a - shift);
    }
}

void dealPreviewOwners(int players)
{
    playerCount = players;
    currentPlayer = 3;
    const char *const names[] = {"", "Ana", "Bert", "Chloe", "Dmitri", "Eve", "Farid", "Gus", "Hana", "Ivo", "Jun"};
    for (int p = 1; p <= kMaxPlayers; ++p)
        playerName[p] = QString::fromLatin1(names[p]).leftJustified(18, QLatin1Char(' '));
    for (int t = 1; t <= territoryCount; ++t) {
        // Whole continents for some players, mixed holdings elsewhere, as in a game under way.
        const int c = continentOfTerritory(t);
        const int owner = c % 2 == 0 ? (c / 2) % players + 1 : (t * 7 + c) % players + 1;
        displayedTerritoryState[t] = {owner, 1 + (t * 37) % 23};
        territoryChanged[t] = 'n';
    }
    if (territoryCount >= 5) {
        displayedTerritoryState[5].armies = 1500;
        territoryChanged[3] = 'j';
    }
}

} // namespace

void reportMapPictureQuality(const QImage &image, const MapTables &map, double scale, const QString &name)
{
    std::array<QPoint, kMaxTerritories + 1> seeds{};
    const int count = qBound(0, static_cast<int>(map.territoryCount), kMaxTerritories);
    for (int t = 1; t <= count; ++t)
        seeds[t] = QPoint(static_cast<int>(map.territoryPos[t].x * scale), static_cast<int>(map.territoryPos[t].y * scale));
    TerritoryRegions regions;
    regions.build(image, seeds, count);
    for (int t = 1; t <= count; ++t) {
        if (regions.territoryAt(seeds[t].x(), seeds[t].y()) != t)
            std::fprintf(stderr, "artgen: %s: territory %d does not own its label point\n", qPrintable(name), t);
        else if (regions.area(t) < 150 * scale * scale)
            std::fprintf(stderr, "artgen: %s: territory %d is small (%d pixels)\n", qPrintable(name), t,
                         regions.area(t));
    }
}

QImage paintedMapPreview(const QImage &mapPicture, bool large, int players)
{
    largeImageSet = large ? 1 : 0;
    installMapPicture(mapPicture);
    dealPreviewOwners(players);
    for (int t = 1; t <= territoryCount; ++t) {
        const bool highlighted = territoryChanged[t] == 'j';
        updateTerritoryDisplay(t, displayedTerritoryState[t].armies, displayedTerritoryState[t].owner,
                               highlighted ? 1 : 0, 0, 0);
    }
    drawPlayerPanel();
    const QImage painted = mapImage;
    resetMapView();
    return painted;
}

namespace {

QString aliasOf(const char *resourcePath)
{
    return QString::fromLatin1(resourcePath).mid(2); // ":/tifa/x.png" -> "tifa/x.png"
}

QString previewNameOf(const char *resourcePath)
{
    return aliasOf(resourcePath).section(QLatin1Char('/'), -1).replace(QStringLiteral(".png"), QStringLiteral("-owners.png"));
}

} // namespace

QImage drawMapPicture(const MapTables &map, const QRect &panelBox, QSize size, double scale, const MapOutline *outline,
                      OutlineLinks links)
{
    Canvas canvas;
    canvas.width = size.width();
    canvas.height = size.height();
    canvas.scale = scale;
    canvas.count = qBound(0, static_cast<int>(map.territoryCount), kMaxTerritories);
    canvas.owner.assign(static_cast<size_t>(canvas.width) * canvas.height, kWater);
    for (int t = 1; t <= canvas.count; ++t)
        canvas.seeds[t] = QPoint(qBound(0, static_cast<int>(map.territoryPos[t].x * scale), canvas.width - 1),
                                 qBound(0, static_cast<int>(map.territoryPos[t].y * scale), canvas.height - 1));

    const Shaping &shaping = outline ? kOutlineShaping : kGrownShaping;
    const auto pairs = linkedPairs(map);
    std::vector<std::pair<int, int>> skeleton;
    QImage mask;
    if (outline) {
        mask = outlineMask(canvas, *outline);
    } else {
        skeleton = landSkeleton(map, pairs, shaping.longestLand);
        mask = grownMask(canvas, map, skeleton, shaping);
    }
    applyWanderingCoast(canvas, mask, shaping);
    const QRect panel = panelArea(canvas, panelBox, kPanelMargin);
    clearPanel(canvas, panel);
    // A label in the panel's margin keeps its land; only the panel itself stays open sea.
    keepAroundLabels(canvas, shaping);
    clearPanel(canvas, panelArea(canvas, panelBox, 0));
    tidyShapes(canvas, shaping);

    // With an outline, a link runs over land when the land between the two labels is unbroken.
    if (outline) {
        std::vector<std::pair<int, int>> overLandPairs;
        for (const auto &pair : pairs) {
            const QPointF a(canvas.seeds[pair.first]);
            const QPointF b(canvas.seeds[pair.second]);
            const int steps = static_cast<int>(std::ceil(std::hypot(b.x() - a.x(), b.y() - a.y())));
            bool overLand = true;
            for (int i = 0; i <= steps && overLand; ++i) {
                const QPointF p = a + (b - a) * (steps > 0 ? static_cast<double>(i) / steps : 0.0);
                overLand = canvas.at(static_cast<int>(std::lround(p.x())), static_cast<int>(std::lround(p.y()))) != kWater;
            }
            if (overLand)
                overLandPairs.push_back(pair);
        }
        skeleton = links == OutlineLinks::Untangled
            ? landSkeleton(map, overLandPairs, std::numeric_limits<double>::max())
            : overLandPairs;
    }
    std::vector<int> sources;
    placeSources(canvas, skeleton, sources);
    growTerritories(canvas, sources);

    QImage image(canvas.width, canvas.height, QImage::Format_RGB32);
    paintPixels(image, canvas, map);
    for (int pass = 0; pass < 3 && reassignCutOffPieces(canvas, image); ++pass)
        paintPixels(image, canvas, map);
    closeOrphans(image, canvas);
    drawSeaLinks(image, canvas, pairs, panel);
    return image;
}

void drawMapPictures(std::vector<MapPictureJob> &jobs)
{
    std::atomic<size_t> next{0};
    const auto work = [&] {
        for (size_t i = next++; i < jobs.size(); i = next++) {
            MapPictureJob &job = jobs[i];
            job.image = drawMapPicture(job.map, job.panel, job.size, job.scale, job.outline, job.links);
        }
    };
    std::vector<std::thread> workers;
    const size_t threads = qBound<size_t>(1, std::thread::hardware_concurrency(), jobs.size());
    for (size_t i = 1; i < threads; ++i)
        workers.emplace_back(work);
    work();
    for (std::thread &worker : workers)
        worker.join();
}

void addMapPictures(ArtOutput &out)
{
    // One job per picture; the maps are built one after the other (they share the game's
    // tables), the pictures are drawn side by side, and written in table order.
    std::vector<MapPictureJob> jobs;
    std::vector<std::pair<MapFlag, const char *>> paths;
    for (const MapPictureSet *set = mapPictureSetsBegin(); set != mapPictureSetsEnd(); ++set) {
        const BuiltinMap *builtin = builtinMapFor(set->flag);
        if (!builtin)
            continue; // its pictures come with its map
        resetStateSubsystem();
        selectMap(set->flag);
        if (buildBuiltinMap(*builtin) != 0) {
            std::fprintf(stderr, "artgen: the map of %s does not build\n", set->plain);
            std::exit(1);
        }
        const QRect panel(playerPanelPosition(set->flag), QSize(kPlayerPanelWidth, kPlayerPanelHeight));
        for (const char *path : {set->plain, set->wide, set->large}) {
            if (!path)
                continue;
            const bool large = path == set->large;
            const QSize size = large ? QSize(kLargePictureWidth, kLargePictureHeight)
                                     : QSize(kDesignPictureWidth, kDesignPictureHeight);
            jobs.push_back({mapTables, panel, size, large ? 1.25 : 1.0, mapOutlineFor(set->flag), QImage()});
            paths.emplace_back(set->flag, path);
        }
    }
    drawMapPictures(jobs);

    for (size_t i = 0; i < jobs.size(); ++i) {
        const MapPictureJob &job = jobs[i];
        const bool large = job.scale > 1.0;
        reportMapPictureQuality(job.image, job.map, job.scale, aliasOf(paths[i].second));
        out.addResourceImage(aliasOf(paths[i].second), job.image);
        resetStateSubsystem();
        selectMap(paths[i].first);
        mapTables = job.map;
        out.addPreviewImage(previewNameOf(paths[i].second), paintedMapPreview(job.image, large, 6));
    }
    resetStateSubsystem();
}
