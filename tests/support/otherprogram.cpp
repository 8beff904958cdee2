#include "otherprogram.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

#include <signal.h>

namespace {

// Whether a process of the group (other than one that has ended and waits to be reaped) runs.
bool isGroupAlive(qint64 group)
{
    const QStringList processes = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &process : processes) {
        QFile stat(QStringLiteral("/proc/") + process + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state parent group ...": the name may hold anything, up to its last ')'.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 2 && fields.at(2).toLongLong() == group && fields.at(0) != "Z")
            return true;
    }
    return false;
}

} // namespace

OtherProgram::OtherProgram(const QString &folder, const QProcessEnvironment &environment)
{
    m_process.setWorkingDirectory(folder);
    m_process.setProcessEnvironment(environment);
    m_process.start(QStringLiteral(VELTORINA_DOCUMENT_DRIVER), QStringList());
    m_process.waitForStarted(60000);
}

OtherProgram::~OtherProgram()
{
    if (m_process.state() != QProcess::NotRunning)
        kill();
}

QString OtherProgram::ask(const QString &command, int timeoutMs)
{
    send(command);
    return nextLine(timeoutMs);
}

void OtherProgram::send(const QString &command)
{
    m_process.write(command.toUtf8() + '\n');
    m_process.waitForBytesWritten(10000);
}

QString OtherProgram::nextLine(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!m_process.canReadLine()) {
        if (deadline.hasExpired() || m_process.state() == QProcess::NotRunning)
            return QString();
        m_process.waitForReadyRead(100);
    }
    return QString::fromUtf8(m_process.readLine()).trimmed();
}

void OtherProgram::kill()
{
    const qint64 pid = m_process.processId();
    // The driver leads its own process group: the group is it and the tools it started.
    if (pid > 0 && ::kill(-pid_t(pid), SIGKILL) != 0)
        m_process.kill(); // not yet the leader of its group
    m_process.waitForFinished(60000);
    // A tool being started may still be a copy of the program, with its files open, and ends
    // a little later: the group is gone only when all of it is.
    const QDeadlineTimer deadline(60000);
    while (pid > 0 && isGroupAlive(pid) && !deadline.hasExpired())
        QThread::msleep(10);
}

bool OtherProgram::waitForEnd(int timeoutMs)
{
    m_process.closeWriteChannel();
    return m_process.waitForFinished(timeoutMs) && m_process.exitStatus() == QProcess::NormalExit
            && m_process.exitCode() == 0;
}

QString OtherProgram::errors()
{
    m_errors += m_process.readAllStandardError();
    return QString::fromUtf8(m_errors);
}
