#include "httprequest.h"

#include "httpcookie.h"
#include "httpglobal.h"

#include <QTcpSocket>
#include <QTemporaryFile>
#include <QtDebug>

#include <memory>
#include <utility>

namespace veskaweb {

namespace {
constexpr qint64 kSocketReadPiece = 65536;
constexpr qint64 kMultiPartLineLimit = 65536;
constexpr int kMaxContentLengthDigits = 18; // fits in 64 bits with room to add

// A Content-Length is one or more decimal digits, nothing else (no sign, no blank inside).
bool isValidLength(const QByteArray &value)
{
    if (value.isEmpty() || value.size() > kMaxContentLengthDigits)
        return false;
    for (const char c : value) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

// The text after `opening` up to the next double quote; empty when either is missing.
QByteArray quotedAfter(const QByteArray &line, const QByteArray &opening, bool *found)
{
    *found = false;
    const int start = line.indexOf(opening);
    if (start < 0)
        return {};
    const int from = start + opening.size();
    const int end = line.indexOf('"', from);
    if (end < 0)
        return {};
    *found = true;
    return line.mid(from, end - from);
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
} // namespace

HttpRequest::HttpRequest(QSettings *settings)
    : HttpRequest(readIntSetting(settings, QStringLiteral("maxRequestSize"), 16000),
                  readIntSetting(settings, QStringLiteral("maxMultiPartSize"), 1000000))
{
}

HttpRequest::HttpRequest(qint64 maxRequestSize, qint64 maxMultiPartSize)
    : m_maxRequestSize(maxRequestSize), m_maxMultiPartSize(maxMultiPartSize)
{
}

HttpRequest::~HttpRequest()
{
    qDeleteAll(m_uploadedFiles); // deleting a temporary file removes it from disk
    delete m_bodyFile;
}

void HttpRequest::abort(const char *warning)
{
    qWarning("%s", warning);
    m_status = requestAborted;
    m_pendingLine.clear();
}

HttpRequest::ParseStatus HttpRequest::feed(const QByteArray &bytes)
{
    if (m_status == requestComplete) {
        m_unconsumed.append(bytes);
        return m_status;
    }
    const int size = bytes.size();
    int pos = 0;
    while (pos < size
           && (m_status == awaitingRequestLine || m_status == awaitingHeaders
               || m_status == awaitingBody)) {
        if (m_status == awaitingBody) {
            pos += feedBody(bytes.constData() + pos, size - pos);
            continue;
        }
        const int lineFeed = bytes.indexOf('\n', pos);
        const int end = lineFeed < 0 ? size : lineFeed + 1;
        // Each byte of the head is counted once, when it arrives, however the client splits it.
        m_byteCount += end - pos;
        if (m_byteCount > m_maxRequestSize) {
            abort("HttpRequest: received too many bytes");
            break;
        }
        m_pendingLine.append(bytes.constData() + pos, end - pos);
        pos = end;
        if (lineFeed >= 0)
            takeLine(std::exchange(m_pendingLine, QByteArray()));
    }
    if (m_status == requestComplete && pos < size)
        m_unconsumed.append(bytes.constData() + pos, size - pos);
    return m_status;
}

QByteArray HttpRequest::takeUnconsumed()
{
    return std::exchange(m_unconsumed, QByteArray());
}

void HttpRequest::readFromSocket(QTcpSocket *socket)
{
    if (m_peerAddress.isNull())
        m_peerAddress = socket->peerAddress();
    const QByteArray bytes = socket->read(kSocketReadPiece);
    if (!bytes.isEmpty())
        feed(bytes);
}

void HttpRequest::takeLine(QByteArray line)
{
    line.chop(1); // the LF
    if (line.endsWith('\r'))
        line.chop(1);
    // A CR anywhere else would end the line for some readers and not for others.
    if (line.contains('\r')) {
        abort("HttpRequest: received a bare CR in the request head");
        return;
    }
    line = line.trimmed();
    if (m_status == awaitingRequestLine)
        readRequestLine(line);
    else
        readHeaderLine(line);
}

void HttpRequest::readRequestLine(const QByteArray &line)
{
    if (line.isEmpty())
        return;
    const QList<QByteArray> parts = line.split(' ');
    if (parts.size() != 3 || !parts.at(2).contains("HTTP")) {
        abort("HttpRequest: received broken HTTP request, invalid first line");
        return;
    }
    m_method = parts.at(0).trimmed();
    m_path = parts.at(1);
    m_version = parts.at(2);
    m_status = awaitingHeaders;
}

void HttpRequest::readHeaderLine(const QByteArray &line)
{
    if (line.isEmpty()) {
        endOfHeaders();
        return;
    }
    if (++m_headerLines > kMaxHeaderLines) {
        abort("HttpRequest: received too many header lines");
        return;
    }
    const int colon = line.indexOf(':');
    if (colon > 0) {
        const QByteArray name = line.left(colon).toLower();
        if (name.contains(' ') || name.contains('\t')) {
            abort("HttpRequest: received a blank in a header name");
            return;
        }
        const QByteArray value = line.mid(colon + 1).trimmed();
        m_lastHeaderName = name;
        m_headers.insert(name, value);
        m_storedHeaderBytes += name.size() + value.size();
    } else if (m_headers.contains(m_lastHeaderName)) {
        // A continuation line adds an entry with the whole value so far, so the stored bytes
        // can grow faster than the bytes received: they are capped below.
        const QByteArray value = m_headers.value(m_lastHeaderName) + ' ' + line;
        m_headers.insert(m_lastHeaderName, value);
        m_storedHeaderBytes += m_lastHeaderName.size() + value.size();
    }
    if (m_storedHeaderBytes > m_maxRequestSize)
        abort("HttpRequest: received too many header bytes");
}

void HttpRequest::endOfHeaders()
{
    if (m_headers.contains("transfer-encoding")) {
        abort("HttpRequest: Transfer-Encoding is not supported");
        return;
    }
    const QByteArray contentType = m_headers.value("content-type");
    if (contentType.startsWith("multipart/form-data") && contentType.contains("boundary=")) {
        const int start = contentType.indexOf("boundary=") + 9;
        m_boundary = contentType.mid(start);
        if (m_boundary.size() >= 2 && m_boundary.startsWith('"') && m_boundary.endsWith('"'))
            m_boundary = m_boundary.mid(1, m_boundary.size() - 2);
    }
    const QList<QByteArray> lengths = m_headers.values("content-length");
    if (!lengths.isEmpty()) {
        for (const QByteArray &length : lengths) {
            if (!isValidLength(length) || length != lengths.first()) {
                abort("HttpRequest: received an invalid or conflicting Content-Length");
                return;
            }
        }
        m_declaredBodySize = lengths.first().toLongLong();
    }
    if (m_declaredBodySize == 0) {
        complete();
    } else if (m_boundary.isEmpty()) {
        if (m_declaredBodySize + m_byteCount > m_maxRequestSize)
            abort("HttpRequest: expected body is too large");
        else
            m_status = awaitingBody;
    } else {
        if (m_declaredBodySize > m_maxMultiPartSize)
            abort("HttpRequest: expected multipart body is too large");
        else
            m_status = awaitingBody;
    }
}

int HttpRequest::feedBody(const char *data, int size)
{
    if (m_boundary.isEmpty()) {
        const int taken = int(qMin<qint64>(m_declaredBodySize - m_body.size(), size));
        m_body.append(data, taken);
        m_byteCount += taken;
        if (m_body.size() >= m_declaredBodySize)
            complete();
        return taken;
    }
    if (!m_bodyFile)
        m_bodyFile = new QTemporaryFile();
    if (!m_bodyFile->isOpen() && !m_bodyFile->open()) {
        qCritical("HttpRequest: Error writing temp file for multipart body");
        abort("HttpRequest: cannot spool the multipart body");
        return size;
    }
    const qint64 spooled = m_bodyFile->size();
    const int taken = int(qMin<qint64>(m_declaredBodySize - spooled, size));
    if (m_bodyFile->write(data, taken) != taken) {
        qCritical("HttpRequest: Error writing temp file for multipart body");
        abort("HttpRequest: cannot spool the multipart body");
        return size;
    }
    const qint64 fileSize = spooled + taken;
    if (fileSize >= m_maxMultiPartSize) {
        abort("HttpRequest: received too many multipart bytes");
    } else if (fileSize >= m_declaredBodySize) {
        if (!m_bodyFile->flush())
            qCritical("HttpRequest: Error writing temp file for multipart body");
        parseMultiPartFile();
        m_bodyFile->close(); // the file stays on disk until the request goes
        if (m_status != requestAborted)
            complete();
    }
    return taken;
}

void HttpRequest::checkSize()
{
    const qint64 limit = m_boundary.isEmpty() ? m_maxRequestSize : m_maxMultiPartSize;
    if (m_byteCount > limit)
        abort("HttpRequest: received too many bytes");
}

void HttpRequest::complete()
{
    m_status = requestComplete;
    checkSize();
    if (m_status == requestComplete) {
        decodeRequestParams();
        extractCookies();
    }
}

void HttpRequest::parseMultiPartFile()
{
    qDebug("HttpRequest: parsing multipart temp file");
    m_bodyFile->seek(0);
    const QByteArray closingLine = "--" + m_boundary;
    const auto readable = [this] {
        return !m_bodyFile->atEnd() && m_bodyFile->error() == QFileDevice::NoError;
    };
    bool finished = false;
    int parts = 0;
    while (readable() && !finished) {
        if (++parts > kMaxMultiPartParts) {
            abort("HttpRequest: received too many multipart parts");
            return;
        }
        QByteArray fieldName;
        QByteArray fileName;
        while (readable()) {
            const QByteArray line = m_bodyFile->readLine(kMultiPartLineLimit).trimmed();
            if (line.isEmpty())
                break;
            if (!line.startsWith("Content-Disposition:"))
                continue;
            if (!line.contains("form-data")) {
                qDebug("HttpRequest: ignoring unsupported content part %s", line.constData());
                continue;
            }
            bool found = false;
            const QByteArray name = quotedAfter(line, " name=\"", &found);
            if (found)
                fieldName = name;
            const QByteArray file = quotedAfter(line, " filename=\"", &found);
            if (found)
                fileName = file;
        }

        QByteArray fieldValue;
        std::unique_ptr<QTemporaryFile> upload;
        while (readable()) {
            const QByteArray line = m_bodyFile->readLine(kMultiPartLineLimit);
            if (line.startsWith(closingLine)) {
                if (!fieldName.isEmpty() && fileName.isEmpty()) {
                    fieldValue.chop(2); // the line break before the boundary
                    m_parameters.insert(fieldName, fieldValue);
                    qDebug("HttpRequest: set parameter %s=%s", fieldName.constData(),
                           fieldValue.constData());
                } else if (!fieldName.isEmpty() && upload) {
                    upload->resize(qMax<qint64>(0, upload->size() - 2));
                    upload->flush();
                    upload->close(); // reopened on demand: parts must not pile up open files
                    m_parameters.insert(fieldName, fileName);
                    qDebug("HttpRequest: set parameter %s=%s", fieldName.constData(),
                           fileName.constData());
                    qDebug("HttpRequest: uploaded file size is %i", int(upload->size()));
                    delete m_uploadedFiles.value(fieldName); // an earlier part of the same field
                    m_uploadedFiles.insert(fieldName, upload.release());
                }
                // A file part without a single content line has nothing to keep: dropped.
                if (line.contains(m_boundary + "--"))
                    finished = true;
                break;
            }
            if (fieldName.isEmpty())
                continue;
            if (fileName.isEmpty()) {
                fieldValue += line;
                m_byteCount += line.size();
                continue;
            }
            if (!upload) {
                upload = std::make_unique<QTemporaryFile>();
                if (!upload->open())
                    qCritical("HttpRequest: error writing temp file, %s",
                              qPrintable(upload->errorString()));
            }
            if (upload->isOpen() && upload->write(line) != line.size())
                qCritical("HttpRequest: error writing temp file, %s",
                          qPrintable(upload->errorString()));
        }
    }
    if (m_bodyFile->error() != QFileDevice::NoError)
        qCritical("HttpRequest: cannot read temp file, %s", qPrintable(m_bodyFile->errorString()));
}

void HttpRequest::decodeRequestParams()
{
    QByteArray rawParameters;
    const int question = m_path.indexOf('?');
    if (question >= 0) {
        rawParameters = m_path.mid(question + 1);
        m_path = m_path.left(question);
    }
    const QByteArray contentType = m_headers.value("content-type");
    if (!m_body.isEmpty()
        && (contentType.isEmpty() || contentType.startsWith("application/x-www-form-urlencoded"))) {
        if (rawParameters.isEmpty())
            rawParameters = m_body;
        else
            rawParameters += '&' + m_body;
    }
    const QList<QByteArray> pairs = rawParameters.split('&');
    for (const QByteArray &pair : pairs) {
        const int equals = pair.indexOf('=');
        if (equals >= 0) {
            const QByteArray name = pair.left(equals).trimmed();
            const QByteArray value = pair.mid(equals + 1).trimmed();
            m_parameters.insert(urlDecode(name), urlDecode(value));
        } else if (!pair.isEmpty()) {
            m_parameters.insert(urlDecode(pair), QByteArray());
        }
    }
}

QByteArray HttpRequest::urlDecode(const QByteArray source)
{
    QByteArray buffer(source);
    buffer.replace('+', ' ');
    int percent = buffer.indexOf('%');
    while (percent >= 0) {
        const QByteArray hex = buffer.mid(percent + 1, 2);
        bool ok = !hex.isEmpty() && isHexDigit(hex.at(0))
                && (hex.size() < 2 || isHexDigit(hex.at(1)));
        const int value = ok ? hex.toInt(&ok, 16) : 0;
        if (ok) // the decoded byte is never looked at again: %2541 gives %41
            buffer.replace(percent, 1 + hex.size(), QByteArray(1, char(value)));
        percent = buffer.indexOf('%', percent + 1);
    }
    return buffer;
}

void HttpRequest::extractCookies()
{
    // Newest header first, each later pair replacing an earlier one: the first header received
    // wins.
    const QList<QByteArray> headers = m_headers.values("cookie");
    for (const QByteArray &header : headers) {
        const QList<QByteArray> parts = HttpCookie::splitCSV(header);
        for (const QByteArray &part : parts) {
            const int equals = part.indexOf('=');
            if (equals < 0)
                m_cookies.insert(part, QByteArray());
            else
                m_cookies.insert(part.left(equals).trimmed(), part.mid(equals + 1).trimmed());
        }
    }
    m_headers.remove("cookie");
}

QByteArray HttpRequest::getHeader(const QByteArray &name) const
{
    return m_headers.value(name.toLower());
}

QList<QByteArray> HttpRequest::getHeaders(const QByteArray &name) const
{
    return m_headers.values(name.toLower());
}

QByteArray HttpRequest::getParameter(const QByteArray &name) const
{
    return m_parameters.value(name);
}

QList<QByteArray> HttpRequest::getParameters(const QByteArray &name) const
{
    return m_parameters.values(name);
}

QTemporaryFile *HttpRequest::getUploadedFile(const QByteArray fieldName) const
{
    QTemporaryFile *file = m_uploadedFiles.value(fieldName);
    if (!file)
        return nullptr;
    if (!file->isOpen() && !file->open())
        return nullptr;
    file->seek(0);
    return file;
}

QByteArray HttpRequest::getCookie(const QByteArray &name) const
{
    return m_cookies.value(name);
}

} // namespace veskaweb
