#include "app/PendingStateGlobals.h"

quint8 territoryPaintFlagA = 0;
quint8 territoryPaintFlagB = 0;
