#include "videowidget.h"

#include "ui_videowidget.h"

#include <QCloseEvent>
#include <QDebug>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QResizeEvent>
#include <QVideoWidget>

VideoWidget::VideoWidget(const QString &file, QWidget *parent)
    : QDialog(parent), m_ui(new Ui_VideoWidget)
{
    m_ui->setupUi(this);
    setWindowTitle(QFileInfo(file).fileName());
    setWindowFlags(Qt::Window | Qt::NoDropShadowWindowHint);

    m_videoFrame = new QWidget(this);
    m_videoFrame->setStyleSheet(QStringLiteral("background-color: black;"));
    m_videoWidget = new QVideoWidget(m_videoFrame);
    m_videoWidget->setStyleSheet(QStringLiteral("background-color: black;"));

    m_player = std::make_unique<QMediaPlayer>();
    m_player->setMedia(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
    m_player->setVideoOutput(m_videoWidget);

    // Pause toggles: pressed once it pauses, pressed again it resumes.
    m_ui->buttonPause->setCheckable(true);
    // A dialog whose buttons do nothing would be of no use to anyone who opens it.
    connectSignals(true);
}

VideoWidget::~VideoWidget()
{
    m_player->stop();
    connectSignals(false);
    qDebug("delete widget");
    delete m_ui;
}

void VideoWidget::connectSignals(bool connectThem)
{
    if (!connectThem) {
        for (const QMetaObject::Connection &connection : qAsConst(m_connections))
            disconnect(connection);
        m_connections.clear();
        return;
    }
    if (!m_connections.isEmpty())
        return;
    m_connections << connect(m_ui->buttonPlay, &QPushButton::clicked, this, &VideoWidget::slotPlay)
                  << connect(m_ui->buttonPause, &QPushButton::clicked, this,
                             &VideoWidget::slotPause)
                  << connect(m_ui->buttonStop, &QPushButton::clicked, this, &VideoWidget::slotStop)
                  << connect(m_player.get(), &QMediaPlayer::positionChanged, this,
                             &VideoWidget::slotDurationChanged)
                  << connect(m_ui->sliderVolume, &QSlider::sliderMoved, this,
                             &VideoWidget::slotPlaybackSliderMoved)
                  // The duration is rarely known at the first press of play.
                  << connect(m_player.get(), &QMediaPlayer::durationChanged, this,
                             [this](qint64 duration) {
                                 m_ui->sliderVolume->setRange(0, int(duration));
                             });
}

void VideoWidget::slotPlay()
{
    m_player->setVideoOutput(m_videoWidget);
    m_ui->sliderVolume->setRange(0, int(m_player->duration()));
    m_ui->buttonPause->setChecked(false);
    qDebug("play video");
    m_player->play();
}

void VideoWidget::slotPause(bool paused)
{
    if (paused) {
        qDebug("pauseplay video");
        m_player->pause();
    } else {
        qDebug("playpause video");
        m_player->play();
    }
}

void VideoWidget::slotStop()
{
    qDebug("stop video");
    m_ui->buttonPause->setChecked(false);
    m_player->stop();
    repaint();
}

void VideoWidget::slotDurationChanged(qint64 position)
{
    m_ui->sliderVolume->setValue(int(position));
    // An unknown duration reads 0; the very first position must not count as the end.
    if (m_player->duration() > 0 && position == m_player->duration())
        slotStop();
}

void VideoWidget::slotPlaybackSliderMoved(int position)
{
    m_player->setPosition(position);
}

void VideoWidget::on_buttonExit_clicked()
{
    m_player->stop();
    close();
}

void VideoWidget::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    if (!m_videoFrame)
        return;
    const QRect area(0, 0, width(), height() - 50);
    m_videoFrame->setGeometry(area);
    m_videoWidget->setGeometry(area);
}

void VideoWidget::closeEvent(QCloseEvent *event)
{
    slotStop();
    event->accept();
}
