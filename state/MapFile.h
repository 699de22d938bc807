#pragma once
// The map-file format: sections "[map]", "[player names]", "[smilies and codes]",
// "[continents]" and "[territories]", read line by line from `mapFileLines`. Built-in maps, the
// map texts and map files on disk all go through this one parser.

#include "state/GameState.h"

#include <QStringList>

// The lines that the map parser and the campaign parser read.
extern QStringList mapFileLines;

// Appends a compiled-in text, line by line, to `mapFileLines`.
template <std::size_t N>
void appendMapLines(const char *const (&lines)[N])
{
    for (const char *line : lines)
        mapFileLines.append(QString::fromLatin1(line));
}

enum MapFileResult {
    MapFileOk = 0,
    MapFileNoContinents = 1,
    MapFileNoTerritories = 2,
    MapFileContinentWithoutBorder = 4,
    MapFileTerritoryWithoutNeighbour = 5,
    MapFileTooLargeForNetwork = 6,
};

// Parses `lines` into `tables`, which the caller has cleared as it wants. Returns a result of
// MapFileResult; `networkGame` applies the network limits of 116 territories and 14 continents.
int parseMapText(const QStringList &lines, MapTables &tables, bool networkGame);

// Parses `mapFileLines` into the live map tables. On result 0 the new map replaces the old one;
// on any other result the previous map's tables stay exactly as they were.
void loadMapFile(int &result);

// The text of the error box for a non-zero result.
QString mapFileErrorText(int result);
