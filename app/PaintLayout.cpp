#include "app/PaintLayout.h"

#include "app/DialogState.h"
#include "app/WindowState.h"
#include "state/BuiltinMaps.h"
#include "state/GameState.h"
#include "state/MapPicture.h"
#include "state/MapView.h"

#include <algorithm>

qint32 mapImageWidth = 0;
qint32 mapImageHeight = 0;
qint32 viewQuadrant = 1;
qint32 viewWidth = kDesignPictureWidth;
qint32 viewHeight = kDesignPictureHeight;
quint8 markSeedPixels = 0;

namespace {

ScreenMeasure screenMeasure = nullptr;

constexpr double kDialogOpacity = 0.85;
constexpr int kSmallScreenMM = 140;
constexpr int kMinPanelWidth = 210;

// One hundredth of the screen width: the unit the side panel is measured in.
int panelUnit()
{
    return screenWidth / 100;
}

bool zoomedIn(int zoom)
{
    return zoom >= 1 && zoom <= 2;
}

QSize standardViewSize(int zoom)
{
    if (!zoomedIn(zoom))
        return QSize(kDesignPictureWidth, kDesignPictureHeight);
    if (smallScreen)
        return zoom == 1 ? QSize(572, 379) : QSize(381, 316);
    return zoom == 1 ? QSize(763, 505) : QSize(572, 379);
}

QSize wideViewSize(int zoom)
{
    const double part = zoom == 1 ? 0.8 : zoom == 2 ? 0.6 : 1.0;
    return QSize(static_cast<int>(mapImageWidth * part), static_cast<int>(mapImageHeight * part));
}

// The cell's top-left corner for a view of `size` in a picture of `whole`.
QPoint cellOrigin(int column, int row, int columns, const QSize &size, const QSize &whole)
{
    int x = 0;
    if (columns == 3)
        x = column == 0 ? 0 : column == 1 ? size.width() : whole.width() - size.width();
    else if (column > 0)
        x = whole.width() - size.width();
    const int y = row > 0 ? whole.height() - size.height() : 0;
    return QPoint(x, y);
}

void moveViewQuadrant(int columns)
{
    const int cells = columns * 2;
    const int cell = qBound(1, static_cast<int>(viewQuadrant), cells) - 1;
    int column = cell % columns;
    int row = cell / columns;
    switch (swipeDirection) {
    case 1:
        column = std::min(column + 1, columns - 1);
        break;
    case 2:
        column = std::max(column - 1, 0);
        break;
    case 3:
        row = 1;
        break;
    case 4:
        row = 0;
        break;
    default:
        break;
    }
    viewQuadrant = row * columns + column + 1;
    swipeDirection = 0;
}

void setZoomFactors(int zoom)
{
    zoomFactor = 1.0;
    zoomFactorSmallY = 1.0;
    if (!zoomedIn(zoom))
        return;
    // The fitted wide picture is cut to 0.8 and 0.6 whatever the screen: its factors follow
    // that cut, or a click would land beside the territory drawn under it.
    if (wideImageSet || !smallScreen) {
        zoomFactor = zoom == 1 ? 1.25 : 1.6667;
        zoomFactorSmallY = smallScreen && zoom == 2 ? zoomFactor : 1.0;
        return;
    }
    if (zoom == 1) {
        zoomFactor = 1.6667;
        return;
    }
    zoomFactor = 2.5;
    zoomFactorSmallY = 2.0;
}

} // namespace

void setScreenMeasure(ScreenMeasure measure)
{
    screenMeasure = measure;
}

void measureScreenForPaint()
{
    const ScreenInfo screen = screenMeasure ? screenMeasure() : measureScreen();
    screenWidth = screen.available.width();
    screenHeight = screen.available.height();
    screenWidthMM = screen.widthMM;
    // A screen that does not tell its size is taken for a normal one.
    smallScreen = screenWidthMM > 0 && screenWidthMM < kSmallScreenMM ? 1 : 0;
    dialogOpacity = kDialogOpacity;
}

void choosePictureSets(int windowHeight)
{
    const bool mapFile = mapCustomFlag != 0;
    customMapUnscaled = mapFile && screenWidth > 1200 && screenHeight > 700 ? 1 : 0;
    largeImageSet = 0;
    if (windowHeight > 890 && screenWidth > 1420) {
        largeImageSet = 1;
        wideImageSet = 1;
    }
    const bool roomForWide = windowHeight > 700 && screenWidth > 1300;
    if (mapFile) {
        largeImageSet = 0;
        wideImageSet = roomForWide ? 1 : 0;
    } else if (!largeImageSet) {
        wideImageSet = roomForWide ? 1 : 0;
    }
    if (customMapUnscaled)
        largeImageSet = wideImageSet = 0;
    // Decided on every paint, not only on a map's first: the hit test and the territory painter
    // scale positions by it between paints too.
    if (largeImageSet && !mapHasLargePicture(selectedMap()))
        largeImageSet = 0;
}

void sizePanelAndMapArea()
{
    mapAreaHeight = fullScreenHeight - 65;
    statusBarY = fullScreenHeight - 50;
    const int unit = panelUnit();
    if (smallScreen)
        menuPanelWidth = 23 * unit;
    else if (screenWidth >= 1901 && !wideImageSet)
        menuPanelWidth = 15 * unit;
    else
        menuPanelWidth = std::max(kMinPanelWidth, 12 * unit);
    mapAreaWidth = screenWidth - menuPanelWidth;
    if (wideImageSet || customMapUnscaled) {
        mapScaleX = mapScaleY = 1.0;
    } else {
        mapScaleY = mapAreaHeight / 632.0;
        mapScaleX = mapAreaWidth / 954.0;
    }
    mapOffsetX = mapOffsetY = 0;
    statusBarX = 0;
    highlightChanges = 0;
}

void fitMapPicture()
{
    mapImageWidth = mapImageHeight = 0;
    mapTop = 0;
    displayScale = 0.0;
    if (!customMapUnscaled && wideImageSet && !mapImage.isNull()) {
        QSize box(mapAreaWidth, mapAreaHeight);
        if (screenWidth >= 1591 && screenHeight >= 851) {
            box = QSize(static_cast<int>(0.85 * mapAreaWidth), static_cast<int>(0.85 * mapAreaHeight));
            mapTop = static_cast<int>(0.075 * mapAreaHeight);
        }
        if (box.width() > 0 && box.height() > 0)
            mapImage = mapImage.scaled(box, Qt::KeepAspectRatio, Qt::FastTransformation);
        mapImageWidth = mapImage.width();
        mapImageHeight = mapImage.height();
        displayScale = mapImageWidth / (largeImageSet ? double(kLargePictureWidth) : double(kDesignPictureWidth));
    }
    if (customMapUnscaled)
        displayScale = 1.0;
}

int viewGridColumns()
{
    return smallScreen && zoomLevel == 2 && !wideImageSet ? 3 : 2;
}

void computeMapView()
{
    highlightChanges = 0;
    const int columns = viewGridColumns();
    moveViewQuadrant(columns);
    const int zoom = zoomLevel;
    const bool fitted = wideImageSet && !customMapUnscaled;
    const QSize whole = fitted ? QSize(mapImageWidth, mapImageHeight) : QSize(kDesignPictureWidth, kDesignPictureHeight);
    const QSize size = fitted ? wideViewSize(zoom) : standardViewSize(zoom);
    QPoint origin;
    if (zoomedIn(zoom)) {
        const int cell = viewQuadrant - 1;
        origin = cellOrigin(cell % columns, cell / columns, columns, size, whole);
    }
    viewX = origin.x();
    viewY = origin.y();
    viewWidth = size.width();
    viewHeight = size.height();
    setZoomFactors(zoom);
}

MapDrawing placeMapPicture()
{
    const int spare = screenWidth - menuPanelWidth - mapImageWidth;
    mapLeft = spare > 0 ? static_cast<int>(0.7 * spare) : 0;
    if (customMapUnscaled) {
        menuPanelWidth = std::max(kMinPanelWidth, 12 * panelUnit());
        // The hit test reads the corner of a picture drawn 1:1 from `mapLeft` and `mapTop`.
        mapLeft = std::max(0, (screenWidth - menuPanelWidth - kDesignPictureWidth) / 2);
        mapTop = std::max(0, (screenHeight - 732) / 2);
    }
    return currentMapDrawing();
}

MapDrawing currentMapDrawing()
{
    MapDrawing drawing;
    drawing.source = QRect(viewX, viewY, viewWidth, viewHeight);
    if (customMapUnscaled)
        drawing.target = QRect(mapLeft, mapTop, kDesignPictureWidth, kDesignPictureHeight);
    else if (wideImageSet)
        drawing.target = QRect(mapLeft, mapTop, mapImageWidth, mapImageHeight);
    else
        drawing.target = QRect(0, 0, mapAreaWidth, mapAreaHeight);
    return drawing;
}

void setMenuGeometry()
{
    menuLeft = mapAreaWidth + (smallScreen ? 5 : 20);
    menuColumn2Left = (screenWidth - mapAreaWidth) / 2 + menuLeft;
    menuRowY = screenHeight / 20;
    // Every screen starts its rows where the click handler looks for them.
    menuFirstRowY = menuRowY;
    if (!smallScreen)
        menuButtonHeight = static_cast<int>(screenHeight / 10.6);
    else if (screenMode == 9)
        menuButtonHeight = static_cast<int>(screenHeight / 5.5);
    else
        menuButtonHeight = static_cast<int>(screenHeight / 4.3);
}

QSize menuButtonSize(bool gamePanel)
{
    const int panel = menuPanelWidth;
    const double extra = panel / 100.0 * 21;
    if (!smallScreen) {
        const int width = static_cast<int>(extra + (panel - 20));
        return QSize(width, width / 7);
    }
    const double divisor = gamePanel ? 1.5 : 1.7;
    const int width = static_cast<int>(extra + static_cast<int>(panel / divisor - 2));
    return QSize(width, static_cast<int>((width / 7) * 2.5));
}

QPoint menuRowPosition(int row, bool secondColumn)
{
    if (secondColumn)
        return QPoint(menuColumn2Left, screenHeight / 20 + (row - 1) * menuButtonHeight);
    return QPoint(menuLeft, menuFirstRowY + (row - 1) * menuButtonHeight);
}

void resetPaintLayout()
{
    mapImageWidth = mapImageHeight = 0;
    viewQuadrant = 1;
    viewWidth = kDesignPictureWidth;
    viewHeight = kDesignPictureHeight;
    markSeedPixels = 0;
    screenMeasure = nullptr;
}
