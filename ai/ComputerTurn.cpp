#include "ai/ComputerTurn.h"

#include "ai/ActionChoice.h"
#include "ai/AiState.h"
#include "ai/AttackSteps.h"
#include "ai/Evaluation.h"
#include "ai/MoveSteps.h"
#include "ai/Narration.h"
#include "ai/PlanningPass.h"
#include "ai/Reinforcement.h"
#include "ai/RoutePaths.h"
#include "ai/RoutePlanning.h"
#include "ai/SelectionRules.h"
#include "ai/Toolkit.h"
#include "ai/TroopWeighting.h"
#include "rules/Cards.h"
#include "rules/GameEnd.h"
#include "rules/PlayerRecords.h"
#include "rules/Seats.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/GameState.h"
#include "state/Seams.h"
#include "state/StepQueues.h"

namespace {

// A turn that keeps choosing actions ends after this many cycles whatever it chose.
constexpr int kMaxActionCycles = 50;
constexpr int kMoveBudget = 7;
constexpr int kDemoEndArmies = 701;
constexpr int kBigStack = 55;

// ---- Whose turn ----

// Computer turns that nobody waits for are played one per pass of the game loop, so the window
// stays responsive between them.
bool oneTurnPerPass()
{
    return !anyHumanSeatInGame() || gameMode == ModeDemo || demoRunning;
}

// The neutral army holds its territories but never takes a turn.
bool isNeutralArmy(int p)
{
    return neutralArmyActive && p == 3;
}

bool playsComputerTurns(int p)
{
    return isComputerPlayer(p) && !isNeutralArmy(p);
}

void requestNextComputerTurn()
{
    pushMessageStep(makeStep(5, 1));
}

// ---- The start of a turn ----

bool anyTerritoryHolds(int armies)
{
    for (int t = 1; t <= territoryCount; ++t)
        if (territoryState[t].armies >= armies)
            return true;
    return false;
}

// Personalities act only in a plain game of four or more players with no main enemy yet.
bool personalitiesAct()
{
    return difficulty >= 1 && gameMode != ModeHost && gameMode != ModeClient && !neutralArmyActive
        && aiPlayersLeft >= 4 && !demoRunning && mainEnemy == 0;
}

void clearTurnCounters()
{
    aiActionCycle = 0;
    cardEarnedThisTurn = 'n';
    attackMadeThisTurn = 0;
    territoryArmiesPlaced = 0;
    reinforceRounds = poolRounds = noAttackOptions = occupyAttempts = 0;
}

// ---- Carrying an action out ----

// Actions 13 and 14: every territory of one opponent is a target.
void attackOpponent(int opponent, bool keepEveryOption)
{
    if (!isValidPlayer(opponent))
        return;
    const TerritoryList savedTargets = aiTargetList;
    aiTargetList.fill(0);
    int count = 0;
    for (int t = 1; t <= territoryCount && count < kTargetListSize; ++t)
        if (ownerOf(t) == opponent)
            aiTargetList[++count] = t;
    if (keepEveryOption)
        aiScoringMode = ActionNearOpponent;
    aiAttackAndAdvance();
    aiScoringMode = 0;
    aiTargetList = savedTargets;
}

// Action 16: everything goes onto the own stronghold.
void guardStronghold()
{
    const int s = playerTable[currentPlayer].stronghold();
    if (isOwnTerritory(s)) {
        aiChosenTerritory = s;
        aiPlacePool(s);
        aiPlaceTerritoryArmies();
    }
    territoryArmiesPlaced = 1;
}

// Action 17: the armies still to place go onto the attacker first, so none is lost, and an
// attacker that is too weak after all does not attack.
void attackStronghold()
{
    const int t = strongholdAttackSource;
    const int n = strongholdAttackTarget;
    if (isOwnTerritory(t)) {
        aiChosenTerritory = t;
        aiPlacePool(t);
        aiPlaceTerritoryArmies();
        if (aiLaunchAttack(t, n) && !gameOver && isOwnTerritory(n) && armiesOf(t) > 1) {
            const int m = chooseArmiesToMove(t, n, armiesOf(t) - 1, 5);
            aiMoveIn(t, n, m, " army into the territory.", " armies into the territory.");
        }
    }
    territoryArmiesPlaced = 1;
}

void carryOut(int action)
{
    switch (action) {
    case ActionNone:
        return;
    case ActionHold:
        aiChooseReinforcement();
        return;
    case ActionTake:
        aiAttackAndAdvance();
        return;
    case ActionBreak:
        aiAttackAndOccupy(1);
        return;
    case ActionContinentRoute:
    case ActionRoute:
    case ActionWorldRoute:
    case ActionStrongholdRoute:
        aiAttackMapTarget();
        return;
    case ActionWeakestOpponent:
        attackOpponent(aiWeakestOpponent, false);
        return;
    case ActionNearOpponent:
        attackOpponent(aiNearOpponent, true);
        return;
    case ActionGuardStronghold:
        guardStronghold();
        return;
    case ActionAttackStronghold:
        attackStronghold();
        return;
    default:
        break;
    }
    const int k = defenceOptionOf(action);
    if (k == 0)
        return;
    aiChosenTerritory = defendTerritory[k];
    aiPlaceFromPool(defenceNeed[k]);
}

// Step 9.2: on the World map, a march through the leader's territories.
void worldMapRule()
{
    const int leader = playerRanking[1].id;
    if (!mapWorldFlag || mapWorldIIFlag || !isValidPlayer(leader) || leader == currentPlayer || !avengerActive
        || playerTable[leader].territoriesHeld() <= 14 || personality[currentPlayer] == PersonalityDefensive)
        return;
    aiSearchLeaderRoutes();
    if (worldTargetPath.route == 0)
        return;
    chosenAction = ActionWorldRoute;
    aiAttackMapTarget();
}

// What a cycle can change; a turn whose cycles stop changing it has nothing more to do.
struct TurnProgress {
    std::array<TerritoryState, kMaxTerritories + 1> territories;
    qint32 pool;
    CardHand hand;
    qint32 routes;
    qint32 personalityNow;
    quint8 attacked;
    quint8 placed;

    static TurnProgress now()
    {
        return {territoryState, aiArmiesToPlace, handOf(currentPlayer), routeCount, personality[currentPlayer],
                attackMadeThisTurn, territoryArmiesPlaced};
    }
    bool operator==(const TurnProgress &o) const
    {
        return territories == o.territories && pool == o.pool && hand == o.hand && routes == o.routes
            && personalityNow == o.personalityNow && attacked == o.attacked && placed == o.placed;
    }
};

enum class AfterCycles { EndPhase, Moves };

// Step 3: the action cycles.
AfterCycles runActionCycles()
{
    int idleCycles = 0;
    while (aiActionCycle < kMaxActionCycles) {
        ++aiActionCycle;
        aiScoringMode = 0;
        {
            TroopWeighting weighted;
            aiRunPlanning();
        }
        chosenAction = bestActionScore = 0;
        if (aiApplyDifficulty())
            return AfterCycles::Moves;
        aiApplyPersonality();
        if (strongholdsEnabled)
            defenceScore.fill(0);
        aiChooseBestAction();
        {
            TroopWeighting weighted;
            if (strongholdsEnabled)
                applyStrongholdRules();
            applyOverrideRules();
        }

        const TurnProgress before = TurnProgress::now();
        applyMainEnemySweep();
        carryOut(chosenAction);
        if (gameOver)
            return AfterCycles::Moves;
        if (!territoryArmiesPlaced) {
            if (attackMadeThisTurn) {
                aiCardArmies = 0;
                computePlayerStrength(1);
            }
            worldMapRule();
            if (gameOver)
                return AfterCycles::Moves;
        }
        aiCardArmies = 0;
        if (reinforceRounds > 2 || poolRounds > 3 || noAttackOptions == 1 || occupyAttempts > 3)
            chosenAction = ActionNone;
        if (territoryArmiesPlaced)
            return AfterCycles::Moves;
        if (chosenAction == ActionNone)
            return AfterCycles::EndPhase;
        idleCycles = TurnProgress::now() == before ? idleCycles + 1 : 0;
        if (idleCycles >= 2)
            return AfterCycles::EndPhase;
    }
    return AfterCycles::EndPhase;
}

// ---- The end of a turn ----

int divisor()
{
    return qMax(1, reinforcementDivisor);
}

// Step 10: the last attack steps and the placement of whatever is left.
void endPhase()
{
    computePlayerStrength(1);
    for (int p = 1; p <= playerCount && p <= kMaxPlayers; ++p)
        territoryPlan[p].territoryArmies = qMax(3, playerTable[p].territoriesHeld() / divisor());
    const int me = currentPlayer;
    const int armies = playerTable[me].totalArmies();
    if (armies <= (demoRunning ? 11 : 24))
        planCancelled = takeCancelled = 'j';
    if (avengerActive && personality[me] == PersonalityHunter && armies <= 39)
        planCancelled = takeCancelled = 'j';
    equalShareIncome = territoryCount / qMax(1, static_cast<int>(aiPlayersLeft)) / divisor() + 2;
    const int leader = playerRanking[1].id;
    const bool leaderThreatens
        = isValidPlayer(leader) && leader != me && territoryPlan[leader].territoryArmies >= equalShareIncome;

    auto attackSteps = [](int count) {
        for (int i = 0; i < count && !gameOver; ++i)
            aiAttackStep();
    };
    if (attackMadeThisTurn && leaderThreatens)
        attackSteps(2);
    if (gameOver)
        return;
    if (cardEarnedThisTurn == 'n')
        aiRankContinents();
    if (attackMadeThisTurn) {
        attackSteps(leaderThreatens ? 2 : 1);
        return;
    }
    aiReinforce();
    if (leaderThreatens && attackMadeThisTurn)
        attackSteps(1);
    if (attackMadeThisTurn && cardEarnedThisTurn == 'n')
        attackSteps(leaderThreatens ? 2 : 1);
}

// No army of the pool stays unplaced at the end of a turn.
void placeLeftoverPool()
{
    if (aiArmiesToPlace <= 0)
        return;
    int target = 0;
    for (int t = 1; t <= territoryCount && target == 0; ++t)
        if (isOwnTerritory(t) && hasEnemyArmiesAround(t))
            target = t;
    for (int t = 1; t <= territoryCount && target == 0; ++t)
        if (isOwnTerritory(t))
            target = t;
    aiPlacePool(target);
}

void movePhase()
{
    planRoute(2);
    int budget = kMoveBudget;
    aiMovePhase(budget);
    if (budget >= 1 && budget < kMoveBudget)
        aiMovePhase(budget);
}

// A turn without an attack counts against the player.
void quietTurn()
{
    const int me = currentPlayer;
    PlayerRecord &record = playerTable[me];
    record.reinforcementRounds() += 1;
    if (!troopExperienceEnabled)
        record.battleLosses() += 1;
    if (gameMode == ModeHost || gameMode == ModeClient)
        return;
    int fewest = 999999, who = 0;
    for (int p = 1; p <= playerCount && p <= kMaxPlayers; ++p) {
        if (playerTable[p].territoriesHeld() > 0 && playerTable[p].battles() < fewest) {
            fewest = playerTable[p].battles();
            who = p;
        }
    }
    if (who == me && turnsTaken[me] > 4 && !troopExperienceEnabled)
        record.battleLosses() += 1;
}

// Steps 1 to 8 of a turn; false when the player has nothing to play.
bool beginComputerTurn()
{
    recountAllPlayers();
    aiPlayer = currentPlayer;
    const int left = playersLeft();
    aiPlayersLeft = left > 0 ? left : 2;
    updateTroopExperience();
    if (gameMode == ModeDemo && anyTerritoryHolds(kDemoEndArmies)) {
        pushActionStep(makeStep(9));
        gameOver = 1;
        return false;
    }
    nextSoundId = 0;
    avengerActive = personalitiesAct() ? 1 : 0;
    if ((!anyHumanSeatInGame() || gameMode == ModeDemo) && anyTerritoryHolds(kBigStack + 1))
        avengerActive = 0;
    if (playerOutOfGame(currentPlayer))
        return false;
    pushActionStep(makeStep(7, currentPlayer));
    narrate(QStringLiteral(" is next."));
    aiPlaceContinentBonus();
    clearTurnCounters();
    return true;
}

} // namespace

void playComputerTurn()
{
    if (gameOver || !isValidPlayer(currentPlayer) || isNeutralArmy(currentPlayer))
        return;
    MapLookupScope lookups;
    if (!beginComputerTurn())
        return;
    const AfterCycles next = runActionCycles();
    if (gameOver)
        return;
    if (next == AfterCycles::EndPhase && !territoryArmiesPlaced)
        endPhase();
    if (gameOver)
        return;
    placeLeftoverPool();
    if (attackMadeThisTurn)
        movePhase();
    else
        quietTurn();
}

void runComputerTurns()
{
    if (gameOver || !isValidPlayer(currentPlayer))
        return;
    if (playsComputerTurns(currentPlayer)) {
        playComputerTurn();
        if (oneTurnPerPass())
            takeTurnStartCopy();
        if (gameOver)
            return;
    } else if (!isComputerPlayer(currentPlayer) && !playerOutOfGame(currentPlayer)) {
        return; // a human's turn begins through the game loop or the network
    }
    // At most one round of turns per call: play goes on with the next pass of the loop.
    for (int turns = 1;; ++turns) {
        passTurnToNextPlayer();
        if (gameOver)
            return;
        if (!isComputerPlayer(currentPlayer))
            return; // a human of this machine is handed his turn through `turnStarted`
        if (oneTurnPerPass() || turns >= playerCount) {
            requestNextComputerTurn();
            return;
        }
        playComputerTurn();
        if (gameOver)
            return;
    }
}
