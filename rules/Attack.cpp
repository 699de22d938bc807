#include "rules/Attack.h"

#include "ai/Evaluation.h"
#include "rules/Battle.h"
#include "rules/Cards.h"
#include "rules/GameEnd.h"
#include "rules/PlayerRecords.h"
#include "rules/Seats.h"
#include "rules/Sound.h"
#include "rules/TurnAnimations.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "state/Campaign.h"
#include "state/GameState.h"
#include "state/StepQueues.h"

#include <array>

quint8 conquestMovePending = 0;
qint32 conquestSource = 0;
qint32 conquestTarget = 0;

namespace {

// The sound of the human's last battle, played when his attack step is concluded.
int battleSoundDue = 0;

using ContinentFlags = std::array<qint32, kMaxContinents + 1>;

ContinentFlags continentFlagsOf(int player)
{
    ContinentFlags flags{};
    for (int c = 1; c <= kMaxContinents; ++c)
        flags[c] = playerTable[player].continentHeld(c);
    return flags;
}

bool mayAttack(int from, int armies, int to)
{
    const int attacker = territoryState[from].owner;
    const int defender = territoryState[to].owner;
    return from != to && isNeighbour(from, to) && isValidPlayer(attacker) && defender >= 1
        && defender <= kMaxPlayers && attacker != defender && territoryState[from].armies >= 2
        && armies >= 1;
}

void takeTerritory(int from, int to, char *cardFlag)
{
    const int attacker = territoryState[from].owner;
    territoryState[to] = {attacker, 1};
    territoryState[from].armies -= 1;
    quietRounds = 0;
    if (cardFlag && *cardFlag == 'n') {
        drawCard(attacker);
        *cardFlag = 'j';
    }
    conquestMovePending = 1;
    conquestSource = from;
    conquestTarget = to;
}

// Continents the attacker completed flash on the map; continents the defender held in full and
// lost are counted against him.
bool settleContinents(int attacker, const ContinentFlags &attackerBefore, int defender,
                      const ContinentFlags &defenderBefore)
{
    bool lostHeld = false;
    for (int c = 1; c <= continentCount; ++c) {
        if (defenderBefore[c] && !playerTable[defender].continentHeld(c)) {
            playerTable[defender].continentsLost() += 1;
            lostHeld = true;
        }
        if (!attackerBefore[c] && playerTable[attacker].continentHeld(c) && actionQueueHasRoom(2)) {
            pushActionStep(makeStep(5, c));
            pushActionStep(makeStep(6, c));
        }
    }
    return lostHeld;
}

void queueBattle(int from, int to, int sound)
{
    highlightChanges = 0;
    nextSoundId = nextArmyDelta = 0;
    queuePlacement(from);
    nextSoundId = sound;
    queuePlacement(to);
}

void queueBattleTexts(int attacker, int defender, const BattleResult &battle, const ConquestOutcome &outcome)
{
    if (!fastSpeed)
        queueTextEvent(QStringLiteral("%1 loses %2, %3 loses %4.")
                           .arg(shownPlayerName(attacker))
                           .arg(battle.attackerLosses)
                           .arg(shownPlayerName(defender))
                           .arg(battle.defenderLosses));
    if (outcome.strongholdTaken)
        queueTextEvent(QStringLiteral("%1 has lost the stronghold.").arg(shownPlayerName(defender)));
    else if (outcome.defenderWentOut)
        queueTextEvent(QStringLiteral("%1 is out of the game.").arg(shownPlayerName(defender)));
}

void fight(int from, int committed, int to, char *cardFlag)
{
    const int attacker = territoryState[from].owner;
    const int defender = territoryState[to].owner;
    attackMadeThisTurn = 1;
    attackArmies = committed;
    conquestMovePending = 0;
    const ContinentFlags attackerBefore = continentFlagsOf(attacker);
    const ContinentFlags defenderBefore = continentFlagsOf(defender);
    const bool defenderWasIn = !playerOutOfGame(defender);

    const BattleResult battle = fightBattle(committed, territoryState[to].armies, battleExperience(attacker),
                                            battleExperience(defender));
    territoryState[from].armies -= battle.attackerLosses;
    territoryState[to].armies -= battle.defenderLosses;
    const bool conquered = territoryState[to].armies <= 0;
    recordBattle(playerTable[attacker], playerTable[defender], committed, battle, conquered);

    ConquestOutcome outcome;
    outcome.attacker = attacker;
    outcome.defender = defender;
    if (conquered) {
        takeTerritory(from, to, cardFlag);
        outcome.strongholdTaken = strongholdsEnabled && playerTable[defender].stronghold() == to;
        if (outcome.strongholdTaken)
            playerTable[defender].stronghold() = 0;
    }
    recountPlayer(attacker);
    recountPlayer(defender);
    outcome.defenderWentOut = conquered && defenderWasIn && playerOutOfGame(defender);
    if (outcome.defenderWentOut)
        passCardsOn(playerTable[defender], playerTable[attacker]);
    if (conquered)
        noteAvengerConquest(defender, attacker);

    queueBattleAnimations(from, to, conquered);
    // The human hears his battle when his rocket lands or, without one, when the attack step is
    // concluded; every other attack carries its sound on the queued territory step.
    const bool humanAttack = isHumanOfThisMachine(attacker);
    const int attackSound = conquered ? SoundConquest : SoundAttack;
    battleSoundDue = humanAttack && !rocketInFlight ? attackSound : 0;
    const int stepSound = outcome.defenderWentOut ? SoundPlayerOut : (humanAttack ? 0 : attackSound);
    queueBattle(from, to, stepSound);
    queueBattleTexts(attacker, defender, battle, outcome);
    outcome.defenderLostHeldContinent = settleContinents(attacker, attackerBefore, defender, defenderBefore);
    if (conquered)
        settleConquest(outcome);
}

// The conquest of `to` from `from` still waits for its armies to move in.
bool conquestAwaitsMove(int from, int to)
{
    return conquestMovePending && from == conquestSource && to == conquestTarget;
}

void moveIntoConquest(int from, int armies, int to, char *cardFlag)
{
    if (!conquestAwaitsMove(from, to))
        return;
    conquestMovePending = 0;
    if (cardFlag)
        *cardFlag = 'j';
    const int moved = qMin(armies, territoryState[from].armies - 1);
    if (moved < 1)
        return;
    territoryState[from].armies -= moved;
    territoryState[to].armies += moved;
    highlightChanges = 0;
    queuePlacement(from);
    queuePlacement(to);
}

void playBattleSoundDue()
{
    if (battleSoundDue)
        playSound(battleSoundDue, 0, 0);
    battleSoundDue = 0;
}

// After a conquest the player chooses how many armies follow: the army-count question behind a
// pause. False when there is nothing to ask.
bool askConquestMove(int from, int to)
{
    if (!conquestAwaitsMove(from, to))
        return false;
    const int largest = territoryState[from].armies - 1;
    if (largest < 1 || !messageQueueHasRoom(2)) {
        conquestMovePending = 0;
        return false;
    }
    playBattleSoundDue();
    pushMessageStep(makeStep(100));
    pushMessageStep(makeStep(22, 0, 0, largest));
    return true;
}

void promptNextAttack(int from, int to)
{
    for (int t : {from, to})
        if (isValidTerritory(t))
            territoryMark[t] = 'n';
    attackTargetPhase = 0;
    updateActionFlags();
    if (attackMadeThisTurn) {
        attackSourcePhase = 1;
        inGameButtonEnabled[ButtonCancel] = 1;
        queueMessage(QStringLiteral("Attack from ? or choose Move or Next."));
    } else {
        attackSourcePhase = 0;
        queueMessage(QStringLiteral("Choose Add or Attack"));
    }
    pushMessageStep(makeStep(4, canAttackFlag == 'a' ? 1 : 0));
}

} // namespace

void recordBattle(PlayerRecord &attack, PlayerRecord &defence, int committed, const BattleResult &battle, bool conquered)
{
    attack.attacksMade() += 1;
    attack.armiesCommitted() += committed;
    attack.battles() += 1;
    attack.battleLosses() += battle.attackerLosses;
    defence.battles() += 1;
    defence.battleLosses() += battle.defenderLosses;
    if (conquered) {
        attack.battlesWon() += 1;
        defence.battlesLost() += 1;
    } else {
        attack.battlesLost() += 1;
        defence.battlesWon() += 1;
    }
}

void passCardsOn(PlayerRecord &loser, PlayerRecord &taker)
{
    taker.artillery() += loser.artillery();
    taker.infantry() += loser.infantry();
    taker.cavalry() += loser.cavalry();
    taker.wild() += loser.wild();
    loser.artillery() = loser.infantry() = loser.cavalry() = loser.wild() = 0;
}

void resolveAttack(int from, int armies, int to, char *cardFlag)
{
    if (!isValidTerritory(from) || !isValidTerritory(to))
        return;
    // The move into the conquest that decided the game still belongs to that conquest.
    if (territoryState[from].owner == territoryState[to].owner) {
        moveIntoConquest(from, armies, to, cardFlag);
        return;
    }
    if (gameOver || !mayAttack(from, armies, to))
        return;
    fight(from, qMin(armies, territoryState[from].armies - 1), to, cardFlag);
}

void concludeAttack()
{
    // A rocket still in the air lands first and concludes the attack itself; after a battle
    // that decided the game its landing concludes nothing, so the game is finished now.
    if (rocketInFlight && !gameOver)
        return;
    const int from = sourceTerritory;
    const int to = targetTerritory;
    if (gameOver) {
        // The deciding conquest asks its move question too; the end follows the answer.
        if (askConquestMove(from, to))
            sendActionUpdate();
        else
            finishDecidedGame();
        return;
    }
    if (!askConquestMove(from, to)) {
        playBattleSoundDue();
        promptNextAttack(from, to);
    }
    sendActionUpdate();
}

void afterConquestMove(int armies)
{
    const int from = sourceTerritory;
    const int to = targetTerritory;
    if (armies < 1) {
        conquestMovePending = 0;
        if (!attackMadeThisTurn)
            inGameButtonEnabled[ButtonAdd] = 1;
    } else {
        const int targetArmies = isValidTerritory(to) ? territoryState[to].armies : 0;
        saveAllowed = 0;
        inGameButtonEnabled[ButtonCancel] = 0;
        if (!animationsEnabled || targetArmies <= 4)
            playSound(SoundConquest, 0, 0);
        resolveAttack(from, armies, to, &cardEarnedThisTurn);
    }
    if (!gameOver && !campaignCompleted)
        concludeAttack();
    else
        finishDecidedGame();
}

void resetAttackState()
{
    conquestMovePending = 0;
    conquestSource = conquestTarget = 0;
    battleSoundDue = 0;
    resetGameEndState();
}
