#include "ai/AiState.h"

std::array<Pair, kMaxPlayers + 1> pairs10{};

PlayerPairList playerRanking{};
TerritoryPairList reinforceCandidates{};
qint32 reinforceCandidateCount = 0;
ContinentPairList continentRanking{};
TerritoryPairList breakTargets{};
qint32 breakTargetCount = 0;
ContinentPairList continentOrder{};
PlayerPairList playerStrength{};

qint32 aiPlayer = 0;
qint32 aiChosenTerritory = 0;
qint32 aiPlayersLeft = 2;
qint32 mainEnemy = 0;
qint32 aiArmiesToPlace = 0;
qint32 aiCardArmies = 0;

CardHand aiCards;
qint32 cardsTraded = 0;
qint32 lastCardSetValue = 0;

std::array<qint32, kMaxContinents + 2> notHeldContinents{};
TerritoryList aiTargetList{};
TerritoryList aiOwnMemberList{};
std::array<qint32, kMaxPlayers> nextPlayers{};
std::array<ContinentPairList, kMaxPlayers> nextPlayerRankings{};

std::array<AttackOption, kMaxAttackOptions + 1> aiAttackOptions{};
qint32 aiAttackOptionCount = 0;
qint32 aiListedOptionCount = 0;
qint32 aiChosenOption = 0;
double aiAttackRatio = 0;
qint32 aiScoringMode = 0;

qint32 aiWeakestOpponent = 0;
qint32 aiWeakestOpponentCost = 32000;
qint32 aiNearOpponent = 0;
qint32 aiNearOpponentCost = 32000;

std::array<PlanRecord, kMaxPlayers + 1> territoryPlan{};
qint32 holdScore = 0;
qint32 takeScore = 0;
qint32 breakScore = 0;
qint32 routeScore = 0;
qint32 continentRouteScore = 0;
qint32 weakestOpponentScore = 0;
qint32 nearOpponentScore = 0;
std::array<qint32, kDefenceOptions + 1> defenceScore{};
std::array<qint32, kDefenceOptions + 1> defenceNeed{};
std::array<qint32, kDefenceOptions + 1> defendTerritory{};
char takeCancelled = 'n';
char planCancelled = 'n';
char outIncomeFlag = 'n';
qint32 takeTargetContinent = 0;
qint32 routeTarget = 0;
qint32 reinforceShortfall = 0;

std::array<RouteSegment, kMaxRouteSegments + 2> routeSegments{};
qint32 routeSegmentCount = 0;
std::array<RoutePlan, kMaxRoutePlans + 1> routePlans{};
qint32 routePlanCount = 0;
qint32 bestRoutePlan = 0;
qint32 lastSegmentArmySum = 0;
RoutePlan worldTargetPath;
RoutePlan strongholdPath;
RoutePlan continentRoutePlan;
qint32 routePlanMode = 8;

std::array<RouteCandidate, kMaxCandidateRows + 2> routeCandidates{};
qint32 routeCandidateCount = 0;
std::array<quint8, kCandidateLength> routePath{};
bool shortRouteOnly = false;

qint32 aiActionCycle = 0;
qint32 chosenAction = 0;
qint32 bestActionScore = 0;
quint8 territoryArmiesPlaced = 0;
qint32 reinforceRounds = 0;
qint32 poolRounds = 0;
qint32 noAttackOptions = 0;
qint32 occupyAttempts = 0;
qint32 equalShareIncome = 0;
qint32 strongholdAttackSource = 0;
qint32 strongholdAttackTarget = 0;
std::array<qint32, kMaxTerritories + 1> savedArmies{};

int defenceOptionOf(int action)
{
    for (int k = 1; k <= kDefenceOptions; ++k)
        if (kDefenceActions[k] == action)
            return k;
    return 0;
}

void resetAiState()
{
    pairs10.fill({});
    playerRanking.fill({});
    reinforceCandidates.fill({});
    reinforceCandidateCount = 0;
    continentRanking.fill({});
    breakTargets.fill({});
    breakTargetCount = 0;
    continentOrder.fill({});
    playerStrength.fill({});

    aiPlayer = 0;
    aiChosenTerritory = 0;
    aiPlayersLeft = 2;
    mainEnemy = 0;
    aiArmiesToPlace = 0;
    aiCardArmies = 0;
    aiCards = CardHand();
    cardsTraded = 0;
    lastCardSetValue = 0;

    notHeldContinents.fill(0);
    aiTargetList.fill(0);
    aiOwnMemberList.fill(0);
    nextPlayers.fill(0);
    for (ContinentPairList &ranking : nextPlayerRankings)
        ranking.fill({});

    aiAttackOptions.fill({});
    aiAttackOptionCount = 0;
    aiListedOptionCount = 0;
    aiChosenOption = 0;
    aiAttackRatio = 0;
    aiScoringMode = 0;
    aiWeakestOpponent = aiNearOpponent = 0;
    aiWeakestOpponentCost = aiNearOpponentCost = 32000;

    territoryPlan.fill({});
    holdScore = takeScore = breakScore = routeScore = continentRouteScore = 0;
    weakestOpponentScore = nearOpponentScore = 0;
    defenceScore.fill(0);
    defenceNeed.fill(0);
    defendTerritory.fill(0);
    takeCancelled = planCancelled = outIncomeFlag = 'n';
    takeTargetContinent = 0;
    routeTarget = 0;
    reinforceShortfall = 0;

    routeSegmentCount = 0;
    routePlanCount = 0;
    bestRoutePlan = 0;
    lastSegmentArmySum = 0;
    worldTargetPath = strongholdPath = continentRoutePlan = RoutePlan();
    routePlanMode = 8;

    // The work table is only ever read up to its count; clearing the count is enough.
    routeCandidateCount = 0;
    routePath.fill(0);
    shortRouteOnly = false;

    aiActionCycle = 0;
    chosenAction = bestActionScore = 0;
    territoryArmiesPlaced = 0;
    reinforceRounds = poolRounds = noAttackOptions = occupyAttempts = 0;
    equalShareIncome = 0;
    strongholdAttackSource = strongholdAttackTarget = 0;
    savedArmies.fill(0);
}
