#include "mediapath.h"

#include <QDir>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

QString resolveRelative(const QString &folder, const QString &relative)
{
    if (folder.isEmpty() || relative.contains(QChar(0)))
        return QString();
    QStringList parts = relative.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    parts.removeAll(QStringLiteral("."));
    if (parts.isEmpty() || parts.contains(QStringLiteral("..")))
        return QString();
    const QString root = QFileInfo(folder).canonicalFilePath();
    const QString joined =
            QDir::cleanPath(folder + QLatin1Char('/') + parts.join(QLatin1Char('/')));
    const QString resolved = QFileInfo(joined).canonicalFilePath(); // "" when missing
    if (root.isEmpty() || !resolved.startsWith(root + QLatin1Char('/')))
        return QString();
    return MediaPath::isRegularFile(resolved) ? joined : QString();
}

} // namespace

namespace MediaPath {

QString resolveHref(const QString &folder, const QString &href)
{
    return resolveRelative(folder, href);
}

QString resolveSource(const QString &folder, const QString &source)
{
    if (source.startsWith(QLatin1Char('/')))
        return QString();
    return resolveRelative(folder, source);
}

QString resolveAttachment(const QString &folder, const QString &storedPath)
{
    const QString name = storedPath.section(QLatin1Char('/'), -1);
    if (name.isEmpty())
        return QString();
    return resolveRelative(folder, QStringLiteral("document/") + name);
}

bool isRegularFile(const QString &path)
{
    struct stat status;
    return !path.isEmpty() && ::stat(QFile::encodeName(path).constData(), &status) == 0
            && S_ISREG(status.st_mode);
}

} // namespace MediaPath
