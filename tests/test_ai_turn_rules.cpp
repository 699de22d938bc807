// How a computer player picks its action: the scores it may not use (difficulty, personality),
// the best score with its tie-break, the override rules on crafted score sets, the stronghold
// rules and the sweep against a leader who out-earns everyone.

#include "TestSupport.h"
#include "test_ai_support.h"

#include "ai/ActionChoice.h"
#include "ai/AiState.h"
#include "ai/SelectionRules.h"
#include "rules/TurnState.h"

using namespace aitest;

namespace {

// A chain 1-2-3-4-5-6-7: continent 1 = {1, 2} (bonus 2), 2 = {3, 4} (bonus 5), 3 = {5, 6} (bonus
// 7); 7 lies in no continent.
bool loadBonusChain()
{
    return loadMap({{2, {1, 2}}, {5, {3, 4}}, {7, {5, 6}}}, chain(7));
}

void clearPlanScores()
{
    holdScore = takeScore = breakScore = routeScore = continentRouteScore = 0;
    weakestOpponentScore = nearOpponentScore = 0;
    defenceScore.fill(0);
}

using Codes = QVector<int>;

// Every action code with a score of its own.
const Codes kScored{3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14, 22, 23, 24, 25, 26};

QVector<int> allScores()
{
    QVector<int> scores;
    for (int action : kScored)
        scores << aiScoreOf(action);
    return scores;
}

// The scores after every one was 9 and those of `cleared` were ruled out.
QVector<int> scoresWithout(const Codes &cleared)
{
    QVector<int> scores;
    for (int action : kScored)
        scores << (cleared.contains(action) ? 0 : 9);
    return scores;
}

void setEveryScore(int value)
{
    for (int action : kScored)
        aiScoreOf(action) = value;
}

const Codes kDefence{6, 7, 10, 11, 22, 23, 24, 25, 26};

} // namespace

class TestAiTurnRules : public QObject {
    Q_OBJECT

private slots:
    void init() { resetAllGameState(3); }

    // ---- Choosing by score ----

    void highestScoreWinsTiesGoLow_data()
    {
        QTest::addColumn<QVector<int>>("codes");
        QTest::addColumn<QVector<int>>("scores");
        QTest::addColumn<int>("chosen");
        QTest::newRow("hold and take tie: hold") << QVector<int>{3, 4} << QVector<int>{5, 5} << 3;
        QTest::newRow("defence 1 and the continent route tie") << QVector<int>{8, 6} << QVector<int>{7, 7} << 6;
        QTest::newRow("a later code must be strictly higher") << QVector<int>{26, 14} << QVector<int>{9, 8} << 26;
        QTest::newRow("nothing above 0") << QVector<int>{3, 9} << QVector<int>{0, -4} << 0;
        QTest::newRow("the 9th defence") << QVector<int>{26} << QVector<int>{1} << 26;
    }
    void highestScoreWinsTiesGoLow()
    {
        QFETCH(QVector<int>, codes);
        QFETCH(QVector<int>, scores);
        QFETCH(int, chosen);
        clearPlanScores();
        for (int i = 0; i < codes.size(); ++i)
            aiScoreOf(codes[i]) = scores[i];
        aiChooseBestAction();
        QCOMPARE(chosenAction, chosen);
        QCOMPARE(bestActionScore, chosen == 0 ? 0 : aiScoreOf(chosen));
    }

    void difficultyRulesOut_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("armies");
        QTest::addColumn<int>("left");
        QTest::addColumn<bool>("demo");
        QTest::addColumn<QVector<int>>("cleared");
        QTest::newRow("Easy: no take, defence or opponents") << 0 << 100 << 4 << false
                                                             << Codes{4, 13, 14} + kDefence;
        QTest::newRow("24 armies, 3 players: nothing big") << 1 << 24 << 3 << false << Codes{4, 5, 8, 9};
        QTest::newRow("24 armies, 2 players: all") << 1 << 24 << 2 << false << Codes{};
        QTest::newRow("25 armies: all") << 1 << 25 << 3 << false << Codes{};
        QTest::newRow("20 armies in the demo: all") << 1 << 20 << 3 << true << Codes{};
        QTest::newRow("11 armies in the demo: nothing big") << 1 << 11 << 3 << true << Codes{4, 5, 8, 9};
    }
    void difficultyRulesOut()
    {
        QFETCH(int, level);
        QFETCH(int, armies);
        QFETCH(int, left);
        QFETCH(bool, demo);
        QFETCH(QVector<int>, cleared);
        QVERIFY(loadBonusChain());
        setPosition({{1, armies - 6}, {1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}});
        playAs(1, 4);
        difficulty = level;
        demoRunning = demo ? 1 : 0;
        aiPlayersLeft = left;
        setEveryScore(9);
        QVERIFY(!aiApplyDifficulty());
        QCOMPARE(allScores(), scoresWithout(cleared));
    }

    void twoTerritoriesAndABigArmyGoAllIn()
    {
        QVERIFY(loadBonusChain());
        setPosition({{1, 30}, {1, 4}, {2, 1}, {3, 1}, {4, 1}, {2, 1}, {3, 1}});
        playAs(1, 4);
        aiPlayersLeft = 4;
        territoryPlan[1].territoryArmies = 3;
        aiArmiesToPlace = 5;
        QVERIFY(aiApplyDifficulty());
        QCOMPARE(territoryState[2].armies, 12);
        QCOMPARE(aiArmiesToPlace, 0);
        QVERIFY(territoryArmiesPlaced);
    }

    void personalityRulesOut_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("acting");
        QTest::addColumn<int>("opponentScore");
        QTest::addColumn<QVector<int>>("cleared");
        QTest::newRow("Normal") << 0 << true << 9 << Codes{};
        QTest::newRow("Avenger") << 3 << true << 9 << Codes{};
        QTest::newRow("Conqueror: no defence") << 1 << true << 9 << kDefence;
        QTest::newRow("Defensive: no route, no opponents") << 2 << true << 9 << Codes{9, 13, 14};
        QTest::newRow("Determined: continents only") << 4 << true << 9 << Codes{5, 9, 13, 14} + kDefence;
        QTest::newRow("Hunter after an opponent") << 5 << true << 9 << Codes{3, 4, 5, 8, 9} + kDefence;
        QTest::newRow("Hunter without one") << 5 << true << 0 << Codes{4, 8, 9, 13, 14};
        QTest::newRow("personalities at rest") << 4 << false << 9 << Codes{};
    }
    void personalityRulesOut()
    {
        QFETCH(int, kind);
        QFETCH(bool, acting);
        QFETCH(int, opponentScore);
        QFETCH(QVector<int>, cleared);
        playAs(1, 6);
        personality[1] = kind;
        avengerActive = acting ? 1 : 0;
        aiPlayersLeft = 6;
        setEveryScore(9);
        weakestOpponentScore = nearOpponentScore = opponentScore;
        aiApplyPersonality();
        QVector<int> expected = scoresWithout(cleared);
        if (opponentScore == 0) {
            expected[9] = 0; // 13 and 14 were 0 to begin with
            expected[10] = 0;
        }
        QCOMPARE(allScores(), expected);
    }

    void unstableSwitchesOnlyEveryTenthTurn_data()
    {
        QTest::addColumn<int>("turn");
        QTest::addColumn<bool>("switches");
        QTest::newRow("turn 9") << 9 << false;
        QTest::newRow("turn 10") << 10 << true;
        QTest::newRow("turn 15") << 15 << false;
        QTest::newRow("turn 30") << 30 << true;
    }
    void unstableSwitchesOnlyEveryTenthTurn()
    {
        QFETCH(int, turn);
        QFETCH(bool, switches);
        playAs(1, 6);
        personalitySetting[1] = PersonalityUnstable;
        personality[1] = PersonalityAvenger;
        avengeTarget[1] = 4;
        avengerActive = 1;
        aiPlayersLeft = 6;
        turnsTaken[1] = turn;
        randomSource().seed(77);
        QSet<int> seen;
        for (int cycle = 0; cycle < 40; ++cycle) {
            aiApplyPersonality();
            seen.insert(personality[1]);
            QVERIFY(personality[1] >= 0 && personality[1] <= 5);
        }
        // Outside those turns not even a number is drawn.
        RandomSource fresh;
        fresh.seed(77);
        const bool drew = randomSource().below(1000000) != fresh.below(1000000);
        QCOMPARE(drew, switches);
        QCOMPARE(seen.size() > 1, switches);
        if (personality[1] != PersonalityAvenger)
            QCOMPARE(avengeTarget[1], 0);
        else if (!switches)
            QCOMPARE(avengeTarget[1], 4);
    }

    // ---- Override rules ----

    void overrideRules_data()
    {
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QVector<int>>("scores"); // hold, take, break, route, continent route
        QTest::addColumn<int>("takeAimedAt");     // takeTargetContinent
        QTest::addColumn<int>("takeContinent");   // continentRanking entry 1
        QTest::addColumn<int>("breakTarget");
        QTest::addColumn<int>("routeTo");
        QTest::addColumn<int>("holdArmies"); // on the hold target, territory 1 (continent 1)
        QTest::addColumn<int>("expected");

        QTest::newRow("R1: a break worth no more than the take continent gives way")
            << 4 << QVector<int>{0, 10, 5, 0, 0} << 0 << 3 << 3 << 0 << 5 << 4;
        QTest::newRow("R1: a break worth more than the take continent stands")
            << 4 << QVector<int>{0, 10, 5, 0, 0} << 0 << 1 << 3 << 0 << 5 << 5;
        QTest::newRow("R1: a route outside every continent keeps the take")
            << 4 << QVector<int>{0, 10, 0, 5, 0} << 0 << 2 << 0 << 7 << 5 << 4;
        QTest::newRow("R1: a route into a richer continent")
            << 4 << QVector<int>{0, 10, 0, 5, 0} << 0 << 2 << 0 << 5 << 5 << 9;
        QTest::newRow("R1: a break outside every continent, then the hold check")
            << 4 << QVector<int>{2, 10, 5, 0, 0} << 0 << 2 << 7 << 0 << 5 << 3;
        QTest::newRow("R3: a take aimed elsewhere gives way to the hold")
            << 4 << QVector<int>{3, 10, 0, 0, 0} << 2 << 2 << 0 << 0 << 5 << 3;
        QTest::newRow("R3: a hold target of 20 armies needs nothing")
            << 4 << QVector<int>{3, 10, 0, 0, 0} << 2 << 2 << 0 << 0 << 20 << 4;
        QTest::newRow("R5: the hold gives way to a break of a richer continent")
            << 3 << QVector<int>{3, 0, 4, 0, 0} << 0 << 2 << 5 << 0 << 5 << 5;
        QTest::newRow("R5: the hold stands against a break outside the continents")
            << 3 << QVector<int>{3, 0, 4, 0, 0} << 0 << 2 << 7 << 0 << 5 << 3;
        QTest::newRow("R2, R4: a break gives way to a take of a richer continent")
            << 5 << QVector<int>{0, 3, 4, 0, 0} << 0 << 3 << 3 << 0 << 5 << 4;
        QTest::newRow("R2: a route stays a route without a take")
            << 9 << QVector<int>{0, 0, 0, 4, 0} << 0 << 3 << 0 << 5 << 5 << 9;
        QTest::newRow("R6: the last plan that stands replaces a defence")
            << 6 << QVector<int>{0, 1, 2, 0, 0} << 0 << 2 << 3 << 0 << 5 << 4;
        QTest::newRow("R6: a route into a continent") << 7 << QVector<int>{0, 0, 0, 3, 0} << 0 << 2 << 0 << 5
                                                       << 5 << 9;
        QTest::newRow("R6: the hold wins last") << 22 << QVector<int>{1, 1, 2, 3, 1} << 0 << 2 << 3 << 5 << 5
                                                << 3;
        QTest::newRow("R6: nothing above its threshold") << 22 << QVector<int>{0, 0, 1, 2, 0} << 0 << 2 << 3
                                                         << 5 << 5 << 22;
    }
    void overrideRules()
    {
        QFETCH(int, chosen);
        QFETCH(QVector<int>, scores);
        QFETCH(int, takeAimedAt);
        QFETCH(int, takeContinent);
        QFETCH(int, breakTarget);
        QFETCH(int, routeTo);
        QFETCH(int, holdArmies);
        QVERIFY(loadBonusChain());
        // Player 1 holds everything but territory 2, next to the hold target.
        setPosition({{1, holdArmies}, {2, 3}, {1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}});
        playAs(1, 2);
        clearPlanScores();
        holdScore = scores[0];
        takeScore = scores[1];
        breakScore = scores[2];
        routeScore = scores[3];
        continentRouteScore = scores[4];
        takeTargetContinent = takeAimedAt;
        continentRanking[1] = {takeContinent, 10};
        breakTargets[1] = {breakTarget, 3};
        routeTarget = routeTo;
        reinforceCandidates[1] = {1, -3};
        chosenAction = chosen;
        applyOverrideRules();
        QTEST(chosenAction, "expected");
    }

    // ---- Stronghold rules ----

    void strongholdRules_data()
    {
        // A chain 1-2-3-4-5-6 with our stronghold at 1 and the others' at 5 and 6; no cells: the
        // map where our 1 and 2 border the strongholds 3 (player 2) and 4 (player 3), and ours,
        // 5, sits behind them.
        QTest::addColumn<Cells>("cells");
        QTest::addColumn<int>("mainEnemyIs");
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("attackFrom");
        QTest::addColumn<int>("attackOn");
        QTest::addColumn<bool>("learns"); // the searches learn the chains they found
        const Cells march{{1, 20}, {1, 30}, {2, 1}, {2, 1}, {3, 1}, {2, 1}};
        QTest::newRow("a stronghold 4 ahead of its neighbour is guarded")
            << Cells{{1, 10}, {2, 6}, {2, 1}, {2, 1}, {3, 1}, {2, 1}} << 0 << 16 << 0 << 0 << false;
        QTest::newRow("5 ahead is safe enough")
            << Cells{{1, 10}, {2, 5}, {2, 1}, {2, 1}, {3, 1}, {2, 1}} << 0 << 3 << 0 << 0 << false;
        QTest::newRow("a route of another player to it")
            << Cells{{1, 10}, {3, 1}, {3, 1}, {2, 30}, {2, 1}, {3, 1}} << 0 << 16 << 0 << 0 << true;
        QTest::newRow("a route to an enemy stronghold") << march << 0 << 15 << 0 << 0 << true;
        QTest::newRow("with a main enemy, only to his stronghold") << march << 3 << 15 << 0 << 0 << true;
        QTest::newRow("not to the stronghold of one who is no main enemy") << march << 2 << 3 << 0 << 0 << true;
        QTest::newRow("the last weaker stronghold next door") << Cells{} << 0 << 17 << 2 << 4 << false;
        QTest::newRow("next door, only the main enemy's") << Cells{} << 2 << 17 << 1 << 3 << false;
    }
    void strongholdRules()
    {
        QFETCH(Cells, cells);
        QFETCH(int, mainEnemyIs);
        QFETCH(int, expected);
        QFETCH(bool, learns);
        strongholdsEnabled = 1;
        if (cells.isEmpty()) {
            QVERIFY(loadMap({{2, {1, 2, 5}}, {2, {3}}, {2, {4}}}, symmetric(5, {{1, 3}, {2, 4}, {1, 2}, {1, 5}})));
            setPosition({{1, 10}, {1, 10}, {2, 5}, {3, 5}, {1, 30}});
            playerTable[1].stronghold() = 5;
            playerTable[2].stronghold() = 3;
            playerTable[3].stronghold() = 4;
        } else {
            QVERIFY(loadMap({{2, {1, 2}}, {2, {3, 4}}, {2, {5, 6}}}, chain(6)));
            setPosition(cells);
            playerTable[1].stronghold() = 1;
            playerTable[territoryState[5].owner].stronghold() = 5;
            playerTable[territoryState[6].owner].stronghold() = 6;
        }
        playAs(1, 3);
        mainEnemy = mainEnemyIs;
        chosenAction = ActionHold;
        outIncomeFlag = 'j';
        const int routesBefore = routeCount;
        applyStrongholdRules();
        QCOMPARE(chosenAction, expected);
        QCOMPARE(currentPlayer, 1);
        if (expected == ActionAttackStronghold) {
            QTEST(strongholdAttackSource, "attackFrom");
            QTEST(strongholdAttackTarget, "attackOn");
            QCOMPARE(outIncomeFlag, 'n');
        }
        // The searches learn the chains they found, seen from the attackers.
        if (learns)
            QCOMPARE(routeCount, routesBefore + 1);
        // Nothing of another player's hand is left changed by looking through his eyes.
        QCOMPARE(cardsInPlay(), 53);
    }

    void lookingThroughOtherEyesChangesNothing_data()
    {
        QTest::addColumn<bool>("attacked");
        QTest::newRow("before an attack") << false;
        QTest::newRow("after an attack") << true;
    }
    void lookingThroughOtherEyesChangesNothing()
    {
        // Player 2 could trade five cards; the threat search counts them as his, and neither his
        // hand, nor the deck, nor our own pool may change by it.
        QFETCH(bool, attacked);
        QVERIFY(loadMap({{2, {1, 2}}, {2, {3, 4}}, {2, {5, 6}}}, chain(6)));
        strongholdsEnabled = 1;
        setPosition({{1, 10}, {3, 1}, {3, 1}, {2, 30}, {2, 1}, {3, 1}});
        playerTable[1].stronghold() = 1;
        playerTable[2].stronghold() = 5;
        playerTable[3].stronghold() = 6;
        playerTable[2].artillery() = 2;
        playerTable[2].infantry() = 3;
        cardDeckCounts[CardArtillery] -= 2;
        cardDeckCounts[CardInfantry] -= 3;
        const std::array<qint32, 4> deck = cardDeckCounts;
        playAs(1, 3);
        attackMadeThisTurn = attacked ? 1 : 0;
        aiArmiesToPlace = 5;
        aiCardArmies = 3;
        chosenAction = ActionHold;
        applyStrongholdRules();
        QCOMPARE(chosenAction, int(ActionGuardStronghold));
        QCOMPARE(aiArmiesToPlace, 5);
        QCOMPARE(aiCardArmies, 3);
        QCOMPARE(playerTable[2].artillery(), 2);
        QCOMPARE(playerTable[2].infantry(), 3);
        QCOMPARE(cardDeckCounts, deck);
        QCOMPARE(currentPlayer, 1);
    }

    // ---- The sweep ----

    void sweepAgainstTheLeader_data()
    {
        QTest::addColumn<int>("chosen");
        QTest::addColumn<int>("take");
        QTest::addColumn<int>("lastSweep"); // the turn of the last sweep against player 2
        QTest::addColumn<bool>("sweeps");
        QTest::newRow("a plan of land stands") << 3 << 5 << 0 << false;
        QTest::newRow("swept 3 turns ago") << 3 << 0 << 5 << false;
        QTest::newRow("swept 4 turns ago") << 3 << 0 << 4 << true;
        QTest::newRow("never swept") << 6 << 0 << -1 << true;
        QTest::newRow("the march on a stronghold stands") << 15 << 0 << -1 << false;
    }
    void sweepAgainstTheLeader()
    {
        QFETCH(int, chosen);
        QFETCH(int, take);
        QFETCH(int, lastSweep);
        QFETCH(bool, sweeps);
        QVERIFY(loadRingMap());
        attackRule = 'j';
        aiMinAttackArmies = 3;
        setPosition({{1, 10}, {2, 1}, {2, 9}, {2, 9}, {2, 9}, {2, 9}, {3, 3}, {3, 3}, {1, 3}});
        playAs(1, 3);
        clearPlanScores();
        takeScore = take;
        playerRanking[1] = {2, 100};
        playerRanking[2] = {1, 50};
        mainEnemy = 2;
        turnsTaken[1] = 8;
        if (lastSweep >= 0)
            pairs10[1] = {2, lastSweep};
        outIncomeFlag = 'j';
        chosenAction = chosen;
        applyMainEnemySweep();
        if (!sweeps) {
            QCOMPARE(chosenAction, chosen);
            QCOMPARE(outIncomeFlag, chosen == ActionStrongholdRoute ? 'j' : 'n');
            QCOMPARE(actionQueueCount, 0);
            return;
        }
        QCOMPARE(chosenAction, 0);
        QCOMPARE(pairs10[1].id, 2);
        QCOMPARE(pairs10[1].value, 8);
        QVERIFY(attackMadeThisTurn);
        QCOMPARE(territoryState[2].owner, 1);
        QVERIFY(actionQueueTexts().contains(QStringLiteral("pc 1 is attacking. ")));
    }
};

TARVAN_TEST_MAIN(TestAiTurnRules)
#include "test_ai_turn_rules.moc"
