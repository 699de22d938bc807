#pragma once
// Map pictures hold a few dozen colours: stored with a palette of exactly those colours they
// read several times faster than in full colour, pixel for pixel the same.

#include <QImage>

// The picture with a palette when it has at most 256 colours; otherwise the picture as it is.
QImage withExactPalette(const QImage &picture);
