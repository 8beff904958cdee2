#include "httpconnectionhandler.h"

#include "httprequest.h"
#include "httprequesthandler.h"
#include "httpresponse.h"

#include <QScopedValueRollback>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>
#include <QtDebug>

#include <exception>

#include <unistd.h>

namespace veskaweb {

namespace {
const QByteArray kEntityTooLarge =
        "HTTP/1.1 413 entity too large\r\nConnection: close\r\n\r\n413 Entity too large\r\n";
constexpr unsigned long kStopWaitMs = 5000;
} // namespace

HttpConnectionHandler::HttpConnectionHandler(QSettings *settings,
                                             HttpRequestHandler *requestHandler,
                                             const QSslConfiguration *sslConfiguration)
    : m_settings(settings),
      m_requestHandler(requestHandler),
      m_sslConfiguration(sslConfiguration),
      m_ownerThread(QThread::currentThread())
{
    m_socket = createSocket();
    m_readTimer = new QTimer;
    m_readTimer->setSingleShot(true);
    moveToThread(this);
    m_socket->moveToThread(this);
    m_readTimer->moveToThread(this);
    connect(m_socket, &QTcpSocket::readyRead, this, &HttpConnectionHandler::read);
    connect(m_socket, &QTcpSocket::disconnected, this, &HttpConnectionHandler::disconnected);
    connect(m_readTimer, &QTimer::timeout, this, &HttpConnectionHandler::readTimeout);
    qDebug("HttpConnectionHandler (%p): constructed", static_cast<void *>(this));
    start();
}

HttpConnectionHandler::~HttpConnectionHandler()
{
    stop();
    if (!wait(kStopWaitMs)) {
        // Every wait of ours is cut short by the stop; only a request handler that ignores it
        // can still be running, and its objects must not be freed under it.
        qCritical("HttpConnectionHandler (%p): thread does not stop, still waiting",
                  static_cast<void *>(this));
        wait();
    }
    qDebug("HttpConnectionHandler (%p): destroyed", static_cast<void *>(this));
}

void HttpConnectionHandler::stop()
{
    requestInterruption();
    quit();
}

QTcpSocket *HttpConnectionHandler::createSocket()
{
    if (m_sslConfiguration) {
        auto *sslSocket = new QSslSocket;
        sslSocket->setSslConfiguration(*m_sslConfiguration);
        qDebug("HttpConnectionHandler (%p): SSL is enabled", static_cast<void *>(this));
        return sslSocket;
    }
    return new QTcpSocket;
}

void HttpConnectionHandler::run()
{
    qDebug("HttpConnectionHandler (%p): thread started", static_cast<void *>(this));
    try {
        exec();
    } catch (...) {
        qCritical("HttpConnectionHandler (%p): an uncatched exception occured in the thread",
                  static_cast<void *>(this));
    }
    m_currentRequest.reset();
    m_socket->abort(); // shutdown ends live connections at once, without a drain
    delete m_socket;
    m_socket = nullptr;
    m_readTimer->stop();
    delete m_readTimer;
    m_readTimer = nullptr;
    // Back to the pool's thread, which destroys the handler.
    moveToThread(m_ownerThread);
    qDebug("HttpConnectionHandler (%p): thread stopped", static_cast<void *>(this));
}

void HttpConnectionHandler::handleConnection(tSocketDescriptor socketDescriptor)
{
    qDebug("HttpConnectionHandler (%p): handle new connection", static_cast<void *>(this));
    m_busy.store(true);
    // The socket is reused: drop anything a previous connection left in its buffers.
    m_socket->abort();
    m_pending.clear();
    m_currentRequest.reset();
    if (!m_socket->setSocketDescriptor(socketDescriptor)) {
        qCritical("HttpConnectionHandler (%p): cannot initialize socket: %s",
                  static_cast<void *>(this), qPrintable(m_socket->errorString()));
        // Nobody else will close the descriptor, and a handler kept busy for ever would shrink
        // the pool for good.
        ::close(int(socketDescriptor));
        m_busy.store(false);
        return;
    }
    // Replies are written whole; none of them should wait for the client to acknowledge the
    // one before (a viewer asks for the next frame as soon as one arrives).
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    if (auto *sslSocket = qobject_cast<QSslSocket *>(m_socket)) {
        qDebug("HttpConnectionHandler (%p): Starting encryption", static_cast<void *>(this));
        sslSocket->startServerEncryption();
    }
    m_readTimeoutMs = int(readIntSetting(m_settings, QStringLiteral("readTimeout"), 10000));
    m_maxRequestSize = readIntSetting(m_settings, QStringLiteral("maxRequestSize"), 16000);
    m_maxMultiPartSize = readIntSetting(m_settings, QStringLiteral("maxMultiPartSize"), 1000000);
    m_writeTimeoutMs =
            int(readIntSetting(m_settings, QStringLiteral("writeTimeout"), kDefaultWriteTimeoutMs));
    m_readTimer->start(m_readTimeoutMs);
}

void HttpConnectionHandler::read()
{
    // A blocking write inside the request handler may report new bytes: they stay in the
    // socket and the loop below takes them when the reply is done.
    if (m_inRead)
        return;
    const QScopedValueRollback<bool> guard(m_inRead, true);
    while (m_socket->isOpen() && (m_socket->bytesAvailable() > 0 || !m_pending.isEmpty())) {
        if (isInterruptionRequested())
            return;
        if (!m_currentRequest) {
            m_currentRequest =
                    std::make_unique<HttpRequest>(m_maxRequestSize, m_maxMultiPartSize);
            m_currentRequest->setPeerAddress(m_socket->peerAddress());
        }
        if (!m_pending.isEmpty())
            m_currentRequest->feed(std::exchange(m_pending, QByteArray()));
        while (m_socket->bytesAvailable() > 0
               && m_currentRequest->getStatus() != HttpRequest::requestComplete
               && m_currentRequest->getStatus() != HttpRequest::requestAborted) {
            // The read timer is not started again by what arrives: a request, head and body
            // together, must arrive whole within one read timeout of the moment it was awaited.
            // A client that trickles its bytes would otherwise hold a connection thread for as
            // long as it likes, and a hundred of them every thread the pool has.
            m_currentRequest->readFromSocket(m_socket);
        }
        const HttpRequest::ParseStatus status = m_currentRequest->getStatus();
        if (status == HttpRequest::requestAborted) {
            m_currentRequest.reset();
            writeWithLimit(m_socket, kEntityTooLarge, m_writeTimeoutMs);
            closeConnection();
            return;
        }
        if (status != HttpRequest::requestComplete)
            return; // wait for more bytes
        if (!serveCurrentRequest())
            return;
    }
}

bool HttpConnectionHandler::serveCurrentRequest()
{
    m_readTimer->stop();
    qDebug("HttpConnectionHandler (%p): received request", static_cast<void *>(this));
    HttpResponse response(m_socket);
    response.setWriteTimeout(m_writeTimeoutMs);
    bool closeAfterReply = false;
    if (m_currentRequest->getHeader("Connection").toLower() == "close"
        || m_currentRequest->getVersion().toLower() == "http/1.0") {
        response.setHeader("Connection", "close");
        closeAfterReply = true;
    }
    try {
        if (m_requestHandler) {
            m_requestHandler->service(*m_currentRequest, response);
        } else {
            HttpRequestHandler fallback;
            fallback.service(*m_currentRequest, response);
        }
    } catch (...) {
        qCritical("HttpConnectionHandler (%p): An uncatched exception occured in the request "
                  "handler",
                  static_cast<void *>(this));
    }
    if (!response.hasSentLastPart())
        response.write(QByteArray(), true);
    qDebug("HttpConnectionHandler (%p): finished request", static_cast<void *>(this));

    if (!closeAfterReply) {
        const QMap<QByteArray, QByteArray> &headers = response.getHeaders();
        if (headers.value("Connection").toLower() == "close")
            closeAfterReply = true;
        else
            closeAfterReply = !headers.contains("Content-Length")
                    && headers.value("Transfer-Encoding").toLower() != "chunked";
    }
    m_pending = m_currentRequest->takeUnconsumed();
    m_currentRequest.reset();
    if (closeAfterReply || m_socket->state() != QAbstractSocket::ConnectedState) {
        m_pending.clear();
        closeConnection();
        return false;
    }
    m_readTimer->start(m_readTimeoutMs);
    return true;
}

void HttpConnectionHandler::closeConnection()
{
    drainWithLimit(m_socket, m_writeTimeoutMs);
    m_socket->disconnectFromHost();
}

void HttpConnectionHandler::readTimeout()
{
    qDebug("HttpConnectionHandler (%p): read timeout occured", static_cast<void *>(this));
    closeConnection();
    m_currentRequest.reset();
    m_pending.clear();
}

void HttpConnectionHandler::disconnected()
{
    qDebug("HttpConnectionHandler (%p): disconnected", static_cast<void *>(this));
    m_socket->close();
    m_readTimer->stop();
    m_pending.clear();
    m_busy.store(false);
}

} // namespace veskaweb
