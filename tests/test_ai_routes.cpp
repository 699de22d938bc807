// Routes: the search for a chain of attacks and the route table it learns into, the rating of
// a held continent's borders, and the walks along known routes.

#include "TestSupport.h"
#include "test_ai_support.h"

#include "ai/AiState.h"
#include "ai/AttackPlanning.h"
#include "ai/ChainSearch.h"
#include "ai/Evaluation.h"
#include "ai/RouteIndex.h"
#include "ai/RoutePaths.h"
#include "ai/RoutePlanning.h"
#include "ai/SelfPlay.h"
#include "ai/Toolkit.h"
#include "state/BuiltinMaps.h"

using namespace aitest;

namespace {

// Player 2 attacks from territory 1 toward territory 5. The short ways lead through its own
// territory 2 or the strong territory 4; the long way goes 6, 7, 8; territory 9 hangs off 8.
//   1-2-3-5, 1-4-5, 1-6-7-8-5, 8-9
bool loadDetourMap()
{
    if (!loadMap({{2, {1, 2, 3, 4}}, {2, {5, 6, 7, 8, 9}}},
                 symmetric(9, {{1, 2}, {2, 3}, {3, 5}, {1, 4}, {4, 5}, {1, 6}, {6, 7}, {7, 8}, {8, 5}, {8, 9}})))
        return false;
    setPosition({{2, 20}, {2, 1}, {1, 1}, {1, 25}, {1, 3}, {1, 2}, {1, 2}, {1, 2}, {1, 1}});
    currentPlayer = 2;
    return true;
}

// The territories of a chain's slots 1..length, up to the first empty one.
template <typename Stops>
QVector<int> chainIn(const Stops &stops, int length)
{
    QVector<int> chain;
    for (int i = 1; i <= length && stops[i] != 0; ++i)
        chain << stops[i];
    return chain;
}

QVector<int> rowOf(int row)
{
    return chainIn(routeCandidates[row], kCandidateLength);
}

// A chain the searching player could really fight along.
void verifyChain(const QVector<int> &chain, int from, int to)
{
    QVERIFY(chain.size() >= 2);
    QCOMPARE(chain.first(), from);
    QCOMPARE(chain.last(), to);
    for (int i = 1; i < chain.size(); ++i) {
        QVERIFY(canAttack(chain[i - 1], chain[i]));
        QVERIFY(territoryState[chain[i]].owner != currentPlayer);
        QVERIFY(territoryState[chain[i]].armies < territoryState[from].armies);
    }
}

// Player 1 holds continent 1 = {1, 2, 3}; player 2 holds continent 2 = {4, 5, 6}.
// Links 1-2, 2-3, 3-4, 4-6, 5-6, and 5 reaches 1 (both ways unless `oneSided`).
bool loadBorderMap(bool oneSided)
{
    Adjacency lists = symmetric(6, {{1, 2}, {2, 3}, {3, 4}, {4, 6}, {5, 6}});
    lists[5].push_back(1);
    if (!oneSided)
        lists[1].push_back(5);
    if (!loadMap({{3, {1, 2, 3}}, {2, {4, 5, 6}}}, lists))
        return false;
    playerCount = 2;
    currentPlayer = 1;
    return true;
}

QVector<QPair<int, int>> candidates()
{
    QVector<QPair<int, int>> list;
    for (int i = 1; i <= reinforceCandidateCount; ++i)
        list << qMakePair(int(reinforceCandidates[i].id), int(reinforceCandidates[i].value));
    return list;
}

// Every territory with `degree` neighbours picked at random; all of them player 2's with one
// army, save a strong start for player 1.
void loadDenseMap(int territories, int degree)
{
    Adjacency lists(territories + 1);
    for (int t = 1; t <= territories; ++t) {
        while (static_cast<int>(lists[t].size()) < degree) {
            const int n = 1 + randomSource().below(territories);
            if (n != t && std::find(lists[t].begin(), lists[t].end(), n) == lists[t].end())
                lists[t].push_back(n);
        }
    }
    QVERIFY(loadMap(blocks(territories, kMaxContinentMembers), lists));
    for (int t = 1; t <= territories; ++t)
        put(t, 2, 1 + randomSource().below(3));
    recountAllPlayers();
}

// The index kept between searches says the same as one built afresh from the route table.
void verifyKeptIndex(const QString &where)
{
    RouteIndex fresh;
    fresh.build();
    const RouteIndex &kept = currentRouteIndex();
    for (int t = 0; t <= kMaxTerritories; ++t) {
        const std::vector<RouteStop> &a = kept.stopsOf(t), &b = fresh.stopsOf(t);
        bool same = a.size() == b.size();
        for (std::size_t i = 0; same && i < a.size(); ++i)
            same = a[i].route == b[i].route && a[i].first == b[i].first && a[i].last == b[i].last;
        if (!same)
            QFAIL(qPrintable(QStringLiteral("%1: territory %2 stands on %3 routes in the kept index, on %4 in a fresh one")
                                 .arg(where).arg(t).arg(a.size()).arg(b.size())));
    }
}

} // namespace

class TestAiRoutes : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        resetAllGameState(5);
        playerCount = 2;
        aiPlayersLeft = 2;
        scripted = ScriptedInteraction();
        setInteraction(&scripted);
    }
    void cleanup() { setInteraction(nullptr); }

    void searchFindsAChainWhereArmiesArrive_data()
    {
        QTest::addColumn<QVector<int>>("known"); // a route learned before; empty for none
        QTest::addColumn<int>("to");
        QTest::addColumn<bool>("shortOnly");
        QTest::addColumn<int>("armies"); // on territory 1
        QTest::addColumn<QVector<int>>("chain"); // empty: no chain
        QTest::addColumn<int>("score");
        QTest::addColumn<int>("routes"); // learned routes afterwards
        const QVector<int> longWay{1, 6, 7, 8, 5};
        QTest::newRow("around own and strong territories") << QVector<int>{} << 5 << false << 20 << longWay
                                                           << 20 - 9 - 4 << 1;
        QTest::newRow("five territories are still short") << QVector<int>{} << 5 << true << 20 << longWay
                                                           << 20 - 9 - 4 << 1;
        // The only way to 3 is 1-6-7-8-5-3: six territories.
        QTest::newRow("a short search stops at five territories")
            << QVector<int>{} << 3 << true << 20 << QVector<int>{} << 0 << 0;
        QTest::newRow("six territories for the long search")
            << QVector<int>{} << 3 << false << 20 << QVector<int>{1, 6, 7, 8, 5, 3} << 20 - 10 - 5 << 1;
        // 10 - (2 + 2 + 2 + 3) - 4 = -3
        QTest::newRow("nothing arrives, no chain") << QVector<int>{} << 5 << false << 10 << QVector<int>{} << 0 << 0;
        QTest::newRow("a known chain is read backwards")
            << QVector<int>{9, 5, 8, 7, 6, 1} << 8 << false << 20 << QVector<int>{1, 6, 7, 8} << 20 - 6 - 3 << 1;
        QTest::newRow("a known chain through own land is refused")
            << QVector<int>{1, 2, 3, 5} << 5 << false << 20 << longWay << 20 - 9 - 4 << 2;
        QTest::newRow("two territories are no chain worth keeping") << QVector<int>{} << 6 << false << 20
                                                                    << QVector<int>{1, 6} << 20 - 2 - 1 << 0;
        QTest::newRow("a known chain found again is not learned again") << longWay << 5 << false << 20 << longWay
                                                                        << 20 - 9 - 4 << 1;
        QTest::newRow("a stretch of a known chain serves as it is")
            << longWay << 7 << false << 20 << QVector<int>{1, 6, 7} << 20 - 4 - 2 << 1;
    }
    void searchFindsAChainWhereArmiesArrive()
    {
        QFETCH(QVector<int>, known);
        QFETCH(int, to);
        QFETCH(bool, shortOnly);
        QFETCH(int, armies);
        QFETCH(QVector<int>, chain);
        QVERIFY(loadDetourMap());
        if (!known.isEmpty())
            addRoute(known);
        shortRouteOnly = shortOnly;
        put(1, 2, armies);
        int row = -1, score = -1;
        findRoutes(1, to, 3, row, score);
        QTEST(score, "score");
        QTEST(routeCount, "routes");
        if (chain.isEmpty()) {
            QCOMPARE(row, 0);
            return;
        }
        QVERIFY(row > 0);
        QCOMPARE(rowOf(row), chain);
        verifyChain(chain, 1, to);
        // A chain learned by this search is the one it found.
        if (routeCount > (known.isEmpty() ? 0 : 1))
            QCOMPARE(chainIn(routeTable[routeCount].t, kRouteLength), chain);
    }

    // A saved game may hold up to 2*10^9 armies on a territory: a search sums and bounds them
    // without overflowing, along known chains and through the neighbour graph.
    void searchSumsHugeArmies_data()
    {
        QTest::addColumn<bool>("known");
        QTest::newRow("through the neighbour graph") << false;
        QTest::newRow("along a known chain") << true;
    }

    void searchSumsHugeArmies()
    {
        QFETCH(bool, known);
        QVERIFY(loadDetourMap());
        // Each huge stack with a player of its own, so that no player's total passes 2^31.
        const int huge = 1500000000;
        playerCount = kMaxPlayers;
        setPosition({{2, 2000000000}, {2, 1}, {1, huge}, {3, huge}, {4, huge}, {5, huge}, {6, huge}, {7, huge},
                     {8, huge}});
        if (known)
            addRoute({1, 6, 7, 8, 5});
        int row = 0, score = 0;
        findRoutes(1, 5, 3, row, score);
        QCOMPARE(row, 0); // every chain costs more than the start has
        setPosition({{2, 2000000000}, {2, 1}, {1, 1}, {3, 1999999999}, {1, 1}, {1, 3}, {1, 3}, {1, 3}, {1, 1}});
        findRoutes(1, 5, 3, row, score);
        QCOMPARE(score, 2000000000 - (3 + 3 + 3 + 1) - 4); // along 6, 7, 8 to 5
    }

    // A chain learned by one search is a known stretch for the next search between the same
    // territories, even though that pair was searched before it was learned.
    void aLearnedChainServesTheNextSearch()
    {
        QVERIFY(loadDetourMap());
        int row = 0, score = 0;
        findRoutes(1, 5, 3, row, score);
        QCOMPARE(routeCount, 1);
        QVERIFY(lastRouteSearchSteps() > 0);
        const QVector<int> learned = rowOf(row);
        findRoutes(1, 5, 3, row, score);
        QCOMPARE(lastRouteSearchSteps(), 0); // no depth-first search
        QCOMPARE(rowOf(row), learned);
        QCOMPARE(score, 20 - 9 - 4);
        QCOMPARE(routeCount, 1);
    }

    void denseMapSearchEndsWithinItsBound_data()
    {
        QTest::addColumn<int>("territories");
        QTest::addColumn<int>("startArmies");
        QTest::newRow("40 territories, 11 neighbours each") << 40 << 60;
        QTest::newRow("200 territories, 11 neighbours each") << 200 << 200;
    }
    void denseMapSearchEndsWithinItsBound()
    {
        QFETCH(int, territories);
        QFETCH(int, startArmies);
        loadDenseMap(territories, 11);
        currentPlayer = 1;
        put(1, 1, startArmies);
        recountAllPlayers();
        for (int to = 2; to <= territories; to += territories / 10) {
            int row = 0, score = 0;
            findRoutes(1, to, 3, row, score);
            QVERIFY(lastRouteSearchSteps() <= kRouteSearchStepLimit);
            QVERIFY(routeCandidateCount <= kMaxCandidateRows);
            QVERIFY(row > 0);
            verifyChain(rowOf(row), 1, to);
        }
        QVERIFY(routeCount <= routeLimits[3]);
        QVERIFY(scripted.messages.isEmpty());
    }

    void denseMapPlanningEnds()
    {
        loadDenseMap(200, 11);
        // Player 1 holds the first continent with weak borders; player 2 is strong.
        for (int t = 1; t <= 20; ++t)
            put(t, 1, 2);
        for (int t = 21; t <= 200; ++t)
            put(t, 2, 30 + randomSource().below(40));
        recountAllPlayers();
        currentPlayer = 1;
        planRoute(2);
        QVERIFY(reinforceCandidateCount > 0);
        for (int i = 1; i <= reinforceCandidateCount; ++i) {
            QVERIFY(isBorderOf(reinforceCandidates[i].id, 1));
            if (i > 1)
                QVERIFY(reinforceCandidates[i - 1].value <= reinforceCandidates[i].value);
        }
        QVERIFY(routeCount <= routeLimits[3]);
        QVERIFY(scripted.messages.isEmpty());
    }

    void bordersRatedMostEndangeredFirst_data()
    {
        QTest::addColumn<int>("difficulty");
        QTest::addColumn<bool>("oneSided");
        QTest::addColumn<int>("attackerArmies");
        QTest::addColumn<QVector<QPair<int, int>>>("expected");
        // Border 1 (5 armies) faces 5; border 3 (15 armies) faces 4.
        // Threats: 5 -> 1 brings 30 - 5 - 1 = 24; 5 -> 1 -> 2 -> 3 brings 30 - 21 - 3 = 6.
        QTest::newRow("threatened borders, worst first")
            << 1 << false << 30 << QVector<QPair<int, int>>{{1, 5 - 20 - 24}, {3, 15 - 20 - 6}};
        QTest::newRow("on Easy only weak borders, rated -1") << 0 << false << 30 << QVector<QPair<int, int>>{{1, -1}};
        QTest::newRow("no attacker: the shortfall alone")
            << 1 << false << 2 << QVector<QPair<int, int>>{{1, 5 - 20}, {3, 15 - 20}};
        // Territory 5 reaches 1 but 1 does not see it: no enemy around 1, so with two players
        // left its need is 12 and it is listed with its shortfall only.
        QTest::newRow("a border that sees no enemy is listed by its shortfall")
            << 1 << true << 30 << QVector<QPair<int, int>>{{3, 15 - 20 - 6}, {1, 5 - 12}};
    }
    void bordersRatedMostEndangeredFirst()
    {
        QFETCH(int, difficulty);
        QFETCH(bool, oneSided);
        QFETCH(int, attackerArmies);
        QVERIFY(loadBorderMap(oneSided));
        ::difficulty = difficulty;
        setPosition({{1, 5}, {1, 1}, {1, 15}, {2, 2}, {2, attackerArmies}, {2, 1}});
        planRoute(1);
        QTEST(candidates(), "expected");
        QCOMPARE(currentPlayer, 1);
    }

    void threatSearchesLearnTheAttackersChains()
    {
        QVERIFY(loadBorderMap(false));
        setPosition({{1, 5}, {1, 1}, {1, 15}, {2, 2}, {2, 30}, {2, 1}});
        planRoute(2);
        QCOMPARE(routeCount, 1);
        QCOMPARE(chainIn(routeTable[1].t, kRouteLength), (QVector<int>{5, 1, 2, 3}));
    }

    void noHeldContinentNoCandidates()
    {
        QVERIFY(loadBorderMap(false));
        setPosition({{1, 5}, {1, 1}, {2, 15}, {2, 2}, {2, 30}, {2, 1}});
        reinforceCandidates[1] = {3, 7};
        reinforceCandidateCount = 1;
        planRoute(2);
        QCOMPARE(reinforceCandidateCount, 0);
        QCOMPARE(reinforceCandidates[1].id, 0);
    }

    void everyBorderOfManyContinentsIsRated()
    {
        QVERIFY(loadWideMap());
        for (int t = 1; t <= 200; ++t)
            put(t, t <= 180 ? 1 : 2, 1);
        recountAllPlayers();
        currentPlayer = 1;
        planRoute(2);
        QCOMPARE(reinforceCandidateCount, 180);
        for (int i = 1; i <= 180; ++i) {
            QCOMPARE(reinforceCandidates[i].id, i);
            QCOMPARE(reinforceCandidates[i].value, 1 - 20);
        }
        QCOMPARE(reinforceCandidates[181].id, 0);
    }

    void routeStepTowardTheNearestEnemy_data()
    {
        QTest::addColumn<QVector<QVector<int>>>("routes");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("step");
        // Player 2 owns 1 and 2 on the detour map; everything else is player 1's.
        QTest::newRow("forward along a route") << QVector<QVector<int>>{{1, 2, 3, 5}} << 1 << 2;
        QTest::newRow("backward along a route") << QVector<QVector<int>>{{5, 3, 2}} << 2 << 3;
        QTest::newRow("the nearest goal over all routes")
            << QVector<QVector<int>>{{1, 2, 3, 5}, {6, 1}} << 1 << 6;
        QTest::newRow("the first of equally near goals") << QVector<QVector<int>>{{6, 1}, {1, 4}} << 1 << 6;
        QTest::newRow("on no route") << QVector<QVector<int>>{{5, 3}} << 1 << 0;
        QTest::newRow("no enemy on the route") << QVector<QVector<int>>{{1, 2}} << 1 << 0;
    }
    void routeStepTowardTheNearestEnemy()
    {
        QFETCH(QVector<QVector<int>>, routes);
        QFETCH(int, from);
        QVERIFY(loadDetourMap());
        for (const QVector<int> &chain : routes)
            addRoute(chain);
        QTEST(findInTable16(from), "step");
    }

    void finishingAContinent_data()
    {
        QTest::addColumn<int>("excluded");
        QTest::addColumn<int>("ownArmies");
        QTest::addColumn<QVector<int>>("plan"); // route, own, target, surplus
        QTest::newRow("the last border territory") << 0 << 40 << QVector<int>{1, 1, 2, 40 - 25 - 1};
        QTest::newRow("not enough armies") << 0 << 26 << QVector<int>{0, 0, 0, 0};
        QTest::newRow("an excluded continent is left alone") << 1 << 40 << QVector<int>{0, 0, 0, 0};
    }
    void finishingAContinent()
    {
        QFETCH(int, excluded);
        QFETCH(int, ownArmies);
        QVERIFY(loadDetourMap());
        excludedContinent = excluded;
        // Player 2 holds continent 1 but for its border territory 4 (25 armies).
        put(2, 2, ownArmies);
        put(3, 2, 1);
        recountAllPlayers();
        addRoute({2, 4, 5});
        aiRankContinents();
        routePlanMode = 8;
        aiPlanContinentRoute();
        const QVector<int> plan{continentRoutePlan.route, continentRoutePlan.ownPos, continentRoutePlan.targetPos,
                                continentRoutePlan.surplus};
        QTEST(plan, "plan");
        QCOMPARE(bestRoutePlan != 0, plan[0] != 0);
    }

    void segmentsAndPlansTowardAContinent_data()
    {
        QTest::addColumn<QVector<int>>("route");
        QTest::addColumn<int>("ownArmies");
        QTest::addColumn<QVector<QVector<int>>>("segments"); // route, target, own
        QTest::addColumn<QVector<int>>("bestPlan");           // own, target, surplus; empty none
        // Continent 2 = {5, 6, 7, 8, 9} has border territories 5 and 6 (detour map).
        QTest::newRow("one forward start")
            << QVector<int>{1, 6, 7} << 20 << QVector<QVector<int>>{{1, 2, 1}} << QVector<int>{1, 2, 20 - 2 - 1};
        QTest::newRow("surplus of exactly one is a plan")
            << QVector<int>{1, 6, 7} << 4 << QVector<QVector<int>>{{1, 2, 1}} << QVector<int>{1, 2, 1};
        QTest::newRow("one army short is none")
            << QVector<int>{1, 6, 7} << 3 << QVector<QVector<int>>{{1, 2, 1}} << QVector<int>{};
        QTest::newRow("starts on both sides")
            << QVector<int>{1, 6, 7, 8, 5, 3} << 20
            << QVector<QVector<int>>{{1, 5, 6}, {1, 5, 1}, {1, 2, 6}, {1, 2, 1}} << QVector<int>{1, 2, 20 - 2 - 1};
        QTest::newRow("a route without own land gives nothing")
            << QVector<int>{6, 7, 8} << 20 << QVector<QVector<int>>{} << QVector<int>{};
    }
    void segmentsAndPlansTowardAContinent()
    {
        QFETCH(QVector<int>, route);
        QFETCH(int, ownArmies);
        QFETCH(QVector<int>, bestPlan);
        QVERIFY(loadDetourMap());
        put(1, 2, ownArmies);
        put(3, 2, 4);
        recountAllPlayers();
        clearRoutes();
        addRoute(route);

        aiSelectTarget(2);
        QVector<QVector<int>> found;
        for (int i = 1; i <= routeSegmentCount; ++i)
            found << QVector<int>{routeSegments[i].route, routeSegments[i].targetPos, routeSegments[i].ownPos};
        QTEST(found, "segments");
        if (bestPlan.isEmpty()) {
            QCOMPARE(bestRoutePlan, 0);
            return;
        }
        QVERIFY(bestRoutePlan > 0);
        const RoutePlan &plan = routePlans[bestRoutePlan];
        QCOMPARE((QVector<int>{plan.ownPos, plan.targetPos, plan.surplus}), bestPlan);
    }

    void segmentsStopAtTheirLimit()
    {
        QVERIFY(loadDetourMap());
        clearRoutes();
        for (int r = 1; r <= kMaxRoutes; ++r) {
            routeTable[r].t[1] = 1;
            routeTable[r].t[2] = 6;
            routeTable[r].t[3] = 7;
        }
        routeCount = kMaxRoutes;
        aiSelectTarget(2);
        QCOMPARE(routeSegmentCount, kMaxRouteSegments);
        QCOMPARE(routePlanCount, kMaxRoutePlans);
        QCOMPARE(routeSegments[kMaxRouteSegments + 1].route, 0);
    }

    void strongholdWalkStopsAtTheFirstStronghold()
    {
        QVERIFY(loadDetourMap());
        addRoute({1, 6, 7, 8, 5});
        playerTable[1].stronghold() = 7;
        playerTable[3].stronghold() = 5; // a cheaper-looking goal beyond it is never reached
        aiSearchStrongholdRoutes();
        QCOMPARE(strongholdPath.route, 1);
        QCOMPARE(strongholdPath.ownPos, 1);
        QCOMPARE(strongholdPath.targetPos, 3);
        QCOMPARE(strongholdPath.surplus, (20 - 2) - (2 + 2 + 1) + 1);
    }

    void leaderWalkNeedsThreeTerritories_data()
    {
        QTest::addColumn<QVector<int>>("leaderTerritories");
        QTest::addColumn<int>("targetPos");
        // The route starts on player 1's territory 26 and runs 27, 31, 38, 39, 41.
        QTest::newRow("two of the leader's territories are not enough") << QVector<int>{27, 31} << 0;
        QTest::newRow("three are") << QVector<int>{27, 31, 38} << 4;
        QTest::newRow("the walk ends at an own territory") << QVector<int>{27, 38, 39} << 0;
    }
    void leaderWalkNeedsThreeTerritories()
    {
        QFETCH(QVector<int>, leaderTerritories);
        selectMap(MapWorld);
        loadSelectedBuiltinMap();
        clearRoutes();
        addRoute({26, 27, 31, 38, 39, 41});
        playerCount = 3;
        for (int t = 1; t <= territoryCount; ++t)
            put(t, 3, 1);
        put(26, 1, 12);
        for (int t = 1; t <= 25; ++t)
            put(t, 2, 3); // player 2 leads on territories, outside Asia and Australia
        for (int t : leaderTerritories)
            put(t, 2, 1);
        if (!leaderTerritories.contains(31))
            put(31, 1, 1);
        recountAllPlayers();
        currentPlayer = 1;
        computePlayerStrength(1);
        QCOMPARE(playerRanking[1].id, 2);
        aiSearchLeaderRoutes();
        const int targetPos = worldTargetPath.targetPos;
        QTEST(targetPos, "targetPos");
        if (targetPos != 0) {
            QCOMPARE(worldTargetPath.route, 1);
            QCOMPARE(worldTargetPath.ownPos, 1);
        }
    }

    // The border rating skips the depth-first search where its chain costs say no chain can
    // arrive with an army to spare; on one-way maps of every density, every search that does
    // find a chain must have been let through.
    void chainCostsSpareOnlyFruitlessSearches_data()
    {
        QTest::addColumn<int>("territories");
        QTest::addColumn<int>("degree");
        QTest::addColumn<int>("seed");
        QTest::newRow("30 territories, 2 links each") << 30 << 2 << 21;
        QTest::newRow("40 territories, 4 links each") << 40 << 4 << 22;
        QTest::newRow("60 territories, 3 links each") << 60 << 3 << 23;
    }

    void chainCostsSpareOnlyFruitlessSearches()
    {
        QFETCH(int, territories);
        QFETCH(int, degree);
        QFETCH(int, seed);
        randomSource().seed(static_cast<quint32>(seed));
        loadDenseMap(territories, degree);
        for (int t = 1; t <= territories; ++t)
            put(t, 1 + randomSource().below(4), 1 + randomSource().below(14));
        recountAllPlayers();
        currentPlayer = 1;
        shortRouteOnly = false;
        MapLookupScope lookups;
        ChainCosts costs;
        int found = 0, spared = 0;
        for (int from = 1; from <= territories; ++from) {
            if (!isOwnTerritory(from))
                continue;
            for (int to = 1; to <= territories; ++to) {
                if (isOwnTerritory(to) || armiesOf(to) >= armiesOf(from))
                    continue;
                routeCandidateCount = 0; // the work table a search starts from
                searchNeighbourGraph(from, to, nullptr);
                const bool chainFound = routeCandidateCount > 1;
                const bool letThrough = costs.mayArrive(from, to);
                if (chainFound && !letThrough)
                    QFAIL(qPrintable(QStringLiteral("a chain from %1 to %2 was spared").arg(from).arg(to)));
                found += chainFound;
                spared += !letThrough;
            }
        }
        QVERIFY(found > 0);
        QVERIFY(spared > 0);
    }

    // Games of computer players on one map, then on another: the searches learn routes turn
    // after turn, and the next game clears the table, changes the map and adds its own routes.
    void keptRouteIndexEqualsAFreshOne_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("World, then World again") << "World" << "World";
        QTest::newRow("SwampII, then France") << "SwampII" << "France.txt";
        QTest::newRow("France, then Europe") << "France.txt" << "Europe";
    }

    void keptRouteIndexEqualsAFreshOne()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        constexpr int kLearned = 40;
        int routesAtTheEnd = 0;
        for (const QString &map : {first, second}) {
            SelfPlayOptions options;
            options.seed = 7;
            options.players = 4;
            QVERIFY(startSelfPlayGame(options, [&map] { return loadShippedMapNamed(map); }));
            const int routesAtTheStart = routeCount;
            if (routesAtTheEnd > 0)
                QVERIFY(routesAtTheStart < routesAtTheEnd);
            verifyKeptIndex(map + QStringLiteral(" at the start"));
            for (int turn = 1; routeCount < routesAtTheStart + kLearned && !gameOver; ++turn) {
                playQueuedActionSteps();
                if (playQueuedMessageSteps() == 0)
                    break;
                verifyKeptIndex(QStringLiteral("%1 after turn %2").arg(map).arg(turn));
                if (QTest::currentTestFailed())
                    return;
            }
            routesAtTheEnd = routeCount;
            QVERIFY2(routesAtTheEnd >= routesAtTheStart + kLearned, "the game ended before the searches learned enough");
        }
    }

private:
    ScriptedInteraction scripted;
};

TARVAN_TEST_MAIN(TestAiRoutes)
#include "test_ai_routes.moc"
