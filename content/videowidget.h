#pragma once

#include <QDialog>

#include <memory>

class QMediaPlayer;
class QVideoWidget;
class Ui_VideoWidget;

// A fixed-size dialog that plays one local video file with play, stop, pause and exit buttons
// and a position slider.
class VideoWidget : public QDialog
{
    Q_OBJECT

public:
    explicit VideoWidget(const QString &file, QWidget *parent = nullptr);
    ~VideoWidget() override;

    void connectSignals(bool connectThem);
    QMediaPlayer *mediaPlayer() const { return m_player.get(); }

public slots:
    void slotPlay();
    void slotPause(bool paused);
    void slotStop();
    void slotDurationChanged(qint64 position);
    void slotPlaybackSliderMoved(int position);
    void on_buttonExit_clicked();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    Ui_VideoWidget *m_ui = nullptr;
    QVideoWidget *m_videoWidget = nullptr;
    // Without a parent, so owned here.
    std::unique_ptr<QMediaPlayer> m_player;
    QWidget *m_videoFrame = nullptr;
    QList<QMetaObject::Connection> m_connections;
};
