#pragma once
// The set-up flow of the start menu: one chosen menu entry turned into a running game, an open
// network lobby, or nothing. It asks its questions one after the other; many a Cancel sends it
// back to the new-game defaults, where the same entry is routed again.

#include "setup/SetupSteps.h"
#include "state/MapSelection.h"

#include <QString>

class ViewArea;

class SetupFlow {
public:
    explicit SetupFlow(ViewArea &view) : view_(view) {}
    void run();

private:
    using Result = SetupStepResult;
    // How the entry was routed before the dispatcher.
    enum class Route { Normal, HighScore, Demo, FromNetworkQuestion };
    // How a Cancel of the campaign question leaves.
    enum class CampaignCancel { Return, Restart };
    // The variants of the map question.
    enum class MapQuestion { Standard, Demo, Host, HighScore };

    // ---- The flow (SetupFlow.cpp) ----
    bool confirmReplacingRunningGame();
    void applyNewGameDefaults();
    void reloadSettingsWhenDue();
    Result route();
    Result dispatch();
    Result askGameTypeMenu();
    Result gameTypeStep();
    Result askGameTypeBox();
    // From the loaded map on: options, missions, players, personalities.
    Result afterMapFixed();
    // The new-armies notice, the repaint of the dealt map, then the tail.
    Result finishSetUp();
    Result tail();
    void startPlay();

    // ---- Maps and campaigns (SetupMaps.cpp) ----
    int askMap(MapQuestion kind);
    Result mapQuestion();
    Result campaignQuestion(bool highScore, CampaignCancel cancel);
    Result hostMapQuestion();
    // Loads the chosen map file or rebuilds a changed built-in map; the World map when it fails.
    Result loadChosenMap(bool resetCampaignOnFailure = true);
    Result fallBackToWorld(bool resetCampaign);

    // ---- Options and missions (SetupOptions.cpp) ----
    // The options question; true when accepted (the options are then stored).
    bool askOptions();
    Result optionsAndMissions();
    Result askMissions();
    // A Cancel after the map is fixed: back to the defaults, but a map or campaign from a file
    // is not asked for again, so the set-up ends there.
    Result leaveAfterCancel();

    // ---- Players (SetupPlayers.cpp) ----
    Result askComputerPlayerCount();
    void seatComputerPlayers();
    Result hotseatPlayers();
    Result askHotseatNames(int maxPlayers);
    Result askHotseatComputerCount(int maxPlayers);
    void assignPersonalities();

    // ---- Quick launch, high score, rank and demo (SetupGameTypes.cpp) ----
    // The last saved game's options for a quick launch under way; false, and no quick launch,
    // when there is none.
    bool loadQuickLaunch();
    Result setUpHighScoreGame();
    Result setUpRankGame();
    Result setUpDemoGame();

    ViewArea &view_;
    Route route_ = Route::Normal;
    MapSelection previous_{};
    QString startText_;
};

// A new game's players are fresh (no card, loss or battle of an earlier game), then the
// territories are dealt.
void dealNewGame();
