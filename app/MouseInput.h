#pragma once
// Mouse input: a left click on the window becomes a side-menu command, an in-game button, the
// open member dialog raised, the demonstration stopped, or a map click. The click itself is
// `ViewArea::mousePressEvent`; these are the parts the rest of the window and the tests reach.

#include <QString>
#include <QtGlobal>

class ViewArea;

// The continent bonus overview is being shown: clicks are dropped meanwhile. (The dialogs set
// it; it lives here until they keep it.)
extern quint8 continentOverviewShown;

// An operation of the window that a click starts: a dialog, the set-up flow, an option, the map
// click. Every one runs through `runWindowCommand`, so a test sees which one a click started
// without a dialog opening; the default calls it.
using WindowCommand = void (ViewArea::*)();
extern void (*runWindowCommand)(ViewArea &view, WindowCommand command);
void runCommandDirectly(ViewArea &view, WindowCommand command);

// `exitReason` values of a click that leaves a game.
enum ExitReason {
    ExitToMainMenu = 0,
    ExitHostQuits = 1,         // the host of a game with clients: 1019 to every client
    ExitClientQuits = 2,       // 1020 to the host
    ExitInternetHostQuits = 3, // its entry on the online game list withdrawn
    ExitGameOverOrBusy = 4,    // nothing asked: the game is over or steps are still queued
    ExitProgramClosing = 913,
};

// The pressed-button feedback: the button drawn pressed on the next paint, which hands its id to
// the game loop (message step 20); a screen change waits for that step. Continents (98) keeps
// the redraw of the whole window as it is.
void showButtonPressed(ViewArea &view, int id);

// The program back to the start state after a demonstration or a game: Cancel off, the card
// trade notice closed, the game defaults and the settings, the display-size class fitted to the
// screen, and the next hover move skipped. The turn flow's `returnToStartState` runs this.
void returnWindowToStartState(ViewArea &view);

// The title and the status line blank, as the start menu shows them.
void blankTitleAndStatus();
// The start menu's main screen with a blank title and status line (the next paint shows it).
void showStartMenu();

// The game screen's buttons (91..99) and the status bar's Cards (9999), after the feedback.
void runGameButton(ViewArea &view, int id);
// Main Menu (913) in the in-game menu: the questions, the return to the main menu, the notices
// to the other machines and, after a network game, the end of the program.
void leaveGame(ViewArea &view);
// Withdraws this host's entry from the online game list (a slot outside 0..4 is no entry) and
// gives the upload a second to leave.
void withdrawGameListEntry(int slot, const QString &address);
// Ends the program's event loop.
void quitProgram();

// The turn is played at this machine: no network game, or this machine's seat is the current
// player's.
bool localPlayersTurn();
// The one window of the program (null before it is made).
ViewArea *programWindow();

// The values above back to their start (the command runner to the direct call).
void resetMouseInputState();
