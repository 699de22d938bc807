#pragma once
// The rules that refine the action a computer player chose by score: the stronghold rules
// (guard the own stronghold, march on or attack an enemy one), the override rules that trade
// the choice for a neighbouring kind when the continents at stake say so, and the sweep against
// a leader who out-earns everyone else.

// With strongholds: may choose 16 (reinforce the own stronghold), 15 (a route to an enemy
// stronghold) or 17 (attack an adjacent weaker enemy stronghold, from
// `strongholdAttackSource` on `strongholdAttackTarget`).
void applyStrongholdRules();
// Every game: swaps between take, break, route, hold and defence by the continents at stake.
void applyOverrideRules();
// When the leader out-earns everyone else: at most once in 4 turns per main enemy, attacks the
// leader's break targets and every leader territory next to an own stack; `chosenAction` 0.
void applyMainEnemySweep();
