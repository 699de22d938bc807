#pragma once
// What the set-up flow calls of other work that reaches outside the machine or opens a dialog of
// its own: the network steps and the top-five list. The flow calls them through here so that a
// test can script them; the defaults are the real ones.

#include "setup/SetupSteps.h"

struct SetupHooks {
    SetupStepResult (*askNetworkGameType)(ViewArea &view);
    SetupStepResult (*askNetworkPlayerName)(ViewArea &view);
    SetupStepResult (*runHostSteps)(ViewArea &view);
    SetupStepResult (*runJoinSteps)(ViewArea &view);
    // The current top five of the map a high-score game is played on.
    void (*showTopFive)(ViewArea &view);
};

SetupHooks &setupHooks();
// Every hook back to the real one.
void resetSetupHooks();
