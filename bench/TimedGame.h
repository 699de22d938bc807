#pragma once
// A game of computer players alone, every computer turn timed; the simulator and the turn
// measures play their games through it.

#include "ai/SelfPlay.h"

#include <QString>
#include <QTemporaryDir>

#include <vector>

struct GameRecord {
    int turns = 0;
    int winner = 0;
    int largestQueue = 0;
    quint64 hash = 0;
    bool finished = false;
    std::vector<double> turnTimes; // ms per computer turn, the deciding turn left out
    double decidingTurn = 0;       // ms of the turn that decided the game
};

// Plays one game on a shipped map to its end (or the cap), timing every computer turn.
GameRecord playGame(const QString &map, const SelfPlayOptions &options, int turnCap);

// A scratch data folder, so that the games won by computer players leave no scores file behind.
struct ScratchDataFolder {
    QTemporaryDir dir;
    QString saved;
    ScratchDataFolder();
    ~ScratchDataFolder();
};
