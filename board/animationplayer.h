#pragma once

#include "pictures/picturereading.h"

#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QTimer>

class QLabel;

// An animation played on a label from its frames, all decoded at once apart from the board
// (PictureReading::readAnimation): the label shows one frame after another, each for its
// delay, looping as the file says. It belongs to the label.
class AnimationPlayer : public QObject
{
    Q_OBJECT

public:
    AnimationPlayer(const QString &file, const PictureReading::Animation &animation,
                    QLabel *label);

    // The player of a label made by DGGifItem::makeAnimation; null for any other label.
    static AnimationPlayer *of(const QLabel *label);

    QString fileName() const { return m_file; }
    // Its frames, shared with a copy that plays them too.
    const PictureReading::Animation &animation() const { return m_animation; }
    bool isRunning() const { return m_timer.isActive(); }
    int currentFrameNumber() const { return m_frame; }
    int frameCount() const { return m_animation.frames.size(); }
    QPixmap currentPixmap() const { return m_shown; }
    QImage currentImage() const { return m_animation.frames.value(m_frame); }

    // Plays from the first frame.
    void start();

signals:
    void frameChanged(int frame);

private:
    void show(int frame);
    void next();

    QString m_file;
    PictureReading::Animation m_animation;
    QPointer<QLabel> m_label;
    QPixmap m_shown;
    QTimer m_timer;
    int m_frame = 0;
    int m_played = 0; // times the last frame was reached
};
