#pragma once
// A peer that has gone silent (its link dropped, its program hung or no longer reading) is found
// within a bound even while nothing is awaited from it. TCP keep-alive would not do: by default
// it waits two hours, and a program that has stopped reading still has its system answer it.
// So the host probes every player with the code 9999 every `kProbeIntervalMs`, each client
// answers a probe at once, and a peer not heard from for `kSilenceLimitMs` (by the clock seam)
// has gone: the game ends here as when his connection closes.

constexpr int kProbeIntervalMs = 2000;
constexpr int kSilenceLimitMs = 15000;
// A machine that has not looked for this long (its loop held up, the computer asleep, the clock
// set) cannot tell its peers' silence from its own: they are all given a fresh start.
constexpr int kWatchGapMs = 5000;

// The peer on socket n (1..4) was heard from, or its connection has just begun: its silence
// counts from now.
void heardFrom(int socket);
// The peer on socket n is no longer watched (its socket was given back).
void forgetPeer(int socket);
// One tick of a network game: the host's probes, then every watched peer's silence. False when
// a silent peer has ended the game here.
bool watchPeers();
