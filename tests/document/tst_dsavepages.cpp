#include "document/dsavepages.h"
#include "shell/appsettings.h"
#include "shell/globals.h"

#include <QtTest>

// The autosave clock asks for an autosave once per full interval, in the GUI thread, and ends
// promptly whenever it is stopped.
class tst_DSavePages : public QObject
{
    Q_OBJECT

private slots:
    void intervalComesFromTheSettings_data();
    void intervalComesFromTheSettings();
    void asksForAnAutosaveEveryInterval();
    void stopEndsALongWait();
    void stopBeforeTheThreadRuns();
    void noIntervalNeverAsks();
};

void tst_DSavePages::intervalComesFromTheSettings_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("interval");

    QTest::newRow("missing") << QString() << 60000;
    QTest::newRow("one minute") << "1" << 60000;
    QTest::newRow("fifteen") << "15" << 900000;
    QTest::newRow("sixty") << "60" << 3600000;
    QTest::newRow("too long") << "600" << 3600000;
    QTest::newRow("empty") << "" << 60000;
    QTest::newRow("zero: no autosave") << "0" << 0;
    QTest::newRow("negative: no autosave") << "-5" << 0;
    QTest::newRow("not a number: no autosave") << "soon" << 0;
}

void tst_DSavePages::intervalComesFromTheSettings()
{
    QFETCH(QString, stored);
    QFETCH(int, interval);
    if (stored.isNull())
        settings.remove(QStringLiteral("System/Autosave"));
    else
        settings.setValue(QStringLiteral("System/Autosave"), stored);
    const DSavePages clock(nullptr);
    QCOMPARE(clock.interval(), interval);
}

void tst_DSavePages::asksForAnAutosaveEveryInterval()
{
    DSavePages clock(nullptr);
    clock.setIntervalForTest(20);
    QList<QThread *> threads;
    connect(&clock, &DSavePages::savePage, this, [&] { threads << QThread::currentThread(); });
    clock.start();
    QTRY_VERIFY_WITH_TIMEOUT(threads.size() >= 3, 20000);
    QVERIFY(clock.stop());
    QVERIFY(clock.isFinished());
    for (QThread *thread : qAsConst(threads))
        QCOMPARE(thread, QThread::currentThread()); // queued to the GUI thread
    const int asked = threads.size();
    QTest::qWait(100);
    QCOMPARE(threads.size(), asked); // nothing comes after stop()
}

void tst_DSavePages::stopEndsALongWait()
{
    DSavePages clock(nullptr); // one minute: far longer than this test
    int asked = 0;
    connect(&clock, &DSavePages::savePage, this, [&] { ++asked; });
    clock.start();
    QTRY_VERIFY(clock.isRunning());
    QVERIFY(clock.stop());
    QVERIFY(clock.isFinished());
    QCoreApplication::processEvents();
    QCOMPARE(asked, 0);
    QVERIFY(clock.stop()); // a second stop is harmless
}

void tst_DSavePages::stopBeforeTheThreadRuns()
{
    DSavePages unused(nullptr);
    QVERIFY(unused.stop());
    DSavePages clock(nullptr);
    clock.setIntervalForTest(1);
    clock.start();
    QVERIFY(clock.stop()); // even when run() has not begun yet, the thread ends
}

void tst_DSavePages::noIntervalNeverAsks()
{
    settings.setValue(QStringLiteral("System/Autosave"), QStringLiteral("0")); // as a user may
    DSavePages clock(nullptr);
    int asked = 0;
    connect(&clock, &DSavePages::savePage, this, [&] { ++asked; });
    clock.start();
    QTest::qWait(50);
    QVERIFY(clock.stop());
    QCOMPARE(asked, 0);
    settings.remove(QStringLiteral("System/Autosave"));
}

QTEST_GUILESS_MAIN(tst_DSavePages)
#include "tst_dsavepages.moc"
