#include "state/Campaign.h"

#include "persist/DataFolder.h"
#include "state/BuiltinMaps.h"
#include "state/GameState.h"
#include "state/MapFileSearch.h"
#include "state/MapLoading.h"
#include "state/Seams.h"
#include "state/TextFile.h"
#include "state/TextRules.h"

#include <QFileInfo>

// A campaign file (".cmpgn") is text in two sections:
//
//   [campaign]
//   Three_Isles            <- the campaign's name: the first non-empty line (19 characters kept)
//
//   [maps]
//   Ireland                <- one map a line, in the order they are played: the name of a map
//   Romania                   file in the campaign file's own folder, without ".txt"
//   France
//
// Empty lines are ignored, blanks around a name too. A campaign holds 1 to 10 maps; a map name
// with a folder in it is refused, so a campaign only ever reaches the maps beside it.

qint32 campaignId = NoCampaign;
qint32 campaignMapCount = 1;
qint32 campaignMapIndex = 1;
qint32 campaignPlayer = 1;
QString campaignName;
QString campaignFilePath;
std::array<QString, kMaxCampaignMaps + 1> campaignMapNames;
quint8 campaignCompleted = 0;
quint8 campaignEnded = 0;

namespace {

constexpr int kCampaignNameLength = 19;
const QString kNotFound = QStringLiteral("Not Found - Campaign Map File Error");
const QString kBadMaps = QStringLiteral("[maps] - Map File Error");

struct BuiltinCampaign {
    CampaignId id;
    const char *name;
    std::array<MapFlag, 4> maps;
    int mapCount;
};

const BuiltinCampaign kBuiltinCampaigns[] = {
    {CampaignWorlds, "Worlds", {MapWorld, MapWorldII}, 2},
    {CampaignWestPacific, "West Pacific", {MapAustralia, MapChina, MapJapan}, 3},
    {CampaignNorthAtlantic, "North Atlantic", {MapEurope, MapNorthAmerica}, 2},
    {CampaignThreeNations, "Three Nations", {MapThreeNations, MapThreeNationsB}, 2},
    {CampaignTarvan, "Tarvan GX", {MapSwamp, MapWorldII, MapJapan, MapNorthAmerica}, 4},
};

const BuiltinCampaign *builtinCampaign(int id)
{
    for (const BuiltinCampaign &campaign : kBuiltinCampaigns)
        if (campaign.id == id)
            return &campaign;
    return nullptr;
}

bool isPlainFileName(const QString &name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
        && name != QLatin1String("..") && name != QLatin1String(".");
}

QString campaignMapPath(const QString &campaignPath, const QString &mapName)
{
    return findMapFile(mapName + QStringLiteral(".txt"), QFileInfo(campaignPath).path());
}

bool readCampaign(const QString &path, CampaignFile &campaign)
{
    QStringList lines;
    if (readTextFileLines(path, lines) != TextFileStatus::Ok) {
        showErrorBox(kNotFound);
        return false;
    }
    if (!parseCampaignText(lines, campaign)) {
        showErrorBox(kBadMaps);
        return false;
    }
    if (campaign.name.isEmpty())
        campaign.name = cutToWidth(QFileInfo(path).completeBaseName(), kCampaignNameLength);
    return true;
}

} // namespace

bool parseCampaignText(const QStringList &lines, CampaignFile &campaign)
{
    enum class Section { None, Campaign, Maps } section = Section::None;
    campaign = CampaignFile{};
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1String("[campaign]"))) {
            section = Section::Campaign;
            continue;
        }
        if (line.startsWith(QLatin1String("[maps]"))) {
            section = Section::Maps;
            continue;
        }
        if (line.isEmpty())
            continue;
        if (section == Section::Campaign && campaign.name.isEmpty()) {
            campaign.name = cutToWidth(line, kCampaignNameLength);
        } else if (section == Section::Maps) {
            if (!isPlainFileName(line) || campaign.maps.size() >= kMaxCampaignMaps)
                return false;
            campaign.maps.append(line);
        }
    }
    return !campaign.maps.isEmpty();
}

void loadCampaign()
{
    mapLoadSucceeded = 0;
    QString path = mapFilePath;
    if (useStoredMapPath != 'j') {
        showMapDownloadHint();
        path = interaction().openFileName(QStringLiteral("Load a Campaign..."), startFolderPath,
                                          QStringLiteral("Campaign Files (*.cmpgn)"));
        if (path.isEmpty())
            return;
    }
    CampaignFile campaign;
    if (!readCampaign(path, campaign))
        return;
    const int index = qMax(1, campaignMapIndex);
    if (index > campaign.maps.size()) {
        showErrorBox(kBadMaps);
        return;
    }
    const QString mapPath = campaignMapPath(path, campaign.maps[index - 1]);
    if (!topFiveGame && !QFileInfo::exists(mapPath)) {
        showErrorBox(kNotFound);
        return;
    }
    campaignFilePath = path;
    campaignName = campaign.name;
    campaignMapCount = campaign.maps.size();
    campaignMapIndex = index;
    for (int i = 1; i <= kMaxCampaignMaps; ++i)
        campaignMapNames[i] = i <= campaignMapCount ? campaign.maps[i - 1] : QString();
    mapFilePath = mapPath;
    mapLoadSucceeded = 1;
}

void selectNextCampaignMap()
{
    if (campaignMapIndex >= campaignMapCount) {
        campaignCompleted = 1;
        return;
    }
    ++campaignMapIndex;
    if (campaignId == CampaignFromFile) {
        mapFilePath = campaignMapPath(campaignFilePath, campaignMapNames[campaignMapIndex]);
        useStoredMapPath = 'j';
        selectMap(MapCustom);
        return;
    }
    if (const BuiltinCampaign *campaign = builtinCampaign(campaignId))
        if (campaignMapIndex <= campaign->mapCount)
            selectMap(campaign->maps[campaignMapIndex - 1]);
}

void resetCampaignState()
{
    campaignId = NoCampaign;
    campaignMapCount = 1;
    campaignMapIndex = 1;
    campaignPlayer = 1;
    campaignName.clear();
    campaignFilePath.clear();
    campaignMapNames.fill(QString());
    campaignCompleted = 0;
    campaignEnded = 0;
}
