#pragma once
// The army numbers and marks drawn on the map picture. They are drawn pixel by pixel from a
// small bold digit set of our own, so they look the same on every machine, need no font
// system (the core runs without a window) and cost next to nothing.

#include <QImage>
#include <QRect>
#include <QRgb>

// Size of a number drawn at glyph size k (k picture pixels per glyph pixel).
QSize numberSize(int value, int k);

// Where a number whose label stands at `label` is centred: moved just enough that a three-digit
// number at glyph size k, with its shadow, stays inside a picture of `picture` size and clear of
// `panel`. A map may put a label at the very edge or just under its own player panel.
QPoint numberCentreFor(const QPoint &label, int k, const QSize &picture, const QRect &panel);

// Draws a non-negative number centred at (cx, cy), with an optional shadow one pixel down and
// right; only pixels inside `clip` are touched. `image` is a 32-bit image.
void drawNumber(QImage &image, int cx, int cy, int value, int k, QRgb colour, bool withShadow, QRgb shadow,
                const QRect &clip);

// Small marks: a filled square (defence), a triangle (attack), a cross (a missile hit). Each is
// centred at (cx, cy), `size` pixels across, with a one-pixel outline in `outline`.
enum class MarkShape { Square, Triangle, Cross };
void drawMark(QImage &image, MarkShape shape, int cx, int cy, int size, QRgb fill, QRgb outline, const QRect &clip);
