#pragma once
// The map picture in the window: built once on the first paint of a map (loaded, fitted, every
// territory and the player panel painted into it) and drawn on every paint through the view.

#include "app/PaintLayout.h"

class QPainter;

// The first paint of a map is due: the map was built or zoomed since the last one.
bool mapRebuildDue();
// The picture was fitted for another window: another picture set or another map area.
bool mapPictureFitChanged();
// Loads the current map's picture for the picture sets in use, fits it, makes it the map
// picture and paints every territory and the player panel into it. A picture that cannot be
// loaded leaves the map picture empty; the game goes on without it.
void rebuildMapPicture();
// Draws the shown part of the map picture.
void drawMapPicture(QPainter &painter, const MapDrawing &drawing);

// Paints territory t into the map picture as it is shown (`displayedTerritoryState`) with the
// current `highlightChanges`; nothing for a number that is no territory.
void repaintShown(int t);
// Paints every territory as it is shown, highlighted where `territoryChanged` marks it; leaves
// `highlightChanges` at 0.
void repaintEveryTerritory();

// Forgets what the picture was fitted for.
void resetPaintMapView();
