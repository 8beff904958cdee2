#pragma once

#include <QString>

class QIODevice;
class QImage;

// A PNG taken whole, decoded row by row straight into the picture the board holds: 8 bits a
// channel, blue first in memory, premultiplied where it may be transparent, whatever the file
// holds (16 bits a sample, grey, a palette, transparency by tRNS). The toolkit's own reader
// makes a 16-bit picture at 16 bits first, twice the memory the board keeps, and took more than
// the time a picture is allowed to make the largest the board holds.
namespace PngRows {

// Decodes the PNG device holds (read from its start) into picture, which is of the PNG's size,
// RGB32 or ARGB32_Premultiplied (for one that may be transparent). False, with why in error,
// for a PNG that cannot be read so whole.
bool read(QIODevice &device, QImage *picture, QString *error);

} // namespace PngRows
