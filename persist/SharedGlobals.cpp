#include "persist/SharedGlobals.h"

qint32 joinedPlayers = 0;

void resetSharedGlobals()
{
    joinedPlayers = 0;
}
