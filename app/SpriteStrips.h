#pragma once
// The sprite strips the animations draw from, decoded on use with their background colour made
// transparent. Only the strips used last are kept, up to a budget: every player colour of every
// kind would come to some 45 MB, while an animation needs one strip at a time.

#include <QImage>

constexpr qint64 kSpriteStripBudgetBytes = 8 * 1024 * 1024;

// The strip of a kind (1..7) in a player colour (1..10); a null picture when there is none.
QImage spriteStrip(int kind, int colour);
// What the kept strips hold now, in bytes.
qint64 spriteStripBytesKept();
