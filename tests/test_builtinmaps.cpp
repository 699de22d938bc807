// The maps built into the program: every one builds through the parser into a sound map, and
// the World map has the facts the rest of the game relies on.

#include "TestSupport.h"

#include "state/BuiltinMaps.h"
#include "state/GameState.h"
#include "state/MapFile.h"

#include <QSet>
#include <QVector>

namespace {

bool reachesEveryTerritory()
{
    QSet<int> seen{1};
    QList<int> open{1};
    while (!open.isEmpty()) {
        const int t = open.takeLast();
        for (int i = 1; i <= kMaxNeighbours && territoryNeighbours[t][i]; ++i)
            if (!seen.contains(territoryNeighbours[t][i])) {
                seen.insert(territoryNeighbours[t][i]);
                open.append(territoryNeighbours[t][i]);
            }
    }
    return seen.size() == territoryCount;
}

} // namespace

class TestBuiltinMaps : public QObject {
    Q_OBJECT

private slots:
    void init() { resetAllGameState(); }

    void everyMapIsSound_data()
    {
        QTest::addColumn<int>("flag");
        for (const BuiltinMap *map : allBuiltinMaps())
            QTest::newRow(qPrintable(QStringLiteral("map flag %1").arg(map->flag))) << int(map->flag);
    }

    void everyMapIsSound()
    {
        QFETCH(int, flag);
        selectMap(static_cast<MapFlag>(flag));
        loadSelectedBuiltinMap();
        QVERIFY(territoryCount >= 2 && territoryCount <= kMaxTerritories);
        QVERIFY(continentCount >= 1 && continentCount <= kMaxContinents);
        QVERIFY(reachesEveryTerritory());
        // Every territory belongs to exactly one continent.
        QVector<int> memberships(territoryCount + 1, 0);
        for (int c = 1; c <= continentCount; ++c) {
            QVERIFY2(continentBorders[c][1] != 0, "a continent without a border territory");
            QVERIFY(continentTable[c].weight == 10 * continentTable[c].bonus);
            for (int i = 1; i <= continentTable[c].memberCount; ++i)
                ++memberships[continentTable[c].members[i]];
        }
        for (int t = 1; t <= territoryCount; ++t)
            QCOMPARE(memberships[t], 1);
        for (int r = 1; r <= routeCount; ++r) {
            const RouteRecord &route = routeTable[r];
            QVERIFY(route.t[1] != 0 && route.t[2] != 0);
            for (int i = 2; i <= kRouteLength && route.t[i]; ++i)
                QVERIFY2(isNeighbour(route.t[i - 1], route.t[i]),
                         qPrintable(QStringLiteral("route %1 breaks at %2").arg(r).arg(route.t[i])));
        }
        QCOMPARE(reinforcementDivisor, reinforcementDivisorFor(territoryCount));
        int flagsSet = 0;
        for (quint8 f : builtinMapFlags)
            flagsSet += f;
        QCOMPARE(flagsSet, 1);
    }

    void worldHasItsFixedFacts()
    {
        buildWorldMap();
        QCOMPARE(territoryCount, 42);
        QCOMPARE(continentCount, 6);
        const int continentOf[][2] = {{1, 1}, {9, 1}, {10, 2}, {13, 2}, {14, 3}, {19, 3},
                                      {20, 4}, {26, 4}, {27, 5}, {38, 5}, {39, 6}, {42, 6}};
        for (const auto &pair : continentOf)
            QCOMPARE(continentOfTerritory(pair[0]), pair[1]);
        const struct {
            int t;
            const char *code;
        } codes[] = {{11, "per"}, {13, "arg"}, {16, "caf"}, {18, "zaf"}, {40, "nwg"}, {41, "wau"}, {42, "oau"}};
        for (const auto &c : codes)
            QCOMPARE(territoryCode[c.t], QString::fromLatin1(c.code));
        const int positions[43][2] = {{0, 0},     {53, 61},   {98, 72},   {318, 42},  {79, 116},
                                      {150, 117}, {213, 117}, {52, 178},  {117, 194}, {52, 244},
                                      {136, 343}, {175, 453}, {217, 421}, {182, 536}, {376, 264},
                                      {492, 257}, {453, 356}, {531, 338}, {471, 491}, {560, 470},
                                      {362, 81},  {442, 97},  {515, 125}, {393, 117}, {442, 139},
                                      {385, 178}, {474, 167}, {540, 215}, {592, 169}, {613, 97},
                                      {751, 216}, {672, 259}, {693, 87},  {748, 53},  {752, 90},
                                      {773, 141}, {810, 71},  {851, 178}, {757, 285}, {802, 367},
                                      {898, 398}, {802, 505}, {890, 508}};
        for (int t = 1; t <= 42; ++t) {
            QCOMPARE(territoryPos[t].x, positions[t][0]);
            QCOMPARE(territoryPos[t].y, positions[t][1]);
        }
        QCOMPARE(continentName[1], QStringLiteral("North America").leftJustified(20));
        QVERIFY(routeCount > 0);
    }

    void worldAdjacencyIsMutual()
    {
        buildWorldMap();
        for (int t = 1; t <= territoryCount; ++t)
            for (int i = 1; i <= kMaxNeighbours && territoryNeighbours[t][i]; ++i) {
                const int u = territoryNeighbours[t][i];
                QVERIFY2(u != t && isNeighbour(u, t), qPrintable(QStringLiteral("%1 - %2").arg(t).arg(u)));
            }
    }

    // The computer players' World rules count on these territories touching these continents.
    void worldLinksTheComputerPlayersUse_data()
    {
        QTest::addColumn<int>("territory");
        QTest::addColumn<int>("continent");
        QTest::newRow("38 next to continent 6") << 38 << 6;
        QTest::newRow("39 next to continent 5") << 39 << 5;
        QTest::newRow("1 next to continent 5") << 1 << 5;
        QTest::newRow("36 next to continent 1") << 36 << 1;
        QTest::newRow("10 next to continent 1") << 10 << 1;
        QTest::newRow("9 next to continent 2") << 9 << 2;
        QTest::newRow("14 next to continent 2") << 14 << 2;
        QTest::newRow("20 next to continent 1") << 20 << 1;
        QTest::newRow("3 next to continent 4") << 3 << 4;
    }

    void worldLinksTheComputerPlayersUse()
    {
        QFETCH(int, territory);
        QFETCH(int, continent);
        buildWorldMap();
        QVERIFY(continentOfTerritory(territory) != continent);
        bool touches = false;
        for (int i = 1; i <= kMaxNeighbours && territoryNeighbours[territory][i]; ++i)
            touches |= continentOfTerritory(territoryNeighbours[territory][i]) == continent;
        QVERIFY(touches);
    }

    void worldInitialArmies_data()
    {
        QTest::addColumn<int>("players");
        QTest::addColumn<int>("armies");
        QTest::newRow("3") << 3 << 21;
        QTest::newRow("4") << 4 << 20;
        QTest::newRow("5") << 5 << 16;
        QTest::newRow("6") << 6 << 13;
        QTest::newRow("10") << 10 << 8;
    }

    void worldInitialArmies()
    {
        QFETCH(int, players);
        QFETCH(int, armies);
        buildWorldMap();
        playerCount = players;
        computeInitialArmies();
        QCOMPARE(initialArmies, armies);
    }

    void parametersComeBeforeTheMap()
    {
        selectMap(MapWorld);
        setBuiltinMapParameters();
        QCOMPARE(territoryCount, 42);
        QCOMPARE(continentCount, 6);
        QCOMPARE(territoryNeighbours[1][1], 0);
    }

    void swampIIIsRefusedInANetworkGameAndLeavesTheMap()
    {
        buildWorldMap();
        gameMode = ModeHost;
        QCOMPARE(loadBuiltinSwampII(), int(MapFileTooLargeForNetwork));
        QCOMPARE(territoryCount, 42);
        gameMode = ModeSinglePlayer;
        QCOMPARE(loadBuiltinSwampII(), int(MapFileOk));
        QCOMPARE(territoryCount, 200);
        QCOMPARE(territoriesPer12, 10);
        QCOMPARE(reinforcementDivisor, 7);
        QCOMPARE(continentName[12], QStringLiteral("Center_W"));
    }
};

TARVAN_TEST_MAIN(TestBuiltinMaps)
#include "test_builtinmaps.moc"
