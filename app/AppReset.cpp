#include "app/AppReset.h"

#include "setup/SetupState.h"

#include "app/DialogState.h"
#include "app/GameLoop.h"
#include "app/NetworkState.h"
#include "app/PaintLayout.h"
#include "app/PaintMapView.h"
#include "app/PaintStatusBar.h"
#include "app/WindowState.h"

void resetAppState()
{
    resetWindowState();
    resetNetworkState();
    resetDialogState();
}

void resetAllAppState()
{
    resetAppState();
    resetPaintLayout();
    resetPaintStatusBar();
    resetPaintMapView();
    resetGameLoopState();
    resetSetupState();
}
