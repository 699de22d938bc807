// The real program left running its start-up demo on a 1920 x 1080 virtual screen: its resident
// memory at the end, and whether it still grows in the second half of the run.
// `tarvan_bench longdemo [minutes]` (15 by default); several programs in TARVAN_BENCH_PROGRAM run
// side by side, each on a screen of its own.

#include "GameProcess.h"
#include "Measure.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

namespace {

constexpr int kDefaultMinutes = 15;
constexpr int kSampleEverySeconds = 30;
constexpr int kFirstSampleMs = 4000;

struct DemoRun {
    QString program;
    std::unique_ptr<VirtualScreen> screen;
    std::unique_ptr<GameProcess> game;
    std::vector<double> samples; // MB, at 4 s and then every 30 s
};

bool startRun(DemoRun &run)
{
    run.screen = std::make_unique<VirtualScreen>();
    if (!run.screen->ready()) {
        std::printf("long demo: skipped, %s\n", qPrintable(run.screen->problem()));
        return false;
    }
    run.game = std::make_unique<GameProcess>(*run.screen, run.program);
    if (!run.game->start()) {
        std::printf("long demo: %s could not be started\n", qPrintable(run.program));
        return false;
    }
    return true;
}

void printRun(const DemoRun &run, int minutes)
{
    std::printf("long demo of %s, %d min\n", qPrintable(run.program), minutes);
    if (!run.game->running() || run.samples.size() < 2) {
        std::printf("  the program ended before the end\n");
        return;
    }
    const double half = run.samples[run.samples.size() / 2];
    std::printf("%-48s %8.1f MB   (at 4 s %.1f, peak %.1f, second half %+.1f MB)\n",
                qPrintable(QStringLiteral("resident memory after %1 min of demo").arg(minutes)), run.samples.back(),
                run.samples.front(), *std::max_element(run.samples.begin(), run.samples.end()),
                run.samples.back() - half);
}

void runLongDemo()
{
    const int minutes = benchArgumentAfter("longdemo", kDefaultMinutes);
    std::vector<DemoRun> runs;
    for (const QString &program : benchedPrograms()) {
        runs.push_back({program, nullptr, nullptr, {}});
        if (!startRun(runs.back()))
            return;
    }
    const auto started = BenchClock::now();
    const auto end = started + std::chrono::minutes(minutes);
    for (auto next = started + std::chrono::milliseconds(kFirstSampleMs);; ) {
        std::this_thread::sleep_until(next);
        for (DemoRun &run : runs)
            if (run.game->running())
                run.samples.push_back(run.game->residentMegabytes());
        if (next >= end)
            break;
        next = std::min(end, next + std::chrono::seconds(kSampleEverySeconds));
    }
    for (const DemoRun &run : runs)
        printRun(run, minutes);
    std::fflush(stdout);
}

BenchArea longDemoArea("longdemo", runLongDemo);

} // namespace
