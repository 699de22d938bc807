#include "persist/Scores.h"

#include "persist/DataFolder.h"
#include "persist/DataStream.h"
#include "persist/Settings.h"
#include "persist/WholeFile.h"
#include "persist/SharedGlobals.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/Campaign.h"
#include "state/Seams.h"
#include "state/TextRules.h"

#include <QFileInfo>
#include <QLocale>
#include <QtEndian>

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

// Reads the record that starts at `from`; false when it is not whole. `end` is where it ends.
bool readRecordAt(const QByteArray &bytes, qint64 from, ScoresRecord &record, qint64 &end)
{
    const QByteArray rest = QByteArray::fromRawData(bytes.constData() + from, int(bytes.size() - from));
    RecordReader reader(rest);
    streamScore(reader, record);
    if (!reader.ok())
        return false;
    end = from + reader.position();
    return true;
}

// What the game writes: a record read after a damaged stretch must look like one before the scan
// trusts that it starts there.
bool writtenByTheGame(const ScoresRecord &r)
{
    const auto flag = [](qint32 v) { return v == 0 || v == 1; };
    for (int p = 1; p <= kMaxPlayers; ++p)
        if (r.personalities[p] < 0 || r.personalities[p] > kPersonalityUnstable)
            return false;
    return r.players >= 0 && r.players <= kMaxPlayers && flag(r.oneForOne) && flag(r.extraFlag)
        && flag(r.normalLevel) && flag(r.strongholdsOff) && flag(r.troopExperienceOff) && r.mission >= 0
        && r.mission <= 3 && r.losses >= 0 && r.humanCount >= 0 && r.humanCount <= kMaxPlayers
        && flag(r.humanWon) && r.mode >= 0 && r.mode <= ModeDemo && r.connection >= 0 && r.connection <= 2;
}

// A record starts with the byte count of its map name: a null text or at most 19 characters.
bool mayStartRecord(const QByteArray &bytes, qint64 at)
{
    if (bytes.size() - at < 4)
        return false;
    const quint32 count = qFromBigEndian<quint32>(bytes.constData() + at);
    return count == 0xFFFFFFFFu || (count % 2 == 0 && count <= 2 * kStoredTextLength);
}

// The first place from `from` on where a record the game wrote reads whole; -1 when none does.
qint64 nextWholeRecord(const QByteArray &bytes, qint64 from)
{
    for (qint64 at = from; at < bytes.size(); ++at) {
        if (!mayStartRecord(bytes, at))
            continue;
        ScoresRecord record;
        qint64 end = 0;
        if (readRecordAt(bytes, at, record, end) && writtenByTheGame(record))
            return at;
    }
    return -1;
}

ScoresScan scanBytes(const QByteArray &bytes, const std::function<void(const ScoresRecord &)> &visit)
{
    ScoresScan scan;
    scan.opened = true;
    qint64 at = 0;
    while (at < bytes.size()) {
        ScoresRecord record;
        qint64 end = 0;
        if (readRecordAt(bytes, at, record, end)) {
            scoreRecord = record;
            ++scan.records;
            scan.wholeBytes = at = end;
            if (visit)
                visit(scoreRecord);
            continue;
        }
        // A damaged stretch: the records after it still count. With none after it, it is the
        // file's tail, a write that broke off or damage at the end.
        const qint64 resume = nextWholeRecord(bytes, at + 1);
        if (resume < 0) {
            scan.tailBytes = bytes.size() - at;
            break;
        }
        scan.damagedBytes += resume - at;
        at = resume;
    }
    return scan;
}

// Told once a run, and again only after the file has read whole in between.
bool damageReported = false;
// The empty file that the readers make when there is none: a failure is told once a run.
bool creationFailureReported = false;

QString damageText(const ScoresScan &scan)
{
    const QString counted = QStringLiteral("The scores file %1 is damaged: %2 of its bytes could not be read as "
                                           "games.\n\nThe ranks and \"Your Scores\" count the %3 games that could "
                                           "be read.")
                                .arg(scoresFilePath)
                                .arg(scan.damagedBytes)
                                .arg(scan.records);
    if (scan.tailBytes == 0)
        return counted + QStringLiteral(" Nothing is removed from the file; the next games are added at its end.");
    return counted + QStringLiteral(" The %1 bytes at its end that begin no whole game are removed when the next game "
                                    "is added; nothing else is.")
                         .arg(scan.tailBytes);
}

QString tailText(const ScoresScan &scan)
{
    return QStringLiteral("The scores file %1 ends in %2 bytes that are not a whole game record.\n\n"
                          "The ranks and \"Your Scores\" count the %3 whole games before them; those bytes are "
                          "removed when the next game is added.")
        .arg(scoresFilePath)
        .arg(scan.tailBytes)
        .arg(scan.records);
}

void reportDamage(const ScoresScan &scan)
{
    if (scan.damagedBytes == 0 && scan.tailBytes == 0) {
        damageReported = false;
        return;
    }
    if (damageReported)
        return;
    damageReported = true;
    interaction().message(MessageIcon::Warning, QStringLiteral("Tarvan GX"),
                          scan.damagedBytes > 0 ? damageText(scan) : tailText(scan));
}

// Why a scores file that is there cannot be read whole; `systemWhy` is the system's reason for a
// file that could not be read at all.
QString unreadableReason(FileRead outcome, const QString &systemWhy)
{
    switch (outcome) {
    case FileRead::TooLarge: return QStringLiteral("the file is larger than a scores file can grow");
    case FileRead::NotAFile:
        return QStringLiteral("it is not a regular file: a folder, a named pipe, a device or a socket has its name");
    default: return systemWhy;
    }
}

void reportUnreadable(const QString &why)
{
    if (damageReported)
        return;
    damageReported = true;
    interaction().message(MessageIcon::Warning, QStringLiteral("Tarvan GX"),
                          QStringLiteral("The scores file %1 could not be read: %2.\n\nThe ranks and \"Your "
                                         "Scores\" count no games, and the results of new games cannot be added "
                                         "to it, while it cannot be read; nothing in it is changed.")
                              .arg(scoresFilePath, why));
}

bool readScoresBytes(QByteArray &bytes, QString *why)
{
    scoresFilePath = scoresFileName();
    QString systemWhy;
    const FileRead outcome = readWholeFile(scoresFilePath, kMaxScoresFileBytes, bytes, &systemWhy);
    if (outcome == FileRead::Read || outcome == FileRead::Missing)
        return true;
    if (why)
        *why = unreadableReason(outcome, systemWhy);
    return false;
}

QString fixedName(const QString &name)
{
    return fitToWidth(name, kScoresNameLength);
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
    QString why;
    const FileRead outcome = readWholeFile(scoresFilePath, kMaxScoresFileBytes, bytes, &why);
    if (outcome != FileRead::Read) {
        ScoresScan none;
        none.missing = outcome == FileRead::Missing;
        if (!none.missing)
            reportUnreadable(unreadableReason(outcome, why));
        return none;
    }
    const ScoresScan scan = scanBytes(bytes, visit);
    reportDamage(scan);
    return scan;
}

ScoresScan scanScoresBytes(const QByteArray &bytes, const std::function<void(const ScoresRecord &)> &visit)
{
    return scanBytes(bytes, visit);
}

// The empty file, unless another program has made one meanwhile (perhaps with a game in it).
bool createScoresFile(QString &why)
{
    const UpdateLock lock(scoresFilePath);
    return lock.had(&why) && (QFileInfo::exists(scoresFilePath) || writeWholeFile(scoresFilePath, QByteArray(), &why));
}

void readScoresFile()
{
    // Whatever bears the name and cannot be read is left as it is.
    if (!scanScoresFile().missing)
        return;
    QString why;
    if (createScoresFile(why) || creationFailureReported)
        return;
    creationFailureReported = true;
    interaction().message(MessageIcon::Warning, QStringLiteral("Tarvan GX"),
                          QStringLiteral("The scores file %1 could not be created:\n%2.").arg(scoresFilePath, why));
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
        return cutToWidth(winnerName, kNamesLength);
    const int second = humanWithWinnersLosses(winnerLosses, winnerName) >= 2 ? 1 : 2;
    return cutToWidth(QStringLiteral("1.") + cutToWidth(winnerName, kShortNameLength) + QStringLiteral(" 2.")
                          + cutToWidth(playerName[second], kShortNameLength),
                      kNamesLength);
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

QByteArray withScoreRecord(const QByteArray &bytes, const ScoresRecord &record)
{
    // A tail that begins no whole record would swallow the new one: it goes, and nothing else does.
    const ScoresScan scan = scanBytes(bytes, {});
    QByteArray content = bytes.left(int(bytes.size() - scan.tailBytes));
    ScoresRecord written = record;
    for (QString *text : {&written.mapOrCampaign, &written.date, &written.names})
        *text = cutStoredText(*text);
    RecordWriter writer(&content);
    streamScore(writer, written);
    scoreRecord = written;
    return content;
}

bool appendScoreRecord(const ScoresRecord &record, QString *why)
{
    // Read, append and write as one step: a record another program adds in between would be lost.
    const UpdateLock lock(scoresFileName());
    QByteArray bytes;
    return lock.had(why) && readScoresBytes(bytes, why)
        && writeWholeFile(scoresFilePath, withScoreRecord(bytes, record), why);
}

void recordScore(int, int players, char attackRuleLetter, int winnerLosses, int humanWon,
                 const QString &winnerName)
{
    QString why;
    if (appendScoreRecord(buildScoreRecord(players, attackRuleLetter, winnerLosses, humanWon, winnerName), &why))
        return;
    interaction().message(MessageIcon::Warning, QStringLiteral("Tarvan GX"),
                          QStringLiteral("The result of this game could not be added to the scores file %1:\n%2.")
                              .arg(scoresFilePath, why));
}

bool clearScoresFile(QString *why)
{
    scoresFilePath = scoresFileName();
    const UpdateLock lock(scoresFilePath);
    return lock.had(why) && writeWholeFile(scoresFilePath, QByteArray(), why);
}

void resetScoresState()
{
    scoreRecord = ScoresRecord{};
    scoresFilePath.clear();
    damageReported = creationFailureReported = false;
}
