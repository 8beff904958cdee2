#include "sharing/http/httprequest.h"

#include <QFile>
#include <QTemporaryFile>
#include <QtTest>

using veskaweb::HttpRequest;

namespace {
constexpr qint64 kMaxRequest = 16000;
constexpr qint64 kMaxMultiPart = 1000000;

// A request head of exactly `size` bytes, padded in one header line; without the final empty
// line when `terminated` is false.
QByteArray headOfSize(int size, bool terminated = true)
{
    const QByteArray start = "GET / HTTP/1.1\r\nX-Pad: ";
    const QByteArray end = terminated ? "\r\n\r\n" : "\r\n";
    return start + QByteArray(size - start.size() - end.size(), 'a') + end;
}

QByteArray multipartBody(const QByteArray &boundary, int parts)
{
    QByteArray body;
    for (int i = 0; i < parts; ++i) {
        body += "--" + boundary + "\r\nContent-Disposition: form-data; name=\"f"
                + QByteArray::number(i) + "\"; filename=\"n" + QByteArray::number(i)
                + ".txt\"\r\n\r\nabc\r\n";
    }
    return body + "--" + boundary + "--\r\n";
}

QByteArray multipartRequest(const QByteArray &contentType, const QByteArray &body)
{
    return "POST /up HTTP/1.1\r\nContent-Type: " + contentType
            + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

// Feeds the bytes whole, then to a second request one byte at a time as a slow client sends them.
// Both must end in the same state; the trickled request is returned for further checks.
std::unique_ptr<HttpRequest> feedBothWays(const QByteArray &bytes, HttpRequest::ParseStatus *whole,
                                          HttpRequest::ParseStatus *trickled,
                                          qint64 maxRequest = kMaxRequest,
                                          qint64 maxMultiPart = kMaxMultiPart)
{
    HttpRequest wholeRequest(maxRequest, maxMultiPart);
    *whole = wholeRequest.feed(bytes);
    auto request = std::make_unique<HttpRequest>(maxRequest, maxMultiPart);
    for (int i = 0; i < bytes.size(); ++i)
        request->feed(bytes.mid(i, 1));
    *trickled = request->getStatus();
    return request;
}
} // namespace

class tst_HttpRequest : public QObject
{
    Q_OBJECT

private slots:
    void feed_data();
    void feed();
    void pathsAndParameters();
    void headersAndContinuation();
    void cookies();
    void urlDecode_data();
    void urlDecode();
    void pipelinedRequestsStayApart();
    void bodyAndFormParameters();
    void multipartFieldsAndFiles();
    void multipartFilesAreClosedAndRemoved();
    void multipartLimits_data();
    void multipartLimits();
    void settingsGiveTheLimits();
    void segmentationDoesNotMatter();
};

void tst_HttpRequest::feed_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status");
    const int complete = HttpRequest::requestComplete;
    const int aborted = HttpRequest::requestAborted;
    const QByteArray get = "GET /a HTTP/1.1\r\n";

    QTest::newRow("simple GET") << get + "Host: a\r\n\r\n" << complete;
    QTest::newRow("bare LF line ends") << QByteArray("GET /a HTTP/1.1\nHost: a\n\n") << complete;
    QTest::newRow("blank lines before the request line") << "\r\n\r\n" + get + "\r\n" << complete;
    QTest::newRow("head not finished") << get + "Host: a\r\n" << int(HttpRequest::awaitingHeaders);
    QTest::newRow("request line not finished")
            << QByteArray("GET /a HT") << int(HttpRequest::awaitingRequestLine);
    QTest::newRow("two blanks in the request line")
            << QByteArray("GET  /a HTTP/1.1\r\n\r\n") << aborted;
    QTest::newRow("third word without HTTP") << QByteArray("GET /a FTP/1.1\r\n\r\n") << aborted;
    QTest::newRow("bare CR inside a header") << get + "X-A: one\rtwo\r\n\r\n" << aborted;
    QTest::newRow("bare CR as a line end") << get + "X-A: one\r\r\n" << aborted;
    QTest::newRow("blank before the colon") << get + "Content-Length : 5\r\n\r\nabcde" << aborted;
    QTest::newRow("tab in a header name") << get + "X\tA: 1\r\n\r\n" << aborted;
    QTest::newRow("Transfer-Encoding")
            << get + "Transfer-Encoding: chunked\r\n\r\n5\r\nabcde\r\n0\r\n\r\n"
            << aborted;
    QTest::newRow("Transfer-Encoding in capitals")
            << get + "TRANSFER-ENCODING: identity\r\nContent-Length: 1\r\n\r\na" << aborted;
    QTest::newRow("conflicting Content-Length")
            << get + "Content-Length: 5\r\nContent-Length: 6\r\n\r\nabcdef" << aborted;
    QTest::newRow("repeated equal Content-Length")
            << get + "Content-Length: 3\r\nContent-Length: 3\r\n\r\nabc" << complete;
    QTest::newRow("negative Content-Length") << get + "Content-Length: -1\r\n\r\n" << aborted;
    QTest::newRow("signed Content-Length") << get + "Content-Length: +5\r\n\r\nabcde" << aborted;
    QTest::newRow("Content-Length not a number") << get + "Content-Length: abc\r\n\r\n" << aborted;
    QTest::newRow("empty Content-Length") << get + "Content-Length:\r\n\r\n" << aborted;
    QTest::newRow("Content-Length beyond 32 bits") << get + "Content-Length: 99999999999\r\n\r\n"
                                                   << aborted;
    QTest::newRow("Content-Length beyond 64 bits")
            << get + "Content-Length: 99999999999999999999999\r\n\r\n"
            << aborted;
    QTest::newRow("Content-Length 0") << get + "Content-Length: 0\r\n\r\n" << complete;
    QTest::newRow("body of 3 bytes") << get + "Content-Length: 3\r\n\r\nabc" << complete;
    QTest::newRow("body not finished")
            << get + "Content-Length: 5\r\n\r\nabc" << int(HttpRequest::awaitingBody);
    QTest::newRow("head of exactly the limit") << headOfSize(kMaxRequest) << complete;
    QTest::newRow("head one byte over the limit") << headOfSize(kMaxRequest + 1) << aborted;
    // Lines that fill the limit exactly, then more bytes: ends, never spins.
    QTest::newRow("lines fill the limit, more follows") << headOfSize(kMaxRequest, false) + "\r\n"
                                                        << aborted;
    QTest::newRow("body larger than the room left") << get + "Content-Length: 15990\r\n\r\n"
                                                    << aborted;
    QTest::newRow("body that fits the room left")
            << get + "Content-Length: 10\r\n\r\n0123456789" << complete;
    QByteArray manyHeaders = get;
    for (int i = 0; i < HttpRequest::kMaxHeaderLines; ++i)
        manyHeaders += "X-" + QByteArray::number(i) + ": v\r\n";
    QTest::newRow("header lines at the cap") << manyHeaders + "\r\n" << complete;
    QTest::newRow("header lines over the cap") << manyHeaders + "X-Last: v\r\n\r\n" << aborted;
    // Few bytes received, but every continuation stores the whole value so far.
    QByteArray folded = get + "X-A: start\r\n";
    for (int i = 0; i < 40; ++i)
        folded += QByteArray(300, 'b') + "\r\n";
    QTest::newRow("continuation lines piling up stored bytes") << folded + "\r\n" << aborted;
    QTest::newRow("multipart declared over its limit")
            << QByteArray("POST / HTTP/1.1\r\nContent-Type: multipart/form-data; boundary=b\r\n"
                          "Content-Length: 1000001\r\n\r\n")
            << aborted;
}

void tst_HttpRequest::feed()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);
    HttpRequest::ParseStatus whole;
    HttpRequest::ParseStatus trickled;
    feedBothWays(bytes, &whole, &trickled);
    QCOMPARE(int(whole), status);
    QCOMPARE(int(trickled), status);
}

void tst_HttpRequest::pathsAndParameters()
{
    HttpRequest::ParseStatus whole;
    HttpRequest::ParseStatus trickled;
    const auto request =
            feedBothWays("GET /a%20b?x=1+2&y&&z=%zz HTTP/1.1\r\n\r\n", &whole, &trickled);
    QCOMPARE(int(trickled), int(HttpRequest::requestComplete));
    QCOMPARE(request->getMethod(), QByteArray("GET"));
    QCOMPARE(request->getRawPath(), QByteArray("/a%20b"));
    QCOMPARE(request->getPath(), QByteArray("/a b"));
    QCOMPARE(request->getVersion(), QByteArray("HTTP/1.1"));
    QCOMPARE(request->getParameter("x"), QByteArray("1 2"));
    QVERIFY(request->getParameterMap().contains("y"));
    QCOMPARE(request->getParameter("y"), QByteArray());
    QCOMPARE(request->getParameter("z"), QByteArray("%zz"));
    QCOMPARE(request->getParameterMap().size(), 3);
}

void tst_HttpRequest::headersAndContinuation()
{
    HttpRequest::ParseStatus whole;
    HttpRequest::ParseStatus trickled;
    const auto request = feedBothWays(
            "GET / HTTP/1.1\r\nHost: a\r\nHOST:b\r\nX-A: one\r\n two\r\n\r\n", &whole, &trickled);
    QCOMPARE(int(trickled), int(HttpRequest::requestComplete));
    QCOMPARE(request->getHeaders("host"), (QList<QByteArray>{ "b", "a" }));
    QCOMPARE(request->getHeader("Host"), QByteArray("b"));
    QCOMPARE(request->getHeader("x-a"), QByteArray("one two"));
    QCOMPARE(request->getHeaders("X-A"), (QList<QByteArray>{ "one two", "one" }));
    QCOMPARE(request->getHeader("missing"), QByteArray());
}

void tst_HttpRequest::cookies()
{
    HttpRequest::ParseStatus whole;
    HttpRequest::ParseStatus trickled;
    const auto request = feedBothWays("GET / HTTP/1.1\r\nCookie: a=1; b=\"x;y\"; c\r\n"
                                      "Cookie: a=first\r\n\r\n",
                                      &whole, &trickled);
    QCOMPARE(int(trickled), int(HttpRequest::requestComplete));
    QCOMPARE(request->getCookie("b"), QByteArray("x;y"));
    QVERIFY(request->getCookieMap().contains("c"));
    QCOMPARE(request->getCookie("c"), QByteArray());
    QCOMPARE(request->getCookie("a"), QByteArray("1")); // the header received first wins
    QVERIFY(!request->getHeaderMap().contains("cookie"));
}

void tst_HttpRequest::urlDecode_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArray>("decoded");
    QTest::newRow("plus") << QByteArray("a+b") << QByteArray("a b");
    QTest::newRow("encoded plus") << QByteArray("%2B") << QByteArray("+");
    QTest::newRow("percent not decoded twice") << QByteArray("%2541") << QByteArray("%41");
    QTest::newRow("not hexadecimal") << QByteArray("%zz") << QByteArray("%zz");
    QTest::newRow("lower case hex") << QByteArray("%2e%2E") << QByteArray("..");
    QTest::newRow("one digit at the end") << QByteArray("a%41%4") << QByteArray("aA\x04");
    QTest::newRow("lone percent at the end") << QByteArray("100%") << QByteArray("100%");
    QTest::newRow("sign is not a digit") << QByteArray("%-1") << QByteArray("%-1");
}

void tst_HttpRequest::urlDecode()
{
    QFETCH(QByteArray, source);
    QFETCH(QByteArray, decoded);
    QCOMPARE(HttpRequest::urlDecode(source), decoded);
}

void tst_HttpRequest::pipelinedRequestsStayApart()
{
    const QByteArray second = "GET /two HTTP/1.1\r\n\r\n";
    const QByteArray bytes = "GET /one HTTP/1.1\r\nContent-Length: 0\r\n\r\n" + second;
    HttpRequest first(kMaxRequest, kMaxMultiPart);
    QCOMPARE(int(first.feed(bytes)), int(HttpRequest::requestComplete));
    QCOMPARE(first.getPath(), QByteArray("/one"));
    const QByteArray rest = first.takeUnconsumed();
    QCOMPARE(rest, second);
    QVERIFY(first.takeUnconsumed().isEmpty());
    HttpRequest next(kMaxRequest, kMaxMultiPart);
    QCOMPARE(int(next.feed(rest)), int(HttpRequest::requestComplete));
    QCOMPARE(next.getPath(), QByteArray("/two"));

    // A body longer than declared: the surplus is the next request's, never this body.
    HttpRequest withBody(kMaxRequest, kMaxMultiPart);
    withBody.feed("POST / HTTP/1.1\r\nContent-Length: 3\r\n\r\nabcGET");
    QCOMPARE(withBody.getBody(), QByteArray("abc"));
    QCOMPARE(withBody.takeUnconsumed(), QByteArray("GET"));
}

void tst_HttpRequest::bodyAndFormParameters()
{
    HttpRequest::ParseStatus whole;
    HttpRequest::ParseStatus trickled;
    const QByteArray body = "b=2+3&c=%26";
    const auto request = feedBothWays("POST /f?a=1 HTTP/1.1\r\nContent-Type: "
                                      "application/x-www-form-urlencoded\r\nContent-Length: "
                                              + QByteArray::number(body.size()) + "\r\n\r\n" + body,
                                      &whole, &trickled);
    QCOMPARE(int(trickled), int(HttpRequest::requestComplete));
    QCOMPARE(request->getBody(), body);
    QCOMPARE(request->getRawPath(), QByteArray("/f"));
    QCOMPARE(request->getParameter("a"), QByteArray("1"));
    QCOMPARE(request->getParameter("b"), QByteArray("2 3"));
    QCOMPARE(request->getParameter("c"), QByteArray("&"));

    HttpRequest json(kMaxRequest, kMaxMultiPart);
    json.feed(
            "POST / HTTP/1.1\r\nContent-Type: application/json\r\nContent-Length: 5\r\n\r\na=1&b");
    QCOMPARE(int(json.getStatus()), int(HttpRequest::requestComplete));
    QVERIFY(json.getParameterMap().isEmpty());
}

void tst_HttpRequest::multipartFieldsAndFiles()
{
    const QByteArray body = "--xyz\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\nx\r\n"
                            "--xyz\r\nContent-Disposition: form-data; name=\"f\"; "
                            "filename=\"n.txt\"\r\nContent-Type: text/plain\r\n\r\nabc\r\n"
                            "--xyz\r\nContent-Disposition: form-data; name=\"empty\"; "
                            "filename=\"e.txt\"\r\n\r\n"
                            "--xyz--\r\n";
    HttpRequest::ParseStatus whole;
    HttpRequest::ParseStatus trickled;
    const auto request = feedBothWays(
            multipartRequest("multipart/form-data; boundary=\"xyz\"", body), &whole, &trickled);
    QCOMPARE(int(whole), int(HttpRequest::requestComplete));
    QCOMPARE(int(trickled), int(HttpRequest::requestComplete));
    QCOMPARE(request->getParameter("a"), QByteArray("x"));
    QCOMPARE(request->getParameter("f"), QByteArray("n.txt"));
    QVERIFY(request->getBody().isEmpty());
    QTemporaryFile *file = request->getUploadedFile("f");
    QVERIFY(file);
    QVERIFY(file->isOpen());
    QCOMPARE(file->pos(), qint64(0));
    QCOMPARE(file->readAll(), QByteArray("abc"));
    // A file part whose boundary follows its headers at once has nothing to keep.
    QVERIFY(!request->getUploadedFile("empty"));
    QVERIFY(!request->getParameterMap().contains("empty"));
    QVERIFY(!request->getUploadedFile("a"));
}

void tst_HttpRequest::multipartFilesAreClosedAndRemoved()
{
    const QByteArray body = multipartBody("b", 3);
    QStringList fileNames;
    {
        HttpRequest request(kMaxRequest, kMaxMultiPart);
        QCOMPARE(int(request.feed(multipartRequest("multipart/form-data; boundary=b", body))),
                 int(HttpRequest::requestComplete));
        for (int i = 0; i < 3; ++i) {
            QTemporaryFile *file = request.getUploadedFile("f" + QByteArray::number(i));
            QVERIFY(file);
            QCOMPARE(file->readAll(), QByteArray("abc"));
            fileNames << file->fileName();
            file->close(); // the next lookup opens it again, at its start
            QCOMPARE(request.getUploadedFile("f" + QByteArray::number(i))->readAll(),
                     QByteArray("abc"));
        }
        for (const QString &name : qAsConst(fileNames))
            QVERIFY(QFile::exists(name));
    }
    for (const QString &name : qAsConst(fileNames))
        QVERIFY2(!QFile::exists(name), qPrintable(name));
}

void tst_HttpRequest::multipartLimits_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status");
    const QByteArray type = "multipart/form-data; boundary=b";
    QTest::newRow("parts at the cap")
            << multipartRequest(type, multipartBody("b", HttpRequest::kMaxMultiPartParts))
            << int(HttpRequest::requestComplete);
    QTest::newRow("parts over the cap")
            << multipartRequest(type, multipartBody("b", HttpRequest::kMaxMultiPartParts + 1))
            << int(HttpRequest::requestAborted);
    // A file part: its content goes to disk and counts only through the spool file's size.
    const QByteArray opening =
            "--b\r\nContent-Disposition: form-data; name=\"v\"; filename=\"v.bin\"\r\n\r\n";
    const QByteArray closing = "\r\n--b--\r\n";
    const auto ofSize = [&](int size) {
        return opening + QByteArray(size - opening.size() - closing.size(), 'v') + closing;
    };
    QTest::newRow("multipart one byte under the limit")
            << multipartRequest(type, ofSize(kMaxMultiPart - 1))
            << int(HttpRequest::requestComplete);
    QTest::newRow("multipart of exactly the limit")
            << multipartRequest(type, ofSize(kMaxMultiPart)) << int(HttpRequest::requestAborted);
}

void tst_HttpRequest::multipartLimits()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);
    HttpRequest whole(kMaxRequest, kMaxMultiPart);
    QCOMPARE(int(whole.feed(bytes)), status);
    // In pieces of 1000 bytes: a byte at a time would take long for a megabyte.
    HttpRequest pieces(kMaxRequest, kMaxMultiPart);
    for (int i = 0; i < bytes.size(); i += 1000)
        pieces.feed(bytes.mid(i, 1000));
    QCOMPARE(int(pieces.getStatus()), status);
}

void tst_HttpRequest::settingsGiveTheLimits()
{
    QTemporaryDir dir;
    QSettings settings(dir.filePath("limits.ini"), QSettings::IniFormat);
    settings.setValue("maxRequestSize", "40");
    HttpRequest small(&settings);
    QCOMPARE(int(small.feed(headOfSize(41))), int(HttpRequest::requestAborted));
    HttpRequest fits(&settings);
    QCOMPARE(int(fits.feed(headOfSize(40))), int(HttpRequest::requestComplete));
    HttpRequest defaults(nullptr);
    QCOMPARE(int(defaults.feed(headOfSize(kMaxRequest))), int(HttpRequest::requestComplete));
}

void tst_HttpRequest::segmentationDoesNotMatter()
{
    // Random requests, some well formed and some not, cut at random points: the outcome and
    // what was parsed never depend on how the bytes arrived.
    QRandomGenerator random(7);
    const QList<QByteArray> pieces{ "GET ",    "/x",  " HTTP/1.1",         "\r\n", "\n", "\r",
                                    "Host: a", "X: ", "Content-Length: 3", ":",    " ",  "abc",
                                    "\t",      "%41" };
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes = round % 3 ? QByteArray("GET /r HTTP/1.1\r\n") : QByteArray();
        const int count = int(random.bounded(1, 30));
        for (int i = 0; i < count; ++i)
            bytes += pieces.at(int(random.bounded(pieces.size())));
        if (round % 2)
            bytes += "\r\n\r\n";
        HttpRequest whole(200, 1000);
        whole.feed(bytes);
        HttpRequest cut(200, 1000);
        for (int i = 0; i < bytes.size();) {
            const int size = int(random.bounded(1, 8));
            cut.feed(bytes.mid(i, size));
            i += size;
        }
        QCOMPARE(int(cut.getStatus()), int(whole.getStatus()));
        QCOMPARE(cut.getHeaderMap(), whole.getHeaderMap());
        QCOMPARE(cut.getRawPath(), whole.getRawPath());
        QCOMPARE(cut.getBody(), whole.getBody());
        QCOMPARE(cut.takeUnconsumed(), whole.takeUnconsumed());
    }
}

QTEST_GUILESS_MAIN(tst_HttpRequest)
#include "tst_httprequest.moc"
