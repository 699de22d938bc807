#include "ai/AiState.h"

std::array<Pair, kMaxPlayers + 1> pairs10{};

void resetAiState()
{
    pairs10.fill({});
}
