#pragma once
// The map pictures, drawn from each map's own data: every territory a region in a fillable grey
// around its label point, borders and sea in colours the painter never fills.

#include "state/BuiltinMaps.h"
#include "state/GameState.h"

#include <QImage>
#include <QPolygonF>
#include <QRect>

#include <initializer_list>
#include <vector>

class ArtOutput;

// Hand-drawn land of a geographic map at the design size: land polygons, and the seas, bays
// and lakes cut out of them. Land without a label point is drawn as land no one can hold.
struct MapOutline {
    std::vector<QPolygonF> land;
    std::vector<QPolygonF> water;
};

// One polygon of a hand-drawn outline, from its points at the design size.
inline QPolygonF outlinePolygon(std::initializer_list<QPointF> points)
{
    return QPolygonF(QVector<QPointF>(points));
}

// The outline of a map, or nullptr when its land is grown from its links alone.
const MapOutline *mapOutlineFor(MapFlag flag);

// The maps whose land is drawn by hand: the World by hand in WorldOutline.cpp, the others
// written by their scripts in tools/authoring.
const MapOutline &worldOutline();
const MapOutline &europeOutline();
const MapOutline &northAmericaOutline();
const MapOutline &chinaOutline();
const MapOutline &japanOutline();
const MapOutline &australiaOutline();
const MapOutline &greatBritainOutline();
const MapOutline &scandinaviaOutline();
const MapOutline &realWorldOutline();
// The land of the geographic map texts, written by tools/authoring/maptext_outlines.py.
const MapOutline &franceTextOutline();
const MapOutline &irelandTextOutline();
const MapOutline &romaniaTextOutline();
const MapOutline &russiaTextOutline();
const MapOutline &worldIITextOutline();

// Which links of a map with an outline run over land, each claiming a path for its two
// territories to meet on: every link whose labels the land joins, or only those of them that
// cross no shorter one and pass no third label (for maps whose links reach far across the land).
enum class OutlineLinks { AllOverLand, Untangled };

// Which way a map's picture wraps round: a link between neighbours at opposite edges may leave
// the picture at one edge and come back at the other only where it does.
enum class MapWrap { None, Across, Both };

// The picture of `map` at `size`, where one design pixel is `scale` picture pixels; the player
// panel's box (at the design size) stays open sea. It tells the truth about the neighbour tables:
// water parts every two territories that are not neighbours, two neighbours share a border long
// enough to see or are joined by a dashed link, and every region holds its army number.
QImage drawMapPicture(const MapTables &map, const QRect &panelBox, QSize size, double scale,
                      const MapOutline *outline, OutlineLinks links = OutlineLinks::AllOverLand,
                      MapWrap wrap = MapWrap::None);

// One picture to draw: the map, its panel box at the design size, and how large.
struct MapPictureJob {
    MapTables map;
    QRect panel;
    QSize size;
    double scale;
    const MapOutline *outline;
    QImage image; // the result
    OutlineLinks links = OutlineLinks::AllOverLand;
    MapWrap wrap = MapWrap::None;
};
// Draws every job's picture, side by side on the machine's cores.
void drawMapPictures(std::vector<MapPictureJob> &jobs);

// Tells on standard error of any territory whose label point is not in its own region or
// whose region is small.
void reportMapPictureQuality(const QImage &image, const MapTables &map, double scale, const QString &name);

// The picture as a game shows it, for people to look at: every territory of the current map
// painted with owners and armies, and the player panel.
QImage paintedMapPreview(const QImage &mapPicture, bool large, int players);

// Draws the pictures of every built-in map that the program can build and adds them to the
// resources, with previews painted with owners for people to look at.
void addMapPictures(ArtOutput &out);
