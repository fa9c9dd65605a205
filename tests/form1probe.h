// Reaches inside Form1 for the tests: its output box, its buttons, and each
// feature step on its own, called exactly as the run sequence calls it.
#pragma once

#include "console/form1.h"
#include "console/outputbox.h"

#include <QPushButton>
#include <QString>

#include <array>
#include <utility>

class Form1Probe
{
public:
    static OutputBox &output(Form1 &form) { return *form.txtOutput; }
    static QString text(Form1 &form) { return form.txtOutput->text(); }
    static QPushButton &startButton(Form1 &form) { return *form.btnStart; }
    static QPushButton &exitButton(Form1 &form) { return *form.btnExit; }

    // Runs the feature step called `name` ("TestBoardInfo", ...); returns
    // false when there is no such step.
    static bool runStep(Form1 &form, QStringView name)
    {
        using Step = void (Form1::*)();
        static const std::array<std::pair<const char16_t *, Step>, 16> steps{{
            {u"GetTextMessages", &Form1::GetTextMessages},
            {u"TestBoardInfo", &Form1::TestBoardInfo},
            {u"TestTempTickle", &Form1::TestTempTickle},
            {u"TestSetPowerOnDly", &Form1::TestSetPowerOnDly},
            {u"TestGetPowerOnDly", &Form1::TestGetPowerOnDly},
            {u"TestSetWdogTimes", &Form1::TestSetWdogTimes},
            {u"TestGetWdogTimes", &Form1::TestGetWdogTimes},
            {u"TestResetCount", &Form1::TestResetCount},
            {u"TestNvTempOffset", &Form1::TestNvTempOffset},
            {u"TestEnableDisable", &Form1::TestEnableDisable},
            {u"TestNvRelayPulse", &Form1::TestNvRelayPulse},
            {u"TestSetBuzzer", &Form1::TestSetBuzzer},
            {u"TestGetBuzzer", &Form1::TestGetBuzzer},
            {u"TestNvUserCode", &Form1::TestNvUserCode},
            {u"TestPcReset", &Form1::TestPcReset},
            {u"TestPowerModule", &Form1::TestPowerModule},
        }};
        for (const auto &[stepName, step] : steps) {
            if (name == QStringView(stepName)) {
                (form.*step)();
                return true;
            }
        }
        return false;
    }
};
