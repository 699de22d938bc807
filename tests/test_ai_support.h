#pragma once
// Small maps and positions for the computer-player tests: a map is built from its continents
// and its neighbour lists through the real map parser, then owners and armies are set by hand.

#include "ai/AiState.h"
#include "rules/PlayerRecords.h"
#include "state/GameState.h"
#include "state/MapFile.h"
#include "state/Seams.h"
#include "state/StepQueues.h"

#include <QPair>
#include <QStringList>
#include <QVector>

#include <initializer_list>
#include <utility>
#include <vector>

namespace aitest {

struct ContinentLayout {
    int bonus;
    std::vector<int> members;
};

// Neighbour lists exactly as given (one-sided links stay one-sided), entry 0 unused.
using Adjacency = std::vector<std::vector<int>>;

inline Adjacency symmetric(int territories, std::initializer_list<std::pair<int, int>> links)
{
    Adjacency lists(territories + 1);
    for (const auto &link : links) {
        lists[link.first].push_back(link.second);
        lists[link.second].push_back(link.first);
    }
    return lists;
}

// Territories 1..n in a row, each linked to the next.
inline Adjacency chain(int territories)
{
    Adjacency lists(territories + 1);
    for (int t = 1; t < territories; ++t) {
        lists[t].push_back(t + 1);
        lists[t + 1].push_back(t);
    }
    return lists;
}

// Continents of `size` territories in number order (the last one may be shorter).
inline std::vector<ContinentLayout> blocks(int territories, int size)
{
    std::vector<ContinentLayout> continents;
    for (int t = 1; t <= territories; ++t) {
        if ((t - 1) % size == 0)
            continents.push_back({2, {}});
        continents.back().members.push_back(t);
    }
    return continents;
}

// Loads the map into the live tables; every territory starts unowned with 1 army, no routes.
inline bool loadMap(const std::vector<ContinentLayout> &continents, const Adjacency &lists)
{
    QStringList lines{QStringLiteral("[continents]")};
    int number = 0;
    for (const ContinentLayout &c : continents) {
        QString line = QStringLiteral("%1 C%2").arg(c.bonus).arg(++number);
        for (int t : c.members)
            line += QStringLiteral(" %1").arg(t);
        lines << line;
    }
    lines << QString() << QStringLiteral("[territories]");
    for (int t = 1; t < static_cast<int>(lists.size()); ++t) {
        QString line = QStringLiteral("%1 t%1 %2 20").arg(t).arg(10 * t);
        for (int n : lists[t])
            line += QStringLiteral(" %1").arg(n);
        lines << line;
    }
    MapTables scratch;
    if (parseMapText(lines, scratch, false) != MapFileOk)
        return false;
    mapTables = scratch;
    clearRoutes();
    reinforcementDivisor = reinforcementDivisorFor(territoryCount);
    for (int t = 0; t <= kMaxTerritories; ++t)
        territoryState[t] = t >= 1 && t <= territoryCount ? TerritoryState{0, 1} : TerritoryState{};
    displayedTerritoryState = territoryState;
    return true;
}

// Continent 1 = 1..4 (borders 1 and 4), continent 2 = 5..7 (borders 5 and 7),
// continent 3 = 8..9 (borders 8 and 9); a ring 1-2-3-4-5-6-7-8-9-1.
inline bool loadRingMap()
{
    return loadMap({{5, {1, 2, 3, 4}}, {2, {5, 6, 7}}, {3, {8, 9}}},
                   symmetric(9, {{1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 7}, {7, 8}, {8, 9}, {1, 9}}));
}

// 200 territories in ten continents of twenty. Each territory 181..200 of the last continent
// reaches nine of the others (181 reaches 1..9, 182 reaches 10..18, ...), and each of those
// reaches back only to the one that reaches it: 180 border territories in all.
inline bool loadWideMap()
{
    Adjacency lists(201);
    for (int t = 1; t <= 180; ++t) {
        const int hub = 181 + (t - 1) / 9;
        lists[hub].push_back(t);
        lists[t].push_back(hub);
    }
    return loadMap(blocks(200, 20), lists);
}

inline void put(int t, int owner, int armies)
{
    territoryState[t] = {owner, armies};
}

using Cells = QVector<QPair<int, int>>; // (owner, armies) per territory

// Owners and armies for territories 1.. in order; then every record is recounted.
inline void setPosition(const Cells &ownerAndArmies)
{
    int t = 0;
    for (const auto &entry : ownerAndArmies)
        put(++t, entry.first, entry.second);
    recountAllPlayers();
}

// A game of `players`: territory t to player (t - 1) % players + 1, `armies` each.
inline void spread(int players, int armies)
{
    playerCount = players;
    for (int t = 1; t <= territoryCount; ++t)
        put(t, (t - 1) % players + 1, armies);
    recountAllPlayers();
}

// Every territory to a player in turn, in a shuffled order, each with `armies()` armies.
template <typename Armies>
inline void deal(int players, Armies armies)
{
    std::vector<int> order;
    for (int t = 1; t <= territoryCount; ++t)
        order.push_back(t);
    for (int i = static_cast<int>(order.size()) - 1; i > 0; --i)
        std::swap(order[i], order[randomSource().below(i + 1)]);
    for (int i = 0; i < static_cast<int>(order.size()); ++i)
        put(order[i], i % players + 1, armies());
}

inline void addRoute(const QVector<int> &chain)
{
    RouteRecord record;
    for (int i = 0; i < chain.size(); ++i)
        record.t[i + 1] = chain[i];
    routeTable[++routeCount] = record;
}

inline int totalArmiesOnMap()
{
    int sum = 0;
    for (int t = 1; t <= territoryCount; ++t)
        sum += territoryState[t].armies;
    return sum;
}

inline int armiesOfPlayer(int p)
{
    int sum = 0;
    for (int t = 1; t <= territoryCount; ++t)
        if (territoryState[t].owner == p)
            sum += territoryState[t].armies;
    return sum;
}

// The computer player p to move in a game of at least `players`, each named "pc <number>"; text
// steps at normal speed, no animations.
inline void playAs(int p, int players = 2)
{
    playerCount = qMax<qint32>(playerCount, players);
    currentPlayer = aiPlayer = p;
    fastSpeed = 0;
    animationsEnabled = 0;
    for (int q = 1; q <= kMaxPlayers; ++q)
        playerName[q] = QStringLiteral("pc %1").arg(q);
}

} // namespace aitest
