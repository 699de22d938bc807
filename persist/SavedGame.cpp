#include "persist/SavedGame.h"

#include "persist/DataStream.h"
#include "persist/SavedGameLimits.h"
#include "persist/Settings.h"
#include "persist/WholeFile.h"
#include "rules/TurnState.h"
#include "state/MapLoading.h"
#include "state/Seams.h"

#include <QFileInfo>

#include <limits>

SavedGameRecord savedGameMirror;
QString saveFileName;
QString defaultSaveName;
quint8 gameLoaded = 0;
quint8 gameSaved = 0;

namespace {

// The twelve texts at their longest keep a saved game far below this.
constexpr qint64 kMaxSavedGameBytes = 64 * 1024;

// The file's layout; what each value may be is the limits' business, the same for both ways.
template <class Io>
void streamPlayer(Io &io, PlayerRecord &player)
{
    for (int field = PlayerRecord::ContinentHeld1; field < PlayerRecord::FieldCount; ++field)
        io.int32(player.f[field]);
}

template <class Io>
void streamSavedGame(Io &io, SavedGameRecord &r)
{
    for (int t = 1; t <= kMaxTerritories; ++t) {
        io.int32(r.territoryState[t].owner);
        io.int32(r.territoryState[t].armies);
    }
    for (int p = 1; p <= kMaxPlayers; ++p)
        streamPlayer(io, r.playerTable[p]);
    for (int p = 1; p <= kMaxPlayers; ++p) {
        io.int32(r.pairs10[p].id);
        io.int32(r.pairs10[p].value);
    }
    io.int32(r.currentPlayer);
    for (CardKind kind : {CardArtillery, CardInfantry, CardCavalry, CardWild})
        io.int32(r.cardDeckCounts[kind]);
    io.int32(r.cardTradeMarker);
    io.int32(r.humanPlayerCount);
    io.int32(r.playerCount);
    io.rawChar(r.reservedChar);
    io.flag(r.attackMadeThisTurn);
    io.int32s(r.turnsTaken, 1, kMaxPlayers);
    io.character(r.cardEarnedThisTurn, nullptr);
    io.character(r.attackRule, nullptr);
    io.flag(r.recordedOptionFlag);
    io.flag(r.strongholdsEnabled);
    io.flag(r.neutralArmyActive);
    io.int32(r.difficulty);
    io.int32s(r.personality, 1, kMaxPlayers);
    io.int32s(r.avengeTarget, 1, kMaxPlayers);
    io.int32s(r.personalitySetting, 1, kMaxPlayers);
    io.flag(r.randomMixPersonalities);
    io.int32(r.gameMode);
    io.int32(r.campaignId);
    io.int32(r.campaignMapCount);
    io.int32(r.campaignMapIndex);
    io.int32(r.campaignPlayer);
    io.flag(r.troopExperienceEnabled);
    io.real(r.playTimeSeconds);
    io.int32(r.missionType);
    for (int p = 1; p <= kMaxPlayers; ++p)
        io.int32s(r.missionContinents[p], 1, kMaxContinents);
    io.int32(r.missionContinentIndex);
    io.int32(r.escortTarget);
    io.flag(r.rankGame);
    io.int32(r.rankAtGameStart);
    io.int32(r.rankFlagAtGameStart);
    io.int32(r.savesUsed);
    io.texts(r.playerName, 1, kMaxPlayers);
    io.text(r.campaignName);
    io.text(r.mapPath, kMaxStoredPathLength);
}

// The names a game keeps follow the rule of a typed name, however a file came to hold them.
void keepNamesAsTyped(SavedGameRecord &r)
{
    for (int p = 1; p <= kMaxPlayers; ++p)
        r.playerName[p] = cutStoredText(r.playerName[p]);
    r.campaignName = cutStoredText(r.campaignName);
}

} // namespace

bool decodeSavedGame(const QByteArray &bytes, SavedGameRecord &record, QString *broken)
{
    SavedGameRecord read;
    RecordReader reader(bytes);
    streamSavedGame(reader, read);
    if (!reader.ok())
        return false;
    const QString limit = savedGameLimitBroken(read);
    if (!limit.isEmpty()) {
        if (broken)
            *broken = limit;
        return false;
    }
    keepNamesAsTyped(read);
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
    r.playerName = playerName;
    r.campaignName = campaignName;
    keepNamesAsTyped(r);
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

// A value out of its limits is named, in the words the writer would refuse it with.
void reportRefusedFile(const QString &path, const QString &limitBroken)
{
    const QString name = QFileInfo(path).fileName();
    interaction().message(MessageIcon::Warning, QStringLiteral("Tarvan GX"),
                          limitBroken.isEmpty()
                              ? QStringLiteral("The saved game %1 is damaged or incomplete and cannot be loaded.")
                                    .arg(name)
                              : QStringLiteral("The saved game %1 cannot be loaded:\n%2.").arg(name, limitBroken));
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
    // A game that its own loader would refuse is not written at all, and is refused in the
    // loader's words.
    SavedGameRecord written;
    QString limitBroken;
    if (!decodeSavedGame(bytes, written, &limitBroken)) {
        if (why)
            *why = limitBroken.isEmpty() ? QStringLiteral("the game does not fit into a saved game") : limitBroken;
        return false;
    }
    if (!writeWholeFile(path, bytes, why))
        return false;
    savedGameMirror = written;
    playTimeSeconds = playTime;
    playTimeStamp = now;
    return true;
}

void readSavedGame(const QString &path, bool &ok, bool *refusalTold)
{
    ok = false;
    QByteArray bytes;
    QString unreadable;
    const FileRead outcome = readWholeFile(path, kMaxSavedGameBytes, bytes, &unreadable);
    if (outcome == FileRead::Missing)
        return;
    SavedGameRecord record;
    // The reason of a file that could not be read is the system's (empty for any other).
    QString limitBroken = outcome == FileRead::NotAFile ? notARegularFileReason() : unreadable;
    if (outcome != FileRead::Read || !decodeSavedGame(bytes, record, &limitBroken)) {
        reportRefusedFile(path, limitBroken);
        if (refusalTold)
            *refusalTold = true;
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
