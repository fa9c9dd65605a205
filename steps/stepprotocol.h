// The rule that every single-call step follows: keep the call's result code
// in lngLastStatus, write the step's lines only when the code is 0, and end
// with a refresh of the log whatever the code was.
#pragma once

#include "binding/modheader.h"
#include "console/outputlog.h"

#include <cstdint>

template <typename WriteLines>
void reportCall(OutputLog &log, std::int32_t resultCode, WriteLines writeLines)
{
    modHeader::lngLastStatus = resultCode;
    if (resultCode == 0)
        writeLines();
    log.refresh();
}
