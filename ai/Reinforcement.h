#pragma once
// How a computer player puts armies on the map: one placement sequence that changes the state
// at once and queues the change with its narration, the choice of the reinforcement target, and
// further portions from the pool `aiArmiesToPlace`.

// Places n armies on the own territory t with " places n army." / " places n armies.".
void aiPlaceArmies(int t, int n);
// Places this turn's territory armies (the plan's `territoryArmies`) on `aiChosenTerritory`, unless
// an attack has been made this turn; sets `territoryArmiesPlaced`.
void aiPlaceTerritoryArmies();
// Places n armies on t as territory armies (without marking them placed).
void aiPlaceTerritoryArmies2(int t, int n);
// Reinforces the first of `reinforceCandidates` (or the outpost in front of it).
void aiChooseReinforcement();
// Places up to n armies of the pool on `aiChosenTerritory`; an emptied pool brings the territory
// armies after it.
void aiPlaceFromPool(int n);
// Places the whole pool on t (nothing when it is empty).
void aiPlacePool(int t);
