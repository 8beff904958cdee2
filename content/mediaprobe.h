#pragma once

#include <QString>

// Whether the board's players can play a file, asked of ffprobe before the file becomes an
// object on a page: a file that only looks like a video or a sound (random bytes named ".mp4")
// is refused at once instead of becoming an empty box that fails when played.
namespace MediaProbe {

constexpr int kTimeoutMs = 30000;

enum class Kind { Video, Sound };

// True when the file holds a stream of that kind (a video stream for a video or an animated
// image, an audio stream for a sound). Without ffprobe nothing can be told: true, so that a
// missing tool never keeps a teacher's file off the board. why, when given, says what failed.
bool canPlay(const QString &file, Kind kind, QString *why = nullptr);

} // namespace MediaProbe
