// The window's destruction: in a network game the other side is told first, then everything
// the window made goes with it.

#include "app/ViewArea.h"

#include "app/GameLoop.h"
#include "app/GameLoopInternal.h"
#include "app/NetworkState.h"
#include "app/WindowInteraction.h"
#include "state/GameState.h"
#include "state/StatusLine.h"

#include <QDeadlineTimer>
#include <QNetworkAccessManager>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

// How long the farewell may hold up the end of the program, for all sockets together.
constexpr int kFarewellFlushMs = 2000;

// The socket destructor drops what it has not yet handed to the network, and the other side
// ends its game only on this message: wait, bounded, until every written byte is out.
void flushClientSockets(const QList<int> &written)
{
    const QDeadlineTimer deadline(kFarewellFlushMs);
    for (int n : written) {
        QTcpSocket *socket = clientSocket(n);
        if (!socket)
            continue;
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
    gameTimer.stop();
    deleteMemberDialogs();
    // The network objects are the window's children; clear the globals that point at them.
    deleteAndClear(clientSocket1);
    deleteAndClear(clientSocket2);
    deleteAndClear(clientSocket3);
    deleteAndClear(clientSocket4);
    deleteAndClear(tcpServer);
    deleteAndClear(gameListManager);
    deleteAndClear(topFiveManager);
    installWindowInteraction(nullptr);
}

void ViewArea::sendFarewell()
{
    int code = 0;
    int sockets = 0;
    if (exitReason == 1) { // the host quits: every client
        code = 1019;
        sockets = qBound(1, clientCount, kMaxClients);
    } else if (exitReason == 2) { // a client quits: the host
        code = 1020;
        sockets = 1;
    } else {
        return;
    }
    const QByteArray bytes = composeMessage(*this, code);
    QList<int> written;
    for (int n = 1; n <= sockets; ++n) {
        // Only a whole message ends the other side's game.
        if (writeToSocket(n, bytes) == bytes.size())
            written.append(n);
        else
            setStatusText(socketErrorText(code, n));
    }
    flushClientSockets(written);
}
