// Library message and board identity steps: GetTextMessages, TestBoardInfo
// and TestTempTickle, each run on its own against the software board.
#include "binding/modheader.h"
#include "stepharness.h"

#include <QTest>

using namespace Qt::StringLiterals;
using SoftBoard::Answer;

namespace {

// What every identity call must look like when it reaches the library: the
// open handle first (the message call takes none), every output preset to 0,
// and both message buffers 256 zero bytes followed by the terminating zero.
void verifyArrival(const SbCall &call, SbFunction expected)
{
    QCOMPARE(SoftBoard::name(call.function), SoftBoard::name(expected));
    if (expected == SB_GetErrorInfoMsg) {
        QCOMPARE(call.argCount, 0);
        QCOMPARE(call.bufferCount, 2);
        QCOMPARE(SoftBoard::bufferOf(call, 0), QByteArray(257, '\0'));
        QCOMPARE(SoftBoard::bufferOf(call, 1), QByteArray(257, '\0'));
        return;
    }
    QCOMPARE(call.argCount, 1);
    QCOMPARE(call.args[0], modHeader::lngDevHandle);
    QCOMPARE(SoftBoard::presetsOf(call), QList<std::int32_t>(call.valueCount, 0));
}

// A message buffer of exactly 257 bytes holding `text` and zeros after it.
QByteArray messageBuffer(const QByteArray &text)
{
    QByteArray buffer = text;
    buffer.resize(257, '\0');
    return buffer;
}

// 256 bytes of text that show where a line was cut: hexadecimal digits
// repeated, so a missing or extra character moves the end.
QByteArray fullMessage()
{
    QByteArray text;
    while (text.size() < 256)
        text += "0123456789ABCDEF";
    return text;
}

const QString defaultDeviceLines = u"-- STATUS -- Board Status Bits = 0x0\r\n"
                                   u"-- VERSION -- Firmware Version: 2.3\r\n"
                                   u"-- DIP SW -- Current Dip Switch = 0x3\r\n"
                                   u"-- TICKLE -- Tickle count = 1\r\n"
                                   u"-- DIAG   -- Board Diagnostic Bits = 0x0\r\n"_s;

} // namespace

class TestIdentitySteps : public QObject
{
    Q_OBJECT

private slots:
    void infoMessageLine_data();
    void infoMessageLine();
    void deviceInfoLines_data();
    void deviceInfoLines();
    void boardInfoResultCodes_data();
    void boardInfoResultCodes();
    void temperatureAndTickle_data();
    void temperatureAndTickle();
    void defaultBoardTwoPasses();
};

void TestIdentitySteps::infoMessageLine_data()
{
    // A null buffer column leaves that buffer to the board's own answer.
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("buffer1");
    QTest::addColumn<QByteArray>("buffer2");
    QTest::addColumn<QString>("added");

    const QByteArray empty(257, '\0');
    const QByteArray degrees = "Sensor at 40\xc2\xb0 limit";

    QTest::newRow("board's own message")
        << 0 << QByteArray() << QByteArray()
        << u"InfoMessage: Software board: simulated watchdog, no hardware attached\r\n"_s;
    QTest::newRow("empty message, code 0") << 0 << QByteArray() << empty << QString();
    QTest::newRow("empty message, code 6") << 6 << QByteArray() << empty << QString();
    QTest::newRow("message with code 9") << 9 << QByteArray() << messageBuffer("Board busy")
                                         << u"InfoMessage: Board busy\r\n"_s;
    QTest::newRow("message with code -1") << -1 << QByteArray() << messageBuffer("x")
                                          << u"InfoMessage: x\r\n"_s;
    // The 257th byte, where the terminating zero belongs, is not text.
    QTest::newRow("256 bytes without a zero")
        << 0 << QByteArray() << fullMessage() + 'Z'
        << u"InfoMessage: "_s + QString::fromLatin1(fullMessage()) + u"\r\n"_s;
    QTest::newRow("255 bytes and a zero")
        << 0 << QByteArray() << messageBuffer(fullMessage().left(255))
        << u"InfoMessage: "_s + QString::fromLatin1(fullMessage().left(255)) + u"\r\n"_s;
    QTest::newRow("message ends at its first zero byte")
        << 0 << QByteArray() << messageBuffer(QByteArray("shown\0hidden", 12)) << u"InfoMessage: shown\r\n"_s;
    QTest::newRow("text in the first buffer only") << 0 << messageBuffer("first buffer") << empty << QString();
    QTest::newRow("text in both buffers") << 0 << messageBuffer("first buffer") << messageBuffer("second buffer")
                                          << u"InfoMessage: second buffer\r\n"_s;
    QTest::newRow("8-bit text in the local code page")
        << 0 << QByteArray() << messageBuffer(degrees)
        << u"InfoMessage: "_s + QString::fromLocal8Bit(degrees) + u"\r\n"_s;
}

void TestIdentitySteps::infoMessageLine()
{
    QFETCH(int, result);
    QFETCH(QByteArray, buffer1);
    QFETCH(QByteArray, buffer2);
    QFETCH(QString, added);

    StepHarness harness;
    Answer answer = Answer().result(result);
    if (!buffer1.isNull())
        answer.bytes(0, buffer1);
    if (!buffer2.isNull())
        answer.bytes(1, buffer2);
    SoftBoard::next(SB_GetErrorInfoMsg, answer);

    const StepOutcome outcome = harness.run(u"GetTextMessages");

    QCOMPARE(outcome.added, added);
    QCOMPARE(outcome.lastStatus, result);
    QVERIFY(outcome.earlierTextKept);
    QVERIFY(outcome.screenShowsLog);
    QCOMPARE(outcome.calls.size(), 1u);
    verifyArrival(outcome.calls[0], SB_GetErrorInfoMsg);
}

void TestIdentitySteps::deviceInfoLines_data()
{
    // Every output gets a value of its own, so that an output read from the
    // wrong parameter shows up in the line of another.
    QTest::addColumn<int>("boardType");
    QTest::addColumn<int>("statusBits");
    QTest::addColumn<int>("dipSwitch");
    QTest::addColumn<int>("firmware");
    QTest::addColumn<int>("tickle");
    QTest::addColumn<int>("diagnostic");
    QTest::addColumn<QString>("added");

    QTest::newRow("firmware 515") << 12 << 0x40 << 0x2C << 515 << 41 << 0x5E
                                  << u"-- Type    -- Board Type = 12\r\n"
                                     u"-- STATUS -- Board Status Bits = 0x40\r\n"
                                     u"-- VERSION -- Firmware Version: 2.3\r\n"
                                     u"-- DIP SW -- Current Dip Switch = 0x2C\r\n"
                                     u"-- TICKLE -- Tickle count = 41\r\n"
                                     u"-- DIAG   -- Board Diagnostic Bits = 0x5E\r\n"_s;
    QTest::newRow("firmware 256") << 12 << 0x40 << 0x2C << 256 << 41 << 0x5E
                                  << u"-- Type    -- Board Type = 12\r\n"
                                     u"-- STATUS -- Board Status Bits = 0x40\r\n"
                                     u"-- VERSION -- Firmware Version: 1.0\r\n"
                                     u"-- DIP SW -- Current Dip Switch = 0x2C\r\n"
                                     u"-- TICKLE -- Tickle count = 41\r\n"
                                     u"-- DIAG   -- Board Diagnostic Bits = 0x5E\r\n"_s;
    QTest::newRow("firmware 255") << 12 << 0x40 << 0x2C << 255 << 41 << 0x5E
                                  << u"-- Type    -- Board Type = 12\r\n"
                                     u"-- STATUS -- Board Status Bits = 0x40\r\n"
                                     u"-- VERSION -- Firmware Version: 0.255\r\n"
                                     u"-- DIP SW -- Current Dip Switch = 0x2C\r\n"
                                     u"-- TICKLE -- Tickle count = 41\r\n"
                                     u"-- DIAG   -- Board Diagnostic Bits = 0x5E\r\n"_s;
    QTest::newRow("firmware 0") << 12 << 0x40 << 0x2C << 0 << 41 << 0x5E
                                << u"-- Type    -- Board Type = 12\r\n"
                                   u"-- STATUS -- Board Status Bits = 0x40\r\n"
                                   u"-- VERSION -- Firmware Version: 0.0\r\n"
                                   u"-- DIP SW -- Current Dip Switch = 0x2C\r\n"
                                   u"-- TICKLE -- Tickle count = 41\r\n"
                                   u"-- DIAG   -- Board Diagnostic Bits = 0x5E\r\n"_s;
    // The major part is not cut to a byte.
    QTest::newRow("firmware 66051") << 12 << 0x40 << 0x2C << 0x10203 << 41 << 0x5E
                                    << u"-- Type    -- Board Type = 12\r\n"
                                       u"-- STATUS -- Board Status Bits = 0x40\r\n"
                                       u"-- VERSION -- Firmware Version: 258.3\r\n"
                                       u"-- DIP SW -- Current Dip Switch = 0x2C\r\n"
                                       u"-- TICKLE -- Tickle count = 41\r\n"
                                       u"-- DIAG   -- Board Diagnostic Bits = 0x5E\r\n"_s;
    // Division truncates toward zero (not a shift), the minor part is the
    // low byte (never negative).
    QTest::newRow("firmware -1") << 12 << 0x40 << 0x2C << -1 << 41 << 0x5E
                                 << u"-- Type    -- Board Type = 12\r\n"
                                    u"-- STATUS -- Board Status Bits = 0x40\r\n"
                                    u"-- VERSION -- Firmware Version: 0.255\r\n"
                                    u"-- DIP SW -- Current Dip Switch = 0x2C\r\n"
                                    u"-- TICKLE -- Tickle count = 41\r\n"
                                    u"-- DIAG   -- Board Diagnostic Bits = 0x5E\r\n"_s;
    QTest::newRow("firmware -257") << 12 << 0x40 << 0x2C << -257 << 41 << 0x5E
                                   << u"-- Type    -- Board Type = 12\r\n"
                                      u"-- STATUS -- Board Status Bits = 0x40\r\n"
                                      u"-- VERSION -- Firmware Version: -1.255\r\n"
                                      u"-- DIP SW -- Current Dip Switch = 0x2C\r\n"
                                      u"-- TICKLE -- Tickle count = 41\r\n"
                                      u"-- DIAG   -- Board Diagnostic Bits = 0x5E\r\n"_s;
    QTest::newRow("status bits -1") << 12 << -1 << 0x2C << 515 << 41 << 0x5E
                                    << u"-- Type    -- Board Type = 12\r\n"
                                       u"-- STATUS -- Board Status Bits = 0xFFFFFFFF\r\n"
                                       u"-- VERSION -- Firmware Version: 2.3\r\n"
                                       u"-- DIP SW -- Current Dip Switch = 0x2C\r\n"
                                       u"-- TICKLE -- Tickle count = 41\r\n"
                                       u"-- DIAG   -- Board Diagnostic Bits = 0x5E\r\n"_s;
    QTest::newRow("status bits 0") << 12 << 0 << 0x2C << 515 << 41 << 0x5E
                                   << u"-- Type    -- Board Type = 12\r\n"
                                      u"-- STATUS -- Board Status Bits = 0x0\r\n"
                                      u"-- VERSION -- Firmware Version: 2.3\r\n"
                                      u"-- DIP SW -- Current Dip Switch = 0x2C\r\n"
                                      u"-- TICKLE -- Tickle count = 41\r\n"
                                      u"-- DIAG   -- Board Diagnostic Bits = 0x5E\r\n"_s;
    QTest::newRow("negative type, tickle and diagnostic bits")
        << -3 << 0x40 << 0x2C << 515 << -5 << -2
        << u"-- Type    -- Board Type = -3\r\n"
           u"-- STATUS -- Board Status Bits = 0x40\r\n"
           u"-- VERSION -- Firmware Version: 2.3\r\n"
           u"-- DIP SW -- Current Dip Switch = 0x2C\r\n"
           u"-- TICKLE -- Tickle count = -5\r\n"
           u"-- DIAG   -- Board Diagnostic Bits = 0xFFFFFFFE\r\n"_s;
}

void TestIdentitySteps::deviceInfoLines()
{
    QFETCH(int, boardType);
    QFETCH(int, statusBits);
    QFETCH(int, dipSwitch);
    QFETCH(int, firmware);
    QFETCH(int, tickle);
    QFETCH(int, diagnostic);
    QFETCH(QString, added);

    StepHarness harness;
    SoftBoard::next(SB_GetWDogType, Answer().value(0, boardType));
    SoftBoard::next(SB_GetDeviceInfo, Answer()
                                          .value(0, statusBits)
                                          .value(1, dipSwitch)
                                          .value(2, firmware)
                                          .value(3, tickle)
                                          .value(4, diagnostic));

    const StepOutcome outcome = harness.run(u"TestBoardInfo");

    QCOMPARE(outcome.added, added);
    QCOMPARE(outcome.lastStatus, 0);
    QVERIFY(outcome.earlierTextKept);
    QVERIFY(outcome.screenShowsLog);
    QCOMPARE(outcome.calls.size(), 2u);
    verifyArrival(outcome.calls[0], SB_GetWDogType);
    verifyArrival(outcome.calls[1], SB_GetDeviceInfo);
}

void TestIdentitySteps::boardInfoResultCodes_data()
{
    QTest::addColumn<Answer>("typeAnswer");
    QTest::addColumn<Answer>("deviceInfoAnswer");
    QTest::addColumn<QString>("added");
    QTest::addColumn<int>("lastStatus");

    // A failing call still writes the board's values: they must not show.
    QTest::newRow("type fails, device info succeeds")
        << Answer().result(4) << Answer() << defaultDeviceLines << 0;
    QTest::newRow("type succeeds, device info fails")
        << Answer() << Answer().result(7) << u"-- Type    -- Board Type = 5\r\n"_s << 7;
    QTest::newRow("both fail") << Answer().result(4) << Answer().result(-7) << QString() << -7;
    QTest::newRow("both succeed writing nothing")
        << Answer().nothingWritten() << Answer().nothingWritten()
        << u"-- Type    -- Board Type = 0\r\n"
           u"-- STATUS -- Board Status Bits = 0x0\r\n"
           u"-- VERSION -- Firmware Version: 0.0\r\n"
           u"-- DIP SW -- Current Dip Switch = 0x0\r\n"
           u"-- TICKLE -- Tickle count = 0\r\n"
           u"-- DIAG   -- Board Diagnostic Bits = 0x0\r\n"_s
        << 0;
}

void TestIdentitySteps::boardInfoResultCodes()
{
    QFETCH(Answer, typeAnswer);
    QFETCH(Answer, deviceInfoAnswer);
    QFETCH(QString, added);
    QFETCH(int, lastStatus);

    StepHarness harness;
    SoftBoard::next(SB_GetWDogType, typeAnswer);
    SoftBoard::next(SB_GetDeviceInfo, deviceInfoAnswer);

    const StepOutcome outcome = harness.run(u"TestBoardInfo");

    QCOMPARE(outcome.added, added);
    QCOMPARE(outcome.lastStatus, lastStatus);
    QVERIFY(outcome.earlierTextKept);
    QVERIFY(outcome.screenShowsLog);
    // The device information is asked whatever the type call returned.
    QCOMPARE(outcome.calls.size(), 2u);
    verifyArrival(outcome.calls[0], SB_GetWDogType);
    verifyArrival(outcome.calls[1], SB_GetDeviceInfo);
}

void TestIdentitySteps::temperatureAndTickle_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QString>("added");
    QTest::addColumn<int>("lastStatus");

    QTest::newRow("25 degrees, flag 0") << Answer().value(0, 25).value(1, 0).value(2, 9)
                                        << u"-- TEMP -- Temp = 25.0C\r\n-- TICKLE -- Tickle count = 9\r\n"_s << 0;
    QTest::newRow("25 degrees, flag 1") << Answer().value(0, 25).value(1, 1).value(2, 9)
                                        << u"-- TEMP -- Temp = 25.5C\r\n-- TICKLE -- Tickle count = 9\r\n"_s << 0;
    QTest::newRow("25 degrees, flag 7") << Answer().value(0, 25).value(1, 7).value(2, 9)
                                        << u"-- TEMP -- Temp = 25.5C\r\n-- TICKLE -- Tickle count = 9\r\n"_s << 0;
    QTest::newRow("25 degrees, flag -1") << Answer().value(0, 25).value(1, -1).value(2, 9)
                                         << u"-- TEMP -- Temp = 25.5C\r\n-- TICKLE -- Tickle count = 9\r\n"_s << 0;
    QTest::newRow("25 degrees, flag 2") << Answer().value(0, 25).value(1, 2).value(2, 9)
                                        << u"-- TEMP -- Temp = 25.5C\r\n-- TICKLE -- Tickle count = 9\r\n"_s << 0;
    QTest::newRow("-3 degrees, flag 1") << Answer().value(0, -3).value(1, 1).value(2, 9)
                                        << u"-- TEMP -- Temp = -3.5C\r\n-- TICKLE -- Tickle count = 9\r\n"_s << 0;
    QTest::newRow("nothing written") << Answer().nothingWritten()
                                     << u"-- TEMP -- Temp = 0.0C\r\n-- TICKLE -- Tickle count = 0\r\n"_s << 0;
    QTest::newRow("failing call with values") << Answer().result(5).value(0, 25).value(1, 1).value(2, 9) << QString()
                                              << 5;
    QTest::newRow("failing call, code -1") << Answer().result(-1).nothingWritten() << QString() << -1;
}

void TestIdentitySteps::temperatureAndTickle()
{
    QFETCH(Answer, answer);
    QFETCH(QString, added);
    QFETCH(int, lastStatus);

    StepHarness harness;
    SoftBoard::next(SB_GetTempTickle, answer);

    const StepOutcome outcome = harness.run(u"TestTempTickle");

    QCOMPARE(outcome.added, added);
    QCOMPARE(outcome.lastStatus, lastStatus);
    QVERIFY(outcome.earlierTextKept);
    QVERIFY(outcome.screenShowsLog);
    QCOMPARE(outcome.calls.size(), 1u);
    verifyArrival(outcome.calls[0], SB_GetTempTickle);
}

// The three steps in sequence order on the board's own answers, twice: each
// pass shows the tickle count of its own calls, and the second pass hands
// the library fresh presets and empty buffers although the first one got
// values and text back.
void TestIdentitySteps::defaultBoardTwoPasses()
{
    StepHarness harness;
    const QString info = u"InfoMessage: Software board: simulated watchdog, no hardware attached\r\n"_s;

    for (int pass = 0; pass < 2; ++pass) {
        const int tickle = 1 + 2 * pass;
        const StepOutcome message = harness.run(u"GetTextMessages");
        const StepOutcome board = harness.run(u"TestBoardInfo");
        const StepOutcome temp = harness.run(u"TestTempTickle");

        QCOMPARE(message.added + board.added + temp.added,
                 info + u"-- Type    -- Board Type = 5\r\n"
                        u"-- STATUS -- Board Status Bits = 0x0\r\n"
                        u"-- VERSION -- Firmware Version: 2.3\r\n"
                        u"-- DIP SW -- Current Dip Switch = 0x3\r\n"
                        u"-- TICKLE -- Tickle count = "_s
                     + QString::number(tickle)
                     + u"\r\n"
                       u"-- DIAG   -- Board Diagnostic Bits = 0x0\r\n"
                       u"-- TEMP -- Temp = 25.5C\r\n"
                       u"-- TICKLE -- Tickle count = "_s
                     + QString::number(tickle + 1) + u"\r\n"_s);
        QCOMPARE(temp.lastStatus, 0);

        QCOMPARE(message.calls.size(), 1u);
        verifyArrival(message.calls[0], SB_GetErrorInfoMsg);
        QCOMPARE(board.calls.size(), 2u);
        verifyArrival(board.calls[0], SB_GetWDogType);
        verifyArrival(board.calls[1], SB_GetDeviceInfo);
        QCOMPARE(temp.calls.size(), 1u);
        verifyArrival(temp.calls[0], SB_GetTempTickle);
        if (QTest::currentTestFailed())
            return;
    }
}

QTEST_MAIN(TestIdentitySteps)
#include "tst_identitysteps.moc"
