#pragma once
// Path searches over the known routes: each starts from own territories, walks a route away
// from them through enemy land while the armies it could bring suffice, and leaves the best
// walk as a plan (route, own position, target position, surplus).

#include "ai/AiState.h"

// World map: the walk taking most of the strongest player's territories 27..42.
void aiPathToTarget(int route, int start, int direction, int armyLimit, int &bestFound, int &bestCost);
void aiSearchLeaderRoutes(); // `worldTargetPath`
// The cheapest walk to any player's stronghold.
void aiPathToStronghold(int route, int start, int direction, int armyLimit, int &bestCost);
void aiSearchStrongholdRoutes(); // `strongholdPath`
// Sets the position to 0 when the territory must not start a walk.
void aiTerritoryCheck(int t, int &position);
// Segments and plans from own territories to the border territories of continent c.
void aiSelectTarget(int c);
// Mode 9 (`routePlanMode`): break the strongest other player's continent; mode 8: take the last
// missing border territory of a continent (also into `continentRoutePlan`).
void aiPlanContinentRoute();
