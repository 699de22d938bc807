// Mouse input: clicks on the side menus of every screen on a wide and a small display, the
// pressed-button feedback and the screen changes the game loop finishes, refused buttons, the
// buttons of the game screen, the demonstration stopped by a click, and leaving a game through
// the in-game menu with its questions and network notices. Clicks go through QTest at the places
// the paint handler draws the buttons.

#include "TestSupport.h"
#include "test_gameloop_support.h"

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

ScreenInfo fakeScreen;

ScreenInfo measureFakeScreen()
{
    return fakeScreen;
}

// A display of this size, as the window's constructor and the paint handler measure it; a
// display narrower than 140 mm gets the compact two-column menus.
void useScreen(int width, int height, int widthMM)
{
    fakeScreen.available = QRect(0, 0, width, height);
    fakeScreen.widthMM = widthMM;
    fakeScreen.fullHeight = height;
    setScreenMeasure(measureFakeScreen);
    applyScreenInfo(fakeScreen);
}

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

const QHash<QString, WindowCommand> &windowCommands()
{
    static const QHash<QString, WindowCommand> commands = {
        {QStringLiteral("setupNewGame"), &ViewArea::setupNewGame},
        {QStringLiteral("loadSavedGame"), &ViewArea::loadSavedGame},
        {QStringLiteral("chooseScoresView"), &ViewArea::chooseScoresView},
        {QStringLiteral("showRankDialog"), &ViewArea::showRankDialog},
        {QStringLiteral("showAboutDialog"), &ViewArea::showAboutDialog},
        {QStringLiteral("showAnimationSettingsDialog"), &ViewArea::showAnimationSettingsDialog},
        {QStringLiteral("showSoundSettings"), &ViewArea::showSoundSettings},
        {QStringLiteral("showPersonalities"), &ViewArea::showPersonalities},
        {QStringLiteral("showAiNamesDialog"), &ViewArea::showAiNamesDialog},
        {QStringLiteral("hostingSettingsDialog"), &ViewArea::hostingSettingsDialog},
        {QStringLiteral("setGameSpeed512"), &ViewArea::setGameSpeed512},
        {QStringLiteral("setGameSpeed384"), &ViewArea::setGameSpeed384},
        {QStringLiteral("setGameSpeed288"), &ViewArea::setGameSpeed288},
        {QStringLiteral("setGameSpeed224"), &ViewArea::setGameSpeed224},
        {QStringLiteral("setGameSpeedFast"), &ViewArea::setGameSpeedFast},
        {QStringLiteral("setGameSpeedFastest"), &ViewArea::setGameSpeedFastest},
        {QStringLiteral("setOptionOn"), &ViewArea::setOptionOn},
        {QStringLiteral("setOptionOff"), &ViewArea::setOptionOff},
        {QStringLiteral("startNewGame"), &ViewArea::startNewGame},
        {QStringLiteral("saveGameDialog"), &ViewArea::saveGameDialog},
        {QStringLiteral("showContinentBonusDialog"), &ViewArea::showContinentBonusDialog},
        {QStringLiteral("showStatisticsDialog"), &ViewArea::showStatisticsDialog},
        {QStringLiteral("showCardsDialog"), &ViewArea::showCardsDialog},
        {QStringLiteral("handleMapClick"), &ViewArea::handleMapClick},
    };
    return commands;
}

QStringList commandNamesRun()
{
    QStringList names;
    for (WindowCommand command : commandsRun)
        names.append(windowCommands().key(command, QStringLiteral("?")));
    return names;
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

QImage paintWindow(ViewArea &window)
{
    QImage image(window.size(), QImage::Format_RGB32);
    window.render(&image);
    return image;
}

void saveScreenshot(const QImage &image, const QString &name)
{
    image.save(QDir::current().filePath(name));
    const QByteArray folder = qgetenv("TARVAN_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        image.save(QDir(QString::fromLocal8Bit(folder)).filePath(name));
}

// A game of three on the World map at player 1's turn, nothing queued and every button off.
void setUpGameTurn()
{
    loop_test::dealRoundRobin(3);
    playerTableAtTurnStart = playerTable;
    currentPlayer = 1;
    turnStarted = 1;
    turnsTaken[1] = 1;
    territoryArmiesDue = 3;
    inGameButtonEnabled.fill(0);
    clearStepQueues();
    screenMode = 9;
}

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
};

} // namespace

Q_DECLARE_METATYPE(Display)
Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(LeaveCase)

class TestMouse : public QObject {
    Q_OBJECT

    RecordingInteraction ui;
    loop_test::RecordingSockets sockets;
    void (*originalQuit)() = nullptr;

    // The window on a display, out of its demonstration, laid out for the screen shown.
    std::unique_ptr<ViewArea> makeWindow(const Display &display, int mode = 1)
    {
        auto window = std::make_unique<ViewArea>();
        setInteraction(&ui);
        useScreen(display.width, display.height, display.widthMM);
        window->resize(display.width, display.height);
        demoRunning = 0;
        gameMode = ModeSinglePlayer;
        screenMode = mode;
        layOut(*window);
        return window;
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
        QTest::addColumn<QString>("command"); // empty: none

        const Display w = kWide;
        const Display s = kSmall;
        QTest::newRow("Single Player") << w << 1 << 1 << false << 12 << 1 << QString();
        QTest::newRow("Multiplayer") << w << 1 << 2 << false << 13 << 3 << "setupNewGame";
        QTest::newRow("Load Game") << w << 1 << 3 << false << 22 << 1 << "loadSavedGame";
        QTest::newRow("Options") << w << 1 << 4 << false << 14 << 1 << QString();
        QTest::newRow("Scores") << w << 1 << 5 << false << 15 << 1 << "chooseScoresView";
        QTest::newRow("Rank") << w << 1 << 6 << false << 16 << 1 << "showRankDialog";
        QTest::newRow("Info") << w << 1 << 7 << false << 17 << 1 << "showAboutDialog";
        QTest::newRow("compact Single Player starts the set-up") << s << 1 << 1 << false << 0 << 20 << "setupNewGame";
        QTest::newRow("compact Rank") << s << 1 << 2 << true << 16 << 1 << "showRankDialog";
        QTest::newRow("compact Load Game") << s << 1 << 3 << false << 22 << 1 << "loadSavedGame";

        QTest::newRow("Single Map Game") << w << 2 << 1 << false << 21 << 21 << "setupNewGame";
        QTest::newRow("High Score Game") << w << 2 << 2 << false << 23 << 23 << "setupNewGame";
        QTest::newRow("Move Up in Rank") << w << 2 << 3 << false << 24 << 24 << "setupNewGame";
        QTest::newRow("Campaign Game") << w << 2 << 4 << false << 25 << 25 << "setupNewGame";
        QTest::newRow("Demo Mode") << w << 2 << 5 << false << 26 << 26 << "setupNewGame";
        QTest::newRow("Quick Launch") << w << 2 << 6 << false << 27 << 27 << "setupNewGame";
        QTest::newRow("Back to the main menu") << w << 2 << 7 << false << 28 << 1 << QString();
        QTest::newRow("compact Demo Mode") << s << 2 << 1 << true << 26 << 26 << "setupNewGame";

        QTest::newRow("Game Speed") << w << 4 << 1 << false << 41 << 1 << QString();
        QTest::newRow("Colors") << w << 4 << 2 << false << 42 << 1 << QString();
        QTest::newRow("Display Animations") << w << 4 << 3 << false << 43 << 43 << "showAnimationSettingsDialog";
        QTest::newRow("Sound") << w << 4 << 4 << false << 44 << 44 << "showSoundSettings";
        QTest::newRow("Personalities") << w << 4 << 5 << false << 45 << 45 << "showPersonalities";
        QTest::newRow("Player Names") << w << 4 << 6 << false << 46 << 46 << "showAiNamesDialog";
        QTest::newRow("Hosting Internet Games") << w << 4 << 7 << false << 47 << 47 << "hostingSettingsDialog";
        QTest::newRow("Back from the options") << w << 4 << 8 << false << 48 << 1 << QString();
        QTest::newRow("compact Hosting") << s << 4 << 3 << true << 47 << 47 << "hostingSettingsDialog";

        QTest::newRow("Slower") << w << 41 << 1 << false << 411 << 411 << "setGameSpeed512";
        QTest::newRow("Slow") << w << 41 << 2 << false << 412 << 412 << "setGameSpeed384";
        QTest::newRow("Normal") << w << 41 << 3 << false << 413 << 413 << "setGameSpeed288";
        QTest::newRow("Fast") << w << 41 << 4 << false << 414 << 414 << "setGameSpeed224";
        QTest::newRow("Faster") << w << 41 << 5 << false << 415 << 415 << "setGameSpeedFast";
        QTest::newRow("Faster 2") << w << 41 << 6 << false << 416 << 416 << "setGameSpeedFastest";
        QTest::newRow("Back from the speeds") << w << 41 << 7 << false << 417 << 1 << QString();
        QTest::newRow("compact Faster 2") << s << 41 << 2 << true << 416 << 416 << "setGameSpeedFastest";

        QTest::newRow("Gradient") << w << 42 << 1 << false << 421 << 421 << "setOptionOn";
        QTest::newRow("Solid") << w << 42 << 2 << false << 422 << 422 << "setOptionOff";
        QTest::newRow("Back from the colours") << w << 42 << 3 << false << 424 << 1 << QString();
        QTest::newRow("compact Back from the colours, one column") << s << 42 << 3 << false << 424 << 1 << QString();

        QTest::newRow("Resume Game") << w << 91 << 1 << false << 911 << 7 << QString();
        QTest::newRow("Launch") << w << 102 << 1 << false << 1021 << 1 << "startNewGame";
    }

    void menuButtons()
    {
        QFETCH(Display, display);
        QFETCH(int, mode);
        QFETCH(int, row);
        QFETCH(bool, column2);
        QFETCH(int, pressed);
        QFETCH(int, menuEntry);
        QFETCH(QString, command);
        auto window = makeWindow(display, mode);
        menuAction = 7;
        redrawAll = 0;

        click(*window, rowCentre(row, column2));

        QCOMPARE(pressedButton, pressed);
        QCOMPARE(screenChangePending, quint8(pressed != 0));
        QCOMPARE(redrawAll, quint8(pressed != 0));
        QCOMPARE(menuAction, menuEntry);
        QCOMPARE(commandNamesRun(), command.isEmpty() ? QStringList() : QStringList{command});
        QCOMPARE(screenMode, mode);
        QCOMPARE(ui.beeps, 0);
    }

    void aSpeedEntrySetsTheTimerAndIsKept()
    {
        auto window = makeWindow(kWide, 41);
        runWindowCommand = runCommandDirectly;
        click(*window, rowCentre(4, false));
        QCOMPARE(window->gameTimerInterval(), 224);
        QCOMPARE(speedFlag224, quint8(1));
        QVERIFY(loadSettings());
        QCOMPARE(settingsRecord.speedFlag224, quint8(1));
    }

    void screenChangesWaitForTheLoop_data()
    {
        QTest::addColumn<Display>("display");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("column2");
        QTest::addColumn<int>("newMode");

        QTest::newRow("Single Player") << kWide << 1 << 1 << false << 2;
        QTest::newRow("Options") << kWide << 1 << 4 << false << 4;
        QTest::newRow("compact Options") << kSmall << 1 << 4 << false << 4;
        QTest::newRow("Back from the new-game menu") << kWide << 2 << 7 << false << 1;
        QTest::newRow("Game Speed") << kWide << 4 << 1 << false << 41;
        QTest::newRow("Colors") << kWide << 4 << 2 << false << 42;
        QTest::newRow("Back from the options") << kWide << 4 << 8 << false << 1;
        QTest::newRow("compact Back from the options") << kSmall << 4 << 4 << true << 1;
        QTest::newRow("Back from the speeds") << kWide << 41 << 7 << false << 4;
        QTest::newRow("Back from the colours") << kWide << 42 << 3 << false << 4;
        QTest::newRow("Menu in a game") << kWide << 9 << 1 << false << 91;
        QTest::newRow("compact Menu in a game") << kSmall << 9 << 1 << false << 91;
        QTest::newRow("Resume Game") << kWide << 91 << 1 << false << 9;
    }

    void screenChangesWaitForTheLoop()
    {
        QFETCH(Display, display);
        QFETCH(int, mode);
        QFETCH(int, row);
        QFETCH(bool, column2);
        QFETCH(int, newMode);
        auto window = makeWindow(display, mode);

        click(*window, rowCentre(row, column2));
        QCOMPARE(screenMode, mode);
        paintWindow(*window);
        QCOMPARE(messageQueueTypes(), QList<int>{20});
        window->gameTick();

        QCOMPARE(screenMode, newMode);
        QCOMPARE(screenChangePending, quint8(0));
        if (display.width == kWide.width && (newMode == 4 || newMode == 91))
            saveScreenshot(paintWindow(*window), QStringLiteral("clicked-to-screen-%1.png").arg(newMode));
    }

    void aClickBeforeTheLoopCancelsTheScreenChange_data()
    {
        QTest::addColumn<bool>("onTheMap");
        QTest::newRow("a click on the map") << true;
        QTest::newRow("a click on a border") << false;
    }

    void aClickBeforeTheLoopCancelsTheScreenChange()
    {
        QFETCH(bool, onTheMap);
        auto window = makeWindow(kWide, 1);
        click(*window, rowCentre(4, false)); // Options
        const QRect options = menuRowRect(4, false, false);
        click(*window, onTheMap ? QPoint(200, 200) : QPoint(menuLeft, options.center().y()));
        paintWindow(*window);
        window->gameTick();
        QCOMPARE(screenMode, 1);
        QCOMPARE(commandNamesRun(), QStringList{QStringLiteral("handleMapClick")});
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
        QCOMPARE(commandNamesRun().contains(QStringLiteral("handleMapClick")), !inside);
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

    void anOpenMemberDialogIsOnlyRaised()
    {
        auto window = makeWindow(kWide, 9);
        setUpGameTurn();
        window->cardDialog->show();
        dialogOpen = cardDialogOpen = 1;
        inGameButtonEnabled[ButtonAttack] = 1;
        click(*window, rowCentre(6, false)); // Attack
        QCOMPARE(attackSourcePhase, quint8(0));
        QVERIFY(window->cardDialog->isVisible());
        QCOMPARE(messageQueueCount, 0);
        window->cardDialog->hide();
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
        auto window = std::make_unique<ViewArea>();
        setInteraction(&ui);
        useScreen(1366, 768, 340);
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
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<int>("beeps");
        QTest::addColumn<QStringList>("prompts");
        QTest::addColumn<QList<int>>("steps"); // message steps queued besides the feedback
        QTest::addColumn<QString>("command");

        const QList<int> none;
        const QStringList quiet;
        QTest::newRow("Cancel, open") << 2 << Setup([] {
            inGameButtonEnabled[ButtonCancel] = 1;
            attackSourcePhase = 1;
        }) << 0 << QStringList{"Choose Add or Attack"} << QList<int>{1} << QString();
        QTest::newRow("Cancel, off") << 2 << Setup([] { attackSourcePhase = 1; }) << 1 << quiet << none << QString();
        QTest::newRow("Move, open") << 4 << Setup([] { inGameButtonEnabled[ButtonMove] = 1; }) << 0
                                    << QStringList{"Move from ? "} << QList<int>{1} << QString();
        QTest::newRow("Move, off") << 4 << Setup([] {}) << 1 << quiet << none << QString();
        QTest::newRow("Add, open") << 5 << Setup([] { inGameButtonEnabled[ButtonAdd] = 1; }) << 0
                                   << QStringList{"Add 3 armies based on your territories."} << QList<int>{1}
                                   << QString();
        QTest::newRow("Add, off") << 5 << Setup([] {}) << 1 << quiet << none << QString();
        QTest::newRow("Add during the initial placement says nothing")
            << 5 << Setup([] { initialPlacementPhase = 1; }) << 0 << quiet << none << QString();
        QTest::newRow("Add during the placement, steps still queued")
            << 5 << Setup([] {
                   initialPlacementPhase = 1;
                   pushActionStep(makeStep(12));
               }) << 1 << quiet << none << QString();
        QTest::newRow("Add during another seat's placement") << 5 << Setup([] {
            networkSeat = 2;
            continentBonusPhase = 1;
        }) << 1 << quiet << none << QString();
        QTest::newRow("Attack, open") << 6 << Setup([] { inGameButtonEnabled[ButtonAttack] = 1; }) << 0
                                      << QStringList{"Attack from ?"} << QList<int>{1} << QString();
        QTest::newRow("Attack, off") << 6 << Setup([] {}) << 1 << quiet << none << QString();
        QTest::newRow("Next Player, open") << 7 << Setup([] { inGameButtonEnabled[ButtonNext] = 1; }) << 0 << quiet
                                           << QList<int>{23} << QString();
        QTest::newRow("Next Player with steps queued: nothing, no beep") << 7 << Setup([] {
            inGameButtonEnabled[ButtonNext] = 1;
            pushActionStep(makeStep(12));
        }) << 0 << quiet << none << QString();
        QTest::newRow("Next Player, off") << 7 << Setup([] {}) << 0 << quiet << none << QString();
        QTest::newRow("Continents") << 8 << Setup([] {}) << 0 << quiet << none << "showContinentBonusDialog";
        QTest::newRow("Continents with steps queued") << 8 << Setup([] { pushActionStep(makeStep(12)); }) << 1
                                                      << quiet << none << QString();
        QTest::newRow("Continents before the turn has begun") << 8 << Setup([] { turnStarted = 0; }) << 1 << quiet
                                                              << none << QString();
        QTest::newRow("Continents on another seat's turn") << 8 << Setup([] { networkSeat = 3; }) << 1 << quiet
                                                           << none << QString();
        QTest::newRow("Stats") << 9 << Setup([] {}) << 0 << quiet << none << "showStatisticsDialog";
        QTest::newRow("Stats on another seat's turn") << 9 << Setup([] { networkSeat = 3; }) << 0 << quiet << none
                                                      << "showStatisticsDialog";
        QTest::newRow("Stats with steps queued") << 9 << Setup([] { pushActionStep(makeStep(12)); }) << 1 << quiet
                                                 << none << QString();
    }

    void gameButtons()
    {
        QFETCH(int, row);
        QFETCH(Setup, setup);
        QFETCH(int, beeps);
        QFETCH(QStringList, prompts);
        QFETCH(QList<int>, steps);
        QFETCH(QString, command);
        auto window = makeWindow(kWide, 9);
        setUpGameTurn();
        setup();

        click(*window, rowCentre(row, false));

        QCOMPARE(pressedButton, 90 + row);
        QCOMPARE(ui.beeps, beeps);
        QCOMPARE(messageQueueTexts(), prompts);
        QCOMPARE(messageQueueTypes(), steps);
        QCOMPARE(commandNamesRun(), command.isEmpty() ? QStringList() : QStringList{command});
        QCOMPARE(screenMode, 9);
    }

    void theContinentsButtonLeavesTheRedrawAlone()
    {
        auto window = makeWindow(kWide, 9);
        setUpGameTurn();
        redrawAll = 0;
        click(*window, rowCentre(8, false));
        QCOMPARE(pressedButton, 98);
        QCOMPARE(redrawAll, quint8(0));
        click(*window, rowCentre(9, false));
        QCOMPARE(redrawAll, quint8(1));
    }

    void theCardsButtonOffersTheSets_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<int>("infantry");
        QTest::addColumn<int>("dialogs");
        QTest::addColumn<int>("beeps");
        QTest::newRow("a set to trade") << true << 3 << 1 << 0;
        QTest::newRow("no set: the turn flow beeps") << true << 1 << 0 << 1;
        QTest::newRow("button off") << false << 3 << 0 << 1;
    }

    void theCardsButtonOffersTheSets()
    {
        QFETCH(bool, enabled);
        QFETCH(int, infantry);
        QFETCH(int, dialogs);
        QFETCH(int, beeps);
        auto window = makeWindow(kSmall, 9);
        setUpGameTurn();
        layOut(*window);
        playerTable[1].infantry() = infantry;
        inGameButtonEnabled[ButtonCards] = enabled;
        click(*window, rowCentre(3, false));
        QCOMPARE(pressedButton, 93);
        QCOMPARE(ui.cardTradeDialogs, dialogs);
        QCOMPARE(ui.beeps, beeps);
    }

    void theStatusBarCardsShowsTheCards_data()
    {
        QTest::addColumn<Display>("display");
        QTest::addColumn<int>("mode");
        QTest::newRow("wide, game") << kWide << 9;
        QTest::newRow("small, game") << kSmall << 9;
        QTest::newRow("wide, main menu") << kWide << 1;
    }

    void theStatusBarCardsShowsTheCards()
    {
        QFETCH(Display, display);
        QFETCH(int, mode);
        auto window = makeWindow(display, mode);
        click(*window, barButtonRect().center());
        QCOMPARE(pressedButton, kBarButtonId);
        QCOMPARE(commandNamesRun(), QStringList{QStringLiteral("showCardsDialog")});
        paintWindow(*window);
        QCOMPARE(messageQueueTypes(), QList<int>{20});
        QCOMPARE(messageQueue[1].arg[2], kBarButtonId);
    }

    // ---- The in-game menu ----

    void saveGame_data()
    {
        QTest::addColumn<bool>("allowed");
        QTest::newRow("allowed") << true;
        QTest::newRow("refused") << false;
    }

    void saveGame()
    {
        QFETCH(bool, allowed);
        auto window = makeWindow(kWide, 91);
        setUpGameTurn();
        screenMode = 91;
        saveAllowed = allowed;
        click(*window, rowCentre(2, false));
        QCOMPARE(pressedButton, 912);
        QCOMPARE(ui.beeps, allowed ? 0 : 1);
        QCOMPARE(commandNamesRun(), allowed ? QStringList{QStringLiteral("saveGameDialog")} : QStringList());
    }

    void leavingAGame_data()
    {
        QTest::addColumn<LeaveCase>("leave");
        const QStringList quit{QStringLiteral("Do you really want to quit ?")};
        const QStringList endsForAll{QStringLiteral("This ends the game for all players, quit anyway ?")};
        const QList<QByteArray> noCodes;
        const QList<int> noSockets;

        QTest::newRow("local game, Yes") << LeaveCase{[] {}, {true}, quit, 0, 1, 0, noCodes, noSockets, 0};
        QTest::newRow("local game, No") << LeaveCase{[] {}, {false}, quit, 0, 91, 0, noCodes, noSockets, 0};
        QTest::newRow("local game, steps queued") << LeaveCase{[] { pushActionStep(makeStep(12)); }, {}, {}, 4, 1, 0,
                                                               noCodes, noSockets, 0};
        QTest::newRow("local game over") << LeaveCase{[] { gameOver = 1; }, {}, {}, 4, 1, 0, noCodes, noSockets, 0};
        QTest::newRow("LAN host without clients") << LeaveCase{[] { networkSeat = 1; }, {true}, quit, 0, 1, 0,
                                                               noCodes, noSockets, 0};
        QTest::newRow("Internet host with a listed entry") << LeaveCase{[] {
            networkSeat = 1;
            internetGame = 1;
            gameListSlot = 2;
            hostAddressText = QStringLiteral("10.0.0.1");
        }, {true}, quit, 913, 1, 1, noCodes, noSockets, 2};
        QTest::newRow("host with three clients, Yes") << LeaveCase{[] {
            networkSeat = 1;
            clientCount = 3;
        }, {true}, endsForAll, 913, 1, 1, {"1019", "1019", "1019"}, {1, 2, 3}, 0};
        QTest::newRow("host with clients, No") << LeaveCase{[] {
            networkSeat = 1;
            clientCount = 2;
        }, {false}, endsForAll, 0, 91, 0, noCodes, noSockets, 0};
        QTest::newRow("client in the game") << LeaveCase{[] {
            networkSeat = 3;
            placementRound = 2;
        }, {true}, endsForAll, 913, 1, 1, {"1020"}, {1}, 0};
        QTest::newRow("client before the placement") << LeaveCase{[] { networkSeat = 2; }, {true}, quit, 913, 1, 1,
                                                                  {"1020"}, {1}, 0};
        QTest::newRow("client before the placement, steps queued") << LeaveCase{[] {
            networkSeat = 2;
            pushActionStep(makeStep(12));
        }, {}, {}, 4, 1, 0, noCodes, noSockets, 0};
        QTest::newRow("network game over") << LeaveCase{[] {
            networkSeat = 1;
            clientCount = 1;
            gameOver = 1;
        }, {}, {}, 4, 1, 0, noCodes, noSockets, 0};
    }

    void leavingAGame()
    {
        QFETCH(LeaveCase, leave);
        auto window = makeWindow(kWide, 91);
        setUpGameTurn();
        screenMode = 91;
        playerCount = 4;
        localGameRunning = 1;
        inGameButtonEnabled[ButtonAttack] = 1;
        playerTableAtTurnStart[2].infantry() = 2;
        leave.setup();
        ui.questionAnswers = leave.answers;

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
        QCOMPARE(ui.pausedMilliseconds, 1000 * leave.uploads);

        const bool left = leave.screen == 1;
        QCOMPARE(playerCount, left ? 3 : 4);
        QCOMPARE(localGameRunning, quint8(left ? 0 : 1));
        QCOMPARE(inGameButtonEnabled[ButtonAttack], quint8(left ? 0 : 1));
        QCOMPARE(playerTableAtTurnStart[2].infantry(), left ? 0 : 2);
        if (left) {
            QCOMPARE(windowTitleText, QStringLiteral(" "));
            QCOMPARE(networkSeat, 0);
            QCOMPARE(actionQueueCount, 0);
        }
        if (leave.exitReason == 4)
            QCOMPARE(mapPaintState, QStringLiteral("0"));
    }

    void aFailedNoticeIsShownAndTheProgramStillCloses()
    {
        auto window = makeWindow(kWide, 91);
        setUpGameTurn();
        screenMode = 91;
        networkSeat = 1;
        clientCount = 3;
        sockets.failing = {2};
        ui.questionAnswers = {true};
        click(*window, rowCentre(3, false));
        QCOMPARE(sockets.socketsOf("1019"), (QList<int>{1, 3}));
        QCOMPARE(statusText, QStringLiteral("socket send ERROR 1019 2"));
        QCOMPARE(exitReason, 913);
        QCOMPARE(quitRequests, 1);
    }

    void aLanHostBackAtTheMainMenuStopsListening()
    {
        auto window = makeWindow(kWide, 91);
        setUpGameTurn();
        screenMode = 91;
        networkSeat = 1;
        QVERIFY(tcpServer->listen(QHostAddress::LocalHost, 0));
        ui.questionAnswers = {true};
        click(*window, rowCentre(3, false));
        QCOMPARE(screenMode, 1);
        QVERIFY(!tcpServer->isListening());
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
