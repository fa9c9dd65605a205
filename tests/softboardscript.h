// Scripting the software board from a test and reading back what it saw.
#pragma once

#include "softboard/softboard_control.h"

#include <QByteArray>
#include <QStringList>

#include <cstdint>
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

std::vector<SbCall> trace();
std::vector<SbCall> callsOf(SbFunction function);
// The names of the functions called since the last reset, oldest first.
QStringList calledFunctions();
QString name(SbFunction function);

} // namespace SoftBoard
