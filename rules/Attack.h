#pragma once
// Attacks: one battle between neighbouring territories, the conquest with its card and the move
// into the conquered territory, and the end of a human player's attack step.

#include "rules/Battle.h"
#include "state/GameState.h"

#include <QtGlobal>

// A conquest whose armies to move in are still to be chosen.
extern quint8 conquestMovePending;
extern qint32 conquestSource;
extern qint32 conquestTarget;

// One attack of `armies` armies from `from` on its neighbour `to`, taking the losses off both
// territories at once and keeping both players' records current. A conquest gives `to` to the
// attacker with one army taken from `from`, and earns the turn's card while *cardFlag is 'n'.
// Called again with the same territories after a conquest, it moves `armies` into `to`, also
// when that conquest decided the game. An attack is refused (nothing changes) while the game is
// over, between territories that are not
// neighbours, onto the attacker's own territory, from a territory with one army, or with no
// army committed; at most all armies but one are committed.
void resolveAttack(int from, int armies, int to, char *cardFlag);

// The end of a human attack step between `sourceTerritory` and `targetTerritory`: after a
// conquest it asks how many armies to move in; otherwise it plays the attack's sound and prompts
// for the next attack. A game decided by the attack is finished for the player once there is no
// move question left to ask.
void concludeAttack();

// The answer to the move-in question after a conquest: moves `armies` (none below 1) and goes
// on with the attack step, or finishes the game when it is over.
void afterConquestMove(int armies);

// A battle's marks in both players' records: the attack, the armies committed, the battle, the
// losses and who won it.
void recordBattle(PlayerRecord &attacker, PlayerRecord &defender, int committed, const BattleResult &battle,
                  bool conquered);
// An eliminated player's cards go to the player who put him out.
void passCardsOn(PlayerRecord &loser, PlayerRecord &taker);

void resetAttackState();
