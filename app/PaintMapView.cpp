#include "app/PaintMapView.h"

#include "app/PendingStateGlobals.h"
#include "app/PictureFiles.h"
#include "app/WindowState.h"
#include "net/NetPlay.h"
#include "state/GameState.h"
#include "state/MapPicture.h"
#include "state/MapView.h"

#include <QPainter>

namespace {

constexpr QRgb kSeedMark = qRgba(253, 255, 254, 255);

// What the map picture was loaded and fitted for.
struct PictureFit {
    quint8 large = 0;
    quint8 wide = 0;
    quint8 unscaled = 0;
    QSize area;
    QSize screen;
    bool operator==(const PictureFit &o) const
    {
        return large == o.large && wide == o.wide && unscaled == o.unscaled && area == o.area && screen == o.screen;
    }
};

PictureFit lastFit;

PictureFit currentFit()
{
    PictureFit fit;
    fit.large = largeImageSet;
    fit.wide = wideImageSet;
    fit.unscaled = customMapUnscaled;
    fit.area = QSize(mapAreaWidth, mapAreaHeight);
    fit.screen = QSize(screenWidth, screenHeight);
    return fit;
}

QImage loadCurrentMapPicture()
{
    const QString path = currentMapPicturePath();
    if (path.isEmpty())
        return QImage();
    const QImage picture = readPicture(path);
    // Fitted in the form it is painted in: a picture kept with a palette (the game's own are,
    // they read faster) would be scaled with other rounding than the same picture in 32 bits.
    if (picture.format() != QImage::Format_Indexed8)
        return picture;
    return picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

void markLabelPoints()
{
    if (!markSeedPixels || mapImage.isNull())
        return;
    const int count = qBound(0, static_cast<int>(territoryCount), kMaxTerritories);
    for (int t = 1; t <= count; ++t) {
        int x = territoryPos[t].x;
        int y = territoryPos[t].y;
        designToPicture(x, y);
        if (mapImage.valid(x, y))
            mapImage.setPixel(x, y, kSeedMark);
    }
}

void clearPinchState()
{
    pinchInProgress = 0;
    pinchZoomApplied = 0;
    pinchGrowCount = 0;
    pinchShrinkCount = 0;
    lastZoomDirection = 0;
}

} // namespace

bool mapRebuildDue()
{
    return mapPaintState == QLatin1String("0");
}

bool mapPictureFitChanged()
{
    return !(currentFit() == lastFit);
}

void rebuildMapPicture()
{
    lastFit = currentFit();
    mapImage = loadCurrentMapPicture();
    fitMapPicture();
    installMapPicture(mapImage);
    repaintEveryTerritory();
    drawPanelOfThisScreen();
    markLabelPoints();
    clearPinchState();
}

void drawMapPicture(QPainter &painter, const MapDrawing &drawing)
{
    if (mapImage.isNull() || drawing.source.isEmpty() || drawing.target.isEmpty())
        return;
    painter.drawImage(drawing.target, mapImage, drawing.source);
}

void repaintShown(int t)
{
    if (!isValidTerritory(t) || t > kMaxTerritories)
        return;
    updateTerritoryDisplay(t, displayedTerritoryState[t].armies, displayedTerritoryState[t].owner, highlightChanges,
                           territoryPaintFlagB, territoryPaintFlagA);
}

void repaintEveryTerritory()
{
    for (int t = 1; t <= territoryCount; ++t) {
        highlightChanges = territoryChanged[t] == 'j' ? 1 : 0;
        repaintShown(t);
    }
    highlightChanges = 0;
}

void resetPaintMapView()
{
    lastFit = PictureFit();
}
