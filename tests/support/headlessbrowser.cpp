#include "headlessbrowser.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStandardPaths>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {
// The browser reads the protocol from descriptor 3 and writes it to descriptor 4.
constexpr int kBrowserIn = 3;
constexpr int kBrowserOut = 4;
// Above the descriptors the child is given, so that moving one never overwrites another.
constexpr int kHighDescriptor = 20;
} // namespace

// Hands the two pipe ends to the child as descriptors 3 and 4.
class HeadlessBrowser::Process : public QProcess
{
public:
    int childIn = -1;
    int childOut = -1;

protected:
    void setupChildProcess() override
    {
        // dup2 clears close-on-exec on the copies; the originals close with the exec.
        ::dup2(childIn, kBrowserIn);
        ::dup2(childOut, kBrowserOut);
    }
};

HeadlessBrowser::HeadlessBrowser() = default;

HeadlessBrowser::~HeadlessBrowser()
{
    close();
}

QString HeadlessBrowser::program()
{
    for (const char *name : { "chromium", "chromium-browser", "google-chrome" }) {
        const QString found = QStandardPaths::findExecutable(QLatin1String(name));
        if (!found.isEmpty())
            return found;
    }
    return QString();
}

bool HeadlessBrowser::open(const QString &url, QSize windowSize, int timeoutMs)
{
    close();
    const QString browser = program();
    if (browser.isEmpty()) {
        m_error =
                QStringLiteral("no chromium on this machine (scripts/install-deps.sh installs it)");
        return false;
    }
    m_profile = std::make_unique<QTemporaryDir>();
    int toBrowser[2];
    int fromBrowser[2];
    if (!m_profile->isValid() || ::pipe2(toBrowser, O_CLOEXEC) != 0) {
        m_error = QStringLiteral("no profile folder or pipe");
        return false;
    }
    if (::pipe2(fromBrowser, O_CLOEXEC) != 0) {
        ::close(toBrowser[0]);
        ::close(toBrowser[1]);
        m_error = QStringLiteral("no pipe");
        return false;
    }
    m_process = std::make_unique<Process>();
    m_process->childIn = ::fcntl(toBrowser[0], F_DUPFD_CLOEXEC, kHighDescriptor);
    m_process->childOut = ::fcntl(fromBrowser[1], F_DUPFD_CLOEXEC, kHighDescriptor);
    ::close(toBrowser[0]);
    ::close(fromBrowser[1]);
    m_toBrowser = toBrowser[1];
    m_fromBrowser = fromBrowser[0];
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process->start(
            browser,
            { QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
              QStringLiteral("--disable-gpu"), QStringLiteral("--disable-quic"),
              QStringLiteral("--no-first-run"), QStringLiteral("--disable-background-networking"),
              QStringLiteral("--disable-component-update"), QStringLiteral("--disable-sync"),
              QStringLiteral("--user-data-dir=") + m_profile->path(),
              QStringLiteral("--window-size=%1,%2")
                      .arg(windowSize.width())
                      .arg(windowSize.height()),
              QStringLiteral("--remote-debugging-pipe"), url });
    const bool started = m_process->waitForStarted(10000);
    ::close(m_process->childIn);
    ::close(m_process->childOut);
    if (!started) {
        m_error = QStringLiteral("the browser does not start: ") + m_process->errorString();
        return false;
    }
    const QDeadlineTimer deadline(timeoutMs);
    // The page target appears once the browser has opened its first tab.
    QString target;
    while (target.isEmpty() && !deadline.hasExpired()) {
        const QJsonObject reply =
                call(QStringLiteral("Target.getTargets"), {}, int(deadline.remainingTime()));
        if (reply.isEmpty())
            return false;
        for (const QJsonValue info : reply.value(QStringLiteral("targetInfos")).toArray()) {
            if (info[QStringLiteral("type")].toString() == QLatin1String("page"))
                target = info[QStringLiteral("targetId")].toString();
        }
    }
    if (target.isEmpty()) {
        m_error = QStringLiteral("the browser shows no page");
        return false;
    }
    const QJsonObject attached =
            call(QStringLiteral("Target.attachToTarget"),
                 { { QStringLiteral("targetId"), target }, { QStringLiteral("flatten"), true } },
                 int(qMax<qint64>(1000, deadline.remainingTime())));
    m_session = attached.value(QStringLiteral("sessionId")).toString();
    if (m_session.isEmpty() && m_error.isEmpty())
        m_error = QStringLiteral("cannot attach to the page");
    return !m_session.isEmpty();
}

QJsonValue HeadlessBrowser::evaluate(const QString &expression, int timeoutMs)
{
    const QJsonObject reply = call(QStringLiteral("Runtime.evaluate"),
                                   { { QStringLiteral("expression"), expression },
                                     { QStringLiteral("returnByValue"), true } },
                                   timeoutMs, true);
    if (reply.contains(QStringLiteral("exceptionDetails"))) {
        m_error = QString::fromUtf8(
                QJsonDocument(reply.value(QStringLiteral("exceptionDetails")).toObject())
                        .toJson(QJsonDocument::Compact));
        return QJsonValue(QJsonValue::Undefined);
    }
    return reply.value(QStringLiteral("result")).toObject().value(QStringLiteral("value"));
}

void HeadlessBrowser::close()
{
    if (m_process && m_process->state() != QProcess::NotRunning) {
        if (m_toBrowser >= 0)
            call(QStringLiteral("Browser.close"), {}, 5000);
        if (!m_process->waitForFinished(10000)) {
            m_process->kill();
            m_process->waitForFinished(5000);
        }
    }
    m_process.reset();
    for (int *descriptor : { &m_toBrowser, &m_fromBrowser }) {
        if (*descriptor >= 0)
            ::close(*descriptor);
        *descriptor = -1;
    }
    m_buffer.clear();
    m_session.clear();
    m_profile.reset();
}

QJsonObject HeadlessBrowser::call(const QString &method, const QJsonObject &params, int timeoutMs,
                                  bool inPage)
{
    const int id = m_nextId++;
    QJsonObject message{ { QStringLiteral("id"), id }, { QStringLiteral("method"), method } };
    if (!params.isEmpty())
        message.insert(QStringLiteral("params"), params);
    if (inPage)
        message.insert(QStringLiteral("sessionId"), m_session);
    const QByteArray bytes = QJsonDocument(message).toJson(QJsonDocument::Compact) + '\0';
    for (qint64 written = 0; written < bytes.size();) {
        const ssize_t taken =
                ::write(m_toBrowser, bytes.constData() + written, size_t(bytes.size() - written));
        if (taken <= 0) {
            m_error = QStringLiteral("the browser went away");
            return {};
        }
        written += taken;
    }
    const QDeadlineTimer deadline(timeoutMs);
    QJsonObject reply;
    while (readMessage(int(deadline.remainingTime()), &reply)) {
        if (reply.value(QStringLiteral("id")).toInt() != id)
            continue; // an event, or the late reply to an earlier call
        if (reply.contains(QStringLiteral("error"))) {
            m_error = method + QStringLiteral(": ")
                    + reply.value(QStringLiteral("error"))[QStringLiteral("message")].toString();
            return {};
        }
        return reply.value(QStringLiteral("result")).toObject();
    }
    if (m_error.isEmpty())
        m_error = method + QStringLiteral(": no answer in time");
    return {};
}

bool HeadlessBrowser::readMessage(int timeoutMs, QJsonObject *message)
{
    const QDeadlineTimer deadline(qMax(0, timeoutMs));
    for (;;) {
        const int end = m_buffer.indexOf('\0');
        if (end >= 0) {
            *message = QJsonDocument::fromJson(m_buffer.left(end)).object();
            m_buffer.remove(0, end + 1);
            return true;
        }
        if (deadline.hasExpired())
            return false;
        pollfd waiting{ m_fromBrowser, POLLIN, 0 };
        if (::poll(&waiting, 1, 5) == 1) {
            char piece[65536];
            const ssize_t got = ::read(m_fromBrowser, piece, sizeof piece);
            if (got <= 0) {
                m_error = QStringLiteral("the browser closed its pipe");
                return false;
            }
            m_buffer.append(piece, int(got));
        }
        // The server under test may need this thread: keep its events moving.
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}
