// Runs one WD_ call from start to end; every exported WD_ function is a
// single call of runCall().
#pragma once

#include "softboard/softboard_control.h"

#include <cstdint>
#include <initializer_list>

namespace softboard {

// In order: records the call in the trace as it arrived, runs the callback
// installed for `function`, lets the board answer (a null pointer among
// `values` or `buffers` makes the answer SB_ResultBadArgument instead), lays
// the scripted answer over it, writes the outputs, and records the result.
// `args`, `values` and `buffers` are the call's parameters of each kind in
// parameter order; each buffer is as large as the function's buffers are.
std::int32_t runCall(SbFunction function, std::initializer_list<std::int32_t> args,
                     std::initializer_list<std::int32_t *> values, std::initializer_list<unsigned char *> buffers);

} // namespace softboard
