// The animations of a human's game, played through the window on the World map as a player
// makes them: the rocket and the blast of an attack, the helicopter of a placement and the plane
// of a move, with animations on and off and in a network game hosted here; the armies that wait
// for their landing, the attack a rocket concludes, and the clicks refused while an animation of
// the message queue is queued or plays. Every game is started as its set-up starts it and played
// by the game loop to the human's turn; only the board is laid out for the case, at the moment
// the loop hands the turn over.

#include "test_mapclicks_support.h"
#include "test_net_support.h"
#include "test_net_waits.h"

#include "app/GameLoop.h"
#include "app/PaintMapView.h"
#include "app/ResourceNames.h"
#include "net/NetFraming.h"
#include "net/StateSnapshot.h"
#include "rules/Attack.h"
#include "setup/ChoiceDialog.h"
#include "state/MapPicture.h"
#include "state/SpriteQueue.h"

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
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

// The other seat of a network game hosted here: a client on loopback that joins and, handed its
// placement, acknowledges it and places its armies as its rules would.
class LoopbackSeat {
public:
    QTcpSocket socket;
    QByteArray pending;

    bool join(quint16 port)
    {
        socket.connectToHost(QHostAddress::LocalHost, port);
        if (!socket.waitForConnected(kHangGuardMs))
            return false;
        socket.write("1000" + QByteArray("Alice").leftJustified(kJoinNameLength));
        return true;
    }
    void serve()
    {
        if (socket.state() == QAbstractSocket::ConnectedState)
            socket.waitForReadyRead(0);
        pending += socket.readAll();
        for (const QByteArray &m : takeMessages(pending)) {
            StateSnapshot s;
            if (messageCode(m) != 1004 || !decodeSnapshot(m.mid(kCodeLength), s))
                continue;
            socket.write("2004");
            placeInitialArmies(s);
            socket.write("1005" + encodeSnapshot(s));
        }
    }
};

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

// Every territory holds one army, so nothing can attack or move before the armies land.
void onlySingleArmies()
{
    for (int t = 1; t <= territoryCount; ++t)
        setTerritory(t, territoryState[t].owner, 1);
}

// Player 1 holds `count` territories with one army each, the rest as the round-robin deal gave
// them, topped up from player 2's (every third territory stays player 3's: no whole continent).
void holdTerritories(int count)
{
    int held = 0;
    for (int t = 1; t <= territoryCount; ++t) {
        setTerritory(t, (t - 1) % 3 + 1, 1);
        held += territoryState[t].owner == 1;
    }
    for (int t = territoryCount; t > kAlaska && held > count; --t)
        if (territoryState[t].owner == 1)
            setTerritory(t, 2, 1), --held;
    for (int t = 1; t <= territoryCount && held < count; ++t)
        if (territoryState[t].owner == 2)
            setTerritory(t, 1, 1), ++held;
}

// The map as the players see it of the two territories of a battle: what the map says they hold,
// and the pixels of the attacked one that no sprite of the battle and no label can cover.
struct BattleOnMap {
    TerritoryState from;
    TerritoryState to;
    QVector<QRgb> pixels;
};

QVector<QPoint> uncoveredPixels(int from, int to)
{
    QVector<QRect> covered{territoryLabelArea(to)};
    const auto sprite = [&covered](int t, int kind) {
        int x = territoryPos[t].x;
        int y = territoryPos[t].y;
        designToPicture(x, y);
        const resources::SpriteKind &shape = resources::kSpriteKinds[kind];
        covered << QRect(x + shape.offsetX, y + shape.offsetY, shape.width, shape.height);
    };
    for (int kind = 1; kind <= kSpriteKinds; ++kind)
        sprite(spriteIsRocket(kind) ? from : to, kind);
    QVector<QPoint> points;
    const TerritoryRegions &regions = territoryRegions();
    for (int y = 0; y < mapImage.height(); ++y)
        for (int x = 0; x < mapImage.width(); ++x)
            if (regions.territoryAt(x, y) == to
                && std::none_of(covered.begin(), covered.end(), [x, y](const QRect &r) { return r.contains(x, y); }))
                points << QPoint(x, y);
    return points;
}

BattleOnMap battleOnMap(int from, int to, const QVector<QPoint> &points)
{
    BattleOnMap shown{displayedTerritoryState[from], displayedTerritoryState[to], {}};
    for (const QPoint &p : points)
        shown.pixels << mapImage.pixel(p);
    return shown;
}

} // namespace

class TestTurnAnimations : public QObject, private ClickFixture {
    Q_OBJECT

    std::unique_ptr<LoopbackSeat> seat;
    QTimer wake; // ends the network loop's wait for the next event

    // Runs the loop, and the other seat's socket in a network game, until `done` holds. A local
    // game plays on tick by tick. In a network game, with nothing to play, the loop waits for the
    // next event (the wake timer ends the wait) and ticks once, unless the other seat's
    // acknowledgement is on its way: a tick stands for the game timer's 512 ms, and the ticks that
    // pass while one is awaited give the game up.
    template <typename Condition>
    bool play(Condition done)
    {
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; !done(); ++i) {
            if (seat ? clock.elapsed() > kHangGuardMs : i >= 4000)
                return false;
            if (seat) {
                QCoreApplication::processEvents();
                seat->serve();
                if (queuesDrained())
                    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
                if (queuesDrained() && awaitedAckCode != 0)
                    continue;
            }
            window->gameTick();
        }
        return true;
    }

    // A game as its set-up starts it: a local one on the dealt World map with animations on
    // ("local") or off ("plain"), or a network one hosted here with one client joined.
    bool startGame(const QString &game)
    {
        animationsEnabled = game == QLatin1String("local") ? 1 : 0;
        if (game != QLatin1String("network")) {
            dealTerritories();
            startLocalGame();
            return true;
        }
        window->gameTimer.stop();
        quitEventLoop = [] {};
        setChoiceDialogRunner([](ViewArea &, const ChoiceDialogSpec &) { return ChoiceOutcome{}; });
        if (hostOnLoopback(*window, QStringLiteral("Hosty")) != SetupStepResult::Continue)
            return false;
        seat = std::make_unique<LoopbackSeat>();
        wake.start(100);
        if (!seat->join(tcpServer->serverPort()) || !play([] { return joinedPlayers == 2; }))
            return false;
        window->startNewGame();
        return networkSeat == 1;
    }

    // The initial placement through clicks and the loop up to player 1's turn; `arrange` lays the
    // board out at the hand-over and the turn begins on it. Continent armies are placed far from
    // the battles, then the sounds heard so far are forgotten.
    bool playToOwnTurn(const std::function<void()> &arrange)
    {
        paintWindow(*window);
        // The hand-over: every step shown, the next tick of the action queue begins the turn.
        if (!placeInitialArmiesByClicks(*window) || !play([] {
                return currentPlayer == 1 && !turnStarted && !initialPlacementPhase && actionQueueIndex >= actionQueueCount
                    && messageQueueIndex >= messageQueueCount;
            }))
            return false;
        arrange();
        recountAllPlayers();
        repaintEveryTerritory();
        if (!play([] { return currentPlayer == 1 && turnStarted && queuesDrained(); }))
            return false;
        for (int guard = 0; guard < 10 && continentBonusPhase; ++guard) {
            int far = territoryCount;
            while (territoryState[far].owner != 1)
                --far;
            userClick(*window, far);
            answerArmies(*window, largestOffered(*window));
            tickUntil(*window, [] { return queuesDrained() && !spriteAnimationActive; });
        }
        ui.soundsPlayed.clear();
        paintWindow(*window);
        return !continentBonusPhase && queuesDrained();
    }

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
        seat.reset();
        stop();
        setChoiceDialogRunner(nullptr);
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
        QVERIFY(startGame(game));
        int target = 0;
        QVERIFY(playToOwnTurn([&] { target = prepareAttack(sourceArmies, targetArmies); }));
        QCOMPARE(target, kNorthwest);
        QVERIFY(inGameButtonEnabled[ButtonAttack]);

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

    // The rules know a battle's result at once, but the map shows it only when its animations
    // are over: the human's rocket has landed and the blast behind it has played; a computer
    // player's blast likewise comes before its battle's steps.
    void theMapShowsABattleOnlyWhenItsAnimationsAreOver_data()
    {
        QTest::addColumn<bool>("human");
        QTest::addColumn<int>("sourceArmies");
        QTest::addColumn<int>("targetArmies");
        QTest::newRow("a human's conquest by 5") << true << 6 << 2;
        QTest::newRow("a human's conquest by 12") << true << 13 << 3;
        QTest::newRow("a human's failed attack") << true << 13 << 20;
        QTest::newRow("a computer's conquest by 12") << false << 13 << 3;
        QTest::newRow("a computer's failed attack") << false << 4 << 20;
    }

    void theMapShowsABattleOnlyWhenItsAnimationsAreOver()
    {
        QFETCH(bool, human);
        QFETCH(int, sourceArmies);
        QFETCH(int, targetArmies);
        animationsEnabled = 1;
        paintWindow(*window);
        // The battle whose attacked territory shows the most of itself beside the sprites.
        int from = 0;
        int to = 0;
        QVector<QPoint> points;
        for (int a = 1; a <= territoryCount; ++a) {
            const NeighbourList &list = territoryNeighbours[a];
            for (int i = 1; i <= kMaxNeighbours && list[i] != 0; ++i) {
                const QVector<QPoint> uncovered = uncoveredPixels(a, list[i]);
                if (uncovered.size() > points.size())
                    std::tie(from, to, points) = std::make_tuple(a, list[i], uncovered);
            }
        }
        QVERIFY(points.size() > 500);
        const int attacker = human ? 1 : 2;
        const auto arrange = [&] {
            setTerritory(from, attacker, sourceArmies);
            setTerritory(to, 3, targetArmies);
        };
        if (human) {
            QVERIFY(startGame(QStringLiteral("local")));
            QVERIFY(playToOwnTurn(arrange));
            QVERIFY(inGameButtonEnabled[ButtonAttack]);
        } else {
            currentPlayer = attacker;
            arrange();
            recountAllPlayers();
            repaintEveryTerritory();
            paintWindow(*window);
        }

        // Before the battle the attacked territory is shown plain or, once clicked, highlighted.
        const BattleOnMap before = battleOnMap(from, to, points);
        QVector<QRgb> clicked = before.pixels;
        if (human) {
            mouseClickAt(*window, gameButtonPoint(kAttackRow));
            userClick(*window, from);
            userClick(*window, to);
            clicked = battleOnMap(from, to, points).pixels;
            answerArmies(*window, sourceArmies - 1);
        } else {
            char card = 'n';
            resolveAttack(from, sourceArmies - 1, to, &card);
        }
        const auto showsBefore = [&] {
            const BattleOnMap now = battleOnMap(from, to, points);
            return now.from == before.from && now.to == before.to
                && (now.pixels == before.pixels || now.pixels == clicked);
        };
        const TerritoryState fromAfter = territoryState[from];
        const TerritoryState toAfter = territoryState[to];
        const bool conquered = toAfter.owner == attacker;
        QCOMPARE(conquered, targetArmies < sourceArmies - 1);
        QVERIFY(!(fromAfter == before.from) && !(toAfter == before.to));

        const auto animationLeft = [human] {
            return human ? !messageRuns().isEmpty() || spriteAnimationActive : !actionRuns().isEmpty();
        };
        QVERIFY(animationLeft());
        int ticks = 0;
        while (animationLeft() && ticks < 100) {
            QVERIFY2(showsBefore(), qPrintable(QStringLiteral("tick %1").arg(ticks)));
            window->gameTick();
            ++ticks;
        }
        QVERIFY(!animationLeft());
        // Then the battle's own steps show the result, one territory a tick.
        QVERIFY(tickUntil(*window, [&] {
            return displayedTerritoryState[from] == fromAfter && displayedTerritoryState[to] == toAfter;
        }, 2));
        QCOMPARE(territoryState[to], toAfter);
        // A conquest shows the new owner's colour all over the territory.
        const QVector<QRgb> shown = battleOnMap(from, to, points).pixels;
        int changed = 0;
        for (int i = 0; i < shown.size(); ++i)
            changed += shown[i] != before.pixels[i];
        QCOMPARE(changed == shown.size(), conquered);
        QCOMPARE(changed == 0, !conquered);
    }

    // The battle that wins the game still flies its rocket and blast; its move question comes
    // behind them, and the end of the game behind the answer.
    void theDecidingBattleIsShownBeforeTheGameEnds()
    {
        QVERIFY(startGame(QStringLiteral("local")));
        QVERIFY(playToOwnTurn([] {
            for (int t = 1; t <= territoryCount; ++t)
                setTerritory(t, 1, 1);
            setTerritory(kAlaska, 1, 6);
            setTerritory(kNorthwest, 2, 1);
        }));
        QVERIFY(inGameButtonEnabled[ButtonAttack]);
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
        QTest::newRow("territory armies: 5") << false << 5 << "large helicopter on %1 from 0 colour 1: 1-12"
                                             << "sounds/helis3.wav";
        QTest::newRow("territory armies: 3") << false << 3 << "small helicopter on %1 from 0 colour 1: 1-12"
                                             << "sounds/heli1.wav";
        QTest::newRow("initial placement: 3") << true << 3 << "small helicopter on %1 from 0 colour 1: 1-12"
                                              << "sounds/heli1.wav";
    }

    void aPlacementLandsWithTheHelicopter()
    {
        QFETCH(bool, initial);
        QFETCH(int, armies);
        QFETCH(QString, carrier);
        QFETCH(QString, sound);
        QVERIFY(startGame(QStringLiteral("local")));
        // Alaska, laid out for the turn, or the first territory dealt to player 1.
        const int home = initial ? findTerritory(1, [](int) { return true; }) : kAlaska;
        if (initial) {
            // Nothing is placed on player 1's territories before his own placement.
            QVERIFY(tickUntil(*window, [] { return initialPlacementPhase && currentPlayer == 1 && actionQueueCount == 0; }));
            QVERIFY(armiesToPlace > armies);
            ui.soundsPlayed.clear();
            paintWindow(*window);
        } else {
            // Three territories a reinforcement army.
            QVERIFY(playToOwnTurn([armies] { holdTerritories(3 * armies); }));
            QCOMPARE(territoryArmiesDue, armies);
            QVERIFY(!inGameButtonEnabled[ButtonAttack]);
            mouseClickAt(*window, gameButtonPoint(kAddRow));
            QVERIFY(territoryBonusPhase);
        }
        userClick(*window, home);
        answerArmies(*window, armies);

        QCOMPARE(messageRuns(), QStringList{carrier.arg(home)});
        QCOMPARE(ui.soundsPlayed, QStringList{sound});
        QCOMPARE(pendingMoveArmies, armies);
        QCOMPARE(refreshAttackAfterLanding, quint8(initial ? 0 : 1));
        checkClicksRefused(home, initial ? kAddRow : kAttackRow);

        // The armies arrive with the last frame, in the rules' state and on the map at once.
        const int last = lastFrameRecord();
        QVERIFY(tickToTheLastFrame(*window, last));
        QVERIFY(spriteAnimationDone == 0);
        QCOMPARE(territoryState[home].armies, 1);
        QCOMPARE(displayedTerritoryState[home].armies, 1);
        window->gameTick();
        QCOMPARE(messageQueueIndex, last);
        QCOMPARE(territoryState[home].armies, 1 + armies);
        QCOMPARE(displayedTerritoryState[home].armies, 1 + armies);
        QCOMPARE(playerTable[1].totalArmies(), playerTable[1].territoriesHeld() + armies);
        QCOMPARE(pendingMoveArmies, 0);
        QVERIFY(!spriteAnimationActive);
        QCOMPARE(territoryMark[home], 'n');
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
        QVERIFY(startGame(game));
        // A hopeless attack far away (2 armies against 30) opens the moves of the turn.
        const int far = territoryCount;
        const int fortress = territoryNeighbours[far][1];
        QVERIFY(playToOwnTurn([&] {
            onlySingleArmies();
            setTerritory(kAlaska, 1, 5);
            setTerritory(kNorthwest, 1, 1);
            setTerritory(far, 1, 2);
            setTerritory(fortress, 2, 30);
        }));
        QVERIFY(!inGameButtonEnabled[ButtonMove]);
        mouseClickAt(*window, gameButtonPoint(kAttackRow));
        userClick(*window, far);
        userClick(*window, fortress);
        answerArmies(*window, 1);
        QVERIFY(tickUntil(*window, [] { return queuesDrained() && !spriteAnimationActive; }));
        QCOMPARE(territoryState[fortress].owner, 2);
        QVERIFY(inGameButtonEnabled[ButtonMove]);
        QCOMPARE(moveAllowance, 7);
        ui.soundsPlayed.clear();
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
