#include "httpfixture.h"

#include <QDeadlineTimer>
#include <QSettings>

namespace HttpFixture {

std::unique_ptr<QSettings> makeSettings(const QTemporaryDir &dir, const QVariantMap &values)
{
    auto settings = std::make_unique<QSettings>(dir.filePath(QStringLiteral("http.ini")),
                                                QSettings::IniFormat);
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        settings->setValue(it.key(), it.value());
    settings->sync();
    return settings;
}

bool SocketPair::open()
{
    if (!m_listener.listen(QHostAddress::LocalHost, 0))
        return false;
    m_client = std::make_unique<QTcpSocket>();
    m_client->connectToHost(QHostAddress::LocalHost, m_listener.serverPort());
    if (!m_client->waitForConnected(5000) || !m_listener.waitForNewConnection(5000))
        return false;
    m_server = m_listener.nextPendingConnection();
    return m_server != nullptr;
}

QByteArray readAtLeast(QTcpSocket *socket, int count, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QByteArray bytes = socket->readAll();
    while (bytes.size() < count && !deadline.hasExpired()) {
        if (!socket->waitForReadyRead(int(qMin<qint64>(100, deadline.remainingTime())))
            && socket->state() != QAbstractSocket::ConnectedState) {
            bytes += socket->readAll();
            break;
        }
        bytes += socket->readAll();
    }
    return bytes;
}

QByteArray readUntilClosed(QTcpSocket *socket, int timeoutMs, bool *closed)
{
    const QDeadlineTimer deadline(timeoutMs);
    QByteArray bytes = socket->readAll();
    while (socket->state() == QAbstractSocket::ConnectedState && !deadline.hasExpired()) {
        socket->waitForReadyRead(int(qMin<qint64>(100, deadline.remainingTime())));
        bytes += socket->readAll();
    }
    bytes += socket->readAll();
    if (closed)
        *closed = socket->state() != QAbstractSocket::ConnectedState;
    return bytes;
}

std::unique_ptr<QTcpSocket> connectTo(quint16 port, int timeoutMs)
{
    auto socket = std::make_unique<QTcpSocket>();
    socket->connectToHost(QHostAddress::LocalHost, port);
    if (!socket->waitForConnected(timeoutMs))
        return nullptr;
    return socket;
}

} // namespace HttpFixture
