#include "ai/ChainSearch.h"

#include "ai/AiState.h"
#include "ai/Toolkit.h"

#include <climits>

namespace {

constexpr int kShortRouteLength = 5;
constexpr int kUnreachable = INT_MAX / 4;

int searchSteps = 0;

// The way to a target as a search sees it: which territories a chain may cross (not the
// player's, weaker than the start), the steps from each of them to the target through such
// territories, and the fewest armies on any of them.
struct DistancesToTarget {
    std::array<bool, kMaxTerritories + 1> open;
    std::array<int, kMaxTerritories + 1> steps;
    int cheapest;
};

int longestChain()
{
    return shortRouteOnly ? kShortRouteLength : kCandidateLength;
}

// Territories a chain from `from` may cross, then the steps from each of them to `to`, walking
// back from `to` over the links that reach it; no further than a chain of `maxLength` needs.
// The map look-up tables must be open.
void measureDistances(int from, int to, int maxLength, DistancesToTarget &out)
{
    const int startArmies = armiesOf(from);
    out.open.fill(false);
    out.steps.fill(kUnreachable);
    out.cheapest = INT_MAX;
    for (int t = 1; t <= territoryCount; ++t) {
        out.open[t] = t != from && !isOwnTerritory(t) && armiesOf(t) < startArmies;
        if (out.open[t])
            out.cheapest = qMin(out.cheapest, qMax(0, armiesOf(t)));
    }
    out.steps[to] = 0;
    std::array<int, kMaxTerritories + 1> queue{};
    int head = 0, tail = 0;
    queue[tail++] = to;
    while (head < tail) {
        const int t = queue[head++];
        if (out.steps[t] >= maxLength - 2)
            continue;
        const MapLookupTables &map = mapLookupTables;
        for (int i = map.reachingStart[t]; i < map.reachingStart[t + 1]; ++i) {
            const int u = map.reaching[i];
            if (out.steps[u] == kUnreachable && out.open[u]) {
                out.steps[u] = out.steps[t] + 1;
                queue[tail++] = u;
            }
        }
    }
}

// Rows are only added when they beat the best so far, and a branch that cannot reach `to`
// within the depth, or cannot arrive with more armies than the best row, is not entered; the
// row chosen is the same as if every chain had been listed. The row table and a step budget
// bound the work on dense map files.
class DepthFirstSearch {
public:
    // Searches at once.
    DepthFirstSearch(int from, int to, const DistancesToTarget &distances, int maxLength)
        : to_(to), maxLength_(maxLength), distances_(distances), open_(distances.open),
          neighbours_(mapLookupTables.neighbours)
    {
        extend(from, 1, armiesOf(from));
    }

private:
    bool mustStop() const
    {
        return routeCandidateCount >= kMaxCandidateRows || searchSteps >= kRouteSearchStepLimit;
    }

    // `length` territories on the path, the last being `last`, arriving with `score` armies.
    void extend(int last, int length, int score)
    {
        const qint64 perStep = qint64(distances_.cheapest) + 1;
        for (int u : neighbours_[last]) {
            if (mustStop())
                return;
            ++searchSteps;
            if (!open_[u])
                continue;
            const int distance = distances_.steps[u];
            if (distance == kUnreachable || length + distance > maxLength_ - 1)
                continue;
            const int arriving = score - armiesOf(u) - 1;
            if (arriving - distance * perStep <= best_) // in 64 bits: armies may reach 2*10^9
                continue;
            routePath[length] = static_cast<quint8>(u);
            if (u == to_) {
                addPathRow(length + 1);
                best_ = arriving;
                continue;
            }
            open_[u] = false; // on the path now
            extend(u, length + 1, arriving);
            open_[u] = true;
        }
    }

    void addPathRow(int length)
    {
        RouteCandidate row{};
        for (int i = 0; i < length; ++i)
            row[i + 1] = routePath[i];
        routeCandidates[++routeCandidateCount] = row;
    }

    int to_;
    int maxLength_;
    int best_ = 0;
    const DistancesToTarget &distances_;
    std::array<bool, kMaxTerritories + 1> open_;
    const std::array<Neighbours, kMaxTerritories + 1> &neighbours_;
};

} // namespace

int lastRouteSearchSteps()
{
    return searchSteps;
}

void clearRouteSearchSteps()
{
    searchSteps = 0;
}

bool ChainCosts::mayArrive(int from, int to)
{
    // A chain crosses only territories weaker than its start, so a chain through a stronger one
    // would cost more than the start has: the least cost over all the others' territories is
    // the least over those it may cross.
    const int p = currentPlayer;
    const int startArmies = armiesOf(from);
    const Costs &cost = costsTo(to, p);
    for (int u : neighboursOf(from)) {
        if (ownerOf(u) == p || armiesOf(u) >= startArmies || cost[u] == kUnreachable)
            continue;
        if (qint64(startArmies) - armiesOf(u) - 1 - cost[u] >= 1)
            return true;
    }
    return false;
}

ChainCosts::ChainCosts()
{
    tableOf_.fill(-1);
    strongest_.fill(-1);
}

int ChainCosts::strongestOf(int p)
{
    if (strongest_[p] < 0) {
        strongest_[p] = 0;
        for (int t = 1; t <= territoryCount; ++t)
            if (ownerOf(t) == p)
                strongest_[p] = qMax(strongest_[p], armiesOf(t));
    }
    return strongest_[p];
}

const ChainCosts::Costs &ChainCosts::costsTo(int to, int p)
{
    qint16 &table = tableOf_[to * (kMaxPlayers + 1) + p];
    if (table >= 0)
        return tables_[table];
    const int strongest = strongestOf(p);
    table = static_cast<qint16>(tables_.size());
    tables_.emplace_back();
    Costs &cost = tables_.back();
    cost.fill(kUnreachable);
    cost[to] = 0;
    // Walking back from `to` over the links that reach each territory, a territory again each
    // time its cost falls.
    // A ring that holds every territory at once: each is in it at most once at a time.
    constexpr int kRing = 256;
    static_assert(kRing > kMaxTerritories, "the ring holds every territory");
    std::array<int, kRing> queue;
    std::array<bool, kMaxTerritories + 1> queued{};
    int head = 0, size = 0;
    const auto push = [&](int t) {
        queue[(head + size++) & (kRing - 1)] = t;
        queued[t] = true;
    };
    push(to);
    const MapLookupTables &map = mapLookupTables;
    while (size > 0) {
        const int w = queue[head];
        head = (head + 1) & (kRing - 1);
        --size;
        queued[w] = false;
        const qint64 step = qint64(cost[w]) + armiesOf(w) + 1;
        if (step >= strongest)
            continue;
        for (int i = map.reachingStart[w]; i < map.reachingStart[w + 1]; ++i) {
            const int v = map.reaching[i];
            if (step < cost[v] && ownerOf(v) != p) {
                cost[v] = static_cast<int>(step);
                if (!queued[v])
                    push(v);
            }
        }
    }
    return cost;
}

void searchNeighbourGraph(int from, int to, ChainCosts *costs)
{
    routePath.fill(0);
    routePath[0] = static_cast<quint8>(from);
    RouteCandidate first{};
    first[1] = static_cast<quint8>(from);
    routeCandidates[++routeCandidateCount] = first;
    // `to` itself must be one a chain may cross.
    if (to == from || !isValidTerritory(to) || isOwnTerritory(to) || armiesOf(to) >= armiesOf(from))
        return;
    MapLookupScope lookups;
    if (costs && isOwnTerritory(from) && !costs->mayArrive(from, to))
        return;
    const int maxLength = longestChain();
    DistancesToTarget distances;
    measureDistances(from, to, maxLength, distances);
    DepthFirstSearch(from, to, distances, maxLength);
}
