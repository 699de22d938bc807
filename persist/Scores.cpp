#include "persist/Scores.h"

#include "persist/DataFolder.h"
#include "persist/DataStream.h"
#include "persist/Settings.h"
#include "persist/SharedGlobals.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/Campaign.h"
#include "state/Seams.h"

#include <QFile>
#include <QLocale>

ScoresRecord scoreRecord;
QString scoresFilePath;

namespace {

// Some hundred thousand games; a larger file is not ours.
constexpr qint64 kMaxScoresFileBytes = 64 * 1024 * 1024;
constexpr int kNamesLength = 18;
constexpr int kShortNameLength = 7;

template <class Io>
void streamScore(Io &io, ScoresRecord &r)
{
    io.text(r.mapOrCampaign);
    io.int32(r.players);
    io.int32(r.oneForOne);
    io.int32(r.extraFlag);
    io.int32(r.normalLevel);
    io.int32(r.strongholdsOff);
    io.int32(r.troopExperienceOff);
    io.int32(r.mission);
    io.int32s(r.personalities, 1, kMaxPlayers);
    // Records are not judged by their values, only by their shape.
    io.flag(r.randomMix, false);
    io.int32(r.losses);
    io.int32(r.humanCount);
    io.int32(r.humanWon);
    io.int32(r.mode);
    io.int32(r.connection);
    io.text(r.date);
    io.text(r.names);
}

ScoresScan scanBytes(const QByteArray &bytes, const std::function<void(const ScoresRecord &)> &visit)
{
    ScoresScan scan;
    scan.opened = true;
    RecordReader reader(bytes);
    while (!reader.atEnd()) {
        ScoresRecord record;
        streamScore(reader, record);
        if (!reader.ok()) {
            scan.partialTail = true;
            break;
        }
        scoreRecord = record;
        ++scan.records;
        scan.wholeBytes = reader.position();
        if (visit)
            visit(scoreRecord);
    }
    return scan;
}

QString fixedName(const QString &name)
{
    return name.left(kScoresNameLength).leftJustified(kScoresNameLength, QLatin1Char(' '));
}

const char *builtinMapScoresName(MapFlag flag)
{
    switch (flag) {
    case MapSwampII: return "Swamp II";
    // Won outside their campaign, the Three Nations maps go under the campaign's name.
    case MapThreeNationsB:
    case MapThreeNations: return "Three Nations";
    case MapSwamp: return "Swamp";
    case MapRealWorld: return "Real World";
    case MapGreatBritain: return "Great Britain";
    case MapChina: return "China";
    case MapWorms: return "Worms";
    case MapScandinavia: return "Scandinavia";
    case MapAustralia: return "Australia";
    case MapJapan: return "Japan";
    case MapEurope: return "Europe";
    case MapNorthAmerica: return "North America";
    case MapWorldII: return "World II";
    case MapWorld: return "World";
    case MapCustom:
    case MapFlagCount: break;
    }
    return "";
}

QString campaignScoresName(int id)
{
    switch (id) {
    case CampaignWorlds: return QStringLiteral("Worlds");
    case CampaignWestPacific: return QStringLiteral("West Pacific");
    case CampaignNorthAtlantic: return QStringLiteral("N. Atlantic");
    case CampaignThreeNations: return QStringLiteral("Three Nations");
    case CampaignTarvan: return QStringLiteral("Tarvan GX");
    case CampaignFromFile: return campaignName;
    default: return QString();
    }
}

bool isNetworkGame()
{
    return gameMode == ModeHost || gameMode == ModeClient;
}

// The highest-numbered human with the winner's losses, preferring one who bears the winner's
// name, so that a human with equal losses is never taken for the winner.
int humanWithWinnersLosses(int winnerLosses, const QString &winnerName)
{
    const int humans = qBound(0, humanPlayerCount, kMaxPlayers);
    for (int p = humans; p >= 1; --p)
        if (playerTable[p].f[PlayerRecord::BattleLosses] == winnerLosses && playerName[p] == winnerName)
            return p;
    for (int p = humans; p >= 1; --p)
        if (playerTable[p].f[PlayerRecord::BattleLosses] == winnerLosses)
            return p;
    return 0;
}

} // namespace

QString scoresFileName()
{
    return dataFilePath(QStringLiteral("TrvGX10scores.dat"));
}

ScoresScan scanScoresFile(const std::function<void(const ScoresRecord &)> &visit)
{
    scoresFilePath = scoresFileName();
    QByteArray bytes;
    if (readWholeFile(scoresFilePath, kMaxScoresFileBytes, bytes) != FileRead::Read)
        return ScoresScan{};
    return scanBytes(bytes, visit);
}

void readScoresFile()
{
    const ScoresScan scan = scanScoresFile();
    if (!scan.opened && !QFile::exists(scoresFilePath))
        writeWholeFile(scoresFilePath, QByteArray());
}

QString scoresMapName()
{
    if (campaignId >= CampaignWorlds && campaignId <= CampaignFromFile)
        return fixedName(campaignScoresName(campaignId));
    const MapFlag map = selectedMap();
    if (map == MapCustom)
        return fixedName(mapName);
    return fixedName(QLatin1String(builtinMapScoresName(map)));
}

QString scoresNamesText(int winnerLosses, const QString &winnerName)
{
    if (humanPlayerCount < 2)
        return winnerName.left(kNamesLength);
    const int second = humanWithWinnersLosses(winnerLosses, winnerName) >= 2 ? 1 : 2;
    return (QStringLiteral("1.") + winnerName.left(kShortNameLength) + QStringLiteral(" 2.")
            + playerName[second].left(kShortNameLength))
        .left(kNamesLength);
}

ScoresRecord buildScoreRecord(int players, char attackRuleLetter, int winnerLosses, int humanWon,
                              const QString &winnerName)
{
    ScoresRecord r;
    r.mapOrCampaign = scoresMapName();
    r.players = neutralArmyActive ? 2 : players;
    r.oneForOne = attackRuleLetter == 'j' ? 1 : 0;
    r.extraFlag = recordedOptionFlag ? 1 : 0;
    r.normalLevel = difficulty != 0 ? 1 : 0;
    r.strongholdsOff = strongholdsEnabled ? 0 : 1;
    r.troopExperienceOff = troopExperienceEnabled ? 0 : 1;
    r.mission = missionType;
    // The opponents' personalities count only where they played with them.
    if (difficulty >= 1 && !neutralArmyActive && !isNetworkGame()) {
        for (int p = 1; p <= kMaxPlayers; ++p)
            r.personalities[p] = personalitySetting[p] == kPersonalityUnstable ? kPersonalityUnstable : personality[p];
        r.randomMix = randomMixPersonalities ? 1 : 0;
    }
    r.losses = winnerLosses;
    r.humanCount = neutralArmyActive ? 2 : isNetworkGame() ? joinedPlayers : humanPlayerCount;
    r.humanWon = humanWon != 0 ? 1 : 0;
    r.mode = gameMode;
    r.connection = isNetworkGame() ? (internetGame ? 1 : 2) : 0;
    r.date = QLocale(QLocale::English, QLocale::UnitedStates)
                 .toString(interaction().now(), QStringLiteral("MMMddyyyyhhmm"))
                 .left(kStoredTextLength);
    r.names = scoresNamesText(winnerLosses, winnerName);
    return r;
}

bool appendScoreRecord(const ScoresRecord &record)
{
    scoresFilePath = scoresFileName();
    QByteArray bytes;
    const FileRead outcome = readWholeFile(scoresFilePath, kMaxScoresFileBytes, bytes);
    if (outcome != FileRead::Read && outcome != FileRead::Missing)
        return false;
    // A partial record at the end would swallow the new one: write after the last whole record.
    QByteArray content = bytes.left(static_cast<int>(scanBytes(bytes, {}).wholeBytes));
    ScoresRecord written = record;
    for (QString *text : {&written.mapOrCampaign, &written.date, &written.names})
        *text = cutStoredText(*text);
    RecordWriter writer(&content);
    streamScore(writer, written);
    scoreRecord = written;
    return writer.ok() && writeWholeFile(scoresFilePath, content);
}

void recordScore(int, int players, char attackRuleLetter, int winnerLosses, int humanWon,
                 const QString &winnerName)
{
    appendScoreRecord(buildScoreRecord(players, attackRuleLetter, winnerLosses, humanWon, winnerName));
}

bool clearScoresFile()
{
    scoresFilePath = scoresFileName();
    return writeWholeFile(scoresFilePath, QByteArray());
}

void resetScoresState()
{
    scoreRecord = ScoresRecord{};
    scoresFilePath.clear();
}
