#include "ai/Reinforcement.h"

#include "ai/AiState.h"
#include "ai/Narration.h"
#include "ai/Toolkit.h"
#include "rules/Sound.h"
#include "rules/TurnState.h"
#include "state/GameState.h"
#include "state/SpriteQueue.h"
#include "state/StepQueues.h"

namespace {

// The one placement sequence: the old state highlighted with the sound and the delta, the text,
// the animation, the new state highlighted, then plain. Armies only ever go onto a territory
// of the player's own.
void placeWithText(int t, int n, const QString &closing)
{
    if (n < 1 || !isOwnTerritory(t))
        return;
    highlightChanges = 1;
    nextSoundId = SoundPlacement;
    nextArmyDelta = n;
    queuePlacement(t);
    highlightChanges = 0;
    narrate(QStringLiteral(" places ") + QString::number(n) + closing);
    queueComputerAnimation(t, n < 4 ? SpriteSmallHelicopter : SpriteLargeHelicopter);
    highlightChanges = 1;
    territoryState[t].armies += n;
    playerTable[currentPlayer].totalArmies() += n;
    queuePlacement(t);
    highlightChanges = 0;
    queuePlacement(t);
}

const QString kTerritoryArmiesText = QStringLiteral(" armies based on territories.");

int planTerritoryArmies()
{
    return isValidPlayer(currentPlayer) ? territoryPlan[currentPlayer].territoryArmies : 0;
}

} // namespace

void aiPlaceArmies(int t, int n)
{
    placeWithText(t, n, n == 1 ? QStringLiteral(" army.") : QStringLiteral(" armies."));
}

void aiPlaceTerritoryArmies()
{
    if (attackMadeThisTurn || territoryArmiesPlaced || !isOwnTerritory(aiChosenTerritory))
        return;
    placeWithText(aiChosenTerritory, planTerritoryArmies(), kTerritoryArmiesText);
    territoryArmiesPlaced = 1;
}

void aiPlaceTerritoryArmies2(int t, int n)
{
    if (attackMadeThisTurn)
        return;
    placeWithText(t, n, kTerritoryArmiesText);
}

void aiPlacePool(int t)
{
    if (aiArmiesToPlace <= 0 || !isOwnTerritory(t))
        return;
    aiPlaceArmies(t, aiArmiesToPlace);
    aiArmiesToPlace = 0;
}

void aiChooseReinforcement()
{
    ++reinforceRounds;
    const int first = reinforceCandidates[1].id;
    if (!isOwnTerritory(first))
        return;
    aiChosenTerritory = first;
    const int outpost = findTargetContinentEntry(first);
    if (outpost > 0 && isOwnTerritory(outpost))
        aiChosenTerritory = outpost;

    if (aiArmiesToPlace > 0) {
        if (reinforceShortfall >= 0)
            return; // the pool waits for the later portions
        const int lacking = -reinforceShortfall;
        if (aiArmiesToPlace >= lacking) {
            aiPlaceArmies(aiChosenTerritory, lacking);
            aiArmiesToPlace -= lacking;
            return;
        }
        aiPlacePool(aiChosenTerritory);
    }
    aiPlaceTerritoryArmies();
}

void aiPlaceFromPool(int n)
{
    ++poolRounds;
    if (!isOwnTerritory(aiChosenTerritory))
        return;
    if (aiArmiesToPlace >= n) {
        aiPlaceArmies(aiChosenTerritory, n);
        aiArmiesToPlace -= n;
        return;
    }
    aiPlacePool(aiChosenTerritory);
    aiPlaceTerritoryArmies();
}
