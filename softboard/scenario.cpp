#include "softboard/scenario.h"

namespace softboard {
namespace {

void failEveryCallAfterOpen(Scripts &scripts)
{
    SbAnswer failure{};
    failure.overrideResult = 1;
    failure.result = SB_ResultNoAnswer;
    for (SbOutputMode &mode : failure.valueMode)
        mode = SB_Untouched;
    for (SbOutputMode &mode : failure.bufferMode)
        mode = SB_Untouched;
    for (int function = 0; function < SB_FunctionCount; ++function) {
        if (function != SB_GetDllVersion && function != SB_Open)
            scripts.setEvery(static_cast<SbFunction>(function), &failure);
    }
}

} // namespace

bool applyScenario(std::string_view name, Board &board, Scripts &scripts)
{
    if (name.empty())
        return true;
    if (name == "open-fails") {
        // In the board's state rather than a script, so that the failed open
        // also leaves the board closed.
        board.state.openFails = true;
        return true;
    }
    if (name == "calls-fail-after-open") {
        failEveryCallAfterOpen(scripts);
        return true;
    }
    if (name == "no-com-port") {
        board.state.comPort = 0;
        return true;
    }
    if (name == "armed") {
        board.state.armed = true;
        board.state.countdownTime = 600;
        board.state.holdingRegisterTime = 600;
        return true;
    }
    return false;
}

} // namespace softboard
