// The built-in map SwampII as map-file text: the exact lines, and what the parser makes of them.

#include "TestSupport.h"

#include "MapChecks.h"
#include "maps/MapTexts.h"
#include "state/GameState.h"
#include "state/MapFile.h"

#include <QDataStream>
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

// The links between two continents; each pair stands on both territories' rows.
const char *const kCrossPairs =
    "1-10, 1-131, 5-15, 6-14, 6-15, 8-9, 9-72, 12-72, 12-75, 13-75, 13-78, 14-66, 18-24, "
    "18-158, 20-47, 20-56, 23-59, 27-30, 28-191, 29-30, 31-37, 31-44, 36-46, 38-109, 41-49, "
    "42-49, 46-47, 51-104, 51-105, 55-63, 55-94, 58-60, 59-67, 60-73, 61-85, 64-96, 65-93, "
    "65-171, 74-76, 81-86, 82-87, 84-184, 89-176, 90-183, 93-171, 97-168, 98-146, 101-146, "
    "103-154, 110-115, 111-120, 112-136, 112-137, 114-136, 121-137, 125-129, 125-184, 126-138, "
    "133-144, 135-142, 139-140, 140-154, 143-154, 145-151, 149-158, 156-187, 161-187, 162-166, "
    "164-170, 165-175, 165-196, 169-171, 171-200, 172-177, 174-180, 174-199, 175-194, 175-199, "
    "186-197, 187-196, 192-193, 192-197";

struct ContinentRow {
    const char *name;
    int bonus;
    Numbers members;
    const char *borders;
    const char *touches;
    const char *innerPairs;
};

const QVector<ContinentRow> &continentRows()
{
    static const QVector<ContinentRow> rows = {
        {"NorthWest1", 4, runOf(1, 8), "1 5 6 8", "2 3 16",
         "1-2, 2-3, 3-4, 3-8, 4-5, 4-7, 4-8, 5-6, 6-7, 7-8"},
        {"NorthWest2", 2, runOf(9, 13), "9 10 12 13", "1 10 11",
         "9-10, 10-11, 11-12, 11-13, 12-13"},
        {"North1", 7, runOf(14, 23), "14 15 18 20 23", "1 4 7 8 10 20",
         "14-15, 15-16, 16-17, 17-18, 18-19, 19-20, 19-21, 21-22, 22-23"},
        {"NorthEast1", 2, runOf(24, 29), "24 27 28 29", "3 5 24",
         "24-25, 24-26, 25-26, 25-28, 26-27, 27-29, 28-29"},
        {"NorthEast2", 3, runOf(30, 36), "30 31 36", "4 6",
         "30-31, 30-32, 32-33, 33-34, 33-36, 34-35, 35-36"},
        {"East1", 6, runOf(37, 46), "37 38 41 42 44 46", "5 7 14",
         "37-38, 37-43, 37-44, 38-39, 39-40, 40-41, 42-43, 43-44, 44-45, 45-46"},
        {"Center1", 6, runOf(47, 55), "47 49 51 55", "3 6 9 13 14",
         "47-48, 48-49, 48-50, 48-52, 49-50, 50-51, 50-53, 52-53, 53-54, 53-55"},
        {"Center_N", 1, runOf(56, 59), "56 58 59", "3 9 10", "56-57, 57-58, 58-59"},
        {"Center2", 4, runOf(60, 65), "60 61 63 64 65", "7 8 10 12 13 22",
         "60-61, 61-62, 62-63, 63-64, 64-65"},
        {"Center_NW", 5, runOf(66, 74), "66 67 72 73 74", "2 3 8 9 11",
         "66-67, 66-69, 67-68, 68-69, 68-73, 69-70, 70-71, 70-72, 73-74"},
        {"West1", 6, runOf(75, 84), "75 76 78 81 82 84", "2 10 12 23",
         "75-76, 76-77, 77-78, 77-79, 78-79, 79-80, 79-83, 80-81, 82-83, 82-84, 83-84"},
        {"Center_W", 7, runOf(85, 93) + Numbers{200}, "85 86 87 89 90 93 200", "9 11 22 23",
         "85-86, 86-87, 86-88, 88-89, 88-91, 89-90, 89-91, 91-92, 92-93, 93-200"},
        {"Center3", 6, runOf(94, 103), "94 96 97 98 101 103", "7 9 19 21",
         "94-95, 95-96, 95-99, 96-97, 97-98, 99-100, 100-101, 100-102, 101-102, 101-103, "
         "102-103"},
        {"East2", 7, runOf(104, 114), "104 105 109 110 111 112 114", "6 7 15 17",
         "104-105, 104-107, 105-106, 105-107, 106-107, 106-108, 107-113, 107-114, 108-109, "
         "109-110, 110-111, 110-113, 111-112, 113-114"},
        {"East3", 5, runOf(115, 125), "115 120 121 125", "14 16 17 23",
         "115-116, 116-117, 116-119, 116-120, 117-118, 118-119, 118-124, 119-120, 119-122, "
         "119-124, 120-121, 120-122, 121-122, 121-123, 122-123, 122-124, 122-125, 123-125, "
         "124-125"},
        {"SouthEast", 5, runOf(126, 135), "126 129 131 133 135", "1 15 17 18",
         "126-127, 127-128, 128-129, 128-134, 129-130, 130-131, 131-132, 132-133, 132-134, "
         "132-135, 134-135"},
        {"Center_SE", 2, runOf(136, 139), "136 137 138 139", "14 15 16 18",
         "136-137, 136-138, 136-139, 137-138, 138-139"},
        {"South3", 3, runOf(140, 145), "140 142 143 144 145", "16 17 19",
         "140-141, 140-142, 140-143, 141-142, 142-143, 142-144, 143-144, 143-145, 144-145"},
        {"South2", 6, runOf(146, 155), "146 149 151 154", "13 18 20",
         "146-147, 147-148, 148-149, 148-150, 148-153, 148-155, 149-150, 150-151, 151-152, "
         "152-153, 153-154, 153-155, 154-155"},
        {"South1", 7, runOf(156, 165), "156 158 161 162 164 165", "3 19 21 22 24 25",
         "156-157, 156-161, 157-158, 158-159, 159-160, 159-162, 160-161, 160-162, 160-163, "
         "162-163, 163-164, 164-165"},
        {"Center_S", 2, runOf(166, 170), "166 168 169 170", "13 20 22",
         "166-167, 167-168, 168-169, 169-170"},
        {"Center_SW", 4, runOf(171, 175), "171 172 174 175", "9 12 20 21 23 25",
         "171-172, 172-173, 173-174, 174-175"},
        {"West2", 7, runOf(176, 186), "176 177 180 183 184 186", "11 12 15 22 25",
         "176-177, 176-178, 177-178, 177-179, 177-180, 178-179, 178-183, 179-180, 179-182, "
         "180-181, 180-182, 181-182, 181-186, 182-185, 183-184, 184-185, 185-186"},
        {"SouthWest1", 2, runOf(187, 192), "187 191 192", "4 20 25",
         "187-188, 188-189, 189-190, 190-191, 191-192"},
        {"SouthWest2", 4, runOf(193, 199), "193 194 196 197 199", "20 22 23 24",
         "193-194, 193-197, 193-198, 194-195, 195-196, 197-198, 198-199"},
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

// Everything a map load writes, as bytes, so a refused load can be shown to change nothing.
QByteArray mapSnapshot()
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    for (int t = 0; t <= kMaxTerritories; ++t) {
        for (qint32 n : territoryNeighbours[t])
            out << n;
        out << territoryPos[t].x << territoryPos[t].y << territoryCode[t];
    }
    for (int c = 0; c <= kMaxContinents; ++c) {
        for (qint32 m : continentTable[c].members)
            out << m;
        out << continentTable[c].memberCount << continentTable[c].weight << continentTable[c].bonus;
        for (qint32 b : continentBorders[c])
            out << b;
        out << continentName[c];
    }
    out << territoryCount << continentCount << maxContinentSize << maxBorderCount
        << totalBorderCount << mapName << playerPanelX << playerPanelY;
    return bytes;
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

    void fixedLines_data()
    {
        QTest::addColumn<int>("lineNumber");
        QTest::addColumn<QString>("text");
        QTest::newRow("[map]") << 1 << "[map]";
        QTest::newRow("map name") << 2 << "SwampII";
        QTest::newRow("[player names]") << 4 << "[player names]";
        QTest::newRow("panel") << 5 << "800 10";
        QTest::newRow("[smilies and codes]") << 7 << "[smilies and codes]";
        QTest::newRow("smilies") << 8 << "N";
        QTest::newRow("[continents]") << 10 << "[continents]";
        QTest::newRow("[territories]") << 37 << "[territories]";
        QTest::newRow("continent 12 ends with 200") << 22
                                                    << "7 Center_W 85 86 87 88 89 90 91 92 93 200";
    }

    void fixedLines()
    {
        QFETCH(int, lineNumber);
        QFETCH(QString, text);
        const QStringList lines = swampIIText();
        QCOMPARE(lines.size(), kLineCount);
        QCOMPARE(lines.at(lineNumber - 1), text);
    }

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

    void territoryLines()
    {
        const QStringList lines = swampIIText();
        QCOMPARE(lines.size(), kLineCount);
        QMap<int, int> histogram;
        int entries = 0;
        for (int t = 1; t <= kMaxTerritories; ++t) {
            const QStringList words =
                lines.at(kFirstTerritoryLine + t - 2).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            const QByteArray where = "row " + QByteArray::number(t);
            QVERIFY2(words.size() >= 5, where.constData());
            QCOMPARE(words.at(0).toInt(), t);
            QCOMPARE(words.at(1), QStringLiteral("xxx"));
            QSet<int> seen;
            for (int i = 2; i < words.size(); ++i) {
                bool ok = false;
                const int n = words.at(i).toInt(&ok);
                QVERIFY2(ok, where.constData());
                if (i >= 4) {
                    QVERIFY2(n >= 1 && n <= kMaxTerritories, where.constData());
                    QVERIFY2(!seen.contains(n), where.constData());
                    seen.insert(n);
                }
            }
            ++histogram[seen.size()];
            entries += seen.size();
        }
        QCOMPARE(entries, 620);
        const QMap<int, int> expected = {{1, 2}, {2, 47}, {3, 95}, {4, 42}, {5, 13}, {6, 1}};
        QCOMPARE(histogram, expected);
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

        // The links inside the continent are exactly its listed pairs.
        QSet<Pair> inner;
        for (int m : row.members)
            for (int n : listedNeighbours(m))
                if (n != m && continentOfTerritory(n) == continent)
                    inner.insert(ordered(m, n));
        inner.remove({87, 88}); // 88 lists 87 one-sidedly; checked on its own below
        QCOMPARE(inner, pairsOf(QString::fromLatin1(row.innerPairs)));
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
        for (int t = 1; t <= territoryCount; ++t) {
            for (int n : listedNeighbours(t)) {
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
        QCOMPARE(cross, pairsOf(QString::fromLatin1(kCrossPairs)));
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

    void networkGameRefuses_data()
    {
        QTest::addColumn<int>("mode");
        QTest::newRow("host") << int(ModeHost);
        QTest::newRow("client") << int(ModeClient);
    }

    void networkGameRefuses()
    {
        QFETCH(int, mode);
        // A small map first, so that "untouched" has something to keep.
        mapFileLines = QStringList{QStringLiteral("[map]"), QStringLiteral("Pair"), QString(),
                                   QStringLiteral("[continents]"), QStringLiteral("2 Both 1 2"),
                                   QStringLiteral("1 Other 3"), QString(),
                                   QStringLiteral("[territories]"),
                                   QStringLiteral("1 aaa 10 20 2"),
                                   QStringLiteral("2 bbb 30 40 1 3"),
                                   QStringLiteral("3 ccc 50 60 2")};
        int result = 0;
        loadMapFile(result);
        QCOMPARE(result, int(MapFileOk));
        QCOMPARE(territoryCount, 3);
        const QByteArray before = mapSnapshot();

        gameMode = mode;
        QCOMPARE(loadSwampII(), int(MapFileTooLargeForNetwork));
        QCOMPARE(mapSnapshot(), before);
        QCOMPARE(territoryCount, 3);
        QCOMPARE(continentCount, 2);
        QCOMPARE(mapName, QStringLiteral("Pair") + QString(10, QLatin1Char(' ')));
    }
};

TARVAN_TEST_MAIN(TestSwampII)
#include "test_swampii.moc"
