#include "ai/AttackPlanning.h"

#include "ai/AiState.h"
#include "ai/Evaluation.h"
#include "ai/Toolkit.h"
#include "rules/Seats.h"
#include "rules/TurnState.h"

#include <cstdlib>

namespace {

using PlayerArmies = std::array<qint32, kMaxPlayers + 1>;

int divisor()
{
    return qMax(1, reinforcementDivisor);
}

int strongestPlayer()
{
    return playerRanking[1].id;
}

bool hasOtherMainEnemy()
{
    return mainEnemy != 0 && mainEnemy != currentPlayer;
}

bool hasEnemyNeighbour(int t)
{
    return neighbourSums(t, currentPlayer).enemyCount > 0;
}

// ---- Plan records ----

int cardValueFor(int cards)
{
    if (cards == 2)
        return 5;
    if (cards == 3)
        return 10;
    if (cards == 4 || cards == 5)
        return 15;
    return 0;
}

// The largest value in scan order and the largest before its last raise: whoever holds the
// maximum is compared with what the others had before.
struct RunningMaximum {
    int best = 0;
    int before = 0;
    void offer(int value)
    {
        if (value > best) {
            before = best;
            best = value;
        }
    }
    int othersBest(int own) const { return own == best ? before : best; }
};

void buildPlanRecords()
{
    territoryPlan.fill({});
    const int players = qBound(0, playerCount, kMaxPlayers);
    RunningMaximum bonus, cards;
    for (int p = 1; p <= players; ++p) {
        PlayerRecord &record = playerTable[p];
        PlanRecord &plan = territoryPlan[p];
        if (record.territoriesHeld() <= 0) {
            record.continentBonus() = 0;
        } else {
            plan.continentBonus = record.continentBonus();
            plan.cardValue = cardValueFor(record.cardCount());
            plan.territoryArmies = qMax(3, record.territoriesHeld() / divisor());
        }
        bonus.offer(plan.continentBonus);
        cards.offer(plan.cardValue);
    }
    for (int p = 1; p <= players; ++p) {
        PlanRecord &plan = territoryPlan[p];
        plan.othersBestBonus = bonus.othersBest(plan.continentBonus);
        plan.othersBestCardValue = cards.othersBest(plan.cardValue);
    }
}

// What a sum of armies is worth against the best income the others can bring.
int incomeMargin(int sum)
{
    const PlanRecord &own = territoryPlan[qBound(0, currentPlayer, kMaxPlayers)];
    return sum - own.othersBestBonus - own.othersBestCardValue;
}

int incomeOf(int p)
{
    if (p < 1 || p > kMaxPlayers)
        return 0;
    return territoryPlan[p].continentBonus + territoryPlan[p].territoryArmies;
}

// ---- The scores ----

void scoreHold()
{
    holdScore = 0;
    reinforceShortfall = 0;
    if (reinforceCandidates[1].id == 0)
        return;
    reinforceShortfall = incomeMargin(reinforceCandidates[1].value);
    if (reinforceShortfall < 0 && !attackMadeThisTurn)
        holdScore = -reinforceShortfall;
}

void listEnemyMembers(int c)
{
    aiTargetList.fill(0);
    int count = 0;
    for (int t : membersOf(c))
        if (!isOwnTerritory(t))
            aiTargetList[++count] = t;
}

void scoreTake()
{
    takeScore = 0;
    takeTargetContinent = 0;
    if (continentRanking[1].id == 0)
        return;
    const int margin = incomeMargin(aiArmiesToPlace + continentRanking[1].value + aiCardArmies);
    if (margin > 7)
        takeScore = margin;
    if (aiAttackOptionCount != 0)
        return;

    // Nothing to attack on the top continent: try the others in rank order.
    takeScore = 0;
    int bestMargin = 0;
    for (int i = 2; i <= continentCount && continentRanking[i].id != 0; ++i) {
        const int c = continentRanking[i].id;
        if (c < 1 || c > continentCount)
            continue;
        listEnemyMembers(c);
        aiAttackOptionCount = aiScoreAttacks();
        const int candidate = incomeMargin(aiArmiesToPlace + continentRanking[i].value + aiCardArmies);
        if (aiAttackOptionCount > 0 && candidate > 7 && candidate > bestMargin) {
            bestMargin = candidate;
            takeTargetContinent = c;
        }
    }
    if (takeTargetContinent != 0) {
        listEnemyMembers(takeTargetContinent);
        takeScore = bestMargin;
    }
}

void scoreContinentRoute()
{
    continentRouteScore = 0;
    if (continentRoutePlan.route == 0)
        return;
    const int margin = incomeMargin(continentRoutePlan.surplus);
    if (margin > 7)
        continentRouteScore = margin;
}

void scoreDefence()
{
    defenceScore.fill(0);
    defenceNeed.fill(0);
    defendTerritory.fill(0);
    for (int k = 1; k <= kDefenceOptions; ++k) {
        if (k >= 3 && playerCount <= k)
            break;
        const int q = nextPlayers[k];
        if (q < 1 || q > kMaxPlayers)
            continue;
        const int c = nextPlayerRankings[k][1].id;
        const int s = nextPlayerRankings[k][1].value;
        const PlanRecord &plan = territoryPlan[q];
        defenceNeed[k] = plan.cardValue + s + playerTable[q].continentBonus() - plan.othersBestBonus
            - plan.othersBestCardValue;
        if (defenceNeed[k] > 3)
            defenceScore[k] = defenceNeed[k];
        // Early in a game with the neutral army, keep player 1 from running away.
        if (k <= 2 && neutralArmyActive && isValidPlayer(currentPlayer) && turnsTaken[currentPlayer] < 6
            && q == 1 && holdScore < 1 && takeScore < 1 && breakScore < 1 && routeScore < 1) {
            defenceScore[k] += 10;
            defenceNeed[k] = 5;
        }
        aiContinentBorderCheck(c, defendTerritory[k], defenceScore[k]);
        if ((hasOtherMainEnemy() && mainEnemy != q) || attackMadeThisTurn)
            defenceScore[k] = 0;
    }
}

void scoreOpponents()
{
    weakestOpponentScore = 0;
    nearOpponentScore = 0;
    const bool avenging = avengerActive && isValidPlayer(currentPlayer) && personality[currentPlayer] == 3
        && avengeTarget[currentPlayer] > 0;
    if (hasOtherMainEnemy() && !avenging)
        return;
    const int own = isValidPlayer(currentPlayer) ? playerTable[currentPlayer].totalArmies() : 0;
    if (aiWeakestOpponent != 0 && own - aiWeakestOpponentCost > 25 && 2 * aiWeakestOpponentCost < own)
        weakestOpponentScore = 100;
    if (aiNearOpponent != 0 && own - aiNearOpponentCost > 25) {
        if (2 * aiNearOpponentCost < own)
            nearOpponentScore = 20;
        if (5 * aiNearOpponentCost < own)
            nearOpponentScore = 50;
        if (aiNearOpponentCost < 20)
            nearOpponentScore = 100;
    }
    if (weakestOpponentScore != 0)
        nearOpponentScore = 0;
}

void checkIncome()
{
    outIncomeFlag = 'n';
    const int leader = strongestPlayer();
    if (leader == 0 || leader == currentPlayer)
        return;
    int others = 0;
    for (int i = 2; i <= playerCount && i <= kMaxPlayers; ++i)
        others += incomeOf(playerRanking[i].id);
    if (incomeOf(leader) >= others)
        defenceScore.fill(0);
    if (incomeOf(leader) > others && hasOtherMainEnemy())
        outIncomeFlag = 'j';
}

void scoreBreak()
{
    breakScore = 0;
    const int target = breakTargets[1].id;
    if (target == 0)
        return;
    const int v = aiArmiesToPlace + breakTargets[1].value + aiCardArmies;
    if (v > 1)
        breakScore = v;
    if (hasOtherMainEnemy() && ownerOf(target) != mainEnemy)
        breakScore = 0;
}

// With three or more players and a main enemy, only plans against the strongest player stand.
bool aimsPastTheLeader(int targetOwner)
{
    const int leader = strongestPlayer();
    return aiPlayersLeft >= 3 && mainEnemy != 0 && targetOwner != leader && leader != currentPlayer;
}

void cancelBreakPastTheLeader()
{
    if (breakScore > 0 && aimsPastTheLeader(ownerOf(breakTargets[1].id))) {
        breakScore = 0;
        planCancelled = 'j';
    }
}

const RoutePlan *chosenRoutePlan()
{
    if (bestRoutePlan < 1 || bestRoutePlan > qMin(routePlanCount, kMaxRoutePlans))
        return nullptr;
    return &routePlans[bestRoutePlan];
}

int routeTerritory(int route, int pos)
{
    if (route < 1 || route > kMaxRoutes || pos < 1 || pos > kRouteLength)
        return 0;
    return routeTable[route].t[pos];
}

void scoreRoute()
{
    routeScore = 0;
    routeTarget = 0;
    const RoutePlan *plan = chosenRoutePlan();
    if (!plan)
        return;
    routeTarget = routeTerritory(plan->route, plan->targetPos);
    if (plan->surplus > 2)
        routeScore = plan->surplus;
    if (routeScore > 0 && aimsPastTheLeader(ownerOf(routeTarget))) {
        routeScore = 0;
        planCancelled = 'j';
    }
}

void endgameCleanUp()
{
    if (anyHumanSeatInGame() && gameMode != ModeDemo)
        return;
    bool bigStack = false;
    for (int t = 1; t <= territoryCount; ++t)
        bigStack = bigStack || armiesOf(t) > 55;
    if (!bigStack)
        return;
    defenceScore.fill(0);
    holdScore = 0;
    takeCancelled = planCancelled = 'n';
}

// ---- Dominance ----

PlayerArmies currentTotals()
{
    PlayerArmies totals{};
    for (int p = 1; p <= kMaxPlayers; ++p)
        totals[p] = playerTable[p].totalArmies();
    return totals;
}

void subtract(PlayerArmies &totals, int player, int armies)
{
    if (player >= 1 && player <= kMaxPlayers)
        totals[player] -= armies;
}

bool ownSideWeak(const PlayerArmies &totals)
{
    return totals[qBound(0, currentPlayer, kMaxPlayers)] < 25;
}

bool someoneElseDominates(const PlayerArmies &totals)
{
    const int d = findDominantPlayer(totals);
    return d != 0 && d != currentPlayer;
}

void checkTakeDominance()
{
    if (takeScore <= 0)
        return;
    PlayerArmies totals = currentTotals();
    int sum = 0;
    const int limit = qMin<int>(maxContinentSize, kTargetListSize);
    for (int i = 1; i <= limit && aiTargetList[i] != 0; ++i)
        sum += armiesOf(aiTargetList[i]);
    subtract(totals, currentPlayer, sum);
    subtract(totals, ownerOf(aiTargetList[1]), sum);
    if (ownSideWeak(totals))
        takeScore = 0;
    if (mainEnemy == 0 && someoneElseDominates(totals)) {
        takeScore = 0;
        takeCancelled = 'j';
    }
}

// Returns false when the break hits the main enemy, which skips the route test too.
bool checkBreakDominance()
{
    if (breakScore <= 0)
        return true;
    PlayerArmies totals = currentTotals();
    const int target = breakTargets[1].id;
    const int owner = ownerOf(target);
    subtract(totals, currentPlayer, armiesOf(target));
    subtract(totals, owner, armiesOf(target));
    if (owner == mainEnemy)
        return false;
    if (ownSideWeak(totals))
        breakScore = 0;
    if (someoneElseDominates(totals)) {
        breakScore = 0;
        planCancelled = 'j';
    }
    return true;
}

void checkRouteDominance()
{
    const RoutePlan *plan = chosenRoutePlan();
    if (routeScore <= 0 || !plan)
        return;
    PlayerArmies totals = currentTotals();
    const int step = plan->targetPos >= plan->ownPos ? 1 : -1;
    int sum = 0;
    for (int pos = plan->ownPos + step; step > 0 ? pos <= plan->targetPos : pos >= plan->targetPos;
         pos += step) {
        const int t = routeTerritory(plan->route, pos);
        subtract(totals, ownerOf(t), armiesOf(t));
        sum += armiesOf(t);
    }
    subtract(totals, currentPlayer, sum);
    if (ownSideWeak(totals))
        routeScore = 0;
    if (ownerOf(routeTerritory(plan->route, plan->targetPos)) == mainEnemy)
        return;
    if (someoneElseDominates(totals)) {
        routeScore = 0;
        planCancelled = 'j';
    }
}

void checkOpponentDominance(qint32 &score, int opponent, int cost)
{
    if (score <= 0)
        return;
    PlayerArmies totals = currentTotals();
    subtract(totals, currentPlayer, cost);
    subtract(totals, opponent, cost);
    if (ownSideWeak(totals))
        score = 0;
    if (opponent != mainEnemy && someoneElseDominates(totals))
        score = 0;
}

// A single giant stack of another player outweighs any plan of taking land.
void checkGiantStack()
{
    if (mainEnemy != 0)
        return;
    int biggest = 0, second = 0;
    for (int t = 1; t <= territoryCount; ++t) {
        if (biggest == 0 || armiesOf(t) > armiesOf(biggest)) {
            if (biggest != 0)
                second = qMax(second, armiesOf(biggest));
            biggest = t;
        } else {
            second = qMax(second, armiesOf(t));
        }
    }
    if (biggest == 0)
        return;
    const int m = armiesOf(biggest);
    if (m >= 41 && !isOwnTerritory(biggest) && 2 * second < m) {
        planCancelled = 'j';
        takeScore = breakScore = continentRouteScore = routeScore = 0;
    }
}

// ---- Defence position ----

// An own territory near c's border territories that touches an enemy: a border's own
// neighbour, or an own neighbour of that one.
int ownFrontNearBorders(int c, bool &stacked)
{
    for (int b : bordersOf(c)) {
        for (int n : neighboursOf(b)) {
            if (!isOwnTerritory(n))
                continue;
            stacked = stacked || armiesOf(n) >= 41;
            if (hasEnemyNeighbour(n))
                return n;
            for (int m : neighboursOf(n)) {
                if (!isOwnTerritory(m))
                    continue;
                stacked = stacked || armiesOf(m) >= 41;
                if (hasEnemyNeighbour(m))
                    return m;
            }
        }
    }
    return 0;
}

// ---- Attack options ----

bool attackerQualifies(int t, int mode, int topContinent)
{
    const NeighbourSums around = neighbourSums(t, currentPlayer);
    const int armies = armiesOf(t);
    if (aiPlayersLeft > 2 && isContinentOutpost(t)
        && !(around.enemyCount >= 2 || (around.enemyCount == 1 && armies >= 56)))
        return false;
    switch (mode) {
    case 3:
        return armies >= 55 && around.enemyCount > 0;
    case 1:
        return isContinentMember(t, topContinent)
            || (armies >= 21 && neighbourContinentInfo(t, topContinent));
    default:
        return armies >= 4;
    }
}

bool clearlyWeaker(int t, int n)
{
    return armiesOf(n) < armiesOf(t) && (armiesOf(t) > 3 * armiesOf(n) || armiesOf(n) < 6);
}

bool targetQualifies(int t, int n, int mode, int topContinent)
{
    switch (mode) {
    case 3:
        return true;
    case 1:
        return isContinentMember(n, topContinent);
    default: {
        const int owner = ownerOf(n);
        if (owner == strongestPlayer() && clearlyWeaker(t, n))
            return true;
        return strongestPlayer() == currentPlayer && aiPlayersLeft == 2
            && owner == playerRanking[2].id && clearlyWeaker(t, n);
    }
    }
}

bool continentOpenOrOwn(int n)
{
    const int c = continentOf(n);
    if (c == 0)
        return true;
    for (int p = 1; p <= kMaxPlayers; ++p)
        if (playerHolds(p, c))
            return p == currentPlayer;
    return true;
}

bool attackAllowed(int t, int n)
{
    if (!aiIsSafeTerritory(t, n))
        return false;
    const int stronghold = isValidPlayer(currentPlayer) ? playerTable[currentPlayer].stronghold() : 0;
    if (t == stronghold && armiesOf(t) - armiesOf(n) < 20)
        return false;
    if (hasOtherMainEnemy() && ownerOf(n) != strongestPlayer())
        return armiesOf(n) <= 20 && continentOpenOrOwn(n);
    return true;
}

int inlandArmies()
{
    int sum = 0;
    for (int t = 1; t <= territoryCount; ++t)
        if (isOwnTerritory(t) && !hasEnemyNeighbour(t))
            sum += armiesOf(t);
    return sum;
}

} // namespace

void aiPlanAttacks()
{
    buildPlanRecords();
    scoreHold();
    scoreTake();
    scoreContinentRoute();
    scoreDefence();
    scoreOpponents();
    checkIncome();
    scoreBreak();

    computePlayerStrength(0);
    takeCancelled = planCancelled = 'n';
    cancelBreakPastTheLeader();
    scoreRoute();

    computePlayerStrength(1);
    if (aiPlayersLeft >= 3)
        aiDominanceCheck();
    endgameCleanUp();

    if (planCancelled == 'j' || takeCancelled == 'j') {
        continentRouteScore = weakestOpponentScore = nearOpponentScore = 0;
        outIncomeFlag = 'n';
    }
}

void aiDominanceCheck()
{
    checkTakeDominance();
    if (checkBreakDominance())
        checkRouteDominance();
    checkOpponentDominance(weakestOpponentScore, aiWeakestOpponent, aiWeakestOpponentCost);
    checkOpponentDominance(nearOpponentScore, aiNearOpponent, aiNearOpponentCost);
    checkGiantStack();
}

void aiContinentBorderCheck(int c, int &territory, int &score)
{
    territory = 0;
    if (c < 1 || c > continentCount) {
        score = 0;
        return;
    }
    bool stacked = false;
    for (int t : membersOf(c)) {
        if (!isOwnTerritory(t))
            continue;
        if (hasEnemyNeighbour(t))
            territory = t;
        stacked = stacked || armiesOf(t) > 40;
    }
    for (int b : bordersOf(c))
        if (isOwnTerritory(b) && hasEnemyNeighbour(b))
            territory = b;
    if (territory == 0)
        territory = ownFrontNearBorders(c, stacked);
    if (territory == 0 || stacked)
        score = 0;
}

bool neighbourContinentInfo(int t, int c)
{
    if (!isOwnTerritory(t) || c < 1 || c > continentCount)
        return false;
    for (int n : neighboursOf(t))
        if (isBorderOf(n, c))
            return true;
    return false;
}

bool aiIsSafeTerritory(int a, int d)
{
    if (aiPlayersLeft <= 2 || !isValidTerritory(d))
        return true;
    const int before = inlandArmies();
    const TerritoryState saved = territoryState[d];
    territoryState[d] = {currentPlayer, 1};
    const int after = inlandArmies();
    territoryState[d] = saved;
    return !(after - before > 40 && armiesOf(a) < 40);
}

void aiChooseAttack(int mode)
{
    aiAttackOptions.fill({});
    aiListedOptionCount = 0;
    aiChosenOption = 0;
    aiAttackRatio = 0;
    const int topContinent = continentRanking[1].id;
    int count = 0;
    for (int t = 1; t <= territoryCount && count < kMaxAttackOptions; ++t) {
        if (!isOwnTerritory(t) || !attackerQualifies(t, mode, topContinent))
            continue;
        for (int n : neighboursOf(t)) {
            if (isOwnTerritory(n) || !targetQualifies(t, n, mode, topContinent) || !attackAllowed(t, n))
                continue;
            aiAttackOptions[++count] = {t, n, armiesOf(t), armiesOf(n)};
            if (count == kMaxAttackOptions)
                break;
        }
    }
    aiListedOptionCount = count;
    if (count == 0)
        return;

    aiChosenOption = 1;
    double best = -1;
    for (int i = 1; i <= count; ++i) {
        const AttackOption &option = aiAttackOptions[i];
        if (option.fromArmies < 3)
            continue;
        const double ratio = (option.fromArmies + aiArmiesToPlace - 1.0) / qMax(1, option.targetArmies);
        if (ratio > best) {
            best = ratio;
            aiChosenOption = i;
        }
    }
    aiAttackRatio = best < 0 ? 0 : best;
}

int findInTable16(int t)
{
    if (!isValidTerritory(t))
        return 0;
    int result = 0;
    int nearest = kRouteLength + 1;
    const int routes = qMin<int>(routeCount, kMaxRoutes);
    for (int r = 1; r <= routes && routeTable[r].t[1] != 0; ++r) {
        const auto &chain = routeTable[r].t;
        int length = 0, k = 0;
        while (length < kRouteLength && chain[length + 1] != 0) {
            ++length;
            if (chain[length] == t)
                k = length;
        }
        if (k == 0)
            continue;
        for (int j = 1; j <= length; ++j) {
            if (j == k || isOwnTerritory(chain[j]) || std::abs(j - k) >= nearest)
                continue;
            nearest = std::abs(j - k);
            result = chain[j < k ? k - 1 : k + 1];
        }
    }
    return isValidTerritory(result) ? result : 0;
}
