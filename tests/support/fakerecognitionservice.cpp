#include "fakerecognitionservice.h"

bool FakeRecognitionService::listen()
{
    if (!m_server.listen(QHostAddress::LocalHost))
        return false;
    connect(&m_server, &QTcpServer::newConnection, this, [this]() {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket]() { read(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QObject::destroyed, this,
                    [this, socket]() { m_pending.remove(socket); });
        }
    });
    return true;
}

QString FakeRecognitionService::host() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_server.serverPort());
}

void FakeRecognitionService::replyWith(int status, const QByteArray &body)
{
    m_holding = false;
    m_status = status;
    m_body = body;
}

void FakeRecognitionService::read(QTcpSocket *socket)
{
    QByteArray &buffer = m_pending[socket];
    buffer += socket->readAll();
    const int end = buffer.indexOf("\r\n\r\n");
    if (end < 0)
        return;
    Request request;
    int length = 0;
    const QList<QByteArray> lines = buffer.left(end).split('\n');
    request.requestLine = lines.value(0).trimmed();
    for (const QByteArray &line : lines.mid(1)) {
        const int colon = line.indexOf(':');
        const QByteArray name = line.left(colon).trimmed().toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (name == "content-length")
            length = value.toInt();
        else if (name == "content-type")
            request.contentType = value;
    }
    if (buffer.size() < end + 4 + length)
        return;
    request.body = buffer.mid(end + 4, length);
    request.socket = socket;
    buffer.clear();
    m_requests.append(request);
    const int index = m_requests.size() - 1;
    emit requestReceived(index);
    if (!m_holding)
        answer(index, m_status, m_body);
}

void FakeRecognitionService::answer(int index, int status, const QByteArray &body)
{
    QTcpSocket *socket = m_requests.value(index).socket;
    if (!socket)
        return;
    socket->write("HTTP/1.1 " + QByteArray::number(status) + (status == 200 ? " OK" : " Error")
                  + "\r\nContent-Type: application/json" + "\r\nContent-Length: "
                  + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
    socket->disconnectFromHost();
}

QHash<QByteArray, QByteArray> FakeRecognitionService::formFields(const QByteArray &body)
{
    QHash<QByteArray, QByteArray> fields;
    for (const QByteArray &field : body.split('&')) {
        const int equals = field.indexOf('=');
        fields.insert(field.left(equals), QByteArray::fromPercentEncoding(field.mid(equals + 1)));
    }
    return fields;
}
