#pragma once

#include <QGraphicsItem>
#include <QHash>
#include <QList>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointF>
#include <QVector>

class QNetworkReply;

// The client of the online handwriting recognition service: posts a page's strokes as a signed
// form and reports the reply body, or an error.
//
// Each reply answers its own request: while one of the two signals is being emitted, m_textPos
// and m_items hold what they held when that request was sent (and currentRequest() its id), so
// the page places the text where that conversion asked for it even when a later conversion has
// moved them since. Afterwards they go back to what later conversions left, less the items the
// slot took out of the list.
class QHandwritingCustomSupport : public QObject
{
    Q_OBJECT
public:
    static constexpr int kDefaultReplyTimeoutMs = 30000;

    explicit QHandwritingCustomSupport(QObject *parent = nullptr);

    // Sends one request for all the strokes and returns at once; the answer comes as one of the
    // two signals. Returns the request's id (never 0).
    quint64 recognizeDrawPathAsText(const QString &language,
                                    const QList<QVector<QPointF>> &strokes);
    // The JSON document and the form body that recognizeDrawPathAsText sends.
    QString requestJson(const QString &language, const QList<QVector<QPointF>> &strokes) const;
    QByteArray requestBody(const QString &json) const;
    static void pointToString(const QVector<QPointF> &stroke, QString &x, QString &y);
    // The recognised text of a service reply: the first "label" string of its JSON (the chosen
    // candidate's where the reply names one). False for a reply that is not JSON or has none.
    static bool replyLabel(const QString &reply, QString *label);

    // The id of the request whose answer is being reported; 0 outside the two signals.
    quint64 currentRequest() const { return m_currentRequest; }
    // A request not answered within this time ends in textRecognitionError().
    void setReplyTimeout(int milliseconds) { m_replyTimeoutMs = milliseconds; }
    int replyTimeout() const { return m_replyTimeoutMs; }

    // Where requests go: "http://" + host + the service path. Tests point it at a local server.
    static void setServiceHost(const QString &host);
    static QString serviceHost();

    QList<QGraphicsItem *> m_items; // kept by the page while it converts them
    QPointF m_textPos; // where the page puts the next recognised text

signals:
    // The whole reply body; it holds a label (see replyLabel).
    void textRecognitionSucceded(const QString &reply);
    // A network error, an HTTP error status, no answer in time, or an answer without a label.
    void textRecognitionError();

private slots:
    void finished(QNetworkReply *reply);

private:
    struct Request
    {
        quint64 id = 0;
        QPointF textPos;
        QList<QGraphicsItem *> items;
    };

    QNetworkAccessManager m_networkManager;
    QHash<QNetworkReply *, Request> m_requests;
    quint64 m_lastRequest = 0;
    quint64 m_currentRequest = 0;
    int m_replyTimeoutMs = kDefaultReplyTimeoutMs;
};
