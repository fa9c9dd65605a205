// Non-volatile settings: each is written with a fixed value, shown as the
// board reports it, then written again with zero.
#include "console/form1.h"

#include "binding/modheader.h"
#include "console/textforms.h"

using namespace modHeader;
using namespace Qt::StringLiterals;

// In all three steps the second write goes out whatever the first one
// returned, and passes the reported value on as the first call left it.

void Form1::TestNvTempOffset()
{
    std::int32_t reportedOffset = 0;
    lngLastStatus = WD_GetSetNvTempOffset(lngDevHandle, 1, 11, reportedOffset);
    if (lngLastStatus == 0)
        log.append(u"-- TEMP OFF -- NV Temp Offset = "_s + decText(reportedOffset) + u'C' + CrLf);

    lngLastStatus = WD_GetSetNvTempOffset(lngDevHandle, 1, 0, reportedOffset);
    log.refresh();
}

void Form1::TestNvRelayPulse()
{
    std::int32_t reportedPulseTime = 0;
    lngLastStatus = WD_GetSetNvRelayPulse(lngDevHandle, 1, 25, reportedPulseTime);
    if (lngLastStatus == 0)
        log.append(u"-- RELAY PLS -- Pulse time = "_s + decText(reportedPulseTime) + u" (50mS) Tics"_s + CrLf);

    lngLastStatus = WD_GetSetNvRelayPulse(lngDevHandle, 1, 0, reportedPulseTime);
    log.refresh();
}

void Form1::TestNvUserCode()
{
    // The new code is the characters "01234567".
    UserCode newCode{};
    UserCode reportedCode{};
    for (std::size_t i = 0; i < newCode.size(); ++i)
        newCode[i] = static_cast<std::uint8_t>('0' + i);

    lngLastStatus = WD_GetSetNvUserCode(lngDevHandle, 1, newCode, reportedCode);
    if (lngLastStatus == 0) {
        log.append(u"-- USB CODE -- Code = "_s);
        for (const std::uint8_t byte : reportedCode)
            log.append(u"0x"_s + hexText(byte) + u' ');
        log.append(CrLf);
    }

    newCode.fill(0);
    lngLastStatus = WD_GetSetNvUserCode(lngDevHandle, 1, newCode, reportedCode);
    log.refresh();
}
