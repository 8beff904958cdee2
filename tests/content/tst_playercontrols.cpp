#include "content/playercontrols.h"

#include <QComboBox>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QtTest>

// The transport row driven by real clicks: what it emits and how it shows the player's state.
class tst_PlayerControls : public QObject
{
    Q_OBJECT

private slots:
    void initialState();
    void buttonsEmit_data();
    void buttonsEmit();
    void playButtonFollowsState_data();
    void playButtonFollowsState();
    void sameStateChangesNothing();
    void muteToggles();
    void volumeRoundTrip_data();
    void volumeRoundTrip();
    void volumeSliderEmitsLinearVolume();
    void playbackRates();
    void choosingARateEmitsIt();

private:
    static QToolButton *button(PlayerControls &controls, const char *name)
    {
        return controls.findChild<QToolButton *>(QLatin1String(name));
    }
    static bool sameIcon(const QIcon &icon, QStyle::StandardPixmap pixmap, QWidget *widget)
    {
        return icon.pixmap(16).toImage()
                == widget->style()->standardIcon(pixmap).pixmap(16).toImage();
    }
};

void tst_PlayerControls::initialState()
{
    PlayerControls controls;
    QCOMPARE(controls.state(), QMediaPlayer::StoppedState);
    QVERIFY(!controls.isMuted());
    QVERIFY(!button(controls, "stopButton")->isEnabled());
    QCOMPARE(controls.playbackRate(), 1.0);
    auto *rates = controls.findChild<QComboBox *>();
    QCOMPARE(rates->count(), 3);
    QCOMPARE(rates->currentText(), QStringLiteral("1.0x"));
    auto *slider = controls.findChild<QSlider *>();
    QCOMPARE(slider->minimum(), 0);
    QCOMPARE(slider->maximum(), 100);
}

void tst_PlayerControls::buttonsEmit_data()
{
    QTest::addColumn<QByteArray>("buttonName");
    QTest::addColumn<int>("state");
    QTest::addColumn<QByteArray>("signal");
    QTest::newRow("play when stopped")
            << QByteArray("playButton") << int(QMediaPlayer::StoppedState)
            << QByteArray(SIGNAL(play()));
    QTest::newRow("play when paused") << QByteArray("playButton") << int(QMediaPlayer::PausedState)
                                      << QByteArray(SIGNAL(play()));
    QTest::newRow("pause when playing")
            << QByteArray("playButton") << int(QMediaPlayer::PlayingState)
            << QByteArray(SIGNAL(pause()));
    QTest::newRow("stop") << QByteArray("stopButton") << int(QMediaPlayer::PlayingState)
                          << QByteArray(SIGNAL(stop()));
    QTest::newRow("next") << QByteArray("nextButton") << int(QMediaPlayer::StoppedState)
                          << QByteArray(SIGNAL(next()));
    QTest::newRow("previous") << QByteArray("previousButton") << int(QMediaPlayer::StoppedState)
                              << QByteArray(SIGNAL(previous()));
}

void tst_PlayerControls::buttonsEmit()
{
    QFETCH(QByteArray, buttonName);
    QFETCH(int, state);
    QFETCH(QByteArray, signal);
    PlayerControls controls;
    controls.show();
    controls.setState(QMediaPlayer::State(state));
    const QList<QByteArray> signalNames = { SIGNAL(play()), SIGNAL(pause()), SIGNAL(stop()),
                                            SIGNAL(next()), SIGNAL(previous()) };
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (const QByteArray &name : signalNames)
        spies.push_back(std::make_unique<QSignalSpy>(&controls, name.constData()));
    QTest::mouseClick(button(controls, buttonName), Qt::LeftButton);
    for (int i = 0; i < signalNames.size(); ++i)
        QCOMPARE(spies[i]->count(), signalNames[i] == signal ? 1 : 0);
}

void tst_PlayerControls::playButtonFollowsState_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("icon");
    QTest::addColumn<bool>("stopEnabled");
    QTest::newRow("playing") << int(QMediaPlayer::PlayingState) << int(QStyle::SP_MediaPause)
                             << true;
    QTest::newRow("paused") << int(QMediaPlayer::PausedState) << int(QStyle::SP_MediaPlay) << true;
    QTest::newRow("stopped") << int(QMediaPlayer::StoppedState) << int(QStyle::SP_MediaPlay)
                             << false;
}

void tst_PlayerControls::playButtonFollowsState()
{
    QFETCH(int, state);
    QFETCH(int, icon);
    QFETCH(bool, stopEnabled);
    PlayerControls controls;
    // Pass through another state first so that every row is a real change.
    controls.setState(state == QMediaPlayer::PlayingState ? QMediaPlayer::PausedState
                                                          : QMediaPlayer::PlayingState);
    controls.setState(QMediaPlayer::State(state));
    QCOMPARE(int(controls.state()), state);
    QToolButton *play = button(controls, "playButton");
    QVERIFY(sameIcon(play->icon(), QStyle::StandardPixmap(icon), play));
    QCOMPARE(button(controls, "stopButton")->isEnabled(), stopEnabled);
}

void tst_PlayerControls::sameStateChangesNothing()
{
    PlayerControls controls;
    QToolButton *stop = button(controls, "stopButton");
    stop->setEnabled(true); // a state the controls would not set themselves for "stopped"
    controls.setState(QMediaPlayer::StoppedState);
    QVERIFY(stop->isEnabled());
}

void tst_PlayerControls::muteToggles()
{
    PlayerControls controls;
    controls.show();
    QSignalSpy muting(&controls, &PlayerControls::changeMuting);
    QToolButton *mute = button(controls, "muteButton");
    QTest::mouseClick(mute, Qt::LeftButton);
    QCOMPARE(muting.takeFirst().first().toBool(), true);
    // The controls follow the player, not their own clicks.
    QVERIFY(!controls.isMuted());
    controls.setMuted(true);
    QVERIFY(sameIcon(mute->icon(), QStyle::SP_MediaVolumeMuted, mute));
    QTest::mouseClick(mute, Qt::LeftButton);
    QCOMPARE(muting.takeFirst().first().toBool(), false);
    controls.setMuted(false);
    QVERIFY(sameIcon(mute->icon(), QStyle::SP_MediaVolume, mute));
}

void tst_PlayerControls::volumeRoundTrip_data()
{
    QTest::addColumn<int>("volume");
    QTest::addColumn<int>("slider");
    // The toolkit's logarithmic scale reaches 0.99 at full linear volume, so the slider stops
    // one short of its end; the volume read back is still full.
    QTest::newRow("full") << 100 << 99;
    QTest::newRow("silent") << 0 << 0;
    QTest::newRow("half") << 50 << 90;
}

void tst_PlayerControls::volumeRoundTrip()
{
    QFETCH(int, volume);
    QFETCH(int, slider);
    PlayerControls controls;
    controls.setVolume(volume);
    QCOMPARE(controls.findChild<QSlider *>()->value(), slider);
    QCOMPARE(controls.volume(), volume);
}

void tst_PlayerControls::volumeSliderEmitsLinearVolume()
{
    PlayerControls controls;
    controls.show();
    auto *slider = controls.findChild<QSlider *>();
    slider->setValue(100);
    QSignalSpy volume(&controls, &PlayerControls::changeVolume);
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Home);
    QCOMPARE(volume.count(), 1);
    QCOMPARE(volume.first().first().toInt(), 0);
    QTest::keyClick(slider, Qt::Key_End);
    QCOMPARE(volume.last().first().toInt(), 100);
    slider->setValue(50);
    // Half way on the slider is far quieter than half the linear volume.
    QVERIFY(volume.last().first().toInt() < 30);
}

void tst_PlayerControls::playbackRates()
{
    PlayerControls controls;
    auto *rates = controls.findChild<QComboBox *>();
    controls.setPlaybackRate(2.0f);
    QCOMPARE(rates->currentText(), QStringLiteral("2.0x"));
    QCOMPARE(controls.playbackRate(), 2.0);
    controls.setPlaybackRate(1.5f);
    QCOMPARE(rates->count(), 4);
    QCOMPARE(rates->currentIndex(), 3);
    QCOMPARE(rates->currentText(), QStringLiteral("1.5x"));
    QCOMPARE(controls.playbackRate(), 1.5);
    controls.setPlaybackRate(0.5f);
    QCOMPARE(rates->currentIndex(), 0);
    controls.setPlaybackRate(1.5f);
    QCOMPARE(rates->count(), 4);
    QCOMPARE(rates->currentIndex(), 3);
    controls.setPlaybackRate(0.0f);
    controls.setPlaybackRate(0.0f);
    QCOMPARE(rates->count(), 5);
}

void tst_PlayerControls::choosingARateEmitsIt()
{
    PlayerControls controls;
    controls.show();
    auto *rates = controls.findChild<QComboBox *>();
    QSignalSpy rate(&controls, &PlayerControls::changeRate);
    rates->setFocus();
    QTest::keyClick(rates, Qt::Key_Down);
    QCOMPARE(rate.count(), 1);
    QCOMPARE(rate.first().first().toReal(), 2.0);
    QTest::keyClick(rates, Qt::Key_Up);
    QTest::keyClick(rates, Qt::Key_Up);
    QCOMPARE(rate.last().first().toReal(), 0.5);
}

QTEST_MAIN(tst_PlayerControls)
#include "tst_playercontrols.moc"
