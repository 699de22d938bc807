#pragma once
// A virtual screen of the bench's own (an Xvfb server of 1920 x 1080 on a free display number)
// and a connection to it that sees the game's window appear and reads what is on the screen.
// Watching from outside, the bench times any build of the program the same way.

#include <QProcess>
#include <QString>

#include <chrono>

struct xcb_connection_t;

using BenchClock = std::chrono::steady_clock;

class VirtualScreen {
public:
    static constexpr int kWidth = 1920;
    static constexpr int kHeight = 1080;

    VirtualScreen();
    ~VirtualScreen();
    VirtualScreen(const VirtualScreen &) = delete;
    VirtualScreen &operator=(const VirtualScreen &) = delete;

    // False when Xvfb could not be started or reached; `problem()` says why.
    bool ready() const { return connection_ != nullptr; }
    const QString &problem() const { return problem_; }
    // ":<number>", for the DISPLAY of a program started on this screen.
    QString display() const { return display_; }

    // Drops the window notices that arrived so far (of a program run before).
    void forgetNotices();
    // Waits until a top-level window is mapped; the moment its notice arrived, or nothing when
    // `deadline` passes first.
    bool waitForWindowShown(BenchClock::time_point deadline, BenchClock::time_point &shown);
    // Looks at the screen's middle row until most of it shows something other than black (the
    // map picture spans two thirds of it at this size); the moment it did.
    bool waitForMapPainted(BenchClock::time_point deadline, BenchClock::time_point &painted);

private:
    bool startServer();
    bool connectToServer();
    int litPixelsOfMiddleRow();

    QProcess server_;
    QString display_;
    QString problem_;
    xcb_connection_t *connection_ = nullptr;
    unsigned root_ = 0;
};
