#include "state/BuiltinMaps.h"

#include "maps/MapTexts.h"
#include "state/GameState.h"
#include "state/MapFile.h"
#include "state/MapLoading.h"

std::array<quint8, MapFlagCount> builtinMapFlags{};

namespace {

const BuiltinMap swampIIMap = {MapSwampII, "SwampII", mapTextSwampII, nullptr, nullptr, 820, 20};

const BuiltinMap *const kBuiltinMaps[] = {&worldMap, &swampIIMap, &swampMap, &wormsMap,
                                          &threeNations1Map, &threeNations2Map, &greatBritainMap,
                                          &scandinaviaMap, &realWorldMap, &worldIIMap, &europeMap,
                                          &northAmericaMap, &chinaMap, &japanMap, &australiaMap};

// The order in which the loader looks at the flags.
constexpr MapFlag kLoadOrder[] = {
    MapCustom, MapNorthAmerica, MapWorldII, MapJapan, MapAustralia, MapScandinavia,
    MapGreatBritain, MapChina, MapWorms, MapRealWorld, MapSwampII, MapSwamp,
    MapThreeNationsB, MapThreeNations, MapWorld, MapEurope};

MapTables blankMapTables()
{
    MapTables blank;
    for (QString &code : blank.territoryCode)
        code = QStringLiteral(" ");
    return blank;
}

// Display names are padded with blanks to the longest a continent name can be.
void applyContinentNames(const BuiltinMap &map)
{
    if (!map.continentNames)
        return;
    for (int c = 1; c <= kMaxContinents && map.continentNames[c - 1]; ++c)
        continentName[c] = QString::fromUtf8(map.continentNames[c - 1]).leftJustified(20, QLatin1Char(' '));
}

bool isNetworkGame()
{
    return gameMode == ModeHost || gameMode == ModeClient;
}

} // namespace

void selectMap(MapFlag flag)
{
    builtinMapFlags.fill(0);
    if (flag >= 0 && flag < MapFlagCount)
        builtinMapFlags[flag] = 1;
}

MapFlag selectedMap()
{
    for (MapFlag flag : kLoadOrder)
        if (builtinMapFlags[flag])
            return flag;
    return MapFlagCount;
}

const BuiltinMap *builtinMapFor(MapFlag flag)
{
    for (const BuiltinMap *map : kBuiltinMaps)
        if (map->flag == flag)
            return map;
    return nullptr;
}

void appendRoute(std::initializer_list<qint32> chain)
{
    if (routeCount >= kMaxRoutes)
        return;
    RouteRecord &record = routeTable[++routeCount];
    record = RouteRecord{};
    int slot = 0;
    for (qint32 t : chain)
        if (slot < kRouteLength)
            record.t[++slot] = t;
}

std::vector<const BuiltinMap *> allBuiltinMaps()
{
    std::vector<const BuiltinMap *> maps;
    for (int flag = 0; flag < MapFlagCount; ++flag)
        if (const BuiltinMap *map = builtinMapFor(static_cast<MapFlag>(flag)))
            maps.push_back(map);
    return maps;
}

int buildBuiltinMap(const BuiltinMap &map)
{
    mapFileLines.clear();
    map.appendText();
    MapTables scratch = blankMapTables();
    const int result = parseMapText(mapFileLines, scratch, isNetworkGame());
    if (result != MapFileOk)
        return result;

    mapTables = scratch;
    clearRoutes();
    if (map.applyExtras)
        map.applyExtras();
    applyContinentNames(map);
    settleNewMap();
    return MapFileOk;
}

void loadSelectedBuiltinMap()
{
    const MapFlag flag = selectedMap();
    if (flag == MapFlagCount)
        return;
    if (flag == MapCustom) {
        reloadMapFile();
        return;
    }
    setBuiltinMapParameters();
    if (const BuiltinMap *map = builtinMapFor(flag))
        buildBuiltinMap(*map);
    mapPaintState = QStringLiteral("0");
}

void setBuiltinMapParameters()
{
    const BuiltinMap *map = builtinMapFor(selectedMap());
    if (!map)
        return;
    mapFileLines.clear();
    map->appendText();
    MapTables counted = blankMapTables();
    if (parseMapText(mapFileLines, counted, false) != MapFileOk)
        return;
    MapTables cleared = blankMapTables();
    cleared.territoryCount = counted.territoryCount;
    cleared.continentCount = counted.continentCount;
    cleared.maxContinentSize = counted.maxContinentSize;
    cleared.maxBorderCount = counted.maxBorderCount;
    cleared.totalBorderCount = counted.totalBorderCount;
    mapTables = cleared;
    reinforcementDivisor = reinforcementDivisorFor(territoryCount);
    clearRoutes();
}

void setBuiltinContinentNames()
{
    const MapFlag flag = selectedMap();
    if (flag == MapCustom || flag == MapSwampII)
        return;
    if (const BuiltinMap *map = builtinMapFor(flag))
        applyContinentNames(*map);
}

void buildWorldMap()
{
    buildBuiltinMap(worldMap);
}

int loadBuiltinSwampII()
{
    return buildBuiltinMap(*builtinMapFor(MapSwampII));
}
