// Hostile input against a hosting game: connections that never joined, joins that leave, a client
// that sends what it may not (out of turn, more than its turn can make, codes only the host
// sends), and floods. After each the host's game is unchanged, or changed only as allowed, and
// the game goes on. The host is this process's window; the peers speak the protocol by hand.

#include "test_mapclicks_support.h"
#include "test_net_support.h"

#include "app/GameLoop.h"
#include "app/NetworkState.h"
#include "app/ViewArea.h"
#include "net/NetFraming.h"
#include "net/NetPlay.h"
#include "net/NetState.h"
#include "net/StateSnapshot.h"
#include "persist/SharedGlobals.h"
#include "rules/GameStart.h"
#include "rules/PlayerRecords.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "setup/ChoiceDialog.h"
#include "setup/NetworkSetup.h"
#include "setup/SetupState.h"
#include "setup/SetupSteps.h"
#include "state/GameState.h"
#include "state/StepQueues.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>
#include <memory>

namespace {

// A peer at the far end of a connection to the host, every byte of it written by the test.
class Peer {
public:
    QTcpSocket socket;
    QByteArray pending;
    QList<QByteArray> received;

    bool connectTo(quint16 port)
    {
        QObject::connect(&socket, &QTcpSocket::readyRead, [this] {
            pending += socket.readAll();
            received += takeMessages(pending);
        });
        socket.connectToHost(QHostAddress::LocalHost, port);
        return socket.waitForConnected(5000);
    }
    void send(const QByteArray &bytes) { socket.write(bytes); }
    void join(const QString &name) { send("1000" + name.leftJustified(kJoinNameLength).toLatin1()); }
    bool closed() const { return socket.state() == QAbstractSocket::UnconnectedState; }
    // Reads what has come even when the event loop missed telling of it (the host shares this
    // process and its event loop).
    void poll()
    {
        if (socket.state() == QAbstractSocket::ConnectedState)
            socket.waitForReadyRead(0);
    }

    // The last message of this code that came, as a snapshot.
    bool last(int code, StateSnapshot &s) const
    {
        for (int i = received.size() - 1; i >= 0; --i)
            if (messageCode(received[i]) == code)
                return decodeSnapshot(received[i].mid(kCodeLength), s);
        return false;
    }
    int count(int code) const
    {
        int n = 0;
        for (const QByteArray &m : received)
            n += messageCode(m) == code ? 1 : 0;
        return n;
    }
};

QByteArray messageOf(int code, const StateSnapshot &s)
{
    return QByteArray::number(code).rightJustified(kCodeLength, '0') + encodeSnapshot(s);
}

// What the host's game is: who plays, who holds what, the players' records and names.
QString hostGame()
{
    QStringList parts{QString::number(currentPlayer), QString::number(playerCount), QString::number(joinedPlayers),
                      QString::number(lobbyOpen), QString::number(gameOver), QString::number(networkSeat)};
    for (int p = 1; p <= kMaxPlayers; ++p) {
        parts << playerName[p].trimmed();
        for (qint32 f : playerTable[p].f)
            parts << QString::number(f);
    }
    for (int t = 1; t <= territoryCount; ++t)
        parts << QStringLiteral("%1/%2").arg(territoryState[t].owner).arg(territoryState[t].armies);
    for (qint32 c : cardDeckCounts)
        parts << QString::number(c);
    for (qint32 e : troopExperience)
        parts << QString::number(e);
    parts << QString::number(initialArmies) << QString::number(placementRound);
    return parts.join(QLatin1Char(' '));
}

int firstTerritoryOf(const StateSnapshot &s, int player)
{
    for (int t = 1; t <= s.territoryCount; ++t)
        if (s.territories[t].owner == player)
            return t;
    return 0;
}

// A territory of another player that no territory of `player` borders.
int farTerritory(const StateSnapshot &s, int player)
{
    for (int t = 1; t <= s.territoryCount; ++t) {
        if (s.territories[t].owner == player)
            continue;
        bool near = false;
        for (int u = 1; u <= s.territoryCount && !near; ++u)
            near = s.territories[u].owner == player && isNeighbour(u, t);
        if (!near)
            return t;
    }
    return 0;
}

} // namespace

using Stage = int;
enum : int { InLobby = 0, InATurn = 1 };
using Attack = std::function<void(Peer &intruder, Peer &acting, Peer &waiting)>;
// What the host's game may have become: empty for unchanged.
using Allowed = std::function<QString(const QString &before)>;
Q_DECLARE_METATYPE(Attack)

class TestNetHostile : public QObject {
    Q_OBJECT

    clicks_test::ClickUi ui;
    std::unique_ptr<ViewArea> window;
    quint16 port = 0;
    std::unique_ptr<Peer> alice, bob, intruder;

    // Runs the host's loop and the peers' sockets until `done` holds, for ten seconds at most.
    template <typename Condition>
    bool spin(Condition done)
    {
        QElapsedTimer clock;
        clock.start();
        while (!done()) {
            if (clock.elapsed() > 10000)
                return false;
            QCoreApplication::processEvents();
            for (Peer *peer : {alice.get(), bob.get(), intruder.get()})
                if (peer)
                    peer->poll();
            if (!queuesIdleHere())
                window->gameTick();
        }
        return true;
    }
    static bool queuesIdleHere() { return actionQueueCount == 0 && messageQueueCount == 0; }

    // Everything sent so far has been dealt with: a chat line behind it has come back round.
    bool settled(Peer &through, Peer &watcher)
    {
        static int n = 0;
        const QByteArray marker = QByteArray("mark ") + QByteArray::number(++n);
        through.send("3001" + marker.leftJustified(kChatTextLength, ' '));
        return spin([&] {
            for (const QByteArray &m : watcher.received)
                if (messageCode(m) == 3000 && m.mid(kCodeLength).trimmed().endsWith(": " + marker))
                    return true;
            return false;
        });
    }

    void openLobby()
    {
        setChoiceDialogRunner([](ViewArea &, const ChoiceDialogSpec &) { return ChoiceOutcome{}; });
        QCOMPARE(hostOnLoopback(*window, QStringLiteral("Hosty")), SetupStepResult::Continue);
        port = tcpServer->serverPort();
    }

    void joinBoth()
    {
        for (auto *peer : {&alice, &bob}) {
            *peer = std::make_unique<Peer>();
            QVERIFY((*peer)->connectTo(port));
            const int before = joinedPlayers;
            (*peer)->join(peer == &alice ? QStringLiteral("Alice") : QStringLiteral("Bob"));
            QVERIFY(spin([before] { return joinedPlayers == before + 1; }));
        }
    }

    // A peer's placement, as a client makes it: all its armies on its first territory.
    void placeAs(Peer &peer, int seat)
    {
        QVERIFY(spin([&] { return peer.count(1004) > 0; }));
        peer.send("2004");
        StateSnapshot s;
        QVERIFY(peer.last(1004, s));
        QCOMPARE(s.currentPlayer, seat);
        const int t = firstTerritoryOf(s, seat);
        s.territories[t].armies += s.initialArmies;
        s.shown[t] = s.territories[t];
        peer.send(messageOf(1005, s));
    }

    // Launch, the three placements, the host's first turn ended: Alice's turn is handed to her.
    void playToAlicesTurn()
    {
        window->startNewGame();
        // The host's player places through clicks on the map and the army-count dialog.
        clicks_test::paintWindow(*window);
        QVERIFY(spin([] { return queuesIdleHere(); }));
        for (int guard = 0; guard < 30 && armiesToPlace > 0; ++guard) {
            const int t = clicks_test::findTerritory(1, [](int u) { return initialPlacementLimit(u) >= 1; });
            const int limit = initialPlacementLimit(t);
            clicks_test::mouseClickAt(*window, clicks_test::labelPoint(t));
            clicks_test::answerArmies(*window, limit);
            QVERIFY(spin([] { return queuesIdleHere(); }));
        }
        placeAs(*alice, 2);
        placeAs(*bob, 3);
        QVERIFY(spin([] { return placementRound == 0 && currentPlayer == 1 && turnStarted && queuesIdleHere(); }));
        nextPlayer();
        QVERIFY(spin([this] { return alice->count(1007) > 0; }));
        alice->send("2007");
        QVERIFY(spin([] { return awaitedAckCode == 0; }));
    }

private slots:
    void init()
    {
        resetAllGameState(5);
        resetNetworkPlay();
        window = std::make_unique<ViewArea>();
        window->gameTimer.stop();
        demoRunning = 0;
        ui = clicks_test::ClickUi();
        ui.window = window.get();
        setInteraction(&ui);
        screen_test::useScreen(1366, 768, 340);
        window->resize(1366, 768);
        quitEventLoop = [] {};
    }
    void cleanup()
    {
        intruder.reset();
        alice.reset();
        bob.reset();
        window.reset();
        setChoiceDialogRunner(nullptr);
        setInteraction(nullptr);
    }

    void hostileInputLeavesTheGameAsItWas_data()
    {
        QTest::addColumn<Stage>("stage");
        QTest::addColumn<Attack>("attack");
        QTest::addColumn<bool>("intruderClosed");
        QTest::addColumn<bool>("sentBack"); // the acting seat gets the host's state back

        // What a connection sends before it has joined.
        const auto fromStranger = [](int code, bool names) {
            return Attack([code, names](Peer &intruder, Peer &, Peer &) {
                StateSnapshot s = captureSnapshot(names);
                for (int p = 1; p <= kMaxPlayers; ++p)
                    s.names[p] = QStringLiteral("Mallory");
                s.highlightedContinent = 1;
                intruder.send(messageOf(code, s));
            });
        };
        QTest::newRow("lobby: 1020 from a stranger") << Stage(InLobby) << fromStranger(1020, false) << true << false;
        QTest::newRow("lobby: 1025 with names from a stranger") << Stage(InLobby) << fromStranger(1025, true) << true << false;
        QTest::newRow("lobby: chat from a stranger") << Stage(InLobby) << Attack([](Peer &intruder, Peer &, Peer &) {
            intruder.send("3001" + QByteArray("hello").leftJustified(kChatTextLength, ' '));
        }) << true << false;
        QTest::newRow("lobby: a flood of snapshots from a stranger")
            << Stage(InLobby) << Attack([](Peer &intruder, Peer &, Peer &) {
                   const QByteArray one = messageOf(1006, captureSnapshot(false));
                   for (int i = 0; i < 2000; ++i)
                       intruder.send(one);
               }) << true << false;
        QTest::newRow("game: 1020 from a stranger") << Stage(InATurn) << fromStranger(1020, false) << true << false;

        // What a joined player sends that is not his to send.
        QTest::newRow("game: a snapshot out of turn") << Stage(InATurn) << Attack([](Peer &, Peer &, Peer &waiting) {
            StateSnapshot s = captureSnapshot(false);
            s.currentPlayer = 3;
            s.territories[firstTerritoryOf(s, 3)].armies += 50;
            waiting.send(messageOf(1006, s));
            waiting.send(messageOf(1011, s));
        }) << false << false;
        QTest::newRow("game: the acting seat takes the whole map")
            << Stage(InATurn) << Attack([](Peer &, Peer &acting, Peer &) {
                   StateSnapshot s = captureSnapshot(false);
                   for (int t = 1; t <= s.territoryCount; ++t)
                       s.territories[t] = s.shown[t] = {2, 500};
                   acting.send(messageOf(1006, s));
               }) << false << true;
        QTest::newRow("game: the acting seat takes a far territory")
            << Stage(InATurn) << Attack([](Peer &, Peer &acting, Peer &) {
                   StateSnapshot s = captureSnapshot(false);
                   const int far = farTerritory(s, 2);
                   s.territories[far] = s.shown[far] = {2, 1};
                   acting.send(messageOf(1006, s));
               }) << false << true;
        QTest::newRow("game: the acting seat raises another's armies")
            << Stage(InATurn) << Attack([](Peer &, Peer &acting, Peer &) {
                   StateSnapshot s = captureSnapshot(false);
                   s.territories[firstTerritoryOf(s, 3)].armies += 1;
                   acting.send(messageOf(1006, s));
               }) << false << true;
        QTest::newRow("game: the acting seat adds more than it is due")
            << Stage(InATurn) << Attack([](Peer &, Peer &acting, Peer &) {
                   StateSnapshot s = captureSnapshot(false);
                   s.territories[firstTerritoryOf(s, 2)].armies += 40;
                   acting.send(messageOf(1006, s));
               }) << false << true;
        QTest::newRow("game: the acting seat makes cards") << Stage(InATurn) << Attack([](Peer &, Peer &acting, Peer &) {
            StateSnapshot s = captureSnapshot(false);
            s.players[2].wild() += 3;
            acting.send(messageOf(1006, s));
        }) << false << true;
        QTest::newRow("game: the acting seat declares the game over")
            << Stage(InATurn) << Attack([](Peer &, Peer &acting, Peer &) {
                   StateSnapshot s = captureSnapshot(false);
                   s.gameOver = 1;
                   acting.send(messageOf(1028, s));
               }) << false << true;
        QTest::newRow("game: the acting seat empties every other territory and says it won")
            << Stage(InATurn) << Attack([](Peer &, Peer &acting, Peer &) {
                   StateSnapshot s = captureSnapshot(false);
                   for (int t = 1; t <= s.territoryCount; ++t)
                       if (s.territories[t].owner != 2)
                           s.territories[t].armies = s.shown[t].armies = 0;
                   s.gameOver = 1;
                   acting.send(messageOf(1028, s));
               }) << false << true;
        // What no turn changes is the host's: taken from the acting seat, it is left as it was.
        QTest::newRow("game: the acting seat renames the players")
            << Stage(InATurn) << Attack([](Peer &, Peer &acting, Peer &) {
                   StateSnapshot s = captureSnapshot(true);
                   for (int p = 1; p <= kMaxPlayers; ++p)
                       s.names[p] = QStringLiteral("Mallory");
                   acting.send(messageOf(1006, s));
               }) << false << false;
        QTest::newRow("game: the acting seat sets experience, initial armies and a placement round")
            << Stage(InATurn) << Attack([](Peer &, Peer &acting, Peer &) {
                   StateSnapshot s = captureSnapshot(false);
                   s.troopExperience.fill(9999);
                   s.initialArmies = 999;
                   s.placementRound = 3;
                   acting.send(messageOf(1006, s));
               }) << false << false;
        QTest::newRow("game: a code only the host sends") << Stage(InATurn) << Attack([](Peer &, Peer &acting, Peer &) {
            StateSnapshot s = captureSnapshot(false);
            s.gameOver = 1;
            s.currentPlayer = 3;
            acting.send(messageOf(1027, s));
            acting.send(messageOf(1007, s));
        }) << false << false;
        QTest::newRow("game: a placement done outside the placement")
            << Stage(InATurn) << Attack([](Peer &, Peer &acting, Peer &) {
                   StateSnapshot s = captureSnapshot(false);
                   s.territories[firstTerritoryOf(s, 2)].armies += 1;
                   acting.send(messageOf(1005, s));
               }) << false << false;
        QTest::newRow("game: a flood from a waiting seat") << Stage(InATurn) << Attack([](Peer &, Peer &, Peer &waiting) {
            const QByteArray one = messageOf(1025, captureSnapshot(true));
            for (int i = 0; i < 2000; ++i)
                waiting.send(one);
        }) << false << false;
    }

    void hostileInputLeavesTheGameAsItWas()
    {
        QFETCH(Stage, stage);
        QFETCH(Attack, attack);
        QFETCH(bool, intruderClosed);
        QFETCH(bool, sentBack);
        openLobby();
        joinBoth();
        if (stage == InATurn)
            playToAlicesTurn();
        if (QTest::currentTestFailed())
            return;
        intruder = std::make_unique<Peer>();
        const bool connected = intruder->connectTo(port);
        QVERIFY(connected || stage == InATurn);
        // Everything of the game so far has reached the players.
        QVERIFY(spin([] { return queuesIdleHere(); }));
        QVERIFY(settled(*alice, *bob));
        QVERIFY(settled(*bob, *alice));
        const QString before = hostGame();
        const int aliceHad = alice->received.size();
        const int bobHad = bob->received.size();
        const qint32 awaited = awaitedAckCode;

        attack(*intruder, *alice, *bob);
        if (intruderClosed)
            QVERIFY(spin([this] { return intruder->closed(); }));
        QVERIFY(settled(*alice, *bob));

        // Nothing of it reached the game or went on to the players.
        QCOMPARE(hostGame(), before);
        QCOMPARE(awaitedAckCode, awaited);
        QVERIFY(ui.messageTexts().isEmpty());
        for (Peer *peer : {alice.get(), bob.get()})
            for (int i = peer == alice.get() ? aliceHad : bobHad; i < peer->received.size(); ++i) {
                const int code = messageCode(peer->received[i]);
                QVERIFY2(code == 3000 || code == 1003, qPrintable(QString::number(code)));
            }
        // A state that was refused comes back to its sender as the host's own.
        int backs = 0;
        for (int i = aliceHad; i < alice->received.size(); ++i)
            backs += messageCode(alice->received[i]) == 1003 ? 1 : 0;
        QCOMPARE(backs, sentBack ? 1 : 0);
        StateSnapshot back;
        if (sentBack) {
            QVERIFY(alice->last(1003, back));
            QCOMPARE(back.territories, territoryState);
        }

        // The game goes on: a join in the lobby, the acting player's own move in a turn.
        if (stage == InLobby) {
            Peer carol;
            QVERIFY(carol.connectTo(port));
            carol.join(QStringLiteral("Carol"));
            QVERIFY(spin([] { return joinedPlayers == 4; }));
            QCOMPARE(playerName[4].trimmed(), QStringLiteral("Carol"));
            return;
        }
        StateSnapshot s = captureSnapshot(false);
        const int own = firstTerritoryOf(s, 2);
        s.territories[own].armies += 3;
        s.shown[own] = s.territories[own];
        alice->send(messageOf(1011, s));
        QVERIFY(spin([] { return currentPlayer == 3; }));
        QCOMPARE(territoryState[own].armies, s.territories[own].armies);
    }

    // Connections that join and go before Launch leave no seat behind, and Launch deals to the
    // players still there.
    void joinsThatLeaveFreeTheirSeats()
    {
        openLobby();
        for (int i = 0; i < 3; ++i) {
            Peer ghost;
            QVERIFY(ghost.connectTo(port));
            ghost.join(QStringLiteral("Ghost"));
            QVERIFY(spin([] { return joinedPlayers == 2; }));
            ghost.socket.abort();
            QVERIFY(spin([] { return joinedPlayers == 1; }));
        }
        joinBoth();
        QCOMPARE(playerName[2].trimmed(), QStringLiteral("Alice"));
        QCOMPARE(playerName[3].trimmed(), QStringLiteral("Bob"));
        // Bob goes; Launch deals to Hosty and Alice only.
        bob->socket.abort();
        QVERIFY(spin([] { return joinedPlayers == 2; }));
        window->startNewGame();
        QCOMPARE(playerCount, 2);
        for (int t = 1; t <= territoryCount; ++t)
            QVERIFY(territoryState[t].owner == 1 || territoryState[t].owner == 2);
        QVERIFY(spin([this] { return alice->count(1002) == 1; }));
    }

    // A second player of the same name is told apart by his seat.
    void aNameAlreadyAtTheTableGetsTheSeatNumber()
    {
        openLobby();
        alice = std::make_unique<Peer>();
        bob = std::make_unique<Peer>();
        QVERIFY(alice->connectTo(port));
        alice->join(QStringLiteral("player"));
        QVERIFY(spin([] { return joinedPlayers == 2; }));
        QVERIFY(bob->connectTo(port));
        bob->join(QStringLiteral("Player"));
        QVERIFY(spin([] { return joinedPlayers == 3; }));
        QCOMPARE(playerName[2].trimmed(), QStringLiteral("player"));
        QCOMPARE(playerName[3].trimmed(), QStringLiteral("Player 3"));
    }
};

TARVAN_TEST_MAIN(TestNetHostile)
#include "test_net_hostile.moc"
