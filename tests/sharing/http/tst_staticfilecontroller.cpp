#include "sharing/http/httprequest.h"
#include "sharing/http/httpresponse.h"
#include "sharing/http/staticfilecontroller.h"
#include "support/httpfixture.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QtTest>

using namespace veskaweb;

namespace {
void writeFile(const QString &name, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(name).absolutePath());
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), qint64(content.size()));
}

// The reply to a GET of the raw path, on a connection that closes after it (unframed body).
QByteArray serve(StaticFileController &controller, const QByteArray &rawPath)
{
    HttpFixture::SocketPair pair;
    if (!pair.open())
        return "no socket pair";
    HttpRequest request(16000, 1000000);
    if (request.feed("GET " + rawPath + " HTTP/1.1\r\n\r\n") != HttpRequest::requestComplete)
        return "request not parsed";
    HttpResponse response(pair.server());
    response.setHeader("Connection", "close");
    controller.service(request, response);
    if (!response.hasSentLastPart())
        response.write(QByteArray(), true);
    pair.server()->disconnectFromHost();
    return HttpFixture::readUntilClosed(pair.client(), 10000);
}

QByteArray ok(const QByteArray &contentType, const QByteArray &body)
{
    QByteArray head = "HTTP/1.1 200 OK\r\nCache-Control: max-age=60\r\nConnection: close\r\n";
    if (!contentType.isEmpty())
        head += "Content-Type: " + contentType + "\r\n";
    return head + "\r\n" + body;
}

const QByteArray kForbidden = "HTTP/1.1 403 forbidden\r\nConnection: close\r\nContent-Length: "
                              "13\r\n\r\n403 forbidden";
const QByteArray kNotFound = "HTTP/1.1 404 not found\r\nConnection: close\r\nContent-Length: "
                             "13\r\n\r\n404 not found";
} // namespace

class tst_StaticFileController : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void serves_data();
    void serves();
    void confinedPath_data();
    void confinedPath();
    void cacheKeepsSmallFiles();
    void cacheTimes();
    void unreadableFileIsForbidden();

private:
    std::unique_ptr<StaticFileController> makeController(const QVariantMap &extra = {});

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QSettings> m_settings;
    QString m_root;
};

void tst_StaticFileController::init()
{
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_root = m_dir->filePath("root");
    writeFile(m_root + "/a.txt", "hello");
    writeFile(m_root + "/sub/a.txt", "sub");
    writeFile(m_root + "/dir/index.html", "<p>index</p>");
    writeFile(m_root + "/page.HTML", "upper");
    writeFile(m_root + "/a b.css", "css");
    writeFile(m_dir->filePath("root-old/secret"), "sibling secret");
    writeFile(m_dir->filePath("outside/secret.txt"), "outside secret");
    QVERIFY(QFile::link(m_dir->filePath("outside"), m_root + "/link"));
    QVERIFY(QFile::link(m_dir->filePath("outside/secret.txt"), m_root + "/filelink.txt"));
    QVERIFY(QFile::link(m_root + "/a.txt", m_root + "/inside.txt"));
}

std::unique_ptr<StaticFileController>
tst_StaticFileController::makeController(const QVariantMap &extra)
{
    QVariantMap values{ { "path", "root" } }; // relative to the settings file's directory
    for (auto it = extra.cbegin(); it != extra.cend(); ++it)
        values.insert(it.key(), it.value());
    m_settings = HttpFixture::makeSettings(*m_dir, values);
    return std::make_unique<StaticFileController>(m_settings.get());
}

void tst_StaticFileController::serves_data()
{
    QTest::addColumn<QByteArray>("rawPath");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<QByteArray>("servedBefore"); // a path served first, so that it is cached
    QTest::newRow("text file") << QByteArray("/a.txt") << ok("text/plain; charset=UTF-8", "hello")
                               << QByteArray();
    QTest::newRow("encoded blank")
            << QByteArray("/a%20b.css") << ok("text/css", "css") << QByteArray();
    QTest::newRow("directory index")
            << QByteArray("/dir") << ok("text/html; charset=UTF-8", "<p>index</p>") << QByteArray();
    QTest::newRow("upper-case suffix has no type")
            << QByteArray("/page.HTML") << ok({}, "upper") << QByteArray();
    QTest::newRow("link inside the root")
            << QByteArray("/inside.txt") << ok("text/plain; charset=UTF-8", "hello")
            << QByteArray();
    QTest::newRow("missing file") << QByteArray("/missing.txt") << kNotFound << QByteArray();
    QTest::newRow("dot dot") << QByteArray("/a/../b") << kForbidden << QByteArray();
    QTest::newRow("dot dot to a sibling")
            << QByteArray("/../root-old/secret") << kForbidden << QByteArray();
    QTest::newRow("encoded dot dot")
            << QByteArray("/%2e%2e/root-old/secret") << kForbidden << QByteArray();
    QTest::newRow("encoded slash and dot dot")
            << QByteArray("/..%2froot-old%2fsecret") << kForbidden << QByteArray();
    QTest::newRow("no leading slash names a sibling")
            << QByteArray("-old/secret") << kForbidden << QByteArray();
    QTest::newRow("plain dot dot") << QByteArray("..") << kForbidden << QByteArray();
    QTest::newRow("directory link out of the root")
            << QByteArray("/link/secret.txt") << kForbidden << QByteArray();
    QTest::newRow("file link out of the root")
            << QByteArray("/filelink.txt") << kForbidden << QByteArray();
    QTest::newRow("encoded NUL") << QByteArray("/a.txt%00.png") << kForbidden << QByteArray();
    QTest::newRow("encoded NUL after the file was cached")
            << QByteArray("/a.txt%00.png") << kForbidden << QByteArray("/a.txt");
    QTest::newRow("encoded NUL and dot dots after the file was cached")
            << QByteArray("/sub/a.txt%00/../../outside.txt") << kForbidden
            << QByteArray("/sub/a.txt");
    QTest::newRow("cached file served again")
            << QByteArray("/sub/a.txt") << ok("text/plain; charset=UTF-8", "sub")
            << QByteArray("/sub/a.txt");
}

void tst_StaticFileController::serves()
{
    QFETCH(QByteArray, rawPath);
    QFETCH(QByteArray, expected);
    QFETCH(QByteArray, servedBefore);
    const auto controller = makeController();
    if (!servedBefore.isEmpty())
        QVERIFY(serve(*controller, servedBefore).startsWith("HTTP/1.1 200 OK"));
    QCOMPARE(serve(*controller, rawPath), expected);
}

void tst_StaticFileController::confinedPath_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<bool>("inside");
    QTest::newRow("file") << QByteArray("/a.txt") << true;
    QTest::newRow("root itself") << QByteArray("/") << true;
    QTest::newRow("missing file") << QByteArray("/nothing/here") << true;
    QTest::newRow("dot dot at the end") << QByteArray("/dir/..") << false;
    QTest::newRow("backslash") << QByteArray("/..\\x") << false;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("dots in a name") << QByteArray("/a..b") << true;
}

void tst_StaticFileController::confinedPath()
{
    QFETCH(QByteArray, path);
    QFETCH(bool, inside);
    QCOMPARE(!StaticFileController::confinedPath(m_root, path).isEmpty(), inside);
}

void tst_StaticFileController::cacheKeepsSmallFiles()
{
    const auto controller = makeController({ { "maxCachedFileSize", 5 } });
    QCOMPARE(serve(*controller, "/a.txt"), ok("text/plain; charset=UTF-8", "hello"));
    writeFile(m_root + "/a.txt", "HELLO");
    QCOMPARE(serve(*controller, "/a.txt"), ok("text/plain; charset=UTF-8", "hello")); // cached
    // One byte over the size: served, never cached.
    writeFile(m_root + "/big.txt", "123456");
    QCOMPARE(serve(*controller, "/big.txt"), ok("text/plain; charset=UTF-8", "123456"));
    writeFile(m_root + "/big.txt", "654321");
    QCOMPARE(serve(*controller, "/big.txt"), ok("text/plain; charset=UTF-8", "654321"));
    // A directory's index is cached under the directory's own path.
    writeFile(m_root + "/dir/index.html", "<p>1</p>");
    const auto fresh = makeController({ { "maxCachedFileSize", 100 } });
    QCOMPARE(serve(*fresh, "/dir"), ok("text/html; charset=UTF-8", "<p>1</p>"));
    writeFile(m_root + "/dir/index.html", "<p>2</p>");
    QCOMPARE(serve(*fresh, "/dir"), ok("text/html; charset=UTF-8", "<p>1</p>"));
    QCOMPARE(serve(*fresh, "/dir/index.html"), ok("text/html; charset=UTF-8", "<p>2</p>"));
}

void tst_StaticFileController::cacheTimes()
{
    const auto shortLived = makeController({ { "cacheTime", 1 } });
    QCOMPARE(serve(*shortLived, "/a.txt"), ok("text/plain; charset=UTF-8", "hello"));
    writeFile(m_root + "/a.txt", "later");
    QTest::qWait(20);
    QCOMPARE(serve(*shortLived, "/a.txt"), ok("text/plain; charset=UTF-8", "later"));

    const auto permanent = makeController({ { "cacheTime", 0 } });
    QCOMPARE(serve(*permanent, "/a.txt"), ok("text/plain; charset=UTF-8", "later"));
    writeFile(m_root + "/a.txt", "newer");
    QTest::qWait(20);
    QCOMPARE(serve(*permanent, "/a.txt"), ok("text/plain; charset=UTF-8", "later"));
}

void tst_StaticFileController::unreadableFileIsForbidden()
{
    // A directory named like the index file cannot be read as one, whoever runs the test.
    QVERIFY(QDir().mkpath(m_root + "/odd/index.html"));
    const auto controller = makeController();
    QCOMPARE(serve(*controller, "/odd"), kForbidden);
}

QTEST_GUILESS_MAIN(tst_StaticFileController)
#include "tst_staticfilecontroller.moc"
