#pragma once
// The rules of the names and texts a player types and the game keeps: a name is one line with
// nothing hidden in it, and every cut to a width keeps whole characters as a reader sees them
// (grapheme clusters, as Qt's boundary finder finds them: a letter with its accents, a flag, an
// emoji with its skin tone or joined to others). Widths count UTF-16 units, as the files and the
// lists always have.

#include <QString>

// `text` made one line of what can be seen: a control character (a line break, a tab) or a line
// or paragraph separator becomes a blank; a format character (one that reorders or hides text,
// such as a right-to-left override or a zero-width space) and half of a character (a lone
// surrogate) go. Of the zero-width joiners only those between two emoji stay, where the boundary
// finder makes one character of them (a family, a flaming heart); one between letters, after a
// letter, or before a mark goes.
QString cleanedText(const QString &text);

// The longest start of `text` that is whole characters and at most `width` units.
QString cutToWidth(const QString &text, int width);

// `text` cut to `width` and padded with blanks to it: a fixed field of a file or a list.
QString fitToWidth(const QString &text, int width);

// A name as the player typed it, as the game takes it: one line, without the blanks around it,
// and no longer than `width`, where the name is kept.
QString typedName(const QString &typed, int width);
