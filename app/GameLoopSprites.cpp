// Sprite animations: one frame per queued step, drawn into the map picture at the territory's
// label point, with the game timer at the animation's frame time while it flies.
//
// Each queue has at most one animation running. Its sprites sit on the map picture only between
// ticks: before a tick plays its step they are lifted off (every pixel still as the sprite left
// it gets back what was under it, latest sprite first), and after the step they are drawn again
// over the picture as the step left it. So a territory repainted under a sprite keeps its new
// look, two animations overlapping never save each other's pixels, and the picture after an
// animation is exactly the picture without it.

#include "app/ViewArea.h"

#include "app/GameLoop.h"
#include "app/GameLoopInternal.h"
#include "app/ResourceNames.h"
#include "app/SpriteStrips.h"
#include "rules/Attack.h"
#include "rules/PlayerRecords.h"
#include "rules/Sound.h"
#include "rules/TurnAnimations.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "state/Campaign.h"
#include "state/GameState.h"
#include "state/MapView.h"
#include "state/SpriteQueue.h"

#include <QPainter>

#include <algorithm>
#include <array>

namespace {

// One sprite as it was last drawn: its rectangle inside the picture, the pixels that were under
// it and the pixels it left.
struct Placement {
    QRect area;
    QVector<QRgb> under;
    QVector<QRgb> drawn;
};

struct SpriteRun {
    bool active = false;
    int kind = 0;
    int frame = 0;
    int colour = 0;
    int territory = 0;
    int second = 0;
    int interval = 0;
    quint64 started = 0; // later animations are drawn over earlier ones
    QVector<QPoint> anchors;
    QVector<Placement> placements;
};

struct Sprites {
    std::array<SpriteRun, 2> runs;
    bool onPicture = false;
    quint64 nextStart = 1;
};

Sprites &sprites()
{
    static Sprites state;
    return state;
}

SpriteRun &runOf(LoopQueue queue)
{
    return sprites().runs[queue == LoopQueue::Action ? 0 : 1];
}

// The active animations, earliest first.
QVector<SpriteRun *> activeRuns()
{
    QVector<SpriteRun *> active;
    for (SpriteRun &run : sprites().runs)
        if (run.active)
            active.append(&run);
    std::sort(active.begin(), active.end(), [](const SpriteRun *a, const SpriteRun *b) { return a->started < b->started; });
    return active;
}

bool pictureTakesSprites()
{
    return !mapImage.isNull() && mapImage.depth() == 32;
}

QRgb *pixelAt(int x, int y)
{
    return reinterpret_cast<QRgb *>(mapImage.scanLine(y)) + x;
}

// The strip's frame for a step's frame: the small helicopter repeats its three pictures.
int stripFrame(int kind, int frame)
{
    return kind == SpriteSmallHelicopter ? (frame - 1) % 3 + 1 : frame;
}

void copyArea(const QRect &area, QVector<QRgb> &into)
{
    into.resize(area.width() * area.height());
    int i = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            into[i++] = *pixelAt(x, y);
}

Placement drawSprite(const SpriteRun &run, const QPoint &anchor)
{
    const resources::SpriteKind &shape = resources::kSpriteKinds[run.kind];
    const QRect frameRect(anchor.x() + shape.offsetX, anchor.y() + shape.offsetY, shape.width, shape.height);
    Placement placement;
    placement.area = frameRect.intersected(mapImage.rect());
    if (placement.area.isEmpty())
        return placement;
    copyArea(placement.area, placement.under);
    const int picture = stripFrame(run.kind, run.frame);
    const QImage pictures = spriteStrip(run.kind, run.colour);
    if (!pictures.isNull() && picture >= 1 && picture <= shape.frames) {
        QPainter painter(&mapImage);
        painter.drawImage(frameRect.topLeft(), pictures,
                          QRect((picture - 1) * shape.width, 0, shape.width, shape.height));
    }
    copyArea(placement.area, placement.drawn);
    return placement;
}

// Pixels changed since the sprite was drawn (a repaint between ticks, a new picture) are newer
// than what was under the sprite and stay.
void eraseSprite(const Placement &placement)
{
    const QRect area = placement.area.intersected(mapImage.rect());
    const int width = placement.area.width();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const int i = (y - placement.area.top()) * width + (x - placement.area.left());
            QRgb *pixel = pixelAt(x, y);
            if (*pixel == placement.drawn[i])
                *pixel = placement.under[i];
        }
    }
}

void forgetRun(SpriteRun &run)
{
    const bool wasOnPicture = sprites().onPicture;
    liftSprites();
    run = SpriteRun{};
    if (wasOnPicture)
        landSprites();
}

// An animation has ended: the pace of another one still flying, or the game's own.
void runAfterAnimation(ViewArea &view)
{
    spriteAnimationDone = 1;
    const QVector<SpriteRun *> left = activeRuns();
    if (left.isEmpty())
        view.restartGameTimer();
    else
        view.runGameTimerAt(left.last()->interval);
}

QVector<QPoint> anchorAt(int t)
{
    if (!isValidTerritory(t))
        return {};
    int x = territoryPos[t].x;
    int y = territoryPos[t].y;
    designToPicture(x, y);
    return {QPoint(x, y)};
}

// The small helicopter over every territory of a player that holds more than one army.
QVector<QPoint> anchorsOfPlayer(int p)
{
    QVector<QPoint> anchors;
    for (int t = 1; t <= territoryCount; ++t)
        if (territoryState[t].owner == p && territoryState[t].armies > 1)
            anchors += anchorAt(t);
    return anchors;
}

bool playsForPlayer(LoopQueue queue, const QueueStep &step)
{
    return queue == LoopQueue::Action && step.arg[1] == 0 && step.arg[3] == SpriteSmallHelicopter;
}

void repaintPlain(int t)
{
    if (!isValidTerritory(t))
        return;
    territoryChanged[t] = territoryMark[t] = 'n';
    repaintShown(t);
}

// The start of a helicopter or plane of the message queue: the territory lights up under it.
void startMessageAnimation(ViewArea &view, const QueueStep &step)
{
    const int t = step.arg[1];
    if (!spriteBringsArmies(step.arg[3]) || !isValidTerritory(t))
        return;
    highlightChanges = 1;
    territoryChanged[t] = territoryMark[t] = 'j';
    suppressChangeAnimation = 1;
    repaintShown(t);
    suppressChangeAnimation = 0;
    view.update();
}

void playRocketLandingSound(int target)
{
    const bool taken = isValidTerritory(target) && territoryState[target].owner == currentPlayer;
    if (!taken)
        playSound(SoundAttack, 0, 0);
    else if (nuclearBattle(taken) && animationsEnabled)
        playSound(SoundNuke, 0, 0);
    else
        playSound(SoundConquest, 0, 0);
}

void finishMessageAnimation(ViewArea &view, const QueueStep &step)
{
    const int kind = step.arg[3];
    const int t = step.arg[1];
    const int second = step.arg[4];
    highlightChanges = 0;
    suppressChangeAnimation = 1;
    if (spriteIsRocket(kind))
        rocketInFlight = 0;
    if (spriteBringsArmies(kind))
        landPendingMoveArmies(t);
    repaintPlain(t);
    if (!spriteBringsArmies(kind))
        repaintShown(second);
    suppressChangeAnimation = 0;
    view.update();
    if (refreshAttackAfterLanding && (kind == SpriteLargeHelicopter || kind == SpriteSmallHelicopter)) {
        refreshAttackAfterLanding = 0;
        updateActionFlags();
        inGameButtonEnabled[ButtonAttack] = canAttackFlag == 'a' ? 1 : 0;
    }
    // A blast behind a rocket keeps the clicks waiting until it has played too.
    spriteAnimationActive = messageAnimationQueuedAfter(messageQueueIndex) ? 1 : 0;
    if (spriteIsRocket(kind)) {
        sourceTerritory = second;
        targetTerritory = t;
        playRocketLandingSound(t);
        if (!gameOver && !campaignCompleted)
            concludeAttack();
    }
}

void finishActionAnimation(ViewArea &view, const QueueStep &step)
{
    if (playsForPlayer(LoopQueue::Action, step))
        return;
    const int kind = step.arg[3];
    const int second = step.arg[4];
    highlightChanges = 0;
    suppressChangeAnimation = 1;
    repaintPlain(step.arg[1]);
    const bool explosion = kind == SpriteNuke || kind == SpriteExplosion;
    if (explosion && networkSeat > 0 && networkAnimations && isValidTerritory(second)) {
        const NeighbourList &list = territoryNeighbours[second];
        for (int i = 1; i <= kMaxNeighbours && list[i] != 0; ++i)
            repaintShown(list[i]);
    }
    if (explosion || spriteIsRocket(kind))
        repaintShown(second);
    suppressChangeAnimation = 0;
    view.update();
}

// One frame: a first frame starts the animation at its frame time; the last one takes it off
// the map (it is never seen: the window shows the map as the animation leaves it).
void playSpriteFrame(ViewArea &view, LoopQueue queue, const QueueStep &step, const QVector<QPoint> &anchors,
                     int colour)
{
    SpriteRun &run = runOf(queue);
    const int kind = step.arg[3];
    const int frame = step.arg[2];
    if (frame == 1 || !run.active) {
        run = SpriteRun{};
        run.active = true;
        run.kind = kind;
        run.territory = step.arg[1];
        run.second = step.arg[4];
        run.interval = spriteFrameInterval(kind);
        run.started = sprites().nextStart++;
        if (frame == 1)
            view.runGameTimerAt(run.interval);
    }
    run.frame = frame;
    run.colour = colour;
    run.anchors = anchors;
    if (isLastSpriteFrame(kind, frame)) {
        run = SpriteRun{};
        runAfterAnimation(view);
    }
    view.update();
}

} // namespace

void liftSprites()
{
    Sprites &state = sprites();
    if (!state.onPicture)
        return;
    state.onPicture = false;
    if (!pictureTakesSprites())
        return;
    QVector<SpriteRun *> runs = activeRuns();
    std::reverse(runs.begin(), runs.end());
    for (SpriteRun *run : runs) {
        for (int i = run->placements.size() - 1; i >= 0; --i)
            eraseSprite(run->placements[i]);
        run->placements.clear();
    }
}

void landSprites()
{
    Sprites &state = sprites();
    if (state.onPicture)
        return;
    state.onPicture = true;
    if (!pictureTakesSprites())
        return;
    for (SpriteRun *run : activeRuns()) {
        run->placements.clear();
        for (const QPoint &anchor : run->anchors)
            run->placements.append(drawSprite(*run, anchor));
    }
}

void endSpriteRunUnlessContinued(ViewArea &view, LoopQueue queue, const QueueStep &step)
{
    const SpriteRun &run = runOf(queue);
    if (!run.active)
        return;
    const int stepType = queue == LoopQueue::Action ? kActionSpriteStep : kMessageSpriteStep;
    const bool continues = step.type == stepType && step.arg[3] == run.kind && step.arg[2] > run.frame
        && step.arg[1] == run.territory && step.arg[4] == run.second;
    if (!continues)
        endSpriteRun(view, queue);
}

void endSpriteRun(ViewArea &view, LoopQueue queue)
{
    SpriteRun &run = runOf(queue);
    if (!run.active)
        return;
    forgetRun(run);
    if (queue == LoopQueue::Message)
        releaseAnimationHolds();
    runAfterAnimation(view);
}

void dropSpriteAnimations(ViewArea &view)
{
    const bool anyRunning = !activeRuns().isEmpty();
    for (SpriteRun &run : sprites().runs)
        if (run.active)
            forgetRun(run);
    releaseAnimationHolds();
    if (anyRunning)
        runAfterAnimation(view);
}

void playSpriteStep(ViewArea &view, LoopQueue queue, const QueueStep &step)
{
    const int kind = step.arg[3];
    const int frame = step.arg[2];
    if (frame > 1)
        spriteAnimationDone = 0;
    if (!isSpriteKind(kind))
        return;
    const bool forPlayer = playsForPlayer(queue, step);
    const int colour = forPlayer ? step.arg[4] : step.arg[5];
    const QVector<QPoint> anchors = forPlayer ? anchorsOfPlayer(step.arg[4])
                                              : anchorAt(spriteIsRocket(kind) ? step.arg[4] : step.arg[1]);
    if (frame == 1 && spriteIsRocket(kind))
        playSound(SoundMissile, colour, 0);
    if (frame == 1 && queue == LoopQueue::Message)
        startMessageAnimation(view, step);
    playSpriteFrame(view, queue, step, anchors, colour);
    if (!isLastSpriteFrame(kind, frame))
        return;
    if (queue == LoopQueue::Message)
        finishMessageAnimation(view, step);
    else
        finishActionAnimation(view, step);
}

bool landPendingMoveArmies(int t)
{
    if (pendingMoveArmies <= 0 || !isValidTerritory(t))
        return false;
    territoryState[t].armies += pendingMoveArmies;
    displayedTerritoryState[t].armies += pendingMoveArmies;
    pendingMoveArmies = 0;
    recountPlayer(territoryState[t].owner);
    return true;
}

void releaseAnimationHolds()
{
    spriteAnimationActive = 0;
    rocketInFlight = 0;
    const int t = pendingLandingTerritory;
    if (landPendingMoveArmies(t)) {
        highlightChanges = 0;
        repaintPlain(t);
    }
}

int spriteFrameInterval(int kind)
{
    // Columns: network explosions, fast or network, speed 224, any other speed.
    static const std::array<std::array<int, 4>, kSpriteKinds + 1> intervals = {{
        {0, 0, 0, 0},
        {128, 32, 32, 32},
        {128, 32, 32, 48},
        {40, 40, 80, 160},
        {32, 32, 64, 128},
        {48, 48, 96, 192},
        {48, 48, 96, 192},
        {40, 40, 80, 160},
    }};
    if (!isSpriteKind(kind))
        return 0;
    int column = 3;
    if (networkAnimations && (kind == SpriteNuke || kind == SpriteExplosion))
        column = 0;
    else if (speedFlag96 || speedFlag160 || networkSeat > 0)
        column = 1;
    else if (speedFlag224)
        column = 2;
    return intervals[kind][column];
}

void resetSpriteOverlay()
{
    sprites() = Sprites{};
}
