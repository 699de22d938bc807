// The window's destruction: in a network game the other side is told first, then everything
// the window made goes with it.

#include "app/ViewArea.h"

#include "app/GameLoop.h"
#include "app/GameLoopInternal.h"
#include "app/MouseInput.h"
#include "app/NetworkState.h"
#include "app/OnlineManagers.h"
#include "net/NetState.h"
#include "app/WindowInteraction.h"
#include "state/GameState.h"
#include "state/StatusLine.h"

#include <QCloseEvent>
#include <QDeadlineTimer>
#include <QNetworkAccessManager>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

// How long the farewell may hold up the end of the program, for all sockets together.
constexpr int kFarewellFlushMs = 2000;

// The socket destructor drops what it has not yet handed to the network, and the other side
// ends its game only on this message: hand it over now, then wait, bounded, for whatever the
// network could not take at once. The bound limits only that wait, so a slow moment of this
// program never costs the farewell a link that has room. Then every connection closes, so that
// the others end their game now: one that took no farewell at once.
void flushAndCloseSockets(const QList<int> &written)
{
    const QDeadlineTimer deadline(kFarewellFlushMs);
    for (int n = 1; n <= kMaxClients; ++n) {
        QTcpSocket *socket = clientSocket(n);
        if (!socket)
            continue;
        // This machine is leaving: its own closing of the connection is no player leaving.
        socket->disconnect();
        if (!written.contains(n)) {
            socket->abort();
            continue;
        }
        socket->flush();
        while (socket->bytesToWrite() > 0 && !deadline.hasExpired()) {
            if (!socket->waitForBytesWritten(qMax<qint64>(1, deadline.remainingTime())))
                break;
        }
        socket->disconnectFromHost();
    }
}

template <class T>
void deleteAndClear(T *&object)
{
    delete object;
    object = nullptr;
}

} // namespace

ViewArea::~ViewArea()
{
    sendFarewell();
    // Sockets that close with the window are no player leaving a game still on.
    networkSeat = 0;
    netWindow = nullptr;
    gameTimer.stop();
    deleteMemberDialogs();
    // The network objects are the window's children; clear the globals that point at them.
    deleteAndClear(clientSocket1);
    deleteAndClear(clientSocket2);
    deleteAndClear(clientSocket3);
    deleteAndClear(clientSocket4);
    deleteAndClear(tcpServer);
    dropOnlineManagers();
    installWindowInteraction(nullptr);
}

namespace {

// The farewell of a network game that is still on: by the reason of leaving, and when the window
// simply closes (or the lobby's Quit) by this machine's part in the game. A game that has already
// said goodbye, or was ended by the other side, closes without one.
int farewellCode()
{
    if (exitReason == ExitHostQuits || (exitReason == ExitToMainMenu && networkSeat == 1))
        return 1019;
    if (exitReason == ExitClientQuits || (exitReason == ExitToMainMenu && networkSeat > 1))
        return 1020;
    return 0;
}

} // namespace

void ViewArea::closeEvent(QCloseEvent *event)
{
    // Closed by the window manager: the program is going, and the other side hears it now,
    // whatever becomes of the program once its window has gone. The farewell is said once.
    sendFarewell();
    if (farewellCode() != 0)
        networkSeat = 0;
    QMainWindow::closeEvent(event);
}

void ViewArea::sendFarewell()
{
    const int code = farewellCode();
    if (code == 0)
        return;
    // The host tells every player who joined; a client tells the host.
    QList<int> sockets;
    for (int n = 1; n <= kMaxClients; ++n)
        if (code == 1020 ? n == 1 : netSession.seatOfSocket[n] > 0)
            sockets.append(n);
    const QByteArray bytes = composeMessage(*this, code);
    QList<int> written;
    for (int n : sockets) {
        // Only a whole message ends the other side's game.
        if (writeToSocket(n, bytes) == bytes.size())
            written.append(n);
        else
            setStatusText(socketErrorText(code, n));
    }
    flushAndCloseSockets(written);
}
