// What one WD_ call hands the board and what the board hands back, free of
// the caller's pointers: the board and the scripts work on these, and only
// the call dispatcher touches the caller's memory.
#pragma once

#include "softboard/softboard_control.h"

#include <array>
#include <cstdint>
#include <optional>

namespace softboard {

using ByteBuffer = std::array<unsigned char, SB_BufferBytes>;

// The caller's side of one call: its by-value arguments and its pointers,
// in parameter order. Only the call dispatcher reads or writes through them.
struct CallPorts {
    std::array<std::int32_t, SB_MaxArgs> args{};
    std::array<std::int32_t *, SB_MaxValues> values{};
    std::array<unsigned char *, SB_MaxBuffers> buffers{};
};

struct CallInput {
    SbFunction function = SB_GetDllVersion;
    std::array<std::int32_t, SB_MaxArgs> args{}; // by-value arguments, the handle first
    // What the caller's byte buffers hold when the board answers
    // (WD_GetSetNvUserCode reads its NewCode from here).
    std::array<ByteBuffer, SB_MaxBuffers> buffers{};
};

struct CallOutputs {
    std::int32_t result = SB_ResultOk;
    // One per by-reference integer in parameter order; empty: nothing is written.
    std::array<std::optional<std::int32_t>, SB_MaxValues> values{};
    struct Bytes {
        std::int32_t length = 0; // bytes written from the buffer's start; 0: nothing is written
        ByteBuffer bytes{};
    };
    std::array<Bytes, SB_MaxBuffers> buffers{};
};

} // namespace softboard
