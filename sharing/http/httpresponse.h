#pragma once

#include "httpcookie.h"
#include "httpglobal.h"

#include <QByteArray>
#include <QMap>

class QTcpSocket;

namespace veskaweb {

// Writes one HTTP/1.1 reply onto a connection's socket. The first write makes the head and fixes
// the framing: a body written in one call as the last part gets "Content-Length", a body in several
// parts on a connection that stays open is chunked, and on a connection that will be closed the
// body is sent as it is and ends with the connection. The bytes are gathered and handed to the
// socket in as few writes as the parts allow (see write()); flush() sends what is held.
class HttpResponse
{
public:
    explicit HttpResponse(QTcpSocket *socket);
    ~HttpResponse();

    void setHeader(const QByteArray name, const QByteArray value);
    void setHeader(const QByteArray name, const int value);
    QMap<QByteArray, QByteArray> &getHeaders() { return m_headers; }

    void setStatus(const int statusCode, const QByteArray description = QByteArray());
    int getStatusCode() const { return m_statusCode; }

    // Stores the cookie under its name, replacing one of the same name; an unnamed one is ignored.
    void setCookie(const HttpCookie &cookie);
    QMap<QByteArray, HttpCookie> &getCookies() { return m_cookies; }

    // Sends the head if not yet done, then the data. Not to be called after the last part.
    void write(const QByteArray data, const bool lastPart = false);
    bool hasSentLastPart() const { return m_lastPartSent; }

    // 303 "See Other" to the url, with the body "Redirect"; before anything else is written.
    void redirect(const QByteArray &url);
    void flush();
    bool isConnected() const;

    // The total time one socket write may take before the connection is given up (aborted).
    void setWriteTimeout(int milliseconds) { m_writeTimeoutMs = milliseconds; }

private:
    void writeHeaders();
    bool writeToSocket(const QByteArray &data);
    void sendPending();

    // Bytes of earlier parts held back before they are sent on their own.
    static constexpr int kHoldBackBytes = 16384;

    QMap<QByteArray, QByteArray> m_headers; // byte order of the names is the order on the wire
    QTcpSocket *m_socket; // not owned
    int m_statusCode = 200;
    QByteArray m_statusText = "OK";
    bool m_sentHeaders = false;
    bool m_lastPartSent = false;
    bool m_chunkedMode = false;
    QMap<QByteArray, HttpCookie> m_cookies;
    int m_writeTimeoutMs = kDefaultWriteTimeoutMs;
    QByteArray m_pending; // written but not yet handed to the socket
};

} // namespace veskaweb
