#include "rules/TurnAnimations.h"

#include "rules/GameEnd.h"
#include "rules/Seats.h"
#include "rules/Sound.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "state/GameState.h"
#include "state/SpriteQueue.h"
#include "state/StepQueues.h"

namespace {

constexpr int kNukeArmies = 10;
// A placement of more than this many armies comes by the large helicopter.
constexpr int kSmallHelicopterArmies = 3;

int blastKind(bool conquered)
{
    return nuclearBattle(conquered) ? SpriteNuke : SpriteExplosion;
}

// The rocket leans toward the attacked territory.
int rocketKind(int from, int to)
{
    return territoryPos[to].x < territoryPos[from].x ? SpriteRocketLeft : SpriteRocketRight;
}

// A computer player's turn queues all its steps at once: its blasts stop, as its texts do, long
// before the territory steps could run short of room.
bool actionQueueSparesRoomFor(int steps)
{
    return actionQueueCount + steps <= kTextEventLimit;
}

// The rocket and the blast go together or not at all; false when there was no room for both.
bool queueRocketAndBlast(int from, int to, int blast)
{
    const int rocket = rocketKind(from, to);
    if (!messageQueueHasRoom(kSpriteSteps[rocket] + kSpriteSteps[blast]))
        return false;
    queueTerritoryAnimation(to, true, rocket, from);
    queueTerritoryAnimation(to, true, blast, from);
    return true;
}

bool armiesFlyIn()
{
    return networkSeat == 0 && animationsEnabled && pendingMoveArmies == 0;
}

int carrierKind(int armies, int sound)
{
    if (sound == SoundMove)
        return SpritePlane;
    return armies > kSmallHelicopterArmies ? SpriteLargeHelicopter : SpriteSmallHelicopter;
}

} // namespace

bool nuclearBattle(bool conquered)
{
    return conquered && attackArmies >= kNukeArmies;
}

void queueBattleAnimations(int from, int to, bool conquered)
{
    if (!isValidTerritory(from) || !isValidTerritory(to))
        return;
    const int blast = blastKind(conquered);
    if (networkSeat > 0) {
        queueTerritoryAnimation(to, false, blast, from);
        return;
    }
    if (!animationsEnabled)
        return;
    if (!isHumanOfThisMachine(territoryState[from].owner)) {
        if (actionQueueSparesRoomFor(kSpriteSteps[blast]))
            queueTerritoryAnimation(to, false, blast, from);
        return;
    }
    if (queueRocketAndBlast(from, to, blast))
        rocketInFlight = 1;
}

void bringArmies(int t, int armies, int sound)
{
    if (!isValidTerritory(t) || armies < 1)
        return;
    if (armiesFlyIn() && queueTerritoryAnimation(t, true, carrierKind(armies, sound), 0)) {
        // The carrier's sound starts with it; the armies land with its last frame.
        pendingMoveArmies = armies;
        playSound(sound, territoryState[t].owner, armies);
        return;
    }
    territoryState[t].armies += armies;
    showArmiesArriving(t, sound, armies);
}

int armiesArrivingAt(int t)
{
    return t == pendingLandingTerritory && pendingMoveArmies > 0 ? pendingMoveArmies : 0;
}
