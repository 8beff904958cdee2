#pragma once

#include "httpglobal.h"

#include <QTcpServer>

#include <memory>

class QSettings;

namespace veskaweb {

class HttpConnectionHandlerPool;
class HttpRequestHandler;

// Accepts TCP connections on one port and hands each to a connection handler thread of the
// pool; when the pool has none to give, answers the fixed 503 reply itself.
class HttpListener : public QTcpServer
{
    Q_OBJECT
    Q_DISABLE_COPY(HttpListener)

public:
    // Listens on every address at the port, with a default settings store of its own.
    HttpListener(int port, HttpRequestHandler *requestHandler, QObject *parent = nullptr);
    // Takes "port" and the other settings from the given store (not owned).
    HttpListener(QSettings *settings, HttpRequestHandler *requestHandler,
                 QObject *parent = nullptr);
    ~HttpListener() override;

    void listen();
    // Stops listening and ends every connection handler and its thread.
    void close();

    HttpConnectionHandlerPool *pool() const { return m_pool; }

protected:
    void incomingConnection(tSocketDescriptor socketDescriptor) override;

private:
    int m_port = 0;
    std::unique_ptr<QSettings> m_ownSettings;
    QSettings *m_settings = nullptr;
    HttpRequestHandler *m_requestHandler = nullptr; // not owned
    HttpConnectionHandlerPool *m_pool = nullptr; // owned
};

} // namespace veskaweb
