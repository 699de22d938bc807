#pragma once
// What the interface pictures share.

#include <QColor>
#include <QImage>
#include <QPainter>

#include <functional>

class ArtOutput;

void writeMenuStrips(ArtOutput &out);
void writeRankInsignia(ArtOutput &out);
void writeCardPictures(ArtOutput &out);
void writeSpriteStrips(ArtOutput &out);

// Draws with antialiasing on a clear canvas, then lays the result on a solid background with
// hard edges: the game masks out exactly the background colour, so soft edges would leave a
// fringe of blended pixels around every shape. A drawn pixel that happens to equal the
// background is nudged off it.
QImage keyedPicture(int width, int height, QRgb background, const std::function<void(QPainter &)> &draw);

// The colour a sprite shows for player colour 1..10 (the players' map colours).
QColor spriteColour(int colour);

// The bold interface font at a pixel size.
QFont interfaceFont(int pixelSize);
