// World II, Europe, North America, China, Japan and Australia: the maps offered at set-up
// besides World and Swamp. Their sizes fit what the rest of the game counts on (saved-game
// recognition, network limits, stronghold and ten-player games) and their data is sound.

#include "TestSupport.h"

#include "ai/SelfPlay.h"
#include "maps/MapTexts.h"
#include "rules/GameStart.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/GameState.h"
#include "state/MapFile.h"
#include "state/MapPicture.h"

#include <QRect>
#include <QSet>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

struct OfferedMap {
    const char *name;
    MapFlag flag;
    void (*build)();
    int fewestTerritories;
    int mostTerritories;
    int fewestContinents; // the stronghold games of the rank ladder need one per player
};

const OfferedMap kMaps[] = {
    {"World II", MapWorldII, buildWorldIIMap, 57, 62, 1},
    {"Europe", MapEurope, buildEuropeMap, 2, 41, 1},
    {"North America", MapNorthAmerica, buildNorthAmericaMap, 56, 56, 8},
    {"China", MapChina, buildChinaMap, 43, 50, 7},
    {"Japan", MapJapan, buildJapanMap, 51, 51, 7},
    {"Australia", MapAustralia, buildAustraliaMap, 52, 55, 7},
};

const OfferedMap &mapFor(int flag)
{
    for (const OfferedMap &m : kMaps)
        if (m.flag == flag)
            return m;
    return kMaps[0];
}

void addMapRows()
{
    QTest::addColumn<int>("flag");
    for (const OfferedMap &m : kMaps)
        QTest::newRow(m.name) << int(m.flag);
}

// A saved game under a plain name finds its map by the highest of these territories that has
// an owner; none of them means Europe.
MapFlag recogniseSavedMap()
{
    static const struct {
        int territory;
        MapFlag flag;
    } tests[] = {{200, MapSwampII},     {110, MapWorms},       {106, MapSwamp},   {85, MapRealWorld},
                 {82, MapGreatBritain}, {63, MapScandinavia},  {57, MapWorldII},  {56, MapNorthAmerica},
                 {52, MapAustralia},    {51, MapJapan},        {43, MapChina},    {42, MapWorld}};
    for (const auto &test : tests)
        if (territoryState[test.territory].owner > 0)
            return test.flag;
    return MapEurope;
}

void dealAmong(int players)
{
    playerCount = players;
    humanPlayerCount = 1;
    dealTerritories();
}

QString pairText(int a, int b)
{
    return QStringLiteral("%1 - %2").arg(a).arg(b);
}

} // namespace

class TestBuiltinMapsOffered : public QObject {
    Q_OBJECT

private slots:
    void init() { resetAllGameState(13); }

    void sizesFitTheirRanges_data() { addMapRows(); }

    void sizesFitTheirRanges()
    {
        QFETCH(int, flag);
        const OfferedMap &m = mapFor(flag);
        m.build();
        QVERIFY2(territoryCount >= m.fewestTerritories && territoryCount <= m.mostTerritories,
                 qPrintable(QStringLiteral("%1 territories").arg(territoryCount)));
        QVERIFY2(continentCount >= m.fewestContinents,
                 qPrintable(QStringLiteral("%1 continents").arg(continentCount)));
        QCOMPARE(reinforcementDivisor, 3);
        QVERIFY(routeCount >= 10 && routeCount <= 25);
        QVERIFY(maxContinentSize <= kMaxContinentMembers);
    }

    // The builder and the flag's loader build the same map, whatever was built before.
    void builderMatchesTheFlag_data() { addMapRows(); }

    void builderMatchesTheFlag()
    {
        QFETCH(int, flag);
        mapFor(flag).build();
        const MapTables built = mapTables;
        const int routes = routeCount;
        buildWorldMap();
        selectMap(static_cast<MapFlag>(flag));
        loadSelectedBuiltinMap();
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
    void adjacencyIsMutual_data() { addMapRows(); }

    void adjacencyIsMutual()
    {
        QFETCH(int, flag);
        mapFor(flag).build();
        for (int t = 1; t <= territoryCount; ++t) {
            QSet<int> seen;
            for (int i = 1; i <= kMaxNeighbours && territoryNeighbours[t][i]; ++i) {
                const int u = territoryNeighbours[t][i];
                QVERIFY2(u >= 1 && u <= territoryCount && u != t, qPrintable(pairText(t, u)));
                QVERIFY2(!seen.contains(u), qPrintable(pairText(t, u) + QStringLiteral(" twice")));
                seen.insert(u);
                QVERIFY2(isNeighbour(u, t), qPrintable(pairText(t, u) + QStringLiteral(" one way")));
            }
            QVERIFY2(!seen.isEmpty(), qPrintable(QString::number(t)));
        }
    }

    // A game dealt on the map and saved under a plain name loads on the same map, also when a
    // larger map was played before it.
    void savedGameFindsItsMap_data()
    {
        QTest::addColumn<int>("flag");
        QTest::addColumn<int>("before");
        for (const OfferedMap &m : kMaps) {
            QTest::newRow(m.name) << int(m.flag) << int(MapWorld);
            QTest::newRow(qPrintable(QStringLiteral("%1 after Worms").arg(m.name))) << int(m.flag) << int(MapWorms);
            QTest::newRow(qPrintable(QStringLiteral("%1 after World II").arg(m.name))) << int(m.flag) << int(MapWorldII);
        }
    }

    void savedGameFindsItsMap()
    {
        QFETCH(int, flag);
        QFETCH(int, before);
        selectMap(static_cast<MapFlag>(before));
        loadSelectedBuiltinMap();
        dealAmong(10);
        selectMap(static_cast<MapFlag>(flag));
        loadSelectedBuiltinMap();
        dealAmong(10);
        for (int t = 1; t <= territoryCount; ++t)
            QVERIFY(territoryState[t].owner >= 1 && territoryState[t].owner <= 10);
        QCOMPARE(int(recogniseSavedMap()), flag);
    }

    // The eight maps a host can offer stay within what a map file may bring to a network game.
    void networkMapsStayWithinLimits_data()
    {
        QTest::addColumn<int>("flag");
        const struct {
            const char *name;
            MapFlag flag;
        } offered[] = {{"World", MapWorld}, {"Europe", MapEurope},   {"North America", MapNorthAmerica},
                       {"China", MapChina}, {"Japan", MapJapan},     {"World II", MapWorldII},
                       {"Swamp", MapSwamp}, {"Australia", MapAustralia}};
        for (const auto &o : offered)
            QTest::newRow(o.name) << int(o.flag);
    }

    void networkMapsStayWithinLimits()
    {
        QFETCH(int, flag);
        const BuiltinMap *map = builtinMapFor(static_cast<MapFlag>(flag));
        QVERIFY(map);
        gameMode = ModeHost;
        QCOMPARE(buildBuiltinMap(*map), int(MapFileOk));
        QVERIFY(territoryCount <= kNetworkMaxTerritories);
        QVERIFY(continentCount <= kNetworkMaxContinents);
        gameMode = ModeClient;
        QCOMPARE(buildBuiltinMap(*map), int(MapFileOk));
    }

    // The high-score game plays every offered map with ten players: each gets a fair share of
    // the territories and armies to place.
    void tenPlayersGetAFairShare_data() { addMapRows(); }

    void tenPlayersGetAFairShare()
    {
        QFETCH(int, flag);
        mapFor(flag).build();
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
        QTest::addColumn<int>("flag");
        // A whole game takes long under the sanitizers: there the smallest map only.
        for (const OfferedMap &m : kMaps)
            if (!kSanitized || m.flag == MapEurope)
                QTest::newRow(m.name) << int(m.flag);
    }

    void tenComputerPlayersFinishAGame()
    {
        QFETCH(int, flag);
        SelfPlayOptions game;
        game.seed = 21;
        game.players = 10;
        game.attackRule = 'j';
        const auto load = [flag] {
            selectMap(static_cast<MapFlag>(flag));
            return buildBuiltinMap(*builtinMapFor(static_cast<MapFlag>(flag))) == MapFileOk;
        };
        QVERIFY(startSelfPlayGame(game, load));
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

    // What the picture, the player panel and the continent dialog show: labels spread over the
    // picture and clear of the panel, codes of their own, names without underscores.
    void labelsCodesAndNames_data() { addMapRows(); }

    void labelsCodesAndNames()
    {
        QFETCH(int, flag);
        selectMap(static_cast<MapFlag>(flag));
        loadSelectedBuiltinMap();
        setBuiltinContinentNames();
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
            QVERIFY2(picture.adjusted(20, 20, -20, -20).contains(label), qPrintable(QString::number(t)));
            QVERIFY2(!panel.adjusted(-12, -12, 12, 12).contains(label), qPrintable(QString::number(t)));
            for (int u = 1; u < t; ++u) {
                const int dx = territoryPos[t].x - territoryPos[u].x;
                const int dy = territoryPos[t].y - territoryPos[u].y;
                QVERIFY2(dx * dx + dy * dy >= 25 * 25, qPrintable(pairText(t, u)));
            }
        }
        for (int c = 1; c <= continentCount; ++c) {
            const QString name = continentName[c];
            QCOMPARE(name.size(), 20);
            QVERIFY2(!name.trimmed().isEmpty() && !name.contains(QLatin1Char('_')), qPrintable(name));
            QVERIFY(continentTable[c].bonus >= 1 && continentTable[c].bonus <= 10);
        }
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

TARVAN_TEST_MAIN(TestBuiltinMapsOffered)
#include "test_builtinmaps_offered.moc"
