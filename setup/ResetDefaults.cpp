// The reset to the default options: every per-game option, flag and counter back to a fresh
// single-player game on the World map, both queues emptied and the World map built again. The
// set-up flow, the saved-game loader and the returns to the start menu begin from here.

#include "setup/ResetDefaults.h"

#include "ai/AiState.h"
#include "app/DialogState.h"
#include "app/GameLoop.h"
#include "app/GameLoopInternal.h"
#include "app/MouseInput.h"
#include "app/NetworkState.h"
#include "app/PendingStateGlobals.h"
#include "app/ViewArea.h"
#include "net/NetResume.h"
#include "persist/SavedGame.h"
#include "persist/Scores.h"
#include "persist/Settings.h"
#include "rules/GameStart.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/Campaign.h"
#include "state/GameState.h"
#include "state/MapLoading.h"
#include "state/MapPicture.h"
#include "state/Seams.h"
#include "state/SpriteQueue.h"
#include "state/StatusLine.h"
#include "state/StepQueues.h"

#include <QDialog>

const QString kClearedStepText = QStringLiteral(
    "0123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789");

void (*chatDialogCloser)() = nullptr;
void (*chatDialogMinimiser)() = nullptr;

namespace {

constexpr qint32 kNoRank = 99;
constexpr qint32 kDefaultCardSetValue = 11;
constexpr qint32 kFullExperience = 100;
constexpr qint32 kRestartSizeClass = 3;

void hideDialog(QDialog *dialog)
{
    // Hidden, not rejected: a rejection would answer the question the dialog asked.
    if (dialog)
        dialog->hide();
}

// The dialogs a game leaves open: the chat, the card-trade notice, and an army-count or card
// question that was never answered.
void closeOpenDialogs(ViewArea &view)
{
    if (chatDialogCloser)
        chatDialogCloser();
    closeCardTradeNotice(view);
    hideDialog(view.armyCountDialog);
    hideDialog(view.armyComboDialog);
    hideDialog(view.cardDialog);
    armyCountDialogOpen = cardDialogOpen = 0;
    if (!aiNamesDialogOpen)
        dialogOpen = 0;
}

// No animation of the last game flies on: the sprites come off the map picture and nothing
// that waited for one lands.
void dropAnimations(ViewArea &view)
{
    pendingMoveArmies = 0;
    dropSpriteAnimations(view);
    spriteAnimationActive = 0;
    rocketInFlight = 0;
}

void resetGameKind()
{
    neutralArmyActive = topFiveGame = rankGame = internetGame = 0;
    rankAtGameStart = rankFlagAtGameStart = kNoRank;
    settingsReloadPending = 0;
    saveHotseatNamesFlag = saveHighScoreNameFlag = partialSaveFlag = 0;
    gameMode = ModeSinglePlayer;
    campaignId = NoCampaign;
    campaignMapCount = campaignMapIndex = 1;
    campaignEnded = campaignCompleted = 0;
    difficulty = 1;
    localGameRunning = gameEnded = 0;
    networkKind = 0;
}

void resetRules()
{
    cardSetValue = kDefaultCardSetValue;
    attackRule = 'n';
    aiMinAttackArmies = 2;
    recordedOptionFlag = 0;
    strongholdsEnabled = troopExperienceEnabled = 0;
    missionType = 0;
    missionContinentIndex = 1;
    missionFailed = 0;
    escortTarget = 0;
    for (auto &row : missionContinents)
        row.fill(0);
}

void resetTerritoryMarks()
{
    for (int t = 1; t <= kMaxTerritories; ++t) {
        attackMissiles[t] = defenceMissiles[t] = 0;
        displayedAttackMissiles[t] = displayedDefenceMissiles[t] = 0;
        territoryChanged[t] = 'n';
    }
    territoryPaintFlagA = territoryPaintFlagB = 0;
    highlightedContinent = 0;
}

// The players of a fresh game: three, one of them human, with the personalities the player
// chose in the settings.
void resetPlayers()
{
    for (int p = 1; p <= kMaxPlayers; ++p) {
        troopExperience[p] = kFullExperience;
        avengeTarget[p] = personalitySetting[p] = 0;
        personality[p] = settingsRecord.personalities[p];
        turnsTaken[p] = 0;
        // No card, loss or battle of the last game is carried into the next.
        playerTable[p] = PlayerRecord{};
        for (int q = 1; q <= kMaxPlayers; ++q)
            troopExperienceShown[p][q] = kFullExperience;
    }
    randomMixPersonalities = settingsRecord.randomMixPersonalities;
    humanPlayerCount = 1;
    playerCount = 3;
    currentPlayer = 0;
    lossCount = 0;
    pairs10.fill(Pair{});
}

void loadWorldMap()
{
    selectMap(MapWorld);
    mapName.clear();
    loadSelectedBuiltinMap();
    // The start menu shows the World map as the window's start shows it.
    displayedTerritoryState = territoryState;
    cardDeckCounts[CardArtillery] = cardDeckCounts[CardInfantry] = cardDeckCounts[CardCavalry] = 17;
    cardDeckCounts[CardWild] = 2;
}

void resetTurn()
{
    gameOver = attackMadeThisTurn = noWinner = 0;
    placementRound = 0;
    // The player's choice of own or other territories stays.
    clearTurnPhases();
    selectedTerritory = sourceTerritory = targetTerritory = 0;
    moveAllowance = 0;
    moveBlocked = 0;
    armiesToPlace = territoryArmiesDue = continentArmiesDue = cardArmiesDue = attackArmies = 0;
    pendingPlacementCount = pendingTerritoryBonusCount = pendingContinentBonusCount = 0;
    pendingCardBonusCount = pendingConquestMoveCount = pendingAttackCount = pendingMoveCount = 0;
    cardEarnedThisTurn = 'n';
    canAttackFlag = 'p';
    canMoveFlag = 'n';
    refreshAttackAfterLanding = 0;
    avengerActive = missilesInPlay = 0;
    quietRounds = 0;
    offeredCardSets.fill({});
    offeredCardSetCount = 0;
    cardTradeRequired = 0;
    inGameButtonEnabled.fill(0);
    saveAllowed = 0;
    turnStarted = 1;
}

template <std::size_t N>
void clearRecords(std::array<QueueStep, N> &queue, int last)
{
    for (int i = 0; i <= last && i < int(N); ++i) {
        queue[i].type = 0;
        queue[i].arg.fill(0);
        queue[i].text = kClearedStepText;
    }
}

void resetStepQueues()
{
    clearStepQueues();
    clearRecords(actionQueue, kActionRecordsCleared);
    clearRecords(messageQueue, kMessageQueueCapacity);
}

void resetSavedGameMarks()
{
    gameLoaded = gameSaved = 0;
    resolveUnstableOnLoad = 1;
    resumedGameMark = 'n';
    clearGameUnderWay();
    useStoredMapPath = 'n';
    mapLoadOutsideSetup = 1;
    mapLoadSucceeded = 0;
}

void resetNetworkGame()
{
    resetResumedGame();
    hostAddressText = QStringLiteral(" ");
    lobbyOpen = 0;
    networkSeat = 0;
    humanSeatCount = 0;
    clientCount = 0;
    msgTerritory = msgArmies = msgOwner = msgFlag = 0;
    cardTradeValues.fill(0);
    gameListSlot = kNoGameListSlot;
    awaitedAckCode = awaitedAckSocket = ackWaitTicks = ackResendCount = 0;
    decodingGameStart = 0;
    networkSyncFlag = 0;
}

void resetPlayTime()
{
    playTimeStamp = gameStartTime = interaction().now();
    playTimeSeconds = 0;
}

} // namespace

void ViewArea::resetGameDefaults()
{
    closeOpenDialogs(*this);
    dropAnimations(*this);
    resetGameKind();
    resetRules();
    resetTerritoryMarks();
    resetPlayers();
    loadWorldMap();
    resetTurn();
    playerTableAtTurnStart = playerTable;
    resetStepQueues();
    // The bar shows the status line: a demo's prompt must not outlive the demo.
    setStatusText(QStringLiteral(" "));
    readScoresFile();
    resetSavedGameMarks();
    mapPaintState = QStringLiteral("0");
    resetNetworkGame();
    resetPlayTime();
    spriteAnimationDone = 1;
    returnToChosenOptions();
    drawPlayerPanel();
    update();
}

void confirmRestartForSetting()
{
    if (chatDialogMinimiser)
        chatDialogMinimiser();
    const qint32 sizeClass = displaySizeClass;
    const int answer = interaction().choose(QStringLiteral("Tarvan GX"),
                                            QStringLiteral("Click OK to close Tarvan GX and apply the new setting."),
                                            {QStringLiteral("OK"), QStringLiteral("Cancel")});
    if (answer != 0) {
        displaySizeClass = sizeClass;
        return;
    }
    displaySizeClass = kRestartSizeClass;
    saveSettings();
    quitProgram();
}
