#pragma once
// Globals the files read that belong to other folders and do not exist there yet.

#include <QtGlobal>

// Network play: the players who have joined the hosted game, the host included.
extern qint32 joinedPlayers;

void resetSharedGlobals();
