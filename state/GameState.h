#pragma once
// The game's global tables and counts. Every table is 1-based and sized for the largest map,
// with entry 0 unused; lists of territory numbers end at the first 0.

#include <QImage>
#include <QRgb>
#include <QString>
#include <QtGlobal>

#include <array>

constexpr int kMaxTerritories = 200;
constexpr int kMaxContinents = 25;
constexpr int kMaxPlayers = 10;
constexpr int kMaxNeighbours = 11;
constexpr int kMaxContinentMembers = 20;
// A border list is a subset of a continent's members, so it can never hold more than they do.
constexpr int kMaxBorderEntries = kMaxContinentMembers;
constexpr int kRouteLength = 16;
constexpr int kMaxRoutes = 10000;
constexpr int kNetworkMaxTerritories = 116;
constexpr int kNetworkMaxContinents = 14;

struct TerritoryState {
    qint32 owner = 0;
    qint32 armies = 0;
    bool operator==(const TerritoryState &o) const { return owner == o.owner && armies == o.armies; }
    bool operator!=(const TerritoryState &o) const { return !(*this == o); }
};

// Slots 1..11; the extra last slot is always 0 so a reader can always stop at a 0.
using NeighbourList = std::array<qint32, kMaxNeighbours + 2>;
using BorderList = std::array<qint32, kMaxBorderEntries + 2>;

struct ContinentRecord {
    std::array<qint32, kMaxContinentMembers + 2> members{}; // slots 1..20
    qint32 memberCount = 0;
    qint32 weight = 0; // ten times the bonus
    qint32 bonus = 0;
};

struct MapPoint {
    qint32 x = 0;
    qint32 y = 0;
};

struct RouteRecord {
    std::array<qint32, kRouteLength + 2> t{}; // slots 1..16, chain order
};

// The 45 signed 32-bit fields of a player's record, field 0 unused. The file formats stream
// fields 1..44 in this order, so the record is kept as one array with named accessors.
struct PlayerRecord {
    enum Field {
        ContinentHeld1 = 1, // fields 1..25: one flag per continent
        TerritoriesHeld = 26,
        TotalArmies,
        ContinentBonus,
        Artillery,
        Infantry,
        Cavalry,
        Wild,
        BattleLosses,
        Battles,
        AttacksMade,
        ReinforcementRounds,
        ArmiesCommitted,
        BattlesLost,
        BattlesWon,
        ContinentBonusReceived,
        CardBonusReceived,
        ContinentsLost,
        SpareField,
        Stronghold, // 44
        FieldCount
    };
    std::array<qint32, FieldCount> f{};

    qint32 &continentHeld(int c) { return f[c]; }
    qint32 continentHeld(int c) const { return f[c]; }
    qint32 &territoriesHeld() { return f[TerritoriesHeld]; }
    qint32 &totalArmies() { return f[TotalArmies]; }
    qint32 &continentBonus() { return f[ContinentBonus]; }
    qint32 &artillery() { return f[Artillery]; }
    qint32 &infantry() { return f[Infantry]; }
    qint32 &cavalry() { return f[Cavalry]; }
    qint32 &wild() { return f[Wild]; }
    qint32 &battleLosses() { return f[BattleLosses]; }
    qint32 &battles() { return f[Battles]; }
    qint32 &attacksMade() { return f[AttacksMade]; }
    qint32 &reinforcementRounds() { return f[ReinforcementRounds]; }
    qint32 &armiesCommitted() { return f[ArmiesCommitted]; }
    qint32 &battlesLost() { return f[BattlesLost]; }
    qint32 &battlesWon() { return f[BattlesWon]; }
    qint32 &continentBonusReceived() { return f[ContinentBonusReceived]; }
    qint32 &cardBonusReceived() { return f[CardBonusReceived]; }
    qint32 &continentsLost() { return f[ContinentsLost]; }
    qint32 &stronghold() { return f[Stronghold]; }
    qint32 territoriesHeld() const { return f[TerritoriesHeld]; }
    qint32 totalArmies() const { return f[TotalArmies]; }
    qint32 stronghold() const { return f[Stronghold]; }
    qint32 cardCount() const { return f[Artillery] + f[Infantry] + f[Cavalry] + f[Wild]; }
};
static_assert(PlayerRecord::FieldCount == 45, "a player record has 45 fields");

// ---- The map: everything a map source (built-in map, map text, map file) fills. ----
// The parser builds a complete scratch copy and commits it whole, so a refused file leaves the
// previous map exactly as it was.
struct MapTables {
    std::array<NeighbourList, kMaxTerritories + 1> territoryNeighbours{};
    std::array<MapPoint, kMaxTerritories + 1> territoryPos{}; // at the 954 x 632 design size
    std::array<QString, kMaxTerritories + 1> territoryCode;
    std::array<ContinentRecord, kMaxContinents + 1> continentTable{};
    std::array<BorderList, kMaxContinents + 1> continentBorders{};
    std::array<QString, kMaxContinents + 1> continentName;
    qint32 territoryCount = 0;
    qint32 continentCount = 0;
    qint32 maxContinentSize = 0;
    qint32 maxBorderCount = 0;
    qint32 totalBorderCount = 0;
    QString mapName;
    qint32 playerPanelX = 10;
    qint32 playerPanelY = 10;
    bool smiliesAndCodes = false;
};

extern MapTables mapTables;
inline auto &territoryNeighbours = mapTables.territoryNeighbours;
inline auto &territoryPos = mapTables.territoryPos;
inline auto &territoryCode = mapTables.territoryCode;
inline auto &continentTable = mapTables.continentTable;
inline auto &continentBorders = mapTables.continentBorders;
inline auto &continentName = mapTables.continentName;
inline qint32 &territoryCount = mapTables.territoryCount;
inline qint32 &continentCount = mapTables.continentCount;
inline qint32 &maxContinentSize = mapTables.maxContinentSize;
inline qint32 &maxBorderCount = mapTables.maxBorderCount;
inline qint32 &totalBorderCount = mapTables.totalBorderCount;
inline QString &mapName = mapTables.mapName;
inline qint32 &playerPanelX = mapTables.playerPanelX;
inline qint32 &playerPanelY = mapTables.playerPanelY;

extern qint32 reinforcementDivisor; // 3 up to 90 territories, then one more per 30
extern qint32 territoriesPer12;

// ---- Territories in play ----
extern std::array<TerritoryState, kMaxTerritories + 1> territoryState;
extern std::array<TerritoryState, kMaxTerritories + 1> displayedTerritoryState;
// A spare table of the same shape, {no owner, 1 army} for every territory from start-up on.
extern std::array<TerritoryState, kMaxTerritories + 1> territoryStateCopy;
extern std::array<char, kMaxTerritories + 1> territoryChanged; // 'j' drawn highlighted
extern std::array<char, kMaxTerritories + 1> territoryMark;    // 'j' picked in a click phase
extern std::array<qint16, kMaxTerritories + 1> defenceMissiles;
extern std::array<qint16, kMaxTerritories + 1> attackMissiles;
extern std::array<qint16, 224> displayedDefenceMissiles;
extern std::array<qint16, 224> displayedAttackMissiles;

// ---- Routes for the computer players ----
extern std::array<RouteRecord, kMaxRoutes + 1> routeTable;
extern qint32 routeCount;
// Counts every clearing of the route table, so that an index of it knows to start afresh.
extern quint32 routeTableClearings;
extern std::array<qint32, 5> routeLimits; // 1..4: segments, plans, routes, stored setting

// ---- Players ----
extern std::array<PlayerRecord, kMaxPlayers + 1> playerTable;
extern std::array<PlayerRecord, kMaxPlayers + 1> playerTableAtTurnStart;
extern qint32 lossCount;
extern qint32 turnStartPlayer;
extern std::array<QString, kMaxPlayers + 1> playerName;
// The name as every text of the game shows it, without the padding of the name table.
QString shownPlayerName(int player);
extern std::array<QString, kMaxPlayers + 1> configuredPlayerName;
extern std::array<qint32, kMaxPlayers + 1> personality;        // 0..5
extern std::array<qint32, kMaxPlayers + 1> personalitySetting; // 0..6, 6 = Unstable
extern std::array<qint32, kMaxPlayers + 1> avengeTarget;
extern std::array<qint32, kMaxPlayers + 1> troopExperience; // a percentage
extern std::array<qint32, kMaxPlayers + 1> turnsTaken;
// Row p: the troop experience of every player as it stood at the start of p's turn.
extern std::array<std::array<qint32, kMaxPlayers + 1>, kMaxPlayers + 1> troopExperienceShown;
extern qint32 playerCount;
extern qint32 humanPlayerCount;
// A network game's highest human seat; below it, a seat the computer plays for its absent player
// carries the computer's mark in its name (rules/Seats.h).
extern qint32 humanSeatCount;
extern qint32 currentPlayer;
extern quint8 gameOver;
extern qint32 initialArmies;
extern qint32 excludedContinent;

enum CardKind { CardWild = 0, CardCavalry = 1, CardInfantry = 2, CardArtillery = 3 };
extern std::array<qint32, 4> cardDeckCounts; // indexed by CardKind

// ---- Game options ----
enum GameMode { ModeSinglePlayer = 1, ModeHost = 2, ModeClient = 3, ModeHotseat = 4, ModeDemo = 5 };
extern char attackRule;        // 'j' "1-for-1", 'n' "Dice-like"
extern qint32 aiMinAttackArmies; // 3 with "1-for-1", 2 with "Dice-like"
extern quint8 strongholdsEnabled;
extern quint8 troopExperienceEnabled;
extern qint32 missionType; // 0 Conquer All, 1 Continents, 2 Hold Continents, 3 Escort
extern quint8 neutralArmyActive;
extern quint8 animationsEnabled;
extern qint32 gameMode;
extern qint32 difficulty; // 0 Easy, 1 Normal
extern quint8 recordedOptionFlag;
extern quint8 randomMixPersonalities;
extern quint8 topFiveGame;
extern qint32 networkSeat; // 0 local, 1 host, 2..5 the client's own player
extern qint32 exitReason;

// Options kept in the settings file.
extern quint8 fastSpeed;
extern quint8 speedFlag288;
extern quint8 speedFlag224;
extern quint8 speedFlag160;
extern quint8 speedFlag96;
extern quint8 hideMapDownloadHint;
extern quint8 displayOptionA;
extern quint8 displayOptionB;
extern qint32 displaySizeClass;
// 1 None (silence all), 2 Attack, 3 Add, 4 Move, 5 Next player, 6 Player out,
// 7 Continent conquered, 8 Victory, 9 Sonar while connecting.
extern std::array<quint8, 10> soundEnabled;

// ---- Map picture ----
extern QImage mapImage;
extern QString customMapImagePath;
extern QString mapPaintState; // "0": the next paint is a map's first
extern std::array<QRgb, 20> colourTable;
// The colour table as every game starts with it (entry 0..19).
QRgb startColour(int entry);
extern std::array<QRgb, 15> greyTable;
extern quint8 highlightChanges;
extern qint32 nextSoundId;
extern qint32 nextArmyDelta;
extern quint8 networkSyncFlag;

// ---- Operations ----
// Every global of this header back to its start value (used at start-up and by the tests).
void resetGameState();
// The per-game counters: a full card deck, the 'n' marks and the territories per 12.
void resetGameCounters();
// The armies each player places at the start: about 1.86 per territory shared among the players
// (fewer with exactly 3), and never fewer than `kLeastInitialArmies`.
constexpr qint32 kLeastInitialArmies = 1;
void computeInitialArmies();
// Every territory of the map to a colour per continent with one army (the menu's preview).
void assignContinentColours();
// After a new map's tables are in: its divisor, a deal table coloured by continent, a full
// deck, and a first paint to come.
void settleNewMap();
// Empties the route table; the only way it is ever emptied.
void clearRoutes();
qint32 reinforcementDivisorFor(qint32 territories);
qint32 territoriesPer12For(qint32 territories);
// The continent a territory belongs to: the first whose member list holds it, or 0.
int continentOfTerritory(int t);
bool isNeighbour(int from, int to);
// Inline: the computer players ask these millions of times a turn.
inline bool isValidTerritory(int t)
{
    return t >= 1 && t <= territoryCount;
}
inline bool isValidPlayer(int p)
{
    return p >= 1 && p <= playerCount;
}
