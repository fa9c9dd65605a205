// The device library's functions as the software board sees them: each one's
// name and how many by-value arguments, by-reference integers and byte
// buffers it takes. The trace, the scripts and the stderr lines all size
// themselves from this table.
#pragma once

#include "softboard/softboard_control.h"

#include <cstddef>
#include <cstdint>

namespace softboard {

// A message buffer of WD_GetErrorInfoMsg: 256 bytes of text and the terminating zero.
inline constexpr std::int32_t MessageBufferSize = 257;
// The board's user code in WD_GetSetNvUserCode.
inline constexpr std::int32_t UserCodeSize = 8;

struct FunctionShape {
    const char *name;
    std::int32_t argCount;    // by-value arguments, the handle included
    std::int32_t valueCount;  // by-reference 32-bit integers
    std::int32_t bufferCount; // byte buffers
    std::int32_t bufferSize;  // bytes in each of those buffers
    bool takesHandle;         // the first argument is the device handle
};

// True for the enumerators SB_GetDllVersion .. SB_GetSetPowerModule. Values
// come from C callers, so anything else can arrive too.
bool isFunction(SbFunction function);

// The position of `function` in per-function tables; only for isFunction() values.
std::size_t indexOf(SbFunction function);

// nullptr for a value that is not a function.
const FunctionShape *shapeOf(SbFunction function);

} // namespace softboard
