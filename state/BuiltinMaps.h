#pragma once
// The maps built into the program and the one flag that says which is current.

#include <QtGlobal>

#include <array>
#include <cstddef>
#include <initializer_list>
#include <vector>

// In the order the map flags are kept in.
enum MapFlag {
    MapSwampII = 0,
    MapThreeNationsB,
    MapThreeNations,
    MapSwamp,
    MapRealWorld,
    MapGreatBritain,
    MapChina,
    MapWorms,
    MapScandinavia,
    MapAustralia,
    MapJapan,
    MapCustom, // a map file
    MapEurope,
    MapNorthAmerica,
    MapWorldII,
    MapWorld,
    MapFlagCount
};

extern std::array<quint8, MapFlagCount> builtinMapFlags;
inline quint8 &mapSwampIIFlag = builtinMapFlags[MapSwampII];
inline quint8 &mapThreeNationsBFlag = builtinMapFlags[MapThreeNationsB];
inline quint8 &mapThreeNationsFlag = builtinMapFlags[MapThreeNations];
inline quint8 &mapSwampFlag = builtinMapFlags[MapSwamp];
inline quint8 &mapRealWorldFlag = builtinMapFlags[MapRealWorld];
inline quint8 &mapGreatBritainFlag = builtinMapFlags[MapGreatBritain];
inline quint8 &mapChinaFlag = builtinMapFlags[MapChina];
inline quint8 &mapWormsFlag = builtinMapFlags[MapWorms];
inline quint8 &mapScandinaviaFlag = builtinMapFlags[MapScandinavia];
inline quint8 &mapAustraliaFlag = builtinMapFlags[MapAustralia];
inline quint8 &mapJapanFlag = builtinMapFlags[MapJapan];
inline quint8 &mapCustomFlag = builtinMapFlags[MapCustom];
inline quint8 &mapEuropeFlag = builtinMapFlags[MapEurope];
inline quint8 &mapNorthAmericaFlag = builtinMapFlags[MapNorthAmerica];
inline quint8 &mapWorldIIFlag = builtinMapFlags[MapWorldII];
inline quint8 &mapWorldFlag = builtinMapFlags[MapWorld];

// Makes `flag` the one map flag that is set.
void selectMap(MapFlag flag);
// The map flag that is set, in the order the loader looks at them; MapFlagCount when none.
MapFlag selectedMap();

// A map built into the program: its text in the map-file format, and what that format lacks.
struct BuiltinMap {
    MapFlag flag;
    const char *name;       // the map's word in the names of saved games and for the simulator
    void (*appendText)();   // appends the map-file text to `mapFileLines`
    void (*applyExtras)();  // territory codes and predefined routes; may be null
    const char *const *continentNames; // display names of continents 1.., null-ended; may be null
    qint32 panelX;          // the player panel at the picture's design size
    qint32 panelY;
};
// The built-in map of a flag, or nullptr when the program has none for it.
const BuiltinMap *builtinMapFor(MapFlag flag);
// Every built-in map the program has, in flag order.
std::vector<const BuiltinMap *> allBuiltinMaps();

// Appends a predefined chain of adjacent territories to the route table (up to 16 territories,
// while the table has room).
void appendRoute(std::initializer_list<qint32> chain);

// Appends every chain of a map's predefined routes, in order.
template <std::size_t N>
void appendRoutes(const std::initializer_list<qint32> (&chains)[N])
{
    for (const auto &chain : chains)
        appendRoute(chain);
}

// Builds a built-in map through the map parser: on success the map tables, a fresh deal table
// coloured by continent, a full card deck and the map's routes; returns the parser's result,
// and leaves the previous map untouched when it is not 0.
int buildBuiltinMap(const BuiltinMap &map);

// Builds the map whose flag is set (a map file is read again from `mapFilePath`).
void loadSelectedBuiltinMap();
// Clears the map tables and sets the map counts of the map whose flag is set.
void setBuiltinMapParameters();
// The display names of the current built-in map's continents; map files and SwampII keep the
// names of their text.
void setBuiltinContinentNames();
// Returns the parser's result: SwampII is too large for a network game.
int loadBuiltinSwampII();

// The builders of the maps built into the program.
void buildWorldMap();
void buildSwampMap();
void buildRealWorldMap();
void buildScandinaviaMap();
void buildGreatBritainMap();
void buildWormsMap();
void buildThreeNationsMap1();
void buildThreeNationsMap2();
void buildWorldIIMap();
void buildEuropeMap();
void buildNorthAmericaMap();
void buildChinaMap();
void buildJapanMap();
void buildAustraliaMap();

// The map data of each built-in map (one source each).
extern const BuiltinMap worldMap;
extern const BuiltinMap swampMap;
extern const BuiltinMap realWorldMap;
extern const BuiltinMap scandinaviaMap;
extern const BuiltinMap greatBritainMap;
extern const BuiltinMap wormsMap;
extern const BuiltinMap threeNations1Map;
extern const BuiltinMap threeNations2Map;
extern const BuiltinMap worldIIMap;
extern const BuiltinMap europeMap;
extern const BuiltinMap northAmericaMap;
extern const BuiltinMap chinaMap;
extern const BuiltinMap japanMap;
extern const BuiltinMap australiaMap;

// The display names of the nine provinces that both Three Nations maps show.
extern const char *const threeNationsContinentNames[];
