#pragma once
// The game program started as a player starts it, in a working folder of its own (a first start:
// no settings or scores yet, the run folder's sounds and maps beside it), on the bench's virtual
// screen; and what the system tells about it while it runs.

#include "VirtualScreen.h"

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// The programs the start-up measures run: those of TARVAN_BENCH_PROGRAM when it is set (paths
// separated by ':', to compare builds in one sitting), otherwise the one built beside the bench.
QStringList benchedPrograms();

// The number given after `area` on the bench's command line, or `fallback`.
int benchArgumentAfter(const char *area, int fallback);

class GameProcess {
public:
    GameProcess(const VirtualScreen &screen, const QString &program);
    ~GameProcess();
    GameProcess(const GameProcess &) = delete;
    GameProcess &operator=(const GameProcess &) = delete;

    // False when the program could not be started.
    bool start();
    BenchClock::time_point startedAt() const { return startedAt_; }
    bool running() const { return process_.state() == QProcess::Running; }
    // The program's resident memory in MB, from /proc (0 when it is gone).
    double residentMegabytes() const;
    // The OpenGL, Mesa and LLVM libraries mapped into it now.
    QStringList mappedGlLibraries() const;
    void stop();

private:
    QString procFile(const char *name) const;

    const VirtualScreen &screen_;
    QString program_;
    QTemporaryDir folder_;
    QProcess process_;
    BenchClock::time_point startedAt_;
};
