#pragma once
// The paint handler's layout: the screen measured again on every paint, the picture set chosen
// for it, the side panel and the map area sized, the map picture fitted and the zoomed view
// picked. The mouse handlers and the map hit test work from the values left here, so each stage
// writes exactly the globals they read.

#include "app/ScreenSize.h"

#include <QRect>
#include <QtGlobal>

// ---- Globals of the map view that only the paint handler writes ----
extern qint32 mapImageWidth;  // the fitted picture's size (0 unless the wide set is in use)
extern qint32 mapImageHeight;
extern qint32 viewQuadrant;   // 1-based cell of the zoomed view in its grid
extern qint32 viewWidth;      // the part of `mapImage` shown, with `viewX`, `viewY`
extern qint32 viewHeight;
extern quint8 markSeedPixels; // mark every label point in the picture (nothing sets it)

// Where the paint handler measures the screen: the primary screen, or a fixed one that a test
// or the benchmark puts in (nullptr returns to the primary screen).
using ScreenMeasure = ScreenInfo (*)();
void setScreenMeasure(ScreenMeasure measure);

// Stage 1: `screenWidth`, `screenHeight`, `screenWidthMM`, `smallScreen`, `dialogOpacity`.
void measureScreenForPaint();
// Stage 2: the picture sets for a window `windowHeight` high, and whether a map file's picture
// is drawn 1:1. A map without a large picture never keeps the large set.
void choosePictureSets(int windowHeight);
// Stage 3: the side panel, the map area and its scale, the status bar's reference line.
void sizePanelAndMapArea();
// Fits `mapImage` into the map area while the wide set is in use and sets `mapImageWidth`,
// `mapImageHeight`, `mapTop` and `displayScale`.
void fitMapPicture();
// A pending swipe moves the zoomed view one cell; then the view rectangle and its zoom factors.
void computeMapView();
// The grid the zoomed view moves in: 3 x 2 on a small screen at zoom level 2 with the standard
// pictures, otherwise 2 x 2.
int viewGridColumns();

// Where the map picture is drawn: `source` of `mapImage` into `target` of the window.
struct MapDrawing {
    QRect source;
    QRect target;
};
// Stage 6's placement: `mapLeft` (and `mapTop` and the panel width for a map file's picture
// drawn 1:1); returns the rectangles to draw.
MapDrawing placeMapPicture();
// The same rectangles from the values the last paint left, without changing anything.
MapDrawing currentMapDrawing();

// ---- The side panel ----
// `menuLeft`, `menuColumn2Left`, `menuFirstRowY`, `menuRowY` and the row pitch
// `menuButtonHeight` for the screen now shown.
void setMenuGeometry();
// The drawn size of one button of the side panel (the game panel's differs on a small screen).
QSize menuButtonSize(bool gamePanel);
// The top-left corner of row `row` (from 1) of a column; the second column of a small screen
// starts at the top again.
QPoint menuRowPosition(int row, bool secondColumn);

// Every global of this header back to its start value.
void resetPaintLayout();
