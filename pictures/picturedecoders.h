#pragma once

#include "decoderprotocol.h"

#include <QElapsedTimer>
#include <QHash>
#include <QMutex>
#include <QString>
#include <QWaitCondition>

#include <functional>
#include <memory>
#include <vector>

// The decoding processes of the program (pictures/decodermain.cpp): started when first needed
// and kept for the next pictures, as many at once as the cores the program may use, each
// started again when it dies. A request runs in one of them, held there to a memory ceiling and
// a processor time by the operating system (set here, from outside: the process cannot raise
// them) and to a wall-clock time here; a process that ends in the middle of one (out of time,
// crashed, killed) costs that request only. Each is held by the kernel to what decoding needs
// (pictures/decoderconfinement.h) and given only the environment it needs.
//
// The requests running share one budget of memory: a request waits until what it is allowed
// fits beside the others', so that pictures read together never take more than it.
//
// Thread-safe: any thread may run requests; each waits for its own answer.
class PictureDecoders
{
public:
    static PictureDecoders &instance();

    // A request may use so many seconds of processor time; the requests for one picture
    // together (its measure, its decoding, a second measure with more room) are ended once they
    // have run so long by the clock (a decoder that waits, or is stopped, uses no processor),
    // however long they waited for a process.
    // A picture not taken is said within ten seconds of its first request: this, and the
    // moment to end its process and tell it.
    static constexpr int kPictureMs = 9000;
    struct Limits
    {
        int probeSeconds; // to measure a picture
        int readSeconds; // to decode it
        qint64 budgetBytes; // what the requests running together may take
        int pictureMs = kPictureMs; // all the requests for one picture
    };
    // What a request takes beyond what it is measured to take: the decoder's own buffers, the
    // process's libraries brought in for it, and a reply.
    static constexpr qint64 kSlackBytes = qint64(64) << 20;
    // What measuring a picture may take: most take little, and the requests running together
    // share the budget. One that needs more (an SVG of many elements is parsed whole) is
    // measured again with more.
    static constexpr qint64 kProbeBytes = qint64(96) << 20;
    static constexpr qint64 kLargeProbeBytes = DecoderProtocol::kMostMeasureBytes;
    // Measuring a picture written as text reads all of it: this much for each of its bytes.
    static constexpr qint64 kProbeBytesPerByte = 16;
    static Limits defaultLimits();
    Limits limits() const;
    // For tests that make a decoder run out of time without waiting seconds for it.
    void setLimits(const Limits &limits);

    // Starts decoding processes now, up to count of them and as many as may run, so that the
    // pictures about to come do not wait for them to start.
    void startAhead(int count = 1);
    // The same, on a thread of its own.
    void startAheadBeside(int count);
    // Asks for as many as may run.
    static constexpr int kMostProcesses = 1 << 10;
    // How many decoding processes may run at once: as many requests run together, the others
    // wait for one of them. A request that has run kSlowMs lets one more begin beside it, up to
    // kMostSlow more (within the budget of memory all the same): a picture that takes its whole
    // time holds only its own place, not the pictures behind it.
    static int mostAtOnce();
    static constexpr int kSlowMs = 250;
    static constexpr int kMostSlow = 8;
    // A process found stopped (SIGSTOP, a debugger) answers nothing until it is continued, and
    // takes no more memory meanwhile: it holds neither a place nor more of the budget than it
    // holds already, up to kMostStopped of them (each a few megabytes), until its time ends it
    // (continued before, it counts for all it was allowed again). An idle one is never given a
    // request: it is ended, and another started.
    static constexpr int kMostStopped = 32;
    // The processes found stopped in the middle of a request now (looked at every kLookMs).
    int stoppedBusy();
    static constexpr int kLookMs = 50;
    // Ends the processes waiting for a request, but keep of them.
    void endIdle(int keep);

    // What the requests for one picture share: where it is read from, which the process may
    // open (the request names it as LinkRoot::nameFor gives it), and what else it may open; and
    // the time they have run so far; the files it links that the process was refused.
    struct Job
    {
        PictureReading::Source source;
        qint64 spentMs = 0;
        QVector<PictureReading::LeftOutLink> leftOut;
    };
    // Runs request of job in a decoding process and waits for its reply, calling waiting every
    // few milliseconds meanwhile, and answering what the process asks to open. What the process
    // could not answer comes as a reply whose probe says why (OutOfTime, Failed); its probe
    // names the files it links that were refused, in this request or an earlier one of job.
    // frames: the pictures the reply holds.
    DecoderProtocol::Reply run(DecoderProtocol::Request request, Job &job,
                               const std::function<void()> &waiting, QVector<QImage> *frames);

    // Processes started so far, those ended for a request they did not answer, and pictures
    // decoded (not only measured).
    int started() const;
    int lost() const;
    int decoded() const;
    // The processes running a request now.
    QVector<qint64> busy() const;
    // What the processes hold in memory of their own (not the libraries they share with the
    // program), together.
    qint64 privateBytes() const;
    // The program the processes run.
    static QString program();

    PictureDecoders(const PictureDecoders &) = delete;
    PictureDecoders &operator=(const PictureDecoders &) = delete;

private:
    PictureDecoders();
    ~PictureDecoders();

    struct Worker;
    std::unique_ptr<Worker> takeWorker(qint64 bytes, const std::function<void()> &waiting);
    std::unique_ptr<Worker> takeIdle();
    void giveBack(std::unique_ptr<Worker> worker, qint64 bytes);
    std::unique_ptr<Worker> start();
    void end(Worker &worker, int *status);
    // Ends worker, which is running a request, and puts a fresh process in its place: false
    // when none starts.
    bool replace(std::unique_ptr<Worker> &worker);
    // Processes that may run now: mostAtOnce(), and one more for each request that has run
    // long or is stopped. Under m_mutex.
    int mayRun() const;
    // What the requests running hold of the budget: what each was allowed, but what a stopped
    // one holds now. Under m_mutex.
    qint64 reserved() const;
    // Looks at the processes running requests, at most every kLookMs: which are stopped.
    // Not under m_mutex.
    void lookAtBusy();

    mutable QMutex m_mutex; // guards everything below; never held while a request runs
    QWaitCondition m_freed;
    std::vector<std::unique_ptr<Worker>> m_idle;
    int m_running = 0;
    int m_startingAhead = 0;
    int m_idleEnded = 0; // times endIdle was asked
    int m_idleKept = 0; // and how many it kept the last time
    qint64 m_reserved = 0;
    Limits m_limits;
    int m_started = 0;
    int m_lost = 0;
    int m_decoded = 0;
    QVector<qint64> m_busy;
    QHash<qint64, qint64> m_busySince; // by process, when its request began (m_clock)
    QHash<qint64, qint64> m_busyBytes; // by process, what its request was allowed
    QHash<qint64, qint64> m_stopped; // by process found stopped, what it holds
    qint64 m_lookedAt = -kLookMs; // m_clock
    QElapsedTimer m_clock;
};
