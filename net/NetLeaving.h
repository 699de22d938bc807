#pragma once
// Who has left a network game, told on every machine. The host's 1019 names in its owner field
// the player who has gone: 1 when the host itself leaves, another seat when that player's
// leaving (his 1020, his connection closed or gone silent) ends the game for the others.

#include <QByteArray>
#include <QString>

struct StateSnapshot;

// The 1019 that tells the others that `seat` has left.
QByteArray leaveMessage(int seat);
// "%1 has left the game. End of game." with the name of `seat`.
QString seatLeftText(int seat);
// The box a client shows for the host's 1019.
QString leaveText(const StateSnapshot &s);

extern const QString kHostLeftText;
extern const QString kHostLostText;
