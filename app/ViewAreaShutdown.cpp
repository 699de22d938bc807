// The window's destruction: in a network game the other side is told first, then everything
// the window made goes with it.

#include "app/ViewArea.h"

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

// Writes the message to client socket n when it is connected; false when nothing was handed
// to the socket (a socket that is not connected is reported like a failed write).
bool writeToClientSocket(int n, const QByteArray &bytes)
{
    QTcpSocket *socket = clientSocket(n);
    if (!socket || socket->state() != QAbstractSocket::ConnectedState)
        return false;
    return socket->write(bytes) == bytes.size();
}

// The socket destructor drops what it has not yet handed to the network, and the other side
// ends its game only on this message: wait, bounded, until every written byte is out.
void flushClientSockets(const QList<int> &written)
{
    const QDeadlineTimer deadline(kFarewellFlushMs);
    for (int n : written) {
        QTcpSocket *socket = clientSocket(n);
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
    QString code;
    int sockets = 0;
    if (exitReason == 1) { // the host quits: every client
        code = QStringLiteral("1019");
        sockets = qBound(1, clientCount, kMaxClients);
    } else if (exitReason == 2) { // a client quits: the host
        code = QStringLiteral("1020");
        sockets = 1;
    } else {
        return;
    }
    outMessage = code;
    writeStateSnapshot();
    const QByteArray bytes = outMessage.toLatin1();
    QList<int> written;
    for (int n = 1; n <= sockets; ++n) {
        if (writeToClientSocket(n, bytes)) {
            written.append(n);
            continue;
        }
        const QString error = QStringLiteral("socket send ERROR ") + code;
        setStatusText(n == 1 ? error : error + QStringLiteral(" %1").arg(n));
    }
    flushClientSockets(written);
}
