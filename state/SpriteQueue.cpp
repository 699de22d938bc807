#include "state/SpriteQueue.h"

#include "state/StepQueues.h"

#include <QVector>

quint8 spriteAnimationActive = 0;
quint8 spriteAnimationDone = 1;
quint8 suppressChangeAnimation = 0;
qint32 pendingLandingTerritory = 0;

namespace {

int ownerOf(int t)
{
    return isValidTerritory(t) ? territoryState[t].owner : 0;
}

// Explosions and rockets show the attacker's colour (the owner of the second territory); the
// helicopters and the plane the colour of the territory they fly to.
int spriteColour(int t, int kind, int second)
{
    const bool attackerColour = kind == SpriteNuke || kind == SpriteExplosion || spriteIsRocket(kind);
    return attackerColour ? ownerOf(second) : ownerOf(t);
}

// The frames to queue: every frame, or first, middle and last of the network explosions.
QVector<int> framesToQueue(int kind)
{
    QVector<int> frames;
    const bool shortForm = networkAnimations && (kind == SpriteNuke || kind == SpriteExplosion);
    if (shortForm) {
        const int last = kSpriteSteps[kind];
        frames = {1, (last + 1) / 2, last};
    } else if (animationsEnabled) {
        for (int f = 1; f <= kSpriteSteps[kind]; ++f)
            frames.append(f);
    }
    return frames;
}

} // namespace

bool isSpriteKind(int kind)
{
    return kind >= 1 && kind <= kSpriteKinds;
}

bool isLastSpriteFrame(int kind, int frame)
{
    return isSpriteKind(kind) && frame == kSpriteSteps[kind];
}

bool spriteBringsArmies(int kind)
{
    return kind == SpriteLargeHelicopter || kind == SpriteSmallHelicopter || kind == SpritePlane;
}

bool spriteIsRocket(int kind)
{
    return kind == SpriteRocketLeft || kind == SpriteRocketRight;
}

bool queueTerritoryAnimation(int t, bool toMessageQueue, int kind, int second)
{
    if (!isSpriteKind(kind))
        return false;
    if (toMessageQueue && spriteBringsArmies(kind))
        pendingLandingTerritory = t;
    const QVector<int> frames = framesToQueue(kind);
    const bool room = toMessageQueue ? messageQueueHasRoom(frames.size()) : actionQueueHasRoom(frames.size());
    if (frames.isEmpty() || !room)
        return false;
    const int colour = spriteColour(t, kind, second);
    for (int frame : frames) {
        const QueueStep step = makeStep(toMessageQueue ? kMessageSpriteStep : kActionSpriteStep, t, frame, kind,
                                        second, colour);
        if (toMessageQueue)
            pushMessageStep(step);
        else
            pushActionStep(step);
    }
    if (toMessageQueue)
        spriteAnimationActive = 1;
    return true;
}

bool messageAnimationQueuedAfter(int index)
{
    for (int i = qMax(1, index + 1); i <= messageQueueCount && i <= kMessageQueueCapacity; ++i)
        if (messageQueue[i].type == kMessageSpriteStep && isSpriteKind(messageQueue[i].arg[3]))
            return true;
    return false;
}

void resetSpriteQueueState()
{
    spriteAnimationActive = 0;
    spriteAnimationDone = 1;
    suppressChangeAnimation = 0;
    pendingLandingTerritory = 0;
}
