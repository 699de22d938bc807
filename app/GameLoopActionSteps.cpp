// Playing one step of the action queue: the shown state follows the game state, one territory,
// text, highlight or frame at a time; the host mirrors each step to its clients.

#include "app/ViewArea.h"

#include "ai/InitialPlacement.h"
#include "app/DialogState.h"
#include "app/GameLoop.h"
#include "app/GameLoopInternal.h"
#include "app/NetworkState.h"
#include "app/PendingStateGlobals.h"
#include "rules/Sound.h"
#include "rules/TurnState.h"
#include "state/GameState.h"
#include "state/MapPicture.h"
#include "state/Seams.h"
#include "state/SpriteQueue.h"
#include "state/StatusLine.h"
#include "state/StepQueues.h"

#include <array>

namespace {

enum ActionStep {
    StepTerritory = 1,
    StepStatusText = 2,
    StepCardTradeShown = 3,
    StepCardTradeClosed = 4,
    StepContinentOn = 5,
    StepContinentOff = 6,
    StepPlayerToPlay = 7,
    StepComputerPlacement = 8,
    StepEndOfGame = 9,
    StepPlayerOff = 10,
    StepPlayerOn = 11,
    StepDefenceMissiles = 13,
    StepAttackMissiles = 14,
    StepMissilesHit = 15,
};

bool isHost()
{
    return networkSeat == 1;
}

// Steps 7, 8, 10 and 11 act as player p for their own duration only.
class ActingAs {
public:
    explicit ActingAs(int player) : saved_(currentPlayer) { currentPlayer = player; }
    ~ActingAs() { currentPlayer = saved_; }
    ActingAs(const ActingAs &) = delete;
    ActingAs &operator=(const ActingAs &) = delete;

private:
    int saved_;
};

// The sound a territory change carries, played before the territory changes.
void playTerritorySound(const QueueStep &step)
{
    const int owner = step.arg[3];
    const int count = step.arg[6] > 0 ? step.arg[6] : step.arg[2];
    switch (step.arg[5]) {
    case SoundPlacement:
    case SoundMove:
        playSound(step.arg[5], owner, count);
        break;
    case SoundAttack:
    case SoundConquest:
    case SoundPlayerOut:
        playSound(step.arg[5], 0, 0);
        break;
    case SoundNuke:
        playSound(SoundNuke, owner, 0);
        break;
    default:
        break;
    }
}

void changeTerritory(ViewArea &view, const QueueStep &step)
{
    const int t = step.arg[1];
    if (!isValidTerritory(t))
        return;
    playTerritorySound(step);
    highlightChanges = step.arg[4] == 1 ? 1 : 0;
    territoryChanged[t] = highlightChanges ? 'j' : 'n';
    displayedTerritoryState[t] = {step.arg[3], step.arg[2]};
    repaintShown(t);
    view.update();
    if (isHost()) {
        msgTerritory = t;
        msgArmies = displayedTerritoryState[t].armies;
        msgOwner = displayedTerritoryState[t].owner;
        msgFlag = highlightChanges;
        view.mirrorToClients(1017);
    }
}

void showCardTrade(ViewArea &view, const QueueStep &step)
{
    for (int i = 1; i <= 6; ++i)
        cardTradeValues[i] = step.arg[i];
    interaction().showCardTradeBonus();
    tradeNoticeShown = 1;
    if (isHost())
        view.mirrorToClients(1013);
}

void closeCardTrade(ViewArea &view)
{
    closeCardTradeNotice(view);
    if (isHost())
        view.mirrorToClients(1014);
}

void paintContinent(ViewArea &view, int c, bool highlight)
{
    if (c < 1 || c > continentCount)
        return;
    highlightChanges = highlight ? 1 : 0;
    const ContinentRecord &continent = continentTable[c];
    for (int i = 1; i <= continent.memberCount && i <= kMaxContinentMembers; ++i)
        repaintShown(continent.members[i]);
    view.update();
    if (highlight)
        playSound(SoundContinent, 0, 0);
    if (isHost()) {
        highlightedContinent = c;
        view.mirrorToClients(highlight ? 1023 : 1024);
    }
}

void showPlayerToPlay(ViewArea &view, int p)
{
    if (!isValidPlayer(p))
        return;
    const ActingAs acting(p);
    drawPlayerPanel();
    view.update();
    if (isHost() && !lobbyOpen) {
        view.mirrorToClients(1012);
        setStatusText(shownPlayerName(p) + QStringLiteral(" to play.."));
    }
}

void placeForComputer(int p)
{
    if (!isValidPlayer(p))
        return;
    const ActingAs acting(p);
    aiInitialPlacement();
}

// Steps 10 and 11: the territories of player p that hold more than one army, painted as the
// rules have them.
void paintPlayersTerritories(ViewArea &view, int p, bool highlight)
{
    if (!isValidPlayer(p))
        return;
    const ActingAs acting(p);
    if (highlight)
        playSound(SoundPlacement, p, 0);
    highlightChanges = highlight ? 1 : 0;
    for (int t = 1; t <= territoryCount; ++t) {
        const TerritoryState &state = territoryState[t];
        if (state.owner != p || state.armies <= 1)
            continue;
        territoryChanged[t] = highlight ? 'j' : 'n';
        updateTerritoryDisplay(t, state.armies, state.owner, highlightChanges, territoryPaintFlagB,
                               territoryPaintFlagA);
    }
    view.update();
    highlightChanges = 0;
    if (isHost()) {
        view.mirrorToClients(highlight ? 1008 : 1009);
        if (highlight)
            setStatusText(shownPlayerName(p) + QStringLiteral(", initial army placement. "));
    }
}

void showMissiles(ViewArea &view, const QueueStep &step, std::array<qint16, 224> &shown)
{
    const int t = step.arg[1];
    if (!isValidTerritory(t))
        return;
    shown[t] = static_cast<qint16>(step.arg[2]);
    repaintShown(t);
    view.update();
}

void showMissilesHit(ViewArea &view, int t)
{
    if (!isValidTerritory(t))
        return;
    displayedDefenceMissiles[t] = 0;
    displayedAttackMissiles[t] = 0;
    territoryPaintFlagB = 1;
    repaintShown(t);
    territoryPaintFlagB = 0;
    view.update();
}

} // namespace

void ViewArea::playActionStep()
{
    if (actionQueueIndex < 1 || actionQueueIndex > kActionQueueCapacity)
        return;
    // A copy: the end of a game may empty the queue while its step is being played.
    const QueueStep step = actionQueue[actionQueueIndex];
    endSpriteRunUnlessContinued(*this, LoopQueue::Action, step);
    switch (step.type) {
    case StepTerritory:
        changeTerritory(*this, step);
        break;
    case StepStatusText:
        setStatusText(step.text);
        break;
    case StepCardTradeShown:
        showCardTrade(*this, step);
        break;
    case StepCardTradeClosed:
        closeCardTrade(*this);
        break;
    case StepContinentOn:
    case StepContinentOff:
        paintContinent(*this, step.arg[1], step.type == StepContinentOn);
        break;
    case StepPlayerToPlay:
        showPlayerToPlay(*this, step.arg[1]);
        break;
    case StepComputerPlacement:
        placeForComputer(step.arg[1]);
        break;
    case StepEndOfGame:
        playEndOfGame(false);
        break;
    case StepPlayerOff:
    case StepPlayerOn:
        paintPlayersTerritories(*this, step.arg[1], step.type == StepPlayerOn);
        break;
    case StepDefenceMissiles:
        showMissiles(*this, step, displayedDefenceMissiles);
        break;
    case StepAttackMissiles:
        showMissiles(*this, step, displayedAttackMissiles);
        break;
    case StepMissilesHit:
        showMissilesHit(*this, step.arg[1]);
        break;
    case kActionSpriteStep:
        playSpriteStep(*this, LoopQueue::Action, step);
        break;
    default:
        // A pause (12) or a type without a handler: the step only takes its tick.
        break;
    }
}
