// The scores file's reader and the rule of its writer: whatever the bytes, every reader counts
// the same records, and adding a game removes nothing but a tail at the very end that begins no
// whole record.

#include "fuzz_support.h"

#include "persist/Scores.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    startFuzzing();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = inputBytes(data, size);
    int visited = 0;
    const ScoresScan scan = scanScoresBytes(bytes, [&visited](const ScoresRecord &) { ++visited; });
    FUZZ_REQUIRE(scan.records == visited);
    FUZZ_REQUIRE(scan.wholeBytes >= 0 && scan.wholeBytes <= bytes.size());
    FUZZ_REQUIRE(scan.damagedBytes >= 0 && scan.tailBytes >= 0);
    FUZZ_REQUIRE(scan.wholeBytes + scan.tailBytes == bytes.size());

    ScoresRecord game;
    game.mapOrCampaign = QStringLiteral("World         ");
    game.players = 5;
    game.losses = 4242;
    game.humanCount = 1;
    game.humanWon = 1;
    game.mode = 1;
    game.date = QStringLiteral("Dec0720261200");
    game.names = QStringLiteral("fuzz");
    const QByteArray added = withScoreRecord(bytes, game);
    const qint64 kept = bytes.size() - scan.tailBytes;
    FUZZ_REQUIRE(added.left(int(kept)) == bytes.left(int(kept)));
    FUZZ_REQUIRE(added.size() > kept);
    if (scan.damagedBytes == 0) {
        ScoresRecord last;
        const ScoresScan after = scanScoresBytes(added, [&last](const ScoresRecord &r) { last = r; });
        FUZZ_REQUIRE(after.records == scan.records + 1 && after.tailBytes == 0 && after.damagedBytes == 0);
        FUZZ_REQUIRE(last.losses == 4242 && last.names == game.names);
    }
    return 0;
}
