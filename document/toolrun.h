#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>

// What happened when an external program (zip, unzip, pdftoppm, ffmpeg, xdg-open) ran. The
// caller decides what, if anything, the user sees; nothing here shows a message.
struct ToolRun
{
    bool ok = false;
    int exitCode = -1; // -1 when the program did not start, crashed or was stopped
    QString error; // empty when ok: "<program>: <reason>", for the log or a message box
    QByteArray output; // standard output
    QByteArray errorOutput; // standard error, also kept when the run succeeded

    static ToolRun failed(const QString &program, const QString &reason);
};

// Runs program with an argument list (never through a shell, so a file name stays one
// argument) in workingDirectory, with standard input empty. Succeeds only when the program
// started, ended normally within timeoutMs and returned exit code 0; a program still running at
// the deadline is killed. environment replaces the inherited one when given.
ToolRun runTool(const QString &program, const QStringList &arguments,
                const QString &workingDirectory, int timeoutMs,
                const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());

// runTool, asking keepRunning every intervalMs while the program runs: once it answers false,
// the program is stopped and the run fails ("stopped").
ToolRun runToolWatched(const QString &program, const QStringList &arguments,
                       const QString &workingDirectory, int timeoutMs,
                       const QProcessEnvironment &environment, int intervalMs,
                       const std::function<bool()> &keepRunning);

// runTool, handing the program's standard output to take in pieces as it comes (none of it is
// kept in the result): once take answers false the program is stopped, and the run counts as
// one that ended well (ok) if nothing else went wrong before.
ToolRun runToolReading(const QString &program, const QStringList &arguments,
                       const QString &workingDirectory, int timeoutMs,
                       const QProcessEnvironment &environment,
                       const std::function<bool(const QByteArray &)> &take);

// A program left to run beside the caller, who looks at it when it chooses (a converter of many
// pages, whose files are taken as they come, several at once). It runs in a process group of its
// own: stopping it stops whatever it started too. Destroying it stops it.
class RunningTool
{
public:
    RunningTool(const QString &program, const QStringList &arguments,
                const QString &workingDirectory,
                const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());
    ~RunningTool();
    RunningTool(const RunningTool &) = delete;
    RunningTool &operator=(const RunningTool &) = delete;

    // Takes what it said so far, without waiting; true once it has ended (or never started):
    // result() then tells how, as runTool would.
    bool poll();
    // Stops it now, if still running, and waits for its end; the run then fails ("stopped").
    void stop();
    const ToolRun &result() const { return m_result; }
    bool hasEnded() const { return m_ended; }
    qint64 processId() const { return m_pid; }

private:
    static void closeOutput(int &fd);

    const QString m_program;
    int m_pid = -1;
    int m_out = -1; // read ends of its outputs, -1 once they ended
    int m_err = -1;
    bool m_ended = false;
    ToolRun m_result;
};

// Starts program detached (a viewer such as xdg-open that outlives the command); ok when it
// started. Nothing is waited for and no exit status is known.
ToolRun startToolDetached(const QString &program, const QStringList &arguments,
                          const QString &workingDirectory);
