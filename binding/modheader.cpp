#include "binding/modheader.h"

#include "binding/libraryloader.h"

#include <cstddef>

// The library's functions use the platform's standard calling convention for
// library functions; on 32-bit Windows that is not the compiler's default.
#if defined(_WIN32)
#  define WD_CALL __stdcall
#else
#  define WD_CALL
#endif

namespace modHeader {
namespace {

// A function name usable as a template argument, so that each library
// function gets a call site of its own (and with it a cache of its own).
template <std::size_t Size>
struct FunctionName {
    consteval FunctionName(const char (&name)[Size])
    {
        for (std::size_t i = 0; i < Size; ++i)
            text[i] = name[i];
    }
    char text[Size];
};

// Calls the library function `Name` with the argument types it was declared
// with. The function is looked up at its first call only; later calls go
// straight through the kept address.
template <FunctionName Name, typename... Args>
std::int32_t callLibrary(Args... args)
{
    using Function = std::int32_t(WD_CALL *)(Args...);
    static const Function function = reinterpret_cast<Function>(libraryFunction(Name.text));
    return function(args...);
}

} // namespace

std::int32_t WD_GetDllVersion(std::int32_t &VersionWord)
{
    return callLibrary<"WD_GetDllVersion">(&VersionWord);
}

std::int32_t WD_Open(std::int32_t &DevHandle)
{
    return callLibrary<"WD_Open">(&DevHandle);
}

std::int32_t WD_GetComPortNum(std::int32_t DevHandle, std::int32_t &ComPortNum)
{
    return callLibrary<"WD_GetComPortNum">(DevHandle, &ComPortNum);
}

std::int32_t WD_Close(std::int32_t DevHandle)
{
    return callLibrary<"WD_Close">(DevHandle);
}

std::int32_t WD_GetErrorInfoMsg(MessageBuffer &MsgBuffer1, MessageBuffer &MsgBuffer2)
{
    return callLibrary<"WD_GetErrorInfoMsg">(MsgBuffer1.data(), MsgBuffer2.data());
}

std::int32_t WD_GetWDogType(std::int32_t DevHandle, std::int32_t &BoardType)
{
    return callLibrary<"WD_GetWDogType">(DevHandle, &BoardType);
}

std::int32_t WD_GetDeviceInfo(std::int32_t DevHandle, std::int32_t &StatusBits, std::int32_t &DipSwitch,
                              std::int32_t &FirmwareVersion, std::int32_t &TickleCount,
                              std::int32_t &DiagnosticBits)
{
    return callLibrary<"WD_GetDeviceInfo">(DevHandle, &StatusBits, &DipSwitch, &FirmwareVersion, &TickleCount,
                                           &DiagnosticBits);
}

std::int32_t WD_GetTempTickle(std::int32_t DevHandle, std::int32_t &Degrees, std::int32_t &HalfDegreeFlag,
                              std::int32_t &TickleCount)
{
    return callLibrary<"WD_GetTempTickle">(DevHandle, &Degrees, &HalfDegreeFlag, &TickleCount);
}

std::int32_t WD_SetPowerOnDlyTimes(std::int32_t DevHandle, std::int32_t Value1, std::int32_t Value2,
                                   std::int32_t Value3, std::int32_t &PowerOnDlyAnswer)
{
    return callLibrary<"WD_SetPowerOnDlyTimes">(DevHandle, Value1, Value2, Value3, &PowerOnDlyAnswer);
}

std::int32_t WD_GetPowerOnDlyTimes(std::int32_t DevHandle, std::int32_t &PowerOnDlyTime,
                                   std::int32_t &NvPowerOnDlyTime)
{
    return callLibrary<"WD_GetPowerOnDlyTimes">(DevHandle, &PowerOnDlyTime, &NvPowerOnDlyTime);
}

std::int32_t WD_SetWdogTimes(std::int32_t DevHandle, std::int32_t Value1, std::int32_t Value2, std::int32_t Value3)
{
    return callLibrary<"WD_SetWdogTimes">(DevHandle, Value1, Value2, Value3);
}

std::int32_t WD_SetBuzzer(std::int32_t DevHandle, std::int32_t Value1, std::int32_t Value2, std::int32_t Value3)
{
    return callLibrary<"WD_SetBuzzer">(DevHandle, Value1, Value2, Value3);
}

std::int32_t WD_GetWdogTimes(std::int32_t DevHandle, std::int32_t &CountdownTime, std::int32_t &NvCountdownTime,
                             std::int32_t &HoldingRegisterTime, std::int32_t &DipSwitchTime)
{
    return callLibrary<"WD_GetWdogTimes">(DevHandle, &CountdownTime, &NvCountdownTime, &HoldingRegisterTime,
                                          &DipSwitchTime);
}

std::int32_t WD_GetResetCount(std::int32_t DevHandle, std::int32_t Value1, std::int32_t &ResetCount)
{
    return callLibrary<"WD_GetResetCount">(DevHandle, Value1, &ResetCount);
}

std::int32_t WD_GetSetNvTempOffset(std::int32_t DevHandle, std::int32_t Value1, std::int32_t Value2,
                                   std::int32_t &ReportedOffset)
{
    return callLibrary<"WD_GetSetNvTempOffset">(DevHandle, Value1, Value2, &ReportedOffset);
}

std::int32_t WD_GetSetNvRelayPulse(std::int32_t DevHandle, std::int32_t Value1, std::int32_t Value2,
                                   std::int32_t &ReportedPulseTime)
{
    return callLibrary<"WD_GetSetNvRelayPulse">(DevHandle, Value1, Value2, &ReportedPulseTime);
}

std::int32_t WD_GetSetNvUserCode(std::int32_t DevHandle, std::int32_t Value1, UserCode &NewCode,
                                 UserCode &ReportedCode)
{
    return callLibrary<"WD_GetSetNvUserCode">(DevHandle, Value1, NewCode.data(), ReportedCode.data());
}

std::int32_t WD_EnableDisable(std::int32_t DevHandle, std::int16_t Value1)
{
    return callLibrary<"WD_EnableDisable">(DevHandle, Value1);
}

std::int32_t WD_GetBuzzer(std::int32_t DevHandle, std::int32_t &BuzzTime, std::int32_t &NvRebootBuzzerTime)
{
    return callLibrary<"WD_GetBuzzer">(DevHandle, &BuzzTime, &NvRebootBuzzerTime);
}

std::int32_t WD_EnableDisablePcReset(std::int32_t DevHandle, std::int32_t Value1, std::int32_t Value2,
                                     std::int32_t &ResetAnswer)
{
    return callLibrary<"WD_EnableDisablePcReset">(DevHandle, Value1, Value2, &ResetAnswer);
}

std::int32_t WD_GetSetPowerModule(std::int32_t DevHandle, std::int32_t Value1, std::int32_t &PowerModuleState)
{
    return callLibrary<"WD_GetSetPowerModule">(DevHandle, Value1, &PowerModuleState);
}

} // namespace modHeader
