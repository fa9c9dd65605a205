// Runs one feature step on its own, the way the run sequence calls it: on a
// shown window, with the software board open, and reports what it did.
#pragma once

#include "console/form1.h"
#include "softboardscript.h"

#include <QString>

#include <cstdint>
#include <vector>

struct StepOutcome {
    QString added;              // the text the step appended to the log
    std::int32_t lastStatus;    // lngLastStatus when the step returned
    std::vector<SbCall> calls;  // the library calls the step made
    bool screenShowsLog;        // the step ended with a refresh of the box
    bool earlierTextKept;       // the log still starts with what stood there before
};

class StepHarness
{
public:
    // Resets the software board and opens it. Script answers after this,
    // before run().
    StepHarness();

    // Runs the step called `step` ("TestBoardInfo", ...) once.
    StepOutcome run(QStringView step);

    Form1 form;
};
