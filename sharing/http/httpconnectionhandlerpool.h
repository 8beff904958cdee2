#pragma once

#include <QList>
#include <QMutex>
#include <QObject>
#include <QTimer>

#include <memory>

class QSettings;
class QSslConfiguration;

namespace veskaweb {

class HttpConnectionHandler;
class HttpRequestHandler;

// The connection threads: handlers are made on demand up to "maxThreads", handed out in list
// order, and removed one per "cleanupInterval" down to "minThreads" idle ones. Also loads the
// optional TLS configuration given to every handler.
class HttpConnectionHandlerPool : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(HttpConnectionHandlerPool)

public:
    HttpConnectionHandlerPool(QSettings *settings, HttpRequestHandler *requestHandler);
    // Stops every handler first, then waits for each: shutdown aborts live connections.
    ~HttpConnectionHandlerPool() override;

    // A handler marked busy, or null when the pool is full and every handler is busy.
    HttpConnectionHandler *getConnectionHandler();

    int handlerCount() const;
    int idleHandlerCount() const;
    bool isSslEnabled() const { return m_sslConfiguration != nullptr; }

public slots:
    void cleanup();

private:
    void loadSslConfig();

    QSettings *m_settings; // not owned
    HttpRequestHandler *m_requestHandler; // not owned
    QList<HttpConnectionHandler *> m_pool; // owned, in creation order; guarded by m_mutex
    QTimer m_cleanupTimer;
    mutable QMutex m_mutex;
    std::unique_ptr<QSslConfiguration> m_sslConfiguration;
};

} // namespace veskaweb
