#include "ai/InitialPlacement.h"

#include "ai/AiState.h"
#include "ai/Toolkit.h"
#include "rules/PlayerRecords.h"
#include "state/BuiltinMaps.h"
#include "state/GameState.h"

#include <functional>

namespace {

// A stronghold holds 1 + 14 armies when it is chosen; the placement steers clear of them.
constexpr int kStrongholdArmies = 14;
constexpr int kGuardedArmies = 1 + kStrongholdArmies;

using ContinentCounts = std::array<int, kMaxContinents + 1>;

bool isGuarded(int t)
{
    return armiesOf(t) == kGuardedArmies;
}

bool hasGuardedNeighbour(int t)
{
    for (int n : neighboursOf(t))
        if (isGuarded(n))
            return true;
    return false;
}

bool hasGuardedMember(int c)
{
    for (int t : membersOf(c))
        if (isGuarded(t))
            return true;
    return false;
}

void place(int t, int armies)
{
    territoryState[t].armies += armies;
    displayedTerritoryState[t] = territoryState[t];
}

// Player p's territories per continent.
ContinentCounts countsOf(int p)
{
    ContinentCounts counts{};
    for (int c = 1; c <= continentCount; ++c)
        for (int t : membersOf(c))
            if (ownerOf(t) == p)
                ++counts[c];
    return counts;
}

void fillContinentOrder()
{
    continentOrder.fill({});
    for (int c = 1; c <= continentCount; ++c)
        continentOrder[c] = {c, continentTable[c].bonus};
    sortPairs(5, continentCount);
}

// ---- The stronghold ----

// On the World map the two cheap continents are taken when a key territory is already ours.
bool isWorldFavourite(int c, const ContinentCounts &counts)
{
    if (!mapWorldFlag || counts[c] == 0)
        return false;
    if (c == 2)
        return isOwnTerritory(11) || isOwnTerritory(13);
    if (c == 6)
        return isOwnTerritory(40) || isOwnTerritory(41) || isOwnTerritory(42);
    return false;
}

int strongholdContinent(const ContinentCounts &counts)
{
    for (int i = 1; i <= continentCount; ++i) {
        const int c = continentOrder[i].id;
        if (c >= 1 && c <= continentCount && !hasGuardedMember(c) && isWorldFavourite(c, counts))
            return c;
    }
    int best = 0;
    for (int c = 1; c <= continentCount; ++c)
        if (!hasGuardedMember(c) && counts[c] > 0 && (best == 0 || counts[c] > counts[best]))
            best = c;
    return best;
}

// The last own member that passes `fits`; an own member next to a guarded territory clears
// whatever was found before it.
int strongholdAmongMembers(int c, const std::function<bool(int)> &fits)
{
    int candidate = 0;
    for (int t : membersOf(c)) {
        if (!isOwnTerritory(t))
            continue;
        if (fits(t))
            candidate = t;
        if (hasGuardedNeighbour(t))
            candidate = 0;
    }
    return candidate;
}

int strongholdInContinent(int c)
{
    if (c == 0)
        return 0;
    const int inland = strongholdAmongMembers(c, [c](int t) { return !isBorderOf(t, c); });
    return inland != 0 ? inland : strongholdAmongMembers(c, [](int) { return true; });
}

// Even-numbered players look from the top of the map, the others from the bottom.
int scanForStronghold(const std::function<bool(int)> &fits)
{
    const bool fromTop = currentPlayer % 2 == 0;
    for (int i = 1; i <= territoryCount; ++i) {
        const int t = fromTop ? territoryCount + 1 - i : i;
        if (isOwnTerritory(t) && fits(t))
            return t;
    }
    return 0;
}

int strongholdAnywhere()
{
    int t = scanForStronghold([](int t) {
        return !hasGuardedNeighbour(t) && !isBorderOf(t, continentOfTerritory(t));
    });
    if (t == 0)
        t = scanForStronghold([](int t) { return !hasGuardedNeighbour(t); });
    for (int u = territoryCount; t == 0 && u >= 1; --u)
        if (isOwnTerritory(u))
            t = u;
    return t;
}

void chooseStronghold(const ContinentCounts &counts)
{
    PlayerRecord &record = playerTable[currentPlayer];
    // A second run must not give the same player a second stronghold bonus.
    if (record.stronghold() > 0 && isOwnTerritory(record.stronghold()))
        return;
    int t = strongholdInContinent(strongholdContinent(counts));
    if (t == 0)
        t = strongholdAnywhere();
    if (t == 0)
        return;
    place(t, kStrongholdArmies);
    record.stronghold() = t;
}

// ---- The initial armies ----

bool isContested(int c)
{
    const auto members = membersOf(c);
    std::array<int, kMaxPlayers + 1> held{};
    for (int t : members) {
        const int owner = ownerOf(t);
        if (owner >= 1 && owner <= kMaxPlayers)
            ++held[owner];
    }
    for (int p = 1; p <= kMaxPlayers; ++p)
        if (p != currentPlayer && held[p] > members.count / 3)
            return true;
    return false;
}

void placeOnContested(int &pool)
{
    const int stronghold = playerTable[currentPlayer].stronghold();
    for (int c = 1; c <= continentCount && pool > 0; ++c) {
        if (!isContested(c))
            continue;
        int last = 0;
        for (int t : membersOf(c))
            if (isOwnTerritory(t))
                last = t;
        if (last == 0 || isGuarded(last) || last == stronghold)
            continue;
        if (pool >= 3) {
            place(last, 3);
            pool -= 3;
        } else if (pool == 1) {
            place(last, 1);
            pool = 0;
        }
    }
}

// Own neighbours of border territory b outside continent c.
int ownOutsideNeighbours(int b, int c)
{
    int m = 0;
    for (int n : neighboursOf(b))
        if (continentOfTerritory(n) != c && isOwnTerritory(n))
            ++m;
    return m;
}

void reinforceRepeatedly(int &pool, int c, int times)
{
    for (int i = 0; i < times && pool > 0; ++i)
        reinforceWeakInContinent(pool, c);
}

// Passes 3 and 5: every border territory with own land beyond it earns k more calls when the
// player's share of the continent is large enough.
void reinforceBehindBorders(int &pool, int c, int k, int extra)
{
    const int count = membersOf(c).count;
    for (int b : bordersOf(c)) {
        if (pool <= 0)
            return;
        const int m = ownOutsideNeighbours(b, c);
        if (m != 0 && (m + count) / 3 + extra < k)
            reinforceRepeatedly(pool, c, k);
    }
}

void placeByContinentOrder(int &pool, const ContinentCounts &counts)
{
    for (int pass = 1; pass <= 6 && pool > 0; ++pass) {
        for (int i = 1; i <= continentCount && pool > 0; ++i) {
            const int c = continentOrder[i].id;
            if (c < 1 || c > continentCount)
                continue;
            const int k = counts[c];
            const int count = membersOf(c).count;
            switch (pass) {
            case 1:
                if (k > 0 && k >= (count + 1) / 2)
                    reinforceRepeatedly(pool, c, k);
                break;
            case 2:
                if (k > count / 3 + 1)
                    reinforceRepeatedly(pool, c, k);
                break;
            case 3:
                reinforceBehindBorders(pool, c, k, 1);
                break;
            case 4:
                if (k > count / 3)
                    reinforceRepeatedly(pool, c, k);
                break;
            case 5:
                reinforceBehindBorders(pool, c, k, 0);
                break;
            default:
                if (k > 0)
                    reinforceRepeatedly(pool, c, 1);
                break;
            }
        }
    }
}

void placeOnSingleArmies(int &pool)
{
    for (int t = 1; t <= territoryCount && pool > 0; ++t) {
        if (!isOwnTerritory(t) || armiesOf(t) != 1)
            continue;
        const int n = qMin(pool, 3);
        place(t, n);
        pool -= n;
    }
}

// Whatever the passes could not place (no own 1-army territory left) is spread over the
// player's other territories, so no initial army is lost.
void placeRemainder(int &pool)
{
    const int stronghold = playerTable[currentPlayer].stronghold();
    bool placed = true;
    while (pool > 0 && placed) {
        placed = false;
        for (int t = 1; t <= territoryCount && pool > 0; ++t) {
            if (!isOwnTerritory(t) || t == stronghold)
                continue;
            const int n = qMin(pool, 3);
            place(t, n);
            pool -= n;
            placed = true;
        }
    }
    if (pool > 0 && isOwnTerritory(stronghold)) {
        place(stronghold, pool);
        pool = 0;
    }
}

} // namespace

void reinforceWeakInContinent(int &pool, int continent)
{
    if (continent < 1 || continent > continentCount)
        return;
    for (int t : membersOf(continent)) {
        if (pool <= 0)
            return;
        if (!isOwnTerritory(t) || armiesOf(t) != 1)
            continue;
        const int n = qMin(pool, 3);
        place(t, n);
        pool -= n;
    }
}

void aiInitialPlacement()
{
    if (!isValidPlayer(currentPlayer))
        return;
    fillContinentOrder();
    const ContinentCounts counts = countsOf(currentPlayer);
    if (strongholdsEnabled)
        chooseStronghold(counts);

    computeInitialArmies();
    int pool = initialArmies;
    placeOnContested(pool);
    placeByContinentOrder(pool, counts);
    placeOnSingleArmies(pool);
    placeRemainder(pool);
    // The record's army total follows the armies just placed.
    recountPlayer(currentPlayer);
}
