#pragma once

#include <QByteArray>
#include <QStringList>

namespace GalleryFixture {

// A gallery drag payload read back the way the board page reads it: three strings (kind,
// picture path, word). complete is false when the bytes are short, damaged or followed by more.
struct Payload
{
    QStringList fields;
    bool complete = false;
};
Payload decodePayload(const QByteArray &bytes);

} // namespace GalleryFixture
