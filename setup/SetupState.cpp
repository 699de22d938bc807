#include "setup/SetupState.h"

#include "setup/SetupHooks.h"

qint32 aiPlayerCount = 0;
QString networkPlayerName;
QString hostName;
quint8 quickLaunch = 0;
quint8 setupRunning = 0;
qint32 savesUsedAtStart = 0;

void resetSetupState()
{
    aiPlayerCount = 0;
    networkPlayerName.clear();
    hostName.clear();
    quickLaunch = 0;
    setupRunning = 0;
    savesUsedAtStart = 0;
    resetSetupHooks();
}
