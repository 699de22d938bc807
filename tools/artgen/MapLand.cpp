#include "MapLand.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <tuple>

using namespace map_canvas;

namespace {

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

QPointF labelOf(const MapTables &map, int t)
{
    return QPointF(map.territoryPos[t].x, map.territoryPos[t].y);
}

// The links that run over land: short ones first, none longer than `longest`, none crossing
// another or passing close by a third label; the rest cross the sea.
std::vector<Pair> landSkeleton(const MapTables &map, const std::vector<Pair> &pairs, double longest)
{
    std::vector<Pair> byLength = pairs;
    const auto length = [&](const Pair &p) {
        const QPointF d = labelOf(map, p.first) - labelOf(map, p.second);
        return std::hypot(d.x(), d.y());
    };
    std::stable_sort(byLength.begin(), byLength.end(),
                     [&](const auto &a, const auto &b) { return length(a) < length(b); });
    std::vector<Pair> accepted;
    for (const auto &pair : byLength) {
        if (length(pair) > longest)
            continue;
        const QPointF a = labelOf(map, pair.first);
        const QPointF b = labelOf(map, pair.second);
        bool clear = true;
        for (int t = 1; t <= map.territoryCount && clear; ++t)
            if (t != pair.first && t != pair.second && distanceToSegment(labelOf(map, t), a, b) < 9.0)
                clear = false;
        for (const auto &other : accepted) {
            if (!clear)
                break;
            if (other.first == pair.first || other.first == pair.second || other.second == pair.first
                || other.second == pair.second)
                continue;
            clear = !segmentsCross(a, b, labelOf(map, other.first), labelOf(map, other.second));
        }
        if (clear)
            accepted.push_back(pair);
    }
    return accepted;
}

QImage grownMask(const Canvas &canvas, const MapTables &map, const std::vector<Pair> &skeleton,
                 const Shaping &shaping)
{
    QImage mask = blankMask(canvas);
    QPainter painter(&mask);
    painter.scale(canvas.scale, canvas.scale);
    painter.setPen(QPen(Qt::white, 2.0 * shaping.linkHalfWidth, Qt::SolidLine, Qt::RoundCap));
    for (const auto &pair : skeleton)
        painter.drawLine(labelOf(map, pair.first), labelOf(map, pair.second));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    for (int t = 1; t <= map.territoryCount; ++t)
        painter.drawEllipse(labelOf(map, t), shaping.seedRadius, shaping.seedRadius);
    return mask;
}

// Land where the mask, pushed about by noise, is white: a coast that wanders like a real one.
void applyWanderingCoast(Canvas &canvas, const QImage &mask, const Shaping &shaping)
{
    const double amplitude = shaping.coastNoise * canvas.scale;
    const QSize size(canvas.width, canvas.height);
    const std::vector<float> &alongX = noiseField(size, canvas.scale, shaping.noiseScale, 11);
    const std::vector<float> &alongY = noiseField(size, canvas.scale, shaping.noiseScale, 29);
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            const size_t p = canvas.index(x, y);
            const int sx = static_cast<int>(std::lround(x + amplitude * alongX[p]));
            const int sy = static_cast<int>(std::lround(y + amplitude * alongY[p]));
            const bool land = canvas.inside(sx, sy) && qRed(mask.pixel(sx, sy)) > 127;
            canvas.at(x, y) = land ? kNoOwner : kWater;
        }
    }
}

// Water narrower than twice `reach` between two shores fills in: land grown by `reach` and
// shrunk back again. A strait that thin only breaks up the borders of the lands on each side.
void closeNarrowWater(Canvas &canvas, int reach)
{
    const auto spread = [&](qint16 from, qint16 to) {
        std::vector<quint8> sources(canvas.owner.size());
        for (size_t p = 0; p < sources.size(); ++p)
            sources[p] = canvas.owner[p] == from ? 1 : 0;
        const std::vector<quint8> steps = stepsFrom(canvas.width, canvas.height, sources);
        for (size_t p = 0; p < steps.size(); ++p)
            if (canvas.owner[p] == to && steps[p] <= reach)
                canvas.owner[p] = from;
    };
    spread(kNoOwner, kWater);
    spread(kWater, kNoOwner);
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
            for (const QPoint &o : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                const int nx = x + o.x();
                const int ny = y + o.y();
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
                holdsLabel = component[canvas.index(canvas.seeds[t].x(), canvas.seeds[t].y())] == next;
        const double area = queue.size() / scale2;
        const bool sink = !water && !holdsLabel && area < shaping.smallestIsland;
        const bool fill = water && !touchesEdge && area < shaping.smallestLake;
        if (sink || fill)
            for (int p : queue)
                canvas.owner[p] = fill ? kNoOwner : kWater;
        ++next;
    }
}

// With an outline, the links whose labels the land joins without a break.
std::vector<Pair> linksOverLand(const Canvas &canvas)
{
    std::vector<Pair> overLand;
    for (const auto &pair : canvas.pairs) {
        const QPointF a(canvas.seeds[pair.first]);
        const QPointF b(canvas.seeds[pair.second]);
        const int steps = static_cast<int>(std::ceil(std::hypot(b.x() - a.x(), b.y() - a.y())));
        bool land = true;
        for (int i = 0; i <= steps && land; ++i) {
            const QPointF p = a + (b - a) * (steps > 0 ? static_cast<double>(i) / steps : 0.0);
            land = canvas.at(static_cast<int>(std::lround(p.x())), static_cast<int>(std::lround(p.y()))) != kWater;
        }
        if (land)
            overLand.push_back(pair);
    }
    return overLand;
}

} // namespace

const std::vector<float> &noiseField(QSize size, double scale, double period, quint32 seed)
{
    using Key = std::tuple<int, int, double, double, quint32>;
    static std::mutex mutex;
    static std::map<Key, std::unique_ptr<std::vector<float>>> fields;
    const std::lock_guard<std::mutex> lock(mutex);
    std::unique_ptr<std::vector<float>> &field = fields[Key(size.width(), size.height(), scale, period, seed)];
    if (!field) {
        field = std::make_unique<std::vector<float>>(static_cast<size_t>(size.width()) * size.height());
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                (*field)[static_cast<size_t>(y) * size.width() + x] =
                    static_cast<float>(fractalNoise(x / scale / period, y / scale / period, seed));
    }
    return *field;
}

// As the game places the panel: its corners scaled and truncated, the far one exclusive.
QRect panelArea(const Canvas &canvas, const QRect &panelBox, int margin)
{
    const QRect design = panelBox.adjusted(-margin, -margin, margin, margin);
    return QRect(QPoint(static_cast<int>(design.left() * canvas.scale), static_cast<int>(design.top() * canvas.scale)),
                 QPoint(static_cast<int>((design.right() + 1) * canvas.scale) - 1,
                        static_cast<int>((design.bottom() + 1) * canvas.scale) - 1))
        .intersected(QRect(0, 0, canvas.width, canvas.height));
}

std::vector<Pair> shapeLand(Canvas &canvas, const MapTables &map, const QRect &panelBox, const MapOutline *outline,
                            OutlineLinks links)
{
    const Shaping &shaping = outline ? kOutlineShaping : kGrownShaping;
    std::vector<Pair> skeleton;
    QImage mask;
    if (outline) {
        mask = outlineMask(canvas, *outline);
    } else {
        skeleton = landSkeleton(map, canvas.pairs, shaping.longestLand);
        mask = grownMask(canvas, map, skeleton, shaping);
    }
    applyWanderingCoast(canvas, mask, shaping);
    closeNarrowWater(canvas, canvas.pixels(1.5));
    clearPanel(canvas, panelArea(canvas, panelBox, kPanelMargin));
    // A label in the panel's margin keeps its land; only the panel itself stays open sea.
    keepAroundLabels(canvas, shaping);
    clearPanel(canvas, panelArea(canvas, panelBox, 0));
    tidyShapes(canvas, shaping);
    if (!outline)
        return skeleton;
    const std::vector<Pair> overLand = linksOverLand(canvas);
    return links == OutlineLinks::Untangled ? landSkeleton(map, overLand, std::numeric_limits<double>::max())
                                            : overLand;
}
