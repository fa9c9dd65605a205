// Timers: the power-on delay and the watchdog countdown, each written and
// read back, and the board's reset count.
#include "console/form1.h"

#include "binding/modheader.h"
#include "console/textforms.h"
#include "steps/stepprotocol.h"

using namespace modHeader;
using namespace Qt::StringLiterals;

void Form1::TestSetPowerOnDly()
{
    std::int32_t powerOnDlyAnswer = 10;
    reportCall(log, WD_SetPowerOnDlyTimes(lngDevHandle, 600, 0, 1, powerOnDlyAnswer), [&] {
        // Bit 0 alone says whether the board refused the delay because its
        // watchdog is already armed.
        if (powerOnDlyAnswer & 1)
            log.append(u"-- POD -- FAIL! - WDog already armed - Can not set POD now"_s + CrLf);
        else
            log.append(u"-- POD -- Successfully Set."_s + CrLf);
    });
}

void Form1::TestGetPowerOnDly()
{
    std::int32_t powerOnDlyTime = -1;
    std::int32_t nvPowerOnDlyTime = 0;
    reportCall(log, WD_GetPowerOnDlyTimes(lngDevHandle, powerOnDlyTime, nvPowerOnDlyTime), [&] {
        log.append(u"-- POD -- Time = "_s + decText(powerOnDlyTime) + CrLf);
        log.append(u"-- POD -- NV Time = "_s + decText(nvPowerOnDlyTime) + CrLf);
    });
}

void Form1::TestSetWdogTimes()
{
    reportCall(log, WD_SetWdogTimes(lngDevHandle, 600, 0, 1),
               [&] { log.append(u"-- WDG TIME -- New Countdown Timer Write OK"_s + CrLf); });
}

void Form1::TestGetWdogTimes()
{
    std::int32_t countdownTime = -1;
    std::int32_t nvCountdownTime = 0;
    std::int32_t holdingRegisterTime = 0;
    std::int32_t dipSwitchTime = 0;
    reportCall(log,
               WD_GetWdogTimes(lngDevHandle, countdownTime, nvCountdownTime, holdingRegisterTime, dipSwitchTime),
               [&] {
                   log.append(u"-- WDG TIME -- Current Countdown Time = "_s + decText(countdownTime) + CrLf);
                   log.append(u"-- WDG TIME -- Current NV Countdown Time = "_s + decText(nvCountdownTime) + CrLf);
                   log.append(u"-- WDG TIME -- Current Holding Register Time = "_s + decText(holdingRegisterTime)
                              + CrLf);
                   log.append(u"-- WDG TIME -- Current DipSwitch Time = "_s + decText(dipSwitchTime) + CrLf);
               });
}

void Form1::TestResetCount()
{
    std::int32_t resetCount = 0;
    reportCall(log, WD_GetResetCount(lngDevHandle, 1, resetCount),
               [&] { log.append(u"-- RST COUNT -- Reset Count = "_s + hexText(resetCount) + CrLf); });
}
