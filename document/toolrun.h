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

// Starts program detached (a viewer such as xdg-open that outlives the command); ok when it
// started. Nothing is waited for and no exit status is known.
ToolRun startToolDetached(const QString &program, const QStringList &arguments,
                          const QString &workingDirectory);
