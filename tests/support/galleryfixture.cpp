#include "galleryfixture.h"

#include <QDataStream>

namespace GalleryFixture {

Payload decodePayload(const QByteArray &bytes)
{
    Payload payload;
    QDataStream stream(bytes);
    QString kind;
    QString fileName;
    QString text;
    stream >> kind >> fileName >> text;
    payload.fields = QStringList{ kind, fileName, text };
    payload.complete = stream.status() == QDataStream::Ok && stream.atEnd();
    return payload;
}

} // namespace GalleryFixture
