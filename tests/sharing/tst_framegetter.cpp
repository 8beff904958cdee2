#include "sharing/framegetter.h"
#include "support/sharefixture.h"

#include <QAtomicInt>
#include <QPointer>
#include <QtTest>

#include <atomic>
#include <memory>

// The grabber with pictures made by the test in place of the screen: the offscreen platform
// grabs nothing.
class tst_FrameGetter : public QObject
{
    Q_OBJECT

private slots:
    void framesAreHalfSizeJpegOfThePicture();
    void nothingQueuedWhileThePlatformGrabsNothing();
    void fullQueueWaitsAndFirstReaderGetsTheEleventhFrame();
    void busyReadersNeverLetTheQueueGrowPastEleven();
    void stopEndsAGrabberWaitingForSpace();
    void stopEndsAGrabberWaitingForTheGuiThread();
    void stopBeforeStartAndTwice();
};

namespace {
// Frame n (counted from 0) has the grey level 20 * (n + 1), so a decoded frame tells its number.
struct CountingSource
{
    std::shared_ptr<std::atomic<int>> calls = std::make_shared<std::atomic<int>>(0);
    QImage operator()() const
    {
        const int n = calls->fetch_add(1);
        QImage picture(120, 80, QImage::Format_RGB32);
        const int grey = 20 * (n + 1) % 256;
        picture.fill(QColor(grey, grey, grey));
        return picture;
    }
};

QImage decode(const QByteArray &frame)
{
    return QImage::fromData(frame, "JPG");
}

int frameNumber(const QByteArray &frame)
{
    const QImage picture = decode(frame);
    if (picture.isNull())
        return -1;
    return (qGreen(picture.pixel(picture.width() / 2, picture.height() / 2)) + 10) / 20 - 1;
}
} // namespace

void tst_FrameGetter::framesAreHalfSizeJpegOfThePicture()
{
    QImage screen(640, 360, QImage::Format_RGB32);
    screen.fill(QColor(200, 30, 30));
    for (int y = 0; y < 360; ++y) {
        for (int x = 320; x < 640; ++x)
            screen.setPixel(x, y, qRgb(30, 30, 200));
    }
    FrameGetter grabber([screen] { return screen; });
    grabber.start();
    QByteArray frame;
    QTRY_VERIFY_WITH_TIMEOUT(!(frame = grabber.getInstantFrame()).isEmpty(), 10000);
    QVERIFY(frame.startsWith("\xFF\xD8")); // a whole JPEG file, start to end marker
    QVERIFY(frame.endsWith("\xFF\xD9"));
    const QImage picture = decode(frame);
    QCOMPARE(picture.size(), QSize(320, 180));
    QVERIFY(ShareFixture::near(picture.pixel(80, 90), qRgb(200, 30, 30)));
    QVERIFY(ShareFixture::near(picture.pixel(240, 90), qRgb(30, 30, 200)));
    QVERIFY(grabber.stop());
}

void tst_FrameGetter::nothingQueuedWhileThePlatformGrabsNothing()
{
    std::atomic<int> calls{ 0 };
    FrameGetter grabber([&calls] {
        ++calls;
        return QImage();
    });
    grabber.start();
    QTRY_VERIFY_WITH_TIMEOUT(calls.load() >= 3, 10000);
    QCOMPARE(grabber.queuedFrames(), 0);
    QVERIFY(grabber.getInstantFrame().isEmpty());
    QVERIFY(grabber.stop());
}

void tst_FrameGetter::fullQueueWaitsAndFirstReaderGetsTheEleventhFrame()
{
    CountingSource source;
    FrameGetter grabber(source);
    grabber.start();
    QTRY_VERIFY_WITH_TIMEOUT(grabber.isWaitingForSpace(), 10000);
    QCOMPARE(grabber.queuedFrames(), FrameGetter::kMaxQueuedFrames);
    QCOMPARE(source.calls->load(), FrameGetter::kMaxQueuedFrames);
    QTest::qWait(300); // the grabber stays put while nobody reads
    QCOMPARE(source.calls->load(), FrameGetter::kMaxQueuedFrames);
    QCOMPARE(grabber.queuedFrames(), FrameGetter::kMaxQueuedFrames);

    const QByteArray eleventh = grabber.getInstantFrame();
    QCOMPARE(frameNumber(eleventh), 10);
    QCOMPARE(grabber.queuedFrames(), 0);
    QVERIFY(!grabber.isWaitingForSpace());
    // The grabber goes on with the 12th picture.
    QByteArray next;
    QTRY_VERIFY_WITH_TIMEOUT(!(next = grabber.getInstantFrame()).isEmpty(), 10000);
    QCOMPARE(frameNumber(next), 11);
    // Reading does not consume: the same frame again.
    QCOMPARE(grabber.getInstantFrame(), next);
    QVERIFY(grabber.stop());
}

void tst_FrameGetter::busyReadersNeverLetTheQueueGrowPastEleven()
{
    CountingSource source;
    FrameGetter grabber(source);
    grabber.start();
    // Two viewers polling far faster than frames come: they empty the full queue while the
    // grabber is still sleeping after its 11th append, cycle after cycle.
    std::atomic<bool> polling{ true };
    std::atomic<int> emptied{ 0 };
    auto poll = [&] {
        while (polling.load()) {
            const int before = grabber.queuedFrames();
            grabber.getInstantFrame();
            if (before >= FrameGetter::kMaxQueuedFrames && grabber.queuedFrames() == 0)
                ++emptied;
            QThread::usleep(200);
        }
    };
    std::unique_ptr<QThread> first(QThread::create(poll));
    std::unique_ptr<QThread> second(QThread::create(poll));
    first->start();
    second->start();
    QTRY_VERIFY_WITH_TIMEOUT(emptied.load() >= 3, 30000);
    polling.store(false);
    QVERIFY(first->wait(5000));
    QVERIFY(second->wait(5000));

    // The viewers have left: the queue fills to 11 and stays there.
    QTRY_VERIFY_WITH_TIMEOUT(grabber.isWaitingForSpace(), 10000);
    const int calls = source.calls->load();
    QCOMPARE(grabber.queuedFrames(), FrameGetter::kMaxQueuedFrames);
    QTest::qWait(400);
    QCOMPARE(grabber.queuedFrames(), FrameGetter::kMaxQueuedFrames);
    QCOMPARE(source.calls->load(), calls);
    QVERIFY(grabber.stop());
}

void tst_FrameGetter::stopEndsAGrabberWaitingForSpace()
{
    auto grabber = std::make_unique<FrameGetter>(CountingSource());
    grabber->start();
    QTRY_VERIFY_WITH_TIMEOUT(grabber->isWaitingForSpace(), 10000);
    QVERIFY(grabber->stop());
    QVERIFY(grabber->isFinished());
    grabber.reset(); // the destructor finds it stopped
}

void tst_FrameGetter::stopEndsAGrabberWaitingForTheGuiThread()
{
    std::atomic<int> calls{ 0 };
    auto grabber = std::make_unique<FrameGetter>([&calls] {
        ++calls;
        return QImage(10, 10, QImage::Format_RGB32);
    });
    grabber->start();
    // This thread does not run its event loop, so the grabber's first request stays unanswered.
    QThread::msleep(200);
    QVERIFY(grabber->isRunning());
    QVERIFY(grabber->stop());
    QVERIFY(grabber->isFinished());
    grabber.reset(); // the pending request goes with the grabber
    QCoreApplication::processEvents();
    QCOMPARE(calls.load(), 0);
}

void tst_FrameGetter::stopBeforeStartAndTwice()
{
    FrameGetter never;
    QVERIFY(never.stop());
    FrameGetter grabber(CountingSource{});
    grabber.start();
    QVERIFY(grabber.stop());
    QVERIFY(grabber.stop());
}

QTEST_MAIN(tst_FrameGetter)
#include "tst_framegetter.moc"
