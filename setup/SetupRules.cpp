#include "setup/SetupRules.h"

#include "rules/TurnState.h"
#include "state/Campaign.h"
#include "state/GameState.h"

#include <algorithm>

namespace {

constexpr MapFlag kAnswerMaps[] = {MapWorld, MapEurope, MapNorthAmerica, MapChina, MapJapan, MapWorldII,
                                   MapSwamp, MapAustralia, MapCustom, MapScandinavia, MapRealWorld};

const BuiltinCampaignChoice kCampaignChoices[] = {
    {CampaignWorlds, "Worlds          (World - World II)", 2, MapWorld},
    {CampaignWestPacific, "West Pacific    (Australia - China - Japan)", 3, MapAustralia},
    {CampaignNorthAtlantic, "North Atlantic  (Europe - North America)", 2, MapEurope},
    {CampaignTarvan, "Tarvan GX       (Swamp - World II - Japan - North America)", 4, MapSwamp},
};

// The maps whose word names a saved game, in the order they are looked at.
constexpr MapFlag kSaveNameOrder[] = {MapSwamp, MapRealWorld, MapSwampII, MapWorms, MapScandinavia,
                                      MapChina, MapGreatBritain, MapAustralia, MapJapan, MapNorthAmerica,
                                      MapWorldII, MapWorld, MapEurope};

const char *const kCampaignWords[] = {"", "CMPGN_Worlds", "CMPGN_WPacif", "CMPGN_NAtlan", "CMPGN_3Natio",
                                      "CMPGN_Tarvan"};

const char *const kComputerNames[] = {"", "", "pc II", "pc III", "pc IV", "pc V", "pc VI",
                                      "pc VII", "pc VIII", "pc IX", "pc X"};

constexpr int kMinComputerPlayers = 2;
constexpr int kMaxComputerPlayers = 9;

int suggestionOfMap()
{
    switch (selectedMap()) {
    case MapWorld:
    case MapEurope:
    case MapChina:
        return 3;
    case MapAustralia:
    case MapScandinavia:
    case MapNorthAmerica:
    case MapJapan:
    case MapWorldII:
        return 5;
    case MapRealWorld:
    case MapGreatBritain:
        return 7;
    case MapCustom:
        return territoriesPer12 <= 3 ? 1 : territoriesPer12 - 1;
    default:
        return 9;
    }
}

// A name read from a file becomes part of a file name: no folder may creep in with it.
QString fileNameSafe(const QString &text)
{
    QString safe = text;
    for (QChar &c : safe)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20)
            c = QLatin1Char('_');
    return safe;
}

QString saveNameWord()
{
    if (campaignId == CampaignFromFile)
        return QStringLiteral("My_CMPGN_") + fileNameSafe(campaignName.trimmed());
    if (mapCustomFlag)
        return QStringLiteral("My") + fileNameSafe(mapName.trimmed());
    if (campaignId >= CampaignWorlds && campaignId <= CampaignTarvan)
        return QLatin1String(kCampaignWords[campaignId]);
    for (MapFlag flag : kSaveNameOrder)
        if (builtinMapFlags[flag])
            if (const BuiltinMap *map = builtinMapFor(flag))
                return QLatin1String(map->name);
    return QString();
}

} // namespace

MapFlag mapOfAnswer(int answer)
{
    constexpr int count = int(sizeof(kAnswerMaps) / sizeof(kAnswerMaps[0]));
    return answer >= 1 && answer <= count ? kAnswerMaps[answer - 1] : MapFlagCount;
}

const BuiltinCampaignChoice *campaignChoicesBegin()
{
    return std::begin(kCampaignChoices);
}

const BuiltinCampaignChoice *campaignChoicesEnd()
{
    return std::end(kCampaignChoices);
}

const BuiltinCampaignChoice *campaignChoice(int id)
{
    for (const BuiltinCampaignChoice &campaign : kCampaignChoices)
        if (campaign.id == id)
            return &campaign;
    return nullptr;
}

void selectBuiltinCampaign(const BuiltinCampaignChoice &campaign)
{
    campaignId = campaign.id;
    campaignMapCount = campaign.mapCount;
    selectMap(campaign.firstMap);
}

int suggestedComputerPlayers()
{
    int suggestion = suggestionOfMap();
    // Strongholds seat no more players than there are continents.
    if (strongholdsEnabled && continentCount > 3)
        suggestion = std::min(continentCount - 3, 7);
    return std::max(kMinComputerPlayers, suggestion);
}

bool computerPlayersOffered(int n)
{
    if (n < kMinComputerPlayers || n > kMaxComputerPlayers)
        return false;
    // The demo's seat 1 is nobody's: two computer players would be one game of one.
    if (gameMode == ModeDemo && n == 2)
        return false;
    if (!strongholdsEnabled || continentCount == 0 || continentCount > 9)
        return true;
    return n <= continentCount - 1;
}

int hotseatMaxPlayers()
{
    return strongholdsEnabled ? std::min<int>(continentCount, kMaxPlayers) : kMaxPlayers;
}

QString acceptedHotseatName(const QString &typed)
{
    QString name = typed.trimmed();
    // The computer players' names begin with "pc".
    if (name.startsWith(QLatin1String("pc")))
        name = QStringLiteral("apc");
    return QString::compare(name, QLatin1String("A")) >= 0 ? name : QString();
}

QString hotseatComputerName(int player)
{
    return player >= 2 && player <= kMaxPlayers ? QLatin1String(kComputerNames[player]) : QString();
}

bool rankGameRules(int rank, int europeDone, RankGameRules &rules)
{
    rules = RankGameRules{};
    rules.players = rank == 0 ? 5 : 10;
    switch (rank) {
    case 0:
        rules.strongholds = true;
        rules.map = MapWorld;
        break;
    case 1:
        rules.troopExperience = true;
        rules.map = MapChina;
        break;
    case 2:
        rules.troopExperience = rules.strongholds = true;
        rules.players = 7;
        rules.map = MapAustralia;
        break;
    case 3:
        rules.strongholds = true;
        rules.players = 8;
        rules.map = MapNorthAmerica;
        break;
    case 4:
        rules.conquerors = true;
        rules.map = MapJapan;
        break;
    case 5:
        rules.strongholds = true;
        rules.mission = 3;
        rules.map = MapSwamp;
        break;
    case 6:
        // Colonel asks for Europe and World II: once Europe is won, World II is what is left.
        rules.map = europeDone ? MapWorldII : MapEurope;
        break;
    case 7:
        rules.mission = 2;
        rules.map = MapAustralia;
        break;
    case 8:
        rules.attackRule = 'j';
        rules.campaign = CampaignWorlds;
        break;
    case 9:
        rules.attackRule = 'j';
        rules.mission = 3;
        rules.campaign = CampaignNorthAtlantic;
        break;
    case 10:
        rules.attackRule = 'j';
        rules.strongholds = true;
        rules.mission = 3;
        rules.players = 7;
        rules.campaign = CampaignWestPacific;
        break;
    case 11:
        rules.attackRule = 'j';
        rules.mission = 2;
        rules.campaign = CampaignWorlds;
        break;
    default:
        return false;
    }
    if (const BuiltinCampaignChoice *campaign = campaignChoice(rules.campaign))
        rules.map = campaign->firstMap;
    return true;
}

QString formatStartText(const QDateTime &moment, const QLocale &locale)
{
    return locale.toString(moment, QStringLiteral("MMMddyyyyhhmm"));
}

QString newArmiesNotice(int territories)
{
    if (territories <= 90)
        return QString();
    const int divisor = reinforcementDivisorFor(territories);
    const int over = 90 + 30 * (divisor - 4);
    return QStringLiteral("New armies: Territories you own / 3  \n\nMaps with more than %1 territories:   "
                          "territories you own / %2")
        .arg(over)
        .arg(divisor);
}

QString composeSaveFileName(const QString &startText)
{
    const QString word = saveNameWord();
    if (word.isEmpty())
        return QString();
    QString name = word + startText + QStringLiteral(".TrvGX");
    if (gameMode == ModeHost)
        name.prepend(internetGame ? QStringLiteral("INT_") : QStringLiteral("LAN_"));
    return name;
}
