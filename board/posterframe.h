#pragma once

#include <QPixmap>
#include <QString>

// The still picture a video object shows on the board, taken from the video by ffmpeg.
namespace PosterFrame {

constexpr int kTimeoutMs = 30000;
constexpr int kPosterFrameIndex = 34; // far enough in to be past a fade from black

// ffmpeg's arguments for writing one frame of video into output. An animated image gives its
// first frame; a video its frame kPosterFrameIndex, or its first frame when frameIndex is 0.
QStringList arguments(const QString &video, const QString &output, int frameIndex);

// The poster of video, or a null pixmap when the file is missing, ffmpeg is missing, fails or
// takes longer than timeoutMs. A video shorter than the poster frame gives its first frame.
// error, when given, says what went wrong.
QPixmap extract(const QString &video, int timeoutMs = kTimeoutMs, QString *error = nullptr);

} // namespace PosterFrame
