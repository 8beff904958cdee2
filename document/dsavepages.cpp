#include "dsavepages.h"

#include "shell/appsettings.h"
#include "shell/globals.h"

#include <QDeadlineTimer>

namespace {

constexpr int kMillisecondsPerMinute = 60000;
constexpr int kIdleWaitMs = 1000; // with no interval the thread still wakes now and then

} // namespace

DSavePages::DSavePages(DPagesList *list)
    : m_list(list), m_interval(AppSettings::autosaveMinutes(settings) * kMillisecondsPerMinute)
{
}

DSavePages::~DSavePages()
{
    stop();
}

bool DSavePages::stop(int timeoutMs)
{
    {
        QMutexLocker lock(&m_mutex);
        m_bStop = true; // set under the lock so that the wake below is not lost
        m_wake.wakeAll();
    }
    return wait(QDeadlineTimer(timeoutMs));
}

void DSavePages::run()
{
    // The stop flag is not cleared here: a stop() that came between start() and this line must
    // still end the thread.
    while (!m_bStop) {
        if (!waitOneInterval())
            continue;
        // savePage() is emitted in the thread this object lives in (the GUI thread), and only
        // while not stopped: a request still queued when stop() returns is dropped, so no
        // autosave can follow the clean exit that removes the working directory.
        QMetaObject::invokeMethod(
                this,
                [this] {
                    if (!m_bStop)
                        emit savePage();
                },
                Qt::QueuedConnection);
    }
}

bool DSavePages::waitOneInterval()
{
    QMutexLocker lock(&m_mutex);
    if (m_interval <= 0) {
        while (!m_bStop)
            m_wake.wait(&m_mutex, kIdleWaitMs);
        return false;
    }
    // The deadline, not a count of wakes, decides: a spurious wake-up never shortens it.
    const QDeadlineTimer deadline(m_interval);
    while (!m_bStop && !deadline.hasExpired())
        m_wake.wait(&m_mutex, deadline);
    return !m_bStop;
}
