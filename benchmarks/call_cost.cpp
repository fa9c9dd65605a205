// The cost of a WD_ call through modHeader once its function has been bound,
// against the same library function called through a plain pointer that the
// benchmark looked up itself (dlopen "Brenvik.dll" + dlsym), in one process.
//
// The software board records every call in its trace, which holds 65,536
// calls; calls are therefore timed in batches well below that and the board
// is reset (and opened again) between batches, outside the timed region, so
// that every timed call does the same work. Each benchmark iteration is one
// batch of 1,000 calls; the counter ns_per_call is the time of one call.
//
// After the usual Google Benchmark output it prints one line per function:
//   NAME modheader_ns=<median> pointer_ns=<median> ratio=<modheader/pointer>
// Needs Brenvik.dll on the library search path.
#include "binding/modheader.h"

#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

namespace {

constexpr int batch = 1000;

using GetDllVersionFunction = std::int32_t (*)(std::int32_t *);
using OpenFunction = std::int32_t (*)(std::int32_t *);
using GetTempTickleFunction = std::int32_t (*)(std::int32_t, std::int32_t *, std::int32_t *, std::int32_t *);
using ResetFunction = void (*)();

GetDllVersionFunction plainGetDllVersion = nullptr;
OpenFunction plainOpen = nullptr;
GetTempTickleFunction plainGetTempTickle = nullptr;
ResetFunction resetBoard = nullptr;
std::int32_t handle = 0;

void freshBoard()
{
    resetBoard();
    plainOpen(&handle);
}

template <typename Call>
void timeBatches(benchmark::State &state, Call call)
{
    freshBoard();
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < batch; ++i)
            call();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
        seconds += elapsed.count();
        freshBoard();
    }
    state.counters["ns_per_call"] = benchmark::Counter(seconds * 1e9 / batch, benchmark::Counter::kAvgIterations);
}

void GetDllVersion_modHeader(benchmark::State &state)
{
    timeBatches(state, [] {
        std::int32_t version = 0;
        benchmark::DoNotOptimize(modHeader::WD_GetDllVersion(version));
        benchmark::DoNotOptimize(version);
    });
}

void GetDllVersion_pointer(benchmark::State &state)
{
    timeBatches(state, [] {
        std::int32_t version = 0;
        benchmark::DoNotOptimize(plainGetDllVersion(&version));
        benchmark::DoNotOptimize(version);
    });
}

void GetTempTickle_modHeader(benchmark::State &state)
{
    timeBatches(state, [] {
        std::int32_t degrees = 0, halfDegree = 0, tickles = 0;
        benchmark::DoNotOptimize(modHeader::WD_GetTempTickle(handle, degrees, halfDegree, tickles));
        benchmark::DoNotOptimize(degrees);
    });
}

void GetTempTickle_pointer(benchmark::State &state)
{
    timeBatches(state, [] {
        std::int32_t degrees = 0, halfDegree = 0, tickles = 0;
        benchmark::DoNotOptimize(plainGetTempTickle(handle, &degrees, &halfDegree, &tickles));
        benchmark::DoNotOptimize(degrees);
    });
}

BENCHMARK(GetDllVersion_modHeader)->UseManualTime();
BENCHMARK(GetDllVersion_pointer)->UseManualTime();
BENCHMARK(GetTempTickle_modHeader)->UseManualTime();
BENCHMARK(GetTempTickle_pointer)->UseManualTime();

// The console output as usual, keeping each benchmark's median (or its only
// result, without repetitions) for the summary lines.
class SummaryReporter : public benchmark::ConsoleReporter
{
public:
    // Plain text: the summary lines below are read by scripts/benchmark.sh.
    SummaryReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                nanoseconds[run.run_name.function_name] = run.counters.at("ns_per_call");
        }
    }

    std::map<std::string, double> nanoseconds;
};

} // namespace

int main(int argc, char *argv[])
{
    void *library = dlopen("Brenvik.dll", RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        std::fprintf(stderr, "call-cost: %s\n", dlerror());
        return 1;
    }
    plainGetDllVersion = reinterpret_cast<GetDllVersionFunction>(dlsym(library, "WD_GetDllVersion"));
    plainOpen = reinterpret_cast<OpenFunction>(dlsym(library, "WD_Open"));
    plainGetTempTickle = reinterpret_cast<GetTempTickleFunction>(dlsym(library, "WD_GetTempTickle"));
    resetBoard = reinterpret_cast<ResetFunction>(dlsym(library, "softboard_reset"));
    if (!plainGetDllVersion || !plainOpen || !plainGetTempTickle || !resetBoard) {
        std::fprintf(stderr, "call-cost: Brenvik.dll on the search path is not the software board\n");
        return 1;
    }

    // modHeader binds each function at its first call; time only later calls.
    std::int32_t value = 0;
    modHeader::WD_GetDllVersion(value);
    modHeader::WD_GetTempTickle(handle, value, value, value);

    benchmark::Initialize(&argc, argv);
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    for (const char *name : {"GetDllVersion", "GetTempTickle"}) {
        const double viaModHeader = reporter.nanoseconds[std::string(name) + "_modHeader"];
        const double viaPointer = reporter.nanoseconds[std::string(name) + "_pointer"];
        if (viaModHeader > 0 && viaPointer > 0)
            std::printf("WD_%s modheader_ns=%.2f pointer_ns=%.2f ratio=%.3f\n", name, viaModHeader, viaPointer,
                        viaModHeader / viaPointer);
    }
    return 0;
}
