#pragma once
// The two step queues: the rules change the tables at once and queue what the player should
// see; the game loop plays one step per tick. Every push goes through one bounded function per
// queue, so a full queue drops the new step instead of writing past its end.

#include <QString>
#include <QtGlobal>

#include <array>

constexpr int kActionQueueCapacity = 2000;
constexpr int kMessageQueueCapacity = 200;
// Status texts stop being queued long before the action queue is full, so territory steps
// always find room.
constexpr int kTextEventLimit = 499;

struct QueueStep {
    qint32 type = 0;
    std::array<qint32, 7> arg{}; // arguments 1..6
    QString text;
};

extern std::array<QueueStep, kActionQueueCapacity + 1> actionQueue;
extern qint32 actionQueueCount;
extern qint32 actionQueueIndex; // the last step played
extern std::array<QueueStep, kMessageQueueCapacity + 1> messageQueue;
extern qint32 messageQueueCount;
extern qint32 messageQueueIndex;

QueueStep makeStep(qint32 type, qint32 a1 = 0, qint32 a2 = 0, qint32 a3 = 0, qint32 a4 = 0,
                   qint32 a5 = 0, qint32 a6 = 0, const QString &text = QString());

// The one push of each queue: false (and nothing written) when the queue is full.
bool pushActionStep(const QueueStep &step);
bool pushMessageStep(const QueueStep &step);
// Room for n more steps: an animation is queued whole or not at all.
bool actionQueueHasRoom(int n);
bool messageQueueHasRoom(int n);
void clearStepQueues();
// The queues as the program starts: empty, and every record of both holding type 0, no
// arguments and the start-up text of 100 digits ("0123456789" ten times).
void resetStepQueueRecords();

// Message step 1: a status text with the sound `nextSoundId`, which is taken.
void queueMessage(const QString &text);
// Action step 2: a status text, dropped once the action queue holds 500 steps.
void queueTextEvent(const QString &text);
// Action step 1: territory t as it stands now, with the highlight, sound and army delta that
// the caller set just before (`highlightChanges`, `nextSoundId`, `nextArmyDelta`).
void queuePlacement(int t);
