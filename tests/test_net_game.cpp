// A host and two clients in one process, over loopback: joining, Launch, the initial placements
// handed round the table and a turn handed on, with every machine holding the same state after
// each message; and the farewell messages that end the other side's game.
//
// The game's state is global, one game per process, so each machine keeps its own copy of it
// and the test brings a machine's copy in before that machine acts or receives.

#include "TestSupport.h"
#include "test_net_support.h"
#include "test_net_waits.h"

#include "app/GameLoop.h"
#include "app/GameLoopInternal.h"
#include "app/NetworkState.h"
#include "app/ViewArea.h"
#include "app/WindowState.h"
#include "net/NetFraming.h"
#include "net/NetPlay.h"
#include "net/NetState.h"
#include "net/StateSnapshot.h"
#include "persist/SharedGlobals.h"
#include "rules/GameStart.h"
#include "rules/PlayerRecords.h"
#include "rules/TurnFlow.h"
#include "state/MapPicture.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/GameState.h"
#include "state/StatusLine.h"
#include "state/StepQueues.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <memory>
#include <type_traits>

namespace {

// Everything one machine has of its own.
#define MACHINE_GLOBALS(X)                                                                          \
    X(networkSeat) X(gameMode) X(humanPlayerCount) X(humanSeatCount) X(playerCount) X(currentPlayer) \
    X(gameOver) X(initialArmies) X(territoryState) X(displayedTerritoryState) X(territoryChanged)    \
    X(territoryMark) X(playerTable) X(playerName) X(cardDeckCounts) X(attackRule)                    \
    X(strongholdsEnabled) X(troopExperienceEnabled) X(missionType) X(neutralArmyActive)              \
    X(troopExperience) X(turnsTaken) X(quietRounds) X(placementRound) X(armiesToPlace)               \
    X(initialPlacementPhase) X(strongholdPhase) X(turnStarted) X(saveAllowed) X(nextSoundId)         \
    X(actionQueue) X(actionQueueCount) X(actionQueueIndex) X(messageQueue) X(messageQueueCount)      \
    X(messageQueueIndex) X(statusText) X(statusLine) X(statusText2) X(screenMode) X(lobbyOpen) X(joinedPlayers)     \
    X(clientCount) X(clientSocket1) X(clientSocket2) X(clientSocket3) X(clientSocket4)               \
    X(awaitedAckCode) X(awaitedAckSocket) X(ackWaitTicks) X(ackResendCount) X(msgTerritory)          \
    X(msgArmies) X(msgOwner) X(msgFlag) X(highlightedContinent) X(cardTradeValues) X(netSession)     \
    X(exitReason) X(internetGame) X(gameListSlot)

struct Machine {
#define DECLARE_COPY(g) std::remove_reference_t<decltype(g)> g##Copy{};
    MACHINE_GLOBALS(DECLARE_COPY)
#undef DECLARE_COPY
    QString name;

    void keep()
    {
#define KEEP(g) g##Copy = g;
        MACHINE_GLOBALS(KEEP)
#undef KEEP
    }
    void bringIn() const
    {
#define BRING(g) g = g##Copy;
        MACHINE_GLOBALS(BRING)
#undef BRING
    }
};

Machine *active = nullptr;

void switchTo(Machine &m)
{
    if (active == &m)
        return;
    if (active)
        active->keep();
    m.bringIn();
    active = &m;
}

template <class F>
auto on(Machine &m, F read)
{
    switchTo(m);
    return read();
}

int quits = 0;

// The state every machine must agree on.
struct Shared {
    std::array<TerritoryState, kMaxTerritories + 1> rules;
    std::array<TerritoryState, kMaxTerritories + 1> shown;
    std::array<PlayerRecord, kMaxPlayers + 1> records;
    std::array<QString, kMaxPlayers + 1> names;
    qint32 current;
    qint32 players;
    bool sameAs(const Shared &o, bool withCurrentPlayer) const
    {
        for (int p = 1; p <= kMaxPlayers; ++p)
            if (names[p].trimmed() != o.names[p].trimmed())
                return false;
        for (int p = 1; p <= kMaxPlayers; ++p)
            if (records[p].f != o.records[p].f) {
                qWarning("player %d's record differs", p);
                return false;
            }
        for (int t = 1; t <= kMaxTerritories; ++t)
            if (rules[t] != o.rules[t] || shown[t] != o.shown[t]) {
                qWarning("territory %d differs: %d/%d %d/%d against %d/%d %d/%d", t, rules[t].owner,
                         rules[t].armies, shown[t].owner, shown[t].armies, o.rules[t].owner, o.rules[t].armies,
                         o.shown[t].owner, o.shown[t].armies);
                return false;
            }
        return players == o.players
            && (!withCurrentPlayer || current == o.current);
    }
};

Shared sharedOf(Machine &m)
{
    return on(m, [] {
        return Shared{territoryState, displayedTerritoryState, playerTable, playerName, currentPlayer, playerCount};
    });
}

} // namespace

class TestNetGame : public QObject {
    Q_OBJECT

    // What comes on `peer` until a whole message has, or the connection closes.
    static QByteArray readUntilWhole(QTcpSocket &peer)
    {
        QByteArray bytes;
        for (;;) {
            QByteArray rest = bytes;
            if (!takeMessages(rest).isEmpty() || !peer.waitForReadyRead(kHangGuardMs))
                return bytes + peer.readAll();
            bytes += peer.readAll();
        }
    }

    // What comes on `peer` until the other side has closed the connection.
    static QByteArray readUntilClosed(QTcpSocket &peer)
    {
        QByteArray bytes;
        while (peer.state() == QAbstractSocket::ConnectedState && peer.waitForReadyRead(kHangGuardMs))
            bytes += peer.readAll();
        return bytes + peer.readAll();
    }

    ScriptedInteraction ui;
    Machine host, alice, bob;
    std::unique_ptr<QTcpServer> server;
    std::vector<std::unique_ptr<QTcpSocket>> clientSockets;

    void startHost()
    {
        switchTo(host);
        networkSeat = 1;
        gameMode = ModeHost;
        lobbyOpen = 1;
        joinedPlayers = 1;
        screenMode = 102;
        playerName[1] = QStringLiteral("Hosty").leftJustified(18);
        server = std::make_unique<QTcpServer>();
        QVERIFY(server->listen(QHostAddress::LocalHost, 0));
        tcpServer = server.get();
        connect(server.get(), &QTcpServer::newConnection, this, [this] {
            switchTo(host);
            acceptConnections([this](QTcpSocket *socket, int slot) {
                connect(socket, &QTcpSocket::readyRead, this, [this, slot] {
                    switchTo(host);
                    receiveFromSocket(slot);
                });
            });
        });
    }

    void joinAs(Machine &m, const QString &name)
    {
        switchTo(m);
        networkSeat = 2;
        gameMode = ModeClient;
        humanPlayerCount = 1;
        screenMode = 101;
        auto socket = std::make_unique<QTcpSocket>();
        clientSocket1 = socket.get();
        connect(socket.get(), &QTcpSocket::readyRead, this, [this, &m] {
            switchTo(m);
            receiveFromSocket(1);
        });
        socket->connectToHost(QHostAddress::LocalHost, server->serverPort());
        QVERIFY(socket->waitForConnected(kHangGuardMs));
        // The join step of the game loop writes the join message.
        const QString padded = name.leftJustified(kJoinNameLength);
        playJoinStep(makeStep(101, padded.size(), 0, 0, 0, 0, 0, padded));
        clientSockets.push_back(std::move(socket));
    }

    // The host opens its lobby; Alice joins, then Bob (under `bobsName`), each told his seat.
    void joinTwoClients(const QString &bobsName = QStringLiteral("Bob"))
    {
        startHost();
        joinAs(alice, QStringLiteral("Alice"));
        QTRY_COMPARE_WITH_TIMEOUT(on(alice, [] { return networkSeat; }), 2, kHangGuardMs);
        joinAs(bob, bobsName);
        QTRY_COMPARE_WITH_TIMEOUT(on(bob, [] { return networkSeat; }), 3, kHangGuardMs);
    }

    void launchWithTwoClients()
    {
        joinTwoClients();
        switchTo(host);
        startNetworkGame();
        QTRY_COMPARE_WITH_TIMEOUT(on(alice, [] { return screenMode; }), 9, kHangGuardMs);
        QTRY_COMPARE_WITH_TIMEOUT(on(bob, [] { return screenMode; }), 9, kHangGuardMs);
    }

    // The machine's player fills his territories in turn with his initial armies, and the
    // machine sends its state as the rules do after an action (1003 from the host, 1006 from a
    // client).
    void placeEverything(Machine &m)
    {
        switchTo(m);
        StateSnapshot s = captureSnapshot(false);
        placeInitialArmies(s);
        for (int t = 1; t <= territoryCount; ++t) {
            territoryState[t] = s.territories[t];
            displayedTerritoryState[t] = s.shown[t];
        }
        recountPlayer(currentPlayer);
        armiesToPlace = 0;
        initialPlacementPhase = 0;
        networkUpdate(networkSeat == 1 ? 1003 : 1006);
    }

    // Every machine holds the host's state (and its current player, unless a client has not
    // yet heard whose turn it is).
    void verifyAllAgree(bool aliceKnowsCurrent = true, bool bobKnowsCurrent = true)
    {
        const Shared expected = sharedOf(host);
        QVERIFY(sharedOf(alice).sameAs(expected, aliceKnowsCurrent));
        QVERIFY(sharedOf(bob).sameAs(expected, bobKnowsCurrent));
    }

private slots:
    void init()
    {
        resetAllGameState(9);
        resetNetworkPlay();
        ui = ScriptedInteraction();
        setInteraction(&ui);
        quits = 0;
        quitEventLoop = [] { ++quits; };
        selectMap(MapWorld);
        loadSelectedBuiltinMap();
        // Every machine starts from the same fresh program.
        active = nullptr;
        for (Machine *m : {&host, &alice, &bob})
            m->keep();
    }

    void cleanup()
    {
        if (active)
            active->keep();
        active = nullptr;
        clientSockets.clear();
        tcpServer = nullptr;
        server.reset();
        for (int n = 1; n <= kMaxClients; ++n)
            setClientSocket(n, nullptr);
        setInteraction(nullptr);
    }

    // A joining name is one line on every screen, whatever control character it carries.
    void playersJoinTheLobbyAndGetTheirSeats_data()
    {
        QTest::addColumn<QString>("joined");
        QTest::newRow("a line break") << QStringLiteral("Bo\nb");
        QTest::newRow("a tab") << QStringLiteral("Bo\tb");
        QTest::newRow("a delete") << QStringLiteral("Bo\x7f" "b");
        QTest::newRow("a next-line control of Latin-1") << QStringLiteral("Bo\u0085b");
    }
    void playersJoinTheLobbyAndGetTheirSeats()
    {
        QFETCH(QString, joined);
        joinTwoClients(joined);
        switchTo(host);
        QCOMPARE(joinedPlayers, 3);
        QCOMPARE(playerName[2].trimmed(), QStringLiteral("Alice"));
        QCOMPARE(playerName[3].trimmed(), QStringLiteral("Bo b")); // no line break on any screen
        QCOMPARE(statusText, QStringLiteral("Waiting for others to join..  Choose Launch to begin with current players."));
    }

    void theSearchsProbeTakesNoSeat()
    {
        startHost();
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, server->serverPort());
        QVERIFY(probe.waitForConnected(kHangGuardMs));
        probe.write("9999");
        probe.waitForBytesWritten(kHangGuardMs);
        // The host drops the probe's connection and keeps its socket free.
        QTRY_COMPARE_WITH_TIMEOUT(probe.state(), QAbstractSocket::UnconnectedState, kHangGuardMs);
        QCOMPARE(on(host, [] { return clientCount; }), 0);
        joinAs(alice, QStringLiteral("Alice"));
        QTRY_COMPARE_WITH_TIMEOUT(on(host, [] { return joinedPlayers; }), 2, kHangGuardMs);
        QCOMPARE(on(host, [] { return netSession.socketOfSeat[2]; }), 1);
        QCOMPARE(on(host, [] { return clientCount; }), 1);
    }

    void launchStartsTheSameGameEverywhere()
    {
        launchWithTwoClients();
        verifyAllAgree();
        switchTo(alice);
        QCOMPARE(gameMode, int(ModeClient));
        QCOMPARE(playerName[3].trimmed(), QStringLiteral("Bob"));
        QCOMPARE(placementRound, 1);
        switchTo(host);
        QCOMPARE(playerCount, 3);
        QCOMPARE(humanSeatCount, 3);
        QVERIFY(initialPlacementPhase);
        QCOMPARE(currentPlayer, 1);
    }

    void placementsGoRoundTheTableThenTheFirstTurnBegins()
    {
        launchWithTwoClients();
        placeEverything(host);
        sendNetworkUpdate(1004); // what the rules send when a placement is done
        QTRY_VERIFY_WITH_TIMEOUT(on(alice, [] { return bool(initialPlacementPhase); }), kHangGuardMs);
        QTRY_COMPARE_WITH_TIMEOUT(on(host, [] { return awaitedAckCode; }), 0, kHangGuardMs); // 2004 came back
        verifyAllAgree(true, false);
        QCOMPARE(on(alice, [] { return armiesToPlace; }), on(alice, [] { return initialArmies; }));

        placeEverything(alice);
        networkUpdate(1005);
        QTRY_VERIFY_WITH_TIMEOUT(on(bob, [] { return bool(initialPlacementPhase); }), kHangGuardMs);
        QTRY_COMPARE_WITH_TIMEOUT(on(alice, [] { return awaitedAckCode; }), 0, kHangGuardMs); // 2005 came back
        QTRY_COMPARE_WITH_TIMEOUT(on(host, [] { return awaitedAckCode; }), 0, kHangGuardMs);  // 2004 from Bob
        verifyAllAgree(false, true);

        placeEverything(bob);
        networkUpdate(1005);
        QTRY_COMPARE_WITH_TIMEOUT(on(host, [] { return placementRound; }), 0, kHangGuardMs);
        // The host's game loop begins its turn and tells the clients.
        switchTo(host);
        sendToJoinedClients(snapshotMessage(1010));
        QTRY_COMPARE_WITH_TIMEOUT(on(alice, [] { return currentPlayer; }), 1, kHangGuardMs);
        QTRY_COMPARE_WITH_TIMEOUT(on(bob, [] { return currentPlayer; }), 1, kHangGuardMs);
        verifyAllAgree();
        switchTo(host);
        QCOMPARE(currentPlayer, 1);
        QCOMPARE(turnStarted, quint8(0)); // the game loop begins the host's turn
        for (int p = 1; p <= 3; ++p)
            QCOMPARE(playerTable[p].totalArmies(), playerTable[p].territoriesHeld() + initialArmies);
    }

    void aTurnIsHandedOnAndBack()
    {
        launchWithTwoClients();
        // Straight to the turns.
        for (Machine *m : {&host, &alice, &bob}) {
            switchTo(*m);
            placementRound = 0;
            initialPlacementPhase = 0;
        }
        switchTo(host);
        territoryState[1].armies = 9;
        displayedTerritoryState[1] = territoryState[1];
        recountAllPlayers();
        networkUpdate(1003);
        nextPlayer();        // the host's turn ends
        sendNetworkUpdate(1007); // and the rules tell the network
        QTRY_COMPARE_WITH_TIMEOUT(on(alice, [] { return currentPlayer; }), 2, kHangGuardMs);
        QTRY_COMPARE_WITH_TIMEOUT(on(host, [] { return awaitedAckCode; }), 0, kHangGuardMs);
        QCOMPARE(on(alice, [] { return turnStarted; }), quint8(0)); // its loop begins the turn
        verifyAllAgree(true, false);

        switchTo(alice);
        turnStarted = 1;
        const int own = [] {
            int t = 1;
            while (territoryState[t].owner != 2)
                ++t;
            return t;
        }();
        territoryState[own].armies += 3; // her reinforcement
        displayedTerritoryState[own] = territoryState[own];
        recountAllPlayers();
        networkUpdate(1006);
        nextPlayer();
        networkUpdate(1011);
        QCOMPARE(turnStarted, quint8(1)); // no second begin of its own turn
        QTRY_COMPARE_WITH_TIMEOUT(on(bob, [] { return currentPlayer; }), 3, kHangGuardMs);
        QTRY_COMPARE_WITH_TIMEOUT(on(alice, [] { return awaitedAckCode; }), 0, kHangGuardMs);
        QTRY_COMPARE_WITH_TIMEOUT(on(host, [] { return awaitedAckCode; }), 0, kHangGuardMs);
        verifyAllAgree(false, true);
        QCOMPARE(on(host, [] { return currentPlayer; }), 3);
        QCOMPARE(on(bob, [own] { return territoryState[own].armies; }), on(alice, [own] { return territoryState[own].armies; }));
        QCOMPARE(on(bob, [] { return netSession.clientActing; }), quint8(1));
    }

    // A territory the local player touches is shown on every machine at once, not at the end of
    // the step.
    void aLocalPlayersTerritoryReachesThePeersAtOnce()
    {
        launchWithTwoClients();
        for (Machine *m : {&host, &alice, &bob}) {
            switchTo(*m);
            placementRound = 0;
            initialPlacementPhase = 0;
        }
        switchTo(host);
        QCOMPARE(currentPlayer, 1);
        int t = 1;
        while (territoryState[t].owner != 1)
            ++t;
        territoryState[t].armies = 77;
        recountAllPlayers();
        sendTurnUpdate(t);
        QTRY_COMPARE_WITH_TIMEOUT(on(alice, [t] { return territoryState[t].armies; }), 77, kHangGuardMs);
        QTRY_COMPARE_WITH_TIMEOUT(on(bob, [t] { return territoryState[t].armies; }), 77, kHangGuardMs);
    }

    void aClientOutOfTurnChangesNothing()
    {
        launchWithTwoClients();
        const Shared before = sharedOf(host);
        switchTo(bob);
        territoryState[5].armies = 50;
        const QByteArray message = snapshotMessage(1006);
        QVERIFY(clientSocket1->write(message) == message.size());
        // A chat line behind it: once Alice has it, the host has dealt with the 1006.
        clientSocket1->write(plainMessage(3001, QByteArray("after").leftJustified(kChatTextLength, ' ')));
        QTRY_COMPARE_WITH_TIMEOUT(on(alice, [] { return statusText2; }), QStringLiteral("Bob: after"), kHangGuardMs);
        QVERIFY(sharedOf(host).sameAs(before, true));
        QCOMPARE(on(alice, [] { return territoryState[5].armies; }), before.rules[5].armies);
    }

    void quittingEndsTheOtherSidesGame()
    {
        launchWithTwoClients();
        // Bob leaves: the host ends its game and tells Alice.
        switchTo(bob);
        QVERIFY(clientSocket1->write(snapshotMessage(1020)) > 0);
        // Both end their game and return to the start state; the programs stay open.
        QTRY_COMPARE_WITH_TIMEOUT(on(host, [] { return networkSeat; }), 0, kHangGuardMs);
        QTRY_COMPARE_WITH_TIMEOUT(on(alice, [] { return networkSeat; }), 0, kHangGuardMs);
        QCOMPARE(on(host, [] { return screenMode; }), 1);
        QCOMPARE(on(alice, [] { return screenMode; }), 1);
        QCOMPARE(quits, 0);
        // Both say who has gone: the host and Alice alike.
        const QString told = QStringLiteral("Bob has left the game. End of game.");
        QCOMPARE(ui.messageTexts(), (QStringList{told, told}));
    }

    // A client's line shows beside the prompt on every machine, headed by its sender; bytes that
    // are no message leave every prompt as it was.
    void aPeersTextNeverStandsInThePrompt_data()
    {
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QString>("shown");
        QTest::newRow("a chat line") << plainMessage(3001, QByteArray("player 2 has left the game. End of game.").leftJustified(kChatTextLength, ' '))
                                     << "Bob: player 2 has left the game. End of game.";
        QTest::newRow("a line as long as a line may be") << plainMessage(3001, QByteArray(kChatTextLength, 'x'))
                                                         << "Bob: " + QString(kChatTextLength - 5, QLatin1Char('x'));
        QTest::newRow("garbage") << QByteArray("ABCDEFGH") << " ";
    }
    void aPeersTextNeverStandsInThePrompt()
    {
        QFETCH(QByteArray, sent);
        QFETCH(QString, shown);
        launchWithTwoClients();
        const QString hostPrompt = on(host, [] { return statusText; });
        const QString alicePrompt = on(alice, [] { return statusText; });
        switchTo(bob);
        QVERIFY(clientSocket1->write(sent) == sent.size());
        // A chat line behind it, from Alice: once Bob has it, the host has read what Bob sent.
        switchTo(alice);
        clientSocket1->write(plainMessage(3001, QByteArray("behind").leftJustified(kChatTextLength, ' ')));
        QTRY_COMPARE_WITH_TIMEOUT(on(bob, [] { return statusText2; }), QStringLiteral("Alice: behind"), kHangGuardMs);
        QCOMPARE(on(host, [] { return statusText; }), hostPrompt);
        QCOMPARE(on(alice, [] { return statusText; }), alicePrompt);
        QCOMPARE(on(alice, [] { return statusText2; }), shown);
    }

    void theWindowSaysGoodbyeBeforeItCloses_data()
    {
        QTest::addColumn<int>("reason");
        QTest::addColumn<bool>("byWindowManager");
        QTest::addColumn<int>("code");
        QTest::newRow("the host quits") << 1 << false << 1019;
        QTest::newRow("a client quits") << 2 << false << 1020;
        QTest::newRow("the window manager closes the host's window") << 0 << true << 1019;
        QTest::newRow("the window manager closes a client's window") << 0 << true << 1020;
    }
    void theWindowSaysGoodbyeBeforeItCloses()
    {
        QFETCH(int, reason);
        QFETCH(bool, byWindowManager);
        QFETCH(int, code);
        QTcpServer other;
        QVERIFY(other.listen(QHostAddress::LocalHost, 0));
        auto window = std::make_unique<ViewArea>();
        window->gameTimer.stop();
        setInteraction(&ui);
        demoRunning = 0;
        playerCount = 3;
        dealTerritories();
        // The window's socket 1 leads to the other side.
        clientSocket1->connectToHost(QHostAddress::LocalHost, other.serverPort());
        QVERIFY(clientSocket1->waitForConnected(kHangGuardMs));
        QVERIFY(other.waitForNewConnection(kHangGuardMs));
        QTcpSocket *peer = other.nextPendingConnection();
        networkSeat = code == 1019 ? 1 : 2;
        joinClientSeats(1);
        exitReason = reason;
        // The window manager's close comes first; whatever follows, the goodbye has gone by then.
        if (byWindowManager)
            window->close();
        else
            window.reset();
        QByteArray received = readUntilWhole(*peer);
        // Then the window goes, its socket with it: nothing more comes.
        window.reset();
        received += readUntilClosed(*peer);
        QByteArray pending = received;
        const QList<QByteArray> messages = takeMessages(pending);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messageCode(messages[0]), code);
        StateSnapshot snapshot;
        QVERIFY(decodeSnapshot(messages[0].mid(4), snapshot));
    }
};

TARVAN_TEST_MAIN(TestNetGame)
#include "test_net_game.moc"
