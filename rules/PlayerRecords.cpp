#include "rules/PlayerRecords.h"

#include "state/GameState.h"

bool holdsContinent(int player, int continent)
{
    if (continent < 1 || continent > continentCount)
        return false;
    const ContinentRecord &record = continentTable[continent];
    if (record.memberCount < 1)
        return false;
    for (int i = 1; i <= record.memberCount; ++i)
        if (territoryState[record.members[i]].owner != player)
            return false;
    return true;
}

void recountPlayer(int player)
{
    if (player < 1 || player > kMaxPlayers)
        return;
    PlayerRecord &record = playerTable[player];
    qint32 held = 0, armies = 0;
    for (int t = 1; t <= territoryCount; ++t) {
        if (territoryState[t].owner == player) {
            ++held;
            armies += territoryState[t].armies;
        }
    }
    record.territoriesHeld() = held;
    record.totalArmies() = armies;
    qint32 bonus = 0;
    for (int c = 1; c <= kMaxContinents; ++c) {
        const bool holds = holdsContinent(player, c);
        record.continentHeld(c) = holds ? 1 : 0;
        if (holds)
            bonus += continentTable[c].bonus;
    }
    record.continentBonus() = bonus;
}

void recountAllPlayers()
{
    for (int p = 1; p <= kMaxPlayers; ++p)
        recountPlayer(p);
}

int territoryReinforcement(int player)
{
    if (player < 1 || player > kMaxPlayers)
        return 0;
    const int divisor = qMax(1, reinforcementDivisor);
    return qMax(3, playerTable[player].territoriesHeld() / divisor);
}

int continentReinforcement(int player)
{
    int bonus = 0;
    for (int c = 1; c <= continentCount; ++c)
        if (holdsContinent(player, c))
            bonus += continentTable[c].bonus;
    return bonus;
}

int playersLeft()
{
    int left = 0;
    for (int p = 1; p <= playerCount && p <= kMaxPlayers; ++p)
        if (playerTable[p].territoriesHeld() > 0)
            ++left;
    return left;
}
