#include "setup/SetupFlow.h"

#include "app/ScreenSize.h"
#include "app/GameLoop.h"
#include "app/PaintMapView.h"
#include "app/ViewArea.h"
#include "app/WindowState.h"
#include "persist/SavedGame.h"
#include "persist/Settings.h"
#include "rules/GameStart.h"
#include "rules/TurnState.h"
#include "setup/ChoiceDialog.h"
#include "setup/SetupHooks.h"
#include "setup/SetupRules.h"
#include "setup/SetupState.h"
#include "state/BuiltinMaps.h"
#include "state/Campaign.h"
#include "state/ForcedOptions.h"
#include "state/GameState.h"
#include "state/MapPicture.h"
#include "state/MapView.h"
#include "state/Seams.h"
#include "state/SpriteQueue.h"
#include "state/StatusLine.h"

namespace {

using Result = SetupStepResult;

// A Cancel sends the flow back to its defaults; a player cannot cancel this often.
constexpr int kMaxRestarts = 1000;

enum MenuEntry {
    EntryNetworkOrHotseat = 3,
    EntryNewGame = 20,
    EntrySingleMap = 21,
    EntryHighScore = 23,
    EntryRank = 24,
    EntryCampaign = 25,
    EntryDemo = 26,
    EntryQuickLaunch = 27,
};

bool isSetupEntry(int entry)
{
    switch (entry) {
    case EntryNetworkOrHotseat:
    case EntryNewGame:
    case EntrySingleMap:
    case EntryHighScore:
    case EntryRank:
    case EntryCampaign:
    case EntryDemo:
    case EntryQuickLaunch:
        return true;
    default:
        return false;
    }
}

// The entries whose game is shown on the game screen once it starts.
bool entryShowsGameScreen(int entry)
{
    return entry == EntryNetworkOrHotseat || entry == EntrySingleMap || entry == EntryHighScore
        || entry == EntryRank || entry == EntryCampaign || entry == EntryQuickLaunch;
}

void clearMissileTables()
{
    for (int t = 1; t <= kMaxTerritories; ++t)
        attackMissiles[t] = defenceMissiles[t] = displayedAttackMissiles[t] = displayedDefenceMissiles[t] = 0;
}

} // namespace

void ViewArea::setupNewGame()
{
    SetupFlow(*this).run();
}

void SetupFlow::run()
{
    startText_ = formatStartText(interaction().now());
    setStatusText(QStringLiteral(" "));
    if (confirmReplacingRunningGame()) {
        for (int round = 0; round < kMaxRestarts; ++round) {
            applyNewGameDefaults();
            view_.restartGameTimer();
            clearMissileTables();
            reloadSettingsWhenDue();
            if (route() != Result::RestartSetup)
                break;
        }
    }
    setupRunning = 0;
    // A quick launch lives only as long as its own set-up.
    quickLaunch = 0;
}

bool SetupFlow::confirmReplacingRunningGame()
{
    if (localGameRunning && !gameEnded) {
        if (!interaction().question(QStringLiteral("Tarvan GX"),
                                    QStringLiteral("Start a new game ? (and quit current game)"),
                                    MessageIcon::Information))
            return false;
        localGameRunning = 0;
        view_.resetGameDefaults();
        for (int b = ButtonNext; b <= ButtonCancel; ++b)
            inGameButtonEnabled[b] = 0;
    }
    if (gameEnded) {
        gameOver = 0;
        gameEnded = 0;
        view_.resetGameDefaults();
    }
    return true;
}

void SetupFlow::applyNewGameDefaults()
{
    for (int p = 1; p <= kMaxPlayers; ++p)
        playerName[p] = QStringLiteral(" ");
    networkPlayerName = hostAddressText = QStringLiteral(" ");
    gameMode = ModeSinglePlayer;
    campaignId = NoCampaign;
    campaignMapCount = campaignMapIndex = difficulty = missionContinentIndex = 1;
    aiPlayerCount = MarkerLocal;
    rankAtGameStart = rankFlagAtGameStart = kNoRankAtStart;
    gameListSlot = kNoGameListSlot;
    missionType = escortTarget = networkKind = networkSeat = 0;
    strongholdsEnabled = troopExperienceEnabled = topFiveGame = rankGame = internetGame = neutralArmyActive = 0;
    mapCustomFlag = networkAnimations = localGameRunning = 0;
    campaignEnded = campaignCompleted = missionFailed = moveBlocked = noWinner = 0;
    campaignPlayer = 0;
    // The settings' one-shot save requests.
    partialSaveFlag = saveHotseatNamesFlag = saveHighScoreNameFlag = 0;
    setupRunning = 1;
    endForcedOptions();
    // Only a quick launch brings this option back from a saved game; no other new game has it,
    // and a rank game recorded with it would not count.
    recordedOptionFlag = 0;
}

void SetupFlow::reloadSettingsWhenDue()
{
    if (selectedMap() != MapFlagCount && !settingsReloadPending)
        return;
    view_.resetGameDefaults();
    loadSettingsForThisScreen();
    settingsReloadPending = 0;
}

Result SetupFlow::route()
{
    if (!quickLaunch && !isSetupEntry(menuAction))
        return Result::EndSetup;
    // From here on the game's own players, names and personalities are filled in.
    markGameUnderWay();
    if (menuAction == EntryNewGame && smallScreen) {
        const Result chosen = askGameTypeMenu();
        if (chosen != Result::Continue)
            return chosen;
    }
    if (menuAction == EntryQuickLaunch)
        quickLaunch = 1;
    if (quickLaunch && !loadQuickLaunch())
        return Result::EndSetup;
    route_ = Route::Normal;
    aiPlayerCount = MarkerLocal;
    switch (menuAction) {
    case EntryHighScore:
        route_ = Route::HighScore;
        break;
    case EntryNetworkOrHotseat: {
        const Result asked = setupHooks().askNetworkGameType(view_);
        if (asked != Result::Continue)
            return asked;
        route_ = Route::FromNetworkQuestion;
        break;
    }
    case EntryDemo:
        aiPlayerCount = MarkerDemo;
        route_ = Route::Demo;
        break;
    default:
        break;
    }
    return dispatch();
}

Result SetupFlow::askGameTypeMenu()
{
    ChoiceDialogSpec spec;
    const char *const labels[] = {"Single Map Game", "High Score Game", "Move Up in Rank", "Campaign game",
                                  "Demo Mode", "Quick Launch"};
    for (int k = 1; k <= 6; ++k)
        spec.addAnswer(QLatin1String(labels[k - 1]), k);
    spec.addCancel();
    const ChoiceOutcome outcome = runChoiceDialog(view_, spec);
    const int entries[] = {EntrySingleMap, EntryHighScore, EntryRank, EntryCampaign, EntryDemo, EntryQuickLaunch};
    if (outcome.result == 0 || outcome.choice < 1 || outcome.choice > 6)
        return Result::EndSetup;
    menuAction = entries[outcome.choice - 1];
    return Result::Continue;
}

Result SetupFlow::dispatch()
{
    switch (aiPlayerCount) {
    case MarkerStop:
        return Result::EndSetup;
    case MarkerHotseat:
        gameMode = ModeHotseat;
        return gameTypeStep();
    case MarkerHost:
        gameMode = ModeHost;
        previous_ = builtinMapFlags;
        return hostMapQuestion();
    case MarkerJoin:
        gameMode = ModeClient;
        humanPlayerCount = 1;
        return tail();
    default:
        break;
    }
    if (route_ == Route::HighScore)
        return setUpHighScoreGame();
    if (aiPlayerCount == MarkerDemo)
        return setUpDemoGame();
    return gameTypeStep();
}

Result SetupFlow::gameTypeStep()
{
    previous_ = builtinMapFlags;
    if (gameMode == ModeHost)
        return hostMapQuestion();
    if (!quickLaunch) {
        difficulty = 1;
        missionType = 0;
    }
    bool throughGameTypeBox = false;
    switch (menuAction) {
    case EntrySingleMap:
        campaignMapCount = 1;
        break;
    case EntryRank:
        campaignMapCount = 3;
        campaignId = NoCampaign;
        break;
    case EntryCampaign:
        campaignMapCount = 2;
        break;
    default:
        if (gameMode == ModeHotseat || quickLaunch) {
            campaignMapCount = 1;
        } else {
            const Result chosen = askGameTypeBox();
            if (chosen != Result::Continue)
                return chosen;
            throughGameTypeBox = true;
        }
        break;
    }
    switch (campaignMapCount) {
    case 3:
        return setUpRankGame();
    case 2:
        return campaignQuestion(false, throughGameTypeBox ? CampaignCancel::Restart : CampaignCancel::Return);
    default:
        return mapQuestion();
    }
}

Result SetupFlow::askGameTypeBox()
{
    const int button = interaction().choose(QStringLiteral("Tarvan GX"), QString(),
                                            {QStringLiteral("Single Map Game"), QStringLiteral("Campaign Game"),
                                             QStringLiteral("Move Up in Rank"), QStringLiteral("Back")},
                                            MessageIcon::None);
    if (button == 3)
        return Result::RestartSetup;
    // Closed without a button: a single map game.
    campaignMapCount = button == 1 || button == 2 ? button + 1 : 1;
    return Result::Continue;
}

Result SetupFlow::afterMapFixed()
{
    if (!quickLaunch && gameMode != ModeDemo && gameMode != ModeHost) {
        const Result asked = optionsAndMissions();
        if (asked != Result::Continue)
            return asked;
    }
    aiMinAttackArmies = attackRule == 'n' ? 2 : 3;
    if (gameMode == ModeSinglePlayer || gameMode == ModeDemo) {
        const Result counted = askComputerPlayerCount();
        if (counted != Result::Continue)
            return counted;
        seatComputerPlayers();
    }
    if (gameMode == ModeHotseat) {
        const Result seated = hotseatPlayers();
        if (seated != Result::Continue)
            return seated;
    }
    if (gameMode == ModeHost)
        humanPlayerCount = 1;
    else
        assignPersonalities();
    return finishSetUp();
}

Result SetupFlow::finishSetUp()
{
    const QString notice = newArmiesNotice(territoryCount);
    if (!notice.isEmpty())
        interaction().message(MessageIcon::Information, QStringLiteral("Tarvan GX"), notice);
    setStatusText2(QStringLiteral("This might take a few seconds..."));
    // The deal of a high-score or hosted game is painted with its first paint, except on World.
    if (mapWorldFlag || (!topFiveGame && gameMode != ModeHost))
        repaintEveryTerritory();
    drawPlayerPanel();
    setStatusText2(QStringLiteral(" "));
    if (rankGame) {
        mapPaintState = QStringLiteral("0");
        view_.update();
    }
    return tail();
}

Result SetupFlow::tail()
{
    if (gameMode != ModeHost && gameMode != ModeClient && gameMode != ModeDemo)
        localGameRunning = 1;
    nameGameForSaving(startText_);
    if (gameMode != ModeHotseat && gameMode != ModeDemo && !quickLaunch) {
        const Result named = setupHooks().askNetworkPlayerName(view_);
        if (named != Result::Continue)
            return named;
    }
    quickLaunch = 0;
    if (gameMode == ModeClient) {
        view_.runAtNetworkPace();
        return setupHooks().runJoinSteps(view_);
    }
    drawPlayerPanel();
    view_.update();
    if (gameMode == ModeHost) {
        view_.runAtNetworkPace();
        return setupHooks().runHostSteps(view_);
    }
    startPlay();
    return Result::EndSetup;
}

void SetupFlow::startPlay()
{
    view_.updateWindowTitle();
    if (entryShowsGameScreen(menuAction))
        screenMode = 9;
    // Nobody's turn is to be begun while the initial placement runs.
    turnStarted = 1;
    playTimeSeconds = 0;
    startLocalGame();
    if (gameMode == ModeDemo)
        view_.restartGameTimer();
}
