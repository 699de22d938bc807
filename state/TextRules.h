#pragma once
// The rules of the names and texts a player types and the game keeps: a name is one line, and
// every cut to a width keeps whole characters. Widths count UTF-16 units, as the files and the
// lists always have; a character outside the Basic Multilingual Plane (an emoji) takes two, a
// surrogate pair, and a cut between the two would leave half a character.

#include <QString>

// `text` made one line: a control character (a line break, a tab) or a line or paragraph
// separator becomes a blank, and half of a character (a lone surrogate) goes.
QString cleanedText(const QString &text);

// At most `width` units of `text`: one fewer where the cut would part a surrogate pair.
QString cutToWidth(const QString &text, int width);

// `text` cut to `width` and padded with blanks to it: a fixed field of a file or a list.
QString fitToWidth(const QString &text, int width);

// A name as the player typed it, as the game takes it: one line, without the blanks around it,
// and no longer than `width`, where the name is kept.
QString typedName(const QString &typed, int width);
