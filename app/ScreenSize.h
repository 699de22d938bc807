#pragma once
// The screen the window runs on and the display-size class derived from it.

#include <QRect>

struct ScreenInfo {
    QRect available;      // available geometry of the primary screen
    int widthMM = 0;      // physical width; 0 when the screen does not tell
    int fullHeight = 0;   // available height of the default screen
};

// Measures the primary screen (an empty ScreenInfo when there is none).
ScreenInfo measureScreen();
// Stores a measurement in `screenWidth`, `screenHeight`, `screenWidthMM`, `fullScreenHeight`.
void applyScreenInfo(const ScreenInfo &screen);

// First pass, before the settings are read: by the width, and 4 for any screen over 1080 high.
int displaySizeClassForScreen(int width, int height);
// Second pass, after the settings: a class (perhaps from the settings file) fitted to the
// screen; small screens always get 1.
int displaySizeClassFitted(int sizeClass, int width, int height);
// Fits `displaySizeClass` to the measured screen again (start-up and a return to the start).
void fitDisplaySizeClassToScreen();
// Reads the settings file (`loadSettings`) and fits the size class it holds to this screen: every
// read of the settings once the window is up. False as `loadSettings` is.
bool loadSettingsForThisScreen();
