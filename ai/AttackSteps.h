#pragma once
// The attacks of a computer player's turn: a break target attacked from the strongest own
// neighbour, every attack option of a target list after topping up the weak ones, the single
// best option, the end-of-turn placement that may attack first, and the walk along a route
// plan. Every attack commits all armies of the attacker but one.

#include <QString>

// Announces and resolves an attack of all armies but one from the own territory f on its
// enemy neighbour g; false (and nothing queued) when f cannot attack g: too few armies (fewer
// than `aiMinAttackArmies`), g its own, or not a neighbour.
bool aiLaunchAttack(int f, int g, const QString &tail = QStringLiteral(" is attacking."));
// Moves m armies (at most all but one) from f into the conquered g, with the narration
// " moves m" followed by the tail for one army or for several.
void aiMoveIn(int f, int g, int m, const char *singleTail, const char *pluralTail);
// Hands in the best set of the current player's hand: its value joins the pool and the trade is
// shown. Returns the value (0 when the hand holds no set).
int aiHandInCards();

// Attacks entry k of `breakTargets`; the other own neighbours join while it holds out.
void aiAttackAndOccupy(int k);
// Attacks every option against `aiTargetList`; sets `noAttackOptions` when there is none.
void aiAttackAndAdvance();
// At most one attack: the best option of `aiChooseAttack`, then a chained break after a
// conquest. True when it attacked.
bool aiAttackStep();
// The end-of-turn placement of the pool and the territory armies, unless an attack step attacks.
void aiReinforce();
// Walks the route plan of `chosenAction` (8, 9, 12 or 15).
void aiAttackMapTarget();
