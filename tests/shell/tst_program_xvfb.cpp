#include <QtTest>

// The real program on a real X server: it starts, shows its window and keeps running until it
// is closed.
class tst_Program : public QObject
{
    Q_OBJECT

private slots:
    void startsAndKeepsRunning();
};

void tst_Program::startsAndKeepsRunning()
{
    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(VELTORINA_PROGRAM), QStringList());
    QVERIFY(program.waitForStarted(10000));
    QVERIFY2(!program.waitForFinished(4000), "the program ended on its own");
    QCOMPARE(program.state(), QProcess::Running);
    program.terminate();
    QVERIFY(program.waitForFinished(10000));
}

QTEST_GUILESS_MAIN(tst_Program)
#include "tst_program_xvfb.moc"
