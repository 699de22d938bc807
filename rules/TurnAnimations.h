#pragma once
// Which animation each action of a turn gets, decided here and nowhere else.
//
// An attack, in a local game with animations on:
//   - a human of this machine: a rocket over the attacking territory (flying left or right, the
//     way the attacked territory lies), then the blast on the attacked territory, both in the
//     message queue; the rocket's landing concludes the attack, no click is taken meanwhile, and
//     the map shows the battle's result only when both have played;
//   - a computer player: the blast alone, in the action queue ahead of the battle's steps, while
//     the action queue has room to spare for decorations.
// In a network game every attack resolved here gets the blast in its three-step form, in the
// action queue. The blast is the nuke when more than 9 armies took the territory, else the
// explosion.
// A human's placement, in a local game with animations on, flies in by helicopter (the large one
// for more than 3 armies, the number at which the placement sound changes too) and a human's
// move by plane; the armies land with the last frame. Otherwise they are added at once.

// The battle just fought (`attackArmies` committed) took its territory with more than 9 armies:
// it shows the nuke, and a rocket that lands on it sounds the nuke.
bool nuclearBattle(bool conquered);

// The animations of the battle just fought from `from` on `to` (`attackArmies` committed).
// Sets `rocketInFlight` when the attack now waits for a rocket to conclude it.
void queueBattleAnimations(int from, int to, bool conquered);

// Armies of the current human player placed on (sound event 1) or moved to (event 4) his
// territory t, already taken from wherever they came from.
void bringArmies(int t, int armies, int sound);

// The armies still in the air to territory t (0 for any other territory).
int armiesArrivingAt(int t);
