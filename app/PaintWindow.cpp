// The paint handler: the whole window on every paint, in the order the mouse handlers and the
// game loop rely on (the layout first, so that the values they read are those of the picture
// they see).

#include "app/ViewArea.h"

#include "app/PaintLayout.h"
#include "app/PaintMapView.h"
#include "app/PaintSideMenus.h"
#include "app/PaintStatusBar.h"
#include "app/WindowState.h"
#include "persist/Settings.h"
#include "state/ForcedOptions.h"
#include "state/GameState.h"
#include "state/MapPicture.h"

#include <QPainter>

namespace {

// Network games show no animations and keep the sides' territory painting in step.
void applyNetworkPaintRule()
{
    if (networkSeat <= 0)
        return;
    forceAnimationsOff();
    networkSyncFlag = 1;
}

} // namespace

void ViewArea::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    applyNetworkPaintRule();
    const MenuStrips &strips = menuStrips();
    measureScreenForPaint();
    choosePictureSets(height());
    sizePanelAndMapArea();
    // A window that grew or shrank into another picture set needs the picture of that set.
    if (mapPictureFitChanged())
        mapPaintState = QStringLiteral("0");

    bool paintAgain = false;
    if (redrawAll) {
        // A menu redraw: the rebuild of a newly built map waits for the next paint, it is never
        // skipped, or the old map's picture would stay under the new map's territories.
        redrawAll = 0;
        paintAgain = mapRebuildDue();
    } else if (mapRebuildDue()) {
        restartGameTimer();
        mapShownSetting = 1;
        rebuildMapPicture();
        mapPaintState = QStringLiteral("1");
    }
    // The panel follows the map as it is shown now.
    refreshPlayerPanel();
    computeMapView();
    drawMapPicture(painter, placeMapPicture());

    setMenuGeometry();
    paintStatusBar(painter, strips);
    if (screenMode == 9)
        paintAgain = paintGamePanel(painter, strips) || paintAgain;
    else
        paintAgain = paintSideMenu(painter, strips) || paintAgain;
    queueRemainingPress();
    painter.end();
    if (paintAgain)
        update();
}
