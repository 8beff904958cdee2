#include "framegetter.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QPixmap>
#include <QScreen>

#include <utility>

namespace {
// One line per frame, twenty a second: off unless asked for ("veltorina.share.frames.debug=true").
Q_LOGGING_CATEGORY(lcFrames, "veltorina.share.frames", QtInfoMsg)

// The slice of every wait, after which the grabber looks whether it is to stop.
constexpr int kWaitSliceMs = 100;
} // namespace

FrameGetter::FrameGetter(FrameSource source)
    : QThread(nullptr), m_source(source ? std::move(source) : FrameSource(&grabPrimaryScreen))
{
}

FrameGetter::~FrameGetter()
{
    if (!stop()) {
        // Every wait of the loop is bounded, so this ends; a running thread must not be deleted.
        qWarning("FrameGetter: the grabber is slow to stop");
        wait();
    }
}

QImage FrameGetter::grabPrimaryScreen()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QImage();
    return screen->grabWindow(0).toImage();
}

bool FrameGetter::keepRunning() const
{
    return m_running.load() && !isInterruptionRequested();
}

bool FrameGetter::stop()
{
    m_running.store(false);
    requestInterruption();
    // Wakes a grabber waiting for space or for a picture at once; a spare permit left behind does
    // no harm, since the loop ends.
    m_space.release();
    m_grabDone.release();
    if (!isRunning())
        return true;
    return wait(2000);
}

QByteArray FrameGetter::getInstantFrame()
{
    m_access.acquire(); // held only around list operations
    if (m_frames.isEmpty()) {
        m_access.release();
        return QByteArray();
    }
    const QByteArray frame = m_frames.last();
    if (m_frames.size() >= kMaxQueuedFrames) {
        // A permit is given only to a grabber that waits for it: one given while it grabs would
        // stay and let the queue grow past the limit later.
        if (m_waitingForSpace) {
            m_waitingForSpace = false;
            m_space.release();
        }
        m_frames.clear();
    }
    m_access.release();
    return frame;
}

int FrameGetter::queuedFrames()
{
    m_access.acquire();
    const int count = m_frames.size();
    m_access.release();
    return count;
}

bool FrameGetter::isWaitingForSpace()
{
    m_access.acquire();
    const bool waiting = m_waitingForSpace;
    m_access.release();
    return waiting;
}

bool FrameGetter::waitForSpace()
{
    m_access.acquire();
    const bool full = m_frames.size() >= kMaxQueuedFrames;
    if (full)
        m_waitingForSpace = true;
    m_access.release();
    if (!full)
        return true;
    while (!m_space.tryAcquire(1, kWaitSliceMs)) {
        if (!keepRunning())
            return false;
    }
    return keepRunning();
}

QImage FrameGetter::grabInCreatorThread()
{
    // This object lives in the thread that created it; the call is queued there. When the object
    // goes first, Qt drops the pending call with it.
    QMetaObject::invokeMethod(
            this,
            [this] {
                const QImage picture = m_source();
                {
                    QMutexLocker lock(&m_grabMutex);
                    m_grabbed = picture;
                }
                m_grabDone.release();
            },
            Qt::QueuedConnection);
    while (!m_grabDone.tryAcquire(1, kWaitSliceMs)) {
        if (!keepRunning())
            return QImage();
    }
    QMutexLocker lock(&m_grabMutex);
    return std::exchange(m_grabbed, QImage());
}

void FrameGetter::encodeAndQueue(const QImage &screen, QBuffer &encoder, QByteArray &frameBuffer)
{
    // With the aspect kept, the half width decides: half as wide and half as high.
    const QImage scaled = screen.scaled(screen.width() / 2, screen.height(), Qt::KeepAspectRatio,
                                        Qt::FastTransformation);
    frameBuffer.clear();
    encoder.open(QIODevice::ReadWrite);
    const bool saved = scaled.save(&encoder, "JPG", kJpegQuality);
    encoder.close();
    if (!saved || frameBuffer.isEmpty()) {
        qWarning("FrameGetter: cannot encode the frame");
        return;
    }
    m_access.acquire();
    m_frames.append(frameBuffer); // shares the bytes; the next clear() detaches
    m_access.release();
}

void FrameGetter::run()
{
    // The encoder lives in this thread (a QBuffer is a QObject) and serves every frame.
    QByteArray frameBuffer;
    QBuffer encoder(&frameBuffer);
    while (keepRunning()) {
        if (!waitForSpace())
            break;
        const QImage screen = grabInCreatorThread();
        if (!keepRunning())
            break;
        // A platform that cannot grab gives a null picture: nothing to share, nothing queued.
        if (!screen.isNull() && screen.width() >= 2)
            encodeAndQueue(screen, encoder, frameBuffer);
        QThread::msleep(kGrabIntervalMs);
        qCDebug(lcFrames, "Got frame");
    }
}
