#include "net/TurnCheckParts.h"

#include "ai/Toolkit.h"
#include "rules/Attack.h"

#include <QList>

namespace {

// The one player besides the seat whose record shows a battle more: the defender.
int defenderOf(const RulesTables &held, const RulesTables &claimed, int seat)
{
    int defender = 0;
    for (int p = 1; p <= kMaxPlayers; ++p) {
        if (p == seat || recordField(claimed, p, PlayerRecord::Battles) == recordField(held, p, PlayerRecord::Battles))
            continue;
        if (defender != 0)
            return 0;
        defender = p;
    }
    return defender;
}

// The one territory of the seat whose armies fell: where the attack came from.
int sourceOf(const RulesTables &held, const RulesTables &claimed, int seat)
{
    int source = 0;
    for (int t = 1; t <= territoryCount; ++t) {
        if (held.territories[t].owner != seat || claimed.territories[t].armies >= held.territories[t].armies)
            continue;
        if (source != 0)
            return 0;
        source = t;
    }
    return source;
}

// The territories the attack may have been on: the one of another player that the state changes,
// or, when the defender lost nothing, any of his next to the source.
QList<int> targetsOf(const RulesTables &held, const RulesTables &claimed, int seat, int from, int defender)
{
    QList<int> changed;
    for (int t = 1; t <= territoryCount; ++t)
        if (held.territories[t].owner != seat && held.territories[t] != claimed.territories[t])
            changed.append(t);
    if (!changed.isEmpty())
        return changed.size() == 1 ? changed : QList<int>();
    QList<int> near;
    for (int t : neighboursOf(from))
        if (held.territories[t].owner == defender)
            near.append(t);
    return near;
}

// The losses are the attack rule's: 1-for-1 exactly; dice as far as the state shows them, for the
// acting machine threw them (the rounds go on until the armies committed or the defenders are
// spent).
bool resultByRule(const TurnBattle &b, int defenders, int attackerExperience, int defenderExperience)
{
    if (oneForOneRule()) {
        const BattleResult rule = fightOneForOne(b.committed, defenders, attackerExperience, defenderExperience);
        return rule.attackerLosses == b.result.attackerLosses && rule.defenderLosses == b.result.defenderLosses;
    }
    if (b.conquered)
        return b.result.defenderLosses == defenders && b.result.attackerLosses < b.committed;
    return b.result.attackerLosses == b.committed && b.result.defenderLosses < defenders;
}

// The battle from `from` on `to` with `b.committed` armies, as the claimed state tells its result.
bool readBattle(const RulesTables &held, const RulesTables &claimed, int seat, TurnBattle &b)
{
    if (!isValidTerritory(b.to) || b.from == b.to || !isNeighbour(b.from, b.to))
        return false;
    const TerritoryState &source = held.territories[b.from];
    const TerritoryState &target = held.territories[b.to];
    if (target.owner != b.defender || source.armies < 2 || b.committed < 1 || b.committed > source.armies - 1)
        return false;
    const TerritoryState &taken = claimed.territories[b.to];
    b.conquered = taken.owner == seat;
    b.movedIn = b.conquered ? taken.armies - 1 : 0;
    b.result.attackerLosses = source.armies - claimed.territories[b.from].armies - (b.conquered ? 1 + b.movedIn : 0);
    b.result.defenderLosses = target.armies - (b.conquered ? 0 : taken.armies);
    if (b.movedIn < 0 || b.result.attackerLosses < 0 || b.result.defenderLosses < 0)
        return false;
    return resultByRule(b, target.armies, battleExperience(seat), battleExperience(b.defender));
}

// Continents the defender held in full, broken by the loss of territory t.
int continentsBroken(const RulesTables &held, int defender, int t)
{
    int broken = 0;
    for (int c = 1; c <= continentCount; ++c) {
        const auto members = membersOf(c);
        bool member = false;
        bool whole = members.count > 0;
        for (int u : members) {
            member = member || u == t;
            whole = whole && held.territories[u].owner == defender;
        }
        broken += member && whole ? 1 : 0;
    }
    return broken;
}

// What the conquest adds: the card, the stronghold and the continents the defender lost, and his
// cards when it put him out.
bool expectConquest(const RulesTables &held, const RulesTables &claimed, int seat, bool cardDue,
                    const TurnBattle &b, RulesTables &expected)
{
    PlayerRecord &defender = expected.players[b.defender];
    defender.continentsLost() += continentsBroken(held, b.defender, b.to);
    if (strongholdsEnabled && held.players[b.defender].stronghold() == b.to)
        defender.stronghold() = 0;
    if (!expectCardDrawn(held, claimed, seat, cardDue, expected))
        return false;
    if (!outOfGame(held, b.defender) && outOfGame(expected, b.defender))
        passCardsOn(defender, expected.players[seat]);
    return true;
}

} // namespace

bool expectBattle(const RulesTables &held, const RulesTables &claimed, int seat, bool cardDue,
                  RulesTables &expected, TurnBattle &battle)
{
    TurnBattle b;
    b.defender = defenderOf(held, claimed, seat);
    b.from = sourceOf(held, claimed, seat);
    b.committed = recordField(claimed, seat, PlayerRecord::ArmiesCommitted)
                - recordField(held, seat, PlayerRecord::ArmiesCommitted);
    if (b.defender == 0 || b.from == 0)
        return false;
    bool read = false;
    for (int t : targetsOf(held, claimed, seat, b.from, b.defender)) {
        b.to = t;
        if ((read = readBattle(held, claimed, seat, b)))
            break;
    }
    if (!read)
        return false;

    expected.territories[b.from].armies -= b.result.attackerLosses + (b.conquered ? 1 + b.movedIn : 0);
    expected.territories[b.to] = b.conquered ? TerritoryState{seat, 1 + b.movedIn}
                                             : TerritoryState{b.defender, held.territories[b.to].armies - b.result.defenderLosses};
    recordBattle(expected.players[seat], expected.players[b.defender], b.committed, b.result, b.conquered);
    if (b.conquered && !expectConquest(held, claimed, seat, cardDue, b, expected))
        return false;
    battle = b;
    return true;
}
