#include "httpfixture.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QSettings>
#include <QTimer>

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

namespace {
// Runs the event loop until the socket reports something or a short slice passes: the server
// under test may live in this thread, so a blocking wait would starve it.
void waitForSocket(QTcpSocket *socket, const QDeadlineTimer &deadline)
{
    QEventLoop loop;
    QTimer slice;
    slice.setSingleShot(true);
    QObject::connect(&slice, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(socket, &QTcpSocket::readyRead, &loop, &QEventLoop::quit);
    QObject::connect(socket, &QTcpSocket::disconnected, &loop, &QEventLoop::quit);
    slice.start(int(qBound<qint64>(0, deadline.remainingTime(), 50)));
    loop.exec();
}
} // namespace

QByteArray readAtLeast(QTcpSocket *socket, int count, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QByteArray bytes = socket->readAll();
    while (bytes.size() < count && !deadline.hasExpired()
           && socket->state() == QAbstractSocket::ConnectedState) {
        waitForSocket(socket, deadline);
        bytes += socket->readAll();
    }
    return bytes + socket->readAll();
}

QByteArray readUntilClosed(QTcpSocket *socket, int timeoutMs, bool *closed)
{
    const QDeadlineTimer deadline(timeoutMs);
    QByteArray bytes = socket->readAll();
    while (socket->state() == QAbstractSocket::ConnectedState && !deadline.hasExpired()) {
        waitForSocket(socket, deadline);
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
    const QDeadlineTimer deadline(timeoutMs);
    while (socket->state() != QAbstractSocket::ConnectedState && !deadline.hasExpired()
           && socket->state() != QAbstractSocket::UnconnectedState) {
        QEventLoop loop;
        QTimer slice;
        slice.setSingleShot(true);
        QObject::connect(&slice, &QTimer::timeout, &loop, &QEventLoop::quit);
        QObject::connect(socket.get(), &QTcpSocket::stateChanged, &loop, &QEventLoop::quit);
        slice.start(20);
        loop.exec();
    }
    if (socket->state() != QAbstractSocket::ConnectedState)
        return nullptr;
    return socket;
}

} // namespace HttpFixture
