// Complete runs on the default software board, compared whole with the
// transcripts kept in tests/golden: every line of the log, and every library
// call with its arguments, in order.
#include "binding/modheader.h"
#include "form1probe.h"
#include "softboardscript.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString golden(const QString &name)
{
    QFile file(QStringLiteral(GOLDEN_DIR "/") + name);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        qFatal("cannot read %s", qPrintable(file.fileName()));
    return QString::fromUtf8(file.readAll());
}

// One line per call: the function, its by-value arguments, the presets its
// outputs held on entry (&), the byte buffers it was handed (hex, or how many
// zero bytes), and what it returned.
QString callTranscript(const std::vector<SbCall> &calls)
{
    QString text;
    for (const SbCall &call : calls) {
        QStringList inputs;
        for (int i = 0; i < call.argCount; ++i)
            inputs << QString::number(call.args[i]);
        for (int i = 0; i < call.valueCount; ++i)
            inputs << u"&"_s + QString::number(call.valuesOnEntry[i]);
        for (int i = 0; i < call.bufferCount; ++i) {
            const QByteArray bytes = SoftBoard::bufferOf(call, i);
            inputs << (bytes.count('\0') == bytes.size() ? u"[%1 zero bytes]"_s.arg(bytes.size())
                                                           : u"["_s + QString::fromLatin1(bytes.toHex()) + u"]"_s);
        }
        text += SoftBoard::name(call.function) + u'(' + inputs.join(u", "_s) + u") -> "_s
                + QString::number(call.result) + u'\n';
    }
    return text;
}

} // namespace

class TestFullRun : public QObject
{
    Q_OBJECT

private slots:
    void twoRunsOnTheDefaultBoard();
};

void TestFullRun::twoRunsOnTheDefaultBoard()
{
    SoftBoard::reset();
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    Form1Probe::startButton(form).click();
    QCOMPARE(Form1Probe::text(form), golden(u"first-run.log"_s).replace(u'\n', u"\r\n"_s));
    QCOMPARE(callTranscript(SoftBoard::trace()), golden(u"first-run.calls"_s));
    QCOMPARE(modHeader::lngLastStatus, 0);

    // The board keeps what the first run set: its watchdog is now armed, so
    // the second run is refused the power-on delay.
    const std::size_t firstRunCalls = SoftBoard::trace().size();
    Form1Probe::startButton(form).click();
    std::vector<SbCall> secondRun = SoftBoard::trace();
    secondRun.erase(secondRun.begin(), secondRun.begin() + static_cast<std::ptrdiff_t>(firstRunCalls));
    QCOMPARE(Form1Probe::text(form), golden(u"second-run.log"_s).replace(u'\n', u"\r\n"_s));
    QCOMPARE(callTranscript(secondRun), golden(u"second-run.calls"_s));
}

QTEST_MAIN(TestFullRun)
#include "tst_fullrun.moc"
