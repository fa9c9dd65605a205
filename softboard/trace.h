// The record of every WD_ call since the last reset, oldest first.
#pragma once

#include "softboard/softboard_control.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace softboard {

class Trace {
public:
    // Names an entry across a callback, during which the trace may grow or be
    // cleared: an index with the clearing it belongs to, never an iterator.
    struct Ticket {
        std::uint64_t generation = 0;
        std::size_t index = 0;
    };

    // Appends a call as it arrived; its result is filled in by setResult().
    Ticket record(const SbCall &call);
    // Sets the result of the entry `ticket` names, unless the trace was
    // cleared since then (the entry is gone).
    void setResult(Ticket ticket, std::int32_t result);

    std::int32_t count() const;
    // Copies entry `index` into `call`; false when there is no such entry.
    bool get(std::int32_t index, SbCall &call) const;
    void clear();

private:
    std::vector<SbCall> calls_;
    std::uint64_t generation_ = 0;
};

} // namespace softboard
