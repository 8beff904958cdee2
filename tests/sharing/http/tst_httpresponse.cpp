#include "sharing/http/httpresponse.h"
#include "support/httpfixture.h"

#include <QtTest>

using veskaweb::HttpCookie;
using veskaweb::HttpResponse;

namespace {
// The server end of a connection that counts the writes made to it.
class CountingSocket : public QTcpSocket
{
public:
    int writes = 0;

protected:
    qint64 writeData(const char *data, qint64 size) override
    {
        ++writes;
        return QTcpSocket::writeData(data, size);
    }
};

class CountingServer : public QTcpServer
{
public:
    CountingSocket accepted;

protected:
    void incomingConnection(qintptr descriptor) override
    {
        accepted.setSocketDescriptor(descriptor);
    }
};

// What the client receives once the server side has written and closed.
QByteArray sent(HttpFixture::SocketPair &pair)
{
    pair.server()->disconnectFromHost();
    return HttpFixture::readUntilClosed(pair.client(), 10000);
}
} // namespace

class tst_HttpResponse : public QObject
{
    Q_OBJECT

private slots:
    void framing_data();
    void framing();
    void writesPerReply_data();
    void writesPerReply();
    void cookiesComeAfterHeaders();
    void redirect();
    void largeBodyArrivesWhole();
    void stalledReaderIsCutOff();
};

void tst_HttpResponse::framing_data()
{
    QTest::addColumn<QByteArray>("connection"); // the header name to set "close" under, or empty
    QTest::addColumn<QList<QByteArray>>("parts"); // the last one is written as the last part
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("one last part") << QByteArray() << QList<QByteArray>{ "abc" }
                                   << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nabc");
    QTest::newRow("chunked") << QByteArray() << QList<QByteArray>{ "abc", "" }
                             << QByteArray("HTTP/1.1 200 OK\r\nTransfer-Encoding: "
                                           "chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n");
    QTest::newRow("closing connection")
            << QByteArray("Connection") << QList<QByteArray>{ "abc", "" }
            << QByteArray("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\nabc");
    QTest::newRow("closing connection, small letters")
            << QByteArray("connection") << QList<QByteArray>{ "abc", "" }
            << QByteArray("HTTP/1.1 200 OK\r\nconnection: close\r\n\r\nabc");
    QTest::newRow("capitals do not stop chunking")
            << QByteArray("CONNECTION") << QList<QByteArray>{ "abc", "" }
            << QByteArray("HTTP/1.1 200 OK\r\nCONNECTION: close\r\nTransfer-Encoding: "
                          "chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n");
    QTest::newRow("255 bytes announced in lower case")
            << QByteArray() << QList<QByteArray>{ QByteArray(255, 'x'), "" }
            << "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nff\r\n" + QByteArray(255, 'x')
                    + "\r\n0\r\n\r\n";
    QTest::newRow("empty part that is not the last")
            << QByteArray() << QList<QByteArray>{ "", "" }
            << QByteArray("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n");
}

void tst_HttpResponse::framing()
{
    QFETCH(QByteArray, connection);
    QFETCH(QList<QByteArray>, parts);
    QFETCH(QByteArray, expected);
    HttpFixture::SocketPair pair;
    QVERIFY(pair.open());
    HttpResponse response(pair.server());
    if (!connection.isEmpty())
        response.setHeader(connection, "close");
    for (int i = 0; i < parts.size(); ++i)
        response.write(parts.at(i), i + 1 == parts.size());
    QVERIFY(response.hasSentLastPart());
    QCOMPARE(sent(pair), expected);
}

void tst_HttpResponse::writesPerReply_data()
{
    // A reply leaves in as few socket writes as its parts allow: a last piece written on its own
    // would wait for the client's acknowledgement of the piece before it.
    QTest::addColumn<QList<int>>("partSizes"); // the last one is written as the last part
    QTest::addColumn<int>("writes");
    QTest::newRow("one last part") << QList<int>{ 3 } << 1;
    QTest::newRow("a frame and the empty last part") << QList<int>{ 40000, 0 } << 1;
    QTest::newRow("no body at all") << QList<int>{ 0, 0 } << 1;
    QTest::newRow("small parts gather") << QList<int>{ 100, 100, 100, 0 } << 1;
    QTest::newRow("a large part leaves before the next") << QList<int>{ 20000, 20000, 0 } << 2;
}

void tst_HttpResponse::writesPerReply()
{
    QFETCH(QList<int>, partSizes);
    QFETCH(int, writes);
    CountingServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, server.serverPort());
    QVERIFY(client.waitForConnected(5000));
    QTRY_VERIFY(server.accepted.state() == QAbstractSocket::ConnectedState);
    qint64 body = 0;
    {
        HttpResponse response(&server.accepted);
        for (int i = 0; i < partSizes.size(); ++i) {
            response.write(QByteArray(partSizes.at(i), 'x'), i + 1 == partSizes.size());
            body += partSizes.at(i);
        }
    }
    QCOMPARE(server.accepted.writes, writes);
    server.accepted.disconnectFromHost();
    const QByteArray received = HttpFixture::readUntilClosed(&client, 10000);
    QCOMPARE(received.count('x'), int(body));
    QVERIFY(received.endsWith(partSizes.size() > 1 ? "0\r\n\r\n" : "xxx"));
}

void tst_HttpResponse::cookiesComeAfterHeaders()
{
    HttpFixture::SocketPair pair;
    QVERIFY(pair.open());
    HttpResponse response(pair.server());
    response.setStatus(404);
    response.setHeader("Transfer-Encoding", "x");
    response.setHeader("Content-Type", "text/plain");
    response.setHeader("Connection", "keep-alive");
    response.setCookie(HttpCookie("b", "1", 0));
    response.setCookie(HttpCookie("a", "old", 0));
    response.setCookie(HttpCookie("a", "new", 0));
    response.setCookie(HttpCookie("", "ignored", 0));
    QCOMPARE(response.getCookies().size(), 2);
    response.write("x", true);
    QCOMPARE(sent(pair),
             QByteArray("HTTP/1.1 404 \r\nConnection: keep-alive\r\nContent-Length: 1\r\n"
                        "Content-Type: text/plain\r\nTransfer-Encoding: x\r\n"
                        "Set-Cookie: a=new; Version=1\r\nSet-Cookie: b=1; Version=1\r\n\r\nx"));
}

void tst_HttpResponse::redirect()
{
    HttpFixture::SocketPair pair;
    QVERIFY(pair.open());
    HttpResponse response(pair.server());
    response.redirect("/next");
    QCOMPARE(response.getStatusCode(), 303);
    QCOMPARE(sent(pair),
             QByteArray("HTTP/1.1 303 See Other\r\nContent-Length: 8\r\nLocation: /next\r\n\r\n"
                        "Redirect"));
}

void tst_HttpResponse::largeBodyArrivesWhole()
{
    // Back-pressure must not drop bytes: the client reads in the background of the writes.
    HttpFixture::SocketPair pair;
    QVERIFY(pair.open());
    QByteArray received;
    connect(pair.client(), &QTcpSocket::readyRead, this,
            [&] { received += pair.client()->readAll(); });
    QByteArray body(3 * 1024 * 1024, '\0');
    for (int i = 0; i < body.size(); ++i)
        body[i] = char(i * 7);
    HttpResponse response(pair.server());
    response.write(body, true);
    received += sent(pair);
    const QByteArray head = "HTTP/1.1 200 OK\r\nContent-Length: 3145728\r\n\r\n";
    QCOMPARE(received.size(), head.size() + body.size());
    QVERIFY(received.startsWith(head));
    QVERIFY(received.mid(head.size()) == body);
}

void tst_HttpResponse::stalledReaderIsCutOff()
{
    // A client that stops reading: the write gives up after its limit and aborts the socket.
    HttpFixture::SocketPair pair;
    QVERIFY(pair.open());
    pair.client()->setReadBufferSize(1024);
    HttpResponse response(pair.server());
    response.setWriteTimeout(300);
    const QByteArray piece(1024 * 1024, 'x');
    for (int i = 0; i < 64 && pair.server()->state() == QAbstractSocket::ConnectedState; ++i)
        response.write(piece, false);
    QCOMPARE(pair.server()->state(), QAbstractSocket::UnconnectedState);
    QVERIFY(!response.isConnected());
}

QTEST_GUILESS_MAIN(tst_HttpResponse)
#include "tst_httpresponse.moc"
