#pragma once
// The main window's own globals: the screen it runs on, the menu screen shown, the side
// panel's layout left by the paint handler, pointer and pinch tracking, and the title text.
// The game code, the mouse handlers and the paint handler share them.

#include <QString>
#include <QtGlobal>

// ---- The screen, measured at start-up (and again by the paint handler) ----
extern qint32 screenWidth;      // available area of the primary screen
extern qint32 screenHeight;
extern qint32 screenWidthMM;    // 0 when the screen does not tell
extern qint32 fullScreenHeight; // available height of the default screen

// ---- Menu state ----
// 1 main menu, 2 new-game menu, 4 options, 41 game speed, 42 colours, 9 game,
// 91 in-game menu, 101 network lobby, 102 host waiting.
extern qint32 screenMode;
extern qint32 menuAction;
extern qint32 pressedButton; // clicked button, or the one under the pointer while hovering
extern qint32 hoveredButton; // the button drawn highlighted
extern quint8 redrawAll;
extern quint8 screenChangePending;
// The button whose click set `screenChangePending`: only its own step finishes the change, never
// the step of a button the pointer merely passed over.
extern qint32 pendingScreenButton;
// The press of button `id` is the click whose screen change is still pending.
inline bool screenChangeWaitsFor(int id)
{
    return screenChangePending && pendingScreenButton == id;
}
extern quint8 hoverSkipOnce; // the next hover move only clears it

// ---- Side panel and status bar, set by the paint handler on every paint ----
extern qint32 mapOffsetX;
extern qint32 mapOffsetY;
extern qint32 menuLeft;        // x of the first button column
extern qint32 menuColumn2Left; // x of the second column on a small screen
extern qint32 menuRowY;        // top of the row last tested or drawn
extern qint32 menuFirstRowY;
extern qint32 menuButtonHeight; // the row pitch
extern qint32 menuPanelWidth;
extern qint32 mapAreaWidth;
extern qint32 mapAreaHeight;
extern qint32 statusBarX;
extern qint32 statusBarY;

// ---- Pointer and pinch tracking ----
extern qint32 pointerPosA; // last x and y while the left button is held
extern qint32 pointerPosB;
extern qint32 dragStartA;  // where the current drag began
extern qint32 dragStartB;
extern quint8 dragActive;
extern qint32 swipeDirection; // 0 none, 1 to smaller x, 2 to larger x, 3 to smaller y, 4 to larger y
extern quint8 pinchInProgress;
extern qint32 pinchGrowCount;
extern qint32 pinchShrinkCount;
extern qint32 pinchZoomApplied;
extern qint32 lastZoomDirection; // 0 none, 1 zoomed out, 2 zoomed in

// ---- The one-line description of the game being played ----
extern QString windowTitleText;

// Every global of this header back to the value the window starts with.
void resetWindowState();
