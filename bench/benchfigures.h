#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

// What the benchmarks print: figures of several runs, so that one slow run does not decide.
namespace BenchFigures {

double median(std::vector<double> values);

// The longest time the event loop could not turn: a 1 ms heartbeat and the largest gap between
// two of its beats (or since the last one). It beats from its making to the end; each step of
// the run takes the longest gap since the step before, a gap that spans two steps counting in
// the later one.
class StallWatch
{
public:
    StallWatch();
    double takeLongestMs();

private:
    void beat();
    QTimer m_heartbeat;
    QElapsedTimer m_since;
    double m_longest = 0;
};

// The resident memory of this process (VmRSS) and its peak (VmHWM), in KiB; -1 if unreadable.
long residentKiB();
long peakResidentKiB();
// What the program holds, in KiB: its resident memory, with the pictures it holds in memory
// shared with its decoding processes counted whole (resident only where the board has drawn
// them), and what the decoding processes hold of their own.
long heldKiB();
// Starts the peak over from the resident memory now, so that it tells the peak of what follows;
// false where the system cannot.
bool resetPeakResident();
// The machine's load average over the last minute: the figures of a busy machine are slower.
double loadAverage();

// Bounds a run that may run away (a zoom that asks for more memory than the machine has, a
// step that never ends): a thread of its own samples the resident memory every two
// milliseconds, whatever the measured thread is doing, and ends the process, printing why and
// where, when the memory passes its limit or a step lasts longer than allowed. What the run
// printed so far stays, and its figures until then (setSoFar) close the output.
class RunGuard
{
public:
    RunGuard(long limitKiB, double stepLimitMs);
    ~RunGuard();
    RunGuard(const RunGuard &) = delete;
    RunGuard &operator=(const RunGuard &) = delete;

    // The step named where begins; its time counts until endStep().
    void beginStep(const QString &where);
    void endStep();
    // The figures of the steps done, printed if the run is stopped.
    void setSoFar(const QString &figures);
    // The largest resident memory sampled since the last take.
    long takeSampledPeakKiB();

private:
    void watch();
    [[noreturn]] void stop(const QString &why);

    const long m_limitKiB;
    const double m_stepLimitMs;
    std::mutex m_mutex; // guards what follows, to m_quit
    std::condition_variable m_quitting;
    QString m_where;
    QString m_soFar;
    std::chrono::steady_clock::time_point m_stepStart;
    bool m_stepping = false;
    bool m_quit = false;
    std::atomic<long> m_sampledPeakKiB{ 0 };
    std::thread m_thread; // last: it starts once the rest is made
};

// What the program and its decoding processes hold together, in KiB: the proportional resident
// memory (Pss) of this process and of every process it started, and theirs, so that what they
// share (the pictures handed over in shared memory, the libraries) counts once. A thread of its
// own samples it every few milliseconds, whatever the measured thread is doing, and keeps the
// largest sum with its split. With a limit, a sum past it ends the process, printing where and
// what it held (the machine is shared: a run that takes it whole stops the others).
class TreeMemory
{
public:
    struct Sample
    {
        long programKiB = 0;
        long decodersKiB = 0; // every process the program started, together
        int decoders = 0;
        long totalKiB() const { return programKiB + decodersKiB; }
    };
    explicit TreeMemory(long limitKiB = 0, int everyMs = 10);
    ~TreeMemory();
    TreeMemory(const TreeMemory &) = delete;
    TreeMemory &operator=(const TreeMemory &) = delete;

    // This process's tree now, read on the calling thread.
    static Sample now();
    // The largest sample since the last take, the one taken now included.
    Sample takePeak();
    // Names what runs, for the message of a stop; what printed so far stays.
    void setStep(const QString &where);

private:
    void watch();

    const long m_limitKiB;
    const std::chrono::milliseconds m_every;
    std::mutex m_mutex; // guards what follows, to m_quit
    std::condition_variable m_quitting;
    Sample m_peak;
    QString m_where;
    bool m_quit = false;
    std::thread m_thread; // last: it starts once the rest is made
};

} // namespace BenchFigures
