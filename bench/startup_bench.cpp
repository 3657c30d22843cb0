// Measures how long programs take from their start to their first window being
// mapped on the X server in $DISPLAY, and their peak resident memory, over a
// number of runs, and compares each program with the first two given: an empty
// window, and the same window with one line of text.
//
//   startup_bench RUNS EMPTY_WINDOW TEXT_WINDOW PROGRAM...

#include <X11/Xlib.h>

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Run
{
    double startupMs;
    long peakKiB;
};

// Waits for a top-level window to be mapped; false after ten seconds.
bool WaitForMap(Display* display)
{
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < deadline) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect)
                return true;
        }
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        poll(&connection, 1, 50);
    }
    return false;
}

bool Measure(Display* display, const char* program, Run& run)
{
    XSync(display, True); // forget earlier events
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        freopen("/dev/null", "w", stderr);
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    const bool mapped = WaitForMap(display);
    run.startupMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    // Let the first paint finish, which belongs to starting up as well.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    kill(pid, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.peakKiB = usage.ru_maxrss;
    return mapped;
}

template <typename T> T Median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s RUNS EMPTY_WINDOW TEXT_WINDOW PROGRAM...\n", argv[0]);
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "cannot open the X display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);

    std::vector<std::vector<double>> startup(argc - 2);
    std::vector<std::vector<long>> peak(argc - 2);
    // Interleaved, so that a slow moment of the machine hits every program alike.
    for (int i = 0; i < runs; ++i)
        for (int p = 2; p < argc; ++p) {
            Run run{};
            if (!Measure(display, argv[p], run)) {
                std::fprintf(stderr, "%s mapped no window\n", argv[p]);
                return 1;
            }
            startup[p - 2].push_back(run.startupMs);
            peak[p - 2].push_back(run.peakKiB);
        }

    const double emptyMs = Median(startup[0]), textMs = Median(startup[1]);
    const long emptyKiB = Median(peak[0]), textKiB = Median(peak[1]);
    std::printf("%-22s %12s %8s %8s %14s %8s %8s\n", "median of runs", "start-up ms", "x empty",
                "x text", "peak RSS KiB", "x empty", "x text");
    for (int p = 2; p < argc; ++p) {
        const std::string name = std::string(argv[p]).substr(std::string(argv[p]).rfind('/') + 1);
        const double ms = Median(startup[p - 2]);
        const long kib = Median(peak[p - 2]);
        std::printf("%-22s %12.1f %8.2f %8.2f %14ld %8.2f %8.2f\n", name.c_str(), ms, ms / emptyMs,
                    ms / textMs, kib, double(kib) / emptyKiB, double(kib) / textKiB);
    }
    XCloseDisplay(display);
    return 0;
}
