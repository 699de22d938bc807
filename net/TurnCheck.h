#pragma once
// The host's check of a state sent by the seat whose placement or turn it is. The seat's machine
// sends its state after each action (some actions go with the next one), so each state is
// measured against the last one taken: it must be what the rules make of that by placements and
// card trades before any attack, one battle with its conquest, the armies that follow a conquest,
// or moves, within what the placement or turn allows. A dice battle's throw is the acting
// machine's own and cannot be checked; everything else is.

#include "net/StateSnapshot.h"

// The placement (true) or turn of `seat` begins now, from the game as the host holds it.
void recordTurnStart(int seat, bool placement);
// May the state `s` from `seat` become the game's? When it may, what it used of the turn
// (armies placed, the turn's card, armies moved) is counted: the caller takes the state.
bool snapshotWithinTurn(const StateSnapshot &s, int seat);
// What no placement or turn changes stays as the host holds it: the names, the troop experience
// (the host's own count of every turn start), the initial armies and the placement round.
void keepHostsOwnFields(StateSnapshot &s);
