// What a socket delivers, cut into messages and each snapshot read, checked against the map and
// taken into the game as a client takes it. Bytes that are no message are dropped whole.

#include "fuzz_support.h"

#include "net/NetFraming.h"
#include "net/StateSnapshot.h"
#include "state/BuiltinMaps.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    startFuzzing();
    selectMap(MapWorld);
    loadSelectedBuiltinMap();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray pending = inputBytes(data, size);
    const int before = pending.size();
    bool garbled = false;
    const QList<QByteArray> messages = takeMessages(pending, &garbled);
    int taken = 0;
    for (const QByteArray &message : messages) {
        taken += message.size();
        FUZZ_REQUIRE(messageLength(message) == message.size());
        const int code = messageCode(message);
        if (!codeCarriesSnapshot(code))
            continue;
        StateSnapshot snapshot;
        if (decodeSnapshot(message.mid(kCodeLength), snapshot) && snapshotFitsMap(snapshot)) {
            applySnapshot(snapshot, true);
            FUZZ_REQUIRE(playerCount >= 0 && playerCount <= kMaxPlayers);
            FUZZ_REQUIRE(currentPlayer >= 0 && currentPlayer <= kMaxPlayers);
        }
    }
    FUZZ_REQUIRE(taken + pending.size() <= before);
    return 0;
}
