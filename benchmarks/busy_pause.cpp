// The busy pause of a run (buzzerPause(), 268,435,456 steps of a volatile
// counter) as the Release build compiles it, against the same loop written
// here with a sixteenth of the count. If the optimiser had dropped or
// shortened the pause, it would take far less than sixteen times the short
// loop.
//
//   busy-pause [ROUNDS]     times both, interleaved, and prints
//                           pause_ms=<median> ns_per_step=... short_ms=<median>
//                           short_x16_ms=... ratio=<pause / (16 x short)>
//   busy-pause pause        runs buzzerPause() once (for an instruction count
//   busy-pause short        under callgrind), or the short loop once
#include "steps/buzzerpause.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr double pauseSteps = 268435456.0;

// buzzerPause()'s loop with a sixteenth of its count: 0 up to and including
// 16,777,215.
[[gnu::noinline]] void shortCount()
{
    volatile std::int32_t counter = 0;
    while (counter <= 0x00FFFFFF)
        counter = counter + 1;
}

template <typename Work>
double millisecondsOf(Work &&work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && std::strcmp(argv[1], "pause") == 0) {
        buzzerPause();
        return 0;
    }
    if (argc > 1 && std::strcmp(argv[1], "short") == 0) {
        shortCount();
        return 0;
    }
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    std::vector<double> pause, shortLoop;
    for (int i = 0; i < rounds; ++i) {
        pause.push_back(millisecondsOf(buzzerPause));
        shortLoop.push_back(millisecondsOf(shortCount));
    }
    const double pauseMs = median(pause);
    const double shortMs = median(shortLoop);
    std::printf("pause_ms=%.2f ns_per_step=%.3f short_ms=%.3f short_x16_ms=%.2f ratio=%.3f rounds=%d\n", pauseMs,
                pauseMs * 1e6 / pauseSteps, shortMs, shortMs * 16, pauseMs / (shortMs * 16), rounds);
    return 0;
}
