#include "state/GameState.h"

#include <algorithm>

MapTables mapTables;
qint32 reinforcementDivisor = 3;
qint32 territoriesPer12 = 3;

std::array<TerritoryState, kMaxTerritories + 1> territoryState{};
std::array<TerritoryState, kMaxTerritories + 1> displayedTerritoryState{};
std::array<TerritoryState, kMaxTerritories + 1> territoryStateCopy{};
std::array<char, kMaxTerritories + 1> territoryChanged{};
std::array<char, kMaxTerritories + 1> territoryMark{};
std::array<qint16, kMaxTerritories + 1> defenceMissiles{};
std::array<qint16, kMaxTerritories + 1> attackMissiles{};
std::array<qint16, 224> displayedDefenceMissiles{};
std::array<qint16, 224> displayedAttackMissiles{};

std::array<RouteRecord, kMaxRoutes + 1> routeTable{};
qint32 routeCount = 0;
quint32 routeTableClearings = 0;
std::array<qint32, 5> routeLimits{};

std::array<PlayerRecord, kMaxPlayers + 1> playerTable{};
std::array<PlayerRecord, kMaxPlayers + 1> playerTableAtTurnStart{};
qint32 lossCount = 0;
qint32 turnStartPlayer = 0;
std::array<QString, kMaxPlayers + 1> playerName;

QString shownPlayerName(int player)
{
    if (player < 1 || player > kMaxPlayers)
        return QString();
    return playerName[player].trimmed();
}
std::array<QString, kMaxPlayers + 1> configuredPlayerName;
std::array<qint32, kMaxPlayers + 1> personality{};
std::array<qint32, kMaxPlayers + 1> personalitySetting{};
std::array<qint32, kMaxPlayers + 1> avengeTarget{};
std::array<qint32, kMaxPlayers + 1> troopExperience{};
std::array<qint32, kMaxPlayers + 1> turnsTaken{};
std::array<std::array<qint32, kMaxPlayers + 1>, kMaxPlayers + 1> troopExperienceShown{};
qint32 playerCount = 0;
qint32 humanPlayerCount = 0;
qint32 humanSeatCount = 0;
qint32 currentPlayer = 0;
quint8 gameOver = 0;
qint32 initialArmies = 0;
qint32 excludedContinent = 0;
std::array<qint32, 4> cardDeckCounts{};

char attackRule = 'n';
qint32 aiMinAttackArmies = 2;
quint8 strongholdsEnabled = 0;
quint8 troopExperienceEnabled = 0;
qint32 missionType = 0;
quint8 neutralArmyActive = 0;
quint8 animationsEnabled = 1;
qint32 gameMode = ModeSinglePlayer;
qint32 difficulty = 1;
quint8 recordedOptionFlag = 0;
quint8 randomMixPersonalities = 0;
quint8 topFiveGame = 0;
qint32 networkSeat = 0;
qint32 exitReason = 0;

quint8 fastSpeed = 1;
quint8 speedFlag288 = 1;
quint8 speedFlag224 = 0;
quint8 speedFlag160 = 0;
quint8 speedFlag96 = 0;
quint8 hideMapDownloadHint = 0;
quint8 displayOptionA = 1;
quint8 displayOptionB = 0;
qint32 displaySizeClass = 1;
std::array<quint8, 10> soundEnabled{};

QImage mapImage;
QString customMapImagePath;
QString mapPaintState;
std::array<QRgb, 20> colourTable{};
std::array<QRgb, 15> greyTable{};
quint8 highlightChanges = 0;
qint32 nextSoundId = 0;
qint32 nextArmyDelta = 0;
quint8 networkSyncFlag = 0;

namespace {

constexpr std::array<QRgb, 20> kStartColours = {
    0xff405080, 0xffa33232, 0xffa08030, 0xff106040, 0xff5e4f38, 0xff80ffff, 0xffffc0c0,
    0xffffffc0, 0xff80ff80, 0xffffc68c, 0xff5c335b, 0xffb6574a, 0xffab6b00, 0xff6b6b2b,
    0xff5a7c68, 0xffc0c0ff, 0xffffc0c0, 0xffffdcb9, 0xffc0c080, 0xffb8c9bf};

constexpr std::array<QRgb, 15> kStartGreys = {
    0xff800040, 0xff686868, 0xff7f7f7f, 0xffc3c3c3, 0xffc6c6c6, 0xff535353, 0xff2b2b2a, 0xff2b2b2b,
    0xff979797, 0xff393939, 0xff808080, 0xff646464, 0xffc0c0c0, 0xffacacac, 0xff000000};

} // namespace

void resetGameState()
{
    mapTables = MapTables{};
    for (QString &code : territoryCode)
        code = QStringLiteral(" ");
    reinforcementDivisor = 3;
    territoriesPer12 = 3;

    territoryState.fill({});
    displayedTerritoryState.fill({});
    territoryStateCopy.fill({0, 1});
    territoryStateCopy[0] = {};
    territoryChanged.fill('n');
    territoryMark.fill('n');
    defenceMissiles.fill(0);
    attackMissiles.fill(0);
    displayedDefenceMissiles.fill(0);
    displayedAttackMissiles.fill(0);

    clearRoutes();
    routeLimits = {0, 8000, 2000, 10000, 80};

    playerTable.fill({});
    playerTableAtTurnStart.fill({});
    lossCount = 0;
    turnStartPlayer = 0;
    for (QString &name : playerName)
        name = QString(18, QLatin1Char(' '));
    configuredPlayerName.fill(QString());
    personality.fill(0);
    personalitySetting.fill(0);
    avengeTarget.fill(0);
    troopExperience.fill(100);
    turnsTaken.fill(0);
    for (auto &row : troopExperienceShown)
        row.fill(100);
    playerCount = 0;
    humanPlayerCount = 0;
    humanSeatCount = 0;
    currentPlayer = 0;
    gameOver = 0;
    initialArmies = 0;
    excludedContinent = 0;
    cardDeckCounts = {2, 17, 17, 17};

    attackRule = 'n';
    aiMinAttackArmies = 2;
    strongholdsEnabled = 0;
    troopExperienceEnabled = 0;
    missionType = 0;
    neutralArmyActive = 0;
    animationsEnabled = 1;
    gameMode = ModeSinglePlayer;
    difficulty = 1;
    recordedOptionFlag = 0;
    randomMixPersonalities = 0;
    topFiveGame = 0;
    networkSeat = 0;
    exitReason = 0;

    fastSpeed = 1;
    speedFlag288 = 1;
    speedFlag224 = speedFlag160 = speedFlag96 = 0;
    hideMapDownloadHint = 0;
    displayOptionA = 1;
    displayOptionB = 0;
    displaySizeClass = 1;
    soundEnabled = {0, 0, 1, 1, 1, 1, 1, 1, 1, 1};

    mapImage = QImage();
    customMapImagePath.clear();
    mapPaintState = QStringLiteral("0");
    colourTable = kStartColours;
    greyTable = kStartGreys;
    highlightChanges = 0;
    nextSoundId = 0;
    nextArmyDelta = 0;
    networkSyncFlag = 0;
}

QRgb startColour(int entry)
{
    return kStartColours[static_cast<size_t>(qBound(0, entry, static_cast<int>(kStartColours.size()) - 1))];
}

void resetGameCounters()
{
    cardDeckCounts = {2, 17, 17, 17};
    territoryMark.fill('n');
    territoriesPer12 = territoriesPer12For(territoryCount);
}

void computeInitialArmies()
{
    if (playerCount <= 0) {
        initialArmies = 0;
        return;
    }
    const qint32 t = static_cast<qint32>(territoryCount * 2.857);
    const qint32 pool = playerCount == 3 ? t - 14 : t + 1;
    // On a small map the formula gives nothing or less (3 players, 9 territories or fewer):
    // every player still places one army.
    initialArmies = std::max<qint32>(kLeastInitialArmies, pool / playerCount - territoryCount / playerCount);
}

void assignContinentColours()
{
    for (int t = 1; t <= kMaxTerritories; ++t)
        territoryState[t] = t <= territoryCount ? TerritoryState{0, 1} : TerritoryState{};
    for (int c = 1; c <= continentCount; ++c) {
        const ContinentRecord &continent = continentTable[c];
        for (int i = 1; i <= kMaxContinentMembers && continent.members[i] != 0; ++i)
            territoryState[continent.members[i]].owner = (c - 1) % kMaxPlayers + 1;
    }
    displayedTerritoryState = territoryState;
}

void settleNewMap()
{
    reinforcementDivisor = reinforcementDivisorFor(territoryCount);
    assignContinentColours();
    resetGameCounters();
    mapPaintState = QStringLiteral("0");
}

void clearRoutes()
{
    routeTable.fill({});
    routeCount = 0;
    ++routeTableClearings;
}

qint32 reinforcementDivisorFor(qint32 territories)
{
    if (territories <= 90)
        return 3;
    return qMin(7, 4 + (territories - 91) / 30);
}

qint32 territoriesPer12For(qint32 territories)
{
    return qBound(3, territories / 12, 10);
}

int continentOfTerritory(int t)
{
    for (int c = 1; c <= continentCount; ++c) {
        const ContinentRecord &continent = continentTable[c];
        for (int i = 1; i <= kMaxContinentMembers && continent.members[i] != 0; ++i)
            if (continent.members[i] == t)
                return c;
    }
    return 0;
}

bool isNeighbour(int from, int to)
{
    if (!isValidTerritory(from))
        return false;
    const NeighbourList &list = territoryNeighbours[from];
    for (int i = 1; i <= kMaxNeighbours && list[i] != 0; ++i)
        if (list[i] == to)
            return true;
    return false;
}

