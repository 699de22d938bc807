#pragma once
// Globals of the game-state folder that the window needs and that folder does not keep yet;
// they move there with the painting of the loop's steps.

#include <QtGlobal>

// The last two arguments every repaint of a territory passes to `updateTerritoryDisplay`:
// the missile-hit mark (B) and the draw flag (A).
extern quint8 territoryPaintFlagA;
extern quint8 territoryPaintFlagB;
