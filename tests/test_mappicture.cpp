// The map pictures, painting territories and the player panel into them, and the hit test.

#include "TestSupport.h"
#include "PictureChecks.h"

#include "state/BuiltinMaps.h"
#include "state/GameState.h"
#include "state/MapPicture.h"
#include "state/MapRegions.h"
#include "state/MapView.h"

#include <QSet>

#include <cmath>

using namespace picture_checks;

namespace {

constexpr QRgb kNearWhite = qRgb(255, 245, 245);
constexpr QRgb kDarkBlue = qRgb(0, 0, 64);

// The pictures under test: World's standard and large ones, and SwampII's only one.
struct Picture {
    MapFlag map;
    const char *path;
    bool large;
    QSize size; // the design size
};
enum PictureId { World, WorldLarge, SwampII };
const Picture kPictures[] = {{MapWorld, ":/tifa/World.png", false, QSize(954, 632)},
                             {MapWorld, ":/tifa/world129XW.png", true, QSize(1193, 790)},
                             {MapSwampII, ":/tifa/SwampII.png", false, QSize(954, 632)}};

void buildMap(MapFlag flag)
{
    selectMap(flag);
    const BuiltinMap *map = builtinMapFor(flag);
    QVERIFY(map);
    QCOMPARE(buildBuiltinMap(*map), 0);
}

// The map and its picture; a valid `fitted` size scales the picture into it (the nearest pixel,
// as the wide set does).
void usePicture(int id, QSize fitted = QSize())
{
    const Picture &p = kPictures[id];
    buildMap(p.map);
    largeImageSet = p.large ? 1 : 0;
    QImage picture(QString::fromLatin1(p.path));
    QVERIFY2(!picture.isNull(), p.path);
    if (fitted.isValid()) {
        picture = picture.scaled(fitted, Qt::KeepAspectRatio, Qt::FastTransformation);
        wideImageSet = 1;
        displayScale = picture.width() / double(p.size.width());
    }
    installMapPicture(picture);
}

void paintAll(int owner, int armies)
{
    for (int t = 1; t <= territoryCount; ++t)
        updateTerritoryDisplay(t, armies, owner, 0, 0, 0);
}

void addPictureRows()
{
    QTest::addColumn<int>("picture");
    QTest::newRow("World") << int(World);
    QTest::newRow("World large") << int(WorldLarge);
    QTest::newRow("SwampII") << int(SwampII);
}

} // namespace

class TestMapPicture : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        resetAllGameState();
        displayOptionB = 1;
    }

    // Each label point grows a region of its own, large enough to click and to hold its number;
    // every other pixel is border or sea in a colour that no fill and no player uses.
    void everyLabelPointLiesInItsOwnRegion_data()
    {
        addPictureRows();
    }
    void everyLabelPointLiesInItsOwnRegion()
    {
        QFETCH(int, picture);
        const Picture &p = kPictures[picture];
        QCOMPARE(QImage(QString::fromLatin1(p.path)).size(), p.size);
        usePicture(picture);
        QVERIFY(territoryCount >= 42);
        QCOMPARE(labelRegionFault(p.large ? 450 : 300), QString());
        QCOMPARE(pictureColourFault(), QString());
    }

    // The wide set fits the picture to the window with a fast (nearest pixel) scaling: the
    // borders must still hold every region apart at the sizes the window uses.
    void regionsHoldWhenThePictureIsFitted_data()
    {
        QTest::addColumn<int>("picture");
        QTest::addColumn<double>("factor");
        for (double factor : {0.86, 1.1, 1.37, 1.6}) {
            const QByteArray f = QByteArray::number(factor);
            QTest::newRow("World x" + f) << int(World) << factor;
            QTest::newRow("World large x" + f) << int(WorldLarge) << factor;
            QTest::newRow("SwampII x" + f) << int(SwampII) << factor;
        }
    }
    void regionsHoldWhenThePictureIsFitted()
    {
        QFETCH(int, picture);
        QFETCH(double, factor);
        usePicture(picture, kPictures[picture].size * factor);
        QCOMPARE(labelRegionFault(101), QString());
    }

    // Gradient shades the territories and Solid fills them flat; a highlighted territory takes
    // the other fill, in a lighter colour than the owner's own.
    void paintingChangesOnlyTheTerritoryAndItsLabel_data()
    {
        QTest::addColumn<int>("picture");
        QTest::addColumn<int>("territory");
        QTest::addColumn<int>("style"); // displayOptionB: 1 Gradient, 0 Solid
        QTest::addColumn<int>("highlighted");
        QTest::addColumn<bool>("flat");
        const int gradient = 1;
        const int solid = 0;
        QTest::newRow("Gradient: World 1 shaded") << int(World) << 1 << gradient << 0 << false;
        QTest::newRow("Gradient: World 23 highlighted, flat") << int(World) << 23 << gradient << 1 << true;
        QTest::newRow("Gradient: World large 42 shaded") << int(WorldLarge) << 42 << gradient << 0 << false;
        QTest::newRow("Gradient: World large 26 highlighted, flat") << int(WorldLarge) << 26 << gradient << 1 << true;
        QTest::newRow("Gradient: SwampII 87 shaded") << int(SwampII) << 87 << gradient << 0 << false;
        QTest::newRow("Gradient: SwampII 200 highlighted, flat") << int(SwampII) << 200 << gradient << 1 << true;
        QTest::newRow("Solid: World 32 flat") << int(World) << 32 << solid << 0 << true;
        QTest::newRow("Solid: World 32 highlighted, shaded") << int(World) << 32 << solid << 1 << false;
    }
    void paintingChangesOnlyTheTerritoryAndItsLabel()
    {
        QFETCH(int, picture);
        QFETCH(int, territory);
        QFETCH(int, style);
        QFETCH(int, highlighted);
        QFETCH(bool, flat);
        usePicture(picture);
        displayOptionB = static_cast<quint8>(style);
        paintAll(1, 3);
        const QImage before = mapImage;
        updateTerritoryDisplay(territory, 45, 2, highlighted, 0, 0);

        QCOMPARE(paintLeakFault(before, territory), QString());
        const TerritoryRegions &regions = territoryRegions();
        const QRect label = territoryLabelArea(territory);
        QSet<QRgb> fillColours;
        for (int y = 0; y < mapImage.height(); ++y)
            for (int x = 0; x < mapImage.width(); ++x)
                if (regions.territoryAt(x, y) == territory && !label.contains(x, y))
                    fillColours.insert(mapImage.pixel(x, y));
        QCOMPARE(fillColours.size() == 1, flat);
        if (!flat)
            QVERIFY(fillColours.size() > 3);
        if (highlighted)
            QVERIFY(!fillColours.contains(colourTable[2]));
        else if (flat)
            QCOMPARE(fillColours, QSet<QRgb>{colourTable[2]});
    }

    // A label that shrinks leaves nothing of the longer one behind, wherever it reached: the
    // picture depends only on how each territory stands, not on the order it was painted in.
    void repaintingLeavesNoTraceOfEarlierLabels_data()
    {
        addPictureRows();
    }
    void repaintingLeavesNoTraceOfEarlierLabels()
    {
        QFETCH(int, picture);
        usePicture(picture);
        displayedDefenceMissiles[2] = 4;
        paintAll(3, 7);
        const QImage settled = mapImage;

        // Territory by territory, in reverse order, through other states and back.
        displayedDefenceMissiles[2] = 0;
        for (int t = territoryCount; t >= 1; --t)
            updateTerritoryDisplay(t, 888, 1 + t % 10, t % 2, t % 3 == 0 ? 1 : 0, 0);
        for (int t = territoryCount; t >= 1; --t)
            updateTerritoryDisplay(t, 1, 5, 0, 0, 0);
        displayedDefenceMissiles[2] = 4;
        paintAll(3, 7);
        QCOMPARE(mapImage, settled);
    }

    // The territories, their numbers and the panel are painted into the picture itself: no second
    // copy of it is made on the way.
    void paintingKeepsOnePicture_data()
    {
        addPictureRows();
    }
    void paintingKeepsOnePicture()
    {
        QFETCH(int, picture);
        usePicture(picture);
        const uchar *const pixels = mapImage.constBits();
        QVERIFY(mapImage.isDetached());
        playerCount = 6;
        currentPlayer = 2;
        paintAll(3, 7);
        drawPlayerPanel();
        updateTerritoryDisplay(1, 888, 2, 1, 1, 0);
        QCOMPARE(mapImage.constBits(), pixels);
    }

    void armiesAreDrawnCappedAt999()
    {
        usePicture(World);
        paintAll(4, 12);
        updateTerritoryDisplay(30, 999, 4, 0, 0, 0);
        const QImage nines = mapImage;
        for (int armies : {1000, 1500, 2000000000}) {
            updateTerritoryDisplay(30, 12, 4, 0, 0, 0);
            QVERIFY(mapImage != nines);
            updateTerritoryDisplay(30, armies, 4, 0, 0, 0);
            QCOMPARE(mapImage, nines);
        }
    }

    // Near-white numbers in one style and dark blue in the other, unless the owner's colour is
    // so light (or so dark) that the number would vanish in it.
    void armyNumbersTakeTheStyleColour_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("owner");
        QTest::addColumn<QRgb>("expected");
        QTest::addColumn<QRgb>("absent");
        QTest::newRow("light style, dark owner") << 1 << 1 << kNearWhite << kDarkBlue;
        QTest::newRow("light style, pale owner") << 1 << 7 << kDarkBlue << kNearWhite;
        QTest::newRow("dark style, pale owner") << 0 << 7 << kDarkBlue << kNearWhite;
        QTest::newRow("dark style, dark owner") << 0 << 10 << kNearWhite << kDarkBlue;
    }
    void armyNumbersTakeTheStyleColour()
    {
        QFETCH(int, style);
        QFETCH(int, owner);
        QFETCH(QRgb, expected);
        QFETCH(QRgb, absent);
        usePicture(World);
        displayOptionB = static_cast<quint8>(style);
        updateTerritoryDisplay(30, 88, owner, 0, 0, 0);
        const QRect label = territoryLabelArea(30).intersected(mapImage.rect());
        QSet<QRgb> colours;
        for (int y = label.top(); y <= label.bottom(); ++y)
            for (int x = label.left(); x <= label.right(); ++x)
                colours.insert(mapImage.pixel(x, y));
        QVERIFY(colours.contains(expected));
        QVERIFY(!colours.contains(absent));
    }

    void missileMarksComeAndGo()
    {
        usePicture(World);
        paintAll(2, 9);
        const QImage plain = mapImage;
        const QRect label = territoryLabelArea(14);

        displayedDefenceMissiles[14] = 3;
        displayedAttackMissiles[14] = 2;
        updateTerritoryDisplay(14, 9, 2, 0, 0, 0);
        const QImage marked = mapImage;
        QVERIFY(marked != plain);
        updateTerritoryDisplay(14, 9, 2, 0, 1, 0);
        QVERIFY(mapImage != marked);
        for (int y = 0; y < mapImage.height(); ++y)
            for (int x = 0; x < mapImage.width(); ++x)
                if (mapImage.pixel(x, y) != plain.pixel(x, y))
                    QVERIFY(label.contains(x, y));

        displayedDefenceMissiles[14] = 0;
        displayedAttackMissiles[14] = 0;
        updateTerritoryDisplay(14, 9, 2, 0, 0, 0);
        QCOMPARE(mapImage, plain);
    }

    void hitTestFindsTheTerritoryUnderTheClick_data()
    {
        QTest::addColumn<int>("picture");
        QTest::addColumn<bool>("fitted");
        QTest::addColumn<int>("zoom");
        QTest::newRow("World, standard set") << int(World) << false << 0;
        QTest::newRow("World, standard set zoomed") << int(World) << false << 1;
        QTest::newRow("World large, fitted") << int(WorldLarge) << true << 0;
        QTest::newRow("World large, fitted and zoomed") << int(WorldLarge) << true << 2;
        QTest::newRow("SwampII, standard set") << int(SwampII) << false << 0;
        QTest::newRow("SwampII, fitted") << int(SwampII) << true << 1;
    }
    void hitTestFindsTheTerritoryUnderTheClick()
    {
        QFETCH(int, picture);
        QFETCH(bool, fitted);
        QFETCH(int, zoom);
        usePicture(picture, fitted ? QSize(1400, 900) : QSize());
        if (fitted) {
            mapLeft = 37;
            mapTop = 64;
        } else {
            mapScaleX = 1.6;
            mapScaleY = 1.5;
        }
        zoomLevel = zoom;
        zoomFactor = zoom == 0 ? 1.0 : zoom == 1 ? 1.25 : 1.6667;
        viewX = zoom == 0 ? 0 : 40;
        viewY = zoom == 0 ? 0 : 25;

        // The first window pixel that shows picture pixel p.
        const auto windowPoint = [&](QPoint p) {
            const double x = std::ceil((p.x() - viewX) * mapScaleX * zoomFactor) + (fitted ? mapLeft : 0);
            const double y = std::ceil((p.y() - viewY) * mapScaleY * zoomFactor) + (fitted ? mapTop : 0);
            return QPoint(int(x), int(y));
        };
        const auto foundAt = [](QPoint click) {
            int found = 0;
            territoryAtPoint(click.x(), click.y(), found);
            return found;
        };
        for (int t = 1; t <= territoryCount; ++t) {
            const QPoint at = labelPoint(t);
            if (at.x() >= viewX && at.y() >= viewY) // else scrolled out of view
                QCOMPARE(foundAt(windowPoint(at)), t);
        }
        // Open sea, the player panel and points off the map find nothing.
        const QRect panel = playerPanelArea();
        for (const QPoint &p : {QPoint(panel.center()), QPoint(panel.left() + 3, panel.bottom() - 3)})
            QCOMPARE(foundAt(windowPoint(p)), 999);
        for (const QPoint &click : {QPoint(-5, 10), QPoint(100000, 20), QPoint(30, -1)})
            QCOMPARE(foundAt(click), 999);
        if (kPictures[picture].map != MapWorld)
            return;
        // Mid-Atlantic, Indian Ocean, South Pacific, Arctic between the continents.
        for (QPoint design : {QPoint(300, 300), QPoint(650, 450), QPoint(700, 580), QPoint(270, 150)}) {
            int x = design.x();
            int y = design.y();
            designToPicture(x, y);
            QCOMPARE(foundAt(windowPoint(QPoint(x, y))), 999);
        }
    }

    // A small screen at zoom level 2 enlarges y by its own factor.
    void smallScreenZoomUsesItsOwnVerticalFactor()
    {
        smallScreen = 1;
        zoomLevel = 2;
        zoomFactor = 2.5;
        zoomFactorSmallY = 2.0;
        viewX = 381;
        viewY = 316;
        int x = 0;
        int y = 0;
        windowToPicture(250, 200, x, y);
        QCOMPARE(x, 481);
        QCOMPARE(y, 416);
        smallScreen = 0;
        windowToPicture(250, 200, x, y);
        QCOMPARE(y, 396);
    }

    void scalePointTruncates_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<QPoint>("in");
        QTest::addColumn<QPoint>("out");
        QTest::newRow("up") << 1.5 << QPoint(3, 5) << QPoint(4, 7);
        QTest::newRow("down") << 0.85 << QPoint(898, 398) << QPoint(763, 338);
        QTest::newRow("negative toward zero") << 1.5 << QPoint(-3, -5) << QPoint(-4, -7);
    }
    void scalePointTruncates()
    {
        QFETCH(double, scale);
        QFETCH(QPoint, in);
        displayScale = scale;
        int x = in.x();
        int y = in.y();
        scalePoint(x, y);
        QTEST(QPoint(x, y), "out");
    }

    void picturePathFollowsTheMapAndTheSet_data()
    {
        QTest::addColumn<int>("map");
        QTest::addColumn<int>("large");
        QTest::addColumn<int>("wide");
        QTest::addColumn<QString>("path");
        QTest::newRow("World plain") << int(MapWorld) << 0 << 0 << ":/tifa/World.png";
        QTest::newRow("World large") << int(MapWorld) << 1 << 1 << ":/tifa/world129XW.png";
        QTest::newRow("World wide only") << int(MapWorld) << 0 << 1 << ":/tifa/World.png";
        QTest::newRow("North America wide") << int(MapNorthAmerica) << 0 << 1 << ":/tifa/NAmericaXW.png";
        QTest::newRow("SwampII has one picture") << int(MapSwampII) << 1 << 1 << ":/tifa/SwampII.png";
        QTest::newRow("map file") << int(MapCustom) << 0 << 1 << "/maps/Lakes.png";
    }
    void picturePathFollowsTheMapAndTheSet()
    {
        QFETCH(int, map);
        QFETCH(int, large);
        QFETCH(int, wide);
        selectMap(MapFlag(map));
        customMapImagePath = QStringLiteral("/maps/Lakes.png");
        largeImageSet = static_cast<quint8>(large);
        wideImageSet = static_cast<quint8>(wide);
        QTEST(currentMapPicturePath(), "path");
    }

    // The panel stands at the map's own position, scaled with the picture, in open sea.
    void playerPanelStaysInItsBox_data()
    {
        QTest::addColumn<int>("picture");
        QTest::addColumn<QPoint>("corner");
        QTest::newRow("World") << int(World) << QPoint(262, 440);
        QTest::newRow("World large") << int(WorldLarge) << QPoint(327, 550);
        QTest::newRow("SwampII") << int(SwampII) << QPoint(820, 20);
    }
    void playerPanelStaysInItsBox()
    {
        QFETCH(int, picture);
        usePicture(picture);
        playerCount = 10;
        for (int p = 1; p <= 10; ++p)
            playerName[p] = QStringLiteral("Commander %1").arg(p).leftJustified(18, QLatin1Char(' '));
        troopExperienceEnabled = 1;
        paintAll(4, 3);
        currentPlayer = 4;
        const QImage before = mapImage;
        drawPlayerPanel();

        const QRect panel = playerPanelArea();
        QTEST(panel.topLeft(), "corner");
        QVERIFY(mapImage.rect().contains(panel));
        const TerritoryRegions &regions = territoryRegions();
        bool drawn = false;
        for (int y = 0; y < mapImage.height(); ++y)
            for (int x = 0; x < mapImage.width(); ++x) {
                if (panel.contains(x, y))
                    QCOMPARE(regions.territoryAt(x, y), 0);
                if (mapImage.pixel(x, y) != before.pixel(x, y)) {
                    QVERIFY(panel.contains(x, y));
                    drawn = true;
                }
            }
        QVERIFY(drawn);

        const QImage fourToPlay = mapImage;
        currentPlayer = 5;
        drawPlayerPanel();
        QVERIFY(mapImage != fourToPlay);
        currentPlayer = 4;
        drawPlayerPanel();
        QCOMPARE(mapImage, fourToPlay);
    }

    // The map changes under an old, painted picture (a new game redraws before the next paint
    // loads the new picture); the new picture, put in place as it is, still gets its own regions.
    void aNewPictureOfTheSameSizeGetsItsOwnRegions()
    {
        usePicture(World);
        paintAll(2, 5);
        buildMap(MapSwampII);
        for (int t = 1; t <= territoryCount; ++t)
            updateTerritoryDisplay(t, 1, 3, 0, 0, 0);
        mapImage = QImage(QStringLiteral(":/tifa/SwampII.png"));
        QCOMPARE(mapImage.size(), QImage(QStringLiteral(":/tifa/World.png")).size());
        paintAll(6, 2);
        const TerritoryRegions &regions = territoryRegions();
        for (int t = 1; t <= territoryCount; ++t) {
            const QPoint at = labelPoint(t);
            QCOMPARE(regions.territoryAt(at.x(), at.y()), t);
        }
    }

    void sendTurnUpdateShowsTheTerritoryAsItStands()
    {
        usePicture(World);
        paintAll(1, 1);
        territoryState[9] = {6, 14};
        highlightChanges = 1;
        sendTurnUpdate(9);
        QCOMPARE(displayedTerritoryState[9], territoryState[9]);
        QCOMPARE(territoryChanged[9], 'j');
        const QImage shown = mapImage;
        updateTerritoryDisplay(9, 14, 6, 1, 0, 0);
        QCOMPARE(mapImage, shown);
    }

    // The player panel's figures stand apart: 5 territories, 5 armies and 100 % troop
    // experience read as three numbers, not "5 5100%".
    void playerPanelFiguresStandApart()
    {
        usePicture(World);
        playerCount = 2;
        currentPlayer = 1;
        troopExperienceEnabled = 1;
        troopExperienceShown[1][1] = 100;
        playerName[1] = playerName[2] = QStringLiteral(" ");
        // Player 1 alone holds territories, so his row is the only one in white.
        for (int t = 1; t <= territoryCount; ++t)
            displayedTerritoryState[t] = TerritoryState{t <= 5 ? 1 : 0, t <= 5 ? 1 : 0};
        drawPlayerPanel();

        // Player 1's row: the band drawn in the current player's colour, (70, 84, 120).
        const QRect area = playerPanelArea();
        const QRgb currentRow = qRgb(70, 84, 120);
        QList<int> rowLines;
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (mapImage.pixel(area.left() + 2, y) == currentRow)
                rowLines.append(y);
        QVERIFY(!rowLines.isEmpty());
        QList<int> inked; // columns holding some of the white figures
        for (int x = area.left(); x <= area.right(); ++x)
            for (int y : rowLines) {
                const QRgb c = mapImage.pixel(x, y);
                if (qRed(c) > 130 && qGreen(c) > 130) {
                    inked.append(x);
                    break;
                }
            }
        // Glyphs of one number lie at most three pixels apart; numbers further.
        int numbers = inked.isEmpty() ? 0 : 1;
        for (int i = 1; i < inked.size(); ++i)
            if (inked[i] - inked[i - 1] > 3)
                ++numbers;
        QCOMPARE(numbers, 3);
    }

    void paintingWithoutAPictureOrOutsideTheMapDoesNothing()
    {
        buildMap(MapWorld);
        updateTerritoryDisplay(1, 5, 1, 0, 0, 0);
        drawPlayerPanel();
        QVERIFY(mapImage.isNull());
        usePicture(World);
        const QImage untouched = mapImage;
        for (int t : {0, -3, 43, 201, 1000})
            updateTerritoryDisplay(t, 5, 1, 0, 0, 0);
        QCOMPARE(mapImage, untouched);

        // An owner out of range takes the first colour rather than reading past the table
        // (Solid: the region is that one colour).
        displayOptionB = 0;
        const RegionRun run = territoryRegions().runs(3).front();
        const QPoint inside(run.x0, run.y);
        QVERIFY(!territoryLabelArea(3).contains(inside));
        for (int owner : {-7, 11}) {
            updateTerritoryDisplay(3, 5, owner, 0, 0, 0);
            QCOMPARE(mapImage.pixel(inside), colourTable[0]);
        }
    }
};

TARVAN_TEST_MAIN(TestMapPicture)
#include "test_mappicture.moc"
