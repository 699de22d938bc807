// The map and campaign questions of the set-up flow and the loading of the chosen map.

#include "setup/SetupFlow.h"

#include "rules/GameStart.h"
#include "rules/TurnState.h"
#include "setup/ChoiceDialog.h"
#include "setup/SetupRules.h"
#include "setup/SetupState.h"
#include "state/BuiltinMaps.h"
#include "state/Campaign.h"
#include "state/GameState.h"
#include "state/MapLoading.h"
#include "state/MapView.h"

namespace {

using Result = SetupStepResult;

constexpr int kLoadMapAnswer = 9;
constexpr int kScandinaviaAnswer = 10;
constexpr int kRealWorldAnswer = 11;
constexpr int kCampaignFileAnswer = 6;

const char *const kMapLabels[] = {"World", "Europe", "North America", "China", "Japan", "World II", "Swamp",
                                  "Australia"};

void addMapButtons(ChoiceDialogSpec &spec)
{
    for (int k = 1; k <= 8; ++k)
        spec.addAnswer(QLatin1String(kMapLabels[k - 1]), k);
}

// Scandinavia and Real World are made with the question but never shown: on the wide picture
// set they sit hidden in the layout, otherwise outside it.
void addHiddenMapButtons(ChoiceDialogSpec &spec)
{
    for (const auto &hidden : {std::make_pair("Scandinavia", kScandinaviaAnswer),
                               std::make_pair("Real World", kRealWorldAnswer)}) {
        DialogItem &item = spec.addAnswer(QLatin1String(hidden.first), hidden.second);
        item.visible = false;
        item.inLayout = wideImageSet != 0;
    }
}

ChoiceDialogSpec mapQuestionSpec(bool withFile, bool withHiddenMaps)
{
    ChoiceDialogSpec spec;
    addMapButtons(spec);
    if (withHiddenMaps)
        addHiddenMapButtons(spec);
    if (withFile)
        spec.addAnswer(QStringLiteral("Load a Map..."), kLoadMapAnswer);
    spec.addCancel();
    spec.maximised = smallScreen != 0;
    return spec;
}

// Loads the map file a map question or a campaign file chose: from the file dialog for
// "Load a Map...", from the path the campaign set for a campaign's first map.
void loadChosenMapFile()
{
    mapCustomFlag = 0;
    mapLoadOutsideSetup = 0;
    useStoredMapPath = campaignId == CampaignFromFile ? 'j' : 'n';
    loadMap();
    useStoredMapPath = 'n';
    mapLoadOutsideSetup = 1;
}

// The selection stays as it was while a map or campaign question is open, so the current map
// stays on screen behind it. A question left without a map still makes the next set-up begin
// afresh (defaults, settings, default map), as a selection cleared for it would.
void abandonMapQuestion()
{
    settingsReloadPending = 1;
}

} // namespace

int SetupFlow::askMap(MapQuestion kind)
{
    ChoiceDialogSpec spec;
    switch (kind) {
    case MapQuestion::Standard:
        spec = mapQuestionSpec(true, true);
        break;
    case MapQuestion::Demo:
        spec = mapQuestionSpec(true, true);
        spec.grayPalette = false;
        spec.pauseBefore = spec.pauseAfter = 0;
        break;
    case MapQuestion::Host:
        spec = mapQuestionSpec(true, false);
        break;
    case MapQuestion::HighScore:
        spec = mapQuestionSpec(false, false);
        spec.maximised = false;
        break;
    }
    const ChoiceOutcome outcome = runChoiceDialog(view_, spec);
    const MapFlag map = mapOfAnswer(outcome.choice);
    if (outcome.result == 0 || map == MapFlagCount) {
        abandonMapQuestion();
        return 0;
    }
    selectMap(map);
    return outcome.choice;
}

Result SetupFlow::mapQuestion()
{
    if (askMap(MapQuestion::Standard) == 0) {
        quickLaunch = 0;
        return Result::EndSetup;
    }
    const Result loaded = loadChosenMap();
    return loaded == Result::Continue ? afterMapFixed() : loaded;
}

Result SetupFlow::campaignQuestion(bool highScore, CampaignCancel cancel)
{
    ChoiceDialogSpec spec;
    for (const BuiltinCampaignChoice *c = campaignChoicesBegin(); c != campaignChoicesEnd(); ++c)
        spec.addAnswer(QLatin1String(c->label), c->id);
    if (!highScore)
        spec.addAnswer(QStringLiteral("Load Campaign..."), kCampaignFileAnswer);
    spec.addCancel();
    const ChoiceOutcome outcome = runChoiceDialog(view_, spec);
    const BuiltinCampaignChoice *chosen = campaignChoice(outcome.choice);
    const bool fromFile = !highScore && outcome.choice == kCampaignFileAnswer;
    if (outcome.result == 0 || (!chosen && !fromFile)) {
        abandonMapQuestion();
        if (highScore)
            topFiveGame = 0;
        return cancel == CampaignCancel::Restart ? Result::RestartSetup : Result::EndSetup;
    }
    if (chosen) {
        selectBuiltinCampaign(*chosen);
    } else {
        builtinMapFlags.fill(0);
        campaignId = CampaignFromFile;
        useStoredMapPath = 'n';
        loadCampaign();
        if (!mapLoadSucceeded)
            return fallBackToWorld(true);
        // The campaign's first map is a map file, loaded with the campaign's path.
        mapCustomFlag = 1;
    }
    if (highScore || gameMode == ModeDemo)
        return Result::Continue;
    const Result loaded = loadChosenMap();
    return loaded == Result::Continue ? afterMapFixed() : loaded;
}

Result SetupFlow::hostMapQuestion()
{
    if (askMap(MapQuestion::Host) == 0)
        return Result::EndSetup;
    // The host's options are asked with the map and not again later.
    if (!askOptions())
        return Result::RestartSetup;
    difficulty = 1;
    const Result loaded = loadChosenMap(false);
    return loaded == Result::Continue ? afterMapFixed() : loaded;
}

Result SetupFlow::loadChosenMap(bool resetCampaignOnFailure)
{
    // A map file already on the table is kept, but a campaign file always brings its first map,
    // or the tables would hold the old map while the campaign names another.
    if (mapCustomFlag && (!previous_[MapCustom] || campaignId == CampaignFromFile)) {
        loadChosenMapFile();
        if (!mapLoadSucceeded)
            return fallBackToWorld(resetCampaignOnFailure);
        return Result::Continue;
    }
    reloadMapIfSelectionChanged(previous_);
    return Result::Continue;
}

Result SetupFlow::fallBackToWorld(bool resetCampaign)
{
    // The loader has shown its error. A map still selected stays; with none, World.
    if (selectedMap() != MapFlagCount)
        return Result::EndSetup;
    selectMap(MapWorld);
    if (resetCampaign) {
        campaignId = NoCampaign;
        campaignMapCount = 1;
    }
    // Built whole: the tables may still hold whichever map was chosen before the failed one.
    loadSelectedBuiltinMap();
    return Result::EndSetup;
}
