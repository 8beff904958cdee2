#include "pngrows.h"

#include <QIODevice>
#include <QImage>

#include <png.h>

#include <csetjmp>

namespace {

// What the reading goes through: where its bytes come from, and why it stopped.
struct Stream
{
    QIODevice *device;
    char error[160];
};

void readBytes(png_structp png, png_bytep into, size_t length)
{
    auto *stream = static_cast<Stream *>(png_get_io_ptr(png));
    if (stream->device->read(reinterpret_cast<char *>(into), qint64(length)) != qint64(length))
        png_error(png, "the file breaks off");
}

[[noreturn]] void stop(png_structp png, png_const_charp message)
{
    auto *stream = static_cast<Stream *>(png_get_error_ptr(png));
    qstrncpy(stream->error, message, sizeof stream->error);
    png_longjmp(png, 1);
}

void passOver(png_structp, png_const_charp) { }

void premultiply(uchar *row, int width)
{
    auto *pixels = reinterpret_cast<QRgb *>(row);
    for (int x = 0; x < width; ++x) {
        const int alpha = qAlpha(pixels[x]);
        if (alpha == 0)
            pixels[x] = 0;
        else if (alpha < 255)
            pixels[x] = qPremultiply(pixels[x]);
    }
}

// Where libpng's errors come back to (a jump, past nothing that would need destroying).
bool decodeRows(png_structp png, png_infop info, QImage *picture)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    const int width = picture->width();
    const int height = picture->height();
    png_read_info(png, info);
    if (png_get_image_width(png, info) != png_uint_32(width)
        || png_get_image_height(png, info) != png_uint_32(height))
        png_error(png, "a PNG of another size than it was measured at");
    // Whatever it holds, four channels of 8 bits, as the board's pictures lie in memory.
    png_set_scale_16(png);
    png_set_expand(png);
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    png_set_filler(png, 0xff, PNG_FILLER_AFTER);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != png_size_t(width) * 4)
        png_error(png, "rows of another size than four bytes a pixel");
    const bool transparent = picture->format() == QImage::Format_ARGB32_Premultiplied;
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < height; ++y) {
            png_read_row(png, picture->scanLine(y), nullptr);
            // Premultiplied while the row is at hand; an interlaced one once it is whole.
            if (transparent && passes == 1)
                premultiply(picture->scanLine(y), width);
        }
    }
    if (transparent && passes > 1) {
        for (int y = 0; y < height; ++y)
            premultiply(picture->scanLine(y), width);
    }
    return true;
}

} // namespace

namespace PngRows {

bool read(QIODevice &device, QImage *picture, QString *error)
{
    Stream stream{ &device, "no memory to read it" };
    if (picture->isNull() || picture->depth() != 32 || !device.seek(0)) {
        *error = QStringLiteral("no picture to read it into");
        return false;
    }
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &stream, stop, passOver);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool read = false;
    if (info) {
        png_set_read_fn(png, &stream, readBytes);
        read = decodeRows(png, info, picture);
    }
    png_destroy_read_struct(png ? &png : nullptr, info ? &info : nullptr, nullptr);
    if (!read)
        *error = QString::fromLatin1(stream.error);
    return read;
}

} // namespace PngRows
