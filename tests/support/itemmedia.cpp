#include "itemmedia.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QtEndian>

namespace {

quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xffffffffu;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray bigEndian(quint32 value)
{
    const quint32 big = qToBigEndian(value);
    return QByteArray(reinterpret_cast<const char *>(&big), 4);
}

QByteArray chunk(const QByteArray &type, const QByteArray &data)
{
    return bigEndian(quint32(data.size())) + type + data + bigEndian(crc32(type + data));
}

} // namespace

namespace ItemMedia {

bool haveConvert()
{
    return !QStandardPaths::findExecutable(QStringLiteral("convert")).isEmpty();
}

QString makeGif(const QString &path, QSize size)
{
    const QString frameSize = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
    const QStringList arguments = {
        QStringLiteral("-delay"),  QStringLiteral("5"),
        QStringLiteral("-size"),   frameSize,
        QStringLiteral("xc:red"),  QStringLiteral("xc:lime"),
        QStringLiteral("xc:blue"), QStringLiteral("-loop"),
        QStringLiteral("0"),       QStringLiteral("gif:") + path,
    };
    QProcess convert;
    convert.start(QStringLiteral("convert"), arguments);
    if (!convert.waitForStarted(5000))
        return convert.errorString();
    if (!convert.waitForFinished(30000)) {
        convert.kill();
        convert.waitForFinished(1000);
        return QStringLiteral("convert did not finish in time");
    }
    if (convert.exitStatus() != QProcess::NormalExit || convert.exitCode() != 0)
        return QString::fromLocal8Bit(convert.readAllStandardError());
    return QString();
}

bool makePicture(const QString &path, QSize size, Qt::GlobalColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image.save(path, "PNG");
}

bool makeHugePicture(const QString &path, QSize size, bool pixels)
{
    // One bit a pixel, grey: each row is its filter byte and the bits, all zero, which deflate
    // squeezes about a thousand to one.
    const QByteArray header = bigEndian(quint32(size.width())) + bigEndian(quint32(size.height()))
            + QByteArray("\x01\x00\x00\x00\x00", 5);
    QByteArray data;
    if (pixels) {
        const qint64 row = (qint64(size.width()) + 7) / 8 + 1;
        const QByteArray rows(int(row * size.height()), '\0');
        data = qCompress(rows, 9).mid(4); // without the length qCompress puts first: zlib
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly)
            && file.write(QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header)
                          + chunk("IDAT", data) + chunk("IEND", QByteArray()))
            > 0;
}

} // namespace ItemMedia
