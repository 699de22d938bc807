#pragma once
// What the dialogs share with the window: the answer of a blocking dialog and the flags of
// the member dialogs shown without blocking. The dialogs themselves come with their own work,
// which takes these over.

#include <QtGlobal>

extern qint32 dialogChoice;       // set by the menu-choice slots, 1..11
extern quint8 dialogOpen;         // a member dialog is shown: other clicks only raise it
extern quint8 armyCountDialogOpen;
extern quint8 cardDialogOpen;
extern quint8 aiNamesDialogOpen;
extern quint8 tradeNoticeShown;
extern double dialogOpacity;      // every dialog's opacity

void resetDialogState();
