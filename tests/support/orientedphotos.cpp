#include "orientedphotos.h"

#include <QBuffer>
#include <QColor>
#include <QImageReader>
#include <QImageWriter>
#include <QtEndian>

#include <algorithm>
#include <cstdlib>

namespace OrientedPhotos {

namespace {

enum Side { Top, Bottom, Left, Right };

// EXIF's own words for each orientation: the side of the picture as seen that the stored first
// row lies along, and the side its first column lies along.
struct Layout
{
    Side firstRow;
    Side firstColumn;
};
// clang-format off
constexpr Layout kLayouts[] = {
    { Top,    Left   }, // 1
    { Top,    Right  }, // 2
    { Bottom, Right  }, // 3
    { Bottom, Left   }, // 4
    { Left,   Top    }, // 5
    { Right,  Top    }, // 6
    { Right,  Bottom }, // 7
    { Left,   Bottom }, // 8
};
// clang-format on

// The point as seen that lies distance from side, along a line parallel to it, at along.
void place(Side side, int distance, QSize seen, int *x, int *y)
{
    switch (side) {
    case Top:
        *y = distance;
        break;
    case Bottom:
        *y = seen.height() - 1 - distance;
        break;
    case Left:
        *x = distance;
        break;
    case Right:
        *x = seen.width() - 1 - distance;
        break;
    }
}

QByteArray exifSegment(int orientation, bool littleEndian)
{
    QByteArray tiff(littleEndian ? "II" : "MM");
    auto put16 = [&](quint16 value) {
        char bytes[2];
        if (littleEndian)
            qToLittleEndian(value, bytes);
        else
            qToBigEndian(value, bytes);
        tiff.append(bytes, 2);
    };
    auto put32 = [&](quint32 value) {
        char bytes[4];
        if (littleEndian)
            qToLittleEndian(value, bytes);
        else
            qToBigEndian(value, bytes);
        tiff.append(bytes, 4);
    };
    put16(42);
    put32(8); // the first directory, right after this header
    put16(1); // one entry: Orientation, a SHORT
    put16(0x0112);
    put16(3);
    put32(1);
    put16(quint16(orientation));
    put16(0);
    put32(0); // no next directory
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray segment("\xff\xe1", 2);
    char length[2];
    qToBigEndian(quint16(payload.size() + 2), length);
    return segment + QByteArray(length, 2) + payload;
}

} // namespace

QImage upright(QSize size)
{
    QImage photo(size, QImage::Format_RGB32);
    const int halfWidth = size.width() / 2;
    const int halfHeight = size.height() / 2;
    const QColor quarters[] = { QColor(220, 40, 40), QColor(40, 170, 60), QColor(40, 60, 210),
                                QColor(235, 220, 60) };
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            photo.setPixel(x, y, quarters[(y >= halfHeight) * 2 + (x >= halfWidth)].rgb());
    }
    return photo;
}

QImage stored(const QImage &photo, int orientation)
{
    const Layout layout = kLayouts[orientation - 1];
    const bool across = layout.firstRow == Top || layout.firstRow == Bottom;
    const QSize size = across ? photo.size() : photo.size().transposed();
    QImage laid(size, QImage::Format_RGB32);
    for (int row = 0; row < size.height(); ++row) {
        for (int column = 0; column < size.width(); ++column) {
            int x = 0;
            int y = 0;
            place(layout.firstRow, row, photo.size(), &x, &y);
            place(layout.firstColumn, column, photo.size(), &x, &y);
            laid.setPixel(column, row, photo.pixel(x, y));
        }
    }
    return laid;
}

QByteArray jpeg(const QImage &photo, int orientation, bool littleEndian)
{
    QByteArray bytes;
    QBuffer out(&bytes);
    out.open(QIODevice::WriteOnly);
    QImageWriter writer(&out, "jpeg");
    writer.setQuality(95);
    if (!writer.write(stored(photo, orientation)))
        return QByteArray();
    return withOrientation(bytes, orientation, littleEndian);
}

QByteArray withOrientation(const QByteArray &jpeg, int orientation, bool littleEndian)
{
    // After the start of the picture, as cameras put it.
    return jpeg.left(2) + exifSegment(orientation, littleEndian) + jpeg.mid(2);
}

QImage decoded(const QByteArray &jpeg)
{
    QBuffer in;
    in.setData(jpeg);
    in.open(QIODevice::ReadOnly);
    QImageReader reader(&in, "jpeg");
    reader.setAutoTransform(false);
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

int difference(const QImage &seen, const QImage &expected)
{
    if (seen.size() != expected.size())
        return -1;
    int most = 0;
    for (int y = 0; y < seen.height(); ++y) {
        for (int x = 0; x < seen.width(); ++x) {
            const QRgb a = seen.pixel(x, y);
            const QRgb b = expected.pixel(x, y);
            most = std::max({ most, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b)) });
        }
    }
    return most;
}

} // namespace OrientedPhotos
