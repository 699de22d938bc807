#include "net/TurnCheck.h"

#include "rules/PlayerRecords.h"
#include "rules/TurnState.h"
#include "state/GameState.h"

#include <QBitArray>

namespace {

constexpr int kStrongholdBonus = 14;
// A trade of N cards gives at most 5 x N armies.
constexpr int kArmiesPerCard = 5;

struct TurnStart {
    int seat = 0;
    bool placement = false;
    qint64 armies = 0;   // the seat's armies on the map
    qint64 due = 0;      // what the placement or the turn's reinforcement adds
    int cards = 0;       // the seat's cards
    QBitArray outOfGame; // by player
};
TurnStart turnStart;

qint64 armiesOf(const std::array<TerritoryState, kMaxTerritories + 1> &table, int player)
{
    qint64 sum = 0;
    for (int t = 1; t <= territoryCount; ++t)
        if (table[t].owner == player)
            sum += table[t].armies;
    return sum;
}

int cardsOf(const PlayerRecord &record)
{
    return record.cardCount();
}

int cardsOnTable(const std::array<PlayerRecord, kMaxPlayers + 1> &players, const std::array<qint32, 4> &deck)
{
    int total = 0;
    for (qint32 count : deck)
        total += count;
    for (int p = 1; p <= kMaxPlayers; ++p)
        total += cardsOf(players[p]);
    return total;
}

bool sameRules(const StateSnapshot &s)
{
    return s.playerCount == playerCount && s.humanSeatCount == humanSeatCount && s.attackRule == attackRule
        && bool(s.strongholds) == bool(strongholdsEnabled) && bool(s.troopExperienceOn) == bool(troopExperienceEnabled)
        && s.missionType == missionType && bool(s.neutralArmy) == bool(neutralArmyActive);
}

// Territories change hands only to the seat, each next to one he held before or took in the
// same step; no other player's territory gains armies.
bool ownersAndArmiesAllowed(const StateSnapshot &s, int seat)
{
    QBitArray his(territoryCount + 1);
    for (int t = 1; t <= territoryCount; ++t)
        his.setBit(t, territoryState[t].owner == seat);
    QBitArray taken(territoryCount + 1);
    for (int t = 1; t <= territoryCount; ++t) {
        const TerritoryState &before = territoryState[t];
        const TerritoryState &after = s.territories[t];
        if (after.owner != before.owner) {
            if (after.owner != seat || turnStart.placement || after.armies < 1)
                return false;
            taken.setBit(t);
        } else if (after.owner != seat && after.armies > before.armies) {
            return false;
        }
    }
    // Every territory taken must be reachable from the seat's own, one conquest at a time.
    for (bool grew = true; grew;) {
        grew = false;
        for (int t = 1; t <= territoryCount; ++t) {
            if (!taken.testBit(t))
                continue;
            for (int u = 1; u <= territoryCount; ++u) {
                if (u != t && his.testBit(u) && isNeighbour(u, t)) {
                    his.setBit(t);
                    taken.clearBit(t);
                    grew = true;
                    break;
                }
            }
        }
    }
    return taken.count(true) == 0;
}

// Cards are neither made nor lost, and only the seat gains any.
bool cardsAllowed(const StateSnapshot &s, int seat)
{
    if (cardsOnTable(s.players, s.deck) != cardsOnTable(playerTable, {cardDeckCounts[0], cardDeckCounts[1],
                                                                      cardDeckCounts[2], cardDeckCounts[3]}))
        return false;
    for (int p = 1; p <= kMaxPlayers; ++p)
        if (p != seat && cardsOf(s.players[p]) > cardsOf(playerTable[p]))
            return false;
    return true;
}

// The seat's armies grow by no more than the placement or the turn's reinforcement, and the
// card trades that the cards he held or won this turn allow.
bool armiesAllowed(const StateSnapshot &s, int seat)
{
    qint64 allowed = turnStart.armies + turnStart.due;
    if (!turnStart.placement) {
        int cards = turnStart.cards + 1;
        for (int p = 1; p <= kMaxPlayers; ++p)
            if (p != seat && !turnStart.outOfGame.testBit(p) && armiesOf(s.territories, p) == 0)
                cards += cardsOf(playerTable[p]);
        allowed += qint64(kArmiesPerCard) * cards;
    }
    return armiesOf(s.territories, seat) <= allowed;
}

// Strongholds are chosen in the placement, each player his own.
bool strongholdsAllowed(const StateSnapshot &s, int seat)
{
    for (int p = 1; p <= kMaxPlayers; ++p)
        if ((p != seat || !turnStart.placement) && s.players[p].stronghold() != playerTable[p].stronghold())
            return false;
    return true;
}

// The game ends only when the seat has no one left to beat.
bool endAllowed(const StateSnapshot &s, int seat)
{
    if (!s.gameOver || gameOver)
        return true;
    for (int p = 1; p <= playerCount && p <= kMaxPlayers; ++p) {
        if (p == seat || armiesOf(s.territories, p) == 0)
            continue;
        const int stronghold = playerTable[p].stronghold();
        if (!strongholdsEnabled || (isValidTerritory(stronghold) && s.territories[stronghold].owner == p))
            return false;
    }
    return true;
}

} // namespace

void recordTurnStart(int seat, bool placement)
{
    turnStart = TurnStart();
    turnStart.seat = seat;
    turnStart.placement = placement;
    turnStart.armies = armiesOf(territoryState, seat);
    turnStart.cards = isValidPlayer(seat) ? cardsOf(playerTable[seat]) : 0;
    turnStart.due = placement ? initialArmies + (strongholdsEnabled ? kStrongholdBonus : 0)
                              : territoryReinforcement(seat) + continentReinforcement(seat);
    turnStart.outOfGame = QBitArray(kMaxPlayers + 1);
    for (int p = 1; p <= kMaxPlayers; ++p)
        turnStart.outOfGame.setBit(p, armiesOf(territoryState, p) == 0);
}

bool snapshotWithinTurn(const StateSnapshot &s, int seat)
{
    return seat == turnStart.seat && s.currentPlayer == seat && sameRules(s) && ownersAndArmiesAllowed(s, seat)
        && cardsAllowed(s, seat) && armiesAllowed(s, seat) && strongholdsAllowed(s, seat)
        && endAllowed(s, seat);
}
