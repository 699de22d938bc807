#pragma once
// Loading a saved game, the part that needs no window: what the file name says about the game,
// which map it was played on, loading that map again and putting the stored game back over it,
// and what follows the player's answer to "continue this game?".

#include "state/BuiltinMaps.h"
#include "state/GameState.h"

#include <QDateTime>
#include <QString>

#include <array>

// The kind of game a saved game holds, read from the start of its file name (not of the path).
// "LAN_" and "INT_" are read independently of the rest, so "LAN_My..." is a LAN host's game on
// a map file.
struct SavedGameKind {
    bool lanHost = false;         // "LAN_"
    bool internetHost = false;    // "INT_"
    bool builtinCampaign = false; // "CMPGN_"
    bool mapFile = false;         // "My", "LAN_My", "INT_My"
    bool campaignFile = false;    // "My_CMPGN_" (a map file too)
    bool networkHost() const { return lanHost || internetHost; }
    bool operator==(const SavedGameKind &o) const
    {
        return lanHost == o.lanHost && internetHost == o.internetHost && builtinCampaign == o.builtinCampaign
            && mapFile == o.mapFile && campaignFile == o.campaignFile;
    }
};
SavedGameKind classifySavedGameName(const QString &fileName);
// The start of the file name that gives a saved game of that kind its kind ("" for a built-in
// map, "LAN_" or "INT_" for a host's game on one).
QString savedGameKindPrefix(const SavedGameKind &kind);
// The kind of the game in play, as its saved game must name it; a joined player's network game
// is named as the host's.
SavedGameKind runningGameKind();
// A file name the player typed (no folder), made one that loads as `kind`: the kind's start put
// in front when the name does not begin with it. Empty when even so the name would be read as
// another kind (a name beginning with "My" for a game on a built-in map); `clash` then holds the
// start that names the other kind.
QString savedGameNameOfKind(const QString &typed, const SavedGameKind &kind, QString *clash = nullptr);

using StoredTerritories = std::array<TerritoryState, kMaxTerritories + 1>;
// The built-in map of a saved game without a campaign or map-file prefix: the highest of the
// maps' test territories that has an owner; none of them means Europe.
MapFlag recogniseSavedGameMap(const StoredTerritories &territories);
// The map of a built-in campaign's map number; MapFlagCount when the campaign has none.
MapFlag builtinCampaignMap(int campaign, int mapIndex);

enum class SavedGameRestore {
    Restored,
    MapFailed, // the map or campaign no longer loads (the loader has said why)
    Misfit,    // the stored game does not fit the map it names (said here)
};
// Takes the game in `savedGameMirror`, read from `path`, into a game state at its defaults:
// selects and loads its map, copies the stored state over the fresh map, demotes a rank game
// whose rank has changed since, and shows the game as it stood. After a failure the caller puts
// the defaults back.
SavedGameRestore restoreSavedGame(const QString &path);

struct SavedGameRecord;
// The options of a stored game that a new game may take from it as well: card marker, player
// counts, attack rule, strongholds, neutral army, level, troop experience, mission.
void takeStoredGameOptions(const SavedGameRecord &game);
// The computer players' personalities of a stored game, with the random-mix switch.
void takeStoredPersonalities(const SavedGameRecord &game);

// The player declined to continue: the steps the main menu plays after the defaults are back.
void queueStepsAfterDeclinedLoad();

// The player continues: what both a local and a network game take from the file now, the random
// source seeded from the moment the load began, and the buttons of a running game.
void continueSavedGame(const QDateTime &loadStarted);
// The loaded game's play time counts on from now.
void restartPlayTime();
// A local game plays on at once: the play time, the mission's reminders and the current
// player's turn.
void resumeLocalGame();
// A seat of a network host's saved game under this name waits for its player to join again (a
// computer player's name begins with "pc").
bool seatWaitsForPlayer(const QString &savedName);
// The name such a seat shows while it waits: its first two characters and "..".
QString waitingSeatName(const QString &name);
// A network host's game waits for its players: the names of players 2..5 shortened until they
// join again, and the current player shown.
void prepareHostLobby();
