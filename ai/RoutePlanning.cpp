#include "ai/RoutePlanning.h"

#include "ai/AiState.h"
#include "ai/ChainSearch.h"
#include "ai/RouteIndex.h"
#include "ai/Toolkit.h"
#include "rules/PlayerRecords.h"
#include "state/GameState.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <unordered_map>
#include <vector>

namespace {

constexpr int kLearnMinimum = 3;

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
    if (row[1] == 0)
        return INT_MIN;
    qint64 score = armiesOf(row[1]); // armies may reach 2*10^9 a territory
    for (int i = 2; i <= kCandidateLength && row[i] != 0; ++i) {
        const int t = row[i];
        if (isOwnTerritory(t))
            return INT_MIN;
        score -= armiesOf(t) + qint64(1);
        if (t == to)
            return static_cast<int>(qMax<qint64>(score, INT_MIN));
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

// A stretch of a known chain that serves as a row: its route and the slots it runs between.
struct Stretch {
    qint32 route;
    qint32 first; // from's last slot
    qint32 last;  // to's last slot
};

// The last slots of a and of b on a route.
void lastSlotsOf(int a, int b, int route, int &slotOfA, int &slotOfB)
{
    const auto &chain = routeTable[route].t;
    for (int pos = 1; pos <= kRouteLength && chain[pos] != 0; ++pos) {
        if (chain[pos] == a)
            slotOfA = pos;
        else if (chain[pos] == b)
            slotOfB = pos;
    }
}

// A stretch fits a row, and every territory on it is on the map.
bool servesAsRow(const Stretch &stretch)
{
    if (std::abs(stretch.first - stretch.last) > kCandidateLength - 1)
        return false;
    const auto &chain = routeTable[stretch.route].t;
    const int step = stretch.last > stretch.first ? 1 : -1;
    for (int pos = stretch.first;; pos += step) {
        if (!isValidTerritory(chain[pos]))
            return false;
        if (pos == stretch.last)
            return true;
    }
}

// The stretches between two territories, in route order, kept from one search to the next: the
// table only grows between clearings, so only the routes added since are read again.
class KnownStretches {
public:
    const std::vector<Stretch> &between(int from, int to)
    {
        const RouteIndex &index = currentRouteIndex();
        if (clearings_ != routeTableClearings || territories_ != territoryCount || index.indexed() < routesRead_) {
            pairs_.clear();
            clearings_ = routeTableClearings;
            territories_ = territoryCount;
        }
        routesRead_ = index.indexed();
        Pair &pair = pairs_[from * (kMaxTerritories + 1) + to];
        if (pair.routesRead < index.indexed())
            readNewRoutes(from, to, index, pair);
        return pair.stretches;
    }

private:
    struct Pair {
        int routesRead = 0;
        std::vector<Stretch> stretches;
    };

    // The routes both are on come from their route bits.
    static void readNewRoutes(int from, int to, const RouteIndex &index, Pair &pair)
    {
        const std::vector<quint64> &fromBits = index.routeBitsOf(from);
        const std::vector<quint64> &toBits = index.routeBitsOf(to);
        const std::size_t words = std::min(fromBits.size(), toBits.size());
        for (std::size_t word = pair.routesRead / 64; word < words; ++word) {
            for (quint64 both = fromBits[word] & toBits[word]; both != 0; both &= both - 1) {
                const int route = static_cast<int>(word * 64) + __builtin_ctzll(both);
                if (route <= pair.routesRead)
                    continue;
                Stretch stretch{route, 0, 0};
                lastSlotsOf(from, to, route, stretch.first, stretch.last);
                if (servesAsRow(stretch))
                    pair.stretches.push_back(stretch);
            }
        }
        pair.routesRead = index.indexed();
    }

    std::unordered_map<int, Pair> pairs_;
    quint32 clearings_ = 0;
    qint32 territories_ = -1;
    int routesRead_ = 0;
};

// Every known chain holding both, in route order, as a row from `from` to `to`; each row is
// rated as it is added, as chooseRow would rate it.
void addKnownStretches(int from, int to, int &bestRow, int &bestScore)
{
    static KnownStretches known;
    for (const Stretch &stretch : known.between(from, to)) {
        if (routeCandidateCount >= kMaxCandidateRows)
            return;
        const auto &chain = routeTable[stretch.route].t;
        RouteCandidate row{};
        const int step = stretch.last > stretch.first ? 1 : -1;
        int i = 0;
        for (int pos = stretch.first;; pos += step) {
            row[++i] = static_cast<quint8>(chain[pos]);
            if (pos == stretch.last)
                break;
        }
        routeCandidates[++routeCandidateCount] = row;
        const int score = rateRow(row, to);
        if (score > bestScore) {
            bestScore = score;
            bestRow = routeCandidateCount;
        }
    }
}

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

// findRoutes, with the chain costs shared with other searches when given.
void searchRoutes(int from, int to, ChainCosts *costs, int &bestRow, int &bestScore)
{
    clearCandidateRows();
    routePath.fill(0);
    bestRow = 0;
    bestScore = 0;
    clearRouteSearchSteps();
    if (!isValidTerritory(from) || !isValidTerritory(to) || from == to)
        return;

    MapLookupScope lookups;
    addKnownStretches(from, to, bestRow, bestScore);
    if (bestRow != 0)
        return;

    clearCandidateRows();
    searchNeighbourGraph(from, to, costs);
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

// The stacks that could attack a border, by player in territory order: more than 2 armies. The
// board stays as it is while the borders are rated, and so do they.
struct Stack {
    int territory;
    int armies;
    bool facesEnemies; // enemy armies stand around it, seen from its owner
};
using StacksByPlayer = std::array<std::vector<Stack>, kMaxPlayers + 1>;

StacksByPlayer listStacks()
{
    StacksByPlayer stacks;
    for (int t = 1; t <= territoryCount; ++t) {
        const int q = ownerOf(t);
        if (q >= 1 && q <= kMaxPlayers && armiesOf(t) > 2)
            stacks[q].push_back({t, armiesOf(t), neighbourSums(t, q).enemySum > 0});
    }
    return stacks;
}

// What the searches of one border rating share.
struct SharedSearches {
    StacksByPlayer stacks = listStacks();
    ChainCosts costs;
};

// The most armies another player could bring to b along a chain of attacks; the searches learn
// their chains as seen from the attackers.
int threatTo(int b, const BorderRating &rating, SharedSearches &shared)
{
    const int me = currentPlayer;
    int threat = 0;
    const int players = qBound(0, playerCount, kMaxPlayers);
    for (int q = 1; q <= players; ++q) {
        if (q == me)
            continue;
        CurrentPlayerScope as(q);
        for (const Stack &stack : shared.stacks[q]) {
            const int t = stack.territory;
            const int armies = stack.armies;
            if (armies <= rating.armies || armies <= rating.support)
                continue;
            shortRouteOnly = armies < 10;
            if (!stack.facesEnemies)
                continue;
            int row = 0, score = 0;
            searchRoutes(t, b, &shared.costs, row, score);
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

void rateAndList(int b, int playersStillIn, SharedSearches &shared)
{
    aiChosenTerritory = b;
    const BorderRating rating = rateBorder(b, playersStillIn);
    const int threat = threatTo(b, rating, shared);
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

void findRoutes(int from, int to, int mode, int &bestRow, int &bestScore)
{
    Q_UNUSED(mode);
    searchRoutes(from, to, nullptr, bestRow, bestScore);
}

void findRoutesSharing(ChainCosts &costs, int from, int to, int &bestRow, int &bestScore)
{
    searchRoutes(from, to, &costs, bestRow, bestScore);
}

void planRoute(int mode)
{
    Q_UNUSED(mode);
    reinforceCandidates.fill({});
    reinforceCandidateCount = 0;
    if (!isValidPlayer(currentPlayer))
        return;
    const int playersStillIn = playersLeft();
    MapLookupScope lookups;
    // The board stays as it is while the borders are rated; only the route table grows.
    SharedSearches shared;
    for (int c = 1; c <= continentCount; ++c)
        if (playerHolds(currentPlayer, c))
            for (int b : bordersOf(c))
                rateAndList(b, playersStillIn, shared);
    sortPairs(2, reinforceCandidateCount);
}
