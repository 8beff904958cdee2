#include "posterframe.h"

#include "pictures/picturereading.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

namespace PosterFrame {

namespace {

bool isAnimatedImage(const QString &video)
{
    return video.contains(QLatin1String(".gif"));
}

QString runFfmpeg(const QStringList &args, int timeoutMs)
{
    QProcess ffmpeg;
    ffmpeg.setStandardInputFile(QProcess::nullDevice());
    ffmpeg.start(QStringLiteral("ffmpeg"), args);
    if (!ffmpeg.waitForStarted(5000))
        return ffmpeg.errorString();
    if (!ffmpeg.waitForFinished(timeoutMs)) {
        ffmpeg.kill(); // ours to stop: we started it and hold its handle
        ffmpeg.waitForFinished(1000);
        return QStringLiteral("ffmpeg gave no answer in time");
    }
    if (ffmpeg.exitStatus() != QProcess::NormalExit || ffmpeg.exitCode() != 0)
        return QString::fromLocal8Bit(ffmpeg.readAllStandardError()).trimmed();
    return QString();
}

} // namespace

QStringList arguments(const QString &video, const QString &output, int frameIndex)
{
    // An absolute path: a name such as "concat:a|b" would otherwise read as a protocol.
    QStringList args = { QStringLiteral("-y"),        QStringLiteral("-nostdin"),
                         QStringLiteral("-loglevel"), QStringLiteral("error"),
                         QStringLiteral("-i"),        QFileInfo(video).absoluteFilePath() };
    if (isAnimatedImage(video)) {
        args << QStringLiteral("-vsync") << QStringLiteral("0");
    } else if (frameIndex > 0) {
        args << QStringLiteral("-vf") << QStringLiteral("select=eq(n\\,%1)").arg(frameIndex);
    }
    args << QStringLiteral("-frames:v") << QStringLiteral("1") << output;
    return args;
}

QPixmap extract(const QString &video, int timeoutMs, QString *error)
{
    auto fail = [error](const QString &why) {
        if (error)
            *error = why;
        return QPixmap();
    };
    if (!QFileInfo(video).isFile())
        return fail(QStringLiteral("no such file: %1").arg(video));
    QTemporaryDir dir;
    if (!dir.isValid())
        return fail(dir.errorString());
    const QString output = dir.filePath(QStringLiteral("out.png"));
    const QList<int> frames =
            isAnimatedImage(video) ? QList<int>{ 0 } : QList<int>{ kPosterFrameIndex, 0 };
    QString lastError;
    for (int frame : frames) {
        lastError = runFfmpeg(arguments(video, output, frame), timeoutMs);
        // A clip shorter than the poster frame succeeds without writing anything; a frame
        // beyond the board's limits (a video may say any size) is read smaller or not at all.
        PictureReading::Picture poster = PictureReading::read(output);
        if (lastError.isEmpty() && poster.probe.isTaken())
            return QPixmap::fromImage(std::move(poster.image));
        if (lastError.isEmpty())
            lastError = QFileInfo::exists(output)
                    ? QStringLiteral("the frame is not taken: %1").arg(poster.probe.detail)
                    : QStringLiteral("ffmpeg wrote no frame");
    }
    return fail(lastError);
}

} // namespace PosterFrame
