#pragma once
// The set-up flow's own state, shared with the network steps it runs.

#include <QString>
#include <QtGlobal>

// Flow marker of the set-up dispatcher until the computer players are counted: 2 a local game,
// 22 hotseat, 40 demo, 55 host, 66 join, 99 stop; afterwards the number of computer players.
extern qint32 aiPlayerCount;
enum SetupMarker {
    MarkerLocal = 2,
    MarkerHotseat = 22,
    MarkerDemo = 40,
    MarkerHost = 55,
    MarkerJoin = 66,
    MarkerStop = 99,
};
// The local player's name in a network game.
extern QString networkPlayerName;
// The host a joining player connects to (name or address).
extern QString hostName;

// A quick launch is under way: the options come from the last saved game.
extern quint8 quickLaunch;
// Set while the set-up flow runs.
extern quint8 setupRunning;
// The saves counter as it stood when a rank game was set up.
extern qint32 savesUsedAtStart;

void resetSetupState();
