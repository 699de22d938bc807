#pragma once
// The texts of the score lists: the player's own games as a fixed-width table, one row per
// record of the scores file, and the downloaded top-five lists cut into entries and arranged in
// three columns under the names of their maps.

#include "net/ListFile.h"
#include "persist/Scores.h"

#include <QString>
#include <QStringList>

#include <array>

QString scoresTableHeader();
// One record as a row whose columns line up under the header in a fixed-width font.
QString scoresTableRow(const ScoresRecord &record);
// The four lines under the table that explain its letters.
QStringList scoresTableLegend();

struct ScoresTable {
    bool opened = false; // the scores file could be read
    QStringList lines;   // the header, then one row per record in file order
};
ScoresTable readScoresTable();

// The heading of the top-five list fetched at position k (0..11), "" beyond.
QString topFiveHeading(int k);
// A top-five text cut into its whole 25-character entries (five at most), fewest losses first.
QStringList topFiveEntries(const QString &text);
// What a list view shows in place of the entries of a list that could not be fetched.
QString topFiveListNotFetchedText();
// The lists fetched, in the order they were asked for, as the three columns of the global high
// scores: list k goes to column k mod 3 under its heading, followed by a blank line; a list that
// could not be fetched says so.
std::array<QStringList, 3> topFiveColumns(const QList<ListFile> &lists);
