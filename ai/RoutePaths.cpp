#include "ai/RoutePaths.h"

#include "ai/RouteIndex.h"
#include "ai/Toolkit.h"
#include "state/BuiltinMaps.h"
#include "state/GameState.h"

#include <climits>
#include <cstdlib>

namespace {

constexpr int kNoCost = 9999;

int slotAt(int route, int pos)
{
    if (route < 1 || route > kMaxRoutes || pos < 1 || pos > kRouteLength)
        return 0;
    return routeTable[route].t[pos];
}

// Armies an own territory can bring: its own, the pool and a set of cards that could be traded.
int availableArmies(int t)
{
    return armiesOf(t) + aiArmiesToPlace + aiCardArmies;
}

int ownStronghold()
{
    return isValidPlayer(currentPlayer) ? playerTable[currentPlayer].stronghold() : 0;
}

bool isSomeonesStronghold(int t)
{
    if (t == 0)
        return false;
    for (int p = 1; p <= kMaxPlayers; ++p)
        if (playerTable[p].stronghold() == t)
            return true;
    return false;
}

int armiesBetween(int route, int from, int to)
{
    const int step = to >= from ? 1 : -1;
    int sum = 0;
    for (int pos = from;; pos += step) {
        sum += armiesOf(slotAt(route, pos));
        if (pos == to)
            break;
    }
    return sum;
}

// ---- The World-map walk ----

bool onClassicWorldMap()
{
    return mapWorldFlag && !mapWorldIIFlag;
}

bool holds(int c)
{
    return playerHolds(currentPlayer, c);
}

// Territories that must not start a walk while the player holds what they guard.
bool skippedOnWorld(int t)
{
    return (t == 14 && holds(2)) || (t == 20 && holds(1)) || (t == 3 && holds(4));
}

bool guardsHeldContinent(int t)
{
    return (t == 38 && holds(6)) || ((t == 39 || t == 1) && holds(5)) || ((t == 36 || t == 10) && holds(1))
        || (holds(2) && (t == 9 || (t == 7 && isOwnTerritory(9))));
}

// ---- Segments and plans toward a continent ----

bool startAccepted(int start)
{
    const int c = continentOf(start);
    if (mainEnemy != 0 && mainEnemy != currentPlayer)
        return true;
    bool accepted = !playerHolds(currentPlayer, c);
    if (mainEnemy == 0 && c != 0 && c == excludedContinent)
        accepted = true;
    if (!accepted)
        return false;
    int position = 1;
    aiTerritoryCheck(start, position);
    return position != 0;
}

// Whether each own territory may start a walk, found once per territory: many routes pass
// through the same starts.
class StartVerdicts {
public:
    StartVerdicts() { known_.fill(Unknown); }
    bool accepted(int route, int pos)
    {
        const int start = slotAt(route, pos);
        if (start < 0 || start > kMaxTerritories)
            return startAccepted(start);
        if (known_[start] == Unknown)
            known_[start] = startAccepted(start) ? Accepted : Refused;
        return known_[start] == Accepted;
    }

private:
    enum Verdict : qint8 { Unknown, Accepted, Refused };
    std::array<Verdict, kMaxTerritories + 1> known_;
};

// The slots of each route that hold the player's own territories, as bits 1..16 up to the
// chain's end. A route's bits are found once and kept while the player and the owners of the
// territories stay the same: the plans of a turn's cycles read the same routes again.
class OwnSlots {
public:
    OwnSlots()
    {
        Known &table = known();
        if (table.player == currentPlayer && table.clearings == routeTableClearings && sameOwners(table))
            return;
        ++table.stamp;
        table.player = currentPlayer;
        table.clearings = routeTableClearings;
        table.territories = territoryCount;
        for (int t = 1; t <= territoryCount && t <= kMaxTerritories; ++t)
            table.owners[t] = territoryState[t].owner;
    }

    // The first own slot after p, the last one before p; 0 when there is none.
    int after(int route, int p) { return lowestBit(maskOf(route) & ~((2u << p) - 1)); }
    int before(int route, int p) { return highestBit(maskOf(route) & ((1u << p) - 1)); }

private:
    static int lowestBit(quint32 bits) { return bits == 0 ? 0 : __builtin_ctz(bits); }
    static int highestBit(quint32 bits) { return bits == 0 ? 0 : 31 - __builtin_clz(bits); }

    struct Known {
        std::array<quint32, kMaxRoutes + 1> mask{};
        std::array<quint32, kMaxRoutes + 1> foundIn{}; // the stamp the mask was found under
        quint32 stamp = 0;
        // What the masks were found for.
        qint32 player = 0;
        quint32 clearings = 0;
        qint32 territories = -1;
        std::array<qint32, kMaxTerritories + 1> owners{};
    };
    static Known &known()
    {
        static Known table;
        return table;
    }

    static bool sameOwners(const Known &table)
    {
        if (table.territories != territoryCount)
            return false;
        for (int t = 1; t <= territoryCount && t <= kMaxTerritories; ++t)
            if (table.owners[t] != territoryState[t].owner)
                return false;
        return true;
    }

    quint32 maskOf(int route)
    {
        if (route < 1 || route > kMaxRoutes)
            return 0;
        Known &table = known();
        if (table.foundIn[route] != table.stamp) {
            const auto &chain = routeTable[route].t;
            quint32 mask = 0;
            for (int pos = 1; pos <= kRouteLength && chain[pos] != 0; ++pos)
                if (isOwnTerritory(chain[pos]))
                    mask |= 1u << pos;
            table.mask[route] = mask;
            table.foundIn[route] = table.stamp;
        }
        return table.mask[route];
    }
};

void addSegment(int route, int targetPos, int ownPos)
{
    if (ownPos != 0 && routeSegmentCount < kMaxRouteSegments)
        routeSegments[++routeSegmentCount] = {route, targetPos, ownPos};
}

// What the listings of one plan read: the route index, and what they learn of starts and routes
// while the board stays as it is.
struct RouteReading {
    const RouteIndex &index = currentRouteIndex();
    StartVerdicts starts;
    OwnSlots own;
};

void listSegments(int c, RouteReading &reading)
{
    const RouteIndex &index = reading.index;
    StartVerdicts &starts = reading.starts;
    OwnSlots &own = reading.own;
    for (int b : bordersOf(c)) {
        if (isOwnTerritory(b))
            continue;
        for (const RouteStop &stop : index.stopsOf(b)) {
            int forward = own.after(stop.route, stop.first);
            int backward = own.before(stop.route, stop.first);
            if (forward != 0 && !starts.accepted(stop.route, forward))
                forward = 0;
            if (backward != 0 && !starts.accepted(stop.route, backward))
                backward = 0;
            addSegment(stop.route, stop.first, forward);
            addSegment(stop.route, stop.first, backward);
        }
    }
}

void weighSegments()
{
    routePlanCount = 0;
    for (int i = 1; i <= routeSegmentCount; ++i) {
        const RouteSegment &segment = routeSegments[i];
        const int available = availableArmies(slotAt(segment.route, segment.ownPos));
        if (available < 2)
            continue;
        const int steps = std::abs(segment.targetPos - segment.ownPos);
        const int direction = segment.targetPos > segment.ownPos ? 1 : -1;
        const int sum = armiesBetween(segment.route, segment.ownPos + direction, segment.targetPos);
        lastSegmentArmySum = sum;
        if (routePlanCount < kMaxRoutePlans && sum + steps + 1 <= available)
            routePlans[++routePlanCount] = {segment.route, segment.ownPos, segment.targetPos,
                                            available - sum - steps};
    }
    for (int i = 1; i <= routePlanCount; ++i)
        if (bestRoutePlan == 0 || routePlans[i].surplus > routePlans[bestRoutePlan].surplus)
            bestRoutePlan = i;
}

void selectTarget(int c, RouteReading &reading)
{
    bestRoutePlan = 0;
    routeSegmentCount = 0;
    routePlanCount = 0;
    lastSegmentArmySum = 0;
    if (c < 1 || c > continentCount)
        return;
    listSegments(c, reading);
    if (routeSegmentCount > 0)
        weighSegments();
}

// ---- Continent routes ----

// The lowest armies on a border territory of c that a third player is about to break, 9999
// when nobody threatens c.
int thirdPartyThreat(int c, int holder)
{
    int threat = kNoCost;
    for (int b : bordersOf(c)) {
        for (int n : neighboursOf(b)) {
            const int owner = ownerOf(n);
            if (owner == holder || owner == currentPlayer || !canAttack(n, b))
                continue;
            if (armiesOf(n) > 2 && armiesOf(n) >= armiesOf(b) + 3 && armiesOf(b) < threat
                && owner >= 1 && owner <= kMaxPlayers && playerTable[owner].totalArmies() >= 26)
                threat = armiesOf(b);
        }
    }
    return threat;
}

void planBreak(RouteReading &reading)
{
    std::array<int, kMaxContinents + 1> order{};
    int listed = 0;
    for (int i = qMin<int>(continentCount, kMaxContinents); i >= 1; --i)
        if (continentOrder[i].id != 0)
            order[++listed] = continentOrder[i].id;
    const int strongest = playerRanking[1].id;
    const int holder = strongest == currentPlayer ? playerRanking[2].id : strongest;
    for (int j = 1; j <= qMin(listed, continentCount - 1); ++j) {
        const int c = order[j];
        if (c < 1 || c > continentCount || !playerHolds(holder, c))
            continue;
        const int threat = thirdPartyThreat(c, holder);
        selectTarget(c, reading);
        if (bestRoutePlan != 0 && (threat == kNoCost || lastSegmentArmySum <= threat))
            return;
        bestRoutePlan = 0;
    }
}

void planFinish(RouteReading &reading)
{
    continentRoutePlan = RoutePlan();
    for (int i = 1; i <= continentCount && continentRanking[i].id != 0; ++i) {
        const int c = continentRanking[i].id;
        const auto members = membersOf(c);
        if (c == excludedContinent || members.count == 0)
            continue;
        int missing = 0, last = 0;
        for (int t : members) {
            if (!isOwnTerritory(t)) {
                ++missing;
                last = t;
            }
        }
        if (missing != 1 || !isBorderOf(last, c))
            continue;
        selectTarget(c, reading);
        if (bestRoutePlan != 0) {
            continentRoutePlan = routePlans[bestRoutePlan];
            return;
        }
    }
}

} // namespace

void aiPathToTarget(int route, int start, int direction, int armyLimit, int &bestFound, int &bestCost)
{
    const int first = start + direction;
    if (first < 1 || first > kRouteLength || slotAt(route, first) == 0)
        return;
    const int strongest = playerRanking[1].id;
    int sum = 0, found = 0, last = 0;
    for (int pos = first; pos >= 1 && pos <= kRouteLength && slotAt(route, pos) != 0; pos += direction) {
        const int x = slotAt(route, pos);
        if (isOwnTerritory(x))
            break;
        sum += armiesOf(x);
        if (sum > armyLimit)
            break;
        if (x >= 27 && x <= 42 && ownerOf(x) == strongest) {
            ++found;
            last = pos;
        }
    }
    if (found < 2)
        return;
    const int cost = armiesBetween(route, first, last) + found;
    if (cost >= armyLimit)
        return;
    if (found > bestFound || (found == bestFound && cost < bestCost)) {
        bestFound = found;
        bestCost = cost;
        worldTargetPath = {route, start, last, armyLimit - cost + 1};
    }
}

void aiSearchLeaderRoutes()
{
    worldTargetPath = RoutePlan();
    if (!onClassicWorldMap())
        return;
    int bestFound = 0, bestCost = INT_MAX;
    const RouteIndex &index = currentRouteIndex();
    for (int t = 1; t <= territoryCount; ++t) {
        if (!isOwnTerritory(t) || t == ownStronghold() || holds(continentOf(t)) || skippedOnWorld(t))
            continue;
        const int limit = guardsHeldContinent(t) ? 0 : qMin(availableArmies(t) - 2, 15);
        if (limit <= 0)
            continue;
        for (const RouteStop &stop : index.stopsOf(t)) {
            aiPathToTarget(stop.route, stop.first, 1, limit, bestFound, bestCost);
            aiPathToTarget(stop.route, stop.first, -1, limit, bestFound, bestCost);
        }
    }
    if (bestFound < 3)
        worldTargetPath = RoutePlan();
}

void aiPathToStronghold(int route, int start, int direction, int armyLimit, int &bestCost)
{
    const int first = start + direction;
    if (first < 1 || first > kRouteLength || slotAt(route, first) == 0)
        return;
    int sum = 0, goal = 0;
    for (int pos = first; pos >= 1 && pos <= kRouteLength && slotAt(route, pos) != 0; pos += direction) {
        const int x = slotAt(route, pos);
        if (isOwnTerritory(x))
            break;
        sum += armiesOf(x);
        if (sum > armyLimit)
            break;
        if (isSomeonesStronghold(x)) {
            goal = pos;
            break;
        }
    }
    if (goal == 0)
        return;
    const int cost = armiesBetween(route, first, goal) + 1;
    if (cost >= armyLimit || cost >= bestCost)
        return;
    bestCost = cost;
    strongholdPath = {route, start, goal, armyLimit - cost + 1};
}

void aiSearchStrongholdRoutes()
{
    strongholdPath = RoutePlan();
    int bestCost = kNoCost;
    const RouteIndex &index = currentRouteIndex();
    for (int t = 1; t <= territoryCount; ++t) {
        if (!isOwnTerritory(t) || t == ownStronghold())
            continue;
        const int limit = availableArmies(t) - 2;
        if (limit <= 0)
            continue;
        for (const RouteStop &stop : index.stopsOf(t)) {
            aiPathToStronghold(stop.route, stop.first, 1, limit, bestCost);
            aiPathToStronghold(stop.route, stop.first, -1, limit, bestCost);
        }
    }
}

void aiTerritoryCheck(int t, int &position)
{
    if (isContinentOutpost(t) || (strongholdsEnabled && t != 0 && t == ownStronghold()))
        position = 0;
}

void aiSelectTarget(int c)
{
    RouteReading reading;
    selectTarget(c, reading);
}

void aiPlanContinentRoute()
{
    bestRoutePlan = 0;
    RouteReading reading;
    if (routePlanMode == 9)
        planBreak(reading);
    else if (routePlanMode == 8)
        planFinish(reading);
}
