#include "qhandwritingcustomsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageAuthenticationCode>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace {

const char kJsonHead[] = "{\"textParameter\":{\"resultDetail\":\"TEXT\",\"textProperties\":{},"
                         "\"language\":\"%1\"},\"inputUnits\":[{\"textInputType\":\"MULTI_LINE_"
                         "TEXT\",\"components\":[";
const char kJsonStroke[] = "{\"type\":\"stroke\",\"x\":[%2],\"y\":[%3]},";
const char kJsonTail[] = "]}]}";
const char kApplicationKey[] = "4f1c2a8e-93b0-4d6a-b7e2-5c0d9a1e6f37";
const char kHmacKey[] = "a7d3e5b1-2c48-4f9e-8a60-1b7c3d2e9f05";
const char kServicePath[] = "/api/v3.0/recognition/rest/text/doSimpleRecognition.json";

QString &host()
{
    static QString name = QStringLiteral("cloud.myscript.com");
    return name;
}

// Depth first, in the document's order of arrays; within an object its own "label" first, then
// the candidate the service marked as chosen, then the other values.
bool findLabel(const QJsonValue &value, QString *label)
{
    if (value.isArray()) {
        for (const QJsonValue &element : value.toArray()) {
            if (findLabel(element, label))
                return true;
        }
        return false;
    }
    if (!value.isObject())
        return false;
    const QJsonObject object = value.toObject();
    if (object.value(QLatin1String("label")).isString()) {
        *label = object.value(QLatin1String("label")).toString();
        return true;
    }
    const QJsonArray candidates = object.value(QLatin1String("candidates")).toArray();
    const int chosen = object.value(QLatin1String("selectedCandidateIdx")).toInt(-1);
    if (chosen >= 0 && chosen < candidates.size() && findLabel(candidates.at(chosen), label))
        return true;
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        if (findLabel(it.value(), label))
            return true;
    }
    return false;
}

} // namespace

QHandwritingCustomSupport::QHandwritingCustomSupport(QObject *parent) : QObject(parent)
{
    connect(&m_networkManager, &QNetworkAccessManager::finished, this,
            &QHandwritingCustomSupport::finished);
}

void QHandwritingCustomSupport::setServiceHost(const QString &name)
{
    host() = name;
}

QString QHandwritingCustomSupport::serviceHost()
{
    return host();
}

void QHandwritingCustomSupport::pointToString(const QVector<QPointF> &stroke, QString &x,
                                              QString &y)
{
    // Only negative coordinates are shifted: the service expects none.
    qreal minX = 0;
    qreal minY = 0;
    for (const QPointF &point : stroke) {
        minX = qMin(minX, point.x());
        minY = qMin(minY, point.y());
    }
    QStringList xs;
    QStringList ys;
    for (const QPointF &point : stroke) {
        xs << QString::number(point.x() - minX);
        ys << QString::number(point.y() - minY);
    }
    x += xs.join(QLatin1Char(','));
    y += ys.join(QLatin1Char(','));
}

QString QHandwritingCustomSupport::requestJson(const QString &language,
                                               const QList<QVector<QPointF>> &strokes) const
{
    QString json = QString::fromLatin1(kJsonHead).arg(language);
    for (const QVector<QPointF> &stroke : strokes) {
        QString x;
        QString y;
        pointToString(stroke, x, y);
        json += QString::fromLatin1(kJsonStroke).arg(x, y);
    }
    if (!strokes.isEmpty())
        json.chop(1);
    return json + QLatin1String(kJsonTail);
}

QByteArray QHandwritingCustomSupport::requestBody(const QString &json) const
{
    const QByteArray message = json.toUtf8();
    const QByteArray key = QByteArray(kApplicationKey) + QByteArray(kHmacKey);
    const QByteArray mac =
            QMessageAuthenticationCode::hash(message, key, QCryptographicHash::Sha512).toHex();
    // Every value percent-encoded: the JSON holds characters ('&', '+' in "1e+06") that would
    // end a form field or turn into a blank on the service's side, breaking the signature.
    return "applicationKey=" + QUrl::toPercentEncoding(QString::fromLatin1(kApplicationKey))
            + "&hmac=" + QUrl::toPercentEncoding(QString::fromLatin1(mac))
            + "&textInput=" + QUrl::toPercentEncoding(json);
}

bool QHandwritingCustomSupport::replyLabel(const QString &reply, QString *label)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(reply.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError)
        return false;
    QString found;
    const QJsonValue root =
            document.isArray() ? QJsonValue(document.array()) : QJsonValue(document.object());
    if (!findLabel(root, &found))
        return false;
    if (label)
        *label = found;
    return true;
}

quint64 QHandwritingCustomSupport::recognizeDrawPathAsText(const QString &language,
                                                           const QList<QVector<QPointF>> &strokes)
{
    QNetworkRequest request(QUrl(QStringLiteral("http://") + host() + QLatin1String(kServicePath)));
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QStringLiteral("application/x-www-form-urlencoded"));
    QNetworkReply *reply =
            m_networkManager.post(request, requestBody(requestJson(language, strokes)));
    m_requests.insert(reply, { ++m_lastRequest, m_textPos, m_items });
    // A service that never answers must still end in an error for the user.
    QTimer::singleShot(m_replyTimeoutMs, reply, [reply]() {
        if (reply->isRunning())
            reply->abort();
    });
    return m_lastRequest;
}

void QHandwritingCustomSupport::finished(QNetworkReply *reply)
{
    reply->deleteLater();
    const Request request = m_requests.take(reply);
    // An aborted reply (timeout) is closed: nothing to read.
    QByteArray bytes = reply->isOpen() ? reply->readAll() : QByteArray();
    const int zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    const QString body = QString::fromUtf8(bytes);
    const bool answered = reply->error() == QNetworkReply::NoError && replyLabel(body, nullptr);
    const QPointF laterPos = m_textPos;
    const QList<QGraphicsItem *> laterItems = m_items;
    m_textPos = request.textPos;
    m_items = request.items;
    m_currentRequest = request.id;
    if (answered)
        emit textRecognitionSucceded(body);
    else
        emit textRecognitionError();
    m_currentRequest = 0;

    // Items the slot took out of this request's list leave the list for good, items it added
    // join it; the position goes back unless the slot chose a new one.
    QList<QGraphicsItem *> items = laterItems;
    for (QGraphicsItem *item : request.items) {
        if (!m_items.contains(item))
            items.removeAll(item);
    }
    for (QGraphicsItem *item : qAsConst(m_items)) {
        if (!request.items.contains(item) && !items.contains(item))
            items.append(item);
    }
    m_items = items;
    if (m_textPos == request.textPos)
        m_textPos = laterPos;
}
