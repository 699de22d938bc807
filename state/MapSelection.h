#pragma once
// A map chosen again is not built again.

#include "state/BuiltinMaps.h"

using MapSelection = std::array<quint8, MapFlagCount>;

// Builds the map whose flag is set now (tables, routes and a first paint to come) unless that
// flag was already set in `previous`, the flags as they stood before the choice.
void reloadMapIfSelectionChanged(const MapSelection &previous);
