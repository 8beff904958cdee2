#include "httpsessionstore.h"

#include "httpcookie.h"
#include "httpglobal.h"
#include "httprequest.h"
#include "httpresponse.h"

#include <QDateTime>
#include <QMutexLocker>
#include <QtDebug>

namespace veskaweb {

namespace {
constexpr int kExpiryCheckIntervalMs = 60000;
} // namespace

HttpSessionStore::HttpSessionStore(QSettings *settings, QObject *parent)
    : QObject(parent), m_settings(settings)
{
    connect(&m_expiryTimer, &QTimer::timeout, this, &HttpSessionStore::sessionTimerEvent);
    m_expiryTimer.start(kExpiryCheckIntervalMs);
    m_cookieName =
            readTextSetting(settings, QStringLiteral("cookieName"), QStringLiteral("sessionid"))
                    .toLocal8Bit();
    m_expirationTime = int(readIntSetting(settings, QStringLiteral("expirationTime"), 3600000));
    qDebug("HttpSessionStore: Sessions expire after %i milliseconds", m_expirationTime);
}

HttpSessionStore::~HttpSessionStore()
{
    m_expiryTimer.stop();
}

QByteArray HttpSessionStore::getSessionId(HttpRequest &request, HttpResponse &response)
{
    QMutexLocker lock(&m_mutex);
    // A session cookie set earlier while answering the same request wins over the request's own.
    QByteArray id = response.getCookies().value(m_cookieName).getValue();
    if (id.isEmpty())
        id = request.getCookie(m_cookieName);
    if (!id.isEmpty() && !m_sessions.contains(id)) {
        qDebug("HttpSessionStore: received invalid session cookie with ID %s", id.constData());
        id.clear();
    }
    return id;
}

HttpSession HttpSessionStore::getSession(HttpRequest &request, HttpResponse &response,
                                         bool allowCreate)
{
    const QByteArray id = getSessionId(request, response);
    QMutexLocker lock(&m_mutex);
    if (!id.isEmpty()) {
        HttpSession session = m_sessions.value(id);
        if (!session.isNull()) {
            lock.unlock();
            setSessionCookie(response, id);
            session.setLastAccess();
            return session;
        }
    }
    if (!allowCreate)
        return HttpSession();
    HttpSession session(true);
    qDebug("HttpSessionStore: create new session with ID %s", session.getId().constData());
    m_sessions.insert(session.getId(), session);
    lock.unlock();
    setSessionCookie(response, session.getId());
    return session;
}

HttpSession HttpSessionStore::getSession(const QByteArray id)
{
    HttpSession session;
    {
        QMutexLocker lock(&m_mutex);
        session = m_sessions.value(id);
    }
    session.setLastAccess();
    return session;
}

void HttpSessionStore::removeSession(HttpSession session)
{
    QMutexLocker lock(&m_mutex);
    m_sessions.remove(session.getId());
}

void HttpSessionStore::setSessionCookie(HttpResponse &response, const QByteArray &id)
{
    const QByteArray name =
            readTextSetting(m_settings, QStringLiteral("cookieName"), QStringLiteral("sessionid"))
                    .toLocal8Bit();
    const QByteArray path = readTextSetting(m_settings, QStringLiteral("cookiePath")).toLocal8Bit();
    const QByteArray comment =
            readTextSetting(m_settings, QStringLiteral("cookieComment")).toLocal8Bit();
    const QByteArray domain =
            readTextSetting(m_settings, QStringLiteral("cookieDomain")).toLocal8Bit();
    response.setCookie(
            HttpCookie(name, id, m_expirationTime / 1000, path, comment, domain, false, false));
}

void HttpSessionStore::removeExpired(qint64 now)
{
    QList<HttpSession> expired; // released after unlocking: a record's last handle may go here
    {
        QMutexLocker lock(&m_mutex);
        for (auto it = m_sessions.begin(); it != m_sessions.end();) {
            if (now - it.value().getLastAccess() > m_expirationTime) {
                qDebug("HttpSessionStore: session %s expired", it.key().constData());
                expired.append(it.value());
                it = m_sessions.erase(it);
            } else {
                ++it;
            }
        }
    }
}

void HttpSessionStore::sessionTimerEvent()
{
    removeExpired(QDateTime::currentMSecsSinceEpoch());
}

} // namespace veskaweb
