#include "softboard/trace.h"

#include <algorithm>
#include <limits>

namespace softboard {

Trace::Ticket Trace::record(const SbCall &call)
{
    // A full trace records no more: a long session or a benchmark must not
    // grow it without bound. The ticket then names no entry.
    if (calls_.size() >= SB_TraceCapacity)
        return {generation_, calls_.size()};
    calls_.push_back(call);
    return {generation_, calls_.size() - 1};
}

void Trace::setResult(Ticket ticket, std::int32_t result)
{
    if (ticket.generation == generation_ && ticket.index < calls_.size())
        calls_[ticket.index].result = result;
}

std::int32_t Trace::count() const
{
    return static_cast<std::int32_t>(
        std::min(calls_.size(), static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())));
}

bool Trace::get(std::int32_t index, SbCall &call) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= calls_.size())
        return false;
    call = calls_[static_cast<std::size_t>(index)];
    return true;
}

void Trace::clear()
{
    calls_.clear();
    ++generation_;
}

} // namespace softboard
