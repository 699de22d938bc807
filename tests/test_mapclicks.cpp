// Map clicks by the phase of a human turn, played in a window on the World map at the points
// where the territories' labels are drawn: a whole turn from the initial placement to Next and
// the computer players' turns that follow, and what each phase refuses.

#include "test_mapclicks_support.h"

#include "rules/Attack.h"
#include "rules/GameStart.h"
#include "rules/TurnFlow.h"
#include "state/MapPicture.h"

using namespace clicks_test;

namespace {

constexpr int kMoveRow = 4;
constexpr int kAttackRow = 6;
constexpr int kNextRow = 7;

// A click on a territory's label, as a player makes it.
void userClick(ViewArea &window, int t)
{
    mouseClickAt(window, labelPoint(t));
}

bool enemyOf(int t)
{
    return isValidTerritory(t) && territoryState[t].owner != currentPlayer;
}

bool ownOf(int t)
{
    return isValidTerritory(t) && territoryState[t].owner == currentPlayer;
}

// A territory of player 1 that is no neighbour of t.
int farFrom(int t, int owner)
{
    return findTerritory(owner, [t](int u) { return u != t && !isNeighbour(t, u); });
}

int messageTextCount(const QString &text)
{
    return messageQueueTexts().count(text);
}

} // namespace

class TestMapClicks : public QObject, private ClickFixture {
    Q_OBJECT

private slots:
    void init()
    {
        start(11);
    }

    void cleanup()
    {
        stop();
    }

    // ---- A whole turn ----

    void aWholeHumanTurnOnWorldThroughClicks()
    {
        // A new game of one human and two computer players, as the set-up starts it.
        dealTerritories();
        startLocalGame();
        mapPaintState = QStringLiteral("0");
        paintWindow(*window);
        QVERIFY(tickUntil(*window, [] { return initialPlacementPhase && currentPlayer == 1 && actionQueueCount == 0; }));
        QCOMPARE(armiesToPlace, initialArmies);
        QCOMPARE(initialArmies, 21);

        // The initial placement: an own territory, then the largest count offered (at most
        // three a click, at most four on a territory).
        int placed = 0;
        for (int guard = 0; guard < 40 && initialPlacementPhase && currentPlayer == 1; ++guard) {
            QVERIFY(tickUntil(*window, [] { return actionQueueCount == 0; }));
            const int t = findTerritory(1, [](int u) { return initialPlacementLimit(u) >= 1; });
            const int before = territoryState[t].armies;
            const int limit = initialPlacementLimit(t);
            userClick(*window, t);
            QVERIFY(armyQuestionOpen(*window));
            QCOMPARE(largestOffered(*window), limit);
            QVERIFY(limit <= 3 && before + limit <= 4);
            answerArmies(*window, limit);
            QVERIFY(!window->armyCountDialog->isVisible());
            QCOMPARE(dialogOpen, quint8(0));
            QCOMPARE(territoryState[t].armies, before + limit);
            placed += limit;
        }
        QCOMPARE(placed, 21);

        // The others place, and the first player begins; player 1's turn comes.
        QVERIFY(tickUntil(*window, [] { return currentPlayer == 1 && turnStarted && queuesDrained(); }));
        QVERIFY(!initialPlacementPhase);
        for (int guard = 0; guard < 10 && continentBonusPhase; ++guard) {
            userClick(*window, findTerritory(1, [](int) { return true; }));
            answerArmies(*window, largestOffered(*window));
        }
        QVERIFY(tickUntil(*window, queuesDrained));
        QCOMPARE(statusLine, QStringLiteral("Choose Add or Attack"));
        QVERIFY(inGameButtonEnabled[ButtonAdd]);

        // The strongest own territory against its weakest enemy neighbour.
        int source = 0;
        int target = 0;
        for (int t = 1; t <= territoryCount; ++t) {
            if (!ownOf(t))
                continue;
            const int g = neighbourWhere(t, [](int u) { return enemyOf(u); });
            if (g == 0)
                continue;
            for (int i = 1; i <= kMaxNeighbours && territoryNeighbours[t][i] != 0; ++i) {
                const int u = territoryNeighbours[t][i];
                if (enemyOf(u) && (source == 0 || territoryState[t].armies - territoryState[u].armies
                                                      > territoryState[source].armies - territoryState[target].armies)) {
                    source = t;
                    target = u;
                }
            }
        }
        QVERIFY(source != 0);

        // Reinforcement by a click on the map alone (the quick add).
        const int due = territoryArmiesDue;
        QVERIFY(due >= 3);
        const int sourceBefore = territoryState[source].armies;
        userClick(*window, source);
        QVERIFY(territoryBonusPhase);
        QCOMPARE(messageQueueTexts().last(), QStringLiteral("Add %1 armies based on your territories.").arg(due));
        QCOMPARE(inGameButtonEnabled[ButtonAttack], quint8(0));
        // The dialog takes the place of Cancel while it asks.
        QCOMPARE(inGameButtonEnabled[ButtonCancel], quint8(0));
        QVERIFY(pendingTerritoryBonusCount);
        QVERIFY(armyQuestionOpen(*window));
        QCOMPARE(largestOffered(*window), due);
        answerArmies(*window, due);
        QCOMPARE(territoryState[source].armies, sourceBefore + due);
        QCOMPARE(territoryArmiesDue, 0);
        QVERIFY(tickUntil(*window, queuesDrained));

        // Attacks from the source on the target until it falls.
        QVERIFY(inGameButtonEnabled[ButtonAttack]);
        mouseClickAt(*window, gameButtonPoint(kAttackRow));
        const int enemy = territoryState[target].owner;
        for (int guard = 0; guard < 10 && territoryState[target].owner == enemy; ++guard) {
            QVERIFY(attackSourcePhase);
            QVERIFY(territoryState[source].armies >= 2);
            userClick(*window, source);
            QVERIFY(attackTargetPhase);
            QCOMPARE(sourceTerritory, source);
            QCOMPARE(messageQueueTexts().last(), QStringLiteral("to ?"));
            userClick(*window, target);
            QVERIFY(armyQuestionOpen(*window));
            QCOMPARE(largestOffered(*window), territoryState[source].armies - 1);
            answerArmies(*window, largestOffered(*window));
            QVERIFY(attackMadeThisTurn);
            QVERIFY(tickUntil(*window, [] { return queuesDrained() || dialogOpen; }));
        }
        QCOMPARE(territoryState[target].owner, 1);

        // The conquest asks how many armies follow (message step 22).
        QVERIFY(armyQuestionOpen(*window));
        QVERIFY(pendingConquestMoveCount);
        QCOMPARE(largestOffered(*window), territoryState[source].armies - 1);
        const int moveIn = largestOffered(*window);
        const int targetBefore = territoryState[target].armies;
        answerArmies(*window, moveIn);
        QCOMPARE(territoryState[target].armies, targetBefore + moveIn);
        QCOMPARE(territoryState[source].armies, 1);
        QVERIFY(tickUntil(*window, queuesDrained));

        // A move between two own neighbours, within the allowance of seven.
        QCOMPARE(moveAllowance, 7);
        QVERIFY(inGameButtonEnabled[ButtonMove]);
        mouseClickAt(*window, gameButtonPoint(kMoveRow));
        const int from = target;
        const int to = source;
        userClick(*window, from);
        QVERIFY(moveTargetPhase);
        QCOMPARE(messageQueueTexts().last(), QStringLiteral("to ? "));
        userClick(*window, to);
        QVERIFY(armyQuestionOpen(*window));
        QCOMPARE(largestOffered(*window), qMin(7, territoryState[from].armies - 1));
        const int fromBefore = territoryState[from].armies;
        answerArmies(*window, 1);
        QCOMPARE(territoryState[from].armies, fromBefore - 1);
        QCOMPARE(territoryState[to].armies, 2);
        QCOMPARE(moveAllowance, 6);
        QVERIFY(tickUntil(*window, queuesDrained));

        // Next: the computer players play their turns and player 1's second turn begins.
        const auto turnsBefore = turnsTaken;
        QVERIFY(inGameButtonEnabled[ButtonNext]);
        mouseClickAt(*window, gameButtonPoint(kNextRow));
        QCOMPARE(messageQueueTypes(), QList<int>{23});
        QVERIFY(tickUntil(*window, [] { return turnsTaken[1] == 1 && currentPlayer == 1 && turnStarted && queuesDrained(); }));
        QCOMPARE(turnsTaken[2], turnsBefore[2] + 1);
        QCOMPARE(turnsTaken[3], turnsBefore[3] + 1);
        QCOMPARE(ui.beeps, 0);
        for (int t = 1; t <= territoryCount; ++t) {
            QCOMPARE(displayedTerritoryState[t].owner, territoryState[t].owner);
            QCOMPARE(displayedTerritoryState[t].armies, territoryState[t].armies);
        }
    }

    // ---- Whose click ----

    void aClickIsTakenOnlyWhenItCanMeanSomething_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<int>("beeps");
        QTest::addColumn<bool>("asked");

        QTest::newRow("placement while steps are queued") << "placement busy" << 1 << false;
        QTest::newRow("placement at another seat's turn") << "placement other seat" << 1 << false;
        QTest::newRow("placement") << "placement" << 0 << true;
        QTest::newRow("attack while another seat plays") << "attack other seat" << 1 << false;
        QTest::newRow("no phase, Add off") << "no phase" << 1 << false;
        QTest::newRow("no phase after the game") << "game over" << 0 << false;
        QTest::newRow("quick add on an enemy") << "quick add enemy" << 1 << false;
        QTest::newRow("nothing under the pointer") << "off the map" << 0 << false;
        QTest::newRow("quick add off the map") << "quick add off the map" << 1 << false;
    }

    void aClickIsTakenOnlyWhenItCanMeanSomething()
    {
        QFETCH(QString, situation);
        QFETCH(int, beeps);
        QFETCH(bool, asked);

        int t = findTerritory(1, [](int) { return true; });
        if (situation.startsWith(QLatin1String("placement"))) {
            initialPlacementPhase = 1;
            armiesToPlace = 5;
        }
        if (situation == QLatin1String("placement busy"))
            pushActionStep(makeStep(12));
        if (situation.endsWith(QLatin1String("other seat"))) {
            networkSeat = 2;
            currentPlayer = 3;
            t = findTerritory(3, [](int) { return true; });
        }
        if (situation == QLatin1String("attack other seat"))
            setTerritory(t, 3, 5);
        attackSourcePhase = situation.startsWith(QLatin1String("attack")) ? 1 : 0;
        gameOver = situation == QLatin1String("game over") ? 1 : 0;
        if (situation.startsWith(QLatin1String("quick add"))) {
            inGameButtonEnabled[ButtonAdd] = 1;
            territoryArmiesDue = 4;
            t = findTerritory(2, [](int) { return true; });
        }
        const int armiesBefore = territoryState[t].armies;

        if (situation.endsWith(QLatin1String("off the map"))) {
            attackSourcePhase = situation == QLatin1String("off the map") ? 1 : 0;
            clickAt(*window, QPoint(window->width() - 2, 2));
        } else {
            clickTerritory(*window, t);
        }
        QCOMPARE(ui.beeps, beeps);
        QCOMPARE(armyQuestionOpen(*window), asked);
        QCOMPARE(territoryBonusPhase, quint8(0));
        QCOMPARE(territoryState[t].armies, armiesBefore);
        if (!asked)
            QCOMPARE(territoryMark[t], 'n');
    }

    // ---- The initial placement and the stronghold ----

    void initialPlacementLimits_data()
    {
        QTest::addColumn<int>("toPlace");
        QTest::addColumn<int>("armies");
        QTest::addColumn<bool>("stronghold");
        QTest::addColumn<int>("offered"); // 0: refused

        QTest::newRow("5 to place, 2 on it") << 5 << 2 << false << 2;
        QTest::newRow("1 to place") << 1 << 1 << false << 1;
        QTest::newRow("three a click") << 9 << 1 << false << 3;
        QTest::newRow("already 4") << 5 << 4 << false << 0;
        QTest::newRow("the stronghold") << 5 << 1 << true << 0;
    }

    void initialPlacementLimits()
    {
        QFETCH(int, toPlace);
        QFETCH(int, armies);
        QFETCH(bool, stronghold);
        QFETCH(int, offered);

        initialPlacementPhase = 1;
        armiesToPlace = toPlace;
        const int t = findTerritory(1, [](int) { return true; });
        setTerritory(t, 1, armies);
        if (stronghold)
            playerTable[1].stronghold() = t;
        clickTerritory(*window, t);
        QCOMPARE(armyQuestionOpen(*window), offered > 0);
        QCOMPARE(ui.beeps, offered > 0 ? 0 : 1);
        if (offered > 0) {
            QCOMPARE(largestOffered(*window), offered);
            QVERIFY(pendingPlacementCount);
            QCOMPARE(territoryMark[t], 'j');
        }
    }

    void aStrongholdIsChosenOnceAndThePlacementFollows_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("local game") << int(ModeSinglePlayer);
        QTest::newRow("network host") << int(ModeHost);
    }

    void aStrongholdIsChosenOnceAndThePlacementFollows()
    {
        QFETCH(int, mode);
        gameMode = mode;
        networkSeat = mode == ModeHost ? 1 : 0;
        strongholdPhase = 1;
        initialPlacementPhase = 1;
        initialArmies = 21;
        const int t = findTerritory(1, [](int) { return true; });
        clickTerritory(*window, t);
        QCOMPARE(territoryState[t].armies, 15);
        QCOMPARE(playerTable[1].stronghold(), t);
        QCOMPARE(strongholdPhase, quint8(0));
        QVERIFY(initialPlacementPhase);
        QCOMPARE(armiesToPlace, 21);
        QCOMPARE(messageQueueTexts().last(),
                 QStringLiteral("Select a territory for initial army placement, available: 21"));
        QCOMPARE(statusLine, QStringLiteral("Player 1, initial placement of 21 armies."));
        QVERIFY(actionQueueTypes().contains(7));
        QVERIFY(!armyQuestionOpen(*window));

        // A territory next to that stronghold may not be another player's stronghold.
        if (mode != ModeSinglePlayer)
            return;
        clearStepQueues();
        currentPlayer = 2;
        strongholdPhase = 1;
        const int next = neighbourWhere(t, [](int u) { return territoryState[u].owner == 2; });
        QVERIFY(next != 0);
        clickTerritory(*window, next);
        QCOMPARE(playerTable[2].stronghold(), 0);
        QCOMPARE(ui.beeps, 1);
        QVERIFY(strongholdPhase);
    }

    // ---- Attacks ----

    void anAttackSourceNeedsArmiesAndAnEnemy_data()
    {
        QTest::addColumn<int>("armies");
        QTest::addColumn<bool>("enemyNext");
        QTest::addColumn<int>("beeps");

        QTest::newRow("1 army, no enemy") << 1 << false << 2;
        QTest::newRow("1 army, an enemy") << 1 << true << 1;
        QTest::newRow("3 armies, no enemy") << 3 << false << 1;
        QTest::newRow("3 armies, an enemy") << 3 << true << 0;
    }

    void anAttackSourceNeedsArmiesAndAnEnemy()
    {
        QFETCH(int, armies);
        QFETCH(bool, enemyNext);
        QFETCH(int, beeps);

        const int s = 1;
        const int n = prepareAttack(armies, 3);
        if (!enemyNext)
            setTerritory(n, 1, 1);
        enterAttackPhase();
        clickTerritory(*window, s);
        QCOMPARE(ui.beeps, beeps);
        const bool accepted = beeps == 0;
        QCOMPARE(attackTargetPhase, quint8(accepted));
        QCOMPARE(attackSourcePhase, quint8(!accepted));
        QCOMPARE(sourceTerritory, accepted ? s : 0);
        QCOMPARE(territoryMark[s], accepted ? 'j' : 'n');
        QCOMPARE(messageTextCount(QStringLiteral("to ?")), accepted ? 1 : 0);
        if (accepted) {
            QCOMPARE(inGameButtonEnabled[ButtonCancel], quint8(1));
            QCOMPARE(inGameButtonEnabled[ButtonMove], quint8(0));
            QCOMPARE(inGameButtonEnabled[ButtonAttack], quint8(0));
        }
    }

    void anAttackTargetMustBeAnEnemyNeighbour_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("beeps");
        QTest::newRow("enemy neighbour") << "neighbour" << 0;
        QTest::newRow("enemy far away") << "far" << 1;
        QTest::newRow("own territory") << "own" << 1;
        QTest::newRow("the source again") << "source" << 1;
    }

    void anAttackTargetMustBeAnEnemyNeighbour()
    {
        QFETCH(QString, target);
        QFETCH(int, beeps);

        const int s = 1;
        const int n = prepareAttack(6, 3);
        enterAttackPhase();
        clickTerritory(*window, s);
        QVERIFY(attackTargetPhase);
        int g = n;
        if (target == QLatin1String("far"))
            g = farFrom(s, 3);
        else if (target == QLatin1String("own"))
            g = territoryNeighbours[s][2];
        else if (target == QLatin1String("source"))
            g = s;
        clickTerritory(*window, g);
        QCOMPARE(ui.beeps, beeps);
        QCOMPARE(armyQuestionOpen(*window), beeps == 0);
        // The source stays chosen whatever the click.
        QVERIFY(attackTargetPhase);
        QCOMPARE(sourceTerritory, s);
        if (beeps == 0) {
            QCOMPARE(targetTerritory, n);
            QCOMPARE(largestOffered(*window), 5);
            QVERIFY(pendingAttackCount);
            QCOMPARE(inGameButtonEnabled[ButtonCancel], quint8(0));
        } else {
            QCOMPARE(targetTerritory, 0);
            if (g != s)
                QCOMPARE(territoryMark[g], 'n');
        }
    }

    void aConquestWaitingForItsMoveHoldsNewClicks()
    {
        // The battle is won and its move-in question still queued behind the battle's steps.
        const int s = 1;
        const int n = prepareAttack(9, 1);
        for (int tries = 0; tries < 5 && territoryState[n].owner != 1; ++tries) {
            askAttack(*window, n);
            answerArmies(*window, largestOffered(*window));
        }
        QCOMPARE(territoryState[n].owner, 1);
        QVERIFY(conquestMovePending);
        QVERIFY(attackSourcePhase);
        const int armies = territoryState[s].armies;

        // Another source now would leave that question to act on the new choice.
        const int beeps = ui.beeps;
        clickTerritory(*window, s);
        QCOMPARE(ui.beeps, beeps + 1);
        QCOMPARE(attackTargetPhase, quint8(0));

        // The question comes as a step of the game loop and moves the armies into the conquest.
        QVERIFY(tickUntil(*window, [] { return dialogOpen != 0; }));
        QVERIFY(armyQuestionOpen(*window));
        QVERIFY(pendingConquestMoveCount);
        QCOMPARE(largestOffered(*window), armies - 1);
        QCOMPARE(window->armyCountButton[1]->text(), QStringLiteral("Move 1 army"));
        saveScreenshot(dialogOverGame(*window, *window->armyCountDialog), QStringLiteral("army-count-dialog.png"));
        answerArmies(*window, armies - 1);
        QCOMPARE(territoryState[n].armies, armies);
        QCOMPARE(territoryState[s].armies, 1);
        QVERIFY(!conquestMovePending);
        QVERIFY(tickUntil(*window, queuesDrained, 200));
        QCOMPARE(statusLine, QStringLiteral("Attack from ? or choose Move or Next."));
    }

    // ---- Moves ----

    void aMoveSourceNeedsArmiesAndAnOwnNeighbour_data()
    {
        QTest::addColumn<int>("armies");
        QTest::addColumn<bool>("ownNext");
        QTest::addColumn<int>("beeps");
        QTest::newRow("1 army, no own neighbour") << 1 << false << 2;
        QTest::newRow("4 armies, no own neighbour") << 4 << false << 1;
        QTest::newRow("1 army, an own neighbour") << 1 << true << 1;
        QTest::newRow("4 armies, an own neighbour") << 4 << true << 0;
    }

    void aMoveSourceNeedsArmiesAndAnOwnNeighbour()
    {
        QFETCH(int, armies);
        QFETCH(bool, ownNext);
        QFETCH(int, beeps);

        surroundWith(1, ownNext ? 1 : 2);
        setTerritory(1, 1, armies);
        recountAllPlayers();
        moveAllowance = 7;
        inGameButtonEnabled[ButtonNext] = 1;
        enterMovePhase();
        clickTerritory(*window, 1);
        QCOMPARE(ui.beeps, beeps);
        const bool accepted = beeps == 0;
        QCOMPARE(moveTargetPhase, quint8(accepted));
        QCOMPARE(moveSourcePhase, quint8(!accepted));
        QCOMPARE(messageTextCount(QStringLiteral("to ? ")), accepted ? 1 : 0);
        QCOMPARE(inGameButtonEnabled[ButtonNext], quint8(!accepted));
    }

    void aMoveGoesToAnOwnNeighbourWithinTheAllowance_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("sourceArmies");
        QTest::addColumn<int>("allowance");
        QTest::addColumn<int>("beeps");
        QTest::addColumn<int>("offered");

        QTest::newRow("7 armies, allowance 3") << "neighbour" << 7 << 3 << 0 << 3;
        QTest::newRow("2 armies") << "neighbour" << 2 << 7 << 0 << 1;
        QTest::newRow("the source again") << "source" << 7 << 7 << 2 << 0;
        QTest::newRow("own but far") << "far" << 7 << 7 << 1 << 0;
        QTest::newRow("an enemy") << "enemy" << 7 << 7 << 1 << 0;
        QTest::newRow("no allowance left") << "neighbour" << 7 << 0 << 1 << 0;
    }

    void aMoveGoesToAnOwnNeighbourWithinTheAllowance()
    {
        QFETCH(QString, target);
        QFETCH(int, sourceArmies);
        QFETCH(int, allowance);
        QFETCH(int, beeps);
        QFETCH(int, offered);

        surroundWith(1, 1);
        setTerritory(1, 1, sourceArmies);
        const int enemy = territoryNeighbours[1][2];
        setTerritory(enemy, 2, 2);
        recountAllPlayers();
        moveAllowance = allowance;
        enterMovePhase();
        clickTerritory(*window, 1);
        QVERIFY(moveTargetPhase);
        int g = territoryNeighbours[1][1];
        if (target == QLatin1String("source"))
            g = 1;
        else if (target == QLatin1String("far"))
            g = farFrom(1, 1);
        else if (target == QLatin1String("enemy"))
            g = enemy;
        clickTerritory(*window, g);
        QCOMPARE(ui.beeps, beeps);
        QCOMPARE(armyQuestionOpen(*window), offered > 0);
        QCOMPARE(sourceTerritory, 1);
        QVERIFY(moveTargetPhase);
        if (offered > 0) {
            QCOMPARE(largestOffered(*window), offered);
            QCOMPARE(targetTerritory, g);
            QVERIFY(pendingMoveCount);
            QCOMPARE(saveAllowed, quint8(0));
        }
    }

    // ---- Bonus placements ----

    void bonusArmiesArePlacedWhereTheyAreDue_data()
    {
        QTest::addColumn<int>("phase"); // 1 territories, 2 continents, 3 cards
        QTest::addColumn<int>("due");
        QTest::newRow("territories") << 1 << 5;
        QTest::newRow("continents") << 2 << 7;
        QTest::newRow("cards") << 3 << 12;
    }

    void bonusArmiesArePlacedWhereTheyAreDue()
    {
        QFETCH(int, phase);
        QFETCH(int, due);
        quint8 *flags[] = {nullptr, &territoryBonusPhase, &continentBonusPhase, &cardBonusPhase};
        qint32 *dues[] = {nullptr, &territoryArmiesDue, &continentArmiesDue, &cardArmiesDue};
        *flags[phase] = 1;
        *dues[phase] = due;
        const int own = findTerritory(1, [](int) { return true; });
        const int foreign = findTerritory(2, [](int) { return true; });

        clickTerritory(*window, foreign);
        QCOMPARE(ui.beeps, 1);
        QVERIFY(!armyQuestionOpen(*window));

        clickTerritory(*window, own);
        QVERIFY(armyQuestionOpen(*window));
        QCOMPARE(largestOffered(*window), due);
        answerArmies(*window, due);
        QCOMPARE(territoryState[own].armies, 1 + due);
        QCOMPARE(*dues[phase], 0);
    }
};

TARVAN_TEST_MAIN(TestMapClicks)
#include "test_mapclicks.moc"
