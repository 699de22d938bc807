#include "ai/Toolkit.h"

#include "ai/AiState.h"
#include "rules/Cards.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/StepQueues.h"

#include <utility>

// ---- Reading the map safely ----

MapLookupTables mapLookupTables;

Neighbours readNeighbours(int t)
{
    Neighbours result;
    if (!isValidTerritory(t))
        return result;
    const NeighbourList &list = territoryNeighbours[t];
    for (int slot = 1; slot <= kMaxNeighbours && list[slot] != 0; ++slot) {
        const int n = list[slot];
        if (n != t && isValidTerritory(n))
            result.add(n);
    }
    return result;
}

BorderRange readBorders(int c)
{
    BorderRange result;
    if (c < 1 || c > continentCount)
        return result;
    const BorderList &borders = continentBorders[c];
    const int last = qMin<int>(maxBorderCount, kMaxBorderEntries);
    for (int i = 1; i <= last && borders[i] != 0; ++i)
        if (isValidTerritory(borders[i]))
            result.add(borders[i]);
    return result;
}

MemberRange readMembers(int c)
{
    MemberRange result;
    if (c < 1 || c > continentCount)
        return result;
    const ContinentRecord &record = continentTable[c];
    for (int i = 1; i <= record.memberCount && i <= kMaxContinentMembers && record.members[i] != 0; ++i)
        if (isValidTerritory(record.members[i]))
            result.add(record.members[i]);
    return result;
}

bool canAttack(int from, int to)
{
    return from != to && isValidTerritory(to) && isNeighbour(from, to);
}

bool isContinentMember(int t, int continent)
{
    for (int m : membersOf(continent))
        if (m == t)
            return true;
    return false;
}

bool isBorderOf(int t, int continent)
{
    for (int b : bordersOf(continent))
        if (b == t)
            return true;
    return false;
}

namespace {

// As continentOfTerritory finds it: the first continent whose member list holds t.
void fillContinents(MapLookupTables &tables)
{
    tables.continent.fill(0);
    for (int c = qMin<int>(continentCount, kMaxContinents); c >= 1; --c) {
        const ContinentRecord &continent = continentTable[c];
        for (int i = 1; i <= kMaxContinentMembers && continent.members[i] != 0; ++i) {
            const int t = continent.members[i];
            if (t >= 1 && t <= kMaxTerritories)
                tables.continent[t] = c;
        }
    }
}

// Each continent's outside neighbours, border by border.
void fillOutside(MapLookupTables &tables)
{
    int next = 0;
    for (int c = 0; c <= kMaxContinents; ++c) {
        tables.outsideStart[c] = next;
        for (int b : tables.borders[c])
            for (int n : tables.neighbours[b])
                if (tables.continent[n] != c)
                    tables.outside[next++] = n;
    }
    tables.outsideStart[kMaxContinents + 1] = next;
}

// Who can reach each territory, in territory order, from the neighbour lists.
void fillReaching(MapLookupTables &tables)
{
    std::array<qint32, kMaxTerritories + 2> count{};
    for (int t = 1; t <= territoryCount && t <= kMaxTerritories; ++t)
        for (int n : tables.neighbours[t])
            ++count[n];
    tables.reachingStart[0] = 0;
    for (int t = 0; t <= kMaxTerritories; ++t)
        tables.reachingStart[t + 1] = tables.reachingStart[t] + count[t];
    std::array<qint32, kMaxTerritories + 1> next{};
    for (int t = 0; t <= kMaxTerritories; ++t)
        next[t] = tables.reachingStart[t];
    for (int t = 1; t <= territoryCount && t <= kMaxTerritories; ++t)
        for (int n : tables.neighbours[t])
            tables.reaching[next[n]++] = t;
}

} // namespace

MapLookupScope::MapLookupScope()
{
    MapLookupTables &tables = mapLookupTables;
    if (tables.depth > 0) {
        ++tables.depth;
        return;
    }
    fillContinents(tables);
    for (int t = 0; t <= kMaxTerritories; ++t)
        tables.neighbours[t] = readNeighbours(t);
    for (int c = 0; c <= kMaxContinents; ++c) {
        tables.borders[c] = readBorders(c);
        tables.members[c] = readMembers(c);
    }
    fillReaching(tables);
    fillOutside(tables);
    tables.depth = 1; // the look-ups read the tables from now on
}

MapLookupScope::~MapLookupScope()
{
    --mapLookupTables.depth;
}

CurrentPlayerScope::CurrentPlayerScope(int player)
    : saved_(currentPlayer)
{
    currentPlayer = player;
}

CurrentPlayerScope::~CurrentPlayerScope()
{
    currentPlayer = saved_;
}

// ---- Neighbour sums ----

NeighbourSums neighbourSums(int t, int player)
{
    NeighbourSums sums;
    for (int n : neighboursOf(t)) {
        const TerritoryState &state = territoryState[n];
        if (state.owner == player) {
            sums.balance -= state.armies;
        } else {
            sums.enemySum += state.armies;
            sums.balance += state.armies;
            ++sums.enemyCount;
        }
    }
    return sums;
}

void sumNeighbourArmies(int t, int &enemySum, int &balance, int &enemyCount)
{
    const NeighbourSums sums = neighbourSums(t, currentPlayer);
    enemySum = sums.enemySum;
    balance = sums.balance;
    enemyCount = sums.enemyCount;
}

bool hasEnemyArmiesAround(int t)
{
    return neighbourSums(t, currentPlayer).enemySum > 0;
}

// ---- The one sort ----

namespace {

// Stable: equal values keep their order.
template <std::size_t N>
void stableSort(std::array<Pair, N> &list, int n, bool ascending)
{
    n = qMin(n, static_cast<int>(N) - 2);
    for (int i = 2; i <= n; ++i) {
        const Pair entry = list[i];
        int j = i - 1;
        while (j >= 1 && (ascending ? list[j].value > entry.value : list[j].value < entry.value)) {
            list[j + 1] = list[j];
            --j;
        }
        list[j + 1] = entry;
    }
}

} // namespace

void sortPairs(int mode, int n)
{
    switch (mode) {
    case 1:
        stableSort(playerRanking, n, false);
        break;
    case 2:
        stableSort(reinforceCandidates, n, true);
        break;
    case 3:
        stableSort(continentRanking, n, false);
        break;
    case 4:
        stableSort(breakTargets, n, false);
        break;
    case 5:
        stableSort(continentOrder, n, true);
        break;
    case 6:
        stableSort(playerStrength, n, false);
        break;
    default:
        break;
    }
}

// ---- Continent and gateway look-ups ----

int borderContinentOfTerritory(int t)
{
    for (int c = 1; c <= continentCount; ++c)
        if (isBorderOf(t, c))
            return c;
    return 0;
}

namespace {

// The neighbours of border territory b that lie outside continent c: how many, and the last.
struct OutsideNeighbours {
    int count = 0;
    int last = 0;
};

OutsideNeighbours outsideNeighbours(int b, int c)
{
    OutsideNeighbours result;
    for (int n : neighboursOf(b)) {
        if (continentOf(n) != c) {
            ++result.count;
            result.last = n;
        }
    }
    return result;
}

} // namespace

int findTargetContinentEntry(int t)
{
    int result = 0;
    for (int c = 1; c <= continentCount; ++c) {
        if (!playerHolds(currentPlayer, c) || !isBorderOf(t, c))
            continue;
        const OutsideNeighbours outside = outsideNeighbours(t, c);
        if (outside.count != 1)
            continue;
        const int g = outside.last;
        if (playerHolds(currentPlayer, continentOf(g)))
            result = -1;
        else if (isOwnTerritory(g))
            result = g;
    }
    return result;
}

bool isContinentOutpost(int t)
{
    if (!isOwnTerritory(t) || playerHolds(currentPlayer, continentOf(t)))
        return false;
    for (int c = 1; c <= continentCount; ++c) {
        if (!playerHolds(currentPlayer, c))
            continue;
        for (int b : bordersOf(c)) {
            const OutsideNeighbours outside = outsideNeighbours(b, c);
            if (outside.count == 1 && outside.last == t)
                return true;
        }
    }
    return false;
}

// ---- Armies after a conquest or at the end of a turn ----

namespace {

bool isOwnStronghold(int t)
{
    return t > 0 && isValidPlayer(currentPlayer) && playerTable[currentPlayer].stronghold() == t;
}

bool onClassicWorldMap()
{
    return mapWorldFlag && !mapWorldIIFlag;
}

// One army when the player need not push on and more than two players are left; otherwise a
// share of what is there.
int advanceRule(int a, bool forced)
{
    if (!forced && aiPlayersLeft > 2)
        return 1;
    if (a > 26)
        return a - 20;
    return a / 3;
}

} // namespace

int chooseArmiesToMove(int from, int to, int a, int mode)
{
    if (a < 1)
        return 0;
    if (a > 150)
        return 75;
    if (isOwnStronghold(from))
        return 0;
    if (isContinentOutpost(to))
        return a;

    const int borderFrom = borderContinentOfTerritory(from);
    if (borderFrom != 0 && borderFrom == borderContinentOfTerritory(to) && a != 1
        && playerHolds(currentPlayer, borderFrom))
        return a / 2;

    const int cf = continentOf(from);
    const int ct = continentOf(to);
    if (mode == 4 && cf == ct)
        return 0;
    if (!(mode == 0 && cf == ct)) {
        if (onClassicWorldMap() && playerHolds(currentPlayer, 3) && (from == 16 || from == 18)) {
            const int e = neighbourSums(from, currentPlayer).enemySum;
            return (e < a && a - e - 20 > 0) ? a - e - 20 : 1;
        }
        if (playerHolds(currentPlayer, cf))
            return a > 20 ? a - 20 : 1;
    }

    if (isContinentOutpost(from)) {
        int count;
        if (mode == 0 && a >= 27 && aiPlayersLeft >= 3)
            count = neighbourSums(from, currentPlayer).enemySum == 0 ? a - 20 : 1;
        else
            count = advanceRule(a, mode != 0);
        if (count > 0)
            return count;
    }
    return (mode == 0 || mode == 4) ? 0 : a;
}

void moveIntoConquered(int from, int to, int mode)
{
    if (from == to || !isOwnTerritory(from) || !isOwnTerritory(to))
        return;
    const int a = armiesOf(from);
    const NeighbourSums around = neighbourSums(from, currentPlayer);
    const NeighbourSums ahead = neighbourSums(to, currentPlayer);
    const int e1 = around.enemySum, b1 = around.balance;
    const int e2 = ahead.enemySum, b2 = ahead.balance;

    int n = 0;
    if (a > 151) {
        n = 75;
    } else if (isOwnStronghold(from)) {
        n = 0;
    } else if (e1 == 0) {
        n = e2 == 0 ? 0 : a - 1;
    } else if (mode != 4 && e2 != 0) {
        if ((b2 > 0 && (b1 <= 0 || b2 > b1)) || (b2 == 0 && b1 < 0))
            n = a - 1;
    }
    if (n <= 1)
        return;

    if (!fastSpeed)
        queueTextEvent(QStringLiteral("Moving %1 armies into the territory.").arg(n));
    territoryState[from].armies -= n;
    territoryState[to].armies += n;
    queuePlacement(from);
    queuePlacement(to);
}

// ---- Card sets ----

namespace {

void takeSetValues(const CardSet &set, qint32 value)
{
    cardsTraded = set.cardsCounted;
    cardSetValue = lastCardSetValue = value;
}

} // namespace

void bestCardSetValue()
{
    const CardSet set = evaluateCardSet(aiCards);
    takeSetValues(set, set.valueEvaluated);
}

void tradeCardSet()
{
    // Work from the hand as it is now: an earlier trade or a card drawn since the last look
    // must never let a set be handed in twice or a new card be lost.
    aiCards = handOf(currentPlayer);
    const CardSet set = evaluateCardSet(aiCards);
    handInCards(currentPlayer, set.handedIn);
    takeSetValues(set, set.valueTraded);
}

void queueCardTrade()
{
    cardTradeMarker = 177;
    auto shown = [](qint32 count) { return count >= 2 ? count : 0; };
    qint32 artillery = shown(aiCards.artillery);
    qint32 infantry = shown(aiCards.infantry);
    qint32 cavalry = shown(aiCards.cavalry);
    if (cardSetValue == 5 && aiCards.wild == 1) {
        // The single card handed in with the wild card shows too.
        artillery = qMax(0, aiCards.artillery);
        infantry = qMax(0, aiCards.infantry);
        cavalry = qMax(0, aiCards.cavalry);
    }
    queueCardTradeNotice({artillery, infantry, cavalry, aiCards.wild}, lastCardSetValue, currentPlayer);
}
