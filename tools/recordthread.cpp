#include "recordthread.h"

namespace {
constexpr int kStartTimeoutMs = 5000;
constexpr int kPollMs = 100;
// The recorder finishes its file on a terminate request; encoding the last frames and writing
// the trailer takes a moment, after which it is killed.
constexpr int kFinishTimeoutMs = 10000;
constexpr int kKillTimeoutMs = 2000;
} // namespace

RecordThread::RecordThread(const QString &program, const QStringList &arguments)
    : m_program(program), m_arguments(arguments)
{
}

RecordThread::~RecordThread()
{
    stopRecorder(kFinishTimeoutMs + kKillTimeoutMs + 1000);
}

bool RecordThread::waitUntilStarted(int timeoutMs)
{
    if (!m_startDecided.tryAcquire(1, timeoutMs))
        return false;
    m_startDecided.release(); // later callers learn the same answer
    return m_started;
}

bool RecordThread::stopRecorder(int timeoutMs)
{
    requestInterruption();
    return wait(timeoutMs);
}

void RecordThread::run()
{
    QProcess recorder;
    recorder.setStandardInputFile(QProcess::nullDevice());
    recorder.setStandardOutputFile(QProcess::nullDevice());
    recorder.setStandardErrorFile(QProcess::nullDevice());
    recorder.start(m_program, m_arguments);
    m_started = recorder.waitForStarted(kStartTimeoutMs);
    if (!m_started)
        m_errorString = recorder.errorString();
    m_startDecided.release();
    if (!m_started)
        return;

    while (!recorder.waitForFinished(kPollMs)) {
        if (recorder.state() == QProcess::NotRunning)
            break;
        if (isInterruptionRequested()) {
            recorder.terminate();
            if (!recorder.waitForFinished(kFinishTimeoutMs)) {
                recorder.kill();
                recorder.waitForFinished(kKillTimeoutMs);
            }
            break;
        }
    }
    m_normalExit = recorder.exitStatus() == QProcess::NormalExit;
    m_exitCode = recorder.exitCode();
    if (!recorderSucceeded() && m_errorString.isEmpty())
        m_errorString =
                QString::fromLocal8Bit("el grabador terminó con el código %1").arg(m_exitCode);
}
