#include "dialogs/ScoreTables.h"

#include "net/OnlineServices.h"
#include "persist/TopFiveList.h"
#include "state/TextRules.h"

namespace {

constexpr int kPersonalityColumns = 10;

const char *const kTopFiveHeadings[kTopFiveListCount] = {
    "World", "Europe",   "North America", "China",        "Japan",          "World II",
    "Swamp", "Australia", "Worlds",       "West Pacific", "North Atlantic", "Tarvan GX"};

QString blanks(int n)
{
    return QString(n, QLatin1Char(' '));
}

QString yesUnlessOff(qint32 off)
{
    return off == 1 ? QStringLiteral("N") : QStringLiteral("Y");
}

// The first letter of the mission's name; nothing for a mission the program does not know.
QString missionLetter(qint32 mission)
{
    static const char *const kLetters[] = {"A", "C", "H", "E"};
    return mission >= 0 && mission <= 3 ? QLatin1String(kLetters[mission]) : QLatin1String("");
}

// One letter per seat: P a human, a blank an empty seat, else the personality's letter.
QString personalityLetters(const ScoresRecord &r)
{
    static const char kLetters[] = "NCDATHU";
    QString letters;
    for (int i = 1; i <= kMaxPlayers; ++i) {
        if (i <= r.humanCount)
            letters += QLatin1Char('P');
        else if (i > r.players)
            letters += QLatin1Char(' ');
        else if (r.personalities[i] >= 0 && r.personalities[i] <= 6)
            letters += QLatin1Char(kLetters[r.personalities[i]]);
    }
    return letters.left(kPersonalityColumns);
}

} // namespace

QString scoresTableHeader()
{
    return QStringLiteral("Map       Players  Dice  St TE Mi Level  Pers        Losses  Date       Name");
}

QString scoresTableRow(const ScoresRecord &r)
{
    QString row = fitToWidth(r.mapOrCampaign, 14);
    row += blanks(1) + QString::asprintf("%2d", r.players);
    row += blanks(4) + (r.oneForOne == 0 ? QStringLiteral("Y") : QStringLiteral("N"));
    row += blanks(3) + yesUnlessOff(r.strongholdsOff);
    row += blanks(2) + yesUnlessOff(r.troopExperienceOff);
    row += blanks(2) + missionLetter(r.mission);
    row += blanks(2) + (r.normalLevel == 0 ? QStringLiteral("Easy  ") : QStringLiteral("Normal"));
    row += blanks(1) + personalityLetters(r);
    row += blanks(2) + QString::asprintf("%6d", r.losses);
    row += blanks(2) + r.date.left(9);
    row += blanks(2) + cutToWidth(r.names, 19);
    return row;
}

QStringList scoresTableLegend()
{
    return {
        QStringLiteral("St = Strongholds    TE = Troop Experience     Pers = Personality"),
        QStringLiteral("Mi = Mission:  A = Conquer All   C = Continents   H = Hold Continents   E = Escort            "),
        QStringLiteral("Personality:  N = Normal     D = Defender  T = Determined  H = Hunter"),
        QStringLiteral("              C = Conqueror  A = Avenger   U = Unstable    P = Player (human)"),
    };
}

ScoresTable readScoresTable()
{
    ScoresTable table;
    table.lines.append(scoresTableHeader());
    QStringList rows;
    const ScoresScan scan = scanScoresFile([&rows](const ScoresRecord &record) { rows.append(scoresTableRow(record)); });
    table.opened = scan.opened;
    table.lines += rows;
    return table;
}

QString topFiveHeading(int k)
{
    return k >= 0 && k < kTopFiveListCount ? QLatin1String(kTopFiveHeadings[k]) : QLatin1String("");
}

QStringList topFiveEntries(const QString &text)
{
    QStringList entries = topFiveListEntries(text);
    // The losses stand right-aligned at the front, so the text order puts the fewest first.
    entries.sort(Qt::CaseSensitive);
    return entries;
}

QString topFiveListNotFetchedText()
{
    return QStringLiteral("The list could not be fetched.");
}

std::array<QStringList, 3> topFiveColumns(const QList<ListFile> &lists)
{
    std::array<QStringList, 3> columns;
    for (int k = 0; k < lists.size() && k < kTopFiveListCount; ++k) {
        QStringList &column = columns[k % 3];
        column.append(topFiveHeading(k));
        if (lists[k].state == ListFileState::Failed)
            column.append(topFiveListNotFetchedText());
        else
            column += topFiveEntries(lists[k].text);
        column.append(QStringLiteral(" "));
    }
    return columns;
}
