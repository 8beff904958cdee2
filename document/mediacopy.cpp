#include "mediacopy.h"

#include "mediapath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr int kMaxNameTries = 1000;
constexpr qint64 kCompareChunk = 1 << 16;

bool sameBytes(const QString &first, const QString &second)
{
    QFile a(first);
    QFile b(second);
    if (a.size() != b.size() || !a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly))
        return false;
    while (!a.atEnd()) {
        if (a.read(kCompareChunk) != b.read(kCompareChunk))
            return false;
    }
    return true;
}

// "clip.mp4", "clip-2.mp4", "clip-3.mp4" ...
QString candidateName(const QFileInfo &source, int number)
{
    if (number == 1)
        return source.fileName();
    const QString suffix = source.suffix();
    const QString base = source.completeBaseName();
    if (base.isEmpty() || suffix.isEmpty())
        return source.fileName() + QStringLiteral("-%1").arg(number);
    return base + QStringLiteral("-%1.").arg(number) + suffix;
}

MediaCopy::Copied failed(const QString &error)
{
    MediaCopy::Copied copied;
    copied.error = error;
    return copied;
}

} // namespace

namespace MediaCopy {

Copied copyInto(const QString &source, const QString &folder)
{
    if (!MediaPath::isRegularFile(source))
        return failed(source + QStringLiteral(": not a file that can be copied"));
    const QFileInfo sourceInfo(source);
    if (!QFileInfo(folder).isDir())
        return failed(folder + QStringLiteral(": no such folder"));
    for (int number = 1; number <= kMaxNameTries; ++number) {
        const QString name = candidateName(sourceInfo, number);
        const QString target = QDir(folder).filePath(name);
        const QFileInfo targetInfo(target);
        if (targetInfo.exists() || targetInfo.isSymLink()) {
            if (!targetInfo.isSymLink() && MediaPath::isRegularFile(target)
                && sameBytes(source, target)) {
                Copied copied;
                copied.ok = true;
                copied.name = name;
                return copied;
            }
            continue;
        }
        if (!QFile::copy(source, target)) {
            QFile::remove(target); // a partial copy must not pass for the file later
            return failed(source + QStringLiteral(": cannot be copied to ") + target);
        }
        Copied copied;
        copied.ok = true;
        copied.name = name;
        return copied;
    }
    return failed(source + QStringLiteral(": too many files of that name in ") + folder);
}

} // namespace MediaCopy
