// Whole games of computer players alone, on World, SwampII and a small synthetic map, under both
// attack rules, with and without strongholds and troop experience, every personality present.
// After every turn: the map as the queued steps show it equals the game state, every territory
// has an owner and an army, the 53 cards are all there, no queue overflowed, the army totals of
// the records are the real ones, and every army placed or lost is accounted for.

#include "TestSupport.h"
#include "test_ai_support.h"

#include "ai/AiState.h"
#include "ai/SelfPlay.h"
#include "rules/Cards.h"
#include "rules/GameEnd.h"
#include "rules/PlayerRecords.h"
#include "rules/Sound.h"
#include "rules/TurnState.h"
#include "state/GameState.h"
#include "state/StepQueues.h"

using namespace aitest;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

constexpr int kTurnCap = 12000;

// 30 territories in six continents of five, each continent a chain, the chains joined in a ring
// and across it, so that there are borders, gateways and routes of every kind.
bool loadSyntheticMap()
{
    Adjacency lists(31);
    const auto link = [&lists](int a, int b) {
        lists[a].push_back(b);
        lists[b].push_back(a);
    };
    std::vector<ContinentLayout> continents;
    for (int c = 0; c < 6; ++c) {
        const int first = 5 * c + 1;
        for (int i = 0; i < 4; ++i)
            link(first + i, first + i + 1);
        link(first + 4, (first + 5 - 1) % 30 + 1); // to the next continent
        continents.push_back({2 + c % 3, {first, first + 1, first + 2, first + 3, first + 4}});
    }
    link(3, 18);
    link(8, 23);
    link(13, 28);
    return loadMap(continents, lists);
}

qint64 lossesOfAll()
{
    qint64 sum = 0;
    for (int p = 1; p <= kMaxPlayers; ++p)
        sum += playerTable[p].battleLosses();
    return sum;
}

// What the ledger of a turn starts from.
struct TurnStart {
    int player, armies;
    qint64 losses;
    int bonus, territoryArmies, attacks;
};

TurnStart turnStart()
{
    return {currentPlayer, totalArmiesOnMap(), lossesOfAll(), continentReinforcement(currentPlayer),
            territoryReinforcement(currentPlayer), playerTable[currentPlayer].attacksMade()};
}

} // namespace

class TestAiSoak : public QObject {
    Q_OBJECT

    // The checks that hold after every turn once its steps have been played.
    void checkState(const QString &where)
    {
        for (int t = 1; t <= territoryCount; ++t) {
            const TerritoryState &is = territoryState[t], &shows = displayedTerritoryState[t];
            if (shows != is || is.owner < 1 || is.owner > playerCount || is.armies < 1)
                QFAIL(qPrintable(QStringLiteral("%1: territory %2 shows %3/%4, is %5/%6")
                                     .arg(where).arg(t).arg(shows.owner).arg(shows.armies)
                                     .arg(is.owner).arg(is.armies)));
            if (defenceMissiles[t] != 0 || attackMissiles[t] != 0)
                QFAIL(qPrintable(where + QStringLiteral(": a missile appeared")));
        }
        QCOMPARE(cardsInPlay(), 53);
        for (int p = 1; p <= playerCount; ++p)
            if (playerTable[p].totalArmies() != armiesOfPlayer(p))
                QFAIL(qPrintable(QStringLiteral("%1: player %2 records %3 armies, holds %4")
                                     .arg(where).arg(p).arg(playerTable[p].totalArmies()).arg(armiesOfPlayer(p))));
    }

    // The armies one computer turn placed are the pool (continent bonus and traded cards) and at
    // most the territory armies; without an attack the territory armies are always placed.
    // Every other change of the map is a battle loss.
    void checkLedger(const TurnStart &start, const QString &where)
    {
        // What the turn placed and traded, read off the steps it queued: every placement queues
        // its territory first with the placing sound and the number of armies.
        int placed = 0, traded = 0;
        for (int i = 1; i <= actionQueueCount; ++i) {
            const QueueStep &step = actionQueue[i];
            if (step.type == 1 && step.arg[5] == SoundPlacement)
                placed += step.arg[6];
            else if (step.type == 3)
                traded += step.arg[5];
        }
        const bool attacked = playerTable[start.player].attacksMade() > start.attacks;
        const int territoryPart = placed - start.bonus - traded;
        const int grown = totalArmiesOnMap() - start.armies;
        const qint64 losses = lossesOfAll() - start.losses;
        const int territoryCap = qMax(3, territoryCount / qMax(1, reinforcementDivisor));
        const bool sound = attacked
            ? territoryPart >= 0 && territoryPart <= territoryCap && grown == placed - losses
            : territoryPart == start.territoryArmies && grown == placed;
        const QString turn = attacked ? QStringLiteral("an attacking turn") : QStringLiteral("a quiet turn");
        if (!sound)
            QFAIL(qPrintable(QStringLiteral("%1: %2 placed %3 (bonus %4, cards %5, territories %6), lost %7, "
                                            "the map changed by %8")
                                 .arg(where, turn).arg(placed).arg(start.bonus).arg(traded)
                                 .arg(start.territoryArmies).arg(losses).arg(grown)));
        if (attacked)
            QCOMPARE(aiArmiesToPlace, 0);
    }

    // Plays one game with every check after every turn; returns its final hash.
    quint64 playCheckedGame(const SelfPlayOptions &options, const std::function<bool()> &loadMap, int &turns)
    {
        turns = 0;
        if (!startSelfPlayGame(options, loadMap)) {
            QTest::qFail("the map did not load", __FILE__, __LINE__);
            return 0;
        }
        while (true) {
            const int held = playQueuedActionSteps();
            if (held >= kActionQueueCapacity || messageQueueCount >= kMessageQueueCapacity) {
                QTest::qFail("a queue ran full", __FILE__, __LINE__);
                return 0;
            }
            const QString where = QStringLiteral("turn %1").arg(turns);
            checkState(where);
            if (QTest::currentTestFailed() || gameOver)
                break;
            if (turns >= kTurnCap) {
                QTest::qFail("the game did not end within the turn cap", __FILE__, __LINE__);
                return 0;
            }
            const TurnStart start = turnStart();
            const int played = playQueuedMessageSteps();
            if (played != 1) {
                QTest::qFail(qPrintable(QStringLiteral("%1: %2 turns were played in one pass").arg(where).arg(played)),
                             __FILE__, __LINE__);
                return 0;
            }
            ++turns;
            if (!gameOver)
                checkLedger(start, where);
            if (QTest::currentTestFailed())
                return 0;
        }
        return gameStateHash();
    }

private slots:
    void init() { resetAllGameState(1); }

    void computerGamesEndSoundly_data()
    {
        QTest::addColumn<QString>("map");
        QTest::addColumn<int>("players");
        QTest::addColumn<int>("seed");
        QTest::addColumn<QString>("options");

        QTest::newRow("World, 10 players, dice") << "World" << 10 << 1 << "";
        QTest::newRow("World, 10 players, 1-for-1, strongholds") << "World" << 10 << 2 << "1for1 strongholds";
        QTest::newRow("World, 7 players, troop experience") << "World" << 7 << 3 << "experience";
        QTest::newRow("World, 3 players with the neutral army") << "World" << 3 << 4 << "neutral";
        QTest::newRow("synthetic, 8 players, dice") << "synthetic" << 8 << 5 << "";
        QTest::newRow("synthetic, 6 players, 1-for-1, experience") << "synthetic" << 6 << 6 << "1for1 experience";
        QTest::newRow("synthetic, 7 players, strongholds, experience")
            << "synthetic" << 7 << 7 << "strongholds experience";
        QTest::newRow("synthetic, 4 players, Easy") << "synthetic" << 4 << 8 << "easy";
        QTest::newRow("synthetic, 9 players, animations") << "synthetic" << 9 << 14 << "animations";
        if (kSanitized)
            return; // the long games only in the normal build
        QTest::newRow("World, 10 players, 1-for-1, strongholds, experience")
            << "World" << 10 << 9 << "1for1 strongholds experience";
        QTest::newRow("World, 6 players, dice, strongholds, fast speed") << "World" << 6 << 10 << "strongholds fast";
        QTest::newRow("World, 10 players, animations") << "World" << 10 << 15 << "animations";
        QTest::newRow("Europe, 10 players, strongholds") << "Europe" << 10 << 16 << "strongholds";
        QTest::newRow("SwampII, 5 players, strongholds") << "SwampII" << 5 << 11 << "strongholds";
        QTest::newRow("SwampII, 4 players, 1-for-1, experience") << "SwampII" << 4 << 12 << "1for1 experience";
        QTest::newRow("synthetic, 10 players, 1-for-1") << "synthetic" << 10 << 13 << "1for1";
    }

    void computerGamesEndSoundly()
    {
        QFETCH(QString, map);
        QFETCH(int, players);
        QFETCH(int, seed);
        QFETCH(QString, options);

        SelfPlayOptions game;
        game.seed = static_cast<quint32>(seed);
        game.players = players;
        for (const QString &word : options.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            QVERIFY2(applySelfPlayWord(word, game), qPrintable(word));
        const std::function<bool()> load = map == QLatin1String("synthetic")
            ? std::function<bool()>(loadSyntheticMap)
            : std::function<bool()>([map] { return loadBuiltinMapNamed(map); });

        int turns = 0;
        const quint64 hash = playCheckedGame(game, load, turns);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(gameOver);
        // Every personality took part (Unstable as a setting).
        QVector<int> settings;
        for (int p = 1; p <= playerCount; ++p)
            settings << personalitySetting[p];
        if (players >= 7)
            for (int kind = 0; kind <= PersonalityUnstable; ++kind)
                QVERIFY2(settings.contains(kind), qPrintable(QStringLiteral("personality %1 missing").arg(kind)));
        const int winner = selfPlayWinner();
        if (winner != 0) {
            QVERIFY(!playerOutOfGame(winner));
            if (!strongholdsEnabled)
                QCOMPARE(playerTable[winner].territoriesHeld(), territoryCount);
        } else {
            QVERIFY2(noWinner, "a game without a winner must have ended in a stalemate");
        }
        if (game.neutralArmy)
            QCOMPARE(turnsTaken[3], 0);

        // The same seed plays the same game.
        int again = 0;
        QCOMPARE(playCheckedGame(game, load, again), hash);
        QCOMPARE(again, turns);
    }
};

TARVAN_TEST_MAIN(TestAiSoak)
#include "test_ai_soak.moc"
