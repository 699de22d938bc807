#include "net/NetLeaving.h"

#include "net/NetPlay.h"
#include "net/StateSnapshot.h"
#include "state/GameState.h"

const QString kHostLeftText = QStringLiteral("The host has left the game. End of game.");
const QString kHostLostText = QStringLiteral("The connection to the host was lost. End of game.");

QByteArray leaveMessage(int seat)
{
    StateSnapshot s = captureSnapshot(false);
    s.msgOwner = seat;
    return plainMessage(1019, encodeSnapshot(s));
}

QString seatLeftText(int seat)
{
    const QString name = isValidPlayer(seat) ? playerName[seat].trimmed() : QString();
    return QStringLiteral("%1 has left the game. End of game.").arg(name.isEmpty() ? QStringLiteral("A player") : name);
}

QString leaveText(const StateSnapshot &s)
{
    const int seat = s.msgOwner;
    return seat >= 2 && seat <= s.playerCount ? seatLeftText(seat) : kHostLeftText;
}
