// The mouse-press handler: the one place where a click becomes a decision. In order: dropped
// while an animation flies or the continent overview is open, only raising an open member
// dialog, stopping the demonstration, then the side-menu button of the screen shown, the status
// bar's Cards, and otherwise a click on the map.

#include "app/MouseInput.h"

#include "app/DialogState.h"
#include "app/GameLoop.h"
#include "app/GameLoopInternal.h"
#include "app/PaintSideMenus.h"
#include "app/PaintStatusBar.h"
#include "app/PointerTracking.h"
#include "app/ScreenSize.h"
#include "app/ViewArea.h"
#include "app/WindowState.h"
#include "persist/Settings.h"
#include "rules/GameStart.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "state/GameState.h"
#include "state/MapView.h"
#include "state/Seams.h"
#include "state/SpriteQueue.h"
#include "state/StatusLine.h"

#include <QApplication>
#include <QDialog>
#include <QMouseEvent>

#include <cmath>

quint8 continentOverviewShown = 0;

void (*runWindowCommand)(ViewArea &view, WindowCommand command) = runCommandDirectly;

namespace {

// A side-menu button whose click only sets `menuAction` (0: leaves it) and runs an operation.
struct MenuCommand {
    int id;
    int action;
    WindowCommand command;
};

const MenuCommand kMenuCommands[] = {
    // Main menu.
    {13, 3, &ViewArea::setupNewGame},
    {22, 0, &ViewArea::loadSavedGame},
    {15, 0, &ViewArea::chooseScoresView},
    {16, 0, &ViewArea::showRankDialog},
    {17, 0, &ViewArea::showAboutDialog},
    // New-game menu: the game types of the set-up flow.
    {21, 21, &ViewArea::setupNewGame},
    {23, 23, &ViewArea::setupNewGame},
    {24, 24, &ViewArea::setupNewGame},
    {25, 25, &ViewArea::setupNewGame},
    {26, 26, &ViewArea::setupNewGame},
    {27, 27, &ViewArea::setupNewGame},
    // Options.
    {43, 43, &ViewArea::showAnimationSettingsDialog},
    {44, 44, &ViewArea::showSoundSettings},
    {45, 45, &ViewArea::showPersonalities},
    {46, 46, &ViewArea::showAiNamesDialog},
    {47, 47, &ViewArea::hostingSettingsDialog},
    // Game speed.
    {411, 411, &ViewArea::setGameSpeed512},
    {412, 412, &ViewArea::setGameSpeed384},
    {413, 413, &ViewArea::setGameSpeed288},
    {414, 414, &ViewArea::setGameSpeed224},
    {415, 415, &ViewArea::setGameSpeedFast},
    {416, 416, &ViewArea::setGameSpeedFastest},
    // Colours.
    {421, 421, &ViewArea::setOptionOn},
    {422, 422, &ViewArea::setOptionOff},
    // Host waiting for players: Launch.
    {1021, 0, &ViewArea::startNewGame},
};

constexpr int kSinglePlayerButton = 12;
constexpr int kCompactSinglePlayerAction = 20;
constexpr int kQuitButton = 18;
constexpr int kSaveGameButton = 912;
constexpr int kMainMenuButton = 913;
constexpr int kLobbyQuitButton = 101;
constexpr int kHostWaitingQuitButton = 1022;

// Halves go up, also left of the window's edge.
int roundedCoordinate(double value)
{
    return static_cast<int>(std::floor(value + 0.5));
}

// Screens whose buttons choose a menu entry: the entry starts as 1 before the buttons are tried.
bool isMenuEntryScreen(int mode)
{
    return mode == 1 || mode == 2 || mode == 4 || mode == 41 || mode == 42 || mode == 101 || mode == 102;
}

bool isGameButton(int id)
{
    return (id >= kFirstGameButton && id <= kLastGameButton) || id == kBarButtonId;
}

void raiseDialog(QDialog *dialog)
{
    if (!dialog)
        return;
    dialog->raise();
    dialog->activateWindow();
}

void raiseOpenMemberDialog(ViewArea &view)
{
    if (armyCountDialogOpen)
        raiseDialog(view.armyCountDialog);
    if (cardDialogOpen)
        raiseDialog(view.cardDialog);
    if (aiNamesDialogOpen)
        raiseDialog(view.aiNamesDialog);
}

// A click while the demonstration runs behind the start menu: the demo ends, the screen stays.
void stopDemo(ViewArea &view)
{
    demoRunning = 0;
    returnWindowToStartState(view);
    blankTitleAndStatus();
}

// A click during a demonstration game chosen from the new-game menu: back to the main menu,
// with the World map the reset has built.
void endDemoGame(ViewArea &view)
{
    gameMode = ModeSinglePlayer;
    returnWindowToStartState(view);
    showStartMenu();
    view.update();
}

const MenuCommand *menuCommandOf(int id)
{
    for (const MenuCommand &entry : kMenuCommands)
        if (entry.id == id)
            return &entry;
    return nullptr;
}

void runMenuButton(ViewArea &view, int id)
{
    if (id == kSinglePlayerButton && smallScreen) {
        // The compact main menu has no new-game screen: its first row starts the set-up flow.
        menuAction = kCompactSinglePlayerAction;
        runWindowCommand(view, &ViewArea::setupNewGame);
        return;
    }
    showButtonPressed(view, id);
    if (const MenuCommand *entry = menuCommandOf(id)) {
        if (entry->action != 0)
            menuAction = entry->action;
        runWindowCommand(view, entry->command);
        return;
    }
    switch (id) {
    case kQuitButton:
        quitProgram();
        return;
    case kSaveGameButton:
        if (saveAllowed)
            runWindowCommand(view, &ViewArea::saveGameDialog);
        else
            interaction().beep();
        return;
    case kMainMenuButton:
        leaveGame(view);
        return;
    case kLobbyQuitButton:
    case kHostWaitingQuitButton:
        withdrawGameListEntry(gameListSlot, hostAddressText);
        quitProgram();
        return;
    default:
        // The buttons that change the screen: the game loop finishes them with their step.
        break;
    }
    if (isGameButton(id))
        runGameButton(view, id);
}

// Installs the start-state return for the turn flow (Cancel during a demonstration); the one
// window of the program is the one returned.
void returnTopLevelWindowToStartState()
{
    if (ViewArea *view = programWindow())
        returnWindowToStartState(*view);
}

struct StartStateHookInstaller {
    StartStateHookInstaller() { returnToStartState = returnTopLevelWindowToStartState; }
} startStateHookInstaller;

} // namespace

void runCommandDirectly(ViewArea &view, WindowCommand command)
{
    (view.*command)();
}

void showButtonPressed(ViewArea &view, int id)
{
    if (id != 98)
        redrawAll = 1;
    pressedButton = id;
    screenChangePending = 1;
    pendingScreenButton = id;
    view.update();
}

void returnWindowToStartState(ViewArea &view)
{
    inGameButtonEnabled[ButtonCancel] = 0;
    if (tradeNoticeShown)
        closeCardTradeNotice(view);
    view.resetGameDefaults();
    loadSettingsForThisScreen();
    settingsReloadPending = 0;
    hoverSkipOnce = 1;
}

void blankTitleAndStatus()
{
    windowTitleText = QStringLiteral(" ");
    setStatusText(QStringLiteral(" "));
}

void showStartMenu()
{
    screenMode = 1;
    blankTitleAndStatus();
}

void quitProgram()
{
    if (quitEventLoop)
        quitEventLoop();
}

ViewArea *programWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *view = qobject_cast<ViewArea *>(widget))
            return view;
    return nullptr;
}

void resetMouseInputState()
{
    continentOverviewShown = 0;
    runWindowCommand = runCommandDirectly;
}

void ViewArea::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    dragActive = 0;
    clickX = roundedCoordinate(event->localPos().x());
    clickY = roundedCoordinate(event->localPos().y());
    // Dropped, not kept for later.
    if (spriteAnimationActive || continentOverviewShown)
        return;
    if (dialogOpen) {
        raiseOpenMemberDialog(*this);
        return;
    }
    if (demoRunning) {
        stopDemo(*this);
        return;
    }
    if (gameMode == ModeDemo) {
        endDemoGame(*this);
        return;
    }

    // A click that lands before a pending screen change is played cancels it.
    screenChangePending = 0;
    if (isMenuEntryScreen(screenMode))
        menuAction = 1;
    const MenuButtonHit hit = sideMenuButtonAt(clickX, clickY);
    if (hit.button != 0) {
        menuRowY = hit.rowTop;
        runMenuButton(*this, hit.button);
        return;
    }
    if (barButtonContains(clickX, clickY)) {
        showButtonPressed(*this, kBarButtonId);
        runGameButton(*this, kBarButtonId);
        return;
    }
    runWindowCommand(*this, &ViewArea::handleMapClick);
}
