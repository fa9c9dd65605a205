// Non-volatile setting steps: temperature offset, relay pulse time and user
// code, each written with a fixed value, shown, then written with zero.
#include "binding/modheader.h"
#include "stepharness.h"

#include <QTest>

#include <functional>
#include <utility>

using namespace Qt::StringLiterals;
using SoftBoard::Answer;
using SoftBoard::argsOf;
using SoftBoard::bufferOf;
using SoftBoard::presetsOf;

namespace {

const QByteArray zeroCode(8, '\0');

} // namespace

class TestNvSettingSteps : public QObject
{
    Q_OBJECT

private slots:
    void offsetAndPulse_data();
    void offsetAndPulse();
    void userCode_data();
    void userCode();
};

// TestNvTempOffset and TestNvRelayPulse follow one pattern: a first call
// with 11 or 25 whose reported value is shown after a success, then a second
// call with 0 that always goes out and gets the reported value as the first
// call left it.
void TestNvSettingSteps::offsetAndPulse_data()
{
    QTest::addColumn<QString>("step");
    QTest::addColumn<int>("function");
    QTest::addColumn<int>("setValue");
    QTest::addColumn<Answer>("firstOutputs");
    QTest::addColumn<int>("firstResult");
    QTest::addColumn<int>("secondResult");
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("secondPreset");

    const QString offset = u"TestNvTempOffset"_s;
    const QString pulse = u"TestNvRelayPulse"_s;

    QTest::newRow("offset 11 as the board stores it")
        << offset << int(SB_GetSetNvTempOffset) << 11 << Answer() << 0 << 0
        << u"-- TEMP OFF -- NV Temp Offset = 11C\r\n"_s << 11;
    QTest::newRow("offset -40 with its minus sign")
        << offset << int(SB_GetSetNvTempOffset) << 11 << Answer().value(0, -40) << 0 << 0
        << u"-- TEMP OFF -- NV Temp Offset = -40C\r\n"_s << -40;
    QTest::newRow("offset left untouched shows 0")
        << offset << int(SB_GetSetNvTempOffset) << 11 << Answer().untouched(0) << 0 << 0
        << u"-- TEMP OFF -- NV Temp Offset = 0C\r\n"_s << 0;
    QTest::newRow("offset, second call fails with 6")
        << offset << int(SB_GetSetNvTempOffset) << 11 << Answer() << 0 << 6
        << u"-- TEMP OFF -- NV Temp Offset = 11C\r\n"_s << 11;
    QTest::newRow("offset, first call fails with 5")
        << offset << int(SB_GetSetNvTempOffset) << 11 << Answer().nothingWritten() << 5 << 0 << QString() << 0;
    QTest::newRow("offset, both calls fail with 5 and 9")
        << offset << int(SB_GetSetNvTempOffset) << 11 << Answer().nothingWritten() << 5 << 9 << QString() << 0;

    QTest::newRow("pulse 25 as the board stores it")
        << pulse << int(SB_GetSetNvRelayPulse) << 25 << Answer() << 0 << 0
        << u"-- RELAY PLS -- Pulse time = 25 (50mS) Tics\r\n"_s << 25;
    QTest::newRow("pulse -7 with its minus sign")
        << pulse << int(SB_GetSetNvRelayPulse) << 25 << Answer().value(0, -7) << 0 << 0
        << u"-- RELAY PLS -- Pulse time = -7 (50mS) Tics\r\n"_s << -7;
    QTest::newRow("pulse left untouched shows 0")
        << pulse << int(SB_GetSetNvRelayPulse) << 25 << Answer().untouched(0) << 0 << 0
        << u"-- RELAY PLS -- Pulse time = 0 (50mS) Tics\r\n"_s << 0;
    QTest::newRow("pulse, second call fails with -1")
        << pulse << int(SB_GetSetNvRelayPulse) << 25 << Answer() << 0 << -1
        << u"-- RELAY PLS -- Pulse time = 25 (50mS) Tics\r\n"_s << 25;
    // The value a failing call wrote is not shown, yet still handed on.
    QTest::newRow("pulse, first call fails with 2 after writing 99")
        << pulse << int(SB_GetSetNvRelayPulse) << 25 << Answer().value(0, 99) << 2 << 0 << QString() << 99;
}

void TestNvSettingSteps::offsetAndPulse()
{
    QFETCH(QString, step);
    QFETCH(int, function);
    QFETCH(int, setValue);
    QFETCH(Answer, firstOutputs);
    QFETCH(int, firstResult);
    QFETCH(int, secondResult);
    QFETCH(QString, line);
    QFETCH(int, secondPreset);

    StepHarness harness;
    const auto fn = static_cast<SbFunction>(function);
    if (firstResult != 0)
        firstOutputs.result(firstResult);
    SoftBoard::next(fn, firstOutputs);
    SoftBoard::next(fn, Answer().result(secondResult));
    std::vector<std::int32_t> statusAtCall;
    const SoftBoard::OnCall watch(fn, [&] { statusAtCall.push_back(modHeader::lngLastStatus); });

    const StepOutcome outcome = harness.run(step);

    QCOMPARE(outcome.added, line);
    QCOMPARE(outcome.lastStatus, secondResult);
    QVERIFY(outcome.earlierTextKept);
    QVERIFY(outcome.screenShowsLog);

    const int handle = modHeader::lngDevHandle;
    QCOMPARE(SoftBoard::names(outcome.calls), QStringList(2, SoftBoard::name(fn)));
    QCOMPARE(argsOf(outcome.calls[0]), (QList<int>{handle, 1, setValue}));
    QCOMPARE(presetsOf(outcome.calls[0]), QList<int>{0});
    QCOMPARE(argsOf(outcome.calls[1]), (QList<int>{handle, 1, 0}));
    QCOMPARE(presetsOf(outcome.calls[1]), QList<int>{secondPreset});
    // The first call's code was stored before the second call went out.
    QCOMPARE(statusAtCall.size(), 2u);
    QCOMPARE(statusAtCall[1], firstResult);
}

// TestNvUserCode: "01234567" goes out with an all-zero reported code; after
// a success the reported code is shown byte by byte; then an all-zero new
// code goes out with the reported code as the first call left it.
void TestNvSettingSteps::userCode_data()
{
    QTest::addColumn<Answer>("firstOutputs");
    QTest::addColumn<int>("firstResult");
    QTest::addColumn<int>("secondResult");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QByteArray>("reported");

    QTest::newRow("board reports the code it stored")
        << Answer() << 0 << 0 << u"-- USB CODE -- Code = 0x30 0x31 0x32 0x33 0x34 0x35 0x36 0x37 \r\n"_s
        << "01234567"_ba;
    QTest::newRow("eight zero bytes")
        << Answer().bytes(1, zeroCode) << 0 << 0 << u"-- USB CODE -- Code = 0x0 0x0 0x0 0x0 0x0 0x0 0x0 0x0 \r\n"_s
        << zeroCode;
    QTest::newRow("bytes 10 and 171 give A and AB, high bytes stay unsigned")
        << Answer().bytes(1, QByteArray::fromHex("0aab00ff01100f80")) << 0 << 0
        << u"-- USB CODE -- Code = 0xA 0xAB 0x0 0xFF 0x1 0x10 0xF 0x80 \r\n"_s << QByteArray::fromHex("0aab00ff01100f80");
    QTest::newRow("second call fails with 9")
        << Answer() << 0 << 9 << u"-- USB CODE -- Code = 0x30 0x31 0x32 0x33 0x34 0x35 0x36 0x37 \r\n"_s
        << "01234567"_ba;
    QTest::newRow("first call fails with 5") << Answer().nothingWritten() << 5 << 0 << QString() << zeroCode;
}

void TestNvSettingSteps::userCode()
{
    QFETCH(Answer, firstOutputs);
    QFETCH(int, firstResult);
    QFETCH(int, secondResult);
    QFETCH(QString, line);
    QFETCH(QByteArray, reported);

    StepHarness harness;
    if (firstResult != 0)
        firstOutputs.result(firstResult);
    SoftBoard::next(SB_GetSetNvUserCode, firstOutputs);
    SoftBoard::next(SB_GetSetNvUserCode, Answer().result(secondResult));
    std::vector<std::int32_t> statusAtCall;
    const SoftBoard::OnCall watch(SB_GetSetNvUserCode, [&] { statusAtCall.push_back(modHeader::lngLastStatus); });

    const StepOutcome outcome = harness.run(u"TestNvUserCode");

    QCOMPARE(outcome.added, line);
    QCOMPARE(outcome.lastStatus, secondResult);
    QVERIFY(outcome.earlierTextKept);
    QVERIFY(outcome.screenShowsLog);

    const int handle = modHeader::lngDevHandle;
    QCOMPARE(SoftBoard::names(outcome.calls), (QStringList{u"WD_GetSetNvUserCode"_s, u"WD_GetSetNvUserCode"_s}));
    QCOMPARE(argsOf(outcome.calls[0]), (QList<int>{handle, 1}));
    QCOMPARE(bufferOf(outcome.calls[0], 0), "01234567"_ba);
    QCOMPARE(bufferOf(outcome.calls[0], 1), zeroCode);
    QCOMPARE(argsOf(outcome.calls[1]), (QList<int>{handle, 1}));
    QCOMPARE(bufferOf(outcome.calls[1], 0), zeroCode);
    QCOMPARE(bufferOf(outcome.calls[1], 1), reported);
    QCOMPARE(statusAtCall.size(), 2u);
    QCOMPARE(statusAtCall[1], firstResult);
}

QTEST_MAIN(TestNvSettingSteps)
#include "tst_nvsettingsteps.moc"
