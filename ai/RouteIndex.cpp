#include "ai/RouteIndex.h"

void RouteIndex::build()
{
    clear();
    catchUp();
}

void RouteIndex::clear()
{
    for (auto &stops : stops_)
        stops.clear();
    for (auto &bits : bits_)
        bits.clear();
    indexed_ = 0;
}

void RouteIndex::catchUp()
{
    const int routes = qBound(0, routeCount, kMaxRoutes);
    while (indexed_ < routes && routeTable[indexed_ + 1].t[1] != 0)
        indexRoute(++indexed_);
}

// Each territory on the route once, with its first and last slot; none that is not on the map.
void RouteIndex::indexRoute(int route)
{
    const auto &chain = routeTable[route].t;
    int length = 0;
    while (length < kRouteLength && chain[length + 1] != 0)
        ++length;
    const std::size_t word = route / 64;
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
        std::vector<quint64> &bits = bits_[t];
        if (bits.size() <= word)
            bits.resize(word + 1, 0);
        bits[word] |= quint64(1) << (route % 64);
    }
}

const std::vector<RouteStop> &RouteIndex::stopsOf(int t) const
{
    return stops_[qBound(0, t, kMaxTerritories)];
}

const std::vector<quint64> &RouteIndex::routeBitsOf(int t) const
{
    return bits_[qBound(0, t, kMaxTerritories)];
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
