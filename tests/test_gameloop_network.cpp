// The game loop in a network game: the resend watchdog, where resends go, the client's join
// request, and writing to connected sockets only.

#include "test_gameloop_support.h"
#include "test_net_waits.h"

#include "app/NetworkState.h"
#include "net/NetFraming.h"
#include "net/StateSnapshot.h"
#include "rules/GameStart.h"
#include "state/StatusLine.h"

#include <functional>

#include <QTcpServer>
#include <QTcpSocket>

using namespace loop_test;

namespace {

int quitRequests = 0;

void awaitAcknowledgement(int code, int socket)
{
    awaitedAckCode = code;
    awaitedAckSocket = socket;
    ackWaitTicks = 0;
    ackResendCount = 0;
}

// What the receiver does with an acknowledgement.
void acknowledge()
{
    awaitedAckCode = awaitedAckSocket = ackWaitTicks = ackResendCount = 0;
}

// Client socket 1 connected over loopback to `server`; the server's end of it, or null.
QTcpSocket *connectFirstSocket(QTcpServer &server)
{
    if (!server.listen(QHostAddress::LocalHost, 0))
        return nullptr;
    clientSocket(1)->connectToHost(QHostAddress::LocalHost, server.serverPort());
    if (!clientSocket(1)->waitForConnected(kHangGuardMs) || !server.waitForNewConnection(kHangGuardMs))
        return nullptr;
    return server.nextPendingConnection();
}

// Runs `shown` the moment a box comes up, before the player can have read it.
class WatchedUi : public ScriptedInteraction {
public:
    std::function<void()> shown;
    void message(MessageIcon icon, const QString &title, const QString &text) override
    {
        if (shown)
            shown();
        ScriptedInteraction::message(icon, title, text);
    }
};

} // namespace

class TestGameLoopNetwork : public QObject {
    Q_OBJECT

    ScriptedInteraction ui;
    RecordingSockets sockets;
    std::unique_ptr<ViewArea> window;

    // The ticks (counted from 1) on which `code` was written.
    QList<int> ticksWriting(const QByteArray &code, int count)
    {
        QList<int> found;
        for (int tick = 1; tick <= count; ++tick) {
            const int before = sockets.written.size();
            window->gameTick();
            for (int i = before; i < sockets.written.size(); ++i)
                if (sockets.written[i].code() == code)
                    found.append(tick);
        }
        return found;
    }

private slots:
    void init()
    {
        resetForLoopTest(ui);
        window = makeLoopWindow(ui);
        sockets = RecordingSockets();
        sockets.install();
        quitRequests = 0;
        quitEventLoop = [] { ++quitRequests; };
        networkSeat = 1;
        joinClientSeats(2);
    }

    void cleanup() { window.reset(); }

    void anUnansweredTurnIsResentEveryFifthTickThenTheGameIsGivenUp()
    {
        awaitAcknowledgement(1007, 2);
        QCOMPARE(ticksWriting("1007", 35), (QList<int>{5, 10, 15, 20, 25, 30, 35}));
        QCOMPARE(sockets.socketsOf("1007"), (QList<int>{2, 2, 2, 2, 2, 2, 2}));
        QCOMPARE(ackResendCount, 7);
        QVERIFY(ui.messages.isEmpty());
        window->gameTick(); // the 36th
        QCOMPARE(ui.messages.size(), 1);
        QCOMPARE(ui.messages[0].icon, MessageIcon::Critical);
        QCOMPARE(ui.messages[0].title, QStringLiteral("Error"));
        QCOMPARE(ui.messages[0].text, QStringLiteral("Network errors, End of Game."));
        QCOMPARE(exitReason, 913);
        QCOMPARE(quitRequests, 1);
        QCOMPARE(window->gameTimerInterval(), 0);
        // Ticks that still arrive end at the watchdog.
        pushActionStep(makeStep(2, 1, 0, 0, 0, 0, 0, QStringLiteral("never")));
        ticks(*window, 5);
        QCOMPARE(ui.messages.size(), 1);
        QCOMPARE(quitRequests, 1);
        QCOMPARE(actionQueueIndex, 0);
    }

    // A machine that gives up leaves at once: the other side has its farewell and the end of the
    // connection before its box is up, not once the box is closed.
    void aMachineThatGivesUpLeavesBeforeItsBox_data()
    {
        QTest::addColumn<int>("seat");
        QTest::addColumn<int>("awaited");
        QTest::addColumn<int>("farewell");
        QTest::newRow("a client whose turn's end is never answered") << 2 << 1011 << 1020;
        QTest::newRow("the host whose turn is never answered") << 1 << 1007 << 1019;
    }
    void aMachineThatGivesUpLeavesBeforeItsBox()
    {
        QFETCH(int, seat);
        QFETCH(int, awaited);
        QFETCH(int, farewell);
        setSocketWriter({});
        QTcpServer server;
        QTcpSocket *peer = connectFirstSocket(server);
        QVERIFY(peer);
        networkSeat = seat;
        playerCount = 3;
        dealTerritories();
        WatchedUi watched;
        setInteraction(&watched);
        QByteArray atTheBox;
        bool closedAtTheBox = false;
        watched.shown = [&] {
            closedAtTheBox = peer->state() == QAbstractSocket::UnconnectedState || peer->waitForDisconnected(kHangGuardMs);
            atTheBox = peer->readAll();
        };
        awaitAcknowledgement(awaited, 1);
        ticks(*window, 36);
        QCOMPARE(watched.messageTexts(), QStringList{QStringLiteral("Network errors, End of Game.")});
        QVERIFY(closedAtTheBox);
        const QList<QByteArray> messages = takeMessages(atTheBox);
        QVERIFY(!messages.isEmpty());
        QCOMPARE(messageCode(messages.last()), farewell);
        StateSnapshot said;
        QVERIFY(decodeSnapshot(messages.last().mid(kCodeLength), said));
        if (farewell == 1019)
            QCOMPARE(said.msgOwner, 1); // the host itself is the one who leaves
        QCOMPARE(exitReason, 913);
        QCOMPARE(quitRequests, 1);
    }

    void anAcknowledgementEndsTheResends()
    {
        awaitAcknowledgement(1004, 1);
        QCOMPARE(ticksWriting("1004", 15), (QList<int>{5, 10, 15}));
        acknowledge();
        QCOMPARE(ticksWriting("1004", 20), QList<int>{});
        QCOMPARE(ackWaitTicks, 0);
        awaitAcknowledgement(1007, 1);
        QCOMPARE(ticksWriting("1007", 10), (QList<int>{5, 10}));
        QCOMPARE(ackResendCount, 2);
    }

    void eachResendGoesWhereTheMessageWent_data()
    {
        QTest::addColumn<int>("seat");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("socket");
        QTest::addColumn<bool>("fails");
        QTest::addColumn<QList<int>>("written");
        QTest::addColumn<QString>("status");
        QTest::newRow("placement turn to client 3") << 1 << 1004 << 3 << false << QList<int>{3} << "-";
        QTest::newRow("placement turn, client gone") << 1 << 1004 << 3 << true << QList<int>{}
                                                     << "Player has left the game. End of game.";
        QTest::newRow("placement turn, no such socket") << 1 << 1004 << 5 << false << QList<int>{} << "-";
        QTest::newRow("turn to client 2 fails") << 1 << 1007 << 2 << true << QList<int>{} << "socket send ERROR 1007 2";
        QTest::newRow("turn to client 1 fails") << 1 << 1007 << 1 << true << QList<int>{} << "socket send ERROR 1007";
        QTest::newRow("placement done to the host") << 2 << 1005 << 1 << false << QList<int>{1} << "-";
        QTest::newRow("placement done, socket 3") << 2 << 1005 << 3 << false << QList<int>{} << "-";
        QTest::newRow("turn done fails") << 4 << 1011 << 1 << true << QList<int>{} << "socket send ERROR 1011";
        QTest::newRow("a code never resent") << 1 << 1003 << 1 << false << QList<int>{} << "-";
    }

    void eachResendGoesWhereTheMessageWent()
    {
        QFETCH(int, seat);
        QFETCH(int, code);
        QFETCH(int, socket);
        QFETCH(bool, fails);
        QFETCH(QList<int>, written);
        QFETCH(QString, status);
        networkSeat = seat;
        if (fails)
            sockets.failing.insert(socket);
        awaitAcknowledgement(code, socket);
        ackWaitTicks = 4;
        setStatusText(QStringLiteral("-"));
        window->gameTick();
        QList<int> wrote;
        for (const Written &w : sockets.written) {
            QCOMPARE(w.code(), QByteArray::number(code));
            wrote.append(w.socket);
        }
        QCOMPARE(wrote, written);
        QCOMPARE(statusLine, status);
        QCOMPARE(ackResendCount, 1);
        QCOMPARE(ackWaitTicks, 0);
    }

    void aClientsJoinRequestCarriesItsName_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("fails");
        QTest::addColumn<bool>("internet");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("status");
        QTest::newRow("whole name") << 3 << false << false << QByteArray("1000Kim") << "-";
        QTest::newRow("cut by its length") << 2 << false << false << QByteArray("1000Ki") << "-";
        QTest::newRow("no host on the LAN") << 3 << true << false << QByteArray()
                                            << "ERROR - Can't find the host's game. Be sure to start a host game first.";
        QTest::newRow("no host on the Internet") << 3 << true << true << QByteArray()
                                                 << "ERROR - Can't find the host's game.";
    }

    void aClientsJoinRequestCarriesItsName()
    {
        QFETCH(int, length);
        QFETCH(bool, fails);
        QFETCH(bool, internet);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, status);
        networkSeat = 3;
        internetGame = internet ? 1 : 0;
        if (fails)
            sockets.failing.insert(1);
        setStatusText(QStringLiteral("-"));
        pushMessageStep(makeStep(100));
        pushMessageStep(makeStep(100));
        pushMessageStep(makeStep(101, length, 0, 0, 0, 0, 0, QStringLiteral("Kim")));
        ticks(*window, 3);
        QCOMPARE(statusLine, status);
        if (fails) {
            QVERIFY(sockets.written.isEmpty());
            QCOMPARE(networkSeat, 0);
            return;
        }
        QCOMPARE(sockets.written.size(), 1);
        QCOMPARE(sockets.written[0].socket, 1);
        QCOMPARE(sockets.written[0].bytes, bytes);
        QCOMPARE(networkSeat, 3);
    }

    void onlyConnectedSocketsAreWritten()
    {
        setSocketWriter({});
        QTcpServer server;
        QTcpSocket *peer = connectFirstSocket(server);
        QVERIFY(peer);
        joinClientSeats(2); // the second client's socket is not connected
        window->broadcastToClients(1027);
        QVERIFY(clientSocket(1)->waitForBytesWritten(kHangGuardMs));
        QByteArray received;
        while (received.size() < 4 && peer->waitForReadyRead(kHangGuardMs))
            received += peer->readAll();
        QVERIFY(received.startsWith("1027"));
        QCOMPARE(statusLine, QStringLiteral("socket send ERROR 1027 2"));
        clientSocket(1)->disconnectFromHost();
    }
};

TARVAN_TEST_MAIN(TestGameLoopNetwork)
#include "test_gameloop_network.moc"
