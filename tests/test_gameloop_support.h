#pragma once
// What the game-loop tests share: a window on the World map with its picture, a scripted
// interaction, and a socket writer that records every message and fails the sockets asked to.

#include "TestSupport.h"

#include "app/GameLoop.h"
#include "app/ViewArea.h"
#include "rules/PlayerRecords.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/GameState.h"
#include "state/MapPicture.h"
#include "state/MapView.h"
#include "state/StepQueues.h"

#include <QSet>

#include <memory>

namespace loop_test {

struct Written {
    int socket;
    QByteArray bytes;
    QByteArray code() const { return bytes.left(4); }
};

// Stands in for the client sockets: records what is written and fails the sockets in `failing`.
struct RecordingSockets {
    QList<Written> written;
    QSet<int> failing;

    void install()
    {
        setSocketWriter([this](int socket, const QByteArray &bytes) -> qint64 {
            if (failing.contains(socket))
                return -1;
            written.append({socket, bytes});
            return bytes.size();
        });
    }
    QList<QByteArray> codes() const
    {
        QList<QByteArray> list;
        for (const Written &w : written)
            list.append(w.code());
        return list;
    }
    QList<int> writtenSockets() const
    {
        QList<int> list;
        for (const Written &w : written)
            list.append(w.socket);
        return list;
    }
    QList<int> socketsOf(const QByteArray &code) const
    {
        QList<int> list;
        for (const Written &w : written)
            if (w.code() == code)
                list.append(w.socket);
        return list;
    }
};

// The whole game state fresh, the window built (it starts in the demo, which the tests switch
// off unless they want it) and the World picture in `mapImage` with every territory painted.
inline std::unique_ptr<ViewArea> makeLoopWindow(ScriptedInteraction &ui, bool keepDemo = false)
{
    auto window = std::make_unique<ViewArea>();
    setInteraction(&ui);
    if (!keepDemo) {
        demoRunning = 0;
        gameMode = ModeSinglePlayer;
    }
    installMapPicture(QImage(currentMapPicturePath()));
    for (int t = 1; t <= territoryCount; ++t) {
        territoryChanged[t] = territoryMark[t] = 'n';
        updateTerritoryDisplay(t, displayedTerritoryState[t].armies, displayedTerritoryState[t].owner, 0, 0, 0);
    }
    clearStepQueues();
    // Nothing to hand over: the tests begin turns where they mean to.
    turnStarted = 1;
    currentPlayer = 2;
    return window;
}

inline void resetForLoopTest(ScriptedInteraction &ui, quint32 seed = 3)
{
    resetAllGameState(seed);
    ui = ScriptedInteraction();
    setInteraction(&ui);
}

// Every territory dealt to players 1..players, one army each, as the rules and the map show it.
inline void dealRoundRobin(int players)
{
    playerCount = players;
    for (int t = 1; t <= territoryCount; ++t) {
        territoryState[t] = {(t - 1) % players + 1, 1};
        displayedTerritoryState[t] = territoryState[t];
    }
    recountAllPlayers();
}

inline void ticks(ViewArea &window, int n)
{
    for (int i = 0; i < n; ++i)
        window.gameTick();
}

} // namespace loop_test
