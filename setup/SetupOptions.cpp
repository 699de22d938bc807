// The options and missions questions of the set-up flow.

#include "setup/SetupFlow.h"

#include "app/ViewArea.h"
#include "rules/TurnState.h"
#include "setup/ChoiceDialog.h"
#include "state/BuiltinMaps.h"
#include "state/Campaign.h"
#include "state/GameState.h"

namespace {

using Result = SetupStepResult;

enum OptionRow { RowDice = 0, RowStrongholds, RowTroopExperience, RowButtons };

// Always the same first states, whatever the options are now.
ChoiceDialogSpec optionsSpec()
{
    ChoiceDialogSpec spec;
    spec.faded = false;
    spec.resetsChoice = false;
    const struct {
        const char *label;
        bool checked;
        const char *info;
    } rows[] = {{"Dice", true, "opties1info1()"},
                {"Strongholds", false, "opties1info2()"},
                {"Troop Experience", false, "opties1info3()"}};
    int row = RowDice;
    for (const auto &r : rows) {
        spec.addCheckBox(QLatin1String(r.label), r.checked, row);
        DialogItem &info = spec.addButton(QStringLiteral("Info..."), ButtonRole::SlotOnly, r.info);
        info.row = row++;
        info.alignRight = true;
    }
    DialogItem &ok = spec.addButton(QStringLiteral("Ok"), ButtonRole::AcceptOnly);
    ok.row = RowButtons;
    // Return accepts the options rather than opening the first "Info..." box.
    ok.isDefault = true;
    spec.addButton(QStringLiteral("Cancel"), ButtonRole::Cancel).row = RowButtons;
    return spec;
}

ChoiceDialogSpec missionsSpec()
{
    ChoiceDialogSpec spec;
    spec.title = QStringLiteral("Missions");
    spec.addAnswer(QStringLiteral("Conquer All"), 1);
    // The continent missions cannot be played with strongholds.
    spec.addAnswer(QStringLiteral("Continents"), 2).enabled = !strongholdsEnabled;
    spec.addAnswer(QStringLiteral("Hold Continents"), 3).enabled = !strongholdsEnabled;
    spec.addAnswer(QStringLiteral("Escort"), 4);
    spec.addButton(QStringLiteral("Info..."), ButtonRole::SlotOnly, "missioninfo1()");
    spec.addCancel();
    return spec;
}

} // namespace

bool SetupFlow::askOptions()
{
    const ChoiceOutcome outcome = runChoiceDialog(view_, optionsSpec());
    if (outcome.result == 0 || outcome.checks.size() < 3)
        return false;
    attackRule = outcome.checks[RowDice] ? 'n' : 'j';
    strongholdsEnabled = outcome.checks[RowStrongholds] ? 1 : 0;
    troopExperienceEnabled = outcome.checks[RowTroopExperience] ? 1 : 0;
    return true;
}

Result SetupFlow::optionsAndMissions()
{
    if (!askOptions())
        return leaveAfterCancel();
    if (gameMode == ModeHotseat) {
        missionType = 0;
    } else {
        const Result asked = askMissions();
        if (asked != Result::Continue)
            return asked;
    }
    recordedOptionFlag = 0;
    difficulty = 1;
    return Result::Continue;
}

Result SetupFlow::askMissions()
{
    const ChoiceOutcome outcome = runChoiceDialog(view_, missionsSpec());
    if (outcome.result == 0 || outcome.choice < 1 || outcome.choice > 4)
        return leaveAfterCancel();
    missionType = outcome.choice - 1;
    return Result::Continue;
}

Result SetupFlow::leaveAfterCancel()
{
    if (mapCustomFlag || campaignId == CampaignFromFile) {
        view_.resetGameDefaults();
        return Result::EndSetup;
    }
    return Result::RestartSetup;
}
