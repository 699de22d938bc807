// One tick of the game loop: the demo, the network watchdog, then exactly one queued step. The
// rules have already changed the game state; the steps bring what the players see up to it.

#include "app/ViewArea.h"

#include "app/GameLoop.h"
#include "app/GameLoopInternal.h"
#include "app/PaintStatusBar.h"
#include "app/WindowState.h"
#include "rules/TurnState.h"
#include "state/GameState.h"
#include "state/SpriteQueue.h"
#include "state/StepQueues.h"

namespace {

// The look-ahead never reads past this record.
constexpr int kLookAheadLimit = 199;

bool buttonsChangedSincePaint()
{
    for (int b = ButtonNext; b <= ButtonCancel; ++b)
        if (inGameButtonEnabled[b] != gameButtonDrawn[b])
            return true;
    return false;
}

// A human's battle is shown by its rocket and the blast behind it, in the message queue: while
// either is still to play the message queue plays on, and the steps that paint the battle's
// result wait in the action queue until the sprites are gone, as the clicks do. (Armies flying
// in are landed by their sprite itself: their steps need no such wait.)
bool battleAnimationWaiting()
{
    if (!spriteAnimationActive)
        return false;
    for (int i = qMax(1, messageQueueIndex + 1); i <= messageQueueCount && i <= kMessageQueueCapacity; ++i) {
        const QueueStep &step = messageQueue[i];
        if (step.type == kMessageSpriteStep && isSpriteKind(step.arg[3]) && !spriteBringsArmies(step.arg[3]))
            return true;
    }
    return false;
}

// Otherwise a helicopter or plane bringing a human's armies may fly before the action steps
// still waiting: the look-ahead finds one (kind above 2, no second territory) among the message
// steps queued and not yet played.
bool messageStepGoesFirst()
{
    if (battleAnimationWaiting())
        return true;
    if (!animationsEnabled || messageQueueCount <= 0 || actionQueueCount <= 0 || pendingMoveArmies <= 0)
        return false;
    const int next = messageQueueIndex + 1;
    if (next < 1 || next >= messageQueueCount || next > kLookAheadLimit)
        return false;
    // Records past the count are left from an earlier fill of the queue: never looked at.
    for (int i = next; i <= messageQueueCount && i <= kLookAheadLimit; ++i) {
        const QueueStep &step = messageQueue[i];
        if (step.type <= 0)
            return false;
        if (step.type == kMessageSpriteStep && step.arg[3] > 2 && step.arg[4] == 0)
            return true;
    }
    return false;
}

// A queue that never runs dry (computer players alone queue the next turn from the turn step)
// is never reset: once half of it has been played, or it is full, the steps already played make
// room for new ones.
template <std::size_t N>
void dropPlayedSteps(std::array<QueueStep, N> &queue, qint32 &index, qint32 &count)
{
    const qint32 capacity = static_cast<qint32>(N) - 1;
    if (index <= 0 || index > count || (index < capacity / 2 && count < capacity))
        return;
    const qint32 left = count - index;
    for (qint32 i = 1; i <= left; ++i)
        queue[i] = queue[index + i];
    count = left;
    index = 0;
}

void playMessageQueue(ViewArea &view)
{
    ++messageQueueIndex;
    if (messageQueueIndex > messageQueueCount) {
        messageQueueIndex = messageQueueCount = 0;
        endSpriteRun(view, LoopQueue::Message);
        releaseAnimationHolds();
        return;
    }
    view.playMessageStep();
    dropPlayedSteps(messageQueue, messageQueueIndex, messageQueueCount);
}

void playActionQueue(ViewArea &view)
{
    ++actionQueueIndex;
    if (actionQueueIndex > actionQueueCount) {
        actionQueueIndex = actionQueueCount = 0;
        endSpriteRun(view, LoopQueue::Action);
        handOverTurn(view);
        playMessageQueue(view);
        return;
    }
    view.playActionStep();
    dropPlayedSteps(actionQueue, actionQueueIndex, actionQueueCount);
}

} // namespace

void ViewArea::gameTick()
{
    // A message box inside a tick runs its own event loop, which delivers timer events.
    if (tickInProgress)
        return;
    tickInProgress = true;
    runTickStages();
    tickInProgress = false;
}

void ViewArea::runTickStages()
{
    if (screenMode == 9 && buttonsChangedSincePaint())
        update();
    if (demoRunning && runDemoStage(*this))
        return;
    if (networkSeat > 0 && runNetworkWatchdog(*this))
        return;
    liftSprites();
    if (messageStepGoesFirst())
        playMessageQueue(*this);
    else
        playActionQueue(*this);
    landSprites();
}

void ViewArea::runGameTimerAt(int milliseconds)
{
    startGameTimer(milliseconds);
}
