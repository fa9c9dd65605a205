// Times programs from launch until their top-level window is mapped on the X
// server named by DISPLAY, and reads each one's peak resident memory (VmHWM)
// once it is shown.
//
//   window-timer RUNS SETTLE_MS TITLE PROGRAM...
//
// Each round launches every PROGRAM once, one at a time, in an order that
// rotates from round to round so that no program is always first after the
// previous one ended. A launch is timed on the monotonic clock from just
// before fork() to the moment the server reports the map of a top-level
// window titled TITLE (what `xdotool search --sync --onlyvisible` waits for,
// but reported by the server at once instead of found by polling). SETTLE_MS
// later the program's VmHWM is read and the program is killed.
//
// Prints one line per program:
//   PROGRAM startup_ms=<median> min=<min> max=<max> hwm_kb=<median> runs=<n>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::string windowTitle(Display *display, Window window)
{
    const Atom names[] = {XInternAtom(display, "_NET_WM_NAME", False), XA_WM_NAME};
    for (Atom name : names) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long remaining = 0;
        unsigned char *data = nullptr;
        if (XGetWindowProperty(display, window, name, 0, 256, False, AnyPropertyType, &type, &format, &count,
                               &remaining, &data) == Success &&
            data) {
            std::string title(reinterpret_cast<char *>(data), count);
            XFree(data);
            if (format == 8 && !title.empty())
                return title;
        }
    }
    return {};
}

long peakResidentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

// Waits for the map of a top-level window titled `title`; false when the
// program ended first or nothing came within the time limit.
bool waitForMappedWindow(Display *display, const std::string &title, pid_t pid, Clock::time_point &mappedAt)
{
    const auto deadline = Clock::now() + std::chrono::seconds(30);
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    while (Clock::now() < deadline) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && windowTitle(display, event.xmap.window) == title) {
                mappedAt = Clock::now();
                return true;
            }
        }
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return false;
        poll(&connection, 1, 50);
    }
    return false;
}

struct Sample {
    double startupMs;
    long hwmKb;
};

bool launch(Display *display, const std::string &program, const std::string &title, int settleMs, Sample &sample)
{
    // Events left over from the previous program are not this launch's.
    XSync(display, False);
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
    }

    const auto launchedAt = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execl(program.c_str(), program.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    if (pid < 0)
        return false;

    Clock::time_point mappedAt;
    const bool mapped = waitForMappedWindow(display, title, pid, mappedAt);
    if (mapped) {
        std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
        sample.startupMs = std::chrono::duration<double, std::milli>(mappedAt - launchedAt).count();
        sample.hwmKb = peakResidentKb(pid);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return mapped && sample.hwmKb > 0;
}

template <typename T>
T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: window-timer RUNS SETTLE_MS TITLE PROGRAM...\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const int settleMs = std::atoi(argv[2]);
    const std::string title = argv[3];
    const std::vector<std::string> programs(argv + 4, argv + argc);

    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "window-timer: cannot open the display\n");
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);

    std::vector<std::vector<Sample>> samples(programs.size());
    for (int round = 0; round < runs; ++round) {
        for (std::size_t i = 0; i < programs.size(); ++i) {
            const std::size_t which = (i + static_cast<std::size_t>(round)) % programs.size();
            Sample sample{};
            if (!launch(display, programs[which], title, settleMs, sample)) {
                std::fprintf(stderr, "window-timer: %s showed no window titled \"%s\"\n",
                             programs[which].c_str(), title.c_str());
                return 1;
            }
            samples[which].push_back(sample);
        }
    }

    for (std::size_t i = 0; i < programs.size(); ++i) {
        std::vector<double> startup;
        std::vector<long> hwm;
        for (const Sample &sample : samples[i]) {
            startup.push_back(sample.startupMs);
            hwm.push_back(sample.hwmKb);
        }
        std::printf("%s startup_ms=%.2f min=%.2f max=%.2f hwm_kb=%ld runs=%zu\n", programs[i].c_str(),
                    median(startup), *std::min_element(startup.begin(), startup.end()),
                    *std::max_element(startup.begin(), startup.end()), median(hwm), startup.size());
    }
    XCloseDisplay(display);
    return 0;
}
