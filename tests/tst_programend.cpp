// What ends the program, each in a process of its own: Exit, closing the
// window, and a device library or function that cannot be found.
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Outcome {
    int exitCode = -1;
    QString out;
    QStringList tracedCalls; // the software board's trace lines, function names only
    QString err;
};

Outcome runForm(const QString &action, const QString &libraryDir)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"LD_LIBRARY_PATH"_s, libraryDir);
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    environment.insert(u"SOFTBOARD_TRACE"_s, u"1"_s);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(FORMPROCESS_PATH), {action});
    Outcome outcome;
    if (!process.waitForFinished(120'000) || process.exitStatus() != QProcess::NormalExit)
        return outcome;
    outcome.exitCode = process.exitCode();
    outcome.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    outcome.err = QString::fromLocal8Bit(process.readAllStandardError());
    for (const QString &line : outcome.err.split(u'\n')) {
        if (line.startsWith(u"softboard: "_s))
            outcome.tracedCalls << line.mid(11).section(u'(', 0, 0);
    }
    return outcome;
}

} // namespace

class TestProgramEnd : public QObject
{
    Q_OBJECT

private slots:
    void endsWithoutCallingTheLibrary_data();
    void endsWithoutCallingTheLibrary();
    void libraryThatCannotBeLoadedEndsTheRun_data();
    void libraryThatCannotBeLoadedEndsTheRun();
    void missingFunctionEndsTheRunAtItsCall();
};

void TestProgramEnd::endsWithoutCallingTheLibrary_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("Exit pressed") << u"exit"_s;
    QTest::newRow("window closed") << u"close"_s;
}

void TestProgramEnd::endsWithoutCallingTheLibrary()
{
    QFETCH(QString, action);

    const Outcome outcome = runForm(action, QStringLiteral(SOFTBOARD_DIR));

    QCOMPARE(outcome.exitCode, 0);
    QCOMPARE(outcome.out, u"event loop ended\n"_s);
    QCOMPARE(outcome.tracedCalls, QStringList());
}

void TestProgramEnd::libraryThatCannotBeLoadedEndsTheRun_data()
{
    QTest::addColumn<QByteArray>("fileContent"); // empty: no file at all

    QTest::newRow("no library file") << QByteArray();
    QTest::newRow("file is not a shared library") << QByteArray("not a library\n");
}

void TestProgramEnd::libraryThatCannotBeLoadedEndsTheRun()
{
    QFETCH(QByteArray, fileContent);
    QTemporaryDir libraryDir;
    QVERIFY(libraryDir.isValid());
    if (!fileContent.isEmpty()) {
        QFile file(libraryDir.filePath(u"Brenvik.dll"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(fileContent);
    }

    const Outcome outcome = runForm(u"start"_s, libraryDir.path());

    QVERIFY2(outcome.exitCode > 0, qPrintable(outcome.err));
    // The operator sees the loader's reason in a dialog; standard error
    // carries the same text. Nothing runs after it.
    QVERIFY2(outcome.out.startsWith(u"dialog: Cannot load the device library"_s), qPrintable(outcome.out));
    QVERIFY(outcome.out.contains(u"Brenvik.dll"_s));
    QVERIFY(!outcome.out.contains(u"run ended"_s));
    QVERIFY(!outcome.out.contains(u"event loop ended"_s));
    QVERIFY(outcome.err.contains(outcome.out.section(u'\n', 0, 0).mid(8)));
}

void TestProgramEnd::missingFunctionEndsTheRunAtItsCall()
{
    // A library without WD_GetBuzzer, which the run first calls half-way
    // through, with the board open.
    const Outcome outcome = runForm(u"start"_s, QStringLiteral(SOFTBOARD_WITHOUT_GETBUZZER_DIR));

    QVERIFY2(outcome.exitCode > 0, qPrintable(outcome.err));
    QVERIFY2(outcome.out.startsWith(u"dialog: Cannot find the function WD_GetBuzzer"_s), qPrintable(outcome.out));
    QVERIFY(!outcome.out.contains(u"run ended"_s));
    QVERIFY(outcome.err.contains(outcome.out.section(u'\n', 0, 0).mid(8)));
    // The calls before it happened; nothing after it did, not even the close.
    QCOMPARE(outcome.tracedCalls.value(0), u"WD_GetDllVersion"_s);
    QCOMPARE(outcome.tracedCalls.constLast(), u"WD_SetBuzzer"_s);
    QVERIFY(!outcome.tracedCalls.contains(u"WD_Close"_s));
}

QTEST_MAIN(TestProgramEnd)
#include "tst_programend.moc"
