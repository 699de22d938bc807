// The real program left running its start-up demo on a 1920 x 1080 virtual screen: its resident
// memory at the end, and whether it still grows in the second half of the run.
// `tarvan_bench longdemo [minutes]` (15 by default); TARVAN_BENCH_PROGRAM runs another build.

#include "GameProcess.h"
#include "Measure.h"

#include <QThread>

#include <thread>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kDefaultMinutes = 15;
constexpr int kSampleEverySeconds = 30;
constexpr int kFirstSampleMs = 4000;

void runLongDemo()
{
    VirtualScreen screen;
    if (!screen.ready()) {
        std::printf("long demo: skipped, %s\n", qPrintable(screen.problem()));
        return;
    }
    const int minutes = benchArgumentAfter("longdemo", kDefaultMinutes);
    GameProcess game(screen);
    if (!game.start()) {
        std::printf("long demo: %s could not be started\n", qPrintable(benchedProgramPath()));
        return;
    }
    const auto end = game.startedAt() + std::chrono::minutes(minutes);
    std::vector<double> samples; // MB, at 4 s and then every 30 s
    QThread::msleep(kFirstSampleMs);
    for (auto next = game.startedAt() + std::chrono::milliseconds(kFirstSampleMs); game.running();) {
        samples.push_back(game.residentMegabytes());
        if (next >= end)
            break;
        next = std::min(end, next + std::chrono::seconds(kSampleEverySeconds));
        std::this_thread::sleep_until(next);
    }
    if (!game.running() || samples.size() < 2) {
        std::printf("long demo of %s: the program ended before %d min\n", qPrintable(benchedProgramPath()), minutes);
        return;
    }
    const double half = samples[samples.size() / 2];
    std::printf("long demo of %s, %d min\n", qPrintable(benchedProgramPath()), minutes);
    std::printf("%-48s %8.1f MB   (at 4 s %.1f, peak %.1f, second half %+.1f MB)\n",
                qPrintable(QStringLiteral("resident memory after %1 min of demo").arg(minutes)), samples.back(),
                samples.front(), *std::max_element(samples.begin(), samples.end()), samples.back() - half);
    std::fflush(stdout);
}

BenchArea longDemoArea("longdemo", runLongDemo);

} // namespace
