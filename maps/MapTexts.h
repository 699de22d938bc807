#pragma once
// The maps carried as map-file text. Each function appends its map's lines to `mapFileLines`,
// exactly as written; it neither clears nor reads the list.

#include <QString>

#include <cstddef>

void mapTextSwampII();

// The texts that a top-five game takes in place of a map file of the same name.
void mapTextE2();
void mapTextRomania();
void mapText107();
void mapTextLines();
void mapTextRings();
void mapTextRussia();
void mapTextHex_gone_crazy();
void mapTextJustNeedTwo();
void mapTextFrance();
void mapTextOK83();
void mapTextNeighbourhood();
void mapTextCoconutz();
void mapTextWorldII();
void mapTextIreland();
void mapTextParisByNight();

using MapTextFunction = void (*)();

// The text whose name followed by ".txt" equals `fileName` (case-sensitive), or nullptr.
MapTextFunction mapTextForFileName(const QString &fileName);

