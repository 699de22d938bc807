#pragma once
// The depth-first search for a chain of attacks over the neighbour graph, and the distance maps
// that steer it.

#include "state/GameState.h"

#include <array>
#include <map>
#include <vector>

// Step tests the last depth-first search made; every search stops at kRouteSearchStepLimit.
constexpr int kRouteSearchStepLimit = 400000;
int lastRouteSearchSteps();
void clearRouteSearchSteps();

// The way to a target as a search sees it: which territories a chain may cross (not the
// player's, weaker than the start), the steps from each of them to the target through such
// territories, and the fewest armies on any of them.
struct DistancesToTarget {
    std::array<bool, kMaxTerritories + 1> open;
    std::array<int, kMaxTerritories + 1> steps;
    int cheapest;
};

// The distance maps of many searches while nothing on the board changes (the searches of one
// border rating). A start is always the player's own, so it never lies on a chain; what a chain
// may cross is then the same for every start whose armies exceed the same territories, and so
// are the distances.
class SharedDistances {
public:
    bool serves(int from) const;
    const DistancesToTarget &of(int from, int to, int maxLength);

private:
    // The armies of the territories player p does not own, ascending.
    const std::vector<int> &othersArmies(int p);

    std::array<std::vector<int>, kMaxPlayers + 1> othersArmies_;
    std::array<bool, kMaxPlayers + 1> sorted_{};
    std::map<quint64, DistancesToTarget> known_;
};

// Lists in `routeCandidates` and `routePath`, for `currentPlayer`, the one-territory row of
// `from` and, in depth-first order, every chain to `to` that arrives with more armies than every
// chain listed before it. `shared` may give the distances when it serves `from`.
void searchNeighbourGraph(int from, int to, SharedDistances *shared);
