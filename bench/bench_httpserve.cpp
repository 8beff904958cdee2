// The screen share at classroom scale, on loopback: the real server sharing a generated moving
// board, against nginx serving one of its frames as a file in the same run, both loaded by wrk
// with 30 and 100 connections (median of several runs); then browser-like viewers, each with
// one request in flight and the next sent as soon as the reply is in: the frame latency of one
// viewer alone, and how many of the grabber's frames each of 100 viewers receives.
#include "sharing/httpscreenserver.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QLoggingCategory>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
constexpr int kRuns = 3;
constexpr int kWrkSeconds = 4;
constexpr int kWrkThreads = 4;
constexpr int kViewers = 100;
constexpr int kViewerSeconds = 6;
constexpr int kSingleViewerSeconds = 3;

// ---- the board ---------------------------------------------------------------------------

// A 1920 × 1080 board with writing on it and a disc that moves a little with every grab, so that
// every frame differs from the one before. Counts the grabs: each one makes one frame.
class MovingBoard
{
public:
    QImage operator()()
    {
        const int step = m_grabs.fetch_add(1);
        QImage board(1920, 1080, QImage::Format_RGB32);
        board.fill(Qt::white);
        QPainter painter(&board);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(30, 60, 160), 4));
        for (int line = 0; line < 12; ++line) {
            QPainterPath stroke(QPointF(80, 90 + line * 80));
            for (int x = 80; x < 1800; x += 40)
                stroke.lineTo(x, 90 + line * 80 + ((x / 40 + line) % 3) * 12);
            painter.drawPath(stroke);
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(220, 40, 40));
        painter.drawEllipse(QPointF(200 + (step * 23) % 1500, 540), 90, 90);
        return board;
    }
    int grabs() const { return m_grabs.load(); }

private:
    std::atomic<int> m_grabs{ 0 };
};

// ---- a viewer ----------------------------------------------------------------------------

qint64 nowNs()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return clock.nsecsElapsed();
}

// Takes one whole reply (chunked or with a length) off the front of the buffer: 1 when done,
// 0 when more bytes are needed, -1 when the bytes are no reply.
int takeReply(QByteArray &buffer, QByteArray *body)
{
    const int headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return 0;
    const QByteArray head = buffer.left(headEnd).toLower();
    const int lengthAt = head.indexOf("\r\ncontent-length: ");
    if (lengthAt >= 0) {
        const int length = head.mid(lengthAt + 18).split('\r').first().toInt();
        if (buffer.size() < headEnd + 4 + length)
            return 0;
        *body = buffer.mid(headEnd + 4, length);
        buffer.remove(0, headEnd + 4 + length);
        return 1;
    }
    if (!head.contains("\r\ntransfer-encoding: chunked"))
        return -1;
    QByteArray chunks;
    int at = headEnd + 4;
    for (;;) {
        const int lineEnd = buffer.indexOf("\r\n", at);
        if (lineEnd < 0)
            return 0;
        bool ok = false;
        const int size = buffer.mid(at, lineEnd - at).toInt(&ok, 16);
        if (!ok)
            return -1;
        if (buffer.size() < lineEnd + 2 + size + 2)
            return 0;
        chunks.append(buffer.constData() + lineEnd + 2, size);
        at = lineEnd + 2 + size + 2;
        if (size == 0)
            break;
    }
    *body = chunks;
    buffer.remove(0, at);
    return 1;
}

int connectTo(quint16 port, bool blocking)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    const int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    if (!blocking)
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    return fd;
}

struct ViewerResult
{
    bool ok = true;
    int distinctFrames = 0;
    std::vector<qint64> frameLatencyNs; // request to whole reply, replies that carry a frame
};

// `count` browser-like viewers, each with one request in flight and the next sent as soon as
// its reply is in, for `seconds`. One client thread drives them all, as one epoll loop, so that
// the clients take as little of the machine from the server as they can; this thread's event
// loop meanwhile serves the listener and the grabber.
// `grabs` gives the board's grab count, read when the viewers begin and when they end.
std::vector<ViewerResult> runViewers(quint16 port, int count, int seconds,
                                     const MovingBoard *board = nullptr,
                                     int *grabsMeanwhile = nullptr)
{
    std::vector<ViewerResult> results(static_cast<size_t>(count));
    QEventLoop loop;
    std::thread client([&] {
        struct Connection
        {
            int fd = -1;
            qint64 sentAt = 0;
            int requests = 0;
            uint lastHash = 0;
            QByteArray buffer;
        };
        std::vector<Connection> connections(static_cast<size_t>(count));
        const int poller = ::epoll_create1(EPOLL_CLOEXEC);
        const auto send = [&](int i) {
            Connection &connection = connections[size_t(i)];
            const QByteArray request = "GET /pcPictureStr"
                    + QByteArray::number(connection.requests++)
                    + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
            connection.sentAt = nowNs();
            if (::send(connection.fd, request.constData(), size_t(request.size()), MSG_NOSIGNAL)
                != request.size())
                results[size_t(i)].ok = false;
        };
        for (int i = 0; i < count; ++i) {
            connections[size_t(i)].fd = connectTo(port, false);
            if (connections[size_t(i)].fd < 0) {
                results[size_t(i)].ok = false;
                continue;
            }
            epoll_event event{};
            event.events = EPOLLIN;
            event.data.u32 = uint32_t(i);
            ::epoll_ctl(poller, EPOLL_CTL_ADD, connections[size_t(i)].fd, &event);
            send(i);
        }
        const qint64 end = nowNs() + qint64(seconds) * 1000000000;
        const int grabsBefore = board ? board->grabs() : 0;
        std::vector<epoll_event> events(static_cast<size_t>(count));
        char piece[65536];
        QByteArray body;
        while (nowNs() < end) {
            const int ready = ::epoll_wait(poller, events.data(), count, 100);
            for (int e = 0; e < ready; ++e) {
                const int i = int(events[size_t(e)].data.u32);
                Connection &connection = connections[size_t(i)];
                ViewerResult &result = results[size_t(i)];
                if (!result.ok)
                    continue;
                for (;;) {
                    const ssize_t got = ::recv(connection.fd, piece, sizeof piece, 0);
                    if (got > 0) {
                        connection.buffer.append(piece, int(got));
                        continue;
                    }
                    if (got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK))
                        result.ok = false;
                    break;
                }
                const int taken = takeReply(connection.buffer, &body);
                if (taken < 0)
                    result.ok = false;
                if (taken != 1 || !result.ok)
                    continue;
                if (!body.isEmpty()) {
                    result.frameLatencyNs.push_back(nowNs() - connection.sentAt);
                    // A change in the picture changes every encoded byte after it: a sample
                    // of bytes across the frame tells frames apart, where hashing them whole
                    // would make the client the bottleneck.
                    uint hash = uint(body.size());
                    for (int b = 0; b < body.size(); b += 61)
                        hash = hash * 31u + uchar(body.at(b));
                    if (hash != connection.lastHash)
                        ++result.distinctFrames;
                    connection.lastHash = hash;
                }
                send(i);
            }
        }
        if (board && grabsMeanwhile)
            *grabsMeanwhile = board->grabs() - grabsBefore;
        for (Connection &connection : connections) {
            if (connection.fd >= 0)
                ::close(connection.fd);
        }
        ::close(poller);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    // Bounded: the client stops by itself after the time above.
    QTimer::singleShot((seconds + 30) * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    client.join();
    return results;
}

template <typename T> T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? T() : values[values.size() / 2];
}

// ---- external programs -------------------------------------------------------------------

QString findProgram(const char *name)
{
    return QStandardPaths::findExecutable(QLatin1String(name),
                                          { QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin"),
                                            QStringLiteral("/sbin"), QStringLiteral("/bin"),
                                            QStringLiteral("/usr/local/bin") });
}

// Waits for the process without blocking this thread's event loop (the server lives here).
bool waitFor(QProcess &process, int timeoutMs)
{
    if (process.state() == QProcess::NotRunning)
        return true;
    QEventLoop loop;
    QObject::connect(&process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), &loop,
                     &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return process.state() == QProcess::NotRunning;
}

bool portAnswers(quint16 port)
{
    const int fd = connectTo(port, true);
    if (fd >= 0)
        ::close(fd);
    return fd >= 0;
}

quint16 freePort()
{
    QTcpServer server;
    return server.listen(QHostAddress::LocalHost, 0) ? server.serverPort() : 0;
}

struct WrkResult
{
    bool ok = false;
    double requestsPerSecond = 0;
    double p99Ms = 0;
    double frameShare = -1; // only with the counting script
    QString error;
};

// wrk's own report, in one line the script writes when the run is done.
const char *kReportScript = R"(
function done(summary, latency, requests)
  io.write(string.format("REPORT %d %d %d %d\n", summary.requests, summary.duration,
                         latency:percentile(99), summary.errors.connect + summary.errors.read
                         + summary.errors.write + summary.errors.timeout + summary.errors.status))
end
)";
// The same, and which replies carry a body (a frame): costs wrk a copy of every body.
const char *kCountingScript = R"(
threads = {}
withBody = 0
function setup(thread) table.insert(threads, thread) end
function response(status, headers, body)
  if status == 200 and #body > 0 then withBody = withBody + 1 end
end
function done(summary, latency, requests)
  local counted = 0
  for _, thread in ipairs(threads) do counted = counted + thread:get("withBody") end
  io.write(string.format("REPORT %d %d %d %d %d\n", summary.requests, summary.duration,
                         latency:percentile(99), summary.errors.connect + summary.errors.read
                         + summary.errors.write + summary.errors.timeout + summary.errors.status,
                         counted))
end
)";

WrkResult runWrk(const QString &wrk, const QString &script, const QString &url, int connections,
                 int seconds)
{
    WrkResult result;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(wrk,
                  { QStringLiteral("-t%1").arg(kWrkThreads),
                    QStringLiteral("-c%1").arg(connections), QStringLiteral("-d%1s").arg(seconds),
                    QStringLiteral("--timeout"), QStringLiteral("5s"), QStringLiteral("-s"), script,
                    url });
    if (!process.waitForStarted(10000) || !waitFor(process, (seconds + 30) * 1000)) {
        process.kill();
        process.waitForFinished(5000);
        result.error = QStringLiteral("wrk did not run to its end");
        return result;
    }
    const QByteArray output = process.readAll();
    const int at = output.indexOf("REPORT ");
    if (process.exitCode() != 0 || at < 0) {
        result.error = QString::fromLocal8Bit(output);
        return result;
    }
    const QList<QByteArray> fields = output.mid(at + 7).split('\n').first().split(' ');
    const double requests = fields.value(0).toDouble();
    const double durationUs = fields.value(1).toDouble();
    result.requestsPerSecond = durationUs > 0 ? requests / (durationUs / 1e6) : 0;
    result.p99Ms = fields.value(2).toDouble() / 1000.0;
    if (fields.size() > 4 && requests > 0)
        result.frameShare = fields.value(4).toDouble() / requests;
    const int errors = fields.value(3).toInt();
    result.ok = requests > 0;
    if (errors > 0)
        result.error = QStringLiteral("%1 errors").arg(errors);
    return result;
}

bool writeFile(const QString &name, const QByteArray &bytes)
{
    QFile file(name);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    // One debug line per request and connection would turn the measurement into one of the
    // terminal; warnings stay on.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));

    const QString nginx = findProgram("nginx");
    const QString wrk = findProgram("wrk");
    if (nginx.isEmpty() || wrk.isEmpty()) {
        std::fprintf(stderr, "nginx and wrk are needed: ./scripts/install-deps.sh nginx wrk\n");
        return 2;
    }

    // ---- the share, on a moving board -----------------------------------------------------
    const quint16 sharePort = freePort();
    auto board = std::make_shared<MovingBoard>();
    HTTPScreenServer server(sharePort, [board] { return (*board)(); });
    if (!server.isListening()) {
        std::fprintf(stderr, "the share cannot listen on port %d\n", sharePort);
        return 1;
    }
    {
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (server.grabber()->queuedFrames() > 0)
                loop.quit();
        });
        poll.start(10);
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        loop.exec();
    }
    const QByteArray frame = server.grabber()->getInstantFrame();
    if (frame.isEmpty()) {
        std::fprintf(stderr, "the grabber made no frame\n");
        return 1;
    }

    // ---- nginx, serving one of those frames -------------------------------------------------
    QTemporaryDir dir;
    const quint16 nginxPort = freePort();
    const QString root = dir.path();
    QDir().mkpath(root + QStringLiteral("/www"));
    QDir().mkpath(root + QStringLiteral("/temp"));
    // Its workers run as another user, who must be able to read the file.
    for (const QString &path : { root, root + QStringLiteral("/www") })
        QFile::setPermissions(path,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                      | QFileDevice::ExeOwner | QFileDevice::ReadOther
                                      | QFileDevice::ExeOther | QFileDevice::ReadGroup
                                      | QFileDevice::ExeGroup);
    const QString config = QStringLiteral(R"(
worker_processes auto;
pid %1/nginx.pid;
error_log %1/error.log;
daemon off;
events { worker_connections 1024; }
http {
    access_log off;
    sendfile on;
    tcp_nopush on;
    tcp_nodelay on;
    keepalive_requests 100000;
    client_body_temp_path %1/temp/body;
    proxy_temp_path %1/temp/proxy;
    fastcgi_temp_path %1/temp/fastcgi;
    uwsgi_temp_path %1/temp/uwsgi;
    scgi_temp_path %1/temp/scgi;
    types { image/jpeg jpg; }
    server {
        listen 127.0.0.1:%2;
        root %1/www;
    }
}
)")
                                   .arg(root)
                                   .arg(nginxPort);
    if (!writeFile(root + QStringLiteral("/www/frame.jpg"), frame)
        || !writeFile(root + QStringLiteral("/nginx.conf"), config.toUtf8())) {
        std::fprintf(stderr, "cannot write nginx's files\n");
        return 1;
    }
    QProcess nginxProcess;
    nginxProcess.setProcessChannelMode(QProcess::ForwardedChannels);
    nginxProcess.start(nginx,
                       { QStringLiteral("-p"), root, QStringLiteral("-c"),
                         root + QStringLiteral("/nginx.conf"), QStringLiteral("-e"),
                         root + QStringLiteral("/error.log") });
    const auto stopNginx = [&] {
        if (nginxProcess.state() == QProcess::NotRunning)
            return;
        nginxProcess.terminate(); // a fast shutdown, workers included
        if (!waitFor(nginxProcess, 10000)) {
            nginxProcess.kill();
            nginxProcess.waitForFinished(5000);
        }
    };
    const QDeadlineTimer nginxUp(10000);
    while (!portAnswers(nginxPort) && !nginxUp.hasExpired()
           && nginxProcess.state() != QProcess::NotRunning)
        QThread::msleep(20);
    if (!portAnswers(nginxPort)) {
        std::fprintf(stderr, "nginx does not answer (see %s/error.log)\n", qPrintable(root));
        stopNginx();
        return 1;
    }

    const QString reportScript = root + QStringLiteral("/report.lua");
    const QString countingScript = root + QStringLiteral("/counting.lua");
    writeFile(reportScript, kReportScript);
    writeFile(countingScript, kCountingScript);
    const QString shareUrl = QStringLiteral("http://127.0.0.1:%1/pcPictureStr").arg(sharePort);
    const QString nginxUrl = QStringLiteral("http://127.0.0.1:%1/frame.jpg").arg(nginxPort);

    std::printf("frame: %d bytes (JPEG of the 1920x1080 board at half size)\n", frame.size());
    std::printf("wrk: %d threads, %d s per run, median of %d runs; the same JPEG from nginx\n",
                kWrkThreads, kWrkSeconds, kRuns);
    bool allOk = true;
    bool targetsMet = true;
    for (const int connections : { 30, 100 }) {
        std::vector<double> ratios, shareP99, nginxP99, shareRps, nginxRps;
        for (int run = 0; run < kRuns; ++run) {
            const WrkResult theirs = runWrk(wrk, reportScript, nginxUrl, connections, kWrkSeconds);
            const WrkResult ours = runWrk(wrk, reportScript, shareUrl, connections, kWrkSeconds);
            for (const WrkResult *result : { &theirs, &ours }) {
                if (!result->error.isEmpty())
                    std::printf("  wrk: %s\n", qPrintable(result->error));
            }
            if (!theirs.ok || !ours.ok) {
                allOk = false;
                continue;
            }
            ratios.push_back(ours.requestsPerSecond / theirs.requestsPerSecond);
            shareP99.push_back(ours.p99Ms);
            nginxP99.push_back(theirs.p99Ms);
            shareRps.push_back(ours.requestsPerSecond);
            nginxRps.push_back(theirs.requestsPerSecond);
        }
        const WrkResult counted = runWrk(wrk, countingScript, shareUrl, connections, 2);
        if (ratios.empty())
            continue;
        const double ratio = median(ratios);
        const double p99 = median(shareP99);
        std::printf("%3d connections: requests/s %.2fx nginx (share %.0f/s, nginx %.0f/s); "
                    "p99 share %.2f ms, nginx %.2f ms; replies carrying a frame %.1f%%\n",
                    connections, ratio, median(shareRps), median(nginxRps), p99, median(nginxP99),
                    counted.frameShare * 100.0);
        if (connections == 100)
            targetsMet = targetsMet && ratio >= 0.5 && p99 < 50.0;
    }
    stopNginx();

    // ---- viewers ------------------------------------------------------------------------------
    {
        const std::vector<ViewerResult> alone = runViewers(sharePort, 1, kSingleViewerSeconds);
        const double p50 = median(alone.front().frameLatencyNs) / 1e6;
        std::printf("one viewer: frame latency p50 %.2f ms over %zu frame replies%s\n", p50,
                    alone.front().frameLatencyNs.size(), alone.front().ok ? "" : " (broken)");
        allOk = allOk && alone.front().ok;
        targetsMet = targetsMet && p50 < 5.0;
    }
    {
        int grabs = 0;
        const std::vector<ViewerResult> viewers =
                runViewers(sharePort, kViewers, kViewerSeconds, board.get(), &grabs);
        const double seconds = kViewerSeconds;
        // Every grab makes one frame; the last may still be on its way when the viewers stop.
        const int made = grabs - 1;
        std::vector<int> distinct;
        std::vector<qint64> latencies;
        int broken = 0;
        for (const ViewerResult &viewer : viewers) {
            distinct.push_back(viewer.distinctFrames);
            latencies.insert(latencies.end(), viewer.frameLatencyNs.begin(),
                             viewer.frameLatencyNs.end());
            broken += viewer.ok ? 0 : 1;
        }
        const int fewest = *std::min_element(distinct.begin(), distinct.end());
        // The queue rule hides one frame in 11 from all readers but the one that empties it;
        // a viewer may also miss one frame at each edge of the time window.
        const double share = made > 0 ? double(fewest) / made : 0;
        std::printf("%d viewers: the grabber made %d frames (%.1f/s); distinct frames per viewer "
                    "%.1f/s median, %.1f/s fewest; fewest received %d of %d (%.3f, 10/11 = "
                    "%.3f); frame latency p50 %.2f ms%s\n",
                    kViewers, made, made / seconds, median(distinct) / seconds, fewest / seconds,
                    fewest, made, share, 10.0 / 11.0, median(latencies) / 1e6,
                    broken ? qPrintable(QStringLiteral(", %1 broken").arg(broken)) : "");
        allOk = allOk && broken == 0;
        targetsMet = targetsMet && fewest >= made * 10 / 11 - 2;
    }
    std::printf("targets (>= 0.5x nginx and p99 < 50 ms at 100 connections, one-viewer p50 < "
                "5 ms, each viewer >= 10 of 11 frames): %s\n",
                targetsMet ? "met" : "NOT met");
    return allOk ? 0 : 1;
}
