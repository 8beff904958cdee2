#pragma once

#include <QString>
#include <QStringList>

namespace ContentMedia {

// Whether ffmpeg is installed; tests that need a real clip skip without it.
bool haveFfmpeg();

// Writes a short Ogg/Theora test picture clip (lavfi testsrc, no sound: the test machines have
// no audio device) of the given length to path. Returns an empty string on success, else
// what went wrong.
QString makeClip(const QString &path, int seconds = 1);
// The same test picture, encoded with the given ffmpeg codec arguments ("-c:v", "libx264", ...).
QString makeVideo(const QString &path, const QStringList &codec, int seconds = 1);
// A tone of the given length in milliseconds, in the format path's suffix says (".wav", ".mp3").
QString makeSound(const QString &path, int milliseconds);

} // namespace ContentMedia
