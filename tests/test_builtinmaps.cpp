// The maps built into the program: every one builds through the parser into a sound map whose
// size fits what the rest of the game counts on (saved-game recognition, network limits,
// stronghold and ten-player games), and the World map has the facts the rules rely on.

#include "TestSupport.h"

#include "MapChecks.h"
#include "ai/SelfPlay.h"
#include "maps/MapTexts.h"
#include "persist/SavedGameLoading.h"
#include "rules/GameStart.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/GameState.h"
#include "state/MapFile.h"
#include "state/MapPicture.h"

#include <QRect>
#include <QVector>

#include <iterator>

using namespace mapchecks;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

// What each map must keep. The saved-game loader tells the maps apart by their size; stronghold
// games need a continent per player; the reinforcement divisor is stated where the game's texts
// count on it (0: by the territory count alone).
struct MapCase {
    MapFlag flag;
    void (*build)();
    int fewestTerritories, mostTerritories;
    int fewestContinents, mostContinents;
    int divisor;
    bool offered; // at set-up, in network games and in the high-score game
};

const MapCase kMaps[] = {
    {MapWorld, buildWorldMap, 42, 42, 6, 6, 3, true},
    {MapWorldII, buildWorldIIMap, 57, 62, 1, 25, 3, true},
    {MapEurope, buildEuropeMap, 2, 41, 1, 25, 3, true},
    {MapNorthAmerica, buildNorthAmericaMap, 56, 56, 8, 25, 3, true},
    {MapChina, buildChinaMap, 43, 50, 7, 25, 3, true},
    {MapJapan, buildJapanMap, 51, 51, 7, 25, 3, true},
    {MapAustralia, buildAustraliaMap, 52, 55, 7, 25, 3, true},
    {MapSwamp, buildSwampMap, 106, 109, 10, 14, 4, true},
    {MapRealWorld, buildRealWorldMap, 85, 105, 1, 25, 0, false},
    {MapScandinavia, buildScandinaviaMap, 63, 81, 1, 25, 0, false},
    {MapGreatBritain, buildGreatBritainMap, 82, 84, 1, 25, 0, false},
    {MapWorms, buildWormsMap, 110, 199, 1, 25, 0, false},
    {MapThreeNations, buildThreeNationsMap1, 2, 84, 1, 25, 0, false},
    {MapThreeNationsB, buildThreeNationsMap2, 2, 84, 1, 25, 0, false},
    {MapSwampII, [] { loadBuiltinSwampII(); }, 200, 200, 25, 25, 7, false},
};

const MapCase &caseFor(int flag)
{
    for (const MapCase &c : kMaps)
        if (c.flag == flag)
            return c;
    qFatal("no map with flag %d", flag);
    return kMaps[0];
}

const char *nameOf(MapFlag flag)
{
    return builtinMapFor(flag)->name;
}

// Rows of the maps that pass `keep`, tagged with the map's name.
template <typename Keep>
void addMapRows(Keep keep)
{
    QTest::addColumn<int>("flag");
    for (const MapCase &c : kMaps)
        if (keep(c))
            QTest::newRow(nameOf(c.flag)) << int(c.flag);
}

// SwampII is a map text: its self-link, one-sided link and shared "xxx" codes stay as written.
bool drawnByUs(const MapCase &c)
{
    return c.flag != MapSwampII;
}

void loadByFlag(MapFlag flag)
{
    selectMap(flag);
    loadSelectedBuiltinMap();
}

void dealAmong(int players)
{
    playerCount = players;
    humanPlayerCount = 1;
    dealTerritories();
}

} // namespace

class TestBuiltinMaps : public QObject {
    Q_OBJECT

private slots:
    void init() { resetAllGameState(13); }

    void everyMapIsSound_data() { addMapRows([](const MapCase &) { return true; }); }

    void everyMapIsSound()
    {
        QFETCH(int, flag);
        QCOMPARE(int(std::size(kMaps)), int(allBuiltinMaps().size()));
        const MapCase &m = caseFor(flag);
        loadByFlag(m.flag);
        QVERIFY2(territoryCount >= m.fewestTerritories && territoryCount <= m.mostTerritories,
                 qPrintable(QStringLiteral("%1 territories").arg(territoryCount)));
        QVERIFY2(continentCount >= m.fewestContinents && continentCount <= m.mostContinents,
                 qPrintable(QStringLiteral("%1 continents").arg(continentCount)));
        QVERIFY(maxContinentSize <= kMaxContinentMembers);
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
        // Every computer player starts its route search from the map's own chains.
        if (builtinMapFor(m.flag)->applyExtras)
            QVERIFY(routeCount >= 10 && routeCount <= 25);
        for (int r = 1; r <= routeCount; ++r) {
            const RouteRecord &route = routeTable[r];
            QVERIFY(route.t[1] != 0 && route.t[2] != 0);
            for (int i = 2; i <= kRouteLength && route.t[i]; ++i)
                QVERIFY2(isNeighbour(route.t[i - 1], route.t[i]),
                         qPrintable(QStringLiteral("route %1 breaks at %2").arg(r).arg(route.t[i])));
        }
        QCOMPARE(reinforcementDivisor, reinforcementDivisorFor(territoryCount));
        if (m.divisor)
            QCOMPARE(reinforcementDivisor, m.divisor);
        int flagsSet = 0;
        for (quint8 f : builtinMapFlags)
            flagsSet += f;
        QCOMPARE(flagsSet, 1);
    }

    // The builder and the flag's loader build the same map, whatever was built before.
    void builderMatchesTheFlag_data() { addMapRows([](const MapCase &) { return true; }); }

    void builderMatchesTheFlag()
    {
        QFETCH(int, flag);
        const MapCase &m = caseFor(flag);
        m.build();
        const MapTables built = mapTables;
        const int routes = routeCount;
        if (m.flag == MapWorld)
            buildSwampMap();
        else
            buildWorldMap();
        loadByFlag(m.flag);
        QCOMPARE(territoryCount, built.territoryCount);
        QCOMPARE(continentCount, built.continentCount);
        QCOMPARE(routeCount, routes);
        for (int t = 1; t <= territoryCount; ++t) {
            QCOMPARE(territoryPos[t].x, built.territoryPos[t].x);
            QCOMPARE(territoryPos[t].y, built.territoryPos[t].y);
            QCOMPARE(territoryNeighbours[t], built.territoryNeighbours[t]);
        }
    }

    // Links are read one way by the rules, so every border must be written on both sides.
    void adjacencyIsMutual_data() { addMapRows(drawnByUs); }

    void adjacencyIsMutual()
    {
        QFETCH(int, flag);
        caseFor(flag).build();
        const QString fault = mutualAdjacencyFault();
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
    }

    // What the picture, the player panel and the continent dialog show: labels spread over the
    // picture and clear of the panel, codes of their own, names without underscores.
    void labelsCodesAndNames_data() { addMapRows(drawnByUs); }

    void labelsCodesAndNames()
    {
        QFETCH(int, flag);
        loadByFlag(static_cast<MapFlag>(flag));
        setBuiltinContinentNames();
        // The maps offered at set-up keep their labels further from the edges and the panel.
        const int edge = caseFor(flag).offered ? 20 : 10;
        const int clearance = caseFor(flag).offered ? 12 : 0;
        const QRect picture(0, 0, kDesignPictureWidth, kDesignPictureHeight);
        const QRect panel(playerPanelPosition(selectedMap()), QSize(kPlayerPanelWidth, kPlayerPanelHeight));
        QVERIFY(picture.contains(panel));
        QSet<QString> codes;
        for (int t = 1; t <= territoryCount; ++t) {
            const QString code = territoryCode[t];
            QVERIFY2(code.size() >= 2 && code.size() <= 3 && code == code.toLower(), qPrintable(code));
            // World II keeps the one code of its map text.
            if (flag != MapWorldII) {
                QVERIFY2(!codes.contains(code), qPrintable(code));
                codes.insert(code);
            }
            const QPoint label(territoryPos[t].x, territoryPos[t].y);
            QVERIFY2(picture.adjusted(edge, edge, -edge, -edge).contains(label), qPrintable(QString::number(t)));
            QVERIFY2(!panel.adjusted(-clearance, -clearance, clearance, clearance).contains(label),
                     qPrintable(QString::number(t)));
            for (int u = 1; u < t; ++u) {
                const int dx = territoryPos[t].x - territoryPos[u].x;
                const int dy = territoryPos[t].y - territoryPos[u].y;
                QVERIFY2(dx * dx + dy * dy >= 25 * 25, qPrintable(QStringLiteral("%1 - %2").arg(t).arg(u)));
            }
        }
        for (int c = 1; c <= continentCount; ++c) {
            const QString name = continentName[c];
            QCOMPARE(name.size(), 20);
            QVERIFY2(!name.trimmed().isEmpty() && !name.contains(QLatin1Char('_')), qPrintable(name));
            QVERIFY(continentTable[c].bonus >= 1 && continentTable[c].bonus <= 10);
        }
    }

    // A game dealt on the map and saved under a plain name loads on the same map, also when a
    // larger map was played before it. The Three Nations maps come back through campaign saves:
    // kept below Real World's size, a plain save of one is never taken for a larger map.
    void savedGameFindsItsMap_data()
    {
        QTest::addColumn<int>("flag");
        QTest::addColumn<int>("before");
        for (const MapCase &m : kMaps)
            for (MapFlag before : {MapWorld, MapWorms, MapWorldII})
                QTest::addRow("%s after %s", nameOf(m.flag), nameOf(before)) << int(m.flag) << int(before);
        QTest::newRow("World after RealWorld") << int(MapWorld) << int(MapRealWorld);
    }

    void savedGameFindsItsMap()
    {
        QFETCH(int, flag);
        QFETCH(int, before);
        loadByFlag(static_cast<MapFlag>(before));
        dealAmong(10);
        loadByFlag(static_cast<MapFlag>(flag));
        dealAmong(10);
        for (int t = 1; t <= territoryCount; ++t)
            QVERIFY(territoryState[t].owner >= 1 && territoryState[t].owner <= 10);
        const MapFlag found = recogniseSavedGameMap(territoryState);
        if (flag == MapThreeNations || flag == MapThreeNationsB)
            QVERIFY(found != MapRealWorld && found != MapGreatBritain && found != MapSwamp && found != MapWorms);
        else
            QCOMPARE(int(found), flag);
    }

    // The maps a host can offer stay within what a map file may bring to a network game.
    void networkMapsStayWithinLimits_data() { addMapRows([](const MapCase &c) { return c.offered; }); }

    void networkMapsStayWithinLimits()
    {
        QFETCH(int, flag);
        const BuiltinMap *map = builtinMapFor(static_cast<MapFlag>(flag));
        gameMode = ModeHost;
        QCOMPARE(buildBuiltinMap(*map), int(MapFileOk));
        QVERIFY(territoryCount <= kNetworkMaxTerritories);
        QVERIFY(continentCount <= kNetworkMaxContinents);
        gameMode = ModeClient;
        QCOMPARE(buildBuiltinMap(*map), int(MapFileOk));
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
        QCOMPARE(continentName[12], QStringLiteral("Center_W"));
    }

    // The high-score game plays every offered map with ten players: each gets a fair share of
    // the territories and armies to place.
    void tenPlayersGetAFairShare_data() { addMapRows([](const MapCase &c) { return c.offered; }); }

    void tenPlayersGetAFairShare()
    {
        QFETCH(int, flag);
        caseFor(flag).build();
        dealAmong(10);
        QVERIFY(initialArmies >= 5);
        for (int p = 1; p <= 10; ++p) {
            int held = 0;
            for (int t = 1; t <= territoryCount; ++t)
                held += territoryState[t].owner == p ? 1 : 0;
            QVERIFY2(held >= territoryCount / 10 && held <= (territoryCount + 9) / 10,
                     qPrintable(QStringLiteral("player %1 holds %2").arg(p).arg(held)));
        }
    }

    // Ten computer players play the map to its end under the high-score game's rules: every
    // pass plays one turn, and the game ends with one player holding the whole map.
    void tenComputerPlayersFinishAGame_data()
    {
        // A whole game takes long under the sanitizers: there the smallest map only.
        addMapRows([](const MapCase &c) { return c.offered && (!kSanitized || c.flag == MapEurope); });
    }

    void tenComputerPlayersFinishAGame()
    {
        QFETCH(int, flag);
        SelfPlayOptions game;
        game.seed = 21;
        game.players = 10;
        game.attackRule = 'j';
        QVERIFY(startSelfPlayGame(game, [flag] { return loadBuiltinMapNamed(QLatin1String(nameOf(MapFlag(flag)))); }));
        QCOMPARE(int(selectedMap()), flag);
        int turns = 0;
        while (turns < 6000) {
            playQueuedActionSteps();
            if (gameOver)
                break;
            QCOMPARE(playQueuedMessageSteps(), 1);
            ++turns;
        }
        QVERIFY2(gameOver, qPrintable(QStringLiteral("no end after %1 turns").arg(turns)));
        const int winner = selfPlayWinner();
        QVERIFY2(winner != 0 || noWinner, "a game without a winner must have ended in a stalemate");
        if (winner != 0)
            QCOMPARE(playerTable[winner].territoriesHeld(), territoryCount);
    }

    // The simulator and the benchmarks take a map by its save word, in any case.
    void mapsAreFoundByTheirNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("flag");
        for (const BuiltinMap *map : allBuiltinMaps())
            QTest::newRow(map->name) << QString::fromLatin1(map->name).toLower() << int(map->flag);
        QTest::newRow("no such map") << "NorthAmerica" << int(MapFlagCount);
    }

    void mapsAreFoundByTheirNames()
    {
        QFETCH(QString, name);
        QFETCH(int, flag);
        const bool known = flag != MapFlagCount;
        QCOMPARE(loadBuiltinMapNamed(name), known);
        QCOMPARE(builtinMapNames().contains(name, Qt::CaseInsensitive), known);
        if (known)
            QCOMPARE(int(selectedMap()), flag);
    }

    void worldHasItsFixedFacts()
    {
        buildWorldMap();
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
        QCOMPARE(continentName[1], QStringLiteral("North America").leftJustified(20));
    }

    // The computer players' World rules count on these territories touching these continents.
    void worldLinksTheComputerPlayersUse_data()
    {
        QTest::addColumn<int>("territory");
        QTest::addColumn<int>("continent");
        const int links[][2] = {{38, 6}, {39, 5}, {1, 5}, {36, 1}, {10, 1}, {9, 2}, {14, 2}, {20, 1}, {3, 4}};
        for (const auto &link : links)
            QTest::addRow("%d next to continent %d", link[0], link[1]) << link[0] << link[1];
    }

    void worldLinksTheComputerPlayersUse()
    {
        QFETCH(int, territory);
        QFETCH(int, continent);
        buildWorldMap();
        QVERIFY(continentOfTerritory(territory) != continent);
        bool touches = false;
        for (int u : listedNeighbours(territory))
            touches |= continentOfTerritory(u) == continent;
        QVERIFY(touches);
    }

    void parametersComeBeforeTheMap()
    {
        selectMap(MapWorld);
        setBuiltinMapParameters();
        QCOMPARE(territoryCount, 42);
        QCOMPARE(continentCount, 6);
        QCOMPARE(territoryNeighbours[1][1], 0);
    }

    // World II is the map text WorldII with the program's own panel, names and routes.
    void worldIIIsItsMapText()
    {
        mapFileLines.clear();
        mapTextWorldII();
        MapTables text;
        QCOMPARE(parseMapText(mapFileLines, text, false), int(MapFileOk));
        buildWorldIIMap();
        QCOMPARE(territoryCount, text.territoryCount);
        QCOMPARE(continentCount, 8);
        for (int t = 1; t <= territoryCount; ++t) {
            QCOMPARE(territoryPos[t].x, text.territoryPos[t].x);
            QCOMPARE(territoryNeighbours[t], text.territoryNeighbours[t]);
            QCOMPARE(territoryCode[t], QStringLiteral("xxx"));
        }
        QCOMPARE(continentName[3], QStringLiteral("Southern Africa").leftJustified(20));
        QCOMPARE(continentName[8], QStringLiteral("Australasia").leftJustified(20));
    }
};

TARVAN_TEST_MAIN(TestBuiltinMaps)
#include "test_builtinmaps.moc"
