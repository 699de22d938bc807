// Evaluation and attack planning: player strength and the main enemy, continent ranking,
// attack options, the plan scores, and a whole planning pass on the real maps.

#include "TestSupport.h"
#include "test_ai_support.h"

#include "ai/AiState.h"
#include "ai/AttackPlanning.h"
#include "ai/Evaluation.h"
#include "ai/PlanningPass.h"
#include "ai/Toolkit.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"

using namespace aitest;

namespace {

// Continent 1 = {1, 2, 3, 4}, continent 2 = {5..9}; 1 touches 2 and 3, both touch 4, then a
// chain 4-5-6-7-8-9. An optional territory 10 in no continent hangs off 9.
bool loadStarMap(bool withLoose = false)
{
    Adjacency lists = symmetric(withLoose ? 10 : 9, {{1, 2}, {1, 3}, {2, 4}, {3, 4}, {4, 5}, {5, 6}, {6, 7},
                                                     {7, 8}, {8, 9}});
    if (withLoose) {
        lists[9].push_back(10);
        lists[10].push_back(9);
    }
    return loadMap({{4, {1, 2, 3, 4}}, {3, {5, 6, 7, 8, 9}}}, lists);
}

int strengthOf(int p)
{
    for (int i = 1; i <= kMaxPlayers; ++i)
        if (playerStrength[i].id == p)
            return playerStrength[i].value;
    return INT_MIN;
}

// A built-in map dealt among the players from a shuffled order, so every player holds some of it.
void randomPosition(int map, int players, quint32 seed)
{
    selectMap(static_cast<MapFlag>(map));
    loadSelectedBuiltinMap();
    playerCount = players;
    randomSource().seed(seed);
    deal(players, [] { return 1 + randomSource().below(30); });
    // Whole continents for some players, so that borders, breaks and routes all have work.
    for (int c = 1; c <= continentCount && c <= players; c += 2)
        for (int t : membersOf(c))
            put(t, c, territoryState[t].armies + 5);
    recountAllPlayers();
    displayedTerritoryState = territoryState;
}

// Everything a planning pass decides, in one list.
QVector<int> planSnapshot()
{
    QVector<int> s;
    s << holdScore << takeScore << breakScore << routeScore << continentRouteScore << weakestOpponentScore
      << nearOpponentScore << mainEnemy << takeTargetContinent << routeTarget << takeCancelled << planCancelled
      << outIncomeFlag << reinforceCandidateCount << breakTargetCount;
    for (int k = 1; k <= kDefenceOptions; ++k)
        s << defenceScore[k] << defenceNeed[k] << defendTerritory[k];
    for (int i = 1; i <= reinforceCandidateCount; ++i)
        s << reinforceCandidates[i].id << reinforceCandidates[i].value;
    return s;
}

void verifyPlanTargets()
{
    const int me = currentPlayer;
    for (int i = 1; i <= reinforceCandidateCount; ++i) {
        QVERIFY(isValidTerritory(reinforceCandidates[i].id));
        QCOMPARE(ownerOf(reinforceCandidates[i].id), me);
    }
    for (int i = 1; i <= breakTargetCount; ++i) {
        QVERIFY(isValidTerritory(breakTargets[i].id));
        QVERIFY(ownerOf(breakTargets[i].id) != me);
    }
    for (int i = 1; i <= kMaxAttackOptions && aiAttackOptions[i].from != 0; ++i) {
        QCOMPARE(ownerOf(aiAttackOptions[i].from), me);
        QVERIFY(canAttack(aiAttackOptions[i].from, aiAttackOptions[i].target));
    }
    for (int k = 1; k <= kDefenceOptions; ++k)
        if (defenceScore[k] > 0)
            QVERIFY(isValidTerritory(defendTerritory[k]));
    if (routeScore > 0) {
        QVERIFY(isValidTerritory(routeTarget));
        QVERIFY(ownerOf(routeTarget) != me);
    }
    if (breakScore > 0)
        QVERIFY(isValidTerritory(breakTargets[1].id));
    if (holdScore > 0)
        QVERIFY(isValidTerritory(reinforceCandidates[1].id));
    QVERIFY(bestRoutePlan >= 0 && bestRoutePlan <= routePlanCount);
}

} // namespace

class TestAiPlanning : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        resetAllGameState(3);
        playerCount = 2;
        currentPlayer = aiPlayer = 1;
    }

    void strengthOfAStack_data()
    {
        QTest::addColumn<Cells>("territories"); // 1, 2, 3
        QTest::addColumn<int>("strength");
        // Two players on nine territories: every holder of fewer than 12 territories gets
        // (3 - 9 / 2 / 3) x 10 = 20 on top of his armies.
        QTest::newRow("a stack out of reach counts half")
            << Cells{{1, 30}, {1, 1}, {1, 1}} << 15 + 2 + 20;
        QTest::newRow("a stack facing one big enemy counts at least 20")
            << Cells{{1, 30}, {1, 1}, {2, 25}} << 20 + 1 + 20;
        QTest::newRow("a stack facing a smaller single enemy counts whole")
            << Cells{{1, 30}, {1, 1}, {2, 20}} << 30 + 1 + 20;
        QTest::newRow("a stack facing two enemies counts whole")
            << Cells{{1, 30}, {2, 5}, {2, 25}} << 30 + 20;
        QTest::newRow("24 armies count whole") << Cells{{1, 24}, {1, 1}, {1, 1}} << 24 + 2 + 20;
    }
    void strengthOfAStack()
    {
        QFETCH(Cells, territories);
        QVERIFY(loadStarMap());
        for (int t = 4; t <= 9; ++t)
            put(t, 2, 1);
        setPosition(territories);
        computePlayerStrength(0);
        QTEST(strengthOf(1), "strength");
        QCOMPARE(playerTable[1].totalArmies(), armiesOfPlayer(1));
    }

    void mainEnemy_data()
    {
        QTest::addColumn<int>("armiesOfPlayer2");
        QTest::addColumn<bool>("neutral");
        QTest::addColumn<bool>("avenger");
        QTest::addColumn<int>("enemy");
        QTest::newRow("even players: none") << 1 << false << false << 0;
        QTest::newRow("one player stronger than the other two together") << 30 << false << false << 2;
        QTest::newRow("with the neutral army it is always player 1") << 30 << true << false << 1;
        QTest::newRow("an Avenger's target") << 1 << false << true << 3;
    }
    void mainEnemy()
    {
        QFETCH(int, armiesOfPlayer2);
        QFETCH(bool, neutral);
        QFETCH(bool, avenger);
        QVERIFY(loadStarMap());
        playerCount = 3;
        neutralArmyActive = neutral;
        if (avenger) {
            personality[1] = 3;
            avengeTarget[1] = 3;
            avengerActive = 1;
        }
        setPosition({{1, 1}, {1, 1}, {1, 1}, {2, armiesOfPlayer2}, {2, armiesOfPlayer2}, {2, armiesOfPlayer2},
                     {3, 1}, {3, 1}, {3, 1}});
        computePlayerStrength(1);
        QTEST(::mainEnemy, "enemy");
    }

    void emptySlotsNeverOutrankAPlayer()
    {
        // 120 territories in a chain: with three players left, a player of two territories is
        // rated far below zero.
        QVERIFY(loadMap(blocks(120, 20), chain(120)));
        playerCount = 3;
        for (int t = 1; t <= 120; ++t)
            put(t, t == 60 || t == 61 ? 2 : t == 90 ? 3 : 1, 1);
        recountAllPlayers();
        computePlayerStrength(1);
        QVERIFY(strengthOf(2) < 0);
        QSet<int> ranked;
        for (int i = 1; i <= 3; ++i)
            ranked.insert(playerRanking[i].id);
        QCOMPARE(ranked, (QSet<int>{1, 2, 3}));
        QCOMPARE(playerRanking[1].id, 1);
    }

    void dominantPlayer_data()
    {
        QTest::addColumn<int>("playersLeft");
        QTest::addColumn<QVector<int>>("values");
        QTest::addColumn<int>("dominant");
        QTest::newRow("four left: half is dominant") << 4 << QVector<int>{50, 25, 25} << 1;
        QTest::newRow("four left: 40 per cent is not") << 4 << QVector<int>{40, 30, 30} << 0;
        QTest::newRow("five left: 40 per cent is") << 5 << QVector<int>{30, 40, 30} << 2;
        QTest::newRow("eight left: the highest number of two wins") << 8 << QVector<int>{35, 35, 30} << 2;
        QTest::newRow("nothing to share") << 4 << QVector<int>{10, -20, 5} << 0;
    }
    void dominantPlayer()
    {
        QFETCH(int, playersLeft);
        QFETCH(QVector<int>, values);
        aiPlayersLeft = playersLeft;
        std::array<qint32, kMaxPlayers + 1> armies{};
        for (int i = 0; i < values.size(); ++i)
            armies[i + 1] = values[i];
        QTEST(findDominantPlayer(armies), "dominant");
    }

    void strongholdContinentComesFirst_data()
    {
        QTest::addColumn<int>("stronghold");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::newRow("no stronghold: the best continent") << 0 << 1 << 2;
        QTest::newRow("the stronghold's continent first") << 7 << 2 << 2;
        QTest::newRow("a stronghold in no continent changes nothing") << 10 << 1 << 2;
    }
    void strongholdContinentComesFirst()
    {
        QFETCH(int, stronghold);
        QVERIFY(loadStarMap(true));
        strongholdsEnabled = 1;
        setPosition({{1, 9}, {1, 9}, {1, 9}, {2, 1}, {2, 5}, {2, 5}, {1, 1}, {2, 5}, {2, 5}, {1, 1}});
        playerTable[1].stronghold() = stronghold;
        aiRankContinents();
        QTEST(int(continentRanking[1].id), "first");
        QTEST(int(continentRanking[2].id), "second");
        const int target = continentRanking[1].id;
        for (int i = 1; aiTargetList[i] != 0; ++i) {
            QVERIFY(isContinentMember(aiTargetList[i], target));
            QVERIFY(!isOwnTerritory(aiTargetList[i]));
        }
        for (int i = 1; aiOwnMemberList[i] != 0; ++i)
            QVERIFY(isContinentMember(aiOwnMemberList[i], target));
    }

    void attackOptions_data()
    {
        QTest::addColumn<QVector<int>>("targets");
        QTest::addColumn<char>("rule");
        QTest::addColumn<int>("attackerArmies");
        QTest::addColumn<int>("pool");
        QTest::addColumn<bool>("keepAll");
        QTest::addColumn<QVector<int>>("fromTerritories");
        QTest::addColumn<int>("count");
        // Player 1 holds 1, 2 and 3; 2 and 3 border territory 4 (1 army); 5 and 6 have no
        // own neighbour.
        QTest::newRow("one of three targets in reach: no options at all")
            << QVector<int>{4, 5, 6} << 'n' << 10 << 0 << false << QVector<int>{2} << 0;
        QTest::newRow("the strongest neighbour attacks") << QVector<int>{4} << 'n' << 10 << 0 << false
                                                         << QVector<int>{2} << 1;
        QTest::newRow("1-for-1: two armies and no pool do not attack")
            << QVector<int>{4} << 'j' << 2 << 0 << true << QVector<int>{} << 0;
        QTest::newRow("dice: two armies do") << QVector<int>{4} << 'n' << 2 << 0 << true << QVector<int>{2} << 1;
        QTest::newRow("1-for-1: two armies and a pool do")
            << QVector<int>{4} << 'j' << 2 << 1 << true << QVector<int>{2} << 1;
        QTest::newRow("a target nobody can reach gives no option")
            << QVector<int>{6} << 'n' << 10 << 0 << true << QVector<int>{} << 0;
    }
    void attackOptions()
    {
        QFETCH(QVector<int>, targets);
        QFETCH(char, rule);
        QFETCH(int, attackerArmies);
        QFETCH(int, pool);
        QFETCH(bool, keepAll);
        QVERIFY(loadStarMap());
        attackRule = rule;
        aiArmiesToPlace = pool;
        aiScoringMode = keepAll ? 14 : 0;
        setPosition({{1, 10}, {1, attackerArmies}, {1, attackerArmies}, {2, 1}, {2, 1}, {2, 1}, {2, 1}, {2, 1},
                     {2, 1}});
        aiTargetList.fill(0);
        for (int i = 0; i < targets.size(); ++i)
            aiTargetList[i + 1] = targets[i];
        QTEST(aiScoreAttacks(), "count");
        QVector<int> from;
        for (int i = 1; i <= kMaxAttackOptions && aiAttackOptions[i].from != 0; ++i) {
            from << aiAttackOptions[i].from;
            QCOMPARE(int(aiAttackOptions[i].target), 4);
        }
        QTEST(from, "fromTerritories");
    }

    void chosenAttacks_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("armies");
        QTest::addColumn<bool>("fromStronghold");
        QTest::addColumn<int>("listed");
        QTest::newRow("big-stack mode ignores 54 armies") << 3 << 54 << false << 0;
        QTest::newRow("big-stack mode takes 55") << 3 << 55 << false << 2;
        QTest::newRow("a stronghold keeps a margin of 20") << 2 << 21 << true << 0;
        QTest::newRow("a stronghold may attack with a margin of 20") << 2 << 22 << true << 1;
    }
    void chosenAttacks()
    {
        QFETCH(int, mode);
        QFETCH(int, armies);
        QFETCH(bool, fromStronghold);
        QVERIFY(loadStarMap());
        // Player 2 leads with a big army far away; territory 2 is his weakest neighbour.
        setPosition({{1, armies}, {2, 2}, {2, 40}, {2, 1}, {2, 1}, {2, 1}, {2, 1}, {2, 1}, {2, 100}});
        playerTable[1].stronghold() = fromStronghold ? 1 : 0;
        computePlayerStrength(1);
        aiRankContinents();
        aiChooseAttack(mode);
        QTEST(int(aiListedOptionCount), "listed");
        if (aiListedOptionCount > 0) {
            QCOMPARE(aiChosenOption, 1);
            QCOMPARE(aiAttackOptions[1].from, 1);
            QCOMPARE(aiAttackOptions[1].target, 2);
            QCOMPARE(aiAttackRatio, (armies - 1) / 2.0);
        } else {
            QCOMPARE(aiChosenOption, 0);
        }
    }

    void breakTargetsOfManyContinents()
    {
        QVERIFY(loadWideMap());
        for (int t = 1; t <= 200; ++t)
            put(t, t <= 180 ? 2 : 1, t <= 180 ? 1 + t % 3 : 5);
        recountAllPlayers();
        aiFindTargetContinents();
        QCOMPARE(breakTargetCount, 180);
        for (int i = 1; i <= 180; ++i) {
            QCOMPARE(ownerOf(breakTargets[i].id), 2);
            QCOMPARE(breakTargets[i].value, 5 - armiesOf(breakTargets[i].id));
            if (i > 1)
                QVERIFY(breakTargets[i - 1].value >= breakTargets[i].value);
        }
        QCOMPARE(breakTargets[181].id, 0);
    }

    void opponentChoice_data()
    {
        QTest::addColumn<int>("lastOfPlayer2");
        QTest::addColumn<int>("armiesOn5");
        QTest::addColumn<QVector<int>>("weakest"); // player, cost
        QTest::addColumn<QVector<int>>("near");
        // A chain of 30: player 1 holds 1..4 (30 armies each), player 3 holds 5, player 2
        // holds 6 up to the given territory (1 army each), player 1 the rest.
        QTest::newRow("21 territories are never a choice")
            << 26 << 50 << QVector<int>{0, 32000} << QVector<int>{3, 51};
        QTest::newRow("20 territories are") << 25 << 50 << QVector<int>{0, 32000} << QVector<int>{2, 20 + 20};
        QTest::newRow("the cheaper opponent") << 25 << 3 << QVector<int>{3, 4} << QVector<int>{3, 4};
    }
    void opponentChoice()
    {
        QFETCH(int, lastOfPlayer2);
        QFETCH(int, armiesOn5);
        QVERIFY(loadMap(blocks(30, 15), chain(30)));
        playerCount = 3;
        for (int t = 1; t <= 30; ++t)
            put(t, t <= 4 || t > lastOfPlayer2 ? 1 : 2, t <= 4 || t > lastOfPlayer2 ? 30 : 1);
        put(5, 3, armiesOn5);
        recountAllPlayers();
        const TerritoryList targets = aiTargetList;
        int player = -1, cost = -1;
        aiChooseWeakestOpponent(player, cost);
        QTEST((QVector<int>{player, cost}), "weakest");
        aiChooseOpponent2(player, cost);
        QTEST((QVector<int>{player, cost}), "near");
        QCOMPARE(aiTargetList, targets);
    }

    void dominanceCancelsATake_data()
    {
        QTest::addColumn<int>("armiesOfPlayer3");
        QTest::addColumn<int>("giantStack");
        QTest::addColumn<int>("take");
        QTest::addColumn<char>("takeCancelled");
        QTest::addColumn<char>("planCancelled");
        // Taking territory 4 (20 armies) costs player 1 and player 2 20 each: 40, 10, x, 10.
        QTest::newRow("nobody dominant afterwards") << 50 << 0 << 10 << 'n' << 'n';
        QTest::newRow("player 3 would hold half of all armies") << 60 << 0 << 0 << 'j' << 'n';
        QTest::newRow("a giant stack elsewhere cancels every plan") << 50 << 60 << 0 << 'n' << 'j';
    }
    void dominanceCancelsATake()
    {
        QFETCH(int, armiesOfPlayer3);
        QFETCH(int, giantStack);
        QVERIFY(loadStarMap());
        playerCount = 4;
        setPosition({{1, 20}, {1, 20}, {2, 5}, {2, 20}, {3, 10}, {3, 10}, {3, 10}, {4, 5}, {4, 5}});
        if (giantStack > 0)
            put(7, 3, giantStack);
        const int totals[] = {0, 60, 30, armiesOfPlayer3, 10};
        for (int p = 1; p <= 4; ++p)
            playerTable[p].totalArmies() = totals[p];
        aiPlayersLeft = 4;
        ::mainEnemy = 0;
        aiTargetList.fill(0);
        aiTargetList[1] = 4;
        takeScore = 10;
        aiDominanceCheck();
        QTEST(::takeScore, "take");
        QTEST(::takeCancelled, "takeCancelled");
        QTEST(::planCancelled, "planCancelled");
    }

    void planRecords()
    {
        QVERIFY(loadRingMap());
        playerCount = 4;
        setPosition({{1, 3}, {1, 3}, {1, 3}, {2, 3}, {2, 3}, {2, 3}, {3, 3}, {3, 3}, {3, 3}});
        playerTable[1].continentBonus() = 7;
        playerTable[2].continentBonus() = 5;
        playerTable[3].continentBonus() = 2;
        playerTable[4].continentBonus() = 9; // out of the game
        playerTable[2].cavalry() = 3;
        aiPlanAttacks();
        QCOMPARE(playerTable[4].continentBonus(), 0);
        QCOMPARE(territoryPlan[1].othersBestBonus, 0);
        QCOMPARE(territoryPlan[2].othersBestBonus, 7);
        QCOMPARE(territoryPlan[3].othersBestBonus, 7);
        QCOMPARE(territoryPlan[2].cardValue, 10);
        QCOMPARE(territoryPlan[2].othersBestCardValue, 0);
        QCOMPARE(territoryPlan[1].othersBestCardValue, 10);
        QCOMPARE(territoryPlan[1].territoryArmies, 3);
    }

    void weakestOpponentScore_data()
    {
        QTest::addColumn<int>("cost");
        QTest::addColumn<int>("score");
        QTest::newRow("exactly half the own armies is too dear") << 30 << 0;
        QTest::newRow("less than half is worth it") << 29 << 100;
    }
    void weakestOpponentScore()
    {
        QFETCH(int, cost);
        QVERIFY(loadStarMap());
        setPosition({{1, 20}, {1, 20}, {1, 20}, {2, 1}, {2, 1}, {2, 1}, {2, 1}, {2, 1}, {2, 1}});
        aiWeakestOpponent = 2;
        aiWeakestOpponentCost = cost;
        aiPlanAttacks();
        QTEST(::weakestOpponentScore, "score");
        QCOMPARE(nearOpponentScore, 0);
    }

    void earlyDefenceAgainstPlayer1WithTheNeutralArmy_data()
    {
        QTest::addColumn<int>("turns");
        QTest::addColumn<int>("score");
        QTest::newRow("fifth turn") << 5 << 10;
        QTest::newRow("sixth turn") << 6 << 0;
    }
    void earlyDefenceAgainstPlayer1WithTheNeutralArmy()
    {
        QFETCH(int, turns);
        QVERIFY(loadRingMap());
        playerCount = 3;
        neutralArmyActive = 1;
        currentPlayer = aiPlayer = 2;
        turnsTaken[2] = turns;
        setPosition({{1, 5}, {1, 5}, {1, 5}, {2, 20}, {2, 1}, {2, 1}, {2, 1}, {3, 1}, {3, 1}});
        computePlayerStrength(1);
        aiPredictNextPlayers();
        QCOMPARE(nextPlayers[2], 1);
        aiPlanAttacks();
        QTEST(defenceScore[2], "score");
        if (defenceScore[2] > 0) {
            QCOMPARE(defenceNeed[2], 5);
            QCOMPARE(defendTerritory[2], 7);
        }
    }

    void planningPassChangesNoTerritory_data()
    {
        QTest::addColumn<int>("map");
        QTest::addColumn<int>("players");
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : {1u, 2u}) {
            QTest::newRow(qPrintable(QStringLiteral("World, 6 players, seed %1").arg(seed))) << int(MapWorld) << 6 << seed;
            QTest::newRow(qPrintable(QStringLiteral("World, 3 players, seed %1").arg(seed))) << int(MapWorld) << 3 << seed;
            QTest::newRow(qPrintable(QStringLiteral("SwampII, 10 players, seed %1").arg(seed)))
                << int(MapSwampII) << 10 << seed;
        }
    }
    void planningPassChangesNoTerritory()
    {
        QFETCH(int, map);
        QFETCH(int, players);
        QFETCH(quint32, seed);
        randomPosition(map, players, seed);
        QVERIFY(territoryCount > 0);
        const auto territories = territoryState;
        const auto displayed = displayedTerritoryState;

        QVector<QVector<int>> firstRun;
        for (int p = 1; p <= players; ++p) {
            currentPlayer = aiPlayer = p;
            aiRunPlanning();
            QCOMPARE(currentPlayer, p);
            QCOMPARE(territoryState, territories);
            verifyPlanTargets();
            firstRun << planSnapshot();
        }
        QCOMPARE(displayedTerritoryState, displayed);
        QCOMPARE(actionQueueCount, 0);

        // The same game planned again from the start plans the same.
        resetAllGameState(3);
        randomPosition(map, players, seed);
        for (int p = 1; p <= players; ++p) {
            currentPlayer = aiPlayer = p;
            aiRunPlanning();
            QCOMPARE(planSnapshot(), firstRun[p - 1]);
        }
    }
};

TARVAN_TEST_MAIN(TestAiPlanning)
#include "test_ai_planning.moc"
