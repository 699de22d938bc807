#pragma once
// A won high-score game may go onto the top-five list of its map or campaign: which entry of a
// downloaded list the new score takes, and the call from the end of the game to the dialog that
// asks for the name.

#include <QString>
#include <QStringList>
#include <QtGlobal>

// The entry the submitted score takes: 0 appends, 1..5 replaces that entry.
extern qint32 topFiveSlot;

constexpr int kTopFiveEntries = 5;
constexpr int kTopFiveEntryLength = 25;
constexpr int kTopFiveNotGoodEnough = -1;
constexpr int kMostTopFiveLosses = 9999;

// The entries of a top-five list: its 25-character pieces, five at most. A list of 110
// characters or more holds five: its fifth may lack its padding. A shorter torn piece at the end
// is no entry.
QStringList topFiveListEntries(const QString &list);

// A list of fewer than five entries takes the score at its end (0). A full list gives up the
// entry with the most losses (the first of equals) when the score is no worse than it; entries
// of 0 losses or of losses beginning with 99 are never given up. Otherwise, or with more than
// 9999 losses, kTopFiveNotGoodEnough.
int chooseTopFiveSlot(const QString &list, int losses);

// The dialog side of the submission (map set, the winner's losses); the window's dialogs install
// it. Nothing is offered while none is installed.
extern void (*topFiveSubmission)(int mapSet, int losses);
