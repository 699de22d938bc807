#include "state/StepQueues.h"

#include "state/GameState.h"

std::array<QueueStep, kActionQueueCapacity + 1> actionQueue;
qint32 actionQueueCount = 0;
qint32 actionQueueIndex = 0;
std::array<QueueStep, kMessageQueueCapacity + 1> messageQueue;
qint32 messageQueueCount = 0;
qint32 messageQueueIndex = 0;

namespace {

template <std::size_t N>
bool pushBounded(std::array<QueueStep, N> &queue, qint32 &count, const QueueStep &step)
{
    if (count < 0 || count >= static_cast<qint32>(N) - 1)
        return false;
    ++count;
    queue[count] = step;
    return true;
}

} // namespace

QueueStep makeStep(qint32 type, qint32 a1, qint32 a2, qint32 a3, qint32 a4, qint32 a5, qint32 a6,
                   const QString &text)
{
    QueueStep step;
    step.type = type;
    step.arg = {0, a1, a2, a3, a4, a5, a6};
    step.text = text;
    return step;
}

bool pushActionStep(const QueueStep &step)
{
    return pushBounded(actionQueue, actionQueueCount, step);
}

bool pushMessageStep(const QueueStep &step)
{
    return pushBounded(messageQueue, messageQueueCount, step);
}

bool actionQueueHasRoom(int n)
{
    return actionQueueCount + n <= kActionQueueCapacity;
}

bool messageQueueHasRoom(int n)
{
    return messageQueueCount + n <= kMessageQueueCapacity;
}

void clearStepQueues()
{
    actionQueueCount = actionQueueIndex = 0;
    messageQueueCount = messageQueueIndex = 0;
}

void resetStepQueueRecords()
{
    clearStepQueues();
    const QueueStep blank = makeStep(0, 0, 0, 0, 0, 0, 0, QStringLiteral("0123456789").repeated(10));
    actionQueue.fill(blank);
    messageQueue.fill(blank);
}

void queueMessage(const QString &text)
{
    pushMessageStep(makeStep(1, text.length(), nextSoundId, 0, 0, 0, 0, text));
    nextSoundId = 0;
}

void queueTextEvent(const QString &text)
{
    if (actionQueueCount > kTextEventLimit)
        return;
    pushActionStep(makeStep(2, text.length(), 0, 0, 0, 0, 0, text));
}

void queuePlacement(int t)
{
    if (t < 1 || t > kMaxTerritories)
        return;
    const int highlight = highlightChanges ? 1 : 0;
    pushActionStep(makeStep(1, t, territoryState[t].armies, territoryState[t].owner, highlight,
                            nextSoundId, nextArmyDelta));
    nextSoundId = 0;
    nextArmyDelta = 0;
    territoryChanged[t] = highlight ? 'j' : 'n';
}
