#include "persist/SavedGameLoading.h"

#include "ai/AiState.h"
#include "ai/Toolkit.h"
#include "persist/Ranks.h"
#include "persist/SavedGame.h"
#include "persist/Settings.h"
#include "rules/GameEnd.h"
#include "rules/PlayerRecords.h"
#include "rules/Seats.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "state/Campaign.h"
#include "state/MapFileSearch.h"
#include "state/MapLoading.h"
#include "state/Seams.h"
#include "state/StepQueues.h"
#include "state/TextRules.h"

#include <QFileInfo>

namespace {

const QLatin1String kLanPrefix("LAN_");
const QLatin1String kInternetPrefix("INT_");
const QLatin1String kCampaignPrefix("CMPGN_");
const QLatin1String kMapFilePrefix("My");
const QLatin1String kCampaignFilePrefix("My_CMPGN_");

// Message steps the loader queues for the game loop.
constexpr int kEmptyStep = 100;
constexpr int kMissionContinentShown = 2;
constexpr int kMissionContinentEnds = 3;
constexpr int kMissionForm = 100;
constexpr int kEscortStep = 18;
constexpr int kAfterDeclinedLoad = 10;
constexpr int kShowPlayerStep = 7;

// The map a saved game names: the stored campaign's map, the map file (flag only), or the
// built-in map its territories show.
MapFlag mapOfSavedGame(const SavedGameKind &kind, const SavedGameRecord &game)
{
    if (kind.mapFile)
        return MapCustom;
    if (kind.builtinCampaign)
        return builtinCampaignMap(game.campaignId, game.campaignMapIndex);
    return recogniseSavedGameMap(game.territoryState);
}

void takeCampaignPosition(const SavedGameKind &kind, const SavedGameRecord &game)
{
    campaignCompleted = 0;
    campaignEnded = 0;
    if (!kind.builtinCampaign && !kind.campaignFile)
        return;
    campaignId = game.campaignId;
    campaignMapCount = game.campaignMapCount;
    campaignMapIndex = game.campaignMapIndex;
    campaignPlayer = game.campaignPlayer;
    if (kind.campaignFile)
        campaignName = game.campaignName;
}

// Loads the map of the stored game; false when it no longer loads (the loader said why).
bool loadMapOfSavedGame(const SavedGameKind &kind, MapFlag flag)
{
    const SavedGameRecord &game = savedGameMirror;
    useStoredMapPath = 'j';
    if (kind.mapFile) {
        // The map (or campaign) file may have moved since, or the game was saved on another
        // machine.
        const QFileInfo stored(game.mapPath);
        mapFilePath = findMapFile(stored.fileName(), stored.path());
        if (game.campaignId == CampaignFromFile) {
            // The campaign points `mapFilePath` at its current map.
            loadCampaign();
            if (!mapLoadSucceeded)
                return false;
        }
        loadMap();
        return mapLoadSucceeded != 0;
    }
    selectMap(flag);
    loadSelectedBuiltinMap();
    return true;
}

bool within(qint32 value, qint32 low, qint32 high)
{
    return value >= low && value <= high;
}

// Every territory of the map has a player of the game, none beyond it is held, and what names
// a territory, a continent or a player stays on this map and among these players.
bool fitsCurrentMap(const SavedGameRecord &game)
{
    for (int t = 1; t <= kMaxTerritories; ++t) {
        const qint32 owner = game.territoryState[t].owner;
        if (t <= territoryCount ? !within(owner, 1, game.playerCount) : owner != 0)
            return false;
    }
    for (int p = 1; p <= kMaxPlayers; ++p) {
        if (!within(game.playerTable[p].stronghold(), 0, territoryCount)
            || !within(game.avengeTarget[p], 0, game.playerCount) || !within(game.pairs10[p].id, 0, game.playerCount))
            return false;
        for (int c = 1; c <= kMaxContinents; ++c)
            if (!within(game.missionContinents[p][c], 0, continentCount))
                return false;
    }
    return within(game.escortTarget, 0, game.playerCount);
}

void copyStoredGame(const SavedGameRecord &game)
{
    territoryState = game.territoryState;
    playerTable = game.playerTable;
    pairs10 = game.pairs10;
    currentPlayer = game.currentPlayer;
    cardDeckCounts = game.cardDeckCounts;
    takeStoredGameOptions(game);
    attackMadeThisTurn = game.attackMadeThisTurn;
    turnsTaken = game.turnsTaken;
    gameMode = game.gameMode;
    campaignId = game.campaignId;
    campaignMapCount = game.campaignMapCount;
    campaignMapIndex = game.campaignMapIndex;
    campaignPlayer = game.campaignPlayer;
    missionContinents = game.missionContinents;
    missionContinentIndex = game.missionContinentIndex;
    missionFailed = 0;
    escortTarget = game.escortTarget;
    rankGame = game.rankGame;
}

// A rank game goes on as one only while the player's rank is what it was when it began.
void checkRankGame(const SavedGameRecord &game)
{
    if (!rankGame) {
        rankAtGameStart = rankFlagAtGameStart = kNoRankAtStart;
        return;
    }
    qint32 rank = 0;
    qint32 second = 0;
    computeSinglePlayerRank(&rank, &second);
    rankAtGameStart = game.rankAtGameStart;
    rankFlagAtGameStart = game.rankFlagAtGameStart;
    if (rankAtGameStart != rank || rankFlagAtGameStart != second) {
        rankGame = 0;
        rankAtGameStart = rankFlagAtGameStart = kNoRankAtStart;
    }
}

void takeStoredNames(const SavedGameRecord &game)
{
    campaignName = game.campaignName;
    for (int p = 1; p <= kMaxPlayers; ++p)
        playerName[p] = game.playerName[p];
}

// The game as it stood when it was saved: the turn's copy of the records, the losses shown and
// the map showing every territory.
void showStoredGame()
{
    lossCount = isValidPlayer(currentPlayer) ? playerTable[currentPlayer].battleLosses() : 0;
    playerTableAtTurnStart = playerTable;
    resumedGameMark = 'j';
    useStoredMapPath = 'j';
    gameLoaded = 1;
    gameOver = 0;
    turnStartPlayer = currentPlayer;
    for (int t = 1; t <= territoryCount; ++t)
        displayedTerritoryState[t] = territoryState[t];
    mapPaintState = QStringLiteral("0");
}

void reportMisfit(const QString &path)
{
    interaction().message(MessageIcon::Warning, QStringLiteral("Tarvan GX"),
                          QStringLiteral("The saved game %1 does not fit its map and cannot be loaded.")
                              .arg(QFileInfo(path).fileName()));
}

void rebuildContinentOrder()
{
    continentOrder.fill({});
    for (int c = 1; c <= continentCount; ++c)
        continentOrder[c] = {c, continentTable[c].bonus};
    sortPairs(5, continentCount);
}

// The Continents mission shows the continent it now asks for; the Escort mission names the ally.
void queueMissionReminder()
{
    if (missionType == 1) {
        const int c = isValidPlayer(currentPlayer) && within(missionContinentIndex, 1, kMaxContinents)
            ? missionContinents[currentPlayer][missionContinentIndex]
            : 0;
        if (!messageQueueHasRoom(5))
            return;
        pushMessageStep(makeStep(kEmptyStep));
        pushMessageStep(makeStep(kMissionContinentShown, c, kMissionForm));
        pushMessageStep(makeStep(kEmptyStep));
        pushMessageStep(makeStep(kEmptyStep));
        pushMessageStep(makeStep(kMissionContinentEnds, c, kMissionForm));
    } else if (missionType == 3) {
        pushMessageStep(makeStep(kEscortStep));
    }
}

// A seat of the host's game waits for its player: "Alice" shows as "Al.." until he joins.
} // namespace

bool seatWaitsForPlayer(const QString &savedName)
{
    return !savedName.trimmed().isEmpty() && !savedName.startsWith(QLatin1String("pc"));
}

QString waitingSeatName(const QString &name)
{
    return seatWaitsForPlayer(name) ? cutToWidth(name, 2) + QStringLiteral("..") : name;
}

SavedGameKind classifySavedGameName(const QString &fileName)
{
    SavedGameKind kind;
    kind.lanHost = fileName.startsWith(kLanPrefix);
    kind.internetHost = fileName.startsWith(kInternetPrefix);
    kind.builtinCampaign = fileName.startsWith(kCampaignPrefix);
    kind.mapFile = fileName.startsWith(kMapFilePrefix) || fileName.startsWith(QLatin1String("LAN_My"))
        || fileName.startsWith(QLatin1String("INT_My"));
    kind.campaignFile = fileName.startsWith(kCampaignFilePrefix);
    return kind;
}

QString savedGameKindPrefix(const SavedGameKind &kind)
{
    QString prefix = kind.lanHost ? kLanPrefix : kind.internetHost ? kInternetPrefix : QLatin1String("");
    if (kind.campaignFile)
        prefix += kCampaignFilePrefix;
    else if (kind.builtinCampaign)
        prefix += kCampaignPrefix;
    else if (kind.mapFile)
        prefix += kMapFilePrefix;
    return prefix;
}

SavedGameKind runningGameKind()
{
    SavedGameKind kind;
    // A joined player's game is the network game too: without the host's start its file would
    // come back as a local game in which nobody plays the other machines' seats. Network games
    // resume only as a host's lobby, so on this machine it reopens as one.
    const bool network = gameMode == ModeHost || gameMode == ModeClient;
    kind.lanHost = network && !internetGame;
    kind.internetHost = network && internetGame;
    kind.campaignFile = campaignId == CampaignFromFile;
    kind.mapFile = kind.campaignFile || selectedMap() == MapCustom;
    kind.builtinCampaign = !kind.mapFile && campaignId >= CampaignWorlds && campaignId <= CampaignTarvan;
    return kind;
}

QString savedGameNameOfKind(const QString &typed, const SavedGameKind &kind, QString *clash)
{
    if (classifySavedGameName(typed) == kind)
        return typed;
    const QString prefix = savedGameKindPrefix(kind);
    const QString name = prefix + typed;
    if (classifySavedGameName(name) == kind)
        return name;
    // Only a kind without a start of its own after the host's gets here: the typed name begins
    // with the start of another kind.
    if (clash) {
        const QString rest = typed.startsWith(prefix) ? typed.mid(prefix.size()) : typed;
        SavedGameKind restKind = classifySavedGameName(rest);
        restKind.lanHost = restKind.lanHost && !kind.networkHost();
        restKind.internetHost = restKind.internetHost && !kind.networkHost();
        *clash = savedGameKindPrefix(restKind);
    }
    return QString();
}

MapFlag recogniseSavedGameMap(const StoredTerritories &territories)
{
    static const struct {
        int territory;
        MapFlag flag;
    } kTests[] = {{200, MapSwampII},     {110, MapWorms},      {106, MapSwamp},  {85, MapRealWorld},
                  {82, MapGreatBritain}, {63, MapScandinavia}, {57, MapWorldII}, {56, MapNorthAmerica},
                  {52, MapAustralia},    {51, MapJapan},       {43, MapChina},   {42, MapWorld}};
    for (const auto &test : kTests)
        if (territories[test.territory].owner > 0)
            return test.flag;
    return MapEurope;
}

MapFlag builtinCampaignMap(int campaign, int mapIndex)
{
    if (campaign < CampaignWorlds || campaign > CampaignTarvan || mapIndex < 1 || mapIndex > kMaxCampaignMaps)
        return MapFlagCount;
    // The campaigns' own table picks the map: step onto the map from the one before it, then put
    // everything back as it was.
    const auto flags = builtinMapFlags;
    const qint32 id = campaignId, count = campaignMapCount, index = campaignMapIndex;
    const quint8 completed = campaignCompleted;
    builtinMapFlags.fill(0);
    campaignId = campaign;
    campaignMapCount = kMaxCampaignMaps;
    campaignMapIndex = mapIndex - 1;
    selectNextCampaignMap();
    const MapFlag flag = selectedMap();
    builtinMapFlags = flags;
    campaignId = id;
    campaignMapCount = count;
    campaignMapIndex = index;
    campaignCompleted = completed;
    return flag;
}

SavedGameRestore restoreSavedGame(const QString &path)
{
    const SavedGameRecord &game = savedGameMirror;
    const SavedGameKind kind = classifySavedGameName(QFileInfo(path).fileName());
    if (kind.networkHost()) {
        internetGame = kind.internetHost ? 1 : 0;
        networkKind = kind.internetHost ? 2 : 1;
    }
    takeCampaignPosition(kind, game);
    const MapFlag flag = mapOfSavedGame(kind, game);
    if (flag != MapFlagCount && !loadMapOfSavedGame(kind, flag))
        return SavedGameRestore::MapFailed;
    if (flag == MapFlagCount || !fitsCurrentMap(game)) {
        reportMisfit(path);
        return SavedGameRestore::Misfit;
    }
    markGameUnderWay();
    copyStoredGame(game);
    // The file of a host's game resumes on this machine as the host, whoever saved it.
    if (kind.networkHost())
        gameMode = ModeHost;
    checkRankGame(game);
    takeStoredNames(game);
    showStoredGame();
    return SavedGameRestore::Restored;
}

void takeStoredGameOptions(const SavedGameRecord &game)
{
    cardTradeMarker = game.cardTradeMarker;
    humanPlayerCount = game.humanPlayerCount;
    playerCount = game.playerCount;
    cardEarnedThisTurn = game.cardEarnedThisTurn;
    attackRule = game.attackRule;
    aiMinAttackArmies = attackRule == 'n' ? 2 : 3;
    recordedOptionFlag = game.recordedOptionFlag;
    strongholdsEnabled = game.strongholdsEnabled;
    neutralArmyActive = game.neutralArmyActive;
    difficulty = game.difficulty;
    troopExperienceEnabled = game.troopExperienceEnabled;
    missionType = game.missionType;
}

void takeStoredPersonalities(const SavedGameRecord &game)
{
    personality = game.personality;
    avengeTarget = game.avengeTarget;
    personalitySetting = game.personalitySetting;
    randomMixPersonalities = game.randomMixPersonalities;
}

void queueStepsAfterDeclinedLoad()
{
    pushMessageStep(makeStep(kEmptyStep));
    pushMessageStep(makeStep(kEmptyStep));
    pushMessageStep(makeStep(kAfterDeclinedLoad));
}

void continueSavedGame(const QDateTime &loadStarted)
{
    const SavedGameRecord &game = savedGameMirror;
    if (rankGame)
        savesUsed = game.savesUsed;
    saveSettings();
    // A saved game is never in its initial placement; the round stands at the player's turns,
    // as the settings writer once told a game under way by it.
    placementRound = isValidPlayer(currentPlayer) ? turnsTaken[currentPlayer] : 0;
    takeStoredPersonalities(game);
    randomSource().seed(static_cast<quint32>(loadStarted.time().msec()));
    saveAllowed = 1;
    localGameRunning = gameMode == ModeHost || gameMode == ModeClient || gameMode == ModeDemo ? 0 : 1;
    rebuildContinentOrder();
}

void restartPlayTime()
{
    gameStartTime = playTimeStamp = interaction().now();
    playTimeSeconds = savedGameMirror.playTimeSeconds;
}

void resumeLocalGame()
{
    restartPlayTime();
    queueMissionReminder();
    // A game is saved only at the start of a turn, which has counted its continent bonus in the
    // record already; the turn now begins again and counts it once more.
    if (isHumanOfThisMachine(currentPlayer)) {
        qint32 &received = playerTable[currentPlayer].continentBonusReceived();
        received = qMax(0, received - continentReinforcement(currentPlayer));
    }
    beginTurn();
}

void prepareHostLobby()
{
    for (int p = 2; p <= 5; ++p)
        playerName[p] = waitingSeatName(playerName[p]);
    pushActionStep(makeStep(kShowPlayerStep, currentPlayer));
}
