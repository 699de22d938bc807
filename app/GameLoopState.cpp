#include "app/GameLoop.h"

#include "app/GameLoopInternal.h"
#include "state/SpriteQueue.h"

#include <QCoreApplication>

qint32 demoBlinkCounter = 0;
quint8 savedWorldFlag = 0;

qint32 highlightedContinent = 0;
qint32 gameListSlot = kNoGameListSlot;
QString hostAddressText;

void (*armyCountQuestion)(int mode, int limit) = nullptr;
void (*gameListEntryUpload)(int slot, const QString &address, int closed) = nullptr;
void (*quitEventLoop)() = [] { QCoreApplication::exit(0); };

void resetGameLoopState()
{
    demoBlinkCounter = 0;
    savedWorldFlag = 0;
    highlightedContinent = 0;
    gameListSlot = kNoGameListSlot;
    hostAddressText.clear();
    setSocketWriter({});
    resetSpriteQueueState();
    resetSpriteOverlay();
}
