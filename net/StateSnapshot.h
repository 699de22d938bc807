#pragma once
// The game-state snapshot that most network messages carry after their four-digit code: fixed-
// width decimal Latin-1 text, so every message's length is known from its code and one flag.
// It carries the rules' territory state as well as the state shown, so that a machine taking
// over the play always works on the whole current state while its map follows the sender's.

#include "state/GameState.h"

#include <QByteArray>
#include <QString>

#include <array>

struct StateSnapshot {
    bool namesDue = false; // the names block follows (the start of a game)
    qint32 currentPlayer = 0;
    std::array<TerritoryState, kMaxTerritories + 1> territories{}; // the rules' state
    std::array<TerritoryState, kMaxTerritories + 1> shown{};       // the state on the map
    std::array<PlayerRecord, kMaxPlayers + 1> players{};
    std::array<qint32, 4> deck{}; // by CardKind
    qint32 mapFlag = 0;
    qint32 territoryCount = 0;
    qint32 continentCount = 0;
    qint32 playerCount = 0;
    qint32 humanSeatCount = 0;
    char attackRule = 'n';
    quint8 strongholds = 0;
    quint8 troopExperienceOn = 0;
    qint32 missionType = 0;
    quint8 neutralArmy = 0;
    quint8 gameOver = 0;
    qint32 placementRound = 0;
    qint32 initialArmies = 0;
    std::array<qint32, kMaxPlayers + 1> troopExperience{};
    qint32 msgTerritory = 0;
    std::array<qint32, 7> cardTrade{}; // 1..6
    qint32 msgArmies = 0;
    qint32 msgOwner = 0;
    qint32 highlightedContinent = 0;
    qint32 msgFlag = 0;
    std::array<QString, kMaxPlayers + 1> names; // names block
    QString mapFileName;                        // names block: the host's map file, if any
};

// Lengths of the snapshot text without and with the names block.
constexpr int kSnapshotLength = 5550;
constexpr int kSnapshotNamesLength = 240;
// The length of a snapshot whose first character is `flag`; 0 for a flag that is neither.
int snapshotLengthFor(char flag);

// The current game state as a snapshot.
StateSnapshot captureSnapshot(bool withNames);
QByteArray encodeSnapshot(const StateSnapshot &snapshot);
// Reads a whole snapshot text. False, with `snapshot` unspecified, when any field is malformed
// or out of its range, or the text is not exactly one snapshot long.
bool decodeSnapshot(const QByteArray &text, StateSnapshot &snapshot);
// The snapshot was made on the map this machine has.
bool snapshotFitsMap(const StateSnapshot &snapshot);
// Takes a snapshot into the game state: what is shown always, the rules' state (territories,
// records, deck, players, options) only with `rulesToo`; the names when the block came along.
void applySnapshot(const StateSnapshot &snapshot, bool rulesToo);
