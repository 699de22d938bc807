#pragma once
// Who plays each seat: a person (at this machine or, in a network game, at another) or the
// computer. Every rule that asks whether a player is human asks here, on every machine alike.

#include <QString>

// A seat a person plays: a local human, or in a network game the host's seat and every joined
// seat that no computer player plays for its absent player.
bool isHumanSeat(int player);
// A player whom the computer plays: every seat of the game that is no human seat.
bool isComputerPlayer(int player);
// A human who plays at this machine: a local human, or this machine's own network seat.
bool isHumanOfThisMachine(int player);
// Some human seat is still in the game.
bool anyHumanSeatInGame();

// A seat of a resumed network game whose player did not come back is played by the computer
// under his name with this mark; every machine reads the seat's kind from the name it was sent.
constexpr char kComputerPlayedMark[] = " (pc)";
bool isComputerPlayedName(const QString &name);
