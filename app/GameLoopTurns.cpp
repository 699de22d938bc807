// Between turns and at the end of a game: the loop begins a human's turn once the action queue
// has run dry, and plays the end of a game (the fanfare, the final map, the mission's result,
// the network's end messages) or carries a campaign on to its next map.

#include "app/ViewArea.h"

#include "app/GameLoop.h"
#include "app/GameLoopInternal.h"
#include "persist/Scores.h"
#include "rules/GameEnd.h"
#include "rules/GameStart.h"
#include "rules/Seats.h"
#include "rules/Sound.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/Campaign.h"
#include "state/GameState.h"
#include "state/MapLoading.h"
#include "state/MapPicture.h"
#include "state/Seams.h"
#include "state/StatusLine.h"
#include "state/StepQueues.h"

namespace {

// The final map: every territory lit up, or plain when the mission failed (message step 8 then
// leaves the map as it is).
void redrawFinalMap(bool wonHere)
{
    if (missionFailed && wonHere)
        return;
    const char mark = missionFailed ? 'n' : 'j';
    for (int t = 1; t <= territoryCount; ++t)
        territoryChanged[t] = mark;
    repaintEveryTerritory();
}

void showResultOfWinHere()
{
    const QString failed =
        campaignEnded ? QStringLiteral(" - Campaign Mission Failed") : QStringLiteral(" - Mission Failed");
    if (missionType == 1 && missionFailed)
        showBox(QStringLiteral("Conquer  %1").arg(askedMissionContinentName()) + failed);
    else if (missionType == 3 && missionFailed)
        showBox(QStringLiteral("Escort %1 ").arg(shownPlayerName(escortTarget)) + failed);
    else if (missionType > 0 && !missionFailed)
        showBox(campaignCompleted ? QStringLiteral("Campaign Mission Completed") : QStringLiteral("Mission Completed"));
}

void showResultOfOtherWin()
{
    if (missionType >= 1 && missionType <= 3 && missionFailed)
        showBox(campaignEnded ? QStringLiteral("Campaign Mission Failed") : QStringLiteral("Mission Failed"));
}

// A campaign map file that cannot be read ends the campaign on the World map, built whole.
void loadNextCampaignMap()
{
    if (campaignId != CampaignFromFile) {
        loadSelectedBuiltinMap();
        return;
    }
    mapCustomFlag = 0;
    mapLoadOutsideSetup = 0;
    loadMap();
    mapLoadOutsideSetup = 1;
    if (mapLoadSucceeded || selectedMap() != MapFlagCount)
        return;
    selectMap(MapWorld);
    campaignId = NoCampaign;
    campaignMapCount = 1;
    loadSelectedBuiltinMap();
}

// Troop experience starts again; the campaign's opponents start from the campaign player's
// losses.
void restartTroopExperience()
{
    for (int p = 1; p <= kMaxPlayers; ++p) {
        troopExperience[p] = 100;
        for (int q = 1; q <= kMaxPlayers; ++q)
            troopExperienceShown[p][q] = 100;
    }
    if (!troopExperienceEnabled || !isValidPlayer(campaignPlayer))
        return;
    const qint32 losses = playerTable[campaignPlayer].battleLosses();
    for (int p = 1; p <= kMaxPlayers; ++p)
        if (p != campaignPlayer)
            playerTable[p].battleLosses() = losses;
}

void continueCampaign(ViewArea &view, bool wonHere)
{
    gameOver = 0;
    dropSpriteAnimations(view);
    clearStepQueues();
    loadNextCampaignMap();
    dealTerritories();
    prepareNextCampaignMap();
    if (wonHere)
        missionContinentIndex = 1;
    repaintEveryTerritory();
    restartTroopExperience();
    drawPlayerPanel();
    view.updateWindowTitle();
    view.update();
    saveAllowed = 0;
    startPlacementPhase(wonHere && missionType == 1);
}

} // namespace

void showBox(const QString &text)
{
    interaction().message(MessageIcon::Information, QStringLiteral("Tarvan GX"), text);
}

void handOverTurn(ViewArea &view)
{
    const int player = currentPlayer;
    if (turnStarted || gameOver || !isHumanOfThisMachine(player))
        return;
    beginTurn();
    view.update();
    if (networkSeat == 1) {
        setStatusText(shownPlayerName(player) + QStringLiteral(" to play.."));
        view.broadcastToClients(1010);
    }
}

void ViewArea::playEndOfGame(bool wonHere)
{
    if (campaignEnded) {
        campaignId = NoCampaign;
    } else if (campaignId > NoCampaign) {
        if (campaignMapIndex == 1)
            campaignPlayer = currentPlayer;
        selectNextCampaignMap();
        if (!campaignCompleted) {
            continueCampaign(*this, wonHere);
            return;
        }
    }
    if (!wonHere)
        readScoresFile();
    if (!campaignEnded && !noWinner && !missionFailed)
        playSound(SoundVictory, 0, 0);
    redrawFinalMap(wonHere);
    for (int p = 1; p <= playerCount && p <= kMaxPlayers; ++p)
        if (playerTable[p].territoriesHeld() == 0)
            troopExperience[p] = 0;
    // Nothing of the last turn acts any more, and the losses shown are those of the player who
    // decided the game: the losses a won game is recorded with.
    closeTurn();
    if (isValidPlayer(currentPlayer))
        lossCount = playerTable[currentPlayer].battleLosses();
    drawPlayerPanel();
    update();

    const bool localGame = networkSeat == 0;
    if (wonHere) {
        if (localGame)
            gameEnded = 1;
        showResultOfWinHere();
    } else {
        showResultOfOtherWin();
        if (demoRunning) {
            // The demo stage sets the next demonstration game up on the next tick.
            gameOver = 0;
            gameMode = ModeSinglePlayer;
            territoryChanged.fill('n');
            territoryMark.fill('n');
            return;
        }
        if (localGame)
            gameEnded = 1;
    }
    if (networkSeat == 1)
        broadcastToClients(1027);
    else if (networkSeat > 1 && wonHere)
        sendToHost(1028);
}
