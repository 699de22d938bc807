// The host takes every legal turn of a real client. A copy of this program joins as Alice and
// plays through the window's own calls (clicks on the map and the buttons, the army-count and card
// dialogs, the game loop's ticks), so every state it sends is what the rules made at her machine.
// This test is the host, on 127.0.0.1; Bob is a peer that speaks the protocol by hand and passes
// his turns. Each row lays a board of World out at the host's turn and gives Alice the clicks of
// her turns; the host must refuse none of her states and end holding what her machine holds.
//
// A copy started with "--alice PORT SEED" places its initial armies by itself and reads one
// command a line, carried out in her turn once her game loop has nothing left to play
// (N is a count, or "all" for the most the question offers):
//   add T N       Add (unless placing already), territory T, N armies
//   bonus T N     territory T, N armies of the continent or card bonus due
//   attack F T N  Attack (unless attacking already), F, then T, N armies
//   follow N      N armies follow the conquest
//   move F T N    Move (unless moving already), F, then T, N armies
//   trade         Cards (unless the card dialog is open), the first set offered
//   conquer F T   attacks from F on T with every army until T falls or F cannot, then all follow
//   next          Next Player
//   state         answers "state <owner:armies of every territory>" at any time
// It says "error <command>" when the window does not let it carry a command out.

#include "test_mapclicks_support.h"
#include "test_net_copy_support.h"
#include "test_net_waits.h"

#include "app/GameLoop.h"
#include "net/NetFraming.h"
#include "net/NetPlay.h"
#include "rules/Battle.h"
#include "rules/Cards.h"
#include "rules/GameEnd.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

using namespace clicks_test;

namespace {

constexpr int kAlice = 2, kBob = 3;
constexpr int kAlaska = 1, kWesternUS = 7, kCentralAmerica = 9, kVenezuela = 10, kPeru = 11, kBrazil = 12;
constexpr int kArgentina = 13, kNorthAfrica = 14, kEgypt = 15, kChina = 30, kNewGuinea = 40;
constexpr int kCardsRow = 3, kMoveRow = 4, kAddRow = 5, kAttackRow = 6, kNextRow = 7;

bool queuesIdle()
{
    return actionQueueCount == 0 && messageQueueCount == 0;
}

// Every territory as "owner:armies", as each machine holds it.
QString territoriesText()
{
    QStringList parts;
    for (int t = 1; t <= territoryCount; ++t)
        parts << QStringLiteral("%1:%2").arg(territoryState[t].owner).arg(territoryState[t].armies);
    return parts.join(QLatin1Char(' '));
}

// ---- Alice's copy ----

class AliceAtHerWindow {
public:
    AliceAtHerWindow(ViewArea &window, QStringList &commands) : commands(commands), window_(window) {}
    QStringList &commands;

    // Her placement or turn is under way here and her loop waits for her.
    bool acting() const
    {
        return networkSeat > 0 && currentPlayer == networkSeat && netSession.clientActing && turnStarted && queuesIdle();
    }

    // One click of her initial placement: the stronghold first, then the most a territory takes.
    void placeOnce()
    {
        paintWindow(window_);
        if (strongholdPhase) {
            click(findTerritory(networkSeat, strongholdAllowed));
            return;
        }
        const int t = findTerritory(networkSeat, [](int u) { return initialPlacementLimit(u) >= 1; });
        click(t);
        answer(QString::number(initialPlacementLimit(t)));
    }

    // Carries out the first command; false when the window would not let it.
    bool runCommand()
    {
        const QStringList words = commands.takeFirst().split(QLatin1Char(' '));
        const QString &verb = words[0];
        const auto at = [&words](int i) { return words.value(i).toInt(); };
        paintWindow(window_);
        if (verb == QLatin1String("add"))
            return (territoryBonusPhase || press(kAddRow)) && click(at(1)) && answer(words.value(2));
        if (verb == QLatin1String("bonus"))
            return click(at(1)) && answer(words.value(2));
        if (verb == QLatin1String("attack"))
            return (attackSourcePhase || press(kAttackRow)) && click(at(1)) && click(at(2)) && answer(words.value(3));
        if (verb == QLatin1String("follow"))
            return answer(words.value(1));
        if (verb == QLatin1String("move"))
            return (moveSourcePhase || press(kMoveRow)) && click(at(1)) && click(at(2)) && answer(words.value(3));
        if (verb == QLatin1String("trade"))
            return (cardDialogShown() || press(kCardsRow)) && cardDialogShown() && clickFirstSet();
        if (verb == QLatin1String("conquer"))
            return conquer(at(1), at(2));
        if (verb == QLatin1String("next"))
            return press(kNextRow);
        return false;
    }

private:
    // One attack with every army; the same command again until the territory falls or the
    // attacker cannot go on, and then all follow.
    bool conquer(int from, int to)
    {
        const QString again = QStringLiteral("conquer %1 %2").arg(from).arg(to);
        if (territoryState[to].owner == networkSeat) {
            commands.prepend(QStringLiteral("follow all"));
            return true;
        }
        if (territoryState[from].armies < 2)
            return true;
        commands.prepend(again);
        return (attackSourcePhase || press(kAttackRow)) && click(from) && click(to) && answer(QStringLiteral("all"));
    }
    bool click(int t)
    {
        if (!isValidTerritory(t))
            return false;
        mouseClickAt(window_, labelPoint(t));
        return true;
    }
    bool press(int row)
    {
        const int button = row == kNextRow ? ButtonNext : row - 1;
        if (!inGameButtonEnabled[button])
            return false;
        mouseClickAt(window_, gameButtonPoint(row));
        return true;
    }
    bool answer(const QString &count)
    {
        if (!armyQuestionOpen(window_))
            return false;
        answerArmies(window_, count == QLatin1String("all") ? largestOffered(window_) : count.toInt());
        return true;
    }
    bool cardDialogShown() const { return window_.cardDialog && window_.cardDialog->isVisible(); }
    bool clickFirstSet()
    {
        if (!window_.cardSetButton[1]->isVisibleTo(window_.cardDialog))
            return false;
        window_.cardSetButton[1]->click();
        return true;
    }

    ViewArea &window_;
};

int runAlicesCopy(quint16 port, quint32 seed)
{
    resetAllGameState(seed);
    resetNetworkPlay();
    ClickUi ui;
    auto window = std::make_unique<ViewArea>();
    window->gameTimer.stop();
    demoRunning = 0;
    ui.window = window.get();
    setInteraction(&ui);
    screen_test::useScreen(1366, 768, 340);
    window->resize(1366, 768);
    quitEventLoop = [] {};
    if (!joinHostOnLoopback(*window, QStringLiteral("Alice"), port))
        return 2;

    InputLines input;
    AliceAtHerWindow alice(*window, input.lines);
    QTimer wake;
    wake.start(100);

    while (!input.ended) {
        QCoreApplication::processEvents();
        const bool mine = networkSeat > 0 && currentPlayer == networkSeat && netSession.clientActing;
        if (!queuesIdle() || (mine && !turnStarted)) {
            window->gameTick();
        } else if (!alice.commands.isEmpty() && alice.commands.first() == QLatin1String("state")) {
            alice.commands.removeFirst();
            sayLine(QStringLiteral("state ") + territoriesText());
        } else if (alice.acting() && (strongholdPhase || initialPlacementPhase)) {
            alice.placeOnce();
        } else if (alice.acting() && !alice.commands.isEmpty()) {
            const QString command = alice.commands.first();
            if (!alice.runCommand())
                sayLine(QStringLiteral("error ") + command);
        } else {
            // An idle tick stands for the game timer's 512 ms: none passes while the host's
            // acknowledgement is on its way.
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            if (awaitedAckCode == 0)
                window->gameTick();
        }
    }
    window.reset();
    return 0;
}

// ---- The host's side ----

// Bob, by hand: he places as his rules would and passes every turn as it came.
class Bob {
public:
    QTcpSocket socket;

    bool join(quint16 port)
    {
        socket.connectToHost(QHostAddress::LocalHost, port);
        if (!socket.waitForConnected(kHangGuardMs))
            return false;
        socket.write("1000" + QByteArray("Bob").leftJustified(kJoinNameLength));
        return true;
    }
    void serve()
    {
        if (socket.state() != QAbstractSocket::ConnectedState)
            return;
        socket.waitForReadyRead(0);
        pending_ += socket.readAll();
        for (const QByteArray &m : takeMessages(pending_)) {
            const int code = messageCode(m);
            StateSnapshot s;
            if ((code != 1004 && code != 1007) || !decodeSnapshot(m.mid(kCodeLength), s))
                continue;
            socket.write(QByteArray::number(code + 1000));
            if (code == 1004)
                placeInitialArmies(s);
            socket.write((code == 1004 ? "1005" : "1011") + encodeSnapshot(s));
        }
    }

private:
    QByteArray pending_;
};

void handOut(int player, CardKind kind, int count)
{
    cardDeckCounts[kind] -= count;
    for (int i = 0; i < count; ++i)
        addCard(playerTable[player], kind);
}

// Alice holds Alaska, Venezuela, Peru and Argentina; Bob Brazil and Central America, which border
// them, and China; the host the rest.
void americanFront()
{
    for (int t = 1; t <= territoryCount; ++t)
        setTerritory(t, 1, 2);
    for (const auto &[t, owner, armies] : {std::tuple{kAlaska, kAlice, 4}, {kVenezuela, kAlice, 9}, {kPeru, kAlice, 9},
                                           {kArgentina, kAlice, 2}, {kBrazil, kBob, 5}, {kCentralAmerica, kBob, 1},
                                           {kChina, kBob, 2}})
        setTerritory(t, owner, armies);
    recountAllPlayers();
}

// Troop experience from Alice's tenth turn on, by the battle losses: 150 for her, 100 for Bob and
// 50 for the host.
void seasonedFront()
{
    americanFront();
    turnsTaken[kAlice] = 12;
    playerTable[1].battleLosses() = 10;
    playerTable[kAlice].battleLosses() = 30;
    playerTable[kBob].battleLosses() = 20;
}

// Bob holds Brazil alone, with four cards; Alice one.
void bobsLastTerritory()
{
    americanFront();
    setTerritory(kCentralAmerica, 1, 2);
    setTerritory(kChina, 1, 2);
    setTerritory(kBrazil, kBob, 2);
    recountAllPlayers();
    handOut(kBob, CardArtillery, 2);
    handOut(kBob, CardInfantry, 2);
    handOut(kAlice, CardCavalry, 1);
}

// Alice holds South America whole and three artillery cards.
void southAmericaWhole()
{
    americanFront();
    setTerritory(kVenezuela, kAlice, 3);
    setTerritory(kBrazil, kAlice, 2);
    recountAllPlayers();
    handOut(kAlice, CardArtillery, 3);
}

// Each player's stronghold: the host's on New Guinea, Alice's on Argentina, Bob's on Brazil; Bob
// holds two wild cards.
void strongholdFront()
{
    americanFront();
    setTerritory(kNewGuinea, 1, 15);
    setTerritory(kArgentina, kAlice, 15);
    setTerritory(kBrazil, kBob, 3);
    recountAllPlayers();
    for (int p = 1; p <= kMaxPlayers; ++p)
        playerTable[p].stronghold() = 0;
    playerTable[1].stronghold() = kNewGuinea;
    playerTable[kAlice].stronghold() = kArgentina;
    playerTable[kBob].stronghold() = kBrazil;
    handOut(kBob, CardWild, 2);
}

// Alice holds every territory but Brazil, Bob's; the host is out.
void oneTerritoryLeft()
{
    for (int t = 1; t <= territoryCount; ++t)
        setTerritory(t, kAlice, 2);
    setTerritory(kPeru, kAlice, 9);
    setTerritory(kBrazil, kBob, 2);
    recountAllPlayers();
}

} // namespace

struct GameOptions {
    bool oneForOne = true;
    bool experience = false;
    bool strongholds = false;
};
using Board = std::function<void()>;
using Turns = QList<QStringList>; // Alice's commands, turn by turn
using Outcome = std::function<void()>;
Q_DECLARE_METATYPE(GameOptions)
Q_DECLARE_METATYPE(Board) // and Outcome, the same type
Q_DECLARE_METATYPE(Turns)

class TestNetLegalTurns : public QObject {
    Q_OBJECT

    ClickUi ui;
    std::unique_ptr<ViewArea> window;
    QProcess alice;
    QStringList aliceSaid;
    std::unique_ptr<Bob> bob;
    int refused = 0;
    QTimer wake;

    // One pass of the host's loop: the events that have come, Bob's messages, then one tick; with
    // nothing to play it waits for the next event first (the wake timer ends the wait), and ticks
    // only when no acknowledgement is on its way: an idle tick stands for the game timer's 512 ms,
    // and the ticks that pass while one is awaited give the game up.
    void runHostOnce()
    {
        QCoreApplication::processEvents();
        bob->serve();
        if (queuesIdle()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            if (awaitedAckCode != 0)
                return;
        }
        window->gameTick();
    }

    template <typename Condition>
    bool runUntil(Condition done)
    {
        QElapsedTimer clock;
        clock.start();
        while (!done()) {
            if (clock.elapsed() > kHangGuardMs || refused > 0 || aliceSaidError() || alice.state() == QProcess::NotRunning)
                return false;
            runHostOnce();
        }
        return true;
    }

    bool aliceSaidError() const
    {
        for (const QString &line : aliceSaid)
            if (line.startsWith(QLatin1String("error")))
                return true;
        return false;
    }

    void tellAlice(const QStringList &commands)
    {
        for (const QString &command : commands)
            alice.write((command + QLatin1Char('\n')).toLatin1());
    }

    // The host's lobby on an ephemeral port of 127.0.0.1; Alice's copy joins, then Bob.
    void openLobby()
    {
        answerSetupWith(QString());
        QCOMPARE(hostOnLoopback(*window, QStringLiteral("Hosty")), SetupStepResult::Continue);
        const quint16 port = tcpServer->serverPort();
        alice.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--alice"), QString::number(port), QStringLiteral("31")});
        QVERIFY(runUntil([] { return joinedPlayers == 2; }));
        QVERIFY(bob->join(port));
        QVERIFY(runUntil([] { return joinedPlayers == 3; }));
    }

    // Launch, the placements (the host's by clicks), and the host's first turn begun.
    void playToHostsTurn()
    {
        window->startNewGame();
        paintWindow(*window);
        QVERIFY(placeInitialArmiesByClicks(*window, 1));
        QVERIFY(runUntil([] { return placementRound == 0 && currentPlayer == 1 && turnStarted && queuesIdle(); }));
        QCOMPARE(refused, 0);
    }

    // The host ends its turn and the play goes round to Alice.
    void handTurnToAlice()
    {
        QVERIFY(runUntil([] { return currentPlayer == 1 && turnStarted && queuesIdle(); }));
        nextPlayer();
        QVERIFY(runUntil([] { return currentPlayer == kAlice && awaitedAckCode == 0 && queuesIdle(); }));
    }

    // Alice's turn: her commands, then the turn passed on (or the game over, her end played).
    void playAlicesTurn(const QStringList &commands)
    {
        tellAlice(commands);
        const bool played = runUntil([] { return currentPlayer != kAlice || (gameOver && netSession.deciderEnded); });
        QVERIFY2(refused == 0, "the host refused a state of Alice's");
        QVERIFY2(played, qPrintable(aliceSaid.join(QLatin1Char('\n'))));
    }

    // Alice's machine holds what the host holds.
    void aliceAgrees()
    {
        aliceSaid.clear();
        tellAlice({QStringLiteral("state")});
        QVERIFY(runUntil([this] { return !aliceSaid.isEmpty(); }));
        QCOMPARE(aliceSaid.first(), QStringLiteral("state ") + territoriesText());
    }

private slots:
    void init()
    {
        resetAllGameState(30);
        resetNetworkPlay();
        window = std::make_unique<ViewArea>();
        window->gameTimer.stop();
        demoRunning = 0;
        ui = ClickUi();
        ui.window = window.get();
        setInteraction(&ui);
        screen_test::useScreen(1366, 768, 340);
        window->resize(1366, 768);
        quitEventLoop = [] {};
        bob = std::make_unique<Bob>();
        refused = 0;
        aliceSaid.clear();
        // The host's state sent back to the acting seat is a refusal; everything goes on as sent.
        setSocketWriter([this](int n, const QByteArray &bytes) -> qint64 {
            if (n == netSession.socketOfSeat[kAlice] && currentPlayer == kAlice && messageCode(bytes) == 1003)
                ++refused;
            QTcpSocket *socket = clientSocket(n);
            return socket && socket->state() == QAbstractSocket::ConnectedState ? socket->write(bytes) : -1;
        });
        alice.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        connect(&alice, &QProcess::readyReadStandardOutput, this, [this] {
            while (alice.canReadLine())
                aliceSaid << QString::fromLatin1(alice.readLine()).trimmed();
        });
        wake.start(100);
    }

    void cleanup()
    {
        alice.closeWriteChannel();
        if (!alice.waitForFinished(5000))
            alice.kill();
        alice.disconnect(this);
        bob.reset();
        window.reset();
        setSocketWriter({});
        setInteraction(nullptr);
        setChoiceDialogRunner(nullptr);
        wake.stop();
    }

    void everyLegalTurnIsTaken_data()
    {
        QTest::addColumn<GameOptions>("options");
        QTest::addColumn<Board>("board");
        QTest::addColumn<Turns>("turns");
        QTest::addColumn<Outcome>("outcome");

        const auto held = [](int t, int owner, int armies) {
            QCOMPARE(territoryState[t].owner, owner);
            QCOMPARE(territoryState[t].armies, armies);
        };

        // Add; a battle that costs the defender nothing; conquests followed by their armies; a
        // lost battle; two moves.
        QTest::newRow("1-for-1: a conquest chain and moves")
            << GameOptions{} << Board(americanFront)
            << Turns{{"add 11 3", "attack 10 9 1", "attack 10 9 7", "follow 5", "attack 9 7 5", "follow 2",
                      "attack 11 12 11", "follow 1", "attack 7 4 2", "move 11 10 3", "move 10 9 3", "next"}}
            << Outcome([held] {
                   held(kVenezuela, kAlice, 1);
                   held(kCentralAmerica, kAlice, 4);
                   held(kWesternUS, kAlice, 1);
                   held(4, 1, 1);
                   held(kPeru, kAlice, 2);
                   held(kBrazil, kAlice, 2);
                   QCOMPARE(handOf(kAlice).total(), 1);
               });
        // At 150 against 100 and 50 a conquest can cost nothing.
        QTest::newRow("1-for-1 with troop experience")
            << GameOptions{true, true, false} << Board(seasonedFront)
            << Turns{{"add 11 3", "attack 11 12 4", "follow 7", "attack 10 9 1", "follow 7", "attack 12 14 1",
                      "follow 6", "attack 14 15 6", "follow 4", "next"}}
            << Outcome([held] {
                   QCOMPARE(troopExperience[kAlice], 150);
                   held(kPeru, kAlice, 1);
                   held(kBrazil, kAlice, 1);
                   held(kVenezuela, kAlice, 1);
                   held(kCentralAmerica, kAlice, 8);
                   held(kNorthAfrica, kAlice, 1);
                   held(kEgypt, kAlice, 5);
               });
        const Outcome attacked = [] { QVERIFY(playerTable[kAlice].attacksMade() >= 2); };
        const Turns conquests{{"add 11 3", "conquer 11 12", "conquer 10 9", "next"}};
        QTest::newRow("dice: conquests") << GameOptions{false, false, false} << Board(americanFront) << conquests << attacked;
        QTest::newRow("dice with troop experience")
            << GameOptions{false, true, false} << Board(seasonedFront) << conquests << attacked;
        // Bob's four cards go to Alice with his last territory; with six she must trade as her
        // next turn begins, after the bonus of South America.
        QTest::newRow("an elimination, the cards handed over, the trade they force")
            << GameOptions{} << Board(bobsLastTerritory)
            << Turns{{"attack 11 12 8", "follow 5", "next"},
                     {"bonus 13 all", "trade", "bonus 13 all", "add 13 all", "next"}}
            << Outcome([] {
                   QVERIFY(playerOutOfGame(kBob));
                   QCOMPARE(handOf(kBob).total(), 0);
                   QVERIFY(handOf(kAlice).total() < 6);
                   QVERIFY(playerTable[kAlice].cardBonusReceived() > 0);
               });
        // A trade by choice and its armies, Add, a conquest that nothing can follow, two moves.
        QTest::newRow("a trade, the bonuses, a conquest nothing follows, moves")
            << GameOptions{} << Board(southAmericaWhole)
            << Turns{{"bonus 13 2", "trade", "bonus 11 all", "add 11 all", "attack 10 9 2", "move 11 10 4",
                      "move 10 9 3", "next"}}
            << Outcome([held] {
                   QCOMPARE(handOf(kAlice).total(), 1); // the set, then the conquest's card
                   QCOMPARE(playerTable[kAlice].cardBonusReceived(), 10);
                   held(kPeru, kAlice, 18);
                   held(kVenezuela, kAlice, 2);
                   held(kCentralAmerica, kAlice, 4);
               });
        // Every player chose a stronghold in his placement; Bob's falls, he is out, his cards are
        // Alice's, and his last territory is taken too.
        QTest::newRow("strongholds: Bob's taken")
            << GameOptions{true, false, true} << Board(strongholdFront)
            << Turns{{"add 11 3", "attack 11 12 11", "follow 7", "attack 10 9 8", "follow 6", "next"}}
            << Outcome([held] {
                   QVERIFY(playerOutOfGame(kBob));
                   QCOMPARE(playerTable[kBob].stronghold(), 0);
                   // Both wild cards were Bob's: the conquest drew another kind.
                   QCOMPARE(handOf(kAlice).wild, 2);
                   QCOMPARE(handOf(kAlice).total(), 3);
                   held(kBrazil, kAlice, 8);
                   held(kCentralAmerica, kAlice, 7);
               });
        QTest::newRow("the deciding conquest and the armies that follow it")
            << GameOptions{} << Board(oneTerritoryLeft) << Turns{{"bonus 11 all", "attack 11 12 30", "follow 27"}}
            << Outcome([held] {
                   QVERIFY(gameOver);
                   held(kBrazil, kAlice, 28);
                   held(kPeru, kAlice, 1);
               });
    }

    void everyLegalTurnIsTaken()
    {
        QFETCH(GameOptions, options);
        QFETCH(Board, board);
        QFETCH(Turns, turns);
        QFETCH(Outcome, outcome);
        attackRule = options.oneForOne ? 'j' : 'n';
        troopExperienceEnabled = options.experience ? 1 : 0;
        strongholdsEnabled = options.strongholds ? 1 : 0;
        openLobby();
        playToHostsTurn();
        if (QTest::currentTestFailed())
            return;
        board();
        for (const QStringList &turn : turns) {
            handTurnToAlice();
            playAlicesTurn(turn);
            if (QTest::currentTestFailed())
                return;
        }
        QVERIFY(runUntil([] { return queuesIdle(); }));
        outcome();
        aliceAgrees();
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir workDir;
    if (!workDir.isValid() || !QDir::setCurrent(workDir.path()))
        return 1;
    if (argc == 4 && QByteArray(argv[1]) == "--alice")
        return runAlicesCopy(quint16(QByteArray(argv[2]).toUInt()), QByteArray(argv[3]).toUInt());
    TestNetLegalTurns tc;
    return QTest::qExec(&tc, argc, argv);
}

#include "test_net_legal_turns.moc"
