#pragma once
// A small map for the attack and end-of-game tests, and helpers to lay out a game on it.
//
//   North (bonus 3): 1 2 3        1 - 2 - 4 - 5
//   South (bonus 2): 4 5          |  /        |
//   East  (bonus 5): 6 7 8        3 -------- 6 - 7,8   (7 - 8 too)
//
// Territory 7 lists 1 but 1 does not list 7 (a one-way link), and 5 lists itself.

#include "rules/PlayerRecords.h"
#include "state/GameState.h"
#include "state/MapFile.h"

#include <QStringList>

#include <initializer_list>

inline bool loadRulesTestMap()
{
    mapFileLines = QStringList{
        "[map]", "Isles", "", "[player names]", "30 40", "", "[smilies and codes]", "N", "",
        "[continents]", "3 North 1 2 3", "2 South 4 5", "5 East 6 7 8", "", "[territories]",
        "1 aaa 10 10 2 3", "2 bbb 20 10 1 3 4", "3 ccc 30 10 1 2 6", "4 ddd 40 10 2 5",
        "5 eee 50 10 4 6 5", "6 fff 60 10 3 5 7 8", "7 ggg 70 10 6 8 1", "8 hhh 80 10 6 7"};
    int result = -1;
    loadMapFile(result);
    return result == MapFileOk;
}

struct Holding {
    int owner;
    int armies;
};

// Territories 1.. get these owners and armies, in order; the records follow.
inline void layOut(std::initializer_list<Holding> holdings)
{
    int t = 1;
    for (const Holding &h : holdings)
        territoryState[t++] = {h.owner, h.armies};
    displayedTerritoryState = territoryState;
    recountAllPlayers();
}

inline qint64 armiesOnMap()
{
    qint64 sum = 0;
    for (int t = 1; t <= territoryCount; ++t)
        sum += territoryState[t].armies;
    return sum;
}

inline qint64 battleLossesOfAll()
{
    qint64 sum = 0;
    for (int p = 1; p <= kMaxPlayers; ++p)
        sum += playerTable[p].battleLosses();
    return sum;
}
