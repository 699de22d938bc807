#include "net/TurnCheck.h"

#include "net/TurnCheckParts.h"
#include "rules/GameStart.h"
#include "rules/PlayerRecords.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "state/GameState.h"

namespace {

// What the seat's placement or turn has done so far, as the host has taken it. Each state is one
// action or a few on from the last one taken, and is measured against this.
struct TurnProgress {
    int seat = 0;
    bool placement = false;
    qint64 armiesDue = 0;              // still to place: the placement or reinforcement, and trades
    qint32 continentBonusAtStart = 0;  // his record of continent bonuses; his machine adds the
    qint32 continentDue = 0;           // turn's own to it as the turn begins
    bool attacked = false;             // no army is placed and no card traded after an attack
    bool cardEarned = false;           // a turn's conquests earn one card
    bool moved = false;                // no attack after a move
    qint64 armiesMoved = 0;            // of the turn's move allowance
    int conquestFrom = 0;              // the last conquest, which its armies may still follow
    int conquestTo = 0;
};
TurnProgress progress;

bool sameRules(const StateSnapshot &s)
{
    return s.playerCount == playerCount && s.humanSeatCount == humanSeatCount && s.attackRule == attackRule
        && bool(s.strongholds) == bool(strongholdsEnabled) && bool(s.troopExperienceOn) == bool(troopExperienceEnabled)
        && s.missionType == missionType && bool(s.neutralArmy) == bool(neutralArmyActive);
}

bool everyTerritoryHeld(const StateSnapshot &s)
{
    for (int t = 1; t <= territoryCount; ++t)
        if (s.territories[t].owner > 0 && s.territories[t].armies < 1)
            return false;
    return true;
}

// The game ends only when the seat has no one left to beat, and a game over stays over.
bool endAllowed(const StateSnapshot &s, int seat)
{
    if (gameOver)
        return s.gameOver;
    if (!s.gameOver)
        return true;
    const RulesTables claimed = claimedTables(s);
    for (int p = 1; p <= playerCount && p <= kMaxPlayers; ++p)
        if (p != seat && !outOfGame(claimed, p))
            return false;
    return true;
}

// A territory of the placement gains its initial armies up to the fill, or becomes the seat's
// stronghold with its bonus.
bool placementFits(const RulesTables &held, const RulesTables &claimed, int seat, int t)
{
    const TerritoryState &before = held.territories[t];
    const TerritoryState &after = claimed.territories[t];
    const bool newStronghold = recordField(claimed, seat, PlayerRecord::Stronghold) == t
                            && recordField(held, seat, PlayerRecord::Stronghold) == 0;
    if (newStronghold)
        return strongholdsEnabled && after.armies == before.armies + kStrongholdBonus && strongholdAllowed(t);
    return after.armies <= qMax(before.armies, kPlacementFill);
}

// In the placement the seat chooses his stronghold once, on a territory of his own.
bool expectStronghold(const RulesTables &held, const RulesTables &claimed, int seat, RulesTables &expected)
{
    const int chosen = recordField(claimed, seat, PlayerRecord::Stronghold);
    if (chosen == recordField(held, seat, PlayerRecord::Stronghold))
        return true;
    if (!isValidTerritory(chosen) || held.territories[chosen].owner != seat || !placementFits(held, claimed, seat, chosen))
        return false;
    expected.players[seat].stronghold() = chosen;
    return true;
}

// Before any attack: the seat's territories only gain, by no more than he is due and has traded
// for; in the placement he chooses his stronghold.
bool placementStep(const RulesTables &held, const RulesTables &claimed, int seat, RulesTables &expected,
                   TurnProgress &next)
{
    qint64 placed = 0;
    for (int t = 1; t <= territoryCount; ++t) {
        const TerritoryState &after = claimed.territories[t];
        const int gain = after.armies - held.territories[t].armies;
        if (held.territories[t].owner != seat || after.owner != seat || gain == 0)
            continue;
        if (gain < 0 || (progress.placement && !placementFits(held, claimed, seat, t)))
            return false;
        expected.territories[t].armies = after.armies;
        placed += gain;
    }
    int traded = 0;
    if (progress.placement ? !expectStronghold(held, claimed, seat, expected)
                           : !expectTrades(held, claimed, seat, expected, traded))
        return false;
    next.armiesDue += traded - placed;
    return next.armiesDue >= 0;
}

// After an attack: armies follow the last conquest, or move within the move allowance.
bool moveStep(const RulesTables &held, const RulesTables &claimed, int seat, RulesTables &expected, TurnProgress &next)
{
    if (held.territories == claimed.territories)
        return true;
    const qint64 moved = armiesMovedAtLeast(held, claimed, seat);
    if (moved < 0)
        return false;
    for (int t = 1; t <= territoryCount; ++t)
        if (held.territories[t].owner == seat)
            expected.territories[t].armies = claimed.territories[t].armies;
    next.conquestFrom = next.conquestTo = 0;
    if (onlyMovedBetween(held, claimed, progress.conquestFrom, progress.conquestTo))
        return true;
    next.moved = true;
    next.armiesMoved += moved;
    return next.armiesMoved <= kMoveAllowance;
}

bool battleStep(const RulesTables &held, const RulesTables &claimed, int seat, RulesTables &expected,
                TurnProgress &next)
{
    if (progress.placement || progress.moved)
        return false;
    TurnBattle battle;
    if (!expectBattle(held, claimed, seat, !progress.cardEarned, expected, battle))
        return false;
    next.attacked = true;
    next.cardEarned = next.cardEarned || battle.conquered;
    const bool followed = battle.conquered && battle.movedIn == 0;
    next.conquestFrom = followed ? battle.from : 0;
    next.conquestTo = followed ? battle.to : 0;
    return true;
}

// The claim is what the rules make of the held game: every territory, the deck, and each record
// but the counts the host makes again from the map. The continent bonus his machine counted as
// the turn began is his.
bool claimIsExpected(RulesTables &expected, const RulesTables &claimed, int seat)
{
    const qint32 counted = progress.continentBonusAtStart + progress.continentDue;
    if (recordField(claimed, seat, PlayerRecord::ContinentBonusReceived) == counted)
        expected.players[seat].continentBonusReceived() = counted;
    for (int t = 1; t <= territoryCount; ++t)
        if (expected.territories[t] != claimed.territories[t])
            return false;
    for (int p = 1; p <= kMaxPlayers; ++p)
        for (int f = PlayerRecord::Artillery; f < PlayerRecord::FieldCount; ++f)
            if (expected.players[p].f[f] != claimed.players[p].f[f])
                return false;
    return expected.deck == claimed.deck;
}

} // namespace

RulesTables heldTables()
{
    RulesTables tables;
    tables.territories = territoryState;
    tables.players = playerTable;
    tables.deck = cardDeckCounts;
    return tables;
}

RulesTables claimedTables(const StateSnapshot &s)
{
    RulesTables tables;
    tables.territories = s.territories;
    tables.players = s.players;
    tables.deck = s.deck;
    return tables;
}

qint32 recordField(const RulesTables &tables, int player, PlayerRecord::Field field)
{
    return player >= 1 && player <= kMaxPlayers ? tables.players[player].f[field] : 0;
}

bool outOfGame(const RulesTables &tables, int player)
{
    int held = 0;
    for (int t = 1; t <= territoryCount; ++t)
        held += tables.territories[t].owner == player ? 1 : 0;
    if (held == 0)
        return true;
    const int stronghold = recordField(tables, player, PlayerRecord::Stronghold);
    return strongholdsEnabled && (!isValidTerritory(stronghold) || tables.territories[stronghold].owner != player);
}

void recordTurnStart(int seat, bool placement)
{
    progress = TurnProgress();
    if (!isValidPlayer(seat))
        return;
    progress.seat = seat;
    progress.placement = placement;
    progress.armiesDue = placement ? initialArmies + (strongholdsEnabled ? kStrongholdBonus : 0)
                                   : territoryReinforcement(seat) + continentReinforcement(seat);
    progress.continentBonusAtStart = playerTable[seat].continentBonusReceived();
    progress.continentDue = placement ? 0 : continentReinforcement(seat);
}

bool snapshotWithinTurn(const StateSnapshot &s, int seat)
{
    if (seat != progress.seat || s.currentPlayer != seat || !sameRules(s) || !everyTerritoryHeld(s)
        || !endAllowed(s, seat))
        return false;
    const RulesTables held = heldTables();
    const RulesTables claimed = claimedTables(s);
    RulesTables expected = held;
    TurnProgress next = progress;
    const qint32 attacks = recordField(claimed, seat, PlayerRecord::AttacksMade)
                         - recordField(held, seat, PlayerRecord::AttacksMade);
    bool allowed = false;
    if (attacks == 1)
        allowed = battleStep(held, claimed, seat, expected, next);
    else if (attacks == 0)
        allowed = progress.attacked ? moveStep(held, claimed, seat, expected, next)
                                    : placementStep(held, claimed, seat, expected, next);
    if (!allowed || !claimIsExpected(expected, claimed, seat))
        return false;
    progress = next;
    return true;
}

void keepHostsOwnFields(StateSnapshot &s)
{
    s.namesDue = false;
    s.troopExperience = troopExperience;
    s.initialArmies = initialArmies;
    s.placementRound = placementRound;
}
