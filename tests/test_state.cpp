// The game-state core: the step queues and their pushers, the initial armies, the per-game
// counters and the random source.

#include "TestSupport.h"

#include "state/GameState.h"
#include "state/StepQueues.h"

class TestState : public QObject {
    Q_OBJECT

private slots:
    void init() { resetAllGameState(); }

    void actionQueueNeverWritesPastItsEnd()
    {
        int accepted = 0;
        for (int i = 0; i < kActionQueueCapacity + 50; ++i)
            accepted += pushActionStep(makeStep(12, i)) ? 1 : 0;
        QCOMPARE(accepted, kActionQueueCapacity);
        QCOMPARE(actionQueueCount, kActionQueueCapacity);
        // The last accepted step is intact; the dropped ones left no trace.
        QCOMPARE(actionQueue[kActionQueueCapacity].arg[1], kActionQueueCapacity - 1);
        QVERIFY(!actionQueueHasRoom(1));
    }

    void messageQueueNeverWritesPastItsEnd()
    {
        for (int i = 0; i < kMessageQueueCapacity + 10; ++i)
            queueMessage(QStringLiteral("m%1").arg(i));
        QCOMPARE(messageQueueCount, kMessageQueueCapacity);
        QCOMPARE(messageQueue[kMessageQueueCapacity].text, QStringLiteral("m199"));
        QVERIFY(!pushMessageStep(makeStep(20)));
    }

    void queuePlacementCarriesTheTerritoryAsItStands()
    {
        territoryState[7] = {3, 12};
        highlightChanges = 1;
        nextSoundId = 2;
        nextArmyDelta = 5;
        queuePlacement(7);
        QCOMPARE(actionQueueCount, 1);
        const QueueStep &step = actionQueue[1];
        QCOMPARE(step.type, 1);
        QCOMPARE(step.arg[1], 7);
        QCOMPARE(step.arg[2], 12);
        QCOMPARE(step.arg[3], 3);
        QCOMPARE(step.arg[4], 1);
        QCOMPARE(step.arg[5], 2);
        QCOMPARE(step.arg[6], 5);
        QCOMPARE(territoryChanged[7], 'j');
        // The sound and the delta are taken by the step; the next placement carries neither.
        highlightChanges = 0;
        queuePlacement(7);
        QCOMPARE(actionQueue[2].arg[4], 0);
        QCOMPARE(actionQueue[2].arg[5], 0);
        QCOMPARE(actionQueue[2].arg[6], 0);
        QCOMPARE(territoryChanged[7], 'n');
    }

    void queuePlacementIgnoresTerritoriesOutsideTheTable_data()
    {
        QTest::addColumn<int>("territory");
        QTest::newRow("zero") << 0;
        QTest::newRow("negative") << -3;
        QTest::newRow("past the table") << kMaxTerritories + 1;
    }

    void queuePlacementIgnoresTerritoriesOutsideTheTable()
    {
        QFETCH(int, territory);
        queuePlacement(territory);
        QCOMPARE(actionQueueCount, 0);
    }

    void textEventsStopAtFiveHundredSteps()
    {
        for (int i = 0; i < 600; ++i)
            queueTextEvent(QStringLiteral("attack"));
        QCOMPARE(actionQueueCount, kTextEventLimit + 1);
        QCOMPARE(actionQueue[1].type, 2);
        QCOMPARE(actionQueue[1].arg[1], 6);
        // Territory steps still find room after the text limit.
        territoryState[1] = {1, 1};
        queuePlacement(1);
        QCOMPARE(actionQueueCount, kTextEventLimit + 2);
    }

    void queueMessageTakesTheSound()
    {
        nextSoundId = 6;
        queueMessage(QStringLiteral("Next player"));
        QCOMPARE(messageQueue[1].type, 1);
        QCOMPARE(messageQueue[1].arg[1], 11);
        QCOMPARE(messageQueue[1].arg[2], 6);
        QCOMPARE(nextSoundId, 0);
    }

    void initialArmiesByPlayers_data()
    {
        QTest::addColumn<int>("territories");
        QTest::addColumn<int>("players");
        QTest::addColumn<int>("armies");
        QTest::newRow("42, 3 players") << 42 << 3 << 21;
        QTest::newRow("42, 4 players") << 42 << 4 << 20;
        QTest::newRow("42, 5 players") << 42 << 5 << 16;
        QTest::newRow("42, 6 players") << 42 << 6 << 13;
        QTest::newRow("42, 10 players") << 42 << 10 << 8;
        QTest::newRow("200, 2 players") << 200 << 2 << 186;
        QTest::newRow("no players") << 42 << 0 << 0;
    }

    void initialArmiesByPlayers()
    {
        QFETCH(int, territories);
        QFETCH(int, players);
        territoryCount = territories;
        playerCount = players;
        computeInitialArmies();
        QTEST(initialArmies, "armies");
    }

    void reinforcementDivisorByTerritories_data()
    {
        QTest::addColumn<int>("territories");
        QTest::addColumn<int>("divisor");
        QTest::newRow("42") << 42 << 3;
        QTest::newRow("90") << 90 << 3;
        QTest::newRow("91") << 91 << 4;
        QTest::newRow("120") << 120 << 4;
        QTest::newRow("121") << 121 << 5;
        QTest::newRow("151") << 151 << 6;
        QTest::newRow("181") << 181 << 7;
        QTest::newRow("200") << 200 << 7;
    }

    void reinforcementDivisorByTerritories()
    {
        QFETCH(int, territories);
        QTEST(reinforcementDivisorFor(territories), "divisor");
    }

    void resetGameCountersRestoresTheDeck()
    {
        cardDeckCounts = {0, 3, 1, 0};
        territoryMark[5] = 'j';
        territoryCount = 200;
        resetGameCounters();
        QCOMPARE(cardDeckCounts[CardWild], 2);
        QCOMPARE(cardDeckCounts[CardCavalry], 17);
        QCOMPARE(cardDeckCounts[CardInfantry], 17);
        QCOMPARE(cardDeckCounts[CardArtillery], 17);
        QCOMPARE(territoryMark[5], 'n');
        QCOMPARE(territoriesPer12, 10);
    }

    void seededRandomSourceRepeats()
    {
        randomSource().seed(99);
        QList<int> first;
        for (int i = 0; i < 20; ++i)
            first.append(randomSource().below(6));
        randomSource().seed(99);
        for (int i = 0; i < 20; ++i)
            QCOMPARE(randomSource().below(6), first[i]);
        for (int i = 0; i < 1000; ++i) {
            const int die = randomSource().between(1, 6);
            QVERIFY(die >= 1 && die <= 6);
        }
    }

    // Each start of the program draws other numbers; a seed set afterwards still repeats.
    void theStartSeedIsFreshEveryTime()
    {
        const auto draw = [] {
            QList<int> numbers;
            for (int i = 0; i < 8; ++i)
                numbers.append(randomSource().below(1000000));
            return numbers;
        };
        seedRandomSourceFromSystem();
        const QList<int> first = draw();
        seedRandomSourceFromSystem();
        QVERIFY(draw() != first);
        randomSource().seed(99);
        const QList<int> seeded = draw();
        seedRandomSourceFromSystem();
        randomSource().seed(99);
        QCOMPARE(draw(), seeded);
    }
};

TARVAN_TEST_MAIN(TestState)
#include "test_state.moc"
