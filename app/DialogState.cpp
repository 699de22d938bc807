#include "app/DialogState.h"

qint32 dialogChoice = 0;
quint8 dialogOpen = 0;
quint8 armyCountDialogOpen = 0;
quint8 cardDialogOpen = 0;
quint8 aiNamesDialogOpen = 0;
quint8 tradeNoticeShown = 0;
double dialogOpacity = 0.85;

void resetDialogState()
{
    dialogChoice = 0;
    dialogOpen = armyCountDialogOpen = cardDialogOpen = aiNamesDialogOpen = 0;
    tradeNoticeShown = 0;
    dialogOpacity = 0.85;
}
