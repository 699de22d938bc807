#include "MapLinks.h"

#include "MapLinkColours.h"
#include "MapTerritories.h"

#include "state/MapRegions.h"

#include <QHash>
#include <QPointF>

#include <algorithm>
#include <cmath>
#include <limits>
#include <queue>

using namespace map_canvas;

namespace {

// A link keeps this far from any third label's number.
constexpr int kLabelClearance = 3;
// Dashes and the gaps between them, at the design size.
constexpr double kDash = 4.0;
constexpr double kGap = 3.0;
// The way round labels is searched on cells of this many picture pixels.
constexpr int kCell = 3;
constexpr qint16 kPanel = -2;

using Polyline = std::vector<QPointF>;

// What may not lie under a link: each third label's number (by territory) and the panel.
struct Obstacles {
    int width = 0;
    int height = 0;
    std::vector<qint16> blocked; // 0 free, a territory whose label is there, or kPanel

    qint16 at(int x, int y) const { return blocked[static_cast<size_t>(y) * width + x]; }
    bool blocks(int x, int y, int a, int b) const
    {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return false;
        const qint16 there = at(x, y);
        return there != 0 && there != a && there != b;
    }
};

Obstacles obstaclesOf(const Canvas &canvas, const QRect &panel)
{
    Obstacles obstacles{canvas.width, canvas.height, std::vector<qint16>(canvas.owner.size(), 0)};
    const QRect picture(0, 0, canvas.width, canvas.height);
    for (int t = 1; t <= canvas.count; ++t) {
        const QRect box = numberBox(canvas.numbers[t])
                              .adjusted(-kLabelClearance, -kLabelClearance, kLabelClearance, kLabelClearance)
                              .intersected(picture);
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                obstacles.blocked[canvas.index(x, y)] = static_cast<qint16>(t);
    }
    const QRect panelBox = panel.intersected(picture);
    for (int y = panelBox.top(); y <= panelBox.bottom(); ++y)
        for (int x = panelBox.left(); x <= panelBox.right(); ++x)
            obstacles.blocked[canvas.index(x, y)] = kPanel;
    return obstacles;
}

// The pixels of a straight line, one step at a time.
template <typename Visit>
void walkLine(QPointF from, QPointF to, Visit visit)
{
    const QPointF d = to - from;
    const int steps = std::max(1, static_cast<int>(std::ceil(std::max(std::abs(d.x()), std::abs(d.y())))));
    for (int i = 0; i <= steps; ++i) {
        const QPointF p = from + d * (static_cast<double>(i) / steps);
        if (!visit(static_cast<int>(std::lround(p.x())), static_cast<int>(std::lround(p.y()))))
            return;
    }
}

// What a straight line passes: whether a third label or the panel, how many pixels of third
// territories' land, and how many cells that other links run through.
struct LineCost {
    bool blocked = false;
    int thirdLand = 0;
    int linkCells = 0;
};

struct LinkCells {
    int columns = 0;
    std::vector<quint8> used;

    int cellOf(int x, int y) const { return (y / kCell) * columns + x / kCell; }
};

LineCost costOnLine(const Canvas &canvas, const Obstacles &obstacles, const LinkCells &links, QPointF from, QPointF to,
                    int a, int b)
{
    LineCost cost;
    int lastCell = -1;
    walkLine(from, to, [&](int x, int y) {
        if (obstacles.blocks(x, y, a, b)) {
            cost.blocked = true;
            return false;
        }
        if (!canvas.inside(x, y))
            return true;
        const int owner = canvas.at(x, y);
        cost.thirdLand += owner > 0 && owner != a && owner != b ? 1 : 0;
        const int cell = links.cellOf(x, y);
        if (cell != lastCell && links.used[static_cast<size_t>(cell)])
            ++cost.linkCells;
        lastCell = cell;
        return true;
    });
    return cost;
}

// The way from a's label to b's: the shortest path on a grid of cells that avoids third labels
// and the panel, with third territories' land dear and other links' cells a little dear, pulled
// straight wherever that passes nothing more.
Polyline roundTheLabels(const Canvas &canvas, const Obstacles &obstacles, const LinkCells &links, int a, int b)
{
    const int columns = (canvas.width + kCell - 1) / kCell;
    const int rows = (canvas.height + kCell - 1) / kCell;
    const auto cellOf = [&](QPoint p) { return (p.y() / kCell) * columns + p.x() / kCell; };
    const auto centre = [&](int cell) {
        return QPointF(qMin(canvas.width - 1, (cell % columns) * kCell + kCell / 2),
                       qMin(canvas.height - 1, (cell / columns) * kCell + kCell / 2));
    };
    std::vector<int> cost(static_cast<size_t>(columns) * rows, 0);
    for (int cell = 0; cell < columns * rows; ++cell) {
        const int x0 = (cell % columns) * kCell;
        const int y0 = (cell / columns) * kCell;
        int third = 0;
        bool blocked = false;
        for (int y = y0; y < qMin(y0 + kCell, canvas.height) && !blocked; ++y)
            for (int x = x0; x < qMin(x0 + kCell, canvas.width) && !blocked; ++x) {
                blocked = obstacles.blocks(x, y, a, b);
                const int owner = canvas.at(x, y);
                third += owner > 0 && owner != a && owner != b ? 1 : 0;
            }
        cost[cell] = blocked ? -1 : 10 + (third > 0 ? 100 : 0) + (links.used[static_cast<size_t>(cell)] ? 60 : 0);
    }
    const int start = cellOf(canvas.seeds[a]);
    const int goal = cellOf(canvas.seeds[b]);
    cost[start] = cost[goal] = 10;
    std::vector<int> best(cost.size(), std::numeric_limits<int>::max());
    std::vector<int> from(cost.size(), -1);
    using Entry = std::pair<int, int>; // estimate, cell
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open;
    const auto estimate = [&](int cell) {
        const QPointF d = centre(cell) - centre(goal);
        return static_cast<int>(10.0 * std::hypot(d.x(), d.y()) / kCell);
    };
    best[start] = 0;
    open.push({estimate(start), start});
    while (!open.empty()) {
        const auto [guess, cell] = open.top();
        open.pop();
        if (cell == goal)
            break;
        if (guess - estimate(cell) > best[cell])
            continue;
        const int cx = cell % columns;
        const int cy = cell / columns;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int nx = cx + dx;
                const int ny = cy + dy;
                if ((dx == 0 && dy == 0) || nx < 0 || ny < 0 || nx >= columns || ny >= rows)
                    continue;
                const int next = ny * columns + nx;
                if (cost[next] < 0)
                    continue;
                const int step = dx != 0 && dy != 0 ? cost[next] * 14 / 10 : cost[next];
                if (best[cell] + step < best[next]) {
                    best[next] = best[cell] + step;
                    from[next] = cell;
                    open.push({best[next] + estimate(next), next});
                }
            }
    }
    if (from[goal] < 0)
        return {};
    Polyline cells;
    for (int cell = goal; cell != start; cell = from[cell])
        cells.push_back(centre(cell));
    cells.push_back(QPointF(canvas.seeds[a]));
    std::reverse(cells.begin(), cells.end());
    cells.back() = QPointF(canvas.seeds[b]);
    // Pulled straight: from each corner, on to the farthest point of the path that a straight
    // line reaches past no label, over no more of third territories' land and along no more of
    // other links.
    std::vector<LineCost> soFar(cells.size());
    for (size_t i = 1; i < cells.size(); ++i) {
        const LineCost step = costOnLine(canvas, obstacles, links, cells[i - 1], cells[i], a, b);
        soFar[i] = {false, soFar[i - 1].thirdLand + step.thirdLand, soFar[i - 1].linkCells + step.linkCells};
    }
    Polyline pulled{cells.front()};
    for (size_t i = 0; i + 1 < cells.size();) {
        size_t j = cells.size() - 1;
        for (; j > i + 1; --j) {
            const LineCost direct = costOnLine(canvas, obstacles, links, cells[i], cells[j], a, b);
            if (!direct.blocked && direct.thirdLand <= soFar[j].thirdLand - soFar[i].thirdLand
                && direct.linkCells <= soFar[j].linkCells - soFar[i].linkCells + 1)
                break;
        }
        pulled.push_back(cells[j]);
        i = j;
    }
    return pulled;
}

// The way a link takes: a list of polylines, two for a link round the back of a wrapping map.
std::vector<Polyline> routeOf(const Canvas &canvas, const Obstacles &obstacles, const LinkCells &links, int a, int b)
{
    const QPointF pa(canvas.seeds[a]);
    const QPointF pb(canvas.seeds[b]);
    QPointF shift(0, 0);
    if (canvas.wrap.across && std::abs(pa.x() - pb.x()) > canvas.width / 2.0)
        shift.setX(pa.x() < pb.x() ? -canvas.width : canvas.width);
    if (canvas.wrap.down && std::abs(pa.y() - pb.y()) > canvas.height / 2.0)
        shift.setY(pa.y() < pb.y() ? -canvas.height : canvas.height);
    if (!shift.isNull())
        return {{pa, pb + shift}, {pb, pa - shift}};
    const LineCost straight = costOnLine(canvas, obstacles, links, pa, pb, a, b);
    if (!straight.blocked && straight.thirdLand == 0 && straight.linkCells <= 3)
        return {{pa, pb}};
    const Polyline round = roundTheLabels(canvas, obstacles, links, a, b);
    if (round.empty())
        return {{pa, pb}};
    return {round};
}

// Whether a link may end at pixel (x, y) on territory t's land: the fillable inside of t lies
// right there, and no other territory's land near enough to be taken for the end.
bool endsClearlyOn(const Canvas &canvas, int x, int y, int t)
{
    constexpr int kNear = 4;
    bool inside = false;
    for (int dy = -kNear; dy <= kNear; ++dy)
        for (int dx = -kNear; dx <= kNear; ++dx)
            if (canvas.inside(x + dx, y + dy)) {
                const int owner = canvas.at(x + dx, y + dy);
                if (owner > 0 && owner != t)
                    return false;
                inside = inside || (std::abs(dx) <= 1 && std::abs(dy) <= 1 && isInterior(canvas, x + dx, y + dy));
            }
    return inside;
}

// Whether a dash may cover pixel p without cutting the land a fill reaches in two: the fillable
// pixels among the four beside it stay joined round its corners.
bool keepsLandWhole(const QImage &image, const FillableColours &fillable, QPoint p)
{
    const auto filled = [&](QPoint q) {
        return q.x() >= 0 && q.y() >= 0 && q.x() < image.width() && q.y() < image.height()
            && fillable.contains(reinterpret_cast<const QRgb *>(image.constScanLine(q.y()))[q.x()]);
    };
    if (!filled(p))
        return true;
    // Round p: north, north-east, east, ... north-west.
    const QPoint ring[] = {QPoint(0, -1), QPoint(1, -1), QPoint(1, 0), QPoint(1, 1),
                           QPoint(0, 1), QPoint(-1, 1), QPoint(-1, 0), QPoint(-1, -1)};
    bool on[8];
    for (int i = 0; i < 8; ++i)
        on[i] = filled(p + ring[i]);
    int sides = 0;
    int joined = 0;
    for (int i = 0; i < 8; i += 2) {
        sides += on[i] ? 1 : 0;
        joined += on[i] && on[i + 1] && on[(i + 2) % 8] ? 1 : 0;
    }
    return sides - joined <= 1;
}

// Draws one polyline of link `shade` in dashes. Across the sea it runs from coast to coast; where
// it crosses a third territory's land, or a coast where it would end lies near another territory,
// or where it runs off the picture (`wholeWay`), it runs all the way from the label, so each end
// lies clearly on its own territory. Each stretch starts and ends with a dash.
void drawDashes(QImage &image, const Canvas &canvas, const Polyline &line, int a, int b, int shade, LinkCells &links,
                bool wholeWay)
{
    std::vector<QPoint> pixels;
    for (size_t i = 0; i + 1 < line.size(); ++i)
        walkLine(line[i], line[i + 1], [&](int x, int y) {
            if (!canvas.inside(x, y))
                return false;
            if (pixels.empty() || pixels.back() != QPoint(x, y))
                pixels.push_back(QPoint(x, y));
            return true;
        });
    const QRect ownNumbers[] = {numberBox(canvas.numbers[a]).adjusted(-2, -2, 2, 2),
                                numberBox(canvas.numbers[b]).adjusted(-2, -2, 2, 2)};
    const auto ownLand = [&](QPoint p) {
        const int owner = canvas.at(p.x(), p.y());
        return owner == a || owner == b;
    };
    for (size_t i = 0; i < pixels.size() && !wholeWay; ++i) {
        const int owner = canvas.at(pixels[i].x(), pixels[i].y());
        wholeWay = owner > 0 && owner != a && owner != b;
        // A coast where a stretch over the sea would end.
        const bool endsHere = i > 0 && ownLand(pixels[i]) != ownLand(pixels[i - 1]);
        if (endsHere) {
            const QPoint land = ownLand(pixels[i]) ? pixels[i] : pixels[i - 1];
            wholeWay = !endsClearlyOn(canvas, land.x(), land.y(), canvas.at(land.x(), land.y()));
        }
    }
    const QRgb colour = mapLinkColour(shade);
    const int dash = canvas.pixels(kDash);
    const int period = dash + canvas.pixels(kGap);
    const int longestGap = canvas.pixels(kGap);
    const FillableColours fillable;
    std::vector<QPoint> stretch;
    const auto pixelAt = [&](QPoint p) -> QRgb & { return reinterpret_cast<QRgb *>(image.scanLine(p.y()))[p.x()]; };
    const auto drawable = [&](QPoint q) {
        return canvas.inside(q.x(), q.y()) && mapLinkOf(pixelAt(q)) < 0 && !ownNumbers[0].contains(q)
            && !ownNumbers[1].contains(q) && keepsLandWhole(image, fillable, q);
    };
    // Where another link already lies, or a dash would cut land in two, the link steps a pixel
    // aside.
    const auto freePixelNear = [&](QPoint p) {
        if (drawable(p))
            return p;
        for (const QPoint &o : {QPoint(0, -1), QPoint(0, 1), QPoint(-1, 0), QPoint(1, 0), QPoint(-1, -1), QPoint(1, 1),
                                QPoint(-1, 1), QPoint(1, -1)})
            if (drawable(p + o))
                return p + o;
        return QPoint(-1, -1);
    };
    const auto flush = [&]() {
        int sinceDrawn = 0;
        for (size_t i = 0; i < stretch.size(); ++i) {
            const bool inDash = static_cast<int>(i) % period < dash || i + 1 == stretch.size();
            const QPoint p = inDash || sinceDrawn >= longestGap ? freePixelNear(stretch[i]) : QPoint(-1, -1);
            if (p.x() >= 0) {
                pixelAt(p) = colour;
                sinceDrawn = 0;
            } else {
                ++sinceDrawn;
            }
            links.used[static_cast<size_t>(links.cellOf(stretch[i].x(), stretch[i].y()))] = 1;
        }
        stretch.clear();
    };
    for (const QPoint &p : pixels) {
        if (ownNumbers[0].contains(p) || ownNumbers[1].contains(p) || (!wholeWay && ownLand(p)))
            flush();
        else
            stretch.push_back(p);
    }
    flush();
}

} // namespace

void drawLinks(QImage &image, const Canvas &canvas, const QRect &panel)
{
    const Obstacles obstacles = obstaclesOf(canvas, panel);
    const QHash<quint32, int> lengths = borderLengths(canvas);
    LinkCells links;
    links.columns = (canvas.width + kCell - 1) / kCell;
    links.used.assign(static_cast<size_t>(links.columns) * ((canvas.height + kCell - 1) / kCell), 0);
    int shade = 0;
    for (const Pair &pair : canvas.pairs) {
        if (lengths.value(pairKey(pair.first, pair.second)) >= canvas.pixels(kShortestBorder))
            continue;
        const auto route = routeOf(canvas, obstacles, links, pair.first, pair.second);
        for (const Polyline &line : route)
            drawDashes(image, canvas, line, pair.first, pair.second, shade, links, route.size() > 1);
        shade = (shade + 1) % kMapLinkShades;
    }
}
