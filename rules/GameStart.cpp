#include "rules/GameStart.h"

#include "rules/GameEnd.h"
#include "rules/PlayerRecords.h"
#include "rules/Seats.h"
#include "rules/Sound.h"
#include "rules/TurnAnimations.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "state/Campaign.h"
#include "state/ForcedOptions.h"
#include "state/GameState.h"
#include "state/MapPicture.h"
#include "state/Seams.h"
#include "state/StatusLine.h"
#include "state/StepQueues.h"

#include <algorithm>

quint8 settingsReloadPending = 0;

namespace {

constexpr int kGuardedArmies = 1 + kStrongholdBonus;
constexpr int kPlacementPerClick = 3;
constexpr int kEscortStep = 18;

int nextInSeatOrder(int p)
{
    return p >= playerCount ? 1 : p + 1;
}

void dealOnce()
{
    std::array<int, kMaxTerritories + 1> order{};
    for (int t = 1; t <= territoryCount; ++t)
        order[t] = t;
    for (int i = territoryCount; i > 1; --i)
        std::swap(order[i], order[1 + randomSource().below(i)]);
    // Round-robin over the shuffled territories, from a random seat, so the counts differ by at
    // most one and nobody is always the one with more.
    const int offset = randomSource().below(playerCount);
    for (int i = 1; i <= territoryCount; ++i)
        territoryState[order[i]] = {(i - 1 + offset) % playerCount + 1, 1};
}

// The first continent of the player's Continents mission, highlighted for a few ticks.
void queueMissionContinent(int player)
{
    const int c = missionContinents[player][1];
    if (missionType != 1 || c < 1 || c > continentCount || !messageQueueHasRoom(5))
        return;
    pushMessageStep(makeStep(100));
    pushMessageStep(makeStep(2, c, 100));
    pushMessageStep(makeStep(100));
    pushMessageStep(makeStep(100));
    pushMessageStep(makeStep(3, c, 100));
}

// Queues the placement of every computer player from the current one up to the next human of
// this machine; true when every player has had his placement.
bool queueComputerPlacements()
{
    for (int guard = 0; guard < kMaxPlayers && placementRound <= playerCount; ++guard) {
        if (isHumanOfThisMachine(currentPlayer))
            return false;
        pushActionStep(makeStep(7, currentPlayer));
        announceInitialPlacement();
        queueEndOfTurn();
        ++placementRound;
        currentPlayer = nextInSeatOrder(currentPlayer);
    }
    return placementRound > playerCount;
}

// Every player has placed: the player after the last one to place (the first to place) begins.
void finishInitialPlacement()
{
    initialPlacementPhase = 0;
    strongholdPhase = 0;
    armiesToPlace = 0;
    placementRound = 0;
    pushActionStep(makeStep(7, currentPlayer));
    beginPlayOfCurrentPlayer();
}

// The placement passes from the current player to the next one.
void passInitialPlacement()
{
    ++placementRound;
    currentPlayer = nextInSeatOrder(currentPlayer);
    if (queueComputerPlacements())
        finishInitialPlacement();
    else
        promptHumanPlacement(false, SoundNextPlayer);
}

// A stronghold may not be next to another stronghold (a territory of exactly 15 armies).
bool bordersGuardedTerritory(int t)
{
    const NeighbourList &list = territoryNeighbours[t];
    for (int i = 1; i <= kMaxNeighbours && list[i] != 0; ++i)
        if (list[i] != t && isValidTerritory(list[i]) && territoryState[list[i]].armies == kGuardedArmies)
            return true;
    return false;
}

// A new game or map: nobody has had a turn yet, so troop experience starts afresh.
void startGameCounters()
{
    turnsTaken.fill(0);
    quietRounds = 0;
    troopExperience.fill(100);
    for (auto &row : troopExperienceShown)
        row.fill(100);
}

// Initial armies the current player can still put somewhere.
int placementRoom()
{
    int room = 0;
    const int stronghold = playerTable[currentPlayer].stronghold();
    for (int t = 1; t <= territoryCount; ++t)
        if (territoryState[t].owner == currentPlayer && t != stronghold)
            room += std::max(0, kPlacementFill - territoryState[t].armies);
    return room;
}

// Initial armies the current player can still place: armies that no territory can take any
// more are not placed.
int placementLeft()
{
    return std::min(static_cast<int>(armiesToPlace), placementRoom());
}

// The current player's initial placement is over: the placement passes on.
void finishOwnPlacement()
{
    armiesToPlace = 0;
    if (networkSeat > 0) {
        // The host hands the placement round the table; the other seats are people, never
        // placed here.
        sendNetworkUpdate(networkSeat == 1 ? 1004 : 1005);
        return;
    }
    passInitialPlacement();
}

} // namespace

void promptHumanPlacement(bool showMissionContinent, int promptSound)
{
    saveAllowed = 0;
    initialPlacementPhase = 1;
    // A player dealt no territory (more players than territories) has no stronghold to choose.
    if (strongholdsEnabled && playerTable[currentPlayer].territoriesHeld() > 0) {
        strongholdPhase = 1;
        pushActionStep(makeStep(7, currentPlayer));
        queueMessage(QStringLiteral("Choose your stronghold"));
        return;
    }
    if (showMissionContinent)
        queueMissionContinent(currentPlayer);
    promptArmyPlacement(promptSound);
}

void promptArmyPlacement(int promptSound)
{
    pushActionStep(makeStep(7, currentPlayer));
    announceInitialPlacement();
    armiesToPlace = initialArmies;
    // Nothing to place (no army, or no territory that can take one): nothing to wait for.
    if (placementLeft() < 1) {
        finishOwnPlacement();
        return;
    }
    if (promptSound != 0)
        nextSoundId = promptSound;
    queueMessage(placementPrompt(initialArmies));
}

QString placementPrompt(int available)
{
    return QStringLiteral("Select a territory for initial army placement, available: %1").arg(available);
}

bool dealGivesAwayContinent()
{
    for (int c = 1; c <= continentCount; ++c) {
        const ContinentRecord &continent = continentTable[c];
        if (continent.memberCount < 2)
            continue;
        for (int p = 1; p <= playerCount; ++p)
            if (holdsContinent(p, c))
                return true;
    }
    return false;
}

void dealTerritories()
{
    if (demoRunning)
        playerCount = 9;
    computeInitialArmies();
    if (playerCount < 1 || playerCount > kMaxPlayers || territoryCount < 1)
        return;
    for (int deal = 1; deal <= kMaxRedeals; ++deal) {
        dealOnce();
        if (!dealGivesAwayContinent())
            break;
    }
    for (int t = territoryCount + 1; t <= kMaxTerritories; ++t)
        territoryState[t] = {};
    displayedTerritoryState = territoryState;
    territoryChanged.fill('n');
    territoryMark.fill('n');
    for (PlayerRecord &record : playerTable)
        record.stronghold() = 0;
    recountAllPlayers();
    settingsReloadPending = 1;
}

void announceInitialPlacement()
{
    setStatusText(shownPlayerName(currentPlayer) + QStringLiteral(", initial placement of %1 armies.").arg(initialArmies));
}

void queueEndOfTurn()
{
    // Network play has its own form of these steps.
    if (!actionQueueHasRoom(7))
        return;
    pushActionStep(makeStep(8, currentPlayer));
    pushActionStep(makeStep(11, currentPlayer));
    for (int i = 0; i < 4; ++i)
        pushActionStep(makeStep(12));
    pushActionStep(makeStep(10, currentPlayer));
}

void startLocalGame()
{
    if (playerCount < 1 || playerCount > kMaxPlayers)
        return;
    startGameCounters();
    initialPlacementPhase = 1;
    strongholdPhase = 0;
    // The neutral army, the last player, never begins.
    currentPlayer = neutralArmyActive ? randomSource().between(1, std::max(1, playerCount - 1))
                                      : randomSource().between(1, playerCount);
    gameStartTime = playTimeStamp = interaction().now();
    if (topFiveGame || campaignId > 0)
        currentPlayer = 1;
    if (gameMode == ModeDemo)
        currentPlayer = std::min(2, playerCount);
    placementRound = 1;
    saveAllowed = 0;
    const bool allPlaced = queueComputerPlacements();

    assignMissions();
    if (missionType == 3)
        pushMessageStep(makeStep(kEscortStep));

    if (gameMode == ModeDemo) {
        // The demo's seat 1 is nobody's: the computer players start at once with player 2.
        forceFastSpeed();
        initialPlacementPhase = 0;
        strongholdPhase = 0;
        currentPlayer = std::min(2, playerCount);
        pushActionStep(makeStep(7, currentPlayer));
        nextPlayer();
        inGameButtonEnabled[ButtonCancel] = 1;
        setStatusText(QLatin1String(kDemoPrompt));
        return;
    }
    if (allPlaced)
        finishInitialPlacement();
    else
        promptHumanPlacement(true, SoundNextPlayer);
}

void startPlacementPhase(bool showMissionContinent)
{
    startGameCounters();
    currentPlayer = 1;
    placementRound = 1;
    strongholdPhase = 0;
    if (queueComputerPlacements())
        finishInitialPlacement();
    else
        promptHumanPlacement(showMissionContinent, SoundNextPlayer);
}

bool strongholdAllowed(int t)
{
    if (!isValidTerritory(t) || !isValidPlayer(currentPlayer) || territoryState[t].owner != currentPlayer)
        return false;
    if (!bordersGuardedTerritory(t))
        return true;
    // Allowed after all when every territory of the player has such a neighbour.
    for (int u = 1; u <= territoryCount; ++u)
        if (territoryState[u].owner == currentPlayer && !bordersGuardedTerritory(u))
            return false;
    return true;
}

void placeStronghold(int t)
{
    if (!isValidTerritory(t) || !isValidPlayer(currentPlayer))
        return;
    territoryState[t].armies += kStrongholdBonus;
    playerTable[currentPlayer].stronghold() = t;
    recountPlayer(currentPlayer);
}

void chooseStronghold(int s)
{
    if (!strongholdPhase || !isValidTerritory(s) || territoryState[s].owner != currentPlayer) {
        interaction().beep();
        return;
    }
    // In a network game the selection itself has made the stronghold.
    const bool networkGame = gameMode == ModeHost || gameMode == ModeClient;
    if (!networkGame || playerTable[currentPlayer].stronghold() != s) {
        placeStronghold(s);
        markTerritory(s);
        pushMessageStep(makeStep(6, s));
    }
    strongholdPhase = 0;
    initialPlacementPhase = 1;
    promptArmyPlacement(0);
}

int initialPlacementLimit(int t)
{
    if (!isValidTerritory(t) || !isValidPlayer(currentPlayer) || territoryState[t].owner != currentPlayer)
        return 0;
    if (t == playerTable[currentPlayer].stronghold())
        return 0;
    const int limit = std::min({static_cast<int>(armiesToPlace), kPlacementPerClick,
                                kPlacementFill - territoryState[t].armies});
    return std::max(0, limit);
}

void initialPlacementStep(int count)
{
    const int t = selectedTerritory;
    const int placed = std::min(count, initialPlacementLimit(t));
    if (!initialPlacementPhase || placed < 1) {
        if (count >= 1)
            interaction().beep();
        unmarkTerritory(t);
        return;
    }
    armiesToPlace -= placed;
    bringArmies(t, placed, SoundPlacement);
    recountPlayer(currentPlayer);
    if (placementLeft() > 0) {
        // Each placement shows on the other machines at once.
        sendActionUpdate();
        queueMessage(placementPrompt(armiesToPlace));
        return;
    }
    finishOwnPlacement();
}
