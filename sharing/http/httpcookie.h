#pragma once

#include <QByteArray>
#include <QList>

namespace veskaweb {

// One HTTP cookie: its name and value and the attributes of a "Set-Cookie" header. Nothing is
// quoted, escaped or validated on the way in or out.
class HttpCookie
{
public:
    HttpCookie();
    HttpCookie(const QByteArray name, const QByteArray value, const int maxAge,
               const QByteArray path = QByteArray(), const QByteArray comment = QByteArray(),
               const QByteArray domain = QByteArray(), const bool secure = false,
               const bool httpOnly = false);
    // Parses the value of a "Set-Cookie" header.
    explicit HttpCookie(const QByteArray source);

    // The "Set-Cookie" header value, without the header name and line end.
    QByteArray toByteArray() const;

    // Splits a cookie header value at semicolons outside double quotes; the quotes are dropped,
    // parts are trimmed and empty ones skipped.
    static QList<QByteArray> splitCSV(const QByteArray source);

    void setName(const QByteArray name) { m_name = name; }
    void setValue(const QByteArray value) { m_value = value; }
    void setComment(const QByteArray comment) { m_comment = comment; }
    void setDomain(const QByteArray domain) { m_domain = domain; }
    void setMaxAge(const int maxAge) { m_maxAge = maxAge; }
    void setPath(const QByteArray path) { m_path = path; }
    void setSecure(const bool secure) { m_secure = secure; }
    void setHttpOnly(const bool httpOnly) { m_httpOnly = httpOnly; }

    QByteArray getName() const { return m_name; }
    QByteArray getValue() const { return m_value; }
    QByteArray getComment() const { return m_comment; }
    QByteArray getDomain() const { return m_domain; }
    QByteArray getPath() const { return m_path; }
    int getMaxAge() const { return m_maxAge; }
    int getVersion() const { return m_version; }
    bool getSecure() const { return m_secure; }
    bool getHttpOnly() const { return m_httpOnly; }

private:
    QByteArray m_name;
    QByteArray m_value;
    QByteArray m_comment;
    QByteArray m_domain;
    int m_maxAge = 0; // 0: no "Max-Age" attribute
    QByteArray m_path;
    bool m_secure = false;
    bool m_httpOnly = false;
    int m_version = 1;
};

} // namespace veskaweb
