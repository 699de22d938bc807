#pragma once

#include <functional>

#include <QString>

// Runs `work` `runs` times and prints "<name>: median <ms> ms, worst <ms> ms (<runs> runs)".
void measure(const QString &name, int runs, const std::function<void()> &work);

// The measures of one area; each file of bench/ registers its own.
struct BenchArea {
    const char *name;
    void (*run)();
    BenchArea(const char *areaName, void (*runner)());
};
