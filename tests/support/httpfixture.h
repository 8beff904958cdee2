#pragma once

#include <QByteArray>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QVariantMap>

#include <memory>

class QSettings;

namespace HttpFixture {

// A settings store in an INI file of its own, with the given keys set.
std::unique_ptr<QSettings> makeSettings(const QTemporaryDir &dir, const QVariantMap &values);

// Two connected TCP sockets on 127.0.0.1: `server` is the accepted end a response writes to,
// `client` the end a test reads from.
class SocketPair
{
public:
    bool open();
    QTcpSocket *server() const { return m_server; }
    QTcpSocket *client() const { return m_client.get(); }

private:
    QTcpServer m_listener;
    std::unique_ptr<QTcpSocket> m_client;
    QTcpSocket *m_server = nullptr;
};

// Reads from the socket until it holds `count` bytes, the peer closes, or timeoutMs pass.
QByteArray readAtLeast(QTcpSocket *socket, int count, int timeoutMs = 10000);
// Reads until the peer closes the connection or timeoutMs pass; `closed` tells which.
QByteArray readUntilClosed(QTcpSocket *socket, int timeoutMs, bool *closed = nullptr);
// A client connected to 127.0.0.1:port, or null.
std::unique_ptr<QTcpSocket> connectTo(quint16 port, int timeoutMs = 5000);

} // namespace HttpFixture
