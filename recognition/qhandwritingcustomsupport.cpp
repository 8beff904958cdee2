#include "qhandwritingcustomsupport.h"

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
constexpr int kReplyTimeoutMs = 30000;

QString &host()
{
    static QString name = QStringLiteral("cloud.myscript.com");
    return name;
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
    // Percent-encoded: the JSON holds characters ('&', '+') that end or change a form field.
    return QByteArray("applicationKey=") + kApplicationKey + "&hmac=" + mac
            + "&textInput=" + QUrl::toPercentEncoding(json);
}

void QHandwritingCustomSupport::recognizeDrawPathAsText(const QString &language,
                                                        const QList<QVector<QPointF>> &strokes)
{
    QNetworkRequest request(QUrl(QStringLiteral("http://") + host() + QLatin1String(kServicePath)));
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QStringLiteral("application/x-www-form-urlencoded"));
    QNetworkReply *reply =
            m_networkManager.post(request, requestBody(requestJson(language, strokes)));
    // A service that never answers must still end in an error for the user.
    QTimer::singleShot(kReplyTimeoutMs, reply, [reply]() {
        if (reply->isRunning())
            reply->abort();
    });
}

void QHandwritingCustomSupport::finished(QNetworkReply *reply)
{
    const QString body = QString::fromUtf8(reply->readAll());
    if (reply->error() != QNetworkReply::NoError)
        emit textRecognitionError();
    else
        emit textRecognitionSucceded(body);
    reply->deleteLater();
}
