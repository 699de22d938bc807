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

        // The initial placement: an own territory, then the largest count it takes.
        int placed = 0;
        for (int guard = 0; guard < 40 && initialPlacementPhase && currentPlayer == 1; ++guard) {
            QVERIFY(tickUntil(*window, [] { return actionQueueCount == 0; }));
            const int t = findTerritory(1, [](int u) { return initialPlacementLimit(u) >= 1; });
            const int before = territoryState[t].armies;
            const int limit = initialPlacementLimit(t);
            userClick(*window, t);
            answerArmies(*window, limit);
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
            for (int i = 1; ownOf(t) && i <= kMaxNeighbours && territoryNeighbours[t][i] != 0; ++i) {
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
        QCOMPARE(inGameButtonEnabled[ButtonAttack], quint8(0));
        // The dialog takes the place of Cancel while it asks.
        QCOMPARE(inGameButtonEnabled[ButtonCancel], quint8(0));
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
            userClick(*window, target);
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
        userClick(*window, to);
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
        QCOMPARE(displayedTerritoryState, territoryState);
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

    // ---- The end of a turn ----

    // An attack source picked and then left by Next Player is not lit into the next player's
    // turn. (While a move source is picked, Next Player is off.)
    void aPickedSourceGoesDarkWhenTheTurnEnds()
    {
        prepareAttack(4, 1);
        refreshTurnButtons();
        paintWindow(*window);
        mouseClickAt(*window, gameButtonPoint(kAttackRow));
        userClick(*window, 1);
        QCOMPARE(territoryChanged[1], 'j');
        QCOMPARE(territoryMark[1], 'j');
        QVERIFY(attackTargetPhase);

        mouseClickAt(*window, gameButtonPoint(kNextRow));
        QVERIFY(tickUntil(*window, [] { return currentPlayer != 1; }));
        QCOMPARE(territoryChanged[1], 'n');
        QCOMPARE(territoryMark[1], 'n');
        // Drawn plain too: painting it plain again changes no pixel.
        const QImage shown = mapImage.copy();
        updateTerritoryDisplay(1, displayedTerritoryState[1].armies, displayedTerritoryState[1].owner, 0, 0, 0);
        QCOMPARE(mapImage, shown);
        QCOMPARE(ui.beeps, 0);
    }

    // ---- Attacks ----

    // A source of an attack needs an enemy neighbour, of a move an own one, and two armies.
    void aSourceNeedsArmiesAndAFittingNeighbour_data()
    {
        QTest::addColumn<bool>("attack");
        QTest::addColumn<int>("armies");
        QTest::addColumn<bool>("fitting");
        QTest::addColumn<int>("beeps");
        for (const bool attack : {true, false}) {
            const char *phase = attack ? "attack" : "move";
            QTest::addRow("%s: 1 army, no neighbour", phase) << attack << 1 << false << 2;
            QTest::addRow("%s: 1 army, a neighbour", phase) << attack << 1 << true << 1;
            QTest::addRow("%s: 4 armies, no neighbour", phase) << attack << 4 << false << 1;
            QTest::addRow("%s: 4 armies, a neighbour", phase) << attack << 4 << true << 0;
        }
    }

    void aSourceNeedsArmiesAndAFittingNeighbour()
    {
        QFETCH(bool, attack);
        QFETCH(int, armies);
        QFETCH(bool, fitting);
        QFETCH(int, beeps);

        // Every neighbour player 1's, or with `fitting` for an attack, the first one an enemy's;
        // for a move without `fitting`, all of them an enemy's.
        surroundWith(1, attack || fitting ? 1 : 2);
        setTerritory(1, 1, armies);
        if (attack && fitting)
            setTerritory(territoryNeighbours[1][1], 2, 3);
        recountAllPlayers();
        moveAllowance = 7;
        inGameButtonEnabled[ButtonNext] = 1;
        attack ? enterAttackPhase() : enterMovePhase();
        clickTerritory(*window, 1);
        QCOMPARE(ui.beeps, beeps);
        const bool accepted = beeps == 0;
        QCOMPARE(attack ? attackTargetPhase : moveTargetPhase, quint8(accepted));
        QCOMPARE(attack ? attackSourcePhase : moveSourcePhase, quint8(!accepted));
        QCOMPARE(sourceTerritory, accepted ? 1 : 0);
        QCOMPARE(messageTextCount(attack ? QStringLiteral("to ?") : QStringLiteral("to ? ")), accepted ? 1 : 0);
        if (!attack) {
            QCOMPARE(inGameButtonEnabled[ButtonNext], quint8(!accepted));
            return;
        }
        QCOMPARE(territoryMark[1], accepted ? 'j' : 'n');
        if (accepted) {
            QCOMPARE(inGameButtonEnabled[ButtonCancel], quint8(1));
            QCOMPARE(inGameButtonEnabled[ButtonMove], quint8(0));
            QCOMPARE(inGameButtonEnabled[ButtonAttack], quint8(0));
        }
    }

    // With the source chosen: an attack goes to an enemy neighbour, a move to an own one within
    // the allowance; the source stays chosen whatever the click.
    void aTargetMustFitTheSource_data()
    {
        QTest::addColumn<bool>("attack");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("sourceArmies");
        QTest::addColumn<int>("allowance");
        QTest::addColumn<int>("beeps");
        QTest::addColumn<int>("offered");
        QTest::newRow("attack: enemy neighbour") << true << "enemy" << 6 << 7 << 0 << 5;
        QTest::newRow("attack: enemy far away") << true << "far enemy" << 6 << 7 << 1 << 0;
        QTest::newRow("attack: own territory") << true << "own" << 6 << 7 << 1 << 0;
        QTest::newRow("attack: the source again") << true << "source" << 6 << 7 << 1 << 0;
        QTest::newRow("move: 7 armies, allowance 3") << false << "own" << 7 << 3 << 0 << 3;
        QTest::newRow("move: 2 armies") << false << "own" << 2 << 7 << 0 << 1;
        QTest::newRow("move: the source again") << false << "source" << 7 << 7 << 2 << 0;
        QTest::newRow("move: own but far") << false << "far own" << 7 << 7 << 1 << 0;
        QTest::newRow("move: an enemy") << false << "enemy" << 7 << 7 << 1 << 0;
        QTest::newRow("move: no allowance left") << false << "own" << 7 << 0 << 1 << 0;
    }

    void aTargetMustFitTheSource()
    {
        QFETCH(bool, attack);
        QFETCH(QString, target);
        QFETCH(int, sourceArmies);
        QFETCH(int, allowance);
        QFETCH(int, beeps);
        QFETCH(int, offered);

        // Territory 1 with every neighbour player 1's but one of player 2's.
        const int enemy = prepareAttack(sourceArmies, 3);
        moveAllowance = allowance;
        attack ? enterAttackPhase() : enterMovePhase();
        clickTerritory(*window, 1);
        QVERIFY(attack ? attackTargetPhase : moveTargetPhase);
        const QHash<QString, int> targets{{"enemy", enemy},
                                          {"far enemy", farFrom(1, 3)},
                                          {"own", territoryNeighbours[1][2]},
                                          {"far own", farFrom(1, 1)},
                                          {"source", 1}};
        const int g = targets.value(target);
        clickTerritory(*window, g);
        QCOMPARE(ui.beeps, beeps);
        QCOMPARE(armyQuestionOpen(*window), offered > 0);
        QVERIFY(attack ? attackTargetPhase : moveTargetPhase);
        QCOMPARE(sourceTerritory, 1);
        if (offered > 0) {
            QCOMPARE(targetTerritory, g);
            QCOMPARE(largestOffered(*window), offered);
            QVERIFY(attack ? pendingAttackCount : pendingMoveCount);
            QCOMPARE(attack ? inGameButtonEnabled[ButtonCancel] : saveAllowed, quint8(0));
        } else if (attack) {
            QCOMPARE(targetTerritory, 0);
            if (g != 1)
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
