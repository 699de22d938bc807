#include "MapPictures.h"

#include "ArtOutput.h"
#include "PalettePicture.h"
#include "MapCanvas.h"
#include "MapLand.h"
#include "MapLinks.h"
#include "MapTerritories.h"

#include "state/MapPicture.h"
#include "state/MapRegions.h"
#include "state/MapView.h"
#include "state/StateReset.h"

#include <QPainter>
#include <QSet>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <thread>

using namespace map_canvas;

namespace {

// Every colour here lies outside `greyTable` and the player colours, so a fill never leaks
// into the sea, across a border or into land that no territory holds.
constexpr QRgb kSeaShades[] = {0xff5b8dab, 0xff4a7c9d, 0xff3b6c8f, 0xff305f82, 0xff295574};
constexpr QRgb kCoast = 0xff1d2b3a;
constexpr QRgb kTerritoryBorder = 0xff3a3e4c;
constexpr QRgb kContinentBorder = 0xff151826;
constexpr QRgb kNoMansLand = 0xff9d9a82;
// Light greys of `greyTable` for the territories, one per continent; touching continents differ.
constexpr QRgb kContinentGreys[] = {0xffc6c6c6, 0xff979797, 0xffacacac, 0xff808080,
                                    0xffc0c0c0, 0xff686868, 0xffc3c3c3, 0xff7f7f7f};
constexpr QRgb kNoContinentGrey = 0xff646464;

using PairSet = QSet<quint32>;

// Neighbours in either direction (a territory may attack any it lists), without a territory's
// link to itself.
std::vector<Pair> linkedPairs(const MapTables &map)
{
    PairSet seen;
    std::vector<Pair> pairs;
    for (int t = 1; t <= map.territoryCount; ++t) {
        for (int i = 1; i <= kMaxNeighbours; ++i) {
            const int u = map.territoryNeighbours[t][i];
            if (u == 0)
                break;
            if (u == t || u < 1 || u > map.territoryCount || seen.contains(pairKey(t, u)))
                continue;
            seen.insert(pairKey(t, u));
            pairs.emplace_back(qMin(t, u), qMax(t, u));
        }
    }
    return pairs;
}

int continentOf(const MapTables &map, int t)
{
    for (int c = 1; c <= map.continentCount; ++c) {
        const ContinentRecord &record = map.continentTable[c];
        for (int i = 1; i <= kMaxContinentMembers && record.members[i] != 0; ++i)
            if (record.members[i] == t)
                return c;
    }
    return 0;
}

PairSet touchingPairs(const Canvas &canvas)
{
    PairSet touching;
    for (int y = 0; y + 1 < canvas.height; ++y) {
        for (int x = 0; x + 1 < canvas.width; ++x) {
            const int a = canvas.at(x, y);
            for (const QPoint &d : {QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)}) {
                const int b = canvas.at(x + d.x(), y + d.y());
                if (a > 0 && b > 0 && a != b)
                    touching.insert(pairKey(a, b));
            }
        }
        const int a = canvas.at(canvas.width - 1, y);
        const int b = canvas.at(canvas.width - 1, y + 1);
        if (a > 0 && b > 0 && a != b)
            touching.insert(pairKey(a, b));
    }
    return touching;
}

// Greys per continent, so that continents that touch are told apart before anyone owns them.
std::array<QRgb, kMaxTerritories + 1> interiorGreys(const MapTables &map, const PairSet &touching)
{
    std::array<int, kMaxContinents + 1> greyOf{};
    greyOf.fill(-1);
    std::array<int, kMaxTerritories + 1> continent{};
    for (int t = 1; t <= map.territoryCount; ++t)
        continent[t] = continentOf(map, t);
    for (int c = 1; c <= map.continentCount; ++c) {
        QSet<int> used;
        for (quint32 key : touching) {
            const int a = continent[key >> 16];
            const int b = continent[key & 0xffff];
            if (a == c && b != c && b > 0 && greyOf[b] >= 0)
                used.insert(greyOf[b]);
            if (b == c && a != c && a > 0 && greyOf[a] >= 0)
                used.insert(greyOf[a]);
        }
        const int palette = static_cast<int>(std::size(kContinentGreys));
        int choice = (c - 1) % palette;
        for (int i = 0; i < palette; ++i) {
            if (!used.contains((c - 1 + i) % palette)) {
                choice = (c - 1 + i) % palette;
                break;
            }
        }
        greyOf[c] = choice;
    }
    std::array<QRgb, kMaxTerritories + 1> greys{};
    for (int t = 1; t <= map.territoryCount; ++t)
        greys[t] = continent[t] > 0 ? kContinentGreys[greyOf[continent[t]]] : kNoContinentGrey;
    return greys;
}

// How far each water pixel lies from land, in picture pixels (capped), for the sea's shades.
std::vector<quint8> seaDepth(const Canvas &canvas)
{
    std::vector<quint8> depth(canvas.owner.size(), 255);
    std::vector<int> frontier;
    for (int p = 0; p < static_cast<int>(canvas.owner.size()); ++p)
        if (canvas.owner[p] != kWater) {
            depth[p] = 0;
            frontier.push_back(p);
        }
    std::vector<int> next;
    for (int d = 1; d < 255 && !frontier.empty(); ++d) {
        next.clear();
        for (int p : frontier) {
            const int x = p % canvas.width;
            const int y = p / canvas.width;
            for (const QPoint &o : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                if (!canvas.inside(x + o.x(), y + o.y()))
                    continue;
                const int q = (y + o.y()) * canvas.width + x + o.x();
                if (depth[q] == 255) {
                    depth[q] = static_cast<quint8>(d);
                    next.push_back(q);
                }
            }
        }
        frontier.swap(next);
    }
    return depth;
}

QRgb seaShade(int depth, double scale)
{
    const double d = depth / scale;
    const int band = d < 3 ? 0 : d < 7 ? 1 : d < 13 ? 2 : d < 22 ? 3 : 4;
    return kSeaShades[band];
}

void paintPixels(QImage &image, const Canvas &canvas, const MapTables &map)
{
    const PairSet touching = touchingPairs(canvas);
    const auto greys = interiorGreys(map, touching);
    std::array<int, kMaxTerritories + 1> continent{};
    for (int t = 1; t <= map.territoryCount; ++t)
        continent[t] = continentOf(map, t);
    const std::vector<quint8> depth = seaDepth(canvas);

    for (int y = 0; y < canvas.height; ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < canvas.width; ++x) {
            const int here = canvas.at(x, y);
            if (here == kWater) {
                row[x] = seaShade(depth[static_cast<size_t>(y) * canvas.width + x], canvas.scale);
                continue;
            }
            // Borders are two pixels wide, one on each side, so no fill crosses them even when
            // the picture is shrunk for a smaller window.
            bool coast = false;
            bool continentEdge = false;
            bool territoryEdge = false;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    if (!canvas.inside(x + dx, y + dy))
                        continue;
                    const int there = canvas.at(x + dx, y + dy);
                    if (there == here)
                        continue;
                    if (there == kWater || there == kNoOwner || here == kNoOwner)
                        coast = true;
                    else if (continent[here] != continent[there])
                        continentEdge = true;
                    else
                        territoryEdge = true;
                }
            }
            if (coast)
                row[x] = kCoast;
            else if (continentEdge)
                row[x] = kContinentBorder;
            else if (territoryEdge)
                row[x] = kTerritoryBorder;
            else
                row[x] = here == kNoOwner ? kNoMansLand : greys[here];
        }
    }
    // A label point stays inside its own region even where a border passes close by.
    for (int t = 1; t <= canvas.count; ++t) {
        const QPoint s = canvas.seeds[t];
        if (canvas.inside(s.x(), s.y()) && canvas.at(s.x(), s.y()) == t)
            reinterpret_cast<QRgb *>(image.scanLine(s.y()))[s.x()] = greys[t];
    }
}

// What is still cut off after that becomes border, so every fillable pixel belongs to a region.
void closeOrphans(QImage &image, const Canvas &canvas)
{
    TerritoryRegions regions;
    regions.build(image, canvas.seeds, canvas.count);
    const FillableColours fillable;
    for (int y = 0; y < canvas.height; ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < canvas.width; ++x)
            if (fillable.contains(row[x]) && regions.territoryAt(x, y) == 0)
                row[x] = kTerritoryBorder;
    }
}

void dealPreviewOwners(int players)
{
    playerCount = players;
    currentPlayer = 3;
    const char *const names[] = {"", "Ana", "Bert", "Chloe", "Dmitri", "Eve", "Farid", "Gus", "Hana", "Ivo", "Jun"};
    for (int p = 1; p <= kMaxPlayers; ++p)
        playerName[p] = QString::fromLatin1(names[p]).leftJustified(18, QLatin1Char(' '));
    for (int t = 1; t <= territoryCount; ++t) {
        // Whole continents for some players, mixed holdings elsewhere, as in a game under way.
        const int c = continentOfTerritory(t);
        const int owner = c % 2 == 0 ? (c / 2) % players + 1 : (t * 7 + c) % players + 1;
        displayedTerritoryState[t] = {owner, 1 + (t * 37) % 23};
        territoryChanged[t] = 'n';
    }
    if (territoryCount >= 5) {
        displayedTerritoryState[5].armies = 1500;
        territoryChanged[3] = 'j';
    }
}

} // namespace

void reportMapPictureQuality(const QImage &image, const MapTables &map, double scale, const QString &name)
{
    std::array<QPoint, kMaxTerritories + 1> seeds{};
    const int count = qBound(0, static_cast<int>(map.territoryCount), kMaxTerritories);
    for (int t = 1; t <= count; ++t)
        seeds[t] = QPoint(static_cast<int>(map.territoryPos[t].x * scale), static_cast<int>(map.territoryPos[t].y * scale));
    TerritoryRegions regions;
    regions.build(image, seeds, count);
    for (int t = 1; t <= count; ++t) {
        if (regions.territoryAt(seeds[t].x(), seeds[t].y()) != t)
            std::fprintf(stderr, "artgen: %s: territory %d does not own its label point\n", qPrintable(name), t);
        else if (regions.area(t) < 150 * scale * scale)
            std::fprintf(stderr, "artgen: %s: territory %d is small (%d pixels)\n", qPrintable(name), t,
                         regions.area(t));
    }
}

QImage paintedMapPreview(const QImage &mapPicture, bool large, int players)
{
    largeImageSet = large ? 1 : 0;
    installMapPicture(mapPicture);
    dealPreviewOwners(players);
    for (int t = 1; t <= territoryCount; ++t) {
        const bool highlighted = territoryChanged[t] == 'j';
        updateTerritoryDisplay(t, displayedTerritoryState[t].armies, displayedTerritoryState[t].owner,
                               highlighted ? 1 : 0, 0, 0);
    }
    drawPlayerPanel();
    const QImage painted = mapImage;
    resetMapView();
    return painted;
}

namespace {

// The world maps wrap round the globe; SwampII joins its opposite edges both ways.
MapWrap wrapOf(MapFlag flag)
{
    switch (flag) {
    case MapSwampII:
        return MapWrap::Both;
    case MapWorld:
    case MapWorldII:
    case MapRealWorld:
        return MapWrap::Across;
    default:
        return MapWrap::None;
    }
}

QString aliasOf(const char *resourcePath)
{
    return QString::fromLatin1(resourcePath).mid(2); // ":/tifa/x.png" -> "tifa/x.png"
}

QString previewNameOf(const char *resourcePath)
{
    return aliasOf(resourcePath).section(QLatin1Char('/'), -1).replace(QStringLiteral(".png"), QStringLiteral("-owners.png"));
}

} // namespace

QImage drawMapPicture(const MapTables &map, const QRect &panelBox, QSize size, double scale, const MapOutline *outline,
                      OutlineLinks links, MapWrap wrap)
{
    Canvas canvas;
    canvas.width = size.width();
    canvas.height = size.height();
    canvas.scale = scale;
    canvas.count = qBound(0, static_cast<int>(map.territoryCount), kMaxTerritories);
    canvas.owner.assign(static_cast<size_t>(canvas.width) * canvas.height, kWater);
    for (int t = 1; t <= canvas.count; ++t)
        canvas.seeds[t] = QPoint(qBound(0, static_cast<int>(map.territoryPos[t].x * scale), canvas.width - 1),
                                 qBound(0, static_cast<int>(map.territoryPos[t].y * scale), canvas.height - 1));
    const QRect panel = panelArea(canvas, panelBox, 0);
    for (int t = 1; t <= canvas.count; ++t)
        canvas.numbers[t] = numberCentreFor(canvas.seeds[t], 1, size, panel);
    canvas.pairs = linkedPairs(map);
    canvas.neighbours = PairTable(canvas.count);
    for (const Pair &pair : canvas.pairs)
        canvas.neighbours.set(pair.first, pair.second);
    canvas.wrap = {wrap != MapWrap::None, wrap == MapWrap::Both};

    const std::vector<Pair> landLinks = shapeLand(canvas, map, panelBox, outline, links);
    const std::vector<qint16> land = canvas.owner;
    reserveLabels(canvas, {}, panel);
    growTerritories(canvas, landLinks);
    partTerritories(canvas);
    // Territories left too small to use are drawn again with room kept round their labels.
    const std::vector<int> cramped = crampedTerritories(canvas);
    if (!cramped.empty()) {
        canvas.owner = land;
        reserveLabels(canvas, cramped, panel);
        growTerritories(canvas, landLinks);
        partTerritories(canvas);
    }

    QImage image(canvas.width, canvas.height, QImage::Format_RGB32);
    paintPixels(image, canvas, map);
    drawLinks(image, canvas, panel);
    closeOrphans(image, canvas);
    return image;
}

void drawMapPictures(std::vector<MapPictureJob> &jobs)
{
    std::atomic<size_t> next{0};
    const auto work = [&] {
        for (size_t i = next++; i < jobs.size(); i = next++) {
            MapPictureJob &job = jobs[i];
            job.image = drawMapPicture(job.map, job.panel, job.size, job.scale, job.outline, job.links, job.wrap);
        }
    };
    std::vector<std::thread> workers;
    const size_t threads = qBound<size_t>(1, std::thread::hardware_concurrency(), jobs.size());
    for (size_t i = 1; i < threads; ++i)
        workers.emplace_back(work);
    work();
    for (std::thread &worker : workers)
        worker.join();
}

void addMapPictures(ArtOutput &out)
{
    // One job per picture size; the maps are built one after the other (they share the game's
    // tables), the pictures are drawn side by side, and written in table order. The plain and the
    // wide set share the design size, so they share one drawing.
    struct Output {
        MapFlag flag;
        std::vector<const char *> paths;
    };
    std::vector<MapPictureJob> jobs;
    std::vector<Output> outputs;
    for (const MapPictureSet *set = mapPictureSetsBegin(); set != mapPictureSetsEnd(); ++set) {
        const BuiltinMap *builtin = builtinMapFor(set->flag);
        if (!builtin)
            continue; // its pictures come with its map
        resetStateSubsystem();
        selectMap(set->flag);
        if (buildBuiltinMap(*builtin) != 0) {
            std::fprintf(stderr, "artgen: the map of %s does not build\n", set->plain);
            std::exit(1);
        }
        const QRect panel(playerPanelPosition(set->flag), QSize(kPlayerPanelWidth, kPlayerPanelHeight));
        const auto addJob = [&](bool large, std::vector<const char *> paths) {
            const QSize size = large ? QSize(kLargePictureWidth, kLargePictureHeight)
                                     : QSize(kDesignPictureWidth, kDesignPictureHeight);
            jobs.push_back({mapTables, panel, size, large ? 1.25 : 1.0, mapOutlineFor(set->flag), QImage(),
                            OutlineLinks::AllOverLand, wrapOf(set->flag)});
            outputs.push_back({set->flag, std::move(paths)});
        };
        std::vector<const char *> designSize;
        for (const char *path : {set->plain, set->wide})
            if (path)
                designSize.push_back(path);
        if (!designSize.empty())
            addJob(false, designSize);
        if (set->large)
            addJob(true, {set->large});
    }
    drawMapPictures(jobs);

    for (size_t i = 0; i < jobs.size(); ++i) {
        const MapPictureJob &job = jobs[i];
        const bool large = job.scale > 1.0;
        for (const char *path : outputs[i].paths) {
            reportMapPictureQuality(job.image, job.map, job.scale, aliasOf(path));
            out.addResourceImage(aliasOf(path), withExactPalette(job.image));
            resetStateSubsystem();
            selectMap(outputs[i].flag);
            mapTables = job.map;
            out.addPreviewImage(previewNameOf(path), paintedMapPreview(job.image, large, 6));
        }
    }
    resetStateSubsystem();
}
