#include "app/ScreenSize.h"

#include "app/WindowState.h"
#include "persist/Settings.h"
#include "state/GameState.h"

#include <QGuiApplication>
#include <QScreen>

ScreenInfo measureScreen()
{
    ScreenInfo info;
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return info;
    info.available = screen->availableGeometry();
    // Virtual and remote displays may report no size at all; 0 reads as "not a small screen".
    info.widthMM = qMax(0, qRound(screen->physicalSize().width()));
    info.fullHeight = info.available.height();
    return info;
}

void applyScreenInfo(const ScreenInfo &screen)
{
    screenWidth = screen.available.width();
    screenHeight = screen.available.height();
    screenWidthMM = screen.widthMM;
    fullScreenHeight = screen.fullHeight;
}

int displaySizeClassForScreen(int width, int height)
{
    int sizeClass = 4;
    if (width <= 1275)
        sizeClass = 1;
    else if (width <= 1430)
        sizeClass = 2;
    else if (width <= 1920)
        sizeClass = 3;
    if (height > 1080)
        sizeClass = 4;
    return sizeClass;
}

int displaySizeClassFitted(int sizeClass, int width, int height)
{
    // The settings file may hold anything; only the four classes exist.
    sizeClass = qBound(1, sizeClass, 4);
    if (width <= 1275 || height <= 715)
        return 1;
    if (sizeClass == 3 && (width <= 1430 || height <= 890))
        return 2;
    return sizeClass;
}

bool loadSettingsForThisScreen()
{
    const bool read = loadSettings();
    fitDisplaySizeClassToScreen();
    return read;
}

void fitDisplaySizeClassToScreen()
{
    displaySizeClass = displaySizeClassFitted(displaySizeClass, screenWidth, screenHeight);
}
