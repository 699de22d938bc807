// The worst computer turn of ten-player games on every shipped map, and the whole ten-player
// World game. A game plays the same way every time, so each is replayed: a turn's steady time is
// its median over the replays, which a pause of the machine in one replay does not move, and
// the line gives the worst steady time and the median and range of each replay's worst turn.
// `tarvan_bench worstturns [map ...]` measures the named maps only (the World game always).

#include "Measure.h"
#include "TimedGame.h"

#include "ai/SelfPlay.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kReplays = 5;
constexpr int kTurnCap = 20000;

// Dice-like and nothing else, then 1-for-1 with strongholds and troop experience.
std::vector<SelfPlayOptions> gamesPerMap()
{
    SelfPlayOptions plain;
    plain.seed = 1;
    SelfPlayOptions strongholds;
    strongholds.seed = 2;
    strongholds.attackRule = 'j';
    strongholds.strongholds = true;
    strongholds.troopExperience = true;
    return {plain, strongholds};
}

void printSpread(const QString &name, std::vector<double> times, const QString &runs)
{
    std::sort(times.begin(), times.end());
    std::printf("%-44s median %8.3f ms   range %8.3f – %8.3f ms   (%s)\n", qPrintable(name),
                times[times.size() / 2], times.front(), times.back(), qPrintable(runs));
    std::fflush(stdout);
}

double medianOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Every turn of every game of the map, in order, for each replay.
void benchWorstTurn(const QString &map)
{
    const std::vector<SelfPlayOptions> games = gamesPerMap();
    std::vector<std::vector<double>> replays(kReplays);
    for (std::vector<double> &turns : replays)
        for (const SelfPlayOptions &options : games) {
            const GameRecord record = playGame(map, options, kTurnCap);
            turns.insert(turns.end(), record.turnTimes.begin(), record.turnTimes.end());
        }
    const std::size_t turns = replays.front().size();
    double steadyWorst = 0;
    for (std::size_t i = 0; i < turns; ++i) {
        std::vector<double> times;
        for (const std::vector<double> &replay : replays)
            if (i < replay.size())
                times.push_back(replay[i]);
        steadyWorst = std::max(steadyWorst, medianOf(times));
    }
    std::vector<double> worst;
    for (const std::vector<double> &replay : replays)
        worst.push_back(replay.empty() ? 0 : *std::max_element(replay.begin(), replay.end()));
    std::sort(worst.begin(), worst.end());
    std::printf("%-44s steady %8.3f ms   worst %8.3f ms, range %8.3f – %8.3f ms   (%d replays of %d games, "
                "%d turns)\n",
                qPrintable(QStringLiteral("worst computer turn, %1, 10 players").arg(map)), steadyWorst,
                medianOf(worst), worst.front(), worst.back(), kReplays, static_cast<int>(games.size()),
                static_cast<int>(turns));
    std::fflush(stdout);
}

void benchWholeWorldGame()
{
    constexpr int kGames = 6;
    std::vector<double> times;
    for (int replay = 0; replay < kReplays; ++replay) {
        for (int game = 0; game < kGames; ++game) {
            SelfPlayOptions options;
            options.seed = 200 + game;
            QElapsedTimer timer;
            timer.start();
            playGame(QStringLiteral("World"), options, kTurnCap);
            times.push_back(timer.nsecsElapsed() / 1e6);
        }
    }
    printSpread(QStringLiteral("whole game, World, 10 players"), times,
                QStringLiteral("%1 replays of %2 games").arg(kReplays).arg(kGames));
}

void runWorstTurnBenchmarks()
{
    ScratchDataFolder scratch;
    const QStringList args = QCoreApplication::arguments();
    const int at = args.indexOf(QStringLiteral("worstturns"));
    QStringList maps = at >= 0 ? args.mid(at + 1) : QStringList();
    if (maps.isEmpty())
        maps = shippedMapNames();
    for (const QString &map : maps) {
        if (shippedMapNames().contains(map, Qt::CaseInsensitive))
            benchWorstTurn(map);
        else
            std::printf("worst computer turn, %s: no such map\n", qPrintable(map));
    }
    benchWholeWorldGame();
}

BenchArea worstTurnsArea("worstturns", runWorstTurnBenchmarks);

} // namespace
