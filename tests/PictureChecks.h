#pragma once
// Checks of the current map picture's territory regions, shared by the tests of every map:
// each returns an empty text when the picture is sound, else what is wrong.

#include "state/GameState.h"
#include "state/MapPicture.h"
#include "state/MapRegions.h"
#include "state/MapView.h"

#include <QImage>
#include <QPoint>
#include <QSet>
#include <QString>

namespace picture_checks {

// Where territory t's label stands in the current picture.
inline QPoint labelPoint(int t)
{
    int x = territoryPos[t].x;
    int y = territoryPos[t].y;
    designToPicture(x, y);
    return QPoint(x, y);
}

// Every label point lies in a region of its own of at least `minArea` pixels; a leak would let
// one region swallow a neighbour, whose area would then be zero.
inline QString labelRegionFault(int minArea)
{
    const TerritoryRegions &regions = territoryRegions();
    for (int t = 1; t <= territoryCount; ++t) {
        const QPoint at = labelPoint(t);
        if (regions.territoryAt(at.x(), at.y()) != t)
            return QStringLiteral("territory %1 does not own its label point").arg(t);
        if (regions.area(t) < minArea)
            return QStringLiteral("territory %1 has %2 pixels").arg(t).arg(regions.area(t));
    }
    return QString();
}

// Besides the regions, every pixel is border or sea in a colour that no fill and no player
// uses, and no fillable pixel is left outside the regions (none stays grey once all are painted).
inline QString pictureColourFault()
{
    const TerritoryRegions &regions = territoryRegions();
    int regionPixels = 0;
    for (int t = 1; t <= territoryCount; ++t)
        regionPixels += regions.area(t);
    QSet<QRgb> forbidden(colourTable.begin(), colourTable.end());
    forbidden.insert(qRgb(253, 255, 254)); // the seed marker
    const FillableColours fillable;
    int fillablePixels = 0;
    for (int y = 0; y < mapImage.height(); ++y)
        for (int x = 0; x < mapImage.width(); ++x) {
            const QRgb colour = mapImage.pixel(x, y);
            if (forbidden.contains(colour))
                return QStringLiteral("pixel %1,%2 has a player's colour").arg(x).arg(y);
            if (fillable.contains(colour))
                ++fillablePixels;
            else if (regions.territoryAt(x, y) != 0)
                return QStringLiteral("pixel %1,%2 of a region cannot be filled").arg(x).arg(y);
        }
    if (fillablePixels != regionPixels)
        return QStringLiteral("%1 fillable pixels, %2 in regions").arg(fillablePixels).arg(regionPixels);
    return QString();
}

// Pixels that changed from `before` outside `territory`'s region and label area.
inline QString paintLeakFault(const QImage &before, int territory)
{
    const TerritoryRegions &regions = territoryRegions();
    const QRect label = territoryLabelArea(territory);
    if (label.isEmpty())
        return QStringLiteral("territory %1 has no label area").arg(territory);
    for (int y = 0; y < mapImage.height(); ++y)
        for (int x = 0; x < mapImage.width(); ++x)
            if (mapImage.pixel(x, y) != before.pixel(x, y) && regions.territoryAt(x, y) != territory
                && !label.contains(x, y))
                return QStringLiteral("pixel %1,%2 changed").arg(x).arg(y);
    return QString();
}

} // namespace picture_checks
