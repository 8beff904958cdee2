#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>

class QWidget;

namespace ShareFixture {

// A TCP port that was free a moment ago on every address.
quint16 freePort();
// True when the port can be listened on now (every address).
bool portIsFree(quint16 port);

// Whether every module of the QR code of `text` appears in the picture as painted by QtQrItem
// into a widget of `size` at `origin`: the centre pixel of a dark module dark, of a light one
// light. `why` names the first module that differs.
bool qrModulesMatch(const QImage &picture, QPoint origin, QSize size, const QString &text,
                    QString *why = nullptr);

struct HttpReply
{
    bool ok = false; // a reply arrived (any status)
    int status = 0;
    QByteArray contentType;
    QByteArray body;
    QString error;
};

// A request by QNetworkAccessManager, a real HTTP client, to 127.0.0.1:port; the event loop runs
// while it waits, since the server under test may live in this thread.
HttpReply httpGet(quint16 port, const QByteArray &path, const QByteArray &verb = "GET",
                  int timeoutMs = 10000);

// Whether the colour is within `tolerance` of the expected one on each channel.
bool near(QRgb actual, QRgb expected, int tolerance = 40);

} // namespace ShareFixture
