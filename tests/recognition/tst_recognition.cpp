#include "recognition/qhandwritingcustomsupport.h"
#include "recognition/shaperectst.h"

#include <QMessageAuthenticationCode>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>
#include <QUrlQuery>
#include <QtTest>

class tst_Recognition : public QObject
{
    Q_OBJECT
private slots:
    void noEngineMeansNoMatch();
    void pointLists_data();
    void pointLists();
    void requestJson();
    void bodySurvivesFormSpecialCharacters();
    void replyAndError();
};

void tst_Recognition::noEngineMeansNoMatch()
{
    qputenv("LIPI_ROOT", QByteArray());
    recog recogniser;
    QVERIFY(!recogniser.isAvailable());
    QCOMPARE(recogniser.reconocer({ { QPointF(0, 0), QPointF(3, 4) } }), recog::kNoMatch);
}

void tst_Recognition::pointLists_data()
{
    QTest::addColumn<QVector<QPointF>>("stroke");
    QTest::addColumn<QString>("x");
    QTest::addColumn<QString>("y");
    QTest::newRow("empty") << QVector<QPointF>() << ""
                           << "";
    QTest::newRow("negative shifted") << QVector<QPointF>{ QPointF(-3, 5), QPointF(2, -1) } << "0,5"
                                      << "6,0";
    QTest::newRow("positive kept")
            << QVector<QPointF>{ QPointF(10, 20), QPointF(12.5, 18) } << "10,12.5"
            << "20,18";
    QTest::newRow("large") << QVector<QPointF>{ QPointF(1234567, 0) } << "1.23457e+06"
                           << "0";
}

void tst_Recognition::pointLists()
{
    QFETCH(QVector<QPointF>, stroke);
    QFETCH(QString, x);
    QFETCH(QString, y);
    QString xs;
    QString ys;
    QHandwritingCustomSupport::pointToString(stroke, xs, ys);
    QCOMPARE(xs, x);
    QCOMPARE(ys, y);
}

void tst_Recognition::requestJson()
{
    QHandwritingCustomSupport client;
    const QString head = QStringLiteral(
            "{\"textParameter\":{\"resultDetail\":\"TEXT\",\"textProperties\":{},\"language\":"
            "\"es_ES\"},\"inputUnits\":[{\"textInputType\":\"MULTI_LINE_TEXT\",\"components\":[");
    QCOMPARE(client.requestJson(QStringLiteral("es_ES"), {}), head + QStringLiteral("]}]}"));
    const QString two = client.requestJson(
            QStringLiteral("es_ES"), { { QPointF(10, 20), QPointF(12.5, 18) }, { QPointF(4, 4) } });
    QCOMPARE(two,
             head
                     + QStringLiteral("{\"type\":\"stroke\",\"x\":[10,12.5],\"y\":[20,18]},"
                                      "{\"type\":\"stroke\",\"x\":[4],\"y\":[4]}]}]}"));
}

void tst_Recognition::bodySurvivesFormSpecialCharacters()
{
    QHandwritingCustomSupport client;
    const QString json = QStringLiteral("{\"a\":\"x&y+z=1\"}");
    const QByteArray body = client.requestBody(json);
    const QUrlQuery form(QString::fromLatin1(body));
    QCOMPARE(form.queryItemValue(QStringLiteral("textInput"), QUrl::FullyDecoded), json);
    const QString hmac = form.queryItemValue(QStringLiteral("hmac"));
    QCOMPARE(hmac.size(), 128);
    QCOMPARE(client.requestBody(json), body); // same input, same signature
}

void tst_Recognition::replyAndError()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    QByteArray received;
    connect(&server, &QTcpServer::newConnection, this, [&]() {
        QTcpSocket *socket = server.nextPendingConnection();
        connect(socket, &QTcpSocket::readyRead, socket, [&, socket]() {
            received += socket->readAll();
            if (!received.contains("textInput="))
                return;
            const QByteArray body =
                    "{\"result\":{\"textSegmentResult\":{\"candidates\":[{\"label\":\"hola\"}]}}}";
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: "
                          + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n"
                          + body);
            socket->disconnectFromHost();
        });
    });
    QHandwritingCustomSupport::setServiceHost(
            QStringLiteral("127.0.0.1:%1").arg(server.serverPort()));
    QHandwritingCustomSupport client;
    QSignalSpy succeeded(&client, &QHandwritingCustomSupport::textRecognitionSucceded);
    QSignalSpy failed(&client, &QHandwritingCustomSupport::textRecognitionError);
    client.recognizeDrawPathAsText(QStringLiteral("es_ES"), { { QPointF(1, 2) } });
    QTRY_COMPARE(succeeded.count(), 1);
    QVERIFY(succeeded.at(0).at(0).toString().contains(QLatin1String("\"label\":\"hola\"")));
    QVERIFY(received.startsWith("POST /api/v3.0/recognition/rest/text/doSimpleRecognition.json"));
    QVERIFY(received.contains("application/x-www-form-urlencoded"));

    server.close(); // nobody listens now
    client.recognizeDrawPathAsText(QStringLiteral("es_ES"), {});
    QTRY_COMPARE(failed.count(), 1);
    QCOMPARE(succeeded.count(), 1);
}

QTEST_MAIN(tst_Recognition)
#include "tst_recognition.moc"
