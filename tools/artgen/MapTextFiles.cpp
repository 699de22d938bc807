#include "MapTextFiles.h"

#include "ArtOutput.h"
#include "PalettePicture.h"
#include "MapPictures.h"

#include "maps/MapTexts.h"
#include "state/BuiltinMaps.h"
#include "state/MapFile.h"
#include "state/MapPicture.h"
#include "state/StateReset.h"

#include <QBuffer>
#include <QImageWriter>

#include <cstdio>
#include <cstdlib>

namespace {

struct SampleMap {
    const char *name; // the file name without ".txt", which is the map's own name
    MapTextFunction text;
    const MapOutline &(*outline)(); // null: the land grows from the links
    MapWrap wrap = MapWrap::None;
};

// The geographic maps get land drawn after their real coasts; the abstract ones are islands
// grown round their labels and links. Russia and WorldII wrap round the globe, Rings round its
// middle, SwampII both ways.
const SampleMap kSampleMaps[] = {
    {"e2", mapTextE2, nullptr},
    {"Romania", mapTextRomania, romaniaTextOutline},
    {"107", mapText107, nullptr},
    {"Lines", mapTextLines, nullptr},
    {"Rings", mapTextRings, nullptr, MapWrap::Across},
    {"Russia", mapTextRussia, russiaTextOutline, MapWrap::Across},
    {"Hex_gone_crazy", mapTextHex_gone_crazy, nullptr},
    {"JustNeedTwo", mapTextJustNeedTwo, nullptr},
    {"France", mapTextFrance, franceTextOutline},
    {"OK83", mapTextOK83, nullptr},
    {"Neighbourhood", mapTextNeighbourhood, nullptr},
    {"coconutz", mapTextCoconutz, nullptr},
    {"WorldII", mapTextWorldII, worldIITextOutline, MapWrap::Across},
    {"Ireland", mapTextIreland, irelandTextOutline},
    {"ParisByNight", mapTextParisByNight, nullptr},
    {"SwampII", mapTextSwampII, nullptr, MapWrap::Both},
};

// Three maps of growing size, west to east: an island of counties, a country of regions, and a
// country that spans a continent.
const char kCampaignPath[] = "maps/Across_Europe.cmpgn";
const char kCampaignText[] = "[campaign]\n"
                             "Across_Europe\n"
                             "\n"
                             "[maps]\n"
                             "Ireland\n"
                             "Romania\n"
                             "Russia\n";

QStringList linesOf(MapTextFunction text)
{
    mapFileLines.clear();
    text();
    const QStringList lines = mapFileLines;
    mapFileLines.clear();
    return lines;
}

QByteArray fileBytes(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toLatin1() + '\n';
    return bytes;
}

QByteArray pngBytes(const QString &name, const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "PNG");
    if (!writer.write(image)) {
        std::fprintf(stderr, "artgen: cannot encode %s: %s\n", qPrintable(name), qPrintable(writer.errorString()));
        std::exit(1);
    }
    return bytes;
}

// The panel's box as the game places it for a map file: at the text's position, moved inside
// the picture where it would stick out.
QRect panelBoxOf(const MapTables &map)
{
    QRect box(QPoint(map.playerPanelX, map.playerPanelY), QSize(kPlayerPanelWidth, kPlayerPanelHeight));
    box.moveLeft(qBound(0, box.left(), kDesignPictureWidth - box.width()));
    box.moveTop(qBound(0, box.top(), kDesignPictureHeight - box.height()));
    return box;
}

} // namespace

void addMapTextFiles(ArtOutput &out)
{
    std::vector<MapPictureJob> jobs;
    std::vector<QStringList> texts;
    for (const SampleMap &sample : kSampleMaps) {
        texts.push_back(linesOf(sample.text));
        MapTables map;
        if (parseMapText(texts.back(), map, false) != MapFileOk) {
            std::fprintf(stderr, "artgen: the map text %s does not parse\n", sample.name);
            std::exit(1);
        }
        // The texts link territories far apart over land, which would tangle their regions.
        jobs.push_back({map, panelBoxOf(map), QSize(kDesignPictureWidth, kDesignPictureHeight), 1.0,
                        sample.outline ? &sample.outline() : nullptr, QImage(), OutlineLinks::Untangled,
                        sample.wrap});
    }
    drawMapPictures(jobs);

    for (size_t i = 0; i < jobs.size(); ++i) {
        const QString name = QString::fromLatin1(kSampleMaps[i].name);
        const QString base = QStringLiteral("maps/") + name;
        reportMapPictureQuality(jobs[i].image, jobs[i].map, 1.0, base + QStringLiteral(".png"));
        out.addRunFile(base + QStringLiteral(".txt"), fileBytes(texts[i]));
        out.addRunFile(base + QStringLiteral(".png"), pngBytes(name, withExactPalette(jobs[i].image)));
        resetStateSubsystem();
        selectMap(MapCustom);
        mapTables = jobs[i].map;
        out.addPreviewImage(QStringLiteral("maps/") + name + QStringLiteral("-owners.png"),
                            paintedMapPreview(jobs[i].image, false, 6));
    }
    resetStateSubsystem();
    out.addRunFile(QString::fromLatin1(kCampaignPath), QByteArray(kCampaignText));
}
