// The computer players decide exactly as they did when these games were recorded: on every
// shipped map (the built-in maps, SwampII and the map texts), under several seeds, player counts
// and options, a game of computer players alone ends with the same winner, after the same number
// of turns, in the same state. Making the computer players faster must not change one decision.

#include "TestSupport.h"

#include "ai/SelfPlay.h"
#include "state/GameState.h"

#include <QSet>

namespace {

struct RecordedGame {
    const char *map;
    int players;
    quint32 seed;
    const char *options; // the simulator's option words
    int winner;          // 0: none
    int turns;
    quint64 hash;
};

// To regenerate a row: build/bench/tarvan_bench simulate <map> <players> <seed> <options>
// prints its winner, turns and hash.
const RecordedGame kRecordedGames[] = {
    {"SwampII",             5, 3, "1for1 strongholds experience",   4,  216, 0x82f8aec05b6d2032ull},
    {"SwampII",             2, 2, "",                               2,  158, 0xc94fd0bd9ce17ce8ull},
    {"3Nations2",           5, 3, "1for1 strongholds experience",   5,  113, 0x356ccd3db9e59222ull},
    {"3Nations2",           2, 1, "",                               1,   54, 0x42e27a7825ce035cull},
    {"3Nations1",           5, 3, "1for1 strongholds experience",   2,  170, 0x250b1769fb54d496ull},
    {"3Nations1",           2, 1, "",                               2,   78, 0x39d601198573137bull},
    {"Swamp",               5, 3, "1for1 strongholds experience",   2,  235, 0xab9f008e4e7cf050ull},
    {"Swamp",               2, 2, "",                               2,   68, 0xc5e6a631efa26091ull},
    {"RealWorld",           5, 3, "1for1 strongholds experience",   2,  116, 0x5d1b585521abff6dull},
    {"RealWorld",           2, 1, "",                               2,   47, 0xf6561420dcd2a676ull},
    {"GrBritain",           5, 3, "1for1 strongholds experience",   5,  186, 0xbcd973679fa7ff11ull},
    {"GrBritain",           2, 1, "",                               1,   53, 0xba663e7df1af61a4ull},
    {"China",               5, 3, "1for1 strongholds experience",   5,  130, 0x9334b45cc1a8f481ull},
    {"China",               3, 1, "",                               1,  394, 0x3162fe75d81edba0ull},
    {"Worms",               5, 3, "1for1 strongholds experience",   5,  263, 0xd2a748f6b8f3e85bull},
    {"Worms",               3, 2, "",                               3,  368, 0xa8ee5e940e79fe6cull},
    {"Scandinavia",         5, 3, "1for1 strongholds experience",   2,   60, 0x38fefff0e8a1f0a8ull},
    {"Scandinavia",         2, 1, "",                               2,   67, 0xb1a82d00702fe706ull},
    {"Australia",           5, 3, "1for1 strongholds experience",   5,   76, 0x7357e5d8a4f6301full},
    {"Australia",           3, 1, "",                               1,  263, 0xd178e0f170598aecull},
    {"Japan",               5, 3, "1for1 strongholds experience",   4,   99, 0x0ce8552a6192697dull},
    {"Japan",               3, 1, "",                               2,  278, 0x7443abf83043c5cbull},
    {"Europe",              5, 3, "1for1 strongholds experience",   2,   66, 0x3f97cc8d2deb632dull},
    {"Europe",              3, 1, "",                               1,  247, 0x57c6fab0a69f3d46ull},
    {"America",             5, 3, "1for1 strongholds experience",   4,  120, 0xb06f83ba88729130ull},
    {"America",             3, 1, "",                               2,  423, 0x3fe8a7e142e164dbull},
    {"WorldII",             5, 3, "1for1 strongholds experience",   4,   65, 0x29603c6c8adae73dull},
    {"WorldII",             6, 1, "",                               1,  311, 0xc18910c68fc4efd4ull},
    {"World",               5, 3, "1for1 strongholds experience",   4,   99, 0x1ad942f6aea7d1e0ull},
    {"World",               3, 1, "",                               1,  721, 0xf127231eb761bff0ull},
    {"e2.txt",              5, 3, "1for1 strongholds experience",   1,  180, 0x1b883f8d2839d1cfull},
    {"e2.txt",              3, 2, "",                               2,  178, 0x3b10eda5da50d577ull},
    {"Romania.txt",         5, 3, "1for1 strongholds experience",   5,  183, 0x7adea73888bc15abull},
    {"Romania.txt",         3, 2, "",                               3,  534, 0x0936aee87b598872ull},
    {"107.txt",             5, 3, "1for1 strongholds experience",   4,  498, 0xdf65da2bf64c0635ull},
    {"107.txt",             2, 1, "",                               2,   46, 0xf16b553ea6b1a395ull},
    {"Lines.txt",           5, 3, "1for1 strongholds experience",   3,  168, 0x30c6c6a2b983e7f9ull},
    {"Lines.txt",           2, 2, "",                               2,   75, 0xb7a8a7be91e9ff55ull},
    {"Rings.txt",           5, 3, "1for1 strongholds experience",   4,  105, 0x6e20ae292093e3b3ull},
    {"Rings.txt",           2, 2, "",                               2,   62, 0x6a7e4303c93e9036ull},
    {"Russia.txt",          5, 3, "1for1 strongholds experience",   2,  115, 0xafc3a519605aa2e9ull},
    {"Russia.txt",          2, 2, "",                               2,   37, 0x69de98788293c3e6ull},
    {"Hex_gone_crazy.txt",  5, 3, "1for1 strongholds experience",   5,   57, 0xa73b0353efc09114ull},
    {"Hex_gone_crazy.txt",  3, 2, "",                               1,  336, 0x014c3397078bd965ull},
    {"JustNeedTwo.txt",     5, 3, "1for1 strongholds experience",   4,   58, 0x1742f711652347d5ull},
    {"JustNeedTwo.txt",     3, 1, "",                               3,  144, 0xcc1a4b0436504078ull},
    {"France.txt",          5, 3, "1for1 strongholds experience",   2,   55, 0xcd452a57d7d436bfull},
    {"France.txt",          2, 2, "",                               2,  131, 0xd10e3a2020dbb9d9ull},
    {"OK83.txt",            5, 3, "1for1 strongholds experience",   2,   91, 0x7b314de68b7d6d53ull},
    {"OK83.txt",            2, 1, "",                               2,   52, 0x336c0e4322c6efe9ull},
    {"Neighbourhood.txt",   5, 3, "1for1 strongholds experience",   4,  165, 0xcb24f1c894d33830ull},
    {"Neighbourhood.txt",   3, 2, "",                               1,  347, 0xafe5f4ca64e82115ull},
    {"coconutz.txt",        5, 3, "1for1 strongholds experience",   2,  240, 0xc87a98ef6d54eb36ull},
    {"coconutz.txt",        2, 1, "",                               1,   60, 0x2438ff94a3a43d49ull},
    {"WorldII.txt",         5, 3, "1for1 strongholds experience",   2,  175, 0x73c3dfc39c8b3020ull},
    {"WorldII.txt",         2, 1, "",                               2,   63, 0x17d00c2f3d007bdeull},
    {"Ireland.txt",         5, 3, "1for1 strongholds experience",   5,   84, 0xe17d0f0b03b4e8ccull},
    {"Ireland.txt",         6, 1, "",                               3,  788, 0xd444d23b6e543178ull},
    {"ParisByNight.txt",    5, 3, "1for1 strongholds experience",   3,  199, 0xdfe4d23247085507ull},
    {"ParisByNight.txt",    3, 1, "",                               1,  136, 0x45db15d6c6443decull},
    {"World",              10, 2, "",                               9,  999, 0xb3f1bc81d7960fccull},
    {"e2.txt",             10, 2, "",                               9,  345, 0xfa8d2f64e86c5f41ull},
    {"WorldII",            10, 1, "",                               6,  908, 0xfc29738c62642853ull},
    {"Romania.txt",        10, 2, "",                               4,  989, 0x5e20634d2d662ffdull},
    {"Europe",             10, 2, "",                              10,  940, 0x4d8c70a151d46770ull},
    {"France.txt",          8, 5, "easy fast strongholds",          8,  450, 0xe6fbe282892e1226ull},
    {"SwampII",             8, 5, "easy fast strongholds",          2,  414, 0xbb50c960e3d7a4a2ull},
    {"World",               4, 4, "neutral animations",             4,  122, 0x97accd9b5bdf33b5ull},
    {"Europe",              4, 4, "neutral animations",             2,  139, 0x20fd80ce30701bc5ull},
    {"Hex_gone_crazy.txt",  4, 4, "neutral animations",             4,  235, 0x7d0c0bab863b52e9ull},
    {"Romania.txt",         4, 4, "neutral animations",             2,  186, 0xd6c5685ca2ca4c1eull},
    {"ParisByNight.txt",    4, 4, "neutral animations",             4,  208, 0xb6bd316b9770a8ebull},
};

constexpr int kTurnCap = 20000;

struct Outcome {
    int winner = 0;
    int turns = 0;
    quint64 hash = 0;
};

// Plays the game as the simulator does: every queued step in order, a turn at a time.
Outcome playToTheEnd(const RecordedGame &game)
{
    SelfPlayOptions options;
    options.players = game.players;
    options.seed = game.seed;
    const QStringList words = QString::fromLatin1(game.options).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &word : words)
        if (!applySelfPlayWord(word, options))
            QTest::qFail(qPrintable(QStringLiteral("unknown option ") + word), __FILE__, __LINE__);
    const QString map = QString::fromLatin1(game.map);
    Outcome outcome;
    if (!startSelfPlayGame(options, [&map] { return loadShippedMapNamed(map); }))
        return outcome;
    while (!gameOver && outcome.turns < kTurnCap) {
        playQueuedActionSteps();
        const int turns = playQueuedMessageSteps();
        if (turns == 0)
            break;
        outcome.turns += turns;
    }
    playQueuedActionSteps();
    outcome.winner = selfPlayWinner();
    outcome.hash = gameStateHash();
    return outcome;
}

} // namespace

class TestAiRecordedGames : public QObject {
    Q_OBJECT

private slots:
    void gamesEndAsRecorded_data()
    {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(std::size(kRecordedGames)); ++row) {
            const RecordedGame &game = kRecordedGames[row];
            QTest::addRow("%s, %d players, seed %u %s", game.map, game.players, game.seed, game.options) << row;
        }
    }

    void gamesEndAsRecorded()
    {
        QFETCH(int, row);
        const RecordedGame &game = kRecordedGames[row];
        const Outcome outcome = playToTheEnd(game);
        QVERIFY2(outcome.turns > 0, "the map did not load");
        QCOMPARE(outcome.winner, game.winner);
        QCOMPARE(outcome.turns, game.turns);
        QCOMPARE(QString::number(outcome.hash, 16), QString::number(game.hash, 16));
    }

    // No shipped map is left out of the record, and every row names a shipped map.
    void everyShippedMapIsRecorded()
    {
        QSet<QString> recorded;
        for (const RecordedGame &game : kRecordedGames)
            recorded.insert(QString::fromLatin1(game.map));
        const QStringList shipped = shippedMapNames();
        QCOMPARE(recorded, QSet<QString>(shipped.begin(), shipped.end()));
    }
};

TARVAN_TEST_MAIN(TestAiRecordedGames)
#include "test_ai_recorded_games.moc"
