// A computer player's turn in its parts: placing armies with their narration, moves within a
// budget, the attack steps and their move-in texts, the end-of-turn placement after a declined
// attack, action 17, and the order in which the computer players take their turns.

#include "TestSupport.h"
#include "test_ai_support.h"
#include "test_data_support.h"

#include "ai/AiState.h"
#include "ai/AttackSteps.h"
#include "ai/ComputerTurn.h"
#include "ai/Evaluation.h"
#include "ai/MoveSteps.h"
#include "ai/Reinforcement.h"
#include "rules/Attack.h"
#include "rules/Sound.h"
#include "rules/TurnState.h"

using namespace aitest;

namespace {

// Continent 1 = {1, 4}, continent 2 = {2, 3}; 1 touches 2 and 3, which touch each other; 4 hangs
// off 1. Every territory of continent 2 can be attacked from 1.
bool loadFrontMap()
{
    return loadMap({{3, {1, 4}}, {2, {2, 3}}}, symmetric(4, {{1, 2}, {1, 3}, {2, 3}, {1, 4}}));
}

// The ring map in the given position, player 1 to move.
bool ringGame(const Cells &cells)
{
    if (!loadRingMap())
        return false;
    setPosition(cells);
    playAs(1);
    return true;
}

// The type-1 steps of the action queue: (territory, armies, owner, highlight, sound, delta).
QVector<QVector<int>> territorySteps()
{
    QVector<QVector<int>> steps;
    for (int i = 1; i <= actionQueueCount; ++i)
        if (actionQueue[i].type == 1)
            steps << QVector<int>{actionQueue[i].arg[1], actionQueue[i].arg[2], actionQueue[i].arg[3],
                                  actionQueue[i].arg[4], actionQueue[i].arg[5], actionQueue[i].arg[6]};
    return steps;
}

} // namespace

class TestAiTurn : public QObject {
    Q_OBJECT

private slots:
    void init() { resetAllGameState(5); }

    // ---- Placement ----

    void placementQueuesOldStateTextNewState_data()
    {
        QTest::addColumn<bool>("territoryArmies");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("fast");
        QTest::addColumn<bool>("animations");
        QTest::addColumn<QString>("text");
        QTest::newRow("one army") << false << 1 << false << false << "pc 1 places 1 army.";
        QTest::newRow("five armies") << false << 5 << false << false << "pc 1 places 5 armies.";
        QTest::newRow("one territory army keeps the plural")
            << true << 1 << false << false << "pc 1 places 1 armies based on territories.";
        QTest::newRow("territory armies") << true << 4 << false << false
                                          << "pc 1 places 4 armies based on territories.";
        QTest::newRow("fast speed: no text") << false << 3 << true << false << "";
        QTest::newRow("small helicopter") << false << 3 << false << true << "pc 1 places 3 armies.";
        QTest::newRow("large helicopter") << false << 4 << false << true << "pc 1 places 4 armies.";
    }
    void placementQueuesOldStateTextNewState()
    {
        QFETCH(bool, territoryArmies);
        QFETCH(int, count);
        QFETCH(bool, fast);
        QFETCH(bool, animations);
        QFETCH(QString, text);
        QVERIFY(ringGame({{1, 2}, {2, 1}}));
        fastSpeed = fast ? 1 : 0;
        animationsEnabled = animations ? 1 : 0;
        if (territoryArmies) {
            territoryPlan[1].territoryArmies = count;
            aiChosenTerritory = 1;
            aiPlaceTerritoryArmies();
            QVERIFY(territoryArmiesPlaced);
        } else {
            aiPlaceArmies(1, count);
        }
        QCOMPARE(territoryState[1].armies, 2 + count);
        QCOMPARE(playerTable[1].totalArmies(), 2 + count);
        const QVector<QVector<int>> expected{{1, 2, 1, 1, SoundPlacement, count},
                                             {1, 2 + count, 1, 1, 0, 0},
                                             {1, 2 + count, 1, 0, 0, 0}};
        QCOMPARE(territorySteps(), expected);
        QCOMPARE(actionQueueTexts(), text.isEmpty() ? QStringList() : QStringList{text});
        // The helicopter flies between the text and the new state: 12 frames at t.
        QList<int> types{1};
        if (!fast)
            types << 2;
        for (int frame = 0; animations && frame < 12; ++frame)
            types << 16;
        types << 1 << 1;
        QCOMPARE(actionQueueTypes(), types);
        if (animations) {
            const QueueStep &frame = actionQueue[3];
            QCOMPARE(frame.arg[1], 1);
            QCOMPARE(frame.arg[3], count < 4 ? 4 : 3);
        }
    }

    void territoryArmiesOnAGivenTerritory()
    {
        QVERIFY(ringGame({{1, 2}, {1, 1}}));
        aiPlaceTerritoryArmies2(2, 3);
        QCOMPARE(territoryState[2].armies, 4);
        QCOMPARE(actionQueueTexts(), QStringList{"pc 1 places 3 armies based on territories."});
        QVERIFY(!territoryArmiesPlaced);
        attackMadeThisTurn = 1;
        aiPlaceTerritoryArmies2(2, 3);
        QCOMPARE(territoryState[2].armies, 4);
    }

    void placementThatMustNotHappen_data()
    {
        QTest::addColumn<bool>("placedBefore"); // the territory armies
        QTest::addColumn<Setup>("placement");
        QTest::newRow("no armies") << false << Setup([] { aiPlaceArmies(1, 0); });
        QTest::newRow("a negative count") << false << Setup([] { aiPlaceArmies(1, -3); });
        QTest::newRow("an enemy territory") << false << Setup([] { aiPlaceArmies(2, 4); });
        QTest::newRow("territory 0") << false << Setup([] { aiPlaceArmies(0, 4); });
        QTest::newRow("territory armies after an attack") << false << Setup([] {
            attackMadeThisTurn = 1;
            aiPlaceTerritoryArmies();
        });
        QTest::newRow("territory armies a second time") << true << Setup(aiPlaceTerritoryArmies);
    }
    void placementThatMustNotHappen()
    {
        QFETCH(bool, placedBefore);
        QFETCH(Setup, placement);
        QVERIFY(ringGame({{1, 2}, {2, 1}}));
        territoryPlan[1].territoryArmies = 3;
        aiChosenTerritory = 1;
        if (placedBefore) {
            aiPlaceTerritoryArmies();
            clearStepQueues();
        }
        const int before = totalArmiesOnMap();
        placement();
        QCOMPARE(totalArmiesOnMap(), before);
        QCOMPARE(actionQueueCount, 0);
        QCOMPARE(territoryState[0], TerritoryState{});
    }

    void reinforcementTargetTakesWhatItLacks_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<int>("pool");
        QTest::addColumn<int>("shortfall");
        QTest::addColumn<int>("placed");
        QTest::addColumn<int>("poolAfter");
        QTest::addColumn<bool>("territoryArmies");
        QTest::newRow("pool 5 of 8 lacking: all of it, then the territory armies") << 2 << 5 << -8 << 8 << 0 << true;
        QTest::newRow("pool 10 of 8 lacking: 8, 2 stay") << 2 << 10 << -8 << 8 << 2 << false;
        QTest::newRow("nothing lacking: the pool waits") << 2 << 10 << 0 << 0 << 10 << false;
        QTest::newRow("empty pool: the territory armies") << 2 << 0 << -8 << 3 << 0 << true;
        // A hold score left over from an earlier plan must never put armies on territory 0.
        QTest::newRow("no target: nothing is placed") << 0 << 6 << -8 << 0 << 6 << false;
    }
    void reinforcementTargetTakesWhatItLacks()
    {
        QFETCH(int, target);
        QFETCH(int, pool);
        QFETCH(int, shortfall);
        QFETCH(int, placed);
        QVERIFY(ringGame({{2, 4}, {1, 2}, {2, 4}}));
        territoryPlan[1].territoryArmies = 3;
        reinforceCandidates[1] = {target, shortfall};
        reinforceShortfall = shortfall;
        aiArmiesToPlace = pool;
        aiChooseReinforcement();
        QCOMPARE(territoryState[2].armies, 2 + placed);
        QTEST(aiArmiesToPlace, "poolAfter");
        QTEST(bool(territoryArmiesPlaced), "territoryArmies");
        QCOMPARE(reinforceRounds, 1);
        QCOMPARE(territoryState[0], TerritoryState{});
        if (placed == 0)
            QCOMPARE(actionQueueCount, 0);
    }

    void poolPortions_data()
    {
        QTest::addColumn<int>("pool");
        QTest::addColumn<int>("portion");
        QTest::addColumn<int>("placed");
        QTest::addColumn<int>("poolAfter");
        QTest::newRow("the portion") << 6 << 4 << 4 << 2;
        QTest::newRow("what is left, then the territory armies") << 2 << 4 << 5 << 0;
    }
    void poolPortions()
    {
        QFETCH(int, pool);
        QFETCH(int, portion);
        QFETCH(int, placed);
        QVERIFY(ringGame({{1, 2}, {2, 1}}));
        territoryPlan[1].territoryArmies = 3;
        aiArmiesToPlace = pool;
        aiChosenTerritory = 1;
        aiPlaceFromPool(portion);
        QCOMPARE(territoryState[1].armies, 2 + placed);
        QTEST(aiArmiesToPlace, "poolAfter");
    }

    // ---- Moves ----

    void moveWithinTheBudget_data()
    {
        QTest::addColumn<int>("budget");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("fromStronghold");
        QTest::addColumn<bool>("animations");
        QTest::addColumn<int>("moved");
        QTest::addColumn<QString>("text");
        QTest::newRow("capped by the budget") << 7 << 10 << false << false << 7 << "pc 1 moves 7 armies.";
        QTest::newRow("one army") << 7 << 1 << false << false << 1 << "pc 1 moves 1 army.";
        QTest::newRow("with animations") << 7 << 3 << false << true << 3 << "pc 1 moves 3 armies.";
        QTest::newRow("never out of the stronghold") << 7 << 5 << true << false << 0 << "";
    }
    void moveWithinTheBudget()
    {
        QFETCH(int, budget);
        QFETCH(int, count);
        QFETCH(bool, fromStronghold);
        QFETCH(bool, animations);
        QFETCH(int, moved);
        QFETCH(QString, text);
        QVERIFY(ringGame({{1, 20}, {1, 1}, {2, 1}}));
        if (fromStronghold)
            playerTable[1].stronghold() = 1;
        animationsEnabled = animations ? 1 : 0;
        aiChosenTerritory = 2;
        int asked = count, left = budget;
        aiMoveArmies(asked, left, 1);
        QCOMPARE(territoryState[1].armies, 20 - moved);
        QCOMPARE(territoryState[2].armies, 1 + moved);
        QCOMPARE(left, budget - moved);
        QCOMPARE(asked, fromStronghold ? count : moved);
        QCOMPARE(actionQueueTexts(), text.isEmpty() ? QStringList() : QStringList{text});
        if (moved == 0) {
            QCOMPARE(actionQueueCount, 0);
            return;
        }
        // Both highlighted before, then both plain; the move sound rides on the source before the
        // animation, or on the target's plain step without one.
        const QVector<QVector<int>> expected{
            {2, 1, 1, 1, 0, 0},
            {1, 20, 1, 1, animations ? SoundMove : 0, animations ? moved : 0},
            {2, 1 + moved, 1, 0, animations ? 0 : SoundMove, 0},
            {1, 20 - moved, 1, 0, 0, 0}};
        QCOMPARE(territorySteps(), expected);
        QCOMPARE(actionQueueTypes().count(16), animations ? 14 : 0);
    }

    void movePhaseFeedsTheThreatenedBorder()
    {
        // Continent 1 = 1..4 is held; border 1 is rated worst, interior 2 has 11 armies.
        QVERIFY(ringGame({{1, 1}, {1, 11}, {1, 1}, {1, 1}, {2, 3}, {2, 3}, {2, 3}, {2, 3}, {2, 3}}));
        reinforceCandidates[1] = {1, -5};
        reinforceCandidates[2] = {4, 0};
        int budget = 7;
        aiMovePhase(budget);
        QCOMPARE(budget, 0);
        QCOMPARE(territoryState[1].armies, 8);
        QCOMPARE(territoryState[2].armies, 4);
        QCOMPARE(actionQueueTexts(), QStringList{"pc 1 moves 7 armies."});
        // The fed border's value grew by what it got, and the list was sorted again.
        QCOMPARE(reinforceCandidates[1].id, 4);
        QCOMPARE(reinforceCandidates[2].id, 1);
        QCOMPARE(reinforceCandidates[2].value, 2);
    }

    // ---- Attack steps ----

    void oneArmyMovedInAfterAConquest_data()
    {
        QTest::addColumn<Setup>("step");
        QTest::addColumn<int>("armies");
        QTest::addColumn<QString>("text");
        QTest::newRow("break target") << Setup([] {
            breakTargets[1] = {2, 4};
            aiAttackAndOccupy(1);
        }) << 5 << "pc 1 moves 1 army into the territory.";
        QTest::newRow("target continent") << Setup([] {
            aiTargetList = {0, 2, 0};
            aiAttackAndAdvance();
        }) << 5 << "pc 1 moves 1 army into the territory. ";
        QTest::newRow("single option") << Setup([] {
            demoRunning = 1; // past the 24-army rule
            QVERIFY(aiAttackStep());
        }) << 5 << "pc 1 moves 1 army into the territory. ";
        QTest::newRow("route walk") << Setup([] {
            addRoute({1, 2});
            strongholdPath = {routeCount, 1, 2, 5};
            chosenAction = ActionStrongholdRoute;
            aiAttackMapTarget();
        }) << 4 << "pc 1 moves 1 armies into the territory. ";
    }
    void oneArmyMovedInAfterAConquest()
    {
        QFETCH(Setup, step);
        QFETCH(int, armies);
        QFETCH(QString, text);
        QVERIFY(loadFrontMap());
        attackRule = 'j';
        aiMinAttackArmies = 3;
        setPosition({{1, armies}, {2, 1}, {2, 40}, {1, 1}});
        playAs(1);
        computePlayerStrength(1);
        outIncomeFlag = 'n';
        step();
        QCOMPARE(territoryState[2].owner, 1);
        QCOMPARE(territoryState[2].armies, 2);
        const QStringList texts = actionQueueTexts();
        QCOMPARE(texts.count(QStringLiteral("pc 1 is attacking.")), 1);
        QCOMPARE(texts.count(text), 1);
    }

    void weakOptionsAreToppedUpFromThePool_data()
    {
        QTest::addColumn<char>("rule");
        QTest::addColumn<int>("attackers");
        QTest::addColumn<int>("defenders");
        QTest::addColumn<int>("topUp");
        QTest::newRow("dice, 3 against 2") << 'n' << 3 << 2 << 4;
        QTest::newRow("1-for-1, 3 against 2") << 'j' << 3 << 2 << 1;
        QTest::newRow("dice, 10 against 4 is strong enough") << 'n' << 10 << 4 << 0;
        QTest::newRow("dice, 4 against 5: a lead of 4") << 'n' << 4 << 5 << 5;
    }
    void weakOptionsAreToppedUpFromThePool()
    {
        QFETCH(char, rule);
        QFETCH(int, attackers);
        QFETCH(int, defenders);
        QFETCH(int, topUp);
        QVERIFY(loadFrontMap());
        attackRule = rule;
        aiMinAttackArmies = rule == 'j' ? 3 : 2;
        setPosition({{1, attackers}, {2, defenders}, {2, 40}, {1, 1}});
        playAs(1);
        aiArmiesToPlace = 12;
        aiTargetList = {0, 2, 0};
        aiAttackAndAdvance();
        // The top-up first, then what is left of the pool, both on the attacker.
        QVector<int> placements;
        for (const QVector<int> &s : territorySteps())
            if (s[4] == SoundPlacement)
                placements << s[5];
        const QVector<int> expected = topUp > 0 ? QVector<int>{topUp, 12 - topUp} : QVector<int>{12};
        QCOMPARE(placements, expected);
        QCOMPARE(aiArmiesToPlace, 0);
        QCOMPARE(aiAttackOptionCount, 1);
    }

    void noOptionsEndTheTakeAction()
    {
        QVERIFY(loadFrontMap());
        setPosition({{1, 2}, {2, 30}, {2, 40}, {1, 1}});
        playAs(1);
        aiTargetList = {0, 2, 3, 0};
        aiAttackAndAdvance();
        QCOMPARE(noAttackOptions, 1);
        QCOMPARE(attackMadeThisTurn, quint8(0));
    }

    void aDeclinedAttackStillPlacesTheArmies()
    {
        // Weighted by experience the 2 armies of territory 1 look like 10, so the single option
        // is chosen; they cannot attack under "1-for-1", and the pool and the territory armies
        // must then be placed rather than lost.
        QVERIFY(loadFrontMap());
        attackRule = 'j';
        aiMinAttackArmies = 3;
        troopExperienceEnabled = 1;
        troopExperience[1] = 500;
        troopExperience[2] = 100;
        setPosition({{1, 2}, {2, 1}, {2, 40}, {1, 30}});
        playAs(1);
        computePlayerStrength(1);
        territoryPlan[1].territoryArmies = 3;
        aiArmiesToPlace = 6;
        const int before = totalArmiesOnMap();
        aiReinforce();
        QCOMPARE(attackMadeThisTurn, quint8(0));
        QCOMPARE(aiArmiesToPlace, 0);
        QVERIFY(territoryArmiesPlaced);
        QCOMPARE(totalArmiesOnMap(), before + 9);
        QCOMPARE(territoryState[1].armies, 11);
        QCOMPARE(playerTable[1].totalArmies(), 41);
    }

    void attackOnAnAdjacentStrongholdPlacesFirst()
    {
        // Strongholds: 1 (own) and 3 (player 2's). With experience, 2's armies look stronger than
        // the stronghold next door, so the turn attacks it (action 17) - after putting the pool
        // and the territory armies on the attacker.
        QVERIFY(loadMap({{2, {1, 2}}, {2, {3, 4}}}, chain(4)));
        strongholdsEnabled = 1;
        troopExperienceEnabled = 1;
        troopExperience[1] = 500;
        troopExperience[2] = 100;
        playerCount = 2;
        setPosition({{1, 20}, {1, 2}, {2, 5}, {2, 1}});
        playerTable[1].stronghold() = 1;
        playerTable[2].stronghold() = 3;
        playAs(1);
        runComputerTurns();
        const QStringList texts = actionQueueTexts();
        QVERIFY2(texts.size() >= 5, qPrintable(texts.join(" | ")));
        QCOMPARE(texts.mid(0, 5), (QStringList{"pc 1 is next.", "pc 1 places 2 armies based on continents.",
                                               "pc 1 places 2 armies.", "pc 1 places 3 armies based on territories.",
                                               "pc 1 is attacking."}));
        QVERIFY(attackMadeThisTurn);
    }

    // ---- The shape of a turn ----

    void theDemoEndsAt701Armies()
    {
        QVERIFY(loadRingMap());
        spread(3, 3);
        put(5, 2, 701);
        recountAllPlayers();
        playAs(2);
        gameMode = ModeDemo;
        playComputerTurn();
        QVERIFY(gameOver);
        QCOMPARE(actionQueueTypes(), QList<int>{9});
    }

    void aQuietTurnCountsAgainstThePlayer_data()
    {
        QTest::addColumn<bool>("experience");
        QTest::addColumn<int>("turns");
        QTest::addColumn<bool>("fewestBattles");
        QTest::addColumn<int>("losses");
        QTest::newRow("a quiet turn costs one") << false << 3 << true << 1;
        QTest::newRow("fewest battles after 4 turns costs one more") << false << 5 << true << 2;
        QTest::newRow("not the fewest battles") << false << 5 << false << 1;
        QTest::newRow("with troop experience nothing") << true << 5 << true << 0;
    }
    void aQuietTurnCountsAgainstThePlayer()
    {
        QFETCH(bool, experience);
        QFETCH(int, turns);
        QFETCH(bool, fewestBattles);
        // Three armies a territory: nobody can attack, so the turn only places.
        QVERIFY(loadRingMap());
        spread(3, 3);
        playAs(1);
        troopExperienceEnabled = experience ? 1 : 0;
        turnsTaken[1] = turns;
        playerTable[1].battles() = fewestBattles ? 2 : 7;
        playerTable[2].battles() = 5;
        playerTable[3].battles() = 5;
        playComputerTurn();
        QCOMPARE(attackMadeThisTurn, quint8(0));
        QCOMPARE(playerTable[1].reinforcementRounds(), 1);
        QTEST(playerTable[1].battleLosses(), "losses");
        QVERIFY(territoryArmiesPlaced);
        QCOMPARE(totalArmiesOnMap(), 27 + 3);
    }

    void personalitiesActOnlyInAPlainGame_data()
    {
        QTest::addColumn<QString>("game");
        QTest::addColumn<bool>("acting");
        QTest::newRow("four players") << "" << true;
        QTest::newRow("Easy") << "easy" << false;
        QTest::newRow("three players") << "three" << false;
        QTest::newRow("with the neutral army") << "neutral" << false;
        QTest::newRow("a main enemy") << "main enemy" << false;
        QTest::newRow("a stack above 55 with no human left") << "stack" << false;
        QTest::newRow("a network host") << "host" << false;
    }
    void personalitiesActOnlyInAPlainGame()
    {
        QFETCH(QString, game);
        QVERIFY(loadRingMap());
        spread(game == QLatin1String("three") ? 3 : 4, 3);
        if (game == QLatin1String("stack")) {
            put(9, territoryState[9].owner, 56);
            recountAllPlayers();
        }
        playAs(1);
        difficulty = game == QLatin1String("easy") ? 0 : 1;
        neutralArmyActive = game == QLatin1String("neutral") ? 1 : 0;
        mainEnemy = game == QLatin1String("main enemy") ? 2 : 0;
        gameMode = game == QLatin1String("host") ? ModeHost : ModeSinglePlayer;
        playComputerTurn();
        QTEST(bool(avengerActive), "acting");
    }

    // ---- The Avenger ----

    // Player 2 takes a territory of player 3 through the attack rules; on player 3's next turn
    // an Avenger turns on player 2, whom nobody else takes for the main enemy.
    void anAvengerTurnsOnWhoeverTookHisTerritory_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("target");
        QTest::addColumn<int>("enemy");
        QTest::newRow("Avenger") << int(PersonalityAvenger) << 2 << 2;
        QTest::newRow("Normal") << int(PersonalityNormal) << 0 << 0;
    }
    void anAvengerTurnsOnWhoeverTookHisTerritory()
    {
        QFETCH(int, kind);
        QVERIFY(loadRingMap());
        spread(4, 3);
        personality[3] = kind;
        playAs(2, 4);
        attackRule = 'j';
        put(2, 2, 5);
        recountAllPlayers();
        char card = 'n';
        resolveAttack(2, 4, 3, &card);
        QCOMPARE(territoryState[3].owner, 2);
        QTEST(avengeTarget[3], "target");

        clearStepQueues();
        playAs(3, 4);
        mainEnemy = 0;
        playComputerTurn();
        QVERIFY(playerTable[3].territoriesHeld() > 0);
        QTEST(mainEnemy, "enemy");
        QCOMPARE(bool(avengerActive), true);
    }

    // ---- Turn order ----

    void turnOrder_data()
    {
        QTest::addColumn<int>("players");
        QTest::addColumn<QString>("options");
        QTest::addColumn<QVector<int>>("order");
        // Player 1 of the ring map starts; each call of runComputerTurns plays one turn. Who is
        // skipped is the turn flow's own test.
        QTest::newRow("every player") << 4 << "" << QVector<int>{2, 3, 4, 1, 2};
        QTest::newRow("the neutral army never plays") << 3 << "neutral" << QVector<int>{2, 1, 2, 1, 2};
    }
    void turnOrder()
    {
        QFETCH(int, players);
        QFETCH(QString, options);
        QFETCH(QVector<int>, order);
        QVERIFY(loadRingMap());
        spread(players, 6);
        neutralArmyActive = options.contains(QLatin1String("neutral")) ? 1 : 0;
        playAs(1);
        QVector<int> seen;
        for (int turn = 0; turn < order.size() && !gameOver; ++turn) {
            clearStepQueues();
            runComputerTurns();
            seen << currentPlayer;
            // One turn per call, and the next is asked for through message step 5.
            QCOMPARE(messageQueueCount, 1);
            QCOMPARE(messageQueue[1].type, 5);
            QCOMPARE(messageQueue[1].arg[1], 1);
        }
        QCOMPARE(seen, order);
        if (neutralArmyActive)
            QCOMPARE(turnsTaken[3], 0);
    }

    void computerTurnsRunUpToTheHuman()
    {
        QVERIFY(loadRingMap());
        spread(4, 6);
        humanPlayerCount = 1;
        playAs(2);
        turnStarted = 1;
        runComputerTurns();
        QCOMPARE(currentPlayer, 1);
        QCOMPARE(turnStarted, quint8(0));
        QCOMPARE(messageQueueCount, 0);
        QCOMPARE((QVector<int>{turnsTaken[1], turnsTaken[2], turnsTaken[3], turnsTaken[4]}),
                 (QVector<int>{0, 1, 1, 1}));
        QStringList next;
        for (const QString &text : actionQueueTexts())
            if (text.endsWith(QLatin1String(" is next.")))
                next << text;
        QCOMPARE(next, (QStringList{"pc 2 is next.", "pc 3 is next.", "pc 4 is next."}));

        // The human's turn is not played by the computer, nor passed on.
        clearStepQueues();
        runComputerTurns();
        QCOMPARE(currentPlayer, 1);
        QCOMPARE(actionQueueCount, 0);
        QCOMPARE(turnsTaken[1], 0);
    }

    void aLoneSurvivorStillReturns()
    {
        // Nobody else can play and the game is not over: the call plays one turn and returns.
        QVERIFY(loadRingMap());
        spread(1, 2);
        playerCount = 3;
        playAs(1);
        runComputerTurns();
        QCOMPARE(currentPlayer, 1);
        QCOMPARE(turnsTaken[1], 1);
        QCOMPARE(messageQueueCount, 1);
    }
};

TARVAN_TEST_MAIN(TestAiTurn)
#include "test_ai_turn.moc"
