#pragma once
// The scores file: a headerless run of records, one per decided game, oldest first. The ranks
// are derived from it each time they are needed; nothing else is kept in memory.

#include "state/GameState.h"

#include <QString>

#include <array>
#include <functional>

struct ScoresRecord {
    QString mapOrCampaign; // 14 characters
    qint32 players = 0;
    qint32 oneForOne = 0;
    qint32 extraFlag = 0;
    qint32 normalLevel = 0;
    qint32 strongholdsOff = 0;
    qint32 troopExperienceOff = 0;
    qint32 mission = 0;
    std::array<qint32, kMaxPlayers + 1> personalities{}; // 1..10
    quint8 randomMix = 0;
    qint32 losses = 0;
    qint32 humanCount = 0;
    qint32 humanWon = 0;
    qint32 mode = 0;
    qint32 connection = 0; // 0 local, 1 Internet, 2 LAN
    QString date;          // "MMMddyyyyhhmm"
    QString names;         // the winner, or "1.xxxxxxx 2.yyyyyyy"
};

// The one record buffer every reader streams into; after a read it holds the last record.
extern ScoresRecord scoreRecord;
extern QString scoresFilePath;

constexpr int kScoresNameLength = 14;

QString scoresFileName();

struct ScoresScan {
    bool opened = false;   // the file could be read
    bool missing = false;  // there is no file of that name (nor one a link names)
    int records = 0;       // whole records read
    qint64 wholeBytes = 0; // where the last whole record ends
    qint64 damagedBytes = 0; // bytes between whole records that are no record: skipped, kept
    // Bytes after the last whole record from which no whole record reads (a write that broke
    // off, or damage at the end): the next append cuts them.
    qint64 tailBytes = 0;
};
// Reads the file's whole records in order, each into `scoreRecord` and then to `visit`. Bytes
// that are no record (a damaged stretch) are skipped up to the next whole record; the player is
// told of them once. A tail from which no whole record reads ends the scan. A file that is there
// but cannot be read whole (larger than a scores file grows, not a file, or one the program may not
// or cannot read, with the system's reason) gives no record, and is told once as well.
ScoresScan scanScoresFile(const std::function<void(const ScoresRecord &)> &visit = {});
// The same over the bytes of a scores file; tells nobody.
ScoresScan scanScoresBytes(const QByteArray &bytes, const std::function<void(const ScoresRecord &)> &visit = {});

// Reads the whole file into the record buffer; creates the file empty when there is none (a
// creation that fails is told once a run), and only then.
void readScoresFile();

// The record of the game just decided, from the arguments and the game's globals.
ScoresRecord buildScoreRecord(int players, char attackRuleLetter, int winnerLosses, int humanWon,
                              const QString &winnerName);
// The map or campaign played, as a record names it (14 characters).
QString scoresMapName();
// The record's names: the winner's, or the winner's and a second human's.
QString scoresNamesText(int winnerLosses, const QString &winnerName);

// The bytes of the scores file with `record` added: at the end of `bytes`, after cutting off a
// tail there that begins no whole record; nothing else is ever removed.
QByteArray withScoreRecord(const QByteArray &bytes, const ScoresRecord &record);
// Appends `record` to the file. False when the file could not be read or written, `why` then
// saying why; the old file is left as it was.
bool appendScoreRecord(const ScoresRecord &record, QString *why = nullptr);

// Appends the record of a decided game (the first argument is not used); a record that cannot be
// written is reported to the player.
void recordScore(int unused, int players, char attackRuleLetter, int winnerLosses, int humanWon,
                 const QString &winnerName);

// Empties the file (the Save Game dialog's reset); false when it could not be written, `why`
// then saying why.
bool clearScoresFile(QString *why = nullptr);

void resetScoresState();
