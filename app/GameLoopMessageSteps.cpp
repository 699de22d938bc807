// Playing one step of the message queue: the interface side of the game (prompts and their
// sounds, continent and territory highlights, buttons enabled again, the computer players' turns,
// the passing of the turn, mission boxes, animations, pressed menu buttons, the army-count
// question and the start of a network game).

#include "app/ViewArea.h"

#include "ai/ComputerTurn.h"
#include "app/DialogState.h"
#include "app/GameLoop.h"
#include "app/GameLoopInternal.h"
#include "app/WindowState.h"
#include "rules/GameEnd.h"
#include "rules/GameStart.h"
#include "rules/Sound.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/GameState.h"
#include "state/MapPicture.h"
#include "state/SpriteQueue.h"
#include "state/StatusLine.h"
#include "state/StepQueues.h"

#include <QDialog>

namespace {

enum MessageStep {
    StepStatusText = 1,
    StepContinentConquered = 2,
    StepContinentEnds = 3,
    StepButtonsBack = 4,
    StepComputerTurns = 5,
    StepTerritoryOff = 6,
    StepTerritoryOn = 7,
    StepGameWonHere = 8,
    StepNextPlayer = 9,
    StepEscort = 18,
    StepButtonPressed = 20,
    StepConquestArmies = 22,
    StepTurnCountersReset = 23,
    StepJoin = 101,
    StepCardTradeClosed = 102,
    StepInternetGameStarts = 103,
    StepPlayerPanel = 104,
};

// Marks the Continents mission's steps 2 and 3 that show a continent of the mission.
constexpr int kMissionForm = 100;

bool inContinentsMission()
{
    return missionType == 1;
}

// While the mission shows a continent, the turn is held: no button and no selection.
void holdTurnForMission()
{
    for (int b : {ButtonAttack, ButtonAdd, ButtonMove, ButtonCancel})
        inGameButtonEnabled[b] = 0;
    attackSourcePhase = moveSourcePhase = attackTargetPhase = territoryBonusPhase = moveTargetPhase = 0;
}

// Every member of continent c highlighted or plain, with both marks.
void paintContinentMembers(ViewArea &view, int c, bool highlight)
{
    highlightChanges = highlight ? 1 : 0;
    const ContinentRecord &continent = continentTable[c];
    for (int i = 1; i <= continent.memberCount && i <= kMaxContinentMembers; ++i) {
        const int t = continent.members[i];
        if (!isValidTerritory(t))
            continue;
        territoryChanged[t] = territoryMark[t] = highlight ? 'j' : 'n';
        repaintShown(t);
    }
    view.update();
}

void tellContinent(ViewArea &view, int c, int hostCode, int clientCode)
{
    if (networkSeat <= 0)
        return;
    highlightedContinent = c;
    sendToOtherMachines(view, hostCode, clientCode);
}

void showContinentConquered(ViewArea &view, int index)
{
    QueueStep &step = messageQueue[index];
    const int c = step.arg[1];
    if (gameOver || c < 1 || c > continentCount)
        return;
    bool silent = false;
    if (inContinentsMission()) {
        holdTurnForMission();
        if (step.arg[2] == kMissionForm) {
            step.arg[2] = 0;
            silent = true;
        }
    }
    if (!silent)
        playSound(SoundContinent, 0, 0);
    paintContinentMembers(view, c, true);
    tellContinent(view, c, 1023, 1025);
}

bool rocketStillQueued()
{
    for (int i = messageQueueIndex + 1; i <= messageQueueCount && i <= kMessageQueueCapacity; ++i)
        if (messageQueue[i].type == kMessageSpriteStep && spriteIsRocket(messageQueue[i].arg[3]))
            return true;
    return false;
}

// A continent's highlight ends after the rocket of the attack has landed: the step goes to the
// back of the queue while a rocket is still to fly. A flag with no rocket left behind it (or a
// full queue) waits for nothing.
bool waitsForRocket(const QueueStep &step)
{
    if (!rocketInFlight)
        return false;
    if (rocketStillQueued() && pushMessageStep(makeStep(StepContinentEnds, step.arg[1], step.arg[2])))
        return true;
    rocketInFlight = 0;
    return false;
}

void announceNextMissionContinent(ViewArea &view)
{
    holdTurnForMission();
    const QString text = QStringLiteral("Conquer  %1").arg(askedMissionContinentName());
    view.updateWindowTitle();
    showBox(text);
    moveBlocked = 0;
}

void endContinentHighlight(ViewArea &view, int index)
{
    QueueStep &step = messageQueue[index];
    const int c = step.arg[1];
    if (gameOver || waitsForRocket(step) || c < 1 || c > continentCount)
        return;
    if (inContinentsMission() && step.arg[2] == kMissionForm) {
        step.arg[2] = 0;
        announceNextMissionContinent(view);
    }
    paintContinentMembers(view, c, false);
    tellContinent(view, c, 1024, 1026);
}

void showTerritoryMark(ViewArea &view, int t, bool highlight)
{
    if (!isValidTerritory(t))
        return;
    highlightChanges = highlight ? 1 : 0;
    territoryMark[t] = highlight ? 'j' : 'n';
    if (!highlight)
        territoryChanged[t] = 'n';
    repaintShown(t);
    view.update();
}

void announceEscort(ViewArea &view)
{
    showBox(QStringLiteral("Escort %1 ").arg(shownPlayerName(escortTarget)));
    view.updateWindowTitle();
}

// The screen a pressed button leads to once its step is played: 0 when it only redraws, -1 when
// the button has no deferred effect.
int screenAfterButton(int id)
{
    switch (id) {
    case 12:
        return 2;
    case 14:
    case 417:
    case 424:
        return 4;
    case 18:
        return placementRound > 0 ? 9 : 1;
    case 28:
    case 48:
        return 1;
    case 41:
    case 42:
    case 91:
        return id;
    case 911:
    case 912:
        return 9;
    default:
        break;
    }
    const bool redrawOnly = id == 13 || (id >= 15 && id <= 17) || (id >= 21 && id <= 27) || (id >= 43 && id <= 47)
        || (id >= 411 && id <= 416) || (id >= 421 && id <= 423) || (id >= 92 && id <= 99) || id == 101
        || id == 1021 || id == 1022 || id == 913 || (id >= 9997 && id <= 9999);
    return redrawOnly ? 0 : -1;
}

void finishButtonPress(ViewArea &view, int id)
{
    // A step the hover left for another button must not take the change the click asked for:
    // the click's own step finishes it, whichever of them the loop plays first.
    const bool clicked = screenChangeWaitsFor(id);
    const int screen = screenAfterButton(id);
    if (screen >= 0) {
        redrawAll = 1;
        if (screen > 0 && clicked)
            screenMode = screen;
        view.update();
    }
    if (clicked)
        screenChangePending = 0;
}

void askConquestArmies(const QueueStep &step)
{
    attackTargetPhase = 1;
    pendingConquestMoveCount = 1;
    if (armyCountQuestion)
        armyCountQuestion(step.arg[1], step.arg[3]);
}

// An Internet host's game starts: its list entry shows the game closed, and player 1 places.
void startInternetGame()
{
    if (gameListEntryUpload)
        gameListEntryUpload(gameListSlot, hostAddressText, 1);
    currentPlayer = 1;
    placementRound = 1;
    promptHumanPlacement(false, 0);
}

void showPlayerPanel(ViewArea &view)
{
    drawPlayerPanel();
    view.update();
}

} // namespace

void closeCardTradeNotice(ViewArea &view)
{
    if (view.cardTradeNotice)
        view.cardTradeNotice->close();
    tradeNoticeShown = 0;
}

QString askedMissionContinentName()
{
    setBuiltinContinentNames();
    const int p = currentPlayer;
    const int i = missionContinentIndex;
    if (!isValidPlayer(p) || i < 1 || i > kMaxContinents)
        return QString();
    const int c = missionContinents[p][i];
    return c >= 1 && c <= continentCount ? continentName[c].trimmed() : QString();
}

void ViewArea::playMessageStep()
{
    const int index = messageQueueIndex;
    if (index < 1 || index > kMessageQueueCapacity)
        return;
    // A copy: several steps queue new steps, and the end of a game empties the queue.
    const QueueStep step = messageQueue[index];
    endSpriteRunUnlessContinued(*this, LoopQueue::Message, step);
    switch (step.type) {
    case StepStatusText:
        if (step.arg[2] == SoundNextPlayer)
            playSound(SoundNextPlayer, 0, 0);
        setStatusText(step.text);
        break;
    case StepContinentConquered:
        showContinentConquered(*this, index);
        break;
    case StepContinentEnds:
        endContinentHighlight(*this, index);
        break;
    case StepButtonsBack:
        reopenTurnButtons();
        break;
    case StepComputerTurns:
        runComputerTurns();
        break;
    case StepTerritoryOff:
    case StepTerritoryOn:
        showTerritoryMark(*this, step.arg[1], step.type == StepTerritoryOn);
        break;
    case StepGameWonHere:
        playEndOfGame(true);
        break;
    case StepNextPlayer:
        nextPlayer();
        break;
    case StepEscort:
        announceEscort(*this);
        break;
    case kMessageSpriteStep:
        playSpriteStep(*this, LoopQueue::Message, step);
        break;
    case StepButtonPressed:
        finishButtonPress(*this, step.arg[2]);
        break;
    case StepConquestArmies:
        askConquestArmies(step);
        break;
    case StepTurnCountersReset:
        resetTurnCounters();
        break;
    case StepJoin:
        playJoinStep(step);
        break;
    case StepCardTradeClosed:
        closeCardTradeNotice(*this);
        break;
    case StepInternetGameStarts:
        startInternetGame();
        break;
    case StepPlayerPanel:
        showPlayerPanel(*this);
        break;
    default:
        // A pause (100) or a type without a handler: the step only takes its tick.
        break;
    }
}
