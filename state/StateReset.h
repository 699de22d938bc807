#pragma once

// Everything the game-state folder keeps (tables, queues, status line, map selection,
// campaign, map loading) back to its start value.
void resetStateSubsystem();
