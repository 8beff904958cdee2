#include "mediaprobe.h"

#include "document/toolrun.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace MediaProbe {

bool canPlay(const QString &file, Kind kind, QString *why)
{
    const QFileInfo info(file);
    if (!info.isFile()) {
        if (why)
            *why = QStringLiteral("no such file: %1").arg(file);
        return false;
    }
    if (QStandardPaths::findExecutable(QStringLiteral("ffprobe")).isEmpty())
        return true;
    // An absolute path: a name such as "concat:a|b" would otherwise read as a protocol.
    const ToolRun probe =
            runTool(QStringLiteral("ffprobe"),
                    { QStringLiteral("-v"), QStringLiteral("error"),
                      QStringLiteral("-show_entries"), QStringLiteral("stream=codec_type"),
                      QStringLiteral("-of"), QStringLiteral("csv=p=0"), info.absoluteFilePath() },
                    info.absolutePath(), kTimeoutMs);
    const QByteArray wanted = kind == Kind::Video ? "video" : "audio";
    if (probe.ok && probe.output.split('\n').contains(wanted))
        return true;
    if (why)
        *why = probe.ok ? QStringLiteral("no %1 stream in %2").arg(QLatin1String(wanted), file)
                        : probe.error + QLatin1Char(' ')
                        + QString::fromLocal8Bit(probe.errorOutput).trimmed();
    return false;
}

} // namespace MediaProbe
