#pragma once
// The counts of a player's record that follow from the map: territories held, total armies,
// the continents held in full and their bonus. One place recounts them for every rule.

// Recounts territories, armies, the continent-held flags and the continent bonus of player p.
void recountPlayer(int player);
void recountAllPlayers();
// True when the player owns every member of continent c.
bool holdsContinent(int player, int continent);
// The armies a player receives for the territories held: max(3, held / divisor).
int territoryReinforcement(int player);
// The bonus of every continent the player holds in full.
int continentReinforcement(int player);
// Players 1..playerCount that still hold a territory.
int playersLeft();
