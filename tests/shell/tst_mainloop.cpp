#include "shell/mainloop.h"

#include <QtTest>
#include <QWidget>

// The program's event-loop rule: a second run only while the main window is up, and a working
// directory that holds unsaved work is never removed while the program keeps running.
class tst_MainLoop : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qApp->setQuitOnLastWindowClosed(false); }
    void exitWithWindowShownRunsAgainAndKeepsWork_data();
    void exitWithWindowShownRunsAgainAndKeepsWork();
    void windowGoneEndsAfterFirstRun_data();
    void windowGoneEndsAfterFirstRun();
};

void tst_MainLoop::exitWithWindowShownRunsAgainAndKeepsWork_data()
{
    QTest::addColumn<int>("firstCode");
    QTest::newRow("exit 0") << 0;
    QTest::newRow("exit 3") << 3;
}

void tst_MainLoop::exitWithWindowShownRunsAgainAndKeepsWork()
{
    QFETCH(int, firstCode);
    QTemporaryDir workingDir;
    QWidget window;
    window.show();
    int runs = 0;
    QTimer::singleShot(0, [&]() { ++runs; qApp->exit(firstCode); });
    QTimer::singleShot(50, [&]() { ++runs; qApp->exit(7); });

    QCOMPARE(runMainLoops(*qApp, &window, workingDir), 7);
    QCOMPARE(runs, 2);
    QVERIFY(QFileInfo::exists(workingDir.path()));
}

void tst_MainLoop::windowGoneEndsAfterFirstRun_data()
{
    QTest::addColumn<int>("firstCode");
    QTest::addColumn<bool>("workKept");
    QTest::newRow("clean end") << 0 << true;
    QTest::newRow("failed end") << 4 << false;
}

void tst_MainLoop::windowGoneEndsAfterFirstRun()
{
    QFETCH(int, firstCode);
    QFETCH(bool, workKept);
    QTemporaryDir workingDir;
    workingDir.setAutoRemove(false);
    auto *window = new QWidget;
    window->show();
    QTimer::singleShot(0, [&]() {
        window->close();
        qApp->exit(firstCode);
    });
    // A second run would never end on its own; this ends it with a code the test rejects.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, qApp, []() { qApp->exit(99); });
    watchdog.start(3000);

    QCOMPARE(runMainLoops(*qApp, window, workingDir), firstCode);
    QCOMPARE(QFileInfo::exists(workingDir.path()), workKept);
    delete window;
    QDir(workingDir.path()).removeRecursively();
}

QTEST_MAIN(tst_MainLoop)
#include "tst_mainloop.moc"
