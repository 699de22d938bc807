#pragma once
// What a saved game may hold: one set of limits that the reader and the writer both apply, so
// that every file the reader takes can be written again, and a value that one refuses the other
// refuses in the same words. The limits keep whatever play follows a load within 32 bits.

#include <QString>
#include <QtGlobal>

struct SavedGameRecord;

// Armies in one territory; a player's armies are at most those of every territory.
constexpr qint32 kMostTerritoryArmies = 10000000;
// Turns, battles, losses and every other count, and a continent bonus.
constexpr qint32 kMostCount = 1000000000;
// A hundred years of play.
constexpr double kMostPlayTimeSeconds = 100.0 * 366 * 24 * 3600;

// The first value of `record` outside the limits, in words that name it (for example "armies in
// territory 3: 10000001, where a saved game holds 0 to 10000000"); empty when every value is
// within them.
QString savedGameLimitBroken(const SavedGameRecord &record);
