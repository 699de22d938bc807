#pragma once
// How a step of the set-up flow ends, and the network steps the set-up flow runs (the network
// type question, the player's network name, hosting and joining, the online game list), which
// are defined with network play.

class ViewArea;

enum class SetupStepResult {
    Continue,     // the step is done; the flow goes on
    RestartSetup, // back to the start: the flow restarts from the new-game defaults, same entry
    EndSetup,     // the set-up ends without a new game (through the flow's common exit)
};

// The network-type question (hotseat, LAN or Internet; host or join): sets `networkKind`,
// `internetGame` and the flow marker `aiPlayerCount` (22 hotseat, 55 host, 66 join).
SetupStepResult askNetworkGameType(ViewArea &view);
// The name step: the local player's network name into `networkPlayerName` and `playerName`[1].
SetupStepResult askNetworkPlayerName(ViewArea &view);
// The host steps: the announced address, the server listening, the online list entry for an
// Internet host, the lobby opened (screen 102). Ended anywhere else, they leave the start menu
// with the server closed.
SetupStepResult runHostSteps(ViewArea &view);
// The join steps: the host found by name, address, search or the online list, remembered, the
// connection started and the lobby opened (screen 101). Ended anywhere else, they leave the start
// menu with any connection closed.
SetupStepResult runJoinSteps(ViewArea &view);
