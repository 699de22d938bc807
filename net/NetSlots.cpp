// The window's network slots: connections accepted, data received on each client socket, the
// snapshot appended to an outgoing message, and Launch.

#include "app/ViewArea.h"

#include "app/GameLoop.h"
#include "app/NetworkState.h"
#include "net/NetFraming.h"
#include "net/NetPlay.h"
#include "net/NetState.h"
#include "net/OnlineServices.h"
#include "net/StateSnapshot.h"

#include <QTcpSocket>

namespace {

// The online list entry of an Internet host goes up through the online services.
const bool hooksInstalled = [] {
    gameListEntryUpload = &uploadGameListEntry;
    return true;
}();

} // namespace

void ViewArea::OnAccept()
{
    netWindow = this;
    acceptConnections([this](QTcpSocket *socket, int slot) {
        static const char *const receivers[] = {nullptr, SLOT(OnReceive1()), SLOT(OnReceive2()),
                                                SLOT(OnReceive3()), SLOT(OnReceive4())};
        connect(socket, SIGNAL(readyRead()), this, receivers[slot]);
    });
}

void ViewArea::OnReceive()
{
    netWindow = this;
    receiveFromSocket(receivingSocketIndex);
}

void ViewArea::onReceiveFrom(int socketIndex)
{
    receivingSocketIndex = socketIndex;
    OnReceive();
}

void ViewArea::OnReceive1() { onReceiveFrom(1); }
void ViewArea::OnReceive2() { onReceiveFrom(2); }
void ViewArea::OnReceive3() { onReceiveFrom(3); }
void ViewArea::OnReceive4() { onReceiveFrom(4); }

void ViewArea::writeStateSnapshot()
{
    const int code = messageCode(outMessage.left(4).toLatin1());
    outMessage += QString::fromLatin1(snapshotMessage(code).mid(kCodeLength));
}

void ViewArea::startNewGame()
{
    netWindow = this;
    startNetworkGame();
}
