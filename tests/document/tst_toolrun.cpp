#include "document/toolrun.h"

#include <QtTest>

class tst_ToolRun : public QObject
{
    Q_OBJECT

private slots:
    void argumentsStayWhole();
    void failuresCarryTheReason_data();
    void failuresCarryTheReason();
    void aProgramThatHangsIsStopped();
    void outputReadAsItComes();
    void watchedProgramIsStoppedWhenAsked();
    void runningToolEndsAsRunToolSays();
    void runningToolStopsWhatItStarted();
};

namespace {

// Gone, or ended and only waiting to be reaped.
bool ended(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(')') + 1).trimmed().startsWith('Z');
}

} // namespace

void tst_ToolRun::argumentsStayWhole()
{
    QTemporaryDir dir;
    const QString name = QStringLiteral("a 'b' \"c\" $HOME; `x` |y");
    const ToolRun run = runTool("printf", { "%s|%s", name, "second" }, dir.path(), 30000);
    QVERIFY2(run.ok, qPrintable(run.error));
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(QString::fromUtf8(run.output), name + "|second");
    const ToolRun where = runTool("pwd", {}, dir.path(), 30000);
    QCOMPARE(QString::fromLocal8Bit(where.output).trimmed(),
             QFileInfo(dir.path()).canonicalFilePath());
}

void tst_ToolRun::failuresCarryTheReason_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("reason");

    QTest::newRow("non-zero exit with stderr")
            << "sh" << QStringList{ "-c", "echo broken archive >&2; exit 9" } << 9
            << "exit code 9: broken archive";
    QTest::newRow("non-zero exit, silent") << "false" << QStringList() << 1 << "exit code 1";
    QTest::newRow("crash") << "sh" << QStringList{ "-c", "kill -SEGV $$" } << -1 << "crashed";
    QTest::newRow("missing program") << "no-such-program-here" << QStringList() << -1 << "";
    // Standard input is empty: a tool waiting for an answer gets end of input at once.
    QTest::newRow("reads stdin") << "sh" << QStringList{ "-c", "read a || exit 4" } << 4
                                 << "exit code 4";
    // Its output closed, a program is still waited for until it has ended.
    QTest::newRow("ends after closing its output")
            << "sh" << QStringList{ "-c", "exec >&- 2>&-; sleep 0.3; exit 5" } << 5
            << "exit code 5";
}

void tst_ToolRun::failuresCarryTheReason()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, reason);
    const ToolRun run = runTool(program, arguments, QDir::tempPath(), 60000);
    QVERIFY(!run.ok);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.error.startsWith(program + ": " + reason), qPrintable(run.error));
}

void tst_ToolRun::aProgramThatHangsIsStopped()
{
    const ToolRun run = runTool("sleep", { "600" }, QDir::tempPath(), 200);
    QVERIFY(!run.ok);
    QCOMPARE(run.error, QStringLiteral("sleep: no answer in time"));
}

void tst_ToolRun::outputReadAsItComes()
{
    // All of a long output, in order; then a reader that has enough stops a program that
    // would write forever, and that is no failure.
    QByteArray read;
    const ToolRun whole = runToolReading("seq", { "200000" }, QDir::tempPath(), 60000,
                                         QProcessEnvironment::systemEnvironment(),
                                         [&read](const QByteArray &piece) {
                                             read += piece;
                                             return true;
                                         });
    QVERIFY2(whole.ok, qPrintable(whole.error));
    QVERIFY(whole.output.isEmpty());
    QCOMPARE(read.count('\n'), 200000);
    QVERIFY(read.endsWith("199999\n200000\n"));

    qint64 bytes = 0;
    const ToolRun endless = runToolReading("yes", {}, QDir::tempPath(), 60000,
                                           QProcessEnvironment::systemEnvironment(),
                                           [&bytes](const QByteArray &piece) {
                                               bytes += piece.size();
                                               return bytes < (1 << 20);
                                           });
    QVERIFY2(endless.ok, qPrintable(endless.error));
    QVERIFY(bytes >= (1 << 20));

    const ToolRun failing = runToolReading("sh", { "-c", "echo partial; exit 3" }, QDir::tempPath(),
                                           60000, QProcessEnvironment::systemEnvironment(),
                                           [](const QByteArray &) { return true; });
    QVERIFY(!failing.ok);
    QCOMPARE(failing.exitCode, 3);
}

void tst_ToolRun::watchedProgramIsStoppedWhenAsked()
{
    int asked = 0;
    const ToolRun stopped =
            runToolWatched("sleep", { "600" }, QDir::tempPath(), 60000,
                           QProcessEnvironment::systemEnvironment(), 20, [&asked]() {
                               return ++asked < 3;
                           });
    QVERIFY(!stopped.ok);
    QCOMPARE(stopped.error, QStringLiteral("sleep: stopped"));
    QCOMPARE(asked, 3);
    const ToolRun quick = runToolWatched("true", {}, QDir::tempPath(), 60000,
                                         QProcessEnvironment::systemEnvironment(), 30000,
                                         []() { return false; });
    QVERIFY2(quick.ok, qPrintable(quick.error)); // ended before anyone asked
}

// Left to run beside the caller, a program is seen to end as runTool would tell it, with all it
// said.
void tst_ToolRun::runningToolEndsAsRunToolSays()
{
    RunningTool tool("sh", { "-c", "seq 100000; echo broken page >&2; exit 3" }, QDir::tempPath());
    QVERIFY(!tool.hasEnded());
    QTRY_VERIFY_WITH_TIMEOUT(tool.poll(), 60000);
    QCOMPARE(tool.result().exitCode, 3);
    QCOMPARE(tool.result().error, QStringLiteral("sh: exit code 3: broken page"));
    QCOMPARE(tool.result().output.count('\n'), 100000);
    RunningTool missing("no-such-program-here", {}, QDir::tempPath());
    QVERIFY(missing.poll());
    QVERIFY(!missing.result().ok);
}

// Stopped, a program takes what it started with it: a converter that is a script leaves nothing
// running.
void tst_ToolRun::runningToolStopsWhatItStarted()
{
    RunningTool tool("sh", { "-c", "sleep 600 & echo $!; wait" }, QDir::tempPath());
    QTRY_VERIFY_WITH_TIMEOUT(!tool.poll() && tool.result().output.endsWith('\n'), 60000);
    const qint64 started = tool.result().output.trimmed().toLongLong();
    QVERIFY(started > 0);
    QVERIFY(!ended(started));
    tool.stop();
    QVERIFY(tool.hasEnded());
    QCOMPARE(tool.result().error, QStringLiteral("sh: stopped"));
    QVERIFY(ended(tool.processId()));
    QTRY_VERIFY_WITH_TIMEOUT(ended(started), 30000);
}

QTEST_GUILESS_MAIN(tst_ToolRun)
#include "tst_toolrun.moc"
