// The game speed entries and the map's colour style. The speed is the game timer's interval:
// the loop plays one step per tick.

#include "app/ViewArea.h"

#include "app/GameSpeed.h"
#include "app/PaintMapView.h"
#include "persist/Settings.h"
#include "state/ForcedOptions.h"
#include "state/GameState.h"
#include "state/Seams.h"
#include "state/StatusLine.h"

int gameSpeedInterval()
{
    if (networkSeat > 0)
        return kNetworkGameInterval;
    if (speedFlag96)
        return 96;
    if (speedFlag160)
        return 160;
    if (speedFlag224)
        return 224;
    if (speedFlag288)
        return 288;
    return fastSpeed ? 384 : 512;
}

void ViewArea::startGameTimer(int milliseconds)
{
    gameTimer.stop();
    gameTimer.start(milliseconds, this);
    gameTimerIntervalMs = milliseconds;
}

void ViewArea::restartGameTimer()
{
    if (networkSeat > 0)
        forceFastSpeed();
    startGameTimer(gameSpeedInterval());
}

void ViewArea::runAtNetworkPace()
{
    // Network games keep one pace for every side; no narration is queued at it.
    forceFastSpeed();
    startGameTimer(kNetworkGameInterval);
}

void ViewArea::returnToChosenOptions()
{
    endForcedOptions();
    restartGameTimer();
}

bool ViewArea::refuseSpeedChangeInNetworkGame()
{
    if (networkSeat <= 0)
        return false;
    setStatusText(QStringLiteral("-- Locked game speed in multiplayer --"));
    return true;
}

void ViewArea::chooseGameSpeed(int milliseconds, quint8 flag288, quint8 flag224, quint8 flag160,
                               quint8 flag96, quint8 fast)
{
    startGameTimer(milliseconds);
    chooseFastSpeed(fast);
    speedFlag288 = flag288;
    speedFlag224 = flag224;
    speedFlag160 = flag160;
    speedFlag96 = flag96;
    saveSettings();
}

void ViewArea::setGameSpeed512()
{
    if (!refuseSpeedChangeInNetworkGame())
        chooseGameSpeed(512, 0, 0, 0, 0, 0);
}

void ViewArea::setGameSpeed384()
{
    if (!refuseSpeedChangeInNetworkGame())
        chooseGameSpeed(384, 0, 0, 0, 0, 1);
}

void ViewArea::setGameSpeed288()
{
    if (!refuseSpeedChangeInNetworkGame())
        chooseGameSpeed(288, 1, 0, 0, 0, 1);
}

void ViewArea::setGameSpeed224()
{
    if (!refuseSpeedChangeInNetworkGame())
        chooseGameSpeed(224, 0, 1, 0, 0, 1);
}

void ViewArea::setGameSpeedFast()
{
    if (refuseSpeedChangeInNetworkGame())
        return;
    chooseGameSpeed(160, 0, 0, 1, 0, 1);
    interaction().message(MessageIcon::Information, QString(),
                          tr("Helicopter sounds disabled with this setting."));
}

void ViewArea::setGameSpeedFastest()
{
    if (refuseSpeedChangeInNetworkGame())
        return;
    chooseGameSpeed(96, 0, 0, 0, 1, 1);
    interaction().message(MessageIcon::Information, QString(),
                          tr("Helicopter sounds disabled with this setting. \nDisable Animations for more speed."));
}

void ViewArea::setOptionOn()
{
    setDisplayOption(1);
}

void ViewArea::setOptionOff()
{
    setDisplayOption(0);
}

void ViewArea::setDisplayOption(quint8 on)
{
    // Allowed at any time, in network games too: it changes only how this side draws the map.
    displayOptionA = displayOptionB = on;
    saveSettings();
    repaintEveryTerritory();
    update();
}
