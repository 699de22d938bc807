#pragma once
// How long a network test waits for what a correct run always brings (a reply, a message, a
// copy's answer, a connection) before it takes the wait for a hang. Far beyond what the slowest,
// busiest machine needs, so it never cuts a correct run short; within Qt Test's own limit of one
// test function (5 minutes), so a hang is told where it lies.
constexpr int kHangGuardMs = 120000;
