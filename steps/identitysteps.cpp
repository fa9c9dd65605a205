// Library message and board identity: steps that only read, showing what the
// library and the board say about themselves.
#include "console/form1.h"

#include "binding/modheader.h"
#include "console/textforms.h"
#include "steps/stepprotocol.h"

#include <QStringDecoder>

#include <cstring>

using namespace modHeader;
using namespace Qt::StringLiterals;

void Form1::GetTextMessages()
{
    // Both buffers start as 256 zero bytes and a terminating zero. The first
    // is scratch space for the library and is never shown.
    MessageBuffer msgBuffer1{};
    MessageBuffer msgBuffer2{};
    lngLastStatus = WD_GetErrorInfoMsg(msgBuffer1, msgBuffer2);

    // The message ends at its first zero byte, or after 256 bytes when the
    // library wrote none: the terminating byte is never read as text.
    const auto messageLength = static_cast<qsizetype>(strnlen(msgBuffer2.data(), msgBuffer2.size() - 1));
    // Read in the system's code page; a byte it cannot map shows as U+FFFD,
    // also at the cut after 256 bytes (Stateless: nothing is held back for
    // a next piece). A leading byte order mark stays in the text instead of
    // being dropped, so a message the library did write never reads as empty.
    QStringDecoder toText(QStringDecoder::System,
                          QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString infoMessage = toText(QByteArrayView(msgBuffer2.data(), messageLength));

    // The message alone decides: the library may report a code with it.
    if (!infoMessage.isEmpty()) {
        log.append(u"InfoMessage: "_s + infoMessage);
        log.append(CrLf);
    }
    log.refresh();
}

void Form1::TestBoardInfo()
{
    std::int32_t boardType = 0;
    lngLastStatus = WD_GetWDogType(lngDevHandle, boardType);
    if (lngLastStatus == 0)
        log.append(u"-- Type    -- Board Type = "_s + decText(boardType) + CrLf);

    // Asked whatever the type call returned.
    std::int32_t statusBits = 0;
    std::int32_t dipSwitch = 0;
    std::int32_t firmwareVersion = 0;
    std::int32_t tickleCount = 0;
    std::int32_t diagnosticBits = 0;
    lngLastStatus = WD_GetDeviceInfo(lngDevHandle, statusBits, dipSwitch, firmwareVersion, tickleCount, diagnosticBits);
    if (lngLastStatus == 0) {
        log.append(u"-- STATUS -- Board Status Bits = 0x"_s + hexText(statusBits) + CrLf);
        // Major version in the high part, minor version in the low byte.
        log.append(u"-- VERSION -- Firmware Version: "_s + decText(firmwareVersion / 256) + u'.'
                   + decText(firmwareVersion & 0xFF) + CrLf);
        log.append(u"-- DIP SW -- Current Dip Switch = 0x"_s + hexText(dipSwitch) + CrLf);
        log.append(u"-- TICKLE -- Tickle count = "_s + decText(tickleCount) + CrLf);
        log.append(u"-- DIAG   -- Board Diagnostic Bits = 0x"_s + hexText(diagnosticBits) + CrLf);
    }
    log.refresh();
}

void Form1::TestTempTickle()
{
    std::int32_t degrees = 0;
    std::int32_t halfDegreeFlag = 0;
    std::int32_t tickleCount = 0;
    reportCall(log, WD_GetTempTickle(lngDevHandle, degrees, halfDegreeFlag, tickleCount), [&] {
        log.append(u"-- TEMP -- Temp = "_s + decText(degrees) + u'.' + (halfDegreeFlag != 0 ? u'5' : u'0') + u'C'
                   + CrLf);
        log.append(u"-- TICKLE -- Tickle count = "_s + decText(tickleCount) + CrLf);
    });
}
