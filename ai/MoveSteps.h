#pragma once
// The moves at the end of a computer player's turn: one move between own neighbours within a
// budget of armies, and the move phase that feeds threatened borders and brings idle armies
// from the interior to the front.

// Moves min(count, budget) armies from the own territory f into `aiChosenTerritory`; count
// becomes the number moved and the budget loses it. Nothing moves out of the own stronghold,
// between territories that are not own neighbours, or when f has no army to spare (count and
// budget then stay as they are).
void aiMoveArmies(int &count, int &budget, int f);
// The move phase; returns when the budget is used up or every pass is done.
void aiMovePhase(int &budget);
