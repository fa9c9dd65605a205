#include "softboardscript.h"

#include <algorithm>
#include <utility>

namespace SoftBoard {

Answer &Answer::result(std::int32_t code)
{
    m_raw.overrideResult = 1;
    m_raw.result = code;
    return *this;
}

Answer &Answer::value(int index, std::int32_t written)
{
    m_raw.valueMode[index] = SB_Value;
    m_raw.value[index] = written;
    return *this;
}

Answer &Answer::untouched(int index)
{
    m_raw.valueMode[index] = SB_Untouched;
    return *this;
}

Answer &Answer::nothingWritten()
{
    std::fill(std::begin(m_raw.valueMode), std::end(m_raw.valueMode), SB_Untouched);
    std::fill(std::begin(m_raw.bufferMode), std::end(m_raw.bufferMode), SB_Untouched);
    return *this;
}

Answer &Answer::bytes(int buffer, const QByteArray &written)
{
    const auto length = std::min<qsizetype>(written.size(), SB_BufferBytes);
    m_raw.bufferMode[buffer] = SB_Value;
    m_raw.bufferLength[buffer] = static_cast<std::int32_t>(length);
    std::copy_n(written.constData(), length, m_raw.bufferBytes[buffer]);
    return *this;
}

void reset()
{
    softboard_reset();
}

void next(SbFunction function, const Answer &answer)
{
    softboard_script_next(function, answer.raw());
}

void every(SbFunction function, const Answer &answer)
{
    softboard_script_every(function, answer.raw());
}

std::vector<SbCall> trace()
{
    std::vector<SbCall> calls(static_cast<std::size_t>(softboard_trace_count()));
    for (std::size_t i = 0; i < calls.size(); ++i)
        softboard_trace_get(static_cast<std::int32_t>(i), &calls[i]);
    return calls;
}

std::vector<SbCall> callsOf(SbFunction function)
{
    std::vector<SbCall> calls = trace();
    std::erase_if(calls, [function](const SbCall &call) { return call.function != function; });
    return calls;
}

OnCall::OnCall(SbFunction function, std::function<void()> action)
    : m_function(function)
    , m_action(std::move(action))
{
    softboard_on_call(
        m_function, [](void *context) { (*static_cast<std::function<void()> *>(context))(); }, &m_action);
}

OnCall::~OnCall()
{
    softboard_on_call(m_function, nullptr, nullptr);
}

QStringList calledFunctions()
{
    return names(trace());
}

QStringList names(const std::vector<SbCall> &calls)
{
    QStringList result;
    for (const SbCall &call : calls)
        result << name(call.function);
    return result;
}

QList<int> argsOf(const SbCall &call)
{
    return QList<int>(call.args, call.args + call.argCount);
}

QList<int> presetsOf(const SbCall &call)
{
    return QList<int>(call.valuesOnEntry, call.valuesOnEntry + call.valueCount);
}

QByteArray bufferOf(const SbCall &call, int buffer)
{
    return QByteArray(reinterpret_cast<const char *>(call.buffersOnEntry[buffer]), call.bufferSize[buffer]);
}

QString name(SbFunction function)
{
    return QString::fromLatin1(softboard_function_name(function));
}

} // namespace SoftBoard
