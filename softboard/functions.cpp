#include "softboard/functions.h"

#include <array>

namespace softboard {
namespace {

constexpr std::array<FunctionShape, SB_FunctionCount> shapes{{
    // name                       args values buffers size            handle
    {"WD_GetDllVersion",           0,    1,     0,     0,                false},
    {"WD_Open",                    0,    1,     0,     0,                false},
    {"WD_GetComPortNum",           1,    1,     0,     0,                true},
    {"WD_Close",                   1,    0,     0,     0,                true},
    {"WD_GetErrorInfoMsg",         0,    0,     2,     MessageBufferSize, false},
    {"WD_GetWDogType",             1,    1,     0,     0,                true},
    {"WD_GetDeviceInfo",           1,    5,     0,     0,                true},
    {"WD_GetTempTickle",           1,    3,     0,     0,                true},
    {"WD_SetPowerOnDlyTimes",      4,    1,     0,     0,                true},
    {"WD_GetPowerOnDlyTimes",      1,    2,     0,     0,                true},
    {"WD_SetWdogTimes",            4,    0,     0,     0,                true},
    {"WD_SetBuzzer",               4,    0,     0,     0,                true},
    {"WD_GetWdogTimes",            1,    4,     0,     0,                true},
    {"WD_GetResetCount",           2,    1,     0,     0,                true},
    {"WD_GetSetNvTempOffset",      3,    1,     0,     0,                true},
    {"WD_GetSetNvRelayPulse",      3,    1,     0,     0,                true},
    {"WD_GetSetNvUserCode",        2,    0,     2,     UserCodeSize,     true},
    {"WD_EnableDisable",           2,    0,     0,     0,                true},
    {"WD_GetBuzzer",               1,    2,     0,     0,                true},
    {"WD_EnableDisablePcReset",    3,    1,     0,     0,                true},
    {"WD_GetSetPowerModule",       2,    1,     0,     0,                true},
}};

// Every row must fit the fixed-size arrays of SbCall and SbAnswer.
constexpr bool shapesFit()
{
    for (const FunctionShape &shape : shapes) {
        if (shape.argCount > SB_MaxArgs || shape.valueCount > SB_MaxValues || shape.bufferCount > SB_MaxBuffers ||
            shape.bufferSize > SB_BufferBytes)
            return false;
    }
    return true;
}
static_assert(shapesFit());

} // namespace

bool isFunction(SbFunction function)
{
    // Compared as an integer: a C caller may pass any int.
    const int value = static_cast<int>(function);
    return value >= 0 && value < SB_FunctionCount;
}

std::size_t indexOf(SbFunction function)
{
    return static_cast<std::size_t>(function);
}

const FunctionShape *shapeOf(SbFunction function)
{
    return isFunction(function) ? &shapes[indexOf(function)] : nullptr;
}

} // namespace softboard
