#pragma once
// Where each territory stands on the known routes, so that a search reads a long route table
// once rather than once per territory it looks at.

#include "state/GameState.h"

#include <array>
#include <vector>

struct RouteStop {
    qint32 route = 0;
    qint32 first = 0; // the first slot of the route that holds the territory
    qint32 last = 0;  // the last one
};

class RouteIndex {
public:
    // Indexes routes 1..`routeCount` of `routeTable`, up to the first empty record.
    void build();
    // Indexes one more route (a chain just learned).
    void add(int route);
    // The routes holding t, in route order.
    const std::vector<RouteStop> &stopsOf(int t) const;

private:
    std::array<std::vector<RouteStop>, kMaxTerritories + 1> stops_;
};
