#include "ai/TroopWeighting.h"

#include "ai/AiState.h"
#include "rules/PlayerRecords.h"
#include "state/GameState.h"

namespace {

bool weightingOpen = false;

} // namespace

int weightedArmies(int armies, int owner)
{
    if (owner < 1 || owner > kMaxPlayers)
        return armies;
    const qint64 weighted = static_cast<qint64>(armies) * troopExperience[owner] / 100;
    return static_cast<int>(qBound<qint64>(1, weighted, 1000000));
}

TroopWeighting::TroopWeighting()
{
    if (!troopExperienceEnabled || weightingOpen)
        return;
    weightingOpen = applied_ = true;
    for (int t = 1; t <= kMaxTerritories; ++t)
        savedArmies[t] = territoryState[t].armies;
    for (int t = 1; t <= territoryCount; ++t)
        territoryState[t].armies = weightedArmies(territoryState[t].armies, territoryState[t].owner);
}

TroopWeighting::~TroopWeighting()
{
    if (!applied_)
        return;
    for (int t = 1; t <= kMaxTerritories; ++t)
        territoryState[t].armies = savedArmies[t];
    weightingOpen = false;
    recountAllPlayers();
}
