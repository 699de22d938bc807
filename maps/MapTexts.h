#pragma once
// The maps carried as map-file text. Each function appends its map's lines to `mapFileLines`,
// exactly as written; it neither clears nor reads the list.

#include <QString>

void mapTextSwampII();

using MapTextFunction = void (*)();

// The text whose name followed by ".txt" equals `fileName` (case-sensitive), or nullptr.
MapTextFunction mapTextForFileName(const QString &fileName);
