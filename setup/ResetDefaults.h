#pragma once
// The reset to the default options (`ViewArea::resetGameDefaults`, defined beside this) and the
// question that closes the program so that a display setting takes effect.

#include <QString>

// The text every queue record gets when the reset clears it.
extern const QString kClearedStepText;
// Action-queue records 0 to this one are cleared by the reset; the counts make the rest
// unreachable.
constexpr int kActionRecordsCleared = 500;

// The chat dialog of network play: while one is shown its owner installs these, and the reset
// closes it (the restart question only minimises it). Null: no chat dialog is shown.
extern void (*chatDialogCloser)();
extern void (*chatDialogMinimiser)();

// "Click OK to close Tarvan GX and apply the new setting.": OK stores display-size class 3 and
// ends the program; Cancel leaves the class as it was.
void confirmRestartForSetting();
