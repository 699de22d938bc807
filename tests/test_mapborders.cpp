// Every map picture the build draws tells the truth about the neighbour tables: two neighbours
// share a visible border or are joined by a drawn link, two territories that are not neighbours
// never touch, and every region holds its army number. The regions are grown from the labels as
// the game's hit test grows them; the pictures are those of the build (the built-in maps' picture
// sets in the resources, the map texts' pictures in the run folder that ctest names).

#include "TestSupport.h"
#include "MapBorderChecks.h"

#include "state/BuiltinMaps.h"
#include "state/GameState.h"
#include "state/MapLoading.h"
#include "state/MapPicture.h"
#include "state/MapView.h"

#include <QDir>
#include <QFileInfo>

using namespace map_borders;

namespace {

QString runFolderMaps()
{
    return QDir(QString::fromLocal8Bit(qgetenv("TARVAN_RUN_DIR"))).filePath(QStringLiteral("maps"));
}

QString listed(const QString &what, const QStringList &items)
{
    if (items.isEmpty())
        return QString();
    const QStringList shown = items.mid(0, 12);
    return QStringLiteral("%1 %2 (%3%4); ")
        .arg(what)
        .arg(items.size())
        .arg(shown.join(QStringLiteral(", ")))
        .arg(items.size() > shown.size() ? QStringLiteral(", ...") : QString());
}

// Hand-drawn pictures for the measure itself: territories as grey boxes in a one-pixel border
// line on the sea, and dashed links drawn as the generator draws them.
constexpr QRgb kSea = 0xff305f82;
constexpr QRgb kBorderLine = 0xff1d2b3a;
constexpr QRgb kLandGrey = 0xffc0c0c0;

void paintBox(QImage &picture, const QRect &box)
{
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) {
            const bool edge = x == box.left() || x == box.right() || y == box.top() || y == box.bottom();
            picture.setPixel(x, y, edge ? kBorderLine : kLandGrey);
        }
}

// Dashes four pixels long along a row from x0 to x1, `gap` pixels apart, ending on a dash.
void paintDashes(QImage &picture, int y, int x0, int x1, int gap)
{
    const int step = x1 >= x0 ? 1 : -1;
    for (int i = 0, x = x0;; ++i, x += step) {
        if (i % (4 + gap) < 4 || x == x1)
            picture.setPixel(x, y, mapLinkColour(0));
        if (x == x1)
            break;
    }
}

} // namespace

class TestMapBorders : public QObject {
    Q_OBJECT

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
    }
    void cleanup() { setInteraction(nullptr); }

    void pictureShowsWhoBordersWhom_data()
    {
        QTest::addColumn<int>("flag"); // the built-in map, or MapCustom for a map text
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("large");
        for (const MapPictureSet *set = mapPictureSetsBegin(); set != mapPictureSetsEnd(); ++set)
            for (const char *path : {set->plain, set->wide, set->large})
                if (path)
                    QTest::newRow(path + 7) << int(set->flag) << QString::fromLatin1(path) << (path == set->large);
        const QDir maps(runFolderMaps());
        const QStringList texts = maps.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
        for (const QString &text : texts)
            QTest::newRow(qPrintable(QStringLiteral("maps/") + text)) << int(MapCustom) << maps.filePath(text) << false;
    }
    void pictureShowsWhoBordersWhom()
    {
        QFETCH(int, flag);
        QFETCH(QString, path);
        QFETCH(bool, large);
        QString mapName;
        QImage picture;
        if (flag == MapCustom) {
            mapFilePath = path;
            useStoredMapPath = 'j';
            loadMap();
            QCOMPARE(ui.messageTexts(), QStringList());
            QCOMPARE(mapLoadSucceeded, quint8(1));
            mapName = QFileInfo(path).completeBaseName();
            picture = QImage(currentMapPicturePath());
        } else {
            selectMap(MapFlag(flag));
            const BuiltinMap *map = builtinMapFor(MapFlag(flag));
            QVERIFY(map);
            QCOMPARE(buildBuiltinMap(*map), 0);
            mapName = QString::fromLatin1(map->name);
            largeImageSet = large ? 1 : 0;
            picture = QImage(path);
        }
        QVERIFY2(!picture.isNull(), qPrintable(path));
        installMapPicture(picture);

        const PictureMeasure measure(picture, large ? 1.25 : 1.0, wrapOf(mapName));
        const QSet<quint32> neighbours = neighbourPairs();
        const QString faults = listed(QStringLiteral("false contacts"), measure.falseContacts(neighbours))
            + listed(QStringLiteral("not shown"), measure.notShown(neighbours))
            + listed(QStringLiteral("cramped"), measure.cramped())
            + listed(QStringLiteral("links over labels"), measure.linkFaults());
        QVERIFY2(faults.isEmpty(), qPrintable(faults));
    }

    // The measure finds each kind of fault in a picture drawn by hand: territory 1's box at
    // x 100, territory 2's where the row says (or at the picture's right edge for a link round the
    // back), territory 3's between them when it stands on the link.
    void measureFindsEachFault_data()
    {
        QTest::addColumn<int>("secondLeft");
        QTest::addColumn<int>("secondTop");
        QTest::addColumn<QString>("links");   // "1-2" both ways, "1>2" one way, "" none
        QTest::addColumn<int>("dashGap");     // 0: no link drawn
        QTest::addColumn<bool>("thirdOnLink");
        QTest::addColumn<bool>("wraps");
        QTest::addColumn<QString>("expected"); // false contacts, not shown, cramped, links over labels
        QTest::newRow("neighbours share a border") << 160 << 100 << "1-2" << 0 << false << false << "0 0 0 0";
        QTest::newRow("strangers share a border") << 160 << 100 << "" << 0 << false << false << "1 0 0 0";
        QTest::newRow("strangers one pixel of water apart") << 161 << 100 << "" << 0 << false << false << "1 0 0 0";
        QTest::newRow("strangers four pixels of water apart") << 164 << 100 << "" << 0 << false << false << "0 0 0 0";
        QTest::newRow("neighbours apart, no link") << 200 << 100 << "1-2" << 0 << false << false << "0 1 0 0";
        QTest::newRow("neighbours apart, one way, no link") << 200 << 100 << "1>2" << 0 << false << false << "0 1 0 0";
        QTest::newRow("neighbours apart, linked") << 200 << 100 << "1-2" << 3 << false << false << "0 0 0 0";
        QTest::newRow("neighbours apart, link broken") << 200 << 100 << "1-2" << 7 << false << false << "0 1 0 0";
        // The dashes over the third territory also run over its number.
        QTest::newRow("link over a third label") << 400 << 100 << "1-2" << 3 << true << false << "0 1 1 1";
        QTest::newRow("neighbours share 8 pixels") << 160 << 132 << "1-2" << 0 << false << false << "0 1 0 0";
        QTest::newRow("link round the back of a wrapping map") << -1 << 100 << "1-2" << 3 << false << true << "0 0 0 0";
        QTest::newRow("link off the edges of a flat map") << -1 << 100 << "1-2" << 3 << false << false << "0 1 0 0";
        QTest::newRow("region too small") << -2 << 100 << "" << 0 << false << false << "0 0 1 0";
    }
    void measureFindsEachFault()
    {
        QFETCH(int, secondLeft);
        QFETCH(int, secondTop);
        QFETCH(QString, links);
        QFETCH(int, dashGap);
        QFETCH(bool, thirdOnLink);
        QFETCH(bool, wraps);
        QFETCH(QString, expected);
        QImage picture(kDesignPictureWidth, kDesignPictureHeight, QImage::Format_RGB32);
        picture.fill(kSea);
        const bool roundTheBack = secondLeft == -1;
        const bool small = secondLeft == -2;
        const QRect first = roundTheBack ? QRect(20, 100, 60, 40) : QRect(100, 100, 60, 40);
        const QRect second = roundTheBack ? QRect(874, 100, 60, 40)
            : small                       ? QRect(300, 100, 22, 14)
                                          : QRect(secondLeft, secondTop, 60, 40);
        paintBox(picture, first);
        paintBox(picture, second);
        int count = 2;
        if (thirdOnLink) {
            paintBox(picture, QRect(240, 100, 60, 40));
            count = 3;
        }
        if (dashGap > 0 && roundTheBack) {
            paintDashes(picture, 120, first.left() - 1, 0, dashGap);
            paintDashes(picture, 120, second.right() + 1, kDesignPictureWidth - 1, dashGap);
        } else if (dashGap > 0) {
            paintDashes(picture, 120, first.right() + 1, second.left() - 1, dashGap);
        }

        selectMap(MapCustom);
        territoryCount = count;
        playerPanelX = 700;
        playerPanelY = 450;
        const QRect boxes[] = {first, second, QRect(240, 100, 60, 40)};
        for (int t = 1; t <= count; ++t)
            territoryPos[t] = {boxes[t - 1].center().x(), boxes[t - 1].center().y()};
        if (links == QLatin1String("1-2") || links == QLatin1String("1>2"))
            territoryNeighbours[1][1] = 2;
        if (links == QLatin1String("1-2"))
            territoryNeighbours[2][1] = 1;
        installMapPicture(picture);

        const PictureMeasure measure(picture, 1.0, wraps ? Wrap{true, false} : Wrap{});
        const QSet<quint32> neighbours = neighbourPairs();
        const QString found = QStringLiteral("%1 %2 %3 %4")
                                  .arg(measure.falseContacts(neighbours).size())
                                  .arg(measure.notShown(neighbours).size())
                                  .arg(measure.cramped().size())
                                  .arg(measure.linkFaults().size());
        QCOMPARE(found, expected);
    }

    // The pictures of every map text are there to be measured.
    void everyMapTextHasItsPicture()
    {
        const QDir maps(runFolderMaps());
        const QStringList texts = maps.entryList({QStringLiteral("*.txt")}, QDir::Files);
        QCOMPARE(texts.size(), 16);
        for (const QString &text : texts)
            QVERIFY2(maps.exists(QFileInfo(text).completeBaseName() + QStringLiteral(".png")), qPrintable(text));
    }

private:
    ScriptedInteraction ui;
};

TARVAN_TEST_MAIN(TestMapBorders)
#include "test_mapborders.moc"
