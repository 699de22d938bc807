#pragma once
// How long a network test waits for what a correct run always brings (a reply, a message, a
// copy's answer, a connection) before it takes the wait for a hang. Far beyond what the slowest,
// busiest machine needs, so it never cuts a correct run short; well within the bound that ctest
// and Qt Test's watchdog put on a test program (tests/CMakeLists.txt), so a hang is told where it
// lies.
constexpr int kHangGuardMs = 120000;
