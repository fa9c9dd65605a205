// The one software board of the process: the board, its scripts, callbacks
// and trace, and the lock that guards them.
#pragma once

#include "softboard/board.h"
#include "softboard/scripts.h"
#include "softboard/trace.h"

#include <array>
#include <mutex>

namespace softboard {

struct Callback {
    SbCallback function = nullptr;
    void *context = nullptr;
};

struct Instance {
    // Guards everything below. Never held while a callback runs, so that a
    // callback can call the control functions and the WD_ functions.
    std::mutex mutex;
    Board board;
    Scripts scripts;
    Trace trace;
    std::array<Callback, SB_FunctionCount> callbacks{};
    bool printTrace = false; // SOFTBOARD_TRACE

    // Back to the default board, no scripts, callbacks or trace entries, then
    // the environment (SOFTBOARD_SCENARIO, SOFTBOARD_TRACE) applied again.
    // The caller holds `mutex`.
    void reset();
};

// The instance, created with the environment applied at the first use, which
// is when the library is loaded.
Instance &instance();

} // namespace softboard
