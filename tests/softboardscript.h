// Scripting the software board from a test and reading back what it saw.
#pragma once

#include "softboard/softboard_control.h"

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <vector>

namespace SoftBoard {

// One scripted answer, built up piece by piece; unnamed pieces stay the
// board's own.
class Answer
{
public:
    Answer &result(std::int32_t code);
    Answer &value(int index, std::int32_t written);
    Answer &untouched(int index);
    // Leaves every integer output and buffer as the caller preset it.
    Answer &nothingWritten();
    Answer &bytes(int buffer, const QByteArray &written);

    const SbAnswer *raw() const { return &m_raw; }

private:
    SbAnswer m_raw{};
};

void reset();
void next(SbFunction function, const Answer &answer);
void every(SbFunction function, const Answer &answer);

// Runs `action` at the start of every call of `function` while it lives.
class OnCall
{
public:
    OnCall(SbFunction function, std::function<void()> action);
    ~OnCall();
    Q_DISABLE_COPY_MOVE(OnCall)

private:
    SbFunction m_function;
    std::function<void()> m_action;
};

std::vector<SbCall> trace();
std::vector<SbCall> callsOf(SbFunction function);
// The names of the functions called since the last reset, oldest first.
QStringList calledFunctions();
QString name(SbFunction function);
QStringList names(const std::vector<SbCall> &calls);

// What one call brought with it: by-value arguments (the handle first), the
// presets of its by-reference integers, and byte buffer `buffer`.
QList<int> argsOf(const SbCall &call);
QList<int> presetsOf(const SbCall &call);
QByteArray bufferOf(const SbCall &call, int buffer);

} // namespace SoftBoard

Q_DECLARE_METATYPE(SoftBoard::Answer)
