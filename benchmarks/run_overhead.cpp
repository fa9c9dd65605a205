// The overhead of a complete run: the wall time of a click on the real Start
// button of a shown Form1, less the busy pause and the one-second sleep the
// run contains by design, both timed on their own in the same process right
// after each run.
//
//   run-overhead [REPEATS]
//
// The first run also loads the device library and looks up its functions;
// it is reported on its own. Before each later run the software board is
// reset (untimed), so that every run sees the board a fresh program sees.
// A run counts from the click until the events it left queued (the final
// repaint of the output box) are handled.
//
// As a check that does not depend on the pauses taking as long on their own
// as inside the run, the software board also stamps the start of each
// WD_SetBuzzer and WD_GetSetPowerModule call of the later runs: the pause
// lies between the two buzzer calls and the sleep between the two power
// module calls, so the run less those two stretches is its overhead as seen
// from inside (it leaves out the first call of each pair and the line it
// logs, a few microseconds).
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise;
// needs Brenvik.dll on the library search path.
#include "binding/modheader.h"
#include "console/form1.h"
#include "console/outputbox.h"
#include "softboard/softboard_control.h"
#include "steps/buzzerpause.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

template <typename Work>
double millisecondsOf(Work &&work)
{
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct Repetition {
    double runMs;
    double pauseMs;
    double sleepMs;
    double insideMs = 0; // the run less the stretches between the call pairs
    double overheadMs() const { return runMs - pauseMs - sleepMs; }
};

// Start times of the calls of one function during a run.
using Stamps = std::vector<Clock::time_point>;

void stamp(void *stamps)
{
    static_cast<Stamps *>(stamps)->push_back(Clock::now());
}

double stretchMs(const Stamps &stamps)
{
    if (stamps.size() != 2)
        return -1;
    return std::chrono::duration<double, std::milli>(stamps[1] - stamps[0]).count();
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;

    Form1 form;
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) {
        std::fprintf(stderr, "run-overhead: the window was not shown\n");
        return 1;
    }
    auto *start = form.findChild<QPushButton *>(QStringLiteral("btnStart"));
    auto *output = form.findChild<OutputBox *>(QStringLiteral("txtOutput"));
    if (!start || !output) {
        std::fprintf(stderr, "run-overhead: Form1 has no btnStart or txtOutput\n");
        return 1;
    }

    const auto timedRun = [&] {
        Repetition repetition{};
        repetition.runMs = millisecondsOf([&] {
            start->click();
            // The harness, not the program, lets the event loop paint what
            // the run left to it, so that the figure includes that cost.
            QCoreApplication::processEvents();
        });
        // A run that ended early (an open error, say) would make the
        // overhead look small: only a run that closed the board counts.
        if (!output->text().endsWith(QStringLiteral("WDog Closed.\r\n"))) {
            std::fprintf(stderr, "run-overhead: the run did not end with the board closed\n");
            std::exit(1);
        }
        repetition.pauseMs = millisecondsOf(buzzerPause);
        repetition.sleepMs = millisecondsOf([] { modHeader::Sleep(1000); });
        return repetition;
    };

    const Repetition first = timedRun();

    // The software board's control functions (the run above has loaded the
    // library); the board maker's library has none, and then the runs go on
    // without a reset and without the inside check.
    using Reset = void (*)();
    using OnCall = void (*)(SbFunction, SbCallback, void *);
    Reset resetBoard = nullptr;
    OnCall onCall = nullptr;
    if (void *library = dlopen("Brenvik.dll", RTLD_NOW | RTLD_NOLOAD)) {
        resetBoard = reinterpret_cast<Reset>(dlsym(library, "softboard_reset"));
        onCall = reinterpret_cast<OnCall>(dlsym(library, "softboard_on_call"));
    }

    std::vector<Repetition> repetitions;
    for (int i = 0; i < repeats; ++i) {
        Stamps buzzerCalls, powerModuleCalls;
        if (resetBoard && onCall) {
            resetBoard();
            onCall(SB_SetBuzzer, stamp, &buzzerCalls);
            onCall(SB_GetSetPowerModule, stamp, &powerModuleCalls);
        }
        // Starts each timed run from an idle window, nothing left to paint.
        QCoreApplication::processEvents();
        Repetition repetition = timedRun();
        if (resetBoard && onCall) {
            resetBoard(); // removes the callbacks
            const double pause = stretchMs(buzzerCalls);
            const double sleep = stretchMs(powerModuleCalls);
            repetition.insideMs = pause < 0 || sleep < 0 ? -1 : repetition.runMs - pause - sleep;
        }
        repetitions.push_back(repetition);
    }

    std::vector<double> runs, pauses, sleeps, overheads, inside;
    for (const Repetition &repetition : repetitions) {
        runs.push_back(repetition.runMs);
        pauses.push_back(repetition.pauseMs);
        sleeps.push_back(repetition.sleepMs);
        overheads.push_back(repetition.overheadMs());
        inside.push_back(repetition.insideMs);
    }
    std::printf("first_run_ms=%.3f first_pause_ms=%.3f first_sleep_ms=%.3f first_overhead_ms=%.3f\n", first.runMs,
                first.pauseMs, first.sleepMs, first.overheadMs());
    std::printf("run_ms=%.3f pause_ms=%.3f sleep_ms=%.3f overhead_ms=%.3f overhead_min_ms=%.3f "
                "overhead_max_ms=%.3f inside_overhead_ms=%.3f repeats=%d\n",
                median(runs), median(pauses), median(sleeps), median(overheads),
                *std::min_element(overheads.begin(), overheads.end()),
                *std::max_element(overheads.begin(), overheads.end()), median(inside), repeats);
    return 0;
}
