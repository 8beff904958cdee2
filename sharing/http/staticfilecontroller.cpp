#include "staticfilecontroller.h"

#include "httpglobal.h"
#include "httprequest.h"
#include "httpresponse.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <QSettings>
#include <QtDebug>

namespace veskaweb {

namespace {
constexpr qint64 kReadPiece = 65536;

struct ContentType
{
    const char *suffix;
    const char *type;
    bool withCharset;
};
// clang-format off
constexpr ContentType kContentTypes[] = {
    { ".png",   "image/png",                     false },
    { ".jpg",   "image/jpeg",                    false },
    { ".gif",   "image/gif",                     false },
    { ".pdf",   "application/pdf",               false },
    { ".txt",   "text/plain",                    true  },
    { ".html",  "text/html",                     true  },
    { ".htm",   "text/html",                     true  },
    { ".css",   "text/css",                      false },
    { ".js",    "text/javascript",               false },
    { ".svg",   "image/svg+xml",                 false },
    { ".woff",  "font/woff",                     false },
    { ".woff2", "font/woff2",                    false },
    { ".ttf",   "application/x-font-ttf",        false },
    { ".eot",   "application/vnd.ms-fontobject", false },
    { ".otf",   "application/font-otf",          false },
};
// clang-format on

bool isResourceRoot(const QString &docroot)
{
    return docroot.startsWith(QLatin1String(":/")) || docroot.startsWith(QLatin1String("qrc://"));
}
} // namespace

StaticFileController::StaticFileController(QSettings *settings, QObject *parent)
    : HttpRequestHandler(parent)
{
    m_maxAge = int(readIntSetting(settings, QStringLiteral("maxAge"), 60000));
    m_encoding = readTextSetting(settings, QStringLiteral("encoding"), QStringLiteral("UTF-8"));
    m_docroot = readTextSetting(settings, QStringLiteral("path"), QStringLiteral("."));
    if (!isResourceRoot(m_docroot) && QDir::isRelativePath(m_docroot)) {
        const QString settingsDir =
                settings ? QFileInfo(settings->fileName()).absolutePath() : QDir::currentPath();
        m_docroot = QFileInfo(QDir(settingsDir), m_docroot).absoluteFilePath();
    }
    qDebug("StaticFileController: docroot=%s, encoding=%s, maxAge=%i", qPrintable(m_docroot),
           qPrintable(m_encoding), m_maxAge);
    m_maxCachedFileSize = int(readIntSetting(settings, QStringLiteral("maxCachedFileSize"), 65536));
    m_cache.setMaxCost(int(readIntSetting(settings, QStringLiteral("cacheSize"), 1000000)));
    m_cacheTimeout = int(readIntSetting(settings, QStringLiteral("cacheTime"), 60000));
    qDebug("StaticFileController: cache timeout=%i, size=%i", m_cacheTimeout, m_cache.maxCost());
}

StaticFileController::~StaticFileController() = default;

QString StaticFileController::confinedPath(const QString &docroot, const QByteArray &path)
{
    if (!path.startsWith('/') || path.contains('\0') || path.contains('\\'))
        return {};
    const QList<QByteArray> segments = path.split('/');
    for (const QByteArray &segment : segments) {
        if (segment == "..")
            return {};
    }
    const QString root = QDir::cleanPath(docroot);
    const QString candidate = root + QString::fromUtf8(path);
    if (isResourceRoot(root))
        return candidate; // the resource tree has no links to follow out of it
    const QFileInfo info(candidate);
    if (!info.exists())
        return candidate; // nothing to read; the caller answers 404
    // Links are resolved on both sides: a link inside the root may not lead out of it.
    const QString canonicalRoot = QFileInfo(root).canonicalFilePath();
    const QString canonical = info.canonicalFilePath();
    if (canonicalRoot.isEmpty() || canonical.isEmpty())
        return {};
    if (canonical != canonicalRoot && !canonical.startsWith(canonicalRoot + QLatin1Char('/'))
        && canonicalRoot != QLatin1String("/"))
        return {};
    return candidate;
}

void StaticFileController::forbidden(HttpResponse &response) const
{
    response.setStatus(403, "forbidden");
    response.write("403 forbidden", true);
}

void StaticFileController::service(HttpRequest &request, HttpResponse &response)
{
    const QByteArray path = request.getPath();
    const qint64 now = QDateTime::currentMSecsSinceEpoch();

    // A refused path is refused whatever the cache holds, so the checks come before the lookup.
    QString fileName = confinedPath(m_docroot, path);
    if (path.contains("/..") || fileName.isEmpty()) {
        qWarning("StaticFileController: detected forbidden characters in path %s",
                 path.constData());
        forbidden(response);
        return;
    }
    // Every byte of the path is part of the key (the paths that reach here hold no NUL).
    const QString cacheKey = QString::fromUtf8(path.constData(), path.size());

    QMutexLocker lock(&m_mutex);
    const CacheEntry *entry = m_cache.object(cacheKey);
    if (entry && (m_cacheTimeout == 0 || entry->created > now - m_cacheTimeout)) {
        const QByteArray document = entry->document;
        const QByteArray filename = entry->filename;
        lock.unlock();
        qDebug("StaticFileController: Cache hit for %s", path.constData());
        setContentType(QString::fromUtf8(filename), response);
        response.setHeader("Cache-Control", "max-age=" + QByteArray::number(m_maxAge / 1000));
        response.write(document, false);
        return;
    }
    lock.unlock();
    qDebug("StaticFileController: Cache miss for %s", path.constData());

    QByteArray servedPath = path;
    if (QFileInfo(fileName).isDir()) {
        servedPath += "/index.html";
        fileName = confinedPath(m_docroot, servedPath);
        if (fileName.isEmpty()) {
            forbidden(response);
            return;
        }
    }
    QFile file(fileName);
    qDebug("StaticFileController: Open file %s", qPrintable(file.fileName()));
    if (!file.open(QIODevice::ReadOnly)) {
        if (file.exists()) {
            qWarning("StaticFileController: Cannot open existing file %s for reading",
                     qPrintable(file.fileName()));
            forbidden(response);
        } else {
            response.setStatus(404, "not found");
            response.write("404 not found", true);
        }
        return;
    }
    setContentType(QString::fromUtf8(servedPath), response);
    response.setHeader("Cache-Control", "max-age=" + QByteArray::number(m_maxAge / 1000));
    const bool cacheIt = file.size() <= m_maxCachedFileSize;
    QByteArray document;
    while (!file.atEnd() && file.error() == QFileDevice::NoError) {
        const QByteArray piece = file.read(kReadPiece);
        if (piece.isEmpty())
            break;
        response.write(piece, false);
        if (cacheIt)
            document += piece;
    }
    file.close();
    if (cacheIt) {
        auto *newEntry = new CacheEntry{ document, now, servedPath };
        const int cost = document.size();
        QMutexLocker insertLock(&m_mutex);
        m_cache.insert(cacheKey, newEntry, cost); // takes ownership, also when it drops it
    }
}

void StaticFileController::setContentType(QString fileName, HttpResponse &response) const
{
    for (const ContentType &type : kContentTypes) {
        if (!fileName.endsWith(QLatin1String(type.suffix)))
            continue;
        QByteArray value = type.type;
        if (type.withCharset)
            value += "; charset=" + m_encoding.toLatin1();
        response.setHeader("Content-Type", value);
        return;
    }
    qDebug("StaticFileController: unknown MIME type for filename '%s'", qPrintable(fileName));
}

} // namespace veskaweb
