// The animations of a human's game, played through the window on the World map as a player
// makes them: the rocket and the blast of an attack, the helicopter of a placement and the plane
// of a move, with animations on and off and in a network game; the armies that wait for their
// landing, the attack a rocket concludes, and the clicks refused while an animation of the
// message queue is queued or plays.

#include "test_mapclicks_support.h"

#include "rules/Attack.h"
#include "state/SpriteQueue.h"

#include <tuple>

using namespace clicks_test;

namespace {

constexpr int kMoveRow = 4;
constexpr int kAddRow = 5;
constexpr int kAttackRow = 6;
constexpr int kAlaska = 1;
constexpr int kNorthwest = 2; // Alaska's first neighbour, east of it
const QString kNextAttackPrompt = QStringLiteral("Attack from ? or choose Move or Next.");

QString kindName(int kind)
{
    static const char *const names[] = {"?",     "nuke",         "explosion", "large helicopter", "small helicopter",
                                        "rocket left", "rocket right", "plane"};
    return QLatin1String(isSpriteKind(kind) ? names[kind] : names[0]);
}

// "1-13" for a whole run, else the frames one by one.
QString framesText(const QList<int> &frames)
{
    bool whole = true;
    for (int i = 0; i < frames.size(); ++i)
        whole = whole && frames[i] == i + 1;
    if (whole && !frames.isEmpty())
        return QStringLiteral("1-%1").arg(frames.size());
    QStringList parts;
    for (int f : frames)
        parts << QString::number(f);
    return parts.join(QLatin1Char(','));
}

// The animations in one queue from its next step on: "<kind> on <t> from <second> colour <c>:
// <frames>".
template <std::size_t N>
QStringList spriteRunsIn(const std::array<QueueStep, N> &queue, int index, int count, int type)
{
    QStringList runs;
    QString head;
    QList<int> frames;
    const auto flush = [&] {
        if (!head.isEmpty())
            runs << head + framesText(frames);
        head.clear();
        frames.clear();
    };
    for (int i = index + 1; i <= count; ++i) {
        const QueueStep &step = queue[i];
        if (step.type != type)
            continue;
        if (step.arg[2] == 1)
            flush();
        if (head.isEmpty())
            head = QStringLiteral("%1 on %2 from %3 colour %4: ")
                       .arg(kindName(step.arg[3]))
                       .arg(step.arg[1])
                       .arg(step.arg[4])
                       .arg(step.arg[5]);
        frames << step.arg[2];
    }
    flush();
    return runs;
}

QStringList messageRuns()
{
    return spriteRunsIn(messageQueue, messageQueueIndex, messageQueueCount, kMessageSpriteStep);
}

QStringList actionRuns()
{
    return spriteRunsIn(actionQueue, actionQueueIndex, actionQueueCount, kActionSpriteStep);
}

// A local game with animations on or off, or a network game hosted here (whose first paint
// turns the full animations off and the short ones on).
void playGame(const QString &game)
{
    animationsEnabled = game == QLatin1String("local") ? 1 : 0;
    if (game == QLatin1String("network")) {
        networkSeat = 1;
        gameMode = ModeHost;
        humanSeatCount = 1;
        networkAnimations = 1;
    }
}

// The queue record of the last frame of the next message-queue animation, 0 for none.
int lastFrameRecord()
{
    for (int i = messageQueueIndex + 1; i <= messageQueueCount; ++i)
        if (messageQueue[i].type == kMessageSpriteStep && isLastSpriteFrame(messageQueue[i].arg[3], messageQueue[i].arg[2]))
            return i;
    return 0;
}

// Plays the loop up to the frame before the landing; true when it got there.
bool tickToTheLastFrame(ViewArea &window, int last)
{
    return last > 0 && tickUntil(window, [last] { return messageQueueIndex == last - 1; }, 100);
}

void userClick(ViewArea &window, int t)
{
    mouseClickAt(window, labelPoint(t));
}

// Every player-1 territory holds one army, so nothing can attack or move before the armies land.
void onlySingleArmies()
{
    for (int t = 1; t <= territoryCount; ++t)
        setTerritory(t, territoryState[t].owner, 1);
    recountAllPlayers();
}

} // namespace

class TestTurnAnimations : public QObject, private ClickFixture {
    Q_OBJECT

    // A click on the map and one on a game button that would both be taken at any other time
    // change nothing while a message-queue animation waits or plays.
    void checkClicksRefused(int territory, int row)
    {
        QVERIFY(spriteAnimationActive);
        const int beeps = ui.beeps;
        const auto phases = std::make_tuple(attackSourcePhase, attackTargetPhase, moveSourcePhase,
                                            moveTargetPhase, territoryBonusPhase, sourceTerritory);
        const int queued = messageQueueCount;
        userClick(*window, territory);
        mouseClickAt(*window, gameButtonPoint(row));
        QCOMPARE(ui.beeps, beeps);
        QVERIFY(phases == std::make_tuple(attackSourcePhase, attackTargetPhase, moveSourcePhase, moveTargetPhase,
                                          territoryBonusPhase, sourceTerritory));
        QCOMPARE(messageQueueCount, queued);
        QVERIFY(!armyQuestionOpen(*window));
    }

private slots:
    void init()
    {
        start(18);
        attackRule = 'j';
        troopExperienceEnabled = 0;
    }

    void cleanup()
    {
        stop();
    }

    // ---- Attacks ----

    void anAttackShowsItsBattle_data()
    {
        QTest::addColumn<QString>("game");
        QTest::addColumn<int>("sourceArmies");
        QTest::addColumn<int>("targetArmies");
        QTest::addColumn<QStringList>("messageAnimations");
        QTest::addColumn<QStringList>("actionAnimations");
        QTest::addColumn<QString>("landingSound");

        const QString rocket = QStringLiteral("rocket right on 2 from 1 colour 1: 1-13");
        QTest::newRow("a conquest by 5") << "local" << 6 << 2
                                         << QStringList{rocket, "explosion on 2 from 1 colour 1: 1-17"}
                                         << QStringList{} << "sounds/aanval3.wav";
        QTest::newRow("a conquest by 12") << "local" << 13 << 3
                                          << QStringList{rocket, "nuke on 2 from 1 colour 1: 1-27"} << QStringList{}
                                          << "sounds/nuke4.wav";
        QTest::newRow("a failed attack by 12") << "local" << 13 << 20
                                               << QStringList{rocket, "explosion on 2 from 1 colour 1: 1-17"}
                                               << QStringList{} << "sounds/aanval2.wav";
        QTest::newRow("animations off") << "plain" << 13 << 3 << QStringList{} << QStringList{} << "";
        QTest::newRow("a network game") << "network" << 13 << 3 << QStringList{}
                                        << QStringList{"nuke on 2 from 1 colour 1: 1,14,27"} << "";
    }

    void anAttackShowsItsBattle()
    {
        QFETCH(QString, game);
        QFETCH(int, sourceArmies);
        QFETCH(int, targetArmies);
        QFETCH(QStringList, messageAnimations);
        QFETCH(QStringList, actionAnimations);
        QFETCH(QString, landingSound);
        playGame(game);
        const int target = prepareAttack(sourceArmies, targetArmies);
        QCOMPARE(target, kNorthwest);
        inGameButtonEnabled[ButtonAttack] = 1;
        paintWindow(*window);

        mouseClickAt(*window, gameButtonPoint(kAttackRow));
        userClick(*window, kAlaska);
        userClick(*window, target);
        QVERIFY(armyQuestionOpen(*window));
        answerArmies(*window, sourceArmies - 1);
        const bool conquered = territoryState[target].owner == 1;
        QCOMPARE(conquered, targetArmies < sourceArmies - 1);
        QCOMPARE(messageRuns(), messageAnimations);
        QCOMPARE(actionRuns(), actionAnimations);

        const bool rocket = !messageAnimations.isEmpty();
        QCOMPARE(bool(rocketInFlight), rocket);
        // The attack is concluded when the rocket lands, and at once without one.
        const auto concluded = [] {
            return messageQueueTypes().contains(22) || messageQueueTexts().contains(kNextAttackPrompt);
        };
        QCOMPARE(concluded(), !rocket);
        if (!rocket) {
            QVERIFY(!spriteAnimationActive);
            QVERIFY(tickUntil(*window, [this] { return armyQuestionOpen(*window) || queuesDrained(); }));
            return;
        }
        checkClicksRefused(kAlaska, kAttackRow);

        QVERIFY(tickUntil(*window, [] { return !rocketInFlight; }));
        QVERIFY(ui.soundsPlayed.contains(QStringLiteral("sounds/missile3.wav")));
        QCOMPARE(ui.soundsPlayed.last(), landingSound);
        QCOMPARE(ui.soundsPlayed.count(landingSound), 1);
        QCOMPARE(sourceTerritory, kAlaska);
        QCOMPARE(targetTerritory, target);
        QVERIFY(concluded());
        // The blast that follows the rocket still holds the clicks.
        QCOMPARE(messageRuns().size(), 1);
        checkClicksRefused(kAlaska, kAttackRow);

        QVERIFY(tickUntil(*window, [] { return messageRuns().isEmpty() && !spriteAnimationActive; }));
        if (conquered) {
            QVERIFY(tickUntil(*window, [this] { return armyQuestionOpen(*window); }));
        } else {
            QVERIFY(tickUntil(*window, queuesDrained));
            QCOMPARE(statusLine, kNextAttackPrompt);
            QVERIFY(attackSourcePhase);
        }
        QCOMPARE(displayedTerritoryState, territoryState);
    }

    // The battle that wins the game still flies its rocket and blast; its move question comes
    // behind them, and the end of the game behind the answer.
    void theDecidingBattleIsShownBeforeTheGameEnds()
    {
        animationsEnabled = 1;
        for (int t = 1; t <= territoryCount; ++t)
            setTerritory(t, 1, 1);
        setTerritory(kAlaska, 1, 6);
        setTerritory(kNorthwest, 2, 1);
        recountAllPlayers();
        inGameButtonEnabled[ButtonAttack] = 1;
        paintWindow(*window);
        mouseClickAt(*window, gameButtonPoint(kAttackRow));
        userClick(*window, kAlaska);
        userClick(*window, kNorthwest);
        answerArmies(*window, 5);
        QVERIFY(gameOver);
        QCOMPARE(messageRuns(), (QStringList{"rocket right on 2 from 1 colour 1: 1-13",
                                             "explosion on 2 from 1 colour 1: 1-17"}));
        // The move question comes right behind the blast (a pause, then the question).
        const QList<int> types = messageQueueTypes();
        QCOMPARE(types.last(), 22);
        QCOMPARE(types.lastIndexOf(kMessageSpriteStep), types.size() - 3);
        QVERIFY(!types.contains(8));
        // The game is decided for the player at once: nothing more to press.
        QCOMPARE(inGameButtonEnabled, (std::array<quint8, 7>{}));

        QVERIFY(tickUntil(*window, [this] { return armyQuestionOpen(*window); }));
        QCOMPARE(gameEnded, quint8(0));
        QCOMPARE(largestOffered(*window), 3);
        answerArmies(*window, 3);
        QCOMPARE(territoryState[kNorthwest].armies, 4);
        QVERIFY(tickUntil(*window, [] { return gameEnded != 0; }));
        QVERIFY(!rocketInFlight);
        QVERIFY(!spriteAnimationActive);
        const int landing = ui.soundsPlayed.indexOf(QStringLiteral("sounds/aanval3.wav"));
        const int victory = ui.soundsPlayed.indexOf(QStringLiteral("sounds/overwinning.wav"));
        QVERIFY(landing >= 0);
        QVERIFY(victory > landing);
    }

    // A computer player's battle gets its blast in the action queue, ahead of its steps; no
    // rocket, and nothing waits for it.
    void aComputerPlayersAttackGetsItsBlastFirst()
    {
        animationsEnabled = 1;
        currentPlayer = 2;
        setTerritory(kAlaska, 2, 13);
        setTerritory(kNorthwest, 1, 2);
        recountAllPlayers();
        char card = 'n';
        resolveAttack(kAlaska, 12, kNorthwest, &card);
        QCOMPARE(territoryState[kNorthwest].owner, 2);
        QCOMPARE(actionRuns(), QStringList{"nuke on 2 from 1 colour 2: 1-27"});
        QCOMPARE(actionQueueTypes().indexOf(1), 27);
        QVERIFY(messageRuns().isEmpty());
        QVERIFY(!rocketInFlight);
        QVERIFY(!spriteAnimationActive);
    }

    // ---- Armies that fly in ----

    void aPlacementLandsWithTheHelicopter_data()
    {
        QTest::addColumn<bool>("initial");
        QTest::addColumn<int>("armies");
        QTest::addColumn<QString>("carrier");
        QTest::addColumn<QString>("sound");
        QTest::newRow("territory armies: 5") << false << 5 << "large helicopter on 1 from 0 colour 1: 1-12"
                                             << "sounds/helis3.wav";
        QTest::newRow("territory armies: 3") << false << 3 << "small helicopter on 1 from 0 colour 1: 1-12"
                                             << "sounds/heli1.wav";
        QTest::newRow("initial placement: 3") << true << 3 << "small helicopter on 1 from 0 colour 1: 1-12"
                                              << "sounds/heli1.wav";
    }

    void aPlacementLandsWithTheHelicopter()
    {
        QFETCH(bool, initial);
        QFETCH(int, armies);
        QFETCH(QString, carrier);
        QFETCH(QString, sound);
        animationsEnabled = 1;
        onlySingleArmies();
        if (initial) {
            initialPlacementPhase = 1;
            armiesToPlace = 10;
        } else {
            territoryArmiesDue = armies;
            refreshTurnButtons();
            QVERIFY(!inGameButtonEnabled[ButtonAttack]);
            paintWindow(*window);
            mouseClickAt(*window, gameButtonPoint(kAddRow));
            QVERIFY(territoryBonusPhase);
        }
        userClick(*window, kAlaska);
        answerArmies(*window, armies);

        QCOMPARE(messageRuns(), QStringList{carrier});
        QCOMPARE(ui.soundsPlayed, QStringList{sound});
        QCOMPARE(pendingMoveArmies, armies);
        QCOMPARE(refreshAttackAfterLanding, quint8(initial ? 0 : 1));
        checkClicksRefused(kAlaska, initial ? kAddRow : kAttackRow);

        // The armies arrive with the last frame, in the rules' state and on the map at once.
        const int last = lastFrameRecord();
        QVERIFY(tickToTheLastFrame(*window, last));
        QVERIFY(spriteAnimationDone == 0);
        QCOMPARE(territoryState[kAlaska].armies, 1);
        QCOMPARE(displayedTerritoryState[kAlaska].armies, 1);
        window->gameTick();
        QCOMPARE(messageQueueIndex, last);
        QCOMPARE(territoryState[kAlaska].armies, 1 + armies);
        QCOMPARE(displayedTerritoryState[kAlaska].armies, 1 + armies);
        QCOMPARE(playerTable[1].totalArmies(), playerTable[1].territoriesHeld() + armies);
        QCOMPARE(pendingMoveArmies, 0);
        QVERIFY(!spriteAnimationActive);
        QCOMPARE(territoryMark[kAlaska], 'n');
        if (!initial) {
            // Alaska can attack now, and the landing says so.
            QVERIFY(inGameButtonEnabled[ButtonAttack]);
            QCOMPARE(refreshAttackAfterLanding, quint8(0));
        }
        QVERIFY(tickUntil(*window, queuesDrained));
        QCOMPARE(displayedTerritoryState, territoryState);
        QCOMPARE(ui.soundsPlayed, QStringList{sound});
    }

    void aMoveLandsWithThePlane_data()
    {
        QTest::addColumn<QString>("game");
        QTest::addColumn<QStringList>("carrier");
        QTest::addColumn<QString>("sound");
        QTest::newRow("animations on") << "local" << QStringList{"plane on 2 from 0 colour 1: 1-14"}
                                       << "sounds/prop.wav";
        QTest::newRow("animations off") << "plain" << QStringList{} << "sounds/schuiven4.wav";
        QTest::newRow("a network game") << "network" << QStringList{} << "sounds/schuiven4.wav";
    }

    void aMoveLandsWithThePlane()
    {
        QFETCH(QString, game);
        QFETCH(QStringList, carrier);
        QFETCH(QString, sound);
        playGame(game);
        onlySingleArmies();
        setTerritory(kAlaska, 1, 5);
        setTerritory(kNorthwest, 1, 1);
        recountAllPlayers();
        attackMadeThisTurn = 1;
        moveAllowance = 7;
        refreshTurnButtons();
        QVERIFY(inGameButtonEnabled[ButtonMove]);
        paintWindow(*window);
        mouseClickAt(*window, gameButtonPoint(kMoveRow));
        userClick(*window, kAlaska);
        userClick(*window, kNorthwest);
        answerArmies(*window, 4);
        QCOMPARE(territoryState[kAlaska].armies, 1);
        QCOMPARE(moveAllowance, 3);

        QCOMPARE(messageRuns(), carrier);
        QVERIFY(actionRuns().isEmpty());
        const bool flies = !carrier.isEmpty();
        QCOMPARE(territoryState[kNorthwest].armies, flies ? 1 : 5);
        QCOMPARE(pendingMoveArmies, flies ? 4 : 0);
        // The armies on their way count for the next move already: it may start where they land.
        QVERIFY(moveSourcePhase);
        if (flies) {
            QCOMPARE(ui.soundsPlayed, QStringList{sound});
            checkClicksRefused(kNorthwest, kMoveRow);
            const int last = lastFrameRecord();
            QVERIFY(tickToTheLastFrame(*window, last));
            QCOMPARE(territoryState[kNorthwest].armies, 1);
            QCOMPARE(displayedTerritoryState[kNorthwest].armies, 1);
            window->gameTick();
            QCOMPARE(territoryState[kNorthwest].armies, 5);
            QCOMPARE(displayedTerritoryState[kNorthwest].armies, 5);
            QCOMPARE(pendingMoveArmies, 0);
        }
        QVERIFY(tickUntil(*window, queuesDrained));
        QCOMPARE(territoryState[kNorthwest].armies, 5);
        QCOMPARE(displayedTerritoryState, territoryState);
        QCOMPARE(ui.soundsPlayed, QStringList{sound});
        QVERIFY(!spriteAnimationActive);
    }
};

TARVAN_TEST_MAIN(TestTurnAnimations)
#include "test_turn_animations.moc"
