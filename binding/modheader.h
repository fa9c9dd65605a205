// The program's view of the board maker's device library ("Brenvik.dll"),
// of the operating system's millisecond sleep, and the two values that every
// test step shares.
//
// Each WD_ function below binds to the library function of the same name the
// first time it is called: the library is loaded by its bare file name at the
// first call of any of them, and a missing file or function ends the program
// at that call (see libraryloader.h). Buffers have fixed sizes in their
// types, so no call can hand the library less memory than it may use.
#pragma once

#include <array>
#include <cstdint>

namespace modHeader {

// The device handle that WD_Open writes; every other board call takes it.
inline std::int32_t lngDevHandle = 0;
// The result code of the most recent library call (0 = success).
inline std::int32_t lngLastStatus = 0;

// 256 bytes of 8-bit text and the zero byte that terminates them.
using MessageBuffer = std::array<char, 257>;
// The board's eight-byte user code.
using UserCode = std::array<std::uint8_t, 8>;

std::int32_t WD_GetDllVersion(std::int32_t &VersionWord);
std::int32_t WD_Open(std::int32_t &DevHandle);
std::int32_t WD_GetComPortNum(std::int32_t DevHandle, std::int32_t &ComPortNum);
std::int32_t WD_Close(std::int32_t DevHandle);
std::int32_t WD_GetErrorInfoMsg(MessageBuffer &MsgBuffer1, MessageBuffer &MsgBuffer2);
std::int32_t WD_GetWDogType(std::int32_t DevHandle, std::int32_t &BoardType);
std::int32_t WD_GetDeviceInfo(std::int32_t DevHandle, std::int32_t &StatusBits, std::int32_t &DipSwitch,
                              std::int32_t &FirmwareVersion, std::int32_t &TickleCount,
                              std::int32_t &DiagnosticBits);
std::int32_t WD_GetTempTickle(std::int32_t DevHandle, std::int32_t &Degrees, std::int32_t &HalfDegreeFlag,
                              std::int32_t &TickleCount);
std::int32_t WD_SetPowerOnDlyTimes(std::int32_t DevHandle, std::int32_t Value1, std::int32_t Value2,
                                   std::int32_t Value3, std::int32_t &PowerOnDlyAnswer);
std::int32_t WD_GetPowerOnDlyTimes(std::int32_t DevHandle, std::int32_t &PowerOnDlyTime,
                                   std::int32_t &NvPowerOnDlyTime);
std::int32_t WD_SetWdogTimes(std::int32_t DevHandle, std::int32_t Value1, std::int32_t Value2, std::int32_t Value3);
std::int32_t WD_SetBuzzer(std::int32_t DevHandle, std::int32_t Value1, std::int32_t Value2, std::int32_t Value3);
std::int32_t WD_GetWdogTimes(std::int32_t DevHandle, std::int32_t &CountdownTime, std::int32_t &NvCountdownTime,
                             std::int32_t &HoldingRegisterTime, std::int32_t &DipSwitchTime);
std::int32_t WD_GetResetCount(std::int32_t DevHandle, std::int32_t Value1, std::int32_t &ResetCount);
std::int32_t WD_GetSetNvTempOffset(std::int32_t DevHandle, std::int32_t Value1, std::int32_t Value2,
                                   std::int32_t &ReportedOffset);
std::int32_t WD_GetSetNvRelayPulse(std::int32_t DevHandle, std::int32_t Value1, std::int32_t Value2,
                                   std::int32_t &ReportedPulseTime);
std::int32_t WD_GetSetNvUserCode(std::int32_t DevHandle, std::int32_t Value1, UserCode &NewCode,
                                 UserCode &ReportedCode);
std::int32_t WD_EnableDisable(std::int32_t DevHandle, std::int16_t Value1);
std::int32_t WD_GetBuzzer(std::int32_t DevHandle, std::int32_t &BuzzTime, std::int32_t &NvRebootBuzzerTime);
std::int32_t WD_EnableDisablePcReset(std::int32_t DevHandle, std::int32_t Value1, std::int32_t Value2,
                                     std::int32_t &ResetAnswer);
std::int32_t WD_GetSetPowerModule(std::int32_t DevHandle, std::int32_t Value1, std::int32_t &PowerModuleState);

// The operating system's millisecond sleep.
void Sleep(std::int32_t Milliseconds);

} // namespace modHeader
