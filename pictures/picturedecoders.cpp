#include "picturedecoders.h"

#include "linkroot.h"
#include "shell/cores.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

using namespace DecoderProtocol;

constexpr int kSliceMs = 5;

// cause: why, for an Unreadable one.
PictureReading::Probe failure(PictureReading::Outcome outcome, const QString &detail,
                              PictureReading::Cause cause = PictureReading::Cause::Damaged)
{
    PictureReading::Probe probe;
    probe.outcome = outcome;
    probe.cause = cause;
    probe.detail = detail;
    return probe;
}

int remainingMs(const QElapsedTimer &clock, int limitMs)
{
    return std::max(0, limitMs - int(clock.elapsed()));
}

// Waits for fd to be ready for events, in slices, calling waiting between them: false when
// the time is up.
bool waitFor(int fd, short events, const QElapsedTimer &clock, int limitMs,
             const std::function<void()> &waiting)
{
    for (;;) {
        const int left = remainingMs(clock, limitMs);
        pollfd watched = { fd, events, 0 };
        const int ready = poll(&watched, 1, waiting ? std::min(left, kSliceMs) : left);
        if (ready > 0)
            return true;
        if (ready < 0 && errno != EINTR)
            return true; // the read or write that follows says what is wrong
        if (left == 0)
            return false;
        if (waiting)
            waiting();
    }
}

enum class Transfer { Done, Closed, TimedOut };

// Sends bytes, and passed (unless -1) with the first of them.
Transfer sendAll(int fd, const QByteArray &bytes, const QElapsedTimer &clock, int limitMs,
                 const std::function<void()> &waiting, int passed = -1)
{
    const char *from = bytes.constData();
    size_t left = size_t(bytes.size());
    while (left > 0) {
        iovec data = { const_cast<char *>(from), left };
        msghdr message = {};
        message.msg_iov = &data;
        message.msg_iovlen = 1;
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
        if (passed >= 0) {
            message.msg_control = control;
            message.msg_controllen = sizeof control;
            cmsghdr *rights = CMSG_FIRSTHDR(&message);
            rights->cmsg_level = SOL_SOCKET;
            rights->cmsg_type = SCM_RIGHTS;
            rights->cmsg_len = CMSG_LEN(sizeof(int));
            memcpy(CMSG_DATA(rights), &passed, sizeof passed);
        }
        // Never SIGPIPE: a process that died is a reply that does not come.
        const ssize_t sent = sendmsg(fd, &message, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent > 0) {
            passed = -1;
            from += sent;
            left -= size_t(sent);
        } else if (sent < 0 && (errno == EAGAIN || errno == EINTR)) {
            if (!waitFor(fd, POLLOUT, clock, limitMs, waiting))
                return Transfer::TimedOut;
        } else {
            return Transfer::Closed;
        }
    }
    return Transfer::Done;
}

// The file descriptors that came with what was received, closed with it unless taken.
class Received
{
public:
    Received() = default;
    Received(const Received &) = delete;
    Received &operator=(const Received &) = delete;
    ~Received()
    {
        for (const int fd : m_fds)
            close(fd);
    }
    void add(int fd) { m_fds.push_back(fd); }
    int count() const { return int(m_fds.size()); }
    // The one that came, now the caller's to close; -1 unless exactly one came.
    int take()
    {
        if (m_fds.size() != 1)
            return -1;
        const int fd = m_fds.front();
        m_fds.clear();
        return fd;
    }

private:
    std::vector<int> m_fds;
};

// Up to length bytes, and the file descriptors sent with them (into received).
ssize_t receiveSome(int fd, char *into, size_t length, Received *received)
{
    iovec data = { into, length };
    msghdr message = {};
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    // Room for a few: any more than one is not what a decoding process sends, and those the
    // room cuts off are closed by the system.
    alignas(cmsghdr) char control[CMSG_SPACE(4 * sizeof(int))];
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    const ssize_t got = recvmsg(fd, &message, MSG_DONTWAIT | MSG_CMSG_CLOEXEC);
    if (got < 0)
        return got;
    for (cmsghdr *part = CMSG_FIRSTHDR(&message); part; part = CMSG_NXTHDR(&message, part)) {
        if (part->cmsg_level != SOL_SOCKET || part->cmsg_type != SCM_RIGHTS)
            continue;
        const size_t count = (part->cmsg_len - CMSG_LEN(0)) / sizeof(int);
        for (size_t i = 0; i < count; ++i) {
            int passed = -1;
            memcpy(&passed, CMSG_DATA(part) + i * sizeof(int), sizeof passed);
            received->add(passed);
        }
    }
    return got;
}

Transfer receiveAll(int fd, char *into, size_t length, const QElapsedTimer &clock, int limitMs,
                    const std::function<void()> &waiting, Received *received)
{
    while (length > 0) {
        const ssize_t got = receiveSome(fd, into, length, received);
        if (got > 0) {
            into += got;
            length -= size_t(got);
        } else if (got < 0 && (errno == EAGAIN || errno == EINTR)) {
            if (!waitFor(fd, POLLIN, clock, limitMs, waiting))
                return Transfer::TimedOut;
        } else {
            return Transfer::Closed;
        }
    }
    return Transfer::Done;
}

// One frame's payload, and what came with it.
Transfer receiveFrame(int fd, QByteArray *payload, Received *received, const QElapsedTimer &clock,
                      int limitMs, const std::function<void()> &waiting)
{
    char header[4];
    Transfer transfer = receiveAll(fd, header, sizeof header, clock, limitMs, waiting, received);
    if (transfer != Transfer::Done)
        return transfer;
    const quint32 length = frameLength(header);
    if (length > kMaxReplyBytes)
        return Transfer::Closed;
    payload->resize(int(length));
    return receiveAll(fd, payload->data(), length, clock, limitMs, waiting, received);
}

void stopProcess(int socket, pid_t pid)
{
    close(socket);
    // Closed, it leaves its loop; killed, it leaves whatever it was doing.
    kill(pid, SIGKILL);
}

// Waits until a stopped process is gone.
void reapProcess(pid_t pid, int *status)
{
    while (waitpid(pid, status, 0) < 0 && errno == EINTR) { }
}

// The first few hundred bytes of file.
QByteArray headOf(const QByteArray &file)
{
    const int fd = open(file.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return QByteArray();
    char text[512];
    const ssize_t got = read(fd, text, sizeof text);
    close(fd);
    return got > 0 ? QByteArray(text, int(got)) : QByteArray();
}

// Lowers the limits of the decoding process pid to what request may take: its memory beyond
// what it holds now, its processor time beyond what it has used. The process cannot raise them
// again (pictures/decoderconfinement.h), nor are they ever above those it set for good when it
// started. False when the process has too little of its life's processor time left for the
// request, or is not there to be held.
bool holdTo(pid_t pid, const Request &request)
{
    rlimit memory = {};
    rlimit processor = {};
    if (prlimit(pid, RLIMIT_AS, nullptr, &memory) != 0
        || prlimit(pid, RLIMIT_CPU, nullptr, &processor) != 0)
        return false;
    const QByteArray folder = "/proc/" + QByteArray::number(pid);
    bool measured = false;
    const qint64 pages = headOf(folder + "/statm").split(' ').value(0).toLongLong(&measured);
    // After its name (which holds no space or parenthesis: the decoding process's own) and its
    // state, the processor times of user and system come eleventh and twelfth.
    const QByteArray stat = headOf(folder + "/stat");
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (!measured || fields.size() < 13)
        return false;
    const qint64 ticks = fields.at(11).toLongLong() + fields.at(12).toLongLong();
    const rlim_t seconds = rlim_t(ticks / sysconf(_SC_CLK_TCK) + 1 + request.cpuSeconds);
    if (seconds > processor.rlim_max)
        return false;
    processor.rlim_cur = seconds;
    memory.rlim_cur =
            std::min(rlim_t(pages * sysconf(_SC_PAGESIZE) + request.memoryBytes), memory.rlim_max);
    return prlimit(pid, RLIMIT_AS, &memory, nullptr) == 0
            && prlimit(pid, RLIMIT_CPU, &processor, nullptr) == 0;
}

// What a decoding process is given of the program's environment: where the fonts and their
// configuration are, the language, where the toolkit and its plugins are, and the sanitizers'
// options of a test build. Nothing else of the program's reaches it.
std::vector<QByteArray> decoderEnvironment()
{
    static const char *const kKept[] = {
        "HOME",
        "LANG",
        "LANGUAGE",
        "XDG_DATA_HOME",
        "XDG_CONFIG_HOME",
        "XDG_CACHE_HOME",
        "XDG_DATA_DIRS",
        "XDG_CONFIG_DIRS",
        "FONTCONFIG_FILE",
        "FONTCONFIG_PATH",
        "QT_PLUGIN_PATH",
        "QT_QPA_FONTDIR",
        "LD_LIBRARY_PATH",
        "ASAN_OPTIONS",
        "UBSAN_OPTIONS",
        "LSAN_OPTIONS",
        "XDG_RUNTIME_DIR",
    };
    std::vector<QByteArray> kept = { QByteArrayLiteral("QT_QPA_PLATFORM=offscreen") };
    for (char **entry = environ; *entry; ++entry) {
        const QByteArray variable(*entry);
        const QByteArray name = variable.left(variable.indexOf('='));
        const bool wanted = name.startsWith("LC_")
                || std::any_of(std::begin(kKept), std::end(kKept),
                               [&name](const char *known) { return name == known; });
        if (wanted)
            kept.push_back(variable);
    }
    return kept;
}

// Waits on a thread of its own until processes killed are gone: one of a low priority, on a
// busy machine, takes its time to go, which the caller does not wait. One thread for the
// program's life, never one a batch: a thread ending as the program ends made the leak
// checker of a test build fail now and then.
void reapApart(std::vector<pid_t> pids)
{
    struct Reaper
    {
        std::mutex mutex;
        std::condition_variable more;
        std::vector<pid_t> pids;
    };
    static Reaper *const reaper = [] {
        auto *made = new Reaper; // never destroyed: its thread outlives main()
        std::thread([made] {
            for (;;) {
                std::vector<pid_t> taken;
                {
                    std::unique_lock<std::mutex> lock(made->mutex);
                    made->more.wait(lock, [made] { return !made->pids.empty(); });
                    taken.swap(made->pids);
                }
                for (const pid_t pid : taken) {
                    int status = 0;
                    reapProcess(pid, &status);
                }
            }
        }).detach();
        return made;
    }();
    {
        const std::lock_guard<std::mutex> lock(reaper->mutex);
        reaper->pids.insert(reaper->pids.end(), pids.begin(), pids.end());
    }
    reaper->more.notify_one();
}

// Whether pid is stopped (by a signal or a debugger), and what it holds of its own then
// (resident, but for what it shares with other processes: its libraries).
bool isStopped(qint64 pid, qint64 *holding = nullptr)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    // The state follows the program's name, which may hold anything but ends the last ")".
    const QByteArray line = stat.read(512);
    const int state = line.lastIndexOf(')') + 2;
    if (state < 2 || state >= line.size() || (line[state] != 'T' && line[state] != 't'))
        return false;
    if (holding) {
        QFile statm(QStringLiteral("/proc/%1/statm").arg(pid));
        const QList<QByteArray> pages =
                statm.open(QIODevice::ReadOnly) ? statm.read(256).split(' ') : QList<QByteArray>();
        *holding = pages.size() > 2
                ? std::max<qint64>(0, pages[1].toLongLong() - pages[2].toLongLong())
                        * sysconf(_SC_PAGESIZE)
                : 0;
    }
    return true;
}

} // namespace

struct PictureDecoders::Worker
{
    pid_t pid = -1;
    int socket = -1;
    bool ready = false; // it said it is held as it will be (DecoderProtocol::Kind::Ready)
};

PictureDecoders &PictureDecoders::instance()
{
    // Never destroyed: requests of other threads may still be running while the program ends;
    // the processes end with it.
    static auto *decoders = new PictureDecoders;
    return *decoders;
}

PictureDecoders::PictureDecoders() : m_limits(defaultLimits())
{
    m_clock.start();
}

PictureDecoders::~PictureDecoders() = default;

PictureDecoders::Limits PictureDecoders::defaultLimits()
{
    // A picture within the limits is measured in a fraction of a second and decodes in one or
    // two (one of a billion pixels made smaller, in three).
    return { 3, 6, PictureReading::kMaxDecodeBytes + kSlackBytes, kPictureMs };
}

PictureDecoders::Limits PictureDecoders::limits() const
{
    QMutexLocker lock(&m_mutex);
    return m_limits;
}

void PictureDecoders::setLimits(const Limits &limits)
{
    QMutexLocker lock(&m_mutex);
    m_limits = limits;
    m_freed.wakeAll();
}

int PictureDecoders::started() const
{
    QMutexLocker lock(&m_mutex);
    return m_started;
}

int PictureDecoders::lost() const
{
    QMutexLocker lock(&m_mutex);
    return m_lost;
}

int PictureDecoders::decoded() const
{
    QMutexLocker lock(&m_mutex);
    return m_decoded;
}

QVector<qint64> PictureDecoders::busy() const
{
    QMutexLocker lock(&m_mutex);
    return m_busy;
}

qint64 PictureDecoders::privateBytes() const
{
    QVector<qint64> processes;
    {
        QMutexLocker lock(&m_mutex);
        processes = m_busy;
        for (const auto &idle : m_idle)
            processes << idle->pid;
    }
    qint64 bytes = 0;
    for (const qint64 pid : qAsConst(processes)) {
        QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
        if (!rollup.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &line : rollup.readAll().split('\n')) {
            if (line.startsWith("Private_Clean:") || line.startsWith("Private_Dirty:"))
                bytes += line.mid(14).trimmed().split(' ').value(0).toLongLong() * 1024;
        }
    }
    return bytes;
}

QString PictureDecoders::program()
{
    // Beside the program; the tests and benchmarks of a build find it where it was built.
    const QString beside =
            QCoreApplication::applicationDirPath() + QStringLiteral("/veltorina-pictures");
    if (QFileInfo(beside).isExecutable())
        return beside;
    return QStringLiteral(VELTORINA_PICTURES_PROGRAM);
}

void PictureDecoders::startAhead(int count)
{
    int ended = -1;
    for (;;) {
        {
            QMutexLocker lock(&m_mutex);
            if (ended < 0)
                ended = m_idleEnded;
            const int processes = m_running + int(m_idle.size()) + m_startingAhead;
            if (ended != m_idleEnded || processes >= std::min(count, mostAtOnce()))
                return;
            ++m_startingAhead;
        }
        std::unique_ptr<Worker> worker = start();
        bool late = false;
        int keep = 0;
        {
            QMutexLocker lock(&m_mutex);
            --m_startingAhead;
            if (!worker)
                return;
            m_idle.push_back(std::move(worker));
            late = ended != m_idleEnded;
            keep = m_idleKept;
        }
        // Those no longer waited for (endIdle came meanwhile) go as they would have then.
        if (late) {
            endIdle(keep);
            return;
        }
    }
}

int PictureDecoders::mostAtOnce()
{
    return std::clamp(Cores::usable(), 2, 8);
}

void PictureDecoders::startAheadBeside(int count)
{
    // Each start waits until its process runs the program, a millisecond or two, longer while
    // others start: the caller's thread does not wait for them.
    std::thread([this, count] { startAhead(count); }).detach();
}

void PictureDecoders::endIdle(int keep)
{
    std::vector<std::unique_ptr<Worker>> ending;
    {
        QMutexLocker lock(&m_mutex);
        ++m_idleEnded;
        m_idleKept = keep;
        while (int(m_idle.size()) > keep) {
            ending.push_back(std::move(m_idle.back()));
            m_idle.pop_back();
        }
    }
    if (ending.empty())
        return;
    // Killed at once; waiting for them to be gone takes a few milliseconds each, which the board
    // (asking this after a lesson opens) does not wait.
    std::vector<pid_t> pids;
    for (const auto &worker : ending) {
        stopProcess(worker->socket, worker->pid);
        pids.push_back(worker->pid);
    }
    reapApart(std::move(pids));
}

std::unique_ptr<PictureDecoders::Worker> PictureDecoders::start()
{
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return nullptr;
    const QByteArray path = QFile::encodeName(program());
    char *arguments[] = { const_cast<char *>(path.constData()), nullptr };
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // Its standard input and output are its end of the pair; nothing else of ours is open there.
    posix_spawn_file_actions_adddup2(&actions, ends[1], 0);
    posix_spawn_file_actions_adddup2(&actions, ends[1], 1);
    const std::vector<QByteArray> environment = decoderEnvironment();
    std::vector<char *> variables;
    for (const QByteArray &variable : environment)
        variables.push_back(const_cast<char *>(variable.constData()));
    variables.push_back(nullptr);
    pid_t pid = -1;
    const int spawned =
            posix_spawn(&pid, path.constData(), &actions, nullptr, arguments, variables.data());
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    if (spawned != 0) {
        close(ends[0]);
        qWarning("PictureDecoders: cannot start %s: %s", path.constData(), strerror(spawned));
        return nullptr;
    }
    auto worker = std::make_unique<Worker>();
    worker->pid = pid;
    worker->socket = ends[0];
    QMutexLocker lock(&m_mutex);
    ++m_started;
    return worker;
}

void PictureDecoders::end(Worker &worker, int *status)
{
    stopProcess(worker.socket, worker.pid);
    worker.socket = -1;
    reapProcess(worker.pid, status);
    worker.pid = -1;
}

bool PictureDecoders::replace(std::unique_ptr<Worker> &worker)
{
    std::unique_ptr<Worker> fresh = start();
    if (!fresh)
        return false;
    const pid_t worn = worker->pid;
    int status = 0;
    end(*worker, &status);
    QMutexLocker lock(&m_mutex);
    m_busy.removeOne(worn);
    const qint64 since = m_busySince.take(worn);
    const qint64 bytes = m_busyBytes.take(worn);
    m_busy << fresh->pid;
    m_busySince.insert(fresh->pid, since);
    m_busyBytes.insert(fresh->pid, bytes);
    worker = std::move(fresh);
    return true;
}

std::unique_ptr<PictureDecoders::Worker>
PictureDecoders::takeWorker(qint64 bytes, const std::function<void()> &waiting)
{
    {
        QMutexLocker lock(&m_mutex);
        for (;;) {
            const qint64 asked = std::min(bytes, m_limits.budgetBytes);
            if (m_running < mayRun() && reserved() + asked <= m_limits.budgetBytes)
                break;
            // Woken by a request that ends, or in a while by one that has run long or is
            // found stopped.
            if (!waiting) {
                m_freed.wait(&m_mutex, kLookMs);
            } else {
                m_freed.wait(&m_mutex, kSliceMs);
                lock.unlock();
                waiting();
                lock.relock();
            }
            lock.unlock();
            lookAtBusy();
            lock.relock();
        }
        ++m_running;
        m_reserved += std::min(bytes, m_limits.budgetBytes);
    }
    // One that ended while it waited (killed from outside, say) is not a picture's fault: it
    // is replaced before it is given one. One stopped would not answer it: it is ended.
    for (std::unique_ptr<Worker> idle = takeIdle(); idle; idle = takeIdle()) {
        if (waitpid(idle->pid, nullptr, WNOHANG) != 0) {
            close(idle->socket);
        } else if (isStopped(idle->pid)) {
            stopProcess(idle->socket, idle->pid);
            reapApart({ idle->pid });
        } else {
            return idle;
        }
    }
    std::unique_ptr<Worker> worker = start();
    if (!worker)
        giveBack(nullptr, bytes);
    return worker;
}

int PictureDecoders::mayRun() const
{
    const qint64 now = m_clock.elapsed();
    int slow = 0;
    for (auto busy = m_busySince.cbegin(); busy != m_busySince.cend(); ++busy)
        slow += now - busy.value() > kSlowMs && !m_stopped.contains(busy.key()) ? 1 : 0;
    return mostAtOnce() + std::min(slow, kMostSlow) + std::min(int(m_stopped.size()), kMostStopped);
}

qint64 PictureDecoders::reserved() const
{
    qint64 reserved = m_reserved;
    int counted = 0;
    for (auto stopped = m_stopped.cbegin(); stopped != m_stopped.cend() && counted < kMostStopped;
         ++stopped, ++counted) {
        const qint64 allowed = m_busyBytes.value(stopped.key());
        reserved -= allowed - std::min(allowed, stopped.value());
    }
    return reserved;
}

void PictureDecoders::lookAtBusy()
{
    QVector<qint64> busy;
    {
        QMutexLocker lock(&m_mutex);
        if (m_clock.elapsed() - m_lookedAt < kLookMs)
            return;
        m_lookedAt = m_clock.elapsed();
        busy = m_busy;
    }
    QHash<qint64, qint64> stopped;
    for (const qint64 pid : qAsConst(busy)) {
        qint64 holding = 0;
        if (isStopped(pid, &holding))
            stopped.insert(pid, holding);
    }
    QMutexLocker lock(&m_mutex);
    // Only those still running their request (one may have ended meanwhile).
    for (auto found = stopped.begin(); found != stopped.end();)
        found = m_busyBytes.contains(found.key()) ? std::next(found) : stopped.erase(found);
    const bool more = stopped.size() > m_stopped.size();
    m_stopped = std::move(stopped);
    if (more)
        m_freed.wakeAll();
}

int PictureDecoders::stoppedBusy()
{
    lookAtBusy();
    QMutexLocker lock(&m_mutex);
    return std::min(int(m_stopped.size()), kMostStopped);
}

std::unique_ptr<PictureDecoders::Worker> PictureDecoders::takeIdle()
{
    QMutexLocker lock(&m_mutex);
    if (m_idle.empty())
        return nullptr;
    std::unique_ptr<Worker> worker = std::move(m_idle.back());
    m_idle.pop_back();
    return worker;
}

void PictureDecoders::giveBack(std::unique_ptr<Worker> worker, qint64 bytes)
{
    QMutexLocker lock(&m_mutex);
    --m_running;
    m_reserved -= std::min(bytes, m_limits.budgetBytes);
    if (worker)
        m_idle.push_back(std::move(worker));
    m_freed.wakeAll();
}

Reply PictureDecoders::run(Request request, Job &job, const std::function<void()> &waiting,
                           QVector<QImage> *frames)
{
    const Limits limits = this->limits();
    Reply reply;
    const qint64 leftMs = limits.pictureMs - job.spentMs;
    if (leftMs <= 0) {
        reply.probe = failure(PictureReading::Outcome::OutOfTime,
                              QStringLiteral("no time left of its own"));
        return reply;
    }
    request.memoryBytes = std::min(request.memoryBytes, limits.budgetBytes);
    const int cpuSeconds = request.task == Task::Probe && request.readUpTo == 0
            ? limits.probeSeconds
            : limits.readSeconds;
    // Waited for twice as long as its processor time and a second more (a machine busy with
    // other work), but no longer than what is left of the picture's own.
    const int wallMs = int(std::min<qint64>(cpuSeconds * 2000 + 1000, leftMs));
    request.cpuSeconds = std::max(1, std::min(cpuSeconds, (wallMs + 999) / 1000));
    request.wallMs = wallMs;
    std::unique_ptr<Worker> worker = takeWorker(request.memoryBytes, waiting);
    if (!worker) {
        reply.probe = failure(PictureReading::Outcome::Failed,
                              QStringLiteral("no decoding process could be started"));
        return reply;
    }
    {
        QMutexLocker lock(&m_mutex);
        m_busy << worker->pid;
        m_busySince.insert(worker->pid, m_clock.elapsed());
        m_busyBytes.insert(worker->pid, std::min(request.memoryBytes, limits.budgetBytes));
        if (request.task != Task::Probe)
            ++m_decoded;
    }
    // A caller that waits for the reply (an open, an export, on the board's thread or for it)
    // is not held for a process found stopped: it is ended then, and its picture said as not
    // answering.
    // Looked at each time the caller's wait turns (a few milliseconds; a small file's read).
    bool endedStopped = false;
    // The worker's own pid each time: one worn out is replaced before its request is sent.
    const std::function<void()> watching = !waiting ? waiting : std::function<void()>([&] {
        waiting();
        if (!endedStopped && isStopped(worker->pid)) {
            endedStopped = true;
            kill(worker->pid, SIGKILL);
        }
    });
    QElapsedTimer clock;
    clock.start();
    QByteArray payload;
    Received received;
    Transfer transfer = Transfer::Done;
    for (int tries = 0; transfer == Transfer::Done; ++tries) {
        // A process started a moment ago says when it is held as it will be: its limits are
        // lowered from then on, or the ones it sets for good would take their place.
        if (!worker->ready) {
            transfer = receiveFrame(worker->socket, &payload, &received, clock, wallMs, watching);
            if (transfer != Transfer::Done)
                break;
            if (kindOf(payload) != Kind::Ready || received.count() != 0) {
                transfer = Transfer::Closed;
                break;
            }
            worker->ready = true;
        }
        if (holdTo(worker->pid, request))
            break;
        // One that has used its life's processor time is replaced by a fresh one.
        if (tries > 0 || !replace(worker))
            transfer = Transfer::Closed;
    }
    if (transfer == Transfer::Done)
        transfer = sendAll(worker->socket, frame(encode(request)), clock, wallMs, watching);
    // Questions, each answered, then the reply: anything else ends the process.
    while (transfer == Transfer::Done) {
        transfer = receiveFrame(worker->socket, &payload, &received, clock, wallMs, watching);
        if (transfer != Transfer::Done || kindOf(payload) != Kind::Question)
            break;
        QString name;
        if (!decodeQuestion(payload, &name) || received.count() != 0) {
            transfer = Transfer::Closed;
            break;
        }
        PictureReading::LeftOut why = PictureReading::LeftOut::Outside;
        const int opened = job.source.file.isEmpty()
                ? -EACCES
                : LinkRoot::open(name, job.source.file, job.source.linkRoot, &why);
        // A process asks for a link once as it names it; the toolkit's reader once more.
        const bool known = std::any_of(
                job.leftOut.cbegin(), job.leftOut.cend(),
                [&name](const PictureReading::LeftOutLink &link) { return link.name == name; });
        if (opened < 0 && !job.source.file.isEmpty() && !known)
            job.leftOut.push_back({ name, why });
        transfer = sendAll(worker->socket, frame(encodeAnswer(opened >= 0 ? 0 : -opened)), clock,
                           wallMs, watching, opened);
        if (opened >= 0)
            close(opened);
    }
    bool decoded = transfer == Transfer::Done && decode(payload, &reply);
    reply.probe.leftOut = job.leftOut;
    // The memory of the pixels comes with the reply, and nothing else comes: a process that
    // sends what it does not say is ended like one that did not answer.
    decoded = decoded && received.count() == (reply.shared ? 1 : 0);
    if (decoded && reply.pixelsFollow) {
        // A reply that says pixels follow but not a picture they make leaves the pipe out of
        // step: that process is ended like one that did not answer.
        QImage image = followingImage(reply);
        if (!image.isNull())
            transfer = receiveAll(worker->socket, reinterpret_cast<char *>(image.bits()),
                                  size_t(image.sizeInBytes()), clock, wallMs, watching, &received);
        decoded = !image.isNull() && transfer == Transfer::Done && received.count() == 0;
        if (decoded)
            *frames = { image };
    }
    job.spentMs += clock.elapsed();
    {
        QMutexLocker lock(&m_mutex);
        m_busy.removeOne(worker->pid);
        m_busySince.remove(worker->pid);
        m_busyBytes.remove(worker->pid);
        m_stopped.remove(worker->pid);
    }
    if (decoded) {
        giveBack(std::move(worker), request.memoryBytes);
        if (reply.ending == Ending::OutOfMemory) {
            reply.probe = failure(PictureReading::Outcome::OutOfMemory,
                                  reply.probe.detail + QStringLiteral(": out of its memory"));
            reply.shared = false;
        } else if (reply.shared) {
            *frames = mapFrames(reply, received.take());
            if (frames->isEmpty())
                reply.probe = failure(PictureReading::Outcome::Failed,
                                      QStringLiteral("its pixels could not be taken over"));
        }
        return reply;
    }
    int status = 0;
    if (endedStopped) {
        stopProcess(worker->socket, worker->pid);
        reapApart({ worker->pid });
    } else {
        end(*worker, &status);
    }
    giveBack(nullptr, request.memoryBytes);
    {
        QMutexLocker lock(&m_mutex);
        ++m_lost;
    }
    reply = Reply();
    const bool outOfTime =
            WIFSIGNALED(status) && (WTERMSIG(status) == SIGXCPU || WTERMSIG(status) == SIGALRM);
    if (endedStopped)
        reply.probe = failure(PictureReading::Outcome::OutOfTime,
                              QStringLiteral("no answer: its decoder was stopped"));
    else if (transfer == Transfer::TimedOut || outOfTime)
        reply.probe = failure(PictureReading::Outcome::OutOfTime,
                              QStringLiteral("no answer within its time"));
    else if (WIFEXITED(status) && WEXITSTATUS(status) == kExitOutOfMemory)
        reply.probe =
                failure(PictureReading::Outcome::OutOfMemory, QStringLiteral("out of its memory"));
    else
        reply.probe = failure(
                PictureReading::Outcome::Failed,
                WIFSIGNALED(status)
                        ? QStringLiteral("its decoder ended on signal %1").arg(WTERMSIG(status))
                        : QStringLiteral("its decoder ended (%1)").arg(WEXITSTATUS(status)));
    return reply;
}

// ---- What the program asks of its pictures

namespace PictureReading {

namespace {

using Job = PictureDecoders::Job;

bool isResource(const QString &file)
{
    return file.startsWith(QLatin1Char(':')) || file.startsWith(QLatin1String("qrc:"));
}

// The job of reading source: its file as the decoding process may open it.
Job jobFor(const Source &source)
{
    Job job;
    if (!source.file.isEmpty() && !isResource(source.file)) {
        // The decoding process may have been started from another folder.
        job.source.file = QFileInfo(source.file).absoluteFilePath();
        job.source.linkRoot = source.linkRoot;
    }
    return job;
}

// The program's own pictures (its resource tree) are handed over as bytes: the decoding
// process has no resources of its own. A file is named as the decoding process reads it.
Request requestFor(Task task, const QString &file, const Job &job)
{
    Request request;
    request.task = task;
    if (isResource(file)) {
        QFile resource(file.startsWith(QLatin1String("qrc:")) ? file.mid(3) : file);
        if (resource.open(QIODevice::ReadOnly))
            request.bytes = resource.readAll();
    } else if (!job.source.file.isEmpty()) {
        request.file = LinkRoot::nameFor(job.source.file, job.source.linkRoot);
    }
    return request;
}

bool isEmpty(const Request &request)
{
    return request.file.isEmpty() && request.bytes.isEmpty();
}

// Measures the picture, and decodes it with the same request when that takes no more than
// readUpTo (picture: where it comes).
Probe probeOf(Request request, Job &job, const Waiting &waiting, qint64 readUpTo = 0,
              QImage *picture = nullptr)
{
    if (isEmpty(request))
        return failure(Outcome::Unreadable, QStringLiteral("no such picture"), Cause::Missing);
    request.task = Task::Probe;
    request.readUpTo = picture ? std::min(readUpTo, kReadAtOnceBytes) : 0;
    // A long text (an SVG) is given its room at once, not first refused it.
    const qint64 length =
            request.bytes.isEmpty() ? QFileInfo(job.source.file).size() : request.bytes.size();
    request.memoryBytes = std::max({ PictureDecoders::kProbeBytes,
                                     request.readUpTo + PictureDecoders::kSlackBytes,
                                     std::min(PictureDecoders::kProbeBytesPerByte * length,
                                              PictureDecoders::kLargeProbeBytes) });
    QVector<QImage> frames;
    Reply reply = PictureDecoders::instance().run(request, job, waiting, &frames);
    if (reply.probe.outcome == Outcome::OutOfMemory) {
        // Measured alone, with room for what measuring it may take.
        request.readUpTo = 0;
        request.memoryBytes = PictureDecoders::kLargeProbeBytes;
        reply = PictureDecoders::instance().run(request, job, waiting, &frames);
    }
    if (picture && !frames.isEmpty() && reply.probe.isTaken())
        *picture = frames.first();
    return reply.probe;
}

Picture readAsProbed(Request request, Job &job, const Probe &probed, const Waiting &waiting)
{
    Picture picture;
    picture.probe = probed;
    if (!probed.isTaken())
        return picture;
    request.task = Task::Read;
    request.probed = probed;
    request.memoryBytes = probed.peakBytes + PictureDecoders::kSlackBytes;
    QVector<QImage> frames;
    const Reply reply = PictureDecoders::instance().run(request, job, waiting, &frames);
    picture.probe = reply.probe;
    if (!frames.isEmpty() && picture.probe.isTaken())
        picture.image = frames.first();
    else if (picture.probe.isTaken())
        picture.probe = failure(Outcome::Unreadable, QStringLiteral("no picture came"));
    return picture;
}

QThreadPool &readers()
{
    static QThreadPool *threads = [] {
        auto *pool = new QThreadPool;
        // Those still waiting for a decoding process are not waited for at the end.
        qAddPostRoutine([] { readers().clear(); });
        return pool;
    }();
    return *threads;
}

} // namespace

Probe probe(const QString &file, const Waiting &waiting)
{
    return probe(Source{ file, QString() }, waiting);
}

Probe probe(const Source &source, const Waiting &waiting)
{
    Job job = jobFor(source);
    return probeOf(requestFor(Task::Probe, source.file, job), job, waiting);
}

Picture readReduced(const Source &source, const Probe &probed, int halvings, const Waiting &waiting)
{
    // Decoded as measured and averaged down in the decoding process: only the small copy comes
    // over, and the program never holds the whole picture for it.
    Probe reduced = probed;
    for (int n = 0; n < halvings && reduced.taken.isValid(); ++n)
        reduced.taken = QSize((reduced.taken.width() + 1) / 2, (reduced.taken.height() + 1) / 2);
    // The copy is made beside the whole picture it is averaged from, and turned beside that.
    const qint64 copyBytes = 4 * qint64(reduced.taken.width()) * reduced.taken.height();
    if (halvings > 0)
        reduced.peakBytes += copyBytes;
    if (halvings > 0 && probed.orientation != 1)
        reduced.peakBytes += copyBytes;
    // But a JPEG's decoder makes 1/2, 1/4 or 1/8 of it itself where that divides its sides
    // (PictureDecoding::Reading), and the whole picture is never held: asked for what it would
    // take, a lesson's photos decoded for a page's sheet waited for each other's room.
    const bool jpeg = probed.format == "jpeg" || probed.format == "jpg";
    const qint64 whole = 4 * qint64(probed.taken.width()) * probed.taken.height();
    const bool even = probed.taken.width() % 2 == 0 && probed.taken.height() % 2 == 0;
    if (halvings > 0 && jpeg && even && !probed.decoderScales && probed.peakBytes >= whole) {
        const QSize made((probed.taken.width() + 1) / 2, (probed.taken.height() + 1) / 2);
        reduced.peakBytes -= whole - 4 * qint64(made.width()) * made.height();
    }
    Job job = jobFor(source);
    Picture picture = readAsProbed(requestFor(Task::Read, source.file, job), job, reduced, waiting);
    if (picture.probe.isTaken())
        picture.probe = probed;
    return picture;
}

Probe probeData(const QByteArray &bytes)
{
    Request request;
    request.bytes = bytes;
    Job job;
    return probeOf(request, job, Waiting());
}

Reader::Reader(const QString &file, const Waiting &waiting, qint64 readUpTo)
    : Reader(Source{ file, QString() }, waiting, readUpTo)
{
}

Reader::Reader(const Source &source, const Waiting &waiting, qint64 readUpTo)
    : m_source(source), m_waiting(waiting)
{
    Job job = jobFor(source);
    m_probe =
            probeOf(requestFor(Task::Probe, source.file, job), job, waiting, readUpTo, &m_picture);
    m_spentMs = job.spentMs;
}

Picture Reader::read()
{
    Picture picture;
    picture.probe = m_probe;
    if (m_read || !m_probe.isTaken())
        return picture;
    m_read = true;
    if (!m_picture.isNull()) {
        picture.image = std::exchange(m_picture, QImage());
        return picture;
    }
    // However long it waited for room since it was measured, its time goes on from there.
    Job job = jobFor(m_source);
    job.spentMs = m_spentMs;
    return readAsProbed(requestFor(Task::Read, m_source.file, job), job, m_probe, m_waiting);
}

Picture read(const QString &file, const Waiting &waiting)
{
    return read(Source{ file, QString() }, waiting);
}

Picture read(const Source &source, const Waiting &waiting)
{
    return Reader(source, waiting, kReadAtOnceBytes).read();
}

Picture readData(const QByteArray &bytes)
{
    Request request;
    request.bytes = bytes;
    Job job;
    Picture picture;
    picture.probe = probeOf(request, job, Waiting(), kReadAtOnceBytes, &picture.image);
    if (!picture.probe.isTaken() || !picture.image.isNull())
        return picture;
    return readAsProbed(request, job, picture.probe, Waiting());
}

namespace {

// Work begun in the background and not yet handed over.
std::atomic<int> g_pending{ 0 };

} // namespace

int pending()
{
    return g_pending;
}

void inBackground(std::function<void()> work, QObject *context, std::function<void()> then)
{
    QPointer<QObject> guard(context);
    ++g_pending;
    readers().start([work = std::move(work), guard, then = std::move(then)] {
        work();
        // Handed over on the thread of the program's event loop, where guard is looked at.
        const bool posted = QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [guard, then] {
                    if (guard)
                        then();
                    --g_pending;
                },
                Qt::QueuedConnection);
        if (!posted)
            --g_pending;
    });
}

void readSoon(const QString &file, QObject *context, std::function<void(const Picture &)> done)
{
    auto picture = std::make_shared<Picture>();
    inBackground([file, picture] { *picture = read(file); }, context,
                 [picture, done = std::move(done)] { done(*picture); });
}

Animation readAnimation(const QString &file, const Waiting &waiting, Picture *still)
{
    Animation animation;
    Job job = jobFor(Source{ file, QString() });
    Request request = requestFor(Task::Frames, file, job);
    animation.probe = probeOf(request, job, waiting);
    const Probe measured = animation.probe;
    if (measured.playable) {
        request.task = Task::Frames;
        request.probed = measured;
        request.memoryBytes =
                measured.peakBytes + measured.playingBytes + PictureDecoders::kSlackBytes;
        const Reply reply =
                PictureDecoders::instance().run(request, job, waiting, &animation.frames);
        animation.probe = reply.probe;
        if (!animation.frames.isEmpty() && animation.frames.size() == reply.delays.size()) {
            animation.delays = reply.delays;
            animation.loopCount = reply.loopCount;
            return animation;
        }
        animation.frames.clear();
        if (animation.probe.isTaken())
            animation.probe = failure(Outcome::Unreadable, QStringLiteral("no frames came"));
    }
    if (still)
        *still = readAsProbed(requestFor(Task::Read, file, job), job, measured, waiting);
    return animation;
}

} // namespace PictureReading
