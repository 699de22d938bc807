#pragma once
// The game's sound events. Each event plays one WAV file from the sounds folder beside the
// program, unless every sound is off or the event's own switch in `soundEnabled` is off.

#include <QString>

enum SoundEvent {
    SoundNone = 0,
    SoundPlacement = 1, // armies placed: plain, or a helicopter with animations on
    SoundAttack = 2,
    SoundConquest = 3,
    SoundMove = 4,
    SoundPlayerOut = 5,
    SoundNextPlayer = 6,
    SoundContinent = 7,
    SoundUnused8 = 8,
    SoundVictory = 9,
    SoundUnused10 = 10,
    SoundMissile = 11,
    SoundNuke = 12,
};

// The switches of `soundEnabled` (entry 1 silences everything).
enum SoundSwitch {
    SwitchAllOff = 1,
    SwitchAttack = 2,
    SwitchAdd = 3,
    SwitchMove = 4,
    SwitchNextPlayer = 5,
    SwitchPlayerOut = 6,
    SwitchContinent = 7,
    SwitchVictory = 8,
    SwitchSonar = 9,
};

// The file an event would play for a player colour and an army count, or an empty text when
// the event plays nothing in the current speed and animation settings. Ignores the switches.
QString soundFileFor(int event, int colour, int count);

// Plays the event's file through the interaction seam, honouring the sound switches.
void playSound(int event, int colour, int count);
