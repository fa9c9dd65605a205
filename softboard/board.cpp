#include "softboard/board.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

namespace softboard {
namespace {

CallOutputs withResult(std::int32_t result)
{
    CallOutputs outputs;
    outputs.result = result;
    return outputs;
}

// A successful answer that writes `values` to the call's by-reference integers in order.
CallOutputs writing(std::initializer_list<std::int32_t> values)
{
    CallOutputs outputs;
    std::size_t i = 0;
    for (const std::int32_t value : values)
        outputs.values[i++] = value;
    return outputs;
}

// Puts zero-terminated `text` into `buffer`, cut to fit a message buffer.
void putText(CallOutputs::Bytes &buffer, const char *text)
{
    const std::size_t length = std::min(std::strlen(text), static_cast<std::size_t>(MessageBufferSize - 1));
    std::memcpy(buffer.bytes.data(), text, length);
    buffer.bytes[length] = 0;
    buffer.length = static_cast<std::int32_t>(length + 1);
}

} // namespace

CallOutputs Board::answer(const CallInput &call)
{
    const std::int32_t v1 = call.args[1];
    const std::int32_t v2 = call.args[2];
    const std::int32_t v3 = call.args[3];

    if (shapeOf(call.function)->takesHandle && !(state.open && call.args[0] == Handle))
        return withResult(SB_ResultNotOpen);

    switch (call.function) {
    case SB_GetDllVersion:
        return writing({DllVersionWord});
    case SB_Open:
        if (state.openFails)
            return withResult(SB_ResultNoBoard);
        state.open = true;
        return writing({Handle});
    case SB_GetComPortNum:
        return writing({state.comPort});
    case SB_Close:
        state.open = false;
        return {};
    case SB_GetErrorInfoMsg: {
        CallOutputs outputs;
        putText(outputs.buffers[0], ErrorText);
        putText(outputs.buffers[1], InfoText);
        return outputs;
    }
    case SB_GetWDogType:
        return writing({BoardType});
    case SB_GetDeviceInfo: {
        const std::int32_t tickle = nextTickle();
        return writing({statusBits(), DipSwitch, FirmwareVersion, tickle, 0});
    }
    case SB_GetTempTickle:
        return writing({Degrees, HalfDegreeFlag, nextTickle()});
    case SB_SetPowerOnDlyTimes:
        // Delay times cannot change under an armed watchdog; v3 is not used.
        if (state.armed)
            return writing({PowerOnDelayRefused});
        state.powerOnDelayTime = v1;
        state.nvPowerOnDelayTime = v2;
        return writing({0});
    case SB_GetPowerOnDlyTimes:
        return writing({state.powerOnDelayTime, state.nvPowerOnDelayTime});
    case SB_SetWdogTimes:
        setWdogTimes(call);
        return {};
    case SB_SetBuzzer:
        if (v3 & 1)
            state.buzzTime = v1;
        if (v3 & 2)
            state.nvRebootBuzzerTime = v2;
        return {};
    case SB_GetWdogTimes:
        return writing({state.countdownTime, state.nvCountdownTime, state.holdingRegisterTime, DipSwitchTime});
    case SB_GetResetCount: {
        const std::int32_t count = state.resetCount;
        if (v1 == 0)
            state.resetCount = 0; // read and clear
        return writing({count});
    }
    case SB_GetSetNvTempOffset:
        return readOrWriteNv(call, state.nvTempOffset);
    case SB_GetSetNvRelayPulse:
        return readOrWriteNv(call, state.nvRelayPulse);
    case SB_GetSetNvUserCode:
        return userCode(call);
    case SB_EnableDisable:
        return enableDisable(call);
    case SB_GetBuzzer:
        return writing({state.buzzTime, state.nvRebootBuzzerTime});
    case SB_EnableDisablePcReset:
        return pcReset(call);
    case SB_GetSetPowerModule:
        return powerModule(call);
    case SB_FunctionCount:
        break;
    }
    return withResult(SB_ResultBadArgument);
}

void Board::setWdogTimes(const CallInput &call)
{
    const std::int32_t time = call.args[1];
    state.countdownTime = time;
    state.holdingRegisterTime = time;
    state.nvCountdownTime = call.args[2];
    // A time of zero stops the watchdog; a nonzero arming flag starts it; a
    // zero flag loads the times and leaves the watchdog as it was.
    if (time <= 0)
        state.armed = false;
    else if (call.args[3] != 0)
        state.armed = true;
}

// v1 == 1 writes v2, v1 == 0 only reads; the answer is the value now held.
CallOutputs Board::readOrWriteNv(const CallInput &call, std::int32_t &stored)
{
    switch (call.args[1]) {
    case 1:
        stored = call.args[2];
        [[fallthrough]];
    case 0:
        return writing({stored});
    default:
        return withResult(SB_ResultBadArgument);
    }
}

CallOutputs Board::userCode(const CallInput &call)
{
    switch (call.args[1]) {
    case 1:
        std::copy_n(call.buffers[0].begin(), UserCodeSize, state.nvUserCode.begin());
        [[fallthrough]];
    case 0: {
        CallOutputs outputs;
        std::copy(state.nvUserCode.begin(), state.nvUserCode.end(), outputs.buffers[1].bytes.begin());
        outputs.buffers[1].length = UserCodeSize;
        return outputs;
    }
    default:
        return withResult(SB_ResultBadArgument);
    }
}

CallOutputs Board::enableDisable(const CallInput &call)
{
    switch (call.args[1]) {
    case 1:
        state.enabled = false;
        return {};
    case 2:
        state.enabled = true;
        return {};
    default:
        return withResult(SB_ResultBadArgument);
    }
}

CallOutputs Board::pcReset(const CallInput &call)
{
    const std::int32_t seconds = call.args[2];
    switch (call.args[1]) {
    case 1:
        // The answer carries the seconds in its low 16 bits and the rejection
        // in bit 16, so only seconds that fit below that bit can be answered.
        if (seconds < 0 || seconds >= PcResetRejected)
            return withResult(SB_ResultBadArgument);
        return writing({state.armed && state.enabled ? seconds : PcResetRejected});
    case 0:
        return writing({0});
    default:
        return withResult(SB_ResultBadArgument);
    }
}

CallOutputs Board::powerModule(const CallInput &call)
{
    const std::int32_t prior = state.powerModuleOn ? 1 : 0;
    switch (call.args[1]) {
    case 0:
        break;
    case 1:
        state.powerModuleOn = true;
        break;
    case 2:
        state.powerModuleOn = false;
        break;
    default:
        return withResult(SB_ResultBadArgument);
    }
    return writing({prior});
}

std::int32_t Board::nextTickle()
{
    ++state.tickleCount;
    return static_cast<std::int32_t>(state.tickleCount);
}

std::int32_t Board::statusBits() const
{
    return (state.armed ? StatusArmed : 0) | (state.enabled ? 0 : StatusDisabled);
}

} // namespace softboard
