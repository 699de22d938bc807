#include "setup/SetupRules.h"

#include "persist/DataStream.h"
#include "persist/SavedGame.h"
#include "rules/TurnState.h"
#include "state/Campaign.h"
#include "state/GameState.h"
#include "state/TextRules.h"

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
    // No longer than the files keep it: the name played is the name a saved game gives back.
    QString name = typedName(typed, kStoredTextLength);
    // The computer players' names begin with "pc".
    if (name.startsWith(QLatin1String("pc")))
        name = QStringLiteral("apc");
    return QString::compare(name, QLatin1String("A")) >= 0 ? name : QString();
}

void nameComputerPlayersFromSettings(int last)
{
    for (int p = 2; p <= last && p <= kMaxPlayers; ++p)
        playerName[p] = configuredPlayerName[p];
}

QString hotseatComputerName(int player)
{
    return player >= 2 && player <= kMaxPlayers ? QLatin1String(kComputerNames[player]) : QString();
}

bool rankGameRules(int rank, int europeDone, RankGameRules &rules)
{
    // By rank: attack rule, strongholds, troop experience, mission, players, conquerors, map,
    // campaign (whose first map replaces the map).
    static const RankGameRules kLadder[] = {
        {'n', true, false, 0, 5, false, MapWorld, 0},
        {'n', false, true, 0, 10, false, MapChina, 0},
        {'n', true, true, 0, 7, false, MapAustralia, 0},
        {'n', true, false, 0, 8, false, MapNorthAmerica, 0},
        {'n', false, false, 0, 10, true, MapJapan, 0},
        {'n', true, false, 3, 10, false, MapSwamp, 0},
        {'n', false, false, 0, 10, false, MapEurope, 0},
        {'n', false, false, 2, 10, false, MapAustralia, 0},
        {'j', false, false, 0, 10, false, MapWorld, CampaignWorlds},
        {'j', false, false, 3, 10, false, MapWorld, CampaignNorthAtlantic},
        {'j', true, false, 3, 7, false, MapWorld, CampaignWestPacific},
        {'j', false, false, 2, 10, false, MapWorld, CampaignWorlds},
    };
    constexpr int kLadderSize = int(sizeof(kLadder) / sizeof(kLadder[0]));
    rules = RankGameRules{};
    if (rank < 0 || rank >= kLadderSize)
        return false;
    rules = kLadder[rank];
    // Colonel asks for Europe and World II: once Europe is won, World II is what is left.
    if (rank == 6 && europeDone)
        rules.map = MapWorldII;
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
    // A joined player's game is saved as the network game it is, as the host's is.
    if (gameMode == ModeHost || gameMode == ModeClient)
        name.prepend(internetGame ? QStringLiteral("INT_") : QStringLiteral("LAN_"));
    return name;
}

void nameGameForSaving(const QString &startText)
{
    const QString name = composeSaveFileName(startText);
    if (!name.isEmpty())
        saveFileName = name;
    defaultSaveName = saveFileName;
}
