#pragma once
// The dialogs that the game builds for one use and runs modally (ranks, scores, statistics,
// continents, cards, the top five, the option dialogs, About): one look, one rhythm, and one
// seam they all run through, so a test answers them without blocking.

#include <QString>

#include <functional>

class QDialog;
class QLabel;
class QLayout;

// The look every dialog of the game shares: a title bar only, the standard grey, the program's
// icon and the dialog opacity.
void giveDialogLook(QDialog &dialog, const QString &title);

// A dialog taller or wider than the screen it is shown on gets its content in a scroll area and
// the size the screen has room for, its closing buttons (Ok, Cancel) kept in sight under it.
void fitDialogToScreen(QDialog &dialog);

// Runs `dialog` modally and returns its result. The program runs it with exec(); a test installs
// a runner that works the dialog's widgets and returns at once. An empty runner restores exec().
using DialogRunner = std::function<int(QDialog &dialog)>;
void setDialogRunner(DialogRunner runner);
int runDialog(QDialog &dialog);

// The rhythm around a dialog: a pause that keeps the game going, the dialog, another pause.
int runDialogBetweenPauses(QDialog &dialog, int pauseBefore, int pauseAfter);

// An "Ok" button aligned to the right that accepts the dialog.
void addOkButton(QDialog &dialog, QLayout &layout);
// A label of `text` added to `layout`.
QLabel *addLabel(QLayout &layout, const QString &text);
