#include "recognition/qhandwritingcustomsupport.h"
#include "support/fakerecognitionservice.h"

#include <QGraphicsRectItem>
#include <QMessageAuthenticationCode>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

namespace {

const QString kHead = QStringLiteral(
        "{\"textParameter\":{\"resultDetail\":\"TEXT\",\"textProperties\":{},\"language\":"
        "\"es_ES\"},\"inputUnits\":[{\"textInputType\":\"MULTI_LINE_TEXT\",\"components\":[");
const QByteArray kHola = "{\"result\":{\"textSegmentResult\":{\"selectedCandidateIdx\":0,"
                         "\"candidates\":[{\"label\":\"hola\",\"normalizedScore\":1.0}]}}}";

QByteArray labelled(const QByteArray &text)
{
    return "{\"result\":{\"textSegmentResult\":{\"candidates\":[{\"label\":\"" + text
            + "\",\"normalizedScore\":1.0}]}}}";
}

// What a page does with an answer: it reads the client's position and items in its slots.
struct Answer
{
    bool succeeded;
    QString label;
    QPointF textPos;
    QList<QGraphicsItem *> items;
    quint64 request;
};

} // namespace

class tst_QHandwritingCustomSupport : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void pointLists_data();
    void pointLists();
    void requestJson();
    void requestOnTheWire();
    void replies_data();
    void replies();
    void replyLabel_data();
    void replyLabel();
    void replyAnswersItsOwnRequest();
    void errorEmptiesOnlyItsOwnItems();
    void silentServiceTimesOut();
    void noServiceIsAnError();

private:
    FakeRecognitionService *m_service = nullptr;
};

void tst_QHandwritingCustomSupport::init()
{
    m_service = new FakeRecognitionService;
    QVERIFY(m_service->listen());
    QHandwritingCustomSupport::setServiceHost(m_service->host());
}

void tst_QHandwritingCustomSupport::cleanup()
{
    delete m_service;
    m_service = nullptr;
}

void tst_QHandwritingCustomSupport::pointLists_data()
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
    QTest::newRow("large and small")
            << QVector<QPointF>{ QPointF(1234567, 0.00001) } << "1.23457e+06"
            << "1e-05";
}

void tst_QHandwritingCustomSupport::pointLists()
{
    QFETCH(QVector<QPointF>, stroke);
    QFETCH(QString, x);
    QFETCH(QString, y);
    QString xs = QStringLiteral("");
    QString ys;
    QHandwritingCustomSupport::pointToString(stroke, xs, ys);
    QCOMPARE(xs, x);
    QCOMPARE(ys, y);
}

void tst_QHandwritingCustomSupport::requestJson()
{
    QHandwritingCustomSupport client;
    QCOMPARE(client.requestJson(QStringLiteral("es_ES"), {}), kHead + QStringLiteral("]}]}"));
    // Each stroke is shifted by its own minimum.
    QCOMPARE(client.requestJson(QStringLiteral("es_ES"),
                                { { QPointF(-3, 5), QPointF(2, -1) }, {}, { QPointF(4, 4) } }),
             kHead
                     + QStringLiteral("{\"type\":\"stroke\",\"x\":[0,5],\"y\":[6,0]},"
                                      "{\"type\":\"stroke\",\"x\":[],\"y\":[]},"
                                      "{\"type\":\"stroke\",\"x\":[4],\"y\":[4]}]}]}"));
}

void tst_QHandwritingCustomSupport::requestOnTheWire()
{
    m_service->replyWith(200, kHola);
    QHandwritingCustomSupport client;
    QSignalSpy succeeded(&client, &QHandwritingCustomSupport::textRecognitionSucceded);
    // "1.23457e+06" holds a '+', which a form would read as a blank.
    const QList<QVector<QPointF>> strokes{ { QPointF(10, 20), QPointF(1234567, 18) } };
    client.recognizeDrawPathAsText(QStringLiteral("es_ES"), strokes);
    client.recognizeDrawPathAsText(QStringLiteral("es_ES"), strokes);
    QTRY_COMPARE(succeeded.count(), 2);
    QCOMPARE(m_service->requests().size(), 2);

    const FakeRecognitionService::Request &request = m_service->requests().first();
    QCOMPARE(request.requestLine,
             QByteArray("POST /api/v3.0/recognition/rest/text/doSimpleRecognition.json HTTP/1.1"));
    QCOMPARE(request.contentType, QByteArray("application/x-www-form-urlencoded"));
    // Three fields in this order, none split by what the JSON holds.
    const QList<QByteArray> fields = request.body.split('&');
    QCOMPARE(fields.size(), 3);
    QVERIFY(fields.at(0).startsWith("applicationKey="));
    QVERIFY(fields.at(1).startsWith("hmac="));
    QVERIFY(fields.at(2).startsWith("textInput="));
    QVERIFY(!request.body.contains('+'));
    QVERIFY(!request.body.contains('"'));

    const auto form = FakeRecognitionService::formFields(request.body);
    const QByteArray json = form.value("textInput");
    QCOMPARE(QString::fromUtf8(json), client.requestJson(QStringLiteral("es_ES"), strokes));
    QVERIFY(json.contains("1.23457e+06"));
    const QByteArray key = form.value("applicationKey");
    QVERIFY(QRegularExpression(QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-"
                                              "[0-9a-f]{12}$"))
                    .match(QString::fromLatin1(key))
                    .hasMatch());
    // The service holds the second key too; the signature covers exactly the JSON sent.
    const QByteArray hmac = form.value("hmac");
    QVERIFY(QRegularExpression(QStringLiteral("^[0-9a-f]{128}$"))
                    .match(QString::fromLatin1(hmac))
                    .hasMatch());
    const QByteArray signingKey = key + "a7d3e5b1-2c48-4f9e-8a60-1b7c3d2e9f05";
    QCOMPARE(signingKey.size(), 72);
    QCOMPARE(
            hmac,
            QMessageAuthenticationCode::hash(json, signingKey, QCryptographicHash::Sha512).toHex());
    // Same strokes, same language: same signature.
    QCOMPARE(m_service->requests().at(1).body, request.body);
}

void tst_QHandwritingCustomSupport::replies_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("succeeds");
    QTest::addColumn<QString>("reported");
    QTest::newRow("label") << 200 << kHola << true << QString::fromLatin1(kHola);
    QTest::newRow("text ends at a zero byte")
            << 200 << kHola + QByteArray("\0tail", 5) << true << QString::fromLatin1(kHola);
    QTest::newRow("no label") << 200 << QByteArray("{\"result\":{\"candidates\":[]}}") << false
                              << "";
    QTest::newRow("label not text") << 200 << QByteArray("{\"label\":3}") << false << "";
    QTest::newRow("not JSON") << 200 << QByteArray("<html>label\":\"x\",</html>") << false << "";
    QTest::newRow("empty body") << 200 << QByteArray() << false << "";
    QTest::newRow("server error") << 500 << kHola << false << "";
    QTest::newRow("refused signature")
            << 403 << QByteArray("{\"error\":\"bad hmac\"}") << false << "";
}

void tst_QHandwritingCustomSupport::replies()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(bool, succeeds);
    QFETCH(QString, reported);
    m_service->replyWith(status, body);
    QHandwritingCustomSupport client;
    QSignalSpy succeeded(&client, &QHandwritingCustomSupport::textRecognitionSucceded);
    QSignalSpy failed(&client, &QHandwritingCustomSupport::textRecognitionError);
    client.recognizeDrawPathAsText(QStringLiteral("es_ES"), { { QPointF(1, 2) } });
    QTRY_COMPARE(succeeded.count() + failed.count(), 1);
    QCOMPARE(succeeded.count(), succeeds ? 1 : 0);
    if (succeeds)
        QCOMPARE(succeeded.first().first().toString(), reported);
}

void tst_QHandwritingCustomSupport::replyLabel_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("label");
    QTest::newRow("service answer") << QString::fromLatin1(kHola) << true << "hola";
    QTest::newRow("chosen candidate")
            << "{\"result\":{\"textSegmentResult\":{\"selectedCandidateIdx\":1,\"candidates\":"
               "[{\"label\":\"hoja\"},{\"label\":\"hola\"}]}}}"
            << true << "hola";
    QTest::newRow("label last in its object")
            << "{\"candidates\":[{\"label\":\"fin\"}]}" << true << "fin";
    QTest::newRow("escapes undone")
            << "{\"label\":\"a\\\"b\\u00f1\"}" << true << QString::fromUtf8("a\"bñ");
    QTest::newRow("in an array") << "[{\"x\":1},{\"label\":\"dos\"}]" << true << "dos";
    QTest::newRow("empty label") << "{\"label\":\"\"}" << true << "";
    QTest::newRow("none") << "{\"labels\":[\"a\"]}" << false << "";
    QTest::newRow("broken JSON") << "{\"label\":\"a\"" << false << "";
}

void tst_QHandwritingCustomSupport::replyLabel()
{
    QFETCH(QString, reply);
    QFETCH(bool, found);
    QFETCH(QString, label);
    QString text = QStringLiteral("untouched");
    QCOMPARE(QHandwritingCustomSupport::replyLabel(reply, &text), found);
    QCOMPARE(text, found ? label : QStringLiteral("untouched"));
}

void tst_QHandwritingCustomSupport::replyAnswersItsOwnRequest()
{
    m_service->hold();
    QHandwritingCustomSupport client;
    QGraphicsRectItem first;
    QGraphicsRectItem second;
    QList<Answer> answers;
    connect(&client, &QHandwritingCustomSupport::textRecognitionSucceded, this,
            [&](const QString &reply) {
                QString label;
                QHandwritingCustomSupport::replyLabel(reply, &label);
                answers.append(
                        { true, label, client.m_textPos, client.m_items, client.currentRequest() });
            });

    client.m_textPos = QPointF(100, 50);
    client.m_items = { &first };
    const quint64 older =
            client.recognizeDrawPathAsText(QStringLiteral("es_ES"), { { QPointF(1, 1) } });
    client.m_textPos = QPointF(700, 300);
    client.m_items << &second;
    const quint64 newer =
            client.recognizeDrawPathAsText(QStringLiteral("es_ES"), { { QPointF(2, 2) } });
    QVERIFY(older != newer);
    QTRY_COMPARE(m_service->requests().size(), 2);
    // The requests may reach the service in either order; tell them by their strokes.
    const bool inOrder = m_service->requests().at(0).body.contains("%5B1%5D");
    const int olderIndex = inOrder ? 0 : 1;

    m_service->answer(1 - olderIndex, 200, labelled("nuevo"));
    QTRY_COMPARE(answers.size(), 1);
    m_service->answer(olderIndex, 200, labelled("viejo"));
    QTRY_COMPARE(answers.size(), 2);

    QCOMPARE(answers.at(0).label, QStringLiteral("nuevo"));
    QCOMPARE(answers.at(0).textPos, QPointF(700, 300));
    QCOMPARE(answers.at(0).request, newer);
    QCOMPARE(answers.at(1).label, QStringLiteral("viejo"));
    QCOMPARE(answers.at(1).textPos, QPointF(100, 50));
    QCOMPARE(answers.at(1).items, QList<QGraphicsItem *>{ &first });
    QCOMPARE(answers.at(1).request, older);
    // Afterwards the client holds what the last conversion left.
    QCOMPARE(client.m_textPos, QPointF(700, 300));
    QCOMPARE(client.currentRequest(), quint64(0));
}

void tst_QHandwritingCustomSupport::errorEmptiesOnlyItsOwnItems()
{
    m_service->hold();
    QHandwritingCustomSupport client;
    QGraphicsRectItem first;
    QGraphicsRectItem second;
    // What the page does on an error: it empties the list of the items it was converting.
    QList<QList<QGraphicsItem *>> emptied;
    connect(&client, &QHandwritingCustomSupport::textRecognitionError, this, [&]() {
        emptied.append(client.m_items);
        client.m_items.clear();
    });
    client.m_items = { &first };
    client.recognizeDrawPathAsText(QStringLiteral("es_ES"), { { QPointF(1, 1) } });
    client.m_items << &second;
    client.recognizeDrawPathAsText(QStringLiteral("es_ES"), { { QPointF(2, 2) } });
    QTRY_COMPARE(m_service->requests().size(), 2);
    const int olderIndex = m_service->requests().at(0).body.contains("%5B1%5D") ? 0 : 1;

    m_service->answer(olderIndex, 500, QByteArray());
    QTRY_COMPARE(emptied.size(), 1);
    QCOMPARE(emptied.first(), QList<QGraphicsItem *>{ &first });
    // The newer conversion's stroke is still waiting for its answer.
    QCOMPARE(client.m_items, QList<QGraphicsItem *>{ &second });
}

void tst_QHandwritingCustomSupport::silentServiceTimesOut()
{
    m_service->hold();
    QHandwritingCustomSupport client;
    QCOMPARE(client.replyTimeout(), QHandwritingCustomSupport::kDefaultReplyTimeoutMs);
    client.setReplyTimeout(200);
    QSignalSpy succeeded(&client, &QHandwritingCustomSupport::textRecognitionSucceded);
    QSignalSpy failed(&client, &QHandwritingCustomSupport::textRecognitionError);
    client.recognizeDrawPathAsText(QStringLiteral("es_ES"), { { QPointF(1, 2) } });
    QTRY_COMPARE(m_service->requests().size(), 1);
    QTRY_COMPARE(failed.count(), 1);
    QCOMPARE(succeeded.count(), 0);
}

void tst_QHandwritingCustomSupport::noServiceIsAnError()
{
    m_service->close(); // nobody listens on that port now
    QHandwritingCustomSupport client;
    QSignalSpy succeeded(&client, &QHandwritingCustomSupport::textRecognitionSucceded);
    QSignalSpy failed(&client, &QHandwritingCustomSupport::textRecognitionError);
    client.recognizeDrawPathAsText(QStringLiteral("es_ES"), {});
    QTRY_COMPARE(failed.count(), 1);
    QCOMPARE(succeeded.count(), 0);
}

QTEST_MAIN(tst_QHandwritingCustomSupport)
#include "tst_qhandwritingcustomsupport.moc"
