#include "sessionend.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QThread>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <iterator>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace {

constexpr int kSignals[] = { SIGTERM, SIGHUP };

// The pipe between the handler and the event loop: [0] read by the notifier, [1] written by
// the handler. Set before the handlers are put in place and cleared after they are taken away.
int g_signalPipe[2] = { -1, -1 };
struct sigaction g_replaced[std::size(kSignals)];
bool g_handled[std::size(kSignals)] = {};

void noteSignal(int signal)
{
    const int savedErrno = errno;
    const char number = char(signal);
    // A full pipe already holds a signal the event loop has yet to take: this one adds nothing.
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[1], &number, 1);
    errno = savedErrno;
}

} // namespace

SessionEnd::SessionEnd(QObject *parent) : QObject(parent)
{
    Q_ASSERT(g_signalPipe[0] < 0);
    if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        qWarning("SessionEnd: no pipe for the signals: %s", strerror(errno));
        g_signalPipe[0] = g_signalPipe[1] = -1;
        return;
    }
    m_notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SessionEnd::takeSignals);
    for (size_t i = 0; i < std::size(kSignals); ++i) {
        struct sigaction action = {};
        action.sa_handler = noteSignal;
        // Calls of the other threads go on rather than fail for a signal they do not handle.
        action.sa_flags = SA_RESTART;
        sigemptyset(&action.sa_mask);
        if (::sigaction(kSignals[i], nullptr, &g_replaced[i]) != 0
            || g_replaced[i].sa_handler == SIG_IGN)
            continue;
        g_handled[i] = ::sigaction(kSignals[i], &action, nullptr) == 0;
    }
}

SessionEnd::~SessionEnd()
{
    for (size_t i = 0; i < std::size(kSignals); ++i) {
        if (std::exchange(g_handled[i], false))
            ::sigaction(kSignals[i], &g_replaced[i], nullptr);
    }
    delete m_notifier;
    for (int &end : g_signalPipe) {
        if (end >= 0)
            ::close(std::exchange(end, -1));
    }
}

void SessionEnd::takeSignals()
{
    char numbers[16];
    ssize_t taken = 0;
    int first = 0;
    while ((taken = ::read(g_signalPipe[0], numbers, sizeof numbers)) > 0) {
        if (!first)
            first = numbers[0];
    }
    if (first && !std::exchange(m_ended, true))
        emit ending(first);
}

void SessionEnd::endBy(int signal)
{
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    ::pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
    // Only a signal whose default is not to end the process gets here.
    ::_exit(128 + signal);
}

void SessionEnd::endWithin(int signal, int ms)
{
    std::thread([signal, ms] {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        endChildren(0);
        endBy(signal);
    }).detach();
}

QVector<pid_t> SessionEnd::childrenOf(pid_t parent)
{
    QVector<pid_t> children;
    const QStringList processes = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &name : processes) {
        bool isNumber = false;
        const pid_t pid = name.toInt(&isNumber);
        if (!isNumber)
            continue;
        QFile stat(QStringLiteral("/proc/") + name + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue; // ended meanwhile
        // "pid (name) state ppid ...": the name may hold anything, a ')' too.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields =
                line.mid(line.lastIndexOf(')') + 1).simplified().split(' ');
        if (fields.size() > 1 && fields[1].toInt() == parent && fields[0] != "Z"
            && fields[0] != "X")
            children << pid;
    }
    return children;
}

void SessionEnd::endChildren(int graceMs)
{
    const pid_t self = ::getpid();
    for (const pid_t child : childrenOf(self)) {
        ::kill(child, SIGTERM);
        ::kill(child, SIGCONT); // one stopped would not take it until it goes on
    }
    const QDeadlineTimer deadline(graceMs);
    QVector<pid_t> running = childrenOf(self);
    while (!running.isEmpty() && !deadline.hasExpired()) {
        QThread::msleep(20);
        running = childrenOf(self);
    }
    for (const pid_t child : qAsConst(running))
        ::kill(child, SIGKILL);
}
