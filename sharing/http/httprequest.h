#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QMap>
#include <QMultiMap>

class QSettings;
class QTcpSocket;
class QTemporaryFile;

namespace veskaweb {

// Parses one HTTP/1.x request from the bytes it is fed, as they arrive. The socket is only a
// source of bytes: `feed` takes every byte given and answers the parse state, never blocks and
// never spins. Bytes that follow a complete request (a pipelined next request) are kept for the
// caller (`takeUnconsumed`).
//
// Framing is strict, because a lenient parser lets a client hide a second request in a body:
// lines end only at LF (one CR before it is stripped, any other CR aborts); Transfer-Encoding,
// an invalid or conflicting Content-Length and blanks in header names abort. Every byte of the
// head and body is counted once against the limits; header lines, stored header bytes and
// multipart parts are capped, and sizes are computed in 64 bits.
class HttpRequest
{
    Q_DISABLE_COPY(HttpRequest)

public:
    enum ParseStatus {
        awaitingRequestLine = 0,
        awaitingHeaders = 1,
        awaitingBody = 2,
        requestComplete = 3,
        requestAborted = 4
    };

    // Reads "maxRequestSize" (16000) and "maxMultiPartSize" (1000000) from the settings store.
    explicit HttpRequest(QSettings *settings);
    HttpRequest(qint64 maxRequestSize, qint64 maxMultiPartSize);
    virtual ~HttpRequest();

    ParseStatus feed(const QByteArray &bytes);
    // The bytes received after the end of a complete request; emptied by the call.
    QByteArray takeUnconsumed();
    // Takes what the socket holds (at most 64 KiB per call) and feeds it; also takes the peer's
    // address. Never writes to the socket.
    void readFromSocket(QTcpSocket *socket);
    void setPeerAddress(const QHostAddress &address) { m_peerAddress = address; }

    ParseStatus getStatus() const { return m_status; }

    QByteArray getMethod() const { return m_method; }
    QByteArray getPath() const { return urlDecode(m_path); }
    const QByteArray &getRawPath() const { return m_path; }
    QByteArray getVersion() const { return m_version; }
    QByteArray getHeader(const QByteArray &name) const;
    QList<QByteArray> getHeaders(const QByteArray &name) const;
    QMultiMap<QByteArray, QByteArray> getHeaderMap() const { return m_headers; }
    QByteArray getParameter(const QByteArray &name) const;
    QList<QByteArray> getParameters(const QByteArray &name) const;
    QMultiMap<QByteArray, QByteArray> getParameterMap() const { return m_parameters; }
    QByteArray getBody() const { return m_body; }
    // The uploaded file of a form field, open and positioned at its start, or null. The request
    // keeps ownership; the file is closed again when the request is destroyed.
    QTemporaryFile *getUploadedFile(const QByteArray fieldName) const;
    QByteArray getCookie(const QByteArray &name) const;
    QMap<QByteArray, QByteArray> &getCookieMap() { return m_cookies; }
    QHostAddress getPeerAddress() const { return m_peerAddress; }

    static QByteArray urlDecode(const QByteArray source);

    // Caps that keep one client from making the server hold much memory or many open files.
    static constexpr int kMaxHeaderLines = 100;
    static constexpr int kMaxMultiPartParts = 100;

private:
    void abort(const char *warning);
    void takeLine(QByteArray line);
    void readRequestLine(const QByteArray &line);
    void readHeaderLine(const QByteArray &line);
    void endOfHeaders();
    int feedBody(const char *data, int size);
    void checkSize();
    void complete();
    void parseMultiPartFile();
    void decodeRequestParams();
    void extractCookies();

    QMultiMap<QByteArray, QByteArray> m_headers;
    QMultiMap<QByteArray, QByteArray> m_parameters;
    QMap<QByteArray, QTemporaryFile *> m_uploadedFiles;
    QMap<QByteArray, QByteArray> m_cookies;
    QByteArray m_body;
    QByteArray m_method;
    QByteArray m_path;
    QByteArray m_version;
    ParseStatus m_status = awaitingRequestLine;
    QHostAddress m_peerAddress;
    qint64 m_maxRequestSize;
    qint64 m_maxMultiPartSize;
    qint64 m_byteCount = 0;
    qint64 m_declaredBodySize = 0;
    qint64 m_storedHeaderBytes = 0;
    int m_headerLines = 0;
    QByteArray m_lastHeaderName;
    QByteArray m_boundary;
    QTemporaryFile *m_bodyFile = nullptr;
    QByteArray m_pendingLine;
    QByteArray m_unconsumed;
};

} // namespace veskaweb
