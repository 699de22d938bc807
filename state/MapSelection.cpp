#include "state/MapSelection.h"

void reloadMapIfSelectionChanged(const MapSelection &previous)
{
    const MapFlag now = selectedMap();
    if (now == MapFlagCount || previous[now])
        return;
    loadSelectedBuiltinMap();
}
