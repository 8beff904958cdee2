#include "httpsession.h"

#include <QDateTime>
#include <QReadLocker>
#include <QUuid>
#include <QWriteLocker>
#include <QtDebug>

namespace veskaweb {

HttpSession::HttpSession(bool canStore)
{
    if (!canStore)
        return;
    m_data = new SessionData;
    m_data->id = QUuid::createUuid().toString().toLocal8Bit();
    m_data->lastAccess = QDateTime::currentMSecsSinceEpoch();
    m_data->handleCount = 1;
}

HttpSession::HttpSession(const HttpSession &other) : m_data(other.m_data)
{
    if (m_data) {
        QWriteLocker lock(&m_data->lock);
        ++m_data->handleCount;
    }
}

HttpSession &HttpSession::operator=(const HttpSession &other)
{
    SessionData *previous = m_data;
    m_data = other.m_data;
    if (m_data) {
        QWriteLocker lock(&m_data->lock);
        ++m_data->handleCount;
        m_data->lastAccess = QDateTime::currentMSecsSinceEpoch();
    }
    release(previous); // after taking the new one: a self-assignment keeps the record alive
    return *this;
}

HttpSession::~HttpSession()
{
    release(m_data);
}

void HttpSession::release(SessionData *data)
{
    if (!data)
        return;
    bool last = false;
    {
        // Decided under the lock, so that two handles going at once cannot both delete it.
        QWriteLocker lock(&data->lock);
        last = --data->handleCount == 0;
    }
    if (last) {
        qDebug("HttpSession: deleting data");
        delete data;
    }
}

QByteArray HttpSession::getId() const
{
    if (!m_data)
        return {};
    QReadLocker lock(&m_data->lock);
    return m_data->id;
}

qint64 HttpSession::getLastAccess() const
{
    if (!m_data)
        return 0;
    QReadLocker lock(&m_data->lock);
    return m_data->lastAccess;
}

void HttpSession::setLastAccess()
{
    if (!m_data)
        return;
    QWriteLocker lock(&m_data->lock);
    m_data->lastAccess = QDateTime::currentMSecsSinceEpoch();
}

void HttpSession::set(const QByteArray &key, const QVariant &value)
{
    if (!m_data)
        return;
    QWriteLocker lock(&m_data->lock);
    m_data->values.insert(key, value);
}

void HttpSession::remove(const QByteArray &key)
{
    if (!m_data)
        return;
    QWriteLocker lock(&m_data->lock);
    m_data->values.remove(key);
}

QVariant HttpSession::get(const QByteArray &key) const
{
    if (!m_data)
        return {};
    QReadLocker lock(&m_data->lock);
    return m_data->values.value(key);
}

bool HttpSession::contains(const QByteArray &key) const
{
    if (!m_data)
        return false;
    QReadLocker lock(&m_data->lock);
    return m_data->values.contains(key);
}

QMap<QByteArray, QVariant> HttpSession::getAll() const
{
    if (!m_data)
        return {};
    QReadLocker lock(&m_data->lock);
    return m_data->values;
}

} // namespace veskaweb
