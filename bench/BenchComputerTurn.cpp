// Computer turns: the time of one whole computer turn on World, Europe and SwampII with ten
// players, and of a whole ten-player game on World, all played with the queues drained at once.
//
// Also the simulator: `tarvan_bench simulate <map> <players> <seed> [options]` plays one game of
// computer players alone and prints the winner, the number of turns, a hash of the final state
// and the turn times. Options: dice (the default) or 1for1, strongholds, experience, neutral,
// animations, fast, easy, cap=<turns>, personalities=<digits> (0..5, 6 Unstable, one a player).

#include "Measure.h"
#include "TimedGame.h"

#include "ai/SelfPlay.h"
#include "state/GameState.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kBenchTurnCap = 3000;
constexpr int kSimulatorTurnCap = 20000;

void printTimes(const QString &name, std::vector<double> times)
{
    if (times.empty()) {
        std::printf("%-48s no turns played\n", qPrintable(name));
        return;
    }
    std::sort(times.begin(), times.end());
    std::printf("%-48s median %8.3f ms   worst %8.3f ms   (%d runs)\n", qPrintable(name), times[times.size() / 2],
                times.back(), static_cast<int>(times.size()));
    std::fflush(stdout);
}

// Ten-player games under every option, each turn of every game timed.
void benchTurns(const char *map, int games)
{
    if (!builtinMapNames().contains(QLatin1String(map))) {
        std::printf("computer turn, %s: skipped, the program has no such map yet\n", map);
        return;
    }
    std::vector<double> turns, deciding;
    for (int game = 0; game < games; ++game) {
        SelfPlayOptions options;
        options.seed = 100 + game;
        options.strongholds = game % 3 == 1;
        options.troopExperience = game % 2 == 1;
        options.attackRule = game % 4 == 3 ? 'j' : 'n';
        options.animations = game % 2 == 0;
        const GameRecord record = playGame(QLatin1String(map), options, kBenchTurnCap);
        turns.insert(turns.end(), record.turnTimes.begin(), record.turnTimes.end());
        if (record.finished)
            deciding.push_back(record.decidingTurn);
    }
    printTimes(QStringLiteral("computer turn, %1, 10 players").arg(QLatin1String(map)), turns);
    printTimes(QStringLiteral("deciding turn (scores file), %1").arg(QLatin1String(map)), deciding);
}

void runTurnBenchmarks()
{
    ScratchDataFolder scratch;
    benchTurns("World", 8);
    benchTurns("Europe", 8);
    benchTurns("SwampII", 4);
    int seed = 200;
    measure(QStringLiteral("whole game, World, 10 players"), 6, [&seed] {
        SelfPlayOptions options;
        options.seed = seed++;
        playGame(QStringLiteral("World"), options, kSimulatorTurnCap);
    });
}

// ---- The simulator ----

bool parseOptions(const QStringList &words, SelfPlayOptions &options, int &cap)
{
    for (const QString &word : words) {
        if (word.startsWith(QLatin1String("cap=")))
            cap = word.mid(4).toInt();
        else if (!applySelfPlayWord(word, options))
            return false;
    }
    return cap > 0;
}

void printUsage()
{
    std::printf("usage: tarvan_bench simulate <map> <players 2-10> <seed> [dice|1for1] [strongholds] "
                "[experience] [neutral] [animations] [fast] [easy] [cap=<turns>] [personalities=<digits>]\n"
                "maps: %s\n",
                qPrintable(shippedMapNames().join(QLatin1String(", "))));
}

void runSimulator()
{
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.value(0) != QLatin1String("simulate"))
        return; // only on request
    bool playersOk = false, seedOk = false;
    const QString map = args.value(1);
    SelfPlayOptions options;
    options.players = args.value(2).toInt(&playersOk);
    options.seed = args.value(3).toUInt(&seedOk);
    int cap = kSimulatorTurnCap;
    if (!shippedMapNames().contains(map, Qt::CaseInsensitive) || !playersOk || !seedOk || options.players < 2
        || options.players > kMaxPlayers || !parseOptions(args.mid(4), options, cap)) {
        printUsage();
        return;
    }
    ScratchDataFolder scratch;
    const GameRecord record = playGame(map, options, cap);
    std::printf("map %s, %d players, seed %u, %s, strongholds %s, troop experience %s\n", qPrintable(map),
                options.players, options.seed, options.attackRule == 'j' ? "1-for-1" : "Dice-like",
                options.strongholds ? "on" : "off", options.troopExperience ? "on" : "off");
    if (record.winner != 0)
        std::printf("winner: player %d (%s)\n", record.winner, qPrintable(playerName[record.winner].trimmed()));
    else
        std::printf("winner: none (%s)\n", record.finished ? "stalemate" : "turn cap reached");
    std::printf("turns: %d\nhash: %016llx\nlargest action queue: %d steps\n", record.turns,
                static_cast<unsigned long long>(record.hash), record.largestQueue);
    printTimes(QStringLiteral("computer turn"), record.turnTimes);
    if (record.finished)
        std::printf("deciding turn (with the scores file): %.3f ms\n", record.decidingTurn);
}

BenchArea turnsArea("turns", runTurnBenchmarks);
BenchArea simulateArea("simulate", runSimulator);

} // namespace
