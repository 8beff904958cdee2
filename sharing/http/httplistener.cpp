#include "httplistener.h"

#include "httpconnectionhandler.h"
#include "httpconnectionhandlerpool.h"

#include <QHostAddress>
#include <QSettings>
#include <QTcpSocket>
#include <QTimer>
#include <QtDebug>

#include <unistd.h>

namespace veskaweb {

namespace {
const QByteArray kTooManyConnections =
        "HTTP/1.1 503 too many connections\r\nConnection: close\r\n\r\nToo many connections\r\n";
} // namespace

HttpListener::HttpListener(int port, HttpRequestHandler *requestHandler, QObject *)
    : QTcpServer(nullptr),
      m_port(port),
      m_ownSettings(std::make_unique<QSettings>()),
      m_settings(m_ownSettings.get()),
      m_requestHandler(requestHandler)
{
    registerSocketDescriptorType();
    listen();
}

HttpListener::HttpListener(QSettings *settings, HttpRequestHandler *requestHandler, QObject *parent)
    : QTcpServer(parent),
      m_port(int(readIntSetting(settings, QStringLiteral("port"), 0))),
      m_settings(settings),
      m_requestHandler(requestHandler)
{
    registerSocketDescriptorType();
    listen();
}

HttpListener::~HttpListener()
{
    close();
    qDebug("HttpListener: destroyed");
}

void HttpListener::listen()
{
    if (!m_pool)
        m_pool = new HttpConnectionHandlerPool(m_settings, m_requestHandler);
    const QString host = readTextSetting(m_settings, QStringLiteral("host"));
    const QHostAddress address =
            host.isEmpty() ? QHostAddress(QHostAddress::Any) : QHostAddress(host);
    QTcpServer::listen(address, quint16(m_port));
    if (!isListening())
        qCritical("HttpListener: Cannot bind on port %i: %s", m_port, qPrintable(errorString()));
    else
        qDebug("HttpListener: Listening on port %i", m_port);
}

void HttpListener::close()
{
    QTcpServer::close();
    qDebug("HttpListener: closed");
    delete m_pool;
    m_pool = nullptr;
}

void HttpListener::incomingConnection(tSocketDescriptor socketDescriptor)
{
    HttpConnectionHandler *handler = m_pool ? m_pool->getConnectionHandler() : nullptr;
    if (handler) {
        if (QMetaObject::invokeMethod(handler, "handleConnection", Qt::QueuedConnection,
                                      Q_ARG(tSocketDescriptor, socketDescriptor)))
            return;
        // The hand-over failed: the handler must not stay taken, nor the descriptor open.
        qCritical("HttpListener: cannot hand the connection to a handler");
        handler->setBusy(false);
        ::close(int(socketDescriptor));
        return;
    }
    qDebug("HttpListener: Too many incoming connections");
    auto *socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(socketDescriptor)) {
        ::close(int(socketDescriptor));
        delete socket;
        return;
    }
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    // A client that never reads must not keep the socket: it is dropped after the write limit.
    const int writeTimeout =
            int(readIntSetting(m_settings, QStringLiteral("writeTimeout"), kDefaultWriteTimeoutMs));
    QTimer::singleShot(writeTimeout, socket, &QTcpSocket::abort);
    socket->write(kTooManyConnections);
    socket->disconnectFromHost();
}

} // namespace veskaweb
