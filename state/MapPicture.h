#pragma once
// Painting territories and the player panel into the map picture, and finding the territory
// under a point.

#include <QtGlobal>

// Paints territory t into `mapImage`: the owner's colour, the army number (capped at 999)
// and its marks.
void updateTerritoryDisplay(int territory, int armies, int owner, int highlighted, int missileHitMark,
                            int drawFlag);
// Shows territory t as it now stands: marks it, copies it to the displayed state and paints it.
void sendTurnUpdate(int territory);
void drawPlayerPanel();
