#include "sharing/http/httpcookie.h"

#include <QtTest>

using veskaweb::HttpCookie;

class tst_HttpCookie : public QObject
{
    Q_OBJECT

private slots:
    void toByteArray();
    void splitCSV_data();
    void splitCSV();
    void parse();
};

void tst_HttpCookie::toByteArray()
{
    QCOMPARE(HttpCookie().toByteArray(), QByteArray("=; Version=1"));
    QCOMPARE(HttpCookie("sid", "42", 3600, "/").toByteArray(),
             QByteArray("sid=42; Max-Age=3600; Path=/; Version=1"));
    // Attribute order is fixed, whatever order the setters ran in.
    HttpCookie full;
    full.setHttpOnly(true);
    full.setSecure(true);
    full.setPath("/p");
    full.setMaxAge(-1);
    full.setDomain("d.example");
    full.setComment("c");
    full.setValue("v");
    full.setName("n");
    QCOMPARE(full.toByteArray(),
             QByteArray("n=v; Comment=c; Domain=d.example; Max-Age=-1; Path=/p; Secure; HttpOnly; "
                        "Version=1"));
}

void tst_HttpCookie::splitCSV_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QList<QByteArray>>("parts");
    QTest::newRow("empty parts skipped")
            << QByteArray("a=1;;  ; b=2") << QList<QByteArray>{ "a=1", "b=2" };
    QTest::newRow("semicolon in quotes")
            << QByteArray("a=\"x;y\"; b") << QList<QByteArray>{ "a=x;y", "b" };
    QTest::newRow("empty source") << QByteArray() << QList<QByteArray>{};
    QTest::newRow("commas mean nothing") << QByteArray("a=1,b=2") << QList<QByteArray>{ "a=1,b=2" };
}

void tst_HttpCookie::splitCSV()
{
    QFETCH(QByteArray, source);
    QFETCH(QList<QByteArray>, parts);
    QCOMPARE(HttpCookie::splitCSV(source), parts);
}

void tst_HttpCookie::parse()
{
    const HttpCookie cookie(QByteArray("sid=42; Path=/; Secure; HttpOnly; Max-Age=abc"));
    QCOMPARE(cookie.getName(), QByteArray("sid"));
    QCOMPARE(cookie.getValue(), QByteArray("42"));
    QCOMPARE(cookie.getPath(), QByteArray("/"));
    QVERIFY(cookie.getSecure());
    QVERIFY(cookie.getHttpOnly());
    QCOMPARE(cookie.getMaxAge(), 0);

    QTest::ignoreMessage(QtWarningMsg, "HttpCookie: Ignoring unknown b=2");
    const HttpCookie first(QByteArray("a=1; b=2"));
    QCOMPARE(first.getName(), QByteArray("a"));
    QCOMPARE(first.getValue(), QByteArray("1"));

    const HttpCookie attributeFirst(QByteArray("Path=/; x=y; Version=2"));
    QCOMPARE(attributeFirst.getPath(), QByteArray("/"));
    QCOMPARE(attributeFirst.getName(), QByteArray("x"));
    QCOMPARE(attributeFirst.getValue(), QByteArray("y"));
    QCOMPARE(attributeFirst.getVersion(), 2);
}

QTEST_GUILESS_MAIN(tst_HttpCookie)
#include "tst_httpcookie.moc"
