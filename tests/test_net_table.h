#pragma once
// A network game of three programs on 127.0.0.1, played through the window's own calls: the test
// program is the host, and it starts two copies of itself as the joining players. A copy started
// with "--seat NAME PORT SEED" is a joining player, with the maps of the folder it was started in.
// It reads commands on its standard input, one a line, and answers on its standard output:
//   go            this machine's player may play the placement or turn now handed to it
//   step          he makes one action of it, answering "acted <attacks made so far> <what the
//                 action was> <his territories>"; the action is "none" when he has nothing to do
//                 (his turn is not handed to him)
//   moves         he moves armies once a turn, after his attacks
//   conquests N   he stops attacking after N conquests a turn (0: he never attacks)
//   clock MS      its clock moves on by MS milliseconds; it answers "clock"
//   freeze        it says "frozen", then reads nothing and answers nothing until its input closes
//   state         answers "state <text>" with what it holds (sharedState)
//   seat          answers "seat <seat> <acting>": its seat, and whether its player acts now
//   record        answers "record <text>" with the game it holds (gameRecordText)
//   menu          Main Menu -> Yes
//   close         the window closes
//   lobbyquit     the lobby's Quit
//   save          once its player may save, Save Game through the in-game menu; it answers
//                 "proposed <file name>" with the name the file dialog proposes, and cancels it
// It takes them one at a time, each once its own steps have settled (see settledHere), so what it
// answers is never older than what it has done, and what it is asked meets its turn as it stands.
// Of itself it says "holds <text>" with what it holds whenever it has settled holding something
// new (what the host sends changes it too), "box <text>" for every box it shows, "ended" when
// its game has ended, and "launched <text>" with the game it holds once the host's start of the
// game has come.

#include "test_mapclicks_support.h"
#include "test_net_copy_support.h"
#include "test_net_waits.h"

#include "app/GameLoop.h"
#include "app/MouseInput.h"
#include "app/NetworkState.h"
#include "app/PaintSideMenus.h"
#include "net/NetState.h"
#include "net/OnlineConfig.h"
#include "rules/Cards.h"
#include "rules/GameEnd.h"
#include "rules/GameStart.h"
#include "persist/SavedGame.h"
#include "persist/SharedGlobals.h"
#include "setup/SetupState.h"
#include "setup/ChoiceDialog.h"
#include "setup/NetworkSetup.h"
#include "setup/SetupSteps.h"
#include "state/MapLoading.h"
#include "state/MapPicture.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <initializer_list>
#include <memory>

using namespace clicks_test;

// One program includes this once: its definitions need not be inline.
namespace net_table {

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
    std::function<QString(const QString &)> savingAs; // the Save Game dialog: the proposed path in, the answer out
    QString saveFileName(const QString &caption, const QString &proposed, const QString &filter) override
    {
        return savingAs ? savingAs(proposed) : ScriptedInteraction::saveFileName(caption, proposed, filter);
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
    bool oneAction = false; // he stops again after his next action
    bool attacks = true;
    int conquestsPerTurn = -1; // no limit
    bool moves = false;
    int trades = 0;
    int attacksMade = 0;
    int conquests = 0;
    QString lastAction; // place, stronghold, add, cards, attack, move, next, answer

    bool myTurn() const { return networkSeat > 0 && currentPlayer == networkSeat && !gameOver; }
    // His turn is begun here and is his to play: the host's own, or one the host has handed to
    // this client and not yet had back.
    bool acting() const { return myTurn() && turnStarted && (networkSeat == 1 || netSession.clientActing); }

    // One action asked for, named; "none" when he has nothing to do now.
    QString actOnce()
    {
        mayAct = oneAction = true;
        if (!act()) {
            mayAct = oneAction = false;
            lastAction = QStringLiteral("none");
        }
        return lastAction;
    }

    // True when it did something.
    bool act()
    {
        lastAction = play();
        if (lastAction.isEmpty())
            return false;
        if (oneAction)
            mayAct = oneAction = false;
        return true;
    }

private:
    // Makes one action and names it; empty when there is nothing to do.
    QString play()
    {
        if (!mayAct || !queuesIdle())
            return QString();
        // The clicks land where the last paint drew the map and the buttons.
        paintWindow(window_);
        // The deciding conquest still asks how many armies move in; the end follows the answer.
        if (gameOver && currentPlayer == networkSeat && armyQuestionOpen(window_)) {
            answerArmies(window_, largestOffered(window_));
            return QStringLiteral("answer");
        }
        if (!acting())
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
            return QStringLiteral("add-button");
        }
        const bool mayConquer = conquestsPerTurn < 0 || conquestsThisTurn_ < conquestsPerTurn;
        if (attacks && mayConquer && inGameButtonEnabled[ButtonAttack]) {
            const Attack attack = bestAttack(true);
            if (attack.source && attacksThisTurn_ < 40) {
                ++attacksThisTurn_;
                ++attacksMade;
                const int owner = territoryState[attack.target].owner;
                press(kAttackRow);
                click(attack.source);
                click(attack.target);
                if (armyQuestionOpen(window_))
                    answerArmies(window_, largestOffered(window_));
                if (territoryState[attack.target].owner != owner) {
                    ++conquests;
                    ++conquestsThisTurn_;
                }
                return QStringLiteral("attack");
            }
        }
        if (moves && !movedThisTurn_ && inGameButtonEnabled[ButtonMove]) {
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
            attacksThisTurn_ = conquestsThisTurn_ = 0;
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
    int conquestsThisTurn_ = 0;
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

// The game as a saved game holds it and every machine shares it: the player to move, owners and
// armies, every player's name and record (cards included), and the deck.
QString gameRecordText(int current, int players, const std::array<TerritoryState, kMaxTerritories + 1> &territories,
                       const std::array<PlayerRecord, kMaxPlayers + 1> &records,
                       const std::array<QString, kMaxPlayers + 1> &names, const std::array<qint32, 4> &deck)
{
    QStringList parts{QString::number(current)};
    for (int t = 1; t <= territoryCount; ++t)
        parts << QStringLiteral("%1:%2").arg(territories[t].owner).arg(territories[t].armies);
    for (int p = 1; p <= players && p <= kMaxPlayers; ++p) {
        QStringList fields;
        for (qint32 f : records[p].f)
            fields << QString::number(f);
        parts << names[p].trimmed() + QLatin1Char('/') + fields.join(QLatin1Char(','));
    }
    for (qint32 d : deck)
        parts << QString::number(d);
    return parts.join(QLatin1Char(' '));
}

QString gameRecordText()
{
    return gameRecordText(currentPlayer, playerCount, territoryState, playerTable, playerName, cardDeckCounts);
}

QString gameRecordText(const SavedGameRecord &game)
{
    return gameRecordText(game.currentPlayer, game.playerCount, game.territoryState, game.playerTable, game.playerName,
                          game.cardDeckCounts);
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

// One turn of the machine's loop: the events that have come (then `afterEvents`), then one tick
// or one action; with nothing to do it waits for the next event (a guard timer wakes it) and
// ticks once. Such a tick stands for the game timer's 512 ms, and the ticks that pass while an
// acknowledgement is awaited give the game up: while one is on its way, the loop waits for it
// and spends no time it does not have.
void runLoopOnce(ViewArea &window, Player &player, const std::function<void()> &afterEvents = nullptr)
{
    QCoreApplication::processEvents();
    if (afterEvents)
        afterEvents();
    if (!queuesIdle() || (!turnStarted && player.myTurn())) {
        window.gameTick();
        return;
    }
    if (player.act())
        return;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (awaitedAckCode == 0)
        window.gameTick();
}

// The player opens the in-game menu and chooses Save Game, then goes back to the map; `runUntil`
// runs this machine's loop until its condition holds (false when it never does).
bool saveThroughGameMenu(ViewArea &window, const std::function<bool(const std::function<bool()> &)> &runUntil)
{
    paintWindow(window);
    mouseClickAt(window, gameButtonPoint(1));
    // The pressed button is drawn, then the game loop plays its step.
    const auto shownAsPressed = [&window](int screen) {
        return [&window, screen] {
            paintWindow(window);
            return screenMode == screen;
        };
    };
    if (!runUntil(shownAsPressed(91)))
        return false;
    paintWindow(window);
    mouseClickAt(window, menuRowRect(2, false, false).center());
    return runUntil(shownAsPressed(9));
}

// ---- The joining copy ----

class JoiningCopy {
public:
    JoiningCopy() : window_(openWindow(seat_)), player_(*window_)
    {
        seatHere = &seat_;
        seat_.told = [](const QString &text) { sayLine(QStringLiteral("box ") + text); };
        quitEventLoop = [] { quitRequested = true; };
        // The file dialog of Save Game is cancelled once it has shown what it proposes.
        seat_.savingAs = [](const QString &proposed) {
            sayLine(QStringLiteral("proposed ") + QFileInfo(proposed).fileName());
            return QString();
        };
    }
    ~JoiningCopy()
    {
        window_.reset(); // the window's farewell, as when the program closes
        sayLine(QStringLiteral("closed"));
    }

    bool join(const QString &name, quint16 port)
    {
        if (!joinHostOnLoopback(*window_, name, port))
            return false;
        // Seen after the game has read what came: the first whole message is the host's answer.
        QObject::connect(clientSocket1, &QTcpSocket::readyRead, clientSocket1,
                         [this] { heardFromHost_ = heardFromHost_ || netSession.pending[1].isEmpty(); });
        return true;
    }

    void run()
    {
        InputLines input;
        QTimer wake;
        wake.start(100);
        while (!quitRequested && !input.ended) {
            runLoopOnce(*window_, player_, [this] { sayLaunched(); });
            // The turn handed here is played once the host has seen every machine agree.
            if (wasActing_ && !netSession.clientActing && !gameOver)
                player_.mayAct = false;
            wasActing_ = netSession.clientActing;
            while (!input.lines.isEmpty() && settledHere() && !saveAsked_ && !quitRequested)
                take(input.lines.takeFirst());
            sayWhatChanged();
            if (saveAsked_ && queuesIdle() && saveAllowed && screenMode == 9)
                save();
        }
    }

private:
    // Its own steps have played, a turn handed to it has begun, and the host has answered its
    // join (or its game has ended).
    bool settledHere() const
    {
        return (heardFromHost_ || gameHereEnded()) && queuesIdle() && !(netSession.clientActing && !turnStarted);
    }

    void take(const QString &command)
    {
        if (command == QLatin1String("go"))
            player_.mayAct = true;
        else if (command == QLatin1String("step"))
            step();
        else if (command == QLatin1String("moves"))
            player_.moves = true;
        else if (command.startsWith(QLatin1String("conquests ")))
            player_.conquestsPerTurn = command.mid(10).toInt();
        else if (command.startsWith(QLatin1String("clock "))) {
            seat_.clock = seat_.clock.addMSecs(command.mid(6).toLongLong());
            sayLine(QStringLiteral("clock"));
        } else if (command == QLatin1String("freeze"))
            freeze();
        else if (command == QLatin1String("state"))
            sayState(QStringLiteral("state "));
        else if (command == QLatin1String("seat"))
            sayLine(QStringLiteral("seat %1 %2").arg(networkSeat).arg(player_.acting()));
        else if (command == QLatin1String("record"))
            sayLine(QStringLiteral("record ") + gameRecordText());
        else if (command == QLatin1String("menu"))
            leaveGame(*window_);
        else if (command == QLatin1String("close"))
            quitRequested = true;
        else if (command == QLatin1String("lobbyquit")) {
            paintWindow(*window_);
            mouseClickAt(*window_, menuRowRect(1, false, false).center());
        } else if (command == QLatin1String("save"))
            saveAsked_ = true;
    }

    void step()
    {
        const QString action = player_.actOnce();
        sayLine(QStringLiteral("acted %1 %2 %3").arg(player_.attacksMade).arg(action, mapOf(territoryState)));
    }

    // Nothing more is read or answered: the program hangs, its connection stays open.
    void freeze()
    {
        sayLine(QStringLiteral("frozen"));
        char c;
        while (::read(STDIN_FILENO, &c, 1) > 0) {
        }
        quitRequested = true;
    }

    void sayWhatChanged()
    {
        if (player_.trades != tradesSaid_) {
            tradesSaid_ = player_.trades;
            sayLine(QStringLiteral("trades %1").arg(tradesSaid_));
        }
        if (settledHere() && sharedState() != stateSaid_)
            sayState(QStringLiteral("holds "));
        if (!endedSaid_ && gameHereEnded()) {
            endedSaid_ = true;
            sayLine(QStringLiteral("ended"));
        }
    }

    void sayState(const QString &word)
    {
        stateSaid_ = sharedState();
        sayLine(word + stateSaid_);
    }

    // The game as the host's start brought it, before any turn here has begun.
    void sayLaunched()
    {
        if (!launchedSaid_ && screenMode == 9 && networkSeat > 1) {
            launchedSaid_ = true;
            sayLine(QStringLiteral("launched ") + gameRecordText());
        }
    }

    void save()
    {
        saveAsked_ = false;
        player_.mayAct = false;
        saveThroughGameMenu(*window_, [this](const std::function<bool()> &done) {
            QElapsedTimer clock;
            clock.start();
            while (!done() && clock.elapsed() < kHangGuardMs)
                runLoopOnce(*window_, player_, [this] { sayLaunched(); });
            return done();
        });
    }

    Seat seat_;
    std::unique_ptr<ViewArea> window_;
    Player player_;
    bool heardFromHost_ = false;
    bool wasActing_ = false;
    bool endedSaid_ = false;
    bool launchedSaid_ = false;
    bool saveAsked_ = false;
    int tradesSaid_ = 0;
    QString stateSaid_;
};

int runJoiningCopy(const QString &name, quint16 port, quint32 seed)
{
    resetAllGameState(seed);
    resetNetworkPlay();
    JoiningCopy copy;
    if (!copy.join(name, port))
        return 2;
    copy.run();
    return 0;
}

// ---- The host's side: the other two machines as processes ----

class Copy {
public:
    QString name;
    QProcess process;
    QStringList boxes;
    QString lastState; // the state it last said it holds
    bool stateAsked = false; // and no answer yet
    QString seatLine;
    QString record;
    QString launched;
    bool ended = false;
    bool closed = false;
    int trades = 0;
    int actions = 0; // one for each "step" answered
    QStringList actedKinds; // what each step was
    int attacks = -1; // the attacks made, as the last step told
    QString acted;   // what the last step was, and the territories after it
    bool clocked = false;
    bool frozen = false;
    QString proposed;  // the name its Save Game proposed

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
            else if (line.startsWith(QLatin1String("state "))) {
                lastState = line.mid(6);
                stateAsked = false;
            } else if (line.startsWith(QLatin1String("holds ")))
                lastState = line.mid(6);
            else if (line.startsWith(QLatin1String("seat ")))
                seatLine = line.mid(5);
            else if (line.startsWith(QLatin1String("record ")))
                record = line.mid(7);
            else if (line.startsWith(QLatin1String("launched ")))
                launched = line.mid(9);
            else if (line.startsWith(QLatin1String("trades ")))
                trades = line.mid(7).toInt();
            else if (line.startsWith(QLatin1String("acted "))) {
                ++actions;
                attacks = line.section(QLatin1Char(' '), 1, 1).toInt();
                acted = line.section(QLatin1Char(' '), 2);
                actedKinds << acted.section(QLatin1Char(' '), 0, 0);
            } else if (line == QLatin1String("clock"))
                clocked = true;
            else if (line == QLatin1String("frozen"))
                frozen = true;
            else if (line == QLatin1String("ended"))
                ended = true;
            else if (line == QLatin1String("closed"))
                closed = true;
            else if (line.startsWith(QLatin1String("proposed ")))
                proposed = line.mid(9);
        }
    }
};

} // namespace net_table

using namespace net_table;

class NetTable : public QObject {
protected:
    Seat seat;
    std::unique_ptr<ViewArea> window;
    std::unique_ptr<Player> player;
    std::unique_ptr<Copy> alice, bob;
    std::unique_ptr<QTemporaryDir> aliceFolder, bobFolder;
    QTimer wake;

    void runHostOnce() { runLoopOnce(*window, *player); }

    // The host's loop runs until `done` holds; false only when it never does (a hang).
    template <typename Condition>
    bool runUntil(Condition done)
    {
        QElapsedTimer clock;
        clock.start();
        while (!done()) {
            if (clock.elapsed() > kHangGuardMs)
                return false;
            runHostOnce();
        }
        return true;
    }

    // The host's events only, its game loop standing still, until `done` holds.
    template <typename Condition>
    bool runEventsUntil(Condition done)
    {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < kHangGuardMs)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        return done();
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
        makeCopyFolders();
        alice = std::make_unique<Copy>();
        alice->name = QStringLiteral("Alice");
        alice->start(QCoreApplication::applicationFilePath(), port, 21, aliceFolder->path());
        QVERIFY(runUntil([] { return joinedPlayers == 2; }));
        bob = std::make_unique<Copy>();
        bob->name = QStringLiteral("Bob");
        bob->start(QCoreApplication::applicationFilePath(), port, 22, bobFolder->path());
        QVERIFY(runUntil([] { return joinedPlayers == 3; }));
    }

    // The run folders of the two copies, unless they are there already.
    void makeCopyFolders()
    {
        if (!aliceFolder)
            aliceFolder = std::make_unique<QTemporaryDir>();
        if (!bobFolder)
            bobFolder = std::make_unique<QTemporaryDir>();
    }

    // The copies still running.
    QList<Copy *> copiesAtTable()
    {
        QList<Copy *> running;
        for (Copy *c : {alice.get(), bob.get()})
            if (c && c->process.state() == QProcess::Running)
                running << c;
        return running;
    }

    // Every machine holds what the host holds.
    bool allAgree() { return holdWhatTheHostHolds(copiesAtTable()); }

    // One copy holds what the host holds.
    bool agrees(Copy &c) { return holdWhatTheHostHolds({&c}); }

    // The copies come to hold what the host holds. Each is asked once: its answer comes after
    // everything it has done itself. The host's messages may still be on their way to it, and
    // what they change it says of itself as it takes them.
    bool holdWhatTheHostHolds(const QList<Copy *> &copies)
    {
        for (Copy *c : copies) {
            c->stateAsked = true;
            c->send(QStringLiteral("state"));
        }
        // The host's state as it is when the word comes: a turn may end meanwhile.
        QString expected;
        const auto agreed = [&] {
            expected = sharedState();
            for (Copy *c : copies)
                if (c->stateAsked || c->lastState != expected)
                    return false;
            return true;
        };
        if (runUntil(agreed))
            return true;
        for (Copy *c : copies) {
            if (c->stateAsked)
                qWarning("%s has not answered", qPrintable(c->name));
            if (!c->boxes.isEmpty())
                qWarning("%s was shown: %s", qPrintable(c->name), qPrintable(c->boxes.join(QStringLiteral(" / "))));
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

    // The game goes on at every machine of the table: the host's, and every copy started, none of
    // which has given it up, left or seen it end. A game ended so agrees everywhere on a start
    // screen with nobody to play; what each machine was shown tells why.
    bool tableStillPlays()
    {
        bool playing = networkSeat == 1 && hostQuits == 0;
        for (Copy *c : {alice.get(), bob.get()})
            playing = playing && (!c || (!c->ended && c->process.state() == QProcess::Running));
        if (playing)
            return true;
        qWarning("the game ended at the table; the host was shown: %s", qPrintable(seat.messageTexts().join(QStringLiteral(" / "))));
        for (Copy *c : {alice.get(), bob.get()})
            if (c)
                qWarning("%s (%s) was shown: %s", qPrintable(c->name),
                         c->process.state() != QProcess::Running ? "its program has ended"
                         : c->ended                              ? "its game has ended"
                                                                 : "still playing",
                         qPrintable(c->boxes.join(QStringLiteral(" / "))));
        return false;
    }

    // The placement or turn that every machine agrees is to be played goes to its player: the
    // host's own, or the copy at that seat, told to go. False, and told, when no machine of the
    // table sits at that seat.
    bool handOnPlay()
    {
        if (currentPlayer == 1) {
            player->mayAct = true;
            return true;
        }
        Copy *c = copyOfSeat(currentPlayer);
        if (!c) {
            qWarning("no machine of the table plays seat %d", int(currentPlayer));
            return false;
        }
        c->send(QStringLiteral("go"));
        return true;
    }

    // Play goes on, every machine's player at his own turns, until `stop` holds (checked at each
    // hand-over, once every machine agrees, and before each of the host's actions) or the game
    // is over. False when play stood still, the machines did not agree or the game ended
    // without being over.
    bool playOn(const std::function<bool()> &stop)
    {
        QString lastKey;
        for (int guard = 0; guard < 4000; ++guard) {
            if (!runUntil([] { return gameOver || (queuesIdle() && awaitedAckCode == 0); }))
                return false;
            if (gameOver)
                return true;
            const QString key = QStringLiteral("%1 %2 %3").arg(currentPlayer).arg(placementRound).arg(turnsTaken[currentPlayer]);
            if (key != lastKey) {
                lastKey = key;
                player->mayAct = false;
                if (!allAgree() || !tableStillPlays())
                    return false;
                if (stop())
                    return true;
                if (!handOnPlay())
                    return false;
            }
            if (!runUntil([&] { return gameOver || networkSeat != 1 || !queuesIdle() || awaitedAckCode != 0 || stop() || player->act(); }))
                return false;
            if (!gameOver && stop()) {
                player->mayAct = false;
                return true;
            }
        }
        return false;
    }

    // The copy's answer to "seat", sent in one write after the commands `before`: its seat and
    // whether its player acts, once it has taken them and its own steps have played.
    QString seatOf(Copy &c, const QStringList &before = {})
    {
        c.seatLine.clear();
        c.send((before + QStringList{QStringLiteral("seat")}).join(QLatin1Char('\n')));
        if (!runUntil([&c] { return !c.seatLine.isEmpty(); }))
            return QStringLiteral("no answer");
        return c.seatLine;
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

    // Before each test: a fresh host window, and no copies yet.
    void openTable()
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

    // The copy is told to go, or stopped.
    static void closeCopy(Copy &c)
    {
        c.process.closeWriteChannel();
        if (!c.process.waitForFinished(5000))
            c.process.kill();
        c.process.waitForFinished(5000);
    }

    // After each test: the copies are told to go (or stopped), the window closes.
    void closeTable()
    {
        for (Copy *c : {alice.get(), bob.get()})
            if (c)
                closeCopy(*c);
        alice.reset();
        bob.reset();
        aliceFolder.reset();
        bobFolder.reset();
        player.reset();
        window.reset();
        setInteraction(nullptr);
        setChoiceDialogRunner(nullptr);
        wake.stop();
    }
};

// The program's main: a joining copy when started as one, else the tests of `tests`.
inline int runNetTable(int argc, char **argv, QObject &tests)
{
    const QDir startFolder = QDir::current();
    QTemporaryDir workDir;
    if (!workDir.isValid() || !QDir::setCurrent(workDir.path()))
        return 1;
    if (argc == 5 && QByteArray(argv[1]) == "--seat") {
        // A joining copy plays in a run folder of its own, with the map files the test put in
        // the maps folder of the one it was started in.
        const QDir maps(startFolder.filePath(QStringLiteral("maps")));
        if (maps.exists() && QDir().mkpath(QStringLiteral("maps")))
            for (const QString &file : maps.entryList(QDir::Files))
                QFile::copy(maps.filePath(file), QStringLiteral("maps/") + file);
        return runJoiningCopy(QString::fromLatin1(argv[2]), quint16(QByteArray(argv[3]).toUInt()),
                              QByteArray(argv[4]).toUInt());
    }
    return QTest::qExec(&tests, argc, argv);
}
