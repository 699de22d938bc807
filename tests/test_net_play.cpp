// A network game of three programs: this test is the host, and it starts two copies of itself
// as the joining players, each its own process on 127.0.0.1. Every machine plays through the
// window's own calls (the set-up's host and join steps, Launch, clicks on the map and the
// buttons, the army-count and card dialogs, the game loop's ticks); after every hand-over the
// three must hold the same owners, armies, current player and names. Then the ways of leaving,
// each in a game of its own.
//
// A copy started with "--seat NAME PORT SEED" is a joining player. It reads commands on its
// standard input, one a line, and answers on its standard output:
//   go            this machine's player may play the placement or turn now handed to it
//   state         answers "state <text>" with what it holds, once its queues have run dry
//   menu          Main Menu -> Yes
//   close         the window closes
//   lobbyquit     the lobby's Quit
// and it says "box <text>" for every box it shows and "ended" when its game has ended.

#include "test_mapclicks_support.h"
#include "test_net_copy_support.h"

#include "app/GameLoop.h"
#include "app/MouseInput.h"
#include "app/NetworkState.h"
#include "app/PaintSideMenus.h"
#include "net/NetState.h"
#include "net/OnlineConfig.h"
#include "rules/Cards.h"
#include "rules/GameEnd.h"
#include "rules/GameStart.h"
#include "persist/SharedGlobals.h"
#include "setup/SetupState.h"
#include "setup/ChoiceDialog.h"
#include "setup/NetworkSetup.h"
#include "setup/SetupSteps.h"
#include "state/MapPicture.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <initializer_list>
#include <memory>

using namespace clicks_test;

namespace {

constexpr int kAttackRow = 6;
constexpr int kCardsRow = 3;
constexpr int kNextRow = 7;
constexpr int kAddRow = 5;

// ---- One machine: its window and the player who sits at it ----

class Seat : public ClickUi {
public:
    std::function<void(const QString &)> told; // every box shown

    void message(MessageIcon icon, const QString &title, const QString &text) override
    {
        ClickUi::message(icon, title, text);
        if (told)
            told(text);
    }
    bool question(const QString &title, const QString &text, MessageIcon icon) override
    {
        ScriptedInteraction::question(title, text, icon);
        return true; // every "quit ?" is answered Yes
    }
};

bool ownedByCurrent(int t)
{
    return isValidTerritory(t) && territoryState[t].owner == currentPlayer;
}

bool enemyTerritory(int t)
{
    return isValidTerritory(t) && territoryState[t].owner != currentPlayer && !playerOutOfGame(territoryState[t].owner);
}

// The enemy with the fewest territories goes first: someone is out of the game soon.
int targetPriority(int t)
{
    return 1000 - playerTable[territoryState[t].owner].territoriesHeld();
}

struct Attack {
    int source = 0;
    int target = 0;
};

// The best attack on the weakest enemy: the strongest own territory against a weaker neighbour.
Attack bestAttack(bool needOdds)
{
    Attack best;
    int bestScore = -1000000;
    for (int t = 1; t <= territoryCount; ++t) {
        if (!ownedByCurrent(t) || territoryState[t].armies < 2)
            continue;
        for (int i = 1; i <= kMaxNeighbours && territoryNeighbours[t][i] != 0; ++i) {
            const int u = territoryNeighbours[t][i];
            if (u == t || !enemyTerritory(u))
                continue;
            const int edge = territoryState[t].armies - territoryState[u].armies;
            if (needOdds && edge < 1)
                continue;
            const int score = targetPriority(u) * 100 + edge;
            if (score > bestScore) {
                bestScore = score;
                best = {t, u};
            }
        }
    }
    return best;
}

// Where new armies go: the own territory that borders the weakest enemy with most armies.
int reinforcementTarget()
{
    const Attack attack = bestAttack(false);
    if (attack.source)
        return attack.source;
    int best = 0;
    for (int t = 1; t <= territoryCount; ++t)
        if (ownedByCurrent(t) && neighbourWhere(t, enemyTerritory) != 0
            && (best == 0 || territoryState[t].armies > territoryState[best].armies))
            best = t;
    return best ? best : findTerritory(currentPlayer, [](int) { return true; });
}

bool queuesIdle()
{
    return actionQueueCount == 0 && messageQueueCount == 0;
}

// The player at this machine: one action at a time, the way a person plays through the window.
class Player {
public:
    explicit Player(ViewArea &window) : window_(window) {}
    bool mayAct = false;
    bool attacks = true;
    int trades = 0;
    int conquests = 0;

    bool myTurn() const { return networkSeat > 0 && currentPlayer == networkSeat && !gameOver; }

    // True when it did something.
    bool act()
    {
        if (!mayAct || !queuesIdle())
            return false;
        // The clicks land where the last paint drew the map and the buttons.
        paintWindow(window_);
        // The deciding conquest still asks how many armies move in; the end follows the answer.
        if (gameOver && currentPlayer == networkSeat && armyQuestionOpen(window_)) {
            answerArmies(window_, largestOffered(window_));
            return true;
        }
        if (!myTurn() || !turnStarted)
            return false;
        if (window_.cardDialog && window_.cardDialog->isVisible())
            return tradeCards();
        if (armyQuestionOpen(window_)) {
            answerArmies(window_, largestOffered(window_));
            return true;
        }
        if (strongholdPhase) {
            click(findTerritory(currentPlayer, [](int t) { return strongholdAllowed(t); }));
            return true;
        }
        if (initialPlacementPhase) {
            if (armiesToPlace < 1)
                return false;
            const int t = findTerritory(currentPlayer, [](int u) { return initialPlacementLimit(u) >= 1; });
            click(t);
            answerArmies(window_, initialPlacementLimit(t));
            return true;
        }
        if (continentBonusPhase || cardBonusPhase || territoryBonusPhase) {
            click(reinforcementTarget());
            if (armyQuestionOpen(window_))
                answerArmies(window_, largestOffered(window_));
            return true;
        }
        if (inGameButtonEnabled[ButtonCards] && evaluateCardSet(handOf(currentPlayer)).valueTraded > 0) {
            press(kCardsRow);
            return true;
        }
        if (territoryArmiesDue > 0 && inGameButtonEnabled[ButtonAdd]) {
            press(kAddRow);
            return true;
        }
        if (attacks && inGameButtonEnabled[ButtonAttack]) {
            const Attack attack = bestAttack(true);
            if (attack.source && attacksThisTurn_ < 40) {
                ++attacksThisTurn_;
                const int owner = territoryState[attack.target].owner;
                press(kAttackRow);
                click(attack.source);
                click(attack.target);
                if (armyQuestionOpen(window_))
                    answerArmies(window_, largestOffered(window_));
                if (territoryState[attack.target].owner != owner)
                    ++conquests;
                return true;
            }
        }
        if (inGameButtonEnabled[ButtonNext]) {
            attacksThisTurn_ = 0;
            press(kNextRow);
            return true;
        }
        return false;
    }

private:
    bool tradeCards()
    {
        for (int n = 1; n <= 6; ++n)
            if (window_.cardSetButton[n]->isVisibleTo(window_.cardDialog)) {
                window_.cardSetButton[n]->click();
                ++trades;
                return true;
            }
        window_.cardCancelButton->click();
        return true;
    }
    void click(int t)
    {
        if (t)
            mouseClickAt(window_, labelPoint(t));
    }
    void press(int row) { mouseClickAt(window_, gameButtonPoint(row)); }

    ViewArea &window_;
    int attacksThisTurn_ = 0;
};

// The machine's own window and ears (each process has one).
const Seat *seatHere = nullptr;

// What every machine must agree on after a hand-over.
QString sharedState()
{
    QStringList parts;
    parts << QString::number(currentPlayer) << QString::number(playerCount) << QString::number(gameOver);
    for (int p = 1; p <= playerCount && p <= kMaxPlayers; ++p)
        parts << playerName[p].trimmed();
    QString map;
    for (int t = 1; t <= territoryCount; ++t)
        map += QStringLiteral("%1:%2/%3:%4 ")
                   .arg(territoryState[t].owner)
                   .arg(territoryState[t].armies)
                   .arg(displayedTerritoryState[t].owner)
                   .arg(displayedTerritoryState[t].armies);
    parts << map.trimmed();
    // Once every step has played, the map shows the game as it is.
    bool shownAsItIs = true;
    for (int t = 1; t <= territoryCount; ++t)
        shownAsItIs = shownAsItIs && displayedTerritoryState[t] == territoryState[t];
    parts << (shownAsItIs ? QStringLiteral("shown as it is") : QStringLiteral("shown otherwise"));
    // A decided game has played its end here once: the map drawn highlighted, one fanfare, the
    // winner in the bar.
    if (gameOver && seatHere) {
        bool highlighted = true;
        for (int t = 1; t <= territoryCount; ++t)
            highlighted = highlighted && territoryChanged[t] == 'j';
        parts << QStringLiteral("end %1, fanfares %2, %3")
                     .arg(highlighted ? QStringLiteral("drawn") : QStringLiteral("not drawn"))
                     .arg(seatHere->soundsPlayed.count(QStringLiteral("sounds/overwinning.wav")))
                     .arg(statusLine.trimmed());
    }
    return parts.join(QLatin1Char('|'));
}

bool quitRequested = false;
int hostQuits = 0;

bool gameHereEnded()
{
    return networkSeat == 0 && screenMode == 1;
}

// A window as the program opens it, on a screen of a fixed size.
std::unique_ptr<ViewArea> openWindow(Seat &seat)
{
    auto window = std::make_unique<ViewArea>();
    window->gameTimer.stop();
    demoRunning = 0;
    seat.window = window.get();
    setInteraction(&seat);
    screen_test::useScreen(1366, 768, 340);
    window->resize(1366, 768);
    return window;
}

// One turn of the machine's loop: the events that have come, then one tick or one action; with
// nothing to do it waits for the next event (a guard timer wakes it) and ticks once.
void runLoopOnce(ViewArea &window, Player &player)
{
    QCoreApplication::processEvents();
    if (!queuesIdle() || (!turnStarted && player.myTurn())) {
        window.gameTick();
        return;
    }
    if (player.act())
        return;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    window.gameTick();
}

// ---- The joining copy ----

int runJoiningCopy(const QString &name, quint16 port, quint32 seed)
{
    resetAllGameState(seed);
    resetNetworkPlay();
    Seat seat;
    seatHere = &seat;
    std::unique_ptr<ViewArea> window = openWindow(seat);
    const auto say = sayLine;
    seat.told = [&](const QString &text) { say(QStringLiteral("box ") + text); };
    quitEventLoop = [] { quitRequested = true; };
    bool &quit = quitRequested;

    if (!joinHostOnLoopback(*window, name, port))
        return 2;

    Player player(*window);
    InputLines input;
    QStringList &commands = input.lines;
    QTimer wake;
    wake.start(100);

    bool wasActing = false;
    bool endedSaid = false;
    bool stateAsked = false;
    int tradesSaid = 0;
    while (!quit && !input.ended) {
        runLoopOnce(*window, player);
        // The turn handed here is played once the host has seen every machine agree.
        if (wasActing && !netSession.clientActing && !gameOver)
            player.mayAct = false;
        wasActing = netSession.clientActing;
        while (!commands.isEmpty()) {
            const QString command = commands.takeFirst();
            if (command == QLatin1String("go"))
                player.mayAct = true;
            else if (command == QLatin1String("state"))
                stateAsked = true;
            else if (command == QLatin1String("menu"))
                leaveGame(*window);
            else if (command == QLatin1String("close"))
                quit = true;
            else if (command == QLatin1String("lobbyquit")) {
                paintWindow(*window);
                mouseClickAt(*window, menuRowRect(1, false, false).center());
            }
        }
        if (player.trades != tradesSaid) {
            tradesSaid = player.trades;
            say(QStringLiteral("trades %1").arg(tradesSaid));
        }
        if (stateAsked && queuesIdle()) {
            stateAsked = false;
            say(QStringLiteral("state ") + sharedState());
        }
        if (!endedSaid && gameHereEnded()) {
            endedSaid = true;
            say(QStringLiteral("ended"));
        }
    }
    window.reset(); // the window's farewell, as when the program closes
    say(QStringLiteral("closed"));
    return 0;
}

// ---- The host's side: the other two machines as processes ----

class Copy {
public:
    QString name;
    QProcess process;
    QStringList boxes;
    QString lastState;
    bool ended = false;
    bool closed = false;
    int trades = 0;

    void start(const QString &program, quint16 port, quint32 seed, const QString &folder)
    {
        process.setWorkingDirectory(folder);
        process.setProcessChannelMode(QProcess::SeparateChannels);
        process.setReadChannel(QProcess::StandardOutput);
        QObject::connect(&process, &QProcess::readyReadStandardOutput, [this] { read(); });
        process.start(program, {QStringLiteral("--seat"), name, QString::number(port), QString::number(seed)});
    }
    void send(const QString &command) { process.write((command + QLatin1Char('\n')).toLatin1()); }

private:
    void read()
    {
        while (process.canReadLine()) {
            const QString line = QString::fromLatin1(process.readLine()).trimmed();
            if (line.startsWith(QLatin1String("box ")))
                boxes.append(line.mid(4));
            else if (line.startsWith(QLatin1String("state ")))
                lastState = line.mid(6);
            else if (line.startsWith(QLatin1String("trades ")))
                trades = line.mid(7).toInt();
            else if (line == QLatin1String("ended"))
                ended = true;
            else if (line == QLatin1String("closed"))
                closed = true;
        }
    }
};

} // namespace

class TestNetPlay : public QObject {
    Q_OBJECT

    Seat seat;
    std::unique_ptr<ViewArea> window;
    std::unique_ptr<Player> player;
    std::unique_ptr<Copy> alice, bob;
    std::unique_ptr<QTemporaryDir> aliceFolder, bobFolder;
    QTimer wake;

    void runHostOnce() { runLoopOnce(*window, *player); }

    template <typename Condition>
    bool runUntil(Condition done, int limitMs = 30000)
    {
        QElapsedTimer clock;
        clock.start();
        while (!done()) {
            if (clock.elapsed() > limitMs)
                return false;
            runHostOnce();
        }
        return true;
    }

    // The host opens its lobby on an ephemeral port of 127.0.0.1 and the two copies join; `shown`:
    // the lobby is painted before they do, as an open window is.
    void openLobbyWithTwoPlayers(bool shown = false)
    {
        answerSetupWith(QString());
        QCOMPARE(hostOnLoopback(*window, QStringLiteral("Hosty")), SetupStepResult::Continue);
        if (shown) {
            paintWindow(*window);
            QCOMPARE(lobbyPanelNames(), QStringList{QStringLiteral("Hosty 1")});
        }
        QVERIFY(tcpServer->isListening());
        const quint16 port = tcpServer->serverPort();
        QVERIFY(port != 0 && port != kDefaultGamePort);
        aliceFolder = std::make_unique<QTemporaryDir>();
        bobFolder = std::make_unique<QTemporaryDir>();
        alice = std::make_unique<Copy>();
        alice->name = QStringLiteral("Alice");
        alice->start(QCoreApplication::applicationFilePath(), port, 21, aliceFolder->path());
        QVERIFY(runUntil([] { return joinedPlayers == 2; }));
        bob = std::make_unique<Copy>();
        bob->name = QStringLiteral("Bob");
        bob->start(QCoreApplication::applicationFilePath(), port, 22, bobFolder->path());
        QVERIFY(runUntil([] { return joinedPlayers == 3; }));
    }

    // The copies are asked again and again until `agreed`, or the time is up. What the host has
    // sent may still be on its way: the sockets hold small writes back until the last one is
    // acknowledged, some 40 ms on loopback, and hundreds of asks fit in that.
    template <typename Agreed>
    bool askUntil(std::initializer_list<Copy *> copies, Agreed agreed, int limitMs = 20000)
    {
        QElapsedTimer clock;
        clock.start();
        do {
            for (Copy *c : copies) {
                c->lastState.clear();
                c->send(QStringLiteral("state"));
            }
            const auto answered = [copies] {
                for (Copy *c : copies)
                    if (c->lastState.isEmpty())
                        return false;
                return true;
            };
            if (!runUntil(answered, int(qMax(qint64(1), limitMs - clock.elapsed()))))
                return false;
            if (agreed())
                return true;
        } while (clock.elapsed() < limitMs);
        return false;
    }

    // Every machine holds what the host holds.
    bool allAgree()
    {
        const QString expected = sharedState();
        if (askUntil({alice.get(), bob.get()},
                     [&] { return alice->lastState == expected && bob->lastState == expected; }))
            return true;
        for (Copy *c : {alice.get(), bob.get()}) {
            const QStringList mine = expected.split(QLatin1Char('|'));
            const QStringList theirs = c->lastState.split(QLatin1Char('|'));
            qWarning("%s: current %s here, %s there", qPrintable(c->name), qPrintable(mine.value(0)),
                     qPrintable(theirs.value(0)));
            if (mine.last() != theirs.last())
                qWarning("  %s here, %s there", qPrintable(mine.last()), qPrintable(theirs.last()));
            // The map comes after the names: owner:armies/shown owner:shown armies.
            const QStringList a = mine.value(3 + playerCount).split(QLatin1Char(' '));
            const QStringList b = theirs.value(3 + playerCount).split(QLatin1Char(' '));
            for (int i = 0; i < a.size(); ++i)
                if (a[i] != b.value(i))
                    qWarning("  territory %d: %s here, %s there", i + 1, qPrintable(a[i]), qPrintable(b.value(i)));
        }
        return false;
    }

    // One copy holds what the host holds.
    bool agrees(Copy &c)
    {
        return askUntil({&c}, [&c] { return c.lastState == sharedState(); });
    }

    Copy *copyOfSeat(int p) { return p == 2 ? alice.get() : p == 3 ? bob.get() : nullptr; }

    // The copy of seat p goes: its connection lost ("lost"), or by the command `how`.
    Copy *leave(int p, const QString &how)
    {
        Copy *leaving = copyOfSeat(p);
        if (how == QLatin1String("lost"))
            leaving->process.kill();
        else
            leaving->send(how);
        return leaving;
    }

    void launch()
    {
        window->startNewGame();
        QCOMPARE(screenMode, 9);
        QCOMPARE(playerCount, 3);
    }
    void launch2()
    {
        window->startNewGame();
        QCOMPARE(screenMode, 9);
        QCOMPARE(playerCount, 2);
    }

    // The names the host's panel shows, each with the share of the preview dealt to him.
    static QStringList lobbyPanelNames()
    {
        const PlayerPanelContent &panel = playerPanelShown();
        QStringList names;
        for (int p = 1; panel.toPlay >= 1 && p <= panel.players; ++p)
            names << QStringLiteral("%1 %2").arg(panel.rows[p].name).arg(panel.rows[p].territories > 0);
        return names;
    }

private slots:
    void init()
    {
        resetAllGameState(20);
        resetNetworkPlay();
        seat.messages.clear();
        seat.soundsPlayed.clear();
        seatHere = &seat;
        window = openWindow(seat);
        player = std::make_unique<Player>(*window);
        hostQuits = 0;
        quitEventLoop = [] { ++hostQuits; };
        wake.start(100);
    }

    void cleanup()
    {
        for (Copy *c : {alice.get(), bob.get()}) {
            if (!c)
                continue;
            c->process.closeWriteChannel();
            if (!c->process.waitForFinished(5000))
                c->process.kill();
            c->process.waitForFinished(5000);
        }
        alice.reset();
        bob.reset();
        player.reset();
        window.reset();
        setInteraction(nullptr);
        setChoiceDialogRunner(nullptr);
        wake.stop();
    }

    void aWholeGamePlaysTheSameOnThreeMachines_data()
    {
        QTest::addColumn<bool>("hostAttacks");
        QTest::newRow("the host plays to win") << true;
        QTest::newRow("the host never attacks: a client wins") << false;
    }
    void aWholeGamePlaysTheSameOnThreeMachines()
    {
        QFETCH(bool, hostAttacks);
        player->attacks = hostAttacks;
        openLobbyWithTwoPlayers();
        QCOMPARE(playerName[2].trimmed(), QStringLiteral("Alice"));
        QCOMPARE(playerName[3].trimmed(), QStringLiteral("Bob"));
        launch();
        QVERIFY(allAgree());

        // Every hand-over: the three agree, then the player whose turn it is plays it.
        int handOvers = 0;
        int rounds = 0;
        int eliminations = 0;
        int shownBehind = 0;
        QString lastKey;
        for (int guard = 0; guard < 4000 && !gameOver; ++guard) {
            const bool ok = runUntil([] { return gameOver || (queuesIdle() && awaitedAckCode == 0); });
            QVERIFY2(ok, "the game stood still");
            if (gameOver)
                break;
            const QString key = QStringLiteral("%1 %2 %3 %4")
                                    .arg(currentPlayer)
                                    .arg(placementRound)
                                    .arg(initialPlacementPhase)
                                    .arg(turnsTaken[1] + turnsTaken[2] + turnsTaken[3]);
            if (key != lastKey) {
                lastKey = key;
                player->mayAct = false;
                ++handOvers;
                QVERIFY2(allAgree(), qPrintable(QStringLiteral("hand-over %1 (%2)").arg(handOvers).arg(key)));
                int out = 0;
                for (int p = 1; p <= 3; ++p)
                    out += playerOutOfGame(p) ? 1 : 0;
                eliminations = out;
                rounds = turnsTaken[1];
                if (currentPlayer == 1)
                    player->mayAct = true;
                else
                    copyOfSeat(currentPlayer)->send(QStringLiteral("go"));
            }
            // Play goes on: the host's own player acts, or the others' messages come. While
            // another machine acts, the host shows each of its actions as it is taken.
            QVERIFY(runUntil([&] {
                if (currentPlayer != 1 && queuesIdle() && displayedTerritoryState != territoryState)
                    ++shownBehind;
                return gameOver || !queuesIdle() || awaitedAckCode != 0 || player->act();
            }));
        }
        QVERIFY2(gameOver, "the game did not end");
        QCOMPARE(shownBehind, 0);
        // Every machine plays the end once, the winner's and the others' alike.
        const auto endPlayed = [] {
            return queuesIdle() && sharedState().endsWith(QStringLiteral("|end drawn, fanfares 1, %1 wins the game.").arg(shownPlayerName(currentPlayer)));
        };
        QVERIFY2(runUntil(endPlayed), qPrintable(sharedState()));
        QVERIFY(allAgree());
        if (!hostAttacks)
            QVERIFY(playerOutOfGame(1));
        QVERIFY2(rounds >= 3, qPrintable(QString::number(rounds)));
        QVERIFY(handOvers >= 9);
        QVERIFY(eliminations >= 1);
        // Cards were traded somewhere at the table.
        QVERIFY(player->trades + alice->trades + bob->trades >= 1);
    }

    // ---- Leaving ----

    void leavingEndsTheGameForTheOthers_data()
    {
        QTest::addColumn<int>("leaver"); // 1 the host, 2 Alice, 3 Bob
        QTest::addColumn<QString>("how");
        QTest::newRow("host: Main Menu, Yes") << 1 << "menu";
        QTest::newRow("host: window closed") << 1 << "close";
        QTest::newRow("host: connection lost") << 1 << "lost";
        QTest::newRow("client: Main Menu, Yes") << 2 << "menu";
        QTest::newRow("client: window closed") << 3 << "close";
        QTest::newRow("client: connection lost") << 3 << "lost";
    }
    void leavingEndsTheGameForTheOthers()
    {
        QFETCH(int, leaver);
        QFETCH(QString, how);
        openLobbyWithTwoPlayers();
        launch();
        // Into the placement: the host's own is done, Alice's is handed to her.
        player->mayAct = true;
        QVERIFY(runUntil([] { return currentPlayer == 2 && awaitedAckCode == 0 && queuesIdle(); }));
        QVERIFY(allAgree());

        if (leaver == 1) {
            const QString told = how == QLatin1String("lost") ? QStringLiteral("The connection to the host was lost. End of game.")
                                                              : QStringLiteral("The host has left the game. End of game.");
            if (how == QLatin1String("menu")) {
                leaveGame(*window);
                QCOMPARE(hostQuits, 1); // the host's program closes
            } else if (how == QLatin1String("close")) {
                window.reset();
            } else {
                for (int n = 1; n <= kMaxClients; ++n)
                    if (QTcpSocket *socket = clientSocket(n)) {
                        socket->disconnect();
                        socket->abort();
                    }
            }
            QTRY_VERIFY_WITH_TIMEOUT(alice->ended && bob->ended, 20000);
            QCOMPARE(alice->boxes, QStringList{told});
            QCOMPARE(bob->boxes, QStringList{told});
            return;
        }
        Copy *staying = copyOfSeat(leaver == 2 ? 3 : 2);
        Copy *leaving = leave(leaver, how);
        QVERIFY(runUntil([] { return networkSeat == 0; }, 20000));
        QCOMPARE(screenMode, 1);
        QCOMPARE(seat.messageTexts(), QStringList{QStringLiteral("%1 has left the game. End of game.").arg(leaving->name)});
        // Nothing was sent to the seat that had gone.
        QVERIFY2(!statusLine.contains(QLatin1String("ERROR")), qPrintable(statusLine));
        QVERIFY(runUntil([staying] { return staying->ended; }, 20000));
        QCOMPARE(staying->boxes, QStringList{QStringLiteral("The host has left the game. End of game.")});
        QCOMPARE(hostQuits, 0); // the host's program stays, at the start state
    }

    void aSeatIsFreedWhenItsPlayerGoesBeforeLaunch_data()
    {
        QTest::addColumn<int>("leaver");
        QTest::addColumn<QString>("how");
        QTest::newRow("Bob's lobby Quit") << 3 << "lobbyquit";
        QTest::newRow("Alice's connection lost") << 2 << "lost";
    }
    void aSeatIsFreedWhenItsPlayerGoesBeforeLaunch()
    {
        QFETCH(int, leaver);
        QFETCH(QString, how);
        openLobbyWithTwoPlayers(true);
        // The panel shows who has joined.
        QCOMPARE(playerCount, 3);
        QCOMPARE(lobbyPanelNames(), (QStringList{QStringLiteral("Hosty 1"), QStringLiteral("Alice 1"), QStringLiteral("Bob 1")}));
        Copy *staying = copyOfSeat(leaver == 2 ? 3 : 2);
        leave(leaver, how);
        QVERIFY(runUntil([] { return joinedPlayers == 2; }, 20000));
        QCOMPARE(playerCount, 2);
        QCOMPARE(playerName[2].trimmed(), staying->name);
        QCOMPARE(lobbyPanelNames(), (QStringList{QStringLiteral("Hosty 1"), staying->name + QStringLiteral(" 1")}));
        QCOMPARE(netSession.socketOfSeat[3], 0);
        // Launch deals to the two players still there; the one who stayed plays seat 2.
        launch2();
        QVERIFY(agrees(*staying));
        QVERIFY(staying->boxes.isEmpty());
    }

    void theHostLeavingTheLobbyTellsThoseWhoJoined()
    {
        openLobbyWithTwoPlayers();
        window.reset(); // the lobby's Quit closes the program
        QTRY_VERIFY_WITH_TIMEOUT(alice->ended && bob->ended, 20000);
        QCOMPARE(alice->boxes, QStringList{QStringLiteral("The host has left the game. End of game.")});
        QCOMPARE(bob->boxes, alice->boxes);
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir workDir;
    if (!workDir.isValid() || !QDir::setCurrent(workDir.path()))
        return 1;
    if (argc == 5 && QByteArray(argv[1]) == "--seat")
        return runJoiningCopy(QString::fromLatin1(argv[2]), quint16(QByteArray(argv[3]).toUInt()),
                              QByteArray(argv[4]).toUInt());
    TestNetPlay tc;
    return QTest::qExec(&tc, argc, argv);
}

#include "test_net_play.moc"
