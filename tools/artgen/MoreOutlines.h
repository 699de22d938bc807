#pragma once
// The land of the geographic maps Great Britain, Scandinavia and Real World, drawn by hand round
// their labels (written by their scripts in tools/authoring).

#include "MapPictures.h"

const MapOutline &greatBritainOutline();
const MapOutline &scandinaviaOutline();
const MapOutline &realWorldOutline();
