#pragma once
// The land of a map picture: drawn after a hand-made outline, or grown round the labels and
// along the links of an abstract map; coasts that wander like real ones.

#include "MapCanvas.h"
#include "MapPictures.h"

// Deterministic noise in about -1.75..1.75 at every pixel of a picture of `size`, whose bends are
// about `period` design pixels (`scale` picture pixels each) wide: the same map always gets the
// same coast. Worked out once for each picture size and kept.
const std::vector<float> &noiseField(QSize size, double scale, double period, quint32 seed);

// Marks every pixel of `canvas` as sea or as land no one holds yet, with the player panel's box
// (and a margin round it) kept open sea. Returns the links that run over land: each gives its
// two territories a path to meet on.
std::vector<map_canvas::Pair> shapeLand(map_canvas::Canvas &canvas, const MapTables &map, const QRect &panelBox,
                                        const MapOutline *outline, OutlineLinks links);

// The panel's box in picture pixels, grown by `margin` design pixels.
QRect panelArea(const map_canvas::Canvas &canvas, const QRect &panelBox, int margin);
