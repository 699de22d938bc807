// Painting territories into the map picture: the first paint of a map (its regions grown from
// the freshly loaded picture, then every territory painted) must stay well inside one frame.

#include "Measure.h"

#include "state/BuiltinMaps.h"
#include "state/GameState.h"
#include "state/MapPicture.h"
#include "state/MapView.h"
#include "state/StateReset.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>

#include <cstdio>

namespace {

// The pictures the build drew and compiled in.
QImage builtPicture(const QString &name)
{
    return QImage(QStringLiteral(":/tifa/") + name);
}

void paintEveryTerritory(int round)
{
    for (int t = 1; t <= territoryCount; ++t)
        updateTerritoryDisplay(t, 1 + (t * 13 + round) % 120, 1 + (t + round) % 6, (t + round) % 7 == 0 ? 1 : 0, 0, 0);
}

void measurePicture(const char *label, MapFlag flag, const QString &file, bool large, QSize fitTo)
{
    QImage picture = builtPicture(file);
    if (picture.isNull()) {
        std::printf("%s: skipped, no picture %s (build the resources first)\n", label, qPrintable(file));
        return;
    }
    resetStateSubsystem();
    resetMapPicture();
    selectMap(flag);
    buildBuiltinMap(*builtinMapFor(flag));
    largeImageSet = large ? 1 : 0;
    if (fitTo.isValid()) {
        picture = picture.scaled(fitTo, Qt::KeepAspectRatio, Qt::FastTransformation);
        wideImageSet = 1;
        displayScale = picture.width() / (large ? 1193.0 : 954.0);
    }
    int round = 0;
    measure(QStringLiteral("first paint of %1 (regions and %2 territories)").arg(QLatin1String(label)).arg(territoryCount),
            30, [&] {
                installMapPicture(picture);
                paintEveryTerritory(++round);
            });
    measure(QStringLiteral("repaint every territory of %1").arg(QLatin1String(label)), 30,
            [&] { paintEveryTerritory(++round); });
    measure(QStringLiteral("repaint one territory of %1").arg(QLatin1String(label)), 200,
            [&] {
                ++round;
                updateTerritoryDisplay(1 + round % territoryCount, round % 999, 1 + round % 6, 0, 0, 0);
            });
}

void runPaintBenchmarks()
{
    measurePicture("World", MapWorld, QStringLiteral("World.png"), false, QSize());
    measurePicture("World large", MapWorld, QStringLiteral("world129XW.png"), true, QSize());
    measurePicture("World large fitted to 1692 x 1015", MapWorld, QStringLiteral("world129XW.png"), true,
                   QSize(1692, 1015));
    measurePicture("SwampII", MapSwampII, QStringLiteral("SwampII.png"), false, QSize());
    resetMapPicture();
    resetStateSubsystem();
}

BenchArea paintArea("paint", runPaintBenchmarks);

} // namespace
