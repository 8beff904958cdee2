#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QProcess>
#include <QSize>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// Headless Chromium on a fresh profile, opened at one address and driven through its DevTools
// protocol over a pipe (no port, no other client library): the test evaluates script in the
// page and reads the result. Every wait runs the caller's event loop, since the server the
// page talks to may live in the test's own thread; every wait is bounded.
class HeadlessBrowser
{
public:
    HeadlessBrowser();
    ~HeadlessBrowser();
    HeadlessBrowser(const HeadlessBrowser &) = delete;
    HeadlessBrowser &operator=(const HeadlessBrowser &) = delete;

    // The browser program, or empty when none is installed.
    static QString program();

    // Starts the browser with a window of the given size at the url and attaches to its page.
    bool open(const QString &url, QSize windowSize, int timeoutMs = 60000);
    // The value of a script expression in the page (returned by value), or an undefined value
    // with error() set.
    QJsonValue evaluate(const QString &expression, int timeoutMs = 10000);
    // Closes the browser and waits for it to end.
    void close();

    QString error() const { return m_error; }

private:
    class Process;
    QJsonObject call(const QString &method, const QJsonObject &params, int timeoutMs,
                     bool inPage = false);
    bool readMessage(int timeoutMs, QJsonObject *message);

    std::unique_ptr<Process> m_process;
    std::unique_ptr<QTemporaryDir> m_profile;
    int m_toBrowser = -1;
    int m_fromBrowser = -1;
    int m_nextId = 1;
    QByteArray m_buffer;
    QString m_session;
    QString m_error;
};
