#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>

class QWidget;

namespace ShareFixture {

// A TCP port that was free a moment ago on every address.
quint16 freePort();
// True when the port can be listened on now (every address).
bool portIsFree(quint16 port);

// Whether every module of the QR code of `text` appears in the picture as painted by QtQrItem
// into a widget of `size` at `origin`: the centre pixel of a dark module dark, of a light one
// light. `why` names the first module that differs.
bool qrModulesMatch(const QImage &picture, QPoint origin, QSize size, const QString &text,
                    QString *why = nullptr);

struct HttpReply
{
    bool ok = false; // a reply arrived (any status)
    int status = 0;
    QByteArray contentType;
    QByteArray body;
    QString error;
};

// A request by QNetworkAccessManager, a real HTTP client, to 127.0.0.1:port; the event loop runs
// while it waits, since the server under test may live in this thread.
HttpReply httpGet(quint16 port, const QByteArray &path, const QByteArray &verb = "GET",
                  int timeoutMs = 10000);

// A blocking HTTP/1.1 client on a plain socket to 127.0.0.1, usable from any thread (no event
// loop): for timing replies, with the server's thread left free to run its own loop.
class BlockingClient
{
public:
    BlockingClient() = default;
    ~BlockingClient();
    BlockingClient(const BlockingClient &) = delete;
    BlockingClient &operator=(const BlockingClient &) = delete;

    bool connectTo(quint16 port, int timeoutMs = 5000);
    void close();
    bool isConnected() const { return m_fd >= 0; }
    // Sends a GET of the path and reads the reply (chunked or with "Content-Length"); false on
    // a broken or cut-off reply or when timeoutMs pass. The body is returned without framing.
    bool get(const QByteArray &path, QByteArray *body, int timeoutMs = 5000);

private:
    bool fill(qint64 deadline);

    int m_fd = -1;
    QByteArray m_buffer;
};

// Whether the colour is within `tolerance` of the expected one on each channel.
bool near(QRgb actual, QRgb expected, int tolerance = 40);

} // namespace ShareFixture
