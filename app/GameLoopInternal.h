#pragma once
// What the sources of the game loop share among themselves.

#include "app/PaintMapView.h"
#include "state/StepQueues.h"

#include <QByteArray>
#include <QPoint>
#include <QString>
#include <QVector>

class ViewArea;

enum class LoopQueue { Action = 0, Message = 1 };

// ---- Sprites (GameLoopSprites.cpp) ----
// The sprites come off the map picture before a step changes it and go back on after it, so a
// repaint never lands in a saved background and overlapping animations never mix their pixels.
void liftSprites();
void landSprites();
// A step of `queue` that does not continue that queue's animation ends it where it stands: the
// animation's frames were cut off.
void endSpriteRunUnlessContinued(ViewArea &view, LoopQueue queue, const QueueStep &step);
// The queue was emptied or has run dry: its animation is over.
void endSpriteRun(ViewArea &view, LoopQueue queue);
// Every sprite off the map, the game's pace back and everything that waited for one released.
void dropSpriteAnimations(ViewArea &view);
// Message step 19 and action step 16.
void playSpriteStep(ViewArea &view, LoopQueue queue, const QueueStep &step);
// Nothing of the message queue flies any more: clicks are taken again, no attack waits for a
// rocket, and armies still on their way arrive.
void releaseAnimationHolds();
// Adds `pendingMoveArmies` to territory t in the rules' and the shown state; false (the armies
// still pending) when there are none or t is no territory.
bool landPendingMoveArmies(int t);
// No animation on the map, none running.
void resetSpriteOverlay();

// ---- Network (GameLoopNetwork.cpp) ----
// The four-digit code and the state snapshot, as every message of a network game is sent.
QByteArray composeMessage(ViewArea &view, int code);
// The watchdog of the acknowledged messages; true when it ends the tick.
bool runNetworkWatchdog(ViewArea &view);
// Message step 101: a client's join request; with no game at the host's address, the start menu.
void playJoinStep(const QueueStep &step);
// Message steps 2 and 3 tell the other machines: the host its clients, a client the host.
void sendToOtherMachines(ViewArea &view, int hostCode, int clientCode);

// ---- Turns (GameLoopTurns.cpp) ----
// The game's information box: a mission's news, the end of a game.
void showBox(const QString &text);
// The action queue has run dry: begins the turn of a human of this machine not yet begun.
void handOverTurn(ViewArea &view);

// ---- Demo (GameLoopDemo.cpp) ----
// The demo stage of the tick; true when it set up a new demo game (the tick ends).
bool runDemoStage(ViewArea &view);

// ---- Message steps (GameLoopMessageSteps.cpp) ----
// The card-trade notice closed (action step 4 and message step 102).
void closeCardTradeNotice(ViewArea &view);

// ---- Missions ----
// The name of the continent the Continents mission now asks of the current player, without the
// padding of the name table (the built-in map's continent names set first); empty when none.
QString askedMissionContinentName();
