#include "content/videowidget.h"
#include "support/contentmedia.h"
#include "support/testsupport.h"

#include <QMediaPlayer>
#include <QPushButton>
#include <QSlider>
#include <QVideoWidget>
#include <QtTest>

// The fixed-size video dialog with a real clip: its buttons play, pause, stop and close it.
class tst_VideoWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void construction();
    void videoAreaLeavesTheButtonRow();
    void buttonsDriveThePlayer();

private:
    static QPushButton *button(QWidget &dialog, const char *name)
    {
        return dialog.findChild<QPushButton *>(QLatin1String(name));
    }
};

void tst_VideoWidget::initTestCase()
{
    TestSupport::recordConnectWarnings();
}

void tst_VideoWidget::cleanup()
{
    const QStringList warnings = TestSupport::takeConnectWarnings();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
}

void tst_VideoWidget::construction()
{
    VideoWidget dialog(QStringLiteral("/films/lesson #3.ogv"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("lesson #3.ogv"));
    QCOMPARE(dialog.minimumSize(), QSize(480, 360));
    QCOMPARE(dialog.maximumSize(), QSize(480, 360));
    QVERIFY(dialog.windowFlags() & Qt::NoDropShadowWindowHint);
    // The form names its pictures in the .ui file, out of reach of the resource literal check.
    const std::pair<const char *, const char *> buttons[] = {
        { "buttonPlay", ":/Icon/baVideoPlayer.png" },
        { "buttonStop", ":/Icon/baVideoStop.png" },
        { "buttonPause", ":/Icon/baVideoPause.png" },
        { "buttonExit", ":/Icon/close.png" },
    };
    for (const auto &[name, icon] : buttons) {
        QVERIFY2(button(dialog, name), name);
        QCOMPARE(button(dialog, name)->size(), QSize(30, 30));
        QVERIFY2(QFile::exists(QLatin1String(icon)), icon);
        QVERIFY2(!button(dialog, name)->icon().isNull(), name);
    }
    QVERIFY(!dialog.findChild<QSlider *>()->hasTracking());
}

void tst_VideoWidget::videoAreaLeavesTheButtonRow()
{
    VideoWidget dialog(QStringLiteral("/films/none.ogv"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *video = dialog.findChild<QVideoWidget *>();
    QCOMPARE(video->geometry(), QRect(0, 0, 480, 310));
    QCOMPARE(video->parentWidget()->geometry(), QRect(0, 0, 480, 310));
    QVERIFY(button(dialog, "buttonPlay")->geometry().top() >= 310);
}

void tst_VideoWidget::buttonsDriveThePlayer()
{
    if (!ContentMedia::haveFfmpeg())
        QSKIP("ffmpeg is not installed");
    QTemporaryDir dir;
    const QString clip = dir.filePath(QStringLiteral("pause & play #1.ogv"));
    const QString error = ContentMedia::makeClip(clip, 3);
    QVERIFY2(error.isEmpty(), qPrintable(error));

    auto *dialog = new VideoWidget(clip);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<VideoWidget> guard = dialog;
    dialog->show();
    QMediaPlayer *player = dialog->mediaPlayer();
    QCOMPARE(player->state(), QMediaPlayer::StoppedState); // nothing plays by itself
    QPushButton *pause = button(*dialog, "buttonPause");

    QTest::mouseClick(button(*dialog, "buttonPlay"), Qt::LeftButton);
    QTRY_COMPARE(player->state(), QMediaPlayer::PlayingState);
    QTRY_VERIFY(player->duration() > 0);
    QTRY_COMPARE(dialog->findChild<QSlider *>()->maximum(), int(player->duration()));
    QTest::mouseClick(pause, Qt::LeftButton);
    QTRY_COMPARE(player->state(), QMediaPlayer::PausedState);
    QTest::mouseClick(pause, Qt::LeftButton);
    QTRY_COMPARE(player->state(), QMediaPlayer::PlayingState);
    QTest::mouseClick(button(*dialog, "buttonStop"), Qt::LeftButton);
    QTRY_COMPARE(player->state(), QMediaPlayer::StoppedState);
    QVERIFY(!pause->isChecked());

    QTest::mouseClick(button(*dialog, "buttonPlay"), Qt::LeftButton);
    QTRY_COMPARE(player->state(), QMediaPlayer::PlayingState);
    QSignalSpy states(player, &QMediaPlayer::stateChanged);
    QTest::mouseClick(button(*dialog, "buttonExit"), Qt::LeftButton);
    QVERIFY(!states.isEmpty());
    QCOMPARE(states.last().first().value<QMediaPlayer::State>(), QMediaPlayer::StoppedState);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(guard.isNull());
}

QTEST_MAIN(tst_VideoWidget)
#include "tst_videowidget.moc"
