#pragma once
// A computer player's set-up at the start of a game: its stronghold (when strongholds are on)
// and its initial armies, placed in one pass straight into the territory tables.

// Works for `currentPlayer`; writes `territoryState` and `displayedTerritoryState` and queues
// no steps.
void aiInitialPlacement();
// Spends the pool on the current player's 1-army territories of one continent, 3 at a time.
void reinforceWeakInContinent(int &pool, int continent);
