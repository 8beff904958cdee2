#include "contentmedia.h"

#include "document/toolrun.h"

#include <QProcess>
#include <QStandardPaths>

namespace ContentMedia {

bool haveFfmpeg()
{
    return !QStandardPaths::findExecutable(QStringLiteral("ffmpeg")).isEmpty();
}

QString makeClip(const QString &path, int seconds)
{
    return makeVideo(path,
                     { QStringLiteral("-c:v"), QStringLiteral("libtheora"), QStringLiteral("-q:v"),
                       QStringLiteral("5") },
                     seconds);
}

QString makeSound(const QString &path, int milliseconds)
{
    const ToolRun made = runTool(
            QStringLiteral("ffmpeg"),
            { QStringLiteral("-y"), QStringLiteral("-nostdin"), QStringLiteral("-loglevel"),
              QStringLiteral("error"), QStringLiteral("-f"), QStringLiteral("lavfi"),
              QStringLiteral("-i"),
              QStringLiteral("sine=frequency=440:duration=%1").arg(milliseconds / 1000.0), path },
            QString(), 60000);
    return made.ok ? QString() : made.error + QString::fromLocal8Bit(made.errorOutput);
}

QString makeVideo(const QString &path, const QStringList &codec, int seconds)
{
    const QStringList arguments =
            QStringList{
                QStringLiteral("-y"),
                QStringLiteral("-nostdin"),
                QStringLiteral("-loglevel"),
                QStringLiteral("error"),
                QStringLiteral("-f"),
                QStringLiteral("lavfi"),
                QStringLiteral("-i"),
                QStringLiteral("testsrc=duration=%1:size=160x120:rate=10").arg(seconds),
            }
            + codec + QStringList{ path };
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), arguments);
    if (!ffmpeg.waitForStarted(5000))
        return ffmpeg.errorString();
    if (!ffmpeg.waitForFinished(60000)) {
        ffmpeg.kill();
        ffmpeg.waitForFinished(1000);
        return QStringLiteral("ffmpeg did not finish in time");
    }
    if (ffmpeg.exitStatus() != QProcess::NormalExit || ffmpeg.exitCode() != 0)
        return QString::fromLocal8Bit(ffmpeg.readAllStandardError());
    return QString();
}

} // namespace ContentMedia
