#pragma once
// How a computer player picks the action of one cycle from the plan scores: what the difficulty
// and the personality rule out, and the highest score with its tie-break.

#include <QtGlobal>

// The plan score that proposes an action (a dummy 0 for the codes without a score).
qint32 &aiScoreOf(int action);

// Easy plays without ambition; a small army attacks nothing big. True when a player holding only
// two territories has put everything on one of them: the turn then goes straight to its moves.
bool aiApplyDifficulty();
// What the player's personality will not do (only while `avengerActive`); an Unstable player may
// switch personality in turns 10, 20, 30 and so on.
void aiApplyPersonality();
// `chosenAction` and `bestActionScore`: the highest score above 0; of equal scores the earlier code
// in the order 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14, 22 to 26.
void aiChooseBestAction();
