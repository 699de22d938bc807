#pragma once
// Painting territories and the player panel into the map picture, and finding the territory
// under a point.

#include "state/BuiltinMaps.h"
#include "state/MapRegions.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <QtGlobal>

// Paints territory t into `mapImage`: the owner's colour, the army number (capped at 999)
// and its marks. `drawFlag` is carried by every caller but changes nothing in the picture.
void updateTerritoryDisplay(int territory, int armies, int owner, int highlighted, int missileHitMark,
                            int drawFlag);
// Shows territory t as it now stands: marks it, copies it to the displayed state and paints it.
void sendTurnUpdate(int territory);
// The box listing the players, painted into `mapImage` at the map's panel position: each
// player's name and the territories and armies the map shows him, and `currentPlayer` as the
// player to play. Outside a game (no valid `currentPlayer`) the box is left out.
void drawPlayerPanel();
// Paints the panel again, for the player it names, when the names, figures or experience
// shown on it no longer match the map: the paint handler calls it before every paint.
void refreshPlayerPanel();

struct PlayerPanelRow {
    QString name;
    int territories = 0;
    int armies = 0;
    int experience = 0;
    bool operator==(const PlayerPanelRow &o) const
    {
        return name == o.name && territories == o.territories && armies == o.armies && experience == o.experience;
    }
};
struct PlayerPanelContent {
    int players = 0;
    int toPlay = 0; // 0: no panel
    bool experienceShown = false;
    std::array<PlayerPanelRow, kMaxPlayers + 1> rows{};
    bool operator==(const PlayerPanelContent &o) const
    {
        return players == o.players && toPlay == o.toPlay && experienceShown == o.experienceShown && rows == o.rows;
    }
};
// What the panel painted last shows.
const PlayerPanelContent &playerPanelShown();
// Where the panel painted last draws line `line`, in picture pixels: the row of player `line`, or
// after the players' rows the line of the player to play; a name drawn there stays within it.
// Empty when there is no such line.
QRect playerPanelLineArea(int line);
// The territory whose region holds window pixel (x, y), or 999 when there is none.
void territoryAtPoint(int x, int y, int &territory);
// Multiplies both values by `displayScale`, truncating toward zero.
void scalePoint(int &x, int &y);

// ---- The map pictures ----
constexpr int kDesignPictureWidth = 954;
constexpr int kDesignPictureHeight = 632;
constexpr int kLargePictureWidth = 1193;
constexpr int kLargePictureHeight = 790;

// The resource paths of a map's pictures: the plain one, the wide ("XW") and the large
// ("129XW") one; null where the map has none of that set.
struct MapPictureSet {
    MapFlag flag;
    const char *plain;
    const char *wide;
    const char *large;
};
// Every built-in map's pictures, one entry per map.
const MapPictureSet *mapPictureSetsBegin();
const MapPictureSet *mapPictureSetsEnd();
const MapPictureSet *mapPictureSetFor(MapFlag flag);
bool mapHasLargePicture(MapFlag flag);
// The picture of the current map for the picture sets in use (a map file's own picture path for
// a map file).
QString currentMapPicturePath();

// Makes `picture` the map picture and grows its territory regions; call it whenever a picture
// has been loaded (and fitted), before the territories are painted. Painting also notices a new
// picture of another size or another map by itself.
void installMapPicture(const QImage &picture);
// The regions of the current picture.
const TerritoryRegions &territoryRegions();
// The pixels that territory t's army number and marks may cover, in picture pixels.
QRect territoryLabelArea(int territory);
// The centre of territory t's army number in picture pixels: its label point, unless that would
// put the number off the picture or under the player panel.
QPoint armyNumberPoint(int territory);

// ---- The player panel ----
constexpr int kPlayerPanelWidth = 134;
constexpr int kPlayerPanelHeight = 140;
// The panel's corner at the design size: the built-in map's own position, or the map file's.
QPoint playerPanelPosition(MapFlag flag);
// The panel's box in picture pixels for the current map and picture set.
QRect playerPanelArea();

// The map picture's own state back to its start: no regions, nothing painted, and the view
// values of MapView.h at their start values.
void resetMapPicture();
