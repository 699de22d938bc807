#include "ai/RouteIndex.h"

namespace {

// A territory's stop on a route: its first and last slot, or none when it is not on the map or
// appeared earlier on the route.
void addStops(std::array<std::vector<RouteStop>, kMaxTerritories + 1> &stops, int route)
{
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
        stops[t].push_back({route, pos, last});
    }
}

} // namespace

void RouteIndex::build()
{
    clear();
    ++builds_;
    catchUp();
}

void RouteIndex::clear()
{
    for (auto &stops : stops_)
        stops.clear();
    indexed_ = 0;
}

void RouteIndex::catchUp()
{
    const int routes = qBound(0, routeCount, kMaxRoutes);
    while (indexed_ < routes && routeTable[indexed_ + 1].t[1] != 0)
        addStops(stops_, ++indexed_);
}

const std::vector<RouteStop> &RouteIndex::stopsOf(int t) const
{
    return stops_[qBound(0, t, kMaxTerritories)];
}

const RouteIndex &currentRouteIndex()
{
    static RouteIndex index;
    static quint32 clearings = 0;
    static qint32 territories = -1;
    if (clearings != routeTableClearings || territories != territoryCount || routeCount < index.indexed_) {
        clearings = routeTableClearings;
        territories = territoryCount;
        index.build();
    } else {
        index.catchUp();
    }
    return index;
}
