#pragma once

#include <QProcess>
#include <QSemaphore>
#include <QString>
#include <QStringList>
#include <QThread>

// Runs the external screen recorder for one recording. The recorder's process belongs to this
// thread alone: it is started, watched and stopped here, so a stop ends exactly the recorder we
// started and the caller can wait until its output file is complete.
class RecordThread : public QThread
{
public:
    RecordThread(const QString &program, const QStringList &arguments);
    ~RecordThread() override;

    // After start(): true once the recorder runs, false if it could not be started. Bounded.
    bool waitUntilStarted(int timeoutMs);
    // Asks the recorder to finish its file and waits for it, killing it if it will not end.
    // True when the thread has ended.
    bool stopRecorder(int timeoutMs);

    // Valid once the thread has ended.
    bool recorderStarted() const { return m_started; }
    bool recorderSucceeded() const { return m_started && m_normalExit && m_exitCode == 0; }
    QString errorString() const { return m_errorString; }

protected:
    void run() override;

private:
    const QString m_program;
    const QStringList m_arguments;
    QSemaphore m_startDecided;
    bool m_started = false;
    bool m_normalExit = false;
    int m_exitCode = -1;
    QString m_errorString;
};
