#include "httpresponse.h"

#include <QTcpSocket>

namespace veskaweb {

HttpResponse::HttpResponse(QTcpSocket *socket) : m_socket(socket) { }

HttpResponse::~HttpResponse() = default;

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
    writeToSocket(head);
    m_sentHeaders = true; // also after a failed write: the framing is fixed from here on
}

bool HttpResponse::writeToSocket(const QByteArray &data)
{
    if (!m_socket)
        return false;
    return writeWithLimit(m_socket, data, m_writeTimeoutMs);
}

void HttpResponse::write(const QByteArray data, const bool lastPart)
{
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
        if (m_chunkedMode) {
            writeToSocket(QByteArray::number(data.size(), 16));
            writeToSocket("\r\n");
            writeToSocket(data);
            writeToSocket("\r\n");
        } else {
            writeToSocket(data);
        }
    }
    if (lastPart) {
        if (m_chunkedMode)
            writeToSocket("0\r\n\r\n");
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
    if (m_socket)
        m_socket->flush();
}

bool HttpResponse::isConnected() const
{
    return m_socket && m_socket->isOpen();
}

} // namespace veskaweb
