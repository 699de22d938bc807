// The built-in map SwampII as map-file text: the exact lines, and what the parser makes of them.

#include "TestSupport.h"

#include "MapChecks.h"
#include "maps/MapTexts.h"
#include "state/GameState.h"
#include "state/MapFile.h"

#include <QMap>

using namespace mapchecks;

namespace {

constexpr int kLineCount = 237;
constexpr int kFirstTerritoryLine = 38; // line numbers count from 1

using Numbers = QList<int>;

Numbers runOf(int first, int last)
{
    Numbers out;
    for (int t = first; t <= last; ++t)
        out.append(t);
    return out;
}

struct ContinentRow {
    const char *name;
    int bonus;
    Numbers members;
    const char *borders;
    const char *touches;
};

const QVector<ContinentRow> &continentRows()
{
    static const QVector<ContinentRow> rows = {
        {"NorthWest1", 4, runOf(1, 8), "1 5 6 8", "2 3 16"},
        {"NorthWest2", 2, runOf(9, 13), "9 10 12 13", "1 10 11"},
        {"North1", 7, runOf(14, 23), "14 15 18 20 23", "1 4 7 8 10 20"},
        {"NorthEast1", 2, runOf(24, 29), "24 27 28 29", "3 5 24"},
        {"NorthEast2", 3, runOf(30, 36), "30 31 36", "4 6"},
        {"East1", 6, runOf(37, 46), "37 38 41 42 44 46", "5 7 14"},
        {"Center1", 6, runOf(47, 55), "47 49 51 55", "3 6 9 13 14"},
        {"Center_N", 1, runOf(56, 59), "56 58 59", "3 9 10"},
        {"Center2", 4, runOf(60, 65), "60 61 63 64 65", "7 8 10 12 13 22"},
        {"Center_NW", 5, runOf(66, 74), "66 67 72 73 74", "2 3 8 9 11"},
        {"West1", 6, runOf(75, 84), "75 76 78 81 82 84", "2 10 12 23"},
        {"Center_W", 7, runOf(85, 93) + Numbers{200}, "85 86 87 89 90 93 200", "9 11 22 23"},
        {"Center3", 6, runOf(94, 103), "94 96 97 98 101 103", "7 9 19 21"},
        {"East2", 7, runOf(104, 114), "104 105 109 110 111 112 114", "6 7 15 17"},
        {"East3", 5, runOf(115, 125), "115 120 121 125", "14 16 17 23"},
        {"SouthEast", 5, runOf(126, 135), "126 129 131 133 135", "1 15 17 18"},
        {"Center_SE", 2, runOf(136, 139), "136 137 138 139", "14 15 16 18"},
        {"South3", 3, runOf(140, 145), "140 142 143 144 145", "16 17 19"},
        {"South2", 6, runOf(146, 155), "146 149 151 154", "13 18 20"},
        {"South1", 7, runOf(156, 165), "156 158 161 162 164 165", "3 19 21 22 24 25"},
        {"Center_S", 2, runOf(166, 170), "166 168 169 170", "13 20 22"},
        {"Center_SW", 4, runOf(171, 175), "171 172 174 175", "9 12 20 21 23 25"},
        {"West2", 7, runOf(176, 186), "176 177 180 183 184 186", "11 12 15 22 25"},
        {"SouthWest1", 2, runOf(187, 192), "187 191 192", "4 20 25"},
        {"SouthWest2", 4, runOf(193, 199), "193 194 196 197 199", "20 22 23 24"},
    };
    return rows;
}

// The four links that wrap round the board.
const QVector<Pair> kEdgePairs = {{1, 131}, {18, 158}, {28, 191}, {125, 184}};

bool isEdgePair(int a, int b)
{
    return kEdgePairs.contains(ordered(a, b));
}

QStringList swampIIText()
{
    mapFileLines.clear();
    mapTextSwampII();
    return mapFileLines;
}

int loadSwampII()
{
    swampIIText();
    int result = 0;
    loadMapFile(result);
    return result;
}

Numbers bordersOf(int c)
{
    Numbers out;
    for (int i = 1; i <= kMaxBorderEntries && continentBorders[c][i] != 0; ++i)
        out.append(continentBorders[c][i]);
    return out;
}

Numbers membersOf(int c)
{
    Numbers out;
    for (int i = 1; i <= kMaxContinentMembers && continentTable[c].members[i] != 0; ++i)
        out.append(continentTable[c].members[i]);
    return out;
}

} // namespace

class TestSwampII : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        resetGameState();
        mapFileLines.clear();
        gameMode = ModeSinglePlayer;
    }

    // ---- The text ----

    // The rows given word for word, and what the parser reads from them: the label, and the
    // neighbours in their order (87 lists itself, 88 lists 87 one-sidedly).
    void quotedRows_data()
    {
        QTest::addColumn<QString>("row");
        for (const char *row : {"1 xxx 23 25 2 10 131", "18 xxx 501 34 17 24 19 158",
                                "28 xxx 730 24 25 29 191", "33 xxx 626 115 32 34 36 ", "54 xxx 369 239 53",
                                "71 xxx 172 154 70", "82 xxx 87 298 83 84 87", "87 xxx 141 286 82 86 87",
                                "88 xxx 193 287 86 87 91 89", "122 xxx 850 409 119 124 125 123 121 120",
                                "125 xxx 907 438 124 122 123 129 184", "131 xxx 897 594 130 132 1",
                                "158 xxx 424 596 157 159 149 18", "171 xxx 302 387 65 93 200 172 169",
                                "184 xxx 36 375 84 185 183 125", "191 xxx 33 597 190 192 28",
                                "200 xxx 253 360 93 171"})
            QTest::addRow("row %s", QString::fromLatin1(row).section(QLatin1Char(' '), 0, 0).toLatin1().constData())
                << QString::fromLatin1(row);
    }

    void quotedRows()
    {
        QFETCH(QString, row);
        const Numbers words = numbers(row.section(QLatin1Char(' '), 2));
        const int territory = row.section(QLatin1Char(' '), 0, 0).toInt();
        QCOMPARE(swampIIText().at(kFirstTerritoryLine + territory - 2), row);
        QCOMPARE(loadSwampII(), int(MapFileOk));
        QCOMPARE(territoryPos[territory].x, words[0]);
        QCOMPARE(territoryPos[territory].y, words[1]);
        QCOMPARE(listedNeighbours(territory), words.mid(2));
    }

    void lineShapes()
    {
        const QStringList lines = swampIIText();
        QCOMPARE(lines.size(), kLineCount);

        QSet<int> empty, headers, trailing;
        for (int i = 0; i < lines.size(); ++i) {
            const QString &line = lines.at(i);
            const int number = i + 1;
            if (line.isEmpty())
                empty.insert(number);
            if (line.startsWith(QLatin1Char('[')))
                headers.insert(number);
            if (line.endsWith(QLatin1Char(' ')))
                trailing.insert(number);
            QVERIFY2(line.size() <= 103, qPrintable(QString::number(number)));
            QVERIFY2(!line.startsWith(QLatin1Char(' ')), qPrintable(QString::number(number)));
            QVERIFY2(!line.contains(QLatin1String("  ")), qPrintable(QString::number(number)));
            for (QChar ch : line)
                QVERIFY2(ch.unicode() >= 0x20 && ch.unicode() < 0x7f,
                         qPrintable(QString::number(number)));
        }
        QCOMPARE(empty, (QSet<int>{3, 6, 9, 36}));
        QCOMPARE(headers, (QSet<int>{1, 4, 7, 10, 37}));
        // Continents NorthWest1 and Center2, and the rows of 33, 58, 81, 128, 134, 181, 183, 196.
        QSet<int> expectedTrailing = {11, 19};
        for (int t : {33, 58, 81, 128, 134, 181, 183, 196})
            expectedTrailing.insert(kFirstTerritoryLine + t - 1);
        QCOMPARE(trailing, expectedTrailing);
    }

    void appendsWithoutClearing()
    {
        mapFileLines = QStringList{QStringLiteral("already here")};
        mapTextSwampII();
        QCOMPARE(mapFileLines.size(), 1 + kLineCount);
        QCOMPARE(mapFileLines.first(), QStringLiteral("already here"));

        mapFileLines.clear();
        mapTextSwampII();
        mapTextSwampII();
        QCOMPARE(mapFileLines.size(), 2 * kLineCount);
        QCOMPARE(mapFileLines.mid(kLineCount), mapFileLines.mid(0, kLineCount));
    }

    // ---- What the parser makes of it ----

    void parsesWithSummary()
    {
        QCOMPARE(loadSwampII(), int(MapFileOk));
        QCOMPARE(continentCount, 25);
        QCOMPARE(territoryCount, 200);
        QCOMPARE(maxContinentSize, 11);
        QCOMPARE(maxBorderCount, 7);
        QCOMPARE(totalBorderCount, 119);
        QCOMPARE(mapName, QStringLiteral("SwampII") + QString(7, QLatin1Char(' ')));
        QCOMPARE(playerPanelX, 800);
        QCOMPARE(playerPanelY, 10);
        for (int t = 1; t <= 200; ++t)
            QCOMPARE(territoryCode[t], QStringLiteral("xxx"));
    }

    void continents_data()
    {
        QTest::addColumn<int>("continent");
        const auto &rows = continentRows();
        for (int c = 1; c <= rows.size(); ++c)
            QTest::addRow("%d %s", c, rows.at(c - 1).name) << c;
    }

    void continents()
    {
        QFETCH(int, continent);
        const ContinentRow &row = continentRows().at(continent - 1);

        // The continent's line, word for word (two of them end in a blank).
        QStringList words = {QString::number(row.bonus), QString::fromLatin1(row.name)};
        for (int m : row.members)
            words.append(QString::number(m));
        QString line = words.join(QLatin1Char(' '));
        if (continent == 1 || continent == 9)
            line += QLatin1Char(' ');
        QCOMPARE(swampIIText().at(10 + continent - 1), line);

        QCOMPARE(loadSwampII(), int(MapFileOk));
        QCOMPARE(continentName[continent], QString::fromLatin1(row.name));
        QCOMPARE(continentTable[continent].bonus, row.bonus);
        QCOMPARE(continentTable[continent].memberCount, row.members.size());
        QCOMPARE(membersOf(continent), row.members);
        QCOMPARE(bordersOf(continent), numbers(QString::fromLatin1(row.borders)));
        for (int m : row.members)
            QCOMPARE(continentOfTerritory(m), continent);

        // The continents holding a neighbour of a member, as listed in either direction.
        QSet<int> touches;
        for (int t = 1; t <= territoryCount; ++t) {
            const int home = continentOfTerritory(t);
            for (int n : listedNeighbours(t)) {
                const int other = continentOfTerritory(n);
                if (home == continent && other != continent)
                    touches.insert(other);
                if (other == continent && home != continent)
                    touches.insert(home);
            }
        }
        const Numbers expected = numbers(QString::fromLatin1(row.touches));
        QCOMPARE(touches, QSet<int>(expected.begin(), expected.end()));

    }

    void oneSidedAndSelfLinks()
    {
        QCOMPARE(loadSwampII(), int(MapFileOk));
        QVERIFY(listedNeighbours(87).contains(87));
        QVERIFY(listedNeighbours(88).contains(87));
        QVERIFY(!listedNeighbours(87).contains(88));
        QCOMPARE(continentOfTerritory(87), 12);
        QCOMPARE(continentOfTerritory(88), 12);
        // 87 borders West1 through row 82; 88 borders nothing outside Center_W.
        QCOMPARE(continentOfTerritory(82), 11);
        QVERIFY(bordersOf(12).contains(87));
        QVERIFY(!bordersOf(12).contains(88));
        // 200 belongs to Center_W and borders Center_SW through row 171.
        QCOMPARE(continentOfTerritory(200), 12);
        QCOMPARE(continentOfTerritory(171), 22);
        QVERIFY(bordersOf(12).contains(200));
    }

    void adjacency()
    {
        QCOMPARE(loadSwampII(), int(MapFileOk));
        QSet<Pair> pairs, cross;
        QMap<int, int> histogram; // territories by the number of neighbours their rows list
        for (int t = 1; t <= territoryCount; ++t) {
            const QList<int> listed = listedNeighbours(t);
            ++histogram[QSet<int>(listed.begin(), listed.end()).size()];
            for (int n : listed) {
                if (n == t) {
                    QCOMPARE(t, 87);
                    continue;
                }
                const bool mutual = listedNeighbours(n).contains(t);
                if (t == 88 && n == 87)
                    QVERIFY(!mutual);
                else
                    QVERIFY2(mutual, qPrintable(QStringLiteral("%1 lists %2").arg(t).arg(n)));
                if (!mutual)
                    continue;
                pairs.insert(ordered(t, n));
                if (continentOfTerritory(t) != continentOfTerritory(n))
                    cross.insert(ordered(t, n));
            }
        }
        QCOMPARE(pairs.size(), 309);
        QCOMPARE(cross.size(), 82);
        QCOMPARE(histogram, (QMap<int, int>{{1, 2}, {2, 47}, {3, 95}, {4, 42}, {5, 13}, {6, 1}}));
    }

    void labelPositions()
    {
        QCOMPARE(loadSwampII(), int(MapFileOk));
        for (int t = 1; t <= territoryCount; ++t) {
            const MapPoint p = territoryPos[t];
            QVERIFY2(p.x >= 23 && p.x <= 912, qPrintable(QString::number(t)));
            QVERIFY2(p.y >= 17 && p.y <= 603, qPrintable(QString::number(t)));
            // Neighbours stand near each other, but the links that wrap round the board join
            // opposite edges.
            for (int n : listedNeighbours(t)) {
                const int dx = qAbs(p.x - territoryPos[n].x), dy = qAbs(p.y - territoryPos[n].y);
                QVERIFY2(isEdgePair(t, n) ? dx >= 562 || dy >= 562 : dx <= 110 && dy <= 65,
                         qPrintable(QStringLiteral("%1 and %2").arg(t).arg(n)));
            }
            // Labels stay readable: no two closer than 25 pixels.
            for (int u = t + 1; u <= territoryCount; ++u) {
                const qint64 dx = p.x - territoryPos[u].x, dy = p.y - territoryPos[u].y;
                QVERIFY2(dx * dx + dy * dy >= 25 * 25,
                         qPrintable(QStringLiteral("%1 and %2").arg(t).arg(u)));
            }
        }
    }
};

TARVAN_TEST_MAIN(TestSwampII)
#include "test_swampii.moc"
