#pragma once
// The computer players' route table and route planning.

// Rebuilds `reinforceCandidates` and the route plans for `currentPlayer`; the turn flow calls it
// with mode 2 at the start of every human turn.
void planRoute(int mode);
