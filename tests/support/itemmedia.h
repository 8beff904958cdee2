#pragma once

#include <QSize>
#include <QString>

namespace ItemMedia {

// Whether ImageMagick's convert is installed; tests that need an animated GIF skip without it.
bool haveConvert();

// Writes an animated GIF of three coloured frames (red, green, blue) of the given size to path
// (Qt has no GIF writer). Returns an empty string on success, else what went wrong.
QString makeGif(const QString &path, QSize size = QSize(40, 30));

// Writes a still PNG of the given size and colour; false when it could not be written.
bool makePicture(const QString &path, QSize size, Qt::GlobalColor colour = Qt::darkYellow);

// A black and white PNG of the given size, all black, that any reader decodes whole: a few
// kilobytes on disk for a picture of gigabytes once decoded. With pixels false only its header
// is there (decoding it fails). False when it could not be written.
bool makeHugePicture(const QString &path, QSize size, bool pixels = true);

} // namespace ItemMedia
