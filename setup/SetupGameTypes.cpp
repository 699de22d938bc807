// The game types with fixed rules: quick launch (the options of the last saved game), the
// high-score game, the rank game and the demo.

#include "setup/SetupFlow.h"

#include "app/ScreenSize.h"
#include "app/ViewArea.h"
#include "ai/AiState.h"
#include "persist/Ranks.h"
#include "persist/SavedGame.h"
#include "persist/SavedGameLoading.h"
#include "persist/Settings.h"
#include "rules/TurnState.h"
#include "setup/ChoiceDialog.h"
#include "setup/SetupHooks.h"
#include "setup/SetupRules.h"
#include "setup/SetupState.h"
#include "state/BuiltinMaps.h"
#include "state/Campaign.h"
#include "state/ForcedOptions.h"
#include "state/GameState.h"
#include "state/Seams.h"

namespace {

using Result = SetupStepResult;

const char *const kNoSavedGameText = "You haven't saved a game yet.\n\nQuick Launch bypasses several input dialogs\n"
                                     "and uses settings of the last saved game.\n\nSingle player games only.";

const char *const kHighScoreText
    = "Play a single player game with:\n\na map of your choice, without dice, Conquer All mission ,\n"
      "9 computer players (2 conquerors, 2 defensive, 2 hunters,\n"
      "                    2 determined, 1 normal)\n\n"
      "and get your name listed on the top 5 players list.\n\n"
      "North America : Troop Experience and 9 Conqueror personalities\nChina : Hold Continents mission\n\n"
      "NOTE: YOU CAN'T SAVE DURING GAME PLAY.";

const char *const kTopRankText = "***** You are General of the Army *****";

// The computer players of a high-score game: two of each kind and one Normal.
constexpr int kHighScorePersonalities[] = {PersonalityConqueror, PersonalityConqueror, PersonalityDefensive,
                                           PersonalityDefensive, PersonalityDetermined, PersonalityDetermined,
                                           PersonalityHunter,    PersonalityHunter,    PersonalityNormal};

constexpr int kRankGamePause = 500;

void showInformation(const char *text)
{
    interaction().message(MessageIcon::Information, QStringLiteral("Tarvan GX"), QLatin1String(text));
}

// "Single Map Game" (1) or "Campaign Game" (2); 0 for Cancel.
int askSingleMapOrCampaign(ViewArea &view)
{
    ChoiceDialogSpec spec;
    spec.addAnswer(QStringLiteral("Single Map Game"), 1);
    spec.addAnswer(QStringLiteral("Campaign Game"), 2);
    spec.addCancel();
    const ChoiceOutcome outcome = runChoiceDialog(view, spec);
    return outcome.result == 0 || outcome.choice < 1 || outcome.choice > 2 ? 0 : outcome.choice;
}

// Every player Normal (or every computer player one personality), no random mix.
void setUniformPersonalities(int computerPersonality)
{
    for (int p = 1; p <= kMaxPlayers; ++p) {
        personality[p] = p == 1 ? PersonalityNormal : computerPersonality;
        avengeTarget[p] = 0;
        personalitySetting[p] = 0;
    }
    randomMixPersonalities = 0;
}

void setFixedRules(char rule, bool strongholds, bool troopExperience)
{
    attackRule = rule;
    aiMinAttackArmies = rule == 'n' ? 2 : 3;
    strongholdsEnabled = strongholds ? 1 : 0;
    troopExperienceEnabled = troopExperience ? 1 : 0;
}

// The last saved game's options, names and personalities become the new game's.
void takeOptionsOfSavedGame(const SavedGameRecord &saved)
{
    takeStoredGameOptions(saved);
    // A quick launch is a single-player game: the neutral army of a saved two-player hotseat
    // game would sit idle as player 3 of it.
    neutralArmyActive = 0;
    gameMode = ModeSinglePlayer;
    rankGame = 0;
    rankAtGameStart = kNoRankAtStart;
    rankFlagAtGameStart = kNoRankAtStart;
    for (auto &list : missionContinents)
        list.fill(0);
    for (int p = 1; p <= kMaxPlayers; ++p)
        playerName[p] = saved.playerName[p];
    networkPlayerName = saved.playerName[1];
    takeStoredPersonalities(saved);
}

} // namespace

bool SetupFlow::loadQuickLaunch()
{
    saveFileName = lastSaveFileName;
    bool ok = false;
    readSavedGame(saveFileName, ok);
    if (!ok) {
        showInformation(kNoSavedGameText);
        quickLaunch = 0;
        return false;
    }
    takeOptionsOfSavedGame(savedGameMirror);
    return true;
}

Result SetupFlow::setUpHighScoreGame()
{
    showInformation(kHighScoreText);
    topFiveGame = 1;
    previous_ = builtinMapFlags;
    const int kind = askSingleMapOrCampaign(view_);
    if (kind == 0) {
        topFiveGame = 0;
        return Result::EndSetup;
    }
    campaignMapCount = kind == 2 ? 2 : 1;
    if (kind == 2) {
        const Result chosen = campaignQuestion(true, CampaignCancel::Return);
        if (chosen != Result::Continue)
            return chosen;
    } else if (askMap(MapQuestion::HighScore) == 0) {
        topFiveGame = 0;
        return Result::EndSetup;
    }
    reloadMapIfSelectionChanged(previous_);

    setFixedRules('j', false, false);
    playerCount = kMaxPlayers;
    nameComputerPlayersFromSettings(kMaxPlayers);
    setUniformPersonalities(PersonalityNormal);
    for (int p = 2; p <= kMaxPlayers; ++p)
        personality[p] = kHighScorePersonalities[p - 2];
    if (campaignId == NoCampaign && mapNorthAmericaFlag) {
        troopExperienceEnabled = 1;
        setUniformPersonalities(PersonalityConqueror);
    }
    if (campaignId == NoCampaign && mapChinaFlag)
        missionType = 2;
    humanPlayerCount = 1;
    dealNewGame();
    setupHooks().showTopFive(view_);
    return finishSetUp();
}

Result SetupFlow::setUpRankGame()
{
    // The rank game sets every personality itself: no Unstable need be drawn here.
    resolveUnstableOnLoad = 0;
    loadSettingsForThisScreen();
    resolveUnstableOnLoad = 1;
    qint32 rank = 0;
    qint32 europeDone = 0;
    computeSinglePlayerRank(&rank, &europeDone);
    RankGameRules rules;
    if (!rankGameRules(rank, europeDone, rules)) {
        showInformation(kTopRankText);
        return Result::EndSetup;
    }
    setFixedRules(rules.attackRule, rules.strongholds, rules.troopExperience);
    difficulty = 1;
    missionType = rules.mission;
    playerCount = rules.players;
    nameComputerPlayersFromSettings(kMaxPlayers);
    setUniformPersonalities(rules.conquerors ? PersonalityConqueror : PersonalityNormal);
    if (const BuiltinCampaignChoice *campaign = campaignChoice(rules.campaign)) {
        selectBuiltinCampaign(*campaign);
    } else {
        campaignMapCount = 1;
        campaignId = NoCampaign;
        selectMap(rules.map);
    }
    reloadMapIfSelectionChanged(previous_);
    rankGame = 1;
    humanPlayerCount = 1;
    rankAtGameStart = rank;
    rankFlagAtGameStart = europeDone;
    dealNewGame();
    savesUsedAtStart = savesUsed;
    interaction().pause(kRankGamePause);
    return finishSetUp();
}

Result SetupFlow::setUpDemoGame()
{
    gameMode = ModeDemo;
    previous_ = builtinMapFlags;
    const int kind = askSingleMapOrCampaign(view_);
    Result chosen = Result::EndSetup;
    if (kind == 2) {
        campaignMapCount = 2;
        chosen = campaignQuestion(false, CampaignCancel::Return);
    } else if (kind == 1) {
        campaignMapCount = 1;
        chosen = askMap(MapQuestion::Demo) != 0 ? Result::Continue : Result::EndSetup;
    }
    if (chosen == Result::Continue) {
        playerName[1] = QString(6, QLatin1Char(' '));
        setFixedRules('j', false, false);
        nameComputerPlayersFromSettings(kMaxPlayers);
        humanPlayerCount = 1;
        chosen = loadChosenMap();
    }
    if (chosen != Result::Continue) {
        // No demo after all: the next click must not take the menu for a running demo.
        gameMode = ModeSinglePlayer;
        return chosen;
    }
    forceFastSpeed();
    return afterMapFixed();
}
