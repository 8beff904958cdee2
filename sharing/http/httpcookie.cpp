#include "httpcookie.h"

#include <QtDebug>

namespace veskaweb {

HttpCookie::HttpCookie() = default;

HttpCookie::HttpCookie(const QByteArray name, const QByteArray value, const int maxAge,
                       const QByteArray path, const QByteArray comment, const QByteArray domain,
                       const bool secure, const bool httpOnly)
    : m_name(name),
      m_value(value),
      m_comment(comment),
      m_domain(domain),
      m_maxAge(maxAge),
      m_path(path),
      m_secure(secure),
      m_httpOnly(httpOnly)
{
}

HttpCookie::HttpCookie(const QByteArray source)
{
    const QList<QByteArray> parts = splitCSV(source);
    for (const QByteArray &part : parts) {
        QByteArray name;
        QByteArray value;
        const int equals = part.indexOf('=');
        if (equals < 0) {
            name = part;
        } else {
            name = part.left(equals).trimmed();
            value = part.mid(equals + 1).trimmed();
        }
        // Attribute names are recognised wherever they stand, also in the first part.
        if (name == "Comment") {
            m_comment = value;
        } else if (name == "Domain") {
            m_domain = value;
        } else if (name == "Max-Age") {
            m_maxAge = value.toInt();
        } else if (name == "Path") {
            m_path = value;
        } else if (name == "Secure") {
            m_secure = true;
        } else if (name == "HttpOnly") {
            m_httpOnly = true;
        } else if (name == "Version") {
            m_version = value.toInt();
        } else if (m_name.isEmpty()) {
            m_name = name;
            m_value = value;
        } else {
            qWarning("HttpCookie: Ignoring unknown %s=%s", name.constData(), value.constData());
        }
    }
}

QByteArray HttpCookie::toByteArray() const
{
    QByteArray text = m_name + '=' + m_value;
    if (!m_comment.isEmpty())
        text += "; Comment=" + m_comment;
    if (!m_domain.isEmpty())
        text += "; Domain=" + m_domain;
    if (m_maxAge != 0)
        text += "; Max-Age=" + QByteArray::number(m_maxAge);
    if (!m_path.isEmpty())
        text += "; Path=" + m_path;
    if (m_secure)
        text += "; Secure";
    if (m_httpOnly)
        text += "; HttpOnly";
    text += "; Version=" + QByteArray::number(m_version);
    return text;
}

QList<QByteArray> HttpCookie::splitCSV(const QByteArray source)
{
    QList<QByteArray> parts;
    QByteArray part;
    bool inQuotes = false;
    const auto endPart = [&] {
        const QByteArray trimmed = part.trimmed();
        if (!trimmed.isEmpty())
            parts.append(trimmed);
        part.clear();
    };
    for (const char c : source) {
        if (c == '"')
            inQuotes = !inQuotes;
        else if (c == ';' && !inQuotes)
            endPart();
        else
            part.append(c);
    }
    endPart();
    return parts;
}

} // namespace veskaweb
