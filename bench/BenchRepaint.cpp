// One full repaint of the game screen at 1920 x 1080 (the window rendered offscreen into a
// picture): the map, the side panel and the status bar of a dealt game must stay well inside a
// frame of 16 ms. The first paint of a map (picture loaded, fitted, every territory painted) is
// measured beside it.

#include "Measure.h"

#include <cstdio>

#include "app/PaintLayout.h"
#include "app/ScreenSize.h"
#include "app/ViewArea.h"
#include "app/WindowState.h"
#include "rules/GameStart.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/GameState.h"
#include "state/Seams.h"
#include "state/StatusLine.h"
#include "state/StepQueues.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

ScreenInfo fullHdScreen()
{
    ScreenInfo screen;
    screen.available = QRect(0, 0, kWidth, kHeight);
    screen.widthMM = 510;
    screen.fullHeight = kHeight;
    return screen;
}

void dealGame(MapFlag map)
{
    demoRunning = 0;
    gameMode = ModeSinglePlayer;
    playerCount = 6;
    humanPlayerCount = 1;
    for (int p = 1; p <= playerCount; ++p)
        playerName[p] = QStringLiteral("Player %1").arg(p).leftJustified(18);
    selectMap(map);
    loadSelectedBuiltinMap();
    dealTerritories();
    for (int t = 1; t <= territoryCount; ++t)
        territoryState[t].armies = randomSource().between(1, 40);
    displayedTerritoryState = territoryState;
    clearStepQueues();
    currentPlayer = 1;
    turnStarted = 1;
    turnsTaken[1] = 1;
    inGameButtonEnabled.fill(1);
    setStatusText(QStringLiteral("Player 1, choose Add or Attack"));
    screenMode = 9;
    mapPaintState = QStringLiteral("0");
}

void measureGameScreen(const char *label, MapFlag map)
{
    ViewArea window;
    setInteraction(nullptr); // no message box may open in the middle of a measure
    setScreenMeasure(fullHdScreen);
    applyScreenInfo(fullHdScreen());
    window.resize(kWidth, kHeight);
    randomSource().seed(7);
    dealGame(map);

    QImage frame(kWidth, kHeight, QImage::Format_RGB32);
    window.render(&frame);
    measure(QStringLiteral("first paint of the game screen, %1").arg(QLatin1String(label)), 20, [&] {
        mapPaintState = QStringLiteral("0");
        window.render(&frame);
    });
    measure(QStringLiteral("repaint of the game screen, %1").arg(QLatin1String(label)), 200,
            [&] { window.render(&frame); });
    measure(QStringLiteral("repaint with a pressed button, %1").arg(QLatin1String(label)), 200, [&] {
        pressedButton = 96;
        window.render(&frame);
        clearStepQueues();
    });
    setScreenMeasure(nullptr);
}

void runRepaintBenchmarks()
{
    // The window reads and writes its settings and scores in the working folder.
    const QString before = QDir::currentPath();
    QTemporaryDir folder;
    if (!folder.isValid() || !QDir::setCurrent(folder.path())) {
        std::printf("repaint: skipped, no temporary folder\n");
        return;
    }
    measureGameScreen("World", MapWorld);
    measureGameScreen("SwampII", MapSwampII);
    QDir::setCurrent(before);
}

BenchArea repaintArea("repaint", runRepaintBenchmarks);

} // namespace
