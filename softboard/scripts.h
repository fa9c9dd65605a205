// Scripted answers: what a test wants a call to answer instead of (or on top
// of) the board's own answer.
#pragma once

#include "softboard/call_types.h"
#include "softboard/functions.h"

#include <array>
#include <deque>
#include <optional>

namespace softboard {

class Scripts {
public:
    // Queues `answer` for the next call of `function` that finds none queued before it.
    void queue(SbFunction function, const SbAnswer &answer);
    // Answers every call of `function` that finds no queued answer; nullptr ends it.
    void setEvery(SbFunction function, const SbAnswer *answer);
    // The answer for a call of `function` happening now: the oldest queued
    // one (which is used up), else the every-call one, else none.
    std::optional<SbAnswer> take(SbFunction function);
    void clear();

private:
    std::array<std::deque<SbAnswer>, SB_FunctionCount> queued_;
    std::array<std::optional<SbAnswer>, SB_FunctionCount> every_;
};

// Lays `answer` over the board's `outputs` for a call of the given shape:
// the result if it is overridden, then each value and buffer the answer names.
void applyAnswer(const SbAnswer &answer, const FunctionShape &shape, CallOutputs &outputs);

} // namespace softboard
