#include "toolrun.h"

#include <QElapsedTimer>
#include <QProcess>

namespace {

constexpr int kStartTimeoutMs = 5000;
constexpr int kKillTimeoutMs = 2000;

QString describeFailure(const QProcess &process, const QByteArray &errorOutput)
{
    if (process.exitStatus() != QProcess::NormalExit)
        return QStringLiteral("crashed");
    const QString text = QString::fromLocal8Bit(errorOutput).trimmed();
    const QString code = QStringLiteral("exit code %1").arg(process.exitCode());
    return text.isEmpty() ? code : code + QLatin1String(": ") + text;
}

} // namespace

ToolRun ToolRun::failed(const QString &program, const QString &reason)
{
    ToolRun run;
    run.error = program + QLatin1String(": ") + reason;
    return run;
}

ToolRun runTool(const QString &program, const QStringList &arguments,
                const QString &workingDirectory, int timeoutMs,
                const QProcessEnvironment &environment)
{
    return runToolWatched(program, arguments, workingDirectory, timeoutMs, environment, timeoutMs,
                          {});
}

ToolRun runToolWatched(const QString &program, const QStringList &arguments,
                       const QString &workingDirectory, int timeoutMs,
                       const QProcessEnvironment &environment, int intervalMs,
                       const std::function<bool()> &keepRunning)
{
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    process.setProcessEnvironment(environment);
    // A tool that asks a question (unzip before overwriting) must see end of input, not hang.
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForStarted(kStartTimeoutMs)) {
        const QString reason = process.errorString();
        process.kill();
        process.waitForFinished(kKillTimeoutMs);
        return ToolRun::failed(program, reason);
    }
    QElapsedTimer clock;
    clock.start();
    bool stopped = false;
    bool finished = false;
    while (!finished && !stopped && clock.elapsed() < timeoutMs) {
        const int left = int(qMax<qint64>(timeoutMs - clock.elapsed(), 1));
        finished = process.waitForFinished(keepRunning ? qMin(intervalMs, left) : left)
                || process.state() == QProcess::NotRunning;
        stopped = !finished && keepRunning && !keepRunning();
    }
    if (!finished) {
        process.kill(); // ours to stop: we started it and hold its handle
        process.waitForFinished(kKillTimeoutMs);
        ToolRun run = ToolRun::failed(program, stopped ? QStringLiteral("stopped")
                                                       : QStringLiteral("no answer in time"));
        run.errorOutput = process.readAllStandardError();
        return run;
    }
    ToolRun run;
    run.output = process.readAllStandardOutput();
    run.errorOutput = process.readAllStandardError();
    if (process.exitStatus() == QProcess::NormalExit)
        run.exitCode = process.exitCode();
    run.ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!run.ok)
        run.error = program + QLatin1String(": ") + describeFailure(process, run.errorOutput);
    return run;
}

ToolRun startToolDetached(const QString &program, const QStringList &arguments,
                          const QString &workingDirectory)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(workingDirectory);
    process.setStandardInputFile(QProcess::nullDevice());
    if (!process.startDetached())
        return ToolRun::failed(program, QStringLiteral("could not be started"));
    ToolRun run;
    run.ok = true;
    run.exitCode = 0;
    return run;
}
