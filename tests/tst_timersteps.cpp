// Timer steps: TestSetPowerOnDly, TestGetPowerOnDly, TestSetWdogTimes,
// TestGetWdogTimes and TestResetCount, each run on its own against the
// software board.
#include "binding/modheader.h"
#include "stepharness.h"

#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;
using SoftBoard::Answer;

namespace {

// The one call a timer step makes: the function, the fixed by-value
// arguments after the handle, and the presets of the by-reference outputs.
struct ExpectedCall {
    SbFunction function;
    QList<std::int32_t> args;
    QList<std::int32_t> presets;
};

ExpectedCall expectedCall(const QString &step)
{
    if (step == u"TestSetPowerOnDly")
        return {SB_SetPowerOnDlyTimes, {600, 0, 1}, {10}};
    if (step == u"TestGetPowerOnDly")
        return {SB_GetPowerOnDlyTimes, {}, {-1, 0}};
    if (step == u"TestSetWdogTimes")
        return {SB_SetWdogTimes, {600, 0, 1}, {}};
    if (step == u"TestGetWdogTimes")
        return {SB_GetWdogTimes, {}, {-1, 0, 0, 0}};
    if (step == u"TestResetCount")
        return {SB_GetResetCount, {1}, {0}};
    qFatal("no timer step called %s", qPrintable(step));
}

// The step made exactly its one call, with the open handle first, its fixed
// arguments and its outputs holding their presets.
void verifyCall(const StepOutcome &outcome, const QString &step)
{
    const ExpectedCall expected = expectedCall(step);
    QCOMPARE(outcome.calls.size(), 1u);
    const SbCall &call = outcome.calls[0];
    QCOMPARE(SoftBoard::name(call.function), SoftBoard::name(expected.function));
    QCOMPARE(qsizetype(call.argCount), 1 + expected.args.size());
    QCOMPARE(call.args[0], modHeader::lngDevHandle);
    QCOMPARE(SoftBoard::argsOf(call).sliced(1), expected.args);
    QCOMPARE(SoftBoard::presetsOf(call), expected.presets);
}

const QString podSuccess = u"-- POD -- Successfully Set.\r\n"_s;
const QString podFail = u"-- POD -- FAIL! - WDog already armed - Can not set POD now\r\n"_s;

} // namespace

class TestTimerSteps : public QObject
{
    Q_OBJECT

private slots:
    void linesWhenCallSucceeds_data();
    void linesWhenCallSucceeds();
    void failingCallAddsNothing_data();
    void failingCallAddsNothing();
    void secondPassFollowsBoardState();
};

void TestTimerSteps::linesWhenCallSucceeds_data()
{
    QTest::addColumn<QString>("step");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("added");

    // Bit 0 of the answer alone says the board refused the delay.
    for (const int answer : {1, 3, 11, -1})
        QTest::addRow("power-on delay answer %d", answer)
            << u"TestSetPowerOnDly"_s << Answer().result(0).value(0, answer) << podFail;
    for (const int answer : {0, 2, 10})
        QTest::addRow("power-on delay answer %d", answer)
            << u"TestSetPowerOnDly"_s << Answer().result(0).value(0, answer) << podSuccess;
    QTest::newRow("power-on delay answer untouched")
        << u"TestSetPowerOnDly"_s << Answer().result(0).untouched(0) << podSuccess;

    QTest::newRow("power-on delay times 600 and 30")
        << u"TestGetPowerOnDly"_s << Answer().value(0, 600).value(1, 30)
        << u"-- POD -- Time = 600\r\n-- POD -- NV Time = 30\r\n"_s;
    QTest::newRow("power-on delay times negative") << u"TestGetPowerOnDly"_s << Answer().value(0, -20).value(1, -1)
                                                   << u"-- POD -- Time = -20\r\n-- POD -- NV Time = -1\r\n"_s;
    QTest::newRow("power-on delay times nothing written")
        << u"TestGetPowerOnDly"_s << Answer().nothingWritten()
        << u"-- POD -- Time = -1\r\n-- POD -- NV Time = 0\r\n"_s;

    QTest::newRow("watchdog times written") << u"TestSetWdogTimes"_s << Answer()
                                            << u"-- WDG TIME -- New Countdown Timer Write OK\r\n"_s;

    QTest::newRow("watchdog times 600 45 590 120")
        << u"TestGetWdogTimes"_s << Answer().value(0, 600).value(1, 45).value(2, 590).value(3, 120)
        << u"-- WDG TIME -- Current Countdown Time = 600\r\n"
           u"-- WDG TIME -- Current NV Countdown Time = 45\r\n"
           u"-- WDG TIME -- Current Holding Register Time = 590\r\n"
           u"-- WDG TIME -- Current DipSwitch Time = 120\r\n"_s;
    QTest::newRow("watchdog times nothing written")
        << u"TestGetWdogTimes"_s << Answer().nothingWritten()
        << u"-- WDG TIME -- Current Countdown Time = -1\r\n"
           u"-- WDG TIME -- Current NV Countdown Time = 0\r\n"
           u"-- WDG TIME -- Current Holding Register Time = 0\r\n"
           u"-- WDG TIME -- Current DipSwitch Time = 0\r\n"_s;

    // Hexadecimal, upper case, without "0x" or leading zeros.
    QTest::newRow("reset count 0") << u"TestResetCount"_s << Answer().value(0, 0)
                                   << u"-- RST COUNT -- Reset Count = 0\r\n"_s;
    QTest::newRow("reset count 26") << u"TestResetCount"_s << Answer().value(0, 26)
                                    << u"-- RST COUNT -- Reset Count = 1A\r\n"_s;
    QTest::newRow("reset count 255") << u"TestResetCount"_s << Answer().value(0, 255)
                                     << u"-- RST COUNT -- Reset Count = FF\r\n"_s;
    QTest::newRow("reset count 4096") << u"TestResetCount"_s << Answer().value(0, 4096)
                                      << u"-- RST COUNT -- Reset Count = 1000\r\n"_s;
    QTest::newRow("reset count -1") << u"TestResetCount"_s << Answer().value(0, -1)
                                    << u"-- RST COUNT -- Reset Count = FFFFFFFF\r\n"_s;
}

void TestTimerSteps::linesWhenCallSucceeds()
{
    QFETCH(QString, step);
    QFETCH(Answer, answer);
    QFETCH(QString, added);

    StepHarness harness;
    SoftBoard::next(expectedCall(step).function, answer);

    const StepOutcome outcome = harness.run(step);

    QCOMPARE(outcome.added, added);
    QCOMPARE(outcome.lastStatus, 0);
    QVERIFY(outcome.earlierTextKept);
    QVERIFY(outcome.screenShowsLog);
    verifyCall(outcome, step);
}

void TestTimerSteps::failingCallAddsNothing_data()
{
    // The failing calls still write values that would make lines.
    QTest::addColumn<QString>("step");
    QTest::addColumn<Answer>("answer");

    QTest::newRow("TestSetPowerOnDly code 2, answer 0") << u"TestSetPowerOnDly"_s << Answer().result(2).value(0, 0);
    QTest::newRow("TestSetPowerOnDly code 2, answer 1") << u"TestSetPowerOnDly"_s << Answer().result(2).value(0, 1);
    QTest::newRow("TestGetPowerOnDly code -1") << u"TestGetPowerOnDly"_s << Answer().result(-1).value(0, 600);
    QTest::newRow("TestSetWdogTimes code 4") << u"TestSetWdogTimes"_s << Answer().result(4);
    QTest::newRow("TestGetWdogTimes code 0x80000000")
        << u"TestGetWdogTimes"_s << Answer().result(std::numeric_limits<std::int32_t>::min()).value(0, 600);
    QTest::newRow("TestResetCount code 1") << u"TestResetCount"_s << Answer().result(1).value(0, 26);
}

void TestTimerSteps::failingCallAddsNothing()
{
    QFETCH(QString, step);
    QFETCH(Answer, answer);

    StepHarness harness;
    SoftBoard::next(expectedCall(step).function, answer);

    const StepOutcome outcome = harness.run(step);

    QCOMPARE(outcome.added, QString());
    QCOMPARE(outcome.lastStatus, answer.raw()->result);
    QVERIFY(outcome.earlierTextKept);
    QVERIFY(outcome.screenShowsLog);
    verifyCall(outcome, step);
}

// The five steps in sequence order on the board's own answers, twice. The
// first pass sets the delay, arms the watchdog and reads back what it set;
// the second pass finds the watchdog armed, so the delay is refused. Reading
// the reset count with 1 leaves it standing, so both passes show 2. Every
// call of the second pass again hands over the presets, although the first
// pass got other values back.
void TestTimerSteps::secondPassFollowsBoardState()
{
    StepHarness harness;
    const QStringList steps{u"TestSetPowerOnDly"_s, u"TestGetPowerOnDly"_s, u"TestSetWdogTimes"_s,
                            u"TestGetWdogTimes"_s, u"TestResetCount"_s};
    const QString rest = u"-- POD -- Time = 600\r\n"
                         u"-- POD -- NV Time = 0\r\n"
                         u"-- WDG TIME -- New Countdown Timer Write OK\r\n"
                         u"-- WDG TIME -- Current Countdown Time = 600\r\n"
                         u"-- WDG TIME -- Current NV Countdown Time = 0\r\n"
                         u"-- WDG TIME -- Current Holding Register Time = 600\r\n"
                         u"-- WDG TIME -- Current DipSwitch Time = 120\r\n"
                         u"-- RST COUNT -- Reset Count = 2\r\n"_s;

    for (const QString &podLine : {podSuccess, podFail}) {
        QString added;
        for (const QString &step : steps) {
            const StepOutcome outcome = harness.run(step);
            added += outcome.added;
            QCOMPARE(outcome.lastStatus, 0);
            verifyCall(outcome, step);
            if (QTest::currentTestFailed())
                return;
        }
        QCOMPARE(added, podLine + rest);
    }
}

QTEST_MAIN(TestTimerSteps)
#include "tst_timersteps.moc"
