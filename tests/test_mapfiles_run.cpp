// The sample map and campaign files of the run folder: every map text as a map file with its
// picture, read back through the game's own loaders, and the pictures' territory regions.
// The run folder comes from TARVAN_RUN_DIR, which ctest sets.

#include "TestSupport.h"
#include "PictureChecks.h"

#include "maps/MapTexts.h"
#include "state/BuiltinMaps.h"
#include "state/Campaign.h"
#include "state/GameState.h"
#include "state/MapFile.h"
#include "state/MapLoading.h"
#include "state/MapPicture.h"
#include "state/MapRegions.h"
#include "state/MapView.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <cmath>

using namespace picture_checks;

namespace {

struct Sample {
    const char *name;
    MapTextFunction text;
};

const Sample kSamples[] = {
    {"e2", mapTextE2},
    {"Romania", mapTextRomania},
    {"107", mapText107},
    {"Lines", mapTextLines},
    {"Rings", mapTextRings},
    {"Russia", mapTextRussia},
    {"Hex_gone_crazy", mapTextHex_gone_crazy},
    {"JustNeedTwo", mapTextJustNeedTwo},
    {"France", mapTextFrance},
    {"OK83", mapTextOK83},
    {"Neighbourhood", mapTextNeighbourhood},
    {"coconutz", mapTextCoconutz},
    {"WorldII", mapTextWorldII},
    {"Ireland", mapTextIreland},
    {"ParisByNight", mapTextParisByNight},
    {"SwampII", mapTextSwampII},
};

QString mapsFolder()
{
    return QDir(QString::fromLocal8Bit(qgetenv("TARVAN_RUN_DIR"))).filePath(QStringLiteral("maps"));
}

QString samplePath(int sample, const char *extension)
{
    return QDir(mapsFolder()).filePath(QString::fromLatin1(kSamples[sample].name) + QLatin1String(extension));
}

QStringList textOf(int sample)
{
    mapFileLines.clear();
    kSamples[sample].text();
    const QStringList lines = mapFileLines;
    mapFileLines.clear();
    return lines;
}

void addSampleRows()
{
    QTest::addColumn<int>("sample");
    for (int i = 0; i < int(std::size(kSamples)); ++i)
        QTest::newRow(kSamples[i].name) << i;
}

// The first difference between two parsed maps, or an empty text.
QString differenceBetween(const MapTables &a, const MapTables &b)
{
    if (a.territoryCount != b.territoryCount || a.continentCount != b.continentCount)
        return QStringLiteral("counts");
    if (a.mapName != b.mapName || a.playerPanelX != b.playerPanelX || a.playerPanelY != b.playerPanelY)
        return QStringLiteral("header");
    if (a.maxContinentSize != b.maxContinentSize || a.maxBorderCount != b.maxBorderCount
        || a.totalBorderCount != b.totalBorderCount)
        return QStringLiteral("border counts");
    for (int t = 1; t <= a.territoryCount; ++t) {
        if (a.territoryPos[t].x != b.territoryPos[t].x || a.territoryPos[t].y != b.territoryPos[t].y
            || a.territoryCode[t] != b.territoryCode[t])
            return QStringLiteral("territory %1").arg(t);
        for (int i = 1; i <= kMaxNeighbours; ++i)
            if (a.territoryNeighbours[t][i] != b.territoryNeighbours[t][i])
                return QStringLiteral("neighbours of %1").arg(t);
    }
    for (int c = 1; c <= a.continentCount; ++c) {
        const ContinentRecord &x = a.continentTable[c];
        const ContinentRecord &y = b.continentTable[c];
        if (a.continentName[c] != b.continentName[c] || x.memberCount != y.memberCount || x.bonus != y.bonus
            || x.weight != y.weight)
            return QStringLiteral("continent %1").arg(c);
        for (int i = 1; i <= kMaxContinentMembers; ++i)
            if (x.members[i] != y.members[i])
                return QStringLiteral("members of %1").arg(c);
        for (int i = 1; i <= kMaxBorderEntries; ++i)
            if (a.continentBorders[c][i] != b.continentBorders[c][i])
                return QStringLiteral("borders of %1").arg(c);
    }
    return QString();
}

} // namespace

class TestMapFilesRun : public QObject {
    Q_OBJECT

    // Loads a sample map file as a player would open it, and its picture as the window would
    // (a valid `fitted` size scales it into the window, as the wide set does).
    void openSample(int sample, QSize fitted = QSize())
    {
        mapFilePath = samplePath(sample, ".txt");
        useStoredMapPath = 'j';
        loadMap();
        QCOMPARE(ui.messageTexts(), QStringList());
        QCOMPARE(mapLoadSucceeded, quint8(1));
        QImage picture(currentMapPicturePath());
        QVERIFY2(!picture.isNull(), qPrintable(currentMapPicturePath()));
        if (fitted.isValid()) {
            picture = picture.scaled(fitted, Qt::KeepAspectRatio, Qt::FastTransformation);
            wideImageSet = 1;
            displayScale = picture.width() / double(kDesignPictureWidth);
        }
        installMapPicture(picture);
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(qEnvironmentVariableIsSet("TARVAN_RUN_DIR"), "run through ctest, which names the run folder");
    }

    void init()
    {
        resetAllGameState();
        setInteraction(&ui);
        ui = ScriptedInteraction();
        displayOptionB = 1;
    }
    void cleanup() { setInteraction(nullptr); }

    // Byte for byte the text the program carries: one line a line, each ended by "\n".
    void mapFileHoldsItsTextExactly_data() { addSampleRows(); }
    void mapFileHoldsItsTextExactly()
    {
        QFETCH(int, sample);
        QFile file(samplePath(sample, ".txt"));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        QByteArray expected;
        for (const QString &line : textOf(sample))
            expected += line.toLatin1() + '\n';
        QCOMPARE(file.readAll(), expected);
    }

    // The map file loads as a map file (its picture beside it, 954 x 632 so that the window's
    // scale holds) into the same tables as the text itself.
    void mapFileLoadsAsItsText_data() { addSampleRows(); }
    void mapFileLoadsAsItsText()
    {
        QFETCH(int, sample);
        MapTables expected;
        QCOMPARE(parseMapText(textOf(sample), expected, false), int(MapFileOk));

        mapFilePath = samplePath(sample, ".txt");
        useStoredMapPath = 'j';
        loadMap();
        QCOMPARE(ui.messageTexts(), QStringList());
        QCOMPARE(mapLoadSucceeded, quint8(1));
        QCOMPARE(selectedMap(), MapCustom);
        QCOMPARE(differenceBetween(mapTables, expected), QString());
        QCOMPARE(currentMapPicturePath(), samplePath(sample, ".png"));
        QCOMPARE(QImage(currentMapPicturePath()).size(), QSize(kDesignPictureWidth, kDesignPictureHeight));
    }

    // The campaign names three of the sample maps; each loads in turn, as a campaign game moves
    // from one map to the next, and the campaign is complete after the third.
    void campaignPlaysItsMapsInTurn()
    {
        const QStringList campaigns =
            QDir(mapsFolder()).entryList(QStringList{QStringLiteral("*.cmpgn")}, QDir::Files);
        QCOMPARE(campaigns.size(), 1);
        mapFilePath = QDir(mapsFolder()).filePath(campaigns.first());
        useStoredMapPath = 'j';
        loadCampaign();
        QCOMPARE(ui.messageTexts(), QStringList());
        QCOMPARE(mapLoadSucceeded, quint8(1));
        QCOMPARE(campaignMapCount, 3);
        QVERIFY(!campaignName.isEmpty());

        campaignId = CampaignFromFile;
        QSet<QString> played;
        for (int index = 1; index <= 3; ++index) {
            QCOMPARE(campaignMapIndex, index);
            QCOMPARE(campaignCompleted, quint8(0));
            const QString name = campaignMapNames[index];
            QCOMPARE(QFileInfo(mapFilePath).fileName(), name + QStringLiteral(".txt"));
            int sample = -1;
            for (int i = 0; i < int(std::size(kSamples)); ++i)
                if (name == QLatin1String(kSamples[i].name))
                    sample = i;
            QVERIFY2(sample >= 0, qPrintable(name));
            played.insert(name);

            mapTables = MapTables();
            loadMap();
            QCOMPARE(ui.messageTexts(), QStringList());
            QCOMPARE(mapLoadSucceeded, quint8(1));
            QCOMPARE(mapName.trimmed(), textOf(sample).value(1).left(13));
            QCOMPARE(QImage(currentMapPicturePath()).size(), QSize(kDesignPictureWidth, kDesignPictureHeight));
            selectNextCampaignMap();
        }
        QCOMPARE(played.size(), 3);
        QCOMPARE(campaignCompleted, quint8(1));
    }

    // Each label point grows a region of its own, large enough to click and to hold its number;
    // every other pixel is border or sea in a colour that no fill and no player uses.
    void everyLabelPointLiesInItsOwnRegion_data() { addSampleRows(); }
    void everyLabelPointLiesInItsOwnRegion()
    {
        QFETCH(int, sample);
        openSample(sample);
        // Some texts pack labels 30 pixels apart; a region still holds its number.
        QCOMPARE(labelRegionFault(200), QString());
        QCOMPARE(pictureColourFault(), QString());
    }

    // The wide set fits the picture to the window with the nearest pixel: the borders must still
    // hold the regions apart.
    void regionsHoldWhenThePictureIsFitted_data()
    {
        QTest::addColumn<int>("sample");
        QTest::addColumn<double>("factor");
        for (int i = 0; i < int(std::size(kSamples)); ++i)
            for (double factor : {0.86, 1.37})
                QTest::newRow(QByteArray(kSamples[i].name) + " x" + QByteArray::number(factor)) << i << factor;
    }
    void regionsHoldWhenThePictureIsFitted()
    {
        QFETCH(int, sample);
        QFETCH(double, factor);
        openSample(sample, QSize(kDesignPictureWidth, kDesignPictureHeight) * factor);
        QCOMPARE(labelRegionFault(101), QString());
    }

    // Painting a territory changes its region and its label's pixels, nothing else: no fill
    // leaks into a neighbour, the sea or the player panel. In the Solid style the whole region
    // takes the owner's colour.
    void paintingChangesOnlyTheTerritoryAndItsLabel_data()
    {
        QTest::addColumn<int>("sample");
        QTest::addColumn<int>("territory"); // 0: the last one
        for (int i = 0; i < int(std::size(kSamples)); ++i)
            for (int territory : {1, 7, 0})
                QTest::newRow(QByteArray(kSamples[i].name) + " " + QByteArray::number(territory)) << i << territory;
    }
    void paintingChangesOnlyTheTerritoryAndItsLabel()
    {
        QFETCH(int, sample);
        QFETCH(int, territory);
        openSample(sample);
        displayOptionB = 0;
        if (territory == 0)
            territory = territoryCount;
        for (int t = 1; t <= territoryCount; ++t)
            updateTerritoryDisplay(t, 3, 1, 0, 0, 0);
        const QImage before = mapImage;
        updateTerritoryDisplay(territory, 45, 2, 0, 0, 0);

        QCOMPARE(paintLeakFault(before, territory), QString());
        const TerritoryRegions &regions = territoryRegions();
        const QRect label = territoryLabelArea(territory);
        int filled = 0;
        for (int y = 0; y < mapImage.height(); ++y)
            for (int x = 0; x < mapImage.width(); ++x)
                if (regions.territoryAt(x, y) == territory && !label.contains(x, y)) {
                    QCOMPARE(mapImage.pixel(x, y), colourTable[2]);
                    ++filled;
                }
        QVERIFY(filled > 0);
    }

    // A click on a label finds its territory, in the standard set (the picture stretched over
    // the map area) and fitted into a large window; the player panel finds none.
    void hitTestFindsTheTerritoryAtItsLabel_data()
    {
        QTest::addColumn<int>("sample");
        QTest::addColumn<bool>("fitted");
        for (int i = 0; i < int(std::size(kSamples)); ++i) {
            QTest::newRow(QByteArray(kSamples[i].name) + " standard") << i << false;
            QTest::newRow(QByteArray(kSamples[i].name) + " fitted") << i << true;
        }
    }
    void hitTestFindsTheTerritoryAtItsLabel()
    {
        QFETCH(int, sample);
        QFETCH(bool, fitted);
        openSample(sample, fitted ? QSize(1400, 900) : QSize());
        if (fitted) {
            mapLeft = 37;
            mapTop = 64;
        } else {
            mapScaleX = 1.6;
            mapScaleY = 1.5;
        }
        // The first window pixel that shows picture pixel p.
        const auto windowPoint = [&](QPoint p) {
            return QPoint(int(std::ceil(p.x() * mapScaleX)) + (fitted ? mapLeft : 0),
                          int(std::ceil(p.y() * mapScaleY)) + (fitted ? mapTop : 0));
        };
        const auto foundAt = [](QPoint click) {
            int found = 0;
            territoryAtPoint(click.x(), click.y(), found);
            return found;
        };
        for (int t = 1; t <= territoryCount; ++t)
            QCOMPARE(foundAt(windowPoint(labelPoint(t))), t);
        const QRect panel = playerPanelArea();
        QVERIFY(mapImage.rect().contains(panel));
        for (const QPoint &p : {panel.center(), panel.topLeft(), panel.bottomRight()})
            QCOMPARE(foundAt(windowPoint(p)), 999);
    }

private:
    ScriptedInteraction ui;
};

TARVAN_TEST_MAIN(TestMapFilesRun)
#include "test_mapfiles_run.moc"
