#pragma once
// The game's tables and rules back at their start values, as a fresh program holds them: what every
// test and fuzz run starts from. Each adds the window's, the data folder's and the network's own.

#include "ai/AiState.h"
#include "rules/Attack.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "state/StateReset.h"

inline void resetGameTablesAndRules()
{
    resetStateSubsystem();
    resetTurnState();
    resetTurnFlowState();
    resetAttackState();
    resetAiState();
}
