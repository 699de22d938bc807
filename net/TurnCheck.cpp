#include "net/TurnCheck.h"

#include "ai/Toolkit.h"
#include "rules/Cards.h"
#include "rules/GameStart.h"
#include "rules/PlayerRecords.h"
#include "rules/TurnState.h"
#include "state/GameState.h"

#include <QBitArray>
#include <QList>

#include <array>

namespace {

using Territories = std::array<TerritoryState, kMaxTerritories + 1>;
using Players = std::array<PlayerRecord, kMaxPlayers + 1>;

struct TurnStart {
    int seat = 0;
    bool placement = false;
    qint64 armies = 0;                      // the seat's armies on the map
    qint64 due = 0;                         // what the placement or the turn's reinforcement adds
    std::array<int, kMaxPlayers + 1> cards{}; // by player: an eliminated player's go to the seat
    QBitArray outOfGame;                    // by player
};
TurnStart turnStart;

qint64 armiesOf(const Territories &table, int player)
{
    qint64 sum = 0;
    for (int t = 1; t <= territoryCount; ++t)
        if (table[t].owner == player)
            sum += table[t].armies;
    return sum;
}

int territoriesOf(const Territories &table, int player)
{
    int count = 0;
    for (int t = 1; t <= territoryCount; ++t)
        count += table[t].owner == player ? 1 : 0;
    return count;
}

// Out by the rules: no territory left, or in a stronghold game no stronghold of his own.
bool outOfGame(const Territories &table, const Players &players, int player)
{
    if (territoriesOf(table, player) == 0)
        return true;
    const int stronghold = players[player].stronghold();
    return strongholdsEnabled && (!isValidTerritory(stronghold) || table[stronghold].owner != player);
}

int cardsOnTable(const Players &players, const std::array<qint32, 4> &deck)
{
    int total = 0;
    for (qint32 count : deck)
        total += count;
    for (int p = 1; p <= kMaxPlayers; ++p)
        total += players[p].cardCount();
    return total;
}

bool sameRules(const StateSnapshot &s)
{
    return s.playerCount == playerCount && s.humanSeatCount == humanSeatCount && s.attackRule == attackRule
        && bool(s.strongholds) == bool(strongholdsEnabled) && bool(s.troopExperienceOn) == bool(troopExperienceEnabled)
        && s.missionType == missionType && bool(s.neutralArmy) == bool(neutralArmyActive);
}

// Territories change hands only to the seat, each next to one he held before or took in the
// same turn; every territory keeps an army; another player's armies only fall, and only where
// the seat can have fought them.
bool ownersAndArmiesAllowed(const StateSnapshot &s, int seat)
{
    QBitArray nextToSeat(territoryCount + 1);
    for (int u = 1; u <= territoryCount; ++u)
        if (s.territories[u].owner == seat)
            for (int t : neighboursOf(u))
                nextToSeat.setBit(t);
    QBitArray taken(territoryCount + 1);
    QList<int> reached; // the seat's territories before the turn, then those taken from them
    for (int t = 1; t <= territoryCount; ++t) {
        const TerritoryState &before = territoryState[t];
        const TerritoryState &after = s.territories[t];
        if (after.owner > 0 && after.armies < 1)
            return false;
        if (before.owner == seat)
            reached.append(t);
        if (after.owner != before.owner) {
            if (after.owner != seat || turnStart.placement)
                return false;
            taken.setBit(t);
        } else if (after.owner != seat && after.armies != before.armies) {
            if (after.armies > before.armies || !nextToSeat.testBit(t))
                return false;
        }
    }
    // Every territory taken is reached from the seat's own, one conquest at a time.
    int left = taken.count(true);
    for (int i = 0; i < reached.size() && left > 0; ++i)
        for (int t : neighboursOf(reached[i]))
            if (taken.testBit(t)) {
                taken.clearBit(t);
                reached.append(t);
                --left;
            }
    return left == 0;
}

// Cards are neither made nor lost, and only the seat gains any.
bool cardsAllowed(const StateSnapshot &s, int seat)
{
    if (cardsOnTable(s.players, s.deck) != cardsOnTable(playerTable, {cardDeckCounts[0], cardDeckCounts[1],
                                                                      cardDeckCounts[2], cardDeckCounts[3]}))
        return false;
    for (int p = 1; p <= kMaxPlayers; ++p)
        if (p != seat && s.players[p].cardCount() > playerTable[p].cardCount())
            return false;
    return true;
}

// The seat's armies grow by no more than the placement or the turn's reinforcement, and the
// card trades that the cards he held, won or took from players he put out this turn allow.
bool armiesAllowed(const StateSnapshot &s, int seat)
{
    qint64 allowed = turnStart.armies + turnStart.due;
    if (!turnStart.placement) {
        int cards = turnStart.cards[seat] + 1;
        for (int p = 1; p <= kMaxPlayers; ++p)
            if (p != seat && !turnStart.outOfGame.testBit(p) && outOfGame(s.territories, s.players, p))
                cards += turnStart.cards[p];
        allowed += qint64(kArmiesPerCard) * cards;
    }
    return armiesOf(s.territories, seat) <= allowed;
}

// Strongholds are chosen in the placement, each player his own; another player's is lost only to
// the seat, who now holds its territory.
bool strongholdsAllowed(const StateSnapshot &s, int seat)
{
    for (int p = 1; p <= kMaxPlayers; ++p) {
        const int before = playerTable[p].stronghold();
        const int after = s.players[p].stronghold();
        if (after == before || (p == seat && turnStart.placement))
            continue;
        if (p == seat || after != 0 || !isValidTerritory(before) || s.territories[before].owner != seat)
            return false;
    }
    return true;
}

// The game ends only when the seat has no one left to beat.
bool endAllowed(const StateSnapshot &s, int seat)
{
    if (!s.gameOver || gameOver)
        return true;
    for (int p = 1; p <= playerCount && p <= kMaxPlayers; ++p)
        if (p != seat && !outOfGame(s.territories, s.players, p))
            return false;
    return true;
}

} // namespace

void recordTurnStart(int seat, bool placement)
{
    turnStart = TurnStart();
    turnStart.seat = seat;
    turnStart.placement = placement;
    turnStart.armies = armiesOf(territoryState, seat);
    turnStart.due = placement ? initialArmies + (strongholdsEnabled ? kStrongholdBonus : 0)
                              : territoryReinforcement(seat) + continentReinforcement(seat);
    turnStart.outOfGame = QBitArray(kMaxPlayers + 1);
    for (int p = 1; p <= kMaxPlayers; ++p) {
        turnStart.cards[p] = playerTable[p].cardCount();
        turnStart.outOfGame.setBit(p, outOfGame(territoryState, playerTable, p));
    }
}

bool snapshotWithinTurn(const StateSnapshot &s, int seat)
{
    return seat == turnStart.seat && s.currentPlayer == seat && sameRules(s) && ownersAndArmiesAllowed(s, seat)
        && cardsAllowed(s, seat) && armiesAllowed(s, seat) && strongholdsAllowed(s, seat)
        && endAllowed(s, seat);
}

void keepHostsOwnFields(StateSnapshot &s)
{
    s.namesDue = false;
    s.troopExperience = troopExperience;
    s.initialArmies = initialArmies;
    s.placementRound = placementRound;
}
