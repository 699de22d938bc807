#pragma once
// The territories of a map picture: each grows over the land from its label, and water parts
// every two that are not neighbours.

#include "MapCanvas.h"

#include <QHash>

// Gives every territory the pixels round its label that hold its army number, on land; those
// in `roomy` keep an oval round it large enough to click, as far as it is nearer their label
// than the others'. Nothing is kept inside the player panel's `panel` box.
void reserveLabels(map_canvas::Canvas &canvas, const std::vector<int> &roomy, const QRect &panel);

// The territories whose region is smaller than the smallest a player can use.
std::vector<int> crampedTerritories(const map_canvas::Canvas &canvas);

// Every land pixel goes to the territory nearest over land, measured from the reserved labels
// and from the halves of the links that run over land, so neighbours meet halfway.
void growTerritories(map_canvas::Canvas &canvas, const std::vector<map_canvas::Pair> &landLinks);

// Parts the territories until no two that are not neighbours come closer than a channel of
// water, and no two neighbours touch along a border too short to see; pieces cut off from their
// label go to a neighbour or to the sea.
void partTerritories(map_canvas::Canvas &canvas);

// Whether the painter fills pixel (x, y): it is a territory's and so are all eight round it
// (anything else round it makes it border or coast).
bool isInterior(const map_canvas::Canvas &canvas, int x, int y);

// How long the borders of every two touching territories are, by pairKey: the pixels of the
// shorter side that touch the other, counted where a player sees them (next to a filled inside).
QHash<quint32, int> borderLengths(const map_canvas::Canvas &canvas);

// The shortest border two neighbours may share at the design size: shorter ones are parted.
constexpr double kShortestBorder = 15.0;
// The smallest region, in square pixels at the design size, with some room to spare.
constexpr double kSmallestRegion = 440.0;
