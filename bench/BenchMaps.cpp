// Parsing and building maps.

#include "Measure.h"

#include "state/BuiltinMaps.h"
#include "state/GameState.h"
#include "state/MapFile.h"
#include "state/StateReset.h"

namespace {

void runMapBenchmarks()
{
    resetStateSubsystem();
    measure(QStringLiteral("build SwampII through the parser"), 50, [] { loadBuiltinSwampII(); });
}

BenchArea mapsArea("maps", runMapBenchmarks);

} // namespace
