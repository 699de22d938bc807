#pragma once
// The dashed links between neighbours whose regions share no border long enough to see.

#include "MapCanvas.h"

#include <QImage>

// Draws a link for every two neighbours of `canvas` whose border is shorter than the shortest a
// player can see, each in a shade of its own: straight from label to label where that passes no
// third label, round the labels in the way where not; off one edge and on at the other where the
// map wraps and that way is shorter. No link crosses the player panel's `panel` box.
void drawLinks(QImage &image, const map_canvas::Canvas &canvas, const QRect &panel);
