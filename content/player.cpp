#include "player.h"

#include "playercontrols.h"
#include "playlistmodel.h"
#include "videowidget2.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QDialog>
#include <QFormLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QListView>
#include <QMediaMetaData>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSlider>

namespace {

// Every window open at the moment, so that a video opens once however often its button is
// pressed.
QList<Player *> &openPlayers()
{
    static QList<Player *> players;
    return players;
}

QString sameFileKey(const QString &file)
{
    return QFileInfo(file).absoluteFilePath();
}

QString clockText(qint64 seconds, bool withHours)
{
    seconds = qMax<qint64>(0, seconds);
    const qint64 hours = seconds / 3600;
    const qint64 minutes = (seconds / 60) % 60;
    const qint64 rest = seconds % 60;
    const QLatin1Char zero('0');
    if (withHours)
        return QStringLiteral("%1:%2:%3")
                .arg(hours, 2, 10, zero)
                .arg(minutes, 2, 10, zero)
                .arg(rest, 2, 10, zero);
    return QStringLiteral("%1:%2").arg(minutes, 2, 10, zero).arg(rest, 2, 10, zero);
}

} // namespace

Player::Player(const QString &file, QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);

    m_player = new QMediaPlayer(this);
    m_playlist = std::make_unique<QMediaPlaylist>();
    m_player->setPlaylist(m_playlist.get());
    connect(m_player, &QMediaPlayer::durationChanged, this, &Player::durationChanged);
    connect(m_player, &QMediaPlayer::positionChanged, this, &Player::positionChanged);
    connect(m_player, QOverload<>::of(&QMediaPlayer::metaDataChanged), this,
            &Player::metaDataChanged);
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this, &Player::statusChanged);
    connect(m_player, &QMediaPlayer::bufferStatusChanged, this, &Player::bufferingProgress);
    connect(m_player, &QMediaPlayer::videoAvailableChanged, this, &Player::videoAvailableChanged);
    connect(m_player, QOverload<QMediaPlayer::Error>::of(&QMediaPlayer::error), this,
            &Player::displayErrorMessage);
    connect(m_player, &QMediaPlayer::stateChanged, this, &Player::stateChanged);

    m_fileInfo = QFileInfo(file);

    m_videoWidget = new VideoWidget2(this);
    m_player->setVideoOutput(m_videoWidget);

    m_playlistModel = new PlaylistModel(this);
    m_playlistModel->setPlaylist(m_playlist.get());
    m_playlistView = new QListView(this);
    m_playlistView->setModel(m_playlistModel);
    m_playlistView->setCurrentIndex(m_playlistModel->index(m_playlist->currentIndex(), 0));
    connect(m_playlistView, &QAbstractItemView::activated, this, &Player::jump);

    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setRange(0, int(m_player->duration() / 1000));
    m_labelDuration = new QLabel(this);
    connect(m_slider, &QSlider::sliderMoved, this, &Player::seek);

    auto *controls = new PlayerControls(this);
    controls->setState(m_player->state());
    controls->setVolume(m_player->volume());
    controls->setMuted(m_player->isMuted());
    connect(controls, &PlayerControls::play, m_player, &QMediaPlayer::play);
    connect(controls, &PlayerControls::pause, m_player, &QMediaPlayer::pause);
    connect(controls, &PlayerControls::stop, m_player, &QMediaPlayer::stop);
    connect(controls, &PlayerControls::next, m_playlist.get(), &QMediaPlaylist::next);
    connect(controls, &PlayerControls::previous, this, &Player::previousClicked);
    connect(controls, &PlayerControls::changeVolume, m_player, &QMediaPlayer::setVolume);
    connect(controls, &PlayerControls::changeMuting, m_player, &QMediaPlayer::setMuted);
    connect(controls, &PlayerControls::changeRate, m_player, &QMediaPlayer::setPlaybackRate);
    connect(controls, &PlayerControls::stop, m_videoWidget, QOverload<>::of(&QWidget::update));
    connect(m_player, &QMediaPlayer::stateChanged, controls, &PlayerControls::setState);
    connect(m_player, &QMediaPlayer::volumeChanged, controls, &PlayerControls::setVolume);
    connect(m_player, &QMediaPlayer::mutedChanged, controls, &PlayerControls::setMuted);

    m_fullScreenButton = new QPushButton(tr("FullScreen"), this);
    m_fullScreenButton->setCheckable(true);

    auto *displayLayout = new QHBoxLayout;
    m_videoWidget->setFixedSize(300, 300);
    displayLayout->addWidget(m_videoWidget, 2);
    // Takes the video's place when the file cannot be played: a black square says nothing.
    m_unplayable = new QLabel(this);
    m_unplayable->setObjectName(QStringLiteral("unplayable"));
    m_unplayable->setFixedSize(m_videoWidget->size());
    m_unplayable->setAlignment(Qt::AlignCenter);
    m_unplayable->setWordWrap(true);
    m_unplayable->hide();
    displayLayout->addWidget(m_unplayable, 2);

    auto *controlLayout = new QHBoxLayout;
    controlLayout->setContentsMargins(0, 0, 0, 0);
    controlLayout->addStretch(1);
    controlLayout->addWidget(controls);
    controlLayout->addStretch(1);
    controlLayout->addWidget(m_fullScreenButton);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(displayLayout);
    auto *sliderLayout = new QHBoxLayout;
    sliderLayout->addWidget(m_slider);
    sliderLayout->addWidget(m_labelDuration);
    layout->addLayout(sliderLayout);
    layout->addLayout(controlLayout);

    if (!isPlayerAvailable()) {
        QMessageBox::warning(this, tr("Service not available"),
                             tr("The QMediaPlayer object does not have a valid service.\n"
                                "Please check the media service plugins are installed."));
        controls->setEnabled(false);
        m_playlistView->setEnabled(false);
        m_fullScreenButton->setEnabled(false);
    }

    metaDataChanged();
    // fromLocalFile, not "file://" + path: a '#', '?' or '%' in a file name is part of the name.
    if (!file.isEmpty())
        addToPlaylist({ QUrl::fromLocalFile(m_fileInfo.absoluteFilePath()) });

    // A second window for the same video replaces the first instead of piling up beside it.
    const QString key = sameFileKey(file);
    const QList<Player *> others = openPlayers();
    for (Player *other : others) {
        if (sameFileKey(other->fileName()) == key)
            other->close();
    }
    openPlayers().append(this);
}

Player::~Player()
{
    openPlayers().removeAll(this);
    m_player->stop();
    // The player is a child and outlives this body; it must not keep a deleted playlist.
    m_player->setPlaylist(nullptr);
}

Player *Player::showFor(const QString &file, const QPoint &screenPosition)
{
    Player *window = nullptr;
    const QString key = sameFileKey(file);
    for (Player *open : openPlayers()) {
        if (sameFileKey(open->fileName()) == key)
            window = open;
    }
    if (!window)
        window = new Player(file, nullptr);
    window->show();
    moveOntoScreen(window, screenPosition);
    window->raise();
    window->activateWindow();
    return window;
}

void Player::moveOntoScreen(QWidget *window, const QPoint &position)
{
    QScreen *screen = QGuiApplication::screenAt(position);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen) {
        window->move(position);
        return;
    }
    const QRect area = screen->availableGeometry();
    // The frame the window manager adds counts: the title bar and borders are the window too.
    const QSize outer = window->frameGeometry().size().expandedTo(window->size());
    const int x = qMax(area.left(), qMin(position.x(), area.right() + 1 - outer.width()));
    const int y = qMax(area.top(), qMin(position.y(), area.bottom() + 1 - outer.height()));
    window->move(x, y);
}

QString Player::unplayableText()
{
    return tr("No se puede reproducir este archivo");
}

bool Player::isPlayerAvailable() const
{
    return m_player->isAvailable();
}

void Player::open() { }

void Player::addToPlaylist(const QList<QUrl> &urls)
{
    for (const QUrl &url : urls) {
        const QFileInfo fileInfo(url.toLocalFile());
        if (url.isLocalFile() && fileInfo.exists()
            && fileInfo.suffix().compare(QLatin1String("m3u"), Qt::CaseInsensitive) == 0)
            m_playlist->load(url);
        else
            m_playlist->addMedia(url);
    }
}

void Player::durationChanged(qint64 duration)
{
    m_duration = duration / 1000;
    m_slider->setMaximum(int(m_duration));
}

void Player::positionChanged(qint64 progress)
{
    // While the user holds the slider, the slider is theirs; only the label follows playback.
    if (!m_slider->isSliderDown())
        m_slider->setValue(int(progress / 1000));
    updateDurationInfo(progress / 1000);
}

void Player::metaDataChanged()
{
    if (!m_player->isMetaDataAvailable())
        return;
    setTrackInfo(QStringLiteral("%1 - %2").arg(
            m_player->metaData(QMediaMetaData::AlbumArtist).toString(),
            m_player->metaData(QMediaMetaData::Title).toString()));
}

void Player::previousClicked()
{
    // Within the first five seconds "previous" means the item before; later it restarts this one.
    if (m_player->position() <= 5000)
        m_playlist->previous();
    else
        m_player->setPosition(0);
}

void Player::jump(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    m_playlist->setCurrentIndex(index.row());
    m_player->play();
}

void Player::playlistPositionChanged(int currentItem)
{
    m_playlistView->setCurrentIndex(m_playlistModel->index(currentItem, 0));
}

void Player::seek(int seconds)
{
    m_player->setPosition(qint64(seconds) * 1000);
}

void Player::statusChanged(QMediaPlayer::MediaStatus status)
{
    handleCursor(status);
    switch (status) {
    case QMediaPlayer::LoadedMedia:
    case QMediaPlayer::BufferingMedia:
    case QMediaPlayer::BufferedMedia:
        showUnplayable(false); // a later item of the list plays again
        setStatusInfo(QString());
        break;
    case QMediaPlayer::UnknownMediaStatus:
    case QMediaPlayer::NoMedia:
        setStatusInfo(QString());
        break;
    case QMediaPlayer::LoadingMedia:
        setStatusInfo(tr("Loading..."));
        break;
    case QMediaPlayer::StalledMedia:
        setStatusInfo(tr("Media Stalled"));
        break;
    case QMediaPlayer::EndOfMedia:
        QApplication::alert(this, 0);
        break;
    case QMediaPlayer::InvalidMedia:
        displayErrorMessage();
        break;
    }
}

void Player::stateChanged(QMediaPlayer::State state)
{
    Q_UNUSED(state);
}

void Player::handleCursor(QMediaPlayer::MediaStatus status)
{
    if (status == QMediaPlayer::LoadingMedia || status == QMediaPlayer::BufferingMedia
        || status == QMediaPlayer::StalledMedia)
        setCursor(QCursor(Qt::BusyCursor));
    else
        unsetCursor();
}

void Player::bufferingProgress(int progress)
{
    setStatusInfo(tr("Buffering %4%").arg(progress));
}

void Player::videoAvailableChanged(bool available)
{
    if (!available) {
        disconnect(m_fullScreenButton, &QPushButton::clicked, m_videoWidget,
                   &QVideoWidget::setFullScreen);
        disconnect(m_videoWidget, &QVideoWidget::fullScreenChanged, m_fullScreenButton,
                   &QPushButton::setChecked);
        m_videoWidget->setFullScreen(false);
    } else {
        connect(m_fullScreenButton, &QPushButton::clicked, m_videoWidget,
                &QVideoWidget::setFullScreen, Qt::UniqueConnection);
        connect(m_videoWidget, &QVideoWidget::fullScreenChanged, m_fullScreenButton,
                &QPushButton::setChecked, Qt::UniqueConnection);
        if (m_fullScreenButton->isChecked())
            m_videoWidget->setFullScreen(true);
    }
}

void Player::setTrackInfo(const QString &info)
{
    m_trackInfo = info;
    if (!m_statusInfo.isEmpty())
        setWindowTitle(QStringLiteral("%1 | %2").arg(m_trackInfo, m_statusInfo));
    else
        setWindowTitle(m_trackInfo);
}

void Player::setStatusInfo(const QString &info)
{
    m_statusInfo = info;
    if (!m_statusInfo.isEmpty())
        setWindowTitle(QStringLiteral("%1 | %2").arg(m_trackInfo, m_statusInfo));
    else
        setWindowTitle(m_trackInfo);
}

void Player::displayErrorMessage()
{
    setStatusInfo(m_player->errorString());
    showUnplayable(true);
}

void Player::showUnplayable(bool unplayable)
{
    if (unplayable) {
        const QString name = m_player->currentMedia().request().url().fileName();
        m_unplayable->setText(unplayableText() + QStringLiteral("\n\n")
                              + (name.isEmpty() ? m_fileInfo.fileName() : name));
    }
    m_unplayable->setVisible(unplayable);
    m_videoWidget->setVisible(!unplayable);
}

QString Player::durationText(qint64 positionSeconds, qint64 durationSeconds)
{
    if (!positionSeconds && !durationSeconds)
        return QString();
    const bool withHours = durationSeconds >= 3600;
    return clockText(positionSeconds, withHours) + QLatin1String(" / ")
            + clockText(durationSeconds, withHours);
}

void Player::updateDurationInfo(qint64 currentInfo)
{
    m_labelDuration->setText(durationText(currentInfo, m_duration));
}

void Player::showColorDialog()
{
    if (!m_colorDialog) {
        const auto makeSlider = [this](int value, void (QVideoWidget::*setter)(int),
                                       void (QVideoWidget::*changed)(int)) {
            auto *slider = new QSlider(Qt::Horizontal);
            slider->setRange(-100, 100);
            slider->setValue(value);
            connect(slider, &QSlider::sliderMoved, m_videoWidget, setter);
            connect(m_videoWidget, changed, slider, &QSlider::setValue);
            return slider;
        };
        QSlider *brightness = makeSlider(m_videoWidget->brightness(), &QVideoWidget::setBrightness,
                                         &QVideoWidget::brightnessChanged);
        QSlider *contrast = makeSlider(m_videoWidget->contrast(), &QVideoWidget::setContrast,
                                       &QVideoWidget::contrastChanged);
        QSlider *hue =
                makeSlider(m_videoWidget->hue(), &QVideoWidget::setHue, &QVideoWidget::hueChanged);
        QSlider *saturation = makeSlider(m_videoWidget->saturation(), &QVideoWidget::setSaturation,
                                         &QVideoWidget::saturationChanged);

        auto *layout = new QFormLayout;
        layout->addRow(tr("Brightness"), brightness);
        layout->addRow(tr("Contrast"), contrast);
        layout->addRow(tr("Hue"), hue);
        layout->addRow(tr("Saturation"), saturation);

        auto *button = new QPushButton(tr("Close"));
        layout->addRow(button);

        m_colorDialog = new QDialog(this);
        m_colorDialog->setWindowTitle(tr("Color Options"));
        m_colorDialog->setLayout(layout);
        connect(button, &QPushButton::clicked, m_colorDialog, &QDialog::close);
    }
    m_colorDialog->show();
}

void Player::closeEvent(QCloseEvent *event)
{
    m_player->stop();
    QWidget::closeEvent(event);
}
