// A computer player's set-up at the start of a game: its stronghold and its initial armies.

#include "TestSupport.h"
#include "test_ai_support.h"

#include "ai/AiState.h"
#include "ai/InitialPlacement.h"
#include "ai/Toolkit.h"
#include "state/BuiltinMaps.h"

using namespace aitest;

namespace {

void loadWorld()
{
    selectMap(MapWorld);
    loadSelectedBuiltinMap();
}

// Every territory to a player in turn, in a shuffled order, with one army each.
void dealOneEach(int players)
{
    deal(players, [] { return 1; });
    displayedTerritoryState = territoryState;
    recountAllPlayers();
}

void placeFor(int p)
{
    const int saved = currentPlayer;
    currentPlayer = p;
    aiInitialPlacement();
    currentPlayer = saved;
}

} // namespace

class TestAiPlacement : public QObject {
    Q_OBJECT

private slots:
    void init() { resetAllGameState(11); }

    void placesExactlyTheInitialArmies_data()
    {
        QTest::addColumn<int>("players");
        QTest::addColumn<bool>("strongholds");
        QTest::addColumn<quint32>("seed");
        for (int players : {2, 3, 5, 10}) {
            for (bool strongholds : {false, true}) {
                for (quint32 seed : {1u, 2u, 3u}) {
                    const QByteArray name = QByteArray::number(players) + " players"
                        + (strongholds ? ", strongholds" : "") + ", deal " + QByteArray::number(seed);
                    QTest::newRow(name.constData()) << players << strongholds << seed;
                }
            }
        }
    }
    void placesExactlyTheInitialArmies()
    {
        QFETCH(int, players);
        QFETCH(bool, strongholds);
        QFETCH(quint32, seed);
        loadWorld();
        randomSource().seed(seed);
        playerCount = players;
        strongholdsEnabled = strongholds;
        dealOneEach(players);
        computeInitialArmies();
        const int pool = initialArmies;
        QVERIFY(pool > 0);

        for (int p = 1; p <= players; ++p) {
            std::array<int, kMaxPlayers + 1> before{};
            for (int q = 1; q <= players; ++q)
                before[q] = armiesOfPlayer(q);
            placeFor(p);
            QCOMPARE(armiesOfPlayer(p) - before[p], pool + (strongholds ? 14 : 0));
            for (int q = 1; q <= players; ++q)
                if (q != p)
                    QCOMPARE(armiesOfPlayer(q), before[q]);
            const int stronghold = playerTable[p].stronghold();
            if (strongholds) {
                QVERIFY(isValidTerritory(stronghold));
                QCOMPARE(territoryState[stronghold].owner, p);
                QCOMPARE(territoryState[stronghold].armies, 15);
            } else {
                QCOMPARE(stronghold, 0);
            }
        }
        QCOMPARE(displayedTerritoryState, territoryState);
        QCOMPARE(actionQueueCount, 0);
        QCOMPARE(messageQueueCount, 0);
        // A second placement keeps the stronghold and does not top it up again.
        const int stronghold = playerTable[1].stronghold();
        initialArmies = 0;
        placeFor(1);
        QCOMPARE(playerTable[1].stronghold(), stronghold);
        if (strongholds)
            QCOMPARE(territoryState[stronghold].armies, 15);
    }

    void strongholdContinentOnTheWorldMap_data()
    {
        QTest::addColumn<bool>("worldRules");
        QTest::addColumn<QVector<int>>("owned");
        QTest::addColumn<int>("continent");
        // Player 1 owns the listed territories; player 2 every other one.
        QTest::newRow("arg and one more of South America")
            << true << QVector<int>{12, 13, 1, 2, 3, 4, 20, 21, 22, 23, 41, 42} << 2;
        QTest::newRow("Australia by its own key territories") << true << QVector<int>{39, 40, 1, 2, 3, 4, 5}
                                                             << 6;
        QTest::newRow("without its key territories South America is not favoured")
            << true << QVector<int>{10, 12, 1, 2, 3, 4, 5} << 1;
        QTest::newRow("off the World map the most-owned continent") << false
                                                                    << QVector<int>{12, 13, 1, 2, 3} << 1;
    }
    void strongholdContinentOnTheWorldMap()
    {
        QFETCH(bool, worldRules);
        QFETCH(QVector<int>, owned);
        loadWorld();
        if (!worldRules)
            selectMap(MapCustom);
        playerCount = 2;
        strongholdsEnabled = 1;
        for (int t = 1; t <= territoryCount; ++t)
            put(t, owned.contains(t) ? 1 : 2, 1);
        recountAllPlayers();
        placeFor(1);
        QTEST(continentOfTerritory(playerTable[1].stronghold()), "continent");
    }

    void strongholdAvoidsAnotherStronghold()
    {
        // Two continents of three in a row; player 2's stronghold stands on territory 2.
        QVERIFY(loadMap({{2, {1, 2, 3}}, {2, {4, 5, 6}}}, chain(6)));
        playerCount = 2;
        strongholdsEnabled = 1;
        setPosition({{1, 1}, {2, 15}, {1, 1}, {1, 1}, {2, 1}, {1, 1}});
        playerTable[2].stronghold() = 2;
        placeFor(1);
        const int chosen = playerTable[1].stronghold();
        QVERIFY(chosen != 1 && chosen != 3);
        QCOMPARE(territoryState[chosen].owner, 1);
    }

    void armiesAreNeverLost()
    {
        // Every own territory already holds more than one army: the passes find no place, yet
        // the pool must still end up on the map.
        QVERIFY(loadMap({{2, {1, 2, 3}}, {2, {4, 5, 6}}}, chain(6)));
        playerCount = 2;
        setPosition({{1, 4}, {1, 4}, {2, 1}, {2, 1}, {1, 4}, {2, 1}});
        displayedTerritoryState = territoryState;
        computeInitialArmies();
        const int before = armiesOfPlayer(1);
        placeFor(1);
        QCOMPARE(armiesOfPlayer(1), before + initialArmies);
        QCOMPARE(displayedTerritoryState, territoryState);
    }
};

TARVAN_TEST_MAIN(TestAiPlacement)
#include "test_ai_placement.moc"
