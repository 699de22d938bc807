// The map-file parser, map files read from disk, the top-five look-up by file name, and
// campaign files.

#include "TestSupport.h"

#include "state/BuiltinMaps.h"
#include "state/Campaign.h"
#include "state/GameState.h"
#include "state/MapFile.h"
#include "state/MapLoading.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>

namespace {

const char *const kTinyMap = "[map]\n"
                             "Tiny\n"
                             "\n"
                             "[player names]\n"
                             "30 40\n"
                             "\n"
                             "[smilies and codes]\n"
                             "N\n"
                             "\n"
                             "[continents]\n"
                             "3 West 1 2\n"
                             "2 East 3 4\n"
                             "\n"
                             "[territories]\n"
                             "1 aaa 10 10 2 3\n"
                             "2 bbb 20 10 1\n"
                             "3 ccc 30 10 1 4\n"
                             "4 ddd 40 10 3\n";

QStringList linesOf(const QByteArray &text)
{
    QString s = QString::fromUtf8(text);
    QStringList lines = s.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

int parseLines(const QStringList &lines)
{
    mapFileLines = lines;
    int result = 0;
    loadMapFile(result);
    return result;
}

// Everything a map load may touch, as bytes, to show that a refused file changed nothing.
QByteArray mapSnapshot()
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    for (int t = 0; t <= kMaxTerritories; ++t) {
        for (qint32 n : territoryNeighbours[t])
            out << n;
        out << territoryPos[t].x << territoryPos[t].y << territoryCode[t];
        out << territoryState[t].owner << territoryState[t].armies;
    }
    for (int c = 0; c <= kMaxContinents; ++c) {
        for (qint32 m : continentTable[c].members)
            out << m;
        out << continentTable[c].memberCount << continentTable[c].weight << continentTable[c].bonus;
        for (qint32 b : continentBorders[c])
            out << b;
        out << continentName[c];
    }
    out << territoryCount << continentCount << maxContinentSize << maxBorderCount << totalBorderCount
        << mapName << playerPanelX << playerPanelY << reinforcementDivisor << mapFilePath
        << customMapImagePath;
    for (quint8 flag : builtinMapFlags)
        out << flag;
    return bytes;
}

// A map of 2 continents: continent 1 holds territories 1..n, continent 2 holds n+1..2n, and
// territory t of one continent and its partner in the other list each other.
QStringList pairedContinents(int n)
{
    QStringList lines{QStringLiteral("[continents]")};
    QString west = QStringLiteral("5 West"), east = QStringLiteral("4 East");
    for (int t = 1; t <= n; ++t) {
        west += QStringLiteral(" %1").arg(t);
        east += QStringLiteral(" %1").arg(n + t);
    }
    lines << west << east << QString() << QStringLiteral("[territories]");
    for (int t = 1; t <= 2 * n; ++t)
        lines << QStringLiteral("%1 t%1 %2 %3 %4").arg(t).arg(10 * t).arg(20).arg(t <= n ? t + n : t - n);
    return lines;
}

// n territories in one continent-per-territory chain (continents = min(n, continents)).
QStringList chainMap(int territories, int continents)
{
    QStringList lines{QStringLiteral("[continents]")};
    for (int c = 1; c <= continents; ++c) {
        QString line = QStringLiteral("2 C%1").arg(c);
        for (int t = c; t <= territories; t += continents)
            line += QStringLiteral(" %1").arg(t);
        lines << line;
    }
    lines << QStringLiteral("[territories]");
    for (int t = 1; t <= territories; ++t) {
        QString line = QStringLiteral("%1 xxx 10 10").arg(t);
        if (t > 1)
            line += QStringLiteral(" %1").arg(t - 1);
        if (t < territories)
            line += QStringLiteral(" %1").arg(t + 1);
        lines << line;
    }
    return lines;
}

} // namespace

class TestMapFile : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        resetAllGameState();
        setInteraction(&ui);
        ui = ScriptedInteraction();
    }
    void cleanup() { setInteraction(nullptr); }

    void tinyMapParses()
    {
        QCOMPARE(parseLines(linesOf(kTinyMap)), 0);
        QCOMPARE(territoryCount, 4);
        QCOMPARE(continentCount, 2);
        QCOMPARE(mapName, QStringLiteral("Tiny          "));
        QCOMPARE(playerPanelX, 30);
        QCOMPARE(playerPanelY, 40);
        QCOMPARE(continentName[1], QStringLiteral("West"));
        QCOMPARE(continentTable[1].bonus, 3);
        QCOMPARE(continentTable[1].weight, 30);
        QCOMPARE(continentTable[2].memberCount, 2);
        QCOMPARE(territoryCode[3], QStringLiteral("ccc"));
        QCOMPARE(territoryPos[4].x, 40);
        QCOMPARE(territoryNeighbours[1][1], 2);
        QCOMPARE(territoryNeighbours[1][2], 3);
        QCOMPARE(territoryNeighbours[1][3], 0);
        // Borders are decided by the other continent's lists: 1 and 3 list each other.
        QCOMPARE(continentBorders[1][1], 1);
        QCOMPARE(continentBorders[1][2], 0);
        QCOMPARE(continentBorders[2][1], 3);
        QCOMPARE(maxBorderCount, 1);
        QCOMPARE(totalBorderCount, 2);
        QCOMPARE(maxContinentSize, 2);
    }

    void continentWithoutBorderStillGivesTheOthersTheirLists()
    {
        MapTables scratch;
        const QStringList lines{"[continents]", "3 A 1 2", "3 Island 3", "2 C 4", "[territories]",
                                "1 a 1 1 2 4", "2 b 1 1 1", "3 c 1 1 3", "4 d 1 1 1"};
        QCOMPARE(parseMapText(lines, scratch, false), 4);
        QCOMPARE(scratch.continentBorders[1][1], 1);
        QCOMPARE(scratch.continentBorders[2][1], 0);
        QCOMPARE(scratch.continentBorders[3][1], 4);
    }

    // A network game keeps to 116 territories and 14 continents; every game to the tables.
    void tableAndNetworkLimits_data()
    {
        QTest::addColumn<int>("territories");
        QTest::addColumn<int>("continents");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("result");
        QTest::newRow("116 / 14 hosting") << 116 << 14 << int(ModeHost) << 0;
        QTest::newRow("117 hosting") << 117 << 14 << int(ModeHost) << 6;
        QTest::newRow("15 continents as client") << 100 << 15 << int(ModeClient) << 6;
        QTest::newRow("117 / 15 alone") << 117 << 15 << int(ModeSinglePlayer) << 0;
        QTest::newRow("200 / 25 hotseat") << 200 << 25 << int(ModeHotseat) << 0;
        QTest::newRow("201 territories") << 201 << 5 << int(ModeSinglePlayer) << 0;
        QTest::newRow("26 continents") << 60 << 26 << int(ModeSinglePlayer) << 0;
        QTest::newRow("400 territories, 40 continents") << 400 << 40 << int(ModeSinglePlayer) << 0;
    }

    void tableAndNetworkLimits()
    {
        QFETCH(int, territories);
        QFETCH(int, continents);
        QFETCH(int, mode);
        QFETCH(int, result);
        gameMode = mode;
        QCOMPARE(parseLines(chainMap(territories, continents)), result);
        if (result != 0)
            return;
        QCOMPARE(territoryCount, qMin(territories, kMaxTerritories));
        QCOMPARE(continentCount, qMin(continents, kMaxContinents));
        // No list names a territory that the map does not have.
        for (int t = 1; t <= territoryCount; ++t)
            for (int i = 1; i <= kMaxNeighbours && territoryNeighbours[t][i]; ++i)
                QVERIFY(territoryNeighbours[t][i] <= territoryCount);
        for (int c = 1; c <= continentCount; ++c)
            for (int i = 1; i <= continentTable[c].memberCount; ++i)
                QVERIFY(continentTable[c].members[i] <= territoryCount);
    }

    void nineteenBorderTerritoriesAreAllKept()
    {
        QCOMPARE(parseLines(pairedContinents(19)), 0);
        QCOMPARE(maxBorderCount, 19);
        QCOMPARE(totalBorderCount, 38);
        for (int i = 1; i <= 19; ++i) {
            QCOMPARE(continentBorders[1][i], i);
            QCOMPARE(continentBorders[2][i], 19 + i);
        }
        QCOMPARE(continentBorders[1][20], 0);
        QCOMPARE(continentTable[2].members[1], 20);
    }

    void mapNameAndPanelDefaults_data()
    {
        QTest::addColumn<QString>("mapLine");
        QTest::addColumn<QString>("panelLine");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::newRow("plain") << "Europe" << "100 200" << "Europe        " << 100 << 200;
        QTest::newRow("no word") << "" << "" << "noname        " << 10 << 10;
        QTest::newRow("long word cut to 13") << "AVeryLongMapNameIndeed" << "7" << "AVeryLongMapN " << 7 << 10;
        QTest::newRow("second word ignored") << "Two Words" << "x 5" << "Two           " << 10 << 10;
        QTest::newRow("an emoji across 13") << letters(12) + twoUnitCharacter() << "7" << letters(12) + "  " << 7 << 10;
    }

    void mapNameAndPanelDefaults()
    {
        QFETCH(QString, mapLine);
        QFETCH(QString, panelLine);
        QStringList lines{"[map]", mapLine, "", "[player names]", panelLine, ""};
        lines << linesOf(kTinyMap).mid(9);
        QCOMPARE(parseLines(lines), 0);
        QTEST(mapName, "name");
        QTEST(playerPanelX, "x");
        QTEST(playerPanelY, "y");
    }

    void numbersAreReadLikeTheFormatSays()
    {
        const QStringList lines{"[continents]", "04 Long_Continent_Name_Beyond_Twenty 1 0 -2 2 ",
                                "1 B 3", "[territories]", "1 abcd 10 20 02 0 3", "2 b 1 1 1",
                                "3 c 1 1 1 1"};
        QCOMPARE(parseLines(lines), 0);
        QCOMPARE(continentTable[1].bonus, 4);
        QCOMPARE(continentName[1], QStringLiteral("Long_Continent_Name_"));
        // Values of 0 or less are skipped, and the members stay packed.
        QCOMPARE(continentTable[1].memberCount, 2);
        QCOMPARE(continentTable[1].members[2], 2);
        QCOMPARE(territoryCode[1], QStringLiteral("abc"));
        QCOMPARE(territoryNeighbours[1][1], 2);
        QCOMPARE(territoryNeighbours[1][2], 3);
        // Neighbours stay as written, repeats and one-sided links included.
        QCOMPARE(territoryNeighbours[3][1], 1);
        QCOMPARE(territoryNeighbours[3][2], 1);
    }

    void onlyElevenNeighboursAndTwentyMembersAreRead()
    {
        QString members = QStringLiteral("2 Big");
        for (int t = 1; t <= 22; ++t)
            members += QStringLiteral(" %1").arg(t);
        QStringList lines{"[continents]", members, "1 Other 23", "[territories]"};
        for (int t = 1; t <= 23; ++t) {
            QString line = QStringLiteral("%1 xxx 5 5").arg(t);
            for (int n = 1; n <= 13; ++n)
                line += QStringLiteral(" %1").arg((t + n - 1) % 23 + 1);
            lines << line;
        }
        QCOMPARE(parseLines(lines), 0);
        QCOMPARE(continentTable[1].memberCount, 20);
        QCOMPARE(continentTable[1].members[20], 20);
        QCOMPARE(territoryNeighbours[1][11], 12);
        QCOMPARE(territoryNeighbours[1][12], 0);
    }

    // A text that is incomplete or damaged is refused with its result and changes nothing.
    void refusedTextsLeaveThePreviousMap_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("result");
        QTest::newRow("empty") << QByteArray() << 2;
        const QByteArray tiny(kTinyMap);
        QTest::newRow("cut short in the continents") << tiny.left(tiny.indexOf("2 East")) << 2;
        QTest::newRow("cut short in a territory line") << tiny.left(tiny.indexOf("2 bbb") + 11) << 5;
        QTest::newRow("territories only") << QByteArray("[territories]\n1 aaa 1 1 2\n2 bbb 2 2 1\n") << 1;
        QTest::newRow("territory without neighbour")
            << QByteArray("[continents]\n3 A 1\n3 B 2\n[territories]\n1 a 1 1 2\n2 b 1 1\n") << 5;
        QTest::newRow("continent without border")
            << QByteArray("[continents]\n3 A 1 2\n3 B 3\n[territories]\n1 a 1 1 2\n2 b 1 1 1\n3 c 1 1 3\n") << 4;
        QTest::newRow("neighbours only beyond the map")
            << QByteArray("[continents]\n3 A 1\n3 B 2\n[territories]\n1 a 1 1 2\n2 b 1 1 7\n") << 5;
        QTest::newRow("header offered to the continents adds none")
            << QByteArray("[continents]\n[territories]\n1 a 1 1 2\n2 b 1 1 1\n") << 1;
        QByteArray garbage;
        for (int i = 0; i < 5000; ++i)
            garbage.append(char((i * 7919 + 13) % 256));
        QTest::newRow("binary garbage") << garbage << 2;
        QTest::newRow("over-long line") << QByteArray("[continents]\n3 A ") + QByteArray(200000, '7') << 2;
        QTest::newRow("only numbers beyond the tables")
            << QByteArray("[continents]\n3 A 900 -5 2147483647999\n[territories]\n1 a 1 1 500\n") << 5;
    }

    void refusedTextsLeaveThePreviousMap()
    {
        QFETCH(QByteArray, text);
        QCOMPARE(parseLines(linesOf(kTinyMap)), 0);
        const QByteArray before = mapSnapshot();
        QTEST(parseLines(linesOf(text)), "result");
        QCOMPARE(mapSnapshot(), before);
    }

    void mapFileFromTheDialog()
    {
        const QString path = writeTextFile(QStringLiteral("Tiny.txt"), kTinyMap);
        ui.fileNames = QStringList{path};
        useStoredMapPath = 'n';
        loadMap();
        QCOMPARE(mapLoadSucceeded, quint8(1));
        QVERIFY(ui.messages.isEmpty());
        QCOMPARE(territoryCount, 4);
        QCOMPARE(mapFilePath, path);
        QVERIFY(customMapImagePath.endsWith(QLatin1String("Tiny.png")));
        QCOMPARE(selectedMap(), MapCustom);
        int flagsSet = 0;
        for (quint8 flag : builtinMapFlags)
            flagsSet += flag;
        QCOMPARE(flagsSet, 1);
        // The fresh deal table shows the continents in colours, one army each.
        QCOMPARE(territoryState[1].owner, 1);
        QCOMPARE(territoryState[3].owner, 2);
        QCOMPARE(territoryState[4].armies, 1);
        QCOMPARE(displayedTerritoryState[4].owner, 2);
        QCOMPARE(cardDeckCounts[CardArtillery], 17);
        // The download hint came once, before the dialog.
        QCOMPARE(ui.questionsAsked.size(), 1);
    }

    void downloadHintCanBeSilenced()
    {
        const QString path = writeTextFile(QStringLiteral("Tiny.txt"), kTinyMap);
        ui.choiceAnswers = {1};
        ui.fileNames = QStringList{path, path};
        loadMap();
        QCOMPARE(hideMapDownloadHint, quint8(1));
        loadMap();
        QCOMPARE(ui.questionsAsked.size(), 1);
        // A network client never sees it.
        hideMapDownloadHint = 0;
        gameMode = ModeClient;
        ui.fileNames = QStringList{path};
        loadMap();
        QCOMPARE(ui.questionsAsked.size(), 1);
    }

    void cancelledDialogLoadsNothing()
    {
        loadMap();
        QCOMPARE(mapLoadSucceeded, quint8(0));
        QVERIFY(ui.messages.isEmpty());
        QCOMPARE(selectedMap(), MapWorld);
    }

    void badMapFilesShowTheirBoxAndChangeNothing_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("present");
        QTest::addColumn<bool>("topFive"); // a top-five game looks its text up by the file name
        QTest::addColumn<QString>("message");
        const QString notFound = QStringLiteral("Map File Not Found - Map File Error");
        const QString noTopFive = QStringLiteral("Map downloads Top 5 Map Not Found - Map File Error");
        QTest::newRow("missing file") << "Missing.txt" << QByteArray() << false << false << notFound;
        QTest::newRow("empty file") << "Bad.txt" << QByteArray() << true << false << mapFileErrorText(2);
        QTest::newRow("no continents") << "Bad.txt" << QByteArray("[territories]\n1 a 1 1 2\n2 b 1 1 1\n") << true
                                       << false << mapFileErrorText(1);
        QTest::newRow("too large") << "Bad.txt" << QByteArray(5 * 1024 * 1024, 'x') << true << false
                                   << "Map File Too Large - Map File Error";
        QTest::newRow("top five: no text for it") << "USA.txt" << QByteArray() << false << true << noTopFive;
        QTest::newRow("top five: case matters") << "swampii.txt" << QByteArray() << false << true << noTopFive;
        QTest::newRow("top five: case matters for a text") << "Coconutz.txt" << QByteArray() << false << true
                                                           << noTopFive;
        QTest::newRow("top five: without .txt") << "Lines" << QByteArray() << false << true << noTopFive;
        QTest::newRow("top five: SwampII is not a top-five text") << "SwampII.txt" << QByteArray() << false << true
                                                                  << noTopFive;
    }

    void badMapFilesShowTheirBoxAndChangeNothing()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, text);
        QFETCH(bool, present);
        QFETCH(bool, topFive);
        QFETCH(QString, message);
        QCOMPARE(parseLines(linesOf(kTinyMap)), 0);
        topFiveGame = topFive;
        mapFilePath = topFive   ? QStringLiteral("maps/") + fileName
                      : present ? writeTextFile(fileName, text)
                                : QDir::current().filePath(fileName);
        const QByteArray before = mapSnapshot();
        useStoredMapPath = 'j';
        loadMap();
        QCOMPARE(mapLoadSucceeded, quint8(0));
        QCOMPARE(ui.messageTexts(), QStringList{message});
        QCOMPARE(mapSnapshot(), before);
    }

    void campaignFileParses_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("maps");
        QTest::newRow("three maps") << QByteArray("[campaign]\nThree_Isles\n\n[maps]\nA\n B \nC\n") << true
                                    << "Three_Isles" << 3;
        QTest::newRow("no name") << QByteArray("[maps]\nA\n") << true << "" << 1;
        QTest::newRow("no maps") << QByteArray("[campaign]\nEmpty\n[maps]\n\n") << false << "" << 0;
        QTest::newRow("no sections") << QByteArray("A\nB\n") << false << "" << 0;
        QTest::newRow("a folder in a name") << QByteArray("[maps]\n../secret\n") << false << "" << 0;
        QTest::newRow("eleven maps") << QByteArray("[maps]\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n") << false
                                     << "" << 0;
        QTest::newRow("long name cut") << QByteArray("[campaign]\nA_Very_Long_Campaign_Name\n[maps]\nX\n")
                                       << true << "A_Very_Long_Campaig" << 1;
        QTest::newRow("an emoji across 19") << "[campaign]\n" + letters(18).toUtf8() + "\xF0\x9F\x98\x80\n[maps]\nX\n"
                                            << true << letters(18) << 1;
    }

    void campaignFileParses()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, valid);
        CampaignFile campaign;
        QCOMPARE(parseCampaignText(linesOf(text), campaign), valid);
        if (valid) {
            QTEST(campaign.name, "name");
            QTEST(int(campaign.maps.size()), "maps");
        }
    }

    void campaignPointsAtItsMapsInTurn()
    {
        writeTextFile(QStringLiteral("One.txt"), kTinyMap);
        writeTextFile(QStringLiteral("Two.txt"), kTinyMap);
        const QString path = writeTextFile(QStringLiteral("Pair.cmpgn"), "[campaign]\nPair\n[maps]\nOne\nTwo\n");
        ui.fileNames = QStringList{path};
        loadCampaign();
        QCOMPARE(mapLoadSucceeded, quint8(1));
        QCOMPARE(campaignName, QStringLiteral("Pair"));
        QCOMPARE(campaignMapCount, 2);
        QCOMPARE(campaignFilePath, path);
        QVERIFY(mapFilePath.endsWith(QLatin1String("One.txt")));
        campaignId = CampaignFromFile;
        useStoredMapPath = 'j';
        loadMap();
        QCOMPARE(mapLoadSucceeded, quint8(1));
        selectNextCampaignMap();
        QVERIFY(mapFilePath.endsWith(QLatin1String("Two.txt")));
        QCOMPARE(campaignCompleted, quint8(0));
        selectNextCampaignMap();
        QCOMPARE(campaignCompleted, quint8(1));
        QCOMPARE(campaignMapIndex, 2);
    }

    // A map named by its name alone (here by a campaign kept in a folder of its own) is found
    // beside the campaign, in the run folder or in its maps folder, in that order.
    void aMapNamedByItsNameIsFoundWhereTheGameKeepsMaps_data()
    {
        QTest::addColumn<QStringList>("folders"); // where Isle.txt is
        QTest::addColumn<QString>("found");       // the folder it is taken from; empty: not found
        QTest::newRow("beside the campaign") << QStringList{"camp"} << "camp";
        QTest::newRow("in the run folder") << QStringList{"."} << ".";
        QTest::newRow("in maps") << QStringList{"maps"} << "maps";
        QTest::newRow("beside the campaign and in maps") << QStringList{"maps", "camp"} << "camp";
        QTest::newRow("in the run folder and in maps") << QStringList{"maps", "."} << ".";
        QTest::newRow("nowhere") << QStringList{} << "";
    }
    void aMapNamedByItsNameIsFoundWhereTheGameKeepsMaps()
    {
        QFETCH(QStringList, folders);
        QFETCH(QString, found);
        QFile::remove(QStringLiteral("Isle.txt"));
        for (const QString &folder : {QStringLiteral("camp"), QStringLiteral("maps")}) {
            QDir(folder).removeRecursively();
            QVERIFY(QDir().mkpath(folder));
        }
        for (const QString &folder : folders)
            writeTextFile(folder + QStringLiteral("/Isle.txt"), kTinyMap);
        ui.fileNames = QStringList{writeTextFile(QStringLiteral("camp/Isle.cmpgn"), "[campaign]\nIsle\n[maps]\nIsle\n")};
        loadCampaign();
        QCOMPARE(mapLoadSucceeded, quint8(found.isEmpty() ? 0 : 1));
        if (found.isEmpty()) {
            QCOMPARE(ui.messageTexts().size(), 1);
            return;
        }
        QCOMPARE(QFileInfo(mapFilePath).canonicalFilePath(), QFileInfo(found + QStringLiteral("/Isle.txt")).canonicalFilePath());
        useStoredMapPath = 'j';
        loadMap();
        QCOMPARE(mapLoadSucceeded, quint8(1));
        QCOMPARE(territoryCount, 4);
    }

    void builtinCampaignSelectsItsMaps()
    {
        campaignId = CampaignTarvan;
        campaignMapCount = 4;
        campaignMapIndex = 1;
        const MapFlag expected[] = {MapWorldII, MapJapan, MapNorthAmerica};
        for (MapFlag flag : expected) {
            selectNextCampaignMap();
            QCOMPARE(selectedMap(), flag);
        }
        selectNextCampaignMap();
        QCOMPARE(campaignCompleted, quint8(1));
    }

    void badCampaignFilesShowTheirBox_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("present");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing campaign") << QByteArray() << false << "Not Found - Campaign Map File Error";
        QTest::newRow("missing map file") << QByteArray("[maps]\nNowhere\n") << true
                                          << "Not Found - Campaign Map File Error";
        QTest::newRow("no maps") << QByteArray("[campaign]\nX\n") << true << "[maps] - Map File Error";
        QTest::newRow("garbage") << QByteArray("\x01\x02\xff\xfe[maps\n") << true << "[maps] - Map File Error";
    }

    void badCampaignFilesShowTheirBox()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, present);
        QFETCH(QString, message);
        campaignName = QStringLiteral("Before");
        mapFilePath = present ? writeTextFile(QStringLiteral("Bad.cmpgn"), text)
                              : QDir::current().filePath(QStringLiteral("Missing.cmpgn"));
        useStoredMapPath = 'j';
        loadCampaign();
        QCOMPARE(mapLoadSucceeded, quint8(0));
        QCOMPARE(ui.messageTexts(), QStringList{message});
        QCOMPARE(campaignName, QStringLiteral("Before"));
    }

private:
    ScriptedInteraction ui;
};

TARVAN_TEST_MAIN(TestMapFile)
#include "test_mapfile.moc"
