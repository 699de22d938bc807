// The computer players' planning: the border rating with its route searches, and a whole
// planning pass of one action cycle, on World and on SwampII with ten players.

#include "Measure.h"

#include "ai/AiState.h"
#include "ai/PlanningPass.h"
#include "ai/RoutePlanning.h"
#include "ai/Toolkit.h"
#include "rules/PlayerRecords.h"
#include "state/BuiltinMaps.h"
#include "state/GameState.h"
#include "state/Seams.h"
#include "state/StateReset.h"

#include <vector>

namespace {

constexpr int kPlayers = 10;
constexpr int kPositions = 20;
constexpr int kRuns = 200;

struct Position {
    std::array<TerritoryState, kMaxTerritories + 1> territories;
    std::array<PlayerRecord, kMaxPlayers + 1> players;
};

// A mid-game position: a random deal with armies of every size, and every continent held
// whole by one player, so every player has borders to rate and stacks to attack with.
Position makePosition(int index)
{
    randomSource().seed(1000 + index);
    for (int t = 1; t <= territoryCount; ++t)
        territoryState[t] = {1 + randomSource().below(kPlayers), 1 + randomSource().below(60)};
    for (int c = 1; c <= continentCount; ++c) {
        const int holder = 1 + (c + index) % kPlayers;
        for (int t : membersOf(c))
            territoryState[t].owner = holder;
    }
    recountAllPlayers();
    return {territoryState, playerTable};
}

void benchMap(const char *mapName, void (*load)())
{
    resetStateSubsystem();
    resetAiState();
    load();
    playerCount = kPlayers;
    difficulty = 1;
    std::vector<Position> positions;
    for (int i = 0; i < kPositions; ++i)
        positions.push_back(makePosition(i));

    int run = 0;
    auto takePosition = [&positions, &run] {
        const Position &position = positions[run % kPositions];
        territoryState = position.territories;
        playerTable = position.players;
        // Every player of every position in turn.
        currentPlayer = aiPlayer = 1 + (run / kPositions) % kPlayers;
        ++run;
    };
    measure(QStringLiteral("planRoute, %1, 10 players").arg(QLatin1String(mapName)), kRuns, [&] {
        takePosition();
        planRoute(1);
    });
    run = 0;
    measure(QStringLiteral("planning pass, %1, 10 players").arg(QLatin1String(mapName)), kRuns, [&] {
        takePosition();
        aiRunPlanning();
    });
}

void loadWorld()
{
    selectMap(MapWorld);
    loadSelectedBuiltinMap();
}

void loadSwampII()
{
    selectMap(MapSwampII);
    loadBuiltinSwampII();
}

void runAiBenchmarks()
{
    benchMap("World", loadWorld);
    benchMap("SwampII", loadSwampII);
}

BenchArea aiArea("ai", runAiBenchmarks);

} // namespace
