#include "mediapath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QXmlStreamReader>

#include <sys/stat.h>

namespace {

// The parts of a relative name, or none when it could leave the folder.
QStringList relativeParts(const QString &relative)
{
    QStringList parts = relative.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    parts.removeAll(QStringLiteral("."));
    if (parts.contains(QStringLiteral("..")))
        return {};
    return parts;
}

QString resolveRelative(const QString &folder, const QString &relative)
{
    if (folder.isEmpty() || relative.contains(QChar(0)))
        return QString();
    const QStringList parts = relativeParts(relative);
    if (parts.isEmpty())
        return QString();
    const QString root = QFileInfo(folder).canonicalFilePath();
    const QString joined =
            QDir::cleanPath(folder + QLatin1Char('/') + parts.join(QLatin1Char('/')));
    const QString resolved = QFileInfo(joined).canonicalFilePath(); // "" when missing
    if (root.isEmpty() || !resolved.startsWith(root + QLatin1Char('/')))
        return QString();
    return MediaPath::isRegularFile(resolved) ? joined : QString();
}

bool throughSymlink(const QString &folder, const QStringList &parts)
{
    QString path = folder;
    for (const QString &part : parts) {
        path += QLatin1Char('/') + part;
        if (QFileInfo(path).isSymLink())
            return true;
    }
    return false;
}

} // namespace

namespace MediaPath {

QStringList namesIn(const QByteArray &text)
{
    QXmlStreamReader xml;
    // A page's part of a document is read without the declarations of the prefixes it uses,
    // and may be one of several elements.
    xml.setNamespaceProcessing(false);
    xml.addData(QByteArrayLiteral("<part>"));
    xml.addData(text);
    xml.addData(QByteArrayLiteral("</part>"));
    QStringList named;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        for (const QXmlStreamAttribute &attribute : attributes) {
            const QStringRef name = attribute.qualifiedName();
            const bool file =
                    name == QLatin1String("xlink:href") || name == QLatin1String("pathFileCopy");
            const bool link =
                    name == QLatin1String("xfilelink") || name == QLatin1String("xsoundlink");
            // The values of other attributes (a stroke's points are most of a page) are not
            // copied.
            if ((!file && !link) || attribute.value().isEmpty())
                continue;
            const QString value = attribute.value().toString();
            named << (file ? value
                           : QStringLiteral("document/") + value.section(QLatin1Char('/'), -1));
        }
    }
    named.removeDuplicates();
    return named;
}

QStringList filesNamed(const QString &folder, const QStringList &names)
{
    QStringList files;
    for (const QString &name : names) {
        const QStringList parts = relativeParts(name);
        if (parts.isEmpty() || resolveRelative(folder, name).isEmpty()
            || throughSymlink(folder, parts))
            continue;
        files << parts.join(QLatin1Char('/'));
    }
    files.removeDuplicates();
    return files;
}

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
