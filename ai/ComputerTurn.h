#pragma once
// The computer players' turns: the turn order after a human's turn or a computer's, and the
// whole turn of one computer player (announcement, armies, action cycles, end phase, moves).

// Plays the turns of the computer players from `currentPlayer` on, one after the other, until a
// human of this machine is next. When no human is left (or in the demo) it plays one turn per
// call and queues message step 5, so the game loop calls it again on its next pass.
void runComputerTurns();

// Plays the whole turn of `currentPlayer` (also used by a network host for its computer seats).
// It changes the game state at once and queues what the players should see.
void playComputerTurn();
