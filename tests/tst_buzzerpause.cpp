// The buzzer pause as an optimising build compiles it: the count must still
// run in full, not be dropped or shortened.
#include "steps/buzzerpause.h"

#include <QElapsedTimer>
#include <QTest>

class TestBuzzerPause : public QObject
{
    Q_OBJECT

private slots:
    void countRunsInOptimisedBuild();
};

void TestBuzzerPause::countRunsInOptimisedBuild()
{
    QElapsedTimer clock;
    clock.start();
    buzzerPause();
    const qint64 elapsed = clock.elapsed();
    qInfo("buzzer pause: %lld ms", elapsed);

    // Each of the 268,435,456 counts of the volatile counter takes at least
    // one cycle, so at 6 GHz or less the pause lasts 44 ms or more. A loop
    // the optimiser dropped or shortened ends almost at once.
    QVERIFY2(elapsed >= 40, qPrintable(QStringLiteral("the pause took %1 ms").arg(elapsed)));
}

QTEST_APPLESS_MAIN(TestBuzzerPause)
#include "tst_buzzerpause.moc"
