// A model of the run sequence and the sixteen feature steps, kept apart from
// the program: given what the device library answers to each call, it says
// which calls the program must make (arguments and the presets its outputs
// hold on entry), the exact text it must add to the log, and the code it must
// leave in lngLastStatus. Written from the step tables (calls, presets, lines
// and the code each line waits on), so a test can hold the program against it.
#pragma once

#include "softboardscript.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace StepModel {

using namespace Qt::StringLiterals;

// ---- Text forms ---------------------------------------------------------

inline QString dec(std::int32_t value)
{
    return QString::fromStdString(std::to_string(value));
}

// Upper-case digits without leading zeros; a negative value as its 32-bit
// two's complement.
inline QString hex(std::int32_t value)
{
    char digits[9];
    std::snprintf(digits, sizeof digits, "%X", static_cast<unsigned>(static_cast<std::uint32_t>(value)));
    return QString::fromLatin1(digits);
}

// 8-bit text from the library read in the system's code page. Qt 6 on Unix
// takes that to be UTF-8 in every locale. A well-formed sequence gives its
// character (a leading byte order mark included: it is text the library
// sent); every byte that does not start a well-formed sequence gives one
// U+FFFD, so nothing the library sent vanishes without a trace.
inline QString codePageText(const QByteArray &bytes)
{
    QString text;
    qsizetype at = 0;
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    while (at < bytes.size()) {
        const unsigned lead = byte(at);
        int length = 0;
        char32_t point = 0;
        char32_t smallest = 0;
        if (lead < 0x80) {
            text += QChar(char16_t(lead));
            ++at;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, point = lead & 0x1F, smallest = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, point = lead & 0x0F, smallest = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, point = lead & 0x07, smallest = 0x10000;
        }
        bool wellFormed = length > 0 && at + length <= bytes.size();
        for (int i = 1; wellFormed && i < length; ++i) {
            const unsigned next = byte(at + i);
            wellFormed = (next & 0xC0) == 0x80;
            point = (point << 6) | (next & 0x3F);
        }
        wellFormed = wellFormed && point >= smallest && point <= 0x10FFFF && (point < 0xD800 || point > 0xDFFF);
        if (!wellFormed) {
            text += QChar(char16_t(0xFFFD));
            ++at;
            continue;
        }
        if (point < 0x10000) {
            text += QChar(char16_t(point));
        } else {
            text += QChar(QChar::highSurrogate(point));
            text += QChar(QChar::lowSurrogate(point));
        }
        at += length;
    }
    return text;
}

// ---- Calls and replies --------------------------------------------------

// One call as the program must make it: by-value arguments (the handle
// first), the by-reference integers as preset on entry, the byte buffers as
// handed over.
struct Call {
    SbFunction function;
    std::vector<std::int32_t> args;
    std::vector<std::int32_t> presets;
    std::vector<QByteArray> buffers;
};

inline QString describeCall(SbFunction function, const std::vector<std::int32_t> &args,
                            const std::vector<std::int32_t> &presets, const std::vector<QByteArray> &buffers)
{
    QStringList parts;
    for (const std::int32_t arg : args)
        parts << dec(arg);
    for (const std::int32_t preset : presets)
        parts << u'&' + dec(preset);
    for (const QByteArray &buffer : buffers)
        parts << u'[' + QString::fromLatin1(buffer.toHex()) + u']';
    return SoftBoard::name(function) + u'(' + parts.join(u", ") + u')';
}

inline QString describe(const Call &call)
{
    return describeCall(call.function, call.args, call.presets, call.buffers);
}

inline QString describe(const SbCall &call)
{
    std::vector<QByteArray> buffers;
    for (int i = 0; i < call.bufferCount; ++i)
        buffers.push_back(SoftBoard::bufferOf(call, i));
    const QList<int> args = SoftBoard::argsOf(call);
    const QList<int> presets = SoftBoard::presetsOf(call);
    return describeCall(call.function, {args.begin(), args.end()}, {presets.begin(), presets.end()}, buffers);
}

// What the library does in one call: the code it returns and, for each
// by-reference integer and byte buffer, what it writes there (nullopt:
// nothing, the caller's preset stays). Bytes are written from the buffer's
// start.
struct Reply {
    SbFunction function = SB_GetDllVersion;
    std::int32_t result = 0;
    std::array<std::optional<std::int32_t>, SB_MaxValues> values{};
    std::array<std::optional<QByteArray>, SB_MaxBuffers> bytes{};

    SoftBoard::Answer answer() const
    {
        SoftBoard::Answer answer;
        answer.nothingWritten().result(result);
        for (int i = 0; i < SB_MaxValues; ++i) {
            if (values[i])
                answer.value(i, *values[i]);
        }
        for (int i = 0; i < SB_MaxBuffers; ++i) {
            if (bytes[i])
                answer.bytes(i, *bytes[i]);
        }
        return answer;
    }

    // The same answer as a line of a test, to replay it by hand.
    QString asCode() const
    {
        QString code = u"SoftBoard::next(SB_"_s + SoftBoard::name(function).mid(3)
                       + u", Answer().nothingWritten().result("_s + dec(result) + u')';
        for (int i = 0; i < SB_MaxValues; ++i) {
            if (values[i])
                code += u".value(%1, %2)"_s.arg(i).arg(dec(*values[i]));
        }
        for (int i = 0; i < SB_MaxBuffers; ++i) {
            if (bytes[i])
                code += u".bytes(%1, QByteArray::fromHex(\"%2\"))"_s.arg(i).arg(QString::fromLatin1(bytes[i]->toHex()));
        }
        return code + u");"_s;
    }
};

// Draws the library's reply to a call that the model is about to make.
using ReplySource = std::function<Reply(const Call &call)>;

// One run of the model: the calls it made, the replies it drew for them, the
// text it added and the last status it left.
class Run
{
public:
    Run(ReplySource source, std::int32_t handle) : handle(handle), m_source(std::move(source)) {}

    struct Returned {
        std::int32_t result;
        std::vector<std::int32_t> values;  // each as written, or its preset
        std::vector<QByteArray> buffers;   // each as the call left it
    };

    Returned call(SbFunction function, std::vector<std::int32_t> args, std::vector<std::int32_t> presets = {},
                  std::vector<QByteArray> buffers = {})
    {
        Call call{function, std::move(args), std::move(presets), std::move(buffers)};
        Reply reply = m_source(call);
        reply.function = function;
        Returned returned{reply.result, call.presets, call.buffers};
        for (std::size_t i = 0; i < returned.values.size(); ++i) {
            if (reply.values[i])
                returned.values[i] = *reply.values[i];
        }
        for (std::size_t i = 0; i < returned.buffers.size(); ++i) {
            if (reply.bytes[i]) {
                QByteArray &buffer = returned.buffers[i];
                const qsizetype written = std::min(reply.bytes[i]->size(), buffer.size());
                buffer.replace(0, written, reply.bytes[i]->first(written));
            }
        }
        calls.push_back(std::move(call));
        replies.push_back(reply);
        return returned;
    }

    void append(const QString &piece) { added += piece; }
    void line(const QString &words) { added += words + u"\r\n"_s; }

    std::int32_t handle;           // what the calls after WD_Open pass first
    std::int32_t lastStatus = 0;
    QString added;
    std::vector<Call> calls;
    std::vector<Reply> replies;

private:
    ReplySource m_source;
};

// ---- The feature steps --------------------------------------------------

inline QByteArray zeroBytes(qsizetype count)
{
    return QByteArray(count, '\0');
}

inline void GetTextMessages(Run &run)
{
    const auto r = run.call(SB_GetErrorInfoMsg, {}, {}, {zeroBytes(257), zeroBytes(257)});
    run.lastStatus = r.result;
    // The message: the second buffer up to its first zero byte, at most 256
    // bytes; the first buffer is never shown. The code plays no part.
    QByteArray message = r.buffers[1].first(256);
    if (const qsizetype zero = message.indexOf('\0'); zero >= 0)
        message.truncate(zero);
    if (!message.isEmpty())
        run.line(u"InfoMessage: "_s + codePageText(message));
}

inline void TestBoardInfo(Run &run)
{
    const auto type = run.call(SB_GetWDogType, {run.handle}, {0});
    run.lastStatus = type.result;
    if (type.result == 0)
        run.line(u"-- Type    -- Board Type = "_s + dec(type.values[0]));

    const auto info = run.call(SB_GetDeviceInfo, {run.handle}, {0, 0, 0, 0, 0});
    run.lastStatus = info.result;
    if (info.result == 0) {
        // Outputs in parameter order: status bits, DIP switch, firmware
        // version, tickle count, diagnostic bits; the lines run otherwise.
        const std::int32_t status = info.values[0], dip = info.values[1], firmware = info.values[2],
                           tickle = info.values[3], diagnostic = info.values[4];
        run.line(u"-- STATUS -- Board Status Bits = 0x"_s + hex(status));
        run.line(u"-- VERSION -- Firmware Version: "_s + dec(firmware / 256) + u'.' + dec(firmware & 255));
        run.line(u"-- DIP SW -- Current Dip Switch = 0x"_s + hex(dip));
        run.line(u"-- TICKLE -- Tickle count = "_s + dec(tickle));
        run.line(u"-- DIAG   -- Board Diagnostic Bits = 0x"_s + hex(diagnostic));
    }
}

inline void TestTempTickle(Run &run)
{
    const auto r = run.call(SB_GetTempTickle, {run.handle}, {0, 0, 0});
    run.lastStatus = r.result;
    if (r.result == 0) {
        run.line(u"-- TEMP -- Temp = "_s + dec(r.values[0]) + (r.values[1] != 0 ? u".5C"_s : u".0C"_s));
        run.line(u"-- TICKLE -- Tickle count = "_s + dec(r.values[2]));
    }
}

inline void TestSetPowerOnDly(Run &run)
{
    const auto r = run.call(SB_SetPowerOnDlyTimes, {run.handle, 600, 0, 1}, {10});
    run.lastStatus = r.result;
    if (r.result == 0) {
        run.line((r.values[0] & 1) != 0 ? u"-- POD -- FAIL! - WDog already armed - Can not set POD now"_s
                                         : u"-- POD -- Successfully Set."_s);
    }
}

inline void TestGetPowerOnDly(Run &run)
{
    const auto r = run.call(SB_GetPowerOnDlyTimes, {run.handle}, {-1, 0});
    run.lastStatus = r.result;
    if (r.result == 0) {
        run.line(u"-- POD -- Time = "_s + dec(r.values[0]));
        run.line(u"-- POD -- NV Time = "_s + dec(r.values[1]));
    }
}

inline void TestSetWdogTimes(Run &run)
{
    const auto r = run.call(SB_SetWdogTimes, {run.handle, 600, 0, 1});
    run.lastStatus = r.result;
    if (r.result == 0)
        run.line(u"-- WDG TIME -- New Countdown Timer Write OK"_s);
}

inline void TestGetWdogTimes(Run &run)
{
    const auto r = run.call(SB_GetWdogTimes, {run.handle}, {-1, 0, 0, 0});
    run.lastStatus = r.result;
    if (r.result == 0) {
        run.line(u"-- WDG TIME -- Current Countdown Time = "_s + dec(r.values[0]));
        run.line(u"-- WDG TIME -- Current NV Countdown Time = "_s + dec(r.values[1]));
        run.line(u"-- WDG TIME -- Current Holding Register Time = "_s + dec(r.values[2]));
        run.line(u"-- WDG TIME -- Current DipSwitch Time = "_s + dec(r.values[3]));
    }
}

inline void TestResetCount(Run &run)
{
    const auto r = run.call(SB_GetResetCount, {run.handle, 1}, {0});
    run.lastStatus = r.result;
    if (r.result == 0)
        run.line(u"-- RST COUNT -- Reset Count = "_s + hex(r.values[0]));
}

// Offset and relay pulse: a write of `value`, one line on success, then a
// write of 0 that hands over the same integer as the first call left it.
inline void nvSetting(Run &run, SbFunction function, std::int32_t value, const QString &head, const QString &tail)
{
    const auto first = run.call(function, {run.handle, 1, value}, {0});
    run.lastStatus = first.result;
    if (first.result == 0)
        run.line(head + dec(first.values[0]) + tail);
    run.lastStatus = run.call(function, {run.handle, 1, 0}, {first.values[0]}).result;
}

inline void TestNvTempOffset(Run &run)
{
    nvSetting(run, SB_GetSetNvTempOffset, 11, u"-- TEMP OFF -- NV Temp Offset = "_s, u"C"_s);
}

inline void TestNvRelayPulse(Run &run)
{
    nvSetting(run, SB_GetSetNvRelayPulse, 25, u"-- RELAY PLS -- Pulse time = "_s, u" (50mS) Tics"_s);
}

inline void TestNvUserCode(Run &run)
{
    const auto first = run.call(SB_GetSetNvUserCode, {run.handle, 1}, {}, {QByteArray("01234567"), zeroBytes(8)});
    run.lastStatus = first.result;
    if (first.result == 0) {
        run.append(u"-- USB CODE -- Code = "_s);
        for (const char byte : first.buffers[1])
            run.append(u"0x"_s + hex(static_cast<unsigned char>(byte)) + u' ');
        run.append(u"\r\n"_s);
    }
    // Whatever the library wrote into the new code, the second call gets
    // eight zero bytes there, and the reported code as the first call left it.
    run.lastStatus = run.call(SB_GetSetNvUserCode, {run.handle, 1}, {}, {zeroBytes(8), first.buffers[1]}).result;
}

inline void TestEnableDisable(Run &run)
{
    const std::int32_t switched = run.call(SB_EnableDisable, {run.handle, 1}).result;
    const auto info = run.call(SB_GetDeviceInfo, {run.handle}, {0, 0, 0, 0, 0});
    run.lastStatus = switched | info.result;
    if (run.lastStatus == 0) {
        const bool bit3or20 = (info.values[0] & (1 << 3)) != 0 || (info.values[0] & (1 << 20)) != 0;
        run.line(bit3or20 ? u"-- EN_DISABLE -- Watchdog is DISabled"_s : u"-- EN_DISABLE -- Watchdog is ENabled"_s);
    }
    run.lastStatus = run.call(SB_EnableDisable, {run.handle, 2}).result;
}

inline void TestSetBuzzer(Run &run)
{
    const auto on = run.call(SB_SetBuzzer, {run.handle, 15, 250, 3});
    run.lastStatus = on.result;
    if (on.result == 0)
        run.line(u"-- BUZZER -- Buzzer should be ON"_s);
    run.lastStatus = run.call(SB_SetBuzzer, {run.handle, 0, 0, 3}).result;
}

inline void TestGetBuzzer(Run &run)
{
    const auto r = run.call(SB_GetBuzzer, {run.handle}, {-1, 0});
    run.lastStatus = r.result;
    if (r.result == 0) {
        run.line(u"-- BUZZER -- Buzz Time = "_s + dec(r.values[0]));
        run.line(u"-- BUZZER -- NV Re-Boot Buzzer Time ="_s + dec(r.values[1]));
    }
}

inline void TestPcReset(Run &run)
{
    const auto r = run.call(SB_EnableDisablePcReset, {run.handle, 1, 10}, {0});
    run.lastStatus = r.result;
    if (r.result == 0) {
        run.line((r.values[0] & (1 << 16)) != 0
                     ? u"-- Reset PC -- Reset Rejected - not armed."_s
                     : u"-- Reset PC -- Reset will happen in "_s + dec(r.values[0]) + u" seconds"_s);
    }
}

inline void TestPowerModule(Run &run)
{
    const auto off = run.call(SB_GetSetPowerModule, {run.handle, 2}, {0});
    run.lastStatus = off.result;
    if (off.result != 0)
        return; // no line, no sleep, no second call
    if ((off.values[0] & 1) != 0)
        run.line(u"-- POWER MOD -- Power Module now Off.  Prior state was On."_s);
    run.lastStatus = run.call(SB_GetSetPowerModule, {run.handle, 1}, {0}).result;
}

struct Step {
    const char16_t *name;
    void (*model)(Run &);
};

// In the order the run sequence calls them.
inline constexpr std::array<Step, 16> steps{{
    {u"GetTextMessages", GetTextMessages},
    {u"TestBoardInfo", TestBoardInfo},
    {u"TestTempTickle", TestTempTickle},
    {u"TestSetPowerOnDly", TestSetPowerOnDly},
    {u"TestGetPowerOnDly", TestGetPowerOnDly},
    {u"TestSetWdogTimes", TestSetWdogTimes},
    {u"TestGetWdogTimes", TestGetWdogTimes},
    {u"TestResetCount", TestResetCount},
    {u"TestNvTempOffset", TestNvTempOffset},
    {u"TestEnableDisable", TestEnableDisable},
    {u"TestNvRelayPulse", TestNvRelayPulse},
    {u"TestSetBuzzer", TestSetBuzzer},
    {u"TestGetBuzzer", TestGetBuzzer},
    {u"TestNvUserCode", TestNvUserCode},
    {u"TestPcReset", TestPcReset},
    {u"TestPowerModule", TestPowerModule},
}};

// ---- The run sequence ---------------------------------------------------

// One click on Start. `run.handle` holds lngDevHandle as the click finds it;
// the whole log is in `run.added` afterwards.
inline void StartClick(Run &run)
{
    run.line(QString());
    const auto version = run.call(SB_GetDllVersion, {}, {0});
    run.lastStatus = version.result;
    const auto word = static_cast<std::uint32_t>(version.values[0]);
    const auto byteOf = [word](int shift) { return static_cast<std::int32_t>((word >> shift) & 0xFF); };
    run.line(u"DLL Version: "_s + hex(byteOf(16)) + u'.' + hex(byteOf(8)) + u'.' + hex(byteOf(0)));
    run.line(u"DLL Type #: "_s + hex(byteOf(24)));

    const auto open = run.call(SB_Open, {}, {run.handle});
    run.handle = open.values[0];
    run.lastStatus = open.result;
    if (open.result != 0) {
        run.append(u"** ERROR ** Open error = "_s + hex(open.result));
        return;
    }
    run.line(u"WDog Opened Sucessfully!"_s);

    const auto port = run.call(SB_GetComPortNum, {run.handle}, {0});
    run.lastStatus = port.result;
    if (port.values[0] != 0)
        run.line(u"Com Port: COM"_s + dec(port.values[0]) + u" is Open"_s);

    for (const Step &step : steps)
        step.model(run);

    run.call(SB_Close, {run.handle}); // its result is not kept
    run.line(u"WDog Closed."_s);
}

} // namespace StepModel
