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
    int records = 0;       // whole records read
    qint64 wholeBytes = 0; // where the last whole record ends
    bool partialTail = false;
};
// Reads the file's whole records in order, each into `scoreRecord` and then to `visit`. A
// damaged or partial tail ends the scan; the records before it count.
ScoresScan scanScoresFile(const std::function<void(const ScoresRecord &)> &visit = {});

// Reads the whole file into the record buffer; creates the file empty when there is none.
void readScoresFile();

// The record of the game just decided, from the arguments and the game's globals.
ScoresRecord buildScoreRecord(int players, char attackRuleLetter, int winnerLosses, int humanWon,
                              const QString &winnerName);
// The map or campaign played, as a record names it (14 characters).
QString scoresMapName();
// The record's names: the winner's, or the winner's and a second human's.
QString scoresNamesText(int winnerLosses, const QString &winnerName);

// Appends after the last whole record (a partial tail is cut off). False when the file could
// not be read or written; the old file is then left as it was.
bool appendScoreRecord(const ScoresRecord &record);

// Appends the record of a decided game (the first argument is not used).
void recordScore(int unused, int players, char attackRuleLetter, int winnerLosses, int humanWon,
                 const QString &winnerName);

// Empties the file (the Save Game dialog's reset); false when it could not be written.
bool clearScoresFile();

void resetScoresState();
