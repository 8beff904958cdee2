#pragma once

#include "picturereading.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QVector>

#include <functional>
#include <memory>

class QBuffer;
class QFile;
class QImageReader;

// A picture measured and decoded in the process that runs this: the decoding process's own work
// (pictures/decodermain.cpp), never the board's. The program reads pictures through
// PictureReading, which sends them there.
namespace PictureDecoding {

// Where a decoded picture is written: an image of size and format for the reading to fill, or
// a null one when it cannot be made. The decoding process makes it over shared memory, so that
// the picture is never copied on its way to the program.
using Destination = std::function<QImage(QSize size, QImage::Format format)>;
// An image of the process's own memory.
QImage ownMemory(QSize size, QImage::Format format);

// Where the frames of an animation are written: count frames of size, each width * 4 bytes a
// line, one after the other; null when that memory cannot be had.
using FramesDestination = std::function<uchar *(QSize size, int count)>;

struct Plan
{
    PictureReading::Outcome outcome = PictureReading::Outcome::Unreadable;
    QSize scaledSize; // asked of a decoder that draws smaller itself; invalid for the others
    QSize taken;
    qint64 peak = 0;
};

// One picture, measured and then, if taken, read by the same reader: the format it is measured
// as is the one it is decoded as. From a file, or bytes (fromFile false).
class Reading
{
public:
    // A measure that would need more than room (0: whatever it needs) to find the picture's size
    // says it is out of memory at once.
    Reading(const QString &file, const QByteArray &bytes, bool fromFile, int depth = 0,
            qint64 room = 0);
    // To be read as an earlier measure of the same picture said, without measuring it again.
    Reading(const QString &file, const QByteArray &bytes, bool fromFile,
            const PictureReading::Probe &probed);
    ~Reading();
    Reading(const Reading &) = delete;
    Reading &operator=(const Reading &) = delete;

    const PictureReading::Probe &probe() const { return m_probe; }
    // Decodes it as measured, once, into destination: null unless probe().isTaken() (and then
    // the probe says why).
    QImage read(const Destination &destination = ownMemory);
    // Decodes every frame of an animation the board can play into destination, each as
    // ARGB32_Premultiplied: how many were read (0 when none), with the delay of each.
    int readFrames(const FramesDestination &destination, QVector<int> *delays, int *loopCount);

private:
    bool open(const QString &file, const QByteArray &bytes, bool fromFile,
              const QByteArray &format = QByteArray());
    void refuse(PictureReading::Outcome outcome, PictureReading::Cause cause,
                const QString &detail);
    void measureAndPlan(int depth, qint64 room);
    void planEighths();
    void failed(const QString &detail);
    QImage readPngRows(const Destination &destination, QSize size);
    // The picture as stored, at m_plan.taken: read() before its orientation is applied.
    QImage readStored(const Destination &destination);

    QString m_file;
    std::unique_ptr<QFile> m_fileDevice;
    QByteArray m_bytes;
    std::unique_ptr<QBuffer> m_bytesDevice;
    std::unique_ptr<QBuffer> m_svgDevice;
    std::unique_ptr<QImageReader> m_reader; // after the devices it reads: destroyed first
    PictureReading::Probe m_probe;
    Plan m_plan; // in the picture's stored sides, which its reader knows
};

// source averaged down to size, as PictureReading::shrink, into destination.
QImage shrink(const QImage &source, QSize size, const Destination &destination);

// A picture of 32 bits a pixel as stored, mirrored and turned as orientation (EXIF's, 1 to 8)
// says it is shown, into destination; null when destination gives none.
QImage turned(const QImage &stored, int orientation, const Destination &destination);

} // namespace PictureDecoding
