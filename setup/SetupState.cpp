#include "setup/SetupState.h"

qint32 aiPlayerCount = 0;
QString networkPlayerName;
QString hostName;

void resetSetupState()
{
    aiPlayerCount = 0;
    networkPlayerName.clear();
    hostName.clear();
}
