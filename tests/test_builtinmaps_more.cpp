// Swamp, Real World, Scandinavia, Great Britain, Worms and the two Three Nations maps: their
// sizes fit the ranges the rest of the game counts on (saved-game recognition, network limits,
// stronghold games), and their data is sound.

#include "TestSupport.h"

#include "rules/GameStart.h"
#include "state/BuiltinMaps.h"
#include "state/GameState.h"
#include "state/MapFile.h"
#include "state/MapPicture.h"

#include <QSet>

namespace {

struct MapCase {
    const char *name;
    MapFlag flag;
    void (*build)();
    int fewestTerritories;
    int mostTerritories;
    int fewestContinents;
    int mostContinents;
};

// The range of each map: the saved-game loader tells the maps apart by their size, and Swamp is
// offered in network games and in the ten-player stronghold game.
const MapCase kMaps[] = {
    {"Swamp", MapSwamp, buildSwampMap, 106, 109, 10, 14},
    {"Real World", MapRealWorld, buildRealWorldMap, 85, 105, 1, 25},
    {"Scandinavia", MapScandinavia, buildScandinaviaMap, 63, 81, 1, 25},
    {"Great Britain", MapGreatBritain, buildGreatBritainMap, 82, 84, 1, 25},
    {"Worms", MapWorms, buildWormsMap, 110, 199, 1, 25},
    {"Three Nations 1", MapThreeNations, buildThreeNationsMap1, 2, 84, 1, 25},
    {"Three Nations 2", MapThreeNationsB, buildThreeNationsMap2, 2, 84, 1, 25},
};

const MapCase *caseFor(MapFlag flag)
{
    for (const MapCase &c : kMaps)
        if (c.flag == flag)
            return &c;
    return nullptr;
}

void addMapRows()
{
    QTest::addColumn<int>("flag");
    for (const MapCase &c : kMaps)
        QTest::newRow(c.name) << int(c.flag);
}

// How a saved game without a campaign or map-file prefix finds its map: the highest of these
// territories that has an owner.
MapFlag recogniseSavedMap()
{
    static const struct {
        int territory;
        MapFlag flag;
    } tests[] = {{200, MapSwampII}, {110, MapWorms},     {106, MapSwamp},  {85, MapRealWorld},
                 {82, MapGreatBritain}, {63, MapScandinavia}, {57, MapWorldII}, {56, MapNorthAmerica},
                 {52, MapAustralia}, {51, MapJapan},    {43, MapChina},   {42, MapWorld}};
    for (const auto &test : tests)
        if (territoryState[test.territory].owner > 0)
            return test.flag;
    return MapEurope;
}

void dealForPlayers(int players)
{
    playerCount = players;
    humanPlayerCount = 1;
    dealTerritories();
}

} // namespace

class TestBuiltinMapsMore : public QObject {
    Q_OBJECT

private slots:
    void init() { resetAllGameState(7); }

    void sizesFitTheirRanges_data() { addMapRows(); }

    void sizesFitTheirRanges()
    {
        QFETCH(int, flag);
        const MapCase *c = caseFor(static_cast<MapFlag>(flag));
        c->build();
        QVERIFY2(territoryCount >= c->fewestTerritories && territoryCount <= c->mostTerritories,
                 qPrintable(QStringLiteral("%1 territories").arg(territoryCount)));
        QVERIFY2(continentCount >= c->fewestContinents && continentCount <= c->mostContinents,
                 qPrintable(QStringLiteral("%1 continents").arg(continentCount)));
        QCOMPARE(reinforcementDivisor, reinforcementDivisorFor(territoryCount));
        // Every computer player starts its route search from the map's own chains.
        QVERIFY(routeCount >= 10 && routeCount <= 25);
    }

    // The builder and the flag's loader build the same map.
    void builderMatchesTheFlag_data() { addMapRows(); }

    void builderMatchesTheFlag()
    {
        QFETCH(int, flag);
        const MapCase *c = caseFor(static_cast<MapFlag>(flag));
        c->build();
        const MapTables built = mapTables;
        buildWorldMap();
        selectMap(c->flag);
        loadSelectedBuiltinMap();
        QCOMPARE(territoryCount, built.territoryCount);
        QCOMPARE(continentCount, built.continentCount);
        for (int t = 1; t <= territoryCount; ++t) {
            QCOMPARE(territoryPos[t].x, built.territoryPos[t].x);
            QCOMPARE(territoryPos[t].y, built.territoryPos[t].y);
        }
    }

    void adjacencyIsMutual_data() { addMapRows(); }

    void adjacencyIsMutual()
    {
        QFETCH(int, flag);
        caseFor(static_cast<MapFlag>(flag))->build();
        for (int t = 1; t <= territoryCount; ++t) {
            QSet<int> seen;
            for (int i = 1; i <= kMaxNeighbours && territoryNeighbours[t][i]; ++i) {
                const int u = territoryNeighbours[t][i];
                QVERIFY2(u >= 1 && u <= territoryCount && u != t, qPrintable(QStringLiteral("%1 lists %2").arg(t).arg(u)));
                QVERIFY2(!seen.contains(u), qPrintable(QStringLiteral("%1 lists %2 twice").arg(t).arg(u)));
                seen.insert(u);
                QVERIFY2(isNeighbour(u, t), qPrintable(QStringLiteral("%1 - %2 one way").arg(t).arg(u)));
            }
            QVERIFY(!seen.isEmpty());
        }
    }

    // Codes, display names and label points: what the painter, the statistics and the
    // continent dialog show.
    void namesCodesAndLabels_data() { addMapRows(); }

    void namesCodesAndLabels()
    {
        QFETCH(int, flag);
        selectMap(static_cast<MapFlag>(flag));
        loadSelectedBuiltinMap();
        setBuiltinContinentNames();
        QSet<QString> codes;
        const QRect panel(playerPanelPosition(selectedMap()), QSize(kPlayerPanelWidth, kPlayerPanelHeight));
        for (int t = 1; t <= territoryCount; ++t) {
            const QString code = territoryCode[t];
            QVERIFY2(code.size() >= 2 && code.size() <= 3 && code == code.toLower(), qPrintable(code));
            QVERIFY2(!codes.contains(code), qPrintable(code));
            codes.insert(code);
            const QPoint label(territoryPos[t].x, territoryPos[t].y);
            QVERIFY(QRect(10, 10, kDesignPictureWidth - 20, kDesignPictureHeight - 20).contains(label));
            QVERIFY2(!panel.contains(label), qPrintable(code));
            for (int u = 1; u < t; ++u) {
                const int dx = territoryPos[t].x - territoryPos[u].x;
                const int dy = territoryPos[t].y - territoryPos[u].y;
                QVERIFY2(dx * dx + dy * dy >= 25 * 25, qPrintable(code + QLatin1Char(' ') + territoryCode[u]));
            }
        }
        for (int c = 1; c <= continentCount; ++c) {
            const QString name = continentName[c];
            QCOMPARE(name.size(), 20);
            QVERIFY2(!name.trimmed().isEmpty() && !name.contains(QLatin1Char('_')), qPrintable(name));
            QVERIFY(continentTable[c].bonus >= 1);
        }
    }

    // A game dealt on the map and saved under a plain name is loaded on the same map, also when
    // a larger map was played before it.
    void savedGameFindsItsMap_data()
    {
        QTest::addColumn<int>("flag");
        QTest::addColumn<int>("before");
        for (const MapCase &c : kMaps)
            if (c.flag != MapThreeNations && c.flag != MapThreeNationsB) {
                QTest::newRow(c.name) << int(c.flag) << int(MapWorld);
                QTest::newRow(qPrintable(QStringLiteral("%1 after Worms").arg(c.name))) << int(c.flag) << int(MapWorms);
            }
        QTest::newRow("World after Real World") << int(MapWorld) << int(MapRealWorld);
    }

    void savedGameFindsItsMap()
    {
        QFETCH(int, flag);
        QFETCH(int, before);
        selectMap(static_cast<MapFlag>(before));
        loadSelectedBuiltinMap();
        dealForPlayers(10);
        selectMap(static_cast<MapFlag>(flag));
        loadSelectedBuiltinMap();
        dealForPlayers(10);
        for (int t = 1; t <= territoryCount; ++t)
            QVERIFY(territoryState[t].owner >= 1 && territoryState[t].owner <= 10);
        QCOMPARE(int(recogniseSavedMap()), flag);
    }

    // The Three Nations maps come back only through campaign saves; kept below Real World's
    // size, a plain save of one is never taken for the larger maps.
    void threeNationsStayBelowRealWorld_data()
    {
        QTest::addColumn<int>("flag");
        QTest::newRow("Three Nations 1") << int(MapThreeNations);
        QTest::newRow("Three Nations 2") << int(MapThreeNationsB);
    }

    void threeNationsStayBelowRealWorld()
    {
        QFETCH(int, flag);
        selectMap(static_cast<MapFlag>(flag));
        loadSelectedBuiltinMap();
        dealForPlayers(10);
        const MapFlag found = recogniseSavedMap();
        QVERIFY(found != MapRealWorld && found != MapGreatBritain && found != MapSwamp && found != MapWorms);
    }

    // The maps a host can offer must pass the network limits of the parser.
    void networkMapsStayWithinLimits_data()
    {
        QTest::addColumn<int>("flag");
        const struct {
            const char *name;
            MapFlag flag;
        } offered[] = {{"World", MapWorld},     {"Europe", MapEurope}, {"North America", MapNorthAmerica},
                       {"China", MapChina},     {"Japan", MapJapan},   {"World II", MapWorldII},
                       {"Swamp", MapSwamp},     {"Australia", MapAustralia}};
        for (const auto &o : offered)
            QTest::newRow(o.name) << int(o.flag);
    }

    void networkMapsStayWithinLimits()
    {
        QFETCH(int, flag);
        const BuiltinMap *map = builtinMapFor(static_cast<MapFlag>(flag));
        if (!map)
            QSKIP("this map is not built into the program yet");
        gameMode = ModeHost;
        QCOMPARE(buildBuiltinMap(*map), int(MapFileOk));
        QVERIFY(territoryCount <= kNetworkMaxTerritories);
        QVERIFY(continentCount <= kNetworkMaxContinents);
    }

    // Stronghold games limit the players to the continents: the rank games need these.
    void enoughContinentsForStrongholdGames_data()
    {
        QTest::addColumn<int>("flag");
        QTest::addColumn<int>("fewest");
        QTest::newRow("World, 5 players") << int(MapWorld) << 5;
        QTest::newRow("Australia, 7 players") << int(MapAustralia) << 7;
        QTest::newRow("North America, 8 players") << int(MapNorthAmerica) << 8;
        QTest::newRow("Swamp, 10 players") << int(MapSwamp) << 10;
        QTest::newRow("China") << int(MapChina) << 7;
        QTest::newRow("Japan") << int(MapJapan) << 7;
    }

    void enoughContinentsForStrongholdGames()
    {
        QFETCH(int, flag);
        QFETCH(int, fewest);
        const BuiltinMap *map = builtinMapFor(static_cast<MapFlag>(flag));
        if (!map)
            QSKIP("this map is not built into the program yet");
        QCOMPARE(buildBuiltinMap(*map), int(MapFileOk));
        QVERIFY2(continentCount >= fewest, qPrintable(QStringLiteral("%1 continents").arg(continentCount)));
    }

    // Swamp's size is what the game's texts say of it: more than 90 territories, so the
    // new-armies notice shows, and a divisor of 4.
    void swampCountsByFours()
    {
        buildSwampMap();
        QVERIFY(territoryCount > 90);
        QCOMPARE(reinforcementDivisor, 4);
        gameMode = ModeHost;
        QCOMPARE(buildBuiltinMap(swampMap), int(MapFileOk));
    }
};

TARVAN_TEST_MAIN(TestBuiltinMapsMore)
#include "test_builtinmaps_more.moc"
