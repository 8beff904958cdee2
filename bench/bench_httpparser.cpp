// Parsing throughput of typical GET requests, fed whole and fed byte by byte, as ratios to a plain
// split of the same bytes at line feeds timed in the same run.
#include "sharing/http/httprequest.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>

#include <algorithm>
#include <cstdio>
#include <vector>

using veskaweb::HttpRequest;

namespace {
constexpr int kRuns = 15;
constexpr int kRequestsPerRun = 2000;

QByteArray typicalGet(int i)
{
    return "GET /pcPictureStr" + QByteArray::number(1700000000000LL + i)
            + " HTTP/1.1\r\n"
              "Host: 192.168.1.20:8080\r\n"
              "Connection: keep-alive\r\n"
              "User-Agent: Mozilla/5.0 (X11; Linux x86_64) AppleWebKit/537.36 (KHTML, like Gecko) "
              "Chrome/120.0 Safari/537.36\r\n"
              "Accept: image/avif,image/webp,image/apng,image/*,*/*;q=0.8\r\n"
              "Referer: http://192.168.1.20:8080/\r\n"
              "Accept-Encoding: gzip, deflate\r\n"
              "Accept-Language: es-ES,es;q=0.9,en;q=0.8\r\n"
              "Cookie: sessionid={6f1c2a9e-2b7d-4c1e-9a55-0d3f8e7b1c42}\r\n\r\n";
}

template <typename Work> double medianMs(Work work)
{
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}
} // namespace

int main()
{
    std::vector<QByteArray> requests;
    qint64 totalBytes = 0;
    for (int i = 0; i < kRequestsPerRun; ++i) {
        requests.push_back(typicalGet(i));
        totalBytes += requests.back().size();
    }
    volatile qint64 sink = 0; // keeps every result alive, so no work is optimised away

    const double split = medianMs([&] {
        for (const QByteArray &bytes : requests) {
            const QList<QByteArray> lines = bytes.split('\n');
            for (const QByteArray &line : lines)
                sink = sink + line.size() + (line.isEmpty() ? 0 : line.at(0));
        }
    });
    const double whole = medianMs([&] {
        for (const QByteArray &bytes : requests) {
            HttpRequest request(16000, 1000000);
            if (request.feed(bytes) != HttpRequest::requestComplete)
                std::abort();
            sink = sink + request.getHeader("host").size();
        }
    });
    const double trickled = medianMs([&] {
        for (const QByteArray &bytes : requests) {
            HttpRequest request(16000, 1000000);
            const char *data = bytes.constData();
            for (int i = 0; i < bytes.size(); ++i)
                request.feed(QByteArray::fromRawData(data + i, 1));
            if (request.getStatus() != HttpRequest::requestComplete)
                std::abort();
            sink = sink + request.getHeader("host").size();
        }
    });

    const double megabytes = totalBytes / 1e6;
    std::printf("%d typical GET requests, %lld bytes per run, median of %d runs\n", kRequestsPerRun,
                static_cast<long long>(totalBytes), kRuns);
    std::printf("baseline split at LF: %.2f ms (%.0f MB/s)\n", split, megabytes / (split / 1e3));
    std::printf("parser fed whole:     %.2f ms (%.0f MB/s)\n", whole, megabytes / (whole / 1e3));
    std::printf("parser byte by byte:  %.2f ms (%.0f MB/s)\n", trickled,
                megabytes / (trickled / 1e3));
    std::printf("whole / split: %.2f (median of %d)\n", whole / split, kRuns);
    std::printf("byte by byte / split: %.2f (median of %d)\n", trickled / split, kRuns);
    std::printf("byte by byte / whole: %.2f (median of %d)\n", trickled / whole, kRuns);
    return 0;
}
