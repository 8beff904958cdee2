#include "benchfigures.h"

#include "pictures/decoderprotocol.h"
#include "pictures/picturedecoders.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include <dirent.h>
#include <unistd.h>

namespace BenchFigures {

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

StallWatch::StallWatch()
{
    m_heartbeat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_heartbeat, &QTimer::timeout, [this] { beat(); });
    m_heartbeat.start(1);
    m_since.start();
}

double StallWatch::takeLongestMs()
{
    beat();
    return std::exchange(m_longest, 0.0);
}

void StallWatch::beat()
{
    m_longest = std::max(m_longest, m_since.nsecsElapsed() / 1e6);
    m_since.restart();
}

namespace {

long statusField(const char *name)
{
    // Plain C reads, which any thread may make: no toolkit object is shared with the measured one.
    std::FILE *status = std::fopen("/proc/self/status", "r");
    if (!status)
        return -1;
    char line[256];
    long value = -1;
    const size_t length = std::strlen(name);
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, name, length) == 0) {
            value = std::strtol(line + length, nullptr, 10);
            break;
        }
    }
    std::fclose(status);
    return value;
}

// The resident memory from the kernel's page counts: cheaper than the status text, read every
// two milliseconds.
long sampledResidentKiB()
{
    std::FILE *statm = std::fopen("/proc/self/statm", "r");
    if (!statm)
        return -1;
    long size = 0;
    long resident = -1;
    if (std::fscanf(statm, "%ld %ld", &size, &resident) != 2)
        resident = -1;
    std::fclose(statm);
    return resident < 0 ? -1 : resident * (sysconf(_SC_PAGESIZE) / 1024);
}

constexpr auto kSampleEvery = std::chrono::milliseconds(2);

// The proportional resident memory of process pid in KiB (its resident memory where the
// kernel gives no proportion); -1 when it is gone.
long processPssKiB(long pid)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%ld/smaps_rollup", pid);
    const char *field = "Pss:";
    std::FILE *file = std::fopen(path, "r");
    if (!file) {
        std::snprintf(path, sizeof path, "/proc/%ld/status", pid);
        field = "VmRSS:";
        file = std::fopen(path, "r");
        if (!file)
            return -1;
    }
    char line[256];
    long value = -1;
    const size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, file)) {
        if (std::strncmp(line, field, length) == 0) {
            value = std::strtol(line + length, nullptr, 10);
            break;
        }
    }
    std::fclose(file);
    return value;
}

// The processes pid started that still run, and theirs: each of its threads names those it
// started itself.
void addDescendants(long pid, std::vector<long> *found)
{
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%ld/task", pid);
    DIR *tasks = opendir(path);
    if (!tasks)
        return;
    std::vector<long> children;
    while (const dirent *task = readdir(tasks)) {
        if (task->d_name[0] == '.')
            continue;
        char childrenPath[320];
        std::snprintf(childrenPath, sizeof childrenPath, "/proc/%ld/task/%s/children", pid,
                      task->d_name);
        std::FILE *file = std::fopen(childrenPath, "r");
        if (!file)
            continue;
        long child = 0;
        while (std::fscanf(file, "%ld", &child) == 1)
            children.push_back(child);
        std::fclose(file);
    }
    closedir(tasks);
    for (const long child : children) {
        found->push_back(child);
        addDescendants(child, found);
    }
}

} // namespace

long residentKiB()
{
    return statusField("VmRSS:");
}

long peakResidentKiB()
{
    return statusField("VmHWM:");
}

long heldKiB()
{
    const long resident = statusField("VmRSS:");
    const long shared = statusField("RssShmem:");
    if (resident < 0 || shared < 0)
        return -1;
    return resident - shared + long(DecoderProtocol::mappedBytes() / 1024)
            + long(PictureDecoders::instance().privateBytes() / 1024);
}

bool resetPeakResident()
{
    // Linux: 5 sets the peak to the resident memory now.
    std::FILE *clear = std::fopen("/proc/self/clear_refs", "w");
    if (!clear)
        return false;
    const bool written = std::fputs("5", clear) >= 0;
    return std::fclose(clear) == 0 && written;
}

double loadAverage()
{
    std::FILE *load = std::fopen("/proc/loadavg", "r");
    if (!load)
        return -1;
    double lastMinute = -1;
    if (std::fscanf(load, "%lf", &lastMinute) != 1)
        lastMinute = -1;
    std::fclose(load);
    return lastMinute;
}

RunGuard::RunGuard(long limitKiB, double stepLimitMs)
    : m_limitKiB(limitKiB), m_stepLimitMs(stepLimitMs), m_thread([this] { watch(); })
{
}

RunGuard::~RunGuard()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_quit = true;
    }
    m_quitting.notify_all();
    m_thread.join(); // its wait is a sample's interval
}

void RunGuard::beginStep(const QString &where)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_where = where;
    m_stepStart = std::chrono::steady_clock::now();
    m_stepping = true;
}

void RunGuard::endStep()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_stepping = false;
}

void RunGuard::setSoFar(const QString &figures)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_soFar = figures;
}

long RunGuard::takeSampledPeakKiB()
{
    return m_sampledPeakKiB.exchange(std::max(0L, sampledResidentKiB()));
}

void RunGuard::watch()
{
    for (;;) {
        bool stepping = false;
        std::chrono::steady_clock::time_point stepStart;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            if (m_quitting.wait_for(lock, kSampleEvery, [this] { return m_quit; }))
                return;
            stepping = m_stepping;
            stepStart = m_stepStart;
        }
        const long resident = sampledResidentKiB();
        long peak = m_sampledPeakKiB.load();
        while (resident > peak && !m_sampledPeakKiB.compare_exchange_weak(peak, resident)) { }
        if (resident > m_limitKiB) {
            stop(QStringLiteral("resident memory reached %1 MB, past the limit of %2 MB")
                         .arg(resident / 1024)
                         .arg(m_limitKiB / 1024));
        }
        const double stepMs = std::chrono::duration<double, std::milli>(
                                      std::chrono::steady_clock::now() - stepStart)
                                      .count();
        if (stepping && stepMs > m_stepLimitMs) {
            stop(QStringLiteral("the step has taken %1 s, past the limit of %2 s (resident "
                                "memory %3 MB)")
                         .arg(stepMs / 1000, 0, 'f', 1)
                         .arg(m_stepLimitMs / 1000, 0, 'f', 0)
                         .arg(resident / 1024));
        }
    }
}

TreeMemory::TreeMemory(long limitKiB, int everyMs)
    : m_limitKiB(limitKiB), m_every(everyMs), m_thread([this] { watch(); })
{
}

TreeMemory::~TreeMemory()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_quit = true;
    }
    m_quitting.notify_all();
    m_thread.join();
}

TreeMemory::Sample TreeMemory::now()
{
    Sample sample;
    const long self = long(getpid());
    sample.programKiB = std::max(0L, processPssKiB(self));
    std::vector<long> descendants;
    addDescendants(self, &descendants);
    for (const long pid : descendants) {
        const long kib = processPssKiB(pid);
        if (kib < 0)
            continue; // ended meanwhile
        sample.decodersKiB += kib;
        ++sample.decoders;
    }
    return sample;
}

TreeMemory::Sample TreeMemory::takePeak()
{
    const Sample current = now();
    const std::lock_guard<std::mutex> lock(m_mutex);
    const Sample peak = current.totalKiB() > m_peak.totalKiB() ? current : m_peak;
    m_peak = current;
    return peak;
}

void TreeMemory::setStep(const QString &where)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_where = where;
}

void TreeMemory::watch()
{
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            if (m_quitting.wait_for(lock, m_every, [this] { return m_quit; }))
                return;
        }
        // Read without the lock: a sample of a large process takes a moment.
        const Sample sample = now();
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (sample.totalKiB() > m_peak.totalKiB())
            m_peak = sample;
        if (m_limitKiB > 0 && sample.totalKiB() > m_limitKiB) {
            std::fflush(stdout);
            std::printf("MISSED: the run was stopped at %s: the program and its %d decoding "
                        "processes held %ld MB (the program %ld MB, the processes %ld MB), past "
                        "the limit of %ld MB\n",
                        qPrintable(m_where), sample.decoders, sample.totalKiB() / 1024,
                        sample.programKiB / 1024, sample.decodersKiB / 1024, m_limitKiB / 1024);
            std::fflush(stdout);
            std::_Exit(3);
        }
    }
}

void RunGuard::stop(const QString &why)
{
    // The lock is kept to the end: the measured thread cannot begin another step meanwhile.
    const std::lock_guard<std::mutex> lock(m_mutex);
    std::fflush(stdout);
    std::printf("MISSED: the run was stopped at %s: %s\n%s", qPrintable(m_where), qPrintable(why),
                qPrintable(m_soFar));
    std::fflush(stdout);
    // The measured thread may be deep in a drawing that would take the machine's memory: the
    // process ends here, with nothing torn down.
    std::_Exit(0);
}

} // namespace BenchFigures
