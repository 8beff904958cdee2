#include "sharing/http/httpconnectionhandler.h"
#include "sharing/http/httpconnectionhandlerpool.h"
#include "sharing/http/httplistener.h"
#include "sharing/http/httprequest.h"
#include "sharing/http/httprequesthandler.h"
#include "sharing/http/httpresponse.h"
#include "support/httpfixture.h"

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QSslSocket>
#include <QtTest>

using namespace veskaweb;
using HttpFixture::connectTo;
using HttpFixture::readAtLeast;
using HttpFixture::readUntilClosed;

namespace {
const QByteArray kEntityTooLarge =
        "HTTP/1.1 413 entity too large\r\nConnection: close\r\n\r\n413 Entity too large\r\n";
const QByteArray kTooManyConnections =
        "HTTP/1.1 503 too many connections\r\nConnection: close\r\n\r\nToo many connections\r\n";

QByteArray ok(const QByteArray &body)
{
    return "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n"
            + body;
}

QByteArray get(const QByteArray &path, const QByteArray &extra = QByteArray())
{
    return "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + extra + "\r\n";
}

// Answers with the decoded path; a few paths answer otherwise.
class TestHandler : public HttpRequestHandler
{
public:
    void service(HttpRequest &request, HttpResponse &response) override
    {
        const QByteArray path = request.getPath();
        if (path == "/chunks") {
            response.write("ab");
            response.write("cd"); // the last, empty part is left to the connection handler
        } else if (path == "/big") {
            const QByteArray piece(1024 * 1024, 'x');
            for (int i = 0; i < 256 && response.isConnected(); ++i)
                response.write(piece);
        } else if (path == "/post") {
            response.write(request.getBody(), true);
        } else {
            response.write(path, true);
        }
    }
};

// A listener on a free port of 127.0.0.1 with its own settings.
struct Server
{
    explicit Server(const QVariantMap &values = {}, HttpRequestHandler *handler = nullptr)
    {
        QVariantMap all{ { "host", "127.0.0.1" }, { "port", 0 } };
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            all.insert(it.key(), it.value());
        settings = HttpFixture::makeSettings(dir, all);
        listener = std::make_unique<HttpListener>(settings.get(), handler ? handler : &testHandler);
    }
    quint16 port() const { return listener->serverPort(); }

    QTemporaryDir dir;
    std::unique_ptr<QSettings> settings;
    TestHandler testHandler;
    std::unique_ptr<HttpListener> listener;
};
} // namespace

class tst_HttpListener : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void keepAliveAndPipelining();
    void closingRequests_data();
    void closingRequests();
    void defaultHandlerAnswers501();
    void brokenRequestsGet413_data();
    void brokenRequestsGet413();
    void slowClientIsServed_data();
    void slowClientIsServed();
    void silentClientIsDropped_data();
    void silentClientIsDropped();
    void networkAccessManager();
    void poolLimitGives503();
    void idleHandlersAreRemoved();
    void stalledClientFreesItsHandler();
    void shutdownAbortsLiveSockets();
    void failedHandOverFreesHandler();
    void portInUse();
    void tlsNeedsBothFiles();
    void tlsServesOverSecureProtocols();
    void garbageNeverStopsTheServer();
};

void tst_HttpListener::initTestCase()
{
    // The server's debug log is one line per step of every connection: too much to read here.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
}

void tst_HttpListener::keepAliveAndPipelining()
{
    Server server;
    QVERIFY(server.listener->isListening());
    const auto client = connectTo(server.port());
    QVERIFY(client);
    client->write(get("/a"));
    QCOMPARE(readAtLeast(client.get(), ok("/a").size()), ok("/a"));
    // Still open for the next request on the same connection.
    client->write(get("/b%20c"));
    QCOMPARE(readAtLeast(client.get(), ok("/b c").size()), ok("/b c"));
    // Several requests in one packet: answered in order.
    QByteArray pipelined;
    QByteArray expected;
    for (int i = 0; i < 10; ++i) {
        pipelined += get("/p" + QByteArray::number(i));
        expected += ok("/p" + QByteArray::number(i));
    }
    client->write(pipelined);
    QCOMPARE(readAtLeast(client.get(), expected.size()), expected);
    // A body in several parts is chunked and the connection stays open.
    client->write(get("/chunks"));
    const QByteArray chunked =
            "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nab\r\n2\r\ncd\r\n0\r\n\r\n";
    QCOMPARE(readAtLeast(client.get(), chunked.size()), chunked);
    QCOMPARE(client->state(), QAbstractSocket::ConnectedState);
    // A POST body, and a request that follows it at once.
    client->write("POST /post HTTP/1.1\r\nContent-Length: 5\r\n\r\nhello" + get("/after"));
    QCOMPARE(readAtLeast(client.get(), ok("hello").size() + ok("/after").size()),
             ok("hello") + ok("/after"));
}

void tst_HttpListener::closingRequests_data()
{
    QTest::addColumn<QByteArray>("requests");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("Connection: CLOSE")
            << get("/chunks", "Connection: CLOSE\r\n")
            << QByteArray("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\nabcd");
    QTest::newRow("HTTP/1.0") << QByteArray("GET /chunks HTTP/1.0\r\n\r\n")
                              << QByteArray("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\nabcd");
    QTest::newRow("close on the second of three")
            << get("/1") + get("/2", "Connection: close\r\n") + get("/3")
            << ok("/1") + "HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: 2\r\n\r\n/2";
}

void tst_HttpListener::closingRequests()
{
    QFETCH(QByteArray, requests);
    QFETCH(QByteArray, expected);
    Server server;
    const auto client = connectTo(server.port());
    QVERIFY(client);
    client->write(requests);
    bool closed = false;
    QCOMPARE(readUntilClosed(client.get(), 10000, &closed), expected);
    QVERIFY(closed);
}

void tst_HttpListener::defaultHandlerAnswers501()
{
    HttpRequestHandler base;
    Server server({}, &base);
    const auto client = connectTo(server.port());
    QVERIFY(client);
    client->write(get("/x"));
    const QByteArray expected =
            "HTTP/1.1 501 not implemented\r\nContent-Length: 19\r\n\r\n501 not implemented";
    QCOMPARE(readAtLeast(client.get(), expected.size()), expected);
}

void tst_HttpListener::brokenRequestsGet413_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::newRow("two blanks") << QByteArray("GET  / HTTP/1.1\r\n\r\n");
    QTest::newRow("no HTTP") << QByteArray("GET / FTP\r\n\r\n");
    QTest::newRow("head too long") << "GET / HTTP/1.1\r\nX: " + QByteArray(16000, 'a') + "\r\n\r\n";
    QTest::newRow("body too long")
            << QByteArray("POST / HTTP/1.1\r\nContent-Length: 16001\r\n\r\n");
    // The chunked body must not be answered as a request of its own.
    QTest::newRow("smuggled in a chunked body")
            << "POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n" + QByteArray::number(20, 16)
                    + "\r\n" + get("/smuggled") + "\r\n0\r\n\r\n";
    QTest::newRow("conflicting lengths") << QByteArray(
            "POST / HTTP/1.1\r\nContent-Length: 5\r\nContent-Length: 6\r\n\r\nabcdef");
    QTest::newRow("blank in a name") << QByteArray("POST / HTTP/1.1\r\nContent-Length : 5\r\n\r\n");
}

void tst_HttpListener::brokenRequestsGet413()
{
    QFETCH(QByteArray, request);
    Server server;
    const auto client = connectTo(server.port());
    QVERIFY(client);
    client->write(request);
    bool closed = false;
    QCOMPARE(readUntilClosed(client.get(), 10000, &closed), kEntityTooLarge);
    QVERIFY(closed);
}

void tst_HttpListener::slowClientIsServed_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("reply");
    QTest::newRow("head") << get("/slow", "Cookie: a=1\r\n") << ok("/slow");
    // Within the read timeout a whole request, body too, may come as slowly as it likes.
    QTest::newRow("head and body")
            << QByteArray("POST /post HTTP/1.1\r\nContent-Length: 13\r\n\r\nposted slowly")
            << ok("posted slowly");
}

void tst_HttpListener::slowClientIsServed()
{
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, reply);
    Server server;
    const auto client = connectTo(server.port());
    QVERIFY(client);
    // One byte per write, each flushed apart, CR and LF of every line in separate packets.
    for (const char c : request) {
        client->write(&c, 1);
        client->waitForBytesWritten(1000);
        QTest::qWait(2);
    }
    QCOMPARE(readAtLeast(client.get(), reply.size()), reply);
}

void tst_HttpListener::silentClientIsDropped_data()
{
    QTest::addColumn<QByteArray>("sent");
    QTest::newRow("nothing sent") << QByteArray();
    QTest::newRow("half a head") << QByteArray("GET / HTTP/1.1\r\nHo");
}

void tst_HttpListener::silentClientIsDropped()
{
    QFETCH(QByteArray, sent);
    Server server({ { "readTimeout", 300 } });
    const auto client = connectTo(server.port());
    QVERIFY(client);
    client->write(sent);
    bool closed = false;
    QCOMPARE(readUntilClosed(client.get(), 10000, &closed), QByteArray());
    QVERIFY(closed);
}

void tst_HttpListener::networkAccessManager()
{
    Server server;
    QNetworkAccessManager manager;
    QList<QNetworkReply *> replies;
    for (int i = 0; i < 20; ++i) {
        const QUrl url(QStringLiteral("http://127.0.0.1:%1/n%2").arg(server.port()).arg(i));
        replies << manager.get(QNetworkRequest(url));
    }
    QNetworkRequest postRequest(
            QUrl(QStringLiteral("http://127.0.0.1:%1/post").arg(server.port())));
    postRequest.setHeader(QNetworkRequest::ContentTypeHeader, "text/plain");
    replies << manager.post(postRequest, QByteArray("posted"));
    replies << manager.get(
            QNetworkRequest(QUrl(QStringLiteral("http://127.0.0.1:%1/chunks").arg(server.port()))));
    for (QNetworkReply *reply : qAsConst(replies))
        QTRY_VERIFY_WITH_TIMEOUT(reply->isFinished(), 10000);
    for (int i = 0; i < 20; ++i) {
        QCOMPARE(replies.at(i)->error(), QNetworkReply::NoError);
        QCOMPARE(replies.at(i)->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
        QCOMPARE(replies.at(i)->readAll(), "/n" + QByteArray::number(i));
    }
    QCOMPARE(replies.at(20)->readAll(), QByteArray("posted"));
    QCOMPARE(replies.at(21)->readAll(), QByteArray("abcd"));
    qDeleteAll(replies);
}

void tst_HttpListener::poolLimitGives503()
{
    Server server;
    std::vector<std::unique_ptr<QTcpSocket>> holders;
    for (int i = 0; i < 100; ++i) {
        holders.push_back(connectTo(server.port()));
        QVERIFY(holders.back());
    }
    HttpConnectionHandlerPool *pool = server.listener->pool();
    QTRY_COMPARE_WITH_TIMEOUT(pool->handlerCount(), 100, 20000);
    QTRY_COMPARE_WITH_TIMEOUT(pool->idleHandlerCount(), 0, 20000);
    // Every holder is really served.
    holders.front()->write(get("/held"));
    QCOMPARE(readAtLeast(holders.front().get(), ok("/held").size()), ok("/held"));

    for (int i = 0; i < 3; ++i) {
        const auto extra = connectTo(server.port());
        QVERIFY(extra);
        bool closed = false;
        QCOMPARE(readUntilClosed(extra.get(), 10000, &closed), kTooManyConnections);
        QVERIFY(closed);
    }
    QCOMPARE(pool->handlerCount(), 100);

    holders.back()->disconnectFromHost();
    holders.pop_back();
    QTRY_COMPARE_WITH_TIMEOUT(pool->idleHandlerCount(), 1, 10000);
    const auto next = connectTo(server.port());
    QVERIFY(next);
    next->write(get("/next"));
    QCOMPARE(readAtLeast(next.get(), ok("/next").size()), ok("/next"));
}

void tst_HttpListener::idleHandlersAreRemoved()
{
    Server server({ { "cleanupInterval", 50 }, { "minThreads", 1 } });
    std::vector<std::unique_ptr<QTcpSocket>> clients;
    for (int i = 0; i < 5; ++i) {
        clients.push_back(connectTo(server.port()));
        QVERIFY(clients.back());
    }
    HttpConnectionHandlerPool *pool = server.listener->pool();
    QTRY_COMPARE_WITH_TIMEOUT(pool->handlerCount(), 5, 10000);
    clients.clear();
    QTRY_COMPARE_WITH_TIMEOUT(pool->handlerCount(), 1, 10000);
    QCOMPARE(pool->idleHandlerCount(), 1);
}

void tst_HttpListener::stalledClientFreesItsHandler()
{
    Server server({ { "maxThreads", 1 }, { "writeTimeout", 300 } });
    const auto stalled = connectTo(server.port());
    QVERIFY(stalled);
    stalled->setReadBufferSize(1024); // reads nothing more: the server's writes back up
    stalled->write(get("/big"));
    QVERIFY(stalled->waitForBytesWritten(5000));
    HttpConnectionHandlerPool *pool = server.listener->pool();
    QTRY_COMPARE_WITH_TIMEOUT(pool->handlerCount(), 1, 10000);
    // The server gives up on the stalled client and its only handler serves the next one.
    QTRY_COMPARE_WITH_TIMEOUT(pool->idleHandlerCount(), 1, 20000);
    stalled->setReadBufferSize(0);
    bool closed = false;
    readUntilClosed(stalled.get(), 10000, &closed);
    QVERIFY(closed);
    const auto next = connectTo(server.port());
    QVERIFY(next);
    next->write(get("/next"));
    QCOMPARE(readAtLeast(next.get(), ok("/next").size()), ok("/next"));
}

void tst_HttpListener::shutdownAbortsLiveSockets()
{
    // A write limit far longer than the test may run: only aborting ends the stalled write.
    const int writeTimeout = 600000;
    auto server = std::make_unique<Server>(QVariantMap{ { "writeTimeout", writeTimeout } });
    std::vector<std::unique_ptr<QTcpSocket>> idle;
    for (int i = 0; i < 3; ++i) {
        idle.push_back(connectTo(server->port()));
        QVERIFY(idle.back());
    }
    const auto stalled = connectTo(server->port());
    QVERIFY(stalled);
    stalled->setReadBufferSize(1024);
    stalled->write(get("/big"));
    QVERIFY(stalled->waitForBytesWritten(5000));
    HttpConnectionHandlerPool *pool = server->listener->pool();
    QTRY_COMPARE_WITH_TIMEOUT(pool->handlerCount(), 4, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(pool->idleHandlerCount(), 0, 10000);
    QTest::qWait(200); // let the big reply fill the buffers

    QElapsedTimer shutdown;
    shutdown.start();
    server->listener->close();
    QVERIFY2(shutdown.elapsed() < writeTimeout / 10, "shutdown waited for a stalled client");
    QVERIFY(!server->listener->isListening());
    QVERIFY(!server->listener->pool());
    stalled->setReadBufferSize(0);
    for (auto &client : idle) {
        bool closed = false;
        readUntilClosed(client.get(), 10000, &closed);
        QVERIFY(closed);
    }
    bool closed = false;
    readUntilClosed(stalled.get(), 20000, &closed);
    QVERIFY(closed);
    server.reset();
}

void tst_HttpListener::failedHandOverFreesHandler()
{
    Server server;
    HttpConnectionHandlerPool *pool = server.listener->pool();
    HttpConnectionHandler *handler = pool->getConnectionHandler();
    QVERIFY(handler);
    QVERIFY(handler->isBusy());
    // A descriptor that cannot be a socket: the hand-over fails and frees the handler.
    QTest::ignoreMessage(QtCriticalMsg,
                         QRegularExpression(QStringLiteral("cannot initialize socket")));
    QVERIFY(QMetaObject::invokeMethod(handler, "handleConnection", Qt::QueuedConnection,
                                      Q_ARG(tSocketDescriptor, -1)));
    QTRY_VERIFY_WITH_TIMEOUT(!handler->isBusy(), 5000);
    // And it serves the next connection.
    const auto client = connectTo(server.port());
    QVERIFY(client);
    client->write(get("/again"));
    QCOMPARE(readAtLeast(client.get(), ok("/again").size()), ok("/again"));
    QCOMPARE(pool->handlerCount(), 1);
}

void tst_HttpListener::portInUse()
{
    Server first;
    QVERIFY(first.listener->isListening());
    QTemporaryDir dir;
    const auto settings =
            HttpFixture::makeSettings(dir, { { "host", "127.0.0.1" }, { "port", first.port() } });
    TestHandler handler;
    QTest::ignoreMessage(
            QtCriticalMsg,
            QRegularExpression(
                    QStringLiteral("^HttpListener: Cannot bind on port %1: ").arg(first.port())));
    HttpListener second(settings.get(), &handler);
    QVERIFY(!second.isListening());
    QVERIFY(second.pool()); // it stays, and accepts nothing
}

void tst_HttpListener::tlsNeedsBothFiles()
{
    QTemporaryDir dir;
    {
        // One file named, the other not: no TLS and nothing said.
        const auto settings = HttpFixture::makeSettings(dir, { { "sslKeyFile", "key.pem" } });
        HttpConnectionHandlerPool pool(settings.get(), nullptr);
        QVERIFY(!pool.isSslEnabled());
    }
    {
        const auto settings = HttpFixture::makeSettings(
                dir, { { "sslKeyFile", "key.pem" }, { "sslCertFile", "missing.pem" } });
        QTest::ignoreMessage(QtCriticalMsg,
                             qPrintable("HttpConnectionHandlerPool: cannot open sslCertFile "
                                        + dir.filePath("missing.pem")));
        HttpConnectionHandlerPool pool(settings.get(), nullptr);
        QVERIFY(!pool.isSslEnabled());
    }
}

void tst_HttpListener::tlsServesOverSecureProtocols()
{
    if (!QSslSocket::supportsSsl())
        QSKIP("no TLS library");
    QTemporaryDir keys;
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  { "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1", "-subj",
                    "/CN=127.0.0.1", "-keyout", keys.filePath("key.pem"), "-out",
                    keys.filePath("cert.pem") });
    if (!openssl.waitForStarted(5000))
        QSKIP("openssl is not installed");
    QVERIFY(openssl.waitForFinished(60000));
    QCOMPARE(openssl.exitStatus(), QProcess::NormalExit);
    QCOMPARE(openssl.exitCode(), 0);

    Server server({ { "sslKeyFile", keys.filePath("key.pem") },
                    { "sslCertFile", keys.filePath("cert.pem") } });
    QVERIFY(server.listener->pool()->isSslEnabled());
    QSslSocket client;
    client.setPeerVerifyMode(QSslSocket::VerifyNone);
    client.connectToHostEncrypted(QStringLiteral("127.0.0.1"), server.port());
    QTRY_VERIFY_WITH_TIMEOUT(client.isEncrypted(), 10000);
    const QSsl::SslProtocol protocol = client.sessionProtocol();
    QVERIFY2(protocol == QSsl::TlsV1_2 || protocol == QSsl::TlsV1_3,
             qPrintable(QString::number(int(protocol))));
    client.write(get("/secret"));
    QCOMPARE(readAtLeast(&client, ok("/secret").size()), ok("/secret"));
}

void tst_HttpListener::garbageNeverStopsTheServer()
{
    // Random bytes in random pieces: every connection ends with the 413 reply, a normal reply, a
    // timeout or nothing at all, and the server goes on serving.
    Server server({ { "readTimeout", 200 } });
    QRandomGenerator random(20261207);
    for (int round = 0; round < 20; ++round) {
        const auto client = connectTo(server.port());
        QVERIFY(client);
        QByteArray garbage(int(random.bounded(1, 4000)), '\0');
        for (char &c : garbage)
            c = char(random.bounded(256));
        if (round % 2)
            garbage.prepend("GET / HTTP/1.1\r\n");
        for (int i = 0; i < garbage.size(); i += int(random.bounded(1, 500)))
            client->write(garbage.mid(i, 500));
        bool closed = false;
        const QByteArray reply = readUntilClosed(client.get(), 10000, &closed);
        QVERIFY(closed);
        QVERIFY2(reply.isEmpty() || reply.startsWith("HTTP/1.1 "), reply.left(40).constData());
    }
    const auto client = connectTo(server.port());
    QVERIFY(client);
    client->write(get("/still"));
    QCOMPARE(readAtLeast(client.get(), ok("/still").size()), ok("/still"));
}

QTEST_GUILESS_MAIN(tst_HttpListener)
#include "tst_httplistener.moc"
