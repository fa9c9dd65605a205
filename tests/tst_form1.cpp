// The window as the operator first sees it, before any run.
#include "form1probe.h"
#include "softboardscript.h"

#include <QScrollBar>
#include <QTest>

using namespace Qt::StringLiterals;

class TestForm1 : public QObject
{
    Q_OBJECT

private slots:
    void init() { SoftBoard::reset(); }

    void startsEmptyWithoutTouchingTheLibrary();
    void controlsStandWhereTheyBelong_data();
    void controlsStandWhereTheyBelong();
    void resizingMovesNothing();
    void outputBoxScrollsOnlyVertically();
};

void TestForm1::startsEmptyWithoutTouchingTheLibrary()
{
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QCOMPARE(form.windowTitle(), u"Form1"_s);
    QCOMPARE(form.size(), QSize(602, 684));
    QCOMPARE(Form1Probe::text(form), QString());
    QCOMPARE(Form1Probe::output(form).toPlainText(), QString());
    QCOMPARE(SoftBoard::calledFunctions(), QStringList());
}

void TestForm1::controlsStandWhereTheyBelong_data()
{
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");

    QTest::newRow("txtOutput") << u"txtOutput"_s << u"OutputBox"_s << QRect(16, 8, 569, 601) << QString();
    QTest::newRow("btnStart") << u"btnStart"_s << u"QPushButton"_s << QRect(32, 632, 121, 33) << u"Start"_s;
    QTest::newRow("btnExit") << u"btnExit"_s << u"QPushButton"_s << QRect(432, 632, 121, 33) << u"Exit"_s;
}

void TestForm1::controlsStandWhereTheyBelong()
{
    QFETCH(QString, objectName);
    QFETCH(QString, className);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);

    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    auto *control = form.findChild<QWidget *>(objectName);
    QVERIFY(control);
    QCOMPARE(QString::fromLatin1(control->metaObject()->className()), className);
    QCOMPARE(control->geometry(), geometry);
    QVERIFY(control->isVisible());
    QVERIFY(control->isEnabled());
    if (auto *button = qobject_cast<QPushButton *>(control))
        QCOMPARE(button->text(), caption);
}

void TestForm1::resizingMovesNothing()
{
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QList<QWidget *> controls{&Form1Probe::output(form), &Form1Probe::startButton(form),
                                    &Form1Probe::exitButton(form)};
    QList<QRect> before;
    for (QWidget *control : controls)
        before << control->geometry();

    for (const QSize size : {QSize(900, 900), QSize(300, 200)}) {
        form.resize(size);
        QCoreApplication::processEvents();
        QCOMPARE(form.size(), size);
        for (qsizetype i = 0; i < controls.size(); ++i)
            QCOMPARE(controls[i]->geometry(), before[i]);
    }
}

void TestForm1::outputBoxScrollsOnlyVertically()
{
    Form1 form;
    OutputBox &box = Form1Probe::output(form);

    QCOMPARE(box.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(box.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(box.lineWrapMode(), QPlainTextEdit::WidgetWidth);
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
