#pragma once
// The settings file: options, names and personalities kept from one run to the next. One fixed
// record of twenty fields, always written whole; `saveSettings` re-reads the file before it
// writes, so fields it does not own keep what the file holds.

#include "state/GameState.h"

#include <QString>

#include <array>

// The in-memory image of the settings file; arrays are 1-based like every table.
struct SettingsRecord {
    std::array<qint32, 21> colourOrder{};
    std::array<qint32, kMaxPlayers + 1> personalities{};
    quint8 randomMixPersonalities = 0;
    quint8 fastSpeed = 1;
    qint32 mapShownSetting = 0;
    qint32 markerValue = 1000;
    quint8 reservedFlag1 = 0;
    quint8 hideMapDownloadHint = 0;
    quint8 reservedFlag2 = 0;
    quint8 reservedFlag3 = 0;
    quint8 speedFlag288 = 1;
    quint8 speedFlag224 = 0;
    quint8 speedFlag160 = 0;
    quint8 speedFlag96 = 0;
    qint32 displaySizeClass = 1;
    std::array<quint8, 10> soundEnabled{}; // 1..9, as `soundEnabled`
    quint8 reservedFlag4 = 0;
    quint8 displayOptionA = 1;
    qint32 routeLimitSetting = 80;
    qint32 savesUsed = 0;
    quint8 animationsEnabled = 1;
    QString highScoreName;
    QString lastLanHost;
    QString lastInternetHost;
    QString hostExternalIp;
    QString hostGameName;
    std::array<QString, kMaxPlayers + 1> hotseatNames;
    std::array<QString, kMaxPlayers + 1> playerNames;
    QString lastSaveFileName;
};

// The game name of a host who has named his game nothing.
inline const QString kUnnamedGame = QStringLiteral("noname");

// The record last read or written; while the file's values are not in use (it could not be read),
// the settings in use as a save would write them.
extern SettingsRecord settingsRecord;
extern QString settingsFilePath;

// One-shot selectors of `saveSettings`: a caller sets one to 1 for a single call.
extern quint8 partialSaveFlag;       // leave the stored personalities and Random Mix alone
extern quint8 saveHotseatNamesFlag;  // also store `playerName` 1..10 as the hotseat names
extern quint8 saveHighScoreNameFlag; // also store `playerName` 1 as the high-score name

extern quint8 resolveUnstableOnLoad; // `loadSettings` turns a stored Unstable into a random one
extern char resumedGameMark;         // 'j' while a game loaded from a file is being continued

// Globals of the settings file that no other folder owns.
extern quint8 reservedFlag1;
extern quint8 reservedFlag2;
extern quint8 reservedFlag3;
extern quint8 reservedFlag4;
extern qint32 mapShownSetting;
extern qint32 savesUsed; // saves made in rank games, at most kMaxRankSaves
extern QString lastSaveFileName;
extern QString lastLanHost;
extern QString lastInternetHost;
extern QString hostExternalIp;
extern QString hostGameName;

constexpr int kMaxRankSaves = 50;
constexpr int kPersonalityUnstable = 6;

// The file's name in the data folder.
QString settingsFileName();

// The names a new settings file holds, and the names dialog restores: "player", "pc II" to
// "pc X", padded to 18 characters.
QString defaultPlayerName(int player);

// Fills the option globals from the settings file, creating the file from the current values
// when there is none. A damaged file (a value out of its range, a broken text) is refused whole
// with a message and changes nothing. A file that ends early gives the fields it holds whole,
// the others take the values of a new file, and the player is told. Either message comes once;
// the next `saveSettings` writes a whole file again. A file the program may not or cannot read
// is told once with the system's reason, changes nothing, and no save replaces it while it
// cannot be read (the settings in use stay; before any file was read, a new file's). Once it can
// be read again, the first load or save puts the options and names the player changed meanwhile
// on top of the file's values, stores that and takes it into use (a save during a game leaves
// that to the next load or save after it). False when the file was refused or could
// not be read or created.
bool loadSettings();
// True from a read of the file that failed until its values are taken into use: the settings in
// use are not the file's meanwhile.
bool settingsFileValuesOwed();
// Writes the option globals into the settings file (read, change, write the whole record); while
// the file's values are not in use, only the options the player has changed since they could not
// be read. False when the file could not be written; the old file is then left as it was, and the
// player is told once (not again until a write has succeeded).
bool saveSettings();

// A game is under way from the moment the set-up flow or the loader begins to fill one in, or a
// demo plays, until the game defaults are reset. Meanwhile the settings file keeps the
// personalities, Random Mix and names chosen in the menus, whatever the game does with them.
bool gameInProgress();
// The set-up flow and the loader: a game is being set up or taken up.
void markGameUnderWay();
// The reset to the defaults, and the Personalities dialog: what is in play is the menus' choice.
void clearGameUnderWay();

void resetSettingsState();
