// The demonstration: computer players alone on the World map, shown while nobody plays. The
// prompt blinks on every tick; a demo game that has ended is followed by a new one.

#include "app/ViewArea.h"

#include "app/GameLoop.h"
#include "app/GameLoopInternal.h"
#include "rules/GameStart.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/Campaign.h"
#include "state/ForcedOptions.h"
#include "state/GameState.h"
#include "state/MapPicture.h"
#include "state/StatusLine.h"
#include "state/StepQueues.h"

namespace {

constexpr int kBlinkTicks = 4; // the prompt shows for three ticks and is blank for one
constexpr int kDemoTimerInterval = 288;
constexpr int kDemoMinAttackArmies = 3;

void chooseDemoRules()
{
    gameMode = ModeDemo;
    campaignId = NoCampaign;
    campaignMapCount = 1;
    campaignMapIndex = 1;
    campaignPlayer = 0;
    campaignEnded = 0;
    campaignCompleted = 0;
    attackRule = 'j';
    aiMinAttackArmies = kDemoMinAttackArmies;
    recordedOptionFlag = 0;
    strongholdsEnabled = 0;
    troopExperienceEnabled = 0;
}

// Seat 1 is nobody's; the computer players keep their configured names.
void seatDemoPlayers()
{
    playerName[1] = QString(6, QLatin1Char(' '));
    for (int p = 2; p <= kMaxPlayers; ++p)
        playerName[p] = configuredPlayerName[p];
    humanPlayerCount = 1;
    // A new game: no card, loss or battle of the last one is carried over.
    playerTable.fill(PlayerRecord{});
}

void paintDealtMap(ViewArea &view)
{
    repaintEveryTerritory();
    drawPlayerPanel();
    mapPaintState = QStringLiteral("0");
    view.update();
}

void fillCardDeck()
{
    cardDeckCounts[CardArtillery] = 17;
    cardDeckCounts[CardInfantry] = 17;
    cardDeckCounts[CardCavalry] = 17;
    cardDeckCounts[CardWild] = 2;
}

} // namespace

bool runDemoStage(ViewArea &view)
{
    ++demoBlinkCounter;
    if (demoBlinkCounter >= kBlinkTicks) {
        demoBlinkCounter = 0;
        setStatusText(QStringLiteral(" "));
    } else {
        setStatusText(QLatin1String(kDemoPrompt));
    }
    if (gameMode == ModeDemo)
        return false;
    view.startDemoGame();
    return true;
}

void ViewArea::startDemoGame()
{
    setStatusText(QLatin1String(kDemoPrompt));
    demoBlinkCounter = 0;
    // Nothing of the last game plays into the new one.
    dropSpriteAnimations(*this);
    clearStepQueues();

    savedWorldFlag = mapWorldFlag;
    selectMap(MapWorld);
    if (!savedWorldFlag)
        loadSelectedBuiltinMap();
    chooseDemoRules();
    seatDemoPlayers();
    dealTerritories();
    forceFastSpeed();
    paintDealtMap(*this);
    fillCardDeck();
    // Players 2 to 9 place, then player 2 begins; seat 1's turns pass at once.
    startLocalGame();
    runGameTimerAt(kDemoTimerInterval);
}
