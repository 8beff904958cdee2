#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QMutex>
#include <QSemaphore>
#include <QThread>

#include <atomic>
#include <functional>

// Grabs the screen every 50 ms, scales it to half size, encodes it as JPEG (quality 20) and
// appends it to a short frame queue that the screen server reads from its connection threads.
//
// Pixmaps and screen grabs belong to the GUI thread: the grabber asks the thread that created it
// for each picture (a queued call) and gets a QImage back; scaling and encoding run here. Every
// wait of the grabber is bounded, so that stop() always ends the thread.
class FrameGetter : public QThread
{
public:
    // Gives the picture to share; runs in the thread that created the grabber.
    using FrameSource = std::function<QImage()>;

    static constexpr int kMaxQueuedFrames = 11; // the grabber waits for a reader beyond this
    static constexpr int kGrabIntervalMs = 50;
    static constexpr int kJpegQuality = 20;

    // Without a source, the whole primary screen is grabbed.
    explicit FrameGetter(FrameSource source = {});
    ~FrameGetter() override;

    // The newest frame (a whole JPEG file), or empty when none is queued. Reading does not
    // consume, except that a reader finding the queue full empties it and lets the grabber go on.
    // Safe from any thread.
    QByteArray getInstantFrame();

    // Ends the grab loop and waits for the thread; true when it has ended.
    bool stop();

    int queuedFrames();
    // True while the grabber waits for a reader to empty the full queue.
    bool isWaitingForSpace();

    static QImage grabPrimaryScreen();

protected:
    void run() override;

private:
    bool keepRunning() const;
    bool waitForSpace();
    QImage grabInCreatorThread();
    void encodeAndQueue(const QImage &screen, QBuffer &encoder, QByteArray &frameBuffer);

    QSemaphore m_access{ 1 }; // guards m_frames and m_waitingForSpace, one permit at a time
    QSemaphore m_space{ 0 }; // given only while the grabber waits on it, so it never piles up
    QList<QByteArray> m_frames; // oldest first
    bool m_waitingForSpace = false;
    std::atomic<bool> m_running{ true };

    FrameSource m_source;
    QMutex m_grabMutex; // guards m_grabbed, handed from the creator thread to the grabber
    QImage m_grabbed;
    QSemaphore m_grabDone{ 0 };
};
