#include "ai/ActionChoice.h"

#include "ai/AiState.h"
#include "ai/Reinforcement.h"
#include "ai/Toolkit.h"
#include "rules/TurnState.h"
#include "state/GameState.h"
#include "state/Seams.h"

#include <initializer_list>

namespace {

qint32 unusedScore = 0;

} // namespace

qint32 &aiScoreOf(int action)
{
    switch (action) {
    case ActionHold:
        return holdScore;
    case ActionTake:
        return takeScore;
    case ActionBreak:
        return breakScore;
    case ActionContinentRoute:
        return continentRouteScore;
    case ActionRoute:
        return routeScore;
    case ActionWeakestOpponent:
        return weakestOpponentScore;
    case ActionNearOpponent:
        return nearOpponentScore;
    default: {
        const int k = defenceOptionOf(action);
        if (k != 0)
            return defenceScore[k];
        unusedScore = 0;
        return unusedScore;
    }
    }
}

namespace {

void clearScores(std::initializer_list<int> actions)
{
    for (int action : actions)
        aiScoreOf(action) = 0;
}

void clearDefenceScores()
{
    defenceScore.fill(0);
}

// An Unstable player may take on another personality in turns 10, 20, 30 and so on.
void maybeSwitchUnstable()
{
    const int p = currentPlayer;
    if (personalitySetting[p] != PersonalityUnstable || turnsTaken[p] < 10 || turnsTaken[p] % 10 != 0)
        return;
    if (randomSource().below(3) != 1)
        return;
    personality[p] = randomSource().below(6);
    if (personality[p] != PersonalityAvenger)
        avengeTarget[p] = 0;
}

constexpr int kChoiceOrder[] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14, 22, 23, 24, 25, 26};

} // namespace

bool aiApplyDifficulty()
{
    if (difficulty == 0) {
        clearScores({ActionTake, ActionWeakestOpponent, ActionNearOpponent});
        clearDefenceScores();
        return false;
    }
    const PlayerRecord &record = playerTable[currentPlayer];
    const int armies = record.totalArmies();
    const int limit = demoRunning ? 11 : 24;
    if (armies > limit && armies > 25 && record.territoriesHeld() == 2 && aiPlayersLeft >= 4) {
        for (int t = 1; t <= territoryCount; ++t) {
            if (!isOwnTerritory(t) || armiesOf(t) >= 10)
                continue;
            aiChosenTerritory = t;
            aiPlacePool(t);
            aiPlaceTerritoryArmies();
            return true;
        }
    } else if (armies <= limit && aiPlayersLeft >= 3) {
        clearScores({ActionTake, ActionBreak, ActionContinentRoute, ActionRoute});
    }
    return false;
}

void aiApplyPersonality()
{
    if (!avengerActive)
        return;
    const int p = currentPlayer;
    const bool manyLeft = aiPlayersLeft >= 4;
    switch (personality[p]) {
    case PersonalityConqueror:
        clearDefenceScores();
        break;
    case PersonalityDefensive:
        if (manyLeft)
            routeScore = 0;
        clearScores({ActionWeakestOpponent, ActionNearOpponent});
        break;
    case PersonalityDetermined:
        if (manyLeft)
            clearScores({ActionRoute, ActionBreak});
        clearScores({ActionWeakestOpponent, ActionNearOpponent});
        clearDefenceScores();
        break;
    case PersonalityHunter:
        if ((mainEnemy == 0 || mainEnemy == p) && manyLeft)
            routeScore = 0;
        clearScores({ActionTake, ActionContinentRoute});
        if (weakestOpponentScore > 0 || nearOpponentScore > 0) {
            clearScores({ActionHold, ActionBreak, ActionRoute});
            clearDefenceScores();
        }
        break;
    default:
        break;
    }
    maybeSwitchUnstable();
}

void aiChooseBestAction()
{
    chosenAction = ActionNone;
    bestActionScore = 0;
    for (int action : kChoiceOrder) {
        if (aiScoreOf(action) > bestActionScore) {
            bestActionScore = aiScoreOf(action);
            chosenAction = action;
        }
    }
}

