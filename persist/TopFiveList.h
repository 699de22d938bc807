#pragma once
// A top-five list as the list server keeps it: up to five entries of fixed width, one after the
// other on one line. Its entries, the entry a new score takes, and the list with that entry.

#include <QString>
#include <QStringList>
#include <QtGlobal>

// The entry the submitted score takes: 0 appends, 1..5 replaces that entry.
extern qint32 topFiveSlot;

constexpr int kTopFiveEntries = 5;
// An entry: the losses right-aligned in four, a blank, the name padded or cut to twenty.
constexpr int kTopFiveLossesWidth = 4;
constexpr int kTopFiveNameLength = 20;
constexpr int kTopFiveEntryLength = kTopFiveLossesWidth + 1 + kTopFiveNameLength;
constexpr int kTopFiveNotGoodEnough = -1;
constexpr int kMostTopFiveLosses = 9999;

// One entry of `losses` and the name made one line.
QString topFiveEntryText(const QString &name, int losses);

// The entries of a top-five list: its pieces of an entry's length, five at most. A list of 110
// characters or more holds five: its fifth may lack its padding. A shorter torn piece at the end
// is no entry.
QStringList topFiveListEntries(const QString &list);

// A list of fewer than five entries takes the score at its end (0). A full list gives up the
// entry with the most losses (the first of equals) when the score is no worse than it; entries
// of 0 losses or of losses beginning with 99 are never given up. Otherwise, or with more than
// 9999 losses, kTopFiveNotGoodEnough.
int chooseTopFiveSlot(const QString &list, int losses);

// The list with `entry` appended (slot 0) or in place of entry 1..5; every other entry of the
// list is kept as it stands.
QString topFiveListWith(const QString &list, const QString &entry, int slot);
