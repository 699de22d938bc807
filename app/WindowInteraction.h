#pragma once

class QWidget;

// Routes the game's questions, message boxes, file dialogs, pauses and sounds to real widgets
// (nullptr puts the silent default back). The message boxes asked for until `windowBuilt` wait.
void installWindowInteraction(QWidget *window);
// The window is built: the boxes held meanwhile are shown, in the order they came, once its event
// loop runs or before the next box, whichever comes first.
void windowBuilt();
