#include "ai/RouteIndex.h"

void RouteIndex::build()
{
    for (auto &stops : stops_)
        stops.clear();
    const int routes = qBound(0, routeCount, kMaxRoutes);
    for (int r = 1; r <= routes && routeTable[r].t[1] != 0; ++r)
        add(r);
}

void RouteIndex::add(int route)
{
    if (route < 1 || route > kMaxRoutes)
        return;
    const auto &chain = routeTable[route].t;
    int length = 0;
    while (length < kRouteLength && chain[length + 1] != 0)
        ++length;
    for (int pos = 1; pos <= length; ++pos) {
        const int t = chain[pos];
        bool seenBefore = false;
        for (int earlier = 1; earlier < pos && !seenBefore; ++earlier)
            seenBefore = chain[earlier] == t;
        if (seenBefore || !isValidTerritory(t))
            continue;
        int last = pos;
        for (int later = pos + 1; later <= length; ++later)
            if (chain[later] == t)
                last = later;
        stops_[t].push_back({route, pos, last});
    }
}

const std::vector<RouteStop> &RouteIndex::stopsOf(int t) const
{
    return stops_[qBound(0, t, kMaxTerritories)];
}
