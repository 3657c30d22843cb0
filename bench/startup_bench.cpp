// Measures how long programs take from their start to their first window being
// mapped on the X server in $DISPLAY, and their peak resident memory, over a
// number of runs, and compares each program with the first two given: an empty
// window, and the same window with one line of text.
//
//   startup_bench RUNS EMPTY_WINDOW TEXT_WINDOW PROGRAM...

#include <xcb/xcb.h>

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
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

// Whether an event is the map of a top-level window.
bool IsMap(xcb_generic_event_t* event)
{
    const bool map = (event->response_type & 0x7f) == XCB_MAP_NOTIFY &&
                     !reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect;
    std::free(event);
    return map;
}

// Waits for a top-level window to be mapped; false after ten seconds.
bool WaitForMap(xcb_connection_t* display)
{
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < deadline) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(display))
            if (IsMap(event))
                return true;
        pollfd connection{xcb_get_file_descriptor(display), POLLIN, 0};
        poll(&connection, 1, 50);
    }
    return false;
}

bool Measure(xcb_connection_t* display, const char* program, Run& run)
{
    // Forget earlier events.
    std::free(xcb_get_input_focus_reply(display, xcb_get_input_focus(display), nullptr));
    while (xcb_generic_event_t* event = xcb_poll_for_event(display))
        std::free(event);
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
    int screenNumber = 0;
    xcb_connection_t* display = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(display)) {
        std::fprintf(stderr, "cannot open the X display\n");
        return 2;
    }
    xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(display));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&screen);
    const std::uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(display, screen.data->root, XCB_CW_EVENT_MASK, &events);
    xcb_flush(display);

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
    xcb_disconnect(display);
    return 0;
}
