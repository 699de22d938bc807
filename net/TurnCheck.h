#pragma once
// The host's check of a state sent by the seat whose placement or turn it is: what that
// player's placement or turn can have changed, measured against the game as it stood when it
// was handed to him and as the host holds it now.

#include "net/StateSnapshot.h"

// The placement (true) or turn of `seat` begins now: the measure of what it may change.
void recordTurnStart(int seat, bool placement);
// May the state `s` from `seat` become the game's?
bool snapshotWithinTurn(const StateSnapshot &s, int seat);
// What no placement or turn changes stays as the host holds it: the names, the troop experience
// (the host's own count of every turn start), the initial armies and the placement round.
void keepHostsOwnFields(StateSnapshot &s);
