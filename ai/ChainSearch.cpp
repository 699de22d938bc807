#include "ai/ChainSearch.h"

#include "ai/AiState.h"
#include "ai/Toolkit.h"

#include <algorithm>
#include <climits>

namespace {

constexpr int kShortRouteLength = 5;
constexpr int kUnreachable = INT_MAX / 4;

int searchSteps = 0;

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
        const int perStep = distances_.cheapest + 1;
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
            if (arriving - distance * perStep <= best_)
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

bool SharedDistances::serves(int from) const
{
    return isOwnTerritory(from);
}

const std::vector<int> &SharedDistances::othersArmies(int p)
{
    if (!sorted_[p]) {
        for (int t = 1; t <= territoryCount; ++t)
            if (ownerOf(t) != p)
                othersArmies_[p].push_back(armiesOf(t));
        std::sort(othersArmies_[p].begin(), othersArmies_[p].end());
        sorted_[p] = true;
    }
    return othersArmies_[p];
}

const DistancesToTarget &SharedDistances::of(int from, int to, int maxLength)
{
    // Which territories a chain may cross: the others' territories with fewer armies than the
    // start, the same set for every start that outnumbers as many of them.
    const int p = qBound(0, static_cast<int>(currentPlayer), kMaxPlayers);
    const std::vector<int> &armies = othersArmies(p);
    const auto crossable = std::lower_bound(armies.begin(), armies.end(), armiesOf(from)) - armies.begin();
    const quint64 key = (static_cast<quint64>(to) << 40) | (static_cast<quint64>(p) << 32)
        | (static_cast<quint64>(crossable) << 8) | static_cast<quint64>(maxLength);
    const auto found = known_.find(key);
    if (found != known_.end())
        return found->second;
    DistancesToTarget &measured = known_[key];
    measureDistances(from, to, maxLength, measured);
    return measured;
}

void searchNeighbourGraph(int from, int to, SharedDistances *shared)
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
    const int maxLength = longestChain();
    if (shared && shared->serves(from)) {
        DepthFirstSearch(from, to, shared->of(from, to, maxLength), maxLength);
        return;
    }
    DistancesToTarget own;
    measureDistances(from, to, maxLength, own);
    DepthFirstSearch(from, to, own, maxLength);
}
