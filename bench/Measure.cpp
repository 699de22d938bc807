#include "Measure.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

void measure(const QString &name, int runs, const std::function<void()> &work)
{
    std::vector<double> times;
    times.reserve(runs);
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    std::printf("%-48s median %8.3f ms   worst %8.3f ms   (%d runs)\n", qPrintable(name),
                times[times.size() / 2], times.back(), runs);
    std::fflush(stdout);
}
