#pragma once
// What the other players see of a computer player's turn: the narration texts, each the
// player's name and a fixed tail, and the sprite animations of placements and moves.

#include <QString>

// Queues the name of `aiPlayer` followed by `tail` as a status text, unless `fastSpeed` is set.
void narrate(const QString &tail);
// "1 army" / "n armies" style tails: `single` for one, `plural` otherwise, after the count.
QString countTail(int count, const char *single, const char *plural);

// The computer player's animations show in a local game, and on a host for its computer seats.
bool computerAnimationsShown();
// Queues the sprite animation of `kind` (SpriteQueue.h) at territory t on the action queue, when
// it is shown at all.
void queueComputerAnimation(int t, int kind);
