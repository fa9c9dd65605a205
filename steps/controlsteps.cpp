// Controls and outputs: the watchdog switch, the buzzer, the PC reset
// request and the power module.
#include "console/form1.h"

#include "binding/modheader.h"
#include "console/textforms.h"
#include "steps/buzzerpause.h"
#include "steps/stepprotocol.h"

using namespace modHeader;
using namespace Qt::StringLiterals;

void Form1::TestEnableDisable()
{
    lngLastStatus = WD_EnableDisable(lngDevHandle, 1);

    std::int32_t statusBits = 0;
    std::int32_t dipSwitch = 0;
    std::int32_t firmwareVersion = 0;
    std::int32_t tickleCount = 0;
    std::int32_t diagnosticBits = 0;
    // Both codes count: the line needs the switch and the read to succeed.
    lngLastStatus |= WD_GetDeviceInfo(lngDevHandle, statusBits, dipSwitch, firmwareVersion, tickleCount, diagnosticBits);
    if (lngLastStatus == 0) {
        // Status bit 3 or bit 20 means the watchdog is disabled.
        if (statusBits & 0x100008)
            log.append(u"-- EN_DISABLE -- Watchdog is DISabled"_s + CrLf);
        else
            log.append(u"-- EN_DISABLE -- Watchdog is ENabled"_s + CrLf);
    }

    lngLastStatus = WD_EnableDisable(lngDevHandle, 2);
    log.refresh();
}

void Form1::TestSetBuzzer()
{
    lngLastStatus = WD_SetBuzzer(lngDevHandle, 15, 250, 3);
    if (lngLastStatus == 0)
        log.append(u"-- BUZZER -- Buzzer should be ON"_s + CrLf);

    // The pause and the second call happen whatever the first call returned.
    buzzerPause();
    lngLastStatus = WD_SetBuzzer(lngDevHandle, 0, 0, 3);
    log.refresh();
}

void Form1::TestGetBuzzer()
{
    std::int32_t buzzTime = -1;
    std::int32_t nvRebootBuzzerTime = 0;
    reportCall(log, WD_GetBuzzer(lngDevHandle, buzzTime, nvRebootBuzzerTime), [&] {
        log.append(u"-- BUZZER -- Buzz Time = "_s + decText(buzzTime) + CrLf);
        log.append(u"-- BUZZER -- NV Re-Boot Buzzer Time ="_s + decText(nvRebootBuzzerTime) + CrLf);
    });
}

void Form1::TestPcReset()
{
    std::int32_t resetAnswer = 0;
    reportCall(log, WD_EnableDisablePcReset(lngDevHandle, 1, 10, resetAnswer), [&] {
        // Bit 16 set: the board refused. Otherwise the whole answer is the
        // number of seconds until the reset.
        if (resetAnswer & 0x10000)
            log.append(u"-- Reset PC -- Reset Rejected - not armed."_s + CrLf);
        else
            log.append(u"-- Reset PC -- Reset will happen in "_s + decText(resetAnswer) + u" seconds"_s + CrLf);
    });
}

void Form1::TestPowerModule()
{
    std::int32_t powerModuleState = 0;
    lngLastStatus = WD_GetSetPowerModule(lngDevHandle, 2, powerModuleState);
    // Only a module that was switched off is slept on and switched back on.
    if (lngLastStatus == 0) {
        if (powerModuleState & 1)
            log.append(u"-- POWER MOD -- Power Module now Off.  Prior state was On."_s + CrLf);
        Sleep(1000);
        powerModuleState = 0;
        lngLastStatus = WD_GetSetPowerModule(lngDevHandle, 1, powerModuleState);
    }
    log.refresh();
}
