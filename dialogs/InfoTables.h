#pragma once
// What the in-game information dialogs show: the statistics of the players, the continents with
// their bonus and holders, the Continents mission's progress, and the cards.

#include <QList>
#include <QString>
#include <QStringList>

using TextTable = QList<QStringList>; // the first row names the columns

// The player the information is shown for: this machine's seat in a network game, else the
// current player when he plays here, else player 1.
int viewingPlayer();

// "h:mm:ss".
QString playTimeText(double seconds);
// The play time of the running game so far, in seconds.
double totalPlayTime();

// The players, strongest first, with what they hold and what they have fought; territories and
// armies show their change since the start of the turn.
TextTable statisticsTable();
// The continents with their bonus, their size, who holds one whole, and how much of each the
// viewing player holds.
TextTable continentOverviewTable();
// The Continents mission: how many to conquer and the list in its order, with the ones done and
// the one asked for now; empty outside that mission.
QStringList missionProgressLines();

// The viewing player's cards by kind (artillery, infantry, cavalry, wild) and the others' counts.
struct CardsShown {
    int player = 0;
    int artillery = 0;
    int infantry = 0;
    int cavalry = 0;
    int wild = 0;
    QStringList others; // "name: n cards"
};
CardsShown cardsShown();
