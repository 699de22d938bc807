#include "app/WindowState.h"

qint32 screenWidth = 0;
qint32 screenHeight = 0;
qint32 screenWidthMM = 0;
qint32 fullScreenHeight = 0;

qint32 screenMode = 1;
qint32 menuAction = 1;
qint32 pressedButton = 0;
qint32 hoveredButton = 0;
quint8 redrawAll = 0;
quint8 screenChangePending = 0;
qint32 pendingScreenButton = 0;
quint8 hoverSkipOnce = 0;

qint32 mapOffsetX = 0;
qint32 mapOffsetY = 0;
qint32 menuLeft = 0;
qint32 menuColumn2Left = 0;
qint32 menuRowY = 0;
qint32 menuFirstRowY = 0;
qint32 menuButtonHeight = 0;
qint32 menuPanelWidth = 0;
qint32 mapAreaWidth = 0;
qint32 mapAreaHeight = 0;
qint32 statusBarX = 0;
qint32 statusBarY = 0;

qint32 pointerPosA = 0;
qint32 pointerPosB = 0;
qint32 dragStartA = 0;
qint32 dragStartB = 0;
quint8 dragActive = 0;
qint32 swipeDirection = 0;
quint8 pinchInProgress = 0;
qint32 pinchGrowCount = 0;
qint32 pinchShrinkCount = 0;
qint32 pinchZoomApplied = 0;
qint32 lastZoomDirection = 0;

QString windowTitleText;

void resetWindowState()
{
    screenMode = 1;
    menuAction = 1;
    pressedButton = hoveredButton = 0;
    redrawAll = screenChangePending = hoverSkipOnce = 0;
    pendingScreenButton = 0;
    mapOffsetX = mapOffsetY = 0;
    menuLeft = menuColumn2Left = menuRowY = menuFirstRowY = 0;
    menuButtonHeight = menuPanelWidth = mapAreaWidth = mapAreaHeight = 0;
    statusBarX = statusBarY = 0;
    pointerPosA = pointerPosB = dragStartA = dragStartB = 0;
    dragActive = 0;
    swipeDirection = 0;
    pinchInProgress = 0;
    pinchGrowCount = pinchShrinkCount = pinchZoomApplied = lastZoomDirection = 0;
    windowTitleText = QString(46, QLatin1Char(' '));
}
