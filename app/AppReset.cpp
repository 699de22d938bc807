#include "app/AppReset.h"

#include "app/DialogState.h"
#include "app/NetworkState.h"
#include "app/WindowState.h"

void resetAppState()
{
    resetWindowState();
    resetNetworkState();
    resetDialogState();
}
