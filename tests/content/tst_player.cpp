#include "content/player.h"
#include "content/playercontrols.h"
#include "content/playlistmodel.h"
#include "content/videowidget2.h"
#include "support/contentmedia.h"
#include "support/testsupport.h"

#include <QLabel>
#include <QListView>
#include <QMediaPlayer>
#include <QMediaPlaylist>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QToolButton>
#include <QtTest>

// The media player window with real clips made by ffmpeg: what it plays, how it is closed, and
// what its title, label and slider show.
class tst_Player : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void awkwardFileNameIsPlayable();
    void upperCaseM3uLoadsAsPlaylist();
    void closingStopsPlaybackAndDeletesTheWindow();
    void secondOpenDoesNotPileUpWindows();
    void opensWhollyOnTheScreen_data();
    void opensWhollyOnTheScreen();
    void statusShowsInTitleAndCursor_data();
    void statusShowsInTitleAndCursor();
    void durationText_data();
    void durationText();
    void heldSliderOnlyUpdatesLabel();
    void previousRestartsAfterFiveSeconds();
    void activatingAnItemPlaysIt();
    void fullScreenButtonFollowsVideo();
    void classroomFormatsShowTheirPicture_data();
    void classroomFormatsShowTheirPicture();
    void unplayableFileSaysSo();
    void classroomSoundsPlay_data();
    void classroomSoundsPlay();

private:
    void requireClips();
    static QMediaPlayer *mediaPlayer(Player &window) { return window.findChild<QMediaPlayer *>(); }
    static int openWindows()
    {
        int count = 0;
        for (QWidget *widget : QApplication::topLevelWidgets())
            count += qobject_cast<Player *>(widget) ? 1 : 0;
        return count;
    }
    static void flushDeletes()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QTemporaryDir m_dir;
    QString m_shortClip; // one second, with a blank and a '#' in its name
    QString m_longClip; // seven seconds
    QString m_clipError;
};

void tst_Player::initTestCase()
{
    TestSupport::recordConnectWarnings();
    QVERIFY(m_dir.isValid());
    if (!ContentMedia::haveFfmpeg())
        return;
    m_shortClip = m_dir.filePath(QStringLiteral("clip one #1.ogv"));
    m_longClip = m_dir.filePath(QStringLiteral("long clip.ogv"));
    m_clipError = ContentMedia::makeClip(m_shortClip, 1);
    if (m_clipError.isEmpty())
        m_clipError = ContentMedia::makeClip(m_longClip, 7);
}

void tst_Player::cleanup()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<Player *>(widget))
            widget->close();
    }
    flushDeletes();
    QCOMPARE(openWindows(), 0);
    const QStringList warnings = TestSupport::takeConnectWarnings();
    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
}

void tst_Player::requireClips()
{
    if (!ContentMedia::haveFfmpeg())
        QSKIP("ffmpeg is not installed");
    QVERIFY2(m_clipError.isEmpty(), qPrintable(m_clipError));
}

void tst_Player::awkwardFileNameIsPlayable()
{
    requireClips();
    auto *window = new Player(m_shortClip, nullptr);
    QVERIFY(window->isPlayerAvailable());
    auto *model = window->findChild<PlaylistModel *>();
    QVERIFY(model);
    QCOMPARE(model->rowCount(), 1);
    QCOMPARE(model->data(model->index(0, 0)).toString(), QStringLiteral("clip one #1.ogv"));
    QCOMPARE(model->playlist()->media(0).request().url().toLocalFile(), m_shortClip);
    QMediaPlayer *player = mediaPlayer(*window);
    QCOMPARE(player->state(), QMediaPlayer::StoppedState); // nothing plays by itself
    window->show();
    QTest::mouseClick(window->findChild<QToolButton *>(QStringLiteral("playButton")),
                      Qt::LeftButton);
    // A "file://" + path URL would cut the name at '#' and the clip would be invalid media.
    QTRY_VERIFY(player->mediaStatus() == QMediaPlayer::BufferedMedia
                || player->mediaStatus() == QMediaPlayer::EndOfMedia
                || player->mediaStatus() == QMediaPlayer::InvalidMedia);
    QVERIFY2(player->mediaStatus() != QMediaPlayer::InvalidMedia,
             qPrintable(player->errorString()));
    QCOMPARE(player->duration() / 1000, qint64(1));
    QVERIFY(!window->windowTitle().contains(QLatin1Char('|')));
    window->close();
}

void tst_Player::upperCaseM3uLoadsAsPlaylist()
{
    requireClips();
    const QString listPath = m_dir.filePath(QStringLiteral("lesson.M3U"));
    QFile list(listPath);
    QVERIFY(list.open(QIODevice::WriteOnly | QIODevice::Text));
    list.write(QUrl::fromLocalFile(m_shortClip).toEncoded() + '\n');
    list.write(QUrl::fromLocalFile(m_longClip).toEncoded() + '\n');
    list.close();

    auto *window = new Player(listPath, nullptr);
    auto *model = window->findChild<PlaylistModel *>();
    QTRY_COMPARE(model->rowCount(), 2);
    QCOMPARE(model->data(model->index(0, 0)).toString(), QStringLiteral("clip one #1.ogv"));
    QCOMPARE(model->data(model->index(1, 0)).toString(), QStringLiteral("long clip.ogv"));
    window->close();
}

void tst_Player::closingStopsPlaybackAndDeletesTheWindow()
{
    requireClips();
    QPointer<Player> window = new Player(m_longClip, nullptr);
    window->show();
    QMediaPlayer *player = mediaPlayer(*window);
    QSignalSpy states(player, &QMediaPlayer::stateChanged);
    QTest::mouseClick(window->findChild<QToolButton *>(QStringLiteral("playButton")),
                      Qt::LeftButton);
    QTRY_COMPARE(player->state(), QMediaPlayer::PlayingState);
    QVERIFY(window->findChild<QToolButton *>(QStringLiteral("stopButton"))->isEnabled());

    QVERIFY(window->close());
    QCOMPARE(states.last().first().value<QMediaPlayer::State>(), QMediaPlayer::StoppedState);
    flushDeletes();
    QVERIFY(window.isNull());
}

void tst_Player::secondOpenDoesNotPileUpWindows()
{
    requireClips();
    Player *first = Player::showFor(m_shortClip, QPoint(40, 50));
    QVERIFY(first->isVisible());
    QCOMPARE(first->pos(), QPoint(40, 50));
    Player *again = Player::showFor(m_shortClip, QPoint(70, 80));
    QCOMPARE(again, first);
    QCOMPARE(again->pos(), QPoint(70, 80));
    QCOMPARE(openWindows(), 1);

    // Another video gets its own window.
    Player *other = Player::showFor(m_longClip, QPoint(0, 0));
    QVERIFY(other != first);
    QCOMPARE(openWindows(), 2);

    // Built directly, as a media button may do, a new window replaces the old one of its file.
    QPointer<Player> old = first;
    auto *replacement = new Player(m_shortClip, nullptr);
    replacement->show();
    flushDeletes();
    QVERIFY(old.isNull());
    QCOMPARE(openWindows(), 2);
}

void tst_Player::opensWhollyOnTheScreen_data()
{
    QTest::addColumn<QPoint>("asked"); // from the screen's bottom-right corner when negative
    QTest::addColumn<QPoint>("shown"); // the same; -1: flush with that edge
    QTest::newRow("where asked") << QPoint(40, 50) << QPoint(40, 50);
    QTest::newRow("video low on the board") << QPoint(40, -60) << QPoint(40, -1);
    QTest::newRow("video at the right edge") << QPoint(-30, 50) << QPoint(-1, 50);
    QTest::newRow("beyond the corner") << QPoint(-5, -5) << QPoint(-1, -1);
}

// A player asked for low or far right on the board opens as near as it can with all of it,
// buttons included, on the screen.
void tst_Player::opensWhollyOnTheScreen()
{
    QFETCH(QPoint, asked);
    QFETCH(QPoint, shown);
    requireClips();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const auto onScreen = [&screen](int value, int edge) {
        return value < 0 ? edge + 1 + value : value;
    };
    Player *window = Player::showFor(
            m_shortClip,
            QPoint(onScreen(asked.x(), screen.right()), onScreen(asked.y(), screen.bottom())));
    const QRect frame = window->frameGeometry();
    QVERIFY(screen.contains(frame));
    if (shown.x() >= 0)
        QCOMPARE(frame.x(), shown.x());
    else
        QCOMPARE(frame.right(), screen.right());
    if (shown.y() >= 0)
        QCOMPARE(frame.y(), shown.y());
    else
        QCOMPARE(frame.bottom(), screen.bottom());
    window->close();
}

void tst_Player::statusShowsInTitleAndCursor_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("busy");
    QTest::newRow("loading") << int(QMediaPlayer::LoadingMedia) << " | Loading..." << true;
    QTest::newRow("stalled") << int(QMediaPlayer::StalledMedia) << " | Media Stalled" << true;
    QTest::newRow("buffering") << int(QMediaPlayer::BufferingMedia) << "" << true;
    QTest::newRow("buffered") << int(QMediaPlayer::BufferedMedia) << "" << false;
    QTest::newRow("loaded") << int(QMediaPlayer::LoadedMedia) << "" << false;
    QTest::newRow("no media") << int(QMediaPlayer::NoMedia) << "" << false;
    QTest::newRow("end keeps status")
            << int(QMediaPlayer::EndOfMedia) << " | Buffering 40%" << false;
}

void tst_Player::statusShowsInTitleAndCursor()
{
    QFETCH(int, status);
    QFETCH(QString, title);
    QFETCH(bool, busy);
    Player window(QString(), nullptr);
    window.bufferingProgress(40);
    QCOMPARE(window.windowTitle(), QStringLiteral(" | Buffering 40%"));
    window.statusChanged(QMediaPlayer::MediaStatus(status));
    QCOMPARE(window.windowTitle(), title);
    QCOMPARE(window.cursor().shape(), busy ? Qt::BusyCursor : Qt::ArrowCursor);
}

void tst_Player::durationText_data()
{
    QTest::addColumn<qint64>("position");
    QTest::addColumn<qint64>("duration");
    QTest::addColumn<QString>("text");
    QTest::newRow("nothing") << qint64(0) << qint64(0) << QString();
    QTest::newRow("start") << qint64(0) << qint64(7) << "00:00 / 00:07";
    QTest::newRow("under an hour") << qint64(75) << qint64(3599) << "01:15 / 59:59";
    QTest::newRow("an hour") << qint64(5) << qint64(3600) << "00:00:05 / 01:00:00";
    QTest::newRow("a day and more") << qint64(90061) << qint64(90061) << "25:01:01 / 25:01:01";
}

void tst_Player::durationText()
{
    QFETCH(qint64, position);
    QFETCH(qint64, duration);
    QFETCH(QString, text);
    QCOMPARE(Player::durationText(position, duration), text);

    // The same through the window's label, as the player reports in milliseconds.
    Player window(QString(), nullptr);
    window.durationChanged(duration * 1000 + 999);
    window.positionChanged(position * 1000 + 999);
    QCOMPARE(window.findChild<QLabel *>()->text(), text);
    QCOMPARE(window.findChild<QSlider *>()->maximum(), int(duration));
}

void tst_Player::heldSliderOnlyUpdatesLabel()
{
    Player window(QString(), nullptr);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.durationChanged(60000);
    window.positionChanged(10000);
    auto *slider = window.findChild<QSlider *>();
    auto *label = window.findChild<QLabel *>();
    QCOMPARE(slider->value(), 10);

    // Press on the handle, as a user starting to drag it.
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    const QRect handle = slider->style()->subControlRect(QStyle::CC_Slider, &option,
                                                         QStyle::SC_SliderHandle, slider);
    QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, handle.center());
    QVERIFY(slider->isSliderDown());
    window.positionChanged(20000);
    QCOMPARE(slider->value(), 10);
    QCOMPARE(label->text(), QStringLiteral("00:20 / 01:00"));
    QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, handle.center());
    window.positionChanged(21000);
    QCOMPARE(slider->value(), 21);
}

void tst_Player::previousRestartsAfterFiveSeconds()
{
    requireClips();
    auto *window = new Player(m_shortClip, nullptr);
    window->addToPlaylist({ QUrl::fromLocalFile(m_longClip) });
    QMediaPlayer *player = mediaPlayer(*window);
    QMediaPlaylist *playlist = window->findChild<PlaylistModel *>()->playlist();
    playlist->setCurrentIndex(1);
    QTRY_COMPARE(player->mediaStatus(), QMediaPlayer::LoadedMedia);
    QTRY_COMPARE(player->duration() / 1000, qint64(7));
    auto *previous = window->findChild<QToolButton *>(QStringLiteral("previousButton"));

    player->setPosition(5001);
    QTRY_COMPARE(player->position(), qint64(5001));
    QTest::mouseClick(previous, Qt::LeftButton);
    QCOMPARE(playlist->currentIndex(), 1);
    QTRY_COMPARE(player->position(), qint64(0));

    player->setPosition(5000);
    QTRY_COMPARE(player->position(), qint64(5000));
    QTest::mouseClick(previous, Qt::LeftButton);
    QCOMPARE(playlist->currentIndex(), 0);
    window->close();
}

void tst_Player::activatingAnItemPlaysIt()
{
    requireClips();
    auto *window = new Player(m_shortClip, nullptr);
    window->addToPlaylist({ QUrl::fromLocalFile(m_longClip) });
    window->show();
    QMediaPlayer *player = mediaPlayer(*window);
    auto *view = window->findChild<QListView *>();
    QCOMPARE(view->model()->rowCount(), 2);
    view->setFocus();
    view->setCurrentIndex(view->model()->index(1, 0));
    QTest::keyClick(view, Qt::Key_Return);
    QMediaPlaylist *playlist = window->findChild<PlaylistModel *>()->playlist();
    QCOMPARE(playlist->currentIndex(), 1);
    QTRY_COMPARE(player->state(), QMediaPlayer::PlayingState);
    QTRY_COMPARE(player->duration() / 1000, qint64(7));
    window->close();
}

void tst_Player::fullScreenButtonFollowsVideo()
{
    Player window(QString(), nullptr);
    window.show();
    auto *button = window.findChild<QPushButton *>();
    auto *video = window.findChild<VideoWidget2 *>();
    QCOMPARE(button->text(), QStringLiteral("FullScreen"));
    QVERIFY(button->isCheckable());

    // Without video the button does nothing to the video widget.
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(button->isChecked());
    QVERIFY(!video->isFullScreen());

    // Video arrives with the button already down: straight to full screen.
    window.videoAvailableChanged(true);
    QVERIFY(video->isFullScreen());
    window.videoAvailableChanged(true); // a repeated report must not link twice
    QTest::keyClick(video, Qt::Key_Escape);
    QVERIFY(!video->isFullScreen());
    QVERIFY(!button->isChecked());
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(video->isFullScreen());

    window.videoAvailableChanged(false);
    QVERIFY(!video->isFullScreen());
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(!video->isFullScreen());
}

void tst_Player::classroomFormatsShowTheirPicture_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("codec");
    QTest::newRow("MP4, H.264") << "clip.mp4"
                                << QStringList{ "-c:v", "libx264", "-pix_fmt", "yuv420p" };
    QTest::newRow("WebM, VP8") << "clip.webm" << QStringList{ "-c:v", "libvpx", "-b:v", "200k" };
}

void tst_Player::classroomFormatsShowTheirPicture()
{
    QFETCH(QString, name);
    QFETCH(QStringList, codec);
    if (!ContentMedia::haveFfmpeg())
        QSKIP("ffmpeg is not installed");
    const QString path = m_dir.filePath(name);
    const QString made = ContentMedia::makeVideo(path, codec, 2);
    QVERIFY2(made.isEmpty(), qPrintable(made));

    auto *window = new Player(path, nullptr);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QMediaPlayer *player = mediaPlayer(*window);
    player->play();
    QTRY_VERIFY_WITH_TIMEOUT(player->position() >= 300
                                     || player->mediaStatus() == QMediaPlayer::InvalidMedia
                                     || player->error() != QMediaPlayer::NoError,
                             10000);
    QVERIFY2(player->error() == QMediaPlayer::NoError, qPrintable(player->errorString()));
    player->pause();
    // The test picture's colour bars, not black: most of what the video shows is bright.
    auto *video = window->findChild<QVideoWidget *>();
    QVERIFY(video && video->isVisible());
    int bright = 0;
    int total = 0;
    QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                const QImage shown = video->grab().toImage();
                bright = 0;
                total = 0;
                for (int y = 0; y < shown.height(); y += 4) {
                    for (int x = 0; x < shown.width(); x += 4, ++total)
                        bright += qGray(shown.pixel(x, y)) > 60 ? 1 : 0;
                }
                return bright * 4 > total;
            }(),
            5000);
    QVERIFY(!window->findChild<QLabel *>(QStringLiteral("unplayable"))->isVisible());
    window->close();
}

void tst_Player::unplayableFileSaysSo()
{
    const QString path = m_dir.filePath(QStringLiteral("broken.mp4"));
    QFile broken(path);
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write(QByteArray(4096, 'x'));
    broken.close();
    auto *window = new Player(path, nullptr);
    window->show();
    mediaPlayer(*window)->play();
    auto *message = window->findChild<QLabel *>(QStringLiteral("unplayable"));
    QVERIFY(message);
    QTRY_VERIFY_WITH_TIMEOUT(message->isVisible(), 10000);
    QVERIFY(message->text().startsWith(QStringLiteral("No se puede reproducir este archivo")));
    QVERIFY(message->text().contains(QStringLiteral("broken.mp4")));
    QVERIFY(!window->findChild<QVideoWidget *>()->isVisible());
    window->close();
}

void tst_Player::classroomSoundsPlay_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("MP3") << "tone.mp3";
    QTest::newRow("WAV") << "tone.wav";
    QTest::newRow("OGG") << "tone.ogg";
}

void tst_Player::classroomSoundsPlay()
{
    QFETCH(QString, name);
    if (!ContentMedia::haveFfmpeg())
        QSKIP("ffmpeg is not installed");
    const QString path = m_dir.filePath(name);
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 { "-y", "-nostdin", "-loglevel", "error", "-f", "lavfi", "-i",
                   "sine=frequency=440:duration=2", path });
    QVERIFY(ffmpeg.waitForFinished(30000) && ffmpeg.exitCode() == 0);
    auto *window = new Player(path, nullptr);
    window->show();
    QMediaPlayer *player = mediaPlayer(*window);
    player->setMuted(true);
    player->play();
    QTRY_VERIFY_WITH_TIMEOUT(player->position() >= 200
                                     || player->mediaStatus() == QMediaPlayer::InvalidMedia
                                     || player->error() != QMediaPlayer::NoError,
                             10000);
    QVERIFY2(player->error() == QMediaPlayer::NoError, qPrintable(player->errorString()));
    QCOMPARE((player->duration() + 500) / 1000, qint64(2));
    QVERIFY(!window->findChild<QLabel *>(QStringLiteral("unplayable"))->isVisible());
    window->close();
}

QTEST_MAIN(tst_Player)
#include "tst_player.moc"
