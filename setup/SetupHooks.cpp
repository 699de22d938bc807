#include "setup/SetupHooks.h"

#include "app/ViewArea.h"
#include "setup/ChoiceDialog.h"

namespace {

void showTopFiveOfMap(ViewArea &view)
{
    view.showTopFiveDialog();
}

const SetupHooks kRealHooks = {askNetworkGameType, askNetworkPlayerName, runHostSteps, runJoinSteps,
                               showTopFiveOfMap};

SetupHooks hooks = kRealHooks;

} // namespace

SetupHooks &setupHooks()
{
    return hooks;
}

void resetSetupHooks()
{
    hooks = kRealHooks;
    setChoiceDialogRunner({});
}
