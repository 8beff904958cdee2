#include "toolrun.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

ToolRun ToolRun::failed(const QString &program, const QString &reason)
{
    ToolRun run;
    run.error = program + QLatin1String(": ") + reason;
    return run;
}

namespace {

// The program is started with posix_spawn rather than a fork of this process: a fork copies
// the page tables of a program that may hold hundreds of megabytes of lessons (20 ms at
// 150 MB, 50 ms at 400 MB), for every zip and unzip it runs.
struct Pipe
{
    int ends[2] = { -1, -1 };
    ~Pipe()
    {
        for (int &end : ends) {
            if (end >= 0)
                ::close(end);
        }
    }
    void closeEnd(int n)
    {
        if (ends[n] >= 0)
            ::close(ends[n]);
        ends[n] = -1;
    }
};

// Reads what fd has now; false once it has ended.
bool readAvailable(int fd, const std::function<void(const QByteArray &)> &take)
{
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0) {
            take(QByteArray(buffer, int(got)));
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        return got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
    }
}

// Starts program with its standard input empty and its outputs on the write ends of out and
// err, which are closed here; -1, with why in error, when it could not be started. ownGroup: in
// a process group of its own, so that what it starts in turn can be stopped with it.
pid_t spawnChild(const QString &program, const QStringList &arguments,
                 const QString &workingDirectory, const QProcessEnvironment &environment,
                 bool ownGroup, Pipe &out, Pipe &err, QString *error)
{
    QList<QByteArray> words{ QFile::encodeName(program) };
    for (const QString &argument : arguments)
        words << argument.toLocal8Bit();
    std::vector<char *> argv;
    for (QByteArray &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    QList<QByteArray> settings;
    for (const QString &setting : environment.toStringList())
        settings << setting.toLocal8Bit();
    std::vector<char *> envp;
    for (QByteArray &setting : settings)
        envp.push_back(setting.data());
    envp.push_back(nullptr);

    if (::pipe2(out.ends, O_CLOEXEC) != 0 || ::pipe2(err.ends, O_CLOEXEC) != 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return -1;
    }
    const QByteArray directory = QFile::encodeName(workingDirectory);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // A tool that asks a question (unzip before overwriting) must see end of input, not hang.
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out.ends[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err.ends[1], 2);
    if (!directory.isEmpty())
        posix_spawn_file_actions_addchdir_np(&actions, directory.constData());
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
    if (ownGroup) {
        posix_spawnattr_setpgroup(&attributes, 0);
        flags |= POSIX_SPAWN_SETPGROUP;
    }
    posix_spawnattr_setflags(&attributes, flags);
    pid_t pid = -1;
    const int spawned = posix_spawnp(&pid, argv.front(), &actions, &attributes, argv.data(),
                                     envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    out.closeEnd(1);
    err.closeEnd(1);
    if (spawned != 0) {
        *error = QString::fromLocal8Bit(std::strerror(spawned));
        return -1;
    }
    for (const int fd : { out.ends[0], err.ends[0] })
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    return pid;
}

// How a program that ended with status went, with what it said.
void takeEnd(const QString &program, int status, ToolRun &run)
{
    const bool normal = WIFEXITED(status);
    run.exitCode = normal ? WEXITSTATUS(status) : -1;
    run.ok = normal && run.exitCode == 0;
    if (!run.ok) {
        const QString text = QString::fromLocal8Bit(run.errorOutput).trimmed();
        const QString code = QStringLiteral("exit code %1").arg(run.exitCode);
        run.error = program + QLatin1String(": ")
                + (!normal ? QStringLiteral("crashed")
                           : text.isEmpty() ? code : code + QLatin1String(": ") + text);
    }
}

ToolRun runChild(const QString &program, const QStringList &arguments,
                 const QString &workingDirectory, int timeoutMs,
                 const QProcessEnvironment &environment, int intervalMs,
                 const std::function<bool()> &keepRunning,
                 const std::function<bool(const QByteArray &)> &take)
{
    Pipe out;
    Pipe err;
    QString error;
    const pid_t pid =
            spawnChild(program, arguments, workingDirectory, environment, false, out, err, &error);
    if (pid < 0)
        return ToolRun::failed(program, error);
    // The end of the program is waited for as it comes: a program closes its output before it
    // has quite ended, and looking again every few milliseconds after that cost each run some.
    // Without a descriptor of its own (an older kernel), it is looked for every millisecond.
    struct Descriptor
    {
        int fd;
        ~Descriptor()
        {
            if (fd >= 0)
                ::close(fd);
        }
    } ended{ int(::syscall(SYS_pidfd_open, pid, 0)) };

    ToolRun run;
    bool taken = true;
    const auto takeOutput = [&](const QByteArray &piece) {
        if (!take)
            run.output += piece;
        else if (taken)
            taken = take(piece);
    };
    const auto takeErrors = [&run](const QByteArray &piece) { run.errorOutput += piece; };
    QElapsedTimer clock;
    clock.start();
    qint64 nextWatch = intervalMs;
    bool outOpen = true;
    bool errOpen = true;
    int status = 0;
    bool exited = false;
    bool stopped = false;
    while (!exited && !stopped && taken) {
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0)
            break;
        qint64 wait = left;
        if (keepRunning)
            wait = qMin(wait, qMax<qint64>(nextWatch - clock.elapsed(), 0));
        if (!outOpen && !errOpen && ended.fd < 0)
            wait = qMin<qint64>(wait, 1); // only the end of the program is left to wait for
        pollfd fds[3];
        int count = 0;
        if (outOpen)
            fds[count++] = { out.ends[0], POLLIN, 0 };
        if (errOpen)
            fds[count++] = { err.ends[0], POLLIN, 0 };
        if (ended.fd >= 0)
            fds[count++] = { ended.fd, POLLIN, 0 };
        ::poll(fds, nfds_t(count), int(wait));
        if (outOpen)
            outOpen = readAvailable(out.ends[0], takeOutput);
        if (errOpen)
            errOpen = readAvailable(err.ends[0], takeErrors);
        const pid_t waited = ::waitpid(pid, &status, WNOHANG);
        exited = waited == pid;
        if (waited < 0 && errno == ECHILD) {
            // Reaped by someone else: its end is known, not how it ended.
            exited = true;
            status = W_EXITCODE(255, 0);
        }
        if (!exited && keepRunning && clock.elapsed() >= nextWatch) {
            stopped = !keepRunning();
            nextWatch = clock.elapsed() + intervalMs;
        }
    }
    if (!exited) {
        ::kill(pid, SIGKILL); // ours to stop: we started it
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
        if (!taken)
            return ToolRun{ true, 0, QString(), QByteArray(), run.errorOutput };
        ToolRun failed = ToolRun::failed(program, stopped ? QStringLiteral("stopped")
                                                          : QStringLiteral("no answer in time"));
        failed.errorOutput = run.errorOutput;
        return failed;
    }
    // What the program wrote just before it ended.
    if (outOpen)
        readAvailable(out.ends[0], takeOutput);
    if (errOpen)
        readAvailable(err.ends[0], takeErrors);
    takeEnd(program, status, run);
    return run;
}

} // namespace

RunningTool::RunningTool(const QString &program, const QStringList &arguments,
                         const QString &workingDirectory, const QProcessEnvironment &environment)
    : m_program(program)
{
    Pipe out;
    Pipe err;
    QString error;
    m_pid = spawnChild(program, arguments, workingDirectory, environment, true, out, err, &error);
    if (m_pid < 0) {
        m_result = ToolRun::failed(program, error);
        m_ended = true;
        return;
    }
    std::swap(m_out, out.ends[0]);
    std::swap(m_err, err.ends[0]);
}

RunningTool::~RunningTool()
{
    stop();
    for (const int fd : { m_out, m_err }) {
        if (fd >= 0)
            ::close(fd);
    }
}

void RunningTool::closeOutput(int &fd)
{
    ::close(fd);
    fd = -1;
}

bool RunningTool::poll()
{
    if (m_ended)
        return true;
    const auto takeOutput = [this](const QByteArray &piece) { m_result.output += piece; };
    const auto takeErrors = [this](const QByteArray &piece) { m_result.errorOutput += piece; };
    // Drained as it comes: a program whose pipe is full waits for it.
    if (m_out >= 0 && !readAvailable(m_out, takeOutput))
        closeOutput(m_out);
    if (m_err >= 0 && !readAvailable(m_err, takeErrors))
        closeOutput(m_err);
    int status = 0;
    const pid_t waited = ::waitpid(m_pid, &status, WNOHANG);
    if (waited == 0 || (waited < 0 && errno == EINTR))
        return false;
    if (waited < 0)
        status = W_EXITCODE(255, 0); // reaped by someone else: how it ended is not known
    m_ended = true;
    // What it said just before it ended.
    if (m_out >= 0)
        readAvailable(m_out, takeOutput);
    if (m_err >= 0)
        readAvailable(m_err, takeErrors);
    takeEnd(m_program, status, m_result);
    // Whatever it started goes with it.
    ::kill(-m_pid, SIGKILL);
    return true;
}

void RunningTool::stop()
{
    if (m_ended)
        return;
    // Ours to stop, and all it started: the group is its own.
    ::kill(-m_pid, SIGKILL);
    int status = 0;
    while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) { }
    m_ended = true;
    const QByteArray said = m_result.errorOutput;
    m_result = ToolRun::failed(m_program, QStringLiteral("stopped"));
    m_result.errorOutput = said;
}

ToolRun runTool(const QString &program, const QStringList &arguments,
                const QString &workingDirectory, int timeoutMs,
                const QProcessEnvironment &environment)
{
    return runChild(program, arguments, workingDirectory, timeoutMs, environment, timeoutMs, {},
                    {});
}

ToolRun runToolWatched(const QString &program, const QStringList &arguments,
                       const QString &workingDirectory, int timeoutMs,
                       const QProcessEnvironment &environment, int intervalMs,
                       const std::function<bool()> &keepRunning)
{
    return runChild(program, arguments, workingDirectory, timeoutMs, environment, intervalMs,
                    keepRunning, {});
}

ToolRun runToolReading(const QString &program, const QStringList &arguments,
                       const QString &workingDirectory, int timeoutMs,
                       const QProcessEnvironment &environment,
                       const std::function<bool(const QByteArray &)> &take)
{
    return runChild(program, arguments, workingDirectory, timeoutMs, environment, timeoutMs, {},
                    take);
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
