#include "MapTerritories.h"

#include "MapLand.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

using namespace map_canvas;

namespace {

// The reserve reaches this far past the army number, so a border never touches the number.
constexpr int kReserveMargin = 2;
// Each side of a channel between two territories that are not neighbours gives up this much, at
// the design size: the channel is twice as wide.
constexpr double kChannelHalf = 2.0;
// Two neighbours whose border is too short are parted more widely, so the link drawn between
// them ends clearly on each.
constexpr double kStraitHalf = 5.0;
// The oval a cramped territory keeps round its label, half its width and height.
constexpr QSizeF kRoomyOval(18.0, 11.0);

const QPoint kSides[] = {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)};

// The sources each territory grows from: its reserve, and the half of each land link that leads
// toward its neighbour, so that neighbours meet halfway.
std::vector<int> placeSources(Canvas &canvas, const std::vector<Pair> &landLinks)
{
    std::vector<int> sources;
    for (size_t p = 0; p < canvas.owner.size(); ++p)
        if (canvas.reserve[p] > 0) {
            canvas.owner[p] = canvas.reserve[p];
            sources.push_back(static_cast<int>(p));
        }
    // A half link stops at the sea and at another territory's pixels, so that every source of a
    // territory stays joined to its label.
    const auto claim = [&](int x, int y, int t) {
        if (!canvas.inside(x, y))
            return false;
        qint16 &owner = canvas.at(x, y);
        if (owner == kNoOwner) {
            owner = static_cast<qint16>(t);
            sources.push_back(static_cast<int>(canvas.index(x, y)));
        }
        return owner == t;
    };
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
    return sources;
}

// The pixels the painter fills: a territory's pixels with nothing else among the eight round them.
std::vector<quint8> interiorPixels(const Canvas &canvas)
{
    std::vector<quint8> interior(canvas.owner.size());
    for (size_t p = 0; p < interior.size(); ++p)
        interior[p] = canvas.owner[p] > 0 ? 1 : 0;
    const int w = canvas.width;
    // Each pair of pixels side by side (across, down and both ways slanting) is looked at once.
    for (int y = 0; y < canvas.height; ++y) {
        const size_t row = static_cast<size_t>(y) * w;
        const bool below = y + 1 < canvas.height;
        for (int x = 0; x < w; ++x) {
            const size_t p = row + x;
            const qint16 own = canvas.owner[p];
            const auto differ = [&](size_t q) {
                if (canvas.owner[q] != own)
                    interior[p] = interior[q] = 0;
            };
            if (x + 1 < w)
                differ(p + 1);
            if (below) {
                differ(p + w);
                if (x + 1 < w)
                    differ(p + w + 1);
                if (x > 0)
                    differ(p + w - 1);
            }
        }
    }
    return interior;
}

// Which pixels each territory's fill reaches from its label (the painter fills four ways round
// over the pixels that are not border).
std::vector<quint8> reachedFromLabels(const Canvas &canvas, const std::vector<quint8> &interior)
{
    std::vector<quint8> reached(canvas.owner.size(), 0);
    std::vector<int> stack;
    for (int t = 1; t <= canvas.count; ++t) {
        const size_t seed = canvas.index(canvas.seeds[t].x(), canvas.seeds[t].y());
        if (canvas.owner[seed] != t || !interior[seed] || reached[seed])
            continue;
        reached[seed] = 1;
        stack.assign(1, static_cast<int>(seed));
        while (!stack.empty()) {
            const int p = stack.back();
            stack.pop_back();
            const int x = p % canvas.width;
            const int y = p / canvas.width;
            for (const QPoint &o : kSides) {
                if (!canvas.inside(x + o.x(), y + o.y()))
                    continue;
                const size_t q = canvas.index(x + o.x(), y + o.y());
                if (!reached[q] && interior[q] && canvas.owner[q] == t) {
                    reached[q] = 1;
                    stack.push_back(static_cast<int>(q));
                }
            }
        }
    }
    return reached;
}

// Whether pixel (x, y) lies next to (or is) a pixel of its own territory that the fill reaches.
bool nextToFilled(const Canvas &canvas, const std::vector<quint8> &reached, int x, int y)
{
    const int t = canvas.at(x, y);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (canvas.inside(x + dx, y + dy) && reached[canvas.index(x + dx, y + dy)] && canvas.at(x + dx, y + dy) == t)
                return true;
    return false;
}

// The lowest (or highest, by `pick`) of `line`'s values within `reach` of each place, three looks
// a place: the line is cut into blocks as wide as the window, and each window spans the end of
// one block and the start of the next.
template <typename Pick>
void spreadAlong(std::vector<qint16> &line, int reach, Pick pick)
{
    const int n = static_cast<int>(line.size());
    const int block = 2 * reach + 1;
    std::vector<qint16> fromStart(line.size());
    std::vector<qint16> fromEnd(line.size());
    for (int i = 0; i < n; ++i)
        fromStart[i] = i % block == 0 ? line[i] : pick(fromStart[i - 1], line[i]);
    for (int i = n - 1; i >= 0; --i)
        fromEnd[i] = i % block == block - 1 || i == n - 1 ? line[i] : pick(fromEnd[i + 1], line[i]);
    for (int i = 0; i < n; ++i)
        line[i] = pick(fromEnd[qMax(0, i - reach)], fromStart[qMin(n - 1, i + reach)]);
}

// The pixels of a territory that another territory's pixel comes within `reach` of: the lowest
// and highest territory number near each pixel, along the rows and then the columns.
std::vector<quint8> nearOtherTerritories(const Canvas &canvas, int reach)
{
    constexpr qint16 kNone = std::numeric_limits<qint16>::max();
    const auto lower = [](qint16 a, qint16 b) { return qMin(a, b); };
    const auto higher = [](qint16 a, qint16 b) { return qMax(a, b); };
    std::vector<qint16> low(canvas.owner.size());
    std::vector<qint16> high(canvas.owner.size());
    for (size_t p = 0; p < low.size(); ++p) {
        low[p] = canvas.owner[p] > 0 ? canvas.owner[p] : kNone;
        high[p] = canvas.owner[p] > 0 ? canvas.owner[p] : qint16(0);
    }
    std::vector<qint16> line;
    const auto spreadLines = [&](std::vector<qint16> &values, auto pick) {
        line.resize(static_cast<size_t>(canvas.width));
        for (int y = 0; y < canvas.height; ++y) {
            std::copy_n(values.begin() + static_cast<long>(canvas.index(0, y)), canvas.width, line.begin());
            spreadAlong(line, reach, pick);
            std::copy(line.begin(), line.end(), values.begin() + static_cast<long>(canvas.index(0, y)));
        }
        line.resize(static_cast<size_t>(canvas.height));
        for (int x = 0; x < canvas.width; ++x) {
            for (int y = 0; y < canvas.height; ++y)
                line[static_cast<size_t>(y)] = values[canvas.index(x, y)];
            spreadAlong(line, reach, pick);
            for (int y = 0; y < canvas.height; ++y)
                values[canvas.index(x, y)] = line[static_cast<size_t>(y)];
        }
    };
    spreadLines(low, lower);
    spreadLines(high, higher);
    std::vector<quint8> near(canvas.owner.size());
    for (size_t p = 0; p < near.size(); ++p)
        near[p] = canvas.owner[p] > 0 && (low[p] < canvas.owner[p] || high[p] > canvas.owner[p]) ? 1 : 0;
    return near;
}

// Pixels of a territory near a territory it must be parted from become sea. Both sides give up
// what lies within `bothSides`; then, where water is still narrower than `width`, the side with the
// higher number gives up the rest (or the side facing the other's reserve, which never sinks). Which
// pairs are parted: those that are not neighbours, or only `onlyPairs` when given.
bool carveChannels(Canvas &canvas, int bothSides, int width, const PairTable *onlyPairs)
{
    const auto parted = [&](int t, int u) { return onlyPairs ? onlyPairs->has(t, u) : !canvas.areNeighbours(t, u); };
    // Territories that have anyone to be parted from.
    std::vector<quint8> involved(static_cast<size_t>(canvas.count) + 1, onlyPairs ? 0 : 1);
    if (onlyPairs)
        for (int t = 1; t <= canvas.count; ++t)
            for (int u = 1; u <= canvas.count && !involved[static_cast<size_t>(t)]; ++u)
                involved[static_cast<size_t>(t)] = onlyPairs->has(t, u) ? 1 : 0;
    // Carving only takes pixels away, so what is near another territory before the first pass
    // still holds every pixel that can be carved in the second.
    const std::vector<quint8> near = nearOtherTerritories(canvas, qMax(bothSides, width));
    const auto pass = [&](bool oneSided) {
        const int reach = oneSided ? width : bothSides;
        // Where each run of one owner (reserved or not) along a row ends, so a window takes a run
        // at once.
        const auto reserved = [&](size_t p) { return canvas.owner[p] > 0 && canvas.reserve[p] == canvas.owner[p]; };
        std::vector<int> runEnd(canvas.owner.size());
        for (int y = 0; y < canvas.height; ++y)
            for (int x = canvas.width - 1; x >= 0; --x) {
                const size_t p = canvas.index(x, y);
                const bool same = x + 1 < canvas.width && canvas.owner[p + 1] == canvas.owner[p]
                    && reserved(p + 1) == reserved(p);
                runEnd[p] = same ? runEnd[p + 1] : x;
            }
        std::vector<qint16> next = canvas.owner;
        bool changed = false;
        for (int y = 0; y < canvas.height; ++y)
            for (int x = 0; x < canvas.width; ++x) {
                const size_t p = canvas.index(x, y);
                const int t = canvas.owner[p];
                if (t <= 0 || !near[p] || !involved[static_cast<size_t>(t)] || canvas.reserve[p] == t)
                    continue;
                bool carve = false;
                for (int wy = qMax(0, y - reach); wy <= qMin(canvas.height - 1, y + reach) && !carve; ++wy) {
                    const int last = qMin(canvas.width - 1, x + reach);
                    for (int wx = qMax(0, x - reach); wx <= last && !carve;) {
                        const size_t q = canvas.index(wx, wy);
                        const int u = canvas.owner[q];
                        carve = u > 0 && u != t && parted(t, u) && (!oneSided || t > u || reserved(q));
                        wx = runEnd[q] + 1;
                    }
                }
                if (carve) {
                    next[p] = kWater;
                    changed = true;
                }
            }
        canvas.owner.swap(next);
        return changed;
    };
    const bool first = pass(false);
    return pass(true) || first;
}

// Pieces of a territory that its fill no longer reaches from the label (cut off by a channel, or
// joined only through a neck narrower than its borders) go to the neighbour they border most, when
// that one neighbours everything round them, or else sink; slivers without any fillable pixel sink
// too, and so does a piece that moved before and was cut off again.
bool settleCutOffPieces(Canvas &canvas, std::vector<quint8> &movedBefore)
{
    const size_t size = canvas.owner.size();
    const std::vector<quint8> interior = interiorPixels(canvas);
    const std::vector<quint8> reached = reachedFromLabels(canvas, interior);
    // A border pixel stays with its territory when it lies next to a reached pixel of it.
    const auto kept = [&](int x, int y) { return nextToFilled(canvas, reached, x, y); };
    std::vector<quint8> seen(size, 0);
    bool anyMoved = false;
    for (int start = 0; start < static_cast<int>(size); ++start) {
        const int t = canvas.owner[start];
        if (t <= 0 || seen[start] || reached[start] || kept(start % canvas.width, start / canvas.width))
            continue;
        // The piece: pixels of t joined to `start` that are neither reached nor kept.
        std::vector<int> piece{start};
        seen[start] = 1;
        for (size_t i = 0; i < piece.size(); ++i) {
            const int x = piece[i] % canvas.width;
            const int y = piece[i] / canvas.width;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    if (!canvas.inside(x + dx, y + dy))
                        continue;
                    const size_t q = canvas.index(x + dx, y + dy);
                    if (!seen[q] && canvas.owner[q] == t && !reached[q] && !kept(x + dx, y + dy)) {
                        seen[q] = 1;
                        piece.push_back(static_cast<int>(q));
                    }
                }
        }
        std::array<int, kMaxTerritories + 1> votes{};
        for (int p : piece)
            for (int dy = -3; dy <= 3; ++dy)
                for (int dx = -3; dx <= 3; ++dx) {
                    const int x = p % canvas.width + dx;
                    const int y = p / canvas.width + dy;
                    if (!canvas.inside(x, y))
                        continue;
                    const int u = canvas.at(x, y);
                    votes[u > 0 ? u : 0] += u > 0 ? 1 : 0;
                }
        // A sliver without a fillable pixel simply sinks.
        bool fillable = false;
        bool moved = false;
        for (int p : piece) {
            fillable = fillable || interior[static_cast<size_t>(p)] != 0;
            moved = moved || movedBefore[static_cast<size_t>(p)] != 0;
        }
        fillable = fillable && !moved;
        int heir = 0;
        for (int u = 1; u <= canvas.count && fillable; ++u) {
            if (u == t || votes[u] == 0 || (heir != 0 && votes[u] <= votes[heir]))
                continue;
            bool fits = true;
            for (int v = 1; v <= canvas.count && fits; ++v)
                fits = votes[v] == 0 || canvas.areNeighbours(u, v);
            if (fits)
                heir = u;
        }
        for (int p : piece) {
            canvas.owner[p] = heir > 0 ? static_cast<qint16>(heir) : kWater;
            movedBefore[static_cast<size_t>(p)] = 1;
        }
        anyMoved = true;
    }
    return anyMoved;
}

// Neighbours whose border is too short to see are parted like strangers, more widely.
bool partShortBorders(Canvas &canvas)
{
    const QHash<quint32, int> lengths = borderLengths(canvas);
    const int half = canvas.pixels(kStraitHalf);
    // Labels so close that no strait fits between their numbers keep their border.
    const auto roomBetween = [&](int a, int b) {
        const QRect ra = numberBox(canvas.numbers[a]).adjusted(-kReserveMargin, -kReserveMargin, kReserveMargin, kReserveMargin);
        const QRect rb = numberBox(canvas.numbers[b]).adjusted(-kReserveMargin, -kReserveMargin, kReserveMargin, kReserveMargin);
        const int gap = std::max({rb.left() - ra.right(), ra.left() - rb.right(), rb.top() - ra.bottom(), ra.top() - rb.bottom()});
        return gap > 2 * half;
    };
    PairTable shortOnes(canvas.count);
    bool any = false;
    for (auto it = lengths.begin(); it != lengths.end(); ++it) {
        const int a = static_cast<int>(it.key() >> 16);
        const int b = static_cast<int>(it.key() & 0xffff);
        if (it.value() > 0 && it.value() < canvas.pixels(kShortestBorder) && canvas.areNeighbours(a, b)
            && roomBetween(a, b)) {
            shortOnes.set(a, b);
            any = true;
        }
    }
    return any && carveChannels(canvas, half, 2 * half, &shortOnes);
}

} // namespace

void reserveLabels(Canvas &canvas, const std::vector<int> &roomy, const QRect &panel)
{
    canvas.reserve.assign(canvas.owner.size(), 0);
    const QRect picture(0, 0, canvas.width, canvas.height);
    const auto take = [&](int x, int y, int t) {
        const size_t p = canvas.index(x, y);
        if (canvas.reserve[p] == 0 && !panel.contains(x, y)) {
            canvas.reserve[p] = static_cast<qint16>(t);
            canvas.owner[p] = kNoOwner;
        }
    };
    // The number and the pixel round it first, for every label, so that a label close by cannot
    // take them with its margin; the margin stops a channel's width short of the number of a
    // territory that is not a neighbour.
    const auto boxOf = [&](int t, int margin) {
        return numberBox(canvas.numbers[t]).adjusted(-margin, -margin, margin, margin).intersected(picture);
    };
    for (int t = 1; t <= canvas.count; ++t) {
        const QRect box = boxOf(t, 1);
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                take(x, y, t);
    }
    const std::vector<qint16> cores = canvas.reserve;
    const int channel = canvas.pixels(2 * kChannelHalf);
    const auto nearStranger = [&](int x, int y, int t) {
        for (int dy = -channel; dy <= channel; ++dy)
            for (int dx = -channel; dx <= channel; ++dx)
                if (canvas.inside(x + dx, y + dy)) {
                    const int u = cores[canvas.index(x + dx, y + dy)];
                    if (u > 0 && !canvas.areNeighbours(t, u))
                        return true;
                }
        return false;
    };
    for (int t = 1; t <= canvas.count; ++t) {
        const QRect box = boxOf(t, kReserveMargin);
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                if (!nearStranger(x, y, t))
                    take(x, y, t);
    }
    // Two neighbours' numbers close together keep no gap between them where a channel could open.
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x) {
            if (canvas.reserve[canvas.index(x, y)] != 0)
                continue;
            for (const QPoint &step : {QPoint(1, 0), QPoint(0, 1)}) {
                const auto reserveAt = [&](int k) {
                    const QPoint q = QPoint(x, y) + k * step;
                    return canvas.inside(q.x(), q.y()) ? canvas.reserve[canvas.index(q.x(), q.y())] : qint16(0);
                };
                const int before = reserveAt(-1) != 0 ? reserveAt(-1) : reserveAt(-2);
                const int after = reserveAt(1) != 0 ? reserveAt(1) : reserveAt(2);
                if (before > 0 && after > 0 && before != after && canvas.areNeighbours(before, after)) {
                    take(x, y, reserveAt(-1) != 0 ? before : after);
                    break;
                }
            }
        }
    // The oval: nearer its own label than any other (by a channel's width more than a stranger's),
    // its edge bent a little by the noise of the coasts.
    const std::vector<float> &noise = noiseField(QSize(canvas.width, canvas.height), canvas.scale, 26.0, 11);
    const double rx = kRoomyOval.width() * canvas.scale;
    const double ry = kRoomyOval.height() * canvas.scale;
    const int apart = canvas.pixels(2 * kChannelHalf) + 2;
    for (int t : roomy) {
        const QPointF centre = QPointF(canvas.seeds[t]) + QPointF(0, 0.5);
        const QRect area = QRectF(centre.x() - rx, centre.y() - ry, 2 * rx, 2 * ry).toAlignedRect().intersected(picture);
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                const double ex = (x - centre.x()) / rx;
                const double ey = (y - centre.y()) / ry;
                const double bend = 1.0 + 0.12 * noise[canvas.index(x, y)];
                if (ex * ex + ey * ey > bend * bend)
                    continue;
                const double own = std::hypot(x - canvas.seeds[t].x(), y - canvas.seeds[t].y());
                bool nearest = true;
                for (int u = 1; u <= canvas.count && nearest; ++u)
                    if (u != t)
                        nearest = own + (canvas.areNeighbours(t, u) ? 1 : apart)
                            <= std::hypot(x - canvas.seeds[u].x(), y - canvas.seeds[u].y());
                if (nearest)
                    take(x, y, t);
            }
    }
}

std::vector<int> crampedTerritories(const Canvas &canvas)
{
    const std::vector<quint8> reached = reachedFromLabels(canvas, interiorPixels(canvas));
    std::vector<int> area(static_cast<size_t>(canvas.count) + 1, 0);
    for (size_t p = 0; p < reached.size(); ++p)
        if (reached[p])
            ++area[static_cast<size_t>(canvas.owner[p])];
    std::vector<int> cramped;
    for (int t = 1; t <= canvas.count; ++t)
        if (area[static_cast<size_t>(t)] < kSmallestRegion * canvas.scale * canvas.scale)
            cramped.push_back(t);
    return cramped;
}

// Dijkstra over the land from all sources at once; the way is slower in some places than in
// others (a noise field), which bends the borders the way real ones bend.
void growTerritories(Canvas &canvas, const std::vector<Pair> &landLinks)
{
    const std::vector<int> sources = placeSources(canvas, landLinks);
    constexpr int kStraight = 20;
    constexpr int kDiagonal = 28;
    constexpr int kLongestStep = kDiagonal * 3 / 2;
    const std::vector<float> &noise = noiseField(QSize(canvas.width, canvas.height), canvas.scale, 22.0, 53);
    std::vector<quint8> slowness(canvas.owner.size());
    for (size_t p = 0; p < slowness.size(); ++p)
        slowness[p] = static_cast<quint8>(std::lround(100.0 * qBound(0.5, 1.0 + 0.4 * noise[p], 1.5)));
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
                    const int q = static_cast<int>(canvas.index(x + dx, y + dy));
                    if (canvas.owner[q] == kWater || canvas.reserve[q] > 0)
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

void partTerritories(Canvas &canvas)
{
    const int half = canvas.pixels(kChannelHalf);
    std::vector<quint8> movedBefore(canvas.owner.size(), 0);
    for (int pass = 0; pass < 12; ++pass) {
        const bool carved = carveChannels(canvas, half, 2 * half, nullptr);
        const bool settled = settleCutOffPieces(canvas, movedBefore);
        const bool parted = partShortBorders(canvas);
        const bool changed = carved || settled || parted;
        if (!changed)
            return;
    }
    std::fprintf(stderr, "artgen: the territories do not settle\n");
}

QHash<quint32, int> borderLengths(const Canvas &canvas)
{
    // A border pixel counts when it lies next to its territory's filled inside, as a player sees
    // it: slivers that are all border show no border of their own.
    const std::vector<quint8> reached = reachedFromLabels(canvas, interiorPixels(canvas));
    const auto nextToInside = [&](int x, int y) { return nextToFilled(canvas, reached, x, y); };
    // Per direction: pixels of a that touch b, keyed a << 16 | b.
    QHash<quint32, int> touching;
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x) {
            const int a = canvas.at(x, y);
            if (a <= 0 || reached[canvas.index(x, y)] || !nextToInside(x, y))
                continue;
            int seen[8];
            int count = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    if (!canvas.inside(x + dx, y + dy))
                        continue;
                    const int b = canvas.at(x + dx, y + dy);
                    if (b > 0 && b != a && std::find(seen, seen + count, b) == seen + count
                        && nextToInside(x + dx, y + dy))
                        seen[count++] = b;
                }
            for (int i = 0; i < count; ++i)
                ++touching[static_cast<quint32>(a) << 16 | static_cast<quint32>(seen[i])];
        }
    QHash<quint32, int> lengths;
    for (auto it = touching.begin(); it != touching.end(); ++it) {
        const int a = static_cast<int>(it.key() >> 16);
        const int b = static_cast<int>(it.key() & 0xffff);
        if (a < b)
            lengths.insert(pairKey(a, b), qMin(it.value(), touching.value(static_cast<quint32>(b) << 16 | a)));
    }
    return lengths;
}

//END

// A pixel of a territory that a fill reaches: all eight pixels round it are the territory's own
// (a pixel next to anything else is painted as border or coast).
bool isInterior(const Canvas &canvas, int x, int y)
{
    const qint16 t = canvas.at(x, y);
    if (t <= 0)
        return false;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (canvas.inside(x + dx, y + dy) && canvas.at(x + dx, y + dy) != t)
                return false;
    return true;
}
