#pragma once
// The land of the geographic maps Europe, North America, China, Japan and Australia, drawn by
// hand round their labels (written by their scripts in tools/authoring).

#include "MapPictures.h"

const MapOutline &europeOutline();
const MapOutline &northAmericaOutline();
const MapOutline &chinaOutline();
const MapOutline &japanOutline();
const MapOutline &australiaOutline();
