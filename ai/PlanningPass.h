#pragma once
// The planning of one action cycle of a computer turn, in the turn's order: strength, border
// rating, following players, continent routes, break targets, opponents and the plan scores.
// It runs on the armies as they stand (the turn applies troop-experience weighting around it)
// and changes no territory; it leaves the scores and targets in the AI state.
void aiRunPlanning();
