#pragma once
// The call from the turn flow into network play. The rules cannot reach the sockets themselves;
// `sendNetworkUpdate` (rules/TurnFlow) and the network part of `sendTurnUpdate`
// (state/MapPicture) are to call this with their code (1003..1011, see `networkUpdate`).

extern void (*networkUpdateSender)(int code);
