#pragma once

#include <QImage>
#include <QString>

// Reads a QR code back from a picture, independently of the library that made it: finds the
// symbol's dark extent, measures a module on the top-left finder pattern, samples the grid,
// reads the format bits, removes the mask and reads the data codewords in placement order.
// Versions 1 to 5 (up to 106 bytes at the lowest error-correction level), byte mode only; no
// error correction is applied, so every data module must read right: a picture that has lost
// one fails rather than being repaired.
namespace QrDecoder {

// The encoded text, or empty with `why` set.
QString decode(const QImage &picture, QString *why = nullptr);

} // namespace QrDecoder
