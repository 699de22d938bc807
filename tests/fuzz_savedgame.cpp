// The saved-game reader and the loader's restore on any bytes: a file it takes writes back to the
// same bytes and goes over the map it names, or is refused; nothing it takes leaves a table index
// or a counter out of range.

#include "fuzz_support.h"

#include "persist/SavedGame.h"
#include "persist/SavedGameLoading.h"
#include "state/BuiltinMaps.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    startFuzzing();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    SavedGameRecord record;
    if (!decodeSavedGame(inputBytes(data, size), record))
        return 0;
    const QByteArray again = encodeSavedGame(record);
    SavedGameRecord reread;
    FUZZ_REQUIRE(decodeSavedGame(again, reread));
    FUZZ_REQUIRE(encodeSavedGame(reread) == again);

    resetCoreState();
    savedGameMirror = record;
    const QString name = size % 2 == 0 ? QStringLiteral("fuzz.TrvGX") : QStringLiteral("CMPGN_fuzz.TrvGX");
    if (restoreSavedGame(name) == SavedGameRestore::Restored) {
        FUZZ_REQUIRE(currentPlayer >= 1 && currentPlayer <= playerCount && playerCount <= kMaxPlayers);
        for (int t = 1; t <= territoryCount; ++t)
            FUZZ_REQUIRE(territoryState[t].owner >= 1 && territoryState[t].owner <= playerCount);
    }
    return 0;
}
