#include "httpresponse.h"

#include <QTcpSocket>

namespace veskaweb {

HttpResponse::HttpResponse(QTcpSocket *socket) : m_socket(socket) { }

// A part that was not the last is held back until the next part or the end of the reply; the
// connection handler always ends the reply, and the destructor sends what a caller left held.
HttpResponse::~HttpResponse()
{
    sendPending();
}

void HttpResponse::setHeader(const QByteArray name, const QByteArray value)
{
    m_headers.insert(name, value);
}

void HttpResponse::setHeader(const QByteArray name, const int value)
{
    m_headers.insert(name, QByteArray::number(value));
}

void HttpResponse::setStatus(const int statusCode, const QByteArray description)
{
    m_statusCode = statusCode;
    m_statusText = description;
}

void HttpResponse::setCookie(const HttpCookie &cookie)
{
    if (!cookie.getName().isEmpty())
        m_cookies.insert(cookie.getName(), cookie);
}

void HttpResponse::writeHeaders()
{
    QByteArray head;
    head.reserve(256);
    head += "HTTP/1.1 " + QByteArray::number(m_statusCode) + ' ' + m_statusText + "\r\n";
    for (auto it = m_headers.cbegin(); it != m_headers.cend(); ++it)
        head += it.key() + ": " + it.value() + "\r\n";
    for (const HttpCookie &cookie : qAsConst(m_cookies))
        head += "Set-Cookie: " + cookie.toByteArray() + "\r\n";
    head += "\r\n";
    m_pending += head;
    m_sentHeaders = true; // the framing is fixed from here on, whatever the write gives
}

void HttpResponse::sendPending()
{
    if (m_pending.isEmpty())
        return;
    writeToSocket(m_pending);
    m_pending.clear();
}

bool HttpResponse::writeToSocket(const QByteArray &data)
{
    if (!m_socket)
        return false;
    return writeWithLimit(m_socket, data, m_writeTimeoutMs);
}

void HttpResponse::write(const QByteArray data, const bool lastPart)
{
    // The head, the chunk framing and the body gather here and leave in as few socket writes as
    // the parts allow: a reply given in one part, or in one part and the empty last one, goes out
    // in a single write. Written piece by piece, the last small piece would wait for the
    // client's delayed acknowledgement of the ones before it.
    if (!m_sentHeaders) {
        if (lastPart) {
            m_headers.insert("Content-Length", QByteArray::number(data.size()));
        } else {
            QByteArray connection = m_headers.value("Connection");
            if (connection.isEmpty())
                connection = m_headers.value("connection");
            if (connection.toLower() != "close") {
                m_headers.insert("Transfer-Encoding", "chunked");
                m_chunkedMode = true;
            }
        }
        writeHeaders();
    }
    if (!data.isEmpty()) {
        // What is held back stays bounded: a large earlier part leaves before the next is added.
        if (m_pending.size() >= kHoldBackBytes)
            sendPending();
        if (m_chunkedMode) {
            m_pending += QByteArray::number(data.size(), 16);
            m_pending += "\r\n";
            m_pending += data;
            m_pending += "\r\n";
        } else if (m_pending.isEmpty()) {
            m_pending = data; // shares the bytes, no copy
        } else {
            m_pending += data;
        }
    }
    if (lastPart) {
        if (m_chunkedMode)
            m_pending += "0\r\n\r\n";
        sendPending();
        flush();
        m_lastPartSent = true;
    }
}

void HttpResponse::redirect(const QByteArray &url)
{
    setStatus(303, "See Other");
    setHeader("Location", url);
    write("Redirect", true);
}

void HttpResponse::flush()
{
    sendPending();
    if (m_socket)
        m_socket->flush();
}

bool HttpResponse::isConnected() const
{
    return m_socket && m_socket->isOpen();
}

} // namespace veskaweb
