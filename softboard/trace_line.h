// The one-line description of a completed call that SOFTBOARD_TRACE=1 writes
// to stderr, e.g.
//   softboard: WD_GetComPortNum(1, &3) -> 0
// By-value arguments first, then what the by-reference integers (&n) and the
// byte buffers hold after the call: message buffers as quoted text up to
// their zero, user codes as hex bytes. A null pointer shows as NULL.
#pragma once

#include "softboard/call_types.h"
#include "softboard/functions.h"

#include <cstdint>
#include <string>

namespace softboard {

// The line for a completed call, ending in a newline.
std::string traceLine(const FunctionShape &shape, const CallPorts &ports, std::int32_t result);

// Writes `line` to stderr at once, so that it survives a process that ends
// abruptly right after the call.
void writeTraceLine(const std::string &line);

} // namespace softboard
