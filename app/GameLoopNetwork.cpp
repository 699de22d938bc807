// What the game loop sends in a network game, and how it paces the acknowledged messages: every
// message is the four-digit code and the state snapshot, written to the client sockets through
// one writer; the watchdog resends an unacknowledged message every fifth tick and gives the game
// up after the seventh resend.

#include "app/ViewArea.h"

#include "app/GameLoop.h"
#include "app/GameLoopInternal.h"
#include "app/MouseInput.h"
#include "app/NetworkState.h"
#include "net/NetLiveness.h"
#include "net/NetPlay.h"
#include "net/NetState.h"
#include "rules/TurnState.h"
#include "state/GameState.h"
#include "state/Seams.h"
#include "state/StatusLine.h"

#include <QTcpSocket>

namespace {

// Ticks without an acknowledgement before a resend, and resends before the game is given up.
constexpr int kTicksBeforeResend = 4;
constexpr int kResendsBeforeGivingUp = 6;

SocketWriter &installedWriter()
{
    static SocketWriter writer;
    return writer;
}

// What one socket may hold unsent: a peer that reads nothing makes its messages fail rather
// than the host's memory grow.
constexpr qint64 kMaxUnsentBytes = 1024 * 1024;

// Only a connected socket is written; any other counts as a failed write.
qint64 writeToConnectedSocket(int n, const QByteArray &bytes)
{
    QTcpSocket *socket = clientSocket(n);
    if (!socket || socket->state() != QAbstractSocket::ConnectedState || socket->bytesToWrite() > kMaxUnsentBytes)
        return -1;
    return socket->write(bytes);
}

bool sent(int socket, const QByteArray &bytes)
{
    return writeToSocket(socket, bytes) != -1;
}

void resendAwaitedMessage(ViewArea &view)
{
    const int code = awaitedAckCode;
    const int socket = awaitedAckSocket;
    switch (code) {
    case 1004: // host to one client: the placement turn
    case 1007: // host to one client: the turn
        if (socket < 1 || socket > kMaxClients)
            return;
        break;
    case 1005: // client to host: a placement step done
    case 1011: // client to host: the turn done
        if (socket != 1)
            return;
        break;
    default:
        return;
    }
    if (sent(socket, composeMessage(view, code)))
        return;
    setStatusText(code == 1004 ? QStringLiteral("Player has left the game. End of game.")
                               : socketErrorText(code, socket));
}

void giveUpNetworkGame(ViewArea &view)
{
    view.gameTimer.stop();
    // The others end their game now, not when this box is closed: this machine leaves at once.
    exitReason = networkSeat == 1 ? ExitHostQuits : ExitClientQuits;
    view.sendFarewell();
    interaction().message(MessageIcon::Critical, ViewArea::tr("Error"), ViewArea::tr("Network errors, End of Game."));
    exitReason = ExitProgramClosing;
    if (quitEventLoop)
        quitEventLoop();
}

} // namespace

QByteArray composeMessage(ViewArea &view, int code)
{
    outMessage = QStringLiteral("%1").arg(code, 4, 10, QLatin1Char('0'));
    view.writeStateSnapshot();
    return outMessage.toLatin1();
}

qint64 writeToSocket(int socket, const QByteArray &bytes)
{
    if (installedWriter())
        return installedWriter()(socket, bytes);
    return writeToConnectedSocket(socket, bytes);
}

void setSocketWriter(SocketWriter writer)
{
    installedWriter() = std::move(writer);
}

QString socketErrorText(int code, int socket)
{
    const QString text = QStringLiteral("socket send ERROR %1").arg(code);
    return socket <= 1 ? text : text + QStringLiteral(" %1").arg(socket);
}

void ViewArea::broadcastToClients(int code)
{
    const QByteArray bytes = composeMessage(*this, code);
    // The players who have joined: a connection that has not is told nothing of the game.
    for (int n = 1; n <= kMaxClients; ++n)
        if (netSession.seatOfSocket[n] > 0 && !sent(n, bytes))
            setStatusText(socketErrorText(code, n));
}

void ViewArea::mirrorToClients(int code)
{
    if (networkSeat == 1)
        broadcastToClients(code);
}

void ViewArea::sendToHost(int code)
{
    if (!sent(1, composeMessage(*this, code)))
        setStatusText(socketErrorText(code, 1));
}

void sendToOtherMachines(ViewArea &view, int hostCode, int clientCode)
{
    if (networkSeat == 1)
        view.broadcastToClients(hostCode);
    else if (networkSeat > 1)
        view.sendToHost(clientCode);
}

bool runNetworkWatchdog(ViewArea &view)
{
    // A peer that has gone silent ends the game, whether or not an answer is awaited from it.
    if (!watchPeers())
        return true;
    if (awaitedAckCode > 0)
        ++ackWaitTicks;
    if (ackResendCount > kResendsBeforeGivingUp) {
        if (exitReason != ExitProgramClosing)
            giveUpNetworkGame(view);
        return true;
    }
    if (ackWaitTicks > kTicksBeforeResend) {
        resendAwaitedMessage(view);
        ++ackResendCount;
        ackWaitTicks = 0;
    }
    return false;
}

void playJoinStep(const QueueStep &step)
{
    const int length = 4 + qBound(0, step.arg[1], step.text.size());
    const QString message = QStringLiteral("1000") + step.text;
    if (sent(1, message.left(length).toLatin1()))
        return;
    // No game there: the joiner is back at the start menu, told why in the status line.
    const QString notFound = hostNotFoundText();
    returnToStartMenu(netWindow);
    setStatusText(notFound);
}
