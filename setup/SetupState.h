#pragma once
// The set-up flow's own state, shared with the network steps it runs.

#include <QString>
#include <QtGlobal>

// Flow marker of the set-up dispatcher: 22 hotseat, 55 host, 66 join (network-type question).
extern qint32 aiPlayerCount;
// The local player's name in a network game.
extern QString networkPlayerName;
// The host a joining player connects to (name or address).
extern QString hostName;

void resetSetupState();
