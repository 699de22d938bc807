#include "ai/AttackSteps.h"

#include "ai/AiState.h"
#include "ai/AttackPlanning.h"
#include "ai/Evaluation.h"
#include "ai/Narration.h"
#include "ai/Reinforcement.h"
#include "ai/Toolkit.h"
#include "ai/TroopWeighting.h"
#include "rules/Attack.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/GameState.h"
#include "state/StepQueues.h"

#include <cstdlib>

namespace {

// An attack step attacks only at better odds than this (armies to place included).
constexpr double kAttackOdds = 1.5;
// Stacks this big are not reinforced further at the end of a turn.
constexpr int kBigStack = 56;

// The narration tails after a conquest differ by step, down to the trailing blank.
const char *const kOccupyOne = " army into the territory.";
const char *const kOccupyMany = " armies into the territory.";
const char *const kAdvanceOne = " army into the territory. ";
const char *const kAdvanceMany = " armies into the territory. ";

int minimumAttackers()
{
    return qMax(2, static_cast<int>(aiMinAttackArmies));
}

int divisor()
{
    return qMax(1, reinforcementDivisor);
}

int playersLeftForShare()
{
    return qMax(1, static_cast<int>(aiPlayersLeft));
}

// Exactly one enemy neighbour, and it holds 21 armies or more: a stack that must stay.
bool facesOneBigEnemy(int t)
{
    const NeighbourSums around = neighbourSums(t, currentPlayer);
    return around.enemyCount == 1 && around.enemySum >= 21;
}

template <typename Test>
int firstOwnTerritory(Test test)
{
    for (int t = 1; t <= territoryCount; ++t)
        if (isOwnTerritory(t) && test(t))
            return t;
    return 0;
}

// ---- aiAttackAndAdvance ----

bool strongEnough(int a, int d)
{
    if ((a >= 7 && d == 2) || (a > 4 && d == 1) || (a > 8 && d == 3))
        return true;
    if (attackRule == 'j' && a - d > 1)
        return true;
    return static_cast<double>(a) / qMax(1, d) >= 2.5;
}

// The armies that make an option of a attackers against d defenders strong enough.
int topUpFor(int a, int d)
{
    if (attackRule == 'j')
        return d - a + 2;
    if (d <= 1)
        return 5 - a;
    if (d == 2)
        return 7 - a;
    if (d == 3)
        return 9 - a;
    for (int i = 1;; ++i) {
        aiAttackRatio = static_cast<double>(a + i) / d;
        if (aiAttackRatio >= 2.5 || a + i - d >= 4 || i >= aiArmiesToPlace)
            return i;
    }
}

void topUpWeakOptions(int count)
{
    for (int k = 1; k <= count; ++k) {
        const AttackOption &option = aiAttackOptions[k];
        if (strongEnough(option.fromArmies, option.targetArmies))
            continue;
        if (aiCardArmies > 0) {
            aiHandInCards();
            aiCardArmies = 0;
        }
        if (aiArmiesToPlace < 1)
            return;
        const int n = qMin(topUpFor(option.fromArmies, option.targetArmies), static_cast<int>(aiArmiesToPlace));
        if (n < 1 || !isOwnTerritory(option.from))
            continue;
        aiPlaceArmies(option.from, n);
        aiArmiesToPlace -= n;
        if (aiArmiesToPlace <= 0)
            return;
    }
}

// ---- aiAttackStep ----

void chooseStepOption()
{
    const int strongest = playerRanking[1].id;
    const bool leaderSmall = !isValidPlayer(strongest) || territoryPlan[strongest].territoryArmies < equalShareIncome
        || strongest == currentPlayer;
    if (leaderSmall) {
        aiChooseAttack(1);
        if (aiAttackRatio <= kAttackOdds)
            aiChooseAttack(2);
    } else {
        aiChooseAttack(2);
        if (aiAttackRatio <= kAttackOdds)
            aiChooseAttack(1);
    }
    if (planCancelled == 'j') {
        aiAttackRatio = 0;
        if (takeCancelled == 'n') {
            aiChooseAttack(1);
            if (aiAttackRatio > kAttackOdds && aiChosenOption != 0)
                return;
            aiAttackRatio = 0;
        }
    } else if (aiAttackRatio >= kAttackOdds && aiChosenOption != 0) {
        return;
    }
    aiChooseAttack(3);
}

const AttackOption *chosenOption()
{
    if (aiChosenOption < 1 || aiChosenOption > qMin(static_cast<int>(aiListedOptionCount), kMaxAttackOptions))
        return nullptr;
    return &aiAttackOptions[aiChosenOption];
}

// After a conquest: the break targets as they stand now, and the first of them attacked when
// it is worth it and no main enemy forbids it.
void chainedBreak()
{
    aiFindTargetContinents();
    breakScore = 0;
    const int first = breakTargets[1].id;
    int potential = 0;
    if (first != 0) {
        potential = aiArmiesToPlace + breakTargets[1].value + aiCardArmies;
        if (potential >= 3)
            breakScore = potential;
    }
    const bool free = mainEnemy == 0 && potential >= 3;
    const bool aimed = mainEnemy != 0 && (mainEnemy == currentPlayer || mainEnemy == ownerOf(first)) && breakScore > 2;
    if (free || aimed) {
        if (planCancelled == 'n')
            aiAttackAndOccupy(1);
    } else if (mainEnemy != 0) {
        breakScore = 0;
    }
}

// ---- aiReinforce ----

// A Hunter or a Defensive player puts a small pool on one weak spot.
int weakSpot()
{
    int t = firstOwnTerritory([](int u) { return armiesOf(u) == 1 && hasEnemyArmiesAround(u); });
    if (t == 0)
        t = firstOwnTerritory([](int u) { return armiesOf(u) < 4 && hasEnemyArmiesAround(u); });
    if (t == 0)
        t = firstOwnTerritory([](int u) { return armiesOf(u) == 1; });
    return t;
}

// On a cheap continent held in strength by both sides, the front line gets the armies.
int cheapContinentFront(int c)
{
    if (c < 1 || c > continentCount || continentTable[c].bonus >= 3 || aiPlayersLeft <= 2)
        return 0;
    const int limit = continentTable[c].bonus == 2 ? 55 : 35;
    int own = 0, enemy = 0;
    for (int t : membersOf(c))
        (isOwnTerritory(t) ? own : enemy) += armiesOf(t);
    if (own < limit || enemy < limit)
        return 0;
    return firstOwnTerritory(
        [limit](int t) { return armiesOf(t) <= limit && hasEnemyArmiesAround(t) && !facesOneBigEnemy(t); });
}

int optionFront(int c)
{
    const AttackOption *chosen = chosenOption();
    if (aiListedOptionCount <= 0 || !chosen)
        return 0;
    if (isOwnTerritory(chosen->from) && armiesOf(chosen->from) < kBigStack)
        return chosen->from;
    for (int i = 1; i <= qMin(static_cast<int>(aiListedOptionCount), kMaxAttackOptions); ++i) {
        const int from = aiAttackOptions[i].from;
        if (isOwnTerritory(from) && armiesOf(from) < kBigStack && isContinentMember(from, c))
            return from;
    }
    return 0;
}

bool frontLine(int t)
{
    return isOwnTerritory(t) && armiesOf(t) < kBigStack && hasEnemyArmiesAround(t);
}

int rankedContinentFront()
{
    for (int i = 1; i <= continentCount && continentRanking[i].id != 0; ++i) {
        const int c = continentRanking[i].id;
        for (int t : membersOf(c))
            if (frontLine(t))
                return t;
        for (int b : bordersOf(c))
            for (int n : neighboursOf(b))
                if (frontLine(n))
                    return n;
    }
    return 0;
}

int endOfTurnTarget()
{
    aiChooseAttack(1);
    const int c = continentRanking[1].id;
    int t = cheapContinentFront(c);
    if (t == 0)
        t = optionFront(c);
    if (t == 0)
        t = rankedContinentFront();
    if (t == 0)
        t = firstOwnTerritory([](int u) { return frontLine(u); });
    if (t == 0)
        t = firstOwnTerritory([](int u) { return hasEnemyArmiesAround(u); });
    if (t == 0)
        t = firstOwnTerritory([](int) { return true; });
    return t;
}

void placeEverythingOn(int t)
{
    if (t == 0)
        return;
    aiChosenTerritory = t;
    aiPlacePool(t);
    aiPlaceTerritoryArmies();
}

int ownArmiesTotal()
{
    int total = 0;
    for (int t = 1; t <= territoryCount; ++t)
        if (isOwnTerritory(t))
            total += armiesOf(t);
    return total;
}

// ---- aiAttackMapTarget ----

enum class Advance { Adjacent, Plain, Garrison };

RoutePlan planOfAction()
{
    switch (chosenAction) {
    case ActionRoute:
        if (bestRoutePlan >= 1 && bestRoutePlan <= qMin(static_cast<int>(routePlanCount), kMaxRoutePlans))
            return routePlans[bestRoutePlan];
        return RoutePlan();
    case ActionContinentRoute:
        return continentRoutePlan;
    case ActionWorldRoute:
        return worldTargetPath;
    case ActionStrongholdRoute:
        return strongholdPath;
    default:
        return RoutePlan();
    }
}

int routeSlot(int route, int pos)
{
    if (route < 1 || route > qMin(static_cast<int>(routeCount), kMaxRoutes) || pos < 1 || pos > kRouteLength)
        return 0;
    return routeTable[route].t[pos];
}

bool onClassicWorldMap()
{
    return mapWorldFlag && !mapWorldIIFlag;
}

Advance advanceKind(const RoutePlan &plan, int start)
{
    if (std::abs(plan.ownPos - plan.targetPos) == 1) {
        if (aiCardArmies > 0 && plan.surplus - aiCardArmies < 7)
            aiHandInCards();
        return Advance::Adjacent;
    }
    Advance kind = Advance::Plain;
    const int c = continentOf(start);
    const bool heldBase = playerHolds(currentPlayer, c) && c != excludedContinent;
    if (plan.surplus > 26 && (heldBase || isContinentOutpost(start)))
        kind = Advance::Garrison;
    if (aiCardArmies > 0 && plan.surplus - aiCardArmies <= 26)
        aiHandInCards();
    return kind;
}

int armiesToAdvance(int f, int g, Advance kind)
{
    const int a = armiesOf(f) - 1;
    if (chosenAction == ActionStrongholdRoute)
        return a;
    int m;
    switch (kind) {
    case Advance::Adjacent:
        m = chooseArmiesToMove(f, g, a, 9);
        break;
    case Advance::Garrison:
        m = a < 20 ? a / 3 : a <= 150 ? armiesOf(f) - 21 : armiesOf(f) - 76;
        break;
    default:
        m = a;
        break;
    }
    if (onClassicWorldMap() && chosenAction == ActionWorldRoute)
        m = qMin(m, 15);
    return m;
}

} // namespace

bool aiLaunchAttack(int f, int g, const QString &tail)
{
    if (gameOver || !isOwnTerritory(f) || !isValidTerritory(g) || isOwnTerritory(g) || !canAttack(f, g))
        return false;
    if (armiesOf(f) < minimumAttackers())
        return false;
    highlightChanges = 1;
    queuePlacement(f);
    queuePlacement(g);
    highlightChanges = 0;
    narrate(tail);
    resolveAttack(f, armiesOf(f) - 1, g, &cardEarnedThisTurn);
    return true;
}

void aiMoveIn(int f, int g, int m, const char *singleTail, const char *pluralTail)
{
    if (!isOwnTerritory(f) || !isOwnTerritory(g) || f == g)
        return;
    m = qBound(0, m, armiesOf(f) - 1);
    narrate(QStringLiteral(" moves ") + countTail(m, singleTail, pluralTail));
    territoryState[f].armies -= m;
    territoryState[g].armies += m;
    highlightChanges = 0;
    queuePlacement(f);
    queuePlacement(g);
}

int aiHandInCards()
{
    tradeCardSet();
    if (cardsTraded <= 0 || cardSetValue <= 0)
        return 0;
    aiArmiesToPlace += cardSetValue;
    queueCardTrade();
    return cardSetValue;
}

void aiAttackAndOccupy(int k)
{
    ++occupyAttempts;
    if (k < 1 || k > kMaxPairEntries)
        return;
    const int g = breakTargets[k].id;
    if (!isValidTerritory(g))
        return;
    aiChosenTerritory = g;
    const Neighbours attackers = ownAttackersOf(g);
    int f = 0;
    for (int n : attackers)
        if (f == 0 || armiesOf(n) > armiesOf(f))
            f = n;
    if (f == 0)
        return;

    const int lead = armiesOf(f) - armiesOf(g);
    if ((attackRule == 'j' ? lead < 2 : lead < 7) && aiCardArmies > 0)
        aiHandInCards();
    aiPlacePool(f);

    if ((armiesOf(f) > 4 || outIncomeFlag != 'j') && aiLaunchAttack(f, g)) {
        if (outIncomeFlag == 'j')
            aiCardArmies = 0;
        if (gameOver)
            return;
        const int a = armiesOf(f) - 1;
        if (isOwnTerritory(g) && a > 0)
            aiMoveIn(f, g, chooseArmiesToMove(f, g, a, 5), kOccupyOne, kOccupyMany);
    }
    if (isOwnTerritory(g) || attackers.count < 2)
        return;
    for (int n : attackers) {
        if (isOwnTerritory(g))
            return;
        if (n == f || armiesOf(n) <= 2 || !aiLaunchAttack(n, g))
            continue;
        if (gameOver)
            return;
        const int a = armiesOf(n) - 1;
        if (isOwnTerritory(g) && a > 0)
            aiMoveIn(n, g, chooseArmiesToMove(n, g, a, 5), kOccupyOne, kOccupyMany);
    }
}

void aiAttackAndAdvance()
{
    const int count = aiScoreAttacks();
    aiAttackOptionCount = count;
    if (count == 0) {
        noAttackOptions = 1;
        return;
    }
    topUpWeakOptions(count);
    aiPlacePool(aiAttackOptions[1].from);

    for (int k = 1; k <= count; ++k) {
        const int from = aiAttackOptions[k].from;
        const int target = aiAttackOptions[k].target;
        if (!aiLaunchAttack(from, target))
            continue;
        if (gameOver)
            return;
        if (!isOwnTerritory(target))
            continue;
        const int m = chooseArmiesToMove(from, target, armiesOf(from) - 1, 4);
        if (m < 1)
            moveIntoConquered(from, target, 4);
        else
            aiMoveIn(from, target, m, kAdvanceOne, kAdvanceMany);
    }
}

bool aiAttackStep()
{
    equalShareIncome = territoryCount / playersLeftForShare() / divisor() + 2;
    {
        TroopWeighting weighted;
        chooseStepOption();
    }
    const AttackOption *option = chosenOption();
    if (aiAttackRatio <= kAttackOdds || !option)
        return false;
    const int from = option->from;
    const int target = option->target;
    if (armiesOf(from) < minimumAttackers() || ownerOf(from) == ownerOf(target) || !isOwnTerritory(from))
        return false;
    if (!demoRunning && isValidPlayer(currentPlayer)
        && playerTable[currentPlayer].totalArmies() - armiesOf(target) <= 24) {
        aiAttackRatio = 0;
        return false;
    }
    aiPlacePool(from);
    if (!aiLaunchAttack(from, target))
        return false;
    if (gameOver)
        return true;
    if (!isOwnTerritory(target))
        return true;
    const int m = chooseArmiesToMove(from, target, armiesOf(from) - 1, 0);
    if (m < 1)
        moveIntoConquered(from, target, 0);
    else
        aiMoveIn(from, target, m, kAdvanceOne, kAdvanceMany);
    chainedBreak();
    return true;
}

void aiReinforce()
{
    if (!isValidPlayer(currentPlayer))
        return;
    const int total = ownArmiesTotal();
    playerTable[currentPlayer].totalArmies() = total;
    if (total < (demoRunning ? 12 : 25) || territoryCount < 1)
        planCancelled = 'j';

    const int kind = personality[currentPlayer];
    if (avengerActive && kind == PersonalityHunter && aiArmiesToPlace < 10 && total < 40)
        planCancelled = takeCancelled = 'j';
    if (avengerActive && (kind == PersonalityHunter || kind == PersonalityDefensive) && aiArmiesToPlace < 10) {
        const int spot = weakSpot();
        if (spot != 0) {
            placeEverythingOn(spot);
            return;
        }
    }

    if (aiAttackStep() || gameOver)
        return;
    placeEverythingOn(endOfTurnTarget());
}

void aiAttackMapTarget()
{
    const RoutePlan plan = planOfAction();
    const int start = routeSlot(plan.route, plan.ownPos);
    if (start == 0 || routeSlot(plan.route, plan.targetPos) == 0 || plan.ownPos == plan.targetPos
        || !isOwnTerritory(start))
        return;
    Advance kind = advanceKind(plan, start);
    aiPlacePool(start);

    const int step = plan.targetPos > plan.ownPos ? 1 : -1;
    for (int pos = plan.ownPos; pos != plan.targetPos; pos += step) {
        const int f = routeSlot(plan.route, pos);
        const int g = routeSlot(plan.route, pos + step);
        if (!aiLaunchAttack(f, g) || gameOver || !isOwnTerritory(g))
            return;
        if (armiesOf(f) - 1 >= 1) {
            const int m = armiesToAdvance(f, g, kind);
            if (m > 0)
                aiMoveIn(f, g, m, kAdvanceMany, kAdvanceMany);
        }
        if (kind == Advance::Garrison)
            kind = Advance::Plain;
    }
}
