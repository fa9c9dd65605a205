#include "softboard/scripts.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace softboard {
namespace {

// The mode as the integer the caller stored. Read through memcpy because a C
// caller can store any int in an enum field, and loading an out-of-range value
// as the C++ enum type is not allowed. Values other than SB_Value and
// SB_Untouched leave the board's answer as it is, like SB_Board.
std::underlying_type_t<SbOutputMode> modeOf(const SbOutputMode &mode)
{
    std::underlying_type_t<SbOutputMode> value;
    std::memcpy(&value, &mode, sizeof value);
    return value;
}

} // namespace

void Scripts::queue(SbFunction function, const SbAnswer &answer)
{
    queued_[indexOf(function)].push_back(answer);
}

void Scripts::setEvery(SbFunction function, const SbAnswer *answer)
{
    auto &every = every_[indexOf(function)];
    if (answer)
        every = *answer;
    else
        every.reset();
}

std::optional<SbAnswer> Scripts::take(SbFunction function)
{
    auto &queued = queued_[indexOf(function)];
    if (!queued.empty()) {
        const SbAnswer answer = queued.front();
        queued.pop_front();
        return answer;
    }
    return every_[indexOf(function)];
}

void Scripts::clear()
{
    for (auto &queued : queued_)
        queued.clear();
    for (auto &every : every_)
        every.reset();
}

void applyAnswer(const SbAnswer &answer, const FunctionShape &shape, CallOutputs &outputs)
{
    if (answer.overrideResult != 0)
        outputs.result = answer.result;

    for (std::int32_t i = 0; i < shape.valueCount; ++i) {
        switch (modeOf(answer.valueMode[i])) {
        case SB_Value:
            outputs.values[i] = answer.value[i];
            break;
        case SB_Untouched:
            outputs.values[i].reset();
            break;
        default:
            break;
        }
    }

    for (std::int32_t i = 0; i < shape.bufferCount; ++i) {
        CallOutputs::Bytes &buffer = outputs.buffers[i];
        switch (modeOf(answer.bufferMode[i])) {
        case SB_Value:
            // Never more than the caller's buffer holds, whatever length is asked for.
            buffer.length = std::clamp(answer.bufferLength[i], 0, shape.bufferSize);
            std::memcpy(buffer.bytes.data(), answer.bufferBytes[i], static_cast<std::size_t>(buffer.length));
            break;
        case SB_Untouched:
            buffer.length = 0;
            break;
        default:
            break;
        }
    }
}

} // namespace softboard
