// Mouse input: clicks on the side menus of every screen on a wide and a small display, the
// pressed-button feedback and the screen changes the game loop finishes, refused buttons, the
// buttons of the game screen, the demonstration stopped by a click, and leaving a game through
// the in-game menu with its questions and network notices. Clicks go through QTest at the places
// the paint handler draws the buttons.

#include "TestSupport.h"
#include "test_gameloop_support.h"
#include "test_mapclicks_support.h"
#include "test_screen_support.h"
#include "test_setup_support.h"

#include "app/DialogState.h"
#include "app/GameLoop.h"
#include "app/MouseInput.h"
#include "app/NetworkState.h"
#include "app/PaintLayout.h"
#include "app/PaintSideMenus.h"
#include "app/PaintStatusBar.h"
#include "app/ScreenSize.h"
#include "app/ViewArea.h"
#include "app/WindowState.h"
#include "persist/Settings.h"
#include "rules/Cards.h"
#include "rules/PlayerRecords.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/GameState.h"
#include "state/MapView.h"
#include "state/SpriteQueue.h"
#include "state/StatusLine.h"
#include "state/StepQueues.h"

#include <QDialog>
#include <QTcpServer>

#include <functional>
#include <memory>

namespace {

using screen_test::paintWindow;
using screen_test::saveScreenshot;

struct Display {
    int width;
    int height;
    int widthMM;
};
const Display kWide{1920, 1080, 510};
const Display kSmall{1024, 600, 130};

// The window operations a click starts, recorded instead of opening their dialogs.
QList<WindowCommand> commandsRun;
void recordCommand(ViewArea &, WindowCommand command)
{
    commandsRun.append(command);
}

// The set-up and the map clicks of a game run as in the program; the dialogs are only recorded.
void recordCommandRunningGame(ViewArea &window, WindowCommand command)
{
    commandsRun.append(command);
    if (command == &ViewArea::setupNewGame || command == &ViewArea::handleMapClick)
        (window.*command)();
}

QList<WindowCommand> only(WindowCommand command)
{
    return command ? QList<WindowCommand>{command} : QList<WindowCommand>{};
}

int quitRequests = 0;
void countQuit()
{
    ++quitRequests;
}

struct Upload {
    int slot;
    QString address;
    int closed;
};
QList<Upload> uploads;
void recordUpload(int slot, const QString &address, int closed)
{
    uploads.append({slot, address, closed});
}

struct RecordingInteraction : ScriptedInteraction {
    int cardTradeDialogs = 0;
    void showCardTradeDialog() override { ++cardTradeDialogs; }
};

// Where a row of the side menu is drawn now: its middle.
QPoint rowCentre(int index, bool secondColumn)
{
    return menuRowRect(index, secondColumn, screenMode == 9).center();
}

void click(ViewArea &window, const QPoint &at, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(&window, button, Qt::NoModifier, at);
}

// ---- Moments of a game started by clicks, each reached through clicks and the game loop ----

using clicks_test::tickUntil;

// The middle of game-panel button `row` (1 Menu .. 9 Stats); the compact layout draws the rows
// from Add on in its second column.
QPoint gameButtonCentre(int row)
{
    const bool second = smallScreen && gameButtonInSecondColumn(90 + row);
    return rowCentre(second ? row - 4 : row, second);
}

// A game-panel button clicked and its press played by the loop until the queues run dry.
bool pressAndPlay(ViewArea &window, int row)
{
    paintWindow(window);
    click(window, gameButtonCentre(row));
    paintWindow(window);
    return tickUntil(window, clicks_test::queuesDrained);
}

bool atPlacement(ViewArea &window)
{
    return tickUntil(window, [] { return initialPlacementPhase && currentPlayer == 1 && actionQueueCount == 0; });
}

bool atFirstTurn(ViewArea &window)
{
    return clicks_test::placeUpToFirstTurn(window);
}

// Player 1's second turn: the first one played.
bool atSecondTurn(ViewArea &window)
{
    return atFirstTurn(window) && clicks_test::playOneRound(window);
}

bool enemyOf1(int t)
{
    return territoryState[t].owner != 1;
}

bool facesAnEnemy(int t)
{
    return clicks_test::neighbourWhere(t, enemyOf1) != 0;
}

// The turn's reinforcement placed on a border territory, one attack made from it by clicks and
// its army count answered: the battle's steps are queued, not yet played.
bool attackAnswered(ViewArea &window)
{
    if (!clicks_test::placeReinforcementsByClicks(window, facesAnEnemy))
        return false;
    const int source = clicks_test::findTerritory(1, [](int t) { return facesAnEnemy(t) && territoryState[t].armies >= 2; });
    pressAndPlay(window, 6);
    clicks_test::mouseClickAt(window, clicks_test::labelPoint(source));
    clicks_test::mouseClickAt(window, clicks_test::labelPoint(clicks_test::neighbourWhere(source, enemyOf1)));
    if (!clicks_test::armyQuestionOpen(window))
        return false;
    clicks_test::answerArmies(window, clicks_test::largestOffered(window));
    return actionQueueCount > 0;
}

// An attack answered and played until its dice have flown: the battle's steps are still queued
// and the window takes clicks again.
bool battleSteps(ViewArea &window)
{
    if (!attackAnswered(window))
        return false;
    for (int tick = 0; tick < 200; ++tick) {
        if (actionQueueCount > 0 && !spriteAnimationActive && !dialogOpen)
            return true;
        paintWindow(window);
        window.gameTick();
    }
    return false;
}

// One attack of the first turn played, the question to attack again declined and the attack
// phase left with Cancel.
bool afterAnAttack(ViewArea &window)
{
    if (!atFirstTurn(window) || !attackAnswered(window) || !tickUntil(window, clicks_test::queuesDrained))
        return false;
    if (clicks_test::armyQuestionOpen(window))
        window.armyCountCancelButton->click();
    return tickUntil(window, clicks_test::queuesDrained) && pressAndPlay(window, 2) && attackMadeThisTurn;
}

// Player 1's reinforcement placed on his strongest border territory and its weakest enemy
// neighbour conquered from it by clicks, the armies that can follow moved in.
bool conquestByClicks(ViewArea &window)
{
    int source = 0;
    for (int t = 1; t <= territoryCount; ++t)
        if (territoryState[t].owner == 1 && facesAnEnemy(t) && (!source || territoryState[t].armies > territoryState[source].armies))
            source = t;
    if (!source || !clicks_test::placeReinforcementsByClicks(window, [source](int t) { return t == source; }))
        return false;
    int target = 0;
    for (int u = 1; u <= territoryCount; ++u)
        if (enemyOf1(u) && clicks_test::neighbourWhere(source, [u](int v) { return v == u; })
            && (!target || territoryState[u].armies < territoryState[target].armies))
            target = u;
    pressAndPlay(window, 6);
    clicks_test::mouseClickAt(window, clicks_test::labelPoint(source));
    clicks_test::mouseClickAt(window, clicks_test::labelPoint(target));
    if (!clicks_test::armyQuestionOpen(window))
        return false;
    clicks_test::answerArmies(window, clicks_test::largestOffered(window));
    tickUntil(window, [&window] { return clicks_test::armyQuestionOpen(window) || clicks_test::queuesDrained(); });
    if (clicks_test::armyQuestionOpen(window))
        clicks_test::answerArmies(window, clicks_test::largestOffered(window));
    return tickUntil(window, clicks_test::queuesDrained) && territoryState[target].owner == 1;
}

bool holdsASet(int player)
{
    std::array<CardSet, kMaxOfferedCardSets + 1> sets;
    return collectCardSets(handOf(player), sets) > 0;
}

// Turns of a game without dice, each with a conquest that wins a card, until a turn of player
// 1 begins with a set in his hand.
bool turnWithASet(ViewArea &window)
{
    if (!atFirstTurn(window))
        return false;
    for (int turn = 0; turn < 8; ++turn) {
        if (holdsASet(1))
            return true;
        const int taken = turnsTaken[1];
        if (!conquestByClicks(window))
            return false;
        pressAndPlay(window, 7);
        if (!tickUntil(window, [taken] {
                return turnsTaken[1] > taken && currentPlayer == 1 && turnStarted && saveAllowed && clicks_test::queuesDrained();
            }))
            return false;
    }
    return false;
}

// The game just started: the placement has begun while the dealing's steps still play.
bool placementWhileDealing(ViewArea &)
{
    return initialPlacementPhase && currentPlayer == 1 && actionQueueCount > 0;
}

// In a hotseat game, every human's initial placement made by clicks, the loop run up to each,
// then the first human's first turn ended by clicks: the next human's turn has not begun, and
// nothing is queued that it waits for.
bool firstHotseatTurnEnded(ViewArea &window)
{
    for (int guard = 0; guard < 20; ++guard) {
        if (!tickUntil(window, [] {
                return ((strongholdPhase || initialPlacementPhase) && currentPlayer <= humanPlayerCount && actionQueueCount == 0)
                    || (turnStarted && !initialPlacementPhase && saveAllowed && clicks_test::queuesDrained());
            }))
            return false;
        if (!initialPlacementPhase && !strongholdPhase)
            break;
        if (!clicks_test::placeInitialArmiesByClicks(window, currentPlayer))
            return false;
    }
    return currentPlayer == 1 && clicks_test::endHumanTurnByClicks(window) && currentPlayer == 2 && !turnStarted
        && actionQueueCount == 0;
}

// The in-game menu opened by its button at player 1's first turn.
bool menuAtFirstTurn(ViewArea &window)
{
    return atFirstTurn(window) && pressAndPlay(window, 1) && screenMode == 91;
}

using Reach = std::function<bool(ViewArea &)>;

using Setup = std::function<void()>;

struct LeaveCase {
    Setup setup;
    QList<bool> answers;
    QStringList questions;
    int exitReason;
    int screen;
    int quits;
    QList<QByteArray> codes;
    QList<int> sockets;
    int uploads;
    QSet<int> failing = {}; // sockets whose notice cannot be sent
};

} // namespace

Q_DECLARE_METATYPE(Display)
Q_DECLARE_METATYPE(WindowCommand)
Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(Reach)
Q_DECLARE_METATYPE(LeaveCase)

class TestMouse : public QObject {
    Q_OBJECT

    RecordingInteraction ui;
    setup_test::ScriptedDialogs dialogs;
    loop_test::RecordingSockets sockets;
    void (*originalQuit)() = nullptr;

    // The window on a display, out of its demonstration, laid out for the screen shown.
    // One window serves the cases: what they try is the click, not the window's start.
    std::unique_ptr<ViewArea> sharedWindow;

    ViewArea *makeWindow(const Display &display, int mode = 1)
    {
        if (!sharedWindow)
            sharedWindow = std::make_unique<ViewArea>();
        ViewArea *window = sharedWindow.get();
        setInteraction(&ui);
        screen_test::useScreen(display.width, display.height, display.widthMM);
        window->resize(display.width, display.height);
        demoRunning = 0;
        gameMode = ModeSinglePlayer;
        screenMode = mode;
        layOut(*window);
        return window;
    }

    // A game of the World map begun as a player begins it, in a window just started (with its
    // World map): the button in `row` of menu `mode` clicked and the set-up's questions
    // answered. Null when the set-up did not start the game.
    ViewArea *startByClicks(const Display &display, int mode, int row, const QList<setup_test::Answer> &answers)
    {
        sharedWindow.reset();
        ViewArea &window = *makeWindow(display, mode);
        dialogs = setup_test::ScriptedDialogs();
        dialogs.install();
        dialogs.answers = answers;
        runWindowCommand = recordCommandRunningGame;
        paintWindow(window);
        click(window, rowCentre(row, false));
        paintWindow(window);
        const bool started = dialogs.problems.isEmpty() && dialogs.answers.isEmpty() && screenMode == 9 && localGameRunning;
        // From here the test's ticks are the timer's: a tick of the running timer, let in by a
        // dialog's event processing, would play steps at a point the row does not expect.
        return started ? &window : nullptr;
    }

    // Against three computer players: Single Map Game; without dice ("1-for-1") the stronger
    // side always wins a battle.
    ViewArea *startGameByClicks(const Display &display, bool dice = true)
    {
        using namespace setup_test;
        return startByClicks(display, 2, 1,
                             {click(QStringLiteral("World")), options(dice, false, false),
                              click(QStringLiteral("Conquer All")), click(QStringLiteral("> 3 ai players <"))});
    }

    // Two players at this machine and a computer player: Multiplayer, Hotseat.
    ViewArea *startHotseatByClicks(const Display &display)
    {
        using namespace setup_test;
        return startByClicks(display, 1, 2,
                             {click(QStringLiteral("Hotseat")), click(QStringLiteral("World")), options(true, false, false),
                              type(QStringLiteral("Ada"), QStringLiteral("+ Add more players")),
                              type(QStringLiteral("Bo"), QStringLiteral("Proceed")), click(QStringLiteral("1 ai players"))});
    }

    // The paint handler's layout stages for the screen shown, without drawing the map.
    void layOut(ViewArea &window)
    {
        measureScreenForPaint();
        choosePictureSets(window.height());
        sizePanelAndMapArea();
        setMenuGeometry();
    }

private slots:
    void initTestCase() { originalQuit = quitEventLoop; }
    void cleanupTestCase() { sharedWindow.reset(); }

    void init()
    {
        resetAllGameState();
        resetMouseInputState();
        ui = RecordingInteraction();
        setInteraction(&ui);
        commandsRun.clear();
        runWindowCommand = recordCommand;
        quitRequests = 0;
        quitEventLoop = countQuit;
        uploads.clear();
        gameListEntryUpload = recordUpload;
        sockets = loop_test::RecordingSockets();
        sockets.install();
        QFile::remove(settingsFileName());
    }

    void cleanup()
    {
        setScreenMeasure(nullptr);
        setInteraction(nullptr);
        quitEventLoop = originalQuit;
        gameListEntryUpload = nullptr;
        setSocketWriter({});
        resetMouseInputState();
    }

    // ---- The side menus ----

    void menuButtons_data()
    {
        QTest::addColumn<Display>("display");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("column2");
        QTest::addColumn<int>("pressed");     // 0: no feedback
        QTest::addColumn<int>("menuEntry");   // `menuAction` after the click
        QTest::addColumn<WindowCommand>("command"); // null: none
        QTest::addColumn<int>("after");             // `screenMode` once the loop has played the press

        using V = ViewArea;
        const WindowCommand none = nullptr;
        const WindowCommand setUp = &V::setupNewGame;
        const auto row = [](const char *name, const Display &display, int mode, int row, bool column2, int pressed,
                            int menuEntry, WindowCommand command, int after = 0) {
            QTest::newRow(name) << display << mode << row << column2 << pressed << menuEntry << command
                                << (after ? after : mode);
        };
        const Display w = kWide;
        const Display s = kSmall;
        row("Single Player", w, 1, 1, false, 12, 1, none, 2);
        row("Multiplayer", w, 1, 2, false, 13, 3, setUp);
        row("Load Game", w, 1, 3, false, 22, 1, &V::loadSavedGame);
        row("Options", w, 1, 4, false, 14, 1, none, 4);
        row("compact Options", s, 1, 4, false, 14, 1, none, 4);
        row("Scores", w, 1, 5, false, 15, 1, &V::chooseScoresView);
        row("Rank", w, 1, 6, false, 16, 1, &V::showRankDialog);
        row("Info", w, 1, 7, false, 17, 1, &V::showAboutDialog);
        row("compact Single Player starts the set-up", s, 1, 1, false, 0, 20, setUp);
        row("compact Rank", s, 1, 2, true, 16, 1, &V::showRankDialog);

        row("Single Map Game", w, 2, 1, false, 21, 21, setUp);
        row("High Score Game", w, 2, 2, false, 23, 23, setUp);
        row("Move Up in Rank", w, 2, 3, false, 24, 24, setUp);
        row("Campaign Game", w, 2, 4, false, 25, 25, setUp);
        row("Demo Mode", w, 2, 5, false, 26, 26, setUp);
        row("Quick Launch", w, 2, 6, false, 27, 27, setUp);
        row("Back to the main menu", w, 2, 7, false, 28, 1, none, 1);
        row("compact Demo Mode", s, 2, 1, true, 26, 26, setUp);

        row("Game Speed", w, 4, 1, false, 41, 1, none, 41);
        row("Colors", w, 4, 2, false, 42, 1, none, 42);
        row("Display Animations", w, 4, 3, false, 43, 43, &V::showAnimationSettingsDialog);
        row("Hosting Internet Games", w, 4, 7, false, 47, 47, &V::hostingSettingsDialog);
        row("Back from the options", w, 4, 8, false, 48, 1, none, 1);
        row("compact Back from the options", s, 4, 4, true, 48, 1, none, 1);

        row("Slower", w, 41, 1, false, 411, 411, &V::setGameSpeed512);
        row("Faster 2", w, 41, 6, false, 416, 416, &V::setGameSpeedFastest);
        row("Back from the speeds", w, 41, 7, false, 417, 1, none, 4);
        row("compact Faster 2", s, 41, 2, true, 416, 416, &V::setGameSpeedFastest);

        row("Gradient", w, 42, 1, false, 421, 421, &V::setOptionOn);
        row("Solid", w, 42, 2, false, 422, 422, &V::setOptionOff);
        row("compact colours: one column", s, 42, 3, false, 424, 1, none, 4);

        row("Menu in a game", w, 9, 1, false, 91, 7, none, 91);
        row("compact Menu in a game", s, 9, 1, false, 91, 7, none, 91);
        row("Resume Game", w, 91, 1, false, 911, 7, none, 9);
        row("Launch", w, 102, 1, false, 1021, 1, &V::startNewGame);
    }

    void menuButtons()
    {
        QFETCH(Display, display);
        QFETCH(int, mode);
        QFETCH(int, row);
        QFETCH(bool, column2);
        QFETCH(int, pressed);
        QFETCH(int, menuEntry);
        QFETCH(WindowCommand, command);
        QFETCH(int, after);
        auto window = makeWindow(display, mode);
        menuAction = 7;
        redrawAll = 0;

        click(*window, rowCentre(row, column2));

        QCOMPARE(pressedButton, pressed);
        QCOMPARE(screenChangePending, quint8(pressed != 0));
        QCOMPARE(redrawAll, quint8(pressed != 0));
        QCOMPARE(menuAction, menuEntry);
        QVERIFY(commandsRun == only(command));
        QCOMPARE(ui.beeps, 0);
        // The screen changes only when the game loop plays the press the paint handed it.
        QCOMPARE(screenMode, mode);
        paintWindow(*window);
        QCOMPARE(messageQueueTypes(), pressed ? QList<int>{20} : QList<int>{});
        window->gameTick();
        QCOMPARE(screenMode, after);
        QCOMPARE(screenChangePending, quint8(0));
        if (display.width == kWide.width && after != mode && (after == 4 || after == 91))
            saveScreenshot(paintWindow(*window), QStringLiteral("clicked-to-screen-%1.png").arg(after));
    }

    // The pointer passes over one button and clicks another: the hover draws its button pressed
    // and hands it to the loop, but the screen or action is the clicked button's, whether the
    // click lands before the hover's paint, before the tick that plays the hover's step, or after.
    void theClickedButtonWinsOverTheHovered_data()
    {
        QTest::addColumn<Display>("display");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QPoint>("hovered"); // row, and 1 for the second column
        QTest::addColumn<QPoint>("clicked");
        QTest::addColumn<int>("after");      // the screen once the loop has played both
        QTest::addColumn<bool>("attack");    // the click entered the attack phase
        QTest::addColumn<int>("timing");     // 0 no paint before the click, 1 painted, 2 painted and ticked

        struct Case {
            const char *name;
            Display display;
            int mode;
            QPoint hovered, clicked;
            int after;
            bool attack;
        };
        const Case cases[] = {
            {"main menu: over Options, Single Player", kWide, 1, {4, 0}, {1, 0}, 2, false},
            {"main menu: over Single Player, Options", kWide, 1, {1, 0}, {4, 0}, 4, false},
            {"compact options: over Game Speed, Colors", kSmall, 4, {1, 0}, {2, 0}, 42, false},
            {"game: over Menu, Attack", kWide, 9, {1, 0}, {6, 0}, 9, true},
            {"game: over Attack, Menu", kWide, 9, {6, 0}, {1, 0}, 91, false},
            {"compact game: over Menu, Attack", kSmall, 9, {1, 0}, {2, 1}, 9, true},
        };
        const char *timings[] = {"click before the paint", "click before the tick", "click after the tick"};
        for (const Case &c : cases)
            for (int timing = 0; timing < 3; ++timing)
                QTest::addRow("%s, %s", c.name, timings[timing])
                    << c.display << c.mode << c.hovered << c.clicked << c.after << c.attack << timing;
    }

    void theClickedButtonWinsOverTheHovered()
    {
        QFETCH(Display, display);
        QFETCH(int, mode);
        QFETCH(QPoint, hovered);
        QFETCH(QPoint, clicked);
        QFETCH(int, after);
        QFETCH(bool, attack);
        QFETCH(int, timing);
        // On the game screen, player 1's first turn with the buttons the turn itself opened.
        ViewArea *window = mode == 9 ? startGameByClicks(display) : makeWindow(display, mode);
        QVERIFY(window);
        if (mode == 9) {
            QVERIFY(clicks_test::placeUpToFirstTurn(*window));
            QVERIFY(inGameButtonEnabled[ButtonAttack]);
        }
        paintWindow(*window);
        window->setMouseTracking(true); // as the program's entry turns it on

        QMouseEvent move(QEvent::MouseMove, rowCentre(hovered.x(), hovered.y() != 0), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(window, &move);
        QVERIFY(hoveredButton != 0);
        if (timing >= 1)
            paintWindow(*window);
        if (timing >= 2)
            window->gameTick();
        click(*window, rowCentre(clicked.x(), clicked.y() != 0));
        paintWindow(*window);
        for (int tick = 0; tick < 3; ++tick)
            window->gameTick();

        QCOMPARE(screenMode, after);
        QCOMPARE(attackSourcePhase, quint8(attack));
        QCOMPARE(screenChangePending, quint8(0));
    }

    // Options, then a click on the map before the next tick: the main menu stays.
    void aClickBeforeTheLoopCancelsTheScreenChange()
    {
        auto window = makeWindow(kWide, 1);
        click(*window, rowCentre(4, false));
        click(*window, QPoint(200, 200));
        paintWindow(*window);
        window->gameTick();
        QCOMPARE(screenMode, 1);
        QVERIFY(commandsRun == only(&ViewArea::handleMapClick));
    }

    // A point on a row's border or on the column's left edge is on no button: it is a map click.
    void edgesAreNoButtons_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("dx"); // from the left edge of the column
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("onBorder");
        QTest::newRow("left edge") << 1 << 0 << 2 << false;
        QTest::newRow("border between rows 2 and 3") << 1 << 20 << 3 << true;
        QTest::newRow("game screen, left edge") << 9 << 0 << 4 << false;
        QTest::newRow("just inside the left edge") << 1 << 1 << 2 << false;
    }

    void edgesAreNoButtons()
    {
        QFETCH(int, mode);
        QFETCH(int, dx);
        QFETCH(int, row);
        QFETCH(bool, onBorder);
        auto window = makeWindow(kWide, mode);
        const int top = screenHeight / 20 + (row - 1) * menuButtonHeight;
        const QPoint at(menuLeft + dx, onBorder ? top : top + menuButtonHeight / 2);
        click(*window, at);
        const bool inside = dx > 0 && !onBorder;
        QCOMPARE(pressedButton != 0, inside);
        QCOMPARE(commandsRun.contains(&ViewArea::handleMapClick), !inside);
    }

    void clicksThatAreNotTaken_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<int>("button");
        QTest::newRow("right button") << Setup([] {}) << int(Qt::RightButton);
        QTest::newRow("middle button") << Setup([] {}) << int(Qt::MiddleButton);
        QTest::newRow("an animation flies") << Setup([] { spriteAnimationActive = 1; }) << int(Qt::LeftButton);
        QTest::newRow("the continent overview is open") << Setup([] { continentOverviewShown = 1; })
                                                        << int(Qt::LeftButton);
        QTest::newRow("a member dialog is open") << Setup([] {
            dialogOpen = 1;
            cardDialogOpen = 1;
        }) << int(Qt::LeftButton);
    }

    void clicksThatAreNotTaken()
    {
        QFETCH(Setup, setup);
        QFETCH(int, button);
        auto window = makeWindow(kWide, 1);
        setup();
        window->clickX = window->clickY = -5;
        dragActive = 1;
        const QPoint options = rowCentre(4, false);
        click(*window, options, Qt::MouseButton(button));
        QCOMPARE(pressedButton, 0);
        QCOMPARE(screenChangePending, quint8(0));
        QVERIFY(commandsRun.isEmpty());
        QCOMPARE(ui.beeps, 0);
        const bool left = button == Qt::LeftButton;
        QCOMPARE(window->clickX, left ? options.x() : -5);
        QCOMPARE(dragActive, quint8(left ? 0 : 1));
    }

    // ---- The demonstration ----

    void aClickStopsTheDemo()
    {
        // The settings chosen before: a speed the demo overrides, and the personalities.
        fastSpeed = 0;
        speedFlag288 = 0;
        personality[3] = 4;
        displaySizeClass = 3;
        QVERIFY(saveSettings());
        // A window that starts now, with its demonstration; it serves the later cases too.
        sharedWindow.reset();
        sharedWindow = std::make_unique<ViewArea>();
        ViewArea *window = sharedWindow.get();
        setInteraction(&ui);
        screen_test::useScreen(1366, 768, 340);
        window->resize(1366, 768);
        loop_test::ticks(*window, 3);
        QCOMPARE(gameMode, int(ModeDemo));
        QVERIFY(actionQueueCount > 0);
        QCOMPARE(fastSpeed, quint8(1));

        click(*window, QPoint(300, 300));

        QCOMPARE(demoRunning, quint8(0));
        QCOMPARE(gameMode, int(ModeSinglePlayer));
        QCOMPARE(actionQueueCount, 0);
        QCOMPARE(messageQueueCount, 0);
        QCOMPARE(playerCount, 3);
        QCOMPARE(territoryCount, 42);
        QCOMPARE(attackRule, 'n');
        QCOMPARE(fastSpeed, quint8(0));   // the settings again, not the demo's pace
        QCOMPARE(personality[3], 4);
        QCOMPARE(displaySizeClass, 2);    // the stored class fitted to a 1366 x 768 display
        QCOMPARE(screenMode, 1);
        QCOMPARE(windowTitleText, QStringLiteral(" "));
        QCOMPARE(statusLine, QStringLiteral(" "));
        QCOMPARE(hoverSkipOnce, quint8(1));
        QVERIFY(commandsRun.isEmpty());
        QCOMPARE(pressedButton, 0);

        // The demo is over: ticks play no demo any more.
        loop_test::ticks(*window, 3);
        QCOMPARE(gameMode, int(ModeSinglePlayer));
        QCOMPARE(actionQueueCount, 0);
        saveScreenshot(paintWindow(*window), QStringLiteral("clicked-demo-stopped.png"));
    }

    void aClickEndsADemoGameChosenFromTheMenu()
    {
        auto window = makeWindow(kWide, 9);
        gameMode = ModeDemo;
        pushActionStep(makeStep(12));
        mapWorldFlag = 0;
        mapEuropeFlag = 1;
        click(*window, rowCentre(2, false));
        QCOMPARE(gameMode, int(ModeSinglePlayer));
        QCOMPARE(screenMode, 1);
        QCOMPARE(actionQueueCount, 0);
        QCOMPARE(selectedMap(), MapWorld);
        QCOMPARE(pressedButton, 0);
        QCOMPARE(hoverSkipOnce, quint8(1));
    }

    // ---- The game screen ----

    void gameButtons_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<Reach>("reach"); // the moment of the game the click comes at
        QTest::addColumn<int>("beeps");
        QTest::addColumn<QStringList>("prompts");
        QTest::addColumn<QList<int>>("steps"); // message steps queued besides the feedback
        QTest::addColumn<WindowCommand>("command");
        QTest::addColumn<bool>("hotseat"); // two players at this machine and a computer player

        const QList<int> none;
        const QStringList quiet;
        const WindowCommand noCommand = nullptr;
        const Reach attackPhase = [](ViewArea &w) { return atFirstTurn(w) && pressAndPlay(w, 6) && attackSourcePhase; };
        const Reach addPhase = [](ViewArea &w) { return atFirstTurn(w) && pressAndPlay(w, 5) && territoryBonusPhase; };
        const Reach turnBusy = [](ViewArea &w) { return atFirstTurn(w) && battleSteps(w); };
        const Reach secondTurnBusy = [](ViewArea &w) { return atSecondTurn(w) && battleSteps(w); };
        // Cancel, after an attack, ends the attack phase; the turn then offers the move.
        const Reach afterAttackCancelled = [](ViewArea &w) { return afterAnAttack(w) && inGameButtonEnabled[ButtonMove]; };
        // A second seat needs a second program (played over loopback in the network game tests):
        // here the seat is set on a real game's moment.
        const auto onSeat = [](int seat, Reach reach) {
            return Reach([seat, reach](ViewArea &w) {
                const bool reached = reach(w);
                networkSeat = seat;
                return reached;
            });
        };
        const auto row = [](const char *name, int row, Reach reach, int beeps, QStringList prompts, QList<int> steps,
                            WindowCommand command, bool hotseat = false) {
            QTest::newRow(name) << row << reach << beeps << prompts << steps << command << hotseat;
        };
        row("Cancel, open", 2, attackPhase, 0, {"Choose Add or Attack"}, {1}, noCommand);
        // The attack phase always opens Cancel: the turn's start is the nearest moment with it closed.
        row("Cancel, off", 2, atFirstTurn, 1, quiet, none, noCommand);
        row("Move, open", 4, afterAttackCancelled, 0, {"Move from ? "}, {1}, noCommand);
        row("Move, off", 4, atFirstTurn, 1, quiet, none, noCommand);
        row("Add, open", 5, atFirstTurn, 0, {"Add 3 armies based on your territories."}, {1}, noCommand);
        row("Add, off", 5, attackPhase, 1, quiet, none, noCommand);
        row("Add during the initial placement says nothing", 5, atPlacement, 0, quiet, none, noCommand);
        row("Add during the placement, steps still queued", 5, placementWhileDealing, 1, quiet, none, noCommand);
        row("Add during another seat's placement", 5, onSeat(2, atPlacement), 1, quiet, none, noCommand);
        row("Attack, open", 6, atFirstTurn, 0, {"Attack from ?"}, {1}, noCommand);
        row("Attack, off", 6, addPhase, 1, quiet, none, noCommand);
        row("Next Player, open", 7, atFirstTurn, 0, quiet, {23}, noCommand);
        row("Next Player with steps queued: nothing, no beep", 7, turnBusy, 0, quiet, none, noCommand);
        row("Next Player, off", 7, atPlacement, 0, quiet, none, noCommand);
        row("Continents", 8, atFirstTurn, 0, quiet, none, &ViewArea::showContinentBonusDialog);
        row("Continents with steps queued", 8, turnBusy, 1, quiet, none, noCommand);
        row("Continents before the turn has begun", 8, firstHotseatTurnEnded, 1, quiet, none, noCommand, true);
        row("Continents on another seat's turn", 8, onSeat(3, atFirstTurn), 1, quiet, none, noCommand);
        row("Stats", 9, atSecondTurn, 0, quiet, none, &ViewArea::showStatisticsDialog);
        row("Stats on another seat's turn", 9, onSeat(3, atSecondTurn), 0, quiet, none, &ViewArea::showStatisticsDialog);
        row("Stats with steps queued", 9, secondTurnBusy, 1, quiet, none, noCommand);
        row("Stats before the player's first turn", 9, atFirstTurn, 1, quiet, none, noCommand);
    }

    void gameButtons()
    {
        QFETCH(int, row);
        QFETCH(Reach, reach);
        QFETCH(int, beeps);
        QFETCH(QStringList, prompts);
        QFETCH(QList<int>, steps);
        QFETCH(WindowCommand, command);
        QFETCH(bool, hotseat);
        auto window = hotseat ? startHotseatByClicks(kWide) : startGameByClicks(kWide);
        QVERIFY(window);
        QVERIFY(reach(*window));
        paintWindow(*window);
        const int beepsBefore = ui.beeps;
        const int textsBefore = messageQueueTexts().size();
        const int typesBefore = messageQueueTypes().size();
        commandsRun.clear();
        redrawAll = 0;

        click(*window, rowCentre(row, false));

        QCOMPARE(pressedButton, 90 + row);
        QCOMPARE(redrawAll, quint8(row != 8)); // Continents leaves the whole-window redraw alone
        QCOMPARE(ui.beeps - beepsBefore, beeps);
        QCOMPARE(messageQueueTexts().mid(textsBefore), prompts);
        QCOMPARE(messageQueueTypes().mid(typesBefore), steps);
        QVERIFY(commandsRun == only(command));
        QCOMPARE(screenMode, 9);
    }

    // During the initial placement the Stats row is painted greyed, so refused like any other
    // greyed row; once the player's turns have begun it opens the statistics.
    void statsIsRefusedDuringTheInitialPlacement()
    {
        auto window = startGameByClicks(kWide);
        QVERIFY(window);
        QVERIFY(clicks_test::tickUntil(*window, [] {
            return initialPlacementPhase && currentPlayer == 1 && actionQueueCount == 0;
        }));
        paintWindow(*window);
        commandsRun.clear();
        click(*window, rowCentre(9, false));
        QCOMPARE(pressedButton, 99);
        QCOMPARE(ui.beeps, 1);
        QVERIFY(commandsRun.isEmpty());

        // Stats opens once the player has had a turn.
        QVERIFY(clicks_test::placeUpToFirstTurn(*window) && clicks_test::playOneRound(*window));
        paintWindow(*window);
        commandsRun.clear();
        click(*window, rowCentre(9, false));
        QCOMPARE(ui.beeps, 1);
        QVERIFY(commandsRun == only(&ViewArea::showStatisticsDialog));
    }

    // Cards (on the compact layout's game screen, the third row of the first column) and Save
    // Game (in the in-game menu) open their dialogs when allowed and beep when not.
    void buttonsThatMayBeRefused_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("Cards, open") << false << true;
        QTest::newRow("Cards, off") << false << false;
        QTest::newRow("Save Game, allowed") << true << true;
        QTest::newRow("Save Game, refused") << true << false;
    }

    void buttonsThatMayBeRefused()
    {
        QFETCH(bool, save);
        QFETCH(bool, allowed);
        auto window = startGameByClicks(save ? kWide : kSmall, save);
        QVERIFY(window);
        if (save) {
            // Saving waits for the first turn of play: the placement refuses it.
            QVERIFY(allowed ? atFirstTurn(*window) : atPlacement(*window));
            QVERIFY(pressAndPlay(*window, 1));
            QCOMPARE(screenMode, 91);
        } else {
            // The first turn has no cards; a set is won by conquests in the turns after it.
            QVERIFY(allowed ? turnWithASet(*window) : atFirstTurn(*window));
        }
        const int beepsBefore = ui.beeps;
        commandsRun.clear();
        click(*window, rowCentre(save ? 2 : 3, false));
        QCOMPARE(pressedButton, save ? 912 : 93);
        QCOMPARE(ui.beeps - beepsBefore, allowed ? 0 : 1);
        QCOMPARE(ui.cardTradeDialogs, !save && allowed ? 1 : 0);
        QVERIFY(commandsRun == only(save && allowed ? &ViewArea::saveGameDialog : nullptr));
        paintWindow(*window);
        window->gameTick();
        QCOMPARE(screenMode, 9); // back to the game from the menu, refused or not
    }

    void theStatusBarCardsShowsTheCards_data()
    {
        QTest::addColumn<Display>("display");
        QTest::addColumn<int>("mode");
        QTest::newRow("wide, game") << kWide << 9;
        QTest::newRow("small, game") << kSmall << 9;
        QTest::newRow("under 1000 wide, game") << Display{960, 540, 120} << 9;
        QTest::newRow("wide, main menu") << kWide << 1;
    }

    void theStatusBarCardsShowsTheCards()
    {
        QFETCH(Display, display);
        QFETCH(int, mode);
        auto window = makeWindow(display, mode);
        click(*window, barButtonRect().center());
        QCOMPARE(pressedButton, kBarButtonId);
        QVERIFY(commandsRun == only(&ViewArea::showCardsDialog));
        paintWindow(*window);
        QCOMPARE(messageQueueTypes(), QList<int>{20});
        QCOMPARE(messageQueue[1].arg[2], kBarButtonId);
    }

    // ---- The in-game menu ----

    void leavingAGame_data()
    {
        QTest::addColumn<LeaveCase>("leave");
        const QStringList quit{QStringLiteral("Do you really want to quit ?")};
        const QStringList endsForAll{QStringLiteral("This ends the game for all players, quit anyway ?")};
        const QList<QByteArray> noCodes;
        const QList<int> noSockets;
        const Setup nothing = [] {};

        QTest::newRow("local game, Yes") << LeaveCase{nothing, {true}, quit, 0, 1, 0, noCodes, noSockets, 0};
        QTest::newRow("local game, No") << LeaveCase{nothing, {false}, quit, 0, 91, 0, noCodes, noSockets, 0};
        // On one machine the menu opens only once the steps have played; a network message can
        // queue steps under the open menu, so the step is queued here.
        QTest::newRow("local game, steps queued") << LeaveCase{[] { pushActionStep(makeStep(12)); }, {}, {}, 4, 1, 0,
                                                               noCodes, noSockets, 0};
        // A game played to its end takes hundreds of computer turns: the end is declared here.
        QTest::newRow("local game over") << LeaveCase{[] { gameOver = 1; }, {}, {}, 4, 1, 0, noCodes, noSockets, 0};
        // The network rows need other programs (played over loopback in the network game tests):
        // the seat, the clients and the listing are set on a real game's moment.
        QTest::newRow("LAN host without clients, listening") << LeaveCase{[] {
            networkSeat = 1;
            QVERIFY(tcpServer->listen(QHostAddress::LocalHost, 0));
        }, {true}, quit, 0, 1, 0, noCodes, noSockets, 0};
        QTest::newRow("Internet host with a listed entry") << LeaveCase{[] {
            networkSeat = 1;
            internetGame = 1;
            gameListSlot = 2;
            hostAddressText = QStringLiteral("10.0.0.1");
        }, {true}, quit, 913, 1, 1, noCodes, noSockets, 2};
        QTest::newRow("host with three clients, Yes") << LeaveCase{[] {
            networkSeat = 1;
            joinClientSeats(3);
        }, {true}, endsForAll, 913, 1, 1, {"1019", "1019", "1019"}, {1, 2, 3}, 0};
        // A notice that cannot be sent is shown; the program closes all the same.
        QTest::newRow("host with three clients, one unreachable") << LeaveCase{[] {
            networkSeat = 1;
            joinClientSeats(3);
        }, {true}, endsForAll, 913, 1, 1, {"1019", "1019"}, {1, 3}, 0, {2}};
        QTest::newRow("host with clients, No") << LeaveCase{[] {
            networkSeat = 1;
            joinClientSeats(2);
        }, {false}, endsForAll, 0, 91, 0, noCodes, noSockets, 0};
        QTest::newRow("client in the game") << LeaveCase{[] {
            networkSeat = 3;
            placementRound = 2;
        }, {true}, endsForAll, 913, 1, 1, {"1020"}, {1}, 0};
        QTest::newRow("client before the placement") << LeaveCase{[] {
            networkSeat = 2;
            placementRound = 0;
        }, {true}, quit, 913, 1, 1, {"1020"}, {1}, 0};
        QTest::newRow("client before the placement, steps queued") << LeaveCase{[] {
            networkSeat = 2;
            placementRound = 0;
            pushActionStep(makeStep(12));
        }, {}, {}, 4, 1, 0, noCodes, noSockets, 0};
        QTest::newRow("network game over") << LeaveCase{[] {
            networkSeat = 1;
            joinClientSeats(1);
            gameOver = 1;
        }, {}, {}, 4, 1, 0, noCodes, noSockets, 0};
    }

    void leavingAGame()
    {
        QFETCH(LeaveCase, leave);
        auto window = startGameByClicks(kWide);
        QVERIFY(window);
        QVERIFY(menuAtFirstTurn(*window));
        leave.setup();
        sockets.failing = leave.failing;
        ui.questionAnswers = leave.answers;
        ui.questionsAsked.clear();
        const quint8 attackOpen = inGameButtonEnabled[ButtonAttack];
        const int secondsArmies = playerTableAtTurnStart[2].totalArmies();
        const int pausedBefore = ui.pausedMilliseconds;
        QVERIFY(secondsArmies > 0);

        click(*window, rowCentre(3, false));

        QCOMPARE(pressedButton, 913);
        QCOMPARE(ui.questionsAsked, leave.questions);
        QCOMPARE(exitReason, leave.exitReason);
        QCOMPARE(screenMode, leave.screen);
        QCOMPARE(quitRequests, leave.quits);
        QCOMPARE(sockets.codes(), leave.codes);
        QList<int> written;
        for (const loop_test::Written &w : sockets.written)
            written.append(w.socket);
        QCOMPARE(written, leave.sockets);
        QCOMPARE(uploads.size(), leave.uploads);
        for (const Upload &upload : uploads) {
            QCOMPARE(upload.slot, 2);
            QCOMPARE(upload.address, QStringLiteral("10.0.0.1"));
            QCOMPARE(upload.closed, 1);
        }
        QCOMPARE(ui.pausedMilliseconds - pausedBefore, 1000 * leave.uploads);

        // The game of four is gone and the start state's three players are back.
        const bool left = leave.screen == 1;
        QCOMPARE(playerCount, left ? 3 : 4);
        QCOMPARE(localGameRunning, quint8(left ? 0 : 1));
        QCOMPARE(inGameButtonEnabled[ButtonAttack], quint8(left ? 0 : attackOpen));
        QCOMPARE(playerTableAtTurnStart[2].totalArmies(), left ? 0 : secondsArmies);
        if (left) {
            QCOMPARE(windowTitleText, QStringLiteral(" "));
            QCOMPARE(networkSeat, 0);
            QCOMPARE(actionQueueCount, 0);
            QVERIFY(!tcpServer->isListening());
        }
        if (!leave.failing.isEmpty())
            QCOMPARE(statusText, QStringLiteral("socket send ERROR 1019 2"));
        if (leave.exitReason == 4)
            QCOMPARE(mapPaintState, QStringLiteral("0"));
    }

    // ---- Quitting ----

    void quitButtons_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("uploads");
        QTest::newRow("Quit on the main menu") << 1 << 8 << 2 << 0;
        QTest::newRow("lobby Quit of a client") << 101 << 1 << 99 << 0;
        QTest::newRow("Quit of a host waiting for players") << 102 << 2 << 3 << 1;
        QTest::newRow("Quit of a LAN host waiting") << 102 << 2 << 99 << 0;
    }

    void quitButtons()
    {
        QFETCH(int, mode);
        QFETCH(int, row);
        QFETCH(int, slot);
        QFETCH(int, uploads);
        auto window = makeWindow(kWide, mode);
        gameListSlot = slot;
        hostAddressText = QStringLiteral("host.example");
        click(*window, rowCentre(row, false));
        QCOMPARE(quitRequests, 1);
        QVERIFY(ui.questionsAsked.isEmpty());
        QCOMPARE(::uploads.size(), uploads);
        if (uploads) {
            QCOMPARE(::uploads[0].slot, slot);
            QCOMPARE(::uploads[0].address, QStringLiteral("host.example"));
            QCOMPARE(::uploads[0].closed, 1);
        }
        QCOMPARE(ui.pausedMilliseconds, 1000 * uploads);
    }
};

TARVAN_TEST_MAIN(TestMouse)
#include "test_mouse.moc"
