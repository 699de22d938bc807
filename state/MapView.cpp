#include "state/MapView.h"

#include <cmath>

double mapScaleX = 1.0;
double mapScaleY = 1.0;
double zoomFactor = 1.0;
double zoomFactorSmallY = 1.0;
qint32 viewX = 0;
qint32 viewY = 0;
qint32 mapLeft = 0;
qint32 mapTop = 0;
quint8 customMapUnscaled = 0;
quint8 largeImageSet = 0;
quint8 wideImageSet = 0;
double displayScale = 0.0;
qint32 zoomLevel = 0;
quint8 smallScreen = 0;

void resetMapView()
{
    // Scales start at 1, not 0: a click before the first paint must not divide by zero.
    mapScaleX = mapScaleY = 1.0;
    zoomFactor = zoomFactorSmallY = 1.0;
    viewX = viewY = 0;
    mapLeft = mapTop = 0;
    customMapUnscaled = 0;
    largeImageSet = 0;
    wideImageSet = 0;
    displayScale = 0.0;
    zoomLevel = 0;
    smallScreen = 0;
}

namespace {

double usable(double factor)
{
    return factor > 0.0 && std::isfinite(factor) ? factor : 1.0;
}

} // namespace

void windowToPicture(int x, int y, int &pictureX, int &pictureY)
{
    double wx = x;
    double wy = y;
    if (wideImageSet || customMapUnscaled) {
        wx -= mapLeft;
        wy -= mapTop;
    }
    const double zoomY = smallScreen && zoomLevel == 2 ? zoomFactorSmallY : zoomFactor;
    pictureX = static_cast<int>(std::floor(wx / usable(mapScaleX) / usable(zoomFactor))) + viewX;
    pictureY = static_cast<int>(std::floor(wy / usable(mapScaleY) / usable(zoomY))) + viewY;
}

namespace {

bool pictureIsFitted()
{
    return wideImageSet && !customMapUnscaled && displayScale > 0.0;
}

} // namespace

void designToPicture(int &x, int &y)
{
    if (largeImageSet) {
        x = static_cast<int>(x * 1.25);
        y = static_cast<int>(y * 1.25);
    }
    if (pictureIsFitted()) {
        x = static_cast<int>(x * displayScale);
        y = static_cast<int>(y * displayScale);
    }
}

double labelScale()
{
    double scale = largeImageSet ? 1.25 : 1.0;
    if (pictureIsFitted())
        scale *= displayScale;
    return scale;
}
