#pragma once

#include <QFileInfo>
#include <QMediaPlayer>
#include <QMediaPlaylist>
#include <QWidget>

#include <memory>

class QAbstractItemView;
class QDialog;
class QLabel;
class QListView;
class QModelIndex;
class QPushButton;
class QSlider;
class PlaylistModel;
class VideoWidget2;

// The window in which a board video is played: the video, a position slider with its time
// label, the transport controls and a full-screen button. Closing the window stops playback
// and deletes it; one window per file is open at a time.
class Player : public QWidget
{
    Q_OBJECT

public:
    explicit Player(const QString &file, QWidget *parent = nullptr);
    ~Player() override;

    // What the media button of a video object calls: brings forward the window already open
    // for this file, or opens a new one, at the given screen position.
    static Player *showFor(const QString &file, const QPoint &screenPosition);
    // Moves a shown top-level window to position, or as near to it as keeps the whole window
    // (its frame included) on the screen that holds position: its buttons stay in reach.
    static void moveOntoScreen(QWidget *window, const QPoint &position);
    // What the window says of a file it cannot play; the board says the same when such a file
    // is chosen.
    static QString unplayableText();

    bool isPlayerAvailable() const;
    void addToPlaylist(const QList<QUrl> &urls);
    QString fileName() const { return m_fileInfo.filePath(); }

    // The time label's text for a position and a duration in whole seconds: "mm:ss / mm:ss",
    // with hours when the duration reaches an hour; empty when both are 0.
    static QString durationText(qint64 positionSeconds, qint64 durationSeconds);

public slots:
    void open();
    void durationChanged(qint64 duration);
    void positionChanged(qint64 progress);
    void metaDataChanged();
    void previousClicked();
    void seek(int seconds);
    void jump(const QModelIndex &index);
    void playlistPositionChanged(int currentItem);
    void statusChanged(QMediaPlayer::MediaStatus status);
    void stateChanged(QMediaPlayer::State state);
    void bufferingProgress(int progress);
    void videoAvailableChanged(bool available);
    void displayErrorMessage();
    void showColorDialog();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void setTrackInfo(const QString &info);
    void setStatusInfo(const QString &info);
    void handleCursor(QMediaPlayer::MediaStatus status);
    void updateDurationInfo(qint64 currentInfo);
    // The message that replaces the video when the current file cannot be played.
    void showUnplayable(bool unplayable);

    QMediaPlayer *m_player = nullptr;
    // Owned here: a playlist is no child of the player, and nothing else deletes it.
    std::unique_ptr<QMediaPlaylist> m_playlist;
    VideoWidget2 *m_videoWidget = nullptr;
    QSlider *m_slider = nullptr;
    QLabel *m_labelDuration = nullptr;
    QLabel *m_unplayable = nullptr;
    QPushButton *m_fullScreenButton = nullptr;
    QDialog *m_colorDialog = nullptr;
    PlaylistModel *m_playlistModel = nullptr;
    QListView *m_playlistView = nullptr;
    QString m_trackInfo;
    QString m_statusInfo;
    qint64 m_duration = 0;
    QFileInfo m_fileInfo;
};
