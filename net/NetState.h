#pragma once
// Network play's own state beside the window's sockets (app/NetworkState.h): what each socket has
// received but not yet read as whole messages, which accepted connections have joined, and
// whether this client is the one acting now. Kept in one record so a whole machine's network
// state can be set aside and brought back.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QtGlobal>

#include <array>

class ViewArea;

constexpr int kMaxNetworkSockets = 4;

struct NetSession {
    // Bytes received on client socket n (1..4) that do not yet make a whole message.
    std::array<QByteArray, kMaxNetworkSockets + 1> pending;
    // Host: the player who joined through socket n (0 none yet), and the socket of each player.
    std::array<qint32, kMaxNetworkSockets + 1> seatOfSocket{};
    std::array<qint32, kMaxNetworkSockets + 2> socketOfSeat{}; // players 2..5
    // Client: its placement or turn was handed to it and it has not yet handed it back; meanwhile
    // the host's messages only change what is shown, not the rules' state.
    quint8 clientActing = 0;
    // Host: the client whose conquest decided the game has told its end (1028); until then its
    // last turn's states (the move into the conquered territory) still come.
    quint8 deciderEnded = 0;
    // When the peer on socket n was last heard from (invalid: not watched), and when the host
    // last probed its players.
    std::array<QDateTime, kMaxNetworkSockets + 1> lastHeard;
    QDateTime lastProbe;
    QDateTime lastWatch; // this machine's last look at its peers' silence
};
extern NetSession netSession;

// The window whose title and picture follow what arrives; null for a machine without a window.
extern ViewArea *netWindow;

void resetNetSession();

// Network play, the online services and the network set-up's environment back to their start.
void resetNetworkPlay();
