#pragma once
// The one-line description of the game being played (the statistics dialog shows it).

#include <QString>

// Composes the text from the game globals: kind of game, attack rule, campaign and its map,
// level, mission, rank game.
QString composeWindowTitle();
