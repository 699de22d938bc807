#pragma once
// Sprite animations on the map: explosions, rockets, helicopters and the plane are queued one
// step per frame (message step 19 or action step 16); the game loop draws them and releases
// what waits for them (armies arriving, the blocked clicks) also when one is never played.

#include "state/GameState.h"

#include <QtGlobal>

#include <array>

// Kinds 1..7: nuke, explosion, large helicopter, small helicopter, rocket left, rocket right,
// propeller plane.
enum SpriteKind {
    SpriteNuke = 1,
    SpriteExplosion = 2,
    SpriteLargeHelicopter = 3,
    SpriteSmallHelicopter = 4,
    SpriteRocketLeft = 5,
    SpriteRocketRight = 6,
    SpritePlane = 7,
};
constexpr int kSpriteKinds = 7;
// Steps of a full animation by kind (its last frame number).
constexpr std::array<int, kSpriteKinds + 1> kSpriteSteps = {0, 27, 17, 12, 12, 13, 13, 14};
constexpr int kMessageSpriteStep = 19;
constexpr int kActionSpriteStep = 16;

extern quint8 spriteAnimationActive;   // a message-queue animation is queued or running: clicks wait
extern quint8 spriteAnimationDone;     // 0 between an animation's second and last frame
extern quint8 suppressChangeAnimation; // set while an animation step repaints territories
// Network games play the short explosions; the paint handler sets it with the network flag.
inline quint8 &networkAnimations = networkSyncFlag;
// Where the armies of `pendingMoveArmies` arrive: the target of the last helicopter or plane
// queued to the message queue.
extern qint32 pendingLandingTerritory;

bool isSpriteKind(int kind);
bool isLastSpriteFrame(int kind, int frame);
// The explosion kinds land nothing; the helicopters and the plane bring armies; rockets end an
// attack.
bool spriteBringsArmies(int kind);
bool spriteIsRocket(int kind);

// Queues one step per frame of an animation of `kind` on territory t: to the message queue
// (step 19) or the action queue (step 16). `second` is the second territory of explosions and
// rockets, or the player of the territory-0 form of the small helicopter. The whole run is
// queued or nothing: the full run while animations are on; in network games the explosions'
// three-step form. Returns false when nothing was queued: a caller that waits for the
// animation (a rocket's attack) goes on at once; armies meant to arrive with a helicopter or
// the plane are landed by the game loop as soon as the message queue has run dry.
bool queueTerritoryAnimation(int t, bool toMessageQueue, int kind, int second);

// A frame of a message-queue animation waits behind record `index` (the one playing now).
bool messageAnimationQueuedAfter(int index);

void resetSpriteQueueState();
