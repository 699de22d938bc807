#pragma once
// The saved-game file: the whole rule state of a running game (not the map, which the loader
// builds again). Writing streams the live state; reading fills only `savedGameMirror`, from
// which each caller takes what it needs.

#include "ai/AiState.h"
#include "state/Campaign.h"
#include "state/GameState.h"

#include <QChar>
#include <QString>

#include <array>

struct SavedGameRecord {
    std::array<TerritoryState, kMaxTerritories + 1> territoryState{};
    std::array<PlayerRecord, kMaxPlayers + 1> playerTable{};
    std::array<Pair, kMaxPlayers + 1> pairs10{};
    qint32 currentPlayer = 0;
    std::array<qint32, 4> cardDeckCounts{}; // indexed by CardKind, stored artillery first
    qint32 cardTradeMarker = 0;
    qint32 humanPlayerCount = 0;
    qint32 playerCount = 0;
    QChar reservedChar;
    quint8 attackMadeThisTurn = 0;
    std::array<qint32, kMaxPlayers + 1> turnsTaken{};
    char cardEarnedThisTurn = 'n';
    char attackRule = 'n';
    quint8 recordedOptionFlag = 0;
    quint8 strongholdsEnabled = 0;
    quint8 neutralArmyActive = 0;
    qint32 difficulty = 1;
    std::array<qint32, kMaxPlayers + 1> personality{};
    std::array<qint32, kMaxPlayers + 1> avengeTarget{};
    std::array<qint32, kMaxPlayers + 1> personalitySetting{};
    quint8 randomMixPersonalities = 0;
    qint32 gameMode = ModeSinglePlayer;
    qint32 campaignId = NoCampaign;
    qint32 campaignMapCount = 1;
    qint32 campaignMapIndex = 1;
    qint32 campaignPlayer = 1;
    quint8 troopExperienceEnabled = 0;
    double playTimeSeconds = 0;
    qint32 missionType = 0;
    std::array<std::array<qint32, kMaxContinents + 1>, kMaxPlayers + 1> missionContinents{};
    qint32 missionContinentIndex = 1;
    qint32 escortTarget = 0;
    quint8 rankGame = 0;
    qint32 rankAtGameStart = 99;
    qint32 rankFlagAtGameStart = 99;
    qint32 savesUsed = 0;
    std::array<QString, kMaxPlayers + 1> playerName;
    QString campaignName;
    QString mapPath; // the campaign file of a campaign from a file, else the map file
};

extern SavedGameRecord savedGameMirror;

// The saved game of the running game; the name the set-up flow gives a new game; whether the
// running game came from a file or has been saved through the save dialog.
extern QString saveFileName;
extern QString defaultSaveName;
extern quint8 gameLoaded;
extern quint8 gameSaved;

constexpr qint32 kNoRankAtStart = 99;
// The file's size without its twelve texts.
constexpr qint64 kSavedGameFixedBytes = 4701;

// The running game as a saved game holds it, with `playTime` as its play time.
SavedGameRecord capturedGame(double playTime);
// A network game is saved as its turn in play stood when it began (the network part sets this):
// it may put that record in place of the game as it stands.
extern void (*turnStartOfSave)(SavedGameRecord &game);

// Writes the running game to `path` and, once it is written, into `savedGameMirror`; the play
// time is brought up to date with it. False (and nothing changed) when the file could not be
// written, `why` then saying why; an existing file is then left as it was.
bool writeSavedGame(const QString &path, QString *why = nullptr);

// The bytes of a saved game and back. Decoding refuses (false, `record` untouched) what is short
// or damaged, or holds a value outside the saved-game limits; `broken` then names that value.
QByteArray encodeSavedGame(const SavedGameRecord &record);
bool decodeSavedGame(const QByteArray &bytes, SavedGameRecord &record, QString *broken = nullptr);

// Reads the saved game at `path` into `savedGameMirror`; the live game is not touched. `ok` is
// false when there is no such file (no message: the caller says "file not found") or when it
// cannot be read (the system's reason), is short, damaged, outside the limits or not a regular
// file (a message says so, naming the value outside in the writer's words, and `refusalTold` is
// set); the mirror is then left as it was. A name that is not a regular file is never opened
// for reading.
void readSavedGame(const QString &path, bool &ok, bool *refusalTold = nullptr);

void resetSavedGameState();
