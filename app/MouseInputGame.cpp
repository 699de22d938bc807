// The buttons of the game screen and the leaving of a game through the in-game menu. A button
// that is not open now is refused with a beep after its feedback; leaving asks first unless the
// game is over or steps are still queued, and tells the other machines of a network game.

#include "app/MouseInput.h"

#include "app/GameLoop.h"
#include "app/NetworkState.h"
#include "app/PaintSideMenus.h"
#include "app/PaintStatusBar.h"
#include "app/ViewArea.h"
#include "app/WindowState.h"
#include "net/NetPlay.h"
#include "net/OnlineServices.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "state/GameState.h"
#include "state/Seams.h"
#include "state/StatusLine.h"
#include "state/StepQueues.h"

#include <QTcpSocket>

namespace {

constexpr int kTurnCountersResetStep = 23;
constexpr int kUploadWaitMs = 1000;

const QString kBoxTitle = QStringLiteral("Tarvan GX");
const QString kQuitQuestion = QStringLiteral("Do you really want to quit ?");
const QString kEndForAllQuestion = QStringLiteral("This ends the game for all players, quit anyway ?");

bool placementPhaseSet()
{
    return initialPlacementPhase || continentBonusPhase || cardBonusPhase;
}

// An in-game button that runs only while its entry of `inGameButtonEnabled` is set.
void runIfEnabled(GameButton button, void (*operation)())
{
    if (inGameButtonEnabled[button])
        operation();
    else
        interaction().beep();
}

void pressAdd()
{
    // During a placement the Add button is shown open on the player's own turn: it only says so.
    if (localPlayersTurn() && actionQueueCount == 0 && placementPhaseSet()) {
        enterTerritoryBonusPhase();
        return;
    }
    runIfEnabled(ButtonAdd, enterTerritoryBonusPhase);
}

void pressNextPlayer()
{
    // With steps still to play, the press waits for nothing and says nothing.
    if (!inGameButtonEnabled[ButtonNext] || actionQueueCount != 0)
        return;
    // The turn ends once the steps before it have played; until then nothing of it acts, a
    // second press included, which would end the next player's turn as well.
    if (pushMessageStep(makeStep(kTurnCountersResetStep)))
        closeTurn();
}

// Continents and Stats open exactly when their rows are painted open.
void pressContinents(ViewArea &view)
{
    if (!gameButtonShownEnabled(98))
        interaction().beep();
    else
        runWindowCommand(view, &ViewArea::showContinentBonusDialog);
}

void pressStats(ViewArea &view)
{
    if (!gameButtonShownEnabled(99))
        interaction().beep();
    else
        runWindowCommand(view, &ViewArea::showStatisticsDialog);
}

// ---- Leaving a game ----

enum class LeaveCase {
    Ask,            // "Do you really want to quit ?"
    OverOrBusy,     // left without a question
    EndsForOthers,  // a host with clients, or a client in a game that has begun
};

LeaveCase leaveCase()
{
    if (networkSeat <= 0)
        return actionQueueCount > 0 || gameOver ? LeaveCase::OverOrBusy : LeaveCase::Ask;
    if (gameOver)
        return LeaveCase::OverOrBusy;
    const bool hostWithClients = networkSeat == 1 && clientCount > 0;
    const bool clientInGame = networkSeat >= 2 && placementRound != 0;
    if (hostWithClients || clientInGame)
        return LeaveCase::EndsForOthers;
    return actionQueueCount < 1 ? LeaveCase::Ask : LeaveCase::OverOrBusy;
}

bool confirmed(const QString &question)
{
    return interaction().question(kBoxTitle, question);
}

// Asks as the case requires and sets `exitReason`; false when the player stays in the game.
bool decideToLeave()
{
    switch (leaveCase()) {
    case LeaveCase::OverOrBusy:
        exitReason = ExitGameOverOrBusy;
        clearStepQueues();
        return true;
    case LeaveCase::EndsForOthers:
        if (!confirmed(kEndForAllQuestion))
            return false;
        exitReason = networkSeat == 1 ? ExitHostQuits : ExitClientQuits;
        return true;
    case LeaveCase::Ask:
        break;
    }
    if (!confirmed(kQuitQuestion))
        return false;
    exitReason = ExitToMainMenu;
    if (networkSeat == 1 && internetGame && gameListSlot != kNoGameListSlot) {
        withdrawGameListEntry(gameListSlot, hostAddressText);
        exitReason = ExitInternetHostQuits;
    } else if (networkSeat >= 2) {
        exitReason = ExitClientQuits;
    }
    return true;
}

// What the notices after the return to the main menu need of the game just left: the reset
// forgets the network game.
struct LeftGame {
    bool network = false;
    bool host = false;
    qint32 listSlot = kNoGameListSlot;
    QString listAddress;
};

LeftGame rememberGame()
{
    return {networkSeat > 0, networkSeat == 1, gameListSlot, hostAddressText};
}

// The reset also stops the game, closes the buttons and clears the cards and losses.
void returnToMainMenu(ViewArea &view)
{
    view.resetGameDefaults();
    showStartMenu();
}

// The notice leaves the program before the program ends: the sockets are destroyed with the
// window, and what they still hold would be lost.
void flushClientSockets()
{
    for (int n = 1; n <= kMaxClients; ++n) {
        QTcpSocket *socket = clientSocket(n);
        if (socket && socket->state() == QAbstractSocket::ConnectedState)
            socket->flush();
    }
}

void sendLeaveNotices(ViewArea &view, const LeftGame &left)
{
    switch (exitReason) {
    case ExitHostQuits:
        view.broadcastToClients(1019);
        flushClientSockets();
        break;
    case ExitClientQuits:
        view.sendToHost(1020);
        flushClientSockets();
        break;
    case ExitInternetHostQuits:
        withdrawGameListEntry(left.listSlot, left.listAddress);
        break;
    default:
        break;
    }
}

void finishLeaving(ViewArea &view, const LeftGame &left)
{
    // A network game left behind, finished or not, keeps no connection: the others learn at once
    // that this machine has gone, and a host stops listening.
    if (left.network && (exitReason == ExitToMainMenu || exitReason == ExitGameOverOrBusy))
        closeNetworkConnections(left.host);
    switch (exitReason) {
    case ExitToMainMenu:
        return;
    case ExitGameOverOrBusy:
        mapPaintState = QStringLiteral("0");
        redrawAll = 0;
        view.update();
        return;
    default:
        exitReason = ExitProgramClosing;
        quitProgram();
        return;
    }
}

} // namespace

void runGameButton(ViewArea &view, int id)
{
    switch (id) {
    case 92:
        runIfEnabled(ButtonCancel, endHumanTurn);
        break;
    case 93:
        runIfEnabled(ButtonCards, openCardTradeDialog);
        break;
    case 94:
        runIfEnabled(ButtonMove, enterMovePhase);
        break;
    case 95:
        pressAdd();
        break;
    case 96:
        runIfEnabled(ButtonAttack, enterAttackPhase);
        break;
    case 97:
        pressNextPlayer();
        break;
    case 98:
        pressContinents(view);
        break;
    case 99:
        pressStats(view);
        break;
    case kBarButtonId:
        runWindowCommand(view, &ViewArea::showCardsDialog);
        break;
    default:
        // Menu (91): the game loop opens the in-game menu with the button's step.
        break;
    }
}

void leaveGame(ViewArea &view)
{
    exitReason = ExitToMainMenu;
    if (!decideToLeave())
        return;
    const LeftGame left = rememberGame();
    // The farewell carries the game as it stood, so it goes before the reset; a failed send
    // stays in the status line.
    const QString statusBefore = statusText;
    sendLeaveNotices(view, left);
    const QString farewellStatus = statusText;
    returnToMainMenu(view);
    if (farewellStatus != statusBefore)
        setStatusText(farewellStatus);
    finishLeaving(view, left);
}

bool localPlayersTurn()
{
    return networkSeat <= 0 || networkSeat == currentPlayer;
}

void withdrawGameListEntry(int slot, const QString &address)
{
    if (!isGameListSlot(slot))
        return;
    if (gameListEntryUpload)
        gameListEntryUpload(slot, address, 1);
    interaction().pause(kUploadWaitMs);
}
