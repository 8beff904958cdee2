#pragma once

#include <QObject>
#include <QVector>

#include <sys/types.h>

class QSocketNotifier;

// The end of a session as the system asks for it: SIGTERM (a logout, a shutdown) and SIGHUP
// (the session or its terminal gone). Left to their default, they ended the program at once and
// the work since the last autosave was lost. Their handler only writes the signal's number into
// a pipe, the one thing a handler may safely do; the event loop reads it and emits ending() in
// the GUI thread, where the document can be written as at any other moment. A signal the
// program was started with ignored (nohup) stays ignored.
//
// One at a time, made in the GUI thread; the handlers it replaced are put back when it goes.
class SessionEnd : public QObject
{
    Q_OBJECT

public:
    explicit SessionEnd(QObject *parent = nullptr);
    ~SessionEnd() override;
    SessionEnd(const SessionEnd &) = delete;
    SessionEnd &operator=(const SessionEnd &) = delete;

    // Ends the process as signal ends it when nothing catches it, so that whoever waits for it
    // (the session, a service manager) sees it ended by that signal. Any thread may call it.
    [[noreturn]] static void endBy(int signal);
    // The same after ms from now, whatever the GUI thread is doing then (the children are
    // killed first): the session waits for so long, not for a disk that does not answer.
    static void endWithin(int signal, int ms);
    // Ends the processes this one started and that are still running (the decoding processes,
    // a tool at work): asked to end, and killed when they have not within graceMs.
    static void endChildren(int graceMs);
    // The processes whose parent is parent, those still running (not yet reaped ones that have
    // ended are left out).
    static QVector<pid_t> childrenOf(pid_t parent);

signals:
    // Once, for the first of the signals; those that come after it are taken and dropped, so
    // that a second request to end cannot cut short what the first one set going.
    void ending(int signal);

private:
    void takeSignals();

    QSocketNotifier *m_notifier = nullptr;
    bool m_ended = false;
};
