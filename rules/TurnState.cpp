#include "rules/TurnState.h"

quint8 strongholdPhase = 0;
quint8 initialPlacementPhase = 0;
quint8 territoryBonusPhase = 0;
quint8 continentBonusPhase = 0;
quint8 cardBonusPhase = 0;
quint8 attackTargetPhase = 0;
quint8 attackSourcePhase = 0;
quint8 moveTargetPhase = 0;
quint8 moveSourcePhase = 0;
quint8 selectOwnTerritory = 0;
qint32 selectedTerritory = 0;
qint32 sourceTerritory = 0;
qint32 targetTerritory = 0;
qint32 moveAllowance = 0;
quint8 moveBlocked = 0;

qint32 placementRound = 0;
qint32 armiesToPlace = 0;
qint32 territoryArmiesDue = 0;
qint32 continentArmiesDue = 0;
qint32 cardArmiesDue = 0;
qint32 attackArmies = 0;

quint8 pendingPlacementCount = 0;
quint8 pendingTerritoryBonusCount = 0;
quint8 pendingContinentBonusCount = 0;
quint8 pendingCardBonusCount = 0;
quint8 pendingConquestMoveCount = 0;
quint8 pendingAttackCount = 0;
quint8 pendingMoveCount = 0;

quint8 turnStarted = 0;
quint8 attackMadeThisTurn = 0;
char cardEarnedThisTurn = 'n';
char canAttackFlag = 'p';
char canMoveFlag = 'n';
std::array<quint8, 7> inGameButtonEnabled{};
quint8 saveAllowed = 0;
qint32 cardTradeMarker = 0;
qint32 cardSetValue = 0;
std::array<qint32, 7> cardTradeValues{};
quint8 avengerActive = 0;
quint8 missilesInPlay = 0;
qint32 pendingMoveArmies = 0;
quint8 rocketInFlight = 0;
quint8 refreshAttackAfterLanding = 0;

std::array<std::array<qint32, kMaxContinents + 1>, kMaxPlayers + 1> missionContinents{};
qint32 missionContinentIndex = 1;
qint32 escortTarget = 0;
quint8 missionFailed = 0;
quint8 noWinner = 0;
qint32 quietRounds = 0;

quint8 localGameRunning = 0;
quint8 gameEnded = 0;
quint8 demoRunning = 0;
quint8 rankGame = 0;
qint32 rankAtGameStart = 99;
qint32 rankFlagAtGameStart = 99;
quint8 internetGame = 0;
qint32 networkKind = 0;

QDateTime gameStartTime;
QDateTime playTimeStamp;
double playTimeSeconds = 0;

void resetTurnState()
{
    strongholdPhase = initialPlacementPhase = territoryBonusPhase = continentBonusPhase = 0;
    cardBonusPhase = attackTargetPhase = attackSourcePhase = moveTargetPhase = moveSourcePhase = 0;
    selectOwnTerritory = 0;
    selectedTerritory = sourceTerritory = targetTerritory = 0;
    moveAllowance = 0;
    moveBlocked = 0;
    placementRound = armiesToPlace = territoryArmiesDue = continentArmiesDue = cardArmiesDue = 0;
    attackArmies = 0;
    pendingPlacementCount = pendingTerritoryBonusCount = pendingContinentBonusCount = 0;
    pendingCardBonusCount = pendingConquestMoveCount = pendingAttackCount = pendingMoveCount = 0;
    turnStarted = 0;
    attackMadeThisTurn = 0;
    cardEarnedThisTurn = 'n';
    canAttackFlag = 'p';
    canMoveFlag = 'n';
    inGameButtonEnabled.fill(0);
    saveAllowed = 0;
    cardTradeMarker = 0;
    cardSetValue = 0;
    cardTradeValues.fill(0);
    avengerActive = 0;
    missilesInPlay = 0;
    pendingMoveArmies = 0;
    rocketInFlight = 0;
    refreshAttackAfterLanding = 0;
    for (auto &row : missionContinents)
        row.fill(0);
    missionContinentIndex = 1;
    escortTarget = 0;
    missionFailed = 0;
    noWinner = 0;
    quietRounds = 0;
    localGameRunning = 0;
    gameEnded = 0;
    demoRunning = 0;
    rankGame = 0;
    rankAtGameStart = rankFlagAtGameStart = 99;
    internetGame = 0;
    networkKind = 0;
    gameStartTime = playTimeStamp = QDateTime();
    playTimeSeconds = 0;
}
