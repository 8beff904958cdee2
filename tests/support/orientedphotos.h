#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

// Photos as cameras and phones store them: the pixels as the sensor lay, and an EXIF
// orientation (1 to 8) that says how they are turned and mirrored to be seen.
namespace OrientedPhotos {

// A photo of size as it is seen (both sides a multiple of 16, so that JPEG's blocks never
// straddle its edges): four quarters each of a colour of its own, so that every one of the eight
// ways of turning and mirroring it looks otherwise.
QImage upright(QSize size);

// photo (as seen) stored for orientation: its pixels as a camera lays them for it, written as
// a JPEG whose APP1 segment holds the orientation, in a big-endian EXIF block or (littleEndian)
// a little-endian one, as cameras write either.
QImage stored(const QImage &photo, int orientation);
QByteArray jpeg(const QImage &photo, int orientation, bool littleEndian = false);
// A JPEG's bytes with an APP1 segment saying orientation put first.
QByteArray withOrientation(const QByteArray &jpeg, int orientation, bool littleEndian = false);
// A JPEG's pixels as they are stored, its orientation not applied, 32 bits a pixel: what the same
// photo stored upright (orientation 1) shows, JPEG's coding and all.
QImage decoded(const QByteArray &jpeg);

// The largest difference of a channel between two pictures (-1 when their sizes differ).
int difference(const QImage &seen, const QImage &expected);
// Within what JPEG's coding changes of a photo of upright()'s kind.
constexpr int kJpegTolerance = 24;

} // namespace OrientedPhotos
