#include "httpglobal.h"

#include <QAbstractSocket>
#include <QDeadlineTimer>
#include <QMetaType>
#include <QMutex>
#include <QMutexLocker>
#include <QSettings>
#include <QThread>

namespace veskaweb {

namespace {
QMutex g_settingsMutex; // guards reads of the shared settings store; never held with another lock
constexpr int kWaitSliceMs = 100; // how soon a blocked connection thread notices a stop request

bool interrupted()
{
    return QThread::currentThread()->isInterruptionRequested();
}
} // namespace

QString getHttpServerLibVersion()
{
    return QStringLiteral("1.7.3");
}

void registerSocketDescriptorType()
{
    qRegisterMetaType<tSocketDescriptor>("tSocketDescriptor");
}

qint64 readIntSetting(QSettings *settings, const QString &key, qint64 defaultValue)
{
    if (!settings)
        return defaultValue;
    QMutexLocker lock(&g_settingsMutex);
    const QVariant value = settings->value(key, QString::number(defaultValue));
    return value.toString().trimmed().toLongLong();
}

QString readTextSetting(QSettings *settings, const QString &key, const QString &defaultValue)
{
    if (!settings)
        return defaultValue;
    QMutexLocker lock(&g_settingsMutex);
    return settings->value(key, defaultValue).toString();
}

bool writeWithLimit(QAbstractSocket *socket, const QByteArray &data, int totalTimeoutMs,
                    qint64 queueLimit)
{
    const QDeadlineTimer deadline(totalTimeoutMs);
    qint64 written = 0;
    while (socket->isOpen() && written < data.size()) {
        while (socket->bytesToWrite() > queueLimit && socket->isOpen()) {
            if (interrupted() || deadline.hasExpired()) {
                socket->abort();
                return false;
            }
            socket->waitForBytesWritten(int(qMin<qint64>(kWaitSliceMs, deadline.remainingTime())));
            if (socket->state() != QAbstractSocket::ConnectedState
                && socket->state() != QAbstractSocket::ClosingState)
                return true; // the peer went away: nothing left to deliver to
        }
        if (!socket->isOpen())
            break;
        const qint64 taken = socket->write(data.constData() + written, data.size() - written);
        if (taken < 0)
            return false;
        written += taken;
    }
    return true;
}

bool drainWithLimit(QAbstractSocket *socket, int totalTimeoutMs)
{
    const QDeadlineTimer deadline(totalTimeoutMs);
    while (socket->bytesToWrite() > 0) {
        if (socket->state() != QAbstractSocket::ConnectedState
            && socket->state() != QAbstractSocket::ClosingState)
            return false;
        if (interrupted() || deadline.hasExpired()) {
            socket->abort();
            return false;
        }
        socket->waitForBytesWritten(int(qMin<qint64>(kWaitSliceMs, deadline.remainingTime())));
    }
    return true;
}

} // namespace veskaweb
