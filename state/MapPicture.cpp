#include "state/MapPicture.h"

#include "state/GameState.h"
#include "state/Seams.h"

// The painter itself arrives with the map pictures.
void updateTerritoryDisplay(int, int, int, int, int, int) {}

void sendTurnUpdate(int territory)
{
    if (!isValidTerritory(territory))
        return;
    territoryChanged[territory] = highlightChanges ? 'j' : 'n';
    displayedTerritoryState[territory] = territoryState[territory];
    updateTerritoryDisplay(territory, territoryState[territory].armies, territoryState[territory].owner,
                           highlightChanges ? 1 : 0, 0, 0);
    interaction().statusChanged();
}

void drawPlayerPanel() {}
