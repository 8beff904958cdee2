#pragma once

#include <QMutex>
#include <QThread>
#include <QWaitCondition>

#include <atomic>

class DPagesList;

// The autosave clock: a thread that only counts the "Autosave" interval and asks for an
// autosave through savePage() at the end of every full interval. The signal is emitted in the
// thread that made this object (the GUI thread), so the page list does all work on pages and
// files there, and none is emitted once stop() has been called. The thread touches no
// page and no file; stop() ends it within one bounded wait.
class DSavePages : public QThread
{
    Q_OBJECT

public:
    // Reads "System/Autosave" (up to 60 minutes; 0 or less: never) from the settings store
    // once: a change in the settings dialog takes effect at the next start (a test may override
    // it with the environment variable VELTORINA_AUTOSAVE_MS; see dsavepages.cpp). list is the
    // document served; the thread never uses it.
    explicit DSavePages(DPagesList *list);
    ~DSavePages() override;

    // Asks the thread to end and waits for it, at most timeoutMs; true when it has ended (or
    // never ran). Safe before start() and when called twice.
    bool stop(int timeoutMs = 2000);

    int interval() const { return m_interval; } // milliseconds; <= 0: never asks
    // For tests: a short interval in milliseconds; call before start().
    void setIntervalForTest(int milliseconds) { m_interval = milliseconds; }

signals:
    void savePage(); // emitted in the GUI thread, never after stop()

protected:
    void run() override;

private:
    // Waits until the interval has passed or stop() is called; true when the interval passed.
    bool waitOneInterval();

    DPagesList *const m_list;
    std::atomic<bool> m_bStop{ false };
    int m_interval = 0;
    QMutex m_mutex; // guards nothing but the wait below; never held while emitting
    QWaitCondition m_wake;
};
