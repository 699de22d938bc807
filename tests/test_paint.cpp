// The paint handler: layouts, picture sets, the zoomed view, side menus and their presses, the
// status bar and the game panel. Screenshots also go to TARVAN_SCREENSHOT_DIR when it is set.

#include "TestSupport.h"
#include "test_screen_support.h"

#include "app/DialogState.h"
#include "app/PaintLayout.h"
#include "app/PaintMapView.h"
#include "app/PaintSideMenus.h"
#include "app/PaintStatusBar.h"
#include "app/PendingStateGlobals.h"
#include "app/ScreenSize.h"
#include "app/ViewArea.h"
#include "app/WindowState.h"
#include "persist/Settings.h"
#include "rules/GameStart.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/GameState.h"
#include "state/MapFile.h"
#include "state/MapLoading.h"
#include "state/MapPicture.h"
#include "state/MapView.h"
#include "state/StatusLine.h"
#include "state/StepQueues.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

using namespace screen_test;

// The speed flags from "fast, 288, 224, 160, 96" as five digits.
void setSpeedFlags(const QString &speed)
{
    fastSpeed = speed[0] == QLatin1Char('1');
    speedFlag288 = speed[1] == QLatin1Char('1');
    speedFlag224 = speed[2] == QLatin1Char('1');
    speedFlag160 = speed[3] == QLatin1Char('1');
    speedFlag96 = speed[4] == QLatin1Char('1');
}

void runLayoutStages(int windowHeight)
{
    measureScreenForPaint();
    choosePictureSets(windowHeight);
    sizePanelAndMapArea();
}

// The smallest rectangle holding every pixel where two paints of the window differ.
QRect differingArea(const QImage &a, const QImage &b)
{
    QRect area;
    for (int y = 0; y < a.height(); ++y) {
        const QRgb *rowA = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const QRgb *rowB = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            if (rowA[x] != rowB[x])
                area |= QRect(x, y, 1, 1);
    }
    return area;
}

// How many pixels differ between two pictures outside the `kept` areas.
int changedOutside(const QImage &a, const QImage &b, const QList<QRect> &kept)
{
    int changed = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)
                && std::none_of(kept.begin(), kept.end(), [x, y](const QRect &r) { return r.contains(x, y); }))
                ++changed;
    return changed;
}

bool imageHoldsColour(const QImage &image, const QRect &area, QRgb colour)
{
    const QRect box = area.intersected(image.rect());
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = box.left(); x <= box.right(); ++x)
            if (qRgb(qRed(row[x]), qGreen(row[x]), qBlue(row[x])) == qRgb(qRed(colour), qGreen(colour), qBlue(colour)))
                return true;
    }
    return false;
}

bool holdsDrawing(const QImage &image, const QRect &area)
{
    const QRect box = area.intersected(image.rect());
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (image.pixel(x, y) != qRgb(0, 0, 0))
                return true;
    return false;
}

// The World map as a map file with its picture beside it.
QString writeWorldMapFile(bool withPicture)
{
    mapFileLines.clear();
    worldMap.appendText();
    const QString path = writeTextFile(QStringLiteral("custommap.txt"), mapFileLines.join(QLatin1Char('\n')).toLatin1());
    mapFileLines.clear();
    QFile::remove(QStringLiteral("custommap.png"));
    if (withPicture)
        QImage(QStringLiteral(":/tifa/World.png")).save(QStringLiteral("custommap.png"));
    return path;
}

void loadMapFile(const QString &path)
{
    mapFilePath = path;
    useStoredMapPath = 'j';
    loadMap();
}

// A game of four on `map`, dealt, placed and shown, waiting for the human's click.
void setUpDealtGame(MapFlag map)
{
    demoRunning = 0;
    gameMode = ModeSinglePlayer;
    playerCount = 4;
    humanPlayerCount = 1;
    const char *names[] = {"", "Ana", "Bert", "Chloe", "Dmitri"};
    for (int p = 1; p <= 4; ++p)
        playerName[p] = QString::fromLatin1(names[p]).leftJustified(18);
    if (map == MapCustom) {
        loadMapFile(writeWorldMapFile(true));
    } else {
        selectMap(map);
        loadSelectedBuiltinMap();
    }
    dealTerritories();
    startLocalGame();
    // Armies of every size, so that the screenshots show numbers of one to three digits.
    for (int t = 1; t <= territoryCount; ++t)
        territoryState[t].armies = t % 9 == 0 ? randomSource().between(100, 250) : randomSource().between(1, 40);
    displayedTerritoryState = territoryState;
    clearStepQueues();
    playerTableAtTurnStart = playerTable;
    currentPlayer = 1;
    turnStarted = 1;
    turnsTaken[1] = 1;
    inGameButtonEnabled.fill(0);
    inGameButtonEnabled[ButtonAdd] = 1;
    inGameButtonEnabled[ButtonCards] = 1;
    saveAllowed = 1;
    lossCount = 3;
    setStatusText(QStringLiteral("Ana, choose Add or Attack"));
    screenMode = 9;
    mapPaintState = QStringLiteral("0");
}

struct ScreenCase {
    int width;
    int height;
    int widthMM;
    MapFlag map;
};

} // namespace

Q_DECLARE_METATYPE(MapFlag)
Q_DECLARE_METATYPE(ScreenCase)

class TestPaint : public QObject {
    Q_OBJECT

    ScriptedInteraction scripted;

    std::unique_ptr<ViewArea> makeWindow(int width, int height, int widthMM)
    {
        auto window = std::make_unique<ViewArea>();
        setInteraction(&scripted);
        useScreen(width, height, widthMM);
        displaySizeClass = displaySizeClassFitted(displaySizeClassForScreen(width, height), width, height);
        window->resize(width, height);
        return window;
    }

    // Paints, then clicks the middle of the pixel drawn for every label point the view shows.
    // Returns how many labels were visible.
    int clickEveryVisibleLabel(ViewArea &window)
    {
        const QImage shown = paintWindow(window);
        if (viewQuadrant == 1 && qEnvironmentVariableIsSet("TARVAN_SCREENSHOT_DIR"))
            saveScreenshot(shown, QStringLiteral("view-%1-zoom%2.png")
                                      .arg(QString::fromLatin1(QTest::currentDataTag()).replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]+")), QStringLiteral("-")))
                                      .arg(zoomLevel));
        const MapDrawing drawing = currentMapDrawing();
        const double kx = double(drawing.target.width()) / drawing.source.width();
        const double ky = double(drawing.target.height()) / drawing.source.height();
        int visible = 0;
        for (int t = 1; t <= territoryCount; ++t) {
            int px = territoryPos[t].x;
            int py = territoryPos[t].y;
            designToPicture(px, py);
            if (!drawing.source.contains(px, py))
                continue;
            ++visible;
            const int x = static_cast<int>(std::floor(drawing.target.x() + (px - drawing.source.x() + 0.5) * kx));
            const int y = static_cast<int>(std::floor(drawing.target.y() + (py - drawing.source.y() + 0.5) * ky));
            int hit = 0;
            territoryAtPoint(x, y, hit);
            if (hit != t)
                qWarning("territory %d at (%d, %d), zoom %d, cell %d: hit %d", t, x, y, zoomLevel, viewQuadrant, hit);
            [&] { QCOMPARE(hit, t); }();
            if (QTest::currentTestFailed())
                return visible;
        }
        return visible;
    }

private slots:
    void init()
    {
        resetAllGameState();
        scripted = ScriptedInteraction();
        setInteraction(&scripted);
        QFile::remove(settingsFileName());
    }

    void cleanup()
    {
        setScreenMeasure(nullptr);
    }

    // ---- Layout ----

    void layoutForScreens_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("widthMM");
        QTest::addColumn<int>("windowHeight");
        QTest::addColumn<MapFlag>("map");
        QTest::addColumn<QString>("sets"); // small, large, wide, unscaled
        QTest::addColumn<int>("panel");
        QTest::addColumn<int>("areaWidth");
        QTest::addColumn<double>("scaleX");
        QTest::addColumn<double>("scaleY");

        QTest::newRow("1920x1080 of 500 mm, window 1030") << 1920 << 1080 << 500 << 1030 << MapWorld << "0110"
                                                           << 228 << 1692 << 1.0 << 1.0;
        QTest::newRow("1366 of 130 mm") << 1366 << 768 << 130 << 768 << MapWorld << "1010" << 299 << 1067 << 1.0 << 1.0;
        QTest::newRow("1366 of unknown size") << 1366 << 768 << 0 << 768 << MapWorld << "0010" << 210 << 1156 << 1.0
                                              << 1.0;
        QTest::newRow("window 890 high") << 1920 << 1080 << 500 << 890 << MapWorld << "0010" << 228 << 1692 << 1.0 << 1.0;
        QTest::newRow("no large picture for Great Britain")
            << 1920 << 1080 << 500 << 1080 << MapGreatBritain << "0010" << 228 << 1692 << 1.0 << 1.0;
        QTest::newRow("window 700 high, 15 units") << 1920 << 1080 << 500 << 700 << MapWorld << "0000" << 285 << 1635
                                                   << 1635 / 954.0 << 1015 / 632.0;
        QTest::newRow("1280x720, at least 210") << 1280 << 720 << 340 << 720 << MapWorld << "0000" << 210 << 1070
                                                << 1070 / 954.0 << 655 / 632.0;
        QTest::newRow("map file drawn 1:1") << 1920 << 1080 << 500 << 1080 << MapCustom << "0001" << 285 << 1635 << 1.0
                                            << 1.0;
        QTest::newRow("map file on 1280x720") << 1280 << 720 << 340 << 720 << MapCustom << "0001" << 210 << 1070 << 1.0
                                              << 1.0;
        QTest::newRow("map file on 1100x650") << 1100 << 650 << 300 << 650 << MapCustom << "0000" << 210 << 890
                                              << 890 / 954.0 << 585 / 632.0;
    }

    void layoutForScreens()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, widthMM);
        QFETCH(int, windowHeight);
        QFETCH(MapFlag, map);
        QFETCH(QString, sets);
        QFETCH(int, panel);
        QFETCH(int, areaWidth);
        QFETCH(double, scaleX);
        QFETCH(double, scaleY);
        useScreen(width, height, widthMM);
        selectMap(map);
        highlightChanges = 1;
        mapOffsetX = 9;
        runLayoutStages(windowHeight);

        const QString shown = QStringLiteral("%1%2%3%4").arg(smallScreen).arg(largeImageSet).arg(wideImageSet).arg(customMapUnscaled);
        QCOMPARE(shown, sets);
        QCOMPARE(menuPanelWidth, panel);
        QCOMPARE(mapAreaWidth, areaWidth);
        QCOMPARE(mapAreaHeight, height - 65);
        QCOMPARE(statusBarY, height - 50);
        QVERIFY(qFuzzyCompare(mapScaleX, scaleX));
        QVERIFY(qFuzzyCompare(mapScaleY, scaleY));
        QCOMPARE(dialogOpacity, 0.85);
        QCOMPARE(statusBarX, 0);
        QCOMPARE(mapOffsetX, 0);
        QCOMPARE(highlightChanges, quint8(0));
    }

    void fittingTheWidePicture_data()
    {
        QTest::addColumn<ScreenCase>("screen");
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("fitted");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("left");
        QTest::addColumn<double>("scale");

        // 0.85 of 1692 x 1015 holds 1301 x 862 of a 1193 x 790 picture.
        QTest::newRow("large set at 1920x1080") << ScreenCase{1920, 1080, 500, MapWorld} << QSize(1193, 790)
                                                << QSize(1301, 862) << 76 << 273 << 1301 / 1193.0;
        QTest::newRow("wide set at 1366x768") << ScreenCase{1366, 768, 340, MapWorld} << QSize(954, 632)
                                              << QSize(1061, 703) << 0 << 66 << 1061 / 954.0;
        QTest::newRow("no picture") << ScreenCase{1366, 768, 340, MapWorld} << QSize() << QSize(0, 0) << 0 << 809
                                    << 0.0;
    }

    void fittingTheWidePicture()
    {
        QFETCH(ScreenCase, screen);
        QFETCH(QSize, picture);
        QFETCH(QSize, fitted);
        QFETCH(int, top);
        QFETCH(int, left);
        QFETCH(double, scale);
        useScreen(screen.width, screen.height, screen.widthMM);
        selectMap(screen.map);
        runLayoutStages(screen.height);
        mapImage = picture.isValid() ? QImage(picture, QImage::Format_RGB32) : QImage();
        fitMapPicture();
        QCOMPARE(QSize(mapImageWidth, mapImageHeight), fitted);
        QCOMPARE(mapImage.size(), picture.isValid() ? fitted : QSize(0, 0));
        QCOMPARE(mapTop, top);
        QCOMPARE(displayScale, scale);
        const MapDrawing drawing = placeMapPicture();
        QCOMPARE(mapLeft, left);
        QCOMPARE(drawing.target, QRect(left, top, fitted.width(), fitted.height()));
    }

    void aMapFilesPictureIsDrawnOneToOneInTheMiddle()
    {
        useScreen(1920, 1080, 500);
        selectMap(MapCustom);
        runLayoutStages(1080);
        mapImage = QImage(954, 632, QImage::Format_RGB32);
        fitMapPicture();
        computeMapView();
        const MapDrawing drawing = placeMapPicture();
        QCOMPARE(displayScale, 1.0);
        QCOMPARE(menuPanelWidth, 228);
        // (1920 - 228 - 954) / 2 and (1080 - 732) / 2
        QCOMPARE(drawing.target, QRect(369, 174, 954, 632));
        QCOMPARE(drawing.source, QRect(0, 0, 954, 632));
        QCOMPARE(QPoint(mapLeft, mapTop), QPoint(369, 174));
    }

    void viewRectangles_data()
    {
        QTest::addColumn<bool>("small");
        QTest::addColumn<bool>("wide");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<int>("cell");
        QTest::addColumn<QRect>("view");
        QTest::addColumn<double>("factor");
        QTest::addColumn<double>("factorY");

        QTest::newRow("standard, zoom 0 whatever the cell") << false << false << 0 << 4 << QRect(0, 0, 954, 632) << 1.0 << 1.0;
        QTest::newRow("standard, zoom 1, cell 1") << false << false << 1 << 1 << QRect(0, 0, 763, 505) << 1.25 << 1.0;
        QTest::newRow("standard, zoom 1, cell 4") << false << false << 1 << 4 << QRect(191, 127, 763, 505) << 1.25 << 1.0;
        QTest::newRow("standard, zoom 2, cell 2") << false << false << 2 << 2 << QRect(382, 0, 572, 379) << 1.6667 << 1.0;
        QTest::newRow("small, zoom 1, cell 3") << true << false << 1 << 3 << QRect(0, 253, 572, 379) << 1.6667 << 1.0;
        QTest::newRow("small, zoom 2, cell 2") << true << false << 2 << 2 << QRect(381, 0, 381, 316) << 2.5 << 2.0;
        QTest::newRow("small, zoom 2, cell 3") << true << false << 2 << 3 << QRect(573, 0, 381, 316) << 2.5 << 2.0;
        QTest::newRow("small, zoom 2, cell 4") << true << false << 2 << 4 << QRect(0, 316, 381, 316) << 2.5 << 2.0;
        QTest::newRow("small, zoom 2, cell 6") << true << false << 2 << 6 << QRect(573, 316, 381, 316) << 2.5 << 2.0;
        QTest::newRow("wide, zoom 0") << false << true << 0 << 2 << QRect(0, 0, 1301, 862) << 1.0 << 1.0;
        QTest::newRow("wide, zoom 1, cell 4") << false << true << 1 << 4 << QRect(261, 173, 1040, 689) << 1.25 << 1.0;
        QTest::newRow("wide, zoom 2, cell 1") << false << true << 2 << 1 << QRect(0, 0, 780, 517) << 1.6667 << 1.0;
        // The wide cut is 0.6 on a small screen too: its factor must say so for the hit test.
        QTest::newRow("wide and small, zoom 2, cell 2") << true << true << 2 << 2 << QRect(521, 0, 780, 517) << 1.6667
                                                        << 1.6667;
    }

    void viewRectangles()
    {
        QFETCH(bool, small);
        QFETCH(bool, wide);
        QFETCH(int, zoom);
        QFETCH(int, cell);
        QFETCH(QRect, view);
        QFETCH(double, factor);
        QFETCH(double, factorY);
        smallScreen = small;
        wideImageSet = wide;
        mapImageWidth = wide ? 1301 : 0;
        mapImageHeight = wide ? 862 : 0;
        zoomLevel = zoom;
        viewQuadrant = cell;
        computeMapView();
        QCOMPARE(QRect(viewX, viewY, viewWidth, viewHeight), view);
        QCOMPARE(zoomFactor, factor);
        QCOMPARE(zoomFactorSmallY, factorY);
        QCOMPARE(viewQuadrant, cell);
    }

    void swipesMoveTheViewOneCell_data()
    {
        QTest::addColumn<bool>("threeColumns");
        QTest::addColumn<int>("cell");
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("expected");

        QTest::newRow("2x2: right") << false << 1 << 1 << 2;
        QTest::newRow("2x2: right at the edge") << false << 2 << 1 << 2;
        QTest::newRow("2x2: left") << false << 4 << 2 << 3;
        QTest::newRow("2x2: down") << false << 2 << 3 << 4;
        QTest::newRow("2x2: down at the edge") << false << 3 << 3 << 3;
        QTest::newRow("2x2: up") << false << 3 << 4 << 1;
        QTest::newRow("3x2: right twice") << true << 2 << 1 << 3;
        QTest::newRow("3x2: right at the edge") << true << 3 << 1 << 3;
        QTest::newRow("3x2: up from the middle") << true << 5 << 4 << 2;
        QTest::newRow("3x2: down from the right") << true << 3 << 3 << 6;
        QTest::newRow("2x2 after a 3x2 view") << false << 6 << 0 << 4;
    }

    void swipesMoveTheViewOneCell()
    {
        QFETCH(bool, threeColumns);
        QFETCH(int, cell);
        QFETCH(int, direction);
        QFETCH(int, expected);
        smallScreen = threeColumns;
        zoomLevel = threeColumns ? 2 : 1;
        QCOMPARE(viewGridColumns(), threeColumns ? 3 : 2);
        viewQuadrant = cell;
        swipeDirection = direction;
        computeMapView();
        QCOMPARE(viewQuadrant, expected);
        QCOMPARE(swipeDirection, 0);
    }

    void menuGeometry_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("widthMM");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QList<int>>("expected"); // left, column 2, first row, pitch, W, H

        // panel 228, map area 1692: W = 47.88 + 208
        QTest::newRow("1920x1080") << 1920 << 1080 << 500 << 1 << QList<int>{1712, 1826, 54, 101, 255, 36};
        // panel 299, map area 1067: W = 62.79 + (int)(299 / 1.7 - 2) = 62.79 + 173
        QTest::newRow("small menu") << 1366 << 768 << 130 << 1 << QList<int>{1072, 1221, 38, 178, 235, 82};
        // the game panel of a small screen: W = 62.79 + (int)(299 / 1.5 - 2) = 62.79 + 197
        QTest::newRow("small game panel") << 1366 << 768 << 130 << 9 << QList<int>{1072, 1221, 38, 139, 259, 92};
    }

    void menuGeometry()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, widthMM);
        QFETCH(int, mode);
        QFETCH(QList<int>, expected);
        useScreen(width, height, widthMM);
        screenMode = mode;
        runLayoutStages(height);
        setMenuGeometry();
        const QSize size = menuButtonSize(mode == 9);
        QCOMPARE((QList<int>{menuLeft, menuColumn2Left, menuFirstRowY, menuButtonHeight, size.width(), size.height()}),
                 expected);
        // The second column of a small screen starts at the top again.
        QCOMPARE(menuRowPosition(1, true), QPoint(menuColumn2Left, height / 20));
        QCOMPARE(menuRowPosition(3, false), QPoint(menuLeft, height / 20 + 2 * menuButtonHeight));
    }

    // ---- The status bar and the game panel ----

    void statusBarItems_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("sizeClass");
        QTest::addColumn<QRect>("button");
        QTest::addColumn<int>("figuresX");
        QTest::addColumn<QString>("losses");

        const int y = 700;
        // The figures keep 10 pixels clear of the button where the button would reach them.
        QTest::newRow("999 wide") << 999 << 2 << QRect(396, y - 1, 60, 30) << 466 << "2  0  5   Loss    7";
        QTest::newRow("1000 wide") << 1000 << 2 << QRect(512, y - 1, 60, 30) << 590 << "2  0  5       Losses :      7";
        QTest::newRow("1000 wide, class 1") << 1000 << 1 << QRect(512, y - 1, 60, 30) << 590 << "2  0  5       Losses    7";
        QTest::newRow("1499 wide") << 1499 << 2 << QRect(761, y - 1, 60, 30) << 839 << "2  0  5       Losses :      7";
        QTest::newRow("2000 wide") << 2000 << 3 << QRect(1012, y - 10, 80, 40) << 1102 << "2  0  5       Losses :      7";
        QTest::newRow("2500 wide") << 2500 << 4 << QRect(1262, y - 20, 100, 50) << 1372 << "2  0  5       Losses :      7";
    }

    void statusBarItems()
    {
        QFETCH(int, width);
        QFETCH(int, sizeClass);
        QFETCH(QRect, button);
        QFETCH(int, figuresX);
        QFETCH(QString, losses);
        screenWidth = width;
        statusBarY = 700;
        statusBarX = 0;
        displaySizeClass = sizeClass;
        playerCount = 3;
        playerTable[1].artillery() = 1;
        playerTable[1].wild() = 1;
        playerTable[3].cavalry() = 5;
        playerTableAtTurnStart[2].infantry() = 4; // the cards held now are shown, not the turn's start
        lossCount = 7;
        QCOMPARE(barButtonRect(), button);
        QCOMPARE(figuresLinePoint(), QPoint(figuresX, 720));
        QCOMPARE(figuresLineText(), losses);
        smallScreen = 1;
        QCOMPARE(figuresLinePoint().y(), 710);
        // Many players narrow the figures to one blank apart.
        playerCount = 8;
        playerTable[8].wild() = 2;
        QCOMPARE(formatPlayerFigures(), QStringLiteral("2 0 5 0 0 0 0 2"));
        playerCount = 0;
        QCOMPARE(formatPlayerFigures(), QString());
    }

    // The status texts keep to their room left of the Cards button: a longer text loses its
    // middle, and nothing of it shows under the button or among the card counts. A name to play
    // stays within its line there and within its rows in the player panel, however many marks
    // are stacked on one of its letters.
    void theStatusLineStaysLeftOfTheCardsButton_data()
    {
        QTest::addColumn<ScreenCase>("screen");
        QTest::addColumn<QString>("name"); // of player 1, to play; empty: "Ana"
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("second");
        QTest::newRow("a long name to play, 1920x1080")
            << ScreenCase{1920, 1080, 510, MapWorld} << QString() << QString(300, QLatin1Char('W')) + " to play.."
            << " ";
        QTest::newRow("a prompt and the busy note, compact 1366x768")
            << ScreenCase{1366, 768, 130, MapWorld} << QString()
            << "Select a territory for initial army placement, available: 21" << "This might take a few seconds...";
        const QString stacked = QStringLiteral("e") + QString(40, QChar(0x0301));
        QTest::newRow("forty accents on a name to play, 1920x1080")
            << ScreenCase{1920, 1080, 510, MapWorld} << stacked << stacked + " to play.." << " ";
        const QString three = QStringLiteral("Ze") + QString(3, QChar(0x0301));
        QTest::newRow("three accents on a name to play, 1366x768")
            << ScreenCase{1366, 768, 340, MapWorld} << three << three + " to play.." << " ";
    }

    void theStatusLineStaysLeftOfTheCardsButton()
    {
        QFETCH(ScreenCase, screen);
        QFETCH(QString, name);
        QFETCH(QString, line);
        QFETCH(QString, second);
        auto window = makeWindow(screen.width, screen.height, screen.widthMM);
        paintWindow(*window);
        setUpDealtGame(screen.map);
        setStatusText(QStringLiteral(" "));
        setStatusText2(QStringLiteral(" "));
        paintWindow(*window);
        const QImage named = mapImage;
        if (!name.isEmpty())
            playerName[1] = name;
        const QImage quiet = paintWindow(*window);
        QCOMPARE(changedOutside(named, mapImage, {playerPanelLineArea(1), playerPanelLineArea(playerCount + 1)}), 0);
        setStatusText(line);
        setStatusText2(second);
        const QImage shown = paintWindow(*window);
        saveScreenshot(shown, QStringLiteral("status-%1.png").arg(screen.width));
        const int roomEnd = barButtonRect().left() - 10;
        const int top = statusBarY - 10;
        const int height = qMin(50, shown.height() - top);
        QVERIFY(imageHoldsColour(shown, QRect(0, top, roomEnd, height), qRgb(192, 160, 160)));
        const QRect beyond(roomEnd, top, shown.width() - roomEnd, height);
        QVERIFY(shown.copy(beyond) == quiet.copy(beyond));
        const QRect above(0, 0, shown.width(), top);
        QVERIFY(shown.copy(above) == quiet.copy(above));
    }

    void gamePanelLooks_data()
    {
        QTest::addColumn<int>("seat");
        QTest::addColumn<QString>("flags"); // inGameButtonEnabled 1..6
        QTest::addColumn<QString>("phases"); // card, continent, initial placement
        QTest::addColumn<int>("queued");
        QTest::addColumn<int>("turns");
        QTest::addColumn<QString>("enabled"); // rows 91..99

        QTest::newRow("own idle turn, everything open") << 0 << "111111" << "000" << 0 << 2 << "111111111";
        QTest::newRow("nothing open") << 0 << "000000" << "000" << 0 << 2 << "100000011";
        QTest::newRow("another seat's turn") << 2 << "100000" << "001" << 0 << 2 << "100000000";
        QTest::newRow("another seat's turn, Add open") << 2 << "000100" << "000" << 0 << 2 << "100010001";
        QTest::newRow("own placement") << 0 << "000000" << "001" << 0 << 2 << "100010010";
        QTest::newRow("card bonus on the own seat") << 3 << "000000" << "100" << 0 << 2 << "100010011";
        QTest::newRow("steps queued") << 0 << "100000" << "010" << 5 << 2 << "100000000";
        QTest::newRow("first turn") << 0 << "100000" << "000" << 0 << 0 << "100000110";
        QTest::newRow("turn not begun") << -1 << "111111" << "000" << 0 << 2 << "111111000";
    }

    void gamePanelLooks()
    {
        QFETCH(int, seat);
        QFETCH(QString, flags);
        QFETCH(QString, phases);
        QFETCH(int, queued);
        QFETCH(int, turns);
        QFETCH(QString, enabled);
        // Seat -1: a local game whose human turn has not begun yet.
        networkSeat = qMax(0, seat);
        playerCount = 4;
        currentPlayer = 3;
        turnStarted = seat >= 0;
        turnsTaken[3] = turns;
        for (int k = 1; k <= 6; ++k)
            inGameButtonEnabled[k] = flags[k - 1] == QLatin1Char('1');
        cardBonusPhase = phases[0] == QLatin1Char('1');
        continentBonusPhase = phases[1] == QLatin1Char('1');
        initialPlacementPhase = phases[2] == QLatin1Char('1');
        for (int i = 0; i < queued; ++i)
            pushActionStep(makeStep(12));
        QString shown;
        for (int id = kFirstGameButton; id <= kLastGameButton; ++id)
            shown += gameButtonShownEnabled(id) ? QLatin1Char('1') : QLatin1Char('0');
        QCOMPARE(shown, enabled);
        // Each look is its own cell of the strip.
        QCOMPARE(gameButtonStripY(95), enabled[4] == QLatin1Char('1') ? 450 : 780);
        QCOMPARE(gameButtonStripY(99), enabled[8] == QLatin1Char('1') ? 570 : 1020);
    }

    void menuMarksAndLooks_data()
    {
        QTest::addColumn<QString>("speed"); // fast, 288, 224, 160, 96
        QTest::addColumn<int>("marked");
        QTest::newRow("none: 512 ms") << "00000" << 411;
        QTest::newRow("fast only: 384 ms") << "10000" << 412;
        QTest::newRow("288") << "11000" << 413;
        QTest::newRow("224") << "10100" << 414;
        QTest::newRow("160") << "10010" << 415;
        QTest::newRow("96 wins over the rest") << "11111" << 416;
    }

    void menuMarksAndLooks()
    {
        QFETCH(QString, speed);
        QFETCH(int, marked);
        setSpeedFlags(speed);
        QCOMPARE(markedMenuRow(41), marked);
        displayOptionB = 1;
        QCOMPARE(markedMenuRow(42), 421);
        displayOptionB = 0;
        QCOMPARE(markedMenuRow(42), 422);
        QCOMPARE(markedMenuRow(4), 0);
    }

    // The colours screen's two entries, clicked: Gradient shades every territory of the map,
    // Solid fills each with one colour.
    void displayStylesLookAsTheirLabelsSay()
    {
        auto window = makeWindow(1366, 768, 340);
        demoRunning = 0;
        screenMode = 42;
        paintWindow(*window);
        const auto coloursOf = [](int territory) {
            const TerritoryRegions &regions = territoryRegions();
            const QRect label = territoryLabelArea(territory);
            QSet<QRgb> colours;
            for (int y = 0; y < mapImage.height(); ++y)
                for (int x = 0; x < mapImage.width(); ++x)
                    if (regions.territoryAt(x, y) == territory && !label.contains(x, y))
                        colours.insert(mapImage.pixel(x, y));
            return colours.size();
        };
        struct Entry {
            int row;
            quint8 flag;
            bool shaded;
        };
        for (const Entry &entry : {Entry{2, 0, false}, Entry{1, 1, true}, Entry{2, 0, false}}) {
            QTest::mouseClick(window.get(), Qt::LeftButton, Qt::NoModifier, menuRowRect(entry.row, false, false).center());
            QCOMPARE(displayOptionB, entry.flag);
            for (int t : {1, 14, 30, 42}) {
                QCOMPARE(territoryChanged[t], 'n');
                if (entry.shaded)
                    QVERIFY2(coloursOf(t) > 3, qPrintable(QStringLiteral("territory %1").arg(t)));
                else
                    QCOMPARE(coloursOf(t), 1);
            }
        }
    }

    void saveGameRowShowsWhetherSavingIsPossible()
    {
        const MenuRow &save = menuRowsOf(91)[1];
        QCOMPARE(save.id, 912);
        saveAllowed = 1;
        QCOMPARE(menuRowStripY(save), 630);
        pushActionStep(makeStep(12));
        QCOMPARE(menuRowStripY(save), 960);
        clearStepQueues();
        saveAllowed = 0;
        QCOMPARE(menuRowStripY(save), 960);
    }

    // ---- The window ----

    void aDealtGameAndTheStartMenuArePaintedInPlace_data()
    {
        QTest::addColumn<ScreenCase>("screen");
        QTest::newRow("1920x1080") << ScreenCase{1920, 1080, 510, MapWorld};
        QTest::newRow("1366x768") << ScreenCase{1366, 768, 340, MapWorld};
        QTest::newRow("compact 1366x768") << ScreenCase{1366, 768, 130, MapWorld};
    }

    void aDealtGameAndTheStartMenuArePaintedInPlace()
    {
        QFETCH(ScreenCase, screen);
        auto window = makeWindow(screen.width, screen.height, screen.widthMM);
        const QString size = QStringLiteral("%1x%2").arg(screen.width).arg(screen.height);

        const QImage start = paintWindow(*window);
        QCOMPARE(screenMode, 1);
        const QString name = QStringLiteral("%1%2").arg(smallScreen ? QStringLiteral("compact-") : QString(), size);
        saveScreenshot(start, QStringLiteral("start-%1.png").arg(name));
        QCOMPARE(mapPaintState, QStringLiteral("1"));
        QVERIFY(!mapImage.isNull());
        // The main menu's first button is drawn where the click handler looks for it.
        const QRect firstRow = menuRowRect(1, false, false);
        QCOMPARE(firstRow.topLeft(), QPoint(mapAreaWidth + (smallScreen ? 5 : 20), screen.height / 20));
        QVERIFY(holdsDrawing(start, firstRow));
        QVERIFY(!holdsDrawing(start, firstRow.translated(0, -firstRow.height() - 2)));

        setUpDealtGame(screen.map);
        const QImage game = paintWindow(*window);
        saveScreenshot(game, QStringLiteral("game-%1.png").arg(name));
        QCOMPARE(mapPaintState, QStringLiteral("1"));
        QCOMPARE(QSize(mapImageWidth, mapImageHeight), mapImage.size());
        QCOMPARE(territoryRegions().size(), mapImage.size());
        // Every player's colour is on the map.
        const MapDrawing drawing = currentMapDrawing();
        for (int p = 1; p <= playerCount; ++p)
            QVERIFY2(imageHoldsColour(game, drawing.target, colourTable[p]), qPrintable(QString::number(p)));
        // The player panel lies on the drawn part of the picture.
        QVERIFY(mapImage.rect().contains(playerPanelArea()));
        // The game panel's buttons are inside the window and the status bar under the map.
        const QRect lastButton = smallScreen ? menuRowRect(5, true, true) : menuRowRect(9, false, true);
        QVERIFY(window->rect().contains(lastButton.topLeft()));
        QVERIFY(lastButton.bottom() < statusBarY);
        QVERIFY(drawing.target.bottom() < statusBarY);
        QVERIFY(window->rect().contains(barButtonRect()));
        QVERIFY(imageHoldsColour(game, QRect(0, statusBarY, screen.width / 3, 30), qRgb(192, 160, 160)));
        QVERIFY(gameButtonDrawn == inGameButtonEnabled);

        // Every button of the game panel shows whole, inside the window, none over another.
        QList<QRect> faces;
        for (int id = kFirstGameButton; id <= kLastGameButton; ++id) {
            const bool second = smallScreen && gameButtonInSecondColumn(id);
            const int row = id - kFirstGameButton + 1 - (second ? 4 : 0);
            const QRect face = menuButtonFace(menuRowRect(row, second, true));
            QVERIFY2(window->rect().contains(face), qPrintable(QString::number(id)));
            for (const QRect &other : faces)
                QVERIFY2(!other.intersects(face), qPrintable(QString::number(id)));
            QVERIFY(holdsDrawing(game, face));
            faces.append(face);
        }
        // "(s)" (saving is possible) is written inside the Menu button, and the figures of
        // the status bar stand clear of its Cards button.
        const QRect menu = faces.first();
        QVERIFY(imageHoldsColour(game, menu, qRgb(192, 160, 160)));
        QVERIFY(!imageHoldsColour(game, QRect(menu.right() + 1, menu.top(), 60, menu.height()), qRgb(192, 160, 160)));
        QVERIFY(figuresLinePoint().x() > barButtonRect().right() + 5);
    }

    void clickOnEveryLabelHitsItsTerritory_data()
    {
        QTest::addColumn<ScreenCase>("screen");
        QTest::newRow("large set, 1920x1080") << ScreenCase{1920, 1080, 510, MapWorld};
        QTest::newRow("wide set, 1366x768") << ScreenCase{1366, 768, 340, MapWorld};
        QTest::newRow("standard set, 1280x700") << ScreenCase{1280, 700, 340, MapWorld};
        QTest::newRow("small screen, wide set") << ScreenCase{1366, 768, 130, MapWorld};
        QTest::newRow("small screen, standard set") << ScreenCase{1024, 600, 130, MapWorld};
        QTest::newRow("map file drawn 1:1") << ScreenCase{1920, 1080, 510, MapCustom};
        QTest::newRow("SwampII, 1920x1080") << ScreenCase{1920, 1080, 510, MapSwampII};
        QTest::newRow("SwampII, small standard") << ScreenCase{1024, 600, 130, MapSwampII};
    }

    void clickOnEveryLabelHitsItsTerritory()
    {
        QFETCH(ScreenCase, screen);
        auto window = makeWindow(screen.width, screen.height, screen.widthMM);
        setUpDealtGame(screen.map);
        QSet<int> seen;
        for (int zoom = 0; zoom <= 2; ++zoom) {
            zoomLevel = zoom;
            viewQuadrant = 1;
            mapPaintState = QStringLiteral("0");
            paintWindow(*window);
            const int cells = zoom == 0 ? 1 : viewGridColumns() * 2;
            for (int cell = 1; cell <= cells; ++cell) {
                viewQuadrant = cell;
                mapPaintState = QStringLiteral("0"); // a zoom or swipe rebuilds the picture
                const int visible = clickEveryVisibleLabel(*window);
                if (QTest::currentTestFailed())
                    return;
                QVERIFY(visible > 0);
                seen.insert(zoom);
            }
        }
        QCOMPARE(seen.size(), 3);
    }

    void aPressQueuesItsStepOnce_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("widthMM");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("row");     // 0: the status bar's button
        QTest::addColumn<bool>("column2");

        QTest::newRow("main menu: Options") << 1 << 510 << 14 << 4 << false;
        QTest::newRow("main menu: Quit on a small screen") << 1 << 130 << 18 << 4 << true;
        QTest::newRow("new-game menu: Back") << 2 << 510 << 28 << 7 << false;
        QTest::newRow("options: Hosting on a small screen") << 4 << 130 << 47 << 3 << true;
        QTest::newRow("game speed: Back") << 41 << 510 << 417 << 7 << false;
        QTest::newRow("colours: Back") << 42 << 510 << 424 << 3 << false;
        QTest::newRow("in-game menu: Save Game, disabled") << 91 << 510 << 912 << 2 << false;
        QTest::newRow("host waiting: Launch") << 102 << 510 << 1021 << 1 << false;
        QTest::newRow("game: Next Player") << 9 << 510 << 97 << 7 << false;
        QTest::newRow("game: Stats on a small screen") << 9 << 130 << 99 << 5 << true;
        QTest::newRow("game: Cards in the status bar") << 9 << 510 << kBarButtonId << 0 << false;
        QTest::newRow("main menu: Cards in the status bar") << 1 << 510 << kBarButtonId << 0 << false;
    }

    void aPressQueuesItsStepOnce()
    {
        QFETCH(int, mode);
        QFETCH(int, widthMM);
        QFETCH(int, button);
        QFETCH(int, row);
        QFETCH(bool, column2);
        auto window = makeWindow(1366, 768, widthMM);
        demoRunning = 0;
        screenMode = mode;
        const QImage before = paintWindow(*window);
        QCOMPARE(messageQueueCount, 0);

        pressedButton = button;
        screenChangePending = 1;
        const QImage pressed = paintWindow(*window);
        QCOMPARE(pressedButton, 0);
        QCOMPARE(messageQueueCount, 1);
        QCOMPARE(messageQueue[1].type, 20);
        QCOMPARE(messageQueue[1].arg[2], button);
        QCOMPARE(screenMode, mode); // the loop changes the screen when it plays the step

        // Only the pressed button looks different, where its row stands.
        const QRect expected = row == 0 ? barButtonRect() : menuRowRect(row, column2, mode == 9);
        const QRect changed = differingArea(before, pressed);
        QVERIFY(!changed.isEmpty());
        QVERIFY2(expected.contains(changed), qPrintable(QStringLiteral("changed %1,%2 %3x%4")
                                                            .arg(changed.x()).arg(changed.y())
                                                            .arg(changed.width()).arg(changed.height())));

        const QImage after = paintWindow(*window);
        QCOMPARE(messageQueueCount, 1);
        QCOMPARE(differingArea(before, after), QRect());
    }

    void aPressOnAnotherScreensButtonStillReachesTheLoop()
    {
        auto window = makeWindow(1366, 768, 340);
        screenMode = 2;
        pressedButton = 14;
        paintWindow(*window);
        QCOMPARE(messageQueueCount, 1);
        QCOMPARE(messageQueue[1].arg[2], 14);
        QCOMPARE(pressedButton, 0);
    }

    // Menu and Resume Game clicked while steps still play change the screen at once; the same
    // button only passed over by the pointer changes nothing.
    void menuButtonsWhileStepsArePlayed_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("clicked");
        QTest::addColumn<int>("newMode");
        QTest::newRow("Menu opens at once") << 9 << true << 91;
        QTest::newRow("Resume Game returns at once") << 91 << true << 9;
        QTest::newRow("Menu under the pointer stays shut") << 9 << false << 9;
    }

    void menuButtonsWhileStepsArePlayed()
    {
        QFETCH(int, mode);
        QFETCH(bool, clicked);
        QFETCH(int, newMode);
        auto window = makeWindow(1366, 768, 340);
        window->setMouseTracking(true);
        demoRunning = 0;
        screenMode = mode;
        paintWindow(*window);
        const QPoint firstRow = menuRowRect(1, false, mode == 9).center();
        if (!clicked) {
            QMouseEvent move(QEvent::MouseMove, firstRow, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(window.get(), &move);
            QCOMPARE(pressedButton, 91);
        }
        pushActionStep(makeStep(12));
        if (clicked)
            QTest::mouseClick(window.get(), Qt::LeftButton, Qt::NoModifier, firstRow);
        paintWindow(*window);
        QCOMPARE(screenMode, newMode);
        QCOMPARE(messageQueueCount, 0);
        QCOMPARE(pressedButton, 0);
        QCOMPARE(redrawAll, quint8(1));
        QCOMPARE(screenChangePending, quint8(0));
    }

    void aPressFindingTheQueueFullIsShownButNotQueued()
    {
        auto window = makeWindow(1366, 768, 340);
        screenMode = 4;
        for (int i = 0; i < kMessageQueueCapacity; ++i)
            pushMessageStep(makeStep(12));
        pressedButton = 41;
        paintWindow(*window);
        QCOMPARE(messageQueueCount, kMessageQueueCapacity);
        QCOMPARE(messageQueue[kMessageQueueCapacity].type, 12);
        QCOMPARE(pressedButton, 0);
    }

    void theFirstPaintRestartsTheTimerAtTheGameSpeed_data()
    {
        QTest::addColumn<int>("seat");
        QTest::addColumn<QString>("speed"); // fast, 288, 224, 160, 96
        QTest::addColumn<int>("interval");
        // Which flags give which interval is the speed entries' own test.
        QTest::newRow("224") << 0 << "10100" << 224;
        QTest::newRow("network game") << 1 << "10001" << 512;
    }

    void theFirstPaintRestartsTheTimerAtTheGameSpeed()
    {
        QFETCH(int, seat);
        QFETCH(QString, speed);
        QFETCH(int, interval);
        auto window = makeWindow(1366, 768, 340);
        setSpeedFlags(speed);
        networkSeat = seat;
        animationsEnabled = 1;
        networkSyncFlag = 0;
        mapShownSetting = 0;
        pinchInProgress = 1;
        pinchGrowCount = 3;
        lastZoomDirection = 2;
        paintWindow(*window);
        QCOMPARE(window->gameTimerInterval(), interval);
        QCOMPARE(mapShownSetting, 1);
        QCOMPARE(animationsEnabled, quint8(seat > 0 ? 0 : 1));
        QCOMPARE(networkSyncFlag, quint8(seat > 0 ? 1 : 0));
        if (seat > 0)
            QCOMPARE(fastSpeed, quint8(1));
        QCOMPARE(pinchInProgress, quint8(0));
        QCOMPARE(pinchGrowCount, 0);
        QCOMPARE(lastZoomDirection, 0);

        // Later paints leave the timer alone.
        window->setGameSpeed288();
        paintWindow(*window);
        QCOMPARE(window->gameTimerInterval(), seat > 0 ? 512 : 288);
    }

    void theMapPictureFollowsTheFirstPaintAndTheWindowSize()
    {
        auto window = makeWindow(1366, 768, 340);
        // A menu redraw postpones the first paint of the map.
        QVERIFY(mapImage.isNull());
        redrawAll = 1;
        paintWindow(*window);
        QCOMPARE(redrawAll, quint8(0));
        QCOMPARE(mapPaintState, QStringLiteral("0"));
        QVERIFY(mapImage.isNull());
        paintWindow(*window);
        QCOMPARE(mapPaintState, QStringLiteral("1"));
        QCOMPARE(wideImageSet, quint8(1));
        QCOMPARE(mapImage.size(), QSize(1061, 703));

        // A window of another size gets the picture of its set.
        useScreen(1024, 600, 340);
        window->resize(1024, 600);
        paintWindow(*window);
        QCOMPARE(wideImageSet, quint8(0));
        QCOMPARE(mapImage.size(), QSize(954, 632));
        QCOMPARE(mapImageWidth, 0);
        QCOMPARE(mapPaintState, QStringLiteral("1"));

        // The same window again paints from the same picture.
        const qint64 key = mapImage.cacheKey();
        paintWindow(*window);
        QCOMPARE(mapImage.cacheKey(), key);
    }

    void aMapFileWithoutItsPictureStillPlays()
    {
        auto window = makeWindow(1024, 600, 340); // display-size class 1
        loadMapFile(writeWorldMapFile(false));
        QCOMPARE(mapLoadSucceeded, quint8(1));
        screenMode = 9;
        paintWindow(*window);
        QVERIFY(mapImage.isNull());
        QCOMPARE(mapPaintState, QStringLiteral("1"));
        int hit = 0;
        territoryAtPoint(200, 200, hit);
        QCOMPARE(hit, 999);
    }

    void aMapFilesPictureIsLoadedOnASmallDisplayClass()
    {
        auto window = makeWindow(1024, 600, 340);
        displaySizeClass = 1;
        loadMapFile(writeWorldMapFile(true));
        paintWindow(*window);
        QCOMPARE(mapImage.size(), QSize(954, 632));
        QCOMPARE(customMapUnscaled, quint8(0));
    }
};

TARVAN_TEST_MAIN(TestPaint)
#include "test_paint.moc"
