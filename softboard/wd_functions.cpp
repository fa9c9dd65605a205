// The exported WD_ functions: the device library's interface. Each hands its
// parameters to runCall(), which does the work (see call.h).
//
// Built twice: SOFTBOARD_WITHOUT_GETBUZZER leaves WD_GetBuzzer out, giving a
// library that lacks one function in the middle of the program's sequence.
#include "softboard/call.h"
#include "softboard/wd_api.h"

#include <cstdint>

using softboard::runCall;

namespace {

unsigned char *bytes(char *buffer)
{
    return reinterpret_cast<unsigned char *>(buffer);
}

} // namespace

extern "C" {

SB_WD_EXPORT std::int32_t SB_WD_CALL WD_GetDllVersion(std::int32_t *VersionWord)
{
    return runCall(SB_GetDllVersion, {}, {VersionWord}, {});
}

SB_WD_EXPORT std::int32_t SB_WD_CALL WD_Open(std::int32_t *DevHandle)
{
    return runCall(SB_Open, {}, {DevHandle}, {});
}

SB_WD_EXPORT std::int32_t SB_WD_CALL WD_GetComPortNum(std::int32_t DevHandle, std::int32_t *ComPortNum)
{
    return runCall(SB_GetComPortNum, {DevHandle}, {ComPortNum}, {});
}

SB_WD_EXPORT std::int32_t SB_WD_CALL WD_Close(std::int32_t DevHandle)
{
    return runCall(SB_Close, {DevHandle}, {}, {});
}

// Each message buffer holds 257 bytes: 256 of text and the terminating zero.
SB_WD_EXPORT std::int32_t SB_WD_CALL WD_GetErrorInfoMsg(char *MsgBuffer1, char *MsgBuffer2)
{
    return runCall(SB_GetErrorInfoMsg, {}, {}, {bytes(MsgBuffer1), bytes(MsgBuffer2)});
}

SB_WD_EXPORT std::int32_t SB_WD_CALL WD_GetWDogType(std::int32_t DevHandle, std::int32_t *BoardType)
{
    return runCall(SB_GetWDogType, {DevHandle}, {BoardType}, {});
}

SB_WD_EXPORT std::int32_t SB_WD_CALL WD_GetDeviceInfo(std::int32_t DevHandle, std::int32_t *StatusBits,
                                                      std::int32_t *DipSwitch, std::int32_t *FirmwareVersion,
                                                      std::int32_t *TickleCount, std::int32_t *DiagnosticBits)
{
    return runCall(SB_GetDeviceInfo, {DevHandle}, {StatusBits, DipSwitch, FirmwareVersion, TickleCount, DiagnosticBits},
                   {});
}

SB_WD_EXPORT std::int32_t SB_WD_CALL WD_GetTempTickle(std::int32_t DevHandle, std::int32_t *Degrees,
                                                      std::int32_t *HalfDegreeFlag, std::int32_t *TickleCount)
{
    return runCall(SB_GetTempTickle, {DevHandle}, {Degrees, HalfDegreeFlag, TickleCount}, {});
}

SB_WD_EXPORT std::int32_t SB_WD_CALL WD_SetPowerOnDlyTimes(std::int32_t DevHandle, std::int32_t Value1,
                                                           std::int32_t Value2, std::int32_t Value3,
                                                           std::int32_t *PowerOnDlyAnswer)
{
    return runCall(SB_SetPowerOnDlyTimes, {DevHandle, Value1, Value2, Value3}, {PowerOnDlyAnswer}, {});
}

SB_WD_EXPORT std::int32_t SB_WD_CALL WD_GetPowerOnDlyTimes(std::int32_t DevHandle, std::int32_t *PowerOnDlyTime,
                                                           std::int32_t *NvPowerOnDlyTime)
{
    return runCall(SB_GetPowerOnDlyTimes, {DevHandle}, {PowerOnDlyTime, NvPowerOnDlyTime}, {});
}

SB_WD_EXPORT std::int32_t SB_WD_CALL WD_SetWdogTimes(std::int32_t DevHandle, std::int32_t Value1, std::int32_t Value2,
                                                     std::int32_t Value3)
{
    return runCall(SB_SetWdogTimes, {DevHandle, Value1, Value2, Value3}, {}, {});
}

SB_WD_EXPORT std::int32_t SB_WD_CALL WD_SetBuzzer(std::int32_t DevHandle, std::int32_t Value1, std::int32_t Value2,
                                                  std::int32_t Value3)
{
    return runCall(SB_SetBuzzer, {DevHandle, Value1, Value2, Value3}, {}, {});
}

SB_WD_EXPORT std::int32_t SB_WD_CALL WD_GetWdogTimes(std::int32_t DevHandle, std::int32_t *CountdownTime,
                                                     std::int32_t *NvCountdownTime,
                                                     std::int32_t *HoldingRegisterTime, std::int32_t *DipSwitchTime)
{
    return runCall(SB_GetWdogTimes, {DevHandle}, {CountdownTime, NvCountdownTime, HoldingRegisterTime, DipSwitchTime},
                   {});
}

SB_WD_EXPORT std::int32_t SB_WD_CALL WD_GetResetCount(std::int32_t DevHandle, std::int32_t Value1,
                                                      std::int32_t *ResetCount)
{
    return runCall(SB_GetResetCount, {DevHandle, Value1}, {ResetCount}, {});
}

SB_WD_EXPORT std::int32_t SB_WD_CALL WD_GetSetNvTempOffset(std::int32_t DevHandle, std::int32_t Value1,
                                                           std::int32_t Value2, std::int32_t *ReportedOffset)
{
    return runCall(SB_GetSetNvTempOffset, {DevHandle, Value1, Value2}, {ReportedOffset}, {});
}

SB_WD_EXPORT std::int32_t SB_WD_CALL WD_GetSetNvRelayPulse(std::int32_t DevHandle, std::int32_t Value1,
                                                           std::int32_t Value2, std::int32_t *ReportedPulseTime)
{
    return runCall(SB_GetSetNvRelayPulse, {DevHandle, Value1, Value2}, {ReportedPulseTime}, {});
}

// NewCode and ReportedCode hold eight bytes each.
SB_WD_EXPORT std::int32_t SB_WD_CALL WD_GetSetNvUserCode(std::int32_t DevHandle, std::int32_t Value1,
                                                         unsigned char *NewCode, unsigned char *ReportedCode)
{
    return runCall(SB_GetSetNvUserCode, {DevHandle, Value1}, {}, {NewCode, ReportedCode});
}

SB_WD_EXPORT std::int32_t SB_WD_CALL WD_EnableDisable(std::int32_t DevHandle, std::int16_t Value1)
{
    return runCall(SB_EnableDisable, {DevHandle, Value1}, {}, {});
}

#if !defined(SOFTBOARD_WITHOUT_GETBUZZER)
SB_WD_EXPORT std::int32_t SB_WD_CALL WD_GetBuzzer(std::int32_t DevHandle, std::int32_t *BuzzTime,
                                                  std::int32_t *NvRebootBuzzerTime)
{
    return runCall(SB_GetBuzzer, {DevHandle}, {BuzzTime, NvRebootBuzzerTime}, {});
}
#endif

SB_WD_EXPORT std::int32_t SB_WD_CALL WD_EnableDisablePcReset(std::int32_t DevHandle, std::int32_t Value1,
                                                             std::int32_t Value2, std::int32_t *ResetAnswer)
{
    return runCall(SB_EnableDisablePcReset, {DevHandle, Value1, Value2}, {ResetAnswer}, {});
}

SB_WD_EXPORT std::int32_t SB_WD_CALL WD_GetSetPowerModule(std::int32_t DevHandle, std::int32_t Value1,
                                                          std::int32_t *PowerModuleState)
{
    return runCall(SB_GetSetPowerModule, {DevHandle, Value1}, {PowerModuleState}, {});
}

} // extern "C"
