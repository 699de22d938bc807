#include "ai/SelectionRules.h"

#include "ai/AiState.h"
#include "ai/AttackSteps.h"
#include "ai/Evaluation.h"
#include "ai/Reinforcement.h"
#include "ai/RoutePaths.h"
#include "ai/RoutePlanning.h"
#include "ai/Toolkit.h"
#include "rules/TurnState.h"
#include "state/GameState.h"

namespace {

constexpr int kStrongholdMargin = 4;
constexpr int kSweepInterval = 4;

int ownStronghold()
{
    return isValidPlayer(currentPlayer) ? playerTable[currentPlayer].stronghold() : 0;
}

int strongholdOf(int p)
{
    return isValidPlayer(p) ? playerTable[p].stronghold() : 0;
}

int routeSlot(int route, int pos)
{
    if (route < 1 || route > qMin(static_cast<int>(routeCount), kMaxRoutes) || pos < 1 || pos > kRouteLength)
        return 0;
    return routeTable[route].t[pos];
}

// The territory a stronghold search ended on; 0 when it found nothing.
int strongholdPathTarget()
{
    return strongholdPath.route == 0 ? 0 : routeSlot(strongholdPath.route, strongholdPath.targetPos);
}

// Searches a route from every territory of the current player that could march on `target`:
// more than 4 armies, more than the target, not `keep`, and some enemy next to it.
void searchRoutesTo(int target, int keep)
{
    ChainCosts costs;
    for (int t = 1; t <= territoryCount; ++t) {
        if (!isOwnTerritory(t) || t == keep || armiesOf(t) <= 4 || armiesOf(t) <= armiesOf(target))
            continue;
        shortRouteOnly = armiesOf(t) < 10;
        if (!hasEnemyArmiesAround(t))
            continue;
        int row = 0, score = 0;
        findRoutesSharing(costs, t, target, row, score);
    }
}

// The pool state a look through another player's eyes must not disturb.
struct PoolState {
    qint32 toPlace = aiArmiesToPlace;
    qint32 cardArmies = aiCardArmies;
    qint32 lastValue = lastCardSetValue;
    qint32 setValue = cardSetValue;
    qint32 traded = cardsTraded;
    CardHand cards = aiCards;

    void restore() const
    {
        aiArmiesToPlace = toPlace;
        aiCardArmies = cardArmies;
        lastCardSetValue = lastValue;
        cardSetValue = setValue;
        cardsTraded = traded;
        aiCards = cards;
    }
};

void clearPool()
{
    aiArmiesToPlace = aiCardArmies = lastCardSetValue = 0;
}

// Could player p march on our stronghold s, with the cards he could trade now?
bool threatensStronghold(int p, int s)
{
    const CardHand hand = handOf(p);
    const std::array<qint32, 4> deck = cardDeckCounts;
    bool threat;
    {
        CurrentPlayerScope as(p);
        if (!attackMadeThisTurn)
            aiTradeCards();
        else
            clearPool();
        searchRoutesTo(s, strongholdOf(p));
        aiSearchStrongholdRoutes();
        threat = strongholdPathTarget() == s;
    }
    PlayerRecord &record = playerTable[p];
    record.artillery() = hand.artillery;
    record.infantry() = hand.infantry;
    record.cavalry() = hand.cavalry;
    record.wild() = hand.wild;
    cardDeckCounts = deck;
    return threat;
}

// Rule 1: the own stronghold in danger.
void guardOwnStronghold(int s)
{
    const PoolState saved;
    for (int p = 1; p <= playerCount && p <= kMaxPlayers && chosenAction != ActionGuardStronghold; ++p) {
        if (p == currentPlayer || playerTable[p].totalArmies() <= 0)
            continue;
        if (threatensStronghold(p, s))
            chosenAction = ActionGuardStronghold;
    }
    // The own pool comes back whole, also after an attack: an army still to place is never
    // thrown away by a look through another player's eyes.
    saved.restore();
    if (chosenAction == ActionGuardStronghold)
        return;
    int strongestNeighbour = 0;
    for (int n : neighboursOf(s))
        if (!isOwnTerritory(n))
            strongestNeighbour = qMax(strongestNeighbour, armiesOf(n));
    if (armiesOf(s) - strongestNeighbour <= kStrongholdMargin)
        chosenAction = ActionGuardStronghold;
}

// Rule 2: a route to an enemy stronghold.
void marchOnEnemyStrongholds(int s)
{
    for (int p = 1; p <= playerCount && p <= kMaxPlayers; ++p) {
        const int target = strongholdOf(p);
        if (p == currentPlayer || playerTable[p].totalArmies() <= 0 || !isValidTerritory(target))
            continue;
        searchRoutesTo(target, s);
    }
    aiSearchStrongholdRoutes();
    const int target = strongholdPathTarget();
    if (target == 0)
        return;
    if (mainEnemy == 0 || mainEnemy == currentPlayer || target == strongholdOf(mainEnemy))
        chosenAction = ActionStrongholdRoute;
}

bool isEnemyStronghold(int n, int s)
{
    if (n == 0 || n == s || isOwnTerritory(n))
        return false;
    for (int p = 1; p <= kMaxPlayers; ++p)
        if (playerTable[p].stronghold() == n)
            return true;
    return false;
}

// Rule 3: a weaker enemy stronghold next door; the last pair found wins.
void attackAdjacentStronghold(int s)
{
    const bool anyStronghold = mainEnemy == 0 || mainEnemy == currentPlayer;
    for (int t = 1; t <= territoryCount; ++t) {
        if (!isOwnTerritory(t) || armiesOf(t) <= 2)
            continue;
        for (int n : neighboursOf(t)) {
            if (!isEnemyStronghold(n, s) || armiesOf(n) >= armiesOf(t))
                continue;
            if (!anyStronghold && n != strongholdOf(mainEnemy))
                continue;
            chosenAction = ActionAttackStronghold;
            strongholdAttackSource = t;
            strongholdAttackTarget = n;
            outIncomeFlag = 'n';
        }
    }
}

// ---- Override rules ----

int bonusOf(int c)
{
    return c >= 1 && c <= continentCount ? continentTable[c].bonus : 0;
}

class OverrideRules {
public:
    void run()
    {
        if (chosenAction == ActionTake) {
            if (takeTargetContinent == 0)
                takeRule();
            else
                holdCheck();
            return;
        }
        afterChoice(true);
    }

private:
    int takeContinent() const { return continentRanking[1].id; }
    int breakTarget() const { return breakTargets[1].id; }
    int holdTarget() const { return reinforceCandidates[1].id; }

    // R1.
    void takeRule()
    {
        if (breakScore >= 3) {
            if (continentOf(breakTarget()) != 0) {
                chosenAction = ActionBreak;
                if (routeScore >= 3)
                    routeStep();
                else
                    valueAgainstTake();
            } else if (routeScore >= 3) {
                routeStep();
            } else {
                afterChoice(true);
            }
        } else if (routeScore >= 3) {
            routeStep();
        } else {
            holdCheck();
        }
    }

    void routeStep()
    {
        if (continentOf(routeTarget) != 0) {
            chosenAction = ActionRoute;
            valueAgainstTake();
        } else {
            afterChoice(true);
        }
    }

    // R4, then R2's test where R4 was called from.
    void valueAgainstTake()
    {
        r4();
        afterChoice(false);
    }

    // R2.
    void afterChoice(bool withR4)
    {
        if (withR4 && (chosenAction == ActionBreak || chosenAction == ActionRoute))
            r4();
        switch (chosenAction) {
        case ActionTake:
        case ActionBreak:
        case ActionContinentRoute:
        case ActionRoute:
            holdCheck();
            break;
        case ActionHold:
            holdAgainstBreak();
            break;
        default:
            defenceRule();
            break;
        }
    }

    void r4()
    {
        if (takeScore <= 0)
            return;
        const int take = bonusOf(takeContinent());
        if ((breakScore > 2 && bonusOf(continentOf(breakTarget())) <= take)
            || (routeScore > 2 && bonusOf(continentOf(routeTarget)) <= take))
            chosenAction = ActionTake;
    }

    // R3.
    void holdCheck()
    {
        const int hold = holdTarget();
        if (holdScore >= 1 && isValidTerritory(hold) && hasEnemyArmiesAround(hold) && armiesOf(hold) <= 19) {
            chosenAction = ActionHold;
            holdAgainstBreak();
        } else if (chosenAction == ActionHold) {
            holdAgainstBreak();
        }
    }

    // R5.
    void holdAgainstBreak()
    {
        if (breakScore > 2 && bonusOf(continentOf(holdTarget())) <= bonusOf(continentOf(breakTarget())))
            chosenAction = ActionBreak;
    }

    // R6: a defence action gives way to any other plan that stands.
    void defenceRule()
    {
        if (defenceOptionOf(chosenAction) == 0)
            return;
        if (breakScore > 1)
            chosenAction = ActionBreak;
        if (routeScore > 2 && continentOf(routeTarget) != 0)
            chosenAction = ActionRoute;
        if (takeScore > 0)
            chosenAction = ActionTake;
        if (continentRouteScore > 0)
            chosenAction = ActionContinentRoute;
        const int hold = holdTarget();
        if (holdScore > 0 && continentOf(hold) != 0 && hasEnemyArmiesAround(hold))
            chosenAction = ActionHold;
    }
};

// ---- The sweep ----

bool sweepDue()
{
    if (chosenAction == ActionStrongholdRoute)
        return false;
    if (takeScore > 0 || breakScore > 0 || continentRouteScore > 0 || routeScore > 0) {
        outIncomeFlag = 'n';
        return false;
    }
    const int me = currentPlayer;
    if (pairs10[me].id == mainEnemy && turnsTaken[me] - pairs10[me].value < kSweepInterval) {
        outIncomeFlag = 'n';
        return false;
    }
    pairs10[me] = {mainEnemy, turnsTaken[me]};
    return true;
}

void sweepBreakTargets()
{
    if (mainEnemy == 0 || mainEnemy == currentPlayer)
        return;
    const int limit = qMin(static_cast<int>(totalBorderCount), kMaxPairEntries);
    for (int k = 1; k <= limit && breakTargets[k].id != 0 && !gameOver; ++k) {
        if (ownerOf(breakTargets[k].id) != mainEnemy)
            continue;
        aiAttackAndOccupy(k);
        computePlayerStrength(1);
    }
}

void sweepLeaderNeighbours()
{
    const int s = ownStronghold();
    for (int t = 1; t <= territoryCount && !gameOver; ++t) {
        if (!isOwnTerritory(t) || t == s)
            continue;
        for (int n : neighboursOf(t)) {
            const int leader = playerRanking[1].id;
            if (armiesOf(t) <= 3 || gameOver)
                break;
            if (leader == currentPlayer || ownerOf(n) != leader)
                continue;
            aiPlacePool(t);
            if (!aiLaunchAttack(t, n, QStringLiteral(" is attacking. ")))
                continue;
            if (gameOver)
                return;
            if (isOwnTerritory(n)) {
                const int m = chooseArmiesToMove(t, n, armiesOf(t) - 1, 0);
                if (m < 1)
                    moveIntoConquered(t, n, 0);
                else
                    aiMoveIn(t, n, m, " army into the territory. ", " armies into the territory. ");
            }
            computePlayerStrength(1);
        }
    }
}

} // namespace

void applyStrongholdRules()
{
    if (!strongholdsEnabled || !isValidPlayer(currentPlayer))
        return;
    MapLookupScope lookups;
    const int s = ownStronghold();
    if (isValidTerritory(s) && isOwnTerritory(s))
        guardOwnStronghold(s);
    if (chosenAction != ActionGuardStronghold)
        marchOnEnemyStrongholds(s);
    attackAdjacentStronghold(s);
}

void applyOverrideRules()
{
    OverrideRules().run();
}

void applyMainEnemySweep()
{
    if (outIncomeFlag != 'j' || !isValidPlayer(currentPlayer) || !sweepDue())
        return;
    chosenAction = ActionNone;
    sweepBreakTargets();
    sweepLeaderNeighbours();
}
