#include "animationplayer.h"

#include <QLabel>

namespace {

// Browsers show a frame of no delay, or of less than this, for a tenth of a second: files made
// for them count on it.
constexpr int kShortestDelayMs = 20;
constexpr int kStandInDelayMs = 100;

} // namespace

AnimationPlayer::AnimationPlayer(const QString &file, const PictureReading::Animation &animation,
                                 QLabel *label)
    : QObject(label), m_file(file), m_animation(animation), m_label(label)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &AnimationPlayer::next);
    show(0);
}

AnimationPlayer *AnimationPlayer::of(const QLabel *label)
{
    return label ? label->findChild<AnimationPlayer *>(QString(), Qt::FindDirectChildrenOnly)
                 : nullptr;
}

void AnimationPlayer::start()
{
    m_played = 0;
    show(0);
}

void AnimationPlayer::show(int frame)
{
    if (m_animation.frames.isEmpty())
        return;
    m_frame = frame;
    m_shown = QPixmap::fromImage(m_animation.frames.at(frame));
    if (m_label)
        m_label->setPixmap(m_shown);
    emit frameChanged(frame);
    if (m_animation.frames.size() < 2)
        return;
    const int delay = m_animation.delays.value(frame);
    m_timer.start(delay < kShortestDelayMs ? kStandInDelayMs : delay);
}

void AnimationPlayer::next()
{
    int frame = m_frame + 1;
    if (frame == m_animation.frames.size()) {
        ++m_played;
        // -1 loops for ever; n plays n times more after the first.
        if (m_animation.loopCount >= 0 && m_played > m_animation.loopCount)
            return;
        frame = 0;
    }
    show(frame);
}
