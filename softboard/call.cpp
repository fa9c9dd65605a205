#include "softboard/call.h"

#include "softboard/call_types.h"
#include "softboard/functions.h"
#include "softboard/instance.h"
#include "softboard/trace_line.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <mutex>
#include <optional>

namespace softboard {
namespace {

std::size_t byteCount(std::int32_t size)
{
    return static_cast<std::size_t>(size);
}

SbCall arrivedCall(SbFunction function, const FunctionShape &shape, const CallPorts &ports)
{
    SbCall call{};
    call.function = function;
    call.argCount = shape.argCount;
    std::copy_n(ports.args.begin(), shape.argCount, call.args);
    call.valueCount = shape.valueCount;
    for (std::int32_t i = 0; i < shape.valueCount; ++i)
        call.valuesOnEntry[i] = ports.values[i] ? *ports.values[i] : 0;
    call.bufferCount = shape.bufferCount;
    for (std::int32_t i = 0; i < shape.bufferCount; ++i) {
        if (ports.buffers[i]) {
            call.bufferSize[i] = shape.bufferSize;
            std::memcpy(call.buffersOnEntry[i], ports.buffers[i], byteCount(shape.bufferSize));
        }
    }
    return call;
}

bool hasNullPointer(const FunctionShape &shape, const CallPorts &ports)
{
    const auto valuesEnd = ports.values.begin() + shape.valueCount;
    const auto buffersEnd = ports.buffers.begin() + shape.bufferCount;
    return std::find(ports.values.begin(), valuesEnd, nullptr) != valuesEnd ||
           std::find(ports.buffers.begin(), buffersEnd, nullptr) != buffersEnd;
}

// The board's answer; reads the caller's buffers as they are now (a callback
// may have changed them since the call arrived).
CallOutputs boardAnswer(Board &board, SbFunction function, const FunctionShape &shape, const CallPorts &ports)
{
    if (hasNullPointer(shape, ports)) {
        CallOutputs refused;
        refused.result = SB_ResultBadArgument;
        return refused;
    }
    CallInput input;
    input.function = function;
    input.args = ports.args;
    for (std::int32_t i = 0; i < shape.bufferCount; ++i)
        std::memcpy(input.buffers[i].data(), ports.buffers[i], byteCount(shape.bufferSize));
    return board.answer(input);
}

void writeOutputs(const CallOutputs &outputs, const FunctionShape &shape, const CallPorts &ports)
{
    for (std::int32_t i = 0; i < shape.valueCount; ++i) {
        if (outputs.values[i] && ports.values[i])
            *ports.values[i] = *outputs.values[i];
    }
    for (std::int32_t i = 0; i < shape.bufferCount; ++i) {
        const std::int32_t length = std::clamp(outputs.buffers[i].length, 0, shape.bufferSize);
        if (length > 0 && ports.buffers[i])
            std::memcpy(ports.buffers[i], outputs.buffers[i].bytes.data(), byteCount(length));
    }
}

} // namespace

std::int32_t runCall(SbFunction function, std::initializer_list<std::int32_t> args,
                     std::initializer_list<std::int32_t *> values, std::initializer_list<unsigned char *> buffers)
{
    const FunctionShape &shape = *shapeOf(function);
    assert(args.size() == static_cast<std::size_t>(shape.argCount));
    assert(values.size() == static_cast<std::size_t>(shape.valueCount));
    assert(buffers.size() == static_cast<std::size_t>(shape.bufferCount));

    CallPorts ports;
    std::copy_n(args.begin(), std::min<std::size_t>(args.size(), SB_MaxArgs), ports.args.begin());
    std::copy_n(values.begin(), std::min<std::size_t>(values.size(), SB_MaxValues), ports.values.begin());
    std::copy_n(buffers.begin(), std::min<std::size_t>(buffers.size(), SB_MaxBuffers), ports.buffers.begin());

    Instance &sb = instance();
    Trace::Ticket ticket;
    Callback callback;
    {
        const std::lock_guard lock(sb.mutex);
        ticket = sb.trace.record(arrivedCall(function, shape, ports));
        callback = sb.callbacks[indexOf(function)];
    }

    // Without the lock: the callback may read the trace, script answers,
    // reset the board or make WD_ calls of its own.
    if (callback.function)
        callback.function(callback.context);

    std::int32_t result;
    bool printTrace;
    {
        const std::lock_guard lock(sb.mutex);
        CallOutputs outputs = boardAnswer(sb.board, function, shape, ports);
        if (const std::optional<SbAnswer> answer = sb.scripts.take(function))
            applyAnswer(*answer, shape, outputs);
        writeOutputs(outputs, shape, ports);
        sb.trace.setResult(ticket, outputs.result);
        result = outputs.result;
        printTrace = sb.printTrace;
    }

    if (printTrace)
        writeTraceLine(traceLine(shape, ports, result));
    return result;
}

} // namespace softboard
