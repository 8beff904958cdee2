#pragma once

#include "httpsession.h"

#include <QByteArray>
#include <QMap>
#include <QMutex>
#include <QObject>
#include <QTimer>

class QSettings;

namespace veskaweb {

class HttpRequest;
class HttpResponse;

// Keeps the live sessions by id, ties a request to its session through a cookie, creates
// sessions on demand and drops those idle longer than "expirationTime".
class HttpSessionStore : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY(HttpSessionStore)

public:
    HttpSessionStore(QSettings *settings, QObject *parent = nullptr);
    ~HttpSessionStore() override;

    QByteArray getSessionId(HttpRequest &request, HttpResponse &response);
    HttpSession getSession(HttpRequest &request, HttpResponse &response, bool allowCreate = true);
    HttpSession getSession(const QByteArray id);
    void removeSession(HttpSession session);

    // Drops every session idle for longer than the expiration time at the moment `now`.
    void removeExpired(qint64 now);

private slots:
    void sessionTimerEvent();

private:
    void setSessionCookie(HttpResponse &response, const QByteArray &id);

    QMap<QByteArray, HttpSession> m_sessions; // guarded by m_mutex
    QSettings *m_settings; // not owned
    QTimer m_expiryTimer;
    QByteArray m_cookieName;
    int m_expirationTime;
    QMutex m_mutex;
};

} // namespace veskaweb
