// Named starting conditions for the board, chosen with SOFTBOARD_SCENARIO so
// that a program can be run against a failing or unusual board without any
// test code in the process.
#pragma once

#include "softboard/board.h"
#include "softboard/scripts.h"

#include <string_view>

namespace softboard {

// Sets up the freshly reset `board` and `scripts` for scenario `name`:
//   ""                     the default board
//   open-fails             WD_Open returns SB_ResultNoBoard and writes nothing
//   calls-fail-after-open  every call but WD_GetDllVersion and WD_Open returns
//                          SB_ResultNoAnswer and writes nothing
//   no-com-port            WD_GetComPortNum reports port 0
//   armed                  the watchdog starts armed (countdown and holding 600)
// Returns false, changing nothing, for any other name.
bool applyScenario(std::string_view name, Board &board, Scripts &scripts);

} // namespace softboard
