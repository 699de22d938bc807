#pragma once
// What the option dialogs show and store, apart from their widgets.

#include <QString>
#include <QStringList>

// The nine switches of the Sound Settings dialog, in the order of `soundEnabled` 1..9.
QStringList soundSwitchLabels();
// The seven personalities a computer player can be given, 0 Normal .. 6 Unstable.
QStringList personalityLabels();
// The personality the dialog shows for player p: 6 for Unstable, else his personality.
int shownPersonality(int player);
// Gives player p personality `choice` (6 Unstable: the setting, and a random one to play by).
void choosePersonality(int player, int choice);

// The longest name the player names dialog takes.
constexpr int kPlayerNameLength = 18;
// What the player names dialog shows of a player's kept name: the name as it is typed, without the
// blanks that pad it.
QString namesDialogText(int player);
