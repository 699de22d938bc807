#pragma once
// Attack planning: one score per candidate plan of the computer player (hold, take, break,
// routes, opponents, defence against the following players), the dominance check that cancels
// plans handing the game to someone else, the listing of concrete attacks and the route step
// of the move phase.

// Fills `territoryPlan`, every plan score, the cancel flags and the plan targets.
void aiPlanAttacks();
// Cancels the scores of plans that would leave another player dominant.
void aiDominanceCheck();
// The own territory to defend continent c from; clears the score when c cannot be defended
// that way.
void aiContinentBorderCheck(int c, int &territory, int &score);
// t is own and can reach one of c's border territories.
bool neighbourContinentInfo(int t, int c);
// False when taking d from a would bury more than 40 armies inland.
bool aiIsSafeTerritory(int a, int d);
// Lists concrete attacks in `aiAttackOptions` (mode 1 the top-ranked continent, 3 big stacks,
// others the strongest player) and chooses the one with the best odds.
void aiChooseAttack(int mode);
// The next territory from t along a known route toward the nearest territory not owned by the
// current player; 0 when none.
int findInTable16(int t);
