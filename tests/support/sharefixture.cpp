#include "sharefixture.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTcpServer>
#include <QTimer>
#include <QUrl>

#include <qrcodegen.hpp>

namespace ShareFixture {

quint16 freePort()
{
    QTcpServer server;
    if (!server.listen(QHostAddress::Any, 0))
        return 0;
    return server.serverPort();
}

bool portIsFree(quint16 port)
{
    QTcpServer server;
    return server.listen(QHostAddress::Any, port);
}

bool qrModulesMatch(const QImage &picture, QPoint origin, QSize size, const QString &text,
                    QString *why)
{
    const QByteArray utf8 = text.toUtf8();
    const qrcodegen::QrCode qr =
            qrcodegen::QrCode::encodeText(utf8.constData(), qrcodegen::QrCode::Ecc::LOW);
    const int modules = qr.getSize();
    const double cell = double(qMin(size.width(), size.height())) / (modules + 2);
    for (int y = 0; y < modules; ++y) {
        for (int x = 0; x < modules; ++x) {
            const QPoint centre = origin + QPoint(int((x + 1.5) * cell), int((y + 1.5) * cell));
            const bool dark = qGray(picture.pixel(centre)) < 100;
            if (dark != qr.getModule(x, y)) {
                if (why)
                    *why = QStringLiteral("module (%1, %2) at pixel (%3, %4) is %5")
                                   .arg(x)
                                   .arg(y)
                                   .arg(centre.x())
                                   .arg(centre.y())
                                   .arg(dark ? "dark" : "light");
                return false;
            }
        }
    }
    return true;
}

HttpReply httpGet(quint16 port, const QByteArray &path, const QByteArray &verb, int timeoutMs)
{
    QNetworkAccessManager manager;
    manager.setProxy(QNetworkProxy::NoProxy);
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(port);
    QNetworkRequest request(url);
    // The path goes as it is, so that encoded and odd paths reach the server unchanged.
    request.setUrl(QUrl(url.toString() + QString::fromLatin1(path), QUrl::TolerantMode));
    QNetworkReply *reply = manager.sendCustomRequest(request, verb);
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(timeoutMs);
    loop.exec();
    HttpReply result;
    if (!reply->isFinished()) {
        reply->abort();
        result.error = QStringLiteral("no reply in time");
    } else {
        result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        result.ok = result.status != 0;
        result.contentType = reply->rawHeader("Content-Type");
        result.body = reply->readAll();
        result.error = reply->errorString();
    }
    delete reply;
    return result;
}

bool near(QRgb actual, QRgb expected, int tolerance)
{
    return qAbs(qRed(actual) - qRed(expected)) <= tolerance
            && qAbs(qGreen(actual) - qGreen(expected)) <= tolerance
            && qAbs(qBlue(actual) - qBlue(expected)) <= tolerance;
}

} // namespace ShareFixture
