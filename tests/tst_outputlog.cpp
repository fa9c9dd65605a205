// The output log: what Clear, Append and Refresh leave in the box.
#include "console/outputbox.h"
#include "console/outputlog.h"

#include <QScrollBar>
#include <QTest>

using namespace Qt::StringLiterals;

class TestOutputLog : public QObject
{
    Q_OBJECT

private slots:
    void appendKeepsExactText_data();
    void appendKeepsExactText();
    void lineEndsShowAsOneBreak();
    void appendsShowAsTheWholeTextWould_data();
    void appendsShowAsTheWholeTextWould();
    void clearEmptiesTheBox();
    void everyWriteShowsTheFirstLine();
    void refreshPaintsTheCurrentText();
};

void TestOutputLog::appendKeepsExactText_data()
{
    QTest::addColumn<QStringList>("pieces");
    QTest::addColumn<QString>("expected");

    QTest::newRow("one piece into an empty log") << QStringList{u"abc\r\n"_s} << u"abc\r\n"_s;
    QTest::newRow("empty piece changes nothing") << QStringList{u"X\r\n"_s, QString()} << u"X\r\n"_s;
    QTest::newRow("pieces join with nothing between")
        << QStringList{u"a"_s, u"b"_s, u"\r\n"_s} << u"ab\r\n"_s;
    QTest::newRow("CR LF comes back as CR LF")
        << QStringList{u"a\r\n"_s, u"b\r\n"_s} << u"a\r\nb\r\n"_s;
    QTest::newRow("lone CR and lone LF come back as they went")
        << QStringList{u"a\rb\nc"_s} << u"a\rb\nc"_s;
    QTest::newRow("no-break space and line separator survive")
        << QStringList{u"1\u00A0C\u2028x"_s} << u"1\u00A0C\u2028x"_s;
    QTest::newRow("NUL ends the written text")
        << QStringList{u"X"_s, u"A\0B\r\n"_s} << u"XA"_s;
    QTest::newRow("after a NUL the next append goes on from the kept text")
        << QStringList{u"X"_s, u"A\0B\r\n"_s, u"C"_s} << u"XAC"_s;
    QTest::newRow("NUL first keeps only the old text")
        << QStringList{u"old\r\n"_s, u"\0new"_s} << u"old\r\n"_s;
}

void TestOutputLog::appendKeepsExactText()
{
    QFETCH(QStringList, pieces);
    QFETCH(QString, expected);

    OutputBox box;
    OutputLog log(box);
    for (const QString &piece : pieces)
        log.append(piece);

    QCOMPARE(box.text(), expected);
}

void TestOutputLog::lineEndsShowAsOneBreak()
{
    OutputBox box;
    OutputLog log(box);
    log.append(u"\r\nfirst\r\nsecond\r\n"_s);

    // On screen CR LF is one line break: no empty line between two lines.
    QCOMPARE(box.toPlainText(), u"\nfirst\nsecond\n"_s);
}

void TestOutputLog::appendsShowAsTheWholeTextWould_data()
{
    QTest::addColumn<QStringList>("pieces");

    QTest::newRow("lines built from pieces") << QStringList{u"\r\n"_s, u"a"_s, u"b"_s, u"\r\n"_s, u"c\r\n"_s};
    QTest::newRow("CR and LF in two pieces") << QStringList{u"a\r"_s, u"\nb\r"_s, u"\n"_s};
    QTest::newRow("lone CR then text") << QStringList{u"a\r"_s, u"b"_s};
    QTest::newRow("NUL cut, then more") << QStringList{u"x\r"_s, u"\0y"_s, u"\nz"_s};
    QTest::newRow("unicode line and paragraph separators") << QStringList{u"a\u2028"_s, u"b\u2029c"_s};
}

void TestOutputLog::appendsShowAsTheWholeTextWould()
{
    QFETCH(QStringList, pieces);

    OutputBox pieceByPiece;
    OutputLog log(pieceByPiece);
    for (const QString &piece : pieces)
        log.append(piece);
    OutputBox atOnce;
    atOnce.setText(pieceByPiece.text());

    // What the operator sees must not depend on how the text was written.
    QCOMPARE(pieceByPiece.toPlainText(), atOnce.toPlainText());
    QCOMPARE(pieceByPiece.document()->blockCount(), atOnce.document()->blockCount());
}

void TestOutputLog::clearEmptiesTheBox()
{
    OutputBox box;
    OutputLog log(box);
    log.append(u"line\r\n"_s);
    log.clear();

    QCOMPARE(box.text(), QString());
    QCOMPARE(box.toPlainText(), QString());
}

void TestOutputLog::everyWriteShowsTheFirstLine()
{
    OutputBox box;
    box.resize(300, 100);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    OutputLog log(box);

    for (int line = 0; line < 100; ++line)
        log.append(u"line %1\r\n"_s.arg(line));
    box.verticalScrollBar()->setValue(box.verticalScrollBar()->maximum());
    box.moveCursor(QTextCursor::End);
    QVERIFY(box.verticalScrollBar()->value() > 0);

    log.append(u"last\r\n"_s);

    QCOMPARE(box.textCursor().position(), 0);
    QCOMPARE(box.verticalScrollBar()->value(), 0);
}

void TestOutputLog::refreshPaintsTheCurrentText()
{
    OutputBox box;
    box.resize(300, 100);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    OutputLog log(box);
    const QImage before = box.grab().toImage();

    log.append(u"now on screen\r\n"_s);
    log.refresh();

    // No event loop has run since the append: only the refresh can have
    // brought the new text to the window's backing store.
    const QImage onScreen = box.screen()->grabWindow(box.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(onScreen, box.grab().toImage().convertToFormat(QImage::Format_RGB32));
    QVERIFY(onScreen != before.convertToFormat(QImage::Format_RGB32));
}

QTEST_MAIN(TestOutputLog)
#include "tst_outputlog.moc"
