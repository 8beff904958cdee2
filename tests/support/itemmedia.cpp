#include "itemmedia.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>

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

} // namespace ItemMedia
