#pragma once

#include "pictures/picturedecoders.h"

#include <QByteArray>
#include <QColor>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

// Small files that say they hold large pictures, in every format the toolkit reads here. The
// headers are true to the size asked for, and the pixels are there, decodable, wherever they
// stay small: PNG, MNG and TIFF carry real zlib streams of zero rows (deflated as they are made,
// never held at their decoded size), JPEG blocks of one grey, WEBP a lossless stream whose every
// code is empty, BMP runs, SVG a filled rectangle. So a 30000 x 30000 PNG is under a megabyte,
// and the same picture at 9000 x 9000 decodes whole. Where complete pixels would be large (raw
// formats: TGA, PNM, XBM, XPM, WBMP; GIF beyond one small frame) only the start of them is there.
namespace CraftedPictures {

struct Kind
{
    const char *name; // the name make() takes
    const char *suffix; // the file name ending a file of it usually carries
};

// clang-format off
inline constexpr Kind kKinds[] = {
    { "png",              "png"  }, // grey, 8 bits
    { "png16",            "png"  }, // RGBA, 16 bits a sample: 8 bytes a pixel once decoded
    { "jpeg",             "jpg"  }, // baseline, grey
    { "jpeg-progressive", "jpg"  }, // progressive (SOF2), grey: DC scan only
    { "gif",              "gif"  }, // the screen at the size asked; one frame, small beyond 4096
    { "gif-animated",     "gif"  }, // three frames of the screen's size (keep it small)
    { "bmp",              "bmp"  }, // 8 bits, RLE8
    { "tiff",             "tif"  }, // grey, one strip, deflate
    { "webp",             "webp" }, // lossless; beyond 16383 a canvas with one small frame
    { "svg",              "svg"  },
    { "svgz",             "svgz" },
    { "mng",              "mng"  }, // MHDR and one IHDR of the size, grey
    { "icns",             "icns" }, // one "ic10" entry holding the PNG
    { "ico",              "ico"  }, // one entry holding the PNG
    { "ico-bmp",          "ico"  }, // one entry holding a 32-bit bitmap and its mask
    { "cur",              "cur"  }, // a cursor: the same bitmap entry
    { "tga",              "tga"  }, // 24 bits, uncompressed
    { "pbm",              "pbm"  }, // P4
    { "pgm",              "pgm"  }, // P5
    { "ppm",              "ppm"  }, // P6
    { "xbm",              "xbm"  },
    { "xpm",              "xpm"  },
    { "wbmp",             "wbmp" },
};

// Pictures that their decoders read otherwise than their headers say, or that take minutes to
// make: what only a limit the decoding is held to catches. size is the picture they hold.
inline constexpr Kind kHostileKinds[] = {
    { "svg-holding",        "svg"  }, // 400 x 400, holding a PNG of the size in a "data:" link
    { "svg-holding-spaced", "svg"  }, // the same, its link written with a space before it
    { "tiff-width-twice",   "tif"  }, // its width given twice: the size's (decoded), then 100
    { "svg-slow",           "svg"  }, // the size, 20000 translucent squares each as large
};
// PNGs within the board's limits of every kind of pixel, their rows all alike, so that the
// largest of them is a moment's work and a few hundred kilobytes: each row a ramp across it
// (deepPixel says what the board shows at each column).
inline constexpr Kind kDeepKinds[] = {
    { "png-alpha",         "png"  }, // RGBA, 8 bits: blue, its alpha rising across the row
    { "png16-alpha",       "png"  }, // the same at 16 bits a sample
    { "png16-opaque",      "png"  }, // RGB, 16 bits: a blue ramp
    { "png16-grey",        "png"  }, // grey, 16 bits: a ramp
    { "png-grey-alpha",    "png"  }, // grey and alpha, 8 bits: light grey, its alpha rising
    { "png-palette-alpha", "png"  }, // a palette of four colours, three of them translucent
};
// Pictures of one trait each.
inline constexpr Kind kOtherKinds[] = {
    { "svg-text",           "svg"  }, // the size, a word written across it with the fonts
    { "svg-many",           "svg"  }, // the size, 600000 empty groups: measured in 200 MB
    { "gif-long",           "gif"  }, // a screen of the size, 5000 frames of one pixel
};
// clang-format on

QStringList kindNames();
// What the board holds at column x of a picture of kDeepKinds (ARGB32, premultiplied).
QRgb deepPixel(const QString &kind, QSize size, int x);
QString suffixOf(const QString &kind);

// A picture of size in the format kind (a name of one of the tables above); empty for an unknown
// kind or a size the format cannot hold.
QByteArray make(const QString &kind, QSize size);

// Writes bytes to path; false when it could not.
bool write(const QString &path, const QByteArray &bytes);

// Writes make(kind, size) into folder as baseName with the kind's suffix (or the suffix given,
// for a file under a false name); the path, or "" when it could not.
QString writeIn(const QString &folder, const QString &kind, QSize size,
                const QString &baseName = QStringLiteral("picture"),
                const QString &suffix = QString());

// What a picture's links may reach, for the rows that ask it: under root, a folder "lesson"
// whose SVG "linking.svg" (20 x 10, white) draws on its left half the picture its one link
// names, and what that link may try: "lesson/red.png" (10 x 10, red), "lesson/sub/red.png", the
// same "secret/red.png" beside the folder, and in the folder "in", a symbolic link to "red.png",
// "out", one to "../secret/red.png", "zero", one to /dev/zero, and "pipe", a named pipe. The
// SVG's path, its link href ("%root" replaced by root), or "" when it could not be written.
QString writeLinking(const QString &root, const QString &href);
// The teacher's folder for the rows that link into the fonts' folders: HOME (the XDG folders
// unset, as most desktops leave them) set to home, with "red.png" (10 x 10, red) in each of the
// fonts' folders there: ".fonts", ".local/share/fonts", ".config/fontconfig" and
// ".cache/fontconfig". Before the first decoding process starts, which reads its fonts from
// those that are there then. False when they could not be written.
bool makeFontsHome(const QString &home);

// The decoding processes this process started, as the system lists them (their pids).
QVector<qint64> runningDecoders();

// Pieces other makers build on.
QByteArray pngChunk(const QByteArray &type, const QByteArray &data);
QByteArray gzip(const QByteArray &bytes);

// The decoders' time limits for tests of what is read rather than of how long it takes: on a
// machine however busy (tests side by side on two processors, a slow CI runner, the decoders at
// a lower priority) the largest pictures are read within them. Their memory is the program's.
// The program's own times are tested where time is the point.
PictureDecoders::Limits roomyLimits();
// Holds roomyLimits() while it lives, then the limits before.
class RoomyLimits
{
public:
    RoomyLimits();
    ~RoomyLimits();
    RoomyLimits(const RoomyLimits &) = delete;
    RoomyLimits &operator=(const RoomyLimits &) = delete;

private:
    const PictureDecoders::Limits m_before;
};

} // namespace CraftedPictures
