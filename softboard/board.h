// The simulated watchdog board: its state and the answers it gives on its
// own, before any script has a say.
#pragma once

#include "softboard/call_types.h"
#include "softboard/functions.h"

#include <array>
#include <cstdint>

namespace softboard {

class Board {
public:
    // The handle WD_Open writes; the only one the other calls accept.
    static constexpr std::int32_t Handle = 1;

    static constexpr std::int32_t DllVersionWord = 0x02030107; // type 2, version 3.1.7
    static constexpr std::int32_t BoardType = 5;
    static constexpr std::int32_t DipSwitch = 0x3;
    static constexpr std::int32_t FirmwareVersion = 0x0203; // reads 2.3
    static constexpr std::int32_t DipSwitchTime = 120;
    static constexpr std::int32_t Degrees = 25;
    static constexpr std::int32_t HalfDegreeFlag = 1;

    // WD_GetDeviceInfo status bits.
    static constexpr std::int32_t StatusArmed = 1 << 0;
    static constexpr std::int32_t StatusDisabled = 1 << 3;
    // WD_SetPowerOnDlyTimes answer bit: refused, the watchdog is already armed.
    static constexpr std::int32_t PowerOnDelayRefused = 1 << 0;
    // WD_EnableDisablePcReset answer bit: rejected, the watchdog is not armed
    // (or is disabled). The accepted answer carries the seconds below it.
    static constexpr std::int32_t PcResetRejected = 1 << 16;

    static constexpr const char *ErrorText = "No error";
    static constexpr const char *InfoText = "Software board: simulated watchdog, no hardware attached";

    struct State {
        bool open = false;
        bool openFails = false; // WD_Open finds no board
        std::int32_t comPort = 3;
        bool armed = false;
        bool enabled = true;
        std::int32_t countdownTime = 0;
        std::int32_t nvCountdownTime = 0;
        std::int32_t holdingRegisterTime = 0;
        std::int32_t powerOnDelayTime = 0;
        std::int32_t nvPowerOnDelayTime = 0;
        std::int32_t resetCount = 2;
        std::uint32_t tickleCount = 0; // unsigned so that it wraps instead of overflowing
        std::int32_t nvTempOffset = 0;
        std::int32_t nvRelayPulse = 0;
        std::array<unsigned char, UserCodeSize> nvUserCode{};
        std::int32_t buzzTime = 0;
        std::int32_t nvRebootBuzzerTime = 0;
        bool powerModuleOn = true;
    };

    // Read and changed directly by the scenarios and by reset.
    State state;

    // Runs the board's logic for one call (which may change the state) and
    // returns what the board writes and returns.
    CallOutputs answer(const CallInput &call);

private:
    void setWdogTimes(const CallInput &call);
    CallOutputs readOrWriteNv(const CallInput &call, std::int32_t &stored);
    CallOutputs userCode(const CallInput &call);
    CallOutputs enableDisable(const CallInput &call);
    CallOutputs pcReset(const CallInput &call);
    CallOutputs powerModule(const CallInput &call);
    std::int32_t nextTickle();
    std::int32_t statusBits() const;
};

} // namespace softboard
