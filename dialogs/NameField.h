#pragma once
// A line edit that holds a name: one line of whole characters, no longer than the name keeps.

class QLineEdit;

// Makes `field` a name field `width` units long. It edits as a line edit with a maximum length
// does, but by whole characters (never a letter without its accent or half of a flag): what a
// typing, a paste, a drop or an input method puts in at the cursor is cleaned (a line break or a
// tab made a blank, a format character dropped) and cut from its end to the room the rest leaves;
// an edit of which nothing fits changes nothing, text, cursor and selection; undo and redo work
// as in any line edit. A text the program sets is cleaned and cut as a whole.
void limitNameField(QLineEdit &field, int width);
