#include "app/PinchZoom.h"

#include "app/WindowState.h"
#include "state/GameState.h"
#include "state/MapView.h"

bool applyPinchUpdate(bool scaleChanged, double scaleFactor, PinchPhase phase)
{
    pinchInProgress = 1;
    dragActive = 0;
    if (scaleChanged) {
        if (scaleFactor < 1.0)
            ++pinchShrinkCount;
        else if (scaleFactor > 1.0)
            ++pinchGrowCount;
    }
    if (phase == PinchPhase::Canceled) {
        // A cancelled gesture never finishes: without this, swipes would stay blocked until the
        // next rebuild of the map picture.
        pinchInProgress = 0;
        return false;
    }
    if (phase != PinchPhase::Finished || pinchZoomApplied != 0)
        return false;
    pinchZoomApplied = 1;
    if (pinchShrinkCount > pinchGrowCount) {
        lastZoomDirection = 1;
        zoomLevel = qMax(0, zoomLevel - 1);
    } else {
        lastZoomDirection = 2;
        zoomLevel = qMin(2, zoomLevel + 1);
    }
    swipeDirection = 0;
    mapPaintState = QStringLiteral("0");
    return true;
}
