#pragma once
// The small operations every computer-player decision is built from: neighbour sums, the one
// sort of the pair lists, continent and gateway look-ups, how many armies follow a conquest,
// and card sets. All of them work for `currentPlayer`.

#include "state/GameState.h"

#include <array>

// ---- Reading the map safely ----
// A short list of territory numbers in table order, without numbers that are not on the map.
template <int N>
struct TerritoryRange {
    std::array<qint32, N> t{};
    int count = 0;
    const qint32 *begin() const { return t.data(); }
    const qint32 *end() const { return t.data() + count; }
    void add(qint32 territory)
    {
        if (count < N)
            t[count++] = territory;
    }
};
using Neighbours = TerritoryRange<kMaxNeighbours>;
using BorderRange = TerritoryRange<kMaxBorderEntries>;
using MemberRange = TerritoryRange<kMaxContinentMembers>;

// While one is open, neighboursOf, bordersOf, membersOf and continentOf read tables made when
// the outermost one opened: open one around work that asks often and changes no map (a
// computer turn, a run of route searches).
class MapLookupScope {
public:
    MapLookupScope();
    ~MapLookupScope();
    MapLookupScope(const MapLookupScope &) = delete;
    MapLookupScope &operator=(const MapLookupScope &) = delete;
};

// The tables an open MapLookupScope reads; the look-ups below are inline, as every search asks
// them at each step.
struct MapLookupTables {
    int depth = 0;
    std::array<qint32, kMaxTerritories + 1> continent{};
    std::array<Neighbours, kMaxTerritories + 1> neighbours{};
    std::array<BorderRange, kMaxContinents + 1> borders{};
    std::array<MemberRange, kMaxContinents + 1> members{};
    // The territories that can reach t: reaching[reachingStart[t]] up to reachingStart[t + 1].
    std::array<qint32, kMaxTerritories + 2> reachingStart{};
    std::array<qint32, kMaxTerritories * kMaxNeighbours> reaching{};
    // Continent c's outside neighbours: the neighbours of each border territory that lie in
    // another continent, in border and slot order, repeats kept; outside[outsideStart[c]] up to
    // outsideStart[c + 1].
    std::array<qint32, kMaxContinents + 2> outsideStart{};
    std::array<qint32, (kMaxContinents + 1) * kMaxBorderEntries * kMaxNeighbours> outside{};
};
extern MapLookupTables mapLookupTables;

// The same, read from the map tables at every call.
Neighbours readNeighbours(int t);
BorderRange readBorders(int c);
MemberRange readMembers(int c);

// The territories t can reach, in slot order: its list up to the first 0, without t itself.
// Adjacency is read one way: t can attack each of them.
inline Neighbours neighboursOf(int t)
{
    if (mapLookupTables.depth > 0 && t >= 0 && t <= kMaxTerritories)
        return mapLookupTables.neighbours[t];
    return readNeighbours(t);
}
// Continent c's border list (slots up to `maxBorderCount`, to the first 0) and its members.
inline BorderRange bordersOf(int c)
{
    if (mapLookupTables.depth > 0 && c >= 0 && c <= kMaxContinents)
        return mapLookupTables.borders[c];
    return readBorders(c);
}
inline MemberRange membersOf(int c)
{
    if (mapLookupTables.depth > 0 && c >= 0 && c <= kMaxContinents)
        return mapLookupTables.members[c];
    return readMembers(c);
}
// Continent c's outside neighbours (see MapLookupTables), while a MapLookupScope is open.
struct TerritorySpan {
    const qint32 *first;
    const qint32 *last;
    const qint32 *begin() const { return first; }
    const qint32 *end() const { return last; }
};
inline TerritorySpan outsideNeighboursOf(int c)
{
    const MapLookupTables &tables = mapLookupTables;
    if (c < 0 || c > kMaxContinents)
        return {nullptr, nullptr};
    return {tables.outside.data() + tables.outsideStart[c], tables.outside.data() + tables.outsideStart[c + 1]};
}
// The continent of territory t, as continentOfTerritory finds it.
inline int continentOf(int t)
{
    if (mapLookupTables.depth > 0 && t >= 0 && t <= kMaxTerritories)
        return mapLookupTables.continent[t];
    return continentOfTerritory(t);
}
// `from` can attack or move into `to`: `to` is in from's list and is not from itself.
bool canAttack(int from, int to);
// Inline, as every search asks them at each step.
inline int ownerOf(int t) // 0 for a number that is not on the map
{
    return isValidTerritory(t) ? territoryState[t].owner : 0;
}
inline int armiesOf(int t) // 0 for a number that is not on the map
{
    return isValidTerritory(t) ? territoryState[t].armies : 0;
}
inline bool isOwnTerritory(int t) // owned by `currentPlayer`
{
    return isValidTerritory(t) && territoryState[t].owner == currentPlayer;
}
// The continent-held flag of player p's record (false for continent 0 or a bad number).
inline bool playerHolds(int player, int continent)
{
    if (player < 1 || player > kMaxPlayers || continent < 1 || continent > continentCount)
        return false;
    return playerTable[player].continentHeld(continent) == 1;
}
bool isContinentMember(int t, int continent);
bool isBorderOf(int t, int continent);

// Makes another player the current one for the computations of a scope, and restores the
// previous one on every way out.
class CurrentPlayerScope {
public:
    explicit CurrentPlayerScope(int player);
    ~CurrentPlayerScope();
    CurrentPlayerScope(const CurrentPlayerScope &) = delete;
    CurrentPlayerScope &operator=(const CurrentPlayerScope &) = delete;

private:
    qint32 saved_;
};

// ---- Neighbour sums ----
struct NeighbourSums {
    int enemySum = 0;   // armies on neighbours not owned by the player
    int balance = 0;    // enemySum minus the armies on own neighbours
    int enemyCount = 0; // enemy neighbours
};
// Seen from `player`.
NeighbourSums neighbourSums(int t, int player);
// Seen from `currentPlayer`.
void sumNeighbourArmies(int t, int &enemySum, int &balance, int &enemyCount);
bool hasEnemyArmiesAround(int t); // enemySum above 0, seen from `currentPlayer`

// ---- The one sort ----
// Modes: 1 playerRanking, 2 reinforceCandidates (ascending), 3 continentRanking, 4 breakTargets,
// 5 continentOrder (ascending), 6 playerStrength. Stable; entries 1..n.
void sortPairs(int mode, int n);

// ---- Continent and gateway look-ups ----
// The first continent whose border list holds t; 0 when none.
int borderContinentOfTerritory(int t);
// For a border territory t of a held continent with exactly one outside neighbour: -1 when that
// neighbour lies in a held continent, the neighbour itself when the player owns it; else 0.
int findTargetContinentEntry(int t);
// t is the player's single outpost in front of a held continent's border territory, in a
// continent the player does not hold.
bool isContinentOutpost(int t);

// ---- Armies after a conquest or at the end of a turn ----
// Armies to move from `from` to `to` with `a` available; 0 = none.
int chooseArmiesToMove(int from, int to, int a, int mode);
// Moves armies into a conquered territory at once and queues the change.
void moveIntoConquered(int from, int to, int mode);

// ---- Card sets ----
// Rates the set in `aiCards` (sets `cardsTraded`, `cardSetValue`, `lastCardSetValue`).
void bestCardSetValue();
// Hands in the best set of the current player's hand as it is now, and sets the same values.
void tradeCardSet();
// Queues the card-trade display: the trade, three pauses, the close.
void queueCardTrade();
