#include "dsavepages.h"

#include "shell/appsettings.h"
#include "shell/globals.h"

#include <QDeadlineTimer>

namespace {

constexpr int kMillisecondsPerMinute = 60000;
constexpr int kIdleWaitMs = 1000; // with no interval the thread still wakes now and then

// Test hook: VELTORINA_AUTOSAVE_MS, a whole number of milliseconds above 0, replaces the
// interval from the settings, so that a test of the real program (crash, then restore) need
// not wait a minute for its first autosave. Anything else in it is ignored.
int intervalOverride()
{
    bool isNumber = false;
    const int milliseconds = qEnvironmentVariableIntValue("VELTORINA_AUTOSAVE_MS", &isNumber);
    return isNumber && milliseconds > 0 ? milliseconds : 0;
}

} // namespace

DSavePages::DSavePages(DPagesList *list)
    : m_list(list), m_interval(AppSettings::autosaveMinutes(settings) * kMillisecondsPerMinute)
{
    if (const int testInterval = intervalOverride())
        m_interval = testInterval;
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
