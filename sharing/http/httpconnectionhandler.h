#pragma once

#include "httpglobal.h"

#include <QByteArray>
#include <QThread>

#include <atomic>
#include <memory>

class QSettings;
class QSslConfiguration;
class QTcpSocket;
class QTimer;

namespace veskaweb {

class HttpRequest;
class HttpRequestHandler;

// Serves one TCP connection at a time in a thread of its own: reads requests through the parser,
// passes each complete one to the request handler, finishes the reply, and keeps the connection
// for the next request or closes it. The handler, its socket and its read timer live in the
// handler's own thread; the pool hands it a connection only as a queued call of handleConnection.
class HttpConnectionHandler : public QThread
{
    Q_OBJECT
    Q_DISABLE_COPY(HttpConnectionHandler)

public:
    // Starts the thread at once. The TLS configuration (or null) stays the pool's.
    HttpConnectionHandler(QSettings *settings, HttpRequestHandler *requestHandler,
                          const QSslConfiguration *sslConfiguration = nullptr);
    // Stops the thread (a live connection is aborted) and waits for it.
    ~HttpConnectionHandler() override;

    bool isBusy() const { return m_busy.load(); }
    void setBusy(bool busy = true) { m_busy.store(busy); }

    // Asks the thread to end without waiting: its waits are cut short, its connection aborted.
    // Lets a pool stop all its handlers first and then wait for each.
    void stop();

public slots:
    void handleConnection(tSocketDescriptor socketDescriptor);

protected:
    void run() override;

private slots:
    void readTimeout();
    void read();
    void disconnected();

private:
    QTcpSocket *createSocket();
    // False when the connection was closed after the reply.
    bool serveCurrentRequest();
    void closeConnection();

    QSettings *m_settings; // not owned
    QTcpSocket *m_socket; // lives in this thread; deleted when the thread ends
    QTimer *m_readTimer; // likewise
    std::unique_ptr<HttpRequest> m_currentRequest;
    HttpRequestHandler *m_requestHandler; // not owned
    std::atomic<bool> m_busy{ false }; // set by the pool's thread, cleared by this one
    const QSslConfiguration *m_sslConfiguration; // not owned
    QThread *m_ownerThread; // where the handler goes back to when its thread ends
    QByteArray m_pending; // bytes received after the previous request of this connection
    bool m_inRead = false;
    // Read from the settings once per connection: a read per request would make every
    // connection thread queue on the settings' lock. The read timeout bounds the wait for one
    // whole request, head and body, from the moment it is awaited.
    int m_readTimeoutMs = 10000;
    int m_writeTimeoutMs = kDefaultWriteTimeoutMs;
    qint64 m_maxRequestSize = 16000;
    qint64 m_maxMultiPartSize = 1000000;
};

} // namespace veskaweb
