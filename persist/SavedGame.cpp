#include "persist/SavedGame.h"

#include "persist/DataStream.h"
#include "persist/Ranks.h"
#include "persist/Settings.h"
#include "rules/TurnState.h"
#include "state/MapLoading.h"
#include "state/Seams.h"

#include <QFileInfo>

#include <cmath>
#include <limits>

SavedGameRecord savedGameMirror;
QString saveFileName;
QString defaultSaveName;
quint8 gameLoaded = 0;
quint8 gameSaved = 0;

namespace {

// The twelve texts at their longest keep a saved game far below this.
constexpr qint64 kMaxSavedGameBytes = 64 * 1024;
// Every army on the map summed stays within 32 bits.
constexpr qint32 kMaxArmies = 10000000;
// Turns, battles and losses no game comes near; whatever play follows a load adds to them
// without leaving 32 bits.
constexpr qint32 kMaxCount = 1000000000;
// A hundred years of play.
constexpr double kMaxPlayTimeSeconds = 100.0 * 366 * 24 * 3600;
constexpr qint32 kCardTradeDone = 177;
constexpr qint32 kMaxDeckCards = 53;
constexpr qint32 kMaxMissionType = 3;
constexpr qint32 kMaxGameMode = ModeDemo;

template <class Io>
void streamPlayer(Io &io, PlayerRecord &player)
{
    for (int c = PlayerRecord::ContinentHeld1; c < PlayerRecord::TerritoriesHeld; ++c)
        io.int32(player.f[c], 0, 1);
    io.int32(player.f[PlayerRecord::TerritoriesHeld], 0, kMaxTerritories);
    io.int32(player.f[PlayerRecord::TotalArmies], 0, kMaxTerritories * kMaxArmies);
    io.int32(player.f[PlayerRecord::ContinentBonus], 0, kMaxCount);
    for (int card = PlayerRecord::Artillery; card <= PlayerRecord::Wild; ++card)
        io.int32(player.f[card], 0, kMaxDeckCards);
    for (int counter = PlayerRecord::BattleLosses; counter <= PlayerRecord::ContinentsLost; ++counter)
        io.int32(player.f[counter], 0, kMaxCount);
    io.int32(player.f[PlayerRecord::SpareField]);
    io.int32(player.f[PlayerRecord::Stronghold], 0, kMaxTerritories);
}

template <class Io>
void streamSavedGame(Io &io, SavedGameRecord &r)
{
    for (int t = 1; t <= kMaxTerritories; ++t) {
        io.int32(r.territoryState[t].owner, 0, kMaxPlayers);
        io.int32(r.territoryState[t].armies, 0, kMaxArmies);
    }
    for (int p = 1; p <= kMaxPlayers; ++p)
        streamPlayer(io, r.playerTable[p]);
    for (int p = 1; p <= kMaxPlayers; ++p) {
        io.int32(r.pairs10[p].id, 0, kMaxPlayers);
        io.int32(r.pairs10[p].value, 0, kMaxCount);
    }
    io.int32(r.currentPlayer, 1, kMaxPlayers);
    for (CardKind kind : {CardArtillery, CardInfantry, CardCavalry, CardWild})
        io.int32(r.cardDeckCounts[kind], 0, kMaxDeckCards);
    io.int32(r.cardTradeMarker);
    io.int32(r.humanPlayerCount, 0, kMaxPlayers);
    io.int32(r.playerCount, 2, kMaxPlayers);
    io.rawChar(r.reservedChar);
    io.flag(r.attackMadeThisTurn);
    io.int32s(r.turnsTaken, 1, kMaxPlayers, 0, kMaxCount);
    io.character(r.cardEarnedThisTurn);
    io.character(r.attackRule);
    io.flag(r.recordedOptionFlag);
    io.flag(r.strongholdsEnabled);
    io.flag(r.neutralArmyActive);
    io.int32(r.difficulty, 0, 1);
    io.int32s(r.personality, 1, kMaxPlayers, 0, kPersonalityUnstable);
    io.int32s(r.avengeTarget, 1, kMaxPlayers, 0, kMaxPlayers);
    io.int32s(r.personalitySetting, 1, kMaxPlayers, 0, kPersonalityUnstable);
    io.flag(r.randomMixPersonalities);
    io.int32(r.gameMode, ModeSinglePlayer, kMaxGameMode);
    io.int32(r.campaignId, NoCampaign, CampaignFromFile);
    io.int32(r.campaignMapCount, 1, kMaxCampaignMaps);
    io.int32(r.campaignMapIndex, 1, kMaxCampaignMaps);
    io.int32(r.campaignPlayer, 0, kMaxPlayers);
    io.flag(r.troopExperienceEnabled);
    io.real(r.playTimeSeconds);
    io.int32(r.missionType, 0, kMaxMissionType);
    for (int p = 1; p <= kMaxPlayers; ++p)
        io.int32s(r.missionContinents[p], 1, kMaxContinents, 0, kMaxContinents);
    io.int32(r.missionContinentIndex, 0, kMaxContinents);
    io.int32(r.escortTarget, 0, kMaxPlayers);
    io.flag(r.rankGame);
    io.int32(r.rankAtGameStart, 0, kNoRankAtStart);
    io.int32(r.rankFlagAtGameStart, 0, kNoRankAtStart);
    io.int32(r.savesUsed, 0, kMaxRankSaves);
    io.texts(r.playerName, 1, kMaxPlayers);
    io.text(r.campaignName);
    io.text(r.mapPath, kMaxStoredPathLength);
}

bool rankOrNone(qint32 value, qint32 highest)
{
    return value == kNoRankAtStart || (value >= 0 && value <= highest);
}

// What no single field can tell: the players named exist, and the play time is a time.
bool consistent(const SavedGameRecord &r)
{
    return r.humanPlayerCount <= r.playerCount && r.currentPlayer <= r.playerCount
        && r.campaignMapIndex <= r.campaignMapCount && std::isfinite(r.playTimeSeconds)
        && r.playTimeSeconds >= 0 && r.playTimeSeconds <= kMaxPlayTimeSeconds
        && (r.cardTradeMarker == 0 || r.cardTradeMarker == kCardTradeDone)
        && rankOrNone(r.rankAtGameStart, kTopRank) && rankOrNone(r.rankFlagAtGameStart, 1);
}

} // namespace

bool decodeSavedGame(const QByteArray &bytes, SavedGameRecord &record)
{
    SavedGameRecord read;
    RecordReader reader(bytes);
    streamSavedGame(reader, read);
    if (!reader.ok() || !consistent(read))
        return false;
    record = read;
    return true;
}

QByteArray encodeSavedGame(const SavedGameRecord &record)
{
    SavedGameRecord written = record;
    QByteArray bytes;
    RecordWriter writer(&bytes);
    streamSavedGame(writer, written);
    return writer.ok() ? bytes : QByteArray();
}

// A plain pointer: set before any constructor runs, so the network part's installer keeps it.
void (*turnStartOfSave)(SavedGameRecord &game) = nullptr;

SavedGameRecord capturedGame(double playTime)
{
    SavedGameRecord r;
    r.territoryState = territoryState;
    r.playerTable = playerTable;
    r.pairs10 = pairs10;
    r.currentPlayer = currentPlayer;
    r.cardDeckCounts = cardDeckCounts;
    r.cardTradeMarker = cardTradeMarker;
    r.humanPlayerCount = humanPlayerCount;
    r.playerCount = playerCount;
    r.reservedChar = QChar(0);
    r.attackMadeThisTurn = attackMadeThisTurn;
    r.turnsTaken = turnsTaken;
    r.cardEarnedThisTurn = cardEarnedThisTurn;
    r.attackRule = attackRule;
    r.recordedOptionFlag = recordedOptionFlag;
    r.strongholdsEnabled = strongholdsEnabled;
    r.neutralArmyActive = neutralArmyActive;
    r.difficulty = difficulty;
    r.personality = personality;
    r.avengeTarget = avengeTarget;
    r.personalitySetting = personalitySetting;
    r.randomMixPersonalities = randomMixPersonalities;
    r.gameMode = gameMode;
    r.campaignId = campaignId;
    r.campaignMapCount = campaignMapCount;
    r.campaignMapIndex = campaignMapIndex;
    r.campaignPlayer = campaignPlayer;
    r.troopExperienceEnabled = troopExperienceEnabled;
    r.playTimeSeconds = playTime;
    r.missionType = missionType;
    r.missionContinents = missionContinents;
    r.missionContinentIndex = missionContinentIndex;
    r.escortTarget = escortTarget;
    r.rankGame = rankGame;
    r.rankAtGameStart = rankAtGameStart;
    r.rankFlagAtGameStart = rankFlagAtGameStart;
    r.savesUsed = savesUsed;
    // The live names keep their length; the file keeps 19 characters.
    for (int p = 1; p <= kMaxPlayers; ++p)
        r.playerName[p] = cutStoredText(playerName[p]);
    r.campaignName = cutStoredText(campaignName);
    r.mapPath = (campaignId == CampaignFromFile ? campaignFilePath : mapFilePath).left(kMaxStoredPathLength);
    return r;
}

namespace {

// Whole seconds from the last play-time stamp to now; a clock set back counts nothing.
double secondsSinceStamp(const QDateTime &now)
{
    if (!playTimeStamp.isValid() || !now.isValid())
        return 0;
    const qint64 seconds = playTimeStamp.secsTo(now);
    return seconds > 0 ? static_cast<double>(qMin<qint64>(seconds, std::numeric_limits<qint32>::max())) : 0;
}

void reportDamagedFile(const QString &path)
{
    interaction().message(MessageIcon::Warning, QStringLiteral("Tarvan GX"),
                          QStringLiteral("The saved game %1 is damaged or incomplete and cannot be "
                                         "loaded.")
                              .arg(QFileInfo(path).fileName()));
}

} // namespace

bool writeSavedGame(const QString &path, QString *why)
{
    const QDateTime now = interaction().now();
    const double playTime = playTimeSeconds + secondsSinceStamp(now);
    SavedGameRecord game = capturedGame(playTime);
    if (turnStartOfSave)
        turnStartOfSave(game);
    const QByteArray bytes = encodeSavedGame(game);
    // A game that its own loader would refuse is not written at all.
    SavedGameRecord written;
    if (!decodeSavedGame(bytes, written)) {
        if (why)
            *why = QStringLiteral("the game holds values that no saved game may hold");
        return false;
    }
    if (!writeWholeFile(path, bytes, why))
        return false;
    savedGameMirror = written;
    playTimeSeconds = playTime;
    playTimeStamp = now;
    return true;
}

void readSavedGame(const QString &path, bool &ok)
{
    ok = false;
    QByteArray bytes;
    const FileRead outcome = readWholeFile(path, kMaxSavedGameBytes, bytes);
    if (outcome == FileRead::Missing || outcome == FileRead::Unreadable)
        return;
    SavedGameRecord record;
    if (outcome != FileRead::Read || !decodeSavedGame(bytes, record)) {
        reportDamagedFile(path);
        return;
    }
    savedGameMirror = record;
    ok = true;
}

void resetSavedGameState()
{
    savedGameMirror = SavedGameRecord{};
    saveFileName.clear();
    defaultSaveName.clear();
    gameLoaded = 0;
    gameSaved = 0;
}
