#include "benchfigures.h"

#include "pictures/decoderprotocol.h"
#include "pictures/picturedecoders.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

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
