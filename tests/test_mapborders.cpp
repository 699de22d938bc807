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
        const QStringList cut = measure.numbersCutByTheTable();
        if (!cut.isEmpty())
            qInfo("labels whose numbers the map's own table puts where no picture shows them: %s",
                  qPrintable(cut.join(QStringLiteral(", "))));
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
