#pragma once
// The computer players' route table and route planning: the search for a chain of attacks
// between two territories (known chains first, then the neighbour graph, learning new chains
// into `routeTable`), and the rating of the borders of every continent the player holds.

#include "ai/ChainSearch.h"

// Searches for the best chain of attacks from `from` to `to` for `currentPlayer`: bestRow is its
// row in `routeCandidates` (0 none), bestScore the armies that would arrive. `mode` is 3.
void findRoutes(int from, int to, int mode, int &bestRow, int &bestScore);
// The same, for one of many searches in a row from the current player's territories while the
// board stays as it is: they share `costs`, which spare the searches where no chain can arrive.
void findRoutesSharing(ChainCosts &costs, int from, int to, int &bestRow, int &bestScore);

// Rebuilds `reinforceCandidates` for `currentPlayer`: the border territories of the continents
// he holds, most endangered first. The turn flow calls it with mode 2 at the start of every
// human turn; the mode does not change the result.
void planRoute(int mode);
