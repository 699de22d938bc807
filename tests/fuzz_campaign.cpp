// A campaign file as the game plays one: any text read as a campaign file, and the maps it names
// loaded one after the other as the set-up loads the first and the end of each map the next, from
// the map files of a folder beside it. The folder is filled at start from TARVAN_FUZZ_MAPS, the
// map files that fuzz_seeds puts there (tools/setup.sh names it). A campaign it takes names one to
// ten maps, each a plain file name; a map that does not load leaves the map before it in play.

#include "fuzz_support.h"

#include "state/BuiltinMaps.h"
#include "state/Campaign.h"
#include "state/GameState.h"
#include "state/MapLoading.h"

#include <QFileInfo>

#include <cstdio>

namespace {

QString campaignPath()
{
    return QDir(fuzzDataFolder()).filePath(QStringLiteral("fuzz.cmpgn"));
}

// The map files beside the campaign file, as the run folder's maps folder holds them.
void fillMapFolder()
{
    const QDir seeded(qEnvironmentVariable("TARVAN_FUZZ_MAPS"));
    const QDir maps(QDir(fuzzDataFolder()).filePath(QStringLiteral("maps")));
    maps.mkpath(QStringLiteral("."));
    const QStringList files = seeded.entryList({QStringLiteral("*.txt")}, QDir::Files);
    for (const QString &name : files)
        QFile::copy(seeded.filePath(name), maps.filePath(name));
    if (files.isEmpty())
        std::fprintf(stderr, "fuzz_campaign: no map files in TARVAN_FUZZ_MAPS; every campaign map is missing\n");
}

bool plainName(const QString &name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

void requireCampaignTaken()
{
    FUZZ_REQUIRE(campaignMapCount >= 1 && campaignMapCount <= kMaxCampaignMaps);
    for (int i = 1; i <= kMaxCampaignMaps; ++i)
        FUZZ_REQUIRE(i <= campaignMapCount ? plainName(campaignMapNames[i]) : campaignMapNames[i].isEmpty());
}

// The current campaign map, loaded as the game loads it; false when it did not load.
bool loadCampaignMap()
{
    const MapTables before = mapTables;
    loadMap();
    if (!mapLoadSucceeded) {
        FUZZ_REQUIRE(mapTables.territoryCount == before.territoryCount && mapTables.mapName == before.mapName);
        return false;
    }
    FUZZ_REQUIRE(selectedMap() == MapCustom);
    FUZZ_REQUIRE(territoryCount >= 1 && territoryCount <= kMaxTerritories);
    FUZZ_REQUIRE(continentCount >= 0 && continentCount <= kMaxContinents);
    FUZZ_REQUIRE(QFileInfo(mapFilePath).fileName() == campaignMapNames[campaignMapIndex] + QStringLiteral(".txt"));
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    startFuzzing();
    fillMapFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    resetCoreState();
    FUZZ_REQUIRE(writeFile(campaignPath(), inputBytes(data, size)));
    campaignId = CampaignFromFile;
    useStoredMapPath = 'j';
    mapFilePath = campaignPath();
    loadCampaign();
    if (!mapLoadSucceeded)
        return 0;
    requireCampaignTaken();
    while (loadCampaignMap()) {
        selectNextCampaignMap();
        if (campaignCompleted)
            break;
    }
    return 0;
}
