#include "httpconnectionhandlerpool.h"

#include "httpconnectionhandler.h"
#include "httpglobal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <QSettings>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>
#include <QtDebug>

namespace veskaweb {

HttpConnectionHandlerPool::HttpConnectionHandlerPool(QSettings *settings,
                                                     HttpRequestHandler *requestHandler)
    : m_settings(settings), m_requestHandler(requestHandler)
{
    loadSslConfig();
    connect(&m_cleanupTimer, &QTimer::timeout, this, &HttpConnectionHandlerPool::cleanup);
    m_cleanupTimer.start(int(readIntSetting(settings, QStringLiteral("cleanupInterval"), 1000)));
}

HttpConnectionHandlerPool::~HttpConnectionHandlerPool()
{
    m_cleanupTimer.stop();
    QList<HttpConnectionHandler *> handlers;
    {
        QMutexLocker lock(&m_mutex);
        handlers.swap(m_pool);
    }
    // All threads are asked to stop before the first wait, so that shutting down takes the time
    // of the slowest handler, not the sum.
    for (HttpConnectionHandler *handler : qAsConst(handlers))
        handler->stop();
    qDeleteAll(handlers);
    qDebug("HttpConnectionHandlerPool (%p): destroyed", static_cast<void *>(this));
}

HttpConnectionHandler *HttpConnectionHandlerPool::getConnectionHandler()
{
    // Read before locking: the settings have a lock of their own.
    const qint64 maxThreads = readIntSetting(m_settings, QStringLiteral("maxThreads"), 100);
    QMutexLocker lock(&m_mutex);
    for (HttpConnectionHandler *handler : qAsConst(m_pool)) {
        if (!handler->isBusy()) {
            handler->setBusy();
            return handler;
        }
    }
    if (m_pool.size() >= maxThreads)
        return nullptr;
    auto *handler =
            new HttpConnectionHandler(m_settings, m_requestHandler, m_sslConfiguration.get());
    handler->setBusy();
    m_pool.append(handler);
    return handler;
}

int HttpConnectionHandlerPool::handlerCount() const
{
    QMutexLocker lock(&m_mutex);
    return m_pool.size();
}

int HttpConnectionHandlerPool::idleHandlerCount() const
{
    QMutexLocker lock(&m_mutex);
    int idle = 0;
    for (const HttpConnectionHandler *handler : m_pool)
        idle += handler->isBusy() ? 0 : 1;
    return idle;
}

void HttpConnectionHandlerPool::cleanup()
{
    const qint64 maxIdleHandlers = readIntSetting(m_settings, QStringLiteral("minThreads"), 1);
    HttpConnectionHandler *surplus = nullptr;
    int poolSize = 0;
    {
        QMutexLocker lock(&m_mutex);
        int idleCount = 0;
        for (int i = 0; i < m_pool.size(); ++i) {
            if (m_pool.at(i)->isBusy())
                continue;
            if (++idleCount > maxIdleHandlers) {
                surplus = m_pool.takeAt(i);
                break;
            }
        }
        poolSize = m_pool.size();
    }
    if (!surplus)
        return;
    // Out of the list, so nobody can take it; its thread is stopped without holding the lock.
    delete surplus;
    qDebug("HttpConnectionHandlerPool: Removed connection handler (%p), pool size is now %i",
           static_cast<void *>(surplus), poolSize);
}

void HttpConnectionHandlerPool::loadSslConfig()
{
    QString keyFileName = readTextSetting(m_settings, QStringLiteral("sslKeyFile"));
    QString certFileName = readTextSetting(m_settings, QStringLiteral("sslCertFile"));
    if (keyFileName.isEmpty() || certFileName.isEmpty())
        return;
    const QString settingsDir =
            m_settings ? QFileInfo(m_settings->fileName()).absolutePath() : QDir::currentPath();
    if (QDir::isRelativePath(keyFileName))
        keyFileName = QFileInfo(QDir(settingsDir), keyFileName).absoluteFilePath();
    if (QDir::isRelativePath(certFileName))
        certFileName = QFileInfo(QDir(settingsDir), certFileName).absoluteFilePath();

    QFile certFile(certFileName);
    if (!certFile.open(QIODevice::ReadOnly)) {
        qCritical("HttpConnectionHandlerPool: cannot open sslCertFile %s",
                  qPrintable(certFileName));
        return;
    }
    const QSslCertificate certificate(&certFile, QSsl::Pem);
    certFile.close();

    QFile keyFile(keyFileName);
    if (!keyFile.open(QIODevice::ReadOnly)) {
        qCritical("HttpConnectionHandlerPool: cannot open sslKeyFile %s", qPrintable(keyFileName));
        return;
    }
    const QSslKey key(&keyFile, QSsl::Rsa, QSsl::Pem, QSsl::PrivateKey);
    keyFile.close();

    m_sslConfiguration = std::make_unique<QSslConfiguration>();
    m_sslConfiguration->setLocalCertificate(certificate);
    m_sslConfiguration->setPrivateKey(key);
    m_sslConfiguration->setPeerVerifyMode(QSslSocket::VerifyNone);
    // Only what the TLS library itself calls secure: TLS 1.0 and SSL 3 are refused by current
    // clients and libraries anyway.
    m_sslConfiguration->setProtocol(QSsl::SecureProtocols);
    qDebug("HttpConnectionHandlerPool: SSL settings loaded");
}

} // namespace veskaweb
