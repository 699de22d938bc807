#pragma once
// What the rank dialog shows besides the ranks themselves.

#include <QStringList>

// The side of the square an insignia is fitted into: a 46th of the screen's width.
int rankInsigniaSide();
// The twelve fixed lines of what each single-player rank requires.
QStringList rankRequirementLines();
