#include "sharefixture.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTcpServer>
#include <QTimer>
#include <QUrl>

#include <qrcodegen.hpp>

#include <QElapsedTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace ShareFixture {

quint16 freePort()
{
    QTcpServer server;
    if (!server.listen(QHostAddress::Any, 0))
        return 0;
    return server.serverPort();
}

bool portIsFree(quint16 port)
{
    QTcpServer server;
    return server.listen(QHostAddress::Any, port);
}

bool qrModulesMatch(const QImage &picture, QPoint origin, QSize size, const QString &text,
                    QString *why)
{
    const QByteArray utf8 = text.toUtf8();
    const qrcodegen::QrCode qr =
            qrcodegen::QrCode::encodeText(utf8.constData(), qrcodegen::QrCode::Ecc::LOW);
    const int modules = qr.getSize();
    const double cell = double(qMin(size.width(), size.height())) / (modules + 2);
    for (int y = 0; y < modules; ++y) {
        for (int x = 0; x < modules; ++x) {
            const QPoint centre = origin + QPoint(int((x + 1.5) * cell), int((y + 1.5) * cell));
            const bool dark = qGray(picture.pixel(centre)) < 100;
            if (dark != qr.getModule(x, y)) {
                if (why)
                    *why = QStringLiteral("module (%1, %2) at pixel (%3, %4) is %5")
                                   .arg(x)
                                   .arg(y)
                                   .arg(centre.x())
                                   .arg(centre.y())
                                   .arg(dark ? "dark" : "light");
                return false;
            }
        }
    }
    return true;
}

HttpReply httpGet(quint16 port, const QByteArray &path, const QByteArray &verb, int timeoutMs)
{
    QNetworkAccessManager manager;
    manager.setProxy(QNetworkProxy::NoProxy);
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(port);
    QNetworkRequest request(url);
    // The path goes as it is, so that encoded and odd paths reach the server unchanged.
    request.setUrl(QUrl(url.toString() + QString::fromLatin1(path), QUrl::TolerantMode));
    QNetworkReply *reply = manager.sendCustomRequest(request, verb);
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(timeoutMs);
    loop.exec();
    HttpReply result;
    if (!reply->isFinished()) {
        reply->abort();
        result.error = QStringLiteral("no reply in time");
    } else {
        result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        result.ok = result.status != 0;
        result.contentType = reply->rawHeader("Content-Type");
        result.body = reply->readAll();
        result.error = reply->errorString();
    }
    delete reply;
    return result;
}

namespace {
qint64 nowMs()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return clock.elapsed();
}
} // namespace

BlockingClient::~BlockingClient()
{
    close();
}

void BlockingClient::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_buffer.clear();
}

bool BlockingClient::connectTo(quint16 port, int timeoutMs)
{
    close();
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_fd < 0)
        return false;
    // Like a browser: requests leave at once.
    const int one = 1;
    ::setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
        && errno != EINPROGRESS) {
        close();
        return false;
    }
    pollfd waiting{ m_fd, POLLOUT, 0 };
    int error = 0;
    socklen_t length = sizeof error;
    if (::poll(&waiting, 1, timeoutMs) != 1
        || ::getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
        close();
        return false;
    }
    return true;
}

bool BlockingClient::fill(qint64 deadline)
{
    const qint64 left = deadline - nowMs();
    if (left <= 0)
        return false;
    pollfd waiting{ m_fd, POLLIN, 0 };
    if (::poll(&waiting, 1, int(left)) != 1)
        return false;
    char piece[65536];
    const ssize_t got = ::recv(m_fd, piece, sizeof piece, 0);
    if (got <= 0)
        return false;
    m_buffer.append(piece, int(got));
    return true;
}

bool BlockingClient::get(const QByteArray &path, QByteArray *body, int timeoutMs)
{
    if (m_fd < 0)
        return false;
    const qint64 deadline = nowMs() + timeoutMs;
    const QByteArray request = "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    if (::send(m_fd, request.constData(), size_t(request.size()), MSG_NOSIGNAL) != request.size())
        return false;
    int headEnd;
    while ((headEnd = m_buffer.indexOf("\r\n\r\n")) < 0) {
        if (!fill(deadline))
            return false;
    }
    const QByteArray head = m_buffer.left(headEnd).toLower();
    m_buffer.remove(0, headEnd + 4);
    body->clear();
    const int lengthAt = head.indexOf("\r\ncontent-length: ");
    if (lengthAt >= 0) {
        const int valueAt = lengthAt + 18;
        const int length = head.mid(valueAt, head.indexOf('\r', valueAt) - valueAt).toInt();
        while (m_buffer.size() < length) {
            if (!fill(deadline))
                return false;
        }
        *body = m_buffer.left(length);
        m_buffer.remove(0, length);
        return true;
    }
    if (!head.contains("\r\ntransfer-encoding: chunked"))
        return false;
    for (;;) {
        int lineEnd;
        while ((lineEnd = m_buffer.indexOf("\r\n")) < 0) {
            if (!fill(deadline))
                return false;
        }
        bool ok = false;
        const int size = m_buffer.left(lineEnd).toInt(&ok, 16);
        if (!ok)
            return false;
        while (m_buffer.size() < lineEnd + 2 + size + 2) {
            if (!fill(deadline))
                return false;
        }
        if (m_buffer.mid(lineEnd + 2 + size, 2) != "\r\n")
            return false;
        body->append(m_buffer.mid(lineEnd + 2, size));
        m_buffer.remove(0, lineEnd + 2 + size + 2);
        if (size == 0)
            return true;
    }
}

bool near(QRgb actual, QRgb expected, int tolerance)
{
    return qAbs(qRed(actual) - qRed(expected)) <= tolerance
            && qAbs(qGreen(actual) - qGreen(expected)) <= tolerance
            && qAbs(qBlue(actual) - qBlue(expected)) <= tolerance;
}

} // namespace ShareFixture
