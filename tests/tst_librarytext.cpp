// Text from the device library that the system's 8-bit code page cannot map:
// every such byte shows as a visible U+FFFD, and the InfoMessage line keeps
// its CR LF with the next step's lines right behind it. CTest runs this under
// a UTF-8 locale and under the C locale; Qt 6 reads 8-bit text as UTF-8 in
// both, so the expectations are the same.
#include "console/outputbox.h"
#include "form1probe.h"
#include "stepharness.h"

#include <QTest>

#include <clocale>
#include <langinfo.h>

using namespace Qt::StringLiterals;
using SoftBoard::Answer;

namespace {

const QString replacement(1, QChar(0xFFFD));

QString replacements(int count)
{
    return replacement.repeated(count);
}

} // namespace

class TestLibraryText : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void unmappableBytesShowAsReplacement_data();
    void unmappableBytesShowAsReplacement();
    void hostileMessageInACompleteRun();
};

void TestLibraryText::initTestCase()
{
    // What the run found: LC_ALL as CTest set it, and the character set the
    // process ended up with once Qt had started.
    qInfo("LC_ALL=%s, LC_CTYPE now %s, code set %s", qgetenv("LC_ALL").constData(), std::setlocale(LC_CTYPE, nullptr),
          nl_langinfo(CODESET));
}

void TestLibraryText::unmappableBytesShowAsReplacement_data()
{
    QTest::addColumn<QByteArray>("written"); // what the library writes into MsgBuffer2
    QTest::addColumn<QString>("shown");      // what follows "InfoMessage: "

    QByteArray highBytes;
    for (int byte = 0x80; byte <= 0xFF; ++byte)
        highBytes += char(byte);
    const QByteArray letters254(254, 'a');
    const QByteArray letters255(255, 'a');

    QTest::newRow("lone 0x80") << "A\x80"_ba + "B" << u"A"_s + replacement + u"B"_s;
    QTest::newRow("lone 0xFF") << "A\xFF"_ba + "B" << u"A"_s + replacement + u"B"_s;
    QTest::newRow("every byte from 0x80 to 0xFF") << highBytes << replacements(128);
    QTest::newRow("overlong zero C0 80 is no NUL") << "A\xC0\x80"_ba + "B" << u"A"_s + replacements(2) + u"B"_s;
    QTest::newRow("UTF-16 surrogate ED A0 80") << "A\xED\xA0\x80"_ba << u"A"_s + replacements(3);
    QTest::newRow("beyond U+10FFFF") << "\xF4\x90\x80\x80"_ba << replacements(4);
    QTest::newRow("sequence broken by a letter") << "\xE2\x82"_ba + "B" << replacements(2) + u"B"_s;
    QTest::newRow("sequence broken by the zero byte") << "A\xE2\x00\x82"_ba << u"A"_s + replacement;
    QTest::newRow("two-byte sequence cut at byte 256") << letters255 + "\xC3" << QString(255, u'a') + replacement;
    QTest::newRow("three-byte sequence cut at byte 256")
        << letters254 + "\xE2\x82" << QString(254, u'a') + replacements(2);
    QTest::newRow("cut at byte 256, terminating byte overwritten")
        << letters254 + "\xE2\x82\xAC" << QString(254, u'a') + replacements(2);
    QTest::newRow("well-formed text passes") << "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"_ba
                                             << u"caf\u00E9 \u20AC \U0001F600"_s;
    // A byte order mark is three bytes of text like any other: kept, and a
    // message of nothing else still gets its line.
    QTest::newRow("byte order mark first") << "\xEF\xBB\xBFHi"_ba << u"\uFEFFHi"_s;
    QTest::newRow("only a byte order mark") << "\xEF\xBB\xBF"_ba << u"\uFEFF"_s;
}

void TestLibraryText::unmappableBytesShowAsReplacement()
{
    QFETCH(QByteArray, written);
    QFETCH(QString, shown);
    const QString line = u"InfoMessage: "_s + shown + u"\r\n"_s;

    StepHarness harness;
    SoftBoard::next(SB_GetErrorInfoMsg, Answer().bytes(1, written));
    const StepOutcome outcome = harness.run(u"GetTextMessages");
    QCOMPARE(outcome.added, line);
    QVERIFY(outcome.screenShowsLog);
    // What the box displays holds the same characters, replacements included.
    QVERIFY(Form1Probe::output(harness.form).toPlainText().contains(shown));

    // The run's next step writes on the line after it.
    QVERIFY(Form1Probe::runStep(harness.form, u"TestBoardInfo"));
    const QString text = Form1Probe::text(harness.form);
    const qsizetype at = text.indexOf(line);
    QVERIFY2(at >= 0 && text.mid(at + line.size()).startsWith(u"-- Type    -- Board Type = "_s), qPrintable(text));
}

void TestLibraryText::hostileMessageInACompleteRun()
{
    // 256 bytes that start no sequence (stray continuation bytes, and bytes
    // UTF-8 never uses), the terminating byte overwritten too; the first
    // buffer filled with text that is never shown.
    QByteArray written;
    for (int i = 0; i < 257; ++i)
        written += char(i % 2 == 0 ? 0x80 + i % 64 : 0xF8 + i % 8);
    SoftBoard::reset();
    SoftBoard::next(SB_GetErrorInfoMsg, Answer().bytes(0, QByteArray(257, 'X')).bytes(1, written));

    Form1 form;
    Form1Probe::startButton(form).click();

    const QString text = Form1Probe::text(form);
    const QString line = u"\r\nInfoMessage: "_s + replacements(256) + u"\r\n-- Type    -- Board Type = "_s;
    QVERIFY2(text.contains(line), qPrintable(text));
    QVERIFY(!text.contains(u'X'));
    QVERIFY(text.endsWith(u"\r\nWDog Closed.\r\n"_s));
    QCOMPARE(text.count(u"\r\n"_s), 33); // the default board's 32 lines and the empty first one
}

QTEST_MAIN(TestLibraryText)
#include "tst_librarytext.moc"
