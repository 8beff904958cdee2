#include "content/videowidget2.h"

#include <QtTest>

// Full screen by double-click and keys, and which keys the video output leaves to others.
class tst_VideoWidget2 : public QObject
{
    Q_OBJECT

private slots:
    void doubleClickTogglesFullScreen();
    void keys_data();
    void keys();

private:
    static bool sendKey(QWidget *widget, int key, Qt::KeyboardModifiers modifiers)
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(widget, &event);
        return event.isAccepted();
    }
};

void tst_VideoWidget2::doubleClickTogglesFullScreen()
{
    VideoWidget2 video;
    video.resize(200, 150);
    video.show();
    QVERIFY(QTest::qWaitForWindowExposed(&video));
    QSignalSpy changes(&video, &QVideoWidget::fullScreenChanged);
    QTest::mouseDClick(&video, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    QVERIFY(video.isFullScreen());
    QTest::mouseDClick(&video, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    QVERIFY(!video.isFullScreen());
    QCOMPARE(changes.count(), 2);
}

void tst_VideoWidget2::keys_data()
{
    QTest::addColumn<bool>("fullScreenBefore");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("fullScreenAfter");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("Escape leaves full screen")
            << true << int(Qt::Key_Escape) << int(Qt::NoModifier) << false << true;
    QTest::newRow("Escape when not full screen is not used")
            << false << int(Qt::Key_Escape) << int(Qt::NoModifier) << false << false;
    QTest::newRow("Alt+Enter enters")
            << false << int(Qt::Key_Enter) << int(Qt::AltModifier) << true << true;
    QTest::newRow("Alt+Enter leaves")
            << true << int(Qt::Key_Enter) << int(Qt::AltModifier) << false << true;
    QTest::newRow("Enter alone is not used")
            << false << int(Qt::Key_Enter) << int(Qt::NoModifier) << false << false;
    QTest::newRow("a letter is not used")
            << true << int(Qt::Key_A) << int(Qt::NoModifier) << true << false;
}

void tst_VideoWidget2::keys()
{
    QFETCH(bool, fullScreenBefore);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, fullScreenAfter);
    QFETCH(bool, accepted);
    VideoWidget2 video;
    video.resize(200, 150);
    video.show();
    video.setFullScreen(fullScreenBefore);
    QCOMPARE(video.isFullScreen(), fullScreenBefore);
    QCOMPARE(sendKey(&video, key, Qt::KeyboardModifiers(modifiers)), accepted);
    QCOMPARE(video.isFullScreen(), fullScreenAfter);
}

QTEST_MAIN(tst_VideoWidget2)
#include "tst_videowidget2.moc"
