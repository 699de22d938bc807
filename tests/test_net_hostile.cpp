// Hostile input against a hosting game: connections that never joined, joins that leave, a client
// that sends what it may not (out of turn, more than its turn can make, codes only the host
// sends), and floods. After each the host's game is unchanged, or changed only as allowed, and
// the game goes on. The host is this process's window; the peers speak the protocol by hand.

#include "test_mapclicks_support.h"
#include "test_net_support.h"
#include "test_net_waits.h"

#include "app/GameLoop.h"
#include "app/NetworkState.h"
#include "app/ViewArea.h"
#include "net/NetFraming.h"
#include "net/NetPlay.h"
#include "net/NetState.h"
#include "net/StateSnapshot.h"
#include "persist/SharedGlobals.h"
#include "rules/Attack.h"
#include "rules/Battle.h"
#include "rules/Cards.h"
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
        return socket.waitForConnected(kHangGuardMs);
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
    // How many of this code came, from the `from`th message on.
    int count(int code, int from = 0) const
    {
        int n = 0;
        for (int i = from; i < received.size(); ++i)
            n += messageCode(received[i]) == code ? 1 : 0;
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

// ---- Boards of World laid out at the host's turn, and what Alice's machine claims on them ----

constexpr int kAlice = 2, kBob = 3;
constexpr int kAlaska = 1, kCentralAmerica = 9, kVenezuela = 10, kPeru = 11, kBrazil = 12, kArgentina = 13;
constexpr int kEasternAustralia = 42;

void handOut(int player, CardKind kind, int count)
{
    cardDeckCounts[kind] -= count;
    for (int i = 0; i < count; ++i)
        addCard(playerTable[player], kind);
}

// Alice holds Alaska, Venezuela, Peru and Argentina; Bob Brazil and Central America, which border
// them, and China; the host the rest.
void southAmericanFront()
{
    for (int t = 1; t <= territoryCount; ++t)
        clicks_test::setTerritory(t, 1, 2);
    for (const auto &[t, owner, armies] : {std::tuple{kAlaska, kAlice, 4}, {kVenezuela, kAlice, 5}, {kPeru, kAlice, 9},
                                           {kArgentina, kAlice, 3}, {kBrazil, kBob, 5}, {kCentralAmerica, kBob, 2},
                                           {30, kBob, 2}})
        clicks_test::setTerritory(t, owner, armies);
    recountAllPlayers();
}

// Alice's 1-for-1 battle from `from` on `to` with `committed` armies, at her troop experience
// unless told another, as her rules fight it; a conquest draws a card of `drawn` (-1: none) and
// nothing follows it yet.
StateSnapshot fought(StateSnapshot s, int from, int to, int committed, int drawn = CardArtillery, int experience = -1)
{
    const int defender = s.territories[to].owner;
    const BattleResult r = fightOneForOne(committed, s.territories[to].armies,
                                          experience < 0 ? battleExperience(kAlice) : experience, battleExperience(defender));
    s.territories[from].armies -= r.attackerLosses;
    s.territories[to].armies -= r.defenderLosses;
    const bool conquered = s.territories[to].armies == 0;
    recordBattle(s.players[kAlice], s.players[defender], committed, r, conquered);
    if (conquered) {
        s.territories[to] = {kAlice, 1};
        s.territories[from].armies -= 1;
        if (drawn >= 0) {
            --s.deck[drawn];
            addCard(s.players[kAlice], drawn);
        }
    }
    s.shown = s.territories;
    return s;
}

StateSnapshot moved(StateSnapshot s, int from, int to, int armies)
{
    s.territories[from].armies -= armies;
    s.territories[to].armies += armies;
    s.shown = s.territories;
    return s;
}

StateSnapshot placed(StateSnapshot s, int t, int armies)
{
    s.territories[t].armies += armies;
    s.shown = s.territories;
    return s;
}

// Alice hands in `handedIn` for `armies`, placed on Peru.
StateSnapshot traded(StateSnapshot s, const CardHand &handedIn, int armies)
{
    PlayerRecord &alice = s.players[kAlice];
    alice.artillery() -= handedIn.artillery;
    alice.infantry() -= handedIn.infantry;
    s.deck[CardArtillery] += handedIn.artillery;
    s.deck[CardInfantry] += handedIn.infantry;
    alice.cardBonusReceived() += armies;
    return placed(s, kPeru, armies);
}

} // namespace

using Stage = int;
enum : int { InLobby = 0, InATurn = 1 };
using Attack = std::function<void(Peer &intruder, Peer &acting, Peer &waiting)>;
// What the host's game may have become: empty for unchanged.
using Allowed = std::function<QString(const QString &before)>;
Q_DECLARE_METATYPE(Attack)
using Board = std::function<void()>;
// From the state Alice is handed: the states her turn may send, then the one it may not.
using Claims = std::function<QList<StateSnapshot>(const StateSnapshot &start)>;
Q_DECLARE_METATYPE(Board)
Q_DECLARE_METATYPE(Claims)

class TestNetHostile : public QObject {
    Q_OBJECT

    clicks_test::ClickUi ui;
    std::unique_ptr<ViewArea> window;
    quint16 port = 0;
    std::unique_ptr<Peer> alice, bob, intruder;

    // Runs the host's loop and the peers' sockets until `done` holds; false only when it never does.
    template <typename Condition>
    bool spin(Condition done)
    {
        QElapsedTimer clock;
        clock.start();
        while (!done()) {
            if (clock.elapsed() > kHangGuardMs)
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

    // A peer's placement, as a client makes it: its territories filled in turn.
    void placeAs(Peer &peer, int seat)
    {
        QVERIFY(spin([&] { return peer.count(1004) > 0; }));
        peer.send("2004");
        StateSnapshot s;
        QVERIFY(peer.last(1004, s));
        QCOMPARE(s.currentPlayer, seat);
        placeInitialArmies(s);
        peer.send(messageOf(1005, s));
    }

    // Launch, the three placements, the host's first turn ended (on `board`, when given): Alice's
    // turn is handed to her.
    void playToAlicesTurn(const Board &board = {})
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
        if (board)
            board();
        handTurnTo(*alice);
    }

    // The host ends its turn; the peer whose turn follows acknowledges it.
    void handTurnTo(Peer &peer)
    {
        const int had = peer.count(1007);
        nextPlayer();
        QVERIFY(spin([&] { return peer.count(1007) > had; }));
        peer.send("2007");
        QVERIFY(spin([] { return awaitedAckCode == 0; }));
    }

    // Alice sends `s` after an action: the host takes it, holds it and sends nothing back.
    void takenFromAlice(const StateSnapshot &s)
    {
        const int aliceHad = alice->received.size();
        alice->send(messageOf(1006, s));
        QVERIFY(settled(*alice, *bob));
        QCOMPARE(alice->count(1003, aliceHad), 0);
        QCOMPARE(territoryState, s.territories);
    }

    // Alice sends `s` after an action: the host refuses it, its game stays as it was, its state
    // goes back to her and nothing of it reaches Bob.
    void refusedFromAlice(const StateSnapshot &s)
    {
        QVERIFY(settled(*alice, *bob));
        const QString before = hostGame();
        const int aliceHad = alice->received.size();
        const int bobHad = bob->received.size();
        alice->send(messageOf(1006, s));
        QVERIFY(settled(*alice, *bob));
        QCOMPARE(hostGame(), before);
        QCOMPARE(alice->count(1003, aliceHad), 1);
        StateSnapshot back;
        QVERIFY(alice->last(1003, back));
        QCOMPARE(back.territories, territoryState);
        for (int i = bobHad; i < bob->received.size(); ++i)
            QCOMPARE(messageCode(bob->received[i]), 3000);
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

    // A state that Alice's turn cannot have made by the rules is refused whole, after the states
    // of her turn that it can.
    void cheatsAreRefused_data()
    {
        QTest::addColumn<bool>("oneForOne");
        QTest::addColumn<bool>("experience");
        QTest::addColumn<Board>("board");
        QTest::addColumn<Claims>("claims");

        const Board front = southAmericanFront;
        const auto cheat = [](const std::function<StateSnapshot(StateSnapshot)> &change) {
            return Claims([change](const StateSnapshot &start) { return QList<StateSnapshot>{change(start)}; });
        };
        const auto afterABattle = [](const std::function<StateSnapshot(StateSnapshot)> &change) {
            return Claims([change](const StateSnapshot &start) {
                const StateSnapshot battle = fought(start, kVenezuela, kCentralAmerica, 4);
                return QList<StateSnapshot>{battle, change(battle)};
            });
        };

        // Cards.
        QTest::newRow("cards taken from the deck with no conquest") << true << false << front << cheat([](StateSnapshot s) {
            s.players[kAlice].wild() += 2;
            s.players[kAlice].artillery() += 8;
            s.deck[CardWild] -= 2;
            s.deck[CardArtillery] -= 8;
            return s;
        });
        QTest::newRow("two cards drawn with one conquest") << true << false << front << cheat([](StateSnapshot s) {
            s = fought(s, kPeru, kBrazil, 8);
            --s.deck[CardInfantry];
            s.players[kAlice].infantry() += 1;
            return s;
        });
        QTest::newRow("a card with the turn's second conquest") << true << false << front << Claims([](const StateSnapshot &start) {
            const StateSnapshot first = fought(start, kPeru, kBrazil, 8);
            return QList<StateSnapshot>{first, fought(first, kVenezuela, kCentralAmerica, 4)};
        });
        const Board twoOdd = [] { southAmericanFront(); handOut(kAlice, CardArtillery, 1); handOut(kAlice, CardInfantry, 1); };
        QTest::newRow("cards that make no set traded") << true << false << twoOdd << cheat([](StateSnapshot s) {
            CardHand cards;
            cards.artillery = cards.infantry = 1;
            return traded(s, cards, 5);
        });
        const Board threeOfAKind = [] { southAmericanFront(); handOut(kAlice, CardArtillery, 3); };
        QTest::newRow("a set traded for more than it gives") << true << false << threeOfAKind << cheat([](StateSnapshot s) {
            CardHand cards;
            cards.artillery = 3;
            return traded(s, cards, 15);
        });
        const Board bobsCards = [] { southAmericanFront(); handOut(kBob, CardInfantry, 3); };
        QTest::newRow("the cards of a player still in the game") << true << false << bobsCards << cheat([](StateSnapshot s) {
            s.players[kBob].infantry() = 0;
            s.players[kAlice].infantry() += 3;
            return s;
        });

        // Territories and battles.
        QTest::newRow("a territory of five taken with no army lost") << true << false << front << cheat([](StateSnapshot s) {
            s.territories[kBrazil] = {kAlice, 1};
            s.territories[kPeru].armies -= 1;
            BattleResult nothingLost;
            nothingLost.defenderLosses = 5;
            recordBattle(s.players[kAlice], s.players[kBob], 8, nothingLost, true);
            return s;
        });
        QTest::newRow("a neighbour's armies lowered with no battle") << true << false << front << cheat([](StateSnapshot s) {
            s.territories[kBrazil].armies = 1;
            return s;
        });
        QTest::newRow("two battles in one state") << true << false << front << cheat([](StateSnapshot s) {
            return fought(fought(s, kPeru, kBrazil, 8), kVenezuela, kCentralAmerica, 4, -1);
        });
        QTest::newRow("a 1-for-1 battle lost more cheaply than the rule says") << true << false << front << cheat([](StateSnapshot s) {
            s = fought(s, kPeru, kBrazil, 8);
            s.territories[kPeru].armies += 3;
            s.players[kAlice].battleLosses() -= 3;
            return s;
        });
        const Board lowExperience = [] {
            southAmericanFront();
            // Troop experience from Alice's tenth turn on: 50 for her, 100 for Bob.
            turnsTaken[kAlice] = 12;
            playerTable[1].battleLosses() = 30;
            playerTable[kAlice].battleLosses() = 10;
            playerTable[kBob].battleLosses() = 20;
        };
        QTest::newRow("a battle fought as if without the seat's low experience") << true << true << lowExperience << cheat([](StateSnapshot s) {
            return fought(s, kPeru, kBrazil, 8, CardArtillery, 100);
        });
        QTest::newRow("a territory of another player handed to a third") << true << false << front << cheat([](StateSnapshot s) {
            s.territories[kEasternAustralia].owner = kBob;
            return s;
        });
        const Board bigPeru = [] { southAmericanFront(); clicks_test::setTerritory(kPeru, kAlice, 40); };
        QTest::newRow("every territory its own with one army, and the game won") << true << false << bigPeru << cheat([](StateSnapshot s) {
            for (int t = 1; t <= s.territoryCount; ++t)
                s.territories[t] = {kAlice, 1};
            s.gameOver = 1;
            return s;
        });
        QTest::newRow("battle losses of its own raised with no battle") << true << false << front << cheat([](StateSnapshot s) {
            s.players[kAlice].battleLosses() += 50;
            return s;
        });

        // Placements and moves.
        QTest::newRow("armies placed after an attack") << false << false << front << afterABattle([](StateSnapshot s) {
            return placed(s, kArgentina, 2);
        });
        QTest::newRow("a move before any attack") << true << false << front << cheat([](StateSnapshot s) {
            return moved(s, kPeru, kVenezuela, 2);
        });
        QTest::newRow("armies moved between territories that are not neighbours") << true << false << front << afterABattle([](StateSnapshot s) {
            return moved(s, kAlaska, kVenezuela, 2);
        });
        QTest::newRow("more armies moved than a turn allows") << true << false << front << afterABattle([](StateSnapshot s) {
            return moved(s, kPeru, kVenezuela, 8);
        });
        // Peru - Venezuela - Central America: two moves of four, eight of the seven.
        QTest::newRow("armies moved two territories on, beyond the allowance") << true << false << front
            << afterABattle([](StateSnapshot s) { return moved(s, kPeru, kCentralAmerica, 4); });
    }

    void cheatsAreRefused()
    {
        QFETCH(bool, oneForOne);
        QFETCH(bool, experience);
        QFETCH(Board, board);
        QFETCH(Claims, claims);
        attackRule = oneForOne ? 'j' : 'n';
        troopExperienceEnabled = experience ? 1 : 0;
        openLobby();
        joinBoth();
        playToAlicesTurn(board);
        if (QTest::currentTestFailed())
            return;
        StateSnapshot start;
        QVERIFY(alice->last(1007, start));
        const QList<StateSnapshot> states = claims(start);
        for (int i = 0; i + 1 < states.size(); ++i)
            takenFromAlice(states[i]);
        refusedFromAlice(states.last());
    }

    // Alice's state at the end of her last turn, sent again in her next: the armies Bob placed
    // since are undone, and the host refuses it.
    void aStateOfAnEarlierTurnIsRefused()
    {
        openLobby();
        joinBoth();
        playToAlicesTurn(southAmericanFront);
        StateSnapshot start;
        QVERIFY(alice->last(1007, start));
        const StateSnapshot ended = placed(start, kArgentina, 3);
        alice->send(messageOf(1011, ended));
        QVERIFY(spin([this] { return bob->count(1007) > 0; }));
        bob->send("2007");
        StateSnapshot bobs;
        QVERIFY(bob->last(1007, bobs));
        bob->send(messageOf(1011, placed(bobs, kBrazil, 3)));
        QVERIFY(spin([] { return currentPlayer == 1 && turnStarted && queuesIdleHere(); }));
        QCOMPARE(territoryState[kBrazil].armies, 8);
        handTurnTo(*alice);
        refusedFromAlice(ended);
        QCOMPARE(territoryState[kBrazil].armies, 8);
    }

    // Alice's conquest decides the game and her armies follow it in her next state: the host
    // plays the end for everyone only after her last word, so the others are told of the game
    // with those armies.
    void theEndWaitsForTheArmiesThatFollowTheDecidingConquest()
    {
        attackRule = 'j';
        openLobby();
        joinBoth();
        playToAlicesTurn([] {
            for (int t = 1; t <= territoryCount; ++t)
                clicks_test::setTerritory(t, kAlice, 2);
            clicks_test::setTerritory(kPeru, kAlice, 9);
            clicks_test::setTerritory(kBrazil, kBob, 2);
            recountAllPlayers();
        });
        StateSnapshot start;
        QVERIFY(alice->last(1007, start));
        StateSnapshot decided = fought(start, kPeru, kBrazil, 8);
        decided.gameOver = 1;
        takenFromAlice(decided);
        QVERIFY(spin([] { return gameOver && queuesIdleHere(); }));
        QCOMPARE(bob->count(1027), 0);

        const StateSnapshot followed = moved(decided, kPeru, kBrazil, 5);
        takenFromAlice(followed);
        alice->send(messageOf(1028, followed));
        QVERIFY(spin([this] { return bob->count(1027) > 0; }));
        StateSnapshot end;
        QVERIFY(bob->last(1027, end));
        QCOMPARE(end.territories[kBrazil], (TerritoryState{kAlice, 6}));
        QCOMPARE(end.territories[kPeru], (TerritoryState{kAlice, 1}));
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

    // Nobody joins as a seat that the computer plays: every machine would take him for one.
    void aJoiningNameNeverCarriesTheComputersMark()
    {
        openLobby();
        alice = std::make_unique<Peer>();
        QVERIFY(alice->connectTo(port));
        alice->join(QStringLiteral("Zed (pc) (pc)"));
        QVERIFY(spin([] { return joinedPlayers == 2; }));
        QCOMPARE(playerName[2].trimmed(), QStringLiteral("Zed"));
    }
};

TARVAN_TEST_MAIN(TestNetHostile)
#include "test_net_hostile.moc"
