#pragma once
// The judgements a computer player's turn rests on: how strong each player is and who is the
// main enemy, which continent to take next, which enemy continents to break, which opponent
// is cheapest, and the armies the turn brings from continents and cards.

#include "ai/Toolkit.h"
#include "state/GameState.h"

#include <array>

// Fills `playerRanking`, `playerStrength`, `aiPlayersLeft` and `mainEnemy`, and recomputes
// every player's `totalArmies`. Mode 1 counts held continents, mode 0 does not.
void computePlayerStrength(int mode);
// The player whose share of the values (1..10) reaches the threshold for the players left.
int findDominantPlayer(const std::array<qint32, kMaxPlayers + 1> &values);
// `continentRanking`, `aiTargetList` and `aiOwnMemberList` for `currentPlayer`.
void aiRankContinents();
// The rankings of the following players; then the own ranking and `aiAttackOptionCount`.
void aiPredictNextPlayers();
// Attack options against `aiTargetList`; returns their count, 0 when they do not suffice.
int aiScoreAttacks();
// `breakTargets`: enemy border territories of continents another player holds.
void aiFindTargetContinents();
// The cheapest opponent whose territories can be attacked successfully; (0, 32000) for none.
void aiChooseWeakestOpponent(int &player, int &cost);
// The cheapest opponent next to an own territory that can attack; (0, 32000) for none.
void aiChooseOpponent2(int &player, int &cost);
// Fills the pool `aiArmiesToPlace` and `aiCardArmies` from the continent bonus and the cards.
void aiTradeCards();
// As aiTradeCards, then shows the traded cards or announces the continent bonus.
void aiPlaceContinentBonus();

// A territory of `loser` fell to `conqueror`: an Avenger now avenges himself on the conqueror
// (his main enemy while personalities act, until the conqueror is out).
void noteAvengerConquest(int loser, int conqueror);

// Own territories that can attack t, in t's slot order.
Neighbours ownAttackersOf(int t);
