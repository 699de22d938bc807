// The map-file parser on any text: a map file, a map text or a campaign's map. A text that does
// not parse leaves the map in play exactly as it was.

#include "fuzz_support.h"

#include "state/BuiltinMaps.h"
#include "state/MapFile.h"
#include "state/TextFile.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    startFuzzing();
    selectMap(MapWorld);
    loadSelectedBuiltinMap();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    mapFileLines = textLinesOf(inputBytes(data, size));
    const MapTables before = mapTables;
    for (int mode : {int(ModeSinglePlayer), int(ModeHost)}) {
        gameMode = mode;
        int result = -1;
        loadMapFile(result);
        if (result != MapFileOk) {
            FUZZ_REQUIRE(mapTables.territoryCount == before.territoryCount);
            FUZZ_REQUIRE(mapTables.mapName == before.mapName);
        }
        FUZZ_REQUIRE(territoryCount >= 0 && territoryCount <= kMaxTerritories);
        FUZZ_REQUIRE(continentCount >= 0 && continentCount <= kMaxContinents);
        mapTables = before;
    }
    return 0;
}
