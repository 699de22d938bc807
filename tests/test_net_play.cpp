// A network game of three programs: this test is the host, and it starts two copies of itself
// as the joining players, each its own process on 127.0.0.1. Every machine plays through the
// window's own calls (the set-up's host and join steps, Launch, clicks on the map and the
// buttons, the army-count and card dialogs, the game loop's ticks); after every hand-over the
// three must hold the same owners, armies, current player and names. Then a client's actions one
// by one, the ways of leaving and a machine gone silent, each in a game of its own.
//
// A copy started with "--seat NAME PORT SEED" is a joining player, in the folder it was started
// in. It reads commands on its standard input, one a line, and answers on its standard output:
//   go            this machine's player may play the placement or turn now handed to it
//   step          its player takes one action, then it answers "acted <kind> <map>" with what
//                 the action was and its own territories (or "acted none")
//   state         answers "state <text>" with what it holds, once its queues have run dry
//   map           answers "map <rules> <shown>" with the territories it holds and shows
//   clock MS      its clock moves on by MS milliseconds
//   freeze        it says "frozen", then reads nothing and answers nothing any more, until its
//                 input closes
//   menu          Main Menu -> Yes
//   close         the window closes
//   lobbyquit     the lobby's Quit
// and it says "box <text>" for every box it shows and "ended" when its game has ended.

#include "test_mapclicks_support.h"
#include "test_net_support.h"

#include "app/GameLoop.h"
#include "app/MouseInput.h"
#include "app/NetworkState.h"
#include "app/PaintSideMenus.h"
#include "net/NetLiveness.h"
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
#include "state/MapLoading.h"
#include "state/MapPicture.h"

#include <QElapsedTimer>
#include <QSet>
#include <QProcess>
#include <QTcpServer>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <initializer_list>
#include <memory>
#include <unistd.h>

using namespace clicks_test;

namespace {

constexpr int kAttackRow = 6;
constexpr int kCardsRow = 3;
constexpr int kMoveRow = 4;
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

// A move: the own territory with most armies to an own neighbour.
Attack bestMove()
{
    Attack best;
    for (int t = 1; t <= territoryCount; ++t) {
        if (!ownedByCurrent(t) || territoryState[t].armies < 2
            || (best.source && territoryState[t].armies <= territoryState[best.source].armies))
            continue;
        if (const int u = neighbourWhere(t, [t](int v) { return v != t && ownedByCurrent(v); }))
            best = {t, u};
    }
    return best;
}

bool queuesIdle()
{
    return actionQueueCount == 0 && messageQueueCount == 0;
}

// The territories as owner:armies, of the rules' state or of the map shown.
QString mapOf(const std::array<TerritoryState, kMaxTerritories + 1> &table)
{
    QStringList parts;
    for (int t = 1; t <= territoryCount; ++t)
        parts << QStringLiteral("%1:%2").arg(table[t].owner).arg(table[t].armies);
    return parts.join(QLatin1Char(','));
}

// The player at this machine: one action at a time, the way a person plays through the window.
class Player {
public:
    explicit Player(ViewArea &window) : window_(window) {}
    bool mayAct = false;
    bool attacks = true;
    int trades = 0;
    int conquests = 0;
    int actions = 0;
    QString lastAction; // place, stronghold, add, cards, attack, move, next, answer

    bool myTurn() const { return networkSeat > 0 && currentPlayer == networkSeat && !gameOver; }

    // True when it did something.
    bool act()
    {
        if (!mayAct || !queuesIdle())
            return false;
        const QString kind = nextAction();
        if (kind.isEmpty())
            return false;
        lastAction = kind;
        ++actions;
        return true;
    }

private:
    // Takes one action and names it; empty when there is nothing to do.
    QString nextAction()
    {
        // The clicks land where the last paint drew the map and the buttons.
        paintWindow(window_);
        // The deciding conquest still asks how many armies move in; the end follows the answer.
        if (gameOver && currentPlayer == networkSeat && armyQuestionOpen(window_)) {
            answerArmies(window_, largestOffered(window_));
            return QStringLiteral("answer");
        }
        if (!myTurn() || !turnStarted)
            return QString();
        if (window_.cardDialog && window_.cardDialog->isVisible())
            return tradeCards();
        if (armyQuestionOpen(window_)) {
            answerArmies(window_, largestOffered(window_));
            return QStringLiteral("answer");
        }
        if (strongholdPhase) {
            click(findTerritory(currentPlayer, [](int t) { return strongholdAllowed(t); }));
            return QStringLiteral("stronghold");
        }
        if (initialPlacementPhase) {
            if (armiesToPlace < 1)
                return QString();
            const int t = findTerritory(currentPlayer, [](int u) { return initialPlacementLimit(u) >= 1; });
            click(t);
            answerArmies(window_, initialPlacementLimit(t));
            return QStringLiteral("place");
        }
        if (continentBonusPhase || cardBonusPhase || territoryBonusPhase) {
            click(reinforcementTarget());
            if (armyQuestionOpen(window_))
                answerArmies(window_, largestOffered(window_));
            return QStringLiteral("add");
        }
        if (inGameButtonEnabled[ButtonCards] && evaluateCardSet(handOf(currentPlayer)).valueTraded > 0) {
            press(kCardsRow);
            return QStringLiteral("cards");
        }
        if (territoryArmiesDue > 0 && inGameButtonEnabled[ButtonAdd]) {
            press(kAddRow);
            return QStringLiteral("add button");
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
                return QStringLiteral("attack");
            }
        }
        // One move a turn, once the attacks are over.
        if (!movedThisTurn_ && inGameButtonEnabled[ButtonMove]) {
            const Attack move = bestMove();
            if (move.source) {
                movedThisTurn_ = true;
                press(kMoveRow);
                click(move.source);
                click(move.target);
                if (armyQuestionOpen(window_))
                    answerArmies(window_, largestOffered(window_));
                return QStringLiteral("move");
            }
        }
        if (inGameButtonEnabled[ButtonNext]) {
            attacksThisTurn_ = 0;
            movedThisTurn_ = false;
            press(kNextRow);
            return QStringLiteral("next");
        }
        return QString();
    }

    QString tradeCards()
    {
        for (int n = 1; n <= 6; ++n)
            if (window_.cardSetButton[n]->isVisibleTo(window_.cardDialog)) {
                window_.cardSetButton[n]->click();
                ++trades;
                return QStringLiteral("cards");
            }
        window_.cardCancelButton->click();
        return QStringLiteral("cards");
    }
    void click(int t)
    {
        if (t)
            mouseClickAt(window_, labelPoint(t));
    }
    void press(int row) { mouseClickAt(window_, gameButtonPoint(row)); }

    ViewArea &window_;
    int attacksThisTurn_ = 0;
    bool movedThisTurn_ = false;
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

void answerSetupWith(const QString &text)
{
    setChoiceDialogRunner([text](ViewArea &, const ChoiceDialogSpec &spec) {
        ChoiceOutcome outcome;
        outcome.result = 1;
        outcome.choice = 1;
        for (const DialogItem &item : spec.items)
            if (item.kind == DialogItem::TextField)
                outcome.text = text;
        return outcome;
    });
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
    setvbuf(stdout, nullptr, _IOLBF, 0);
    auto say = [](const QString &line) {
        std::printf("%s\n", line.toLatin1().constData());
        std::fflush(stdout);
    };
    seat.told = [&](const QString &text) { say(QStringLiteral("box ") + text); };
    quitEventLoop = [] { quitRequested = true; };
    bool &quit = quitRequested;

    answerSetupWith(QStringLiteral("127.0.0.1"));
    networkPlayerName = networkNameFor(name);
    playerName[1] = networkPlayerName;
    gamePort = port;
    gameMode = ModeClient;
    if (runJoinSteps(*window) != SetupStepResult::Continue)
        return 2;

    Player player(*window);
    QStringList commands;
    QByteArray input;
    QSocketNotifier stdinNotifier(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&stdinNotifier, &QSocketNotifier::activated, [&] {
        char buffer[256];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            stdinNotifier.setEnabled(false);
            quit = true;
            return;
        }
        input.append(buffer, int(n));
        int end;
        while ((end = input.indexOf('\n')) >= 0) {
            commands.append(QString::fromLatin1(input.left(end)));
            input.remove(0, end + 1);
        }
    });
    QTimer wake;
    wake.start(100);

    bool wasActing = false;
    bool endedSaid = false;
    bool stateAsked = false;
    bool stepping = false;
    int actionsBefore = 0;
    int tradesSaid = 0;
    while (!quit) {
        runLoopOnce(*window, player);
        // The turn handed here is played once the host has seen every machine agree.
        if (wasActing && !netSession.clientActing && !gameOver)
            player.mayAct = false;
        wasActing = netSession.clientActing;
        // One action at a time: told once its steps have played.
        if (stepping && player.actions != actionsBefore) {
            player.mayAct = false;
            if (queuesIdle()) {
                stepping = false;
                say(QStringLiteral("acted %1 %2").arg(player.lastAction.replace(QLatin1Char(' '), QLatin1Char('-')),
                                                      mapOf(territoryState)));
            }
        } else if (stepping && (!player.myTurn() || !netSession.clientActing) && queuesIdle()) {
            stepping = player.mayAct = false;
            say(QStringLiteral("acted none"));
        }
        while (!commands.isEmpty()) {
            const QString command = commands.takeFirst();
            if (command == QLatin1String("go"))
                player.mayAct = true;
            else if (command == QLatin1String("step")) {
                player.mayAct = stepping = true;
                actionsBefore = player.actions;
            } else if (command == QLatin1String("state"))
                stateAsked = true;
            else if (command == QLatin1String("map"))
                say(QStringLiteral("map %1 %2").arg(mapOf(territoryState), mapOf(displayedTerritoryState)));
            else if (command.startsWith(QLatin1String("clock ")))
                seat.clock = seat.clock.addMSecs(command.mid(6).toLongLong());
            else if (command == QLatin1String("freeze")) {
                // Nothing more is read or answered: the program hangs, its connection stays open.
                say(QStringLiteral("frozen"));
                char c;
                while (::read(STDIN_FILENO, &c, 1) > 0) {
                }
                quit = true;
            }
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
    QString acted; // "<kind> <map>" or "none"
    QString map;   // "<rules> <shown>"
    bool ended = false;
    bool frozen = false;
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
            else if (line.startsWith(QLatin1String("acted ")))
                acted = line.mid(6);
            else if (line.startsWith(QLatin1String("map ")))
                map = line.mid(4);
            else if (line.startsWith(QLatin1String("trades ")))
                trades = line.mid(7).toInt();
            else if (line == QLatin1String("ended"))
                ended = true;
            else if (line == QLatin1String("frozen"))
                frozen = true;
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

    // Every machine holds what the host holds (the host's own state may still be moving on with
    // what the others sent: it is taken again at every ask).
    bool allAgree()
    {
        QString expected;
        if (askUntil({alice.get(), bob.get()}, [&] {
                expected = sharedState();
                return alice->lastState == expected && bob->lastState == expected;
            }))
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

    // Bob's territories, held and shown, are `expected`: asked again until they are, or the
    // time is up.
    bool bobShows(const QString &expected)
    {
        QElapsedTimer clock;
        clock.start();
        do {
            bob->map.clear();
            bob->send(QStringLiteral("map"));
            if (!runUntil([this] { return !bob->map.isEmpty(); }))
                return false;
        } while (bob->map != expected && clock.elapsed() < 10000);
        return bob->map == expected;
    }

    // Waits for what the copies say, without a turn of the host's own event loop: the host
    // reads nothing and answers nothing meanwhile.
    template <typename Condition>
    bool waitForCopiesAlone(Condition done)
    {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < 20000)
            for (Copy *c : {alice.get(), bob.get()})
                c->process.waitForReadyRead(20);
        return done();
    }

    // One copy holds what the host holds.
    bool agrees(Copy &c)
    {
        return askUntil({&c}, [&c] { return c.lastState == sharedState(); });
    }

    Copy *copyOfSeat(int p) { return p == 2 ? alice.get() : p == 3 ? bob.get() : nullptr; }

    // The map file "maps/<name>" that the game ships, put into the maps folder of every machine's
    // run folder, and chosen by the host as the set-up's map question does.
    void chooseShippedMapFile(const QString &name)
    {
        const QDir shipped(QDir(QString::fromLocal8Bit(qgetenv("TARVAN_RUN_DIR"))).filePath(QStringLiteral("maps")));
        const QString base = QFileInfo(name).completeBaseName();
        for (const QString &folder : {QDir::currentPath(), aliceFolder->path(), bobFolder->path()}) {
            QVERIFY(QDir(folder).mkpath(QStringLiteral("maps")));
            for (const QString &file : {base + QStringLiteral(".txt"), base + QStringLiteral(".png")})
                QVERIFY2(QFile::copy(shipped.filePath(file), QDir(folder).filePath(QStringLiteral("maps/") + file)),
                         qPrintable(shipped.filePath(file)));
        }
        seat.fileNames = QStringList{QDir::current().filePath(QStringLiteral("maps/") + name)};
        useStoredMapPath = 'n';
        loadMap();
        QVERIFY(mapLoadSucceeded);
    }

    // The machines' state at a hand-over: who plays, in which round, and the turns taken.
    static QString handOverKey()
    {
        return QStringLiteral("%1 %2 %3 %4")
            .arg(currentPlayer)
            .arg(placementRound)
            .arg(initialPlacementPhase)
            .arg(turnsTaken[1] + turnsTaken[2] + turnsTaken[3]);
    }

    // Play goes on hand-over by hand-over: at each the three agree, `stopHere` may stop it, and
    // then the player whose turn it is plays it; while he does, `meanwhile` watches the host.
    // False when play stood still or the machines disagreed.
    template <typename StopHere, typename Meanwhile>
    bool playHandOvers(StopHere stopHere, Meanwhile meanwhile)
    {
        QString lastKey;
        for (int guard = 0; guard < 4000 && !gameOver; ++guard) {
            if (!runUntil([] { return gameOver || (queuesIdle() && awaitedAckCode == 0); })) {
                qWarning("the game stood still");
                return false;
            }
            if (gameOver)
                break;
            if (handOverKey() != lastKey) {
                lastKey = handOverKey();
                player->mayAct = false;
                if (!allAgree()) {
                    qWarning("hand-over %s", qPrintable(lastKey));
                    return false;
                }
                if (stopHere())
                    return true;
                if (currentPlayer == 1)
                    player->mayAct = true;
                else
                    copyOfSeat(currentPlayer)->send(QStringLiteral("go"));
            }
            if (!runUntil([&] {
                    meanwhile();
                    return gameOver || !queuesIdle() || awaitedAckCode != 0 || player->act();
                }))
                return false;
        }
        return true;
    }

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
        aliceFolder = std::make_unique<QTemporaryDir>();
        bobFolder = std::make_unique<QTemporaryDir>();
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
        QTest::addColumn<QString>("mapFile"); // of maps/, or none: the World built into the game
        QTest::newRow("the host plays to win") << true << QString();
        QTest::newRow("the host never attacks: a client wins") << false << QString();
        QTest::newRow("a map file of maps/") << true << QStringLiteral("ParisByNight.txt");
    }
    void aWholeGamePlaysTheSameOnThreeMachines()
    {
        QFETCH(bool, hostAttacks);
        QFETCH(QString, mapFile);
        player->attacks = hostAttacks;
        if (!mapFile.isEmpty())
            chooseShippedMapFile(mapFile);
        const int territories = territoryCount;
        openLobbyWithTwoPlayers();
        QCOMPARE(playerName[2].trimmed(), QStringLiteral("Alice"));
        QCOMPARE(playerName[3].trimmed(), QStringLiteral("Bob"));
        launch();
        QCOMPARE(territoryCount, territories);
        QVERIFY(allAgree());

        // Every hand-over: the three agree, then the player whose turn it is plays it. While
        // another machine acts, the host shows each of its actions as it is taken.
        int handOvers = 0;
        int rounds = 0;
        int eliminations = 0;
        int shownBehind = 0;
        QVERIFY(playHandOvers(
            [&] {
                ++handOvers;
                eliminations = 0;
                for (int p = 1; p <= 3; ++p)
                    eliminations += playerOutOfGame(p) ? 1 : 0;
                rounds = turnsTaken[1];
                return false;
            },
            [&] {
                if (currentPlayer != 1 && queuesIdle() && displayedTerritoryState != territoryState)
                    ++shownBehind;
            }));
        QVERIFY2(gameOver, "the game did not end");
        QVERIFY(alice->boxes.isEmpty() && bob->boxes.isEmpty());
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

        // Alice leaves the finished game for the main menu: her connection closes, and the
        // others keep their finished game on screen, told nothing.
        alice->send(QStringLiteral("menu"));
        QVERIFY(runUntil([] { return netSession.socketOfSeat[2] == 0; }, 20000));
        QCOMPARE(screenMode, 9);
        QVERIFY(seat.messageTexts().isEmpty());
        QVERIFY(agrees(*bob));
        QVERIFY(bob->boxes.isEmpty());
    }

    // A client's every action (a placement, an attack, a move, the card bonus) is on the host's
    // map and the third machine's before the client takes its next one.
    void aClientsActionsShowOnTheOtherMachinesAtOnce()
    {
        openLobbyWithTwoPlayers();
        launch();
        QSet<QString> kinds;
        QStringList sequence;
        QString handedToHer;
        for (int turn = 0; turn < 4 && !(kinds.contains(QStringLiteral("add")) && kinds.contains(QStringLiteral("move")));
             ++turn) {
            // The table plays on until Alice's next turn (or placement) is handed to her.
            QVERIFY(playHandOvers(
                [&] {
                    if (currentPlayer != 2 || handOverKey() == handedToHer)
                        return false;
                    handedToHer = handOverKey();
                    return true;
                },
                [] {}));
            QVERIFY(!gameOver);
            for (int step = 0; step < 200; ++step) {
                alice->acted.clear();
                alice->send(QStringLiteral("step"));
                QVERIFY(runUntil([this] { return !alice->acted.isEmpty(); }));
                if (alice->acted == QLatin1String("none"))
                    break;
                const QString kind = alice->acted.section(QLatin1Char(' '), 0, 0);
                const QString hers = alice->acted.section(QLatin1Char(' '), 1);
                kinds.insert(kind);
                sequence << kind;
                QVERIFY2(runUntil([&] { return mapOf(territoryState) == hers && mapOf(displayedTerritoryState) == hers; }, 10000),
                         qPrintable(QStringLiteral("the host after Alice's %1").arg(kind)));
                QVERIFY2(bobShows(hers + QLatin1Char(' ') + hers), qPrintable(bob->map));
            }
        }
        QVERIFY2(kinds.contains(QStringLiteral("place")) && kinds.contains(QStringLiteral("add"))
                     && kinds.contains(QStringLiteral("move")) && kinds.contains(QStringLiteral("next")),
                 qPrintable(sequence.join(QLatin1Char(' '))));
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
        // The host and the third machine alike name who has gone.
        const QStringList told{QStringLiteral("%1 has left the game. End of game.").arg(leaving->name)};
        QCOMPARE(seat.messageTexts(), told);
        // Nothing was sent to the seat that had gone.
        QVERIFY2(!statusLine.contains(QLatin1String("ERROR")), qPrintable(statusLine));
        QVERIFY(runUntil([staying] { return staying->ended; }, 20000));
        QCOMPARE(staying->boxes, told);
        QCOMPARE(hostQuits, 0); // the host's program stays, at the start state
    }

    // ---- A machine gone silent: its connection open, nothing read or answered ----

    void aSilentMachineEndsTheGameWithinTheBound_data()
    {
        QTest::addColumn<int>("silent"); // 1 the host, 2 Alice
        QTest::newRow("a client: the others name him") << 2;
        QTest::newRow("the host: both clients let it go") << 1;
    }
    void aSilentMachineEndsTheGameWithinTheBound()
    {
        QFETCH(int, silent);
        openLobbyWithTwoPlayers();
        launch();
        // The host places first: nobody awaits an answer from anybody.
        QVERIFY(runUntil([] { return queuesIdle(); }));
        QVERIFY(allAgree());
        QCOMPARE(awaitedAckCode, 0);
        if (silent == 1) {
            // The host reads and sends nothing more. At the bound both clients still play; just
            // past it both have ended.
            for (Copy *c : {alice.get(), bob.get()}) {
                c->lastState.clear();
                c->send(QStringLiteral("clock %1").arg(kSilenceLimitMs));
                c->send(QStringLiteral("state"));
                c->process.waitForBytesWritten(5000);
            }
            QVERIFY(waitForCopiesAlone([this] { return !alice->lastState.isEmpty() && !bob->lastState.isEmpty(); }));
            QVERIFY(!alice->ended && !bob->ended);
            for (Copy *c : {alice.get(), bob.get()}) {
                c->send(QStringLiteral("clock 1000"));
                c->process.waitForBytesWritten(5000);
            }
            QVERIFY(waitForCopiesAlone([this] { return alice->ended && bob->ended; }));
            const QStringList told{QStringLiteral("The connection to the host was lost. End of game.")};
            QCOMPARE(alice->boxes, told);
            QCOMPARE(bob->boxes, told);
            return;
        }
        alice->send(QStringLiteral("freeze"));
        QVERIFY(runUntil([this] { return alice->frozen; }));
        // Time passes on the host's clock, half a second a tick; Bob answers every probe before
        // the clock moves on.
        const int bobSocket = netSession.socketOfSeat[3];
        constexpr int kTickMs = 500;
        int waited = 0;
        while (networkSeat > 0 && waited <= kSilenceLimitMs + kProbeIntervalMs) {
            seat.clock = seat.clock.addMSecs(kTickMs);
            waited += kTickMs;
            window->gameTick();
            if (networkSeat > 0 && netSession.lastProbe == seat.clock)
                QVERIFY(runUntil([&] { return networkSeat == 0 || netSession.lastHeard[bobSocket] == seat.clock; }));
        }
        QCOMPARE(networkSeat, 0);
        QVERIFY2(waited > kSilenceLimitMs, qPrintable(QString::number(waited)));
        const QStringList told{QStringLiteral("Alice has left the game. End of game.")};
        QCOMPARE(seat.messageTexts(), told);
        QVERIFY(runUntil([this] { return bob->ended; }, 20000));
        QCOMPARE(bob->boxes, told);
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
    // A joining copy plays in the folder it was started in, with the maps put there.
    if (argc == 5 && QByteArray(argv[1]) == "--seat")
        return runJoiningCopy(QString::fromLatin1(argv[2]), quint16(QByteArray(argv[3]).toUInt()),
                              QByteArray(argv[4]).toUInt());
    QTemporaryDir workDir;
    if (!workDir.isValid() || !QDir::setCurrent(workDir.path()))
        return 1;
    TestNetPlay tc;
    return QTest::qExec(&tc, argc, argv);
}

#include "test_net_play.moc"
