// Start-up of the real program on a 1920 x 1080 virtual screen, from the moment it is launched:
// until its window is mapped, until the map shows in it, and its resident memory 4 s later.
// `tarvan_bench startup [runs]` (10 runs by default); with several programs in TARVAN_BENCH_PROGRAM
// each run starts them in turn, so that a noisy machine weighs on all alike.

#include "GameProcess.h"
#include "Measure.h"

#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kDefaultRuns = 10;
constexpr int kResidentAfterMs = 4000;
constexpr int kPaintDeadlineMs = 20000;

struct StartupSample {
    double windowShownMs = 0;
    double mapPaintedMs = 0;
    double residentMB = 0;
    QStringList glLibraries;
};

double msBetween(BenchClock::time_point from, BenchClock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

struct ProgramSamples {
    QString program;
    std::vector<double> shown, painted, resident;
    QStringList glLibraries;
    int failed = 0;
};

bool sampleStartup(VirtualScreen &screen, const QString &program, StartupSample &sample)
{
    screen.forgetNotices();
    GameProcess game(screen, program);
    if (!game.start())
        return false;
    const BenchClock::time_point deadline = game.startedAt() + std::chrono::milliseconds(kPaintDeadlineMs);
    BenchClock::time_point shown;
    BenchClock::time_point painted;
    if (!screen.waitForWindowShown(deadline, shown) || !screen.waitForMapPainted(deadline, painted))
        return false;
    sample.windowShownMs = msBetween(game.startedAt(), shown);
    sample.mapPaintedMs = msBetween(game.startedAt(), painted);
    const double waitMs = kResidentAfterMs - msBetween(game.startedAt(), BenchClock::now());
    if (waitMs > 0)
        QThread::msleep(static_cast<unsigned long>(waitMs));
    sample.residentMB = game.residentMegabytes();
    sample.glLibraries = game.mappedGlLibraries();
    return game.running();
}

void printSpread(const char *name, std::vector<double> values, const char *unit)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    std::printf("%-48s median %8.1f %s   range %.1f-%.1f %s   (%zu runs)\n", name, median, unit, values.front(),
                values.back(), unit, n);
}

void addSample(VirtualScreen &screen, ProgramSamples &samples)
{
    StartupSample sample;
    if (!sampleStartup(screen, samples.program, sample)) {
        ++samples.failed;
        return;
    }
    samples.shown.push_back(sample.windowShownMs);
    samples.painted.push_back(sample.mapPaintedMs);
    samples.resident.push_back(sample.residentMB);
    samples.glLibraries = sample.glLibraries;
}

void printSamples(const ProgramSamples &samples)
{
    std::printf("start-up of %s\n", qPrintable(samples.program));
    if (samples.failed > 0)
        std::printf("  %d runs failed (no window, no map, or the program ended)\n", samples.failed);
    if (samples.shown.empty())
        return;
    printSpread("start to window shown (1920x1080)", samples.shown, "ms");
    printSpread("start to painted map", samples.painted, "ms");
    printSpread("resident memory 4 s after start", samples.resident, "MB");
    std::printf("%-48s %s\n", "OpenGL libraries mapped 4 s after start",
                samples.glLibraries.isEmpty() ? "none" : qPrintable(samples.glLibraries.join(QLatin1Char(' '))));
}

void runStartupBenchmarks()
{
    VirtualScreen screen;
    if (!screen.ready()) {
        std::printf("start-up: skipped, %s\n", qPrintable(screen.problem()));
        return;
    }
    std::vector<ProgramSamples> programs;
    for (const QString &program : benchedPrograms())
        programs.push_back({program, {}, {}, {}, {}, 0});
    const int runs = benchArgumentAfter("startup", kDefaultRuns);
    for (int i = 0; i < runs; ++i)
        for (ProgramSamples &samples : programs)
            addSample(screen, samples);
    for (const ProgramSamples &samples : programs)
        printSamples(samples);
    std::fflush(stdout);
}

BenchArea startupArea("startup", runStartupBenchmarks);

} // namespace
