#include "ai/RoutePlanning.h"

#include "ai/AiState.h"
#include "ai/RouteIndex.h"
#include "ai/Toolkit.h"
#include "rules/PlayerRecords.h"
#include "state/GameState.h"

#include <climits>
#include <cstdlib>
#include <map>
#include <utility>
#include <vector>

namespace {

constexpr int kShortRouteLength = 5;
constexpr int kUnreachable = INT_MAX / 4;
constexpr int kLearnMinimum = 3;

int searchSteps = 0;

// What an open RouteSearchScope keeps: the neighbour lists and who can reach each territory.
struct SearchContext {
    int depth = 0;
    std::array<Neighbours, kMaxTerritories + 1> neighbours;
    std::array<std::vector<qint32>, kMaxTerritories + 1> reachedFrom;

    void build()
    {
        for (int t = 0; t <= kMaxTerritories; ++t) {
            neighbours[t] = neighboursOf(t);
            reachedFrom[t].clear();
        }
        for (int t = 1; t <= territoryCount; ++t)
            for (int n : neighbours[t])
                reachedFrom[n].push_back(t);
    }
};

SearchContext &context()
{
    static SearchContext shared;
    return shared;
}

int chainLength(const RouteRecord &record)
{
    int length = 0;
    while (length < kRouteLength && record.t[length + 1] != 0)
        ++length;
    return length;
}

void clearCandidateRows()
{
    for (int row = 1; row <= qMin(routeCandidateCount, kMaxCandidateRows + 1); ++row)
        routeCandidates[row].fill(0);
    routeCandidateCount = 0;
}

int rowLength(const RouteCandidate &row)
{
    int length = 0;
    while (length < kCandidateLength && row[length + 1] != 0)
        ++length;
    return length;
}

// The armies that would arrive at `to` along a row: the start's armies less every territory
// beaten on the way and the army left in each. INT_MIN when the row is no route for the player.
int rateRow(const RouteCandidate &row, int to)
{
    const int length = rowLength(row);
    int score = armiesOf(row[1]);
    for (int i = 2; i <= length; ++i) {
        const int t = row[i];
        if (isOwnTerritory(t))
            return INT_MIN;
        score -= armiesOf(t) + 1;
        if (t == to)
            return score;
    }
    return INT_MIN;
}

// The first row with the strictly greatest score of at least 1.
void chooseRow(int to, int &bestRow, int &bestScore)
{
    bestRow = 0;
    bestScore = 0;
    for (int row = 1; row <= routeCandidateCount; ++row) {
        const int score = rateRow(routeCandidates[row], to);
        if (score > bestScore) {
            bestScore = score;
            bestRow = row;
        }
    }
}

// ---- Stretches of known chains ----

// The stretch of a known chain from `from` (its last slot) to `to` (its last slot), unless a
// territory on it is not on the map.
void addStretch(int route, int pf, int pt)
{
    const auto &chain = routeTable[route].t;
    RouteCandidate row{};
    const int step = pt > pf ? 1 : -1;
    bool valid = true;
    int i = 0;
    for (int pos = pf;; pos += step) {
        valid = valid && isValidTerritory(chain[pos]);
        row[++i] = static_cast<quint8>(valid ? chain[pos] : 0);
        if (pos == pt)
            break;
    }
    if (valid)
        routeCandidates[++routeCandidateCount] = row;
}

// Every known chain holding both, in route order: both stop lists are in route order, so one
// walk along them meets every chain they share.
void addKnownStretches(int from, int to)
{
    const RouteIndex &index = currentRouteIndex();
    const std::vector<RouteStop> &fromStops = index.stopsOf(from);
    const std::vector<RouteStop> &toStops = index.stopsOf(to);
    auto toStop = toStops.begin();
    for (const RouteStop &stop : fromStops) {
        while (toStop != toStops.end() && toStop->route < stop.route)
            ++toStop;
        if (toStop == toStops.end())
            return;
        if (toStop->route != stop.route || std::abs(stop.last - toStop->last) > kCandidateLength - 1)
            continue;
        if (routeCandidateCount >= kMaxCandidateRows)
            return;
        addStretch(stop.route, stop.last, toStop->last);
    }
}

// ---- The depth-first search over the neighbour graph ----

// The way to a target as a search sees it: the steps from each territory that could lie on a
// chain to the target, and the fewest armies on any such territory.
struct DistancesToTarget {
    std::array<int, kMaxTerritories + 1> steps;
    int cheapest = INT_MAX;
};

// The distances of the searches from one player's stacks to one target, while nothing on the map
// changes. A start is the player's own, so it never lies on a chain: what the search may cross,
// and so the distances, depend only on the start's armies and the longest chain searched.
class SharedDistances {
public:
    explicit SharedDistances(int to) : to_(to) {}
    bool serves(int from, int to) const { return to == to_ && isOwnTerritory(from); }
    DistancesToTarget *find(int armies, int maxLength)
    {
        const auto found = known_.find({armies, maxLength});
        return found == known_.end() ? nullptr : &found->second;
    }
    DistancesToTarget &add(int armies, int maxLength) { return known_[{armies, maxLength}]; }

private:
    int to_;
    std::map<std::pair<int, int>, DistancesToTarget> known_;
};

// Only territories that could lie on a chain are searched: not the player's, weaker than the
// start. Rows are only added when they beat the best so far, and a branch that cannot reach
// `to` within the depth, or cannot arrive with more armies than the best row, is not entered;
// the row chosen is the same as if every chain had been listed. The row table and a step
// budget bound the work on dense map files.
class DepthFirstSearch {
public:
    DepthFirstSearch(int from, int to, SharedDistances *shared)
        : from_(from), to_(to), startArmies_(armiesOf(from)),
          maxLength_(shortRouteOnly ? kShortRouteLength : kCandidateLength),
          shared_(shared && shared->serves(from, to) ? shared : nullptr)
    {
    }

    void run()
    {
        routePath.fill(0);
        routePath[0] = static_cast<quint8>(from_);
        RouteCandidate first{};
        first[1] = static_cast<quint8>(from_);
        routeCandidates[++routeCandidateCount] = first;
        if (!passable(to_))
            return;
        distances_ = &distancesToTarget();
        onPath_.fill(false);
        onPath_[from_] = true;
        extend(from_, 1, startArmies_);
    }

private:
    bool passable(int u) const
    {
        return u != from_ && isValidTerritory(u) && !isOwnTerritory(u) && armiesOf(u) < startArmies_;
    }

    const DistancesToTarget &distancesToTarget()
    {
        if (!shared_) {
            measureDistances(own_);
            return own_;
        }
        if (const DistancesToTarget *known = shared_->find(startArmies_, maxLength_))
            return *known;
        DistancesToTarget &measured = shared_->add(startArmies_, maxLength_);
        measureDistances(measured);
        return measured;
    }

    // Steps from each passable territory to `to` through passable territories, walking back
    // from `to` over the links that reach it.
    void measureDistances(DistancesToTarget &out) const
    {
        const SearchContext &shared = context();
        out.steps.fill(kUnreachable);
        out.steps[to_] = 0;
        out.cheapest = INT_MAX;
        for (int t = 1; t <= territoryCount; ++t)
            if (passable(t))
                out.cheapest = qMin(out.cheapest, qMax(0, armiesOf(t)));
        std::array<int, kMaxTerritories + 1> queue{};
        int head = 0, tail = 0;
        queue[tail++] = to_;
        while (head < tail) {
            const int t = queue[head++];
            if (out.steps[t] >= maxLength_ - 2)
                continue;
            for (int u : shared.reachedFrom[t]) {
                if (out.steps[u] == kUnreachable && passable(u)) {
                    out.steps[u] = out.steps[t] + 1;
                    queue[tail++] = u;
                }
            }
        }
    }

    bool mustStop()
    {
        return routeCandidateCount >= kMaxCandidateRows || searchSteps >= kRouteSearchStepLimit;
    }

    // `length` territories on the path, the last being `last`, arriving with `score` armies.
    void extend(int last, int length, int score)
    {
        const std::array<int, kMaxTerritories + 1> &distance = distances_->steps;
        for (int u : context().neighbours[last]) {
            if (mustStop())
                return;
            ++searchSteps;
            if (onPath_[u] || !passable(u))
                continue;
            if (distance[u] == kUnreachable || length + distance[u] > maxLength_ - 1)
                continue;
            const int arriving = score - armiesOf(u) - 1;
            if (arriving - distance[u] * (distances_->cheapest + 1) <= best_)
                continue;
            routePath[length] = static_cast<quint8>(u);
            if (u == to_) {
                addPathRow(length + 1);
                best_ = arriving;
                continue;
            }
            onPath_[u] = true;
            extend(u, length + 1, arriving);
            onPath_[u] = false;
        }
    }

    void addPathRow(int length)
    {
        RouteCandidate row{};
        for (int i = 0; i < length; ++i)
            row[i + 1] = routePath[i];
        routeCandidates[++routeCandidateCount] = row;
    }

    int from_;
    int to_;
    int startArmies_;
    int maxLength_;
    SharedDistances *shared_;
    int best_ = 0;
    DistancesToTarget own_;
    const DistancesToTarget *distances_ = &own_;
    std::array<bool, kMaxTerritories + 1> onPath_{};
};

// ---- Learning ----

bool containsRun(const RouteRecord &record, const RouteCandidate &row, int length)
{
    const int chain = chainLength(record);
    for (int start = 1; start + length - 1 <= chain; ++start) {
        int i = 0;
        while (i < length && record.t[start + i] == row[i + 1])
            ++i;
        if (i == length)
            return true;
    }
    return false;
}

void learnChain(const RouteCandidate &row)
{
    const int length = rowLength(row);
    const int limit = qBound(0, routeLimits[3], kMaxRoutes);
    if (length < kLearnMinimum || routeCount >= limit || routeCount < 0)
        return;
    // A record that holds the chain holds its first territory.
    for (const RouteStop &stop : currentRouteIndex().stopsOf(row[1]))
        if (containsRun(routeTable[stop.route], row, length))
            return;
    RouteRecord record;
    for (int i = 1; i <= length; ++i)
        record.t[i] = row[i];
    routeTable[++routeCount] = record;
}

// ---- The search for a chain of attacks ----

// findRoutes, with the distances shared with other searches to the same target when given.
void searchRoutes(int from, int to, SharedDistances *shared, int &bestRow, int &bestScore)
{
    clearCandidateRows();
    routePath.fill(0);
    bestRow = 0;
    bestScore = 0;
    searchSteps = 0;
    if (!isValidTerritory(from) || !isValidTerritory(to) || from == to)
        return;

    RouteSearchScope scope;
    addKnownStretches(from, to);
    if (routeCandidateCount > 0)
        chooseRow(to, bestRow, bestScore);
    if (bestRow != 0)
        return;

    clearCandidateRows();
    DepthFirstSearch(from, to, shared).run();
    chooseRow(to, bestRow, bestScore);
    if (bestRow != 0)
        learnChain(routeCandidates[bestRow]);
}

// ---- Border rating ----

struct BorderRating {
    int armies = 0;  // A
    int partner = 0; // P
    int support = 0; // S
    int margin = 0;  // D
};

BorderRating rateBorder(int b, int playersStillIn)
{
    BorderRating rating;
    rating.armies = armiesOf(b);
    rating.partner = findTargetContinentEntry(b);
    const int p = rating.partner;

    int need;
    if (hasEnemyArmiesAround(b))
        need = 20;
    else if (p == 0)
        need = (neutralArmyActive || playersStillIn == 2) ? 12 : 20;
    else
        need = (p > 0 && hasEnemyArmiesAround(p)) ? 20 : 12;
    if (difficulty == 0)
        need = 7;

    const int a = rating.armies;
    if (a >= need || p == -1)
        return rating;
    if (p == 0) {
        rating.margin = a - need;
    } else {
        rating.support = a + armiesOf(p);
        rating.margin = rating.support >= need ? rating.support : rating.support - need;
    }
    return rating;
}

// The most armies another player could bring to b along a chain of attacks; the searches learn
// their chains as seen from the attackers.
int threatTo(int b, const BorderRating &rating)
{
    const int me = currentPlayer;
    int threat = 0;
    const int players = qBound(0, playerCount, kMaxPlayers);
    for (int q = 1; q <= players; ++q) {
        if (q == me)
            continue;
        CurrentPlayerScope as(q);
        SharedDistances distances(b);
        for (int t = 1; t <= territoryCount; ++t) {
            const int armies = armiesOf(t);
            if (ownerOf(t) != q || armies <= 2 || armies <= rating.armies || armies <= rating.support)
                continue;
            shortRouteOnly = armies < 10;
            if (neighbourSums(t, q).enemySum <= 0)
                continue;
            int row = 0, score = 0;
            searchRoutes(t, b, &distances, row, score);
            if (row != 0)
                threat = qMax(threat, score);
        }
    }
    return threat;
}

void addCandidate(int b, int value)
{
    if (reinforceCandidateCount < kMaxPairEntries)
        reinforceCandidates[++reinforceCandidateCount] = {b, value};
}

void rateAndList(int b, int playersStillIn)
{
    aiChosenTerritory = b;
    const BorderRating rating = rateBorder(b, playersStillIn);
    const int threat = threatTo(b, rating);
    const int d = rating.margin;
    int v;
    if (threat > 0)
        v = d - threat;
    else
        v = d < 0 ? d : rating.armies;

    const int check = rating.partner > 0 ? rating.partner : b;
    if (!hasEnemyArmiesAround(check)) {
        if (d >= 0)
            return;
        v = d;
    }
    const bool supported = v > 0 && v < rating.support && d > 0;
    if (difficulty == 0) {
        if (rating.armies <= 6)
            addCandidate(b, supported ? rating.support : -1);
        return;
    }
    addCandidate(b, supported ? rating.support : v);
}

} // namespace

RouteSearchScope::RouteSearchScope()
{
    if (context().depth++ == 0)
        context().build();
}

RouteSearchScope::~RouteSearchScope()
{
    --context().depth;
}

int lastRouteSearchSteps()
{
    return searchSteps;
}

void findRoutes(int from, int to, int mode, int &bestRow, int &bestScore)
{
    Q_UNUSED(mode);
    searchRoutes(from, to, nullptr, bestRow, bestScore);
}

void planRoute(int mode)
{
    Q_UNUSED(mode);
    reinforceCandidates.fill({});
    reinforceCandidateCount = 0;
    if (!isValidPlayer(currentPlayer))
        return;
    const int playersStillIn = playersLeft();
    RouteSearchScope scope;
    for (int c = 1; c <= continentCount; ++c)
        if (playerHolds(currentPlayer, c))
            for (int b : bordersOf(c))
                rateAndList(b, playersStillIn);
    sortPairs(2, reinforceCandidateCount);
}
