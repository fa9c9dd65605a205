// The run that Start drives: its own lines, its calls, and how it reports.
#include "binding/modheader.h"
#include "form1probe.h"
#include "screencheck.h"
#include "softboardscript.h"

#include <QTest>
#include <QTimer>


using namespace Qt::StringLiterals;
using SoftBoard::Answer;

namespace {

// Makes every feature step's library call fail without writing anything,
// so that the log holds the sequence's own lines only.
void silenceSteps()
{
    for (int function = 0; function < SB_FunctionCount; ++function) {
        switch (function) {
        case SB_GetDllVersion:
        case SB_Open:
        case SB_GetComPortNum:
        case SB_Close:
            break;
        default:
            SoftBoard::every(static_cast<SbFunction>(function), Answer().result(1).nothingWritten());
        }
    }
}

const QString defaultHead = u"\r\nDLL Version: 3.1.7\r\nDLL Type #: 2\r\n"_s;

} // namespace

class TestRunSequence : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        SoftBoard::reset();
        silenceSteps();
    }

    void versionWordIsSplitIntoBytes_data();
    void versionWordIsSplitIntoBytes();
    void openFailureEndsTheRun_data();
    void openFailureEndsTheRun();
    void comPortLineDependsOnTheNumberOnly_data();
    void comPortLineDependsOnTheNumberOnly();
    void handleFromOpenReachesEveryCall();
    void closeResultIsIgnored();
    void secondRunStartsFromAnEmptyBox();
    void screenShowsEachRefreshDuringTheRun();
    void postedEventWaitsForTheRunToEnd();
};

void TestRunSequence::versionWordIsSplitIntoBytes_data()
{
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("written");
    QTest::addColumn<int>("versionWord");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("type");

    QTest::newRow("bytes 1 2 3 4") << 0 << true << 0x01020304 << u"2.3.4"_s << u"1"_s;
    QTest::newRow("000103C0") << 0 << true << 0x000103C0 << u"1.3.C0"_s << u"0"_s;
    QTest::newRow("80FFFF80, top bit set") << 0 << true << int(0x80FFFF80u) << u"FF.FF.80"_s << u"80"_s;
    QTest::newRow("0A0B0C0D") << 0 << true << 0x0A0B0C0D << u"B.C.D"_s << u"A"_s;
    QTest::newRow("failing call writes nothing") << 7 << false << 0 << u"0.0.0"_s << u"0"_s;
}

void TestRunSequence::versionWordIsSplitIntoBytes()
{
    QFETCH(int, result);
    QFETCH(bool, written);
    QFETCH(int, versionWord);
    QFETCH(QString, version);
    QFETCH(QString, type);

    Answer answer = Answer().result(result);
    if (written)
        answer.value(0, versionWord);
    else
        answer.untouched(0);
    SoftBoard::next(SB_GetDllVersion, answer);

    Form1 form;
    Form1Probe::startButton(form).click();

    QCOMPARE(Form1Probe::text(form), u"\r\nDLL Version: "_s + version + u"\r\nDLL Type #: "_s + type
                                         + u"\r\nWDog Opened Sucessfully!\r\nCom Port: COM3 is Open\r\nWDog Closed.\r\n"_s);
    QCOMPARE(SoftBoard::callsOf(SB_GetDllVersion).at(0).valuesOnEntry[0], 0);
    QCOMPARE(SoftBoard::callsOf(SB_Close).size(), 1u);
}

void TestRunSequence::openFailureEndsTheRun_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("shown");

    QTest::newRow("open fails with 5") << 5 << u"5"_s;
    QTest::newRow("open fails with -1") << -1 << u"FFFFFFFF"_s;
    QTest::newRow("open fails with 0x1F") << 0x1F << u"1F"_s;
}

void TestRunSequence::openFailureEndsTheRun()
{
    QFETCH(int, code);
    QFETCH(QString, shown);
    SoftBoard::next(SB_Open, Answer().result(code).nothingWritten());

    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QImage before = onScreen(Form1Probe::output(form));
    Form1Probe::startButton(form).click();

    QCOMPARE(Form1Probe::text(form), defaultHead + u"** ERROR ** Open error = "_s + shown);
    QCOMPARE(modHeader::lngLastStatus, code);
    QCOMPARE(SoftBoard::calledFunctions(), (QStringList{u"WD_GetDllVersion"_s, u"WD_Open"_s}));
    // A failed open makes no refresh: the screen still shows the old box.
    QCOMPARE(onScreen(Form1Probe::output(form)), before);
}

void TestRunSequence::comPortLineDependsOnTheNumberOnly_data()
{
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("written");
    QTest::addColumn<int>("comPort");
    QTest::addColumn<QString>("line");

    QTest::newRow("port 0") << 0 << true << 0 << QString();
    QTest::newRow("port 3") << 0 << true << 3 << u"Com Port: COM3 is Open\r\n"_s;
    QTest::newRow("port -2") << 0 << true << -2 << u"Com Port: COM-2 is Open\r\n"_s;
    QTest::newRow("failing call that writes 4") << 9 << true << 4 << u"Com Port: COM4 is Open\r\n"_s;
    QTest::newRow("failing call that writes nothing") << 9 << false << 0 << QString();
}

void TestRunSequence::comPortLineDependsOnTheNumberOnly()
{
    QFETCH(int, result);
    QFETCH(bool, written);
    QFETCH(int, comPort);
    QFETCH(QString, line);

    Answer answer = Answer().result(result);
    if (written)
        answer.value(0, comPort);
    else
        answer.untouched(0);
    SoftBoard::next(SB_GetComPortNum, answer);

    Form1 form;
    Form1Probe::startButton(form).click();

    QCOMPARE(Form1Probe::text(form), defaultHead + u"WDog Opened Sucessfully!\r\n"_s + line + u"WDog Closed.\r\n"_s);
    const std::vector<SbCall> calls = SoftBoard::callsOf(SB_GetComPortNum);
    QCOMPARE(calls.size(), 1u);
    QCOMPARE(calls[0].valuesOnEntry[0], 0);
}

void TestRunSequence::handleFromOpenReachesEveryCall()
{
    modHeader::lngDevHandle = 77;
    SoftBoard::next(SB_Open, Answer().value(0, 0x1234));

    Form1 form;
    Form1Probe::startButton(form).click();

    const std::vector<SbCall> calls = SoftBoard::trace();
    QCOMPARE(calls.at(1).function, SB_Open);
    QCOMPARE(calls.at(1).valuesOnEntry[0], 77);
    for (std::size_t i = 2; i < calls.size(); ++i) {
        if (calls[i].function == SB_GetErrorInfoMsg)
            continue; // the one call that takes no handle
        QVERIFY2(calls[i].argCount >= 1 && calls[i].args[0] == 0x1234, qPrintable(SoftBoard::name(calls[i].function)));
    }
    QCOMPARE(calls.back().function, SB_Close);
    QCOMPARE(modHeader::lngDevHandle, 0x1234);
}

void TestRunSequence::closeResultIsIgnored()
{
    SoftBoard::next(SB_Close, Answer().result(0x55));
    std::int32_t statusAtClose = -12345;
    const SoftBoard::OnCall recordStatus(SB_Close, [&] { statusAtClose = modHeader::lngLastStatus; });

    Form1 form;
    Form1Probe::startButton(form).click();

    QVERIFY(Form1Probe::text(form).endsWith(u"Com Port: COM3 is Open\r\nWDog Closed.\r\n"_s));
    QVERIFY(statusAtClose != -12345);
    QCOMPARE(modHeader::lngLastStatus, statusAtClose);
    QCOMPARE(SoftBoard::calledFunctions().constLast(), u"WD_Close"_s);
}

void TestRunSequence::secondRunStartsFromAnEmptyBox()
{
    Form1 form;
    Form1Probe::startButton(form).click();
    const QString firstRun = Form1Probe::text(form);

    QString textAtSecondVersionCall;
    const SoftBoard::OnCall record(SB_GetDllVersion, [&] { textAtSecondVersionCall = Form1Probe::text(form); });
    Form1Probe::startButton(form).click();

    QCOMPARE(textAtSecondVersionCall, u"\r\n"_s);
    QCOMPARE(Form1Probe::text(form), firstRun);
    QCOMPARE(SoftBoard::calledFunctions().count(u"WD_Open"_s), 2);
    QCOMPARE(SoftBoard::calledFunctions().count(u"WD_Close"_s), 2);
}

void TestRunSequence::screenShowsEachRefreshDuringTheRun()
{
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    OutputBox &box = Form1Probe::output(form);

    // The sequence itself never refreshes: until the first step has ended
    // the screen still shows the box as it was before the run. After each
    // step's refresh it shows the current text.
    bool staleBeforeTheSteps = false;
    bool currentAfterFirstStep = false;
    bool currentAtClose = false;
    bool stillEnabledAndNamed = false;
    const SoftBoard::OnCall beforeTheSteps(SB_GetComPortNum, [&] { staleBeforeTheSteps = !screenIsCurrent(box); });
    const SoftBoard::OnCall afterFirstStep(SB_GetWDogType, [&] { currentAfterFirstStep = screenIsCurrent(box); });
    const SoftBoard::OnCall atClose(SB_Close, [&] {
        currentAtClose = screenIsCurrent(box);
        stillEnabledAndNamed = Form1Probe::startButton(form).isEnabled() && Form1Probe::exitButton(form).isEnabled()
                               && form.windowTitle() == u"Form1"_s;
    });
    Form1Probe::startButton(form).click();

    QVERIFY(staleBeforeTheSteps);
    QVERIFY(currentAfterFirstStep);
    QVERIFY(currentAtClose);
    QVERIFY(stillEnabledAndNamed);
}

void TestRunSequence::postedEventWaitsForTheRunToEnd()
{
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    bool delivered = false;
    QTimer::singleShot(0, &form, [&] { delivered = true; });

    bool deliveredDuringRun = false;
    const auto check = [&] { deliveredDuringRun = deliveredDuringRun || delivered; };
    const SoftBoard::OnCall atFirstStep(SB_GetErrorInfoMsg, check);
    const SoftBoard::OnCall atLastStep(SB_GetSetPowerModule, check);
    const SoftBoard::OnCall atClose(SB_Close, check);
    Form1Probe::startButton(form).click();

    QVERIFY(!deliveredDuringRun);
    QVERIFY(!SoftBoard::callsOf(SB_Close).empty());
    QTRY_VERIFY(delivered);
}

QTEST_MAIN(TestRunSequence)
#include "tst_runsequence.moc"
