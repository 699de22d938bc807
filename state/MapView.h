#pragma once
// Where and how large the map picture is shown: the values the paint handler leaves after every
// paint, which the hit test and the painters read to go between window pixels, picture pixels
// and the design size (954 x 632) of `territoryPos`.

#include <QtGlobal>

extern double mapScaleX;        // map area width / 954 (1.0 with the wide set or unscaled)
extern double mapScaleY;        // map area height / 632
extern double zoomFactor;       // enlargement of the visible part: 1, 1.25, 1.6667 (2.5 small)
extern double zoomFactorSmallY; // replaces zoomFactor for y on a small screen at zoom level 2
extern qint32 viewX;            // top-left of the shown part of `mapImage`, in picture pixels
extern qint32 viewY;
// Window position of the picture's top-left corner while the picture is drawn 1:1 or fitted
// (`wideImageSet` or `customMapUnscaled`); with the standard set the picture fills the map
// area from (0, 0) and these are not read.
extern qint32 mapLeft;
extern qint32 mapTop;
extern quint8 customMapUnscaled; // a map file's picture drawn 1:1, centred
extern quint8 largeImageSet;     // the "129XW" pictures: positions x 1.25
extern quint8 wideImageSet;      // the picture is fitted to the map area: positions x displayScale
extern double displayScale;      // fitted size / design size of the picture (0 with no fitting)
extern qint32 zoomLevel;         // 0..2
extern quint8 smallScreen;       // desktop narrower than 140 mm

// Every value above back to its start value.
void resetMapView();

// The picture pixel under window pixel (x, y), through the scale, zoom and view values.
void windowToPicture(int x, int y, int &pictureX, int &pictureY);

// A design-size position (`territoryPos`, a panel position) as a pixel of the picture in use:
// times 1.25 for the large set, then times `displayScale` while fitted, truncating each time.
void designToPicture(int &x, int &y);

// How many picture pixels one design pixel of `territoryPos` is: 1.25 for the large set, times
// `displayScale` while the picture is fitted.
double labelScale();
