#pragma once
// The computer players' own state.

#include "state/GameState.h"

#include <array>

struct Pair {
    qint32 id = 0;
    qint32 value = 0;
};

// Per player: the main enemy the computer player last noted and the turn it noted it.
extern std::array<Pair, kMaxPlayers + 1> pairs10;

void resetAiState();
