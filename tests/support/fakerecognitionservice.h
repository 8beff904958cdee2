#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

// Plays the online recognition service on 127.0.0.1: reads whole HTTP requests (headers and a
// Content-Length body) and answers each with the scripted reply, or holds it until the test
// answers it.
class FakeRecognitionService : public QObject
{
    Q_OBJECT
public:
    struct Request
    {
        QByteArray requestLine; // "POST /path HTTP/1.1"
        QByteArray contentType;
        QByteArray body; // as it came on the wire
        QPointer<QTcpSocket> socket;
    };

    bool listen();
    void close() { m_server.close(); }
    // "127.0.0.1:<port>", for QHandwritingCustomSupport::setServiceHost.
    QString host() const;

    // Every request answered at once with this reply; hold() keeps them waiting instead.
    void replyWith(int status, const QByteArray &body);
    void hold() { m_holding = true; }
    void answer(int index, int status, const QByteArray &body);

    const QList<Request> &requests() const { return m_requests; }
    // The form fields of a request body, percent-decoded ('+' is not a blank).
    static QHash<QByteArray, QByteArray> formFields(const QByteArray &body);

signals:
    void requestReceived(int index);

private:
    void read(QTcpSocket *socket);

    QHash<QTcpSocket *, QByteArray> m_pending;
    QList<Request> m_requests;
    bool m_holding = false;
    int m_status = 200;
    QByteArray m_body;
    // Last: its sockets go first, while the buffers they report to still exist.
    QTcpServer m_server;
};
