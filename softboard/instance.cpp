#include "softboard/instance.h"

#include "softboard/scenario.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace softboard {
namespace {

std::string_view environment(const char *name)
{
    const char *value = std::getenv(name);
    return value ? std::string_view(value) : std::string_view();
}

// Reads the environment now rather than when the first WD_ call arrives, so
// that the settings in force when the program started are the ones used.
[[maybe_unused]] const bool environmentReadAtLoad = (instance(), true);

} // namespace

void Instance::reset()
{
    board = Board();
    scripts.clear();
    trace.clear();
    callbacks.fill(Callback{});

    const std::string_view traceSetting = environment("SOFTBOARD_TRACE");
    printTrace = !traceSetting.empty() && traceSetting != "0";

    const std::string_view scenario = environment("SOFTBOARD_SCENARIO");
    if (!applyScenario(scenario, board, scripts)) {
        const std::string_view shown = scenario.substr(0, 200);
        // Not "softboard: ...": that prefix starts the trace lines, one per call.
        std::fprintf(stderr, "softboard warning: unknown SOFTBOARD_SCENARIO \"%.*s\", using the default board\n",
                     static_cast<int>(shown.size()), shown.data());
        std::fflush(stderr);
    }
}

Instance &instance()
{
    // Never destroyed: a WD_ call made while the process ends (from another
    // library's destructor, say) still finds a live board.
    static Instance *const theInstance = [] {
        auto *created = new Instance;
        created->reset();
        return created;
    }();
    return *theInstance;
}

} // namespace softboard
