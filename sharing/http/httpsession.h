#pragma once

#include <QByteArray>
#include <QMap>
#include <QReadWriteLock>
#include <QVariant>

namespace veskaweb {

// The record shared by all handles of one session.
struct SessionData
{
    QByteArray id;
    qint64 lastAccess = 0; // milliseconds since the epoch
    int handleCount = 0;
    QReadWriteLock lock; // guards every field of the record
    QMap<QByteArray, QVariant> values;
};

// A handle to per-client data that survives between requests. Copies share the record, which is
// deleted with its last handle; a null session answers every query with an empty result.
class HttpSession
{
public:
    explicit HttpSession(bool canStore = false);
    HttpSession(const HttpSession &other);
    HttpSession &operator=(const HttpSession &other);
    virtual ~HttpSession();

    QByteArray getId() const;
    bool isNull() const { return m_data == nullptr; }
    qint64 getLastAccess() const;
    void setLastAccess();

    void set(const QByteArray &key, const QVariant &value);
    void remove(const QByteArray &key);
    QVariant get(const QByteArray &key) const;
    bool contains(const QByteArray &key) const;
    QMap<QByteArray, QVariant> getAll() const;

private:
    static void release(SessionData *data);

    SessionData *m_data = nullptr;
};

} // namespace veskaweb
