// Control and output steps: the watchdog switch, the buzzer, the PC reset
// request and the power module.
#include "binding/modheader.h"
#include "form1probe.h"
#include "screencheck.h"
#include "stepharness.h"

#include <QElapsedTimer>
#include <QTest>

#include <functional>
#include <utility>

using namespace Qt::StringLiterals;
using SoftBoard::Answer;
using SoftBoard::argsOf;
using SoftBoard::presetsOf;

namespace {

// What a call of one function found when it arrived.
struct Arrival {
    qint64 arrivedNsecs;       // since the watch began
    qint64 checkedNsecs;       // when the watch had taken its notes
    std::int32_t lastStatus;   // modHeader::lngLastStatus
    bool screenCurrent;        // the screen showed the box's text (when a box is watched)
};

// Notes every call of `function` as it arrives: when, the last status, and
// whether the screen showed the current text of `box`, if one is given.
class CallWatch
{
public:
    explicit CallWatch(SbFunction function, QWidget *box = nullptr)
        : m_hook(function, [this, box] {
              const qint64 arrived = m_clock.nsecsElapsed();
              const bool screenCurrent = box && screenIsCurrent(*box);
              arrivals.push_back({arrived, m_clock.nsecsElapsed(), modHeader::lngLastStatus, screenCurrent});
          })
    {
        m_clock.start();
    }

    // Milliseconds from the end of the notes on the first call to the arrival
    // of the second: the watch's own time (a screen grab) does not count.
    double gapMs() const { return double(arrivals.at(1).arrivedNsecs - arrivals.at(0).checkedNsecs) / 1e6; }

    std::vector<Arrival> arrivals;

private:
    QElapsedTimer m_clock;
    SoftBoard::OnCall m_hook;
};

const QString disabledLine = u"-- EN_DISABLE -- Watchdog is DISabled\r\n"_s;
const QString enabledLine = u"-- EN_DISABLE -- Watchdog is ENabled\r\n"_s;
const QString buzzerOnLine = u"-- BUZZER -- Buzzer should be ON\r\n"_s;
const QString powerOffLine = u"-- POWER MOD -- Power Module now Off.  Prior state was On.\r\n"_s;

} // namespace

class TestControlSteps : public QObject
{
    Q_OBJECT

private slots:
    void enableDisableReadsStatusBits_data();
    void enableDisableReadsStatusBits();
    void enableDisableFoldsResultCodes_data();
    void enableDisableFoldsResultCodes();
    void setBuzzerPausesBetweenItsCalls_data();
    void setBuzzerPausesBetweenItsCalls();
    void getBuzzerShowsBothTimes_data();
    void getBuzzerShowsBothTimes();
    void pcResetAnswer_data();
    void pcResetAnswer();
    void powerModuleSleepsBetweenItsCalls_data();
    void powerModuleSleepsBetweenItsCalls();
    void powerModuleFirstFailureEndsTheStep();
};

// Bit 3 or bit 20 of the status bits means disabled; anything else enabled.
void TestControlSteps::enableDisableReadsStatusBits_data()
{
    QTest::addColumn<Answer>("deviceInfo");
    QTest::addColumn<QString>("line");

    QTest::newRow("default board, switched off by the call with 1") << Answer() << disabledLine;
    QTest::newRow("status bit 3") << Answer().value(0, 0x8) << disabledLine;
    QTest::newRow("status bit 20") << Answer().value(0, 0x100000) << disabledLine;
    QTest::newRow("status bits 3 and 20") << Answer().value(0, 0x100008) << disabledLine;
    QTest::newRow("status 0") << Answer().value(0, 0) << enabledLine;
    QTest::newRow("status 7") << Answer().value(0, 7) << enabledLine;
    QTest::newRow("every bit but 3 and 20") << Answer().value(0, ~0x100008) << enabledLine;
    QTest::newRow("status bits not written") << Answer().nothingWritten() << enabledLine;
}

void TestControlSteps::enableDisableReadsStatusBits()
{
    QFETCH(Answer, deviceInfo);
    QFETCH(QString, line);

    StepHarness harness;
    SoftBoard::next(SB_GetDeviceInfo, deviceInfo);

    const StepOutcome outcome = harness.run(u"TestEnableDisable");

    QCOMPARE(outcome.added, line);
    QCOMPARE(outcome.lastStatus, 0);
    QVERIFY(outcome.earlierTextKept);
    QVERIFY(outcome.screenShowsLog);

    const int handle = modHeader::lngDevHandle;
    QCOMPARE(SoftBoard::names(outcome.calls),
             (QStringList{u"WD_EnableDisable"_s, u"WD_GetDeviceInfo"_s, u"WD_EnableDisable"_s}));
    QCOMPARE(argsOf(outcome.calls[0]), (QList<int>{handle, 1}));
    QCOMPARE(argsOf(outcome.calls[1]), QList<int>{handle});
    QCOMPARE(presetsOf(outcome.calls[1]), (QList<int>{0, 0, 0, 0, 0}));
    QCOMPARE(argsOf(outcome.calls[2]), (QList<int>{handle, 2}));
}

// The switch's and the read's codes are ORed into lngLastStatus, which
// decides the line; the closing switch with 2 goes out in every case and
// leaves its own code.
void TestControlSteps::enableDisableFoldsResultCodes_data()
{
    QTest::addColumn<int>("switchResult");
    QTest::addColumn<int>("infoResult");
    QTest::addColumn<int>("closingResult");
    QTest::addColumn<int>("statusAtClosing");
    QTest::addColumn<QString>("line");

    QTest::newRow("switch fails with 4, read succeeds") << 4 << 0 << 0 << 4 << QString();
    QTest::newRow("read fails with 6, switch succeeds") << 0 << 6 << 0 << 6 << QString();
    QTest::newRow("both fail with 1 and 2") << 1 << 2 << 0 << 3 << QString();
    QTest::newRow("both fail with 3 and 5, OR is neither") << 3 << 5 << 0 << 7 << QString();
    QTest::newRow("switch fails with 4, closing switch with 9") << 4 << 0 << 9 << 4 << QString();
    QTest::newRow("only the closing switch fails with 9") << 0 << 0 << 9 << 0 << enabledLine;
}

void TestControlSteps::enableDisableFoldsResultCodes()
{
    QFETCH(int, switchResult);
    QFETCH(int, infoResult);
    QFETCH(int, closingResult);
    QFETCH(int, statusAtClosing);
    QFETCH(QString, line);

    StepHarness harness;
    SoftBoard::next(SB_EnableDisable, Answer().result(switchResult));
    SoftBoard::next(SB_GetDeviceInfo, Answer().result(infoResult).value(0, 0));
    SoftBoard::next(SB_EnableDisable, Answer().result(closingResult));
    const CallWatch watch(SB_EnableDisable);

    const StepOutcome outcome = harness.run(u"TestEnableDisable");

    QCOMPARE(outcome.added, line);
    QCOMPARE(outcome.lastStatus, closingResult);
    QVERIFY(outcome.earlierTextKept);
    QVERIFY(outcome.screenShowsLog);

    const int handle = modHeader::lngDevHandle;
    QCOMPARE(SoftBoard::names(outcome.calls),
             (QStringList{u"WD_EnableDisable"_s, u"WD_GetDeviceInfo"_s, u"WD_EnableDisable"_s}));
    QCOMPARE(argsOf(outcome.calls[0]), (QList<int>{handle, 1}));
    QCOMPARE(argsOf(outcome.calls[2]), (QList<int>{handle, 2}));
    QCOMPARE(watch.arrivals.size(), 2u);
    QCOMPARE(watch.arrivals[1].lastStatus, statusAtClosing);
}

// The pause and the call with zeros follow whatever the first call returned,
// and nothing shows on the screen before the step's closing refresh.
void TestControlSteps::setBuzzerPausesBetweenItsCalls_data()
{
    QTest::addColumn<int>("firstResult");
    QTest::addColumn<int>("secondResult");
    QTest::addColumn<QString>("line");

    QTest::newRow("both calls succeed") << 0 << 0 << buzzerOnLine;
    QTest::newRow("first call fails with 7") << 7 << 0 << QString();
    QTest::newRow("second call fails with 8") << 0 << 8 << buzzerOnLine;
}

void TestControlSteps::setBuzzerPausesBetweenItsCalls()
{
    QFETCH(int, firstResult);
    QFETCH(int, secondResult);
    QFETCH(QString, line);

    StepHarness harness;
    SoftBoard::next(SB_SetBuzzer, Answer().result(firstResult));
    SoftBoard::next(SB_SetBuzzer, Answer().result(secondResult));
    const CallWatch watch(SB_SetBuzzer, &Form1Probe::output(harness.form));

    const StepOutcome outcome = harness.run(u"TestSetBuzzer");

    QCOMPARE(outcome.added, line);
    QCOMPARE(outcome.lastStatus, secondResult);
    QVERIFY(outcome.earlierTextKept);
    QVERIFY(outcome.screenShowsLog);

    const int handle = modHeader::lngDevHandle;
    QCOMPARE(SoftBoard::names(outcome.calls), (QStringList{u"WD_SetBuzzer"_s, u"WD_SetBuzzer"_s}));
    QCOMPARE(argsOf(outcome.calls[0]), (QList<int>{handle, 15, 250, 3}));
    QCOMPARE(argsOf(outcome.calls[1]), (QList<int>{handle, 0, 0, 3}));
    QCOMPARE(watch.arrivals.size(), 2u);
    QCOMPARE(watch.arrivals[1].lastStatus, firstResult);
    QVERIFY2(!watch.arrivals[1].screenCurrent, "the screen was refreshed before the pause");
    // 268,435,456 counts take at least one cycle each: at 6 GHz or less the
    // pause lasts 44 ms or more, whatever the build.
    qInfo("buzzer pause: %.0f ms", watch.gapMs());
    QVERIFY2(watch.gapMs() >= 40.0, qPrintable(u"pause of %1 ms"_s.arg(watch.gapMs())));
}

void TestControlSteps::getBuzzerShowsBothTimes_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("text");

    QTest::newRow("times 15 and 250") << Answer().value(0, 15).value(1, 250)
                                      << u"-- BUZZER -- Buzz Time = 15\r\n"
                                         u"-- BUZZER -- NV Re-Boot Buzzer Time =250\r\n"_s;
    QTest::newRow("nothing written shows the presets -1 and 0") << Answer().nothingWritten()
                                                                 << u"-- BUZZER -- Buzz Time = -1\r\n"
                                                                    u"-- BUZZER -- NV Re-Boot Buzzer Time =0\r\n"_s;
    QTest::newRow("negative NV time") << Answer().value(0, 0).value(1, -3)
                                      << u"-- BUZZER -- Buzz Time = 0\r\n"
                                         u"-- BUZZER -- NV Re-Boot Buzzer Time =-3\r\n"_s;
    QTest::newRow("call fails with 2 after writing times") << Answer().result(2).value(0, 15).value(1, 250)
                                                           << QString();
}

void TestControlSteps::getBuzzerShowsBothTimes()
{
    QFETCH(Answer, answer);
    QFETCH(QString, text);

    StepHarness harness;
    SoftBoard::next(SB_GetBuzzer, answer);

    const StepOutcome outcome = harness.run(u"TestGetBuzzer");

    QCOMPARE(outcome.added, text);
    QCOMPARE(outcome.lastStatus, answer.raw()->result);
    QVERIFY(outcome.earlierTextKept);
    QVERIFY(outcome.screenShowsLog);
    QCOMPARE(SoftBoard::names(outcome.calls), QStringList{u"WD_GetBuzzer"_s});
    QCOMPARE(argsOf(outcome.calls[0]), QList<int>{modHeader::lngDevHandle});
    QCOMPARE(presetsOf(outcome.calls[0]), (QList<int>{-1, 0}));
}

// Bit 16 of the answer means rejected; otherwise the whole answer is the
// number of seconds.
void TestControlSteps::pcResetAnswer_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("text");

    const QString rejected = u"-- Reset PC -- Reset Rejected - not armed.\r\n"_s;
    QTest::newRow("reset answer 30") << Answer().value(0, 30) << u"-- Reset PC -- Reset will happen in 30 seconds\r\n"_s;
    QTest::newRow("reset answer left at 0")
        << Answer().untouched(0) << u"-- Reset PC -- Reset will happen in 0 seconds\r\n"_s;
    QTest::newRow("reset answer 0x10000") << Answer().value(0, 0x10000) << rejected;
    QTest::newRow("reset answer -1") << Answer().value(0, -1) << rejected;
    QTest::newRow("reset answer 0x20000, only bit 17")
        << Answer().value(0, 0x20000) << u"-- Reset PC -- Reset will happen in 131072 seconds\r\n"_s;
    QTest::newRow("call fails with 3 after writing 30") << Answer().result(3).value(0, 30) << QString();
}

void TestControlSteps::pcResetAnswer()
{
    QFETCH(Answer, answer);
    QFETCH(QString, text);

    StepHarness harness;
    SoftBoard::next(SB_EnableDisablePcReset, answer);

    const StepOutcome outcome = harness.run(u"TestPcReset");

    QCOMPARE(outcome.added, text);
    QCOMPARE(outcome.lastStatus, answer.raw()->result);
    QVERIFY(outcome.earlierTextKept);
    QVERIFY(outcome.screenShowsLog);
    QCOMPARE(SoftBoard::names(outcome.calls), QStringList{u"WD_EnableDisablePcReset"_s});
    QCOMPARE(argsOf(outcome.calls[0]), (QList<int>{modHeader::lngDevHandle, 1, 10}));
    QCOMPARE(presetsOf(outcome.calls[0]), QList<int>{0});
}

// After a successful call with 2: the line when bit 0 of the state is set,
// a one-second sleep, and the call with 1 on a state set back to 0.
void TestControlSteps::powerModuleSleepsBetweenItsCalls_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("secondResult");
    QTest::addColumn<QString>("line");

    QTest::newRow("state 3 gives the line") << 3 << 0 << powerOffLine;
    QTest::newRow("state 2, bit 0 clear") << 2 << 0 << QString();
    QTest::newRow("state 0") << 0 << 0 << QString();
    QTest::newRow("state 1, second call fails with 6") << 1 << 6 << powerOffLine;
}

void TestControlSteps::powerModuleSleepsBetweenItsCalls()
{
    QFETCH(int, state);
    QFETCH(int, secondResult);
    QFETCH(QString, line);

    StepHarness harness;
    SoftBoard::next(SB_GetSetPowerModule, Answer().value(0, state));
    SoftBoard::next(SB_GetSetPowerModule, Answer().result(secondResult));
    const CallWatch watch(SB_GetSetPowerModule);

    const StepOutcome outcome = harness.run(u"TestPowerModule");

    QCOMPARE(outcome.added, line);
    QCOMPARE(outcome.lastStatus, secondResult);
    QVERIFY(outcome.earlierTextKept);
    QVERIFY(outcome.screenShowsLog);

    const int handle = modHeader::lngDevHandle;
    QCOMPARE(SoftBoard::names(outcome.calls), (QStringList{u"WD_GetSetPowerModule"_s, u"WD_GetSetPowerModule"_s}));
    QCOMPARE(argsOf(outcome.calls[0]), (QList<int>{handle, 2}));
    QCOMPARE(presetsOf(outcome.calls[0]), QList<int>{0});
    QCOMPARE(argsOf(outcome.calls[1]), (QList<int>{handle, 1}));
    QCOMPARE(presetsOf(outcome.calls[1]), QList<int>{0});
    QCOMPARE(watch.arrivals.size(), 2u);
    QCOMPARE(watch.arrivals[1].lastStatus, 0);
    QVERIFY2(watch.gapMs() >= 995.0, qPrintable(u"gap of %1 ms"_s.arg(watch.gapMs())));
}

// A failing first call leaves its code and only the refresh follows: no
// line even when a state was written, no sleep, no second call.
void TestControlSteps::powerModuleFirstFailureEndsTheStep()
{
    StepHarness harness;
    SoftBoard::next(SB_GetSetPowerModule, Answer().result(5).value(0, 1));

    QElapsedTimer clock;
    clock.start();
    const StepOutcome outcome = harness.run(u"TestPowerModule");
    const qint64 elapsed = clock.elapsed();

    QCOMPARE(outcome.added, QString());
    QCOMPARE(outcome.lastStatus, 5);
    QVERIFY(outcome.earlierTextKept);
    QVERIFY(outcome.screenShowsLog);
    QCOMPARE(SoftBoard::names(outcome.calls), QStringList{u"WD_GetSetPowerModule"_s});
    QCOMPARE(argsOf(outcome.calls[0]), (QList<int>{modHeader::lngDevHandle, 2}));
    QVERIFY2(elapsed < 1000, qPrintable(u"the step took %1 ms"_s.arg(elapsed)));
}

QTEST_MAIN(TestControlSteps)
#include "tst_controlsteps.moc"
