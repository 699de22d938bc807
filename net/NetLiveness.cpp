#include "net/NetLiveness.h"

#include "app/NetworkState.h"
#include "net/NetFraming.h"
#include "net/NetPlay.h"
#include "net/NetState.h"
#include "rules/TurnState.h"
#include "state/GameState.h"
#include "state/Seams.h"

#include <QTcpSocket>

namespace {

// Milliseconds from `then` to now; a clock set back counts as no time at all.
qint64 msecsSince(const QDateTime &then, const QDateTime &now)
{
    return qMax<qint64>(0, then.msecsTo(now));
}

// The first probe goes one interval after the host's first tick.
void probePlayers(const QDateTime &now)
{
    if (!netSession.lastProbe.isValid())
        netSession.lastProbe = now;
    if (msecsSince(netSession.lastProbe, now) < kProbeIntervalMs)
        return;
    netSession.lastProbe = now;
    sendToJoinedClients(plainMessage(9999));
}

void startWatchingAfresh(const QDateTime &now)
{
    for (QDateTime &heard : netSession.lastHeard)
        if (heard.isValid())
            heard = now;
    netSession.lastProbe = now;
}

} // namespace

void heardFrom(int socket)
{
    if (socket >= 1 && socket <= kMaxNetworkSockets)
        netSession.lastHeard[socket] = interaction().now();
}

void forgetPeer(int socket)
{
    if (socket >= 1 && socket <= kMaxNetworkSockets)
        netSession.lastHeard[socket] = QDateTime();
}

bool watchPeers()
{
    // A finished game waits for nobody.
    if (networkSeat <= 0 || gameOver)
        return true;
    const QDateTime now = interaction().now();
    const qint64 gap = netSession.lastWatch.isValid() ? netSession.lastWatch.msecsTo(now) : 0;
    if (gap < 0 || gap > kWatchGapMs)
        startWatchingAfresh(now);
    netSession.lastWatch = now;
    if (networkSeat == 1)
        probePlayers(now);
    for (int n = 1; n <= kMaxNetworkSockets && networkSeat > 0; ++n) {
        const QDateTime &heard = netSession.lastHeard[n];
        if (heard.isValid() && clientSocket(n) && msecsSince(heard, now) > kSilenceLimitMs)
            dropPeer(n);
    }
    return networkSeat > 0;
}
