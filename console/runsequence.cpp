// The test run that Start drives: library version and type, open, COM port,
// the sixteen feature steps in their fixed order, close.
#include "console/form1.h"

#include "binding/modheader.h"
#include "console/textforms.h"

using namespace modHeader;
using namespace Qt::StringLiterals;

namespace {

// One byte of the version word: 24 for the library type, 16, 8 and 0 for
// the three version numbers.
std::int32_t versionByte(std::int32_t versionWord, int shift)
{
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(versionWord) >> shift) & 0xFFu);
}

} // namespace

void Form1::btnStart_Click()
{
    log.clear();
    log.append(CrLf);

    std::int32_t versionWord = 0;
    lngLastStatus = WD_GetDllVersion(versionWord);
    log.append(u"DLL Version: "_s + hexText(versionByte(versionWord, 16)) + u'.'
               + hexText(versionByte(versionWord, 8)) + u'.' + hexText(versionByte(versionWord, 0)) + CrLf);
    log.append(u"DLL Type #: "_s + hexText(versionByte(versionWord, 24)) + CrLf);

    lngLastStatus = WD_Open(lngDevHandle);
    if (lngLastStatus != 0) {
        // The error text is the log's last text, without a line end; the
        // board was not opened, so there is nothing to close.
        log.append(u"** ERROR ** Open error = "_s + hexText(lngLastStatus));
        return;
    }
    log.append(u"WDog Opened Sucessfully!"_s + CrLf);

    std::int32_t comPortNum = 0;
    lngLastStatus = WD_GetComPortNum(lngDevHandle, comPortNum);
    // The number decides, not the result code: a board reached some other
    // way reports no port.
    if (comPortNum != 0)
        log.append(u"Com Port: COM"_s + decText(comPortNum) + u" is Open"_s + CrLf);

    GetTextMessages();
    TestBoardInfo();
    TestTempTickle();
    TestSetPowerOnDly();
    TestGetPowerOnDly();
    TestSetWdogTimes();
    TestGetWdogTimes();
    TestResetCount();
    TestNvTempOffset();
    TestEnableDisable();
    TestNvRelayPulse();
    TestSetBuzzer();
    TestGetBuzzer();
    TestNvUserCode();
    TestPcReset();
    TestPowerModule();

    // What the close returns changes nothing: lngLastStatus keeps the last
    // step's code and the closing line is written in any case.
    WD_Close(lngDevHandle);
    log.append(u"WDog Closed."_s + CrLf);
}
