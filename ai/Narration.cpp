#include "ai/Narration.h"

#include "ai/AiState.h"
#include "rules/GameEnd.h"
#include "rules/Seats.h"
#include "state/GameState.h"
#include "state/SpriteQueue.h"
#include "state/StepQueues.h"

void narrate(const QString &tail)
{
    if (fastSpeed || aiPlayer < 1 || aiPlayer > kMaxPlayers)
        return;
    queueTextEvent(shownPlayerName(aiPlayer) + tail);
}

QString countTail(int count, const char *single, const char *plural)
{
    return QString::number(count) + QLatin1String(count == 1 ? single : plural);
}

bool computerAnimationsShown()
{
    if (!animationsEnabled)
        return false;
    return networkSeat == 0 || (networkSeat == 1 && isComputerPlayer(currentPlayer));
}

void queueComputerAnimation(int t, int kind)
{
    if (computerAnimationsShown())
        queueTerritoryAnimation(t, false, kind, 0);
}
