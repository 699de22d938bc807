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
    // The routes holding t, in route order.
    const std::vector<RouteStop> &stopsOf(int t) const;
    // The same as bits: route r is bit r % 64 of word r / 64.
    const std::vector<quint64> &routeBitsOf(int t) const;
    // Routes 1..indexed() are in.
    int indexed() const { return indexed_; }

private:
    friend const RouteIndex &currentRouteIndex();
    void clear();
    // Indexes the routes after the last one indexed, up to `routeCount` or an empty record.
    void catchUp();
    void indexRoute(int route);

    std::array<std::vector<RouteStop>, kMaxTerritories + 1> stops_;
    std::array<std::vector<quint64>, kMaxTerritories + 1> bits_;
    int indexed_ = 0;
};

// The index of the route table as it is now. It is kept between calls and only takes in the
// routes learned or added since the last call; it starts afresh when the table was cleared,
// shortened or the map changed.
const RouteIndex &currentRouteIndex();
