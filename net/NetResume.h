#pragma once
// A saved network game played on. The host's lobby of a loaded game keeps the saved game as it
// is; the players who come back take the seats that wait for them; Launch goes on with the game
// where it was saved, on every machine. A seat nobody came back to is played by a computer player
// from then on, under its own name marked as such.

#include <QString>

// The host's lobby of a loaded game opens, with the names still whole: the connections of an
// earlier game are closed, and the seats of the saved game's other human players wait.
void openResumedLobby();
// The host's open lobby holds a loaded game.
bool resumedLobby();
// The seat a player joining under `name` takes: the waiting seat whose saved name is his, else
// one whose name begins with his first two characters, else the first that waits; 0 when no
// seat waits. The seat shows its saved name again.
int takeWaitingSeat(const QString &name);
// The player of `seat` has gone before Launch: the seat waits for its player again.
void seatWaitsAgain(int seat);
// The lobby as it stands: the saved map and panel, whoever has joined.
void showResumedLobby();
// Launch of a loaded game: every joined machine gets the whole state (1002) and play goes on
// with the saved player to move; the seats still waiting go to computer players.
void launchResumedGame();

// The turn in play begins now (on the host at every hand-over, on a client when its own turn
// comes): until the next, a save of this machine holds the game as it stands now, so the turn
// begins again whole when the game is loaded.
void holdTurnStartForSave();

// The name of a seat that a computer player plays for its absent player, and back.
QString computerPlayedName(const QString &name);
QString playerOfComputerPlayedName(const QString &name);

void resetResumedGame();
