#pragma once
// Options a game forces while it lasts: a network game's pace (`fastSpeed` set, no narration) and
// its lack of animations, a demo's quiet play. The global holds the forced value for the rules and
// the window to read; the player's own choice is kept aside, and it is what the settings store and
// what the end of that game gives back.

#include <QtGlobal>

void forceFastSpeed();
void forceAnimationsOff();
// The game that forced them is over: the player's own values are in use again.
void endForcedOptions();

// The player's own values, forced or not: what the settings file keeps.
quint8 chosenFastSpeed();
quint8 chosenAnimations();
// The player (a speed entry) or the settings file chooses: in use at once unless forced, and in
// use once the forcing ends.
void chooseFastSpeed(quint8 on);
void chooseAnimations(quint8 on);

void resetForcedOptions();
