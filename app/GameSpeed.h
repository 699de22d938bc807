#pragma once
// The game speed: the interval of the game loop's timer that the speed flags choose.

constexpr int kNetworkGameInterval = 512;

// The interval the speed flags choose: the fastest flag set wins (96, 160, 224, 288 ms), then
// 384 ms with only `fastSpeed`, else 512 ms; every network game runs at 512 ms.
int gameSpeedInterval();
