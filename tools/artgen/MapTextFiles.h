#pragma once
// The sixteen map texts as map files of the run folder, so that a player can open a map file
// and a campaign file out of the box: "maps/<name>.txt" with its picture "maps/<name>.png",
// and one campaign that plays three of them in a row.

class ArtOutput;

void addMapTextFiles(ArtOutput &out);
