// A click on the map during a game: the decision of the human whose turn it is, read by the
// phase of his turn. A click that picks a source moves the phase on and asks for the target; a
// click that completes a step opens the army-count dialog, whose answer carries the step out
// through the turn flow. Every refusal is a beep; a refused territory is shown unpicked again.

#include "app/ViewArea.h"

#include "app/MouseInput.h"
#include "ai/Toolkit.h"
#include "rules/Attack.h"
#include "rules/GameStart.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "state/GameState.h"
#include "state/MapPicture.h"
#include "state/Seams.h"
#include "state/StepQueues.h"

#include <initializer_list>

namespace {

enum class Click { Goes, Ends };

bool anyPhase()
{
    return strongholdPhase || initialPlacementPhase || territoryBonusPhase || continentBonusPhase || cardBonusPhase
        || attackTargetPhase || attackSourcePhase || moveTargetPhase || moveSourcePhase;
}

int territoryUnder(int x, int y)
{
    int t = 999;
    territoryAtPoint(x, y, t);
    return t >= 1 && t <= territoryCount ? t : 0;
}

// The territory the phase accepts, or 0 (refused with a beep by the turn flow).
int pick(int t, quint8 own)
{
    selectOwnTerritory = own;
    selectPlacementTerritory(t);
    return selectedTerritory;
}

void refuse(int s)
{
    interaction().beep();
    unmarkTerritory(s);
}

bool stillPicked(int s)
{
    return isValidTerritory(s) && territoryMark[s] == 'j';
}

bool enemyArmiesAround(int s)
{
    return neighbourSums(s, currentPlayer).enemySum != 0;
}

bool ownNeighbourAround(int s)
{
    for (int u : neighboursOf(s))
        if (territoryState[u].owner == currentPlayer)
            return true;
    return false;
}

bool nextToSource(int s)
{
    return s != sourceTerritory && isNeighbour(sourceTerritory, s);
}

// The player's conquest still waits for the question of the armies to move in (queued behind
// the battle's steps): a new selection now would have that answer act on other territories.
bool conquestMoveAwaited()
{
    return conquestMovePending && !gameOver && conquestSource == sourceTerritory && conquestTarget == targetTerritory
        && isValidTerritory(conquestTarget) && territoryState[conquestTarget].owner == currentPlayer;
}

int attackLimit()
{
    return isValidTerritory(sourceTerritory) ? territoryState[sourceTerritory].armies - 1 : 0;
}

// Opens the army-count question for s; `pending` names the step its answer resumes. A step
// that could take no armies at all refuses s instead of asking for nothing.
Click askArmies(ViewArea &view, int s, quint8 &pending, int limit)
{
    if (limit < 1) {
        refuse(s);
        return Click::Ends;
    }
    pendingPlacementCount = pendingTerritoryBonusCount = pendingContinentBonusCount = pendingCardBonusCount = 0;
    pendingConquestMoveCount = pendingAttackCount = pendingMoveCount = 0;
    pending = 1;
    view.showArmyCountDialog(0, limit);
    return Click::Ends;
}

// The quick add: with no phase under way and Add enabled, a click on an own territory begins
// the territory-bonus placement as the Add button does, and places there.
bool beginQuickAdd(int x, int y)
{
    const int t = territoryUnder(x, y);
    if (t == 0 || territoryState[t].owner != currentPlayer) {
        interaction().beep();
        return false;
    }
    enterTerritoryBonusPhase();
    return territoryBonusPhase != 0;
}

// Whether the click is taken at all: whose turn it is, and the phase it can mean something in.
bool clickTaken(int x, int y)
{
    if (initialPlacementPhase) {
        // The placement of the players before must have been shown first.
        if (actionQueueCount <= 0 && localPlayersTurn())
            return true;
        interaction().beep();
        return false;
    }
    if (!localPlayersTurn() || conquestMoveAwaited()) {
        interaction().beep();
        return false;
    }
    if (attackSourcePhase)
        return true;
    if (!anyPhase() && inGameButtonEnabled[ButtonAdd] && !beginQuickAdd(x, y))
        return false;
    if (!anyPhase()) {
        if (!gameOver)
            interaction().beep();
        return false;
    }
    return true;
}

Click strongholdClick(ViewArea &, int t)
{
    if (!strongholdPhase)
        return Click::Goes;
    if (const int s = pick(t, 1))
        chooseStronghold(s);
    return Click::Ends;
}

// A phase that places armies: where, and how many the step takes on s.
struct Placement {
    quint8 &phase;
    quint8 &pending;
    int (*limit)(int s);
    bool closesCancel;
};

Click placeIn(ViewArea &view, const Placement &placement, int t)
{
    if (!placement.phase)
        return Click::Goes;
    const int s = pick(t, 1);
    if (s == 0)
        return Click::Goes;
    if (placement.closesCancel)
        inGameButtonEnabled[ButtonCancel] = 0;
    return askArmies(view, s, placement.pending, placement.limit(s));
}

Click initialPlacementClick(ViewArea &view, int t)
{
    return placeIn(view, {initialPlacementPhase, pendingPlacementCount, initialPlacementLimit, false}, t);
}

// The bonus armies due may all go on one territory.
int territoriesDue(int)
{
    return territoryArmiesDue;
}

int continentsDue(int)
{
    return continentArmiesDue;
}

int cardsDue(int)
{
    return cardArmiesDue;
}

Click territoryBonusClick(ViewArea &view, int t)
{
    return placeIn(view, {territoryBonusPhase, pendingTerritoryBonusCount, territoriesDue, true}, t);
}

Click continentBonusClick(ViewArea &view, int t)
{
    return placeIn(view, {continentBonusPhase, pendingContinentBonusCount, continentsDue, false}, t);
}

Click cardBonusClick(ViewArea &view, int t)
{
    return placeIn(view, {cardBonusPhase, pendingCardBonusCount, cardsDue, false}, t);
}

// A target next to the chosen source completes an attack or a move: the question of the armies.
struct Target {
    quint8 own;
    quint8 &pending;
    int (*limit)();
};

Click aimAt(ViewArea &view, const Target &target, int t)
{
    const int s = pick(t, target.own);
    if (s == 0)
        return Click::Goes;
    if (!nextToSource(s))
        refuse(s);
    if (!stillPicked(s))
        return Click::Goes;
    targetTerritory = s;
    inGameButtonEnabled[ButtonCancel] = 0;
    if (target.own)
        saveAllowed = 0; // a move
    else if (recordedOptionFlag)
        markTerritory(s); // games with the recorded option show the target a second time
    return askArmies(view, s, target.pending, target.limit());
}

// A source with armies to spare and a neighbour to go to moves the phase on to its target.
struct Source {
    quint8 &phase;
    quint8 &targetPhase;
    bool (*hasNeighbourToReach)(int s);
    const char *prompt;
    std::initializer_list<int> buttonsOff;
};

void chooseSource(const Source &source, int t)
{
    const int s = pick(t, 1);
    if (s == 0)
        return;
    // Both refusals beep, each on its own.
    if (!source.hasNeighbourToReach(s))
        refuse(s);
    if (territoryState[s].armies < 2)
        refuse(s);
    if (!stillPicked(s))
        return;
    source.targetPhase = 1;
    source.phase = 0;
    sourceTerritory = s;
    queueMessage(QString::fromLatin1(source.prompt));
    for (int button : source.buttonsOff)
        inGameButtonEnabled[button] = 0;
    inGameButtonEnabled[ButtonCancel] = 1;
}

Click attackTargetClick(ViewArea &view, int t)
{
    if (!attackTargetPhase)
        return Click::Goes;
    moveTargetPhase = moveSourcePhase = 0;
    return aimAt(view, {0, pendingAttackCount, attackLimit}, t);
}

Click attackSourceClick(ViewArea &, int t)
{
    if (attackSourcePhase) {
        moveTargetPhase = moveSourcePhase = 0;
        chooseSource({attackSourcePhase, attackTargetPhase, enemyArmiesAround, "to ?", {ButtonMove, ButtonAttack}}, t);
    }
    return Click::Goes;
}

Click moveTargetClick(ViewArea &view, int t)
{
    return moveTargetPhase ? aimAt(view, {1, pendingMoveCount, moveLimit}, t) : Click::Goes;
}

Click moveSourceClick(ViewArea &, int t)
{
    if (moveSourcePhase)
        chooseSource({moveSourcePhase, moveTargetPhase, ownNeighbourAround, "to ? ", {ButtonNext}}, t);
    return Click::Goes;
}

// The phases in the order a click tries them; more than one may be set at a time.
constexpr Click (*kPhaseClicks[])(ViewArea &, int) = {
    strongholdClick,  initialPlacementClick, territoryBonusClick, continentBonusClick, cardBonusClick,
    attackTargetClick, attackSourceClick,    moveTargetClick,     moveSourceClick,
};

} // namespace

void ViewArea::handleMapClick()
{
    if (!clickTaken(clickX, clickY))
        return;
    const int t = territoryUnder(clickX, clickY);
    if (t == 0)
        return; // nothing under the pointer: no answer at all
    for (auto phaseClick : kPhaseClicks)
        if (phaseClick(*this, t) == Click::Ends)
            return;
}
