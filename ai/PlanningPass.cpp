#include "ai/PlanningPass.h"

#include "ai/AiState.h"
#include "ai/AttackPlanning.h"
#include "ai/Evaluation.h"
#include "ai/RoutePaths.h"
#include "ai/RoutePlanning.h"
#include "ai/Toolkit.h"

void aiRunPlanning()
{
    MapLookupScope lookups;
    computePlayerStrength(1);
    planRoute(1);
    aiPredictNextPlayers();
    routePlanMode = 8;
    aiPlanContinentRoute();
    aiFindTargetContinents();
    routePlanMode = 9;
    aiPlanContinentRoute();
    aiChooseWeakestOpponent(aiWeakestOpponent, aiWeakestOpponentCost);
    aiChooseOpponent2(aiNearOpponent, aiNearOpponentCost);
    aiPlanAttacks();
}
