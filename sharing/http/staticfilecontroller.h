#pragma once

#include "httprequesthandler.h"

#include <QByteArray>
#include <QCache>
#include <QMutex>
#include <QString>

class QSettings;

namespace veskaweb {

// Answers a request with a file under a document root, with a content type chosen by the file
// name, a "Cache-Control" max-age and an in-memory cache of small files. Only files inside the
// root are served: a path must start with "/", may hold no ".." segment or NUL once decoded, and
// must still lie under the root once symbolic links are resolved.
class StaticFileController : public HttpRequestHandler
{
    Q_OBJECT
    Q_DISABLE_COPY(StaticFileController)

public:
    StaticFileController(QSettings *settings, QObject *parent = nullptr);
    ~StaticFileController() override;

    void service(HttpRequest &request, HttpResponse &response) override;
    void setContentType(QString fileName, HttpResponse &response) const;

    // The file that a decoded request path names under the root, or empty when the path would
    // leave the root. Pure: looks at the disk only to resolve links.
    static QString confinedPath(const QString &docroot, const QByteArray &path);

private:
    struct CacheEntry
    {
        QByteArray document;
        qint64 created = 0;
        QByteArray filename;
    };

    void forbidden(HttpResponse &response) const;

    QString m_encoding;
    QString m_docroot;
    int m_maxAge;
    int m_cacheTimeout;
    int m_maxCachedFileSize;
    QCache<QString, CacheEntry> m_cache; // guarded by m_mutex
    QMutex m_mutex;
};

} // namespace veskaweb
