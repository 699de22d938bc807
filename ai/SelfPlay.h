#pragma once
// A game of computer players alone, played without a window: the set-up of such a game on a
// built-in map, and the playing of the queued steps the way the game loop plays them (territory
// steps into the displayed state, initial placements, and message step 5 starting the next
// computer turn). The simulator of bench/ and the soak tests play their games through it.

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>
#include <vector>

// The built-in maps by the names the simulator takes ("World", "Europe", ..., "SwampII").
QStringList builtinMapNames();
// Loads the built-in map of that name (case does not matter); false when there is none.
bool loadBuiltinMapNamed(const QString &name);
// The map texts by their file names ("France.txt", ...); SwampII is a built-in map.
QStringList mapTextNames();
// Every map the game ships: the built-in maps, then the map texts.
QStringList shippedMapNames();
// Loads a built-in map, or a map text as a top-five game reads it (case does not matter).
bool loadShippedMapNamed(const QString &name);

struct SelfPlayOptions {
    quint32 seed = 1;
    int players = 10;
    char attackRule = 'n'; // 'n' "Dice-like", 'j' "1-for-1"
    bool strongholds = false;
    bool troopExperience = false;
    bool neutralArmy = false; // player 3 is the neutral army
    bool animations = false;
    bool fastSpeed = false;
    int difficulty = 1;
    // The personality setting (0..5, 6 Unstable) of player p at index p - 1; players beyond the
    // list take the settings 0, 1, ..., 6 in turn.
    std::vector<int> personalities;
};

// Sets the option that one of the simulator's words names: dice (the default) or 1for1,
// strongholds, experience, neutral, animations, fast, easy, personalities=<digits>. False for
// any other word.
bool applySelfPlayWord(const QString &word, SelfPlayOptions &options);

// Clears the previous game, seeds the random source, loads the map through `loadMap` and sets
// up a game of computer players on it: players, names, options, personalities, the deal and the
// start. False when the map did not load.
bool startSelfPlayGame(const SelfPlayOptions &options, const std::function<bool()> &loadMap);

// Plays every queued action step; returns the largest number of action steps the queue held.
int playQueuedActionSteps();
// Plays every queued message step; returns the number of computer turns it started.
int playQueuedMessageSteps();

// The only player still in a decided game; 0 while it runs, after a stalemate or the demo's end.
int selfPlayWinner();
// A hash of everything a game decides: territories, player records, cards, turns and routes.
quint64 gameStateHash();
