// The tester's one window: the output box and the Start and Exit buttons.
//
// Start runs the fixed test sequence against the board (runsequence.cpp);
// the feature steps it calls are procedures of this window, defined with
// their group under steps/. Exit ends the program.
#pragma once

#include "console/outputlog.h"

#include <QWidget>

class OutputBox;
class QPushButton;

class Form1 : public QWidget
{
    Q_OBJECT

public:
    explicit Form1(QWidget *parent = nullptr);

    // Shows the device library's info message.
    void GetTextMessages();

private:
    void btnStart_Click();
    void btnExit_Click();

    // Board identity (steps/identitysteps.cpp).
    void TestBoardInfo();
    void TestTempTickle();

    // Timers (steps/timersteps.cpp).
    void TestSetPowerOnDly();
    void TestGetPowerOnDly();
    void TestSetWdogTimes();
    void TestGetWdogTimes();
    void TestResetCount();

    // Non-volatile settings (steps/nvsettingsteps.cpp).
    void TestNvTempOffset();
    void TestNvRelayPulse();
    void TestNvUserCode();

    // Controls and outputs (steps/controlsteps.cpp).
    void TestEnableDisable();
    void TestSetBuzzer();
    void TestGetBuzzer();
    void TestPcReset();
    void TestPowerModule();

    OutputBox *txtOutput;
    QPushButton *btnStart;
    QPushButton *btnExit;
    OutputLog log;

    // Lets the tests run one step at a time, the way the sequence calls it.
    friend class Form1Probe;
};
