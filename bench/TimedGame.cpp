#include "TimedGame.h"

#include "persist/DataFolder.h"
#include "state/GameState.h"

#include <QElapsedTimer>

#include <algorithm>

GameRecord playGame(const QString &map, const SelfPlayOptions &options, int turnCap)
{
    GameRecord record;
    if (!startSelfPlayGame(options, [&map] { return loadShippedMapNamed(map); }))
        return record;
    while (!gameOver && record.turns < turnCap) {
        record.largestQueue = std::max(record.largestQueue, playQueuedActionSteps());
        QElapsedTimer timer;
        timer.start();
        const int turns = playQueuedMessageSteps();
        const double ms = timer.nsecsElapsed() / 1e6;
        if (turns == 0)
            break;
        record.turns += turns;
        // The turn that decides the game also writes the scores file; it is timed apart.
        if (gameOver)
            record.decidingTurn = ms;
        else
            record.turnTimes.push_back(ms / turns);
    }
    record.largestQueue = std::max(record.largestQueue, playQueuedActionSteps());
    record.finished = gameOver != 0;
    record.winner = selfPlayWinner();
    record.hash = gameStateHash();
    return record;
}

ScratchDataFolder::ScratchDataFolder() : saved(dataDirPath)
{
    dataDirPath = dir.path();
}

ScratchDataFolder::~ScratchDataFolder()
{
    dataDirPath = saved;
}
