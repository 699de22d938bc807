#pragma once
// The depth-first search for a chain of attacks over the neighbour graph, and the chain costs
// that spare it where no chain can arrive.

#include "state/GameState.h"

#include <array>
#include <deque>

// Step tests the last depth-first search made; every search stops at kRouteSearchStepLimit.
constexpr int kRouteSearchStepLimit = 400000;
int lastRouteSearchSteps();
void clearRouteSearchSteps();

// The least each chain to a target costs, shared by many searches while nothing on the board
// changes (the searches of one border rating). A chain's cost is what the territories after its
// start take: their armies and the army left in each.
class ChainCosts {
public:
    ChainCosts();
    // False when no chain from `from`, one of `currentPlayer`'s territories, to `to` could
    // arrive with an army to spare: then the search would find none.
    bool mayArrive(int from, int to);

private:
    using Costs = std::array<int, kMaxTerritories + 1>;
    // The least cost from each territory p does not own to `to`, through such territories.
    const Costs &costsTo(int to, int p);

    // No start of p can afford more than p's strongest stack.
    int strongestOf(int p);

    std::deque<Costs> tables_; // kept in place as it grows
    std::array<qint16, (kMaxTerritories + 1) * (kMaxPlayers + 1)> tableOf_; // -1: not found yet
    std::array<int, kMaxPlayers + 1> strongest_;                            // -1: not found yet
};

// Lists in `routeCandidates` and `routePath`, for `currentPlayer`, the one-territory row of
// `from` and, in depth-first order, every chain to `to` that arrives with more armies than every
// chain listed before it. `costs`, when given, spares the search where no chain can arrive.
void searchNeighbourGraph(int from, int to, ChainCosts *costs);
