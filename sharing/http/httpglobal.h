#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QtGlobal>

class QAbstractSocket;
class QSettings;

// An accepted connection's socket descriptor. It is the exact type of
// QTcpServer::incomingConnection's argument (64 bits on every platform we build for), registered
// under this name so that a queued call can carry it.
typedef qintptr tSocketDescriptor;
static_assert(sizeof(tSocketDescriptor) == 8, "socket descriptors are carried as 64-bit integers");

namespace veskaweb {

// The server code's version text.
QString getHttpServerLibVersion();

// Makes "tSocketDescriptor" known to the meta-type system; safe to call more than once.
void registerSocketDescriptorType();

// One QSettings object is shared by the listener, the pool and every connection thread, but a
// QSettings object is only reentrant, not thread-safe: every read of the server goes through here.
// The value is read as text and converted, so text that is not a number gives 0. A null settings
// store gives the default.
qint64 readIntSetting(QSettings *settings, const QString &key, qint64 defaultValue);
QString readTextSetting(QSettings *settings, const QString &key, const QString &defaultValue = {});

// Writes bytes with back-pressure: while more than `queueLimit` bytes wait in the socket, waits for
// some to go, in short slices so that a request to interrupt the current thread is seen at once.
// When the whole write takes longer than `totalTimeoutMs`, or the thread is asked to stop, the
// socket is aborted: a client that stops reading cannot hold a connection thread for ever.
// Returns false on a write error or timeout; true when written or when the socket was closed.
bool writeWithLimit(QAbstractSocket *socket, const QByteArray &data, int totalTimeoutMs,
                    qint64 queueLimit = 16384);

// Waits until nothing is left to write, at most `totalTimeoutMs` in all; aborts the socket when the
// time runs out or the thread is asked to stop. Returns true when everything was sent.
bool drainWithLimit(QAbstractSocket *socket, int totalTimeoutMs);

// Default for the server's total time limit on one write or drain, in milliseconds
// ("writeTimeout").
constexpr int kDefaultWriteTimeoutMs = 30000;

} // namespace veskaweb
