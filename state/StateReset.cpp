#include "state/StateReset.h"

#include "state/BuiltinMaps.h"
#include "state/Campaign.h"
#include "state/ForcedOptions.h"
#include "state/GameState.h"
#include "state/MapFile.h"
#include "state/MapLoading.h"
#include "state/MapPicture.h"
#include "state/MapView.h"
#include "state/StatusLine.h"
#include "state/StepQueues.h"

void resetStateSubsystem()
{
    resetGameState();
    resetForcedOptions();
    clearStepQueues();
    resetStatusLine();
    resetCampaignState();
    selectMap(MapWorld);
    mapFileLines.clear();
    mapFilePath.clear();
    useStoredMapPath = 'n';
    mapLoadSucceeded = 0;
    mapLoadOutsideSetup = 0;
    resetMapPicture();
    resetMapView();
}
