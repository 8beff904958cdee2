#include "sharing/http/httprequest.h"
#include "sharing/http/httpresponse.h"
#include "sharing/http/httpsession.h"
#include "sharing/http/httpsessionstore.h"
#include "support/httpfixture.h"

#include <QSettings>
#include <QtTest>

#include <thread>
#include <vector>

using namespace veskaweb;

namespace {
// A complete request carrying the given Cookie header (none when empty).
std::unique_ptr<HttpRequest> requestWithCookie(const QByteArray &cookie)
{
    auto request = std::make_unique<HttpRequest>(16000, 1000000);
    QByteArray head = "GET / HTTP/1.1\r\n";
    if (!cookie.isEmpty())
        head += "Cookie: " + cookie + "\r\n";
    request->feed(head + "\r\n");
    return request;
}
} // namespace

class tst_HttpSession : public QObject
{
    Q_OBJECT

private slots:
    void handlesShareOneRecord();
    void nullSession();
    void storeTiesRequestsToSessions();
    void unknownCookieIsIgnored();
    void cookieSettings();
    void expiry();
    void handlesFromManyThreads();
};

void tst_HttpSession::handlesShareOneRecord()
{
    HttpSession first(true);
    QCOMPARE(first.getId().size(), 38);
    QVERIFY(first.getId().startsWith('{'));
    first.set("k", 1);
    auto copy = std::make_unique<HttpSession>(first);
    QCOMPARE(copy->getId(), first.getId());
    copy->set("k", 2);
    QCOMPARE(first.get("k").toInt(), 2);
    {
        HttpSession dying(true);
        dying.set("x", "y");
        HttpSession survivor;
        survivor = dying;
        dying = HttpSession(); // the first handle goes; the record stays with the copy
        QCOMPARE(survivor.get("x").toString(), QStringLiteral("y"));
        survivor = survivor; // assigning a handle to itself keeps the record
        QCOMPARE(survivor.get("x").toString(), QStringLiteral("y"));
        QTest::ignoreMessage(QtDebugMsg, "HttpSession: deleting data");
    }
    copy.reset();
    QCOMPARE(first.get("k").toInt(), 2);
    first.remove("k");
    QVERIFY(!first.contains("k"));
    QVERIFY(first.getAll().isEmpty());
}

void tst_HttpSession::nullSession()
{
    HttpSession session;
    QVERIFY(session.isNull());
    session.set("k", 1);
    QVERIFY(!session.get("k").isValid());
    QVERIFY(!session.contains("k"));
    QVERIFY(session.getId().isEmpty());
    QCOMPARE(session.getLastAccess(), qint64(0));
}

void tst_HttpSession::storeTiesRequestsToSessions()
{
    HttpSessionStore store(nullptr);
    const auto bare = requestWithCookie({});
    {
        HttpResponse response(nullptr);
        QVERIFY(store.getSession(*bare, response, false).isNull());
        QVERIFY(response.getCookies().isEmpty());
    }
    HttpResponse response(nullptr);
    const HttpSession created = store.getSession(*bare, response, true);
    QVERIFY(!created.isNull());
    const HttpCookie cookie = response.getCookies().value("sessionid");
    QCOMPARE(cookie.getValue(), created.getId());
    QCOMPARE(cookie.toByteArray(), "sessionid=" + created.getId() + "; Max-Age=3600; Version=1");
    // Within the same request the response's cookie finds the same session.
    QCOMPARE(store.getSession(*bare, response, true).getId(), created.getId());
    // A later request that brings the cookie back.
    const auto returning = requestWithCookie("sessionid=" + created.getId());
    HttpResponse second(nullptr);
    QCOMPARE(store.getSession(*returning, second, false).getId(), created.getId());
    QCOMPARE(second.getCookies().value("sessionid").getValue(), created.getId());
    QCOMPARE(store.getSession(created.getId()).getId(), created.getId());

    store.removeSession(created);
    HttpResponse third(nullptr);
    QVERIFY(store.getSession(*returning, third, false).isNull());
}

void tst_HttpSession::unknownCookieIsIgnored()
{
    HttpSessionStore store(nullptr);
    const auto request = requestWithCookie("sessionid={unknown}");
    HttpResponse response(nullptr);
    QTest::ignoreMessage(QtDebugMsg,
                         "HttpSessionStore: received invalid session cookie with ID {unknown}");
    QVERIFY(store.getSessionId(*request, response).isEmpty());
    const HttpSession session = store.getSession(*request, response, true);
    QVERIFY(!session.isNull());
    QVERIFY(session.getId() != "{unknown}");
}

void tst_HttpSession::cookieSettings()
{
    QTemporaryDir dir;
    const auto settings = HttpFixture::makeSettings(dir,
                                                    { { "cookieName", "sid" },
                                                      { "expirationTime", 120500 },
                                                      { "cookiePath", "/app" },
                                                      { "cookieDomain", "school.example" },
                                                      { "cookieComment", "board" } });
    HttpSessionStore store(settings.get());
    const auto request = requestWithCookie({});
    HttpResponse response(nullptr);
    const HttpSession session = store.getSession(*request, response, true);
    QCOMPARE(response.getCookies().value("sid").toByteArray(),
             "sid=" + session.getId()
                     + "; Comment=board; Domain=school.example; Max-Age=120; Path=/app; Version=1");
}

void tst_HttpSession::expiry()
{
    HttpSessionStore store(nullptr);
    const auto request = requestWithCookie({});
    HttpResponse response(nullptr);
    HttpSession held = store.getSession(*request, response, true);
    const QByteArray id = held.getId();
    held.set("k", "v");
    const qint64 lastAccess = held.getLastAccess();
    store.removeExpired(lastAccess + 3600000); // idle exactly the expiration time: kept
    QVERIFY(!store.getSession(id).isNull());
    const qint64 refreshed = store.getSession(id).getLastAccess();
    store.removeExpired(refreshed + 3600001);
    QVERIFY(store.getSession(id).isNull());
    // A handler still holding the session keeps working with it.
    QCOMPARE(held.get("k").toString(), QStringLiteral("v"));
}

void tst_HttpSession::handlesFromManyThreads()
{
    // Copies made and dropped in several threads at once: the record goes exactly once.
    HttpSession shared(true);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&shared, t] {
            for (int i = 0; i < 2000; ++i) {
                HttpSession copy(shared);
                copy.set("t" + QByteArray::number(t), i);
                HttpSession other;
                other = copy;
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    QCOMPARE(shared.getAll().size(), 8);
    QCOMPARE(shared.get("t0").toInt(), 1999);
}

QTEST_GUILESS_MAIN(tst_HttpSession)
#include "tst_httpsession.moc"
