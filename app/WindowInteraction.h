#pragma once

class QWidget;

// Routes the game's questions, message boxes, file dialogs, pauses and sounds to real widgets
// (nullptr puts the silent default back).
void installWindowInteraction(QWidget *window);
